#pragma once
// The wizard's questions as command-line options: parsed into answers that are then
// applied through the calculator's handlers in the order a user would click them.

#include <optional>
#include <string>
#include <vector>

#include "calc/Calculator.h"

namespace cli {

struct QuoteAnswers {
    std::optional<int> Owner;
    std::optional<int> Place;
    std::optional<int> Vehicle;
    std::optional<int> Territory;
    std::optional<int> Class;  // option index on the class page (0 = class M)
    std::optional<int> People; // rbLimitNo or rbLimit
    std::vector<int> Drivers;  // one category per driver
    std::optional<int> Power;  // option index on the power page
    std::optional<int> Season;
    std::optional<int> Term;
    std::optional<int> Violations;
    bool Json = false;
    bool Help = false;
};

// A bad option or value: the message names the option and the values it accepts.
struct UsageError {
    std::string Message;
};

// A number as people type it: digits with at most one "." or "," before the decimals.
std::optional<double> ParsePlainNumber(const std::string& text);

// Parses the arguments after the sub-command; throws UsageError.
QuoteAnswers ParseQuoteOptions(const std::vector<std::string>& args);

// The option list with accepted values, for --help.
std::string QuoteOptionsHelp();

// Applies the answers in the order of the wizard's pages. Returns notes for answers that
// do not count because their page does not apply to the case.
std::vector<std::string> ApplyAnswers(const QuoteAnswers& answers, calc::Calculator& calculator);

} // namespace cli
