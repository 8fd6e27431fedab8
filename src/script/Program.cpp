#include "script/Interpreter.h"
#include "script/Lexer.h"
#include "script/Parser.h"

#include <algorithm>
#include <unordered_map>

namespace script {

class ProgramImpl {
public:
    ProgramTree Tree;
    std::vector<Variant> Globals;
    std::unordered_map<std::string, std::size_t> RoutineIndex;
    std::unordered_map<std::string, std::size_t> GlobalIndex;
    std::uint64_t StepLimit = Program::kDefaultStepLimit;
};

Program::Program(std::unique_ptr<ProgramImpl> impl) : FImpl(std::move(impl)) {}
Program::~Program() = default;
Program::Program(Program&&) noexcept = default;
Program& Program::operator=(Program&&) noexcept = default;

std::unique_ptr<Program> Program::Compile(const std::string& source, const Host& host, CompileError& error) {
    auto impl = std::make_unique<ProgramImpl>();
    try {
        impl->Tree = Parse(source, host);
    } catch (const CompileFailure& failure) {
        error = failure.Error;
        return nullptr;
    } catch (const RuntimeError& e) {
        // Evaluating constants is the only running the compiler does; it reports its own
        // positions, this is the last line of defence.
        error = CompileError{std::max(e.Line, 1), std::max(e.Column, 1), e.what()};
        return nullptr;
    }
    for (std::size_t i = 0; i < impl->Tree.Routines.size(); ++i)
        impl->RoutineIndex.emplace(NameKey(impl->Tree.Routines[i]->Name), i);
    for (std::size_t i = 0; i < impl->Tree.Globals.size(); ++i) {
        impl->GlobalIndex.emplace(NameKey(impl->Tree.Globals[i].Name), i);
        impl->Globals.push_back(impl->Tree.Globals[i].Initial);
    }
    return std::unique_ptr<Program>(new Program(std::move(impl)));
}

bool Program::HasMainStatements() const {
    return !FImpl->Tree.Main->Body.empty();
}

void Program::RunMain(Host& host) {
    Interpreter(FImpl->Tree, FImpl->Globals, &host, FImpl->StepLimit).RunMain();
}

bool Program::HasProcedure(const std::string& name) const {
    return FImpl->RoutineIndex.count(NameKey(name)) != 0;
}

Variant Program::Call(const std::string& name, const std::vector<Variant>& args, Host& host) {
    const auto it = FImpl->RoutineIndex.find(NameKey(name));
    if (it == FImpl->RoutineIndex.end())
        throw RuntimeError("Unknown procedure '" + name + "'");
    return Interpreter(FImpl->Tree, FImpl->Globals, &host, FImpl->StepLimit)
        .Call(*FImpl->Tree.Routines[it->second], args);
}

bool Program::HasGlobal(const std::string& name) const {
    return FImpl->GlobalIndex.count(NameKey(name)) != 0;
}

Variant Program::Global(const std::string& name) const {
    const auto it = FImpl->GlobalIndex.find(NameKey(name));
    return it == FImpl->GlobalIndex.end() ? Variant() : FImpl->Globals[it->second];
}

void Program::SetStepLimit(std::uint64_t steps) {
    FImpl->StepLimit = steps;
}

} // namespace script
