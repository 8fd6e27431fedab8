#pragma once
// The class table window reads as a table: fifteen rows of seven cells under their column
// headers, each cell with the text it shows.

namespace ui {

// Installs the window's accessible interface with the toolkit; the window does it itself.
void InstallClassTableAccessibility();

} // namespace ui
