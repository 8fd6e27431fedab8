#include "report/ViewPainter.h"

#include "platform/Colors.h"
#include "report/DrawText.h"
#include "report/Limits.h"
#include "report/PreparedPageStore.h"
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

Edges DeviceEdges(Extended left, Extended top, Extended width, Extended height, const TrpFrame& frame,
                  const TrpDrawParams& p) {
    auto x = [&](Extended u) { return Device(u, p.OffsetX, p.ScaleX, p.GridX, p.UnitGrid); };
    auto y = [&](Extended u) { return Device(u, p.OffsetY, p.ScaleY, p.GridY, p.UnitGrid); };
    Edges e{x(left), y(top), x(left + width), y(top + height)};
    if (frame.DropShadow) {
        e.X1 -= R(p.ScaleX * limits::ClampFrameWidth(frame.ShadowWidth));
        e.Y1 -= R(p.ScaleY * limits::ClampFrameWidth(frame.ShadowWidth));
    }
    return e;
}

Edges DeviceEdges(const TrpView& v, const TrpDrawParams& p) {
    return DeviceEdges(v.AbsLeft(), v.AbsTop(), v.Width(), v.Height(), v.Frame(), p);
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

// The text rectangle inside gaps and frame lines of a memo with device edges e.
QRect TextRectIn(const TrpCustomMemoView& memo, const Edges& e, Extended scaleX, Extended scaleY) {
    const TrpFrame& f = memo.Frame();
    const int left = e.X + R(scaleX * memo.GapX()) + ((f.Typ & ftLeft) ? R((scaleX * f.Width - 1) / 2) : 0);
    const int top = e.Y + R(scaleY * memo.GapY()) + ((f.Typ & ftTop) ? R((scaleY * f.Width - 1) / 2) : 0);
    const int right = e.X1 - R(scaleX * memo.GapX()) - ((f.Typ & ftRight) ? R(scaleX * f.Width / 2) : 0) + 1;
    const int bottom =
        e.Y1 - R(scaleY * memo.GapY()) - ((f.Typ & ftBottom) ? R(scaleY * f.Width / 2) : 0) + 1;
    return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

} // namespace

QRect DeviceRect(const TrpView& view, const TrpDrawParams& p) {
    const Edges e = DeviceEdges(view, p);
    return QRect(QPoint(e.X, e.Y), QPoint(e.X1 - 1, e.Y1 - 1));
}

QRect MemoTextRect(const TrpCustomMemoView& memo, const TrpDrawParams& p) {
    return TextRectIn(memo, DeviceEdges(memo, p), p.ScaleX, p.ScaleY);
}

namespace {

// The shown fill, a hatch in the frame's colour, or the object's own fill.
void DrawBackground(QPainter& painter, const TrpPlacedObject& o, const QRect& rect) {
    // An active highlight's fill covers the object's own background.
    const bool highlighted = o.View && o.Fill != o.View->Color();
    if (highlighted || (o.Fill != clNone && o.Brush != bsClear))
        painter.fillRect(rect, ColorToQColor(o.Fill));
    const Qt::BrushStyle hatch = HatchOf(o.Brush);
    if (!highlighted && hatch != Qt::NoBrush && o.Frame.Color != clNone)
        painter.fillRect(rect, QBrush(ColorToQColor(o.Frame.Color), hatch));
}

void DrawFrame(QPainter& painter, const TrpPlacedObject& o, const Edges& e, Extended scaleX) {
    const TrpFrame& f = o.Frame;
    if (f.DropShadow) {
        const int sw = R(limits::ClampFrameWidth(f.ShadowWidth) * scaleX);
        const QColor sc = ColorToQColor(f.ShadowColor);
        painter.fillRect(e.X1, e.Y + sw, sw, e.Y1 - e.Y, sc);
        painter.fillRect(e.X + sw, e.Y1, e.X1 - e.X, sw, sc);
    }
    if (f.Typ == 0 || f.Color == clNone || f.Width == 0)
        return;
    // A dashed line is drawn as fw strokes: the width is bounded so that their number is.
    const int fw = std::max(R(scaleX * limits::ClampFrameWidth(f.Width)), 1);
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
            if (o.Fill != clNone)
                SolidLine(painter, side, e, fw, ColorToQColor(o.Fill));
            break;
        }
        default:
            PatternLine(painter, side, e, fw, c, f.Style);
            break;
        }
    }
    painter.restore();
}

