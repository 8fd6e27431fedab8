// Drawing views on an image: frames, shadows, fill, text placement and clipping, pictures.
#include "report/Colors.h"
#include "report/DrawText.h"
#include "report/ViewPainter.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace report;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

QImage Draw(const TrpView& view, Extended scale = 1, QSize size = QSize(200, 120)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TrpDrawText text;
    TrpDrawParams p;
    p.ScaleX = p.ScaleY = scale;
    DrawView(painter, text, view, p);
    return image;
}

bool Dark(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 128;
}

// Bounding box of non-white pixels.
QRect Ink(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != kWhite)
                box |= QRect(x, y, 1, 1);
    return box;
}

std::unique_ptr<TrpMemoView> Framed(TrpFrameStyle style = fsSolid, Extended width = 1) {
    auto m = std::make_unique<TrpMemoView>();
    m->SetBounds(10, 10, 50, 20);
    m->FrameRef().Typ = ftAll;
    m->FrameRef().Style = style;
    m->FrameRef().Width = width;
    return m;
}

TEST(ViewDrawing, SolidFrameSetsTheCornerPixels) {
    const QImage img = Draw(*Framed());
    for (int y = 10; y < 30; ++y) {
        EXPECT_TRUE(Dark(img, 10, y)) << y;
        EXPECT_TRUE(Dark(img, 60, y)) << y;
        if (y > 10) {
            EXPECT_FALSE(Dark(img, 11, y)) << y;
        }
    }
    for (int x = 10; x <= 60; ++x) {
        EXPECT_TRUE(Dark(img, x, 10)) << x;
        EXPECT_TRUE(Dark(img, x, 30)) << x;
    }
    EXPECT_FALSE(Dark(img, 61, 30));
    EXPECT_FALSE(Dark(img, 9, 20));
    EXPECT_EQ(Ink(img), QRect(QPoint(10, 10), QPoint(60, 30)));
}

TEST(ViewDrawing, FrameStyles) {
    // A zero-width frame draws nothing even with sides set.
    EXPECT_TRUE(Ink(Draw(*Framed(fsSolid, 0))).isNull());
    // Dashes leave gaps along the line.
    const QImage dash = Draw(*Framed(fsDash));
    int dark = 0;
    for (int x = 10; x < 60; ++x)
        dark += Dark(dash, x, 10);
    EXPECT_GT(dark, 20);
    EXPECT_LT(dark, 50);
    // A double frame: strokes one width outside and inside the edge, nothing on it.
    const QImage dbl = Draw(*Framed(fsDouble, 1));
    EXPECT_TRUE(Dark(dbl, 30, 9));
    EXPECT_TRUE(Dark(dbl, 30, 11));
    EXPECT_FALSE(Dark(dbl, 30, 10));
    // A 3-pixel solid line is centred on the edge.
    const QImage wide = Draw(*Framed(fsSolid, 3));
    EXPECT_TRUE(Dark(wide, 9, 20) && Dark(wide, 10, 20) && Dark(wide, 11, 20));
    EXPECT_FALSE(Dark(wide, 12, 20));
}

TEST(ViewDrawing, ShadowFillAndScale) {
    auto m = Framed();
    m->FrameRef().DropShadow = true;
    m->SetColor(clYellow);
    const QImage img = Draw(*m);
    // The object shrinks by the shadow; the shadow runs along right and bottom.
    EXPECT_TRUE(Dark(img, 56, 20));
    EXPECT_EQ(img.pixel(58, 20), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(30, 28), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(30, 20), qRgb(255, 255, 0));
    EXPECT_EQ(img.pixel(58, 11), kWhite); // the shadow starts below the top
    const QImage twice = Draw(*Framed(), 2, QSize(200, 120));
    // Two-pixel lines: one pixel each side of the edge's left/top.
    EXPECT_EQ(Ink(twice), QRect(QPoint(19, 19), QPoint(120, 60)));
}

