#pragma once
// The page list a user types for printing and exporting: "1,3-5,8-".

#include <QString>
#include <vector>

namespace report {

// Parses a page list for a report of pageCount pages. Spaces are ignored; an empty text
// selects all pages (empty result); a trailing "-" runs to the last page; "a-b" selects a
// to b, "a" page a; numbers outside 1..pageCount are dropped and a range with a > b selects
// nothing. Throws TrpReportError naming the item when an item is not a number ("1,,2",
// "-3", "x").
std::vector<int> ParsePageNumbers(const QString& text, int pageCount);

// Whether page number n (from 1) is selected by a parsed list.
bool PageSelected(const std::vector<int>& pages, int n);

} // namespace report
