#pragma once
// The report engine's settings store, named by the report's IniFile: "\Software\..." is a key
// of the user's native settings, anything else an INI file.

#include <QSettings>
#include <QString>
#include <memory>

namespace report {

std::unique_ptr<QSettings> OpenSettingsStore(const QString& iniFile);

// Length units of the page settings dialog.
enum class TrpUnits { Centimetres, Inches };
// The "Units" value of section "Form.TrpDesignerForm": 1 inches; 0 (or missing), 2, 3 and
// anything else centimetres.
TrpUnits ReadDesignerUnits(const QString& iniFile);

} // namespace report
