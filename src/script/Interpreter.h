#pragma once
// Runs a ProgramTree against a host.

#include "script/Ast.h"

#include <cstdint>

namespace script {

class Interpreter {
public:
    // host may be null when only constant expressions are evaluated.
    Interpreter(const ProgramTree& tree, std::vector<Variant>& globals, Host* host, std::uint64_t stepLimit);

    void RunMain();
    // Missing arguments take the parameters' defaults; throws when a required one is missing.
    Variant Call(const Routine& routine, std::vector<Variant> args);
    Variant Eval(const Expr& expr);

private:
    enum class Flow { Normal, Exit, Break, Continue };
    Flow Exec(const Stmt* statement);
    Flow ExecStatement(const Stmt& statement);
    Flow ExecFor(const ForStmt& loop);
    void Store(const Target& target, const Variant& value);
    std::vector<Variant> EvalArgs(const CallExpr& call);
    Variant EvalCall(const CallExpr& call);
    Host& RequireHost() const;
    void Step();

    const ProgramTree& FTree;
    std::vector<Variant>& FGlobals;
    Host* FHost;
    std::vector<Variant>* FFrame = nullptr;
    std::uint64_t FSteps = 0;
    std::uint64_t FStepLimit;
};

// Evaluates an expression made of literals, operators and built-in calls.
Variant EvaluateConstant(const Expr& expr);

} // namespace script
