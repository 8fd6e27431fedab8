#pragma once
// Per-document helpers of the PDF export: colour operands with a one-entry cache.

#include "report/ReportTypes.h"

#include <QByteArray>

namespace exports {

class TrpPDFToolkit {
public:
    // "r g b" with each component / 255; black and white short, the last colour cached.
    // clNone comes out white.
    QByteArray PdfColor(report::TColor color);

private:
    report::TColor FLastColor = 0;
    QByteArray FLastText = "0 0 0";
};

} // namespace exports
