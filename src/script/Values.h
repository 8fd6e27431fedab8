#pragma once
// Conversions and operators on script values, shared by the evaluator and the built-in functions.

#include "script/Script.h"

#include <string_view>

namespace script {

// Parses a whole text (surrounding blanks allowed) as a number: an integer (decimal or $hex) or a
// float with '.' or ',' as decimal separator. False when the text is not a number.
bool ParseNumber(std::string_view text, Variant& out);
// Shortest text that reads back as the same value, at most 18 significant digits, '.' as separator.
std::string FormatFloat(long double value);
// "Null", "Boolean", "Integer", "Float" or "String", for messages.
const char* TypeName(const Variant& value);

enum class BinaryOp {
    Add,
    Subtract,
    Multiply,
    Divide,
    IntDivide,
    Modulo,
    And,
    Or,
    Xor,
    Shl,
    Shr,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual
};
enum class UnaryOp { Negate, Plus, Not };

const char* OperatorText(BinaryOp op);
// Applies an operator; `and`/`or` short-circuiting is the evaluator's job, this gets both values.
Variant ApplyBinary(BinaryOp op, const Variant& left, const Variant& right);
Variant ApplyUnary(UnaryOp op, const Variant& operand);
// -1, 0 or 1, comparing as numbers when both sides can be read as numbers, else as texts.
int CompareValues(const Variant& left, const Variant& right);

} // namespace script
