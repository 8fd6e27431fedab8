#include "script/Lexer.h"
#include "script/Utf8.h"

#include <charconv>
#include <cstring>
#include <unordered_map>

namespace script {

namespace {

const std::unordered_map<std::string, Tok>& Keywords() {
    static const std::unordered_map<std::string, Tok> words = {
        {"AND", Tok::And},
        {"BEGIN", Tok::Begin},
        {"CONST", Tok::Const},
        {"DIV", Tok::Div},
        {"DO", Tok::Do},
        {"DOWNTO", Tok::Downto},
        {"ELSE", Tok::Else},
        {"END", Tok::EndKw},
        {"FOR", Tok::For},
        {"FUNCTION", Tok::Function},
        {"IF", Tok::If},
        {"MOD", Tok::Mod},
        {"NOT", Tok::Not},
        {"OR", Tok::Or},
        {"PROCEDURE", Tok::Procedure},
        {"PROGRAM", Tok::Program},
        {"REPEAT", Tok::Repeat},
        {"SHL", Tok::Shl},
        {"SHR", Tok::Shr},
        {"THEN", Tok::Then},
        {"TO", Tok::To},
        {"UNTIL", Tok::Until},
        {"VAR", Tok::Var},
        {"WHILE", Tok::While},
        {"XOR", Tok::Xor},
        {"ARRAY", Tok::Unsupported},
        {"CASE", Tok::Unsupported},
        {"CLASS", Tok::Unsupported},
        {"EXCEPT", Tok::Unsupported},
        {"FINALLY", Tok::Unsupported},
        {"GOTO", Tok::Unsupported},
        {"LABEL", Tok::Unsupported},
        {"OF", Tok::Unsupported},
        {"RECORD", Tok::Unsupported},
        {"TRY", Tok::Unsupported},
        {"TYPE", Tok::Unsupported},
        {"USES", Tok::Unsupported},
        {"WITH", Tok::Unsupported},
    };
    return words;
}

bool IsLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char32_t c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsIdentifierStart(char32_t c) {
    return IsLetter(c) || utf8::IsCyrillic(c);
}
bool IsIdentifierPart(char32_t c) {
    return IsIdentifierStart(c) || IsDigit(c);
}

bool EndsOperand(Tok kind) {
    switch (kind) {
    case Tok::Identifier:
    case Tok::Integer:
    case Tok::Float:
    case Tok::String:
    case Tok::Variable:
    case Tok::RParen:
    case Tok::RBracket:
        return true;
    default:
        return false;
    }
}

} // namespace

// The scanner reads one token at a time, so a compile error stops it early even on huge input.
class Lexer::Scanner {
public:
    explicit Scanner(const std::string& source) : FText(source) {}

    Token Next() {
        SkipBlanksAndComments();
        Token token;
        token.Line = FLine;
        token.Column = FColumn;
        if (FPos < FText.size())
            ReadToken(token, EndsOperand(FPrevious));
        FPrevious = token.Kind;
        return token;
    }

private:
    char32_t Peek(std::size_t ahead = 0) const {
        std::size_t pos = FPos;
        char32_t c = 0;
        for (std::size_t i = 0; i <= ahead; ++i) {
            if (pos >= FText.size())
                return 0;
            c = utf8::Next(FText, pos);
        }
        return c;
    }

    char32_t Advance() {
        const char32_t c = utf8::Next(FText, FPos);
        if (c == '\n') {
            ++FLine;
            FColumn = 1;
        } else {
            ++FColumn;
        }
        return c;
    }

    [[noreturn]] void Fail(int line, int column, const std::string& message) const {
        throw CompileFailure{CompileError{line, column, message}};
    }

    void SkipBlanksAndComments() {
        while (FPos < FText.size()) {
            const char32_t c = Peek();
            const int line = FLine, column = FColumn;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == 0xFEFF) {
                Advance();
            } else if (c == '{') {
                SkipUntil("}", line, column);
            } else if (c == '(' && Peek(1) == '*') {
                Advance();
                SkipUntil("*)", line, column);
            } else if (c == '/' && Peek(1) == '/') {
                while (FPos < FText.size() && Peek() != '\n')
                    Advance();
            } else {
                return;
            }
        }
    }

