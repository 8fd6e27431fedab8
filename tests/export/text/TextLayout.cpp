// The three filters on small pages whose output can be told by hand: each edge case of the
// grid, the frames and the wrapping is one row of the table, checked byte for byte as Python
// decodes it.
#include "TextTools.h"

#include "export/text/CSVExport.h"
#include "export/text/SimpleTextExport.h"
#include "export/text/TXTExport.h"

#include <functional>

using namespace texttest;
using namespace exports;

namespace {

enum class Kind { CSV, TXT, PRN };

struct LayoutCase {
    const char* Name;
    Kind Filter;
    std::function<void(TrpTextFileExport&)> Options;
    std::vector<MemoSpec> Memos;
    QString Expected; // as decoded in the code page (866 with the OEM option, else 1251)
};

QString Repeat(const QString& s, int n) {
    return s.repeated(n);
}

TrpTXTExport& Prn(TrpTextFileExport& f) {
    return static_cast<TrpTXTExport&>(f);
}

const QString BoxH = QStringLiteral("─");

// ESC, NUL, form feed, bell, tab and DEL, as a received prepared file may hold them.
QString Controls() {
    static const char16_t raw[] = u"A\x1b@\0B\fC\a\tD\x7f";
    return QStringView(raw, std::size(raw) - 1).toString();
}

std::vector<LayoutCase> Cases() {
    const auto none = [](TrpTextFileExport&) {};
    const auto borders = [](TrpTextFileExport& f) { Prn(f).SetBorders(true); };
    return {
        {"CsvMemoOverThreeColumnsThenTwoLoneSeparators",
         Kind::CSV,
         none,
         {{0, 0, 300, 20, "A"}, {0, 20, 100, 20, "B"}, {100, 20, 100, 20, "C"}, {200, 20, 100, 20, "D"}},
         "\"A\";;;\r\n\"B\";\"C\";\"D\";\r\n"},
        {"CsvRowStartsWithItsFirstFieldNotSeparators",
         Kind::CSV,
         none,
         {{0, 0, 100, 20, "A"}, {200, 20, 100, 20, "B"}},
         "\"A\";\r\n\"B\";\r\n"},
        {"CsvLinesOfAMemoAreJoinedByASpace",
         Kind::CSV,
         none,
         {{0, 0, 300, 40, "Первая\nВторая"}},
         "\"Первая Вторая\";\r\n"},
        {"CsvWrappedMemoKeepsItsWordsAndSpaces",
         Kind::CSV,
         none,
         {{0, 0, 40, 60, "alpha beta gamma delta"}},
         "\"alpha beta gamma delta\";\r\n"},
        {"CsvSeparatorLongerThanOneCharacterWrittenWhole",
         Kind::CSV,
         [](TrpTextFileExport& f) { static_cast<TrpCSVExport&>(f).SetSeparator(QStringLiteral("<|>")); },
         {{0, 0, 100, 20, "A"}, {100, 0, 100, 20, "B"}},
         "\"A\"<|>\"B\"<|>\r\n"},
        {"CsvQuoteInsideAFieldIsDoubled",
         Kind::CSV,
         none,
         {{0, 0, 300, 20, "Он сказал \"да\""}},
         "\"Он сказал \"\"да\"\"\";\r\n"},
        {"CsvCharactersOutsideTheCodePageBecomeOneQuestionMarkEach",
         Kind::CSV,
         none,
         {{0, 0, 300, 20, QStringLiteral("日本 😀 é ok")}},
         "\"?? ? ? ok\";\r\n"},
        {"CsvOemCodePage",
         Kind::CSV,
         [](TrpTextFileExport& f) { f.SetOEMCodepage(true); },
         {{0, 0, 300, 20, "Ёжик №1"}},
         "\"Ёжик №1\";\r\n"},
        {"CsvControlCharactersAreNoCommands",
         Kind::CSV,
         none,
         {{0, 0, 300, 20, Controls()}},
         "\"A?@?B?C? D?\";\r\n"},
        {"TxtControlCharactersAreNoCommands",
         Kind::TXT,
         none,
         {{0, 0, 300, 20, Controls()}},
         "A?@?B?C? D?\r\n\f"},
        {"PrnControlCharactersAreNoCommands",
         Kind::PRN,
         none,
         {{0, 0, 140, 24, Controls()}},
         "A?@?B?C? D?\r\n\f"},
        {"TxtRunOfBlankColumnsKeepsTwo",
         Kind::TXT,
         none,
         {{0, 0, 60, 20, "AAAAAA"}, {300, 0, 60, 20, "BBBBBB"}},
         "AAAAAA  BBBBBB\r\n\f"},
        {"TxtAlignmentWithinTheObject",
         Kind::TXT,
         none,
         {{0, 0, 60, 20, "AAAAAA"}, {0, 20, 60, 20, "BB", 0, haRight}, {0, 40, 60, 20, "CC", 0, haCenter}},
         "AAAAAA\r\n       BB\r\n   CC\r\n\f"},
        {"TxtEmptyLinesKeptWhenAsked",
         Kind::TXT,
         [](TrpTextFileExport& f) {
             static_cast<TrpSimpleTextExport&>(f).SetEmptyLines(true);
             static_cast<TrpSimpleTextExport&>(f).SetPageBreaks(false);
         },
         {{0, 0, 60, 20, "AAAAAA"}, {0, 20, 60, 20, ""}, {0, 40, 60, 20, "BBBBBB"}},
         "AAAAAA\r\n\r\n\r\n\r\nBBBBBB\r\n" + Repeat("\r\n", 112 - 5)},
        {"PrnFramedMemo140UnitsSpans21ColumnsWith19CharactersALine",
         Kind::PRN,
         borders,
         {{7, 8, 140, 24, "Длинный текст для рамки в двадцать одну колонку", ftAll}},
         "+-------------------+\r\n|Длинный текст для  |\r\n|рамки в двадцать   "
         "|\r\n+-------------------+\r\n\f"},
        {"PrnAdjacentBoxesShareFrameColumnsWithJunctions",
         Kind::PRN,
         [](TrpTextFileExport& f) {
             Prn(f).SetBorders(true);
             Prn(f).SetPseudogrpahic(true);
             f.SetOEMCodepage(true);
         },
         {{7, 8, 140, 24, "А", ftAll},
          {147, 8, 140, 24, "Б", ftAll},
          {7, 32, 140, 24, "В", ftAll},
          {147, 32, 140, 24, "Г", ftAll}},
         "┌" + Repeat(BoxH, 19) + "┬" + Repeat(BoxH, 19) + "┐\r\n" + "│А" + Repeat(" ", 18) + "│Б" +
             Repeat(" ", 18) + "│\r\n" + "│" + Repeat(" ", 19) + "│" + Repeat(" ", 19) + "│\r\n" + "├" +
             Repeat(BoxH, 19) + "┼" + Repeat(BoxH, 19) + "┤\r\n" + "│В" + Repeat(" ", 18) + "│Г" +
             Repeat(" ", 18) + "│\r\n" + "│" + Repeat(" ", 19) + "│" + Repeat(" ", 19) + "│\r\n" + "└" +
             Repeat(BoxH, 19) + "┴" + Repeat(BoxH, 19) + "┘\r\n\f"},
        {"PrnAlignsInsideTheBoxAndDropsCommonLeadingSpaces",
         Kind::PRN,
         none,
         {{0, 0, 70, 40, "ab", 0, haRight, vaBottom}, {0, 48, 70, 40, "cd", 0, haCenter, vaCenter}},
         "    ab\r\ncd\r\n\f"},
        {"PrnKeepsLeadingSpacesWhenAsked",
         Kind::PRN,
         [](TrpTextFileExport& f) { Prn(f).SetLeadSpaces(true); },
         {{0, 0, 70, 40, "ab", 0, haRight, vaBottom}, {0, 48, 70, 40, "cd", 0, haCenter, vaCenter}},
         "        ab\r\n    cd\r\n\f"},
        {"PrnCustomFrameSetReplacesTheBuiltInOnes",
         Kind::PRN,
         [](TrpTextFileExport& f) {
             Prn(f).SetBorders(true);
             Prn(f).SetCustomFrameSet("!~ABCDEFGHI");
         },
         {{0, 0, 56, 24, "x", ftAll}},
         "A~~~~~~~B\r\n!x      !\r\n!       !\r\nC~~~~~~~D\r\n\f"},
        {"PrnWrapsAfterADash",
         Kind::PRN,
         none,
         {{0, 0, 70, 24, "северо-западный"}},
         "северо-\r\nзападный\r\n\f"},
        {"PrnEmptyLinesKeptWhenAsked",
         Kind::PRN,
         [](TrpTextFileExport& f) {
             Prn(f).SetEmptyLines(true);
             Prn(f).SetPageBreaks(false);
         },
         {{0, 0, 70, 16, "A"}, {0, 24, 70, 16, "B"}},
         "\r\nA\r\n\r\n\r\nB\r\n" + Repeat("\r\n", 142 - 5) + "\f"},
    };
}

std::unique_ptr<TrpTextFileExport> NewFilter(Kind kind) {
    switch (kind) {
    case Kind::CSV:
        return std::make_unique<TrpCSVExport>(true);
    case Kind::TXT:
        return std::make_unique<TrpSimpleTextExport>(true);
    case Kind::PRN:
        break;
    }
    return std::make_unique<TrpTXTExport>(true);
}

} // namespace

