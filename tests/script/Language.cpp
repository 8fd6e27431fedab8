// Statements, routines, variables and names of the script language.

#include "FakeHost.h"

#include <gtest/gtest.h>

using namespace script;
using namespace script::testing;

namespace {

// Runs the main block and returns what it passed to Log.
std::vector<std::string> RunLog(const std::string& source) {
    FakeHost host;
    host.AddObject("meType", "Memo.Text", Variant("x"));
    MustCompile(source, host)->RunMain(host);
    return host.Log;
}

using Lines = std::vector<std::string>;

TEST(Language, LoopsBreakContinueAndExit) {
    EXPECT_EQ(RunLog("var i: Integer; begin for i := 1 to 3 do Log(i) end."), (Lines{"1", "2", "3"}));
    EXPECT_EQ(RunLog("var i: Integer; begin for i := 3 downto 1 do Log(i) end."), (Lines{"3", "2", "1"}));
    EXPECT_EQ(RunLog("var i: Integer; begin for i := 2 to 1 do Log(i); Log('after', i) end."),
              (Lines{"after 0"}));
    EXPECT_EQ(
        RunLog("var i: Integer; begin for i := 1 to 5 do begin if i = 2 then Continue; if i = 4 then Break; "
               "Log(i) end end."),
        (Lines{"1", "3"}));
    EXPECT_EQ(RunLog("var i: Integer; begin while i < 3 do i := i + 1; Log(i) end."), (Lines{"3"}));
    EXPECT_EQ(RunLog("var i: Integer; begin repeat i := i + 2 until i >= 5; Log(i) end."), (Lines{"6"}));
    EXPECT_EQ(RunLog("begin Log(1); Exit; Log(2) end."), (Lines{"1"}));
    // The counter runs on its own: changing it in the body does not derail the loop.
    EXPECT_EQ(RunLog("var i: Integer; begin for i := 1 to 3 do begin Log(i); i := 10 end end."),
              (Lines{"1", "2", "3"}));
    // Bounds at the ends of the integer range neither overflow nor loop for ever.
    EXPECT_EQ(
        RunLog("var i, n: Integer; begin for i := 9223372036854775806 to 9223372036854775807 do n := n + 1; "
               "Log(n) end."),
        (Lines{"2"}));
}

TEST(Language, RoutinesParametersAndResults) {
    EXPECT_EQ(RunLog("function Fact(n: Integer): Integer;\n"
                     "begin if n <= 1 then Result := 1 else Result := n * Fact(n - 1) end;\n"
                     "begin Log(Fact(20)) end."),
              (Lines{"2432902008176640000"}));
    // The function's own name on the left of := is its result.
    EXPECT_EQ(
        RunLog("function Half(n: Extended): Extended; begin Half := n / 2 end; begin Log(Half(5)) end."),
        (Lines{"2.5"}));
    EXPECT_EQ(RunLog("function Pad(s: String; width: Integer = 5; fill: String = '.'): String;\n"
                     "begin Result := s; while Length(Result) < width do Result := fill + Result end;\n"
                     "begin Log(Pad('ab')); Log(Pad('ab', 3)); Log(Pad('ab', 4, '-')) end."),
              (Lines{"...ab", ".ab", "--ab"}));
    // Value parameters: the callee's changes stay inside it.
    EXPECT_EQ(RunLog("var g: Integer; procedure P(a: Integer); begin a := a + 1; Log(a) end;\n"
                     "begin g := 1; P(g); Log(g) end."),
              (Lines{"2", "1"}));
    // Exit leaves the function with the result set so far.
    EXPECT_EQ(
        RunLog("function F: String; begin Result := 'early'; Exit; Result := 'late' end; begin Log(F) end."),
        (Lines{"early"}));
    // Locals start fresh on every call.
    EXPECT_EQ(RunLog("procedure P; var n: Integer; begin n := n + 1; Log(n) end; begin P; P end."),
              (Lines{"1", "1"}));
}

TEST(Language, DeclaredTypesConvertWhatIsStored) {
    EXPECT_EQ(RunLog("var s: String; i: Integer; f: Double; b: Boolean; v: Variant;\n"
                     "begin s := 5; i := '12'; f := 1; b := 'true'; v := 'x';\n"
                     "Log(s + s, i + 1, f / 2, b, v) end."),
              (Lines{"55 13 0.5 True x"}));
    EXPECT_EQ(RunLog("var i: Integer; s: String; v: Variant; begin Log(i, '[' + s + ']', VarIsNull(v)) end."),
              (Lines{"0 [] True"}));
    EXPECT_EQ(
        RunLog("function F(n: Integer): String; begin Result := n * 2 end; begin Log(F('21') + '!') end."),
        (Lines{"42!"}));
}

TEST(Language, NamesIgnoreCaseIncludingCyrillic) {
    EXPECT_EQ(
        RunLog("VAR Сумма: INTEGER; ёлка: String;\n"
               "PROCEDURE Добавить(Сколько: Integer); BEGIN СУММА := сумма + сколько END;\n"
               "BEGIN добавить(2); ДОБАВИТЬ(3); ЁЛКА := 'x'; log(Сумма, Ёлка); METYPE.memo.TEXT := 'y' END."),
        (Lines{"5 x", "set METYPE.MEMO.TEXT"}));
    EXPECT_TRUE(SameName("Формула", "ФОРМУЛА"));
    EXPECT_TRUE(SameName("ёж", "ЁЖ"));
    EXPECT_FALSE(SameName("ТБ", "ТВ"));
    EXPECT_FALSE(SameName("ТБ", "ТБ1"));
    EXPECT_FALSE(SameName("", "a"));
    EXPECT_TRUE(SameName("Мой_Var2", "мой_vAR2"));
    EXPECT_FALSE(SameName("\xD0", "\xD1"));
    EXPECT_EQ(NameKey("meType тб"), "METYPE ТБ");
}

TEST(Language, LocalNamesShadowOuterOnes) {
    EXPECT_EQ(RunLog("var x: String = 'global';\n"
                     "procedure P; var x: String; begin x := 'local'; Log(x) end;\n"
                     "procedure Pos(s: String); begin Log('my Pos', s) end;\n"
                     "begin P; Log(x); Pos('a') end."),
              (Lines{"local", "global", "my Pos a"}));
    // A host object's own value: read and written without a property path.
    FakeHost host;
    host.AddObject("Value", "", Variant(3));
    MustCompile("begin Value := Value * 2 end.", host)->RunMain(host);
    EXPECT_EQ(host.Property("Value", "").AsInteger(), 6);
}

TEST(Language, GlobalsAndConstantsAreReadableByName) {
    FakeHost host;
    auto program = MustCompile("const Rate = 1.5; Name = 'Т' + 'Б'; Big = 1 shl 40;\n"
                               "var Counter: Integer = 10; Text: String;\n"
                               "begin Counter := Counter + 1; Text := Name end.",
                               host);
    EXPECT_TRUE(program->HasGlobal("rate"));
    EXPECT_FALSE(program->HasGlobal("Missing"));
    EXPECT_TRUE(program->Global("Missing").IsNull());
    EXPECT_EQ(program->Global("Counter").AsInteger(), 10);
    EXPECT_EQ(program->Global("BIG").AsInteger(), std::int64_t(1) << 40);
    program->RunMain(host);
    program->RunMain(host);
    EXPECT_EQ(program->Global("counter").AsInteger(), 12);
    EXPECT_EQ(program->Global("Text").AsString(), "ТБ");
    EXPECT_EQ(program->Global("Rate").AsString(), "1.5");
}

TEST(Language, AngleBracketsAreVariablesOnlyWhereAnOperandIsExpected) {
    FakeHost host;
    host.SetVariable("a", Variant(1));
    host.SetVariable("b", Variant(2));
    host.SetVariable("x then y := z", Variant("odd name"));
    // After an operand '<' compares, so ordinary Pascal comparisons keep working.
    auto program = MustCompile("var a, b: Integer; r: Variant;\n"
                               "begin a := 1; b := 2;\n"
                               "  if a<b then Log('less');\n"
                               "  if a<>b then Log('differ');\n"
                               "  if a<=b then Log('not greater');\n"
                               "  if (<a>)<(<b>) then Log('vars less');\n"
                               "  r := <x then y := z>; Log(r)\n"
                               "end.",
                               host);
    program->RunMain(host);
    EXPECT_EQ(host.Log, (Lines{"less", "differ", "not greater", "vars less", "odd name"}));
}

TEST(Language, ProgramsAreIndependent) {
    FakeHost host;
    auto first = MustCompile("var n: Integer; begin n := n + 1 end.", host);
    auto second = MustCompile("var n: Integer; begin n := n + 5 end.", host);
    first->RunMain(host);
    second->RunMain(host);
    Program moved = std::move(*first);
    moved.RunMain(host);
    EXPECT_EQ(moved.Global("n").AsInteger(), 2);
    EXPECT_EQ(second->Global("n").AsInteger(), 5);
}

} // namespace
