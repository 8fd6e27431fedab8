#include "wizard/KCommon.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>

namespace wizard {

void FillRect(QPainter& canvas, const TRect& r, const QColor& color) {
    if (color.isValid() && !r.IsEmpty())
        canvas.fillRect(r.ToQRect(), color);
}

void DrawLine(QPainter& canvas, int x1, int y1, int x2, int y2, const QColor& color) {
    // Pixel runs instead of pen strokes: no antialiasing or cap rules to second-guess.
    if (y1 == y2) {
        if (x2 > x1)
            FillRect(canvas, {x1, y1, x2, y1 + 1}, color);
        else if (x2 < x1)
            FillRect(canvas, {x2 + 1, y1, x1 + 1, y1 + 1}, color);
    } else if (x1 == x2) {
        if (y2 > y1)
            FillRect(canvas, {x1, y1, x1 + 1, y2}, color);
        else
            FillRect(canvas, {x1, y2 + 1, x1 + 1, y1 + 1}, color);
    } else {
        canvas.save();
        canvas.setRenderHint(QPainter::Antialiasing, false);
        canvas.setPen(color);
        canvas.drawLine(x1, y1, x2, y2);
        canvas.restore();
    }
}

void DrawRectangle(QPainter& canvas, const TRect& r, const QColor& pen, const QColor& brush) {
    if (r.IsEmpty())
        return;
    FillRect(canvas, r.Inflated(pen.isValid() ? -1 : 0), brush);
    if (!pen.isValid())
        return;
    DrawLine(canvas, r.Left, r.Top, r.Right, r.Top, pen);
    DrawLine(canvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1, pen);
    DrawLine(canvas, r.Left, r.Top, r.Left, r.Bottom, pen);
    DrawLine(canvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom, pen);
}

TRect DrawEtchedEdges(QPainter& canvas, const TRect& r, unsigned sides) {
    auto pass = [&](const TRect& p, const QColor& color) {
        if (sides & edLeft)
            DrawLine(canvas, p.Left, p.Top, p.Left, p.Bottom, color);
        if (sides & edTop)
            DrawLine(canvas, p.Left, p.Top, p.Right, p.Top, color);
        if (sides & edRight)
            DrawLine(canvas, p.Right - 1, p.Top, p.Right - 1, p.Bottom, color);
        if (sides & edBottom)
            DrawLine(canvas, p.Left, p.Bottom - 1, p.Right, p.Bottom - 1, color);
    };
    pass({r.Left + 1, r.Top + 1, r.Right, r.Bottom}, ColorToQColor(clBtnHighlight));
    pass({r.Left, r.Top, r.Right - 1, r.Bottom - 1}, ColorToQColor(clBtnShadow));

    TRect inner = r;
    if (sides & edLeft)
        inner.Left += 2;
    if (sides & edTop)
        inner.Top += 2;
    if (sides & edRight)
        inner.Right -= 2;
    if (sides & edBottom)
        inner.Bottom -= 2;
    return inner;
}

void DrawGraphicAligned(QPainter& canvas, const QImage& graphic, TRect r, TKImageAlignment alignment,
                        TKImageLayout layout) {
    if (graphic.isNull())
        return;
    const int w = graphic.width();
    const int h = graphic.height();
    int dx = 0;
    int dy = 0;
    if ((alignment == iaRight || alignment == iaCenter) && w < r.Width()) {
        dx = r.Width() - w;
        if (alignment == iaCenter) {
            dx = (r.Width() - w) / 2;
            r.Right -= dx;
        }
    }
    if ((layout == ilBottom || layout == ilCenter) && h < r.Height()) {
        dy = r.Height() - h;
        if (layout == ilCenter) {
            dy = (r.Height() - h) / 2;
            r.Bottom -= dy;
        }
    }
    r.Left += dx;
    r.Top += dy;
    if (alignment == iaStretch || layout == ilStretch)
        canvas.drawImage(r.ToQRect(), graphic);
    else
        canvas.drawImage(QPoint(r.Left, r.Top), graphic);
}

} // namespace wizard
