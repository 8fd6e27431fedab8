#include "script/Interpreter.h"
#include "script/Builtins.h"

#include <algorithm>
#include <pthread.h>

namespace script {

namespace {

// Every script call checks how much of the thread's stack is left, so deep recursion (also when
// it passes through the host: a script function reading a variable whose expression calls it
// again) ends in a RuntimeError instead of a crash. Sanitizer builds need a larger reserve.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::uintptr_t kStackReserve = 2 * 1024 * 1024;
#else
constexpr std::uintptr_t kStackReserve = 512 * 1024;
#endif
// Used when the thread's stack bounds cannot be read: stack used since the outermost script entry.
constexpr std::uintptr_t kFallbackStackBytes = 1024 * 1024;
constexpr int kMaxCallDepth = 10000;

struct StackWatch {
    bool BoundsRead = false;
    std::uintptr_t Low = 0; // lowest address of the thread's stack, 0 when unknown
    std::uintptr_t Reserve = kStackReserve;
    std::uintptr_t Base = 0;
    int Depth = 0;
};
thread_local StackWatch tStack;

std::uintptr_t StackPosition() {
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

void ReadStackBounds() {
    tStack.BoundsRead = true;
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return;
    void* address = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attributes, &address, &size) == 0) {
        tStack.Low = reinterpret_cast<std::uintptr_t>(address);
        tStack.Reserve = std::min<std::uintptr_t>(kStackReserve, size / 4); // threads with small stacks
    }
    pthread_attr_destroy(&attributes);
}

bool StackExhausted() {
    const std::uintptr_t here = StackPosition();
    if (tStack.Low != 0)
        return here < tStack.Low + tStack.Reserve;
    const std::uintptr_t used = tStack.Base > here ? tStack.Base - here : here - tStack.Base;
    return used > kFallbackStackBytes;
}

class CallGuard {
public:
    CallGuard() {
        if (!tStack.BoundsRead)
            ReadStackBounds();
        const std::uintptr_t here = StackPosition();
        if (tStack.Depth == 0)
            tStack.Base = here;
        if (StackExhausted() || tStack.Depth >= kMaxCallDepth)
            throw RuntimeError("Stack overflow");
        ++tStack.Depth;
    }
    ~CallGuard() { --tStack.Depth; }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;
};

} // namespace

Variant Coerce(TypeKind type, const Variant& value) {
    switch (type) {
    case TypeKind::Integer:
        return value.IsInteger() ? value : Variant(value.AsInteger());
    case TypeKind::Float:
        return value.IsFloat() ? value : Variant(value.AsFloat());
    case TypeKind::String:
        return value.IsString() ? value : Variant(value.AsString());
    case TypeKind::Boolean:
        return value.IsBool() ? value : Variant(value.AsBool());
    case TypeKind::Variant:
        break;
    }
    return value;
}

Variant DefaultValue(TypeKind type) {
    return Coerce(type, Variant());
}

Interpreter::Interpreter(const ProgramTree& tree, std::vector<Variant>& globals, Host* host,
                         std::uint64_t stepLimit)
    : FTree(tree), FGlobals(globals), FHost(host), FStepLimit(stepLimit) {}

void Interpreter::RunMain() {
    CallGuard guard;
    std::vector<Variant> none;
    FFrame = &none;
    Exec(FTree.Main.get());
}

Variant Interpreter::Call(const Routine& routine, std::vector<Variant> args) {
    CallGuard guard;
    if (args.size() > routine.Params.size())
        throw RuntimeError("Too many actual parameters for '" + routine.Name + "'");
    std::vector<Variant> frame = routine.SlotInitial;
    for (std::size_t i = 0; i < routine.Params.size(); ++i) {
        const Parameter& parameter = routine.Params[i];
        if (i >= args.size() && !parameter.HasDefault)
            throw RuntimeError("Not enough actual parameters for '" + routine.Name + "'");
        frame[i] = Coerce(parameter.Type, i < args.size() ? args[i] : parameter.Default);
    }
    std::vector<Variant>* caller = FFrame;
    FFrame = &frame;
    try {
        Exec(routine.Body.get());
    } catch (...) {
        FFrame = caller;
        throw;
    }
    FFrame = caller;
    return routine.ResultSlot >= 0 ? frame[routine.ResultSlot] : Variant();
}

void Interpreter::Step() {
    if (++FSteps > FStepLimit)
        throw RuntimeError("Execution limit exceeded (endless loop?)");
}

Host& Interpreter::RequireHost() const {
    if (!FHost)
        throw RuntimeError("Constant expression expected");
    return *FHost;
}

void Interpreter::Store(const Target& target, const Variant& value) {
    (target.Global ? FGlobals : *FFrame)[target.Slot] = Coerce(target.Type, value);
}

Interpreter::Flow Interpreter::Exec(const Stmt* statement) {
    if (!statement)
        return Flow::Normal;
    Step();
    // Statements nest (if inside if) without calls, so they watch the stack too.
    if (StackExhausted())
        throw RuntimeError("Stack overflow", statement->Line, statement->Column);
    try {
        return ExecStatement(*statement);
    } catch (RuntimeError& e) {
        // The innermost statement names the place.
        if (e.Line == 0) {
            e.Line = statement->Line;
            e.Column = statement->Column;
        }
        throw;
    }
}