std::unique_ptr<TrpMemoView> TextMemo(const QString& text, TrpHAlign h, TrpVAlign v) {
    auto m = std::make_unique<TrpMemoView>();
    m->SetBounds(10, 10, 180, 40);
    m->SetText(text);
    m->SetHAlign(h);
    m->SetVAlign(v);
    TrpFont f;
    f.Size = 12;
    m->SetFont(f);
    return m;
}

TEST(ViewDrawing, AlignmentsPlaceTheText) {
    const QRect left = Ink(Draw(*TextMemo("Тест", haLeft, vaTop)));
    const QRect right = Ink(Draw(*TextMemo("Тест", haRight, vaBottom)));
    const QRect centre = Ink(Draw(*TextMemo("Тест", haCenter, vaCenter)));
    EXPECT_NEAR(left.left(), 12, 2); // GapX 2
    EXPECT_NEAR(left.top(), 14, 4);  // GapY 1 plus the ascent's free space
    EXPECT_NEAR(right.right(), 187, 2);
    EXPECT_GT(right.top(), centre.top());
    EXPECT_NEAR((centre.left() + centre.right()) / 2.0, 100, 2);
    EXPECT_NEAR((centre.top() + centre.bottom()) / 2.0, 31, 3);
}

TEST(ViewDrawing, BlockAlignmentJustifiesAllButTheLastLine) {
    auto m = TextMemo("раз два три четыре пять шесть семь восемь девять десять\r\nа", haBlock, vaTop);
    m->SetHeight(100);
    const QImage img = Draw(*m, 1, QSize(200, 120));
    // First line reaches the right edge; the last one stops short of it.
    auto inkRight = [&](int y0, int y1) {
        int r = -1;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != kWhite)
                    r = std::max(r, x);
        return r;
    };
    const QRect ink = Ink(img);
    EXPECT_GE(inkRight(ink.top(), ink.top() + 12), 184);
    EXPECT_LT(inkRight(ink.bottom() - 8, ink.bottom() + 1), 40);
}

TEST(ViewDrawing, ClippedTextStaysInsideTheObject) {
    auto m = TextMemo("Очень длинная строка, которая не помещается", haLeft, vaTop);
    m->SetWordWrap(false);
    m->SetWidth(60);
    const QRect ink = Ink(Draw(*m));
    EXPECT_LE(ink.right(), 70);
    m->SetClipped(false);
    EXPECT_GT(Ink(Draw(*m)).right(), 100);
}

TEST(ViewDrawing, WrappingIsTheSameAtEveryZoom) {
    auto m = TextMemo("Коэффициент периода использования транспортного средства:", haLeft, vaTop);
    m->SetWidth(150);
    m->SetHeight(80);
    QList<QStringList> seen;
    for (Extended zoom : {0.5L, 1.0L, 1.5L, 2.0L, 6.25L}) {
        QImage image(int(200 * zoom), int(100 * zoom), QImage::Format_RGB32);
        QPainter painter(&image);
        TrpDrawText text;
        TrpDrawParams p;
        p.ScaleX = p.ScaleY = zoom;
        DrawView(painter, text, *m, p);
        QStringList lines;
        for (const TrpTextLine& l : text.Lines())
            lines << l.Text;
        seen << lines;
    }
    ASSERT_GT(seen[0].size(), 1);
    for (const QStringList& l : seen)
        EXPECT_EQ(l, seen[0]);
}

TEST(ViewDrawing, ColoursOfTagsAndFont) {
    auto m = TextMemo("<font color=red>█</font><font color=\"#0000FF\">█</font>", haLeft, vaTop);
    m->SetAllowHTMLTags(true);
    const QImage img = Draw(*m);
    int red = 0, blue = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            red += p == qRgb(255, 0, 0);
            blue += p == qRgb(0, 0, 255);
        }
    EXPECT_GT(red, 20);
    EXPECT_GT(blue, 20);
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(0xFF00000F), QColor(212, 208, 200)); // btnface
}

