#pragma once
// What the three text exports share: the options dialog followed by the save dialog, the
// bytes of the file gathered in memory and written whole at the end (or to a caller's
// stream), and "open after export".

#include "export/ExportFilter.h"

#include <QByteArray>
#include <QDialog>
#include <functional>
#include <memory>

namespace exports {

class TrpIEMatrix;

class TrpTextFileExport : public TrpCustomExportFilter {
public:
    RP_FILTER_OPTIONS
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
    // Called after the file was written whole with these bytes (not for a stream).
    virtual void AfterWrite(const QString& fileName, const QByteArray& data) {
        (void)fileName;
        (void)data;
    }

    // The bytes written so far.
    QByteArray FOut;

private:
    bool FOpenAfterExport = false;
    bool FOEMCodepage = false;
    QString FFilterText;
    QString FDefaultExt;
};

// Writes the engine text of `key` with %1, %2 filled in one pass and throws it as the
// export's error.
[[noreturn]] void FailText(const QString& key, const QStringList& args = {});

} // namespace exports