Interpreter::Flow Interpreter::ExecStatement(const Stmt& statement) {
    switch (statement.StmtKind) {
    case Stmt::Kind::Assign: {
        const auto& assign = static_cast<const AssignStmt&>(statement);
        Store(assign.To, Eval(*assign.Value));
        return Flow::Normal;
    }
    case Stmt::Kind::SetProperty: {
        const auto& set = static_cast<const SetPropertyStmt&>(statement);
        const Variant value = Eval(*set.Value);
        std::string error;
        if (!RequireHost().SetProperty(set.Object, set.Path, value, error))
            throw RuntimeError(error.empty() ? "Cannot set property of '" + set.Object + "'" : error);
        return Flow::Normal;
    }
    case Stmt::Kind::Call:
        Eval(*static_cast<const CallStmt&>(statement).Call);
        return Flow::Normal;
    case Stmt::Kind::If: {
        const auto& branch = static_cast<const IfStmt&>(statement);
        return Exec(Eval(*branch.Condition).AsBool() ? branch.Then.get() : branch.Else.get());
    }
    case Stmt::Kind::Block:
        for (const StmtPtr& inner : static_cast<const BlockStmt&>(statement).Body)
            if (const Flow flow = Exec(inner.get()); flow != Flow::Normal)
                return flow;
        return Flow::Normal;
    case Stmt::Kind::While:
    case Stmt::Kind::Repeat: {
        const auto& loop = static_cast<const LoopStmt&>(statement);
        const bool testFirst = statement.StmtKind == Stmt::Kind::While;
        for (;;) {
            Step();
            if (testFirst && !Eval(*loop.Condition).AsBool())
                return Flow::Normal;
            const Flow flow = Exec(loop.Body.get());
            if (flow == Flow::Break)
                return Flow::Normal;
            if (flow == Flow::Exit)
                return flow;
            if (!testFirst && Eval(*loop.Condition).AsBool())
                return Flow::Normal;
        }
    }
    case Stmt::Kind::For:
        return ExecFor(static_cast<const ForStmt&>(statement));
    case Stmt::Kind::Exit:
        return Flow::Exit;
    case Stmt::Kind::Break:
        return Flow::Break;
    case Stmt::Kind::Continue:
        return Flow::Continue;
    }
    return Flow::Normal;
}

Interpreter::Flow Interpreter::ExecFor(const ForStmt& loop) {
    // Bounds are read once; the counter runs on its own copy so the body cannot derail it.
    const std::int64_t from = Eval(*loop.From).AsInteger();
    const std::int64_t to = Eval(*loop.To).AsInteger();
    if (loop.Down ? from < to : from > to)
        return Flow::Normal;
    for (std::int64_t i = from;; i += loop.Down ? -1 : 1) {
        Step();
        Store(loop.Counter, Variant(i));
        const Flow flow = Exec(loop.Body.get());
        if (flow == Flow::Break)
            return Flow::Normal;
        if (flow == Flow::Exit)
            return flow;
        if (i == to)
            return Flow::Normal;
    }
}

std::vector<Variant> Interpreter::EvalArgs(const CallExpr& call) {
    std::vector<Variant> args;
    args.reserve(call.Args.size());
    for (const ExprPtr& arg : call.Args)
        args.push_back(Eval(*arg));
    return args;
}

Variant Interpreter::EvalCall(const CallExpr& call) {
    switch (call.ExprKind) {
    case Expr::Kind::Iif:
        return Eval(*call.Args[Eval(*call.Args[0]).AsBool() ? 1 : 2]);
    case Expr::Kind::CallScript:
        return Call(*FTree.Routines[call.Routine], EvalArgs(call));
    case Expr::Kind::CallBuiltin:
        return call.Function->Call(EvalArgs(call));
    default: {
        std::vector<Variant> args = EvalArgs(call);
        return RequireHost().CallFunction(call.Name, args);
    }
    }
}

Variant Interpreter::Eval(const Expr& expr) {
    switch (expr.ExprKind) {
    case Expr::Kind::Literal:
        return static_cast<const LiteralExpr&>(expr).Value;
    case Expr::Kind::Local:
        return (*FFrame)[static_cast<const SlotExpr&>(expr).Slot];
    case Expr::Kind::Global:
        return FGlobals[static_cast<const SlotExpr&>(expr).Slot];
    case Expr::Kind::ReportVariable:
        return RequireHost().GetVariable(static_cast<const ReportVariableExpr&>(expr).Name);
    case Expr::Kind::Property: {
        const auto& property = static_cast<const PropertyExpr&>(expr);
        Variant value;
        std::string error;
        if (!RequireHost().GetProperty(property.Object, property.Path, value, error))
            throw RuntimeError(error.empty() ? "Cannot read property of '" + property.Object + "'" : error);
        return value;
    }
    case Expr::Kind::Unary: {
        const auto& unary = static_cast<const UnaryExpr&>(expr);
        return ApplyUnary(unary.Op, Eval(*unary.Operand));
    }
    case Expr::Kind::Binary: {
        const auto& binary = static_cast<const BinaryExpr&>(expr);
        const Variant left = Eval(*binary.Left);
        // Boolean and/or stop as soon as the answer is known; on integers they are bitwise.
        if (left.IsBool() && binary.Op == BinaryOp::And && !left.AsBool())
            return Variant(false);
        if (left.IsBool() && binary.Op == BinaryOp::Or && left.AsBool())
            return Variant(true);
        const Variant right = Eval(*binary.Right);
        return ApplyBinary(binary.Op, left, right);
    }
    default:
        return EvalCall(static_cast<const CallExpr&>(expr));
    }
}

Variant EvaluateConstant(const Expr& expr) {
    const ProgramTree none;
    std::vector<Variant> globals;
    return Interpreter(none, globals, nullptr, 1000000).Eval(expr);
}

} // namespace script
