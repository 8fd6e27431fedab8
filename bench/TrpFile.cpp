// Saving and loading a prepared report of 1,000 calculation sheets (".trp"), and files that
// only look like one: a huge dictionary, a huge text.
#include "export/ExportFixtures.h"
#include "report/PreparedPageStore.h"
#include "report/PreparedReportFile.h"
#include "report/ViewPainter.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace exporttest;

namespace {

void BM_SaveTrp(benchmark::State& state) {
    auto r = PreparedSheets(int(state.range(0)));
    QTemporaryDir dir;
    const QString name = dir.filePath("sheets.trp");
    for (auto _ : state)
        benchmark::DoNotOptimize(report::SavePreparedReportFile(*r, name));
    state.counters["bytes"] = double(QFileInfo(name).size());
}
BENCHMARK(BM_SaveTrp)->Arg(1)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_LoadTrp(benchmark::State& state) {
    auto r = PreparedSheets(int(state.range(0)));
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
    auto r = PreparedSheets(int(state.range(0)));
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
    auto r = PreparedSheets(1);
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

// A source page of n memos and a dictionary entry for each: resolving the entries grows
// linearly with n (it once searched the page for every entry).
QByteArray ManyAliases(int n) {
    QByteArray objects, dictionary;
    for (int i = 1; i <= n; ++i) {
        const QByteArray number = QByteArray::number(i);
        objects += "<TrpMemoView Name=\"Memo" + number + "\"/>";
        dictionary += "<m" + number + " name=\"Page0.MEMO" + number + "\"/>";
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><preparedreport><previewpages><page0><m1 u=\"x\"/>"
           "</page0></previewpages><sourcepages><TrpReportPage Name=\"Page\">" +
           objects + "</TrpReportPage></sourcepages><dictionary>" + dictionary +
           "</dictionary></preparedreport>";
}

void BM_LoadTrpDictionary(benchmark::State& state) {
    const QByteArray bytes = ManyAliases(int(state.range(0)));
    auto target = NewReport();
    for (auto _ : state)
        benchmark::DoNotOptimize(report::TrpPreparedReportFile::LoadFromBytes(*target, bytes).Ok);
    state.counters["aliases"] = target->PreviewPages().Dictionary().Count();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadTrpDictionary)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// A memo text of the given size: up to the bound it loads and draws, beyond it the file is
// refused; either way time and memory follow the size of the file.
void BM_LoadTrpBigText(benchmark::State& state) {
    auto r = PreparedSheets(1);
    QByteArray bytes = report::TrpPreparedReportFile::SaveToBytes(*r);
    const qsizetype at = bytes.indexOf(" u=\"") + 4;
    bytes.insert(at, QByteArray(state.range(0), 'x'));
    auto target = NewReport();
    bool ok = false;
    for (auto _ : state) {
        ok = report::TrpPreparedReportFile::LoadFromBytes(*target, bytes).Ok;
        if (ok)
            benchmark::DoNotOptimize(RenderPreparedPage(*target, 0, 1));
    }
    state.counters["loaded"] = ok;
    state.counters["peak_MB"] = PeakMegabytes();
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadTrpBigText)
    ->Arg(60000)
    ->RangeMultiplier(8)
    ->Range(1 << 20, 64 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// Opening a prepared file of about 500 MB (a thousand-times repeated sheet page, many times
// over) with `tarifon-cli open`, as a whole process: its peak memory against the file's size.
// The file is read a piece at a time and its pages go on to the page cache as they are read.
void BM_OpenLargeTrp(benchmark::State& state) {
    const qint64 target = state.range(0) << 20;
    QTemporaryDir dir;
    const QString name = dir.filePath("large.trp"), png = dir.filePath("large.png");
    {
        const QByteArray bytes = OneTemplateThousandPages();
        const qsizetype from = bytes.indexOf("<page0>"), to = bytes.lastIndexOf("</page0>") + 8;
        QFile file(name);
        file.open(QIODevice::WriteOnly);
        file.write(bytes.left(from));
        const QByteArray pages = bytes.mid(from, to - from);
        while (file.size() + pages.size() < target)
            file.write(pages);
        file.write(bytes.mid(to));
    }
    const qint64 size = QFileInfo(name).size();
    const std::string path = QFile::encodeName(name).toStdString(),
                      out = QFile::encodeName(png).toStdString();
    double peak = 0;
    for (auto _ : state) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl(TARIFON_CLI, TARIFON_CLI, "open", path.c_str(), "--png", out.c_str(), nullptr);
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("tarifon-cli open failed");
            break;
        }
        peak = usage.ru_maxrss / 1024.0;
    }
    state.counters["file_MB"] = double(size) / (1 << 20);
    state.counters["peak_MB"] = peak;
    state.counters["peak_per_file_size"] = peak / (double(size) / (1 << 20)); // the aim: under 1.5
}
BENCHMARK(BM_OpenLargeTrp)->Arg(500)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
