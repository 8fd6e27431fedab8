// Files of the document writer read by real readers: qpdf's structural check, pdffonts,
// pdftotext and pypdf.
#include "PdfTools.h"
#include "export/pdf/PdfFile.h"
#include "export/pdf/PdfFormat.h"
#include "report/Components.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace exports;

namespace {

struct Variant {
    bool Compressed, Embedded, Outline;
    int Pages;
};

// Each page: a title line in bold and a body line, in Cyrillic, at the top of the page.
QString WriteDocument(const QTemporaryDir& dir, const Variant& v) {
    std::vector<TrpPDFOutlineItem> outline;
    for (int i = 0; i < v.Pages; ++i)
        outline.push_back(
            {QStringLiteral("Страница %1").arg(i + 1), i, 0, {{QStringLiteral("Итог"), i, 300, {}}}});
    TrpPDFFile pdf;
    pdf.Compressed = v.Compressed;
    pdf.EmbeddedFonts = v.Embedded;
    pdf.Outline = v.Outline;
    pdf.OutlineSource = &outline;
    pdf.Title = QStringLiteral("Расчет стоимости ОСАГО");
    pdf.Author = QStringLiteral("Tarifon");
    report::TrpFont regular;
    regular.Charset = report::RUSSIAN_CHARSET;
    report::TrpFont bold = regular;
    bold.Style = report::fsBold;
    for (int i = 0; i < v.Pages; ++i) {
        report::TrpReportPage paper;
        TrpPDFPage* page = pdf.BeginPage(paper);
        const int b = pdf.LookupFont(bold), r = pdf.LookupFont(regular);
        TrpPDFContent& c = page->Content();
        c.BeginText();
        c.Font(pdf.Fonts(b)->ResourceName(), 14);
        c.TextPosition(50, 780);
        c.ShowText(pdf.Fonts(b)->Encode(QStringLiteral("Расчет стоимости ОСАГО")));
        c.EndText();
        c.BeginText();
        c.Font(pdf.Fonts(r)->ResourceName(), 12);
        c.TextPosition(50, 750);
        c.ShowText(pdf.Fonts(r)->Encode(QStringLiteral("Т = ТБ*КТ (%1) «ёЁ№»").arg(i + 1)));
        c.EndText();
        page->Flush();
    }
    const QString name = dir.filePath(
        QStringLiteral("doc-%1%2%3-%4.pdf").arg(v.Compressed).arg(v.Embedded).arg(v.Outline).arg(v.Pages));
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    pdf.WriteDocument(file);
    return name;
}

} // namespace

TEST(PdfReaders, QpdfFindsNoErrorsInAnyVariant) {
    QTemporaryDir dir;
    for (bool compressed : {false, true})
        for (bool embedded : {false, true})
            for (bool outline : {false, true})
                for (int pages : {1, 3}) {
                    SCOPED_TRACE(testing::Message() << compressed << embedded << outline << pages);
                    ExpectQpdfClean(WriteDocument(dir, {compressed, embedded, outline, pages}));
                }
}

TEST(PdfReaders, FontsCarryTheirEncodingAndEmbedding) {
    QTemporaryDir dir;
    for (bool embedded : {false, true}) {
        const std::vector<FontRow> rows = PdfFonts(WriteDocument(dir, {true, embedded, false, 1}));
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].Name, u"Arial,Bold");
        EXPECT_EQ(rows[1].Name, u"Arial");
        for (const FontRow& row : rows) {
            EXPECT_EQ(row.Type, u"TrueType");
            EXPECT_EQ(row.Encoding, u"Custom"); // WinAnsi with the Russian differences
            EXPECT_EQ(row.Embedded, embedded);
        }
    }
}

TEST(PdfReaders, TextComesBackInRussian) {
    QTemporaryDir dir;
    const std::pair<const char*, QString (*)(const QString&)> readers[] = {
        {"pdftotext", [](const QString& file) { return PdfText(file); }},
        {"pypdf", &PypdfText},
    };
    for (bool embedded : {false, true})
        for (const auto& [reader, read] : readers) {
            SCOPED_TRACE(reader);
            const QString text = read(WriteDocument(dir, {true, embedded, true, 2}));
            EXPECT_TRUE(text.contains(QStringLiteral("Расчет стоимости ОСАГО\nТ = ТБ*КТ (1) «ёЁ№»")))
                << text.toStdString();
            EXPECT_TRUE(text.contains(QStringLiteral("Т = ТБ*КТ (2) «ёЁ№»"))) << text.toStdString();
        }
}

