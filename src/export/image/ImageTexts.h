#pragma once
// The texts of the picture exports and their writers in the engine text table.

namespace exports {

// Adds them once; every unit of the picture exports calls it before it looks a text up.
void AddImageExportTexts();

} // namespace exports
