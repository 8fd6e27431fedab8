#include "export/xls/OfficeProcess.h"

#include "export/TempFiles.h"
#include "export/xls/Excel.h"
#include "export/xls/XlsTexts.h"
#include "report/EngineTexts.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/XDesktop.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUrl>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace exports {

using namespace css;
using report::rpGet;
using rtl::OUString;

namespace {

OUString ToOUString(const QString& s) {
    return OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()), sal_Int32(s.size()));
}

// The in-process half of the bridge, made once: it reads the office's type library through the
// fundamental ini of the office installation we were built against.
uno::Reference<uno::XComponentContext> LocalContext() {
    static std::mutex mutex;
    static uno::Reference<uno::XComponentContext> context;
    std::lock_guard lock(mutex);
    if (!context.is()) {
        const QString ini = QStringLiteral(TARIFON_OFFICE_DIR "/fundamentalrc");
        rtl::Bootstrap::set(OUString("URE_BOOTSTRAP"),
                            ToOUString(QStringLiteral("vnd.sun.star.pathname:") + ini));
        context = cppu::defaultBootstrap_InitialComponentContext();
    }
    return context;
}

// A pipe name no other run (of this or another program instance) uses.
QString UniquePipeName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("tarifon-%1-%2-%3")
        .arg(::getpid())
        .arg(++counter)
        .arg(QRandomGenerator::system()->generate64(), 16, 16, QChar(u'0'));
}

bool ProcessRuns(qint64 pid) {
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// Where the office's pipe lives while it listens; an office that is killed leaves it behind.
const char* const kPipeFolder = "/tmp";
QString PipeFile(const QString& pipe) {
    return QStringLiteral("%1/OSL_PIPE_%2_%3").arg(QLatin1String(kPipeFolder)).arg(::getuid()).arg(pipe);
}

} // namespace

int RemoveStaleOfficeRuns(const QString& folder) {
    static const QRegularExpression name(QStringLiteral("^tarifon-(\\d{1,10})-[^/]+\\.office$"));
    QDir dir(folder);
    int removed = 0;
    for (const QString& entry :
         dir.entryList({QStringLiteral("tarifon-*.office")}, QDir::Dirs | QDir::Hidden)) {
        const QRegularExpressionMatch m = name.match(entry);
        if (!m.hasMatch() || ProcessRuns(m.captured(1).toLongLong()))
            continue;
        // The office of a program that was killed runs on in a session of its own: it goes
        // with its folder.
        const QByteArray path = QFile::encodeName(dir.filePath(entry));
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (pid.front().isDigit() && cmdline.open(QIODevice::ReadOnly) &&
                cmdline.readAll().contains(path))
                ::kill(pid_t(pid.toLongLong()), SIGKILL);
        }
        if (QDir(dir.filePath(entry)).removeRecursively())
            ++removed;
    }
    static const QRegularExpression pipe(QStringLiteral("^OSL_PIPE_\\d+_tarifon-(\\d{1,10})-"));
    QDir pipes{QLatin1String(kPipeFolder)};
    for (const QString& entry :
         pipes.entryList({QStringLiteral("OSL_PIPE_%1_tarifon-*").arg(::getuid())}, QDir::System))
        if (const QRegularExpressionMatch m = pipe.match(entry);
            m.hasMatch() && !ProcessRuns(m.captured(1).toLongLong()))
            pipes.remove(entry);
    return removed;
}

TrpOfficeProcess::TrpOfficeProcess() {
    AddXlsExportTexts();
}

TrpOfficeProcess::~TrpOfficeProcess() {
    Terminate({});
}

QString TrpOfficeProcess::ProfileDir() const {
    return FDir ? FDir->filePath(QStringLiteral("profile")) : QString();
}

QString TrpOfficeProcess::WorkDir() const {
    return FDir ? FDir->filePath(QStringLiteral("work")) : QString();
}

