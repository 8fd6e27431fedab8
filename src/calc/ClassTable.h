#pragma once
// The yearly bonus-malus transitions, shown to the user as reference: for each class at the
// start of a term, its coefficient and the class for the next term after 0 to 4 payouts.

#include <array>
#include <string_view>

namespace calc {

struct ClassTransition {
    std::string_view Class;                    // "М" is the Cyrillic Em, the lowest class
    std::string_view Coefficient;              // as printed in the table: point and two decimals
    std::array<std::string_view, 5> NextClass; // after 0, 1, 2, 3, 4 payouts
};

inline constexpr std::array<ClassTransition, 15> ClassTransitions = {{
    {"М", "2.45", {"0", "М", "М", "М", "М"}},
    {"0", "2.30", {"1", "М", "М", "М", "М"}},
    {"1", "1.55", {"2", "М", "М", "М", "М"}},
    {"2", "1.40", {"3", "1", "М", "М", "М"}},
    {"3", "1.00", {"4", "1", "М", "М", "М"}},
    {"4", "0.95", {"5", "2", "1", "М", "М"}},
    {"5", "0.90", {"6", "3", "1", "М", "М"}},
    {"6", "0.85", {"7", "4", "2", "М", "М"}},
    {"7", "0.80", {"8", "4", "2", "М", "М"}},
    {"8", "0.75", {"9", "5", "2", "М", "М"}},
    {"9", "0.70", {"10", "5", "2", "1", "М"}},
    {"10", "0.65", {"11", "6", "3", "1", "М"}},
    {"11", "0.60", {"12", "6", "3", "1", "М"}},
    {"12", "0.55", {"13", "6", "3", "1", "М"}},
    {"13", "0.50", {"13", "7", "3", "1", "М"}},
}};

} // namespace calc
