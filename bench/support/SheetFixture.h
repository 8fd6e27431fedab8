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

// A copy of the prepared page moved to its margins, as the export loop moves each page.
inline report::TrpReportPage& SheetPaperPage() {
    static std::unique_ptr<report::TrpReportPage> page = [] {
        report::TrpReportPage* prepared = PreparedSheet().PreviewPages().Page(0);
        auto copy = std::make_unique<report::TrpReportPage>();
        copy->Assign(*prepared);
        copy->SetReport(&PreparedSheet());
        for (const auto& child : prepared->Objects())
            copy->Add(child->Clone());
        copy->SetLeft(copy->LeftMargin() * report::fr01cm);
        copy->SetTop(copy->TopMargin() * report::fr01cm);
        return copy;
    }();
    return *page;
}

} // namespace bench
