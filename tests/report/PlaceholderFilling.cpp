// Filling memo texts: delimiters, nesting, quotes, inline formats, page count, hidden zeros.
#include "ReportFixtures.h"

#include "report/MemoFill.h"
#include "report/PreparedPageStore.h"

#include <gtest/gtest.h>

using namespace report;
using script::Variant;

namespace {

TEST(Placeholders, NestingQuotesAndUnclosedDelimiters) {
    auto echo = [](const QString& content) { return QStringLiteral("{") + content + QStringLiteral("}"); };
    const struct {
        const char* Text;
        const char* Delimiters;
        const char* Expected;
    } cases[] = {
        {"a[b[c]d]e", "[,]", "a{b[c]d}e"},
        {"[x] и [y]", "[,]", "{x} и {y}"},
        {"[IIF(1=1, '[x]', \"]\")]!", "[,]", "{IIF(1=1, '[x]', \"]\")}!"},
        {"без скобок", "[,]", "без скобок"},
        {"[открыта и [не закрыта", "[,]", "[открыта и [не закрыта"},
        {"[a] затем [b", "[,]", "{a} затем [b"},
        {"<%x%> и [y]", "<%,%>", "{x} и [y]"},
        {"", "[,]", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandPlaceholders(QString::fromUtf8(c.Text), c.Delimiters, echo),
                  QString::fromUtf8(c.Expected))
            << c.Text;
}

TEST(Placeholders, InlineFormatAfterSpaceHash) {
    Placeholder p = ParsePlaceholder("Сумма #N%2,2n");
    EXPECT_TRUE(p.HasFormat);
    EXPECT_EQ(p.Expression, "Сумма");
    EXPECT_EQ(p.Format.Kind, fkNumeric);
    EXPECT_EQ(p.Format.FormatStr, "%2.2n");
    EXPECT_EQ(p.Format.DecimalSeparator, ",");

    p = ParsePlaceholder("IIF(1=1, 'a #b', 'c')");
    EXPECT_FALSE(p.HasFormat);
    EXPECT_EQ(p.Expression, "IIF(1=1, 'a #b', 'c')");

    p = ParsePlaceholder("Флаг #bДа,Нет");
    EXPECT_EQ(p.Format.Kind, fkBoolean);
    EXPECT_EQ(p.Format.FormatStr, "Да,Нет");
    EXPECT_EQ(ParsePlaceholder("Дата #Ddd.mm.yyyy").Format.Kind, fkDateTime);
}

TEST(Placeholders, FilledTextsOnThePreparedPage) {
    auto r = reporttest::NewReport();
    TrpVariables& v = r->Variables();
    v.SetVariableValue("Сумма", Variant("'2 000,50'"));
    v.SetVariableValue("Число", Variant("'2.5'"));
    v.SetVariableValue("Ноль", Variant("0"));
    v.SetVariableValue("Строка0", Variant("'0'"));
    v.SetVariableValue("Строки", Variant("первая\r\nвторая"));
    v.Add("Пустая");
    const struct {
        const char* Name;
        const char* Text;
        const char* Expected;
    } cases[] = {
        {"Total", "Итого: [Сумма] руб.", "Итого: 2 000,50 руб."},
        {"Quoted", "[IIF(1=1, '[Сумма]', '')]", "[Сумма]"},
        {"Unset", "<[Пустая]>", "<>"},
        {"Missing", "[Пустая][Пустая]x", "x"},
        {"Inline", "[Число #n%2,2f]", "2,50"},
        {"Lines", "[Строки]", "первая\r\nвторая"},
        {"Pages", "Страниц: [totalpages#]", "Страниц: 1"},
        {"ZeroShown", "[Ноль]", "0"},
        {"HiddenZero", "[Ноль]", ""},
        {"StringZero", "[Строка0]", "0"},
    };
    for (const auto& c : cases) {
        TrpMemoView* m = reporttest::AddMemo(*r, c.Name, QString::fromUtf8(c.Text));
        if (QString(c.Name).contains("Hidden") || QString(c.Name).contains("StringZero"))
            m->SetHideZeros(true);
    }
    TrpMemoView* tagged = reporttest::AddMemo(*r, "Tagged", "[Сумма]");
    tagged->SetTagStr("t=[Число]");
    tagged->SetURL("http://x/?s=[Ноль]");
    TrpMemoView* off = reporttest::AddMemo(*r, "Off", "[Сумма]");
    off->SetAllowExpressions(false);

    ASSERT_TRUE(r->Prepare()) << r->LastErrorMessage().toStdString();
    for (const auto& c : cases)
        EXPECT_EQ(reporttest::PreparedText(*r, c.Name), QString::fromUtf8(c.Expected)) << c.Name;
    EXPECT_EQ(reporttest::PreparedText(*r, "Off"), "[Сумма]");
    auto* page = r->PreviewPages().Page(0);
    auto* t = dynamic_cast<TrpView*>(page->FindObject("Tagged"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->TagStr(), "t=2.5");
    EXPECT_EQ(t->URL(), "http://x/?s=0");
    // The template keeps its placeholders.
    EXPECT_EQ(tagged->Text(), "[Сумма]");
    EXPECT_EQ(tagged->TagStr(), "t=[Число]");
}

TEST(Placeholders, HighlightConditionSetsActive) {
    auto r = reporttest::NewReport();
    TrpMemoView* m = reporttest::AddMemo(*r, "M", "x");
    m->HighlightRef().Condition = "1 > 0";
    ASSERT_TRUE(r->Prepare());
    auto* prepared = dynamic_cast<TrpMemoView*>(r->PreviewPages().Page(0)->FindObject("M"));
    ASSERT_NE(prepared, nullptr);
    EXPECT_TRUE(prepared->Highlight().Active);
}

} // namespace
