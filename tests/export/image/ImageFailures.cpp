// What goes wrong when exporting pictures: a full disk, a folder that cannot be written, a
// picture too large or too large for memory, a page list of no page. Each ends in a message,
// with no partial file and an earlier file kept. And the limits a picture stays within.
#include "ImageTools.h"

#include <QBuffer>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace imagetest;
using exports::TrpImageFormat;

namespace {

const TrpImageFormat kFormats[] = {TrpImageFormat::BMP, TrpImageFormat::JPEG, TrpImageFormat::TIFF,
                                   TrpImageFormat::GIF};

// Runs `work` with a resource limit lowered, and puts the limit back whatever happens.
template <typename Work> void WithLimit(int resource, rlim_t value, Work&& work) {
    rlimit saved{};
    getrlimit(resource, &saved);
    rlimit limited = saved;
    limited.rlim_cur = value;
    setrlimit(resource, &limited);
    struct Restore {
        int Resource;
        rlimit Saved;
        ~Restore() { setrlimit(Resource, &Saved); }
    } restore{resource, saved};
    work();
}

} // namespace

TEST(ImageFailures, AFullDiskKeepsTheEarlierFileAndLeavesNothingElse) {
    std::unique_ptr<TrpReport> r = SheetReport();
    std::signal(SIGXFSZ, SIG_IGN);
    for (TrpImageFormat format : kFormats) {
        QTemporaryDir dir;
        auto filter = Filter(format, dir.filePath(QStringLiteral("OSAGO")));
        const QString target = dir.filePath(QStringLiteral("OSAGO.1") + filter->DefaultExt());
        SCOPED_TRACE(target.toStdString());
        {
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("previous contents");
        }
        bool exported = true;
        WithLimit(RLIMIT_FSIZE, 4096, [&] { exported = exports::ExportTo(*r, filter.get()); });
        EXPECT_FALSE(exported);
        const QString error = r->Errors().join('\n');
        EXPECT_TRUE(error.contains(QStringLiteral("Не удалось записать файл ") + target))
            << error.toStdString();
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("previous contents"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(target).fileName()});

        // With room to write, the same export replaces it.
        EXPECT_TRUE(exports::ExportTo(*r, filter.get()));
        EXPECT_EQ(Identify(target).section(' ', 1), QStringLiteral("794x1123"));
    }
}

