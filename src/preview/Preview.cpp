#include "preview/Preview.h"

#include "report/Attributes.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ViewPainter.h"

#include <QAccessibleWidget>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>

namespace preview {

using namespace report;

namespace {
const QColor kWorkspace(128, 128, 128);
const QColor kPageFrame(0, 0, 0);
const QColor kShadow(64, 64, 64);
constexpr int kPageStepKeys = 300;
constexpr int kArrowStep = 8;
constexpr int kWheelStep = 20;
constexpr Extended kWheelZoomStep = 0.1L;
constexpr Extended kToolZoomStep = 0.25L;
} // namespace

QSize PaperSizeUnits(const TrpReportPage& page) {
    return QSize(Round(page.PaperWidth() * fr01cm), Round(page.PaperHeight() * fr01cm));
}

namespace {

// Screen readers take the page view for a document; its name and description (the page
// counter) are set by the window that shows it.
QAccessibleInterface* PreviewAccessible(const QString&, QObject* object) {
    if (auto* preview = dynamic_cast<TrpPreview*>(object))
        return new QAccessibleWidget(preview, QAccessible::Document);
    return nullptr;
}

} // namespace

TrpPreview::TrpPreview(QWidget* parent) : QAbstractScrollArea(parent) {
    static const bool accessible = (QAccessible::installFactory(PreviewAccessible), true);
    (void)accessible;
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setFrameShape(QFrame::NoFrame);
    OnOpenUrl = [](const QString& url) { QDesktopServices::openUrl(QUrl::fromUserInput(url)); };
    Relayout();
}

void TrpPreview::SetReport(TrpReport* report) {
    FReport = report;
    Refresh();
}

void TrpPreview::Refresh() {
    FPageSizes.clear();
    FHighlightPage = 0;
    if (FReport) {
        TrpPreviewPages& pages = FReport->PreviewPages();
        // From the source pages: a long report is laid out without rebuilding its pages.
        FPageSizes.reserve(size_t(pages.Count()));
        for (int i = 0; i < pages.Count(); ++i) {
            const TrpReportPage* page = pages.PageSource(i);
            FPageSizes.push_back(page ? PaperSizeUnits(*page) : EmptyPageSize);
        }
    }
    FPageNo = std::clamp(FPageNo, 1, std::max(1, PageCount()));
    ApplyZoomMode();
    Relayout();
    if (OnPageChanged)
        OnPageChanged(this);
}

void TrpPreview::Lock() {
    ++FLockCount;
}

void TrpPreview::Unlock() {
    if (FLockCount > 0)
        --FLockCount;
}

QSize TrpPreview::CurrentPageSize() const {
    if (FPageSizes.empty())
        return EmptyPageSize;
    return FPageSizes[size_t(std::clamp(FPageNo, 1, PageCount()) - 1)];
}

void TrpPreview::SetZoomValue(Extended zoom) {
    zoom = ClampZoom(zoom);
    if (zoom == FZoom)
        return;
    FZoom = zoom;
    if (OnZoomChanged)
        OnZoomChanged(this);
}

void TrpPreview::SetZoom(Extended zoom) {
    FZoomMode = zmDefault;
    SetZoomValue(zoom);
    Relayout();
    SetPageNo(FPageNo);
}

void TrpPreview::SetZoomMode(TrpZoomMode mode) {
    FZoomMode = mode;
    ApplyZoomMode();
    Relayout();
    if (mode == zmWholePage || mode == zmManyPages)
        SetPageNo(FPageNo);
    if (OnZoomChanged)
        OnZoomChanged(this);
}

void TrpPreview::ApplyZoomMode() {
    const QSize page = CurrentPageSize();
    switch (FZoomMode) {
    case zmWholePage:
        SetZoomValue(WholePageZoom(viewport()->height(), page.height()));
        break;
    case zmPageWidth:
        SetZoomValue(PageWidthZoom(width(), page.width()));
        break;
    case zmManyPages:
        SetZoomValue(TwoPagesZoom(viewport()->width(), page.width()));
        break;
    case zmDefault:
        break;
    }
}

void TrpPreview::SetTool(TrpPreviewTool tool) {
    FTool = tool;
    UpdateCursor(viewport()->mapFromGlobal(QCursor::pos()));
}

void TrpPreview::Relayout() {
    FLayout = LayoutPages(FPageSizes, FZoom, viewport()->width(), FZoomMode == zmManyPages);
    UpdateScrollBars();
    viewport()->update();
}

void TrpPreview::UpdateScrollBars() {
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, FLayout.Extent.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(kArrowStep);
    verticalScrollBar()->setRange(0, std::max(0, FLayout.Extent.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(kWheelStep);
}

QPoint TrpPreview::ScrollPosition() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TrpPreview::ScrollTo(const QPoint& position) {
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

void TrpPreview::ScrollBy(int dx, int dy) {
    ScrollTo(ScrollPosition() + QPoint(dx, dy));
}

void TrpPreview::SetCurrent(int pageNo) {
    pageNo = std::clamp(pageNo, 1, std::max(1, PageCount()));
    if (pageNo == FPageNo)
        return;
    FPageNo = pageNo;
    if (OnPageChanged)
        OnPageChanged(this);
}

void TrpPreview::SetPageNo(int pageNo) {
    pageNo = std::clamp(pageNo, 1, std::max(1, PageCount()));
    FPositioning = true;
    if (pageNo <= int(FLayout.Pages.size()))
        verticalScrollBar()->setValue(FLayout.Pages[size_t(pageNo - 1)].top() - 10);
    FPositioning = false;
    SetCurrent(pageNo);
    viewport()->update();
}

void TrpPreview::ShowPosition(int pageNo, Extended top) {
    pageNo = std::clamp(pageNo, 1, std::max(1, PageCount()));
    if (pageNo > int(FLayout.Pages.size()) || !FReport)
        return;
    const TrpReportPage* page = FReport->PreviewPages().Page(pageNo - 1);
    const Extended margin = page ? page->TopMargin() * fr01cm : 0;
    FPositioning = true;
    verticalScrollBar()->setValue(FLayout.Pages[size_t(pageNo - 1)].top() + Round((top + margin) * FZoom));
    FPositioning = false;
    SetCurrent(pageNo);
}

void TrpPreview::scrollContentsBy(int, int) {
    viewport()->update();
    if (!FPositioning && !FLayout.Pages.empty())
        SetCurrent(FLayout.PageAt(verticalScrollBar()->value() + viewport()->height() / 2) + 1);
}

void TrpPreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    ApplyZoomMode();
    Relayout();
}

void TrpPreview::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kWorkspace);
    const QPoint scroll = ScrollPosition();
    const QRect visible = viewport()->rect();
    const std::vector<QRect>& pages = FLayout.Pages;
    for (int i = 0; i < int(pages.size()); ++i) {
        const QRect r = pages[size_t(i)].translated(-scroll);
        if (!r.adjusted(-2, -2, 4, 4).intersects(visible))
            continue;
        painter.fillRect(r.translated(3, 3), kShadow);
        painter.fillRect(r, Qt::white);
        painter.setPen(kPageFrame);
        painter.drawRect(r.adjusted(-1, -1, 0, 0));
        if (!FReport || i >= PageCount())
            continue;
        TrpPageCanvas canvas = CanvasOf(r);
        canvas.Visible = visible;
        if (const TrpPlacedPage* page = FReport->PreviewPages().Placed(i))
            DrawPlacedPage(painter, *page, canvas);
    }
    if (const QRect hit = HighlightRect(); !hit.isEmpty()) {
        painter.fillRect(hit, QColor(255, 200, 0, 90));
        painter.setPen(QPen(QColor(230, 120, 0), 2));
        painter.drawRect(hit.adjusted(-1, -1, 0, 0));
    }
}

void TrpPreview::SetHighlight(int pageNo, int objectIndex) {
    FHighlightPage = pageNo;
    FHighlightObject = objectIndex;
    viewport()->update();
}

TrpPageCanvas TrpPreview::CanvasOf(const QRect& page) const {
    TrpPageCanvas canvas;
    canvas.ScaleX = canvas.ScaleY = FZoom;
    canvas.OffsetX = page.left();
    canvas.OffsetY = page.top();
    return canvas;
}

QRect TrpPreview::HighlightRect() {
    if (!FReport || FHighlightPage < 1 || FHighlightPage > int(FLayout.Pages.size()) ||
        FHighlightPage > PageCount())
        return {};
    const TrpPlacedPage* page = FReport->PreviewPages().Placed(FHighlightPage - 1);
    const TrpPlacedObject* object = page ? page->ObjectOf(FHighlightObject) : nullptr;
    if (!object)
        return {};
    return DeviceRect(*object,
                      CanvasOf(FLayout.Pages[size_t(FHighlightPage - 1)].translated(-ScrollPosition())));
}

void TrpPreview::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageUp:
        ctrl ? SetPageNo(FPageNo - 1) : ScrollBy(0, -kPageStepKeys);
        break;
    case Qt::Key_PageDown:
        ctrl ? SetPageNo(FPageNo + 1) : ScrollBy(0, kPageStepKeys);
        break;
    case Qt::Key_Home:
        SetPageNo(1);
        break;
    case Qt::Key_End:
        SetPageNo(PageCount());
        break;
    case Qt::Key_Up:
        ScrollBy(0, -kArrowStep);
        break;
    case Qt::Key_Down:
        ScrollBy(0, kArrowStep);
        break;
    case Qt::Key_Left:
        ScrollBy(-kArrowStep, 0);
        break;
    case Qt::Key_Right:
        ScrollBy(kArrowStep, 0);
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void TrpPreview::wheelEvent(QWheelEvent* event) {
    const int notches =
        event->angleDelta().y() != 0 ? event->angleDelta().y() / 120 : event->angleDelta().x() / 120;
    if (notches == 0) {
        event->accept();
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        const Extended zoom = std::max(MinWheelZoom, FZoom + notches * kWheelZoomStep);
        SetZoom(zoom);
    } else if (event->modifiers() & Qt::ShiftModifier) {
        ScrollBy(-notches * kWheelStep, 0);
    } else {
        ScrollBy(0, -notches * kWheelStep);
    }
    event->accept();
}

const TrpView* TrpPreview::LinkAt(const QPoint& viewportPoint) {
    if (!FReport)
        return nullptr;
    const QPoint point = viewportPoint + ScrollPosition();
    for (int i = 0; i < PageCount() && i < int(FLayout.Pages.size()); ++i) {
        const QRect& r = FLayout.Pages[size_t(i)];
        if (!r.contains(point))
            continue;
        const TrpPlacedPage* page = FReport->PreviewPages().Placed(i);
        if (!page)
            return nullptr;
        const TrpPageCanvas canvas = CanvasOf(r);
        for (auto it = page->Objects.rbegin(); it != page->Objects.rend(); ++it)
            if (it->View && it->Visible && !it->View->URL().isEmpty() &&
                DeviceRect(*it, canvas).contains(point))
                return it->View;
        return nullptr;
    }
    return nullptr;
}

void TrpPreview::OpenLink(const QString& url) {
    if (url.startsWith(QLatin1Char('@'))) {
        bool ok = false;
        const int page = url.mid(1).toInt(&ok);
        if (ok)
            SetPageNo(page);
        return;
    }
    if (url.startsWith(QLatin1Char('#'))) {
        // Anchors of the prepared report: "item" children with text, page and top.
        if (!FReport)
            return;
        const TrpXMLItem* anchors =
            FReport->PreviewPages().Document().Root()->FindItem(QStringLiteral("anchors"));
        for (int i = 0; anchors && i < anchors->Count(); ++i) {
            const TrpXMLItem* item = anchors->Items(i);
            if (item->Prop(QStringLiteral("text")) == url.mid(1)) {
                Extended top = 0;
                AttrToFloat(item->Prop(QStringLiteral("top")), top);
                ShowPosition(item->Prop(QStringLiteral("page")).toInt() + 1, top);
                return;
            }
        }
        return;
    }
    if (OnOpenUrl)
        OnOpenUrl(url);
}

void TrpPreview::UpdateCursor(const QPoint& viewportPoint) {
    if (LinkAt(viewportPoint))
        viewport()->setCursor(Qt::PointingHandCursor);
    else if (FTool == ptZoom)
        viewport()->setCursor(Qt::CrossCursor);
    else
        viewport()->setCursor(FDragging ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
}

void TrpPreview::mousePressEvent(QMouseEvent* event) {
    setFocus();
    if (Locked())
        return;
    if (event->button() == Qt::LeftButton) {
        if (const TrpView* link = LinkAt(event->position().toPoint())) {
            OpenLink(link->URL());
            return;
        }
    }
    if (FTool == ptZoom) {
        if (event->button() == Qt::LeftButton)
            SetZoom(FZoom + kToolZoomStep);
        else if (event->button() == Qt::RightButton)
            SetZoom(FZoom - kToolZoomStep);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        FDragging = true;
        FDragStart = event->position().toPoint();
        FDragScroll = ScrollPosition();
        UpdateCursor(FDragStart);
    }
}

void TrpPreview::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (FDragging) {
        ScrollTo(FDragScroll - (pos - FDragStart));
        return;
    }
    UpdateCursor(pos);
}

void TrpPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (FDragging && event->button() == Qt::LeftButton) {
        FDragging = false;
        UpdateCursor(event->position().toPoint());
    }
}

} // namespace preview