TEST(ViewDrawing, RotatedTextRunsUpwards) {
    auto m = TextMemo("Поворот", haCenter, vaCenter);
    m->SetBounds(10, 10, 40, 100);
    m->SetRotation(90);
    const QRect ink = Ink(Draw(*m));
    EXPECT_GT(ink.height(), ink.width() * 2);
    EXPECT_EQ(m->Rotation(), 90);
    m->SetRotation(-270);
    EXPECT_EQ(m->Rotation(), 90);
}

TEST(ViewDrawing, UnderlinesRuleEveryLine) {
    auto m = TextMemo("а", haLeft, vaTop);
    m->SetUnderlines(true);
    m->SetHeight(60);
    const QImage img = Draw(*m);
    int rules = 0;
    for (int y = 10; y < 70; ++y)
        rules += Dark(img, 150, y);
    EXPECT_GE(rules, 2);
}

TEST(ViewDrawing, PictureCentredAtNaturalSize) {
    QImage logo(85, 57, QImage::Format_RGB32);
    logo.fill(qRgb(0, 128, 0));
    TrpPictureView pic;
    pic.SetBounds(15, 7, 96, 62);
    pic.SetCenter(true);
    pic.SetStretched(false);
    pic.SetPicture(logo);
    QImage img = Draw(pic, 1, QSize(200, 120));
    EXPECT_EQ(Ink(img), QRect(20, 9, 85, 57));
    img = Draw(pic, 2, QSize(300, 200));
    EXPECT_EQ(Ink(img), QRect(30 + 11, 14 + 5, 170, 114));

    pic.SetStretched(true);
    img = Draw(pic, 1, QSize(200, 120));
    const QRect stretched = Ink(img);
    EXPECT_EQ(stretched.height(), 62);
    EXPECT_NEAR(stretched.width(), 92, 1); // keeps the aspect ratio
}

} // namespace

namespace {

// Ink centre of every glyph along a line of text: columns weighted by darkness, glyphs
// parted by columns without ink.
std::vector<double> GlyphCentres(const QImage& img) {
    std::vector<double> weight(size_t(img.width()), 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            weight[size_t(x)] += 255 - qGray(img.pixel(x, y));
    std::vector<double> centres;
    double sum = 0, moment = 0;
    for (int x = 0; x <= img.width(); ++x) {
        const double w = x < img.width() ? weight[size_t(x)] : 0;
        if (w > 0) {
            sum += w;
            moment += w * x;
        } else if (sum > 0) {
            centres.push_back(moment / sum);
            sum = moment = 0;
        }
    }
    return centres;
}

} // namespace

TEST(ViewDrawing, LettersAreEvenlySpacedAtEveryZoom) {
    // Equal letters must stand at equal distances at other zooms than 100 % (which keeps its
    // hinted whole-pixel text): whole-pixel advances with the layout's remainder spread over
    // them open gaps inside words ("ис пользования").
    auto m = TextMemo(QStringList(16, QStringLiteral("н")).join(' '), haLeft, vaTop);
    TrpFont f;
    f.Size = 20;
    m->SetFont(f);
    m->SetBounds(0, 0, 420, 40);
    std::vector<double> pitches; // in units
    for (Extended zoom : {0.5L, 0.79L, 0.83L, 1.25L, 1.5L, 2.0L}) {
        SCOPED_TRACE(double(zoom));
        const QImage img = Draw(*m, zoom, QSize(int(430 * zoom), int(40 * zoom)));
        const std::vector<double> c = GlyphCentres(img);
        ASSERT_EQ(c.size(), 16u);
        const double pitch = (c.back() - c.front()) / 15;
        double worst = 0;
        for (size_t i = 1; i < c.size(); ++i)
            worst = std::max(worst, std::abs(c[i] - c[i - 1] - pitch));
        EXPECT_LT(worst, 0.35) << "pitch " << pitch;
        pitches.push_back(pitch / double(zoom));
    }
    // One layout, scaled: the same pitch in units at every zoom.
    for (double p : pitches)
        EXPECT_NEAR(p, pitches.front(), 0.05);
}
