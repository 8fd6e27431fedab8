#pragma once
// Number texts as the user sees them: display patterns ("#,###,##0.0#") and the general format.

#include <string>
#include <string_view>

namespace calc {

// The regional separators, UTF-8. Defaults are the Russian conventions.
struct Separators {
    std::string Decimal = ",";
    std::string Thousand = "\u00A0";
};

// Formats a value with a display pattern. In the integer part "0" is a digit always shown,
// "#" a digit shown when significant, and any "," groups the digits by three. After the "."
// a "0" is a fraction digit always shown and "#" one shown unless it is a trailing zero; with
// no fraction digit left, the decimal separator goes too. The value is rounded at the last
// fraction place from its 18-significant-digit decimal form, halves away from zero.
std::string FormatFloat(std::string_view pattern, long double value, const Separators& seps);

// General number format: at most 15 significant digits, no trailing zeros, no decimal
// separator for a whole number (1.8 gives "1,8", 2.0 gives "2").
std::string FormatGeneral(long double value, const Separators& seps);

} // namespace calc
