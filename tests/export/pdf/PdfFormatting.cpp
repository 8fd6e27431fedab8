// The text forms the writer puts into every file: numbers, strings, font names, encodings,
// content operators.
#include "export/pdf/PdfCodePage.h"
#include "export/pdf/PdfContent.h"
#include "export/pdf/PdfFormat.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace exports;

TEST(PdfFormatting, NumbersHaveTwoDecimalsOnlyWhenFractional) {
    const struct {
        long double X;
        const char* Text;
    } cases[] = {
        {0, "0"},         {595.275L, "595.28"}, {841.89L, "841.89"}, {300, "300"},
        {-12, "-12"},     {0.5L, "0.50"},       {0.004L, "0.00"},    {-0.001L, "0.00"},
        {1e6, "1000000"}, {2.999L, "3.00"},     {1.0L / 3, "0.33"},  {-1.5L, "-1.50"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PdfNumber(c.X), QByteArray(c.Text)) << double(c.X);
}

// One line per operator, numbers as PdfNumber writes them (also under the suite's Russian
// locale, whose decimal separator is a comma). One stream for all rows, so the colour cache
// sees colours change and come back.
TEST(PdfFormatting, ContentOperatorsAreOneLineEach) {
    using C = TrpPDFContent;
    const struct {
        std::function<void(C&)> Write;
        const char* Text;
    } cases[] = {
        {[](C& c) { c.MoveTo(75.5L, 766.39L); }, "75.50 766.39 m"},
        {[](C& c) { c.LineTo(1e6, -0.001L); }, "1000000 0.00 l"},
        {[](C& c) { c.Rectangle(0.004L, 2.999L, 1.0L / 3, -1.5L); }, "0.00 3.00 0.33 -1.50 re"},
        {[](C& c) { c.Transform(1, 0, 0, 1, 595.275L, 841.89L); }, "1 0 0 1 595.28 841.89 cm"},
        {[](C& c) { c.LineWidth(0.75L); }, "0.75 w"},
        {[](C& c) {
             c.Dash({3, 1.5L}, 0);
         },
         "[3 1.50] 0 d"},
        {[](C& c) { c.Dash({}, 0); }, "[] 0 d"},
        {[](C& c) { c.StrokeColor(report::clRed); }, "1 0 0 RG"},
        {[](C& c) { c.FillColor(0x336699); }, "0.60 0.40 0.20 rg"},
        {[](C& c) { c.FillColor(report::clNone); }, "1 1 1 rg"},
        {[](C& c) { c.StrokeColor(0); }, "0 0 0 RG"},
        {[](C& c) { c.FillColor(0x336699); }, "0.60 0.40 0.20 rg"},
        {[](C& c) { c.Font("/F3", 12); }, "/F3 12 Tf"},
        {[](C& c) { c.CharSpacing(1.126L); }, "1.13 Tc"},
        {[](C& c) { c.WordSpacing(0); }, "0 Tw"},
        {[](C& c) { c.TextPosition(40, -0.5L); }, "40 -0.50 Td"},
        {[](C& c) { c.TextMatrix(0, 1, -1, 0, 10, 20); }, "0 1 -1 0 10 20 Tm"},
        {[](C& c) { c.ShowText("a(b)\\\xD2"); }, "(a\\(b\\)\\\\\xD2) Tj"},
        {[](C& c) {
             c.ShowTextAdjusted({{"A", -120}, {"B)", 0}});
         },
         "[(A) -120 (B\\))] TJ"},
        {[](C& c) { c.DrawXObject("/Im0"); }, "/Im0 Do"},
        {[](C& c) {
             c.Save();
             c.ClosePath();
             c.Clip();
             c.EndPath();
             c.Stroke();
             c.CloseAndStroke();
             c.Fill();
             c.FillAndStroke();
             c.BeginText();
             c.EndText();
             c.Restore();
         },
         "q\r\nh\r\nW\r\nn\r\nS\r\ns\r\nf\r\nB\r\nBT\r\nET\r\nQ"},
        {[](C& c) { c.InlineJpeg(2, 3, "\xFF\xD8\r\n"); },
         "BI\r\n/W 2\r\n/H 3\r\n/CS /RGB\r\n/BPC 8\r\n/I true\r\n/F [/DCT]\r\nID \xFF\xD8\r\n\r\nEI"},
    };
    C content;
    for (const auto& c : cases) {
        const qsizetype before = content.Bytes().size();
        c.Write(content);
        EXPECT_EQ(content.Bytes().mid(before), QByteArray(c.Text) + "\r\n") << c.Text;
    }
}

TEST(PdfFormatting, StringsAreLiteralOrUtf16Hex) {
    const struct {
        QString In;
        const char* Out;
    } cases[] = {
        {"", "()"},
        {"Report (draft)", "(Report (draft))"}, // balanced parentheses stay as they are
        {"a)b(", "(a\\)b\\()"},                 // unbalanced ones could end the string early
        {"C:\\tmp", "(C:\\\\tmp)"},
        {"Tarifon", "(Tarifon)"},
        {"{x}", "<FEFF007B0078007D>"}, // above "z": hex
        {"~", "<FEFF007E>"},
        {"a\tb", "<FEFF006100090062>"},
    };
    // Р=0420 а=0430 с=0441 ч=0447 е=0435 т=0442.
    EXPECT_EQ(PdfString(QStringLiteral("Расчет")), QByteArray("<FEFF042004300441044704350442>"));
    for (const auto& c : cases)
        EXPECT_EQ(PdfString(c.In), QByteArray(c.Out)) << c.In.toStdString();
}

TEST(PdfFormatting, FontNamesCarryStyleAndEscapeSpaces) {
    const struct {
        const char* Face;
        bool Bold, Italic;
        const char* Out;
    } cases[] = {
        {"Arial", false, false, "Arial"},
        {"Arial", true, false, "Arial,Bold"},
        {"Times New Roman", false, true, "Times#20New#20Roman,Italic"},
        {"Tahoma", true, true, "Tahoma,BoldItalic"},
        {"MS Sans Serif", false, false, "MS#20Sans#20Serif"},
        {"Шрифт", false, false, "#D0#A8#D1#80#D0#B8#D1#84#D1#82"},
        {"A(B)", false, false, "A#28B#29"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PdfFontName(QString::fromUtf8(c.Face), c.Bold, c.Italic), QByteArray(c.Out)) << c.Face;
}

TEST(PdfFormatting, EscapeTextAndOffsets) {
    EXPECT_EQ(EscapeText("a(b)c\\d"), QByteArray("a\\(b\\)c\\\\d"));
    EXPECT_EQ(PdfOffset(0), QByteArray("0000000000"));
    EXPECT_EQ(PdfOffset(1234567), QByteArray("0001234567"));
    EXPECT_EQ(PdfDate(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))), QByteArray("20260102030405"));
}

