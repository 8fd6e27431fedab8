// Expressions as the report evaluates them, each with its expected value and kind.

#include "FakeHost.h"

#include <gtest/gtest.h>

using namespace script;
using namespace script::testing;

namespace {

struct Case {
    const char* Expression;
    const char* Text; // AsString of the result
    const char* Type; // Null, Boolean, Integer, Float, String
};

std::string KindOf(const Variant& v) {
    if (v.IsNull())
        return "Null";
    if (v.IsBool())
        return "Boolean";
    if (v.IsInteger())
        return "Integer";
    if (v.IsFloat())
        return "Float";
    return "String";
}

class ExpressionTest : public ::testing::TestWithParam<Case> {};

TEST_P(ExpressionTest, Evaluates) {
    FakeHost host;
    host.SetVariable("Формула", Variant("Т = ТБ*КТ"));
    host.SetVariable("Имя с пробелами.и точкой", Variant(std::int64_t(7)));
    host.SetVariable("A", Variant(std::int64_t(1)));
    host.SetVariable("B", Variant(std::int64_t(2)));
    host.AddObject("Value", "", Variant(std::int64_t(40)));
    const Variant result = Evaluate(GetParam().Expression, host);
    EXPECT_EQ(result.AsString(), GetParam().Text) << GetParam().Expression;
    EXPECT_EQ(KindOf(result), GetParam().Type) << GetParam().Expression;
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, ExpressionTest,
                         ::testing::Values(Case{"1 + 2", "3", "Integer"}, Case{"2 + 3 * 4", "14", "Integer"},
                                           Case{"(2 + 3) * 4", "20", "Integer"},
                                           Case{"2 * 3 - 10", "-4", "Integer"},
                                           Case{"7 div 2", "3", "Integer"}, Case{"-7 div 2", "-3", "Integer"},
                                           Case{"7 mod 3", "1", "Integer"}, Case{"-7 mod 2", "-1", "Integer"},
                                           Case{"7 / 2", "3.5", "Float"},
                                           Case{"1 / 3", "0.333333333333333333", "Float"},
                                           Case{"0.1 + 0.2", "0.3", "Float"}, Case{"2.5 * 2", "5", "Float"},
                                           Case{"1e3", "1000", "Float"}, Case{"1.5E-7", "1.5E-7", "Float"},
                                           Case{"$FF", "255", "Integer"}, Case{"- 2.5", "-2.5", "Float"},
                                           Case{"-(-3)", "3", "Integer"}, Case{"+4", "4", "Integer"},
                                           Case{"9223372036854775807", "9223372036854775807", "Integer"},
                                           Case{"6 and 3", "2", "Integer"}, Case{"6 or 3", "7", "Integer"},
                                           Case{"6 xor 3", "5", "Integer"}, Case{"1 shl 4", "16", "Integer"},
                                           Case{"256 shr 4", "16", "Integer"}, Case{"not 0", "-1", "Integer"},
                                           Case{"Value + 2", "42", "Integer"}));

INSTANTIATE_TEST_SUITE_P(
    Strings, ExpressionTest,
    ::testing::Values(
        Case{"'a' + 'b'", "ab", "String"}, Case{"'Итого: ' + 5", "Итого: 5", "String"},
        Case{"'1' + 2", "3", "Integer"}, Case{"'It''s'", "It's", "String"},
        Case{"'a'#13#10'b'", "a\r\nb", "String"}, Case{"#$41#66", "AB", "String"},
        Case{"#1058'Б'", "ТБ", "String"}, Case{"''", "", "String"},
        Case{"Pos('ТБ', 'Т = ТБ*КТ')", "5", "Integer"}, Case{"Pos('КВС', <Формула>)", "0", "Integer"},
        Case{"Pos('', 'abc')", "0", "Integer"}, Case{"Copy('Привет', 2, 3)", "рив", "String"},
        Case{"Copy('Привет', 0, 2)", "Пр", "String"}, Case{"Copy('Привет', 5, 100)", "ет", "String"},
        Case{"Copy('Привет', 4)", "вет", "String"}, Case{"Length('Привет')", "6", "Integer"},
        Case{"UpperCase('тб ё abc')", "ТБ Ё ABC", "String"}, Case{"LowerCase('ЁЖ X')", "ёж x", "String"},
        Case{"Trim('  x y  ')", "x y", "String"}, Case{"TrimLeft('  x ')", "x ", "String"},
        Case{"IntToStr(42) + 'x'", "42x", "String"}, Case{"StrToInt(' 12 ')", "12", "Integer"},
        Case{"StrToIntDef('x', 7)", "7", "Integer"}, Case{"StrToFloat('1,5') * 2", "3", "Float"},
        Case{"FloatToStr(2.50)", "2.5", "String"}, Case{"Round(2.5)", "2", "Integer"},
        Case{"Round(3.5)", "4", "Integer"}, Case{"Trunc(-2.7)", "-2", "Integer"},
        Case{"Abs(-5)", "5", "Integer"}, Case{"Abs(-0.5)", "0.5", "Float"}, Case{"Chr(1046)", "Ж", "String"},
        Case{"Ord('Ж')", "1046", "Integer"}, Case{"<Формула>", "Т = ТБ*КТ", "String"},
        Case{"<Имя с пробелами.и точкой> * 2", "14", "Integer"},
        Case{"Get('Формула')", "Т = ТБ*КТ", "String"}));

INSTANTIATE_TEST_SUITE_P(
    Logic, ExpressionTest,
    ::testing::Values(
        Case{"1 < 2", "True", "Boolean"}, Case{"2 <= 1", "False", "Boolean"},
        Case{"'abc' < 'abd'", "True", "Boolean"}, Case{"'a' <> 'A'", "True", "Boolean"},
        Case{"'10' = 10", "True", "Boolean"}, Case{"'9' < 10", "True", "Boolean"},
        Case{"'abc' = 10", "False", "Boolean"}, Case{"2.0 = 2", "True", "Boolean"},
        Case{"Null = ''", "True", "Boolean"}, Case{"Null = Nil", "True", "Boolean"},
        Case{"VarIsNull(Null)", "True", "Boolean"}, Case{"Null + 1", "1", "Integer"},
        Case{"Null", "", "Null"}, Case{"not (1 > 2)", "True", "Boolean"},
        Case{"True and False", "False", "Boolean"}, Case{"true or false", "True", "Boolean"},
        Case{"True xor True", "False", "Boolean"}, Case{"(1 = 1) or (1 div 0 = 1)", "True", "Boolean"},
        Case{"False and (1 div 0 = 1)", "False", "Boolean"}, Case{"IIF(1 = 1, 'yes', 'no')", "yes", "String"},
        Case{"IIF(False, 1 div 0, 2)", "2", "Integer"}, Case{"<A> < <B>", "True", "Boolean"},
        Case{"<A><<B>", "True", "Boolean"}, Case{"Pos( 'ТБ', <Формула>) = 0", "False", "Boolean"}));

TEST(Expressions, HostIifWinsOverTheBuiltIn) {
    FakeHost host;
    host.ProvidesIif = true;
    EXPECT_EQ(Evaluate("IIF(True, 1, 2)", host).AsString(), "host IIF");
}

} // namespace