// The page's frame: lines on the printable area's exact edges, at least a pixel wide.
void DrawPageFrame(QPainter& painter, const TrpFrame& frame, const QRectF& r, Extended scale) {
    QPen pen(ColorToQColor(frame.Color));
    pen.setWidthF(double(std::max<Extended>(1, frame.Width * scale)));
    painter.setPen(pen);
    if (frame.Typ & ftLeft)
        painter.drawLine(r.topLeft(), r.bottomLeft());
    if (frame.Typ & ftRight)
        painter.drawLine(r.topRight(), r.bottomRight());
    if (frame.Typ & ftTop)
        painter.drawLine(r.topLeft(), r.topRight());
    if (frame.Typ & ftBottom)
        painter.drawLine(r.bottomLeft(), r.bottomRight());
}

void DrawPicture(QPainter& painter, const TrpPictureView& pic, const QRect& rect, Extended scaleX,
                 Extended scaleY) {
    const QSize size = pic.PictureSize();
    if (size.isEmpty())
        return;
    // The picture is decoded for the pixels it covers on the device.
    const auto draw = [&](const QRect& target) {
        const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1;
        const QImage image =
            pic.Picture((painter.combinedTransform().mapRect(QRectF(target)).size() * ratio).toSize());
        if (!image.isNull())
            painter.drawImage(target, image);
    };
    const int dx = rect.width(), dy = rect.height();
    if (pic.Stretched()) {
        QRect target = rect;
        if (pic.KeepAspectRatio()) {
            const Extended k = std::min(Extended(dx) / size.width(), Extended(dy) / size.height());
            const int w = R(size.width() * k), h = R(size.height() * k);
            target = QRect(rect.left(), rect.top(), w, h);
            if (pic.Center())
                target.moveTo(rect.left() + (dx - w) / 2, rect.top() + (dy - h) / 2);
        }
        draw(target);
        return;
    }
    const int w = R(scaleX * size.width()), h = R(scaleY * size.height());
    int x = rect.left(), y = rect.top();
    if (pic.Center()) {
        x += (dx - w) / 2;
        y += (dy - h) / 2;
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    draw(QRect(x, y, w, h));
    painter.restore();
}

// The one drawing of an object, whatever the output: e are its device edges (less the drop
// shadow), text its laid-out text.
void DrawObject(QPainter& painter, const TrpPlacedObject& o, const TrpDrawText* text, const Edges& e,
                Extended scaleX, Extended scaleY, int printerDPI) {
    const QRect rect(QPoint(e.X, e.Y), QPoint(e.X1 - 1, e.Y1 - 1));
    DrawBackground(painter, o, rect);
    if (o.Kind == TrpPlacedKind::Picture)
        DrawPicture(painter, static_cast<const TrpPictureView&>(*o.View), rect, scaleX, scaleY);
    DrawFrame(painter, o, e, scaleX);
    if (o.Kind != TrpPlacedKind::Text || !text)
        return;
    TrpTextTarget target;
    target.ScaleX = scaleX;
    target.ScaleY = scaleY;
    target.PrinterDPI = printerDPI;
    target.TextRect = TextRectIn(static_cast<const TrpCustomMemoView&>(*o.View), e, scaleX, scaleY);
    target.ObjectRect = rect.adjusted(0, 0, 1, 1);
    text->Draw(painter, target);
}

Edges PlacedEdges(const TrpPlacedObject& o, const TrpPageCanvas& c) {
    Edges e;
    if (c.Output != TrpOutput::Printer) {
        // On screen and in pictures, edges lie on whole units from the paper's corner, as the
        // 100 % view has them: edges that meet there meet at every zoom, and lines of one width
        // come out equally thick.
        e = {R(c.OffsetX + c.ScaleX * o.GridLeft), R(c.OffsetY + c.ScaleY * o.GridTop),
             R(c.OffsetX + c.ScaleX * o.GridRight), R(c.OffsetY + c.ScaleY * o.GridBottom)};
    } else {
        e = {R(c.OffsetX + c.ScaleX * o.Left), R(c.OffsetY + c.ScaleY * o.Top),
             R(c.OffsetX + c.ScaleX * (o.Left + o.Width)), R(c.OffsetY + c.ScaleY * (o.Top + o.Height))};
    }
    if (o.Frame.DropShadow) {
        e.X1 -= R(c.ScaleX * limits::ClampFrameWidth(o.Frame.ShadowWidth));
        e.Y1 -= R(c.ScaleY * limits::ClampFrameWidth(o.Frame.ShadowWidth));
    }
    return e;
}

} // namespace