TEST(TextLayout, EdgeCasesOfTheGridFramesAndWrapping) {
    QTemporaryDir dir;
    for (const LayoutCase& c : Cases()) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<TrpReport> r = MemoReport({c.Memos});
        std::unique_ptr<TrpTextFileExport> filter = NewFilter(c.Filter);
        c.Options(*filter);
        const QString file = dir.filePath(QString::fromLatin1(c.Name));
        WriteFile(file, ExportBytes(*r, *filter));
        EXPECT_EQ(PythonDecode(file, filter->OEMCodepage() ? "cp866" : "cp1251"), c.Expected);
    }
}

TEST(TextLayout, PlainTextCellComesFromTheDensestText) {
    // One-line texts: the cell height is the smallest height x 5 / font size, the width the
    // smallest width x 6 / (font size x longest line).
    std::unique_ptr<TrpReport> r =
        MemoReport({{{0, 0, 60, 20, "AAAAAA"}, {0, 30, 100, 16, "BB"}, {0, 60, 300, 40, "CCC"}}});
    TrpSimpleTextExport filter(true);
    ExportBytes(*r, filter);
    EXPECT_DOUBLE_EQ(double(filter.CharWidth()), 6.0);
    EXPECT_DOUBLE_EQ(double(filter.CharHeight()), 8.0);
}