TEST(PdfReaders, OutlineAndInformationAreRead) {
    QTemporaryDir dir;
    const QString file = WriteDocument(dir, {true, false, true, 2});
    const ToolResult info = RunTool(QStringLiteral("pdfinfo"), {file});
    EXPECT_TRUE(info.Out.contains("Title:           Расчет стоимости ОСАГО")) << info.Out.toStdString();
    EXPECT_TRUE(info.Out.contains("Pages:           2"));
    EXPECT_TRUE(info.Out.contains("Page size:       595.28 x 841.89 pts (A4)"));
    const ToolResult json = RunTool(QStringLiteral("qpdf"),
                                    {QStringLiteral("--json"), QStringLiteral("--json-key=outlines"), file});
    const QString outlines = QString::fromUtf8(json.Out);
    EXPECT_TRUE(outlines.contains(QStringLiteral("\"title\": \"Страница 2\""))) << json.Out.toStdString();
    EXPECT_TRUE(outlines.contains(QStringLiteral("\"title\": \"Итог\"")));
}

// With the fonts embedded, a reader draws bold text heavier than regular text of the same
// face and size: ink per pixel of line width, a regular line above a bold one.
TEST(PdfReaders, BoldTextIsDrawnBold) {
    QTemporaryDir dir;
    const QString text = QStringLiteral("Размер страховой премии (Т) 3 960 рублей");
    for (const char* family : {"Tahoma", "Arial"}) {
        SCOPED_TRACE(family);
        TrpPDFFile pdf;
        pdf.EmbeddedFonts = true;
        report::TrpFont regular;
        regular.Name = QString::fromLatin1(family);
        regular.Charset = report::RUSSIAN_CHARSET;
        report::TrpFont bold = regular;
        bold.Style = report::fsBold;
        report::TrpReportPage paper;
        TrpPDFPage* page = pdf.BeginPage(paper);
        int y = 780;
        for (const report::TrpFont& font : {regular, bold}) {
            const int f = pdf.LookupFont(font);
            TrpPDFContent& c = page->Content();
            c.BeginText();
            c.Font(pdf.Fonts(f)->ResourceName(), 12);
            c.TextPosition(40, y);
            c.ShowText(pdf.Fonts(f)->Encode(text));
            c.EndText();
            y -= 40;
        }
        page->Flush();
        const QString name = dir.filePath(QString::fromLatin1(family) + QStringLiteral(".pdf"));
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        pdf.WriteDocument(file);
        file.close();

        const QString prefix = dir.filePath(QString::fromLatin1(family));
        const ToolResult r = RunTool(QStringLiteral("pdftoppm"),
                                     {QStringLiteral("-r"), QStringLiteral("144"), QStringLiteral("-gray"),
                                      QStringLiteral("-png"), QStringLiteral("-singlefile"), name, prefix});
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        const QImage img(prefix + QStringLiteral(".png"));
        ASSERT_FALSE(img.isNull());
        // The lines' baselines lie 62 and 102 points below the top: split between them.
        const int split = (841.89 - 760) * 144 / 72;
        double inkPerPixel[2] = {0, 0};
        for (int line = 0; line < 2; ++line) {
            double ink = 0;
            int left = img.width(), right = -1;
            for (int yy = line ? split : 0; yy < (line ? 2 * split : split); ++yy)
                for (int x = 0; x < img.width(); ++x) {
                    const int dark = 255 - qGray(img.pixel(x, yy));
                    ink += dark / 255.0;
                    if (dark > 64) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
                }
            ASSERT_GT(right, left) << "line " << line << " is drawn";
            inkPerPixel[line] = ink / (right - left + 1);
        }
        EXPECT_GT(inkPerPixel[1], 1.2 * inkPerPixel[0])
            << "regular " << inkPerPixel[0] << ", bold " << inkPerPixel[1];
    }
}
