#include "ui/StartUp.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "platform/FontSetup.h"
#include "platform/ToolkitTranslations.h"
#include "preview/ProgressWindow.h"
#include "ui/Controls.h"

namespace ui {

void UseTheWindowFace() {
    const QFont face = PixelFont(11);
    QApplication::setFont(face);
    // Desktop themes name their own faces for these; ours wins over them.
    for (const char* kind : {"QMessageBox", "QMenu", "QMenuBar", "QToolTip"})
        QApplication::setFont(face, kind);
}

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("tarifon"));
    // The menu entry and the icon the package installs; the task bar matches windows to them.
    QGuiApplication::setDesktopFileName(QStringLiteral("tarifon"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarifon")));
    platform::InstallApplicationFonts();
    UseTheWindowFace();
    report::InstallProgressWindow();
    QString error;
    if (!platform::InstallToolkitTranslations(&error))
        std::fprintf(stderr, "tarifon: the dialogs stay in English: %s\n", qPrintable(error));
}

} // namespace ui
