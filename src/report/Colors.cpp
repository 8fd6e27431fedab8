#include "report/Colors.h"

#include <array>

namespace report {

namespace {

struct Named {
    const char* Name;
    TColor Color;
};

// Plain colours, then the system colours (FF0000nn).
const Named kNames[] = {
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
    {"scrollbar", 0xFF000000},
    {"background", 0xFF000001},
    {"activecaption", 0xFF000002},
    {"inactivecaption", 0xFF000003},
    {"menu", 0xFF000004},
    {"window", 0xFF000005},
    {"windowframe", 0xFF000006},
    {"menutext", 0xFF000007},
    {"windowtext", 0xFF000008},
    {"captiontext", 0xFF000009},
    {"activeborder", 0xFF00000A},
    {"inactiveborder", 0xFF00000B},
    {"appworkspace", 0xFF00000C},
    {"highlight", 0xFF00000D},
    {"highlighttext", 0xFF00000E},
    {"btnface", 0xFF00000F},
    {"btnshadow", 0xFF000010},
    {"graytext", 0xFF000011},
    {"btntext", 0xFF000012},
    {"inactivecaptiontext", 0xFF000013},
    {"btnhighlight", 0xFF000014},
    {"3ddkshadow", 0xFF000015},
    {"3dlight", 0xFF000016},
    {"infotext", 0xFF000017},
    {"infobk", 0xFF000018},
};

// The classic Windows scheme, index = system colour number, as 00BBGGRR.
constexpr std::array<TColor, 25> kSystem = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4, 0x808080, 0x808080,
    0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000, 0xE1FFFF};

} // namespace

QColor ToQColor(TColor color) {
    if (color & 0xFF000000) {
        const unsigned index = color & 0xFF;
        color = index < kSystem.size() ? kSystem[index] : clBlack;
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

bool ColorByName(const QString& name, TColor& color) {
    QString n = name.trimmed().toLower();
    if (n.startsWith(QStringLiteral("cl")) && n.size() > 2) {
        for (const Named& c : kNames)
            if (n.mid(2) == QLatin1String(c.Name)) {
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

} // namespace report
