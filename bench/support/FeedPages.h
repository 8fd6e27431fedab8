#pragma once
// A started filter fed `pages` copies of the sheet's page, as the export loop feeds a filter
// page by page.

#include "SheetFixture.h"
#include "export/ExportFilter.h"

namespace bench {

inline void FeedPages(exports::TrpCustomExportFilter& filter, int pages) {
    report::TrpReportPage& page = SheetPaperPage();
    for (int i = 0; i < pages; ++i) {
        filter.StartPage(&page, i);
        for (const auto& object : page.Objects())
            filter.ExportObject(object.get());
        filter.FinishPage(&page, i);
    }
}

} // namespace bench
