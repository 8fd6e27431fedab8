#include "export/text/TextFileExport.h"

#include "export/LayoutMatrix.h"
#include "export/SaveFileDialog.h"
#include "export/TempFiles.h"
#include "export/text/TextTexts.h"
#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace exports {

using report::rpGet;
using report::TrpReportError;

void FailText(const QString& key, const QStringList& args) {
    // One pass, so that a file name holding "%2" stays as it is.
    const QString text = rpGet(key);
    QString filled;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int n = i + 1 < text.size() && text[i] == u'%' ? text[i + 1].digitValue() : -1;
        if (n >= 1 && n <= args.size()) {
            filled += args[n - 1];
            ++i;
        } else {
            filled += text[i];
        }
    }
    throw TrpReportError(filled);
}

TrpTextFileExport::TrpTextFileExport(bool subordinate, const QString& filterText, const QString& defaultExt)
    : TrpCustomExportFilter(subordinate), FFilterText(filterText), FDefaultExt(defaultExt) {
    AddTextExportTexts();
}

QString TrpTextFileExport::ProposedFileName() const {
    if (!FileName().isEmpty())
        return FileName();
    const QString name = Report() ? Report()->ReportOptions.Name : QString();
    return (name.isEmpty() ? QStringLiteral("report") : QFileInfo(name).completeBaseName()) + FDefaultExt;
}

TModalResult TrpTextFileExport::ShowModal() {
    if (Stream())
        return mrOk;
    if (!ExecuteOptionsDialog())
        return mrCancel;
    if (Subordinate()) {
        SetFileName(NewTemporaryFile(FDefaultExt));
        return FileName().isEmpty() ? mrCancel : mrOk;
    }
    const QString chosen = OnSaveDialog
                               ? OnSaveDialog(ProposedFileName())
                               : AskSaveFileName(DefaultPath(), ProposedFileName(), FFilterText, FDefaultExt);
    if (chosen.isEmpty())
        return mrCancel;
    SetFileName(chosen);
    return mrOk;
}

std::unique_ptr<TrpIEMatrix> TrpTextFileExport::NewTextMatrix(report::Extended inaccuracy) const {
    auto m = std::make_unique<TrpIEMatrix>(UseFileCache());
    m->ShowProgress = false;
    m->Background = false;
    m->RichText = true;
    m->PlainRich = true;
    m->FillArea = false;
    m->CropFillArea = true;
    m->Inaccuracy = inaccuracy;
    m->DeleteHTMLTags = true;
    m->Images = false;
    m->WrapText = true;
    m->FramesOptimization = true;
    m->Report = Report();
    return m;
}

TrpTextFileExport::~TrpTextFileExport() = default;

bool TrpTextFileExport::Start() {
    if (FileName().isEmpty() && !Stream())
        return false;
    FOut.clear();
    FTarget.reset();
    if (!Stream()) {
        const QString name = TargetFileName();
        SetFileName(name);
        auto target = std::make_unique<platform::StagedFile>(name);
        if (const QString error = target->Open(); !error.isEmpty())
            FailText(QStringLiteral("exCannotWrite"), {name, error});
        FTarget = std::move(target);
    }
    return true;
}

void TrpTextFileExport::WritePageBytes() {
    const QByteArray data = std::exchange(FOut, {});
    if (QIODevice* stream = Stream()) {
        if (const QString error = platform::WriteAll(*stream, data); !error.isEmpty())
            FailText(QStringLiteral("exWriteFailed"), {error});
    } else if (FTarget) {
        if (const QString error = FTarget->Write(data); !error.isEmpty())
            FailText(QStringLiteral("exCannotWrite"), {FileName(), error});
    }
}

void TrpTextFileExport::Finish() {
    std::unique_ptr<platform::StagedFile> target = std::move(FTarget);
    // After an error, or when the user stopped the export, the file would hold only part of
    // the pages: the temporary goes, and a file of that name keeps its old contents.
    if (Failed() || (Report() && Report()->Terminated())) {
        FOut.clear();
        return;
    }
    if (!target && !Stream())
        return;
    WritePageBytes();
    if (!target)
        return;
    const QString name = FileName();
    if (const QString error = target->Close(); !error.isEmpty())
        FailText(QStringLiteral("exCannotWrite"), {name, error});
    AfterWrite(name);
    if (FOpenAfterExport && !Subordinate()) {
        if (OnOpenFile)
            OnOpenFile(name);
        else
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath()));
    }
}

} // namespace exports
