#include "support/VirtualDisplay.h"

#include <QStandardPaths>

namespace testsupport {

VirtualDisplay::VirtualDisplay() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        FError = QStringLiteral("Xvfb is not installed");
        return;
    }
    // -displayfd picks a free display and writes its number to our end of the pipe.
    FServer.setStandardErrorFile(QProcess::nullDevice());
    FServer.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                         QStringLiteral("1024x768x24")});
    if (!FServer.waitForStarted(10000)) {
        FError = QStringLiteral("Xvfb does not start: ") + FServer.errorString();
        return;
    }
    QByteArray number;
    while (!number.contains('\n') && FServer.waitForReadyRead(10000))
        number += FServer.readAllStandardOutput();
    bool ok = false;
    const int display = number.trimmed().toInt(&ok);
    if (!ok) {
        FError = QStringLiteral("Xvfb named no display");
        return;
    }
    FName = QStringLiteral(":%1").arg(display);
}

VirtualDisplay::~VirtualDisplay() {
    if (FServer.state() == QProcess::NotRunning)
        return;
    FServer.terminate();
    if (!FServer.waitForFinished(5000)) {
        FServer.kill();
        FServer.waitForFinished(5000);
    }
}

bool VirtualDisplay::Available() {
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty();
}

} // namespace testsupport
