// The calculation sheet's script: value cells of coefficients missing from the formula are emptied.

#include "FakeHost.h"

#include <gtest/gtest.h>

#include <set>

using namespace script;
using namespace script::testing;

namespace {

struct Row {
    const char* Code;
    const char* Memo;
};
const Row kRows[] = {{"ТБ", "meType"},   {"КТ", "meHome"}, {"КБМ", "meClass"},
                     {"КО", "mePeople"}, {"КВС", "meAge"}, {"КМ", "mePower"},
                     {"КС", "mePeriod"}, {"КП", "meTime"}, {"КН", "meDop"}};

std::string SheetScript() {
    std::string text = "begin\n";
    for (const Row& row : kRows)
        text += std::string("  if Pos( '") + row.Code + "', <Формула>) = 0 then " + row.Memo +
                ".Memo.Text := '';\n";
    return text + "end.";
}

FakeHost SheetHost(const std::string& formula) {
    FakeHost host;
    for (const Row& row : kRows)
        host.AddObject(row.Memo, "Memo.Text", Variant(std::string("[") + row.Code + "]"));
    host.SetVariable("Формула", Variant(formula));
    return host;
}

struct Case {
    const char* Formula;
    std::set<std::string> Emptied;
};

class SheetScriptTest : public ::testing::TestWithParam<Case> {};

TEST_P(SheetScriptTest, EmptiesTheCellsOfAbsentCoefficients) {
    FakeHost host = SheetHost(GetParam().Formula);
    auto program = MustCompile(SheetScript(), host);
    ASSERT_TRUE(program->HasMainStatements());
    program->RunMain(host);
    for (const Row& row : kRows) {
        const bool emptied = GetParam().Emptied.count(row.Memo) != 0;
        EXPECT_EQ(host.Property(row.Memo, "Memo.Text").AsString(),
                  emptied ? "" : std::string("[") + row.Code + "]")
            << row.Memo << " for " << GetParam().Formula;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, SheetScriptTest,
    ::testing::Values(
        Case{"Т = ТБ*КТ*КБМ*КО*КН", {"meAge", "mePower", "mePeriod", "meTime"}},
        Case{"Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН", {"meTime"}}, Case{"Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КП*КН", {}},
        Case{"Т = ТБ*КП*КМ*КН", {"meHome", "meClass", "mePeople", "meAge", "mePeriod"}},
        Case{"Т = 0",
             {"meType", "meHome", "meClass", "mePeople", "meAge", "mePower", "mePeriod", "meTime", "meDop"}},
        Case{
            "",
            {"meType", "meHome", "meClass", "mePeople", "meAge", "mePower", "mePeriod", "meTime", "meDop"}}));

TEST(SheetScript, OnlyTheEmptiedCellsAreWritten) {
    FakeHost host = SheetHost("Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН");
    MustCompile(SheetScript(), host)->RunMain(host);
    EXPECT_EQ(host.Log, std::vector<std::string>{"set meTime.MEMO.TEXT"});
}

TEST(SheetScript, RunsAgainWithADifferentFormula) {
    FakeHost host = SheetHost("Т = ТБ*КТ*КБМ*КО*КН");
    auto program = MustCompile(SheetScript(), host);
    program->RunMain(host);
    EXPECT_EQ(host.Property("meAge", "Memo.Text").AsString(), "");
    host = SheetHost("Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН");
    program->RunMain(host);
    EXPECT_EQ(host.Property("meAge", "Memo.Text").AsString(), "[КВС]");
    EXPECT_EQ(host.Property("meTime", "Memo.Text").AsString(), "");
}

TEST(SheetScript, EmptyMainBlockHasNoStatements) {
    FakeHost host;
    EXPECT_FALSE(MustCompile("begin\n\nend.", host)->HasMainStatements());
    EXPECT_FALSE(MustCompile("begin ; ; end.", host)->HasMainStatements());
    EXPECT_TRUE(MustCompile("begin Log('x') end.", host)->HasMainStatements());
}

TEST(SheetScript, UnknownCellDoesNotCompile) {
    FakeHost host = SheetHost("Т = 0");
    host.Objects.erase(NameKey("meDop"));
    CompileError error;
    EXPECT_EQ(Program::Compile(SheetScript(), host, error), nullptr);
    EXPECT_EQ(error.Line, 10);
    EXPECT_EQ(error.Column, 37);
    EXPECT_EQ(error.Message, "Unknown identifier 'meDop'");
}

TEST(SheetScript, ExpressionFunctionsOfTheReport) {
    FakeHost host = SheetHost("Т = ТБ*КТ");
    host.SetVariable("Сумма", Variant(std::int64_t(6075)));
    EXPECT_EQ(Evaluate("<Формула>", host).AsString(), "Т = ТБ*КТ");
    EXPECT_EQ(Evaluate("Get('сумма') + 1", host).AsInteger(), 6076);
    EXPECT_EQ(Evaluate("IIF(Pos('КТ', <Формула>) > 0, 'yes', 'no')", host).AsString(), "yes");
    EXPECT_EQ(Evaluate("meType.Memo.Text + '!'", host).AsString(), "[ТБ]!");
}

TEST(SheetScript, ScriptEventsTakeTheSender) {
    FakeHost host = SheetHost("Т = 0");
    auto program = MustCompile("procedure meTypeOnBeforePrint(Sender: TObject);\n"
                               "begin\n"
                               "  Log('before', Sender);\n"
                               "  Set('Last', Sender)\n"
                               "end;\n"
                               "begin end.",
                               host);
    EXPECT_TRUE(program->HasProcedure("METYPEONBEFOREPRINT"));
    EXPECT_FALSE(program->HasProcedure("meHomeOnBeforePrint"));
    program->Call("meTypeOnBeforePrint", {Variant("meType")}, host);
    EXPECT_EQ(host.Log, std::vector<std::string>{"before meType"});
    EXPECT_EQ(host.GetVariable("last").AsString(), "meType");
}

} // namespace
