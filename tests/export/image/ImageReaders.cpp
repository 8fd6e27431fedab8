// The sheet and a three-page report exported in every format, at two resolutions, cropped or
// not, in colour or 1-bit, per page or as one picture, and decoded by the real readers: the
// pictures are our own drawing of the pages, pixel for pixel where the format keeps pixels.
#include "ImageTools.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace imagetest;
using exports::TrpImageFormat;

namespace {

struct Case {
    const char* Name;
    bool Sheet; // the sheet, else the three-page report
    TrpImageFormat Format;
    int Dpi;
    bool Crop, Mono, PerPage;
    const char* Pages; // the page list ("" = all)
    // The files written, each with the pages it shows.
    std::vector<std::pair<const char*, std::vector<int>>> Files;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.Name;
}

const char* Magick(TrpImageFormat f) {
    switch (f) {
    case TrpImageFormat::BMP:
        return "BMP3"; // version 3, the common one
    case TrpImageFormat::JPEG:
        return "JPEG";
    case TrpImageFormat::TIFF:
        return "TIFF";
    case TrpImageFormat::GIF:
        return "GIF";
    }
    return "";
}

class ImageReaders : public ::testing::TestWithParam<Case> {};

// What every reader says about a TIFF of this case.
void CheckTiffTags(const QString& file, const QImage& expected, const Case& c) {
    const ToolResult info = RunTool(QStringLiteral("tiffinfo"), {file});
    EXPECT_EQ(info.ExitCode, 0);
    EXPECT_TRUE(info.Err.isEmpty()) << info.Err.toStdString(); // no warnings either
    const std::map<int, QString> tags = TiffTags(file);
    const QString w = QString::number(expected.width()), h = QString::number(expected.height());
    const QString rowBytes = QString::number(c.Mono ? (expected.width() + 7) / 8 * expected.height()
                                                    : expected.width() * 3 * expected.height());
    const std::map<int, QString> wanted = {
        {254, "LONG 1<0>"},
        {256, "SHORT 1<" + w + ">"},
        {257, "SHORT 1<" + h + ">"},
        {258, c.Mono ? "SHORT 1<1>" : "SHORT 3<8 8 8>"},
        {259, "SHORT 1<1>"},
        {262, c.Mono ? "SHORT 1<1>" : "SHORT 1<2>"}, // black is zero, or RGB
        {277, c.Mono ? "SHORT 1<1>" : "SHORT 1<3>"},
        {278, "LONG 1<" + h + ">"},
        {279, "LONG 1<" + rowBytes + ">"},
        {282, "RATIONAL 1<" + QString::number(c.Dpi) + ">"},
        {283, "RATIONAL 1<" + QString::number(c.Dpi) + ">"},
        {296, "SHORT 1<2>"},
        {305, "ASCII 8<Tarifon\\0>"},
    };
    for (const auto& [tag, value] : wanted) {
        const auto it = tags.find(tag);
        ASSERT_NE(it, tags.end()) << tag;
        EXPECT_EQ(it->second, value) << tag;
    }
    EXPECT_EQ(tags.count(284), c.Mono ? 0u : 1u); // planar configuration for RGB only
    EXPECT_EQ(tags.size(), c.Mono ? 14u : 15u);
}

void CheckGifStructure(const QString& file, const QImage& expected) {
    const ToolResult text = RunTool(QStringLiteral("giftext"), {file});
    EXPECT_EQ(text.ExitCode, 0) << text.Err.toStdString();
    const QString out = QString::fromUtf8(text.Out);
    EXPECT_TRUE(out.contains(QStringLiteral("Screen Size - Width = %1, Height = %2.")
                                 .arg(expected.width())
                                 .arg(expected.height())))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("BitsPerPixel = 8")));
    EXPECT_TRUE(out.contains(QStringLiteral("Has Global Color Map")));
    EXPECT_TRUE(out.contains(QStringLiteral("GIF file terminated normally"))) << out.toStdString();
    const ToolResult dump = RunTool(QStringLiteral("gifbuild"), {QStringLiteral("-d"), file});
    EXPECT_EQ(dump.ExitCode, 0) << dump.Err.toStdString();
    EXPECT_TRUE(dump.Out.contains("comment\nTarifon\nend")) << dump.Out.left(400).toStdString();
}

