// Scripts outside the language do not compile, and the error says where and why.

#include "FakeHost.h"

#include <gtest/gtest.h>

using namespace script;
using namespace script::testing;

namespace {

struct Case {
    const char* Source;
    int Line;
    int Column;
    const char* Message;
};

class CompileErrorTest : public ::testing::TestWithParam<Case> {};

TEST_P(CompileErrorTest, ReportsPositionAndMessage) {
    FakeHost host;
    host.AddObject("meType", "Memo.Text", Variant("x"));
    CompileError error;
    EXPECT_EQ(Program::Compile(GetParam().Source, host, error), nullptr) << GetParam().Source;
    EXPECT_EQ(error.Message, GetParam().Message) << GetParam().Source;
    EXPECT_EQ(error.Line, GetParam().Line) << GetParam().Source;
    EXPECT_EQ(error.Column, GetParam().Column) << GetParam().Source;
}

INSTANTIATE_TEST_SUITE_P(
    Names, CompileErrorTest,
    ::testing::Values(
        Case{"begin meFoo.Memo.Text := ''; end.", 1, 7, "Unknown identifier 'meFoo'"},
        Case{"begin\n  if Foo(1) = 0 then ;\nend.", 2, 6, "Unknown identifier 'Foo'"},
        Case{"begin\n  if Pos('ТБ', <Формула>) = 0 then meTyp.Memo.Text := '';\nend.", 2, 36,
             "Unknown identifier 'meTyp'"},
        Case{"procedure P; var x: Integer; begin end;\nbegin x := 1 end.", 2, 7, "Unknown identifier 'x'"},
        Case{"begin Result := 1 end.", 1, 7, "Unknown identifier 'Result'"},
        Case{"var x: Integer; var X: String; begin end.", 1, 21, "Identifier redeclared: 'X'"},
        Case{"procedure P(a, A: Integer); begin end; begin end.", 1, 16, "Identifier redeclared: 'A'"},
        Case{"const C = 1; begin C := 2 end.", 1, 20, "Cannot assign to constant 'C'"},
        Case{"var x: Foo; begin end.", 1, 8, "Unknown type 'Foo'"},
        Case{"var v: Variant; procedure P; begin end; begin v := P end.", 1, 52,
             "Procedure 'P' does not return a value"},
        Case{"var v: Variant; begin v.Text := 1 end.", 1, 24, "'v' has no properties"},
        Case{"begin Pos('a') end.", 1, 7, "Not enough actual parameters for 'Pos'"},
        Case{"procedure P(a: Integer); begin end; begin P(1, 2) end.", 1, 43,
             "Too many actual parameters for 'P'"},
        Case{"function F(a: Integer = 1; b: Integer): Integer; begin end; begin end.", 1, 28,
             "Default value required for 'b'"},
        Case{"procedure P(var a: Integer); begin end; begin end.", 1, 13,
             "Variable parameters are not supported"},
        Case{"begin Break end.", 1, 7, "'Break' outside of a loop"}));

INSTANTIATE_TEST_SUITE_P(
    Syntax, CompileErrorTest,
    ::testing::Values(
        Case{"", 1, 1, "'begin' expected but end of text found"},
        Case{"begin\n  meType.Memo.Text := ''\n", 3, 1, "'end' expected but end of text found"},
        Case{"begin end", 1, 10, "'.' expected but end of text found"},
        Case{"begin end. garbage", 1, 12, "Unexpected text after 'end.'"},
        Case{"begin meType.Memo.Text := 'abc; end.", 1, 27, "Unterminated string"},
        Case{"begin meType.Memo.Text := 'abc\n'; end.", 1, 27, "Unterminated string"},
        Case{"begin @ end.", 1, 7, "Illegal character '@'"},
        Case{"begin\n { comment\nend.", 2, 2, "Unterminated comment"},
        Case{"begin (* comment end.", 1, 7, "Unterminated comment"},
        Case{"begin meType.Memo.Text := <Формула; end.", 1, 27, "'>' expected after the variable name"},
        Case{"begin meType.Memo.Text := 99999999999999999999 end.", 1, 27,
             "Integer constant too large: 99999999999999999999"},
        Case{"begin meType.Memo.Text := #55296 end.", 1, 27, "Invalid character code"},
        Case{"begin meType.Memo.Text := 'a' 'b' end.", 1, 31, "';' expected but string 'b' found"},
        Case{"begin meType.Memo.Text := 1 + end.", 1, 31, "Expression expected but 'end' found"},
        Case{"begin meType.Memo.Text = 1 end.", 1, 24, "':=' expected but '=' found"},
        Case{"begin meType.Memo.Text := 1 meType.Memo.Text := 2 end.", 1, 29,
             "';' expected but identifier 'meType' found"},
        Case{"begin if 1 = 1 meType.Memo.Text := '' end.", 1, 16,
             "'then' expected but identifier 'meType' found"},
        Case{"begin meType.Memo.Text := 1 = 2 = 3 end.", 1, 33,
             "Comparisons cannot be chained; use parentheses"},
        Case{"begin case 1 of end; end.", 1, 7, "'CASE' is not supported by this script language"},
        Case{"uses Foo; begin end.", 1, 1, "'USES' is not supported by this script language"},
        Case{"begin then end.", 1, 7, "Statement expected but 'then' found"},
        Case{"const C = 1 div 0; begin end.", 1, 13, "Division by zero"},
        Case{"const C = <Формула>; begin end.", 1, 11, "Constant expression expected"},
        Case{"begin meType.Memo.Text := Get('x'; end.", 1, 34, "')' expected but ';' found"},
        Case{"var x: Integer = 'abc'; begin end.", 1, 5, "Could not convert 'abc' (String) to Integer"},
        Case{"function F(n: Integer = #2): Integer; begin end; begin end.", 1, 12,
             "Could not convert '\x2' (String) to Integer"}));

TEST(CompileErrors, GoodScriptsCompile) {
    // Every construct of the language once, so a parser regression shows up here first.
    FakeHost host;
    host.AddObject("meType", "Memo.Text", Variant("x"));
    const char* source = R"(program Sheet;
const
  Limit = 3;
  Greeting: String = 'Hi' + '!';
var
  Count, Total: Integer;
  Text: String = 'start';
  Flag: Boolean;

function Twice(Value: Integer; Extra: Integer = 0): Integer;
var Local: Integer;
begin
  Local := Value * 2;
  Result := Local + Extra;
end;

procedure Note(const Sender: TObject);
begin
  Log(Sender);
  if Sender = '' then Exit;
end;

begin
  for Count := 1 to Limit do Total := Total + Twice(Count);
  for Count := Limit downto 1 do begin if Count = 2 then Continue; Total := Total + 1 end;
  while Total > 100 do Break;
  repeat Total := Total - 1 until Total < 10;
  Flag := not (Total > 0) or (Text <> '');
  if Flag then Note(Greeting) else Note('');
  meType.Memo.Text := IntToStr(Total) // comment
  { block comment } (* another *)
end.)";
    CompileError error;
    EXPECT_NE(Program::Compile(source, host, error), nullptr)
        << error.Line << ":" << error.Column << " " << error.Message;
}

} // namespace
