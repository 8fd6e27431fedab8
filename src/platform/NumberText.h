#pragma once
// Numbers as files and protocols carry them: a point before the fraction, no grouping, the
// same bytes whatever locale the process runs under. Numbers people read go through
// RegionalSettings instead.

#include <charconv>
#include <string>
#include <string_view>

namespace platform {

// The value as printf writes "%.*Lf" (fixed), "%.*Le" (scientific) or "%.*Lg" (general) in the
// C locale; "inf", "-inf" or "nan" for those.
std::string FormatNumber(long double value, std::chars_format format, int precision);

// The whole text as a finite number: an optional sign, digits with at most one ".", an
// optional exponent. False for anything else, including infinities and values beyond the
// range of long double; a value too small for it reads as zero.
bool ParseNumber(std::string_view text, long double& value);

} // namespace platform