TEST(TextLayout, HugeObjectsAndDenseTextsStayWithinABoundedGrid) {
    // A box ten million units wide and high, and a long text squeezed into a sliver, which
    // asks the plain text for a cell a fraction of a unit wide.
    std::unique_ptr<TrpReport> r = MemoReport(
        {{{0, 0, 1e7L, 1e7L, "X", ftAll}, {10, 10, 2, 30, QStringLiteral("длинный текст ").repeated(40)}}});
    for (Kind kind : {Kind::CSV, Kind::TXT, Kind::PRN}) {
        std::unique_ptr<TrpTextFileExport> filter = NewFilter(kind);
        if (kind == Kind::PRN)
            Prn(*filter).SetBorders(true);
        const QByteArray out = ExportBytes(*r, *filter);
        EXPECT_TRUE(out.contains('X')) << int(kind);
        EXPECT_LT(out.size(), 100'000'000) << int(kind);
    }
}

TEST(TextLayout, CsvFieldsASpreadsheetWouldRunAsFormulasAreText) {
    // Each text in a row of its own; Python's csv module reads the fields back.
    const std::pair<QString, QString> cases[] = {
        {"=HYPERLINK(\"http://x\";\"y\")", "'=HYPERLINK(\"http://x\";\"y\")"},
        {"+1+2", "'+1+2"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"  =1", "'  =1"},
        {"-", "'-"},
        {"-12,5", "-12,5"},
        {QStringLiteral("-1\u00A0234,50"), QStringLiteral("-1\u00A0234,50")},
        {"-1,234.50", "-1,234.50"},
        {"+7", "+7"},
        {"-5%", "-5%"},
        {"3-4", "3-4"},
    };
    std::vector<MemoSpec> memos;
    for (const auto& [text, expected] : cases)
        memos.push_back({0, Extended(20 * memos.size()), 300, 20, text});
    std::unique_ptr<TrpReport> r = MemoReport({memos});
    TrpCSVExport csv(true);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("formulas.csv"));
    WriteFile(file, ExportBytes(*r, csv));
    const std::vector<QStringList> rows = PythonCsv(file, "cp1251", QStringLiteral(";"));
    ASSERT_EQ(rows.size(), std::size(cases));
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].value(0), cases[i].second) << i;
}
