#pragma once

#include <string>

class QLocale;

namespace platform {

// Decimal and thousands separators the user sees in every number, as UTF-8 text.
struct RegionalSettings {
    std::string DecimalSeparator = ",";
    std::string ThousandSeparator = "\u00A0";

    // The Russian conventions: decimal comma, no-break space between thousands.
    static RegionalSettings Russian();
    // Separators of the given locale; the C locale carries none, so it falls back to Russian.
    static RegionalSettings FromLocale(const QLocale& locale);
    // Separators of the environment's numeric locale (LC_ALL, else LC_NUMERIC, else LANG).
    static RegionalSettings System();
};

} // namespace platform
