// The parser's program, declarations and statements; expressions are in ParserExpressions.cpp.
#include "script/Parser.h"
#include "script/ParserSteps.h"

#include <algorithm>

namespace script {
namespace parsing {

ProgramTree Parser::Run() {
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

const Token& Parser::Ahead(std::size_t offset) const {
    if (FPos + offset < FTokens.size())
        return FTokens[FPos + offset];
    while (FTokens.size() <= FPos + offset && (FTokens.empty() || FTokens.back().Kind != Tok::End))
        FTokens.push_back(FLexer.Next());
    return FTokens[std::min(FPos + offset, FTokens.size() - 1)];
}

const Token& Parser::Next() {
    const Token& token = Cur();
    if (token.Kind != Tok::End)
        ++FPos;
    return token;
}

bool Parser::Accept(Tok kind) {
    if (!At(kind))
        return false;
    Next();
    return true;
}

const Token& Parser::Expect(Tok kind) {
    if (!At(kind))
        Unexpected(Describe(kind));
    return Next();
}

void Parser::Fail(const Token& at, const std::string& message) const {
    Fail(at.Line, at.Column, message);
}

void Parser::Fail(int line, int column, const std::string& message) const {
    throw CompileFailure{CompileError{line, column, message}};
}

void Parser::Unexpected(const std::string& expected) const {
    if (At(Tok::Unsupported))
        Fail(Cur(), "'" + NameKey(Cur().Text) + "' is not supported by this script language");
    Fail(Cur(), expected + " expected but " + Describe(Cur()) + " found");
}

Name Parser::Resolve(const std::string& name) const {
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

void Parser::CheckNew(const Token& at, bool local) const {
    const std::string key = NameKey(at.Text);
    const bool taken = local ? std::any_of(FLocals.begin() + FScopeStart, FLocals.end(),
                                           [&](const LocalName& l) { return l.Key == key; })
                             : FGlobalNames.count(key) || FRoutineNames.count(key);
    if (taken)
        Fail(at, "Identifier redeclared: '" + at.Text + "'");
}

TypeKind Parser::ParseType() {
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

Variant Parser::ParseConstant() {
    ExprPtr expr = ParseExpression();
    if (!IsConstant(*expr))
        Fail(expr->Line, expr->Column, "Constant expression expected");
    try {
        return EvaluateConstant(*expr);
    } catch (const RuntimeError& e) {
        Fail(expr->Line, expr->Column, e.what());
    }
}

bool Parser::IsConstant(const Expr& expr) {
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

Variant Parser::CoerceAt(const Token& at, TypeKind type, const Variant& value) const {
    try {
        return Coerce(type, value);
    } catch (const RuntimeError& e) {
        Fail(at, e.what());
    }
}

void Parser::Declare(Routine* routine, const Token& at, TypeKind type, bool constant,
                     const Variant& initial) {
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

void Parser::ParseVarSection(Routine* routine) {
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

void Parser::ParseConstSection(Routine* routine) {
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

void Parser::ParseParameters(Routine& routine) {
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

void Parser::ParseRoutine() {
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

std::unique_ptr<BlockStmt> Parser::ParseStatementList(Tok terminator) {
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

StmtPtr Parser::ParseStatement() {
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

StmtPtr Parser::ParseLoopBody() {
    ++FLoops;
    StmtPtr body = ParseStatement();
    --FLoops;
    return body;
}

Target Parser::AssignableTarget(const Token& name) {
    const Name found = Resolve(name.Text);
    if (found.Kind == Name::What::Local || found.Kind == Name::What::Global)
        return Target{found.Kind == Name::What::Global, found.Index, found.Type};
    if (found.Kind == Name::What::None)
        Fail(name, "Unknown identifier '" + name.Text + "'");
    Fail(name, "Variable expected: '" + name.Text + "'");
}

StmtPtr Parser::ParseFor() {
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

StmtPtr Parser::ParseNameStatement() {
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

StmtPtr Parser::ParseAssignment(const Token& name, Target target) {
    if (!At(Tok::Assign))
        Unexpected(Describe(Tok::Assign));
    auto statement = Placed(name, std::make_unique<AssignStmt>());
    Next();
    statement->To = target;
    statement->Value = ParseExpression();
    return statement;
}

std::vector<std::string> Parser::ParsePath() {
    std::vector<std::string> path;
    while (Accept(Tok::Dot))
        path.push_back(Expect(Tok::Identifier).Text);
    return path;
}

} // namespace parsing

using parsing::Parser;

ProgramTree Parse(const std::string& source, const Host& host) {
    return Parser(source, host).Run();
}

} // namespace script
