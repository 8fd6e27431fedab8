#include "ui/StartUp.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "platform/FontSetup.h"
#include "platform/ToolkitTranslations.h"
#include "preview/ProgressWindow.h"
#include "ui/Controls.h"

namespace ui {

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("tarifon"));
    // The menu entry and the icon the package installs; the task bar matches windows to them.
    QGuiApplication::setDesktopFileName(QStringLiteral("tarifon"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarifon")));
    platform::InstallApplicationFonts();
    // One family throughout: message boxes, menus and the engine's dialogs take the face
    // of the calculator's window, not the desktop's default.
    const QFont face = ui::PixelFont(11);
    QApplication::setFont(face);
    for (const char* kind : {"QMessageBox", "QMenu", "QMenuBar", "QToolTip"})
        QApplication::setFont(face, kind);
    report::InstallProgressWindow();
    QString error;
    if (!platform::InstallToolkitTranslations(&error))
        std::fprintf(stderr, "tarifon: the dialogs stay in English: %s\n", qPrintable(error));
}

} // namespace ui
