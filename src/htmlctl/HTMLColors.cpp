#include "htmlctl/HTMLColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace htmlctl {
namespace {

struct NamedColor {
    const char* Name;
    QRgb Rgb;
};

// The sixteen colours every caption author knows by their classic names.
constexpr NamedColor kPlain[] = {
    {"clred", 0xFF0000},  {"clblack", 0x000000},  {"clblue", 0x0000FF},    {"clgreen", 0x008000},
    {"claqua", 0x00FFFF}, {"clyellow", 0xFFFF00}, {"clfuchsia", 0xFF00FF}, {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00}, {"clsilver", 0xC0C0C0}, {"clgray", 0x808080},    {"clolive", 0x808000},
    {"clnavy", 0x000080}, {"clpurple", 0x800080}, {"clteal", 0x008080},    {"clmaroon", 0x800000},
};

struct SystemName {
    const char* Name;
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
    QRgb Fixed; // used when no palette role fits (0xFF000000 marks "use the role")
};

constexpr QRgb kUseRole = 0xFF000000;

// System colours map onto the application palette; the few the palette has no role for
// keep the classic desktop values.
constexpr SystemName kSystem[] = {
    {"clbackground", QPalette::Active, QPalette::Window, 0x3A6EA5},
    {"clactivecaption", QPalette::Active, QPalette::Highlight, kUseRole},
    {"clinactivecaption", QPalette::Inactive, QPalette::Mid, kUseRole},
    {"clmenu", QPalette::Active, QPalette::Window, kUseRole},
    {"clwindow", QPalette::Active, QPalette::Base, kUseRole},
    {"clwindowframe", QPalette::Active, QPalette::Shadow, kUseRole},
    {"clmenutext", QPalette::Active, QPalette::WindowText, kUseRole},
    {"clwindowtext", QPalette::Active, QPalette::Text, kUseRole},
    {"clcaptiontext", QPalette::Active, QPalette::HighlightedText, kUseRole},
    {"clactiveborder", QPalette::Active, QPalette::Window, kUseRole},
    {"clinactiveborder", QPalette::Inactive, QPalette::Window, kUseRole},
    {"clappworkspace", QPalette::Active, QPalette::Dark, kUseRole},
    {"clhighlight", QPalette::Active, QPalette::Highlight, kUseRole},
    {"clhighlighttext", QPalette::Active, QPalette::HighlightedText, kUseRole},
    {"clbtnface", QPalette::Active, QPalette::Button, kUseRole},
    {"clbtnshadow", QPalette::Active, QPalette::Dark, kUseRole},
    {"clgraytext", QPalette::Disabled, QPalette::Text, kUseRole},
    {"clbtntext", QPalette::Active, QPalette::ButtonText, kUseRole},
    {"clinactivecaptiontext", QPalette::Inactive, QPalette::HighlightedText, kUseRole},
    {"clbtnhighlight", QPalette::Active, QPalette::Light, kUseRole},
    {"cl3ddkshadow", QPalette::Active, QPalette::Shadow, kUseRole},
    {"cl3dlight", QPalette::Active, QPalette::Midlight, kUseRole},
    {"clinfotext", QPalette::Active, QPalette::ToolTipText, kUseRole},
    {"clinfobk", QPalette::Active, QPalette::ToolTipBase, kUseRole},
};

int HexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return 0;
}

} // namespace

QColor SystemColor(const QString& lowerName) {
    for (const SystemName& s : kSystem) {
        if (lowerName != QLatin1String(s.Name))
            continue;
        if (s.Fixed != kUseRole)
            return QColor(s.Fixed);
        return QGuiApplication::palette().color(s.Group, s.Role);
    }
    return {};
}

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
    const QString lower = value.toLower();
    for (const NamedColor& c : kPlain)
        if (lower == QLatin1String(c.Name))
            return QColor(c.Rgb);
    const QColor system = SystemColor(lower);
    return system.isValid() ? system : QColor(Qt::black);
}

} // namespace htmlctl
