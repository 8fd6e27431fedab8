#include "platform/NumberText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <system_error>

namespace platform {

std::string FormatNumber(long double value, std::chars_format format, int precision) {
    char small[128];
    std::to_chars_result r = std::to_chars(small, small + sizeof small, value, format, precision);
    if (r.ec == std::errc())
        return std::string(small, r.ptr);
    // Fixed notation of a huge value: up to 4933 integer digits.
    std::string big(size_t(5000 + std::max(precision, 0)), '\0');
    r = std::to_chars(big.data(), big.data() + big.size(), value, format, precision);
    big.resize(r.ec == std::errc() ? size_t(r.ptr - big.data()) : 0);
    return big;
}

bool ParseNumber(std::string_view text, long double& value) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars takes no sign of its own but a minus, and reads "inf", "nan" and hex digits in
    // some forms: only plain decimal text gets this far.
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.'))
        return false;
    long double v = 0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (end != text.data() + text.size())
        return false;
    if (ec == std::errc::result_out_of_range) {
        // Underflow has a negative exponent (every tiny number we write has one); overflow is
        // no number we can keep.
        const size_t e = text.find_first_of("eE");
        if (e == std::string_view::npos || e + 1 >= text.size() || text[e + 1] != '-')
            return false;
        v = 0;
    } else if (ec != std::errc() || !std::isfinite(v)) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

} // namespace platform