TEST_P(ImageReaders, DecodeToOurDrawing) {
    const Case& c = GetParam();
    std::unique_ptr<TrpReport> r = c.Sheet ? SheetReport() : PagesReport();
    QTemporaryDir dir;
    auto filter = Filter(c.Format, dir.filePath(QStringLiteral("OSAGO")));
    filter->SetOutputDpi(c.Dpi);
    filter->SetCropImages(c.Crop);
    filter->SetMonochrome(c.Mono);
    filter->SetFilePerPage(c.PerPage);
    filter->SetPageNumbers(QString::fromLatin1(c.Pages));
    filter->SetJPEGQuality(90);
    ASSERT_TRUE(exports::ExportTo(*r, filter.get())) << r->Errors().join('\n').toStdString();

    QStringList names;
    for (const auto& f : c.Files)
        names << QString::fromLatin1(f.first);
    names.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), names) << "nothing else is left behind";

    for (const auto& [name, pages] : c.Files) {
        SCOPED_TRACE(name);
        const QString file = dir.filePath(QString::fromLatin1(name));
        QImage expected = Drawn(*r, pages, c.Dpi);
        if (c.Crop) {
            // The objects' rectangle, widened to every pixel drawn: where frame lines reach
            // past the objects' edges, cropping keeps them.
            const QRect covered = ObjectsRect(*r, pages, c.Dpi) | InkRect(expected);
            expected = expected.copy(covered);
        }
        if (c.Mono)
            expected = Threshold(expected);
        EXPECT_EQ(Identify(file), QStringLiteral("%1 %2x%3")
                                      .arg(QString::fromLatin1(Magick(c.Format)))
                                      .arg(expected.width())
                                      .arg(expected.height()));
        const QImage decoded = Decode(file);
        ASSERT_EQ(decoded.size(), expected.size());
        switch (c.Format) {
        case TrpImageFormat::BMP:
        case TrpImageFormat::TIFF:
            EXPECT_EQ(Compare(expected, decoded).Differing, 0);
            break;
        case TrpImageFormat::GIF: {
            // The page's own colours stay exact; only the in-between shades of smoothed
            // edges and of the logo may move to a near palette colour.
            const PixelDifference d = Compare(
                expected, decoded, {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)});
            EXPECT_EQ(d.InkChanged, 0);
            EXPECT_LE(d.Worst, 32) << d.Differing << " pixels differ";
            EXPECT_LT(d.Mean, 0.2);
            if (ColourCount(expected) <= 256) {
                EXPECT_EQ(d.Differing, 0) << "few colours are kept exactly";
            }
            CheckGifStructure(file, expected);
            break;
        }
        case TrpImageFormat::JPEG: {
            EXPECT_LT(Compare(expected, decoded).Mean, 2.0);
            const ToolResult v = RunTool(QStringLiteral("identify"), {QStringLiteral("-verbose"), file});
            EXPECT_TRUE(v.Out.contains("Quality: 90")) << v.Out.toStdString();
            EXPECT_TRUE(v.Out.contains(QStringLiteral("Resolution: %1x%1").arg(c.Dpi).toUtf8()));
            break;
        }
        }
        if (c.Format == TrpImageFormat::TIFF)
            CheckTiffTags(file, expected, c);
        if (c.Mono && c.Format != TrpImageFormat::JPEG) {
            // Two colours; 1 bit per pixel where the format has such pictures.
            const ToolResult depth = RunTool(QStringLiteral("identify"),
                                             {QStringLiteral("-format"), QStringLiteral("%z %k"), file});
            EXPECT_EQ(QString::fromUtf8(depth.Out).trimmed(),
                      c.Format == TrpImageFormat::GIF ? QStringLiteral("8 2") : QStringLiteral("1 2"));
        }
    }
}

const Case kCases[] = {
    {"SheetBmp", true, TrpImageFormat::BMP, 96, false, false, true, "", {{"OSAGO.1.bmp", {1}}}},
    {"SheetJpeg", true, TrpImageFormat::JPEG, 96, false, false, true, "", {{"OSAGO.1.jpg", {1}}}},
    {"SheetTiff", true, TrpImageFormat::TIFF, 96, false, false, true, "", {{"OSAGO.1.tif", {1}}}},
    {"SheetGif", true, TrpImageFormat::GIF, 96, false, false, true, "", {{"OSAGO.1.gif", {1}}}},
    {"SheetTiff192", true, TrpImageFormat::TIFF, 192, false, false, true, "", {{"OSAGO.1.tif", {1}}}},
    {"SheetBmp192Cropped", true, TrpImageFormat::BMP, 192, true, false, true, "", {{"OSAGO.1.bmp", {1}}}},
    {"SheetGifCropped", true, TrpImageFormat::GIF, 96, true, false, true, "", {{"OSAGO.1.gif", {1}}}},
    {"SheetTiffMono", true, TrpImageFormat::TIFF, 96, false, true, true, "", {{"OSAGO.1.tif", {1}}}},
    {"SheetBmpMonoCropped", true, TrpImageFormat::BMP, 96, true, true, true, "", {{"OSAGO.1.bmp", {1}}}},
    {"SheetGifMono", true, TrpImageFormat::GIF, 96, false, true, true, "", {{"OSAGO.1.gif", {1}}}},
    {"SheetJpeg192Mono", true, TrpImageFormat::JPEG, 192, false, true, true, "", {{"OSAGO.1.jpg", {1}}}},
    {"PagesTiff",
     false,
     TrpImageFormat::TIFF,
     96,
     false,
     false,
     true,
     "",
     {{"OSAGO.1.tif", {1}}, {"OSAGO.2.tif", {2}}, {"OSAGO.3.tif", {3}}}},
    {"PagesJpeg192Cropped",
     false,
     TrpImageFormat::JPEG,
     192,
     true,
     false,
     true,
     "",
     {{"OSAGO.1.jpg", {1}}, {"OSAGO.2.jpg", {2}}, {"OSAGO.3.jpg", {3}}}},
    {"PagesBmpOnePicture",
     false,
     TrpImageFormat::BMP,
     96,
     false,
     false,
     false,
     "",
     {{"OSAGO.bmp", {1, 2, 3}}}},
    {"PagesGifOnePictureCropped",
     false,
     TrpImageFormat::GIF,
     96,
     true,
     false,
     false,
     "",
     {{"OSAGO.gif", {1, 2, 3}}}},
    {"PagesTiffMonoOnePictureOfTwo",
     false,
     TrpImageFormat::TIFF,
     96,
     false,
     true,
     false,
     "2-3",
     {{"OSAGO.tif", {2, 3}}}},
    {"PagesBmpSecondPage", false, TrpImageFormat::BMP, 192, false, false, true, "2", {{"OSAGO.1.bmp", {2}}}},
};

INSTANTIATE_TEST_SUITE_P(Formats, ImageReaders, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
