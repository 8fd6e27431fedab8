#pragma once
// What screen readers read of the calculator's windows beyond the toolkit's own controls: the
// main window as a frame, the link labels as links, and the class table window's painted
// table as a table: fifteen rows of seven cells under their column headers.

namespace ui {

// Installs the interfaces with the toolkit; the windows do it themselves.
void InstallAccessibility();

} // namespace ui
