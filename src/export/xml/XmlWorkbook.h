#pragma once
// The XML workbook (the spreadsheet's 2003 XML format) of a prepared layout matrix: one
// worksheet, a column per grid column, a row per grid row, a merged cell per text object.

#include "platform/Colors.h"
#include "report/ReportTypes.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace exports {

class TrpIEMatrix;
struct TrpIEMObject;
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

// The workbook of a report written page by page: one worksheet whose columns are the grid
// lines of every page and whose rows are each page's grid rows. Empty cells are not written.
class TrpXMLWorkbook {
public:
    // The matrix holds one prepared page at a time; its styles are those of every page so far.
    TrpXMLWorkbook(TrpIEMatrix& matrix, const TrpXMLWorkbookOptions& options);
    ~TrpXMLWorkbook();

    // The rows of the matrix's page, to be given back to Rows. Throws TrpTooLarge when the sheet
    // cannot hold the columns or rows of the pages so far.
    QByteArray Page();
    void SetOptions(const TrpXMLWorkbookOptions& options) { O = options; }
    // Everything before the first row: the head, the styles and the columns of every page.
    QByteArray Head() const;
    // The rows of one page as Page gave them, in the sheet's columns.
    QByteArray Rows(const QByteArray& page) const;
    // Everything after the last row.
    QByteArray Tail() const;

private:
    struct Cell;
    Cell TextCell(const TrpIEMObject& obj, int index);
    void Styles(QByteArray& out) const;

    TrpIEMatrix& M;
    TrpXMLWorkbookOptions O;
    std::vector<report::Extended> FColumns; // grid lines of every page
    long long FRows = 0;
    int FPages = 0;
    std::vector<long long> FBreaks;  // rows at which pages end
    std::map<QString, int> FFormats; // number format -> its place in FFormatOrder
    std::vector<QString> FFormatOrder;
};

} // namespace exports
