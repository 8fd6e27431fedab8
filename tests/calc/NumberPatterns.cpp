#include <gtest/gtest.h>

#include "calc/NumberFormat.h"

using calc::FormatFloat;
using calc::FormatGeneral;
using calc::Separators;

namespace {
const Separators kRussian{",", "\u00A0"};
const Separators kEnglish{".", ","};
} // namespace

TEST(NumberPatterns, ResultPagePatterns) {
    struct Case {
        const char* pattern;
        long double value;
        const char* russian;
        const char* english;
    };
    const Case cases[] = {
        {"#,###,##0.##", 1980, "1\u00A0980", "1,980"},
        {"#,###,##0.##", 305, "305", "305"},
        {"#,###,##0.##", 3960, "3\u00A0960", "3,960"},
        {"#,###,##0.##", 1029.6L, "1\u00A0029,6", "1,029.6"},
        {"#,###,##0.##", 1234567.891L, "1\u00A0234\u00A0567,89", "1,234,567.89"},
        {"#,###,##0.##", 0, "0", "0"},
        {"#,###,##0.##", 0.004L, "0", "0"},
        {"#,###,##0.0", 2.0, "2,0", "2.0"},
        {"#,###,##0.0", 1.8, "1,8", "1.8"},
        {"#,###,##0.0", 0.5, "0,5", "0.5"},
        {"#,###,##0.0", 1.5, "1,5", "1.5"},
        {"#,###,##0.0#", 0.95, "0,95", "0.95"},
        {"#,###,##0.0#", 1.0, "1,0", "1.0"},
        {"#,###,##0.0#", 1.15, "1,15", "1.15"},
        {"#,###,##0.0#", 0.2, "0,2", "0.2"},
        {"#,###,##0.0#", 2.45, "2,45", "2.45"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " " + std::to_string((double)c.value));
        EXPECT_EQ(FormatFloat(c.pattern, c.value, kRussian), c.russian);
        EXPECT_EQ(FormatFloat(c.pattern, c.value, kEnglish), c.english);
    }
}

TEST(NumberPatterns, RoundsAtTheLastPlaceFromEighteenDigits) {
    struct Case {
        const char* pattern;
        long double value;
        const char* expected;
    };
    const Case cases[] = {
        {"0.##", 0.125L, "0,13"}, // an exact half rounds away from zero
        {"0.##", -0.125L, "-0,13"},
        {"0.##", 2.675, "2,67"},                    // the double lies below the half
        {"0.##", 1.005, "1"},                       // likewise, and the trailing zeros go
        {"0.##", 0.005, "0,01"},                    // the double lies above the half
        {"#,###,##0.##", 9999.999L, "10\u00A0000"}, // carry through every digit
        {"#,###,##0.##", 5061.771L, "5\u00A0061,77"},
        {"#,###,##0.##", 5281.848L, "5\u00A0281,85"},
        {"#,###,##0.0", 0.96, "1,0"},
        {"#,###,##0.##", -0.001L, "0"}, // no minus sign on a value that rounds to zero
        {"000.0", 7.25L, "007,3"},
        {"#,###,##0.##", 123456789012.345L, "123\u00A0456\u00A0789\u00A0012,35"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FormatFloat(c.pattern, c.value, kRussian), c.expected);
    }
}

TEST(NumberPatterns, PremiumProductsRoundLikeTheDecimalValue) {
    // 1980 x 1.8 x 0.95 x 1.15 x 1.3 is 5061.771 in decimals; the binary product must not
    // drift across a rounding boundary.
    long double t = 1980;
    for (double k : {1.8, 0.95, 1.15, 1.3})
        t *= k;
    EXPECT_EQ(FormatFloat("#,###,##0.##", t, kRussian), "5\u00A0061,77");
}

TEST(NumberPatterns, GeneralFormat) {
    struct Case {
        long double value;
        const char* russian;
        const char* english;
    };
    const Case cases[] = {
        {2.0, "2", "2"},        {1.8, "1,8", "1.8"},           {0.5, "0,5", "0.5"},
        {1.15, "1,15", "1.15"}, {115 / 100.0, "1,15", "1.15"}, {1.3, "1,3", "1.3"},
        {0.8, "0,8", "0.8"},    {100, "100", "100"},           {1e20L, "1E20", "1E20"},
        {-2.5, "-2,5", "-2.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(FormatGeneral(c.value, kRussian), c.russian);
        EXPECT_EQ(FormatGeneral(c.value, kEnglish), c.english);
    }
}
