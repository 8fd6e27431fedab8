#pragma once
// What the three text exports share: the options dialog followed by the save dialog, each
// page's bytes written to the file as the page is finished (through a temporary that takes the
// file's place only when the export completes) or to a caller's stream, and "open after export".

#include "export/ExportFilter.h"

#include <QByteArray>
#include <QDialog>
#include <functional>
#include <memory>

namespace platform {
class StagedFile;
}

namespace exports {

class TrpIEMatrix;

class TrpTextFileExport : public TrpCustomExportFilter {
public:
    RP_FILTER_OPTIONS
    ~TrpTextFileExport() override;
    TModalResult ShowModal() override;
    bool Start() override;
    void Finish() override;

    bool OpenAfterExport() const { return FOpenAfterExport; }
    void SetOpenAfterExport(bool v) { FOpenAfterExport = v; }
    bool OEMCodepage() const { return FOEMCodepage; }
    void SetOEMCodepage(bool v) { FOEMCodepage = v; }

    // The save dialog's filter text and the default extension.
    const QString& FilterText() const { return FFilterText; }
    const QString& DefaultExt() const override { return FDefaultExt; }
    // The name the save dialog proposes: FileName, else the report's name, with the extension.
    QString ProposedFileName() const;

    // Replaceable for tests: the save dialog (returns "" when cancelled) and the shell's "open".
    std::function<QString(const QString& initialName)> OnSaveDialog;
    std::function<void(const QString& fileName)> OnOpenFile;

protected:
    TrpTextFileExport(bool subordinate, const QString& filterText, const QString& defaultExt);
    // The filter's own options dialog; false when cancelled.
    virtual bool ExecuteOptionsDialog() = 0;
    // Shows a dialog made for this filter and, on OK, stores its choices.
    template <typename Dialog, typename Filter> static bool RunDialog(Filter& filter) {
        Dialog dialog(filter);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        dialog.Store(filter);
        return true;
    }
    // The layout matrix of the grid exports: texts as drawing wraps them, no tags, no pictures.
    std::unique_ptr<TrpIEMatrix> NewTextMatrix(report::Extended inaccuracy) const;
    // Called once the file is complete and in place (not for a stream).
    virtual void AfterWrite(const QString& fileName) { (void)fileName; }
    // Writes FOut, the bytes of the page at hand, to the target and empties it; throws the
    // export's error when the target does not take them.
    void WritePageBytes();

    // The page's bytes, until WritePageBytes (Finish writes what is left).
    QByteArray FOut;

private:
    bool FOpenAfterExport = false;
    bool FOEMCodepage = false;
    QString FFilterText;
    QString FDefaultExt;
    std::unique_ptr<platform::StagedFile> FTarget;
};

// Writes the engine text of `key` with %1, %2 filled in one pass and throws it as the
// export's error.
[[noreturn]] void FailText(const QString& key, const QStringList& args = {});

} // namespace exports