TEST(ImageFailures, MessagesInsteadOfFiles) {
    QTemporaryDir dir;
    const struct {
        const char* Name;
        bool Sheet; // else three pages
        int Dpi;
        const char* PageList;
        const char* File;
        const char* Message;
    } cases[] = {
        // The name is told as it is, "%2" and all.
        {"UnwritableFolder", true, 96, "", "/proc/no-%2-folder/OSAGO",
         "Не удалось записать файл /proc/no-%2-folder/OSAGO.1"},
        // A4 at 3000 dpi is 24813 x 35094 pixels.
        {"TooLarge", true, 3000, "", "OSAGO",
         "Рисунок 24813 × 35094 точек при разрешении 3000 dpi слишком велик"},
        {"NoSuchPage", false, 96, "7", "OSAGO", "Нет подготовленных страниц"},
        {"NoResolution", true, 0, "", "OSAGO", "Разрешение 0 dpi недопустимо"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        for (TrpImageFormat format : kFormats) {
            std::unique_ptr<TrpReport> r = c.Sheet ? SheetReport() : PagesReport();
            auto filter = Filter(format, QDir(dir.path()).filePath(QString::fromLatin1(c.File)));
            filter->SetOutputDpi(c.Dpi);
            filter->SetPageNumbers(QString::fromLatin1(c.PageList));
            EXPECT_FALSE(exports::ExportTo(*r, filter.get()));
            EXPECT_TRUE(r->Errors().join('\n').contains(QString::fromUtf8(c.Message)))
                << r->Errors().join('\n').toStdString();
        }
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(ImageFailures, APictureThatDoesNotFitInMemoryIsAnError) {
    std::unique_ptr<TrpReport> r = SheetReport();
    QTemporaryDir dir;
    // 2400 dpi makes 19843 x 28063 pixels, more than 2 GB; the address space allows 512 MB more
    // than is in use.
    QFile statm(QStringLiteral("/proc/self/statm"));
    ASSERT_TRUE(statm.open(QIODevice::ReadOnly));
    const rlim_t used = rlim_t(statm.readAll().split(' ').front().toLongLong()) * rlim_t(getpagesize());
    auto filter = Filter(TrpImageFormat::BMP, dir.filePath(QStringLiteral("OSAGO")));
    filter->SetOutputDpi(2400);
    bool exported = true;
    WithLimit(RLIMIT_AS, used + (rlim_t(512) << 20), [&] { exported = exports::ExportTo(*r, filter.get()); });
    EXPECT_FALSE(exported);
    EXPECT_TRUE(r->Errors().join('\n').contains(QStringLiteral("Не хватает памяти для рисунка")))
        << r->Errors().join('\n').toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}
#endif

TEST(ImageFailures, OnePictureStopsAt30000PixelsAndGoesToACallersStream) {
    // Thirty pages of 50 x 100 mm at 300 dpi would be 35430 pixels tall.
    std::unique_ptr<TrpReport> r = PagesReport(30, 50, 100);
    QTemporaryDir dir;
    auto gif = Filter(TrpImageFormat::GIF, dir.filePath(QStringLiteral("long")));
    gif->SetFilePerPage(false);
    gif->SetOutputDpi(300);
    ASSERT_TRUE(exports::ExportTo(*r, gif.get())) << r->Errors().join('\n').toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("long.gif")});
    // ImageMagick's policy refuses pictures this tall; giflib reads it.
    const ToolResult text = RunTool(QStringLiteral("giftext"), {dir.filePath(QStringLiteral("long.gif"))});
    EXPECT_TRUE(text.Out.contains("Screen Size - Width = 591, Height = 30000.")) << text.Out.toStdString();
    EXPECT_TRUE(text.Out.contains("GIF file terminated normally")) << text.Out.toStdString();

    // A caller's stream takes one picture of all pages.
    std::unique_ptr<TrpReport> three = PagesReport();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    auto bmp = Filter(TrpImageFormat::BMP, QString());
    bmp->SetStream(&buffer);
    ASSERT_TRUE(exports::ExportTo(*three, bmp.get()));
    const QString streamed = dir.filePath(QStringLiteral("streamed.bmp"));
    QFile out(streamed);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(buffer.data());
    out.close();
    EXPECT_EQ(Compare(Drawn(*three, {}, 96), Decode(streamed)).Differing, 0);
}

TEST(ImageFailures, ANonPrintableObjectIsNeverDrawn) {
    std::unique_ptr<TrpReport> r = PagesReport(1);
    TrpReportPage* source = r->Pages(0);
    auto hidden = std::make_unique<TrpMemoView>();
    hidden->SetName(QStringLiteral("NotForPrinting"));
    hidden->SetBounds(300, 300, 200, 100);
    hidden->SetColor(clRed);
    hidden->SetPrintable(false);
    source->Add(std::move(hidden));
    ASSERT_TRUE(r->Prepare());
    QTemporaryDir dir;
    auto bmp = Filter(TrpImageFormat::BMP, dir.filePath(QStringLiteral("OSAGO")));
    bmp->SetExportNotPrintable(true);
    bmp->SetCropImages(true);
    ASSERT_TRUE(exports::ExportTo(*r, bmp.get()));
    const QImage picture = Decode(dir.filePath(QStringLiteral("OSAGO.1.bmp")));
    EXPECT_FALSE(picture.isNull());
    EXPECT_EQ(picture.height() < 200, true) << "the crop does not reach down to it either";
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_NE(picture.pixel(x, y) | 0xFF000000u, qRgb(255, 0, 0));
}
