// Prepared pages that went through the file cache against pages that never left memory: the
// same pictures, PDF and prepared-report file; the cache file is private, one per report,
// gone with the report, and a killed process's file is removed by the next one.
#include "PreviewFixtures.h"

#include "export/pdf/PdfExport.h"
#include "report/PreparedPageStore.h"
#include "report/PreparedReportFile.h"
#include "report/ViewPainter.h"
#include "support/LongReport.h"
#include "support/WriteFailures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <sys/stat.h>
#include <thread>

using namespace report;

namespace {

constexpr int Pages = 130; // more than the 50 rebuilt pages kept, so some leave and come back

std::unique_ptr<TrpReport> Prepared(int pages, const QString& cacheDir) {
    auto r = longreport::Create(pages);
    if (!cacheDir.isEmpty()) {
        r->EngineOptions.UseFileCache = true;
        r->EngineOptions.MaxMemSize = 0; // every finished page goes to the file
        r->EngineOptions.TempDir = cacheDir;
    }
    EXPECT_TRUE(r->Prepare()) << r->LastErrorMessage().toStdString();
    return r;
}

QImage Draw(TrpReport& r, int index) {
    QImage image(400, 570, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TrpPageCanvas canvas;
    canvas.ScaleX = canvas.ScaleY = 0.5;
    DrawPlacedPage(painter, *r.PreviewPages().Placed(index), canvas);
    return image;
}

QByteArray Pdf(TrpReport& r, const QString& path) {
    EXPECT_EQ(exports::ExportReportToPDF(r, path), QString());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

QByteArray WithoutDates(QByteArray pdf) {
    static const QRegularExpression date(QStringLiteral("\\(D:[0-9]+\\)"));
    return QString::fromLatin1(pdf).remove(date).toLatin1();
}

QStringList CacheFiles(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral("tarifon-*")}, QDir::Files);
}

} // namespace

TEST(PageCache, PagesFromTheCacheDrawExportAndSaveAsPagesThatStayedInMemory) {
    QTemporaryDir cacheDir, out;
    auto memory = Prepared(Pages, {});
    auto cached = Prepared(Pages, cacheDir.path());
    ASSERT_EQ(cached->PreviewPages().Count(), Pages);
    EXPECT_EQ(memory->PreviewPages().UnloadedCount(), 0);
    EXPECT_GE(cached->PreviewPages().UnloadedCount(), Pages - 1);

    // The file: this process's, the owner's alone.
    const QString file = cached->PreviewPages().CacheFileName();
    EXPECT_EQ(QFileInfo(file).absolutePath(), QFileInfo(cacheDir.path()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(file).fileName().startsWith(QStringLiteral("tarifon-%1-").arg(getpid())));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    EXPECT_EQ(TrpPreparedReportFile::SaveToBytes(*cached), TrpPreparedReportFile::SaveToBytes(*memory));
    // Every page, twice over: the second round reads back pages that left with the rebuilt ones.
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < Pages; i += round == 0 ? 1 : 7) {
            ASSERT_EQ(Draw(*cached, i), Draw(*memory, i)) << "page " << i + 1;
            ASSERT_EQ(previewtest::PageTexts(*cached, i), previewtest::PageTexts(*memory, i));
        }
    EXPECT_TRUE(previewtest::PageTexts(*cached, 99).contains(longreport::ContractText(100)));
    EXPECT_TRUE(previewtest::PageTexts(*cached, 99).contains(QStringLiteral("Страница 100 из 130")));

    EXPECT_EQ(WithoutDates(Pdf(*cached, out.filePath("cached.pdf"))),
              WithoutDates(Pdf(*memory, out.filePath("memory.pdf"))));

    const QString saved = out.filePath("cached.trp");
    ASSERT_EQ(TrpPreparedReportFile::SaveToFile(*cached, saved), QString());
    QFile f(saved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes, TrpPreparedReportFile::SaveToBytes(*memory));

    // Read back into a report with the cache on, it spills again and saves the same.
    auto reopened = longreport::Create(1);
    reopened->EngineOptions.UseFileCache = true;
    reopened->EngineOptions.MaxMemSize = 0;
    reopened->EngineOptions.TempDir = cacheDir.path();
    ASSERT_TRUE(TrpPreparedReportFile::LoadFromFile(*reopened, saved).Ok);
    EXPECT_EQ(reopened->PreviewPages().UnloadedCount(), Pages);
    EXPECT_EQ(TrpPreparedReportFile::SaveToBytes(*reopened), bytes);
    EXPECT_EQ(Draw(*reopened, Pages - 1), Draw(*memory, Pages - 1));

    // Each report has a file of its own, and takes it away with it.
    EXPECT_EQ(CacheFiles(cacheDir.path()).size(), 2);
    EXPECT_NE(reopened->PreviewPages().CacheFileName(), file);
    cached.reset();
    reopened.reset();
    EXPECT_EQ(CacheFiles(cacheDir.path()), QStringList());
}

