#pragma once
// The texts of the Excel export and its spreadsheet wrapper in the engine text table.

namespace exports {

// Adds them once; every unit of the Excel export calls it before it looks a text up.
void AddXlsExportTexts();

} // namespace exports
