#pragma once
// Parser of the script language: tokens to a resolved ProgramTree.
//
//   program     = ["program" name ";"] { var-section | const-section | routine } "begin" statements "end" "."
//   var-section = "var" { names ":" type ["=" constant] ";" }
//   const       = "const" { name [":" type] "=" constant ";" }
//   routine     = ("procedure" name [params] | "function" name [params] ":" type) ";"
//                 { var-section | const-section } "begin" statements "end" ";"
//   params      = "(" ["const"] names ":" type ["=" constant] { ";" ... } ")"
//   statement   = assignment | call | "if" expr "then" statement ["else" statement]
//               | "begin" statements "end" | "while" expr "do" statement
//               | "repeat" statements "until" expr | "for" name ":=" expr ("to"|"downto") expr "do" statement
//               | "Exit" | "Break" | "Continue" | (empty)
//   expression  = Pascal precedence: not, unary -/+; * / div mod and shl shr; + - or xor;
//                 = <> < > <= >= (one per expression, as in Pascal)
//
// Names resolve innermost first: locals and parameters, globals, the script's routines, True/False/
// Null/Nil, host functions, built-in functions (IIF among them), host objects. So a host function
// named like a built-in (IIF) wins over it.

#include "script/Ast.h"
#include "script/Lexer.h"

namespace script {

// Throws CompileFailure.
ProgramTree Parse(const std::string& source, const Host& host);

} // namespace script
