// Preparing the calculation sheet (target under 1 ms) and a template of many sheet pages
// (1,000 pages under 1 s), with the memory each prepared page holds.
#include "report/PreparedPageStore.h"
#include "sheet/SheetTemplate.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace report;

namespace {

sheet::SheetTexts Texts() {
    sheet::SheetTexts t;
    t.TB = "1 980";
    t.KT = "1,8";
    t.KBM = "0,95";
    t.KO = "1,3";
    t.KVS = "1,15";
    t.KM = "1,0";
    t.KS = "1,0";
    t.KP = "1,0";
    t.KN = "1,0";
    t.Formula = "Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН";
    t.Premium = "5 061,77 рублей";
    return t;
}

void BM_PrepareSheet(benchmark::State& state) {
    auto r = sheet::CreateSheetReport();
    r->EngineOptions.NewSilentMode = simSilent;
    const sheet::SheetTexts texts = Texts();
    for (auto _ : state) {
        const sheet::PrepareResult result = sheet::PrepareSheet(*r, texts);
        if (!result.Ok)
            state.SkipWithError(result.Message.toStdString().c_str());
        benchmark::DoNotOptimize(r->PreviewPages().Count());
    }
}
BENCHMARK(BM_PrepareSheet)->Unit(benchmark::kMicrosecond);

// A template whose every page holds the sheet's objects.
std::unique_ptr<TrpReport> ManyPages(int pages) {
    auto r = sheet::CreateSheetReport();
    r->EngineOptions.NewSilentMode = simSilent;
    sheet::FillSheetVariables(*r, Texts());
    const TrpReportPage& first = *r->Pages(0);
    for (int i = 1; i < pages; ++i) {
        TrpReportPage* page = r->AddPage();
        page->Assign(first);
        page->SetName("Page" + QString::number(i + 1));
        for (const auto& o : first.Objects()) {
            auto copy = o->Clone();
            copy->SetName(o->Name() + "_" + QString::number(i));
            page->Add(std::move(copy));
        }
    }
    return r;
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

void BM_PrepareManyPages(benchmark::State& state) {
    const int pages = int(state.range(0));
    auto r = ManyPages(pages);
    double bytesPerPage = 0, storeBytesPerPage = 0;
    for (auto _ : state) {
        state.PauseTiming();
        r->PreviewPages().Clear();
        const size_t before = HeapInUse();
        state.ResumeTiming();
        if (!r->Prepare(false))
            state.SkipWithError(r->LastErrorMessage().toStdString().c_str());
        state.PauseTiming();
        bytesPerPage = double(HeapInUse() - before) / pages;
        storeBytesPerPage = double(r->PreviewPages().MemorySize()) / pages;
        if (r->PreviewPages().Count() != pages)
            state.SkipWithError("wrong page count");
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    state.counters["heap_bytes_per_page"] = bytesPerPage;
    state.counters["item_bytes_per_page"] = storeBytesPerPage;
}
BENCHMARK(BM_PrepareManyPages)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Rebuilding prepared pages for drawing or export, through the 50-page cache.
void BM_RebuildPages(benchmark::State& state) {
    auto r = ManyPages(200);
    r->Prepare();
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(r->PreviewPages().Page(i));
        i = (i + 1) % 200;
    }
}
BENCHMARK(BM_RebuildPages)->Unit(benchmark::kMicrosecond);

} // namespace
