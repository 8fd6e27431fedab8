// The parser's expressions: operators by precedence level, factors, names and calls.
#include "script/ParserSteps.h"

#include <algorithm>

namespace script::parsing {

ExprPtr Parser::Finish(ExprPtr expr, std::initializer_list<const Expr*> children) {
    for (const Expr* child : children)
        expr->Height = std::max(expr->Height, child->Height + 1);
    if (expr->Height > kMaxExpressionHeight)
        Fail(expr->Line, expr->Column, "Expression too complex");
    return expr;
}

ExprPtr Parser::MakeBinary(const Token& op, BinaryOp kind, ExprPtr left, ExprPtr right) {
    auto expr = Placed(op, std::make_unique<BinaryExpr>());
    expr->Op = kind;
    const Expr *l = left.get(), *r = right.get();
    expr->Left = std::move(left);
    expr->Right = std::move(right);
    return Finish(std::move(expr), {l, r});
}

bool Parser::BinaryOperator(Tok kind, int level, BinaryOp& op) {
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

ExprPtr Parser::ParseExpression() {
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

ExprPtr Parser::ParseLevel(int level) {
    ExprPtr left = level == 2 ? ParseFactor() : ParseLevel(2);
    BinaryOp op;
    while (BinaryOperator(Cur().Kind, level, op)) {
        const Token& token = Next();
        left = MakeBinary(token, op, std::move(left), level == 2 ? ParseFactor() : ParseLevel(2));
    }
    return left;
}

ExprPtr Parser::ParseFactor() {
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

ExprPtr Parser::ParseNameFactor() {
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
            Placed(name, std::make_unique<SlotExpr>(found.Kind == Name::What::Global ? Expr::Kind::Global
                                                                                     : Expr::Kind::Local));
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

ExprPtr Parser::ParseCall(const Name& found, bool needsValue) {
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

} // namespace script::parsing
