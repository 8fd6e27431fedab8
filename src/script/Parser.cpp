#include "script/Parser.h"
#include "script/Builtins.h"
#include "script/Interpreter.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

namespace script {

namespace {

// Recursion of the parser and height of expression trees are bounded so that hostile input cannot
// exhaust the stack while compiling, evaluating or freeing the tree.
constexpr int kMaxNesting = 200;
constexpr int kMaxExpressionHeight = 400;

struct Name {
    enum class What { None, Local, Global, Constant, Routine, HostFunction, Builtin, Iif, Object };
    What Kind = What::None;
    int Index = 0;
    TypeKind Type = TypeKind::Variant;
    Variant Value;
    const Builtin* Function = nullptr;
};

struct LocalName {
    std::string Key;
    Name Entry;
};

class Parser {
public:
    Parser(const std::string& source, const Host& host) : FLexer(source), FHost(host) {}

    ProgramTree Run() {
        if (Accept(Tok::Program)) {
            Expect(Tok::Identifier);
            Expect(Tok::Semicolon);
        }
        while (!At(Tok::Begin)) {
            if (At(Tok::Var))
                ParseVarSection(nullptr);
            else if (At(Tok::Const))
                ParseConstSection(nullptr);
            else if (At(Tok::Procedure) || At(Tok::Function))
                ParseRoutine();
            else
                Unexpected(Describe(Tok::Begin));
        }
        Next();
        FTree.Main = ParseStatementList(Tok::EndKw);
        Expect(Tok::EndKw);
        Expect(Tok::Dot);
        if (!At(Tok::End))
            Fail(Cur(), "Unexpected text after 'end.'");
        return std::move(FTree);
    }

private:
    // ---- tokens ----
    // Tokens are pulled from the lexer as the parser reaches them; a deque keeps references to
    // earlier tokens valid while more are read.
    const Token& Ahead(std::size_t offset) const {
        if (FPos + offset < FTokens.size())
            return FTokens[FPos + offset];
        while (FTokens.size() <= FPos + offset && (FTokens.empty() || FTokens.back().Kind != Tok::End))
            FTokens.push_back(FLexer.Next());
        return FTokens[std::min(FPos + offset, FTokens.size() - 1)];
    }
    const Token& Cur() const { return Ahead(0); }
    const Token& Next() {
        const Token& token = Cur();
        if (token.Kind != Tok::End)
            ++FPos;
        return token;
    }
    bool At(Tok kind) const { return Cur().Kind == kind; }
    bool Accept(Tok kind) {
        if (!At(kind))
            return false;
        Next();
        return true;
    }
    const Token& Expect(Tok kind) {
        if (!At(kind))
            Unexpected(Describe(kind));
        return Next();
    }
    [[noreturn]] void Fail(const Token& at, const std::string& message) const {
        Fail(at.Line, at.Column, message);
    }
    [[noreturn]] void Fail(int line, int column, const std::string& message) const {
        throw CompileFailure{CompileError{line, column, message}};
    }
    [[noreturn]] void Unexpected(const std::string& expected) const {
        if (At(Tok::Unsupported))
            Fail(Cur(), "'" + NameKey(Cur().Text) + "' is not supported by this script language");
        Fail(Cur(), expected + " expected but " + Describe(Cur()) + " found");
    }

    struct NestingGuard {
        NestingGuard(Parser& parser) : FParser(parser) {
            if (++FParser.FNesting > kMaxNesting)
                FParser.Fail(FParser.Cur(), "Nesting too deep");
        }
        ~NestingGuard() { --FParser.FNesting; }
        Parser& FParser;
    };

