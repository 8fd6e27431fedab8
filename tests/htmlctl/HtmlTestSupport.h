#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include "htmlctl/CellMetrics.h"
#include "htmlctl/HTMLRender.h"

namespace htmltest {

inline QFont Tahoma(int pixels = 11) {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixels);
    return f;
}

inline int Advance(const QString& text, const QFont& font = Tahoma()) {
    return QFontMetrics(font).horizontalAdvance(text);
}

inline int Cell(const QFont& font = Tahoma()) {
    return htmlctl::CellMetrics(font).Height();
}

// Lays a caption out without drawing.
inline htmlctl::THTMLRenderOut Measure(const QString& text, int width = 400, bool wrap = true,
                                       const QFont& font = Tahoma()) {
    htmlctl::THTMLRenderIn in;
    in.Font = font;
    in.Text = text;
    in.Rect = QRect(0, 0, width, 1000);
    in.MeasureOnly = true;
    in.WordWrap = wrap;
    return htmlctl::RenderHTML(in);
}

// Draws a caption on white and returns the picture.
inline QImage Draw(htmlctl::THTMLRenderIn in, QSize size, htmlctl::THTMLRenderOut* out = nullptr) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    in.Canvas = &p;
    const htmlctl::THTMLRenderOut o = htmlctl::RenderHTML(in);
    if (out)
        *out = o;
    return img;
}

// Bounding box of every pixel that differs from `background`.
inline QRect Ink(const QImage& img, QRgb background = 0xFFFFFFFF, const QRect& within = QRect()) {
    const QRect area = within.isNull() ? img.rect() : within & img.rect();
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((img.pixel(x, y) | 0xFF000000) != (background | 0xFF000000)) {
                l = qMin(l, x), t = qMin(t, y), r = qMax(r, x), b = qMax(b, y);
            }
    return l == INT_MAX ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

} // namespace htmltest
