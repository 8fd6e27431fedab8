#pragma once
// The result page of a quote as text for people and as JSON for scripts.

#include <string>
#include <vector>

#include "calc/Calculator.h"

namespace cli {

// Both expect pResultEnterPage to have run.
std::string QuoteText(const calc::Calculator& calculator);
std::string QuoteJson(const calc::Calculator& calculator, const std::vector<std::string>& notes);

} // namespace cli