    void SkipUntil(const char* closing, int line, int column) {
        Advance();
        const std::size_t found = FText.find(closing, FPos);
        if (found == std::string::npos)
            Fail(line, column, "Unterminated comment");
        const std::size_t end = found + std::strlen(closing);
        while (FPos < end)
            Advance();
    }

    void ReadToken(Token& token, bool afterOperand) {
        const char32_t c = Peek();
        if (IsIdentifierStart(c))
            return ReadIdentifier(token);
        if (IsDigit(c) || (c == '$' && IsHexDigit(Peek(1))))
            return ReadNumber(token);
        if (c == '\'' || c == '#')
            return ReadString(token);
        if (c == '<' && !afterOperand)
            return ReadVariable(token);
        ReadSymbol(token);
    }

    void ReadIdentifier(Token& token) {
        const std::size_t start = FPos;
        while (FPos < FText.size() && IsIdentifierPart(Peek()))
            Advance();
        token.Text = FText.substr(start, FPos - start);
        const auto& words = Keywords();
        const auto it = words.find(NameKey(token.Text));
        token.Kind = it == words.end() ? Tok::Identifier : it->second;
    }

    void ReadNumber(Token& token) {
        const std::size_t start = FPos;
        if (Peek() == '$') {
            Advance();
            while (FPos < FText.size() && IsHexDigit(Peek()))
                Advance();
            token.Text = FText.substr(start, FPos - start);
            std::uint64_t value = 0;
            const auto [end, ec] = std::from_chars(FText.data() + start + 1, FText.data() + FPos, value, 16);
            if (ec != std::errc() || value > std::uint64_t(INT64_MAX))
                Fail(token.Line, token.Column, "Integer constant too large: " + token.Text);
            token.Kind = Tok::Integer;
            token.Value = Variant(std::int64_t(value));
            return;
        }
        bool real = false;
        while (FPos < FText.size() && IsDigit(Peek()))
            Advance();
        if (Peek() == '.' && IsDigit(Peek(1))) {
            real = true;
            Advance();
            while (FPos < FText.size() && IsDigit(Peek()))
                Advance();
        }
        if (Peek() == 'e' || Peek() == 'E') {
            const char32_t next = Peek(1);
            if (IsDigit(next) || ((next == '+' || next == '-') && IsDigit(Peek(2)))) {
                real = true;
                Advance();
                Advance();
                while (FPos < FText.size() && IsDigit(Peek()))
                    Advance();
            }
        }
        token.Text = FText.substr(start, FPos - start);
        Variant value;
        if (!ParseNumberLiteral(token.Text, real, value))
            Fail(token.Line, token.Column,
                 std::string(real ? "Floating point constant out of range: "
                                  : "Integer constant too large: ") +
                     token.Text);
        token.Kind = real ? Tok::Float : Tok::Integer;
        token.Value = value;
    }

