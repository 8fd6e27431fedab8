#pragma once
// Text search over prepared pages, on their stored texts: pages waiting in the cache file are
// read back for the search and leave memory again, so a search over a long report neither
// rebuilds its pages nor keeps them.

#include <QString>
#include <vector>

namespace report {

class TrpPreviewPages;

// Whether the text holds what was searched for, as a browser's find does: a space in `what`
// matches any space character (the no-break space between a number's digit groups, a thin
// space, a tab), so what the user sees as a space can be typed as one.
bool TextContains(const QString& text, const QString& what, Qt::CaseSensitivity cs);

// The first page from `from` (a page index) on whose memos the text appears; -1 when none.
// With `backward` it searches from `from` down.
int FindTextPage(TrpPreviewPages& pages, const QString& text, int from, Qt::CaseSensitivity cs,
                 bool backward = false);

// Every page (indexes, in order) whose memos hold the text.
std::vector<int> PagesWithText(TrpPreviewPages& pages, const QString& text, Qt::CaseSensitivity cs);

} // namespace report
