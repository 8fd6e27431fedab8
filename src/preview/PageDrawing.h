#pragma once
// Drawing one prepared page on the preview's canvas or on a printer page.

#include "report/ReportTypes.h"

#include <QRect>

class QPainter;

namespace report {

class TrpReport;

struct TrpPageCanvas {
    // Device pixels per report unit and the device position of the paper's corner.
    Extended ScaleX = 1, ScaleY = 1;
    Extended OffsetX = 0, OffsetY = 0;
    // A printer canvas: no clipping to the paper, views that are not printable are skipped,
    // fonts are sized from PrinterDPI.
    bool Printer = false;
    int PrinterDPI = 0;
    // The part of the canvas that is seen; views whose rectangle widened by 20 pixels misses
    // it are not drawn. Empty: draw everything.
    QRect Visible;
};

// Draws prepared page `index` (from 0): mirrored margins on even pages, clipping to the
// paper (not on a printer), the page's fill and frame over the printable area, then every
// visible view. Returns the number of views drawn.
int DrawPreparedPage(TrpReport& report, int index, QPainter& painter, const TrpPageCanvas& canvas);

} // namespace report
