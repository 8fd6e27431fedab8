#pragma once
// The report engine's small script language: a Pascal-like subset, compiled once and run
// against a host (the report) that provides objects, variables and functions.
//
//   begin
//     if Pos('ТБ', <Формула>) = 0 then meType.Memo.Text := '';
//   end.
//
// Supported: a main block `begin ... end.`; global and local `var` (with optional `= constant`)
// and `const` sections; procedure and function declarations with value parameters, defaults and
// `Result` (or the function's own name) (`procedure Name(Sender: TObject); begin ... end;`,
// `function Name(A: Integer; B: String = ''): Variant; begin Result := ... end;`);
// statements: assignment (`:=`) to variables and to object property paths (`Obj.Prop.Sub`),
// `if ... then ... [else ...]`, `begin ... end`, `while ... do`, `repeat ... until`,
// `for ... := ... to|downto ... do`, `Exit`, `Break`, `Continue` and procedure calls;
// expressions with string ('It''s', #13#10, #$41), integer ($FF), float literals, `True`/`False`/
// `Null`/`Nil`, `+ - * / div mod`, `= <> < > <= >=`, `and or xor not shl shr` (short-circuit on
// Booleans, bitwise on integers), parentheses, function calls, object property reads and `<name>`.
// Anything else (case, with, try, arrays, ...) is a compile error with its position.
//
// Names, innermost first: locals and parameters, globals, the script's routines, True/False/Null/
// Nil, host functions, built-in functions, host objects. So the host's IIF wins over the built-in
// one (which evaluates only the branch it returns). Identifiers are case-insensitive (Cyrillic
// letters included); unknown names do not compile.
// Built-in functions: Pos, Copy, Length, UpperCase, LowerCase, AnsiUpperCase, AnsiLowerCase, Trim,
// TrimLeft, TrimRight, IntToStr, StrToInt, StrToIntDef, FloatToStr, StrToFloat, StrToFloatDef,
// Round, Trunc, Abs, Chr, Ord, VarIsNull, IIF. Strings count characters, not bytes.
//
// Host access: `Obj.A.B` reads and writes through GetProperty/SetProperty with the path {"A", "B"};
// a bare object name (`Value`) reads and writes the object's own value with an empty path.
// `<name>` calls GetVariable(name). A '<' where an operand is expected (after an operator, '(',
// ',', ':=', a keyword) opens a variable name that runs to the next '>' on the same line and
// starts with a letter, so it may hold spaces and dots; after an operand '<' is the comparison.
//
// Values: `+` joins two texts, adds a text that reads as a number to a number (else joins);
// comparisons of a number with a text compare as numbers when the text reads as one; Null is
// the empty value of the other operand's kind. Integer overflow, division by zero, failed
// conversions, unknown properties, endless loops (see SetStepLimit) and runaway recursion
// ("Stack overflow") raise RuntimeError.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace script {

// A script value. Strings are UTF-8.
class Variant {
public:
    using Storage = std::variant<std::monostate, bool, std::int64_t, long double, std::string>;

    Variant() = default;
    Variant(bool v) : FValue(v) {}
    Variant(int v) : FValue(std::int64_t(v)) {}
    Variant(std::int64_t v) : FValue(v) {}
    Variant(double v) : FValue((long double)v) {}
    Variant(long double v) : FValue(v) {}
    Variant(const char* v) : FValue(std::string(v)) {}
    Variant(std::string v) : FValue(std::move(v)) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(FValue); }
    bool IsBool() const { return std::holds_alternative<bool>(FValue); }
    bool IsInteger() const { return std::holds_alternative<std::int64_t>(FValue); }
    bool IsFloat() const { return std::holds_alternative<long double>(FValue); }
    bool IsNumber() const { return IsInteger() || IsFloat(); }
    bool IsString() const { return std::holds_alternative<std::string>(FValue); }

    bool AsBool() const;            // numbers: non-zero; strings: "True"/"False" (any case)
    std::int64_t AsInteger() const; // floats truncated; strings parsed; throws RuntimeError when impossible
    long double AsFloat() const;    // strings parsed with '.' or ','; throws RuntimeError when impossible
    std::string AsString() const;   // Null gives "", booleans "True"/"False", floats up to 18 digits

    const Storage& Value() const { return FValue; }
    bool operator==(const Variant& other) const { return FValue == other.FValue; }

private:
    Storage FValue;
};

// Raised while running: a message, and where in the source the failing statement is.
// what() is the plain message; Line and Column are 0 when the position is unknown (errors the host
// raises itself pass through unchanged).
class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    RuntimeError(const std::string& message, int line, int column)
        : std::runtime_error(message), Line(line), Column(column) {}
    int Line = 0;
    int Column = 0;
};

struct CompileError {
    int Line = 0;   // 1-based
    int Column = 0; // 1-based
    std::string Message;
};

// What the running script may reach. The report implements this.
class Host {
public:
    virtual ~Host() = default;
    // True when an object of that name exists (checked at compile time: unknown names do not compile).
    virtual bool HasObject(const std::string& name) const = 0;
    // Property access along a path, e.g. object "meType", path {"Memo", "Text"}.
    // Return false (with a message in error) when the property does not exist.
    virtual bool GetProperty(const std::string& object, const std::vector<std::string>& path, Variant& value,
                             std::string& error) = 0;
    virtual bool SetProperty(const std::string& object, const std::vector<std::string>& path,
                             const Variant& value, std::string& error) = 0;
    // `<name>`: a report variable. Throws RuntimeError when the name is unknown.
    virtual Variant GetVariable(const std::string& name) = 0;
    // Host functions (Get, Set, IIF, ...); HasFunction is asked at compile time.
    virtual bool HasFunction(const std::string& name) const = 0;
    virtual Variant CallFunction(const std::string& name, const std::vector<Variant>& args) = 0;
};

class ProgramImpl;

// A compiled script. Compiling resolves object and function names against the host.
class Program {
public:
    ~Program();
    Program(Program&&) noexcept;
    Program& operator=(Program&&) noexcept;

    // Returns nullptr and fills error when the source does not compile.
    static std::unique_ptr<Program> Compile(const std::string& source, const Host& host, CompileError& error);

    // True when the main block has at least one statement.
    bool HasMainStatements() const;
    // Runs the main block. Throws RuntimeError.
    void RunMain(Host& host);

    bool HasProcedure(const std::string& name) const; // procedures and functions, case-insensitive
    // Runs a procedure or function with the given arguments; returns a function's Result (Null for a
    // procedure).
    Variant Call(const std::string& name, const std::vector<Variant>& args, Host& host);

    // Global `var` and `const` declarations of the script, readable by name (Null when unknown).
    bool HasGlobal(const std::string& name) const;
    Variant Global(const std::string& name) const;

    // Statements and loop rounds one RunMain or Call may take before it stops with a RuntimeError,
    // so a script can never hang the report.
    static constexpr std::uint64_t kDefaultStepLimit = 10'000'000;
    void SetStepLimit(std::uint64_t steps);

private:
    explicit Program(std::unique_ptr<ProgramImpl> impl);
    std::unique_ptr<ProgramImpl> FImpl;
};

// Case-insensitive comparison of identifiers (ASCII and Cyrillic letters).
bool SameName(const std::string& a, const std::string& b);
// Upper-case form of an identifier used as a lookup key (ASCII and Cyrillic letters).
std::string NameKey(const std::string& name);

} // namespace script
