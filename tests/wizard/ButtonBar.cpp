#include <gtest/gtest.h>

#include "WizardFixture.h"

using namespace wizardtest;

namespace {

// The calculator's button widths.
void CalculatorButtons(TKWizard* wizard) {
    wizard->ButtonStart()->SetCaption(QStringLiteral("В начало"));
    wizard->ButtonBack()->SetCaption(QStringLiteral("Назад"));
    wizard->ButtonBack()->SetWidth(90);
    wizard->ButtonNext()->SetCaption(QStringLiteral("Далее"));
    wizard->ButtonNext()->SetWidth(90);
    wizard->ButtonNext()->SetLayout(blGlyphRight);
    wizard->ButtonCancel()->SetCaption(QStringLiteral("Закрыть"));
    wizard->ButtonCancel()->SetWidth(90);
}

} // namespace

TEST(ButtonBar, ButtonsSitWhereTheBarRulesPutThem) {
    const struct {
        TKWizardButtonSet visible;
        std::vector<std::pair<TKWizardButtonKind, int>> lefts;
    } cases[] = {
        {{bkStart, bkBack, bkNext, bkCancel}, {{bkStart, 8}, {bkCancel, 566}, {bkNext, 466}, {bkBack, 375}}},
        {{bkBack, bkNext, bkCancel}, {{bkCancel, 566}, {bkNext, 466}, {bkBack, 375}}},
        // Next and Finish together: Finish 1 pixel left of Cancel, Next 10 pixels left of Finish.
        {{bkBack, bkNext, bkFinish, bkCancel},
         {{bkCancel, 566}, {bkFinish, 490}, {bkNext, 390}, {bkBack, 299}}},
        // Finish alone: 10 after Cancel, then 1.
        {{bkBack, bkFinish, bkCancel}, {{bkCancel, 566}, {bkFinish, 481}, {bkBack, 390}}},
        // Left group: Help, 10, Start, 1, Last.
        {{bkHelp, bkStart, bkLast, bkCancel}, {{bkHelp, 8}, {bkStart, 93}, {bkLast, 179}, {bkCancel, 566}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.visible.Bits()));
        WizardWindow w(2);
        CalculatorButtons(w.Wizard);
        w.Pages[1]->SetVisibleButtons(c.visible);
        w.Start();
        w.Click(bkNext);
        for (const auto& [kind, left] : c.lefts) {
            const QRect g = w.Wizard->ButtonControl(kind)->geometry();
            EXPECT_EQ(g.left(), left) << kind;
            EXPECT_EQ(g.top(), 568 - 32) << kind;
            EXPECT_EQ(g.height(), 25) << kind;
            EXPECT_TRUE(w.Wizard->ButtonControl(kind)->isVisible()) << kind;
        }
    }
}

TEST(ButtonBar, WidthChangeAndResizeRearrange) {
    WizardWindow w(1);
    w.Start();
    w.Wizard->ButtonCancel()->SetWidth(100);
    EXPECT_EQ(w.Wizard->ButtonControl(bkCancel)->geometry().left(), 556);
    EXPECT_EQ(w.Wizard->ButtonControl(bkNext)->geometry().left(), 471);
    w.Window->resize(700, 600);
    EXPECT_EQ(w.Wizard->size(), QSize(700, 600));
    EXPECT_EQ(w.Wizard->ButtonControl(bkCancel)->geometry(), QRect(592, 568, 100, 25));
}

