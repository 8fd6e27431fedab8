#include "export/MatrixExport.h"

#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "export/Spool.h"
#include "export/TargetFile.h"
#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

namespace exports {

using namespace report;

void AddMatrixExportTexts() {
    TrpResources::Instance().AddStringsOnce("exNoPages=Нет подготовленных страниц\n"
                                            "exFailed=Экспорт не выполнен\n"
                                            "exCancelled=Экспорт отменен, файл %1 не записан\n"
                                            "exIncomplete=Экспорт прерван: файл %1 записан не полностью\n"
                                            "exNotOpened=Файл %1 записан, но открыть его не удалось: %2\n");
    AddTargetFileTexts();
}

TrpMatrixExport::TrpMatrixExport(bool subordinate, const QString& filterText, const QString& defaultExt)
    : TrpCustomExportFilter(subordinate), FFilterText(filterText), FDefaultExt(defaultExt) {
    AddMatrixExportTexts();
}

TrpMatrixExport::~TrpMatrixExport() = default;

bool TrpMatrixExport::Start() {
    if (FileName().isEmpty() && !Stream())
        return false;
    if (!Stream())
        SetFileName(TargetFileName());
    FMatrix = std::make_unique<TrpIEMatrix>(UseFileCache());
    FMatrix->Report = Report();
    SetupMatrix(*FMatrix);
    // One page at a time: the export's own progress tells the pages.
    FMatrix->ShowProgress = false;
    FSpool = std::make_unique<TrpSpool>();
    FPageCount = 0;
    BeginDocument(*FMatrix);
    return true;
}

void TrpMatrixExport::StartPage(TrpReportPage* page, int) {
    if (page && FPageCount++ == 0)
        FirstPage(*page);
}

void TrpMatrixExport::ExportObject(const TrpPlacedObject& object) {
    if (FMatrix)
        FMatrix->AddObject(object);
}

void TrpMatrixExport::FinishPage(TrpReportPage* page, int) {
    if (!FMatrix || !page)
        return;
    FMatrix->AddPage(page->Orientation(), page->Width(), page->Height(), page->LeftMargin(),
                     page->TopMargin(), page->RightMargin(), page->BottomMargin());
    FMatrix->Prepare();
    WritePage(*FMatrix, FPageCount - 1, *FSpool);
    FMatrix->ClearPage();
}

QString TrpMatrixExport::CopyPages(QIODevice& out, TrpSpool& pages, TrpProgress* progress, bool& complete,
                                   const std::function<QByteArray(const QByteArray&)>& convert) {
    for (int i = 0; i < pages.Pages(); ++i) {
        const QByteArray page = pages.Page(i);
        if (const QString error = platform::WriteAll(out, convert ? convert(page) : page); !error.isEmpty())
            return error;
        if (progress) {
            progress->Tick();
            if (progress->Terminated()) {
                complete = false;
                break;
            }
        }
    }
    return {};
}

void TrpMatrixExport::Finish() {
    // The matrix, the spool and what the format kept go in every case.
    struct Release {
        TrpMatrixExport& F;
        ~Release() {
            if (F.FMatrix)
                F.EndDocument();
            F.FMatrix.reset();
            F.FSpool.reset();
        }
    } release{*this};
    if (!FMatrix || Failed())
        return;
    const QString target = Stream() ? QString() : FileName();
    if (Report() && Report()->Terminated()) // cancelled between pages: nothing is written
        throw TrpReportError(rpGet(QStringLiteral("exCancelled")).arg(target));
    if (FPageCount == 0) // the page list named no page of the report: say so
        throw TrpReportError(rpGet(QStringLiteral("exNoPages")));
    TrpProgress progress;
    if (ShowProgress())
        progress.Execute(FSpool->Pages(), ProgressText(), true, true);
    bool complete = true;
    WriteTarget(*this, [&](QIODevice& out) {
        return WriteDocument(out, *FSpool, ShowProgress() ? &progress : nullptr, complete);
    });
    progress.Hide();
    // Cancelled while writing: the document is closed properly, but the user is told.
    if (!complete)
        throw TrpReportError(rpGet(QStringLiteral("exIncomplete")).arg(target));
    if (OpenAfter() && !Stream() && !Subordinate())
        if (const QString error = OpenWithDesktop(FileName()); !error.isEmpty())
            throw TrpReportError(rpGet(QStringLiteral("exNotOpened")).arg(FileName(), error));
}

} // namespace exports
