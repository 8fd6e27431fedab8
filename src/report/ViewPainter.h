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
};

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
