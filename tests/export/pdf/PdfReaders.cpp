// Files of the document writer read by real readers: qpdf's structural check, pdffonts,
// pdftotext and pypdf.
#include "PdfTools.h"
#include "export/pdf/PdfFile.h"
#include "export/pdf/PdfFormat.h"
#include "report/Components.h"

#include <QFile>
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
        page->AppendLine("BT");
        page->AppendLine(pdf.Fonts(b)->ResourceName() + " 14 Tf");
        page->AppendLine("50 780 Td");
        page->AppendLine("(" + EscapeText(pdf.Fonts(b)->Encode(QStringLiteral("Расчет стоимости ОСАГО"))) +
                         ") Tj");
        page->AppendLine("ET");
        page->AppendLine("BT");
        page->AppendLine(pdf.Fonts(r)->ResourceName() + " 12 Tf");
        page->AppendLine("50 750 Td");
        page->AppendLine("(" +
                         EscapeText(pdf.Fonts(r)->Encode(QStringLiteral("Т = ТБ*КТ (%1) «ёЁ№»").arg(i + 1))) +
                         ") Tj");
        page->AppendLine("ET");
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