    // ---- names ----
    Name Resolve(const std::string& name) const {
        const std::string key = NameKey(name);
        Name found;
        for (auto it = FLocals.rbegin(); it != FLocals.rend(); ++it)
            if (it->Key == key)
                return it->Entry;
        if (const auto it = FGlobalNames.find(key); it != FGlobalNames.end()) {
            const GlobalVariable& global = FTree.Globals[it->second];
            found.Kind = global.Constant ? Name::What::Constant : Name::What::Global;
            found.Index = it->second;
            found.Type = global.Type;
            found.Value = global.Initial;
        } else if (const auto routine = FRoutineNames.find(key); routine != FRoutineNames.end()) {
            found.Kind = Name::What::Routine;
            found.Index = routine->second;
        } else if (FindConstant(name, found.Value)) {
            found.Kind = Name::What::Constant;
        } else if (FHost.HasFunction(name)) {
            found.Kind = Name::What::HostFunction;
        } else if (key == "IIF") {
            found.Kind = Name::What::Iif;
        } else if ((found.Function = FindBuiltin(name))) {
            found.Kind = Name::What::Builtin;
        } else if (FHost.HasObject(name)) {
            found.Kind = Name::What::Object;
        }
        return found;
    }

    void CheckNew(const Token& at, bool local) const {
        const std::string key = NameKey(at.Text);
        const bool taken = local ? std::any_of(FLocals.begin() + FScopeStart, FLocals.end(),
                                               [&](const LocalName& l) { return l.Key == key; })
                                 : FGlobalNames.count(key) || FRoutineNames.count(key);
        if (taken)
            Fail(at, "Identifier redeclared: '" + at.Text + "'");
    }

    // ---- declarations ----
    TypeKind ParseType() {
        const Token& name = Expect(Tok::Identifier);
        static const std::unordered_map<std::string, TypeKind> types = {
            {"INTEGER", TypeKind::Integer},      {"CARDINAL", TypeKind::Integer},
            {"INT64", TypeKind::Integer},        {"LONGINT", TypeKind::Integer},
            {"SMALLINT", TypeKind::Integer},     {"SHORTINT", TypeKind::Integer},
            {"BYTE", TypeKind::Integer},         {"WORD", TypeKind::Integer},
            {"LONGWORD", TypeKind::Integer},     {"EXTENDED", TypeKind::Float},
            {"DOUBLE", TypeKind::Float},         {"SINGLE", TypeKind::Float},
            {"REAL", TypeKind::Float},           {"CURRENCY", TypeKind::Float},
            {"TDATETIME", TypeKind::Float},      {"STRING", TypeKind::String},
            {"ANSISTRING", TypeKind::String},    {"WIDESTRING", TypeKind::String},
            {"UNICODESTRING", TypeKind::String}, {"CHAR", TypeKind::String},
            {"WIDECHAR", TypeKind::String},      {"BOOLEAN", TypeKind::Boolean},
            {"VARIANT", TypeKind::Variant},      {"OLEVARIANT", TypeKind::Variant},
        };
        const std::string key = NameKey(name.Text);
        if (const auto it = types.find(key); it != types.end())
            return it->second;
        // Class types (TObject, TrpMemoView, ...) are references the host hands over as values.
        if (key.size() > 1 && key[0] == 'T')
            return TypeKind::Variant;
        Fail(name, "Unknown type '" + name.Text + "'");
    }

    Variant ParseConstant() {
        ExprPtr expr = ParseExpression();
        if (!IsConstant(*expr))
            Fail(expr->Line, expr->Column, "Constant expression expected");
        try {
            return EvaluateConstant(*expr);
        } catch (const RuntimeError& e) {
            Fail(expr->Line, expr->Column, e.what());
        }
    }

    static bool IsConstant(const Expr& expr) {
        switch (expr.ExprKind) {
        case Expr::Kind::Literal:
            return true;
        case Expr::Kind::Unary:
            return IsConstant(*static_cast<const UnaryExpr&>(expr).Operand);
        case Expr::Kind::Binary: {
            const auto& binary = static_cast<const BinaryExpr&>(expr);
            return IsConstant(*binary.Left) && IsConstant(*binary.Right);
        }
        case Expr::Kind::CallBuiltin:
        case Expr::Kind::Iif: {
            const auto& call = static_cast<const CallExpr&>(expr);
            return std::all_of(call.Args.begin(), call.Args.end(),
                               [](const ExprPtr& a) { return IsConstant(*a); });
        }
        default:
            return false;
        }
    }

