#pragma once
// `tarifon-cli sheet`: the calculation sheet for a quote, as a picture or a file, and
// `tarifon-cli open`: a saved prepared report written in the same formats, or searched.

#include <string>
#include <vector>

namespace cli {

int SheetCommand(const std::vector<std::string>& args);
int OpenCommand(const std::vector<std::string>& args);
std::string SheetHelp();

} // namespace cli
