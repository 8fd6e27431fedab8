#include "htmlctl/BtnXPVS.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionButton>

namespace htmlctl::BtnXPVS {
namespace {

bool& ThemeSwitch() {
    static bool active = qEnvironmentVariableIsEmpty("TARIFON_NO_THEMES");
    return active;
}

} // namespace

bool ThemesAvailable() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) && QApplication::style();
}

bool IsThemeActive() {
    return ThemeSwitch() && ThemesAvailable();
}

void SetThemeActive(bool active) {
    ThemeSwitch() = active;
}

TThemeData OpenThemeData(QWidget* widget, const QString& classList) {
    if (!IsThemeActive())
        return {};
    return {widget ? widget->style() : QApplication::style(), widget, classList};
}

void CloseThemeData(TThemeData& theme) {
    theme = {};
}

int RadioState(bool checked, bool enabled, bool pressed, bool hot) {
    int state = !enabled  ? RBS_UNCHECKEDDISABLED
                : pressed ? RBS_UNCHECKEDPRESSED
                : hot     ? RBS_UNCHECKEDHOT
                          : RBS_UNCHECKEDNORMAL;
    return checked ? state + 4 : state;
}

bool DrawThemeBackground(const TThemeData& theme, QPainter& painter, int part, int state, const QRect& rect) {
    if (!theme || part != BP_RADIOBUTTON || state < RBS_UNCHECKEDNORMAL || state > RBS_CHECKEDDISABLED)
        return false;
    QStyleOptionButton opt;
    if (theme.Widget)
        opt.initFrom(theme.Widget);
    opt.rect = rect;
    const int s = (state - 1) % 4; // 0 normal, 1 hot, 2 pressed, 3 disabled
    opt.state = QStyle::State_None;
    if (s != 3)
        opt.state |= QStyle::State_Enabled;
    if (s == 1)
        opt.state |= QStyle::State_MouseOver;
    if (s == 2)
        opt.state |= QStyle::State_Sunken;
    opt.state |= state >= RBS_CHECKEDNORMAL ? QStyle::State_On : QStyle::State_Off;
    theme.Style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &opt, &painter, theme.Widget);
    return true;
}

} // namespace htmlctl::BtnXPVS
