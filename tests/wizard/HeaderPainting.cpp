#include <QFontMetrics>
#include <QPainter>
#include <gtest/gtest.h>

#include "WizardFixture.h"

using namespace wizardtest;

namespace {

QImage Solid(int w, int h, Qt::GlobalColor color) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

const QRgb kRed = qRgb(255, 0, 0);

// One interior page with the calculator's header settings, on a 664 × 568 wizard with a
// 220-pixel route map, so the page is 444 × 526.
struct HeaderPage {
    WizardWindow W{1, true};
    TImageList Icons{32, 32};
    TKWizardInteriorPage* Page = W.Pages[0];
    TKWizardPageHeader* Header = Page->Header();

    HeaderPage() {
        Icons.Add(Solid(32, 32, Qt::red));
        W.Wizard->SetHeaderImages(&Icons);
        W.Window->setFont(PixelFont("Tahoma", 11));
        Header->SetImageIndex(0);
        Header->SetImageOffset(10);
        Header->SetImageAlignment(iaLeft);
        for (TKWizardPageTitle* t : {Header->Title(), Header->Subtitle()})
            t->SetAlignment(taRightJustify);
        Header->Title()->SetFontPixelSize(13);
        Header->Title()->SetText(QStringLiteral("Тип транспортного средства"));
        Header->Subtitle()->SetFontPixelSize(11);
        Header->Subtitle()->SetText(QStringLiteral("Укажите тип и категорию транспортного средства"));
        W.Start();
    }
    QImage Grab() { return wizardtest::Grab(Page); }
    int TitleLineHeight() const { return QFontMetrics(Header->Title()->Font()).height(); }
};

} // namespace

TEST(HeaderPainting, IconAndDividerSitWhereTheHeaderRulesPutThem) {
    HeaderPage h;
    ASSERT_EQ(h.Page->size(), QSize(444, 526));
    EXPECT_EQ(h.Header->Title()->Font().family(), QStringLiteral("Tahoma"));
    QImage img = h.Grab();
    EXPECT_EQ(InkBox(img, QRect(0, 0, 444, 43), Rgb(clWhite)).isValid(), true);
    QImage red = img.copy(0, 0, 444, 45);
    EXPECT_EQ(CountPixels(red, red.rect(), kRed), 32 * 32);
    EXPECT_EQ(img.pixel(10, 6), kRed | 0xFF000000u);
    EXPECT_EQ(img.pixel(41, 37), kRed | 0xFF000000u);
    for (QPoint p : {QPoint(9, 20), QPoint(42, 20), QPoint(20, 5), QPoint(20, 38)})
        EXPECT_NE(img.pixel(p), kRed | 0xFF000000u) << p.x() << "," << p.y();

    // Divider: shadow on row 43 from x = 0, highlight on row 44 from x = 1 (seen on a grey header).
    h.Header->SetColor(clBtnFace);
    img = h.Grab();
    EXPECT_EQ(img.pixel(0, 43), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(442, 43), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(443, 43), Rgb(clBtnFace));
    EXPECT_EQ(img.pixel(0, 44), Rgb(clBtnFace));
    EXPECT_EQ(img.pixel(1, 44), Rgb(clBtnHighlight));
    EXPECT_EQ(img.pixel(443, 44), Rgb(clBtnHighlight));
    EXPECT_EQ(img.pixel(200, 42), Rgb(clBtnFace));
    EXPECT_EQ(img.pixel(200, 45), Rgb(clWindow)); // page colour below the header
}

TEST(HeaderPainting, TitleAlignmentPlacesTextInItsRectangle) {
    // Right-justify centres the text, centre puts it against the right limit.
    const struct {
        TAlignment alignment;
        const char* expect;
    } cases[] = {{taLeftJustify, "left"}, {taRightJustify, "centre"}, {taCenter, "right"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expect);
        HeaderPage h;
        h.Header->Subtitle()->SetVisible(false);
        h.Header->Title()->SetAlignment(c.alignment);
        const int ch = h.TitleLineHeight();
        const QImage img = h.Grab();
        const QRect ink = InkBox(img, QRect(42, 0, 402, 43), Rgb(clWhite));
        ASSERT_TRUE(ink.isValid());
        EXPECT_GE(ink.top(), 4);
        EXPECT_LT(ink.bottom(), 4 + ch);
        EXPECT_GE(ink.left(), 46);
        EXPECT_LT(ink.right(), 440);
        const std::string e = c.expect;
        if (e == "left") {
            EXPECT_LE(ink.left(), 48);
        } else if (e == "centre") {
            EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, (46 + 440) / 2.0, 2.0);
        } else {
            EXPECT_GE(ink.right(), 437);
        }
    }
}

