// The drawn sheet: table frames, the centred header, red premium, empty cells, logo.
#include "sheet/SheetTemplate.h"
#include "support/SheetCase.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace report;

namespace {

bool Dark(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 110;
}

bool Red(QRgb p) {
    return qRed(p) > 180 && qGreen(p) < 100 && qBlue(p) < 100;
}

QRect Ink(const QImage& img, const QRect& area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(img.pixel(x, y)) < 200)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Device position of a report coordinate inside the printable area at 100 %.
int Dev(double units) {
    return int(std::lround(10.00125 * 3.77953 + units));
}

class SheetRendering : public ::testing::Test {
protected:
    void SetUp() override {
        report = sheet::CreateSheetReport();
        const sheet::PrepareResult result = sheet::PrepareSheet(*report, testsupport::SheetCase(true));
        ASSERT_TRUE(result.Ok) << result.Message.toStdString();
        image = sheet::RenderSheetPage(*report, 0, 1.0);
    }
    std::unique_ptr<TrpReport> report;
    QImage image;
};

TEST_F(SheetRendering, A4At96Dpi) {
    EXPECT_EQ(image.size(), QSize(794, 1123));
    EXPECT_EQ(sheet::RenderSheetPage(*report, 0, 2.0).size(), QSize(1588, 2246));
    EXPECT_TRUE(sheet::RenderSheetPage(*report, 1, 1.0).isNull());
    // For looking at: the sheet as the command line would write it.
    image.save(QDir(TARIFON_BUILD_DIR).filePath("sheet-100.png"));
    sheet::RenderSheetPage(*report, 0, 2.0).save(QDir(TARIFON_BUILD_DIR).filePath("sheet-200.png"));
}

TEST_F(SheetRendering, ValueTableIsFramed) {
    const int left = Dev(14), right = Dev(599 + 102.48825), bottom = Dev(383.33333333 + 30.89765);
    for (const sheet::SheetRow& row : sheet::SheetRows()) {
        const int top = Dev(double(row.Top));
        for (int x = left; x <= right; ++x)
            ASSERT_TRUE(Dark(image, x, top)) << row.Code << " x " << x;
        for (int x : {left, Dev(544.33333334), Dev(599), right})
            for (int y = top; y < top + 30; ++y)
                ASSERT_TRUE(Dark(image, x, y)) << row.Code << " x " << x << " y " << y;
        // Nothing left of the table, nothing between the frame and the indented caption.
        EXPECT_FALSE(Dark(image, left - 2, top + 15));
        for (int x = left + 2; x < left + 19; ++x)
            EXPECT_FALSE(Dark(image, x, top + 15)) << x;
    }
    for (int x = left; x <= right; ++x)
        ASSERT_TRUE(Dark(image, x, bottom)) << x;
    EXPECT_FALSE(Dark(image, right + 2, bottom));
}

TEST_F(SheetRendering, HeaderIsCentredOnThePage) {
    const int y = Dev(-2 + 81);
    const int x0 = Dev(-2.449374412499992), x1 = Dev(-2.449374412499992 + 723);
    EXPECT_EQ(x0, 35);
    EXPECT_EQ(x1, 758);
    for (int x = x0; x <= x1; ++x)
        ASSERT_TRUE(Dark(image, x, y)) << x;
    EXPECT_FALSE(Dark(image, x0 - 2, y));
    EXPECT_FALSE(Dark(image, x1 + 2, y));
    // The first two header lines are centred on the page (the logo lies further left).
    const QRect ink = Ink(image, QRect(150, Dev(-1), 500, 28));
    ASSERT_FALSE(ink.isNull());
    EXPECT_NEAR((ink.left() + ink.right()) / 2.0, 794 / 2.0, 3);
    // The product line is bold: thicker strokes than the first line.
    auto darkCount = [&](int y0, int y1) {
        int n = 0;
        for (int yy = y0; yy < y1; ++yy)
            for (int x = 150; x < 650; ++x)
                n += Dark(image, x, yy);
        return n;
    };
    EXPECT_GT(darkCount(Dev(13), Dev(26)), darkCount(Dev(-1), Dev(12)) / 2);
}

TEST_F(SheetRendering, PremiumIsRedAndCentred) {
    const QRect box(Dev(117), Dev(492), 476, 28);
    int red = 0, black = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            red += Red(p);
            black += qGray(p) < 60 && qRed(p) < 100;
        }
    EXPECT_GT(red, 150);
    EXPECT_EQ(black, 0);
    const QRect ink = Ink(image, box);
    EXPECT_NEAR((ink.left() + ink.right()) / 2.0, box.left() + box.width() / 2.0, 3);
    // The formula above is black.
    const QRect formula = Ink(image, QRect(Dev(117), Dev(462), 476, 28));
    EXPECT_FALSE(formula.isNull());
    EXPECT_FALSE(Red(image.pixel(formula.center())));
}

