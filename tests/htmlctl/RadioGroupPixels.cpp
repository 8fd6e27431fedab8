// Pixels of a two-item group laid out like the calculator's owner group.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "HtmlTestSupport.h"
#include "htmlctl/BtnXPVS.h"
#include "htmlctl/RadioGlyphs.h"
#include "htmlctl/htmlbtns.h"

using namespace htmltest;

namespace {

const QString kItem0 = QString("Физическое лицо или предприниматель без образования юридического лица");
const QString kItem1 = QString("Юридическое лицо");

struct ThemeSwitch {
    explicit ThemeSwitch(bool on) { htmlctl::BtnXPVS::SetThemeActive(on); }
    ~ThemeSwitch() { htmlctl::BtnXPVS::SetThemeActive(true); }
};

// rgFiz: left 5, top 64, 430 x 77, caption " Собственник ", Tahoma 11 pixels, XP glyphs.
struct OwnerPage {
    QWidget page;
    htmlctl::THTMLRadioGroup* rgFiz;

    explicit OwnerPage(QColor window = Qt::white) {
        QPalette pal = page.palette();
        pal.setColor(QPalette::Window, window);
        pal.setColor(QPalette::WindowText, Qt::black);
        page.setPalette(pal);
        page.setFont(Tahoma());
        page.resize(444, 526);
        rgFiz = new htmlctl::THTMLRadioGroup(&page);
        rgFiz->setGeometry(5, 64, 430, 77);
        rgFiz->SetCaption(QString(" Собственник "));
        rgFiz->SetButtonType(htmlctl::btWinXP);
        rgFiz->SetEllipsis(false);
        rgFiz->BeginReading();
        rgFiz->SetItems({kItem0, kItem1});
        rgFiz->SetItemIndex(0);
        rgFiz->EndReading();
    }
    QImage Grab() { return rgFiz->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

QImage Composited(const QImage& glyph, QColor background) {
    QImage img(glyph.size(), QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    p.drawImage(0, 0, glyph);
    return img;
}

// Plain text as the layout rules place it: word by word at whole-pixel advances, each
// word bottom-aligned in a 13-pixel line starting at `pen`.
void DrawWords(QPainter& p, const QString& text, QPoint pen, QColor color) {
    p.setFont(Tahoma());
    p.setPen(color);
    int x = pen.x();
    const int baseline = pen.y() + htmlctl::CellMetrics(Tahoma()).Ascent;
    for (const QString& word : text.split(u' ')) {
        p.drawText(x, baseline, word);
        x += Advance(word + " ");
    }
}

QImage ExpectedText(QSize size, const QString& text, QPoint pen, QColor background, QColor color) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    DrawWords(p, text, pen, color);
    return img;
}

} // namespace

TEST(RadioGroupPixels, OwnerGroupWithBuiltInGlyphs) {
    ThemeSwitch off(false);
    OwnerPage w;
    const QImage img = w.Grab();
    ASSERT_EQ(img.size(), QSize(430, 77));

    // Glyphs: 16 x 16 bitmaps at the button's left edge, two pixels down.
    EXPECT_EQ(img.copy(8, 14 + 2, 16, 16), Composited(htmlctl::RadioBitmap(5), Qt::white));
    EXPECT_EQ(img.copy(8, 43 + 2, 16, 16), Composited(htmlctl::RadioBitmap(6), Qt::white));

    // Captions: one line each, from one pixel inside the text box (button left + 18), four
    // pixels below the button top.
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const int top = 14 + 29 * i + 4;
        const QRect area(27, top, 428 - 27, 13);
        const QImage expected =
            ExpectedText(img.size(), i == 0 ? kItem0 : kItem1, QPoint(27, top), Qt::white, Qt::black);
        EXPECT_EQ(img.copy(area), expected.copy(area));
        // Nothing else in the rest of the button.
        EXPECT_TRUE(Ink(img, 0xFFFFFFFF, QRect(26, top + 13, 400, 29 - 17)).isNull());
    }