TEST(HeaderPainting, SubtitleFollowsTheTitleOrTheHeaderTop) {
    HeaderPage h;
    const int ch = h.TitleLineHeight();
    h.Header->Title()->SetText(QString());
    const QRect below = InkBox(h.Grab(), QRect(42, 0, 402, 43), Rgb(clWhite));
    h.Header->Title()->SetVisible(false);
    const QRect top = InkBox(h.Grab(), QRect(42, 0, 402, 43), Rgb(clWhite));
    ASSERT_TRUE(below.isValid() && top.isValid());
    EXPECT_EQ(below.top() - top.top(), 4 + ch);
    EXPECT_GE(top.top(), 4);
}

TEST(HeaderPainting, IconPlacementVariants) {
    const struct {
        TKImageLeftRight alignment;
        int offset;
        int index;
        int iconLeft; // -1: no icon
        int textLeftMin, textRightMax;
    } cases[] = {
        {iaLeft, 10, 0, 10, 46, 440},
        {iaRight, 0, 0, 408, 4, 404},
        {iaLeft, 10, 1, -1, 4, 440}, // index equal to the count: no icon, full width
        {iaLeft, 10, -1, -1, 4, 440},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.iconLeft);
        HeaderPage h;
        h.Header->SetImageAlignment(c.alignment);
        h.Header->SetImageOffset(c.offset);
        h.Header->SetImageIndex(c.index);
        h.Header->Title()->SetAlignment(taLeftJustify);
        h.Header->Subtitle()->SetAlignment(taCenter);
        const QImage img = h.Grab();
        const int reds = CountPixels(img, QRect(0, 0, 444, 45), kRed);
        if (c.iconLeft < 0) {
            EXPECT_EQ(reds, 0);
        } else {
            EXPECT_EQ(reds, 32 * 32);
            EXPECT_EQ(img.pixel(c.iconLeft, 6), kRed | 0xFF000000u);
            EXPECT_NE(img.pixel(c.iconLeft - 1, 6), kRed | 0xFF000000u);
        }
        QImage text = img.copy(0, 0, 444, 43);
        QPainter p(&text); // blank out the icon to see the text alone
        if (c.iconLeft >= 0)
            p.fillRect(c.iconLeft, 6, 32, 32, Qt::white);
        p.end();
        const QRect ink = InkBox(text, text.rect(), Rgb(clWhite));
        ASSERT_TRUE(ink.isValid());
        EXPECT_GE(ink.left(), c.textLeftMin);
        EXPECT_LE(ink.left(), c.textLeftMin + 2);
        EXPECT_LT(ink.right(), c.textRightMax);
        EXPECT_GE(ink.right(), c.textRightMax - 3);
    }
}

TEST(HeaderPainting, OnPaintPageGetsTheAreaBelowTheHeaderAndReplacesTheRest) {
    HeaderPage h;
    h.Page->Panel()->SetVisible(true);
    h.Page->Panel()->SetColor(clLime);
    std::vector<TRect> seen;
    h.Page->OnPaintPage = [&](TKWizardCustomPage* sender, QPainter&, TRect& r) {
        EXPECT_EQ(sender, h.Page);
        seen.push_back(r);
    };
    QImage img = h.Grab();
    EXPECT_EQ(CountPixels(img, img.rect(), Rgb(clLime)), 0);
    h.Header->SetVisible(false);
    img = h.Grab();
    EXPECT_EQ(CountPixels(img, img.rect(), kRed), 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (TRect{0, 45, 444, 526}));
    EXPECT_EQ(seen[1], (TRect{0, 0, 444, 526}));
    EXPECT_EQ(h.Page->ContentRect(), QRect(0, 0, 444, 526));
}

