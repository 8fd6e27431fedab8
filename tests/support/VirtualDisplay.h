#pragma once
// A private X server for tests that must see what the window system sees: Xvfb on the first
// free display, stopped when the object goes.

#include <QProcess>
#include <QString>

namespace testsupport {

class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool Started() const { return !FName.isEmpty(); }
    const QString& Error() const { return FError; }
    // ":N", for DISPLAY.
    const QString& Name() const { return FName; }

    static bool Available();

private:
    QProcess FServer;
    QString FName;
    QString FError;
};

} // namespace testsupport
