// main() for tests that need a QApplication: offscreen, fixed DPI, application fonts and the
// toolkit's Russian texts installed, as the program has them.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/FontSetup.h"
#include "platform/ToolkitTranslations.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_SCALE_FACTOR", "1");
    QApplication app(argc, argv);
    platform::InstallApplicationFonts();
    platform::InstallToolkitTranslations();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
