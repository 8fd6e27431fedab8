#pragma once
// Drawing report objects and prepared pages on any QPainter canvas.

#include "report/Components.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace report {

class TrpDrawText;
class TrpReport;

// One drawing call: device pixels per report unit and the device offset of the page's
// printable area. PrinterDPI > 0 marks a printer canvas (fonts sized from its resolution).
struct TrpDrawParams {
    Extended ScaleX = 1, ScaleY = 1;
    Extended OffsetX = 0, OffsetY = 0;
    int PrinterDPI = 0;
    // On screen, edges are first rounded to whole units counted from the paper's corner and
    // then scaled, as the 100 % view rounds them: edges that meet at 100 % meet at every zoom,
    // and lines of one width come out equally thick. GridX and GridY: the printable area's
    // offset from the paper's corner in units.
    bool UnitGrid = false;
    Extended GridX = 0, GridY = 0;
};

// The parameters for drawing a page's printable area on a canvas where its paper's corner
// lies at (paperX, paperY); a screen canvas (printerDPI 0) gets the unit grid.
TrpDrawParams PageDrawParams(const TrpReportPage& page, Extended scaleX, Extended scaleY, Extended paperX,
                             Extended paperY, int printerDPI = 0);

// The device rectangle of a view: (X, Y)-(X1, Y1), less the drop shadow.
QRect DeviceRect(const TrpView& view, const TrpDrawParams& p);
// The memo's text rectangle inside gaps and frame lines (right and bottom exclusive).
QRect MemoTextRect(const TrpCustomMemoView& memo, const TrpDrawParams& p);

void DrawBackground(QPainter& painter, const TrpView& view, const QRect& rect);
void DrawFrame(QPainter& painter, const TrpView& view, const QRect& rect, const TrpDrawParams& p);
void DrawView(QPainter& painter, TrpDrawText& text, const TrpView& view, const TrpDrawParams& p);

// Draws every printable view of a page (bands are not drawn); the offset is that of the paper's
// corner, the page's margins are added here.
void DrawPage(QPainter& painter, TrpDrawText& text, const TrpReportPage& page, const TrpDrawParams& paper);

// A prepared page drawn on white at a zoom (1 = 96 dpi): A4 gives 794 x 1123 pixels. A null
// image when there is no such page or the picture would exceed limits::MaxImagePixels.
QImage RenderPreparedPage(TrpReport& report, int index, Extended zoom);

} // namespace report