namespace {

// The codes a differences array names, in order: a number sets the next code, each name
// takes one.
std::vector<int> DifferenceCodes(const QByteArray& array) {
    std::vector<int> codes;
    int next = -1;
    const QByteArray body = array.mid(array.indexOf('[') + 1).chopped(1);
    for (const QByteArray& token : body.simplified().replace('/', " /").split(' ')) {
        if (token.startsWith('/'))
            codes.push_back(next++);
        else if (!token.isEmpty())
            next = token.toInt();
    }
    return codes;
}

} // namespace

TEST(PdfFormatting, RussianDifferencesCoverCodes128To255) {
    const QByteArray d = DifferencesArray(204);
    ASSERT_TRUE(d.startsWith("/Differences [128 /afii10051/afii10052/quotesinglbase/")); // Ђ Ѓ ‚
    ASSERT_TRUE(d.endsWith("/afii10096/afii10097]")); // "я" at 255 is the last code
    EXPECT_EQ(d.count('/') - 1, 128);                 // 128 names after "/Differences"
    // The default charset is the system's ANSI set: Russian.
    EXPECT_EQ(DifferencesArray(1), d);
    EXPECT_EQ(FontEncodingEntry(204),
              "/Encoding <</Type/Encoding /BaseEncoding /WinAnsiEncoding\r\n" + d + "\r\n>>");
}

TEST(PdfFormatting, DifferencesNameOnlyCodesOfASimpleFont) {
    for (int charset : {1, 161, 162, 163, 177, 178, 186, 204, 238}) {
        const std::vector<int> codes = DifferenceCodes(DifferencesArray(charset));
        ASSERT_FALSE(codes.empty()) << charset;
        EXPECT_GE(codes.front(), 128) << charset;
        EXPECT_LE(codes.back(), 255) << charset;
        EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end())) << charset;
    }
}

TEST(PdfFormatting, EncodingEntriesByCharset) {
    EXPECT_EQ(FontEncodingEntry(0), QByteArray("/Encoding /WinAnsiEncoding"));
    EXPECT_EQ(FontEncodingEntry(2), QByteArray("/Encoding /MacRomanEncoding"));
    EXPECT_EQ(FontEncodingEntry(77), QByteArray()); // Mac charset: no entry
    EXPECT_EQ(DifferencesArray(163), QByteArray("/Differences [128 /Euro 142 /Zcaron 158 /zcaron]"));
    for (int charset : {161, 162, 177, 178, 186, 238}) {
        const QByteArray entry = FontEncodingEntry(charset);
        EXPECT_TRUE(entry.contains("/Differences [128 /Euro")) << charset;
        EXPECT_TRUE(entry.endsWith("]>>")) << charset;
    }
    // Central European: Š at 0x8A is WinAnsi's too; Ś at 0x8C is not.
    const QByteArray ce = DifferencesArray(238);
    EXPECT_TRUE(ce.contains("140 /Sacute/Tcaron 143 /Zacute")) << ce.toStdString();
    EXPECT_FALSE(ce.contains("138 /Scaron"));
    EXPECT_TRUE(DifferencesArray(161).contains("/uni0391")) << "Greek capital alpha at 0xC1";
}

TEST(PdfFormatting, TextIsEncodedInTheFontsCodePage) {
    EXPECT_EQ(EncodeForCharset(QStringLiteral("Тб 1,5 №"), 204), QByteArray("\xD2\xE1 1,5 \xB9"));
    EXPECT_EQ(EncodeForCharset(QStringLiteral("Ёё"), 1), QByteArray("\xA8\xB8"));
    EXPECT_EQ(EncodeForCharset(QStringLiteral("é€"), 0), QByteArray("\xE9\x80"));
    EXPECT_EQ(EncodeForCharset(QStringLiteral("Ж"), 0), QByteArray("?")); // not in 1252
    EXPECT_EQ(EncodeForCharset(QStringLiteral("Łódź"), 238), QByteArray("\xA3\xF3\x64\x9F"));
}