    // A constant stored in a typed variable or parameter must convert at compile time.
    Variant CoerceAt(const Token& at, TypeKind type, const Variant& value) const {
        try {
            return Coerce(type, value);
        } catch (const RuntimeError& e) {
            Fail(at, e.what());
        }
    }

    // Adds a variable to the routine being compiled, or a global when routine is null.
    void Declare(Routine* routine, const Token& at, TypeKind type, bool constant, const Variant& initial) {
        CheckNew(at, routine != nullptr);
        const Variant value = CoerceAt(at, type, initial);
        if (!routine) {
            FGlobalNames[NameKey(at.Text)] = int(FTree.Globals.size());
            FTree.Globals.push_back(GlobalVariable{at.Text, type, constant, value});
            return;
        }
        Name entry;
        entry.Type = type;
        entry.Value = value;
        if (constant) {
            entry.Kind = Name::What::Constant;
        } else {
            entry.Kind = Name::What::Local;
            entry.Index = int(routine->SlotTypes.size());
            routine->SlotTypes.push_back(type);
            routine->SlotInitial.push_back(value);
        }
        FLocals.push_back(LocalName{NameKey(at.Text), entry});
    }

    void ParseVarSection(Routine* routine) {
        Expect(Tok::Var);
        do {
            std::vector<Token> names{Expect(Tok::Identifier)};
            while (Accept(Tok::Comma))
                names.push_back(Expect(Tok::Identifier));
            Expect(Tok::Colon);
            const TypeKind type = ParseType();
            Variant initial = DefaultValue(type);
            if (Accept(Tok::Equal)) {
                if (names.size() > 1)
                    Fail(names[1], "Only one variable can be initialised at a time");
                initial = ParseConstant();
            }
            Expect(Tok::Semicolon);
            for (const Token& name : names)
                Declare(routine, name, type, false, initial);
        } while (At(Tok::Identifier));
    }

    void ParseConstSection(Routine* routine) {
        Expect(Tok::Const);
        do {
            const Token name = Expect(Tok::Identifier);
            TypeKind type = TypeKind::Variant;
            if (Accept(Tok::Colon))
                type = ParseType();
            Expect(Tok::Equal);
            const Variant value = ParseConstant();
            Expect(Tok::Semicolon);
            Declare(routine, name, type, true, value);
        } while (At(Tok::Identifier));
    }

    void ParseParameters(Routine& routine) {
        if (!Accept(Tok::LParen))
            return;
        if (Accept(Tok::RParen))
            return;
        do {
            if (At(Tok::Var) ||
                (At(Tok::Identifier) && NameKey(Cur().Text) == "OUT" && Ahead(1).Kind == Tok::Identifier))
                Fail(Cur(), "Variable parameters are not supported");
            Accept(Tok::Const);
            std::vector<Token> names{Expect(Tok::Identifier)};
            while (Accept(Tok::Comma))
                names.push_back(Expect(Tok::Identifier));
            Expect(Tok::Colon);
            const TypeKind type = ParseType();
            Parameter parameter;
            parameter.Type = type;
            if (Accept(Tok::Equal)) {
                parameter.HasDefault = true;
                parameter.Default = CoerceAt(names[0], type, ParseConstant());
            } else if (!routine.Params.empty() && routine.Params.back().HasDefault) {
                Fail(names[0], "Default value required for '" + names[0].Text + "'");
            }
            for (const Token& name : names) {
                parameter.Name = name.Text;
                Declare(&routine, name, type, false, Variant());
                routine.Params.push_back(parameter);
            }
        } while (Accept(Tok::Semicolon));
        Expect(Tok::RParen);
    }

