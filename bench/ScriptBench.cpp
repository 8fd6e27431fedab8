// The script interpreter on the paths the report takes: compiling and running the calculation
// sheet's script before every preparation, and evaluating cached expression functions.

#include "script/Script.h"

#include <benchmark/benchmark.h>

#include <map>

using script::Variant;

namespace {

// A report stand-in with the sheet's nine value cells and its formula variable.
class SheetHost : public script::Host {
public:
    SheetHost() {
        for (const char* memo : kMemos)
            FTexts[script::NameKey(memo)] = "1,0";
    }
    bool HasObject(const std::string& name) const override {
        return FTexts.count(script::NameKey(name)) != 0;
    }
    bool GetProperty(const std::string& object, const std::vector<std::string>&, Variant& value,
                     std::string&) override {
        value = Variant(FTexts.at(script::NameKey(object)));
        return true;
    }
    bool SetProperty(const std::string& object, const std::vector<std::string>&, const Variant& value,
                     std::string&) override {
        FTexts.at(script::NameKey(object)) = value.AsString();
        return true;
    }
    Variant GetVariable(const std::string&) override { return Variant(FFormula); }
    bool HasFunction(const std::string& name) const override { return script::SameName(name, "Get"); }
    Variant CallFunction(const std::string&, const std::vector<Variant>&) override {
        return Variant(FFormula);
    }

    static constexpr const char* kMemos[] = {"meType",  "meHome",   "meClass", "mePeople", "meAge",
                                             "mePower", "mePeriod", "meTime",  "meDop"};

private:
    std::map<std::string, std::string> FTexts;
    std::string FFormula = "Т = ТБ*КТ*КБМ*КО*КН";
};

std::string SheetScript() {
    static const char* const codes[] = {"ТБ", "КТ", "КБМ", "КО", "КВС", "КМ", "КС", "КП", "КН"};
    std::string text = "begin\n";
    for (int i = 0; i < 9; ++i)
        text += std::string("  if Pos( '") + codes[i] + "', <Формула>) = 0 then " + SheetHost::kMemos[i] +
                ".Memo.Text := '';\n";
    return text + "end.";
}

std::unique_ptr<script::Program> Compile(const std::string& source, const script::Host& host) {
    script::CompileError error;
    auto program = script::Program::Compile(source, host, error);
    if (!program)
        throw std::runtime_error(error.Message);
    return program;
}

std::string ExpressionFunction(const std::string& expression) {
    return "function rpf1: Variant; begin Result := " + expression + " end; begin end.";
}

void BM_CompileSheetScript(benchmark::State& state) {
    SheetHost host;
    const std::string source = SheetScript();
    for (auto _ : state)
        benchmark::DoNotOptimize(Compile(source, host));
}
BENCHMARK(BM_CompileSheetScript);

void BM_RunSheetScript(benchmark::State& state) {
    SheetHost host;
    auto program = Compile(SheetScript(), host);
    for (auto _ : state)
        program->RunMain(host);
}
BENCHMARK(BM_RunSheetScript);

// What one preparation of the sheet costs in the interpreter.
void BM_CompileAndRunSheetScript(benchmark::State& state) {
    SheetHost host;
    const std::string source = SheetScript();
    for (auto _ : state)
        Compile(source, host)->RunMain(host);
}
BENCHMARK(BM_CompileAndRunSheetScript);

void BM_CachedExpression(benchmark::State& state, const char* expression) {
    SheetHost host;
    auto program = Compile(ExpressionFunction(expression), host);
    for (auto _ : state)
        benchmark::DoNotOptimize(program->Call("rpf1", {}, host));
}
BENCHMARK_CAPTURE(BM_CachedExpression, variable, "<Формула>");
BENCHMARK_CAPTURE(BM_CachedExpression, quoted_text, "'2 025,00'");
BENCHMARK_CAPTURE(BM_CachedExpression, iif, "IIF(Pos('КТ', <Формула>) > 0, 'есть', 'нет')");
BENCHMARK_CAPTURE(BM_CachedExpression, arithmetic, "(2025 * 2 * 1.5 + 7) / 3 - 1 div 1");

void BM_CompileExpression(benchmark::State& state) {
    SheetHost host;
    const std::string source = ExpressionFunction("IIF(Pos('КТ', <Формула>) > 0, 'есть', 'нет')");
    for (auto _ : state)
        benchmark::DoNotOptimize(Compile(source, host));
}
BENCHMARK(BM_CompileExpression);

// Statements per second of a plain loop: the cost of one step of the interpreter.
void BM_LoopStatements(benchmark::State& state) {
    SheetHost host;
    auto program =
        Compile("var i, s: Integer; begin s := 0; for i := 1 to 10000 do s := s + i mod 7 end.", host);
    for (auto _ : state)
        program->RunMain(host);
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_LoopStatements);

} // namespace

BENCHMARK_MAIN();
