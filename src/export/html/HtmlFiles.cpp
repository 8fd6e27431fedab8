#include "export/html/HtmlFiles.h"

#include "export/Spool.h"

#include "export/TempFiles.h"
#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace exports {

using report::rpGet;
using report::TrpReportError;

namespace {

// The engine text with %1 and %2 filled in one pass, so that a "%2" in a file name stays as it is.
[[noreturn]] void Fail(const QString& key, const QString& a, const QString& b) {
    throw TrpReportError(rpGet(key).arg(a, b));
}

QString SystemReason(int error) {
    return qt_error_string(error);
}

// A staged file takes the place of the target as every writer's file does (the replaced
// file's permissions kept, a device or a pipe written into); "" or the reason.
QString Place(const QString& from, const QString& to) {
    return platform::ReplaceWithStaged(QFile::encodeName(from), QFile::encodeName(to));
}

// rename(2) replaces a folder atomically; QFile::rename refuses to.
bool Move(const QString& from, const QString& to, int& error) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    error = errno;
    return false;
}

const QString kFolder = QStringLiteral("files");
const QString kMain = QStringLiteral("main");
const QString kOld = QStringLiteral("old");

} // namespace

THTMLFileSet::THTMLFileSet(const QString& mainFile, const QString& folderName)
    : FMainFile(QFileInfo(mainFile).absoluteFilePath()), FFolderName(folderName) {
    FTargetDir = QFileInfo(FMainFile).absolutePath();
    // Messages name the files as the caller gave the main one.
    const qsizetype slash = mainFile.lastIndexOf(QLatin1Char('/'));
    FShownMain = mainFile;
    FShownDir = mainFile.left(slash + 1);
    if (QFileInfo(FMainFile).isDir())
        Fail(QStringLiteral("exCannotWrite"), FShownMain, SystemReason(EISDIR));
    if (!FFolderName.isEmpty()) {
        const QFileInfo folder(QDir(FTargetDir).filePath(FFolderName));
        if (folder.exists() && !folder.isDir())
            Fail(QStringLiteral("exCannotMakeFolder"), FShownDir + FFolderName, SystemReason(EEXIST));
    }
    // Staged beside the main file, so that everything moves into place by a rename. A main file
    // that is a device or a pipe is written into instead, so it may be staged in the temporary
    // folder when its own takes nothing (/dev).
    const QFileInfo main(FMainFile);
    const bool elsewhere = main.exists() && !main.isFile() && !QFileInfo(FTargetDir).isWritable();
    FStage = std::make_unique<QTemporaryDir>(ProcessTempTemplate(elsewhere ? QDir::tempPath() : FTargetDir));
    if (!FStage->isValid()) {
        // The staging folder is the first thing written beside the main file.
        Fail(QStringLiteral("exCannotWrite"), FShownMain, FStage->errorString());
    }
    if (!FFolderName.isEmpty() && !QDir(FStage->path()).mkdir(kFolder))
        Fail(QStringLiteral("exCannotMakeFolder"), FShownDir + FFolderName, SystemReason(EIO));
}

THTMLFileSet::~THTMLFileSet() = default; // the staging folder goes with everything in it

QString THTMLFileSet::StagedPath(const QString& name) const {
    return FFolderName.isEmpty() ? QDir(FStage->path()).filePath(name)
                                 : QDir(FStage->path()).filePath(kFolder + QLatin1Char('/') + name);
}

QString THTMLFileSet::FinalPath(const QString& name) const {
    return FFolderName.isEmpty() ? QDir(FTargetDir).filePath(name)
                                 : QDir(FTargetDir).filePath(FFolderName + QLatin1Char('/') + name);
}

namespace {

// One staged file, written whole and on the disk before anything is moved into place; "" or
// the system's reason.
QString WriteStaged(const QString& path, const THTMLFileSet::Writer& write) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return file.errorString();
    if (const QString error = write(file); !error.isEmpty())
        return file.error() != QFileDevice::NoError ? file.errorString() : error;
    if (::fsync(file.handle()) != 0 && errno != EINVAL)
        return qt_error_string(errno);
    file.close();
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}

} // namespace

void THTMLFileSet::WriteFile(const QString& name, const QByteArray& data) {
    WriteFile(name, [&](QIODevice& out) { return platform::WriteAll(out, data); });
}

void THTMLFileSet::WriteMain(const QByteArray& data) {
    WriteMain([&](QIODevice& out) { return platform::WriteAll(out, data); });
}

void THTMLFileSet::WriteFile(const QString& name, const Writer& write) {
    const QString error = WriteStaged(StagedPath(name), write);
    if (!error.isEmpty())
        Fail(QStringLiteral("exCannotWrite"), ShownPath(name), error);
    FHasFiles = true;
}

void THTMLFileSet::WriteMain(const Writer& write) {
    const QString error = WriteStaged(QDir(FStage->path()).filePath(kMain), write);
    if (!error.isEmpty())
        Fail(QStringLiteral("exCannotWrite"), FShownMain, error);
    FHasMain = true;
}

void THTMLFileSet::Commit() {
    const QDir stage(FStage->path());
    int error = 0;
    QString folder;       // the folder put in place
    bool restore = false; // an earlier folder waits in the staging folder to be put back
    auto takeBack = [&] {
        int ignored = 0;
        if (!folder.isEmpty())
            QDir(folder).removeRecursively();
        if (restore)
            Move(stage.filePath(kOld), folder, ignored);
    };
    if (FHasFiles && !FFolderName.isEmpty()) {
        const QString target = QDir(FTargetDir).filePath(FFolderName);
        if (QFileInfo(target).isDir()) {
            if (!Move(target, stage.filePath(kOld), error))
                Fail(QStringLiteral("exCannotMakeFolder"), FShownDir + FFolderName, SystemReason(error));
            restore = true;
        }
        if (!Move(stage.filePath(kFolder), target, error)) {
            const int reason = error;
            folder.clear();
            if (restore)
                Move(stage.filePath(kOld), target, error);
            Fail(QStringLiteral("exCannotMakeFolder"), FShownDir + FFolderName, SystemReason(reason));
        }
        folder = target;
    } else if (FHasFiles) {
        for (const QString& name : stage.entryList(QDir::Files | QDir::Hidden)) {
            if (name == kMain)
                continue;
            if (const QString why = Place(stage.filePath(name), FinalPath(name)); !why.isEmpty())
                Fail(QStringLiteral("exCannotWrite"), ShownPath(name), why);
        }
    }
    // The main file last: it never links to files that are not there.
    if (FHasMain) {
        if (const QString why = Place(stage.filePath(kMain), FMainFile); !why.isEmpty()) {
            takeBack();
            Fail(QStringLiteral("exCannotWrite"), FShownMain, why);
        }
    }
}

QString THTMLFileSet::ShownPath(const QString& name) const {
    return FShownDir + (FFolderName.isEmpty() ? name : FFolderName + QLatin1Char('/') + name);
}

} // namespace exports
