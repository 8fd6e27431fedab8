// Prepared-report files made to hurt, each opened by `tarifon-cli open FILE --png OUT` as a
// process of its own: time, the process's peak memory and its exit status (0 drawn, 2 refused).
// The goal for each: at most 20 s and less than 1.5 GB.
#include "report/ReportFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// Distinct 5600 x 5600 pictures (125 MB each decoded), or one such picture used `count` times.
QByteArray LargePictures(int count, bool distinct) {
    std::vector<QByteArray> pictures;
    for (int i = 0; i < count; ++i)
        pictures.push_back(reporttest::SolidPng(5600, QColor(200, 40, 40), distinct ? i : 0));
    return reporttest::PicturesFile(pictures);
}

// Memos each asking for a font nobody has, by a name of its own.
QByteArray UnknownFonts(int count) {
    auto r = reporttest::NewReport();
    for (int i = 0; i < count; ++i) {
        report::TrpMemoView* memo =
            reporttest::AddMemo(*r, QStringLiteral("Memo%1").arg(i + 1), QStringLiteral("x"),
                                10 + (i % 70) * 10, 10 + (i / 70) % 100 * 10, 10, 10);
        report::TrpFont font = memo->Font();
        font.Name = QStringLiteral("No Such Face %1").arg(i);
        memo->SetFont(font);
    }
    r->Prepare();
    return report::TrpPreparedReportFile::SaveToBytes(*r);
}

void OpenInProcess(benchmark::State& state, const std::function<QByteArray()>& make) {
    QTemporaryDir dir;
    const QString trp = dir.filePath("hostile.trp"), png = dir.filePath("hostile.png");
    {
        QFile f(trp);
        if (!f.open(QIODevice::WriteOnly) || f.write(make()) < 0) {
            state.SkipWithError("cannot write the file");
            return;
        }
    }
    const QByteArray trpName = trp.toLocal8Bit(), pngName = png.toLocal8Bit();
    const char* args[] = {TARIFON_CLI, "open", trpName.constData(), "--png", pngName.constData(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    double peakMB = 0;
    int status = -1;
    for (auto _ : state) {
        pid_t pid;
        if (posix_spawn(&pid, TARIFON_CLI, &actions, nullptr, const_cast<char**>(args), environ) != 0) {
            state.SkipWithError("cannot start tarifon-cli");
            break;
        }
        int raw = 0;
        rusage usage{};
        wait4(pid, &raw, 0, &usage);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        peakMB = std::max(peakMB, usage.ru_maxrss / 1024.0);
    }
    posix_spawn_file_actions_destroy(&actions);
    state.counters["peak_MB"] = peakMB;
    state.counters["status"] = status;
}

void BM_OpenDistinctLargePictures(benchmark::State& state) {
    OpenInProcess(state, [&] { return LargePictures(int(state.range(0)), true); });
}
BENCHMARK(BM_OpenDistinctLargePictures)->Arg(20)->Arg(40)->Iterations(1)->Unit(benchmark::kSecond);

void BM_OpenOneLargePictureManyTimes(benchmark::State& state) {
    OpenInProcess(state, [&] { return LargePictures(int(state.range(0)), false); });
}
BENCHMARK(BM_OpenOneLargePictureManyTimes)->Arg(40)->Iterations(1)->Unit(benchmark::kSecond);

void BM_OpenUnknownFonts(benchmark::State& state) {
    OpenInProcess(state, [&] { return UnknownFonts(int(state.range(0))); });
}
BENCHMARK(BM_OpenUnknownFonts)->Arg(40000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
