#pragma once
// The preview control: the prepared pages laid out in a scrollable workspace, with zoom
// modes, the Drag and Zoom tools, keys, mouse wheel and hyperlinks.

#include "export/ExportFilter.h"
#include "preview/PreviewLayout.h"
#include "report/ViewPainter.h"

#include <QAbstractScrollArea>
#include <functional>
#include <vector>

namespace report {
class TrpReport;
class TrpView;
} // namespace report

namespace preview {

using report::Extended;

enum TrpPreviewTool { ptDrag, ptZoom };

class TrpPreview : public QAbstractScrollArea, public exports::TrpExportPreview {
public:
    explicit TrpPreview(QWidget* parent = nullptr);

    report::TrpReport* Report() const { return FReport; }
    // Binds the report whose prepared pages are shown and refreshes.
    void SetReport(report::TrpReport* report);
    int PageCount() const { return int(FPageSizes.size()); }

    // Current page, from 1.
    int PageNo() const { return FPageNo; }
    // Goes to a page: its top 10 pixels below the window's top.
    void SetPageNo(int pageNo);
    // Scrolls to a position on a page (report units below the printable area's top).
    void ShowPosition(int pageNo, Extended top);

    Extended Zoom() const { return FZoom; }
    // A zoom value: never below 0.25; the mode goes back to default and Two pages is left.
    void SetZoom(Extended zoom);
    TrpZoomMode ZoomMode() const { return FZoomMode; }
    void SetZoomMode(TrpZoomMode mode);
    TrpPreviewTool Tool() const { return FTool; }
    void SetTool(TrpPreviewTool tool);

    const TrpPageLayout& Layout() const { return FLayout; }
    // The workspace point shown at the viewport's top-left corner.
    QPoint ScrollPosition() const;
    void ScrollTo(const QPoint& position);
    void ScrollBy(int dx, int dy);

    // A found text: object `objectIndex` of page `pageNo` (from 1) is marked on the page.
    void SetHighlight(int pageNo, int objectIndex);
    void ClearHighlight() { SetHighlight(0, -1); }
    int HighlightPage() const { return FHighlightPage; }
    int HighlightObject() const { return FHighlightObject; }
    // The marked object's rectangle in the viewport; empty when nothing is marked.
    QRect HighlightRect();
    // The canvas of a page shown at device rectangle `page`.
    report::TrpPageCanvas CanvasOf(const QRect& page) const;

    // The view with a URL under a viewport point, or nullptr.
    const report::TrpView* LinkAt(const QPoint& viewportPoint);
    // Opens a link: "#name" an anchor, "@n" page n, anything else through the desktop.
    void OpenLink(const QString& url);

    // ---- what the export loop and printing need ----
    int CurrentPage() const override { return FPageNo; }
    void Lock() override;
    void Unlock() override;
    void Refresh() override;
    // While a print or export runs.
    bool Locked() const { return FLockCount > 0; }

    // Called when the current page, the page count or the zoom changed.
    std::function<void(TrpPreview* sender)> OnPageChanged;
    std::function<void(TrpPreview* sender)> OnZoomChanged;
    // Opens an address with the desktop; replaceable in tests.
    std::function<void(const QString& url)> OnOpenUrl;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void Relayout();
    void ApplyZoomMode();
    void UpdateScrollBars();
    void SetZoomValue(Extended zoom);
    void SetCurrent(int pageNo);
    QSize CurrentPageSize() const;
    void UpdateCursor(const QPoint& viewportPoint);

    report::TrpReport* FReport = nullptr;
    std::vector<QSize> FPageSizes; // report units
    TrpPageLayout FLayout;
    int FPageNo = 1;
    Extended FZoom = 1;
    TrpZoomMode FZoomMode = zmDefault;
    TrpPreviewTool FTool = ptDrag;
    int FLockCount = 0;
    int FHighlightPage = 0, FHighlightObject = -1;
    bool FPositioning = false;
    bool FDragging = false;
    QPoint FDragStart;
    QPoint FDragScroll;
};

// The size of a prepared page's paper in whole report units.
QSize PaperSizeUnits(const report::TrpReportPage& page);

} // namespace preview
