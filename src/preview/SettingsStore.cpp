#include "preview/SettingsStore.h"

namespace preview {

TrpUnits ReadDesignerUnits(const QString& iniFile) {
    auto settings = platform::OpenSettingsStore(iniFile);
    bool ok = false;
    const int units = settings->value(QStringLiteral("Form.TrpDesignerForm/Units"), 0).toInt(&ok);
    return ok && units == 1 ? TrpUnits::Inches : TrpUnits::Centimetres;
}

} // namespace preview
