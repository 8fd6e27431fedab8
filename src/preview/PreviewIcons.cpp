#include "preview/PreviewIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace preview {

namespace {

using Painter = std::function<void(QPainter&)>;

void Sheet(QPainter& p, const QRect& r) {
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void Lines(QPainter& p, const QRect& r) {
    p.setPen(QColor(128, 128, 160));
    for (int y = r.top() + 3; y < r.bottom() - 1; y += 2)
        p.drawLine(r.left() + 2, y, r.right() - 2, y);
}

void Arrow(QPainter& p, bool left, int x) {
    QPainterPath path;
    if (left) {
        path.moveTo(x + 5, 3);
        path.lineTo(x, 8);
        path.lineTo(x + 5, 13);
    } else {
        path.moveTo(x, 3);
        path.lineTo(x + 5, 8);
        path.lineTo(x, 13);
    }
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawPath(path);
}

void Magnifier(QPainter& p) {
    p.setPen(QPen(QColor(0, 0, 0), 1.5));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(96, 64, 0), 2.5));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
}

void Label(QPainter& p, const QString& text, const QColor& color) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(7);
    f.setBold(true);
    p.setFont(f);
    p.fillRect(QRect(0, 9, 16, 7), color);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 9, 16, 7), Qt::AlignCenter, text);
}

