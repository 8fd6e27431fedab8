#include "script/Script.h"
#include "script/Values.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace script {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

bool ParseInteger(std::string_view text, std::int64_t& out) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-')
        return false;
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return false;
    const std::uint64_t limit = std::uint64_t(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    if (magnitude > limit)
        return false;
    out = negative ? std::int64_t(0 - magnitude) : std::int64_t(magnitude);
    return true;
}

bool ParseFloat(std::string_view text, long double& out) {
    std::string buffer(text);
    for (char& c : buffer)
        if (c == ',')
            c = '.';
    const char* begin = buffer.data();
    if (!buffer.empty() && buffer.front() == '+')
        ++begin;
    // from_chars also reads "inf" and "nan"; a value in a report never means those.
    for (const char* p = begin; *p; ++p)
        if (!((*p >= '0' && *p <= '9') || *p == '.' || *p == 'e' || *p == 'E' || *p == '-' || *p == '+'))
            return false;
    const auto [end, ec] =
        std::from_chars(begin, buffer.data() + buffer.size(), out, std::chars_format::general);
    return ec == std::errc() && end == buffer.data() + buffer.size() && std::isfinite(out);
}

[[noreturn]] void CannotConvert(const Variant& value, const char* to) {
    std::string shown = value.IsString() ? "'" + value.AsString() + "'" : value.AsString();
    throw RuntimeError("Could not convert " + shown + " (" + TypeName(value) + ") to " + to);
}

} // namespace

bool ParseNumber(std::string_view text, Variant& out) {
    text = TrimBlanks(text);
    if (text.empty())
        return false;
    std::int64_t integer = 0;
    if (ParseInteger(text, integer)) {
        out = Variant(integer);
        return true;
    }
    long double real = 0;
    if (ParseFloat(text, real)) {
        out = Variant(real);
        return true;
    }
    return false;
}

std::string FormatFloat(long double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    // Find the fewest significant digits that read back as the same value. A value that came from a
    // double is written as that double, so 0.1 stays "0.1" rather than showing the widening.
    char buffer[64];
    std::to_chars_result written{};
    const double narrow = static_cast<double>(value);
    if (static_cast<long double>(narrow) == value) {
        written = std::to_chars(buffer, buffer + sizeof buffer, narrow, std::chars_format::scientific);
    } else {
        for (int precision = 0; precision < 18; ++precision) {
            written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                    precision);
            long double back = 0;
            std::from_chars(buffer, written.ptr, back, std::chars_format::scientific);
            if (back == value)
                break;
        }
    }
    const std::string_view scientific(buffer, written.ptr - buffer);
    const std::size_t e = scientific.find('e');
    std::string digits;
    bool negative = false;
    for (char c : scientific.substr(0, e)) {
        if (c == '-')
            negative = true;
        else if (c != '.')
            digits += c;
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    std::string_view exponentText = scientific.substr(e + 1);
    if (!exponentText.empty() && exponentText.front() == '+')
        exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    std::string out = negative ? "-" : "";
    if (exponent >= -5 && exponent < 18) {
        if (exponent < 0) {
            out += "0." + std::string(-exponent - 1, '0') + digits;
        } else {
            const std::size_t intDigits = std::size_t(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += digits + std::string(intDigits - digits.size(), '0');
            } else {
                out += digits.substr(0, intDigits) + "." + digits.substr(intDigits);
            }
        }
    } else {
        out += digits.substr(0, 1);
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    }
    return out;
}

const char* TypeName(const Variant& value) {
    static const char* const names[] = {"Null", "Boolean", "Integer", "Float", "String"};
    return names[value.Value().index()];
}

bool Variant::AsBool() const {
    if (IsNull())
        return false;
    if (IsBool())
        return std::get<bool>(FValue);
    if (IsInteger())
        return std::get<std::int64_t>(FValue) != 0;
    if (IsFloat())
        return std::get<long double>(FValue) != 0;
    const std::string& text = std::get<std::string>(FValue);
    const std::string key = NameKey(std::string(TrimBlanks(text)));
    if (key == "TRUE")
        return true;
    if (key == "FALSE")
        return false;
    CannotConvert(*this, "Boolean");
}

std::int64_t Variant::AsInteger() const {
    if (IsNull())
        return 0;
    if (IsBool())
        return std::get<bool>(FValue) ? 1 : 0;
    if (IsInteger())
        return std::get<std::int64_t>(FValue);
    long double real = 0;
    if (IsFloat()) {
        real = std::get<long double>(FValue);
    } else {
        Variant number;
        if (!ParseNumber(std::get<std::string>(FValue), number))
            CannotConvert(*this, "Integer");
        if (number.IsInteger())
            return number.AsInteger();
        real = number.AsFloat();
    }
    const long double truncated = std::trunc(real);
    // 2^63 is exact in long double; anything at or beyond it does not fit.
    if (!std::isfinite(truncated) || truncated >= 9223372036854775808.0L ||
        truncated < -9223372036854775808.0L)
        CannotConvert(*this, "Integer");
    return static_cast<std::int64_t>(truncated);
}

long double Variant::AsFloat() const {
    if (IsNull())
        return 0;
    if (IsBool())
        return std::get<bool>(FValue) ? 1 : 0;
    if (IsInteger())
        return static_cast<long double>(std::get<std::int64_t>(FValue));
    if (IsFloat())
        return std::get<long double>(FValue);
    Variant number;
    if (!ParseNumber(std::get<std::string>(FValue), number))
        CannotConvert(*this, "Float");
    return number.AsFloat();
}

std::string Variant::AsString() const {
    if (IsNull())
        return {};
    if (IsBool())
        return std::get<bool>(FValue) ? "True" : "False";
    if (IsInteger())
        return std::to_string(std::get<std::int64_t>(FValue));
    if (IsFloat())
        return FormatFloat(std::get<long double>(FValue));
    return std::get<std::string>(FValue);
}

} // namespace script
