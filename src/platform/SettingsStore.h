#pragma once
// The report engine's settings store, named by the report's IniFile: "\Software\..." is a key
// of the user's native settings, anything else an INI file. The preview reads its units there,
// the e-mail export its account.

#include <QSettings>
#include <QString>
#include <memory>

namespace platform {

std::unique_ptr<QSettings> OpenSettingsStore(const QString& iniFile);

// Writes pending changes to a file that only its owner may read or write (the store keeps an
// account's password). Returns "" on success, else the reason.
QString SaveSettingsPrivately(QSettings& settings);

} // namespace platform