    void ParseRoutine() {
        const bool isFunction = Next().Kind == Tok::Function;
        const Token name = Expect(Tok::Identifier);
        CheckNew(name, false);
        auto routine = std::make_unique<Routine>();
        routine->Name = name.Text;
        routine->IsFunction = isFunction;
        routine->Line = name.Line;
        routine->Column = name.Column;

        FScopeStart = FLocals.size();
        ParseParameters(*routine);
        if (isFunction) {
            Expect(Tok::Colon);
            const TypeKind type = ParseType();
            routine->ResultSlot = int(routine->SlotTypes.size());
            Token result = name;
            result.Text = "Result";
            Declare(routine.get(), result, type, false, DefaultValue(type));
        }
        Expect(Tok::Semicolon);
        // Registered before its body so that it can call itself.
        const int index = int(FTree.Routines.size());
        FRoutineNames[NameKey(name.Text)] = index;
        FTree.Routines.push_back(std::move(routine));
        Routine* current = FTree.Routines.back().get();
        FCurrent = current;
        for (;;) {
            if (At(Tok::Var))
                ParseVarSection(current);
            else if (At(Tok::Const))
                ParseConstSection(current);
            else
                break;
        }
        Expect(Tok::Begin);
        current->Body = ParseStatementList(Tok::EndKw);
        Expect(Tok::EndKw);
        Expect(Tok::Semicolon);
        FLocals.clear();
        FScopeStart = 0;
        FCurrent = nullptr;
    }

    // ---- statements ----
    std::unique_ptr<BlockStmt> ParseStatementList(Tok terminator) {
        auto block = std::make_unique<BlockStmt>();
        block->Line = Cur().Line;
        block->Column = Cur().Column;
        for (;;) {
            if (StmtPtr statement = ParseStatement())
                block->Body.push_back(std::move(statement));
            if (Accept(Tok::Semicolon))
                continue;
            if (At(terminator))
                return block;
            Unexpected(At(Tok::End) ? Describe(terminator) : Describe(Tok::Semicolon));
        }
    }

    template <typename T> std::unique_ptr<T> Placed(const Token& token, std::unique_ptr<T> node) {
        node->Line = token.Line;
        node->Column = token.Column;
        return node;
    }

    StmtPtr ParseStatement() {
        NestingGuard guard(*this);
        const Token& start = Cur();
        switch (start.Kind) {
        case Tok::Semicolon:
        case Tok::EndKw:
        case Tok::Until:
        case Tok::Else:
        case Tok::End:
            return nullptr;
        case Tok::Begin: {
            Next();
            StmtPtr block = ParseStatementList(Tok::EndKw);
            Expect(Tok::EndKw);
            return block;
        }
        case Tok::If: {
            Next();
            auto statement = Placed(start, std::make_unique<IfStmt>());
            statement->Condition = ParseExpression();
            Expect(Tok::Then);
            statement->Then = ParseStatement();
            if (Accept(Tok::Else))
                statement->Else = ParseStatement();
            return statement;
        }
        case Tok::While: {
            Next();
            auto statement = Placed(start, std::make_unique<LoopStmt>(Stmt::Kind::While));
            statement->Condition = ParseExpression();
            Expect(Tok::Do);
            statement->Body = ParseLoopBody();
            return statement;
        }
        case Tok::Repeat: {
            Next();
            auto statement = Placed(start, std::make_unique<LoopStmt>(Stmt::Kind::Repeat));
            ++FLoops;
            statement->Body = ParseStatementList(Tok::Until);
            --FLoops;
            Expect(Tok::Until);
            statement->Condition = ParseExpression();
            return statement;
        }
        case Tok::For:
            return ParseFor();
        case Tok::Identifier:
            return ParseNameStatement();
        default:
            Unexpected("Statement");
        }
    }

    StmtPtr ParseLoopBody() {
        ++FLoops;
        StmtPtr body = ParseStatement();
        --FLoops;
        return body;
    }

