#pragma once

#include <QRect>
#include <QString>

class QPainter;
class QStyle;
class QWidget;

namespace htmlctl {

// Themed drawing of button parts, bound to the application's widget style. Themes are
// available when a style exists; they can be switched off for the whole program (the
// environment variable TARIFON_NO_THEMES does it at start), and then the controls draw
// their built-in bitmaps.
namespace BtnXPVS {

// Theme parts and states used by the radio button.
constexpr int BP_RADIOBUTTON = 2;
enum TRadioState {
    RBS_UNCHECKEDNORMAL = 1,
    RBS_UNCHECKEDHOT = 2,
    RBS_UNCHECKEDPRESSED = 3,
    RBS_UNCHECKEDDISABLED = 4,
    RBS_CHECKEDNORMAL = 5,
    RBS_CHECKEDHOT = 6,
    RBS_CHECKEDPRESSED = 7,
    RBS_CHECKEDDISABLED = 8,
};

// True when there is a style service to draw with.
bool ThemesAvailable();
// True when themed drawing is in effect.
bool IsThemeActive();
// Switches themed drawing on or off for the whole program.
void SetThemeActive(bool active);

// An open theme: the style that draws the parts of one window class for one widget.
struct TThemeData {
    QStyle* Style = nullptr;
    QWidget* Widget = nullptr;
    QString ClassList;
    explicit operator bool() const { return Style != nullptr; }
};

TThemeData OpenThemeData(QWidget* widget, const QString& classList);
void CloseThemeData(TThemeData& theme);
// Draws `part` in `state` into `rect`; false when the theme cannot draw that part.
bool DrawThemeBackground(const TThemeData& theme, QPainter& painter, int part, int state, const QRect& rect);

// The radio state for the flags of a button (disabled wins over pressed, pressed over hot).
int RadioState(bool checked, bool enabled, bool pressed, bool hot);

} // namespace BtnXPVS
} // namespace htmlctl
