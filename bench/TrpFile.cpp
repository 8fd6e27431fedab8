// Saving and loading a prepared report of 1,000 calculation sheets (".trp").
#include "export/ExportFixtures.h"
#include "report/PreparedReportFile.h"
#include "report/PreviewPages.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace exporttest;

namespace {

std::unique_ptr<report::TrpReport> Sheets(int pages) {
    auto r = NewReport();
    for (int i = 0; i < pages; ++i)
        AddSheetPage(*r);
    FillSheetVariables(*r);
    r->Prepare();
    return r;
}

void BM_SaveTrp(benchmark::State& state) {
    auto r = Sheets(int(state.range(0)));
    QTemporaryDir dir;
    const QString name = dir.filePath("sheets.trp");
    for (auto _ : state)
        benchmark::DoNotOptimize(report::SavePreparedReportFile(*r, name));
    state.counters["bytes"] = double(QFileInfo(name).size());
}
BENCHMARK(BM_SaveTrp)->Arg(1)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_LoadTrp(benchmark::State& state) {
    auto r = Sheets(int(state.range(0)));
    QTemporaryDir dir;
    const QString name = dir.filePath("sheets.trp");
    report::SavePreparedReportFile(*r, name);
    auto target = NewReport();
    for (auto _ : state) {
        benchmark::DoNotOptimize(report::LoadPreparedReportFile(*target, name));
        benchmark::DoNotOptimize(target->PreviewPages().Count());
    }
}
BENCHMARK(BM_LoadTrp)->Arg(1)->Arg(1000)->Unit(benchmark::kMillisecond);

// Loading and then rebuilding every page for drawing or export.
void BM_LoadAndRebuildTrp(benchmark::State& state) {
    auto r = Sheets(int(state.range(0)));
    QTemporaryDir dir;
    const QString name = dir.filePath("sheets.trp");
    report::SavePreparedReportFile(*r, name);
    auto target = NewReport();
    for (auto _ : state) {
        report::LoadPreparedReportFile(*target, name);
        for (int i = 0; i < target->PreviewPages().Count(); ++i)
            benchmark::DoNotOptimize(target->PreviewPages().Page(i));
    }
}
BENCHMARK(BM_LoadAndRebuildTrp)->Arg(1000)->Unit(benchmark::kMillisecond);

// The usual shape: one template page run a thousand times, so one source page and a
// thousand page items of differences.
QByteArray OneTemplateThousandPages() {
    auto r = Sheets(1);
    QByteArray bytes = report::TrpPreparedReportFile::SaveToBytes(*r);
    const qsizetype from = bytes.indexOf("<page0>"), to = bytes.indexOf("</page0>") + 8;
    const QByteArray page = bytes.mid(from, to - from);
    QByteArray pages;
    for (int i = 0; i < 1000; ++i)
        pages += page;
    return bytes.replace(from, to - from, pages);
}

void BM_LoadTrpOneTemplate(benchmark::State& state) {
    const QByteArray bytes = OneTemplateThousandPages();
    auto target = NewReport();
    for (auto _ : state)
        benchmark::DoNotOptimize(report::TrpPreparedReportFile::LoadFromBytes(*target, bytes).Ok);
    state.counters["pages"] = target->PreviewPages().Count();
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_LoadTrpOneTemplate)->Unit(benchmark::kMillisecond);

void BM_SaveTrpOneTemplate(benchmark::State& state) {
    auto target = NewReport();
    report::TrpPreparedReportFile::LoadFromBytes(*target, OneTemplateThousandPages());
    QTemporaryDir dir;
    const QString name = dir.filePath("sheets.trp");
    for (auto _ : state)
        benchmark::DoNotOptimize(report::SavePreparedReportFile(*target, name));
    state.counters["pages"] = target->PreviewPages().Count();
}
BENCHMARK(BM_SaveTrpOneTemplate)->Unit(benchmark::kMillisecond);

} // namespace