    Target AssignableTarget(const Token& name) {
        const Name found = Resolve(name.Text);
        if (found.Kind == Name::What::Local || found.Kind == Name::What::Global)
            return Target{found.Kind == Name::What::Global, found.Index, found.Type};
        if (found.Kind == Name::What::None)
            Fail(name, "Unknown identifier '" + name.Text + "'");
        Fail(name, "Variable expected: '" + name.Text + "'");
    }

    StmtPtr ParseFor() {
        auto statement = Placed(Next(), std::make_unique<ForStmt>());
        statement->Counter = AssignableTarget(Expect(Tok::Identifier));
        Expect(Tok::Assign);
        statement->From = ParseExpression();
        if (Accept(Tok::Downto))
            statement->Down = true;
        else
            Expect(Tok::To);
        statement->To = ParseExpression();
        Expect(Tok::Do);
        statement->Body = ParseLoopBody();
        return statement;
    }

    StmtPtr ParseNameStatement() {
        const Token name = Cur();
        const Name found = Resolve(name.Text);
        const std::string key = NameKey(name.Text);
        if (found.Kind == Name::What::None && (key == "EXIT" || key == "BREAK" || key == "CONTINUE")) {
            Next();
            if (key != "EXIT" && FLoops == 0)
                Fail(name, "'" + name.Text + "' outside of a loop");
            const auto kind = key == "EXIT"    ? Stmt::Kind::Exit
                              : key == "BREAK" ? Stmt::Kind::Break
                                               : Stmt::Kind::Continue;
            return Placed(name, std::make_unique<JumpStmt>(kind));
        }
        switch (found.Kind) {
        case Name::What::None:
            Fail(name, "Unknown identifier '" + name.Text + "'");
        case Name::What::Local:
        case Name::What::Global: {
            Next();
            if (At(Tok::Dot))
                Fail(Cur(), "'" + name.Text + "' has no properties");
            return ParseAssignment(name, Target{found.Kind == Name::What::Global, found.Index, found.Type});
        }
        case Name::What::Constant:
            Next();
            if (At(Tok::Assign))
                Fail(name, "Cannot assign to constant '" + name.Text + "'");
            Unexpected(Describe(Tok::Assign));
        case Name::What::Object: {
            Next();
            auto statement = Placed(name, std::make_unique<SetPropertyStmt>());
            statement->Object = name.Text;
            statement->Path = ParsePath();
            Expect(Tok::Assign);
            statement->Value = ParseExpression();
            return statement;
        }
        case Name::What::Routine:
            // Inside a function, its own name on the left of := is its result.
            if (FCurrent && FCurrent->IsFunction && FTree.Routines[found.Index].get() == FCurrent &&
                Ahead(1).Kind == Tok::Assign) {
                Next();
                return ParseAssignment(
                    name, Target{false, FCurrent->ResultSlot, FCurrent->SlotTypes[FCurrent->ResultSlot]});
            }
            [[fallthrough]];
        default: {
            auto statement = Placed(name, std::make_unique<CallStmt>());
            statement->Call = ParseCall(found, false);
            if (At(Tok::Assign))
                Fail(name, "Cannot assign to '" + name.Text + "'");
            return statement;
        }
        }
    }

    StmtPtr ParseAssignment(const Token& name, Target target) {
        if (!At(Tok::Assign))
            Unexpected(Describe(Tok::Assign));
        auto statement = Placed(name, std::make_unique<AssignStmt>());
        Next();
        statement->To = target;
        statement->Value = ParseExpression();
        return statement;
    }

    std::vector<std::string> ParsePath() {
        std::vector<std::string> path;
        while (Accept(Tok::Dot))
            path.push_back(Expect(Tok::Identifier).Text);
        return path;
    }

