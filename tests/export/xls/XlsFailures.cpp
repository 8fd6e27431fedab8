// The Excel export when the office is missing, dies or hangs part way, and two exports at
// once: a clear error, no file in place of a good one, nothing of the office left behind.
#include "XlsTools.h"
#include "export/ExportFixtures.h"
#include "export/Progress.h"
#include "export/xls/Excel.h"
#include "report/EngineTexts.h"
#include "sheet/SheetTemplate.h"
#include "sheet/commands/SheetFilters.h"
#include "support/WriteFailures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <csignal>
#include <future>

using namespace exports;
using namespace xlstest;

namespace {

// The office program for the life of the object.
class OfficeProgram {
public:
    explicit OfficeProgram(const QByteArray& path)
        : FOld(qgetenv("TARIFON_OFFICE")), FHad(qEnvironmentVariableIsSet("TARIFON_OFFICE")) {
        qputenv("TARIFON_OFFICE", path);
    }
    ~OfficeProgram() {
        if (FHad)
            qputenv("TARIFON_OFFICE", FOld);
        else
            qunsetenv("TARIFON_OFFICE");
    }

private:
    QByteArray FOld;
    bool FHad;
};

// Sends a signal to the office's process group once the sheet's pages are being written.
class SignalMidExport : public TrpProgressView {
public:
    SignalMidExport(const TrpXLSExport& filter, int signal) : FFilter(filter), FSignal(signal) {}
    void Show(const TrpProgress&, bool, bool) override {}
    void Hide() override {}
    void Update(const TrpProgress& p) override {
        if (FSent || p.Message() != report::rpGet(QStringLiteral("ProgressObjects")))
            return;
        if (TrpExcel* excel = FFilter.Excel(); excel && excel->ProcessId() > 0) {
            ::kill(-pid_t(excel->ProcessId()), FSignal);
            FSent = true;
        }
    }
    const TrpXLSExport& FFilter;
    int FSignal;
    bool FSent = false;
};

class XlsFailures : public ::testing::Test {
protected:
    void SetUp() override {
        report = sheet::CreateSheetReport();
        const sheet::PrepareResult prepared = sheet::PrepareSheet(*report, {});
        ASSERT_TRUE(prepared.Ok) << prepared.Message.toStdString();
        target = dir.filePath(QStringLiteral("OSAGO.xls"));
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the workbook saved before");
    }
    void TearDown() override { SetProgressViewFactory(nullptr); }
    void ExpectOldFileKept() {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "the workbook saved before");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("OSAGO.xls")});
    }
    // Runs the export with its progress counters on, so that the view can strike part way.
    QString ExportWithProgress(TrpXLSExport& filter) {
        filter.SetShowDialog(false);
        filter.SetFileName(target);
        report->EngineOptions.NewSilentMode = report::simReThrow;
        try {
            return ExportTo(*report, &filter) ? QString() : QStringLiteral("failed without a message");
        } catch (const report::TrpReportError& e) {
            return e.Message();
        }
    }
    std::unique_ptr<report::TrpReport> report;
    QTemporaryDir dir;
    QString target;
};

} // namespace

TEST_F(XlsFailures, WithoutTheOfficeNothingIsWrittenAndTheItemStaysEnabled) {
    const OfficeProgram missing(dir.filePath(QStringLiteral("no-office/soffice")).toLocal8Bit());
    TrpExcel excel;
    EXPECT_FALSE(excel.StartApplication());
    EXPECT_FALSE(excel.Opened());
    EXPECT_TRUE(excel.StartError().contains(QStringLiteral("no-office/soffice")))
        << excel.StartError().toStdString();
    excel.ShowApplication(true);
    EXPECT_FALSE(excel.Visible());

    TrpXLSExport filter(true);
    const QString error = RunFilter(*report, filter, target);
    const QString unavailable = report::rpGet(QStringLiteral("xlsNoOffice")).section(u'(', 0, 0);
    EXPECT_TRUE(error.startsWith(unavailable)) << error.toStdString();
    ExpectOldFileKept();
    // The user may install the office later: the menu offers the export all the same.
    EXPECT_NE(sheet::CreateSheetFilter(8), nullptr);
}

