#pragma once
// The calculation sheet the export benchmarks measure: one legal entity's case, prepared once per
// run, and its page as the export loop hands it to a filter.

#include <memory>

#include "report/Components.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "sheet/SheetTemplate.h"
#include "support/SheetCase.h"

namespace bench {

inline report::TrpReport& PreparedSheet() {
    static std::unique_ptr<report::TrpReport> report =
        testsupport::PreparedSheetReport(testsupport::SheetCase(true));
    return *report;
}

} // namespace bench
