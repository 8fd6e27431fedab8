// Prepared-report files made to hurt: each is refused with the loader's reason, or loads with
// its values held to what drawing can take, and then draws.
#include "ReportFixtures.h"

#include "platform/PictureDecoder.h"
#include "report/DrawText.h"
#include "report/Limits.h"
#include "report/PreparedReportFile.h"
#include "report/ViewPainter.h"

#include <QPainter>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

using namespace report;
using reporttest::NewReport;

namespace {

// One prepared page with a framed memo "Memo1" whose text is Cyrillic.
QByteArray SampleFile() {
    auto r = NewReport();
    reporttest::AddMemo(*r, QStringLiteral("Memo1"), QStringLiteral("Итого: [V]"), 10, 10, 300, 40)
        ->FrameRef()
        .Typ = ftAll;
    r->Variables().SetVariableValue(QStringLiteral("V"), std::string("'сто рублей'"));
    EXPECT_TRUE(r->Prepare());
    return TrpPreparedReportFile::SaveToBytes(*r);
}

QByteArray Cp1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

QByteArray Replaced(QByteArray bytes, const QByteArray& from, const QByteArray& to) {
    EXPECT_TRUE(bytes.contains(from)) << from.toStdString();
    return bytes.replace(from, to);
}

// The memo's item on the prepared page with extra difference attributes.
QByteArray WithMemoAttributes(const QByteArray& attributes) {
    const QByteArray file = SampleFile();
    const qsizetype at = file.indexOf(" u=\"Итого");
    EXPECT_GT(at, 0);
    return QByteArray(file).insert(at, ' ' + attributes);
}

QByteArray WithPaper(const QByteArray& width, const QByteArray& height) {
    return Replaced(SampleFile(), "PaperWidth=\"210\" PaperHeight=\"297\"",
                    "PaperWidth=\"" + width + "\" PaperHeight=\"" + height + "\"");
}

// Source objects nested `levels` deep inside the source page (which is itself three levels down).
QByteArray NestedSourceObjects(int levels) {
    QByteArray file = SampleFile();
    const QByteArray open = "<TrpMemoView Name=\"Deep\">", close = "</TrpMemoView>";
    const qsizetype at = file.indexOf("</TrpReportPage>");
    return file.insert(at, open.repeated(levels) + close.repeated(levels));
}

QByteArray WithMemoText(qsizetype characters) {
    // Line breaks are stored escaped: the bound counts the characters they stand for.
    QByteArray text = QByteArray("ab&#13;&#10;").repeated(characters / 4) + QByteArray(characters % 4, 'x');
    return Replaced(SampleFile(), "u=\"Итого: сто рублей\"", "u=\"" + text + "\"");
}

// A file with one picture whose data another program wrote as `data`.
QByteArray WithPictureData(const QByteArray& data) {
    const QByteArray png = reporttest::SolidPng(8, Qt::blue, 0);
    return Replaced(reporttest::PicturesFile({png}), png.toHex().toUpper(), data.toHex().toUpper());
}

// BMP data whose header declares the size; its pixels are those of one.
QByteArray BmpDeclaring(qint32 width, qint32 height) {
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    QImage(1, 1, QImage::Format_RGB32).save(&buffer, "BMP");
    qToLittleEndian(width, bmp.data() + 18);
    qToLittleEndian(height, bmp.data() + 22);
    return bmp;
}

// PNG data with a sound header whose image data is damaged.
QByteArray DamagedPng() {
    QByteArray png = reporttest::SolidPng(8, Qt::blue, 0);
    for (qsizetype i = 41; i < png.size() - 12; ++i) // the image data, between IHDR and IEND
        png[i] = char(png[i] ^ 0x55);
    return png;
}

struct Refused {
    const char* Name;
    std::function<QByteArray()> File;
    const char* Reason; // "" for a plain syntax error
};

void PrintTo(const Refused& c, std::ostream* os) {
    *os << c.Name;
}

class RefusedFile : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedFile, GivesTheReasonAndKeepsTheShownPages) {
    auto r = NewReport();
    reporttest::AddMemo(*r, QStringLiteral("Shown"), QStringLiteral("shown"));
    ASSERT_TRUE(r->Prepare());
    const TrpLoadResult result = TrpPreparedReportFile::LoadFromBytes(*r, GetParam().File());
    EXPECT_FALSE(result.Ok);
    const std::string reason = GetParam().Reason;
    EXPECT_EQ(result.Message().toStdString(),
              reason.empty() ? "Invalid file format" : "Invalid file format: " + reason);
    EXPECT_EQ(reporttest::PreparedText(*r, QStringLiteral("Shown")), "shown");
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedFile,
    ::testing::Values(
        // A comment full of closing tags once fooled a count made before parsing.
        Refused{"CommentHidesAMillionLevels",
                [] {
                    return "<?xml version=\"1.0\"?><preparedreport><!--" +
                           QByteArray("</a>").repeated(1000000) + "--><previewpages>" +
                           QByteArray("<a>").repeated(1000000);
                },
                "items nest deeper than 256 levels"},
        Refused{"SourceObjectsNestAMillionLevels", [] { return NestedSourceObjects(1000000); },
                "items nest deeper than 256 levels"},
        Refused{"SourceObjectsOneLevelTooDeep", [] { return NestedSourceObjects(254); },
                "items nest deeper than 256 levels"},
        Refused{"NoPages",
                [] {
                    QByteArray file = SampleFile();
                    const qsizetype from = file.indexOf("<page0>"), to = file.indexOf("</page0>") + 8;
                    return file.remove(from, to - from);
                },
                "the file holds no pages"},
        Refused{"PaperOfZero", [] { return WithPaper("0", "0"); },
                "the paper of 0 x 0 mm is outside 1 to 2400 mm"},
        Refused{"NegativePaper", [] { return WithPaper("210", "-297"); },
                "the paper of 210 x -297 mm is outside 1 to 2400 mm"},
        Refused{"PaperOfAThousandKilometres", [] { return WithPaper("1000000000", "297"); },
                "the paper of 1000000000 x 297 mm is outside 1 to 2400 mm"},
        Refused{"PaperOfSixMetres", [] { return WithPaper("6000", "6000"); },
                "the paper of 6000 x 6000 mm is outside 1 to 2400 mm"},
        Refused{"TextOneCharacterTooLong", [] { return WithMemoText(limits::MaxValueChars + 1); },
                "the value of u in m1 is 65537 characters long, more than 65536"},
        Refused{"EncodingNobodyKnows",
                [] { return Replaced(SampleFile(), "encoding=\"utf-8\"", "encoding=\"x-no-such-code\""); },
                "the encoding \"x-no-such-code\" is not supported"},
        // A declaration readable as ASCII cannot open a file in UTF-16.
        Refused{"EncodingTheDeclarationIsNotIn",
                [] { return Replaced(SampleFile(), "encoding=\"utf-8\"", "encoding=\"UTF-16\""); },
                "the encoding \"UTF-16\" is not supported"},
        Refused{"SingleByteTextDeclaredUtf8", [] { return Cp1251(QString::fromUtf8(SampleFile())); },
                "the text is not valid UTF-8"},
        Refused{"PictureOfAGigapixel", [] { return WithPictureData(BmpDeclaring(40000, 40000)); },
                "the picture in Picture1 is 40000 x 40000 pixels, more than 67108864"},
        // A metafile is a list of drawing commands: nothing here runs them.
        Refused{"PictureAsMetafile",
                [] { return WithPictureData(QByteArray::fromHex("d7cdc69a0000000000000000000000000000")); },
                "the picture in Picture1 is not PNG, JPEG, BMP, GIF or icon data"},
        // Once drawn blank without a word.
        Refused{"PictureWithDamagedData", [] { return WithPictureData(DamagedPng()); },
                "the picture in Picture1 has data that cannot be decoded"},
        Refused{"CommentNeverClosed",
                [] { return Replaced(SampleFile(), "<previewpages>", "<previewpages><!-- <a>"); }, ""}));

