#include "preview/PageDrawing.h"

#include "report/Colors.h"
#include "report/MemoFill.h"
#include "report/PreviewPages.h"
#include "report/Report.h"
#include "report/ViewPainter.h"

#include <QPainter>

namespace report {

namespace {

void DrawPageFrame(QPainter& painter, const TrpFrame& frame, const QRectF& r, Extended scale) {
    if (frame.Typ == 0)
        return;
    QPen pen(ToQColor(frame.Color));
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

// Swaps the left and right margins for the drawing of an even page and back afterwards.
class MirroredMargins {
public:
    MirroredMargins(TrpReportPage& page, bool active) : FPage(page), FActive(active) { Swap(); }
    ~MirroredMargins() { Swap(); }

private:
    void Swap() {
        if (!FActive)
            return;
        const Extended left = FPage.LeftMargin();
        FPage.SetLeftMargin(FPage.RightMargin());
        FPage.SetRightMargin(left);
    }
    TrpReportPage& FPage;
    bool FActive;
};

} // namespace

int DrawPreparedPage(TrpReport& report, int index, QPainter& painter, const TrpPageCanvas& canvas) {
    TrpPreviewPages& pages = report.PreviewPages();
    TrpReportPage* page = pages.Page(index);
    if (!page)
        return 0;
    MirroredMargins mirrored(*page, page->MirrorMargins() && (index + 1) % 2 == 0);

    painter.save();
    if (!canvas.Printer) {
        const QPoint topLeft(Round(canvas.OffsetX), Round(canvas.OffsetY));
        const QPoint bottomRight(Round(page->PaperWidth() * fr01cm * canvas.ScaleX + canvas.OffsetX) - 1,
                                 Round(page->PaperHeight() * fr01cm * canvas.ScaleY + canvas.OffsetY) - 1);
        painter.setClipRect(QRect(topLeft, bottomRight), Qt::IntersectClip);
    }

    const TrpDrawParams p = PageDrawParams(*page, canvas.ScaleX, canvas.ScaleY, canvas.OffsetX,
                                           canvas.OffsetY, canvas.Printer ? canvas.PrinterDPI : 0);

    const QRectF printable(double(p.OffsetX), double(p.OffsetY), double(page->PrintableWidth() * p.ScaleX),
                           double(page->PrintableHeight() * p.ScaleY));
    if (page->Color() != clNone)
        painter.fillRect(printable, ToQColor(page->Color()));
    DrawPageFrame(painter, page->Frame(), printable, p.ScaleX);

    const int pageCount = pages.Count();
    const QString mark = TotalPagesMark();
    int drawn = 0;
    for (const auto& object : page->Objects()) {
        auto* view = dynamic_cast<const TrpView*>(object.get());
        if (!view || !view->Visible())
            continue;
        if (canvas.Printer && !view->Printable())
            continue;
        if (!canvas.Visible.isEmpty() &&
            !DeviceRect(*view, p).adjusted(-20, -20, 20, 20).intersects(canvas.Visible))
            continue;
        auto* memo = dynamic_cast<const TrpCustomMemoView*>(view);
        if (memo && memo->Text().contains(mark)) {
            // The memo shows the page count the pages have now.
            auto copy = memo->Clone();
            auto* told = static_cast<TrpCustomMemoView*>(copy.get());
            told->SetText(memo->Text().replace(mark, QString::number(pageCount)));
            DrawView(painter, report.DrawText(), *told, p);
        } else {
            DrawView(painter, report.DrawText(), *view, p);
        }
        ++drawn;
    }
    painter.restore();
    return drawn;
}

} // namespace report
