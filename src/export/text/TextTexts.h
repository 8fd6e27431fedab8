#pragma once
// The engine texts of the CSV, plain-text and printer-text exports.

namespace exports {

// Adds the texts once; every filter and dialog of the folder calls it.
void AddTextExportTexts();

} // namespace exports
