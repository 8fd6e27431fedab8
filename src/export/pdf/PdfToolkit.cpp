#include "export/pdf/PdfToolkit.h"

#include "export/pdf/PdfFormat.h"
#include "platform/Colors.h"

namespace exports {

using namespace report;

QByteArray TrpPDFToolkit::PdfColor(TColor color) {
    if (color == 0)
        return "0 0 0";
    if (color == 0xFFFFFF || color == clNone)
        return "1 1 1";
    if (color == FLastColor)
        return FLastText;
    const QColor c = ColorToQColor(color);
    FLastColor = color;
    FLastText = PdfNumber(c.red() / 255.0L) + ' ' + PdfNumber(c.green() / 255.0L) + ' ' +
                PdfNumber(c.blue() / 255.0L);
    return FLastText;
}

} // namespace exports
