// What the XML workbook export writes for the cases a spreadsheet is most likely to take wrongly.
#include "OfficeTools.h"
#include "export/xml/XmlExport.h"
#include "export/xml/XmlWorkbook.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QXmlStreamReader>

using namespace officetest;
using namespace exports;
using namespace report;

namespace {

TrpMemoView* Number(TrpComponent& parent, const QString& text, const QString& format, const QString& decimal,
                    Extended top) {
    TrpMemoView* m = Memo(parent, text, 0, top, 200, 20);
    m->DisplayFormatRef().Kind = fkNumeric;
    m->DisplayFormatRef().FormatStr = format;
    m->DisplayFormatRef().DecimalSeparator = decimal;
    return m;
}

// The cell element holding a text, from "<Cell" to its "<Data ...>".
QByteArray CellOf(const QByteArray& doc, const QByteArray& text) {
    const qsizetype data = doc.indexOf(">" + text + "</Data>");
    if (data < 0)
        return {};
    const qsizetype cell = doc.lastIndexOf("<Cell", data);
    return doc.mid(cell, data - cell + 1);
}

// The locale the regional settings are read from, while the object lives.
class NumericLocale {
public:
    explicit NumericLocale(const char* name) : FSaved(qgetenv("LC_ALL")) { qputenv("LC_ALL", name); }
    ~NumericLocale() { qputenv("LC_ALL", FSaved); }

private:
    QByteArray FSaved;
};

} // namespace

TEST(XmlEdgeCases, TextAndNumbers) {
    const struct {
        QString Text;
        QByteArray Xml;
    } texts[] = {
        {QStringLiteral("a\r\nb"), "a&#10;b"},
        {QStringLiteral("a\nb"), "ab"},
        {QStringLiteral("<&\">'"), "&lt;&amp;&quot;&gt;'"},
        {QStringLiteral("Ёж €"), "Ёж €"},
        {QStringLiteral("bell\x07 tab\t"), "bell tab\t"}, // XML cannot carry most control characters
    };
    for (const auto& t : texts)
        EXPECT_EQ(XmlText(t.Text), t.Xml) << t.Text.toStdString();
    const struct {
        QString Format;
        QByteArray Excel;
    } formats[] = {{"%2.2f", "0.00"},  {"%g", "0.##"},         {"%2.2m", "#,##0.00&quot;р.&quot;"},
                   {"%2.0n", "#,##0"}, {"%2.3n", "#,##0.000"}, {"%x", "#,##0.00"}};
    for (const auto& f : formats)
        EXPECT_EQ(ExcelNumberFormat(f.Format), f.Excel) << f.Format.toStdString();
    EXPECT_EQ(XmlColor(clRed), "#FF0000");
    EXPECT_EQ(XmlColor(clNone), "#FFFFFF");
}

TEST(XmlEdgeCases, NumbersUnderRussianAndEnglishSeparators) {
    const struct {
        const char* Locale;
        QString Shown, Decimal;
        const char* Number; // nothing: a text cell
    } cases[] = {
        {"ru_RU.UTF-8", QStringLiteral("1\u00A0234,50р."), ",", "1234.50"},
        {"ru_RU.UTF-8", QStringLiteral("-7,5"), ",", "-7.5"},
        {"C", QStringLiteral("1\u00A0234,50"), ",", "1234.50"},
        {"en_US.UTF-8", QStringLiteral("1,234.50"), ".", "1234.50"},
        {"en_US.UTF-8", QStringLiteral("12"), ".", "12"},
        // Only separators, or two decimal points: not a number, the text stays.
        {"ru_RU.UTF-8", QStringLiteral("-"), ",", nullptr},
        {"en_US.UTF-8", QStringLiteral("1.2.3"), ".", nullptr},
        {"ru_RU.UTF-8", QStringLiteral("12 шт."), ",", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Locale << " " << c.Shown.toStdString());
        NumericLocale locale(c.Locale);
        auto r =
            Pages({[&](TrpReportPage& p) { Number(p, c.Shown, QStringLiteral("%2.2n"), c.Decimal, 0); }});
        const QByteArray doc = WriteToMemory<TrpXMLExport>(*r);
        if (c.Number)
            EXPECT_TRUE(doc.contains("<Data ss:Type=\"Number\">" + QByteArray(c.Number) + "</Data>"))
                << doc.toStdString();
        else
            EXPECT_TRUE(doc.contains("<Data ss:Type=\"String\">" + XmlText(c.Shown) + "</Data>"))
                << doc.toStdString();
    }
}

