// Errors while running: a clear message, the failing statement's position, and never a crash or hang.

#include "FakeHost.h"

#include <gtest/gtest.h>

#include <pthread.h>

using namespace script;
using namespace script::testing;

namespace {

struct Case {
    const char* Source;
    const char* Message;
    int Line;
    int Column;
};

class RuntimeErrorTest : public ::testing::TestWithParam<Case> {};

TEST_P(RuntimeErrorTest, RaisesWithPosition) {
    FakeHost host;
    host.AddObject("meType", "Memo.Text", Variant("x"));
    auto program = MustCompile(GetParam().Source, host);
    program->SetStepLimit(100000);
    try {
        program->RunMain(host);
        ADD_FAILURE() << "no error from " << GetParam().Source;
    } catch (const RuntimeError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().Message) << GetParam().Source;
        EXPECT_EQ(e.Line, GetParam().Line) << GetParam().Source;
        EXPECT_EQ(e.Column, GetParam().Column) << GetParam().Source;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RuntimeErrorTest,
    ::testing::Values(
        Case{"var x: Integer; begin x := 1 div 0 end.", "Division by zero", 1, 23},
        Case{"begin\n  meType.Memo.Text := 1 / 0;\nend.", "Division by zero", 2, 3},
        Case{"begin\n  meType.Memo.Text := 5 mod (2 - 2)\nend.", "Division by zero", 2, 3},
        Case{"var x: Integer; begin x := 9223372036854775807 + 1 end.", "Integer overflow", 1, 23},
        Case{"var x: Integer; begin x := -9223372036854775807 - 2 end.", "Integer overflow", 1, 23},
        Case{"var x: Integer; begin x := StrToInt('abc') end.", "'abc' is not a valid integer value", 1, 23},
        Case{"var x: Integer; begin x := 'abc' end.", "Could not convert 'abc' (String) to Integer", 1, 23},
        Case{"var x: Variant; begin x := 'abc' - 1 end.",
             "Operator '-' cannot be applied to String and Integer", 1, 23},
        Case{"var x: Variant; begin x := True + 1 end.",
             "Operator '+' cannot be applied to Boolean and Integer", 1, 23},
        Case{"begin if 'maybe' then Log(1) end.", "Could not convert 'maybe' (String) to Boolean", 1, 7},
        Case{"begin meType.Color := 1 end.", "Unknown property 'COLOR' of meType", 1, 7},
        Case{"begin Log(meType.Memo.Lines) end.", "Unknown property 'MEMO.LINES' of meType", 1, 7},
        Case{"begin Log(<Нет такой>) end.", "Unknown variable Нет такой", 1, 7},
        Case{"var x: Integer;\nbegin\n  while True do\n    x := x + 1;\nend.",
             "Execution limit exceeded (endless loop?)", 3, 3},
        Case{"begin\n  repeat until False\nend.", "Execution limit exceeded (endless loop?)", 2, 3},
        Case{"procedure P;\nbegin\n  P\nend;\nbegin P end.", "Stack overflow", 3, 3},
        Case{"function F(n: Integer): Integer;\nbegin\n  Result := F(n + 1) + 1\nend;\nbegin Log(F(0)) end.",
             "Stack overflow", 3, 3},
        Case{"function F(n: Integer): Integer; begin if n > 0 then Result := F(n - 1) div 0 end;\n"
             "begin Log(F(3)) end.",
             "Division by zero", 1, 54}));

TEST(RuntimeErrors, CallChecksNameAndArguments) {
    FakeHost host;
    auto program =
        MustCompile("procedure P(a: Integer; b: String = 'x'); begin Log(a, b) end; begin end.", host);
    EXPECT_THROW(program->Call("Missing", {}, host), RuntimeError);
    EXPECT_THROW(program->Call("P", {}, host), RuntimeError);
    EXPECT_THROW(program->Call("P", {Variant(1), Variant(2), Variant(3)}, host), RuntimeError);
    program->Call("p", {Variant(1)}, host);
    EXPECT_EQ(host.Log, std::vector<std::string>{"1 x"});
}

TEST(RuntimeErrors, ProgramStaysUsableAfterAnError) {
    FakeHost host;
    auto program =
        MustCompile("function F(n: Integer): Integer; begin Result := 10 div n end; begin end.", host);
    EXPECT_THROW(program->Call("F", {Variant(0)}, host), RuntimeError);
    EXPECT_EQ(program->Call("F", {Variant(5)}, host).AsInteger(), 2);
}

TEST(RuntimeErrors, HostExceptionsPassThrough) {
    struct Throwing : FakeHost {
        Variant CallFunction(const std::string&, const std::vector<Variant>&) override {
            throw std::logic_error("host failure");
        }
    } host;
    auto program = MustCompile("begin Log(1) end.", host);
    EXPECT_THROW(program->RunMain(host), std::logic_error);
    // The thread's stack bookkeeping was unwound: a deep but legal recursion still runs.
    auto deep = MustCompile(
        "function F(n: Integer): Integer; begin if n = 0 then Result := 0 else Result := F(n - 1) + 1 "
        "end; begin end.",
        host);
    EXPECT_EQ(deep->Call("F", {Variant(500)}, host).AsInteger(), 500);
}

TEST(RuntimeErrors, RecursionOnASmallThreadStackStopsCleanly) {
    // Reports may run scripts on worker threads whose stacks are far smaller than the main one.
    struct Job {
        std::string Outcome;
        static void* Run(void* self) {
            auto& job = *static_cast<Job*>(self);
            FakeHost host;
            auto program = MustCompile("function F(n: Integer): Integer;\n"
                                       "begin if n >= 0 then Result := F(n + 1) + (1 + (2 * (3 - n))) end;\n"
                                       "begin Log(F(0)) end.",
                                       host);
            try {
                program->RunMain(host);
                job.Outcome = "no error";
            } catch (const RuntimeError& e) {
                job.Outcome = e.what();
            }
            return nullptr;
        }
    } job;
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 1024 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, &Job::Run, &job), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_EQ(job.Outcome, "Stack overflow");
}

} // namespace
