#include "preview/PreviewLayout.h"

#include <algorithm>
#include <cmath>

namespace preview {

using namespace report;

namespace {
constexpr Extended Gap = 10; // units between rows and pages, and above the first row
}

int TrpPageLayout::PageAt(int y) const {
    int found = 0;
    for (int i = 0; i < int(Pages.size()); ++i)
        if (Pages[size_t(i)].top() <= y)
            found = i;
    return found;
}

TrpPageLayout LayoutPages(const std::vector<QSize>& pageSizes, Extended zoom, int windowWidth,
                          bool twoPages) {
    TrpPageLayout layout;
    std::vector<QSize> sizes = pageSizes;
    if (sizes.empty())
        sizes.push_back(EmptyPageSize);
    const int perRow = twoPages ? 2 : 1;
    const int gap = Round(Gap * zoom);
    int y = gap;
    int maxRight = 0;
    for (size_t first = 0; first < sizes.size(); first += size_t(perRow)) {
        const size_t last = std::min(sizes.size(), first + size_t(perRow));
        int rowWidth = 0, rowHeight = 0;
        for (size_t i = first; i < last; ++i) {
            rowWidth += Round(sizes[i].width() * zoom) + (i > first ? gap : 0);
            rowHeight = std::max(rowHeight, Round(sizes[i].height() * zoom));
        }
        int x = rowWidth < windowWidth ? (windowWidth - rowWidth) / 2 : 10;
        for (size_t i = first; i < last; ++i) {
            const QRect r(x, y, Round(sizes[i].width() * zoom), Round(sizes[i].height() * zoom));
            layout.Pages.push_back(r);
            x += r.width() + gap;
            maxRight = std::max(maxRight, r.right() + 1);
        }
        y += rowHeight + gap;
    }
    layout.Extent = QSize(maxRight + 10, y);
    return layout;
}

Extended ClampZoom(Extended zoom) {
    return std::isfinite(double(zoom)) ? std::clamp(zoom, MinZoom, MaxZoom) : MinZoom;
}

Extended WholePageZoom(int clientHeight, int pageHeight) {
    return pageHeight > 0 ? ClampZoom(Extended(clientHeight - 20) / pageHeight) : 1.0L;
}

Extended PageWidthZoom(int workspaceWidth, int pageWidth) {
    return pageWidth > 0 ? ClampZoom(Extended(workspaceWidth - 52) / pageWidth) : 1.0L;
}

Extended TwoPagesZoom(int clientWidth, int pageWidth) {
    return pageWidth > 0 ? ClampZoom(Extended(clientWidth - 32) / (2 * Extended(pageWidth))) : 1.0L;
}

std::optional<Extended> ParseZoomText(const QString& text) {
    QString s = text;
    s.remove(QLatin1Char('%'));
    s.remove(QLatin1Char(' '));
    s.remove(QChar(0x00A0));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v <= 0)
        return std::nullopt;
    return Extended(v) / 100;
}

QString ZoomText(Extended zoom) {
    return QString::number(Round(zoom * 100)) + QLatin1Char('%');
}

} // namespace preview
