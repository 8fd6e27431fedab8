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
    // Numbers follow the numeric category as POSIX resolves it: LC_ALL, then LC_NUMERIC,
    // then LANG. A C or POSIX locale has no regional conventions of its own.
    QString name;
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        name = qEnvironmentVariable(var);
        if (!name.isEmpty())
            break;
    }
    const QString base = name.section('.', 0, 0).section('@', 0, 0);
    if (base.isEmpty() || base == "C" || base == "POSIX")
        return Russian();
    return FromLocale(QLocale(base));
}

} // namespace platform