// A loaded file whose memo asked for values beyond the bounds.
struct Clamped {
    const char* Name;
    QByteArray Attributes;
    std::function<void(const TrpMemoView&)> Check;
};

void PrintTo(const Clamped& c, std::ostream* os) {
    *os << c.Name;
}

class ClampedFile : public ::testing::TestWithParam<Clamped> {};

TEST_P(ClampedFile, LoadsWithinTheBoundsAndDraws) {
    auto r = NewReport();
    const TrpLoadResult result =
        TrpPreparedReportFile::LoadFromBytes(*r, WithMemoAttributes(GetParam().Attributes));
    ASSERT_TRUE(result.Ok) << result.Message().toStdString();
    auto* memo = dynamic_cast<TrpMemoView*>(r->PreviewPages().Page(0)->FindObject(QStringLiteral("Memo1")));
    ASSERT_TRUE(memo);
    GetParam().Check(*memo);
    const QImage page = RenderPreparedPage(*r, 0, 1);
    EXPECT_EQ(page.size(), QSize(794, 1123));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClampedFile,
    ::testing::Values(
        // Once drawn as a billion one-pixel strokes.
        Clamped{"DashedFrameOfABillion", "Frame.Typ=\"15\" Frame.Style=\"1\" Frame.Width=\"1000000000\"",
                [](const TrpMemoView& m) { EXPECT_EQ(m.Frame().Width, limits::MaxFrameWidth); }},
        Clamped{"NegativeFrameAndHugeShadow",
                "Frame.Width=\"-5\" Frame.DropShadow=\"1\" Frame.ShadowWidth=\"1000000000\"",
                [](const TrpMemoView& m) {
                    EXPECT_EQ(m.Frame().Width, 0);
                    EXPECT_EQ(m.Frame().ShadowWidth, limits::MaxFrameWidth);
                }},
        Clamped{"FarAwayAndHuge",
                "l=\"1000000000000000000\" t=\"-1000000000000000000\" w=\"1e300\" h=\"1000000000\"",
                [](const TrpMemoView& m) {
                    EXPECT_EQ(m.Left(), limits::MaxCoordinate);
                    EXPECT_EQ(m.Top(), -limits::MaxCoordinate);
                    EXPECT_EQ(m.Height(), limits::MaxCoordinate);
                }},
        Clamped{"SpacingOfABillion",
                "CharSpacing=\"-1000000000\" LineSpacing=\"1000000000\" ParagraphGap=\"-1000000000\" "
                "GapX=\"1000000000\" GapY=\"-1000000000\"",
                [](const TrpMemoView& m) {
                    EXPECT_EQ(m.CharSpacing(), -limits::MaxSpacing);
                    EXPECT_EQ(m.LineSpacing(), limits::MaxSpacing);
                    EXPECT_EQ(m.ParagraphGap(), -limits::MaxSpacing);
                    EXPECT_EQ(m.GapX(), limits::MaxSpacing);
                    EXPECT_EQ(m.GapY(), -limits::MaxSpacing);
                }},
        Clamped{"FontOfTheMostNegativeHeight", "Font.Height=\"-2147483648\"",
                [](const TrpMemoView& m) { EXPECT_EQ(m.Font().Size, limits::MaxFontSize); }},
        Clamped{"FontOfNoSize", "Font.Size=\"-7\"",
                [](const TrpMemoView& m) { EXPECT_EQ(m.Font().Size, limits::MinFontSize); }},
        // Rules one line step apart once never reached the bottom with a step of 0 or less.
        Clamped{"UnderlinesWithNegativeSpacing", "Underlines=\"1\" LineSpacing=\"-100\"",
                [](const TrpMemoView& m) { EXPECT_EQ(m.LineSpacing(), -limits::MaxSpacing); }}));

