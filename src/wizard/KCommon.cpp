#include "wizard/KCommon.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>

namespace wizard {

namespace {

// The desktop scheme of the era the program's pictures were drawn for.
constexpr std::array<QRgb, 31> kSystemColors = {
    qRgb(212, 208, 200), // 0 scroll bar
    qRgb(0, 78, 152),    // 1 desktop background
    qRgb(0, 84, 227),    // 2 active caption
    qRgb(122, 150, 223), // 3 inactive caption
    qRgb(255, 255, 255), // 4 menu
    qRgb(255, 255, 255), // 5 window
    qRgb(0, 0, 0),       // 6 window frame
    qRgb(0, 0, 0),       // 7 menu text
    qRgb(0, 0, 0),       // 8 window text
    qRgb(255, 255, 255), // 9 caption text
    qRgb(212, 208, 200), // 10 active border
    qRgb(212, 208, 200), // 11 inactive border
    qRgb(128, 128, 128), // 12 application workspace
    qRgb(49, 106, 197),  // 13 highlight
    qRgb(255, 255, 255), // 14 highlight text
    qRgb(236, 233, 216), // 15 button face
    qRgb(172, 168, 153), // 16 button shadow
    qRgb(172, 168, 153), // 17 grey text
    qRgb(0, 0, 0),       // 18 button text
    qRgb(216, 228, 248), // 19 inactive caption text
    qRgb(255, 255, 255), // 20 button highlight
    qRgb(113, 111, 100), // 21 3D dark shadow
    qRgb(241, 239, 226), // 22 3D light
    qRgb(0, 0, 0),       // 23 info text
    qRgb(255, 255, 225), // 24 info background
    qRgb(181, 181, 181), // 25
    qRgb(0, 0, 128),     // 26 hot light
    qRgb(61, 149, 255),  // 27 gradient active caption
    qRgb(157, 185, 235), // 28 gradient inactive caption
    qRgb(49, 106, 197),  // 29 menu highlight
    qRgb(236, 233, 216), // 30 menu bar
};

} // namespace

QColor ColorToQColor(TColor color) {
    if (color == clNone)
        return QColor();
    if ((color & 0xFF000000u) == clSystemColor) {
        const unsigned index = color & 0xFFu;
        return index < kSystemColors.size() ? QColor(kSystemColors[index]) : QColor(Qt::black);
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

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
