// Report variables, reading names and evaluating expressions, value formatting, engine texts.
#include "ReportFixtures.h"

#include "report/EngineTexts.h"
#include "report/ValueFormat.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace report;
using script::Variant;

namespace {

QString Str(const Variant& v) {
    return QString::fromStdString(v.AsString());
}

TEST(Variables, NamesMatchWithoutLetterCaseCyrillicIncluded) {
    TrpVariables vars;
    vars.Add(QStringLiteral(" Коэффициенты"));
    vars.Add(QStringLiteral("ТБ"));
    vars.Add(QStringLiteral("Формула"), Variant("'Т = 0'"));
    vars.SetVariableValue(QStringLiteral("тб"), Variant("'1 980'"));
    vars.SetVariableValue(QStringLiteral("ФОРМУЛА"), Variant("'Т = ТБ'"));
    EXPECT_EQ(vars.Count(), 3);
    EXPECT_EQ(vars.IndexOfVariable(QStringLiteral("Тб")), 1);
    EXPECT_EQ(Str(vars.GetVariableValue(QStringLiteral("ТБ"))), "'1 980'");
    EXPECT_EQ(Str(vars.Items(2).Value), "'Т = ТБ'");
    EXPECT_TRUE(vars.GetVariableValue(QStringLiteral("нет такой")).IsNull());
    vars.SetVariableValue(QStringLiteral("Новая"), Variant(5));
    EXPECT_EQ(vars.Count(), 4);
}

TEST(Variables, ReadingEvaluatesStringsWithoutLineBreaks) {
    auto r = reporttest::NewReport();
    TrpVariables& v = r->Variables();
    v.SetVariableValue("КТ", Variant("'1,3'"));
    v.SetVariableValue("Сумма", Variant("0"));
    v.SetVariableValue("Текст", Variant("первая\r\n'вторая'"));
    v.SetVariableValue("Пусто", Variant());
    v.SetVariableValue("Кавычка", Variant(QuotedText("Д'Артаньян 'и' ''друзья''").toStdString()));
    v.SetVariableValue("Ссылка", Variant("<КТ>"));

    EXPECT_EQ(Str(r->Calc("КТ")), "1,3");
    EXPECT_EQ(Str(r->Calc("кт")), "1,3");
    const Variant zero = r->Calc("Сумма");
    ASSERT_TRUE(zero.IsInteger());
    EXPECT_EQ(zero.AsInteger(), 0);
    EXPECT_EQ(Str(r->Calc("Текст")), "первая\r\n'вторая'");
    EXPECT_TRUE(r->Calc("Пусто").IsNull());
    EXPECT_EQ(Str(r->Calc("Кавычка")), "Д'Артаньян 'и' ''друзья''");
    EXPECT_EQ(Str(r->Calc("Ссылка")), "1,3");
    EXPECT_EQ(Str(r->Calc("'a' + <КТ>")), "a1,3");
    EXPECT_TRUE(r->Errors().isEmpty());
}

TEST(Variables, ExpressionsAreCompiledOnceAndCached) {
    auto r = reporttest::NewReport();
    EXPECT_EQ(r->Calc("1 + 2").AsInteger(), 3);
    EXPECT_EQ(r->Calc("1 + 2").AsInteger(), 3);
    EXPECT_EQ(r->ExpressionCacheCount(), 1);
    EXPECT_EQ(Str(r->Calc("IIF(1 = 1, 'да', 'нет')")), "да");
    EXPECT_EQ(r->ExpressionCacheCount(), 2);
    // Only the chosen branch is evaluated: the other may not even be computable.
    EXPECT_EQ(Str(r->Calc("IIF(1 = 0, 10 div 0, 'ноль')")), "ноль");
    EXPECT_EQ(r->Calc("Pos('КВС', 'Т = ТБ*КВС')").AsInteger(), 8);
}

TEST(Variables, SystemVariablesAreNames) {
    auto r = reporttest::NewReport();
    Variant v;
    EXPECT_TRUE(r->LookupValue("page#", v));
    EXPECT_TRUE(r->LookupValue("TOTALPAGES", v));
    EXPECT_TRUE(r->LookupValue("Date", v));
    EXPECT_FALSE(r->LookupValue("Нечто", v));
    EXPECT_FALSE(r->LookupValue("'Нечто'", v));
}

TEST(Variables, BadExpressionsGiveTheEngineMessage) {
    auto r = reporttest::NewReport();
    r->SetCurrentObjectName("Memo1");
    EXPECT_THROW(r->Calc("1 +"), TrpReportError);
    ASSERT_EQ(r->Errors().size(), 1);
    EXPECT_TRUE(r->Errors()[0].startsWith("Memo1: Ошибка в выражении '1 +': "))
        << r->Errors()[0].toStdString();

    // A variable that names itself must not recurse for ever.
    r->Variables().SetVariableValue("Петля", Variant("Петля"));
    EXPECT_THROW(r->Calc("Петля"), TrpReportError);
}

struct FormatCase {
    const char* Locale;
    Variant Value;
    TrpFormatKind Kind;
    const char* FormatStr;
    const char* DecimalSeparator;
    const char* Expected;
};

TEST(ValueFormatting, FourKindsInEveryLocale) {
    const FormatCase cases[] = {
        {"ru_RU", Variant("1 980"), fkText, "", ",", "1 980"},
        {"en_US", Variant("0,95"), fkText, "", ".", "0,95"},
        {"ru_RU", Variant(1.5), fkText, "", "", "1,5"},
        {"en_US", Variant(1.5), fkText, "", "", "1.5"},
        {"C", Variant(1.5), fkText, "", "", "1,5"},
        {"ru_RU", Variant(1234567.891), fkNumeric, "%2.2n", "", "1\u00A0234\u00A0567,89"},
        {"en_US", Variant(1234567.891), fkNumeric, "%2.2n", "", "1,234,567.89"},
        {"C", Variant(1234567.891), fkNumeric, "%2.2n", "", "1\u00A0234\u00A0567,89"},
        {"en_US", Variant(2.5), fkNumeric, "%2.2f", ",", "2,50"},
        {"ru_RU", Variant(1029.6), fkNumeric, "#,##0.00", "", "1\u00A0029,60"},
        {"en_US", Variant(1029.6), fkNumeric, "#,##0.##", "", "1,029.6"},
        {"ru_RU", Variant(-0.001), fkNumeric, "#,##0.0", "", "0,0"},
        {"ru_RU", Variant("12,5"), fkNumeric, "%2.1f", "", "12,5"},
        {"ru_RU", Variant("не число"), fkNumeric, "%2.1f", "", "не число"},
        {"ru_RU", Variant(true), fkBoolean, "Да,Нет", "", "Да"},
        {"ru_RU", Variant(0), fkBoolean, "Да,Нет", "", "Нет"},
        {"ru_RU", Variant(38718.5), fkDateTime, "dd.mm.yyyy hh:nn", "", "01.01.2006 12:00"},
        {"ru_RU", Variant(), fkNumeric, "%2.2f", "", ""},
    };
    for (const FormatCase& c : cases) {
        const platform::RegionalSettings rs = platform::RegionalSettings::FromLocale(QLocale(c.Locale));
        TrpFormat f;
        f.Kind = c.Kind;
        f.FormatStr = c.FormatStr;
        f.DecimalSeparator = c.DecimalSeparator;
        EXPECT_EQ(FormatValue(c.Value, f, rs), QString::fromUtf8(c.Expected))
            << c.Locale << " " << c.FormatStr << " " << c.Value.AsString();
    }
}

TEST(EngineTexts, KeysIgnoreCaseAndMissingKeysEchoThemselves) {
    TrpResources& t = TrpResources::Instance();
    EXPECT_EQ(t.Get("clErrors"), "Были обнаружены следующие ошибки:");
    EXPECT_EQ(t.Get("CLERRORS"), "Были обнаружены следующие ошибки:");
    EXPECT_EQ(t.Get(2), "Отмена");
    EXPECT_EQ(t.Get("noSuchKey"), "noSuchKey");
    const int before = t.Count();
    t.AddStrings("=== separator\ntestEmpty=\ntestKey=первое\r\ntestKey=второе=с равно\n");
    EXPECT_EQ(t.Count(), before + 1);
    EXPECT_EQ(t.Get("TestKey"), "второе=с равно");
    // A subsystem's block goes in once: a text replaced since is not put back.
    static const char block[] = "testOnce=из блока\n";
    t.AddStringsOnce(block);
    t.Add(QStringLiteral("testOnce"), QStringLiteral("заменено"));
    t.AddStringsOnce(block);
    EXPECT_EQ(t.Get("testOnce"), "заменено");
}

} // namespace
