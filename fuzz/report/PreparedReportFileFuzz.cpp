// Any bytes given to the prepared-report loader either load (and then rebuild, draw and save)
// or are refused with the fault named and the pages shown before left as they were.
#include "report/PreparedPageStore.h"
#include "report/PreparedReportFile.h"
#include "report/Report.h"
#include "report/ViewPainter.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<report::TrpReport> ShownReport() {
    auto r = std::make_unique<report::TrpReport>();
    r->EngineOptions.NewSilentMode = report::simSilent;
    report::TrpReportPage* page = r->AddPage();
    auto memo = std::make_unique<report::TrpMemoView>();
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetText(QStringLiteral("shown"));
    memo->SetBounds(10, 10, 100, 20);
    page->Add(std::move(memo));
    r->Prepare();
    return r;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<report::TrpReport> report = ShownReport();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const report::TrpLoadResult result = report::TrpPreparedReportFile::LoadFromBytes(*report, bytes);
    if (!result.Ok) {
        // A refused file names its fault, in both languages.
        if (!result.Error.IsError() || result.Message().isEmpty() ||
            result.Message(report::TrpLanguage::Russian).isEmpty())
            std::abort();
        // The shown pages survive a failed load.
        if (report->PreviewPages().Count() < 1)
            std::abort();
        return 0;
    }
    report::TrpPreviewPages& pages = report->PreviewPages();
    for (int i = 0; i < pages.Count() && i < 64; ++i)
        pages.Page(i);
    // Whatever the file asked for, the first page draws (small, to keep runs fast).
    report::RenderPreparedPage(*report, 0, 0.25);
    // What loads saves and loads again.
    const QByteArray again = report::TrpPreparedReportFile::SaveToBytes(*report);
    auto copy = ShownReport();
    if (!report::TrpPreparedReportFile::LoadFromBytes(*copy, again).Ok)
        std::abort();
    // Keep a page on show for the next input.
    if (pages.Count() < 1)
        report = ShownReport();
    return 0;
}