    static bool ParseNumberLiteral(const std::string& text, bool real, Variant& out) {
        const char* first = text.data();
        const char* last = text.data() + text.size();
        if (real) {
            long double value = 0;
            const auto [end, ec] = std::from_chars(first, last, value);
            if (ec != std::errc() || end != last)
                return false;
            out = Variant(value);
            return true;
        }
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || end != last)
            return false;
        out = Variant(value);
        return true;
    }

    void ReadString(Token& token) {
        token.Kind = Tok::String;
        for (;;) {
            const char32_t c = Peek();
            if (c == '\'') {
                const int line = FLine, column = FColumn;
                Advance();
                for (;;) {
                    if (FPos >= FText.size() || Peek() == '\n' || Peek() == '\r')
                        Fail(line, column, "Unterminated string");
                    const std::size_t start = FPos;
                    if (Advance() == '\'') {
                        if (Peek() != '\'')
                            break;
                        Advance(); // '' stands for one quote
                        token.Text += '\'';
                        continue;
                    }
                    token.Text.append(FText, start, FPos - start);
                }
            } else if (c == '#') {
                const int line = FLine, column = FColumn;
                Advance();
                const bool hex = Peek() == '$';
                if (hex)
                    Advance();
                const std::size_t start = FPos;
                while (FPos < FText.size() && (hex ? IsHexDigit(Peek()) : IsDigit(Peek())))
                    Advance();
                std::uint32_t code = 0;
                const auto [end, ec] =
                    std::from_chars(FText.data() + start, FText.data() + FPos, code, hex ? 16 : 10);
                if (FPos == start || ec != std::errc() || code > 0x10FFFF ||
                    (code >= 0xD800 && code <= 0xDFFF))
                    Fail(line, column, "Invalid character code");
                utf8::Append(token.Text, code);
            } else {
                return;
            }
        }
    }

    void ReadVariable(Token& token) {
        const char32_t first = Peek(1);
        if (!(IsLetter(first) || first >= 0x80)) {
            ReadSymbol(token);
            return;
        }
        const std::size_t close = FText.find_first_of(">\r\n", FPos + 1);
        if (close == std::string::npos || FText[close] != '>')
            Fail(token.Line, token.Column, "'>' expected after the variable name");
        token.Kind = Tok::Variable;
        token.Text = FText.substr(FPos + 1, close - FPos - 1);
        while (FPos <= close)
            Advance();
    }

    void ReadSymbol(Token& token) {
        struct Symbol {
            const char* Text;
            Tok Kind;
        };
        // Two-character symbols first.
        static const Symbol symbols[] = {
            {":=", Tok::Assign},   {"<>", Tok::NotEqual}, {"<=", Tok::LessEqual}, {">=", Tok::GreaterEqual},
            {"+", Tok::Plus},      {"-", Tok::Minus},     {"*", Tok::Star},       {"/", Tok::Slash},
            {"=", Tok::Equal},     {"<", Tok::Less},      {">", Tok::Greater},    {":", Tok::Colon},
            {";", Tok::Semicolon}, {",", Tok::Comma},     {".", Tok::Dot},        {"(", Tok::LParen},
            {")", Tok::RParen},    {"[", Tok::LBracket},  {"]", Tok::RBracket},
        };
        const char first = FText[FPos];
        const char second = FPos + 1 < FText.size() ? FText[FPos + 1] : '\0';
        for (const Symbol& symbol : symbols) {
            if (symbol.Text[0] != first || (symbol.Text[1] != '\0' && symbol.Text[1] != second))
                continue;
            const std::size_t length = symbol.Text[1] ? 2 : 1;
            {
                token.Kind = symbol.Kind;
                token.Text = symbol.Text;
                for (std::size_t i = 0; i < length; ++i)
                    Advance();
                return;
            }
        }
        const std::size_t start = FPos;
        const char32_t c = Advance();
        std::string shown = c < 0x20 || c == 0xFFFD
                                ? "#" + std::to_string(static_cast<unsigned char>(FText[start]))
                                : FText.substr(start, FPos - start);
        Fail(token.Line, token.Column, "Illegal character '" + shown + "'");
    }

    const std::string& FText;
    std::size_t FPos = 0;
    int FLine = 1;
    int FColumn = 1;
    Tok FPrevious = Tok::End;
};

Lexer::Lexer(const std::string& source) : FScanner(std::make_unique<Scanner>(source)) {}
Lexer::~Lexer() = default;
Token Lexer::Next() {
    return FScanner->Next();
}

std::string Describe(Tok kind) {
    switch (kind) {
    case Tok::End:
        return "end of text";
    case Tok::Identifier:
        return "identifier";
    case Tok::Integer:
    case Tok::Float:
        return "number";
    case Tok::String:
        return "string";
    case Tok::Variable:
        return "variable";
    default:
        break;
    }
    static const char* const symbols[] = {
        "+", "-", "*", "/", "=", "<>", "<", ">", "<=", ">=", ":=", ":", ";", ",", ".", "(", ")", "[", "]"};
    const int index = static_cast<int>(kind) - static_cast<int>(Tok::Plus);
    if (index >= 0 && index < int(std::size(symbols)))
        return std::string("'") + symbols[index] + "'";
    for (const auto& [word, tok] : Keywords())
        if (tok == kind)
            return "'" + utf8::ToLower(word) + "'";
    return "token";
}

std::string Describe(const Token& token) {
    switch (token.Kind) {
    case Tok::Identifier:
        return "identifier '" + token.Text + "'";
    case Tok::Integer:
    case Tok::Float:
        return "number " + token.Text;
    case Tok::String:
        return "string '" + token.Text + "'";
    case Tok::Variable:
        return "variable <" + token.Text + ">";
    case Tok::Unsupported:
        return "'" + utf8::ToLower(token.Text) + "'";
    default:
        return Describe(token.Kind);
    }
}

} // namespace script
