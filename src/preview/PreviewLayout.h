#pragma once
// Where the preview puts its pages and how the zoom modes compute their zoom. Plain
// arithmetic, kept apart from the control so it can be checked without a window.

#include "report/ReportTypes.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace preview {

using report::Extended;

enum TrpZoomMode { zmDefault, zmWholePage, zmPageWidth, zmManyPages };

// The smallest zoom any mode or entry gives, and the smallest the Ctrl+wheel gives.
constexpr Extended MinZoom = 0.25L;
constexpr Extended MinWheelZoom = 0.3L;
// Beyond this a page no longer fits the workspace's coordinates.
constexpr Extended MaxZoom = 20.0L;
// Placeholder laid out when there are no pages: A4 at 96 dpi.
constexpr QSize EmptyPageSize(794, 1123);

// The pages placed in rows in the workspace, in device pixels (scroll coordinates).
struct TrpPageLayout {
    std::vector<QRect> Pages; // one per page (the placeholder when there are none)
    QSize Extent;             // the scrollable size
    // Index of the page that holds a workspace point vertically (the last page above it).
    int PageAt(int y) const;
};

// Lays out pages (sizes in report units) for a workspace width: one page per row, two with
// twoPages; rows start 10 units from the top with 10 units between rows and between the pages
// of a row; a row narrower than the window is centred, otherwise it starts 10 pixels from
// the left. Everything scales with the zoom.
TrpPageLayout LayoutPages(const std::vector<QSize>& pageSizes, Extended zoom, int windowWidth, bool twoPages);

// Zoom of each mode for a page of the given size (report units); never below MinZoom.
Extended WholePageZoom(int clientHeight, int pageHeight);
Extended PageWidthZoom(int workspaceWidth, int pageWidth);
Extended TwoPagesZoom(int clientWidth, int pageWidth);
Extended ClampZoom(Extended zoom);

// A zoom box entry: "150 %" -> 1.5 (the "%" and spaces removed, divided by 100). Empty when
// the text is no positive number.
std::optional<Extended> ParseZoomText(const QString& text);
// The text the zoom box shows for a zoom: "100%".
QString ZoomText(Extended zoom);

} // namespace preview
