#include "htmlctl/RadioGlyphs.h"

#include <QPainter>
#include <QRadialGradient>
#include <array>

namespace htmlctl {
namespace {

struct TGlyphStyle {
    bool Checked;
    bool Enabled;
    bool Round; // blue-ring family (5-8) rather than the grey ring (1-4)
};

constexpr std::array<TGlyphStyle, 8> kGlyphs = {{
    {true, true, false},
    {false, true, false},
    {true, false, false},
    {false, false, false},
    {true, true, true},
    {false, true, true},
    {true, false, true},
    {false, false, true},
}};

QImage PaintGlyph(const TGlyphStyle& g) {
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(8, 8);
    if (g.Round) {
        // Blue ring with a softly lit face; green dot when checked; greys when disabled.
        QRadialGradient face(QPointF(6, 6), 8);
        face.setColorAt(0, Qt::white);
        face.setColorAt(1, g.Enabled ? QColor(0xDC, 0xDC, 0xD7) : QColor(0xF0, 0xF0, 0xEC));
        p.setBrush(face);
        p.setPen(QPen(g.Enabled ? QColor(0x1C, 0x51, 0x80) : QColor(0xCA, 0xC8, 0xBB), 1.2));
        p.drawEllipse(c, 6.2, 6.2);
        if (g.Checked) {
            QRadialGradient dot(QPointF(7.2, 7.2), 3.2);
            dot.setColorAt(0, g.Enabled ? QColor(0x55, 0xD5, 0x51) : QColor(0xD0, 0xD0, 0xC8));
            dot.setColorAt(1, g.Enabled ? QColor(0x21, 0xA1, 0x21) : QColor(0xB0, 0xB0, 0xA8));
            p.setPen(Qt::NoPen);
            p.setBrush(dot);
            p.drawEllipse(c, 2.8, 2.8);
        }
    } else {
        // Grey ring lit from the top left, sunk into the face.
        QLinearGradient ring(QPointF(2, 2), QPointF(14, 14));
        ring.setColorAt(0, g.Enabled ? QColor(0x60, 0x60, 0x60) : QColor(0xA8, 0xA8, 0xA8));
        ring.setColorAt(1, g.Enabled ? QColor(0xF0, 0xF0, 0xF0) : QColor(0xF4, 0xF4, 0xF4));
        p.setPen(Qt::NoPen);
        p.setBrush(ring);
        p.drawEllipse(c, 7, 7);
        p.setBrush(g.Enabled ? Qt::white : QColor(0xE8, 0xE8, 0xE8));
        p.drawEllipse(c, 5, 5);
        if (g.Checked) {
            p.setBrush(g.Enabled ? Qt::black : QColor(0x90, 0x90, 0x90));
            p.drawEllipse(c, 2.5, 2.5);
        }
    }
    return img;
}

} // namespace

const QImage& RadioBitmap(int number) {
    static const std::array<QImage, 8> glyphs = [] {
        std::array<QImage, 8> all;
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = PaintGlyph(kGlyphs[i]);
        return all;
    }();
    static const QImage none;
    return number >= 1 && number <= 8 ? glyphs[size_t(number - 1)] : none;
}

void DrawFrameRadio(QPainter& painter, const QRect& rect, bool checked, bool flat, bool inactive) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor face = inactive ? QColor(0xD4, 0xD0, 0xC8) : Qt::white;
    const QColor mark = inactive ? QColor(0x80, 0x80, 0x80) : Qt::black;
    if (flat) {
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.setBrush(face);
        painter.drawEllipse(r);
    } else {
        // Shadow above-left, highlight below-right: the sunken classic ring.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x80, 0x80, 0x80));
        painter.drawPie(r, 45 * 16, 180 * 16);
        painter.setBrush(Qt::white);
        painter.drawPie(r, 225 * 16, 180 * 16);
        const QRectF inner = r.adjusted(1, 1, -1, -1);
        painter.setBrush(QColor(0x40, 0x40, 0x40));
        painter.drawPie(inner, 45 * 16, 180 * 16);
        painter.setBrush(QColor(0xD4, 0xD0, 0xC8));
        painter.drawPie(inner, 225 * 16, 180 * 16);
        painter.setBrush(face);
        painter.drawEllipse(inner.adjusted(1, 1, -1, -1));
    }
    if (checked) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(mark);
        painter.drawEllipse(r.center(), 2, 2);
    }
    painter.restore();
}

} // namespace htmlctl