const QHash<QString, Painter>& Painters() {
    static const QHash<QString, Painter> painters = {
        {QStringLiteral("print"),
         [](QPainter& p) {
             Sheet(p, QRect(4, 1, 8, 6));
             p.setBrush(QColor(192, 192, 192));
             p.drawRect(QRect(1, 6, 14, 6));
             Sheet(p, QRect(4, 10, 8, 5));
         }},
        {QStringLiteral("open"),
         [](QPainter& p) {
             p.setPen(QColor(128, 96, 0));
             p.setBrush(QColor(255, 220, 96));
             p.drawPolygon(QPolygon(
                 {QPoint(1, 4), QPoint(6, 4), QPoint(7, 6), QPoint(14, 6), QPoint(14, 14), QPoint(1, 14)}));
         }},
        {QStringLiteral("save"),
         [](QPainter& p) {
             p.setPen(QColor(0, 0, 64));
             p.setBrush(QColor(48, 64, 160));
             p.drawRect(QRect(1, 1, 14, 14));
             p.setBrush(Qt::white);
             p.drawRect(QRect(4, 1, 8, 6));
             p.setBrush(QColor(192, 192, 192));
             p.drawRect(QRect(4, 10, 8, 5));
         }},
        {QStringLiteral("export"),
         [](QPainter& p) {
             Sheet(p, QRect(1, 1, 10, 14));
             Lines(p, QRect(1, 1, 10, 14));
             Arrow(p, false, 10);
         }},
        {QStringLiteral("pdf"),
         [](QPainter& p) {
             Sheet(p, QRect(2, 0, 12, 15));
             Label(p, QStringLiteral("PDF"), QColor(192, 0, 0));
         }},
        {QStringLiteral("email"),
         [](QPainter& p) {
             Sheet(p, QRect(1, 3, 14, 10));
             p.drawLine(1, 3, 8, 9);
             p.drawLine(15, 3, 8, 9);
         }},
        {QStringLiteral("find"), [](QPainter& p) { Magnifier(p); }},
        {QStringLiteral("wholepage"),
         [](QPainter& p) {
             Sheet(p, QRect(4, 1, 8, 14));
             Lines(p, QRect(4, 1, 8, 14));
         }},
        {QStringLiteral("pagewidth"),
         [](QPainter& p) {
             Sheet(p, QRect(1, 3, 14, 12));
             Lines(p, QRect(1, 3, 14, 12));
             p.setPen(QColor(192, 0, 0));
             p.drawLine(0, 1, 15, 1);
         }},
        {QStringLiteral("zoom100"),
         [](QPainter& p) {
             Sheet(p, QRect(1, 1, 14, 14));
             QFont f(QStringLiteral("Arial"));
             f.setPixelSize(8);
             f.setBold(true);
             p.setFont(f);
             p.setPen(Qt::black);
             p.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("1:1"));
         }},
        {QStringLiteral("twopages"),
         [](QPainter& p) {
             Sheet(p, QRect(0, 2, 7, 12));
             Sheet(p, QRect(8, 2, 7, 12));
         }},
        {QStringLiteral("fullscreen"),
         [](QPainter& p) {
             p.setPen(QColor(0, 0, 128));
             p.setBrush(QColor(160, 200, 255));
             p.drawRect(QRect(1, 2, 14, 11));
             p.fillRect(QRect(1, 2, 15, 2), QColor(0, 0, 128));
         }},
        {QStringLiteral("margins"),
         [](QPainter& p) {
             Sheet(p, QRect(2, 0, 12, 15));
             p.setPen(QPen(QColor(0, 128, 0), 1, Qt::DotLine));
             p.drawRect(QRect(4, 2, 8, 11));
         }},
        {QStringLiteral("outline"),
         [](QPainter& p) {
             p.setPen(Qt::black);
             p.drawLine(3, 2, 3, 13);
             p.drawLine(3, 6, 7, 6);
             p.drawLine(3, 12, 7, 12);
             p.fillRect(QRect(8, 4, 6, 4), QColor(0, 0, 160));
             p.fillRect(QRect(8, 10, 6, 4), QColor(0, 0, 160));
         }},
        {QStringLiteral("addpage"),
         [](QPainter& p) {
             Sheet(p, QRect(1, 0, 11, 14));
             p.setPen(QPen(QColor(0, 128, 0), 2));
             p.drawLine(11, 7, 11, 15);
             p.drawLine(7, 11, 15, 11);
         }},
        {QStringLiteral("deletepage"),
         [](QPainter& p) {
             Sheet(p, QRect(1, 0, 11, 14));
             p.setPen(QPen(QColor(192, 0, 0), 2));
             p.drawLine(8, 8, 14, 14);
             p.drawLine(14, 8, 8, 14);
         }},
        {QStringLiteral("drag"),
         [](QPainter& p) {
             p.setPen(QColor(96, 48, 0));
             p.setBrush(QColor(255, 224, 192));
             p.drawRoundedRect(QRect(3, 6, 10, 9), 3, 3);
             for (int x = 3; x <= 12; x += 3)
                 p.drawRoundedRect(QRect(x, 1, 2, 7), 1, 1);
         }},
        {QStringLiteral("zoomtool"),
         [](QPainter& p) {
             Magnifier(p);
             p.setPen(QPen(Qt::black, 1));
             p.drawLine(4, 6, 8, 6);
             p.drawLine(6, 4, 6, 8);
         }},
        {QStringLiteral("first"),
         [](QPainter& p) {
             p.fillRect(QRect(3, 3, 2, 11), QColor(0, 0, 128));
             Arrow(p, true, 6);
         }},
        {QStringLiteral("prior"), [](QPainter& p) { Arrow(p, true, 5); }},
        {QStringLiteral("next"), [](QPainter& p) { Arrow(p, false, 6); }},
        {QStringLiteral("last"),
         [](QPainter& p) {
             Arrow(p, false, 5);
             p.fillRect(QRect(11, 3, 2, 11), QColor(0, 0, 128));
         }},
        {QStringLiteral("close"),
         [](QPainter& p) {
             p.setPen(QPen(QColor(192, 0, 0), 2.5));
             p.drawLine(3, 3, 13, 13);
             p.drawLine(13, 3, 3, 13);
         }},
        {QStringLiteral("portrait"),
         [](QPainter& p) {
             Sheet(p, QRect(3, 0, 10, 15));
             Lines(p, QRect(3, 0, 10, 15));
         }},
        {QStringLiteral("landscape"),
         [](QPainter& p) {
             Sheet(p, QRect(0, 3, 15, 10));
             Lines(p, QRect(0, 3, 15, 10));
         }},
        {QStringLiteral("collate"),
         [](QPainter& p) {
             for (int i = 0; i < 3; ++i)
                 Sheet(p, QRect(i * 2, i * 2, 9, 11));
         }},
    };
    return painters;
}

} // namespace

QIcon PreviewIcon(const QString& name) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    auto it = Painters().find(name);
    if (it != Painters().end())
        (*it)(p);
    else
        Sheet(p, QRect(2, 0, 12, 15));
    p.end();
    return QIcon(pixmap);
}

} // namespace preview