    // ---- expressions ----
    ExprPtr Finish(ExprPtr expr, std::initializer_list<const Expr*> children) {
        for (const Expr* child : children)
            expr->Height = std::max(expr->Height, child->Height + 1);
        if (expr->Height > kMaxExpressionHeight)
            Fail(expr->Line, expr->Column, "Expression too complex");
        return expr;
    }

    ExprPtr MakeBinary(const Token& op, BinaryOp kind, ExprPtr left, ExprPtr right) {
        auto expr = Placed(op, std::make_unique<BinaryExpr>());
        expr->Op = kind;
        const Expr *l = left.get(), *r = right.get();
        expr->Left = std::move(left);
        expr->Right = std::move(right);
        return Finish(std::move(expr), {l, r});
    }

    static bool BinaryOperator(Tok kind, int level, BinaryOp& op) {
        static const struct {
            Tok Kind;
            int Level;
            BinaryOp Op;
        } table[] = {
            {Tok::Equal, 0, BinaryOp::Equal},
            {Tok::NotEqual, 0, BinaryOp::NotEqual},
            {Tok::Less, 0, BinaryOp::Less},
            {Tok::Greater, 0, BinaryOp::Greater},
            {Tok::LessEqual, 0, BinaryOp::LessEqual},
            {Tok::GreaterEqual, 0, BinaryOp::GreaterEqual},
            {Tok::Plus, 1, BinaryOp::Add},
            {Tok::Minus, 1, BinaryOp::Subtract},
            {Tok::Or, 1, BinaryOp::Or},
            {Tok::Xor, 1, BinaryOp::Xor},
            {Tok::Star, 2, BinaryOp::Multiply},
            {Tok::Slash, 2, BinaryOp::Divide},
            {Tok::Div, 2, BinaryOp::IntDivide},
            {Tok::Mod, 2, BinaryOp::Modulo},
            {Tok::And, 2, BinaryOp::And},
            {Tok::Shl, 2, BinaryOp::Shl},
            {Tok::Shr, 2, BinaryOp::Shr},
        };
        for (const auto& entry : table)
            if (entry.Kind == kind && entry.Level == level) {
                op = entry.Op;
                return true;
            }
        return false;
    }

    ExprPtr ParseExpression() {
        ExprPtr left = ParseLevel(1);
        BinaryOp op;
        if (BinaryOperator(Cur().Kind, 0, op)) {
            const Token& token = Next();
            left = MakeBinary(token, op, std::move(left), ParseLevel(1));
            if (BinaryOperator(Cur().Kind, 0, op))
                Fail(Cur(), "Comparisons cannot be chained; use parentheses");
        }
        return left;
    }

    ExprPtr ParseLevel(int level) {
        ExprPtr left = level == 2 ? ParseFactor() : ParseLevel(2);
        BinaryOp op;
        while (BinaryOperator(Cur().Kind, level, op)) {
            const Token& token = Next();
            left = MakeBinary(token, op, std::move(left), level == 2 ? ParseFactor() : ParseLevel(2));
        }
        return left;
    }

    ExprPtr ParseFactor() {
        NestingGuard guard(*this);
        const Token& token = Cur();
        switch (token.Kind) {
        case Tok::Integer:
        case Tok::Float:
        case Tok::String: {
            Next();
            auto literal = Placed(token, std::make_unique<LiteralExpr>());
            literal->Value = token.Kind == Tok::String ? Variant(token.Text) : token.Value;
            return literal;
        }
        case Tok::Variable: {
            Next();
            auto variable = Placed(token, std::make_unique<ReportVariableExpr>());
            variable->Name = token.Text;
            return variable;
        }
        case Tok::LParen: {
            Next();
            ExprPtr inner = ParseExpression();
            Expect(Tok::RParen);
            return inner;
        }
        case Tok::Not:
        case Tok::Minus:
        case Tok::Plus: {
            Next();
            auto unary = Placed(token, std::make_unique<UnaryExpr>());
            unary->Op = token.Kind == Tok::Not     ? UnaryOp::Not
                        : token.Kind == Tok::Minus ? UnaryOp::Negate
                                                   : UnaryOp::Plus;
            unary->Operand = ParseFactor();
            const Expr* operand = unary->Operand.get();
            return Finish(std::move(unary), {operand});
        }
        case Tok::Identifier:
            return ParseNameFactor();
        default:
            Unexpected("Expression");
        }
    }

