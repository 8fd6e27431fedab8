#include "script/Values.h"

#include <cmath>
#include <limits>

namespace script {

namespace {

[[noreturn]] void Mismatch(BinaryOp op, const Variant& left, const Variant& right) {
    throw RuntimeError(std::string("Operator '") + OperatorText(op) + "' cannot be applied to " +
                       TypeName(left) + " and " + TypeName(right));
}

// A numeric operand: Null reads as 0, a text must read as a number.
bool ToNumber(const Variant& value, Variant& number) {
    if (value.IsNull()) {
        number = Variant(std::int64_t(0));
        return true;
    }
    if (value.IsNumber()) {
        number = value;
        return true;
    }
    if (value.IsString())
        return ParseNumber(value.AsString(), number);
    return false;
}

Variant CheckedFloat(long double value) {
    if (std::isnan(value))
        throw RuntimeError("Invalid floating point operation");
    if (std::isinf(value))
        throw RuntimeError("Floating point overflow");
    return Variant(value);
}

Variant Arithmetic(BinaryOp op, const Variant& left, const Variant& right) {
    if (left.IsNull() && right.IsNull())
        return {};
    if (op == BinaryOp::Add && (left.IsString() || right.IsString())) {
        // Two texts join; a text and a number add when the text reads as a number (as variants do),
        // otherwise they join too, which is what a report author writing 'Page ' + 1 means.
        if (left.IsString() && right.IsString())
            return Variant(left.AsString() + right.AsString());
        Variant a, b;
        if (left.IsBool() || right.IsBool() || !ToNumber(left, a) || !ToNumber(right, b))
            return Variant(left.AsString() + right.AsString());
    }
    Variant a, b;
    if (left.IsBool() || right.IsBool() || !ToNumber(left, a) || !ToNumber(right, b))
        Mismatch(op, left, right);

    if (op == BinaryOp::IntDivide || op == BinaryOp::Modulo) {
        const std::int64_t x = a.AsInteger(), y = b.AsInteger();
        if (y == 0)
            throw RuntimeError("Division by zero");
        if (y == -1)
            return op == BinaryOp::Modulo ? Variant(std::int64_t(0))
                                          : ApplyUnary(UnaryOp::Negate, Variant(x));
        return Variant(op == BinaryOp::IntDivide ? x / y : x % y);
    }
    if (op == BinaryOp::Divide) {
        if (b.AsFloat() == 0)
            throw RuntimeError("Division by zero");
        return CheckedFloat(a.AsFloat() / b.AsFloat());
    }
    if (a.IsInteger() && b.IsInteger()) {
        const std::int64_t x = a.AsInteger(), y = b.AsInteger();
        std::int64_t result = 0;
        bool overflow = false;
        switch (op) {
        case BinaryOp::Add:
            overflow = __builtin_add_overflow(x, y, &result);
            break;
        case BinaryOp::Subtract:
            overflow = __builtin_sub_overflow(x, y, &result);
            break;
        default:
            overflow = __builtin_mul_overflow(x, y, &result);
            break;
        }
        if (overflow)
            throw RuntimeError("Integer overflow");
        return Variant(result);
    }
    const long double x = a.AsFloat(), y = b.AsFloat();
    switch (op) {
    case BinaryOp::Add:
        return CheckedFloat(x + y);
    case BinaryOp::Subtract:
        return CheckedFloat(x - y);
    default:
        return CheckedFloat(x * y);
    }
}

Variant Logical(BinaryOp op, const Variant& left, const Variant& right) {
    if (left.IsBool() || right.IsBool()) {
        const bool x = left.AsBool(), y = right.AsBool();
        switch (op) {
        case BinaryOp::And:
            return Variant(x && y);
        case BinaryOp::Or:
            return Variant(x || y);
        default:
            return Variant(x != y);
        }
    }
    if (left.IsNull() && right.IsNull())
        return {};
    if (left.IsFloat() || right.IsFloat())
        Mismatch(op, left, right);
    const std::int64_t x = left.AsInteger(), y = right.AsInteger();
    switch (op) {
    case BinaryOp::And:
        return Variant(x & y);
    case BinaryOp::Or:
        return Variant(x | y);
    case BinaryOp::Xor:
        return Variant(x ^ y);
    case BinaryOp::Shl:
        return Variant(std::int64_t(std::uint64_t(x) << (y & 63)));
    default:
        return Variant(std::int64_t(std::uint64_t(x) >> (y & 63)));
    }
}

int Sign(long double d) {
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

int CompareTexts(const std::string& a, const std::string& b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareNumbers(const Variant& a, const Variant& b) {
    if (a.IsInteger() && b.IsInteger()) {
        const std::int64_t x = a.AsInteger(), y = b.AsInteger();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return Sign(a.AsFloat() - b.AsFloat());
}

} // namespace

const char* OperatorText(BinaryOp op) {
    static const char* const texts[] = {"+",   "-",   "*", "/",  "div", "mod", "and", "or", "xor",
                                        "shl", "shr", "=", "<>", "<",   ">",   "<=",  ">="};
    return texts[static_cast<int>(op)];
}

int CompareValues(const Variant& left, const Variant& right) {
    // Null stands for the empty value of the other side's kind.
    if (left.IsNull() || right.IsNull()) {
        if (left.IsNull() && right.IsNull())
            return 0;
        const Variant& other = left.IsNull() ? right : left;
        const Variant empty = other.IsString() ? Variant(std::string())
                              : other.IsBool() ? Variant(false)
                                               : Variant(0);
        return left.IsNull() ? CompareValues(empty, right) : CompareValues(left, empty);
    }
    if (left.IsNumber() && right.IsNumber())
        return CompareNumbers(left, right);
    if (left.IsString() && right.IsString())
        return CompareTexts(left.AsString(), right.AsString());
    if (left.IsBool() && right.IsBool())
        return int(left.AsBool()) - int(right.AsBool());
    if (left.IsBool() || right.IsBool()) {
        // A Boolean against a number compares as 0/1, against a text as its name.
        const Variant& other = left.IsBool() ? right : left;
        if (other.IsNumber())
            return CompareNumbers(Variant(left.AsInteger()), Variant(right.AsInteger()));
        return CompareTexts(NameKey(left.AsString()), NameKey(right.AsString()));
    }
    // A number and a text: as numbers when the text reads as one, else as texts.
    Variant number;
    const Variant& text = left.IsString() ? left : right;
    if (ParseNumber(text.AsString(), number))
        return left.IsString() ? CompareNumbers(number, right) : CompareNumbers(left, number);
    return CompareTexts(left.AsString(), right.AsString());
}

Variant ApplyBinary(BinaryOp op, const Variant& left, const Variant& right) {
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Subtract:
    case BinaryOp::Multiply:
    case BinaryOp::Divide:
    case BinaryOp::IntDivide:
    case BinaryOp::Modulo:
        return Arithmetic(op, left, right);
    case BinaryOp::And:
    case BinaryOp::Or:
    case BinaryOp::Xor:
    case BinaryOp::Shl:
    case BinaryOp::Shr:
        return Logical(op, left, right);
    case BinaryOp::Equal:
        return Variant(CompareValues(left, right) == 0);
    case BinaryOp::NotEqual:
        return Variant(CompareValues(left, right) != 0);
    case BinaryOp::Less:
        return Variant(CompareValues(left, right) < 0);
    case BinaryOp::Greater:
        return Variant(CompareValues(left, right) > 0);
    case BinaryOp::LessEqual:
        return Variant(CompareValues(left, right) <= 0);
    case BinaryOp::GreaterEqual:
        return Variant(CompareValues(left, right) >= 0);
    }
    return {};
}

Variant ApplyUnary(UnaryOp op, const Variant& operand) {
    if (operand.IsNull())
        return {};
    if (op == UnaryOp::Not) {
        if (operand.IsInteger())
            return Variant(~operand.AsInteger());
        if (operand.IsFloat())
            throw RuntimeError(std::string("Operator 'not' cannot be applied to ") + TypeName(operand));
        return Variant(!operand.AsBool());
    }
    Variant number;
    if (operand.IsBool() || !ToNumber(operand, number))
        throw RuntimeError(std::string("Operator '") + (op == UnaryOp::Negate ? "-" : "+") +
                           "' cannot be applied to " + TypeName(operand));
    if (op == UnaryOp::Plus)
        return number;
    if (number.IsInteger()) {
        if (number.AsInteger() == std::numeric_limits<std::int64_t>::min())
            throw RuntimeError("Integer overflow");
        return Variant(-number.AsInteger());
    }
    return Variant(-number.AsFloat());
}

} // namespace script