TEST(ButtonBar, GrabbedBarShowsDividerAndGaps) {
    WizardWindow w(2);
    CalculatorButtons(w.Wizard);
    w.Start();
    w.Click(bkNext);
    const QImage img = Grab(w.Wizard);
    const int bar = 568 - 42;
    const QRgb white = Rgb(clWhite);
    // Etched divider: shadow row from x = 0, highlight row below it from x = 1.
    EXPECT_EQ(img.pixel(0, bar), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(662, bar), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(663, bar), white); // the shadow pass stops one pixel short
    EXPECT_EQ(img.pixel(1, bar + 1), Rgb(clBtnHighlight));
    EXPECT_EQ(img.pixel(0, bar + 1), white);
    // Across the middle of the buttons: margin, Back, 1-pixel gap, Next, 10-pixel gap, Cancel, margin.
    const int y = bar + 10 + 12;
    auto inked = [&](int x0, int x1) { return InkBox(img, QRect(x0, y - 3, x1 - x0, 6), white); };
    EXPECT_TRUE(inked(375, 465).isValid());
    EXPECT_FALSE(inked(465, 466).isValid());
    EXPECT_TRUE(inked(466, 556).isValid());
    EXPECT_FALSE(inked(556, 566).isValid());
    EXPECT_TRUE(inked(566, 656).isValid());
    EXPECT_FALSE(inked(656, 664).isValid());
    EXPECT_FALSE(inked(230, 375).isValid()); // Start is hidden
    EXPECT_EQ(inked(566, 656).left(), 566);
    EXPECT_EQ(inked(566, 656).right(), 655);
}

TEST(ButtonBar, EmptyButtonSetRemovesTheBar) {
    WizardWindow w(2, true);
    w.Pages[1]->SetVisibleButtons({});
    w.Start();
    w.Click(bkNext);
    EXPECT_EQ(w.Wizard->ButtonBarHeight(), 0);
    for (int k = 0; k < KWizardButtonKindCount; ++k) {
        const TKWizardButtonControl* b = w.Wizard->ButtonControl(TKWizardButtonKind(k));
        EXPECT_FALSE(b->isVisible());
        EXPECT_EQ(b->geometry().topLeft(), QPoint(0, 0));
        EXPECT_EQ(b->height(), 0);
    }
    EXPECT_EQ(w.Pages[1]->geometry(), QRect(220, 0, 444, 568));
    EXPECT_EQ(w.Map->geometry(), QRect(0, 0, 220, 568));
    // Back again: the bar returns and the page ends above it.
    w.Wizard->ActivatePage(w.Pages[0]);
    EXPECT_EQ(w.Wizard->ButtonBarHeight(), 42);
    EXPECT_EQ(w.Pages[0]->geometry(), QRect(220, 0, 444, 526));
    EXPECT_EQ(w.Wizard->ButtonControl(bkNext)->geometry(), QRect(496, 536, 75, 25));
}

TEST(ButtonBar, GlyphHalvesAndLayout) {
    // A two-image glyph: red for the normal look, blue for the disabled one.
    QImage glyph(32, 16, QImage::Format_RGB32);
    glyph.fill(Qt::red);
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 32; ++x)
            glyph.setPixel(x, y, qRgb(0, 0, 255));
    glyph.setPixel(0, 15, qRgb(0, 255, 0)); // bottom-left colour: transparent in its image
    WizardWindow w(2);
    for (TKWizardNavigateButton* b : {w.Wizard->ButtonBack(), w.Wizard->ButtonNext()}) {
        b->SetGlyph(glyph);
        b->SetNumGlyphs(2);
        b->SetWidth(90);
    }
    w.Wizard->ButtonNext()->SetLayout(blGlyphRight);
    w.Start();
    const QImage back = Grab(w.Wizard->ButtonControl(bkBack)); // disabled on the first page
    EXPECT_EQ(CountPixels(back, back.rect(), qRgb(255, 0, 0)), 0);
    EXPECT_EQ(CountPixels(back, back.rect(), qRgb(0, 0, 255)), 16 * 16);
    const QImage next = Grab(w.Wizard->ButtonControl(bkNext));
    EXPECT_EQ(CountPixels(next, next.rect(), qRgb(0, 255, 0)), 0);
    int redLeft = next.width(), textRight = 0;
    for (int y = 0; y < next.height(); ++y)
        for (int x = 0; x < next.width(); ++x) {
            const QRgb px = next.pixel(x, y);
            if (px == (qRgb(255, 0, 0) | 0xFF000000u))
                redLeft = std::min(redLeft, x);
            else if (qRed(px) < 100 && qGreen(px) < 100 && qBlue(px) < 100)
                textRight = std::max(textRight, x);
        }
    EXPECT_EQ(CountPixels(next, next.rect(), qRgb(255, 0, 0)), 16 * 16 - 1);
    EXPECT_GT(redLeft, textRight); // glyph on the right of the caption
}
