#include "preview/SettingsStore.h"

namespace report {

std::unique_ptr<QSettings> OpenSettingsStore(const QString& iniFile) {
    static const QString registryRoot = QStringLiteral("\\Software\\");
    if (iniFile.startsWith(registryRoot, Qt::CaseInsensitive)) {
        // "\Software\Maker\Program" -> organisation "Maker", application "Program".
        const QStringList parts =
            iniFile.mid(registryRoot.size()).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
        const QString organisation = parts.value(0, QStringLiteral("Tarifon"));
        const QString application = parts.mid(1).join(QLatin1Char('/'));
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                           application);
    }
    return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
}

TrpUnits ReadDesignerUnits(const QString& iniFile) {
    auto settings = OpenSettingsStore(iniFile);
    bool ok = false;
    const int units = settings->value(QStringLiteral("Form.TrpDesignerForm/Units"), 0).toInt(&ok);
    return ok && units == 1 ? TrpUnits::Inches : TrpUnits::Centimetres;
}

} // namespace report