// A memo showing a few lines of a long text draws exactly as one holding only those lines.
TEST(HostileFiles, LongClippedTextDrawsAsItsVisibleLines) {
    QStringList lines;
    for (int i = 0; i < 3000; ++i)
        lines << QStringLiteral("строка %1").arg(i);
    auto draw = [](const QStringList& text, TrpVAlign align) {
        TrpMemoView memo;
        memo.SetBounds(20, 20, 200, 50);
        memo.SetMemo(text);
        memo.SetVAlign(align);
        QImage image(260, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        TrpDrawText engine;
        DrawView(painter, engine, memo, TrpDrawParams{});
        return image;
    };
    EXPECT_EQ(draw(lines, vaTop), draw(lines.mid(0, 10), vaTop));
    EXPECT_EQ(draw(lines, vaBottom), draw(lines.mid(lines.size() - 10), vaBottom));
    EXPECT_NE(draw(lines, vaTop), draw(lines.mid(1, 10), vaTop));
}

TEST(HostileFiles, TextsUpToTheBoundLoadWhole) {
    auto r = NewReport();
    const TrpLoadResult result =
        TrpPreparedReportFile::LoadFromBytes(*r, WithMemoText(limits::MaxValueChars));
    ASSERT_TRUE(result.Ok) << result.Message().toStdString();
    EXPECT_EQ(reporttest::PreparedText(*r, QStringLiteral("Memo1")).size(), limits::MaxValueChars);
}

TEST(HostileFiles, NestingUpToTheBoundLoads) {
    auto r = NewReport();
    const TrpLoadResult result = TrpPreparedReportFile::LoadFromBytes(*r, NestedSourceObjects(253));
    ASSERT_TRUE(result.Ok) << result.Message().toStdString();
}

TEST(HostileFiles, DeclaredSingleByteEncodingReadsTheSameText) {
    const QByteArray utf8 = SampleFile();
    const QByteArray cp1251 =
        Cp1251(QString::fromUtf8(utf8).replace("encoding=\"utf-8\"", "encoding=\"windows-1251\""));
    ASSERT_NE(cp1251.size(), utf8.size());
    auto r = NewReport();
    const TrpLoadResult result = TrpPreparedReportFile::LoadFromBytes(*r, cp1251);
    ASSERT_TRUE(result.Ok) << result.Message().toStdString();
    EXPECT_EQ(reporttest::PreparedText(*r, QStringLiteral("Memo1")), "Итого: сто рублей");
    // Saved again, it is ours: UTF-8.
    EXPECT_EQ(TrpPreparedReportFile::SaveToBytes(*r), utf8);
}

TEST(HostileFiles, PagesTooLargeForOnePictureGiveNone) {
    auto r = NewReport();
    ASSERT_TRUE(TrpPreparedReportFile::LoadFromBytes(*r, WithPaper("2400", "2400")).Ok);
    EXPECT_TRUE(RenderPreparedPage(*r, 0, 1).isNull());
    EXPECT_FALSE(RenderPreparedPage(*r, 0, 0.5).isNull());
}

// Picture data names another file: the file is refused, and the picture, if it were given,
// draws nothing of the other file.
TEST(HostileFiles, PictureDataNeverShowsAnotherFile) {
    QTemporaryDir dir;
    const QString local = dir.filePath("local.png");
    QImage green(64, 64, QImage::Format_RGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(local));
    const QByteArray svg = "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" "
                           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"64\" height=\"64\">"
                           "<image width=\"64\" height=\"64\" xlink:href=\"" +
                           local.toUtf8() + "\"/></svg>";
    auto r = NewReport();
    const TrpLoadResult result = TrpPreparedReportFile::LoadFromBytes(*r, WithPictureData(svg));
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message().toStdString(),
              "Invalid file format: the picture in Picture1 is not PNG, JPEG, BMP, GIF or icon data");

    TrpPictureView view;
    view.SetBounds(0, 0, 64, 64);
    EXPECT_FALSE(view.LoadPicture(svg));
    QImage drawn(64, 64, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    TrpDrawText engine;
    DrawView(painter, engine, view, TrpDrawParams{});
    painter.end();
    EXPECT_EQ(drawn.pixelColor(32, 32), QColor(Qt::white));
}

// Each format the program reads, told by its data alone, draws.
TEST(HostileFiles, PicturesOfEveryReadFormatDraw) {
    const auto encoded = [](const char* format) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, format)) << format;
        return bytes;
    };
    const struct {
        const char* Name;
        QByteArray Data;
    } cases[] = {
        {"PNG", encoded("PNG")},
        {"JPEG", encoded("JPEG")},
        {"BMP", encoded("BMP")},
        {"icon", encoded("ICO")},
        // One red pixel.
        {"GIF", QByteArray::fromHex("47494638396101000100800000ff000000000021f9040000000000"
                                    "2c00000000010001000002024401003b")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto r = NewReport();
        const TrpLoadResult result = TrpPreparedReportFile::LoadFromBytes(*r, WithPictureData(c.Data));
        ASSERT_TRUE(result.Ok) << result.Message().toStdString();
        const QColor centre = RenderPreparedPage(*r, 0, 1).pixelColor(98, 98);
        EXPECT_GT(centre.red(), 200);
        EXPECT_LT(centre.green() + centre.blue(), 60);
    }
}