TEST_F(SheetRendering, EmptiedCellsShowNothingButTheirFrame) {
    for (const sheet::SheetRow& row : sheet::SheetRows()) {
        const QRect inside(Dev(599) + 2, Dev(double(row.Top)) + 2, 98, 26);
        const bool used = testsupport::SheetCase(true).Formula.contains(QString::fromUtf8(row.Code));
        EXPECT_EQ(Ink(image, inside).isNull(), !used) << row.Code;
    }
}

TEST_F(SheetRendering, LogoSitsCentredInItsBox) {
    // 85 x 57 pixels in a 96 x 62 box: 5 right and 2 down of the box corner, uncut.
    const QRect box(Dev(15), Dev(7), 96, 62);
    const QRect ink = Ink(image, box);
    EXPECT_GE(ink.left(), box.left() + 5);
    EXPECT_GE(ink.top(), box.top() + 2);
    EXPECT_LE(ink.right(), box.left() + 5 + 84);
    EXPECT_LE(ink.bottom(), box.top() + 2 + 56);
    EXPECT_EQ(image.pixel(box.left() + 5 + 42, box.top() + 2 + 25), sheet::SheetLogo().pixel(42, 25));
}

TEST_F(SheetRendering, LinksAreBlueAndUnderlined) {
    const QRect web(Dev(234.26381), Dev(52.22047), 125, 17);
    int blue = 0;
    for (int y = web.top(); y <= web.bottom(); ++y)
        for (int x = web.left(); x <= web.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            blue += qBlue(p) > 180 && qRed(p) < 100 && qGreen(p) < 100;
        }
    EXPECT_GT(blue, 80);
    // The underline: one row of the box with a long run of blue.
    int longest = 0;
    for (int y = web.top(); y <= web.bottom(); ++y) {
        int run = 0;
        for (int x = web.left(); x <= web.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            run = (qBlue(p) > 150 && qRed(p) < 150) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    EXPECT_GT(longest, 60);
}

// Lengths of the dark runs along a column (vertical) or a row of pixels.
std::vector<int> DarkRuns(const QImage& img, QPoint from, QPoint to) {
    std::vector<int> runs;
    const QPoint step = from.x() == to.x() ? QPoint(0, 1) : QPoint(1, 0);
    int run = 0;
    for (QPoint p = from; p != to + step; p += step) {
        if (Dark(img, p.x(), p.y())) {
            ++run;
        } else if (run) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run)
        runs.push_back(run);
    return runs;
}

TEST_F(SheetRendering, RulesAreEquallyThickAtEveryZoom) {
    // Cell edges a fraction of a unit apart meet at 100 %; they must meet at any zoom, or a
    // rule comes out one pixel thicker than its neighbours.
    for (double zoom : {0.5, 0.75, 0.79, 0.83, 1.0, 1.25, 1.5, 2.0}) {
        SCOPED_TRACE(zoom);
        const QImage page = sheet::RenderSheetPage(*report, 0, zoom);
        auto at = [&](double units) { return int(std::lround(units * zoom)); };
        const double margin = 10.00125 * 3.77953;
        const int thick = std::max(1, int(std::lround(zoom)));
        // Down the indent of the labels: the header's rule, the table's ten rules.
        const std::vector<int> across =
            DarkRuns(page, QPoint(at(margin + 24), 0), QPoint(at(margin + 24), at(margin + 428)));
        EXPECT_EQ(across, std::vector<int>(11, thick));
        // Down the premium box's left margin, below the table: its top and bottom rules.
        EXPECT_EQ(DarkRuns(page, QPoint(at(margin + 114), at(margin + 420)),
                           QPoint(at(margin + 114), at(margin + 540))),
                  std::vector<int>(2, thick));
        // Across every row just below its top: the table's four vertical rules.
        for (const sheet::SheetRow& row : sheet::SheetRows()) {
            const int y = at(margin + double(row.Top) + 4);
            EXPECT_EQ(DarkRuns(page, QPoint(0, y), QPoint(page.width() - 1, y)), std::vector<int>(4, thick))
                << row.Code;
        }
    }
}

} // namespace
