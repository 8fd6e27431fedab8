#pragma once
// Tokenizer of the script language.
//
// Identifiers: ASCII letters, digits, '_' and Cyrillic letters (UTF-8), compared without case.
// Strings: 'text' with '' for a quote, joined with character codes #13, #$0A ('a'#13#10'b').
// Numbers: 12, $FF, 1.5, 2e3. Comments: { }, (* *), // to the end of the line.
// Report variables: `<name>`. A '<' where an operand is expected (after an operator, '(', ',', ':=',
// a keyword, or at the start) can never be a comparison, so there it opens a variable name: any text
// up to the next '>' on the same line, which must start with a letter ('_' and non-ASCII count as
// letters). Where an operand has just ended, '<' is the comparison, so `a<b` and `<A> < <B>` both work.

#include "script/Script.h"

#include <memory>
#include <string>
#include <vector>

namespace script {

enum class Tok {
    End,
    Identifier,
    Integer,
    Float,
    String,
    Variable,
    Plus,
    Minus,
    Star,
    Slash,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Assign,
    Colon,
    Semicolon,
    Comma,
    Dot,
    LParen,
    RParen,
    LBracket,
    RBracket,
    // Keywords.
    And,
    Begin,
    Const,
    Div,
    Do,
    Downto,
    Else,
    EndKw,
    For,
    Function,
    If,
    Mod,
    Not,
    Or,
    Procedure,
    Program,
    Repeat,
    Shl,
    Shr,
    Then,
    To,
    Until,
    Var,
    While,
    Xor,
    // Reserved words of the full language that this subset does not have.
    Unsupported,
};

struct Token {
    Tok Kind = Tok::End;
    std::string Text; // as written; the value of a string literal; the name of a variable
    Variant Value;    // numbers
    int Line = 1;
    int Column = 1;
};

// Thrown inside the compiler; Program::Compile turns it into a CompileError.
struct CompileFailure {
    CompileError Error;
};

// Reads tokens one by one; after the last, every call returns Tok::End. Throws CompileFailure.
class Lexer {
public:
    explicit Lexer(const std::string& source); // source must outlive the lexer
    ~Lexer();
    Token Next();

private:
    class Scanner;
    std::unique_ptr<Scanner> FScanner;
};
// How a token kind reads in messages: "'begin'", "identifier", "end of text".
std::string Describe(const Token& token);
std::string Describe(Tok kind);

} // namespace script