TEST_F(XlsFailures, OfficeKilledOrHungMidExportEndsCleanly) {
    struct Case {
        int Signal;
        const char* Message;
    };
    for (const Case& c : {Case{SIGKILL, "xlsLost"}, Case{SIGSTOP, "xlsHung"}}) {
        SCOPED_TRACE(c.Message);
        TrpXLSExport filter(true);
        QString profile, pipe;
        qint64 pid = 0;
        filter.OnStarted = [&](TrpExcel& excel) {
            excel.SetCallTimeout(3);
            profile = excel.ProfileDir();
            pid = excel.ProcessId();
            pipe = PipeFileOf(pid);
        };
        SetProgressViewFactory(
            [&](TrpProgress&) { return std::make_unique<SignalMidExport>(filter, c.Signal); });
        QElapsedTimer timer;
        timer.start();
        const QString error = ExportWithProgress(filter);
        SetProgressViewFactory(nullptr);
        QString expected = report::rpGet(QLatin1String(c.Message));
        if (expected.contains(QStringLiteral("%1")))
            expected = expected.arg(3);
        EXPECT_TRUE(error.contains(expected)) << error.toStdString();
        EXPECT_LT(timer.elapsed(), 60000);
        ExpectOldFileKept();
        ASSERT_FALSE(profile.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(profile)) << profile.toStdString();
        EXPECT_EQ(ProcessesUsing(profile), 0);
        EXPECT_NE(::kill(pid_t(pid), 0), 0);
        EXPECT_FALSE(pipe.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(pipe)) << pipe.toStdString();
    }
}

TEST(XlsConcurrency, TwoExportsAtOnceShareNoProfileOrPipe) {
    TrpExcel first, second;
    auto started = std::async(std::launch::async, [&] { return first.StartApplication(); });
    ASSERT_TRUE(second.StartApplication()) << second.StartError().toStdString();
    ASSERT_TRUE(started.get()) << first.StartError().toStdString();
    EXPECT_NE(first.ProfileDir(), second.ProfileDir());
    const QString a = PipeFileOf(first.ProcessId()), b = PipeFileOf(second.ProcessId());
    EXPECT_FALSE(a.isEmpty());
    EXPECT_NE(a, b);
    // Both work on their own workbook.
    QTemporaryDir dir;
    for (TrpExcel* excel : {&first, &second}) {
        // A typed number with its format, and a number kept as text.
        excel->SelectCells(1, 1, 3, 1);
        excel->SetSelectionValues({{excel == &first ? QStringLiteral("first") : QStringLiteral("second")},
                                   {QStringLiteral("1234.5")},
                                   {QStringLiteral("'1234.5")}});
        excel->ApplyNumberFormats({QStringLiteral("# ##0,00=A2")}, nullptr);
        excel->SaveAs(dir.filePath(excel == &first ? QStringLiteral("a.xls") : QStringLiteral("b.xls")));
    }
    const QString profile = first.ProfileDir();
    first.Quit();
    second.Quit();
    EXPECT_FALSE(QFileInfo::exists(a) || QFileInfo::exists(b));
    EXPECT_EQ(ReadWorkbook(dir.filePath(QStringLiteral("a.xls")))[u"cells"].toArray()[0][u"value"].toString(),
              u"first");
    EXPECT_EQ(ReadWorkbook(dir.filePath(QStringLiteral("b.xls")))[u"cells"].toArray()[0][u"value"].toString(),
              u"second");
    EXPECT_FALSE(QFileInfo::exists(profile));
}