TEST(XmlEdgeCases, Layout) {
    const struct {
        const char* Name;
        std::vector<std::function<void(TrpReportPage&)>> Pages;
        std::function<void(TrpXMLExport&)> Setup;
        std::function<void(const QByteArray&)> Check;
    } cases[] = {
        {"a memo over 2 x 3 cells is merged across and down, its covered cells not written",
         {[](TrpReportPage& p) {
             Memo(p, QStringLiteral("big"), 0, 0, 200, 90);
             Memo(p, QStringLiteral("a"), 200, 0, 50, 30);
             Memo(p, QStringLiteral("b"), 200, 30, 50, 30);
             Memo(p, QStringLiteral("c"), 200, 60, 50, 30);
             Memo(p, QStringLiteral("d"), 0, 90, 100, 20);
             Memo(p, QStringLiteral("e"), 100, 90, 100, 20);
         }},
         {},
         [](const QByteArray& doc) {
             const QByteArray big = CellOf(doc, "big");
             EXPECT_TRUE(big.contains("ss:Index=\"1\" ss:MergeAcross=\"1\" ss:MergeDown=\"2\""))
                 << big.toStdString();
             // The rows below hold only the column beside the merged cell.
             for (const char* next : {"b", "c"})
                 EXPECT_TRUE(CellOf(doc, next).startsWith("<Cell ss:Index=\"3\"")) << next;
             const qsizetype rowB = doc.lastIndexOf("<Row", doc.indexOf(">b</Data>"));
             EXPECT_EQ(doc.mid(rowB, doc.indexOf("</Row>", rowB) - rowB).count("<Data"), 1);
         }},
        {"a numeric memo with the default format takes its visual style, another format gets one",
         {[](TrpReportPage& p) {
             Number(p, QStringLiteral("1,5"), QStringLiteral("%2.2n"), QStringLiteral(","), 0);
             Number(p, QStringLiteral("2,5"), QStringLiteral("%2.2f"), QStringLiteral(","), 20);
         }},
         {},
         [](const QByteArray& doc) {
             const QRegularExpression extra(
                 QStringLiteral("<Style ss:ID=\"(s\\d+)\">\r\n<NumberFormat ss:Format=\"0.00\"/>"));
             const QRegularExpressionMatch m = extra.match(QString::fromUtf8(doc));
             ASSERT_TRUE(m.hasMatch()) << doc.toStdString();
             EXPECT_TRUE(CellOf(doc, "2.5").contains("ss:StyleID=\"" + m.captured(1).toUtf8() + "\""));
             EXPECT_FALSE(CellOf(doc, "1.5").contains("ss:StyleID=\"" + m.captured(1).toUtf8() + "\""));
         }},
        {"rows taller than 409 points are split",
         {[](TrpReportPage& p) { Memo(p, QStringLiteral("tall"), 0, 0, 200, 1000); }},
         {},
         [](const QByteArray& doc) {
             const QRegularExpression height(QStringLiteral("<Row ss:Height=\"([0-9.]+)\">"));
             double total = 0;
             for (auto it = height.globalMatch(QString::fromUtf8(doc)); it.hasNext();) {
                 const double h = it.next().captured(1).toDouble();
                 EXPECT_LE(h, 409.0);
                 total += h;
             }
             EXPECT_GE(total, 1000 / 1.376 - 0.5);
             // 1000 pixels are 727 points: two rows.
             EXPECT_TRUE(CellOf(doc, "tall").contains("ss:MergeDown=\"1\"")) << doc.toStdString();
             EXPECT_TRUE(doc.contains("<Row ss:Height=\"409\">") ||
                         doc.contains("<Row ss:Height=\"409.00\">"));
         }},
        {"a landscape first page lays the sheet out landscape",
         {[](TrpReportPage& p) {
              p.SetOrientation(poLandscape);
              Memo(p, QStringLiteral("one"), 0, 0, 100, 20);
          },
          [](TrpReportPage& p) { Memo(p, QStringLiteral("two"), 0, 0, 100, 20); }},
         {},
         [](const QByteArray& doc) {
             EXPECT_EQ(doc.count("<Layout x:Orientation=\"Landscape\"/>"), 1);
             // Margins of 10 mm are 0.38 units of the page setup; one row break between the pages.
             EXPECT_TRUE(doc.contains(
                 "<PageMargins x:Bottom=\"0.38\" x:Left=\"0.38\" x:Right=\"0.38\" x:Top=\"0.38\"/>"));
             EXPECT_EQ(doc.count("<RowBreak>"), 1);
         }},
        {"a portrait first page does not, whatever comes later; no page breaks when switched off",
         {[](TrpReportPage& p) { Memo(p, QStringLiteral("one"), 0, 0, 100, 20); },
          [](TrpReportPage& p) {
              p.SetOrientation(poLandscape);
              Memo(p, QStringLiteral("two"), 0, 0, 100, 20);
          }},
         [](TrpXMLExport& f) { f.SetExportPageBreaks(false); },
         [](const QByteArray& doc) {
             EXPECT_FALSE(doc.contains("<Layout"));
             EXPECT_FALSE(doc.contains("<PageBreaks"));
         }},
        {"styles: fonts, fill, alignment, borders",
         {[](TrpReportPage& p) {
             TrpMemoView* m = Memo(p, QStringLiteral("styled"), 0, 0, 100, 20);
             TrpFont font;
             font.Name = QStringLiteral("Arial \"Narrow\"");
             font.Style = fsBold | fsItalic | fsUnderline;
             font.Color = clBlue;
             m->SetFont(font);
             m->SetColor(clYellow);
             m->SetHAlign(haCenter);
             m->SetVAlign(vaCenter);
             m->FrameRef().Typ = ftLeft | ftBottom;
             m->FrameRef().Width = 2;
         }},
         {},
         [](const QByteArray& doc) {
             EXPECT_TRUE(doc.contains(
                 "<Font ss:FontName=\"Arial &quot;Narrow&quot;\" ss:Size=\"10\" ss:Color=\"#0000FF\" "
                 "ss:Bold=\"1\" ss:Italic=\"1\" ss:Underline=\"Single\"/>\r\n"
                 "<Interior ss:Color=\"#FFFF00\" ss:Pattern=\"Solid\"/>\r\n"
                 "<Alignment ss:Horizontal=\"Center\" ss:Vertical=\"Center\" ss:WrapText=\"1\" />\r\n"
                 "<Borders>\r\n"
                 "<Border ss:Position=\"Left\" ss:LineStyle=\"Continuous\" ss:Weight=\"3\" "
                 "ss:Color=\"#000000\" />\r\n"
                 "<Border ss:Position=\"Bottom\" ss:LineStyle=\"Continuous\" ss:Weight=\"3\" "
                 "ss:Color=\"#000000\" />\r\n"
                 "</Borders>"))
                 << doc.toStdString();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto r = Pages(c.Pages);
        const QByteArray doc = WriteToMemory<TrpXMLExport>(*r, c.Setup);
        QXmlStreamReader xml(doc);
        while (!xml.atEnd())
            xml.readNext();
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        c.Check(doc);
    }
}

TEST(XmlEdgeCases, TheSheetHasTextCellsOnly) {
    auto r = PreparedSheet();
    const QByteArray doc = WriteToMemory<TrpXMLExport>(*r);
    EXPECT_EQ(doc.count("ss:Type=\"Number\""), 0);
    EXPECT_GE(doc.count("ss:Type=\"String\""), 30);
    EXPECT_FALSE(doc.contains("Picture1"));
    EXPECT_TRUE(doc.contains("<?tp-application created=\"Tarifon\"?>"));
    EXPECT_TRUE(doc.contains("<Title>Расчет стоимости ОСАГО</Title>"));
}
