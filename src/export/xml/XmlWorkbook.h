#pragma once
// The XML workbook (the spreadsheet's 2003 XML format) of a prepared layout matrix: one
// worksheet, a column per grid column, a row per grid row, a merged cell per text object.

#include "platform/Colors.h"
#include "report/ReportTypes.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace exports {

class TrpIEMatrix;
class TrpProgress;

// Text as element content: markup characters as entities, a CR LF pair as the character
// reference for a line feed, a lone LF and the control characters XML cannot carry dropped;
// UTF-8.
QByteArray XmlText(const QString& text);
// Whether a shown text consists only of what numbers are written with (digits, separators,
// signs, spaces and the rouble's "р").
bool LooksNumeric(const QString& text);
// The spreadsheet's number format for a display format string ("%2.2f" gives "0.00").
QByteArray ExcelNumberFormat(const QString& format);
// A colour as "#RRGGBB"; system colours resolved, clNone white.
QByteArray XmlColor(platform::TColor color);
// The number a numeric memo shows, in the file's notation ("1234.5"): the system's thousands
// separators and currency removed, the format's decimal separator made a point. Nothing when
// the rest is not a number.
std::optional<QByteArray> ShownNumber(const QString& text, const report::TrpFormat& format);

struct TrpXMLWorkbookOptions {
    bool Styles = true;
    bool PageBreaks = true;
    QString Creator;
    QString HomeSite;
    QString Title;
    QString Author;
    QString Version;
    QDateTime Created;
    // The first page's layout: orientation and margins in millimetres.
    report::TPrinterOrientation Orientation = report::poPortrait;
    report::Extended LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
};

// Builds the workbook; the progress (when given) advances per page, and its Cancel ends the
// rows early while every element is still closed. Returns false when cancelled.
bool WriteXMLWorkbook(TrpIEMatrix& matrix, const TrpXMLWorkbookOptions& options, TrpProgress* progress,
                      QByteArray& out);

} // namespace exports