QString TrpOfficeProcess::Start(const QString& program, int timeoutSeconds,
                                const std::vector<ProfileFile>& profileFiles) {
    static std::once_flag swept;
    std::call_once(swept, [] {
        RemoveStaleOfficeRuns(QDir::tempPath());
        // The bridge writes to the office's pipe; an office that dies mid-export must end the
        // export with an error, not end the program with SIGPIPE.
        std::signal(SIGPIPE, SIG_IGN);
    });
    const QFileInfo info(program);
    if (program.isEmpty() || !info.exists() || !info.isExecutable())
        return rpGet(QStringLiteral("xlsNotFound"))
            .arg(program.isEmpty() ? QStringLiteral("soffice") : program);

    // The folder carries our process id, so that one left behind by a killed program is swept.
    FDir = std::make_unique<QTemporaryDir>(ProcessTempTemplate(QDir::tempPath(), QStringLiteral(".office")));
    if (!FDir->isValid() || !QDir().mkpath(WorkDir()))
        return rpGet(QStringLiteral("xlsNotStarted")).arg(program, FDir->errorString());
    for (const ProfileFile& file : profileFiles) {
        const QString path = QDir(ProfileDir()).filePath(file.Path);
        QFile out(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !out.open(QIODevice::WriteOnly) ||
            out.write(file.Data) != file.Data.size() || !out.flush())
            return rpGet(QStringLiteral("xlsNotStarted")).arg(program, out.errorString());
    }

    FPipe = UniquePipeName();
    const QString& pipe = FPipe;
    const QByteArray exe = QFile::encodeName(info.absoluteFilePath());
    const QList<QByteArray> args = {
        exe,
        "-env:UserInstallation=" + QUrl::fromLocalFile(ProfileDir()).toEncoded(),
        "--headless",
        "--invisible",
        "--norestore",
        "--nologo",
        "--nodefault",
        "--nolockcheck",
        "--accept=pipe,name=" + pipe.toLatin1() + ";urp;StarOffice.ComponentContext",
    };
    std::vector<char*> argv;
    for (const QByteArray& a : args)
        argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);

    // A session of its own: the launcher and the office it starts form one group, which a
    // hung or abandoned run can be killed as a whole.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    for (int fd : {0, 1, 2})
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    const int rc = posix_spawn(&FPid, exe.constData(), &files, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        FPid = 0;
        return rpGet(QStringLiteral("xlsNotStarted")).arg(program, QString::fromLocal8Bit(std::strerror(rc)));
    }
    FReaped = false;

    uno::Reference<bridge::XUnoUrlResolver> resolver;
    try {
        resolver = bridge::UnoUrlResolver::create(LocalContext());
    } catch (const uno::Exception& e) {
        return rpGet(QStringLiteral("xlsNotStarted"))
            .arg(program, QString::fromUtf16(reinterpret_cast<const char16_t*>(e.Message.getStr()),
                                             e.Message.getLength()));
    }
    const OUString url =
        ToOUString(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    for (;;) {
        try {
            FContext.set(resolver->resolve(url), uno::UNO_QUERY_THROW);
            break;
        } catch (const connection::NoConnectException&) {
        } catch (const uno::Exception&) {
        }
        int status = 0;
        if (::waitpid(FPid, &status, WNOHANG) == FPid) {
            FReaped = true;
            const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            Terminate({});
            return rpGet(QStringLiteral("xlsEnded")).arg(code);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            Terminate({});
            return rpGet(QStringLiteral("xlsNoAnswer")).arg(timeoutSeconds);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    FWatchdog = std::thread([this] { Watch(); });
    return {};
}

bool TrpOfficeProcess::Exited() {
    if (FPid == 0 || FReaped)
        return true;
    siginfo_t info{};
    // WNOWAIT keeps the ended process a zombie, so its id (our group's) cannot be reused yet.
    return ::waitid(P_PID, id_t(FPid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == FPid;
}

void TrpOfficeProcess::KillGroup() {
    if (FPid > 0 && !FReaped)
        ::kill(-FPid, SIGKILL);
}

void TrpOfficeProcess::Reap(int graceMs) {
    if (FPid == 0 || FReaped)
        return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(graceMs);
    while (!Exited() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // Whatever of the group is left (the launcher's office, a helper) goes before the launcher
    // is reaped.
    KillGroup();
    int status = 0;
    while (::waitpid(FPid, &status, 0) < 0 && errno == EINTR) {
    }
    FReaped = true;
}

void TrpOfficeProcess::Terminate(const uno::Reference<uno::XInterface>& desktop) {
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    FWake.notify_all();
    if (FWatchdog.joinable())
        FWatchdog.join();
    if (FPid > 0 && !FReaped) {
        bool asked = false;
        if (uno::Reference<frame::XDesktop> d{desktop, uno::UNO_QUERY}; d.is() && !Exited()) {
            try {
                d->terminate();
                asked = true;
            } catch (const uno::Exception&) {
                asked = true; // the bridge goes away with the office: an ended call is expected
            }
        }
        Reap(asked ? 10000 : 0);
    }
    FContext.clear();
    FDir.reset(); // removes the profile and the work folder
    if (!FPipe.isEmpty())
        QFile::remove(PipeFile(FPipe));
    FPipe.clear();
    FPid = 0;
}

void TrpOfficeProcess::BeginCall() {
    std::lock_guard lock(FMutex);
    FBusy = true;
    FCallStart = std::chrono::steady_clock::now();
    FWake.notify_all();
}

void TrpOfficeProcess::EndCall() {
    std::lock_guard lock(FMutex);
    FBusy = false;
}

void TrpOfficeProcess::Watch() {
    std::unique_lock lock(FMutex);
    while (!FStop) {
        if (FBusy && std::chrono::steady_clock::now() - FCallStart > std::chrono::seconds(FCallTimeout)) {
            FHung = true;
            KillGroup(); // the pending call then fails at once: the bridge loses its pipe
            FBusy = false;
        }
        FWake.wait_for(lock, std::chrono::milliseconds(200));
    }
}

} // namespace exports
