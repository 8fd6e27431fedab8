#include "platform/Colors.h"

#include <array>

namespace platform {

namespace {

// The desktop scheme of the era the program's pictures were drawn for, by system colour number.
constexpr std::array<QRgb, 31> kSystemColors = {
    qRgb(212, 208, 200), // 0 scroll bar
    qRgb(0, 78, 152),    // 1 desktop background
    qRgb(0, 84, 227),    // 2 active caption
    qRgb(122, 150, 223), // 3 inactive caption
    qRgb(255, 255, 255), // 4 menu
    qRgb(255, 255, 255), // 5 window
    qRgb(0, 0, 0),       // 6 window frame
    qRgb(0, 0, 0),       // 7 menu text
    qRgb(0, 0, 0),       // 8 window text
    qRgb(255, 255, 255), // 9 caption text
    qRgb(212, 208, 200), // 10 active border
    qRgb(212, 208, 200), // 11 inactive border
    qRgb(128, 128, 128), // 12 application workspace
    qRgb(49, 106, 197),  // 13 highlight
    qRgb(255, 255, 255), // 14 highlight text
    qRgb(236, 233, 216), // 15 button face
    qRgb(172, 168, 153), // 16 button shadow
    qRgb(172, 168, 153), // 17 grey text
    qRgb(0, 0, 0),       // 18 button text
    qRgb(216, 228, 248), // 19 inactive caption text
    qRgb(255, 255, 255), // 20 button highlight
    qRgb(113, 111, 100), // 21 3D dark shadow
    qRgb(241, 239, 226), // 22 3D light
    qRgb(0, 0, 0),       // 23 info text
    qRgb(255, 255, 225), // 24 info background
    qRgb(181, 181, 181), // 25
    qRgb(0, 0, 128),     // 26 hot light
    qRgb(61, 149, 255),  // 27 gradient active caption
    qRgb(157, 185, 235), // 28 gradient inactive caption
    qRgb(49, 106, 197),  // 29 menu highlight
    qRgb(236, 233, 216), // 30 menu bar
};

struct Named {
    const char* Name;
    TColor Color;
};

// Plain colours, then the system colours (FF0000nn).
constexpr Named kNames[] = {
    {"black", clBlack},
    {"maroon", clMaroon},
    {"green", clGreen},
    {"olive", clOlive},
    {"navy", clNavy},
    {"purple", clPurple},
    {"teal", clTeal},
    {"gray", clGray},
    {"silver", clSilver},
    {"red", clRed},
    {"lime", clLime},
    {"yellow", clYellow},
    {"blue", clBlue},
    {"fuchsia", clFuchsia},
    {"aqua", clAqua},
    {"white", clWhite},
    {"moneygreen", 0xC0DCC0},
    {"skyblue", 0xF0CAA6},
    {"cream", 0xF0FBFF},
    {"medgray", 0xA4A0A0},
    {"scrollbar", clSystemColor | 0},
    {"background", clSystemColor | 1},
    {"activecaption", clSystemColor | 2},
    {"inactivecaption", clSystemColor | 3},
    {"menu", clSystemColor | 4},
    {"window", clSystemColor | 5},
    {"windowframe", clSystemColor | 6},
    {"menutext", clSystemColor | 7},
    {"windowtext", clSystemColor | 8},
    {"captiontext", clSystemColor | 9},
    {"activeborder", clSystemColor | 10},
    {"inactiveborder", clSystemColor | 11},
    {"appworkspace", clSystemColor | 12},
    {"highlight", clSystemColor | 13},
    {"highlighttext", clSystemColor | 14},
    {"btnface", clSystemColor | 15},
    {"btnshadow", clSystemColor | 16},
    {"graytext", clSystemColor | 17},
    {"btntext", clSystemColor | 18},
    {"inactivecaptiontext", clSystemColor | 19},
    {"btnhighlight", clSystemColor | 20},
    {"3ddkshadow", clSystemColor | 21},
    {"3dlight", clSystemColor | 22},
    {"infotext", clSystemColor | 23},
    {"infobk", clSystemColor | 24},
};

} // namespace

QColor ColorToQColor(TColor color) {
    if (color == clNone)
        return QColor();
    if ((color & 0xFF000000u) == clSystemColor) {
        const unsigned index = color & 0xFFu;
        return index < kSystemColors.size() ? QColor(kSystemColors[index]) : QColor(Qt::black);
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

bool ColorByName(const QString& name, TColor& color) {
    QString n = name.trimmed().toLower();
    if (n.startsWith(QLatin1String("cl")) && n.size() > 2) {
        for (const Named& c : kNames)
            if (QStringView(n).mid(2) == QLatin1String(c.Name)) {
                color = c.Color;
                return true;
            }
    }
    for (const Named& c : kNames)
        if (n == QLatin1String(c.Name)) {
            color = c.Color;
            return true;
        }
    return false;
}

} // namespace platform
