#pragma once
// The files of one HTML export appear together or not at all: the pictures, page files and
// the main file are first written into a staging folder beside the main file, then moved into
// place, the main file last. A failed or cancelled export leaves the earlier files as they were.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;
class QTemporaryDir;

namespace exports {

class THTMLFileSet {
public:
    // mainFile: the export's main file. folderName: the folder beside it that takes the other
    // files ("OSAGO.files"), or "" when they lie beside the main file. Throws
    // report::TrpReportError when the staging folder cannot be made, or when a file stands
    // where the folder has to go.
    THTMLFileSet(const QString& mainFile, const QString& folderName);
    ~THTMLFileSet();
    THTMLFileSet(const THTMLFileSet&) = delete;
    THTMLFileSet& operator=(const THTMLFileSet&) = delete;

    // Stages one file of the folder (or, without a folder, one file beside the main file);
    // throws report::TrpReportError naming the final file and the system's reason.
    void WriteFile(const QString& name, const QByteArray& data);
    // Stages the main file.
    void WriteMain(const QByteArray& data);
    // The same for a file written in parts: the writer puts them into the device and returns
    // "" or the reason it stopped.
    using Writer = std::function<QString(QIODevice&)>;
    void WriteFile(const QString& name, const Writer& write);
    void WriteMain(const Writer& write);
    // Moves everything staged into place; throws report::TrpReportError when a move fails, after
    // putting back what it can.
    void Commit();

    const QString& MainFile() const { return FMainFile; }
    // Where a staged file will be after Commit.
    QString FinalPath(const QString& name) const;

private:
    QString StagedPath(const QString& name) const;
    QString ShownPath(const QString& name) const;

    QString FMainFile;
    QString FShownMain, FShownDir; // as the caller named them
    QString FFolderName;
    QString FTargetDir;
    std::unique_ptr<QTemporaryDir> FStage;
    bool FHasMain = false;
    bool FHasFiles = false;
};

} // namespace exports
