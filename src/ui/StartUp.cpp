#include "ui/StartUp.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "platform/FontSetup.h"
#include "platform/ToolkitTranslations.h"
#include "preview/ProgressWindow.h"

namespace ui {

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("tarifon"));
    // The menu entry and the icon the package installs; the task bar matches windows to them.
    QGuiApplication::setDesktopFileName(QStringLiteral("tarifon"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarifon")));
    platform::InstallApplicationFonts();
    report::InstallProgressWindow();
    QString error;
    if (!platform::InstallToolkitTranslations(&error))
        std::fprintf(stderr, "tarifon: the dialogs stay in English: %s\n", qPrintable(error));
}

} // namespace ui
