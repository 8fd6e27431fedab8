#pragma once
// The parser's state and its steps, shared by Parser.cpp (the program, declarations and
// statements) and ParserExpressions.cpp (expressions, calls and operators).

#include "script/Ast.h"
#include "script/Builtins.h"
#include "script/Interpreter.h"
#include "script/Lexer.h"

#include <deque>
#include <unordered_map>

namespace script::parsing {

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

    ProgramTree Run();

private:
    // ---- tokens ----
    // Tokens are pulled from the lexer as the parser reaches them; a deque keeps references to
    // earlier tokens valid while more are read.
    const Token& Ahead(std::size_t offset) const;
    const Token& Cur() const { return Ahead(0); }
    const Token& Next();
    bool At(Tok kind) const { return Cur().Kind == kind; }
    bool Accept(Tok kind);
    const Token& Expect(Tok kind);
    [[noreturn]] void Fail(const Token& at, const std::string& message) const;
    [[noreturn]] void Fail(int line, int column, const std::string& message) const;
    [[noreturn]] void Unexpected(const std::string& expected) const;
    struct NestingGuard {
        NestingGuard(Parser& parser) : FParser(parser) {
            if (++FParser.FNesting > kMaxNesting)
                FParser.Fail(FParser.Cur(), "Nesting too deep");
        }
        ~NestingGuard() { --FParser.FNesting; }
        Parser& FParser;
    };

    // ---- names ----
    Name Resolve(const std::string& name) const;
    void CheckNew(const Token& at, bool local) const;

    // ---- declarations ----
    TypeKind ParseType();
    Variant ParseConstant();
    static bool IsConstant(const Expr& expr);
    // A constant stored in a typed variable or parameter must convert at compile time.
    Variant CoerceAt(const Token& at, TypeKind type, const Variant& value) const;
    // Adds a variable to the routine being compiled, or a global when routine is null.
    void Declare(Routine* routine, const Token& at, TypeKind type, bool constant, const Variant& initial);
    void ParseVarSection(Routine* routine);
    void ParseConstSection(Routine* routine);
    void ParseParameters(Routine& routine);
    void ParseRoutine();

    // ---- statements ----
    std::unique_ptr<BlockStmt> ParseStatementList(Tok terminator);
    template <typename T> std::unique_ptr<T> Placed(const Token& token, std::unique_ptr<T> node) {
        node->Line = token.Line;
        node->Column = token.Column;
        return node;
    }

    StmtPtr ParseStatement();
    StmtPtr ParseLoopBody();
    Target AssignableTarget(const Token& name);
    StmtPtr ParseFor();
    StmtPtr ParseNameStatement();
    StmtPtr ParseAssignment(const Token& name, Target target);
    std::vector<std::string> ParsePath();

    // ---- expressions ----
    ExprPtr Finish(ExprPtr expr, std::initializer_list<const Expr*> children);
    ExprPtr MakeBinary(const Token& op, BinaryOp kind, ExprPtr left, ExprPtr right);
    static bool BinaryOperator(Tok kind, int level, BinaryOp& op);
    ExprPtr ParseExpression();
    ExprPtr ParseLevel(int level);
    ExprPtr ParseFactor();
    ExprPtr ParseNameFactor();
    ExprPtr ParseCall(const Name& found, bool needsValue);

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

} // namespace script::parsing
