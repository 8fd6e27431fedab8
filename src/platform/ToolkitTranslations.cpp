#include "platform/ToolkitTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

bool InstallToolkitTranslations(QString* error) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        if (error)
            *error = QStringLiteral("no application object");
        return false;
    }
    // Owned by the application, so it lives exactly as long as the texts are asked for.
    if (app->findChild<QTranslator*>(QStringLiteral("ToolkitTranslations"), Qt::FindDirectChildrenOnly))
        return true;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(app);
    translator->setObjectName(QStringLiteral("ToolkitTranslations"));
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        if (error)
            *error = QStringLiteral("qtbase_ru.qm not found in %1").arg(folder);
        return false;
    }
    return true;
}

} // namespace platform
