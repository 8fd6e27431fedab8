// Hostile or broken input: compiling and running never crash, hang or exhaust the stack.

#include "FakeHost.h"

#include <gtest/gtest.h>

#include <random>

using namespace script;
using namespace script::testing;

namespace {

std::string Repeat(const std::string& part, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += part;
    return text;
}

CompileError CompileFailure(const std::string& source) {
    FakeHost host;
    CompileError error;
    EXPECT_EQ(Program::Compile(source, host, error), nullptr);
    return error;
}

TEST(Robustness, DeepNestingIsACompileError) {
    EXPECT_EQ(
        CompileFailure("begin Log(" + Repeat("(", 100000) + "1" + Repeat(")", 100000) + ") end.").Message,
        "Nesting too deep");
    EXPECT_EQ(CompileFailure("begin Log(" + Repeat("not ", 100000) + "True) end.").Message,
              "Nesting too deep");
    EXPECT_EQ(CompileFailure("begin " + Repeat("if True then ", 100000) + "Log(1) end.").Message,
              "Nesting too deep");
    EXPECT_EQ(CompileFailure("begin " + Repeat("begin ", 100000) + Repeat("end ", 100000) + "end.").Message,
              "Nesting too deep");
    EXPECT_EQ(CompileFailure("begin Log(1" + Repeat(" + 1", 100000) + ") end.").Message,
              "Expression too complex");
    EXPECT_EQ(
        CompileFailure("begin Log(" + Repeat("Abs(", 100000) + "1" + Repeat(")", 100000) + ") end.").Message,
        "Nesting too deep");
}

TEST(Robustness, ModerateNestingWorks) {
    FakeHost host;
    auto program = MustCompile("begin Log(" + Repeat("(", 150) + "1" + Repeat(")", 150) +
                                   Repeat(" + 1", 300) + "); " + Repeat("if True then ", 150) + "Log(2) end.",
                               host);
    program->RunMain(host);
    EXPECT_EQ(host.Log, (std::vector<std::string>{"301", "2"}));
}

TEST(Robustness, EveryPrefixOfAScriptCompilesOrFailsCleanly) {
    const std::string source = "const K = 'ТБ'#13'x'; var n: Integer;\n"
                               "function F(a: Integer = 2): Integer; begin Result := a * 2 end;\n"
                               "begin\n"
                               "  { note } if Pos(K, <Формула>) = 0 then meType.Memo.Text := ''; (* x *)\n"
                               "  for n := 1 to F do Log(IIF(n mod 2 = 0, 'even', 'odd'), n / 3);\n"
                               "end.";
    FakeHost host;
    host.AddObject("meType", "Memo.Text", Variant("x"));
    host.SetVariable("Формула", Variant("Т"));
    for (std::size_t length = 0; length <= source.size(); ++length) {
        CompileError error;
        auto program = Program::Compile(source.substr(0, length), host, error);
        if (program)
            program->RunMain(host);
        else
            EXPECT_FALSE(error.Message.empty());
        EXPECT_EQ(program == nullptr, length != source.size()) << source.substr(0, length);
    }
}

TEST(Robustness, RandomBytesNeverCrash) {
    std::mt19937 random(12345);
    const std::string alphabet =
        "begin end. ;:=()<>'#${}*/+-,ifthen Pos meType.Memo.Text 0123 \n\xD0\xA2\xFF\x80";
    FakeHost host;
    host.AddObject("meType", "Memo.Text", Variant("x"));
    int compiled = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string source;
        const int length = int(random() % 80);
        for (int k = 0; k < length; ++k)
            source += alphabet[random() % alphabet.size()];
        if (i % 3 == 0)
            source = "begin " + source + " end.";
        CompileError error;
        if (auto program = Program::Compile(source, host, error)) {
            ++compiled;
            program->SetStepLimit(10000);
            try {
                program->RunMain(host);
            } catch (const RuntimeError&) {
            }
        } else {
            EXPECT_GE(error.Line, 1);
            EXPECT_GE(error.Column, 1);
        }
    }
    EXPECT_GT(compiled, 0);
}

} // namespace
