#pragma once
// The compiled form of a script: names are resolved while parsing, so variables are slots, calls
// point at their routine or built-in, and only host names (objects, functions, report variables)
// stay as text for the host to look up.

#include "script/Script.h"
#include "script/Values.h"

#include <memory>
#include <string>
#include <vector>

namespace script {

enum class TypeKind { Variant, Integer, Float, String, Boolean };

// Declared types convert what is stored into them, as typed Pascal variables would.
Variant Coerce(TypeKind type, const Variant& value);
Variant DefaultValue(TypeKind type);

struct Builtin;

struct Node {
    int Line = 0;
    int Column = 0;
};

struct Expr : Node {
    enum class Kind {
        Literal,
        Local,
        Global,
        ReportVariable,
        Property,
        Unary,
        Binary,
        CallScript,
        CallBuiltin,
        CallHost,
        Iif
    };
    explicit Expr(Kind kind) : ExprKind(kind) {}
    virtual ~Expr() = default;
    Kind ExprKind;
    int Height = 1; // longest path to a leaf: bounds the evaluator's recursion
};
using ExprPtr = std::unique_ptr<Expr>;

struct LiteralExpr : Expr {
    LiteralExpr() : Expr(Kind::Literal) {}
    Variant Value;
};

struct SlotExpr : Expr { // Local or Global
    using Expr::Expr;
    int Slot = 0;
};

struct ReportVariableExpr : Expr {
    ReportVariableExpr() : Expr(Kind::ReportVariable) {}
    std::string Name;
};

struct PropertyExpr : Expr {
    PropertyExpr() : Expr(Kind::Property) {}
    std::string Object;
    std::vector<std::string> Path; // empty: the object's own value
};

struct UnaryExpr : Expr {
    UnaryExpr() : Expr(Kind::Unary) {}
    UnaryOp Op = UnaryOp::Negate;
    ExprPtr Operand;
};

struct BinaryExpr : Expr {
    BinaryExpr() : Expr(Kind::Binary) {}
    BinaryOp Op = BinaryOp::Add;
    ExprPtr Left, Right;
};

struct CallExpr : Expr { // CallScript, CallBuiltin, CallHost, Iif
    using Expr::Expr;
    int Routine = -1;                  // CallScript
    const Builtin* Function = nullptr; // CallBuiltin
    std::string Name;                  // as written, for the host and for messages
    std::vector<ExprPtr> Args;
};

struct Stmt : Node {
    enum class Kind { Assign, SetProperty, Call, If, Block, While, Repeat, For, Exit, Break, Continue };
    explicit Stmt(Kind kind) : StmtKind(kind) {}
    virtual ~Stmt() = default;
    Kind StmtKind;
};
using StmtPtr = std::unique_ptr<Stmt>;

struct Target { // a script variable that can be assigned
    bool Global = false;
    int Slot = 0;
    TypeKind Type = TypeKind::Variant;
};

struct AssignStmt : Stmt {
    AssignStmt() : Stmt(Kind::Assign) {}
    Target To;
    ExprPtr Value;
};

struct SetPropertyStmt : Stmt {
    SetPropertyStmt() : Stmt(Kind::SetProperty) {}
    std::string Object;
    std::vector<std::string> Path;
    ExprPtr Value;
};

struct CallStmt : Stmt {
    CallStmt() : Stmt(Kind::Call) {}
    ExprPtr Call;
};

struct IfStmt : Stmt {
    IfStmt() : Stmt(Kind::If) {}
    ExprPtr Condition;
    StmtPtr Then, Else; // either may be null (empty statement)
};

struct BlockStmt : Stmt {
    BlockStmt() : Stmt(Kind::Block) {}
    std::vector<StmtPtr> Body; // empty statements are left out
};

struct LoopStmt : Stmt { // While (test first) and Repeat (test last, until true)
    using Stmt::Stmt;
    ExprPtr Condition;
    StmtPtr Body;
};

struct ForStmt : Stmt {
    ForStmt() : Stmt(Kind::For) {}
    Target Counter;
    ExprPtr From, To;
    bool Down = false;
    StmtPtr Body;
};

struct JumpStmt : Stmt { // Exit, Break, Continue
    using Stmt::Stmt;
};

struct Parameter {
    std::string Name;
    TypeKind Type = TypeKind::Variant;
    bool HasDefault = false;
    Variant Default;
};

struct Routine : Node {
    std::string Name;
    bool IsFunction = false;
    std::vector<Parameter> Params;    // slots 0..n-1
    int ResultSlot = -1;              // functions: the slot after the parameters
    std::vector<TypeKind> SlotTypes;  // every slot: parameters, Result, locals
    std::vector<Variant> SlotInitial; // starting value of each slot that is not a parameter
    std::unique_ptr<BlockStmt> Body;

    std::size_t RequiredParams() const {
        std::size_t n = 0;
        while (n < Params.size() && !Params[n].HasDefault)
            ++n;
        return n;
    }
};

struct GlobalVariable {
    std::string Name;
    TypeKind Type = TypeKind::Variant;
    bool Constant = false;
    Variant Initial;
};

struct ProgramTree {
    std::vector<GlobalVariable> Globals;
    std::vector<std::unique_ptr<Routine>> Routines;
    std::unique_ptr<BlockStmt> Main;
};

} // namespace script