TEST(HeaderPainting, PanelIsAnEtchedFrameWithAFilledInside) {
    HeaderPage h;
    h.Page->SetColor(clBtnFace);
    h.Page->Panel()->SetVisible(true);
    h.Page->Panel()->SetColor(clLime);
    const QImage img = h.Grab();
    const struct {
        int x, y;
        TColor color;
    } pixels[] = {
        {6, 60, clBtnFace},         {7, 52, clBtnShadow},    {7, 60, clBtnShadow},
        {8, 53, clBtnHighlight},    {8, 60, clBtnHighlight}, {9, 54, clLime},
        {434, 516, clLime},         {435, 60, clBtnShadow},  {436, 60, clBtnHighlight},
        {437, 60, clBtnFace},       {20, 517, clBtnShadow},  {20, 518, clBtnHighlight},
        {20, 519, clBtnFace},       {20, 52, clBtnShadow},   {20, 53, clBtnHighlight},
        {436, 518, clBtnHighlight},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(img.pixel(p.x, p.y), Rgb(p.color)) << p.x << "," << p.y;
    EXPECT_EQ(CountPixels(img, img.rect(), Rgb(clLime)), (435 - 9) * (517 - 54));
}

TEST(HeaderPainting, GraphicAlignedPlacement) {
    const struct {
        TKImageAlignment alignment;
        TKImageLayout layout;
        QSize graphic;
        QRect expected; // in the 300 × 200 target placed at (10, 20)
    } cases[] = {
        {iaCenter, ilCenter, {100, 50}, {110, 95, 100, 50}},
        {iaRight, ilBottom, {100, 50}, {210, 170, 100, 50}},
        {iaLeft, ilTop, {100, 50}, {10, 20, 100, 50}},
        {iaLeft, ilStretch, {100, 50}, {10, 20, 300, 200}},
        {iaCenter, ilStretch, {100, 50}, {110, 20, 100, 200}},
        {iaStretch, ilCenter, {100, 50}, {10, 95, 300, 50}},
        {iaCenter, ilCenter, {400, 300}, {10, 20, 300, 200}}, // too big: natural size, clipped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.alignment << "/" << c.layout);
        QImage canvas(320, 240, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        p.setClipRect(10, 20, 300, 200);
        DrawGraphicAligned(p, Solid(c.graphic.width(), c.graphic.height(), Qt::red), {10, 20, 310, 220},
                           c.alignment, c.layout);
        p.end();
        EXPECT_EQ(InkBox(canvas, canvas.rect(), qRgb(255, 255, 255)), c.expected);
    }
    QImage canvas(10, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    DrawGraphicAligned(p, QImage(), {0, 0, 10, 10}, iaStretch, ilStretch); // no graphic: nothing
    p.end();
    EXPECT_FALSE(InkBox(canvas, canvas.rect(), qRgb(255, 255, 255)).isValid());
}

TEST(HeaderPainting, TitlesFollowThePageFontFaceOnly) {
    HeaderPage h;
    TKWizardPageTitle* title = h.Header->Title();
    title->SetFont(PixelFont("Arial", 20));
    EXPECT_EQ(title->Font().family(), QStringLiteral("Tahoma")); // ignored while ParentFont
    EXPECT_EQ(title->Font().pixelSize(), 13);
    h.Page->setFont(PixelFont("MS Sans Serif", 30));
    EXPECT_EQ(title->Font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(title->Font().pixelSize(), 13);
    EXPECT_TRUE(title->Font().bold());
    h.Header->SetParentFont(false);
    title->SetFont(PixelFont("Arial", 20));
    EXPECT_EQ(title->Font().family(), QStringLiteral("Arial"));
    h.Page->setFont(PixelFont("Tahoma", 11));
    EXPECT_EQ(title->Font().family(), QStringLiteral("Arial"));
}

TEST(HeaderPainting, HeaderImageListChangesAndDestructionRepaint) {
    HeaderPage h;
    {
        TImageList other(32, 32);
        other.Add(Solid(32, 32, Qt::blue));
        h.W.Wizard->SetHeaderImages(&other);
        EXPECT_GT(CountPixels(h.Grab(), QRect(0, 0, 444, 45), qRgb(0, 0, 255)), 0);
    }
    EXPECT_EQ(h.W.Wizard->HeaderImages(), nullptr);
    EXPECT_EQ(CountPixels(h.Grab(), QRect(0, 0, 444, 45), qRgb(0, 0, 255)), 0);
}
