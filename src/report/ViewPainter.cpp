#include "report/ViewPainter.h"

#include "platform/Colors.h"
#include "report/DrawText.h"
#include "report/Limits.h"
#include "report/PreviewPages.h"
#include "report/Report.h"

#include <QPainter>
#include <cmath>

namespace report {

namespace {

// Rounded to a device pixel; coordinates from a file are bounded first, so that no sum of a
// few of them overflows.
int R(Extended v) {
    return limits::DevicePixel(v);
}

struct Edges {
    int X, Y, X1, Y1;
};

// Device coordinate of a position in units along one axis.
int Device(Extended units, Extended offset, Extended scale, Extended grid, bool snap) {
    if (!snap)
        return R(offset + scale * units);
    return R(offset - scale * grid + scale * R(grid + units));
}

Edges DeviceEdges(const TrpView& v, const TrpDrawParams& p) {
    auto x = [&](Extended u) { return Device(u, p.OffsetX, p.ScaleX, p.GridX, p.UnitGrid); };
    auto y = [&](Extended u) { return Device(u, p.OffsetY, p.ScaleY, p.GridY, p.UnitGrid); };
    Edges e{x(v.AbsLeft()), y(v.AbsTop()), x(v.AbsLeft() + v.Width()), y(v.AbsTop() + v.Height())};
    if (v.Frame().DropShadow) {
        e.X1 -= R(p.ScaleX * limits::ClampFrameWidth(v.Frame().ShadowWidth));
        e.Y1 -= R(p.ScaleY * limits::ClampFrameWidth(v.Frame().ShadowWidth));
    }
    return e;
}

Qt::BrushStyle HatchOf(TBrushStyle s) {
    switch (s) {
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::BDiagPattern; // Windows' forward diagonal runs up to the right
    case bsBDiagonal:
        return Qt::FDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::NoBrush;
    }
}

// The classic cosmetic pen patterns (on, off, ...), in pixels.
QList<qreal> DashPattern(TrpFrameStyle s) {
    switch (s) {
    case fsDash:
        return {18, 6};
    case fsDot:
        return {3, 3};
    case fsDashDot:
        return {9, 6, 3, 6};
    case fsDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

enum class Side { Left, Right, Top, Bottom };

// A solid line of width fw centred on the edge; the bottom line of a 1-pixel frame is one pixel
// longer so that the bottom-right corner is set.
void SolidLine(QPainter& painter, Side side, const Edges& e, int fw, const QColor& c, int offset = 0) {
    const int h = fw / 2;
    switch (side) {
    case Side::Left:
        painter.fillRect(e.X - h + offset, e.Y, fw, e.Y1 - e.Y, c);
        break;
    case Side::Right:
        painter.fillRect(e.X1 - h + offset, e.Y, fw, e.Y1 - e.Y, c);
        break;
    case Side::Top:
        painter.fillRect(e.X, e.Y - h + offset, e.X1 - e.X, fw, c);
        break;
    case Side::Bottom:
        painter.fillRect(e.X, e.Y1 - h + offset, e.X1 - e.X + (fw == 1 ? 1 : 0), fw, c);
        break;
    }
}

void PatternLine(QPainter& painter, Side side, const Edges& e, int fw, const QColor& c, TrpFrameStyle style) {
    QPen pen(c);
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern(DashPattern(style));
    painter.setPen(pen);
    for (int k = 0; k < fw; ++k) {
        const int o = k - fw / 2;
        // Pixel centres: +0.5 so that 1-pixel strokes land on whole pixels.
        switch (side) {
        case Side::Left:
            painter.drawLine(QPointF(e.X + o + 0.5, e.Y), QPointF(e.X + o + 0.5, e.Y1));
            break;
        case Side::Right:
            painter.drawLine(QPointF(e.X1 + o + 0.5, e.Y), QPointF(e.X1 + o + 0.5, e.Y1));
            break;
        case Side::Top:
            painter.drawLine(QPointF(e.X, e.Y + o + 0.5), QPointF(e.X1, e.Y + o + 0.5));
            break;
        case Side::Bottom:
            painter.drawLine(QPointF(e.X, e.Y1 + o + 0.5), QPointF(e.X1 + (fw == 1 ? 1 : 0), e.Y1 + o + 0.5));
            break;
        }
    }
}

} // namespace

TrpDrawParams PageDrawParams(const TrpReportPage& page, Extended scaleX, Extended scaleY, Extended paperX,
                             Extended paperY, int printerDPI) {
    TrpDrawParams p;
    p.ScaleX = scaleX;
    p.ScaleY = scaleY;
    p.GridX = page.LeftMargin() * fr01cm;
    p.GridY = page.TopMargin() * fr01cm;
    p.OffsetX = paperX + p.GridX * scaleX;
    p.OffsetY = paperY + p.GridY * scaleY;
    p.PrinterDPI = printerDPI;
    p.UnitGrid = printerDPI == 0;
    return p;
}

QRect DeviceRect(const TrpView& view, const TrpDrawParams& p) {
    const Edges e = DeviceEdges(view, p);
    return QRect(QPoint(e.X, e.Y), QPoint(e.X1 - 1, e.Y1 - 1));
}

QRect MemoTextRect(const TrpCustomMemoView& memo, const TrpDrawParams& p) {
    const Edges e = DeviceEdges(memo, p);
    const TrpFrame& f = memo.Frame();
    const int left =
        e.X + R(p.ScaleX * memo.GapX()) + ((f.Typ & ftLeft) ? R((p.ScaleX * f.Width - 1) / 2) : 0);
    const int top = e.Y + R(p.ScaleY * memo.GapY()) + ((f.Typ & ftTop) ? R((p.ScaleY * f.Width - 1) / 2) : 0);
    const int right =
        e.X1 - R(p.ScaleX * memo.GapX()) - ((f.Typ & ftRight) ? R(p.ScaleX * f.Width / 2) : 0) + 1;
    const int bottom =
        e.Y1 - R(p.ScaleY * memo.GapY()) - ((f.Typ & ftBottom) ? R(p.ScaleY * f.Width / 2) : 0) + 1;
    return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

void DrawBackground(QPainter& painter, const TrpView& view, const QRect& rect) {
    if (view.Color() != clNone && view.BrushStyle() != bsClear)
        painter.fillRect(rect, ColorToQColor(view.Color()));
    const Qt::BrushStyle hatch = HatchOf(view.BrushStyle());
    if (hatch != Qt::NoBrush && view.Frame().Color != clNone)
        painter.fillRect(rect, QBrush(ColorToQColor(view.Frame().Color), hatch));
}

void DrawFrame(QPainter& painter, const TrpView& view, const QRect& rect, const TrpDrawParams& p) {
    const TrpFrame& f = view.Frame();
    const Edges e{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    if (f.DropShadow) {
        const int sw = R(limits::ClampFrameWidth(f.ShadowWidth) * p.ScaleX);
        const QColor sc = ColorToQColor(f.ShadowColor);
        painter.fillRect(e.X1, e.Y + sw, sw, e.Y1 - e.Y, sc);
        painter.fillRect(e.X + sw, e.Y1, e.X1 - e.X, sw, sc);
    }
    if (f.Typ == 0 || f.Color == clNone || f.Width == 0)
        return;
    // A dashed line is drawn as fw strokes: the width is bounded so that their number is.
    const int fw = std::max(R(p.ScaleX * limits::ClampFrameWidth(f.Width)), 1);
    const QColor c = ColorToQColor(f.Color);
    const std::pair<int, Side> sides[] = {
        {ftLeft, Side::Left}, {ftRight, Side::Right}, {ftTop, Side::Top}, {ftBottom, Side::Bottom}};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const auto& [bit, side] : sides) {
        if (!(f.Typ & bit))
            continue;
        switch (f.Style) {
        case fsSolid:
            SolidLine(painter, side, e, fw, c);
            break;
        case fsDouble: {
            // Two strokes outside and inside the edge, the middle in the fill colour.
            SolidLine(painter, side, e, fw, c, -fw);
            SolidLine(painter, side, e, fw, c, +fw);
            if (view.Color() != clNone)
                SolidLine(painter, side, e, fw, ColorToQColor(view.Color()));
            break;
        }
        default:
            PatternLine(painter, side, e, fw, c, f.Style);
            break;
        }
    }
    painter.restore();
}

namespace {

void DrawPicture(QPainter& painter, const TrpPictureView& pic, const QRect& rect, const TrpDrawParams& p) {
    const QImage& image = pic.Picture();
    if (image.isNull())
        return;
    const int dx = rect.width(), dy = rect.height();
    if (pic.Stretched()) {
        QRect target = rect;
        if (pic.KeepAspectRatio()) {
            const Extended k = std::min(Extended(dx) / image.width(), Extended(dy) / image.height());
            const int w = R(image.width() * k), h = R(image.height() * k);
            target = QRect(rect.left(), rect.top(), w, h);
            if (pic.Center())
                target.moveTo(rect.left() + (dx - w) / 2, rect.top() + (dy - h) / 2);
        }
        painter.drawImage(target, image);
        return;
    }
    const int w = R(p.ScaleX * image.width()), h = R(p.ScaleY * image.height());
    int x = rect.left(), y = rect.top();
    if (pic.Center()) {
        x += (dx - w) / 2;
        y += (dy - h) / 2;
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawImage(QRect(x, y, w, h), image);
    painter.restore();
}

} // namespace

void DrawView(QPainter& painter, TrpDrawText& text, const TrpView& view, const TrpDrawParams& p) {
    const QRect rect = DeviceRect(view, p);
    DrawBackground(painter, view, rect);
    // An active highlight's fill covers the memo's own background.
    if (auto* memo = dynamic_cast<const TrpCustomMemoView*>(&view); memo && ShownFill(*memo) != memo->Color())
        painter.fillRect(rect, ColorToQColor(ShownFill(*memo)));
    if (auto* memo = dynamic_cast<const TrpCustomMemoView*>(&view)) {
        DrawFrame(painter, view, rect, p);
        TrpTextTarget target;
        target.ScaleX = p.ScaleX;
        target.ScaleY = p.ScaleY;
        target.PrinterDPI = p.PrinterDPI;
        target.TextRect = MemoTextRect(*memo, p);
        target.ObjectRect = rect.adjusted(0, 0, 1, 1);
        // Lines break for the rectangle in report units, the same at every zoom.
        const TrpDrawParams unit;
        const QRect unitRect = MemoTextRect(*memo, unit);
        const bool across = (memo->Rotation() >= 90 && memo->Rotation() < 180) || memo->Rotation() >= 270;
        DrawMemoText(painter, text, *memo, target, across ? unitRect.height() : unitRect.width());
    } else if (auto* pic = dynamic_cast<const TrpPictureView*>(&view)) {
        DrawPicture(painter, *pic, rect, p);
        DrawFrame(painter, view, rect, p);
    } else {
        DrawFrame(painter, view, rect, p);
    }
}

void DrawPage(QPainter& painter, TrpDrawText& text, const TrpReportPage& page, const TrpDrawParams& paper) {
    const TrpDrawParams p =
        PageDrawParams(page, paper.ScaleX, paper.ScaleY, paper.OffsetX, paper.OffsetY, paper.PrinterDPI);
    if (page.Color() != clNone)
        painter.fillRect(
            QRectF(paper.OffsetX, paper.OffsetY, page.Width() * p.ScaleX, page.Height() * p.ScaleY),
            ColorToQColor(page.Color()));
    for (const auto& object : page.Objects()) {
        auto* view = dynamic_cast<const TrpView*>(object.get());
        if (view && view->Visible())
            DrawView(painter, text, *view, p);
    }
}

QImage RenderPreparedPage(TrpReport& report, int index, Extended zoom) {
    TrpReportPage* page = report.PreviewPages().Page(index);
    if (!page)
        return {};
    const QSize size(R(page->Width() * zoom), R(page->Height() * zoom));
    if (size.isEmpty() || qint64(size.width()) * size.height() > limits::MaxImagePixels)
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    QPainter painter(&image);
    TrpDrawParams p;
    p.ScaleX = p.ScaleY = zoom;
    DrawPage(painter, report.DrawText(), *page, p);
    return image;
}

} // namespace report
