#include "platform/RegionalSettings.h"

#include <QLocale>

namespace platform {

RegionalSettings RegionalSettings::Russian() {
    return {",", "\u00A0"};
}

RegionalSettings RegionalSettings::FromLocale(const QLocale& locale) {
    if (locale.language() == QLocale::C)
        return Russian();
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

RegionalSettings RegionalSettings::System() {
    return FromLocale(QLocale::system());
}

} // namespace platform