    // The frame: caption in the top edge from x = 8, etched line at half the text height.
    const QRect caption = Ink(img, 0xFFFFFFFF, QRect(8, 0, 100, 13));
    ASSERT_FALSE(caption.isNull());
    EXPECT_GE(caption.left(), 8);
    EXPECT_NE(img.pixel(300, 6), qRgb(255, 255, 255));
    EXPECT_NE(img.pixel(0, 40), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(300, 5), qRgb(255, 255, 255));
}

TEST(RadioGroupPixels, DisabledGroupIsEmbossed) {
    ThemeSwitch off(false);
    const QColor face(0xD4, 0xD0, 0xC8);
    OwnerPage w(face);
    w.rgFiz->SetEnabled(false);
    const QImage img = w.Grab();
    EXPECT_EQ(img.copy(8, 16, 16, 16), Composited(htmlctl::RadioBitmap(7), face));
    EXPECT_EQ(img.copy(8, 45, 16, 16), Composited(htmlctl::RadioBitmap(8), face));
    // Grey text with a white copy one pixel down-right.
    QImage expected(img.size(), QImage::Format_RGB32);
    expected.fill(face);
    {
        QPainter p(&expected);
        DrawWords(p, kItem0, QPoint(28, 19), Qt::white);
        DrawWords(p, kItem0, QPoint(27, 18), Qt::gray);
    }
    const QRect area(27, 18, 400, 13);
    EXPECT_EQ(img.copy(area), expected.copy(area));
}

TEST(RadioGroupPixels, FocusRectangleAroundTheCaption) {
    ThemeSwitch off(false);
    OwnerPage w;
    w.page.show();
    w.page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.page));
    w.rgFiz->Buttons(1)->setFocus();
    ASSERT_TRUE(w.rgFiz->Buttons(1)->Focused());
    EXPECT_EQ(w.rgFiz->ItemIndex(), 1); // entering the item chose it
    const QImage img = w.Grab();
    // Dotted from the text box corner (8 + 18, 43 + 4) to width + 3 and height + 1.
    const int left = 26, top = 47, right = left + Advance(kItem1) + 3 - 1, bottom = top + 13 + 1 - 1;
    for (int x = left; x < right; ++x) {
        EXPECT_EQ(img.pixel(x, top) != qRgb(255, 255, 255), (x - left) % 2 == 0) << x;
        EXPECT_EQ(img.pixel(x, bottom) != qRgb(255, 255, 255), (x - left) % 2 == 0) << x;
    }
    for (int y = top; y <= bottom; y += 2)
        EXPECT_NE(img.pixel(left, y), qRgb(255, 255, 255)) << y;
    // Nothing dotted around the unfocused item.
    EXPECT_EQ(img.pixel(26, 18), qRgb(255, 255, 255));
}

TEST(RadioGroupPixels, ThemedGlyphComesFromTheStyle) {
    QImage plain, themed;
    {
        ThemeSwitch off(false);
        OwnerPage w;
        plain = w.Grab();
    }
    {
        ThemeSwitch on(true);
        OwnerPage w;
        themed = w.Grab();
        // Checked and unchecked themed glyphs differ and are drawn in the 13 x 13 box.
        EXPECT_NE(themed.copy(8, 18, 13, 13), themed.copy(8, 47, 13, 13));
        EXPECT_FALSE(Ink(themed, 0xFFFFFFFF, QRect(8, 18, 13, 13)).isNull());
        EXPECT_TRUE(Ink(themed, 0xFFFFFFFF, QRect(8, 14, 13, 3)).isNull());
    }
    EXPECT_NE(plain.copy(8, 14, 16, 18), themed.copy(8, 14, 16, 18));
    // The captions do not move with the glyph style.
    EXPECT_EQ(plain.copy(26, 14, 400, 60), themed.copy(26, 14, 400, 60));
}

TEST(RadioGroupPixels, GlyphStylesAndPlaces) {
    // Each style draws in its own box; the glyph follows the vertical alignment and side.
    ThemeSwitch off(false);
    struct Case {
        htmlctl::TButtonType type;
        htmlctl::TTextLayout valign;
        htmlctl::TAlignment align;
        QRect box; // where the glyph must lie in a 200 x 40 button
    };
    const Case cases[] = {
        {htmlctl::btClassic, htmlctl::tlTop, htmlctl::taLeftJustify, QRect(0, 4, 13, 13)},
        {htmlctl::btClassic, htmlctl::tlCenter, htmlctl::taLeftJustify, QRect(0, 14, 13, 13)},
        {htmlctl::btClassic, htmlctl::tlBottom, htmlctl::taLeftJustify, QRect(0, 23, 13, 13)},
        {htmlctl::btFlat, htmlctl::tlTop, htmlctl::taRightJustify, QRect(187, 4, 13, 13)},
        {htmlctl::btBrimsel, htmlctl::tlTop, htmlctl::taLeftJustify, QRect(1, 4, 13, 13)},
        {htmlctl::btOlvane, htmlctl::tlTop, htmlctl::taLeftJustify, QRect(0, 2, 16, 16)},
        {htmlctl::btOlvane, htmlctl::tlBottom, htmlctl::taRightJustify, QRect(183, 22, 16, 16)},
        {htmlctl::btWinXP, htmlctl::tlCenter, htmlctl::taLeftJustify, QRect(0, 12, 16, 16)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.type) * 100 + int(c.valign) * 10 + int(c.align));
        QWidget parent;
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, Qt::white);
        parent.setPalette(pal);
        auto* b = new htmlctl::THTMLRadioButton(&parent);
        b->setFont(Tahoma());
        b->resize(200, 40);
        b->SetCaption("");
        b->SetButtonType(c.type);
        b->SetButtonVertAlign(c.valign);
        b->SetAlignment(c.align);
        b->SetChecked(true);
        const QImage img = b->grab().toImage();
        const QRect ink = Ink(img);
        ASSERT_FALSE(ink.isNull());
        EXPECT_TRUE(c.box.contains(ink))
            << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    }
}