// Five pictures of 5600 x 5600 pixels, 627 MB decoded at their own size: each is checked once
// with the file and drawn from what the check decoded, at a reduced size, and what stays
// decoded keeps within the bound.
TEST(HostileFiles, LargePicturesDrawWithinTheMemoryBound) {
    std::vector<QByteArray> pictures;
    for (int i = 0; i < 5; ++i)
        pictures.push_back(reporttest::SolidPng(5600, Qt::red, 100 + i));
    auto r = NewReport();
    const platform::DecodedPictureStats before = platform::DecodedPictures();
    ASSERT_TRUE(TrpPreparedReportFile::LoadFromBytes(*r, reporttest::PicturesFile(pictures)).Ok);
    const QImage page = RenderPreparedPage(*r, 0, 1);
    const platform::DecodedPictureStats after = platform::DecodedPictures();
    EXPECT_EQ(after.Decodes - before.Decodes, 5);
    EXPECT_LT(after.HeldBytes - before.HeldBytes, 5600LL * 5600 * 4); // less than one at full size
    EXPECT_LE(after.HeldBytes, platform::MaxDecodedPictureBytes);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(page.pixelColor(98 + 120 * i, 98), QColor(Qt::red)) << i;
}

TEST(HostileFiles, PicturesOfTheSameDataAreDecodedOnce) {
    const QByteArray png = reporttest::SolidPng(600, Qt::blue, 200);
    auto r = NewReport();
    const qint64 before = platform::DecodedPictures().Decodes;
    ASSERT_TRUE(
        TrpPreparedReportFile::LoadFromBytes(*r, reporttest::PicturesFile(std::vector<QByteArray>(12, png)))
            .Ok);
    for (Extended zoom : {1, 2}) {
        const QImage page = RenderPreparedPage(*r, 0, zoom);
        EXPECT_EQ(page.pixelColor(int(zoom * 698), int(zoom * 218)), QColor(Qt::blue));
    }
    EXPECT_EQ(platform::DecodedPictures().Decodes - before, 1);
}

} // namespace
