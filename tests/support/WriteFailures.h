#pragma once
// The two ways a write fails part way that tests can bring about for real: a file size limit
// (RLIMIT_FSIZE) and a full filesystem (a tmpfs of a few kilobytes).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace writefailures {

enum class Failure { SizeLimit, FullDisk };

inline const char* Name(Failure f) {
    return f == Failure::SizeLimit ? "file size limit" : "full filesystem";
}

// The reason the program gives for each (the toolkit's words for the system's error, in the
// locale the test runs under).
inline QString Reason(Failure f) {
    return qt_error_string(f == Failure::SizeLimit ? EFBIG : ENOSPC);
}

// The size limit for this process while the object lives. SIGXFSZ is ignored, so that a write
// over the limit fails with EFBIG as it does for a program that ignores the signal, instead
// of ending the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        FHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &FSaved);
        rlimit limited = FSaved;
        limited.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0) << std::strerror(errno);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FSaved);
        std::signal(SIGXFSZ, FHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // The same for a child process, set between fork and exec. SIGXFSZ keeps its default
    // action there, as under prlimit: the program itself must ignore it to report the failure.
    static void ApplyTo(QProcess& process, rlim_t bytes) {
        process.setChildProcessModifier([bytes] {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit limited{};
            getrlimit(RLIMIT_FSIZE, &limited);
            limited.rlim_cur = bytes;
            setrlimit(RLIMIT_FSIZE, &limited);
        });
    }

private:
    rlimit FSaved{};
    void (*FHandler)(int) = SIG_DFL;
};

namespace detail {

inline bool WriteProcFile(const char* path, const QByteArray& text) {
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return ok;
}

// Moves the test process into a mount namespace of its own, once: what it mounts there is
// seen by its children and vanishes with it, whatever happens, and never reaches the rest of
// the machine. Root may do it directly; anyone else through a user namespace.
inline QString EnterPrivateMounts() {
    static const QString error = []() -> QString {
        if (unshare(CLONE_NEWNS) != 0) {
            const uid_t uid = getuid();
            const gid_t gid = getgid();
            if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                return QStringLiteral("cannot make a mount namespace (needs root or user namespaces): ") +
                       QString::fromLocal8Bit(std::strerror(errno));
            WriteProcFile("/proc/self/setgroups", "deny");
            if (!WriteProcFile("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1") ||
                !WriteProcFile("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1"))
                return QStringLiteral("cannot map the user into its namespace");
        }
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return QStringLiteral("cannot make the mounts private: ") +
                   QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }();
    return error;
}

} // namespace detail

// A tmpfs of the given size (whole pages of 4 KB) on a fresh temporary folder, unmounted when
// the object goes.
class SmallFilesystem {
public:
    explicit SmallFilesystem(int kilobytes) {
        FError = detail::EnterPrivateMounts();
        if (FError.isEmpty() && !FDir.isValid())
            FError = QStringLiteral("no temporary folder");
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
        if (FError.isEmpty() &&
            mount("tmpfs", QFile::encodeName(FDir.path()).constData(), "tmpfs", 0, options.constData()) != 0)
            FError = QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
        FMounted = FError.isEmpty();
        // Never skipped: a machine where this cannot run has to say so.
        EXPECT_TRUE(FMounted) << FError.toStdString();
    }
    ~SmallFilesystem() {
        if (FMounted)
            umount2(QFile::encodeName(FDir.path()).constData(), MNT_DETACH);
    }
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool Mounted() const { return FMounted; }
    QString Path() const { return FDir.path(); }
    QString FilePath(const QString& name) const { return FDir.filePath(name); }
    // The files in the folder.
    QStringList Files() const { return QDir(Path()).entryList(QDir::Files); }

private:
    QTemporaryDir FDir;
    QString FError;
    bool FMounted = false;
};

} // namespace writefailures
