// tarifon: the OSAGO calculator window.
#include <QApplication>
#include <QDir>
#include <csignal>

#include "platform/TempFiles.h"

#include "ui/OSAGO_Calc.h"
#include "ui/ResultCommands.h"
#include "ui/StartUp.h"

int main(int argc, char** argv) {
    // Over a file size limit a write fails with its reason (EFBIG) and the export says so,
    // instead of the signal ending the program with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);
    // The window is laid out in pixels for 96 DPI; it must not be scaled with the screen.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    ui::SetUpApplication();
    // Temporary files (page caches, exports) of an earlier run that was killed.
    platform::RemoveStaleTempFiles(QDir::tempPath());

    TfmOSAGO_Calc window;
    ui::InstallResultCommands(window);
    window.show();
    return app.exec();
}