    ExprPtr ParseNameFactor() {
        const Token& name = Cur();
        const Name found = Resolve(name.Text);
        switch (found.Kind) {
        case Name::What::None:
            Fail(name, "Unknown identifier '" + name.Text + "'");
        case Name::What::Local:
        case Name::What::Global: {
            Next();
            if (At(Tok::Dot))
                Fail(Cur(), "'" + name.Text + "' has no properties");
            auto slot =
                Placed(name, std::make_unique<SlotExpr>(
                                 found.Kind == Name::What::Global ? Expr::Kind::Global : Expr::Kind::Local));
            slot->Slot = found.Index;
            return slot;
        }
        case Name::What::Constant: {
            Next();
            auto literal = Placed(name, std::make_unique<LiteralExpr>());
            literal->Value = found.Value;
            return literal;
        }
        case Name::What::Object: {
            Next();
            auto property = Placed(name, std::make_unique<PropertyExpr>());
            property->Object = name.Text;
            property->Path = ParsePath();
            return property;
        }
        default:
            return ParseCall(found, true);
        }
    }

    ExprPtr ParseCall(const Name& found, bool needsValue) {
        const Token name = Next();
        std::vector<ExprPtr> args;
        if (Accept(Tok::LParen) && !Accept(Tok::RParen)) {
            do
                args.push_back(ParseExpression());
            while (Accept(Tok::Comma));
            Expect(Tok::RParen);
        }
        std::size_t minArgs = 0, maxArgs = SIZE_MAX;
        Expr::Kind kind = Expr::Kind::CallHost;
        switch (found.Kind) {
        case Name::What::Routine: {
            const Routine& routine = *FTree.Routines[found.Index];
            if (needsValue && !routine.IsFunction)
                Fail(name, "Procedure '" + routine.Name + "' does not return a value");
            minArgs = routine.RequiredParams();
            maxArgs = routine.Params.size();
            kind = Expr::Kind::CallScript;
            break;
        }
        case Name::What::Builtin:
            minArgs = std::size_t(found.Function->MinArgs);
            maxArgs = std::size_t(found.Function->MaxArgs);
            kind = Expr::Kind::CallBuiltin;
            break;
        case Name::What::Iif:
            minArgs = maxArgs = 3;
            kind = Expr::Kind::Iif;
            break;
        default:
            break;
        }
        if (args.size() < minArgs)
            Fail(name, "Not enough actual parameters for '" + name.Text + "'");
        if (args.size() > maxArgs)
            Fail(name, "Too many actual parameters for '" + name.Text + "'");
        auto call = Placed(name, std::make_unique<CallExpr>(kind));
        call->Routine = found.Kind == Name::What::Routine ? found.Index : -1;
        call->Function = found.Function;
        call->Name = name.Text;
        for (const ExprPtr& arg : args)
            call->Height = std::max(call->Height, arg->Height + 1);
        call->Args = std::move(args);
        return Finish(std::move(call), {});
    }

    mutable Lexer FLexer;
    mutable std::deque<Token> FTokens;
    const Host& FHost;
    std::size_t FPos = 0;
    ProgramTree FTree;
    std::unordered_map<std::string, int> FGlobalNames;
    std::unordered_map<std::string, int> FRoutineNames;
    std::vector<LocalName> FLocals;
    std::size_t FScopeStart = 0;
    Routine* FCurrent = nullptr;
    int FLoops = 0;
    int FNesting = 0;
};

} // namespace

ProgramTree Parse(const std::string& source, const Host& host) {
    return Parser(source, host).Run();
}

} // namespace script
