#include "script/Builtins.h"
#include "script/Utf8.h"
#include "script/Values.h"

#include <cmath>
#include <limits>
#include <unordered_map>

namespace script {

namespace {

using Args = std::vector<Variant>;

std::string Trimmed(const std::string& text, bool left, bool right) {
    std::size_t begin = 0, end = text.size();
    while (left && begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (right && end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

Variant Pos(const Args& a) {
    const std::string sub = a[0].AsString(), text = a[1].AsString();
    if (sub.empty())
        return Variant(0);
    const std::size_t found = text.find(sub);
    if (found == std::string::npos)
        return Variant(0);
    return Variant(std::int64_t(utf8::Length(std::string_view(text).substr(0, found)) + 1));
}

Variant Copy(const Args& a) {
    const std::string text = a[0].AsString();
    const std::int64_t index = std::max<std::int64_t>(a[1].AsInteger(), 1);
    const std::int64_t count = a.size() > 2 ? a[2].AsInteger() : std::numeric_limits<std::int64_t>::max();
    if (count <= 0)
        return Variant(std::string());
    const std::size_t begin = utf8::Offset(text, std::size_t(index - 1));
    const std::size_t end = begin + utf8::Offset(std::string_view(text).substr(begin), std::size_t(count));
    return Variant(text.substr(begin, end - begin));
}

Variant Length(const Args& a) {
    return Variant(std::int64_t(utf8::Length(a[0].AsString())));
}
Variant Upper(const Args& a) {
    return Variant(utf8::ToUpper(a[0].AsString()));
}
Variant Lower(const Args& a) {
    return Variant(utf8::ToLower(a[0].AsString()));
}
Variant Trim(const Args& a) {
    return Variant(Trimmed(a[0].AsString(), true, true));
}
Variant TrimLeft(const Args& a) {
    return Variant(Trimmed(a[0].AsString(), true, false));
}
Variant TrimRight(const Args& a) {
    return Variant(Trimmed(a[0].AsString(), false, true));
}
Variant IntToStr(const Args& a) {
    return Variant(std::to_string(a[0].AsInteger()));
}
Variant FloatToStr(const Args& a) {
    return Variant(FormatFloat(a[0].AsFloat()));
}

Variant StrToInt(const Args& a) {
    Variant number;
    if (!ParseNumber(a[0].AsString(), number) || !number.IsInteger()) {
        if (a.size() > 1)
            return Variant(a[1].AsInteger());
        throw RuntimeError("'" + a[0].AsString() + "' is not a valid integer value");
    }
    return number;
}

Variant StrToFloat(const Args& a) {
    Variant number;
    if (!ParseNumber(a[0].AsString(), number)) {
        if (a.size() > 1)
            return Variant(a[1].AsFloat());
        throw RuntimeError("'" + a[0].AsString() + "' is not a valid floating point value");
    }
    return Variant(number.AsFloat());
}

Variant ToInteger(long double value) {
    if (!std::isfinite(value) || value >= 9223372036854775808.0L || value < -9223372036854775808.0L)
        throw RuntimeError("Integer overflow");
    return Variant(static_cast<std::int64_t>(value));
}

// Round half to even, as Pascal's Round does (the default rounding mode).
Variant Round(const Args& a) {
    return a[0].IsInteger() ? a[0] : ToInteger(std::nearbyintl(a[0].AsFloat()));
}
Variant Trunc(const Args& a) {
    return a[0].IsInteger() ? a[0] : ToInteger(std::truncl(a[0].AsFloat()));
}

Variant Abs(const Args& a) {
    if (a[0].IsNull())
        return {};
    const Variant number = ApplyUnary(UnaryOp::Plus, a[0]);
    if (number.IsInteger()) {
        const std::int64_t value = number.AsInteger();
        return value < 0 ? ApplyUnary(UnaryOp::Negate, number) : number;
    }
    return Variant(std::fabs(number.AsFloat()));
}

Variant Chr(const Args& a) {
    const std::int64_t code = a[0].AsInteger();
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        throw RuntimeError("Invalid character code " + std::to_string(code));
    std::string text;
    utf8::Append(text, char32_t(code));
    return Variant(text);
}

Variant Ord(const Args& a) {
    if (!a[0].IsString())
        return Variant(a[0].AsInteger());
    const std::string text = a[0].AsString();
    if (text.empty())
        throw RuntimeError("Ord of an empty string");
    std::size_t pos = 0;
    return Variant(std::int64_t(utf8::Next(text, pos)));
}

Variant VarIsNull(const Args& a) {
    return Variant(a[0].IsNull());
}

const Builtin kBuiltins[] = {
    {"Pos", 2, 2, Pos},
    {"Copy", 2, 3, Copy},
    {"Length", 1, 1, Length},
    {"UpperCase", 1, 1, Upper},
    {"LowerCase", 1, 1, Lower},
    {"AnsiUpperCase", 1, 1, Upper},
    {"AnsiLowerCase", 1, 1, Lower},
    {"Trim", 1, 1, Trim},
    {"TrimLeft", 1, 1, TrimLeft},
    {"TrimRight", 1, 1, TrimRight},
    {"IntToStr", 1, 1, IntToStr},
    {"StrToInt", 1, 1, StrToInt},
    {"StrToIntDef", 2, 2, StrToInt},
    {"FloatToStr", 1, 1, FloatToStr},
    {"StrToFloat", 1, 1, StrToFloat},
    {"StrToFloatDef", 2, 2, StrToFloat},
    {"Round", 1, 1, Round},
    {"Trunc", 1, 1, Trunc},
    {"Abs", 1, 1, Abs},
    {"Chr", 1, 1, Chr},
    {"Ord", 1, 1, Ord},
    {"VarIsNull", 1, 1, VarIsNull},
};

} // namespace

const Builtin* FindBuiltin(const std::string& name) {
    static const std::unordered_map<std::string, const Builtin*> index = [] {
        std::unordered_map<std::string, const Builtin*> map;
        for (const Builtin& builtin : kBuiltins)
            map.emplace(NameKey(builtin.Name), &builtin);
        return map;
    }();
    const auto it = index.find(NameKey(name));
    return it == index.end() ? nullptr : it->second;
}

bool FindConstant(const std::string& name, Variant& value) {
    const std::string key = NameKey(name);
    if (key == "TRUE")
        value = Variant(true);
    else if (key == "FALSE")
        value = Variant(false);
    else if (key == "NULL" || key == "NIL")
        value = Variant();
    else
        return false;
    return true;
}

} // namespace script
