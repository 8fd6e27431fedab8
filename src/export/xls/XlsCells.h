#pragma once
// What the Excel export makes of the grid before it reaches the spreadsheet: cell texts,
// number formats and the plan of row heights. Free of the office, tested on their own.

#include "export/xls/ExcelUnions.h"
#include "report/ReportTypes.h"

#include <QString>
#include <vector>

namespace exports {

// A memo's text as a cell takes it: CRs removed, line ends at the end dropped (those inside
// stay and wrap), at most 900 characters.
QString CleanCellText(const QString& text);

// The spreadsheet number format for a display format string (%2.2n -> "# ##0,00", %2.0f ->
// "0,", %g -> "").
QString OleNumberFormat(const QString& formatStr);

// The value of a cell on the fast path, and the number format it asks for ("" with none):
// numeric texts lose their thousands separators and get "." as decimal point, texts are
// marked as text with a leading apostrophe (every value, with asText).
struct TrpFastValue {
    QString Value;
    bool HasFormat = false;
    QString Format;
};
TrpFastValue FastCellValue(const QString& text, const report::TrpFormat& format, bool asText,
                           const QString& thousandSeparator);

// A row height in points rounded to the nearest quarter point, exact halves to the even
// number of quarters.
double QuarterPoints(double points);

// The fast path's plan of row heights: the distinct heights in order of first use, the index
// of the most frequent one (ties keep the earlier), and the runs of rows of one height
// ("A3:A7", key = height index) ordered by that index.
struct TrpRowPlan {
    std::vector<double> Heights;
    int MostFrequent = 0;
    std::vector<TrpUnionEntry> Runs;
};
// heights[r - 1] is the height of worksheet row r.
TrpRowPlan PlanRowHeights(const std::vector<double>& heights);

} // namespace exports
