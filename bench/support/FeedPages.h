#pragma once
// A started filter fed `pages` copies of the sheet's page, as the export loop feeds a filter
// page by page: each page placed, then its placed objects.

#include "SheetFixture.h"
#include "export/ExportFilter.h"
#include "report/PlacedPage.h"
#include "report/PreparedPageStore.h"

namespace bench {

inline void FeedPages(exports::TrpCustomExportFilter& filter, int pages) {
    report::TrpReportPage& page = *PreparedSheet().PreviewPages().Page(0);
    for (int i = 0; i < pages; ++i) {
        const std::unique_ptr<report::TrpPlacedPage> placed = report::PlacePage(page, i, pages);
        filter.StartPage(&page, i);
        for (const report::TrpPlacedObject& object : placed->Objects)
            filter.ExportObject(object);
        filter.FinishPage(&page, i);
    }
}

} // namespace bench