void DrawView(QPainter& painter, TrpDrawText& text, const TrpView& view, const TrpDrawParams& p) {
    const TrpPlacedObject o = PlaceView(view, 0, 0);
    if (auto* memo = dynamic_cast<const TrpCustomMemoView*>(&view))
        text.Layout(memo->Memo(), MemoTextSettings(*memo), TextLayoutWidth(*memo));
    DrawObject(painter, o, &text, DeviceEdges(view, p), p.ScaleX, p.ScaleY, p.PrinterDPI);
}

void DrawView(QPainter& painter, const TrpPlacedObject& o, const TrpDrawParams& p) {
    const Edges e = o.View ? DeviceEdges(o.View->AbsLeft(), o.View->AbsTop(), o.Width, o.Height, o.Frame, p)
                           : DeviceEdges(o.Left, o.Top, o.Width, o.Height, o.Frame, p);
    DrawObject(painter, o, o.Text.get(), e, p.ScaleX, p.ScaleY, p.PrinterDPI);
}

QRect DeviceRect(const TrpPlacedObject& object, const TrpPageCanvas& canvas) {
    const Edges e = PlacedEdges(object, canvas);
    return QRect(QPoint(e.X, e.Y), QPoint(e.X1 - 1, e.Y1 - 1));
}

int DrawPlacedPage(QPainter& painter, const TrpPlacedPage& page, const TrpPageCanvas& canvas) {
    painter.save();
    if (canvas.Output != TrpOutput::Printer) {
        const QPoint topLeft(Round(canvas.OffsetX), Round(canvas.OffsetY));
        const QPoint bottomRight(Round(page.PaperWidth * canvas.ScaleX + canvas.OffsetX) - 1,
                                 Round(page.PaperHeight * canvas.ScaleY + canvas.OffsetY) - 1);
        painter.setClipRect(QRect(topLeft, bottomRight), Qt::IntersectClip);
    }
    const bool printableOnly = HonoursPrintable(canvas.Output);
    int drawn = 0;
    for (const TrpPlacedObject& o : page.Objects) {
        if (!o.Visible || (printableOnly && !o.Printable))
            continue;
        if (o.Kind == TrpPlacedKind::PageBackground || o.Kind == TrpPlacedKind::PageFrame) {
            const QRectF printable(double(canvas.OffsetX + o.Left * canvas.ScaleX),
                                   double(canvas.OffsetY + o.Top * canvas.ScaleY),
                                   double(o.Width * canvas.ScaleX), double(o.Height * canvas.ScaleY));
            if (o.Kind == TrpPlacedKind::PageBackground)
                painter.fillRect(printable, ColorToQColor(o.Fill));
            else
                DrawPageFrame(painter, o.Frame, printable, canvas.ScaleX);
            continue;
        }
        const Edges e = PlacedEdges(o, canvas);
        if (!canvas.Visible.isEmpty() && !QRect(QPoint(e.X, e.Y), QPoint(e.X1 - 1, e.Y1 - 1))
                                              .adjusted(-20, -20, 20, 20)
                                              .intersects(canvas.Visible))
            continue;
        DrawObject(painter, o, o.Text.get(), e, canvas.ScaleX, canvas.ScaleY,
                   canvas.Output == TrpOutput::Printer ? canvas.PrinterDPI : 0);
        ++drawn;
    }
    painter.restore();
    return drawn;
}

QImage RenderPreparedPage(TrpReport& report, int index, Extended zoom) {
    const TrpPlacedPage* page = report.PreviewPages().Placed(index);
    if (!page)
        return {};
    const QSize size(R(page->Width * zoom), R(page->Height * zoom));
    if (size.isEmpty() || qint64(size.width()) * size.height() > limits::MaxImagePixels)
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    QPainter painter(&image);
    TrpPageCanvas canvas;
    canvas.ScaleX = canvas.ScaleY = zoom;
    canvas.Output = TrpOutput::Picture;
    DrawPlacedPage(painter, *page, canvas);
    return image;
}

} // namespace report
