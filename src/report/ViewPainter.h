#pragma once
// Drawing report objects and prepared pages on any QPainter canvas.

#include "report/Components.h"
#include "report/PlacedPage.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace report {

class TrpDrawText;
class TrpReport;

// Drawing one view by itself: device pixels per report unit and the device offset of the
// page's printable area. PrinterDPI > 0 marks a printer canvas (fonts sized from its resolution).
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

// The device rectangle of a view: (X, Y)-(X1, Y1), less the drop shadow.
QRect DeviceRect(const TrpView& view, const TrpDrawParams& p);
// The memo's text rectangle inside gaps and frame lines (right and bottom exclusive).
QRect MemoTextRect(const TrpCustomMemoView& memo, const TrpDrawParams& p);

// Draws one view at its own position (exports that draw objects one by one); `text` lays it out.
void DrawView(QPainter& painter, TrpDrawText& text, const TrpView& view, const TrpDrawParams& p);
// Draws one placed object at its view's own position (at its paper position for the page's own
// items), with its laid-out text, its shown font and fill and its frame as given.
void DrawView(QPainter& painter, const TrpPlacedObject& object, const TrpDrawParams& p);

// A canvas that placed pages are drawn on.
struct TrpPageCanvas {
    // Device pixels per report unit and the device position of the paper's corner.
    Extended ScaleX = 1, ScaleY = 1;
    Extended OffsetX = 0, OffsetY = 0;
    // A printer canvas draws at its own resolution (fonts sized from PrinterDPI), off the unit
    // grid and without clipping to the paper.
    TrpOutput Output = TrpOutput::Preview;
    int PrinterDPI = 0;
    // The part of the canvas that is seen; objects whose rectangle widened by 20 pixels misses
    // it are not drawn. Empty: draw everything.
    QRect Visible;
};

// The device rectangle of a placed object: (X, Y)-(X1, Y1), less the drop shadow.
QRect DeviceRect(const TrpPlacedObject& object, const TrpPageCanvas& canvas);

// Draws a placed page: clipped to the paper (not on a printer), the page's fill and frame over
// the printable area, then every visible object the output shows. Returns the number of the
// page's objects drawn.
int DrawPlacedPage(QPainter& painter, const TrpPlacedPage& page, const TrpPageCanvas& canvas);

// A prepared page drawn on white at a zoom (1 = 96 dpi) as the preview draws it: A4 gives
// 794 x 1123 pixels. A null image when there is no such page or the picture would exceed
// limits::MaxImagePixels.
QImage RenderPreparedPage(TrpReport& report, int index, Extended zoom);

} // namespace report