TEST(XlsStaleRuns, AKilledProgramsOfficeAndProfileGo) {
    QTemporaryDir temp;
    // A process id that no longer runs: a child that has ended and been reaped.
    QProcess ended;
    ended.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(ended.waitForFinished());
    const qint64 gone = ended.processId() ? ended.processId() : 999999;
    const QString stale = temp.filePath(QStringLiteral("tarifon-%1-abcdef.office").arg(gone));
    const QString live =
        temp.filePath(QStringLiteral("tarifon-%1-abcdef.office").arg(QCoreApplication::applicationPid()));
    for (const QString& folder : {stale, live})
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/profile/user")));
    // Stands for the office left running on the stale profile.
    QProcess office;
    office.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 60; : ") + stale});
    ASSERT_TRUE(office.waitForStarted());
    EXPECT_EQ(RemoveStaleOfficeRuns(temp.path()), 1);
    EXPECT_TRUE(office.waitForFinished(5000));
    EXPECT_FALSE(QFileInfo::exists(stale));
    EXPECT_TRUE(QFileInfo::exists(live)); // this program still runs
}

TEST(XlsFullDisk, AFullDiskKeepsTheOldWorkbook) {
    writefailures::SmallFilesystem disk(8); // the workbook takes more than 8 KB
    ASSERT_TRUE(disk.Mounted());
    const QString target = disk.FilePath(QStringLiteral("OSAGO.xls"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the workbook saved before");
    old.close();
    auto report = sheet::CreateSheetReport();
    ASSERT_TRUE(sheet::PrepareSheet(*report, {}).Ok);
    TrpXLSExport filter(true);
    const QString error = RunFilter(*report, filter, target);
    EXPECT_TRUE(error.contains(writefailures::Reason(writefailures::Failure::FullDisk)))
        << error.toStdString();
    EXPECT_TRUE(error.contains(target)) << error.toStdString();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "the workbook saved before");
    EXPECT_EQ(disk.Files(), QStringList{QStringLiteral("OSAGO.xls")});
}

// Each page is laid out and kept when it is finished: forty pages come one below the other, in
// order, with a break after each; a page wider than the workbook's 256 columns is refused with
// the reason and nothing is written.
TEST(XlsLongReports, PagesFollowEachOtherAndAPageTooWideIsRefused) {
    auto tall = exporttest::NewReport();
    tall->DataSets.push_back({QStringLiteral("Rows"), 40});
    report::TrpReportPage* page = tall->AddPage();
    page->SetName(QStringLiteral("Page"));
    page->SetDataSetName(QStringLiteral("Rows"));
    for (int row = 0; row < 4; ++row)
        exporttest::AddMemo(*page, QStringLiteral("m%1").arg(row),
                            row == 0 ? QStringLiteral("page [Line]") : QStringLiteral("row %1").arg(row), 0,
                            row * 20, 200, 20, report::ftAll);
    ASSERT_TRUE(tall->Prepare());
    auto wide = exporttest::NewReport();
    page = wide->AddPage();
    page->SetName(QStringLiteral("Page"));
    page->SetPaperWidth(2000);
    for (int i = 0; i < 300; ++i)
        exporttest::AddMemo(*page, QStringLiteral("d%1").arg(i), QStringLiteral("d%1").arg(i), 4 * i, 10, 2,
                            20);
    ASSERT_TRUE(wide->Prepare());

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("long.xls"));
    auto filter = sheet::CreateSheetFilter(8);
    filter->SetShowProgress(false);
    ASSERT_EQ(RunFilter(*tall, static_cast<TrpXLSExport&>(*filter), file), QString());
    const QJsonObject book = ReadWorkbook(file);
    int lastRow = -1, pages = 0;
    for (const QJsonValue& cell : book[u"cells"].toArray())
        if (cell[u"value"].toString().startsWith(QStringLiteral("page "))) {
            EXPECT_EQ(cell[u"value"].toString(), QStringLiteral("page %1").arg(++pages));
            EXPECT_GT(cell[u"row"].toInt(), lastRow);
            lastRow = cell[u"row"].toInt();
        }
    EXPECT_EQ(pages, 40);
    EXPECT_EQ(book[u"breaks"].toArray().size(), 40);

    const QString refused = dir.filePath(QStringLiteral("wide.xls"));
    const QString error = RunFilter(*wide, static_cast<TrpXLSExport&>(*filter), refused);
    EXPECT_TRUE(error.contains(QStringLiteral("Отчет слишком велик для формата")) &&
                error.contains(QStringLiteral("не более 256")))
        << error.toStdString();
    EXPECT_FALSE(QFile::exists(refused));
}
