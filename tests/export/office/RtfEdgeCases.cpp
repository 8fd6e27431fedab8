// What the RTF export writes for the cases a word processor is most likely to take wrongly.
#include "OfficeTools.h"
#include "export/rtf/RtfExport.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>

using namespace officetest;
using namespace exports;
using namespace report;

namespace {

// A band the engine's template never makes, as a page header or footer reaches a filter.
class PageBand : public TrpBand {
public:
    explicit PageBand(const char* cls) : FClass(QString::fromLatin1(cls)) {}
    QString ClassName() const override { return FClass; }

private:
    QString FClass;
};

} // namespace

TEST(RtfEdgeCases, TextIsEscapedAndUnicode) {
    const struct {
        QString Text;
        QByteArray Rtf;
    } cases[] = {
        {QStringLiteral("{a}\\b"), "\\{a\\}\\\\b"},
        {QStringLiteral("А"), "\\u1040\\'3f"},
        {QStringLiteral("a\r\nb"), "a\\line\r\nb"},
        {QStringLiteral("a\r\n"), "a\r\n"}, // a break at the very end is the paragraph's own
        {QStringLiteral("€ Ω"), "\\u8364\\'3f \\u937\\'3f"},
        // Beyond 32767 the number is read as a signed 16-bit value; a pair of surrogates stays
        // a pair.
        {QString::fromUtf8("\xF0\x9F\x98\x80"), "\\u-10179\\'3f\\u-8704\\'3f"},
        {QStringLiteral("\"<&>'"), "\"<&>'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RtfText(c.Text), c.Rtf) << c.Text.toStdString();
}

TEST(RtfEdgeCases, PictureIsAMetafileAroundTheBitmap) {
    QImage bitmap(3, 2, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    const QList<QByteArray> lines = RtfMetafile(bitmap).split('\n');
    // A 24-bit bitmap of 3 x 2 pixels is 54 + 2 * 12 bytes: 46 words of StretchDIBits record,
    // 82 words of metafile.
    EXPECT_TRUE(lines[0].startsWith("01000900000352000000"
                                    "0000"
                                    "2E000000"
                                    "0000"
                                    "050000000B0200000000"
                                    "050000000C02"
                                    "0200"
                                    "0300"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("2E000000430F2000CC000000"
                                  "0200"
                                  "0300"
                                  "00000000"
                                  "0200"
                                  "0300"
                                  "00000000"));
    // The bitmap without its file header: 40 bytes of header and 24 of pixels, one line.
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1].trimmed().size(), 128);
    EXPECT_TRUE(lines[1].startsWith("28000000"
                                    "03000000"
                                    "02000000"
                                    "0100"
                                    "1800"));
    EXPECT_TRUE(lines[1].trimmed().endsWith("0000FF0000FF0000FF000000"));
}

TEST(RtfEdgeCases, TableLayout) {
    const struct {
        const char* Name;
        std::vector<std::function<void(TrpReportPage&)>> Pages;
        std::function<void(TrpRTFExport&)> Setup;
        std::function<void(const QByteArray&)> Check;
    } cases[] = {
        {"a cell spanning three rows is merged downwards",
         {[](TrpReportPage& p) {
             Memo(p, QStringLiteral("tall"), 0, 0, 100, 90, ftAll);
             for (int i = 0; i < 3; ++i)
                 Memo(p, QStringLiteral("row %1").arg(i), 100, i * 30, 100, 30, ftAll);
         }},
         {},
         [](const QByteArray& doc) {
             const QList<QByteArray> lines = doc.split('\n');
             // The row holding a text: its definition is the line before the cells.
             auto rowOf = [&](const char* text) {
                 for (int i = 1; i < lines.size(); ++i)
                     if (lines[i].contains(text))
                         return std::pair(lines[i - 1], lines[i]);
                 return std::pair(QByteArray(), QByteArray());
             };
             const auto [first, firstCells] = rowOf("tall");
             EXPECT_TRUE(first.contains("\\clvmgf\\clvertalt\\clbrdrt")) << doc.toStdString();
             for (const char* next : {"row 1", "row 2"}) {
                 const auto [def, cells] = rowOf(next);
                 // The merge continues with a filler cell of the row's size.
                 EXPECT_TRUE(def.startsWith("\\trowd\\trrh390\\trgaph15\\clvmrg\\clbrdrt"))
                     << def.toStdString();
                 EXPECT_TRUE(cells.startsWith("{\\fs20\\cell}\\ql{")) << cells.toStdString();
             }
         }},
        {"an empty memo takes its size from the row and has no paragraph settings",
         {[](TrpReportPage& p) {
             Memo(p, QString(), 0, 0, 100, 10, ftAll);
             Memo(p, QStringLiteral("x"), 100, 0, 100, 10, ftAll);
         }},
         {},
         [](const QByteArray& doc) {
             // 10 pixels are 130 twips of row, 8 half-points of font.
             EXPECT_TRUE(doc.contains("\\trrh130")) << doc.toStdString();
             // The table ends with the content: one row, 200 pixels from the rounded left edge.
             EXPECT_TRUE(doc.contains("\\cellx3007\\pard")) << doc.toStdString();
             EXPECT_EQ(doc.count("\\trowd"), 2) << doc.toStdString();
             EXPECT_TRUE(doc.contains("\\ql{\\f0\\fs8\\cf2 \\cell}")) << doc.toStdString();
             EXPECT_TRUE(doc.contains("\\ql{\\f0\\fs20\\cf2\\sb13\\li15")) << doc.toStdString();
         }},
        {"white and transparent fills paint nothing, a colour does",
         {[](TrpReportPage& p) {
             Memo(p, QStringLiteral("white"), 0, 0, 100, 20)->SetColor(clWhite);
             Memo(p, QStringLiteral("none"), 100, 0, 100, 20);
             Memo(p, QStringLiteral("yellow"), 200, 0, 100, 20)->SetColor(clYellow);
         }},
         {},
         [](const QByteArray& doc) {
             EXPECT_EQ(doc.count("\\clcbpat"), 2) << "the yellow cell, in both row definitions";
             const qsizetype table = doc.indexOf("{\\colortbl;");
             const int yellow = int(doc.mid(table, doc.indexOf('\n', table) - table)
                                        .split(';')
                                        .indexOf("\\red255\\green255\\blue0"));
             EXPECT_TRUE(doc.contains("\\clcbpat" + QByteArray::number(yellow))) << doc.toStdString();
         }},
        {"pages become sections, one without page breaks",
         {[](TrpReportPage& p) { Memo(p, QStringLiteral("one"), 0, 0, 100, 20); },
          [](TrpReportPage& p) {
              p.SetOrientation(poLandscape);
              Memo(p, QStringLiteral("two"), 0, 0, 100, 20);
          }},
         {},
         [](const QByteArray& doc) {
             EXPECT_EQ(doc.count("\\pard\\sect"), 1);
             EXPECT_EQ(doc.count("\\pgwsxn"), 2);
             // A4 portrait, then landscape, in the document's twips.
             EXPECT_TRUE(doc.contains("\\pgwsxn11926\\pghsxn16867\\marglsxn565")) << doc.toStdString();
             EXPECT_TRUE(doc.contains("\\pgwsxn16867\\pghsxn11926")) << doc.toStdString();
             EXPECT_EQ(doc.count("\\lndscpsxn"), 1);
             EXPECT_LT(doc.indexOf("one"), doc.indexOf("\\pard\\sect"));
             EXPECT_GT(doc.indexOf("two"), doc.indexOf("\\pard\\sect"));
         }},
        {"without page breaks the report is one section",
         {[](TrpReportPage& p) { Memo(p, QStringLiteral("one"), 0, 0, 100, 20); },
          [](TrpReportPage& p) { Memo(p, QStringLiteral("two"), 0, 0, 100, 20); }},
         [](TrpRTFExport& f) { f.SetExportPageBreaks(false); },
         [](const QByteArray& doc) {
             EXPECT_EQ(doc.count("\\sect"), 0);
             EXPECT_EQ(doc.count("\\pgwsxn"), 1);
             EXPECT_TRUE(doc.contains("one") && doc.contains("two"));
         }},
        {"a long font table is broken into short lines",
         {[](TrpReportPage& p) {
             for (int i = 0; i < 40; ++i) {
                 TrpFont font;
                 font.Name = QStringLiteral("Font Family Number %1").arg(i);
                 Memo(p, QStringLiteral("f%1").arg(i), 0, i * 20, 100, 20)->SetFont(font);
             }
         }},
         {},
         [](const QByteArray& doc) {
             const QByteArray table =
                 doc.mid(doc.indexOf("{\\fonttbl"), doc.indexOf("{\\colortbl") - doc.indexOf("{\\fonttbl"));
             EXPECT_GT(table.count('\n'), 5);
             for (const QByteArray& line : table.split('\n'))
                 EXPECT_LE(line.trimmed().size(), 254) << line.toStdString();
             EXPECT_TRUE(table.contains("{\\f39\\fcharset"));
         }},
        {"bold, italic, underline, alignment and frames",
         {[](TrpReportPage& p) {
             TrpMemoView* m = Memo(p, QStringLiteral("styled"), 0, 0, 200, 30, ftTop | ftBottom);
             TrpFont font;
             font.Style = fsBold | fsItalic | fsUnderline;
             font.Size = 14;
             m->SetFont(font);
             m->SetHAlign(haRight);
             m->SetVAlign(vaBottom);
             m->FrameRef().Width = 2;
         }},
         {},
         [](const QByteArray& doc) {
             EXPECT_TRUE(doc.contains("\\qr{\\f0\\fs28\\i\\b\\ul\\cf")) << doc.toStdString();
             EXPECT_TRUE(doc.contains(
                 "\\clvertalb\\clbrdrt\\brdrs\\brdrw40\\brdrcf2\\clbrdrb\\brdrs\\brdrw40\\brdrcf2"))
                 << doc.toStdString();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto r = Pages(c.Pages);
        const QByteArray doc = WriteToMemory<TrpRTFExport>(*r, c.Setup);
        ASSERT_TRUE(doc.startsWith("{\\rtf1\\ansi\r\n"));
        ASSERT_TRUE(doc.endsWith("}\r\n"));
        // Groups balance: every escaped brace is a character, every other one a group.
        QByteArray plain = doc;
        plain.replace("\\\\", "").replace("\\{", "").replace("\\}", "");
        EXPECT_EQ(plain.count('{'), plain.count('}'));
        c.Check(doc);
    }
}

TEST(RtfEdgeCases, HeaderAndFooterModes) {
    // Two pages with a header band and a footer band, fed as the export loop feeds them.
    auto r = exporttest::NewReport();
    std::vector<std::unique_ptr<TrpReportPage>> pages;
    for (int i = 0; i < 2; ++i) {
        auto page = std::make_unique<TrpReportPage>();
        page->SetReport(r.get());
        // As prepared: each band, then the objects printed on it.
        page->Add(std::make_unique<PageBand>("TrpPageHeader"))->SetBounds(0, 0, 700, 30);
        Memo(*page, QStringLiteral("header %1").arg(i + 1), 0, 0, 300, 30);
        page->Add(std::make_unique<PageBand>("TrpNullBand"))->SetBounds(0, 40, 700, 30);
        Memo(*page, QStringLiteral("body %1").arg(i + 1), 0, 40, 300, 30);
        page->Add(std::make_unique<PageBand>("TrpPageFooter"))->SetBounds(0, 900, 700, 30);
        Memo(*page, QStringLiteral("footer %1").arg(i + 1), 0, 900, 300, 30);
        pages.push_back(std::move(page));
    }
    auto feed = [&](TrpRTFExport& f) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        f.SetStream(&out);
        f.SetReport(r.get());
        EXPECT_TRUE(f.Start());
        for (int i = 0; i < 2; ++i) {
            TrpReportPage& page = *pages[size_t(i)];
            f.StartPage(&page, i);
            const std::unique_ptr<TrpPlacedPage> placed = PlacePage(page, i, 2);
            for (const TrpPlacedObject& object : placed->Objects) {
                // What the loop leaves out when headers and footers are written once.
                if (f.SuppressPageHeadersFooters() && ((object.Band == TrpPlacedBand::PageHeader && i > 0) ||
                                                       (object.Band == TrpPlacedBand::PageFooter && i < 1)))
                    continue;
                f.ExportObject(object);
            }
            f.FinishPage(&page, i);
        }
        f.Finish();
        return out.data();
    };
    const struct {
        TrpHeaderFooterMode Mode;
        bool Suppress;
        QStringList Header, Footer, Body;
    } cases[] = {
        {hfText, false, {}, {}, {"header 1", "body 1", "footer 1", "header 2", "body 2", "footer 2"}},
        {hfNone, false, {}, {}, {"body 1", "body 2"}},
        {hfPrint, true, {"header 1"}, {"footer 2"}, {"body 1", "body 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Mode));
        TrpRTFExport filter(true);
        filter.SetShowProgress(false);
        filter.SetHeaderFooterMode(c.Mode);
        filter.SetSuppressPageHeadersFooters(c.Suppress);
        const QByteArray doc = feed(filter);
        const qsizetype header = doc.indexOf("{\\header "), footer = doc.indexOf("{\\footer ");
        EXPECT_EQ(header >= 0, !c.Header.isEmpty());
        EXPECT_EQ(footer >= 0, !c.Footer.isEmpty());
        const qsizetype bodyStart = std::max({header, footer, qsizetype(0)});
        const QByteArray body = doc.mid(doc.indexOf("\\trowd", doc.indexOf("}\r\n", bodyStart)));
        for (const QString& t : c.Header)
            EXPECT_TRUE(doc.mid(header, footer - header).contains(t.toUtf8())) << t.toStdString();
        for (const QString& t : c.Footer)
            EXPECT_TRUE(doc.mid(footer, doc.indexOf("}\r\n", footer) - footer).contains(t.toUtf8()))
                << t.toStdString();
        QStringList found;
        for (const char* t : {"header 1", "body 1", "footer 1", "header 2", "body 2", "footer 2"})
            if (body.contains(t))
                found << t;
        EXPECT_EQ(found, c.Body) << doc.toStdString();
    }
}
