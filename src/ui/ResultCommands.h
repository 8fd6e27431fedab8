#pragma once
// Binds the result page's print button and export menu to the calculation sheet's commands.

#include "sheet/SheetTemplate.h"

class TfmOSAGO_Calc;

namespace sheet {
class TSheetCommands;
}

namespace ui {

// The result page's texts as the sheet takes them: the nine value labels, the formula and
// the premium, read whether a label is shown or not.
sheet::SheetTexts ResultPageTexts(const TfmOSAGO_Calc& window);

// Creates the commands (owned by the window) and installs them as the window's OnPrint and
// OnExport. With messageBoxes the report's errors are shown in message boxes.
sheet::TSheetCommands* InstallResultCommands(TfmOSAGO_Calc& window, bool messageBoxes = true);

} // namespace ui