// Run as a child process by the test below: prepares with the cache on and stops half-way,
// until killed.
TEST(PageCacheChild, PrepareUntilKilled) {
    const QString dir = qEnvironmentVariable("TARIFON_TEST_CACHE_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "run by PageCache.AKilledProcessLeavesNoCacheFileAfterTheNextStart";
    auto r = longreport::Create(1000);
    r->EngineOptions.UseFileCache = true;
    r->EngineOptions.MaxMemSize = 0;
    r->EngineOptions.TempDir = dir;
    r->OnProgress = [&](TrpReport*, TrpProgressKind, int page) {
        if (page == 500) {
            std::printf("cache file: %s\n", qPrintable(r->PreviewPages().CacheFileName()));
            std::fflush(stdout);
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    };
    r->Prepare();
}

TEST(PageCache, AKilledProcessLeavesNoCacheFileAfterTheNextStart) {
    QTemporaryDir dir;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARIFON_TEST_CACHE_DIR"), dir.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=PageCacheChild.PrepareUntilKilled")});
    ASSERT_TRUE(child.waitForStarted());
    QString file;
    while (file.isEmpty() && child.waitForReadyRead(30000))
        while (file.isEmpty() && child.canReadLine())
            if (const QString line = QString::fromLocal8Bit(child.readLine()).trimmed();
                line.startsWith(QStringLiteral("cache file: ")))
                file = line.mid(12);
    ASSERT_FALSE(file.isEmpty()) << child.readAllStandardError().toStdString();
    EXPECT_TRUE(QFileInfo(file).fileName().startsWith(QStringLiteral("tarifon-%1-").arg(child.processId())));
    EXPECT_TRUE(QFile::exists(file));
    ::kill(pid_t(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished());
    EXPECT_TRUE(QFile::exists(file)); // nobody could remove it

    // The next process to cache pages in that folder clears it up; its own file stays.
    auto next = Prepared(60, dir.path());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(CacheFiles(dir.path()),
              QStringList{QFileInfo(next->PreviewPages().CacheFileName()).fileName()});
}

TEST(PageCache, AFullDiskEndsPreparationWithAClearErrorAndKeepsThePagesMade) {
    writefailures::SmallFilesystem disk(64);
    ASSERT_TRUE(disk.Mounted());
    auto r = longreport::Create(2000);
    r->EngineOptions.UseFileCache = true;
    r->EngineOptions.MaxMemSize = 0;
    r->EngineOptions.TempDir = disk.Path();
    EXPECT_FALSE(r->Prepare());
    EXPECT_TRUE(r->LastErrorMessage().contains(
        QStringLiteral("Не удалось вынести страницы отчета во временный файл")))
        << r->LastErrorMessage().toStdString();
    EXPECT_TRUE(r->LastErrorMessage().contains(writefailures::Reason(writefailures::Failure::FullDisk)))
        << r->LastErrorMessage().toStdString();

    // What was made is whole: pages from the file and from memory alike.
    const int made = r->PreviewPages().Count();
    ASSERT_GT(made, 10);
    ASSERT_LT(made, 2000);
    EXPECT_GT(r->PreviewPages().UnloadedCount(), 0);
    for (int i : {0, made / 2, made - 1})
        EXPECT_TRUE(previewtest::PageTexts(*r, i).contains(longreport::ContractText(i + 1))) << i;
    QTemporaryDir out;
    ASSERT_EQ(TrpPreparedReportFile::SaveToFile(*r, out.filePath("made.trp")), QString());
    auto reopened = longreport::Create(1);
    ASSERT_TRUE(TrpPreparedReportFile::LoadFromFile(*reopened, out.filePath("made.trp")).Ok);
    EXPECT_EQ(reopened->PreviewPages().Count(), made);
    EXPECT_EQ(previewtest::PageTexts(*reopened, made - 1), previewtest::PageTexts(*r, made - 1));
}
