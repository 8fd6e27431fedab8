#pragma once
// What the preview reads from the report engine's settings store.

#include "platform/SettingsStore.h"

#include <QString>

namespace preview {

// Length units of the page settings dialog.
enum class TrpUnits { Centimetres, Inches };
// The "Units" value of section "Form.TrpDesignerForm": 1 inches; 0 (or missing), 2, 3 and
// anything else centimetres.
TrpUnits ReadDesignerUnits(const QString& iniFile);

} // namespace preview
