#pragma once
// One run of the office: the process started headless with a private profile folder and a
// pipe name of its own (two exports at once never share either), the connection to it, a
// watchdog that kills it when a call hangs, and the shutdown that waits for it and removes
// the profile. Internal to the spreadsheet wrapper.

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <QString>
#include <QTemporaryDir>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace exports {

class TrpOfficeProcess {
public:
    TrpOfficeProcess();
    // Shuts the office down (Terminate) when it still runs.
    ~TrpOfficeProcess();
    TrpOfficeProcess(const TrpOfficeProcess&) = delete;
    TrpOfficeProcess& operator=(const TrpOfficeProcess&) = delete;

    // A file put into the private profile before the office starts, its path relative to the
    // profile folder.
    struct ProfileFile {
        QString Path;
        QByteArray Data;
    };
    // Starts the program and connects; "" on success, else the reason in the user's words.
    QString Start(const QString& program, int timeoutSeconds, const std::vector<ProfileFile>& files = {});
    // The office's component context.
    const css::uno::Reference<css::uno::XComponentContext>& Context() const { return FContext; }
    // Asks the office to end, waits for it (killing it after a grace time), removes the profile.
    void Terminate(const css::uno::Reference<css::uno::XInterface>& desktop);

    pid_t Pid() const { return FPid; }
    QString ProfileDir() const;
    // A folder of this run for files handed to and from the office; removed with the profile.
    QString WorkDir() const;
    // True once the process has ended (or was killed by the watchdog).
    bool Exited();
    bool KilledAsHung() const { return FHung; }

    // Around every call into the office: the watchdog kills the office when a call lasts
    // longer than the time-out.
    void BeginCall();
    void EndCall();
    void SetCallTimeout(int seconds) { FCallTimeout = seconds; }
    int CallTimeout() const { return FCallTimeout; }

private:
    void KillGroup();
    void Reap(int graceMs);
    void Watch();

    std::unique_ptr<QTemporaryDir> FDir;
    QString FPipe;
    pid_t FPid = 0;
    bool FReaped = false;
    css::uno::Reference<css::uno::XComponentContext> FContext;

    std::thread FWatchdog;
    std::mutex FMutex;
    std::condition_variable FWake;
    bool FStop = false;
    bool FBusy = false;
    std::chrono::steady_clock::time_point FCallStart;
    int FCallTimeout = 120;
    bool FHung = false;
};

} // namespace exports
