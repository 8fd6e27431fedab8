#include "calc/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace calc {
namespace {

struct Pattern {
    int MinIntDigits = 0;
    int MinFrac = 0;
    int MaxFrac = 0;
    bool Grouping = false;
};

Pattern ParsePattern(std::string_view pattern) {
    // Only the first section counts; the calculator's patterns have one.
    pattern = pattern.substr(0, pattern.find(';'));
    Pattern p;
    const size_t dot = pattern.find('.');
    const std::string_view intPart = pattern.substr(0, dot);
    bool seenZero = false;
    for (char c : intPart) {
        if (c == ',')
            p.Grouping = true;
        else if (c == '0')
            seenZero = true;
        if (seenZero && (c == '0' || c == '#'))
            ++p.MinIntDigits;
    }
    if (dot != std::string_view::npos) {
        for (char c : pattern.substr(dot + 1)) {
            if (c == '0') {
                ++p.MaxFrac;
                p.MinFrac = p.MaxFrac;
            } else if (c == '#') {
                ++p.MaxFrac;
            }
        }
    }
    return p;
}

// The decimal digits of |value| rounded at `fracPlaces`: integer digits and exactly
// `fracPlaces` fraction digits.
void RoundedDigits(long double value, int fracPlaces, std::string& intDigits, std::string& fracDigits) {
    // Most values (coefficients, whole roubles) sit on the pattern's grid or very close to it;
    // there the 18-digit rule cannot round any other way, and the digit string below is skipped.
    if (fracPlaces <= 6 && std::fabs(value) < 1e12L) {
        long double scaled = std::fabs(value);
        for (int i = 0; i < fracPlaces; ++i)
            scaled *= 10;
        const long double nearest = std::nearbyintl(scaled);
        if (std::fabs(scaled - nearest) < 1e-6L) {
            std::string all = std::to_string((unsigned long long)nearest);
            if (int(all.size()) <= fracPlaces)
                all.insert(0, fracPlaces + 1 - all.size(), '0');
            intDigits = all.substr(0, all.size() - fracPlaces);
            fracDigits = all.substr(all.size() - fracPlaces);
            const size_t first = intDigits.find_first_not_of('0');
            intDigits = first == std::string::npos ? "" : intDigits.substr(first);
            return;
        }
    }
    // 18 significant digits; to_chars writes them with a point in any locale.
    char buf[64];
    *std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific, 17).ptr = 0;
    std::string digits;
    for (const char* s = buf; *s && *s != 'e'; ++s)
        if (*s >= '0' && *s <= '9')
            digits += *s;
    int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    int intCount = exponent + 1; // digits before the decimal point
    if (digits.find_first_not_of('0') == std::string::npos)
        intCount = 1;

    const int keep = intCount + fracPlaces;
    if (keep < 0) {
        digits.clear();
    } else if (keep < int(digits.size())) {
        const bool up = digits[keep] >= '5';
        digits.resize(keep);
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[i] == '9')
                digits[i--] = '0';
            if (i >= 0) {
                ++digits[i];
            } else {
                digits.insert(digits.begin(), '1');
                ++intCount;
            }
        }
    }
    // Lay the digits out around the decimal point.
    std::string all;
    if (intCount <= 0)
        all = std::string(1 - intCount, '0') + digits, intCount = 1;
    else
        all = digits;
    if (int(all.size()) < intCount + fracPlaces)
        all.append(intCount + fracPlaces - all.size(), '0');
    intDigits = all.substr(0, intCount);
    fracDigits = all.substr(intCount, fracPlaces);
    const size_t first = intDigits.find_first_not_of('0');
    intDigits = first == std::string::npos ? "" : intDigits.substr(first);
}

} // namespace

std::string FormatFloat(std::string_view pattern, long double value, const Separators& seps) {
    const Pattern p = ParsePattern(pattern);
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");

    std::string intDigits, fracDigits;
    RoundedDigits(value, p.MaxFrac, intDigits, fracDigits);
    while (int(fracDigits.size()) > p.MinFrac && fracDigits.back() == '0')
        fracDigits.pop_back();
    if (int(intDigits.size()) < p.MinIntDigits)
        intDigits.insert(0, p.MinIntDigits - intDigits.size(), '0');

    std::string out;
    const bool isZero = intDigits.find_first_not_of('0') == std::string::npos &&
                        fracDigits.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !isZero)
        out += '-';
    for (size_t i = 0; i < intDigits.size(); ++i) {
        if (p.Grouping && i > 0 && (intDigits.size() - i) % 3 == 0)
            out += seps.Thousand;
        out += intDigits[i];
    }
    if (!fracDigits.empty()) {
        out += seps.Decimal;
        out += fracDigits;
    }
    return out;
}

std::string FormatGeneral(long double value, const Separators& seps) {
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    char buf[64];
    const std::string text(buf,
                           std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15).ptr);
    std::string out;
    const size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    for (char c : mantissa) {
        if (c == '.')
            out += seps.Decimal;
        else
            out += c;
    }
    if (e != std::string::npos) {
        // Scientific form as "1,5E20" / "1E-7": no plus sign, no leading zeros.
        int exponent = std::atoi(text.c_str() + e + 1);
        out += 'E' + std::to_string(exponent);
    }
    return out;
}

} // namespace calc
