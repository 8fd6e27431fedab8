#pragma once
// The export filters of the calculator's window, created with the calculator's settings.

#include "export/ExportFilter.h"

#include <memory>

namespace sheet {

// The filter of menu position `index` (0..12) with the settings the calculator gives it, or
// nullptr when this build has no such filter.
std::unique_ptr<exports::TrpCustomExportFilter> CreateSheetFilter(int index);

} // namespace sheet
