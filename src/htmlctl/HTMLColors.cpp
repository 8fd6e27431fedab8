#include "htmlctl/HTMLColors.h"

#include "platform/Colors.h"

#include <algorithm>
#include <array>

namespace htmlctl {
namespace {

using namespace platform;

// The sixteen colours every caption author knows by their classic names.
constexpr std::array<TColor, 16> kPlain = {clBlack, clMaroon,  clGreen,  clOlive, clNavy, clPurple,
                                           clTeal,  clGray,    clSilver, clRed,   clLime, clYellow,
                                           clBlue,  clFuchsia, clAqua,   clWhite};

// Captions name the sixteen plain colours and the system colours from the desktop background
// on, always with the "cl" prefix.
bool CaptionColor(const QString& lower, TColor& color) {
    if (!lower.startsWith(QLatin1String("cl")) || !ColorByName(lower, color))
        return false;
    if ((color & 0xFF000000u) == clSystemColor)
        return (color & 0xFFu) >= 1;
    return std::find(kPlain.begin(), kPlain.end(), color) != kPlain.end();
}

int HexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return 0;
}

} // namespace

QColor HTMLToColor(const QString& value) {
    if (value.startsWith(u'#')) {
        int rgb[3] = {0, 0, 0};
        for (int i = 0; i < 3; ++i) {
            const int at = 1 + 2 * i;
            const QChar hi = at < value.size() ? value[at] : QChar(u'0');
            const QChar lo = at + 1 < value.size() ? value[at + 1] : QChar(u'0');
            rgb[i] = HexDigit(hi) * 16 + HexDigit(lo);
        }
        return QColor(rgb[0], rgb[1], rgb[2]);
    }
    TColor color = clBlack;
    return CaptionColor(value.toLower(), color) ? ColorToQColor(color) : QColor(Qt::black);
}

} // namespace htmlctl
