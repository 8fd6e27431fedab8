// Zoom arithmetic, page placement and the zoom box's parsing.
#include "preview/PreviewLayout.h"

#include <gtest/gtest.h>

using namespace preview;
using namespace report;

namespace {

TEST(PreviewZoom, ModesComputeTheirZoomFromTheWorkspace) {
    struct Case {
        const char* mode;
        Extended zoom;
        Extended expected;
    } cases[] = {
        {"whole page", WholePageZoom(1000, 1123), Extended(980) / 1123},
        {"page width", PageWidthZoom(1280, 794), Extended(1228) / 794},
        {"two pages", TwoPagesZoom(1280, 794), Extended(1248) / 1588},
        {"whole page, tiny window", WholePageZoom(100, 1123), 0.25L},
        {"page width, tiny window", PageWidthZoom(60, 794), 0.25L},
        {"two pages, no page", TwoPagesZoom(1280, 0), 1.0L},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(double(c.zoom), double(c.expected), 1e-12) << c.mode;
}

TEST(PreviewZoom, ClampKeepsZoomInRange) {
    EXPECT_EQ(ClampZoom(0.1L), MinZoom);
    EXPECT_EQ(ClampZoom(1.5L), 1.5L);
    EXPECT_EQ(ClampZoom(1e9L), MaxZoom);
    EXPECT_EQ(ClampZoom(Extended(NAN)), MinZoom);
}

TEST(PreviewZoom, ZoomBoxEntriesParse) {
    struct Case {
        const char* text;
        std::optional<Extended> zoom;
    } cases[] = {
        {"150 %", 1.5L},        {"75%", 0.75L},        {" 200 ", 2.0L},    {"12,5%", 0.125L},
        {"100%", 1.0L},         {"abc", std::nullopt}, {"", std::nullopt}, {"0%", std::nullopt},
        {"-50%", std::nullopt}, {"%", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseZoomText(QString::fromUtf8(c.text));
        ASSERT_EQ(parsed.has_value(), c.zoom.has_value()) << c.text;
        if (parsed) {
            EXPECT_NEAR(double(*parsed), double(*c.zoom), 1e-12) << c.text;
        }
    }
    EXPECT_EQ(ZoomText(1.5L), QStringLiteral("150%"));
    EXPECT_EQ(ZoomText(0.25L), QStringLiteral("25%"));
}

TEST(PreviewLayout, OnePagePerRowCentredWhenNarrower) {
    const std::vector<QSize> a4(2, QSize(794, 1123));
    const TrpPageLayout layout = LayoutPages(a4, 1.0L, 1000, false);
    ASSERT_EQ(layout.Pages.size(), 2u);
    EXPECT_EQ(layout.Pages[0], QRect(103, 10, 794, 1123));
    EXPECT_EQ(layout.Pages[1], QRect(103, 10 + 1123 + 10, 794, 1123));
    EXPECT_EQ(layout.Extent.height(), 10 + 1123 + 10 + 1123 + 10);
    EXPECT_EQ(layout.PageAt(0), 0);
    EXPECT_EQ(layout.PageAt(1143), 1);
}

TEST(PreviewLayout, WideRowStartsAtTheLeftAndEverythingScales) {
    const TrpPageLayout layout = LayoutPages({QSize(794, 1123)}, 2.0L, 1000, false);
    ASSERT_EQ(layout.Pages.size(), 1u);
    EXPECT_EQ(layout.Pages[0], QRect(10, 20, 1588, 2246));
    EXPECT_EQ(layout.Extent, QSize(10 + 1588 + 10, 20 + 2246 + 20));
}

TEST(PreviewLayout, TwoPagesSideBySideRowAsTallAsItsTallestPage) {
    const std::vector<QSize> pages = {QSize(794, 1123), QSize(1123, 794), QSize(794, 1123)};
    const TrpPageLayout layout = LayoutPages(pages, 0.5L, 2000, true);
    ASSERT_EQ(layout.Pages.size(), 3u);
    const int rowWidth = 397 + 5 + 562;
    EXPECT_EQ(layout.Pages[0].topLeft(), QPoint((2000 - rowWidth) / 2, 5));
    EXPECT_EQ(layout.Pages[1].topLeft(), QPoint((2000 - rowWidth) / 2 + 397 + 5, 5));
    EXPECT_EQ(layout.Pages[2].top(), 5 + 562 + 5);
}

TEST(PreviewLayout, NoPagesLayOutAnA4Placeholder) {
    const TrpPageLayout layout = LayoutPages({}, 1.0L, 2000, false);
    ASSERT_EQ(layout.Pages.size(), 1u);
    EXPECT_EQ(layout.Pages[0].size(), EmptyPageSize);
}

} // namespace
