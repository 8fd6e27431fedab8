#include "app/cli/FileNames.h"

#include "app/cli/Messages.h"
#include "platform/AtomicFile.h"
#include "platform/TempFiles.h"

#include <QFile>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cli {
namespace {

// Whether Qt's name for the bytes leads back to the very same bytes.
bool QtKeepsName(const std::string& bytes) {
    const QByteArray raw = QByteArray::fromStdString(bytes);
    return QFile::encodeName(QFile::decodeName(raw)) == raw;
}

QString ThroughDescriptor(int fd, const std::string& rest = {}) {
    return QStringLiteral("/proc/self/fd/%1").arg(fd) +
           (rest.empty() ? QString() : "/" + QString::fromStdString(rest));
}

} // namespace

std::string FileMessage(const char* what, const std::string& typed, const std::string& why) {
    return std::string(what) + " " + Quoted(typed) + ": " + why;
}

InputFile::~InputFile() {
    if (FFd >= 0)
        ::close(FFd);
}

QString InputFile::Open(std::string& error) {
    if (FTyped.empty()) {
        error = "an empty file name";
        return {};
    }
    // Opening it here, whatever the name, gives one message for a missing or unreadable file.
    FFd = ::open(FTyped.c_str(), O_RDONLY | O_CLOEXEC);
    if (FFd < 0) {
        error = FileMessage("cannot open", FTyped, std::strerror(errno));
        return {};
    }
    if (QtKeepsName(FTyped))
        return QFile::decodeName(QByteArray::fromStdString(FTyped));
    return ThroughDescriptor(FFd);
}

OutputFile::~OutputFile() {
    if (FDir < 0)
        return;
    if (!FStage.empty())
        ::unlinkat(FDir, FStage.c_str(), 0);
    ::close(FDir);
}

QString OutputFile::Target(std::string& error) {
    if (FTyped.empty()) {
        error = "an empty file name";
        return {};
    }
    if (QtKeepsName(FTyped))
        return QFile::decodeName(QByteArray::fromStdString(FTyped));
    const size_t slash = FTyped.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : FTyped.substr(0, std::max<size_t>(slash, 1));
    const std::string base = slash == std::string::npos ? FTyped : FTyped.substr(slash + 1);
    if (base.empty()) {
        error = FileMessage("cannot write", FTyped, "the name is a folder");
        return {};
    }
    FDir = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (FDir < 0) {
        error = FileMessage("cannot write", FTyped, std::strerror(errno));
        return {};
    }
    // Stand-ins that killed runs left in the folder go first.
    platform::RemoveStaleTempFiles(ThroughDescriptor(FDir));
    static std::atomic<int> serial{0};
    FStage = ".tarifon-cli-" + std::to_string(::getpid()) + "-" + std::to_string(++serial) + ".part";
    return ThroughDescriptor(FDir, FStage);
}

bool OutputFile::Commit(std::string& error) {
    if (FStage.empty())
        return true;
    const size_t slash = FTyped.rfind('/');
    const std::string base = slash == std::string::npos ? FTyped : FTyped.substr(slash + 1);
    // Through the folder's descriptor, by the rules every writer follows (permissions kept, a
    // device or a pipe written into).
    const QByteArray folder = QFile::encodeName(ThroughDescriptor(FDir)) + '/';
    const QString why = platform::ReplaceWithStaged(folder + QByteArray::fromStdString(FStage),
                                                    folder + QByteArray::fromStdString(base));
    if (!why.isEmpty()) {
        error = FileMessage("cannot write", FTyped, why.toStdString());
        return false;
    }
    FStage.clear();
    return true;
}

} // namespace cli
