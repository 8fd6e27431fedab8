// Anchors: which target lies under a point, in the renderer and in the radio button.
#include <QApplication>
#include <QBuffer>
#include <QTest>
#include <gtest/gtest.h>

#include "HtmlTestSupport.h"
#include "htmlctl/PictureContainer.h"
#include "htmlctl/htmlbtns.h"

using namespace htmltest;
using htmlctl::RenderHTML;
using htmlctl::THTMLRenderIn;
using htmlctl::THTMLRenderOut;

namespace {

THTMLRenderOut HitAt(const QString& text, QPoint pt, int width = 300,
                     const htmlctl::TPictureContainer* pics = nullptr) {
    THTMLRenderIn in;
    in.Font = Tahoma();
    in.Text = text;
    in.Rect = QRect(0, 0, width, 100);
    in.Point = pt;
    in.CheckHotSpot = true;
    in.PictureContainer = pics;
    return RenderHTML(in);
}

} // namespace

TEST(RenderHitTest, AnchorUnderThePoint) {
    const QString text = "go <A HREF=\"one\">first</A> and <A NAME=\"two\">second</A>";
    const int h = Cell();
    const int goW = Advance("go ");
    const int firstW = Advance("first");
    const int andW = Advance(" and ");
    const int x0 = 1; // pen starts one pixel inside
    const struct {
        QPoint pt;
        const char* anchor; // empty: no hit
    } cases[] = {
        {{x0 + goW + 1, h / 2}, "one"},
        {{x0 + goW + firstW - 1, h - 1}, "one"},
        {{x0 + goW - 2, h / 2}, ""},
        {{x0 + goW + firstW + andW + 2, h / 2}, "two"},
        {{x0 + goW + 1, h + 3}, ""},                                 // below the line
        {{x0 + goW + firstW + andW + Advance("second") + 3, 5}, ""}, // past the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.anchor);
        const THTMLRenderOut out = HitAt(text, c.pt);
        EXPECT_EQ(out.AnchorHit, *c.anchor != 0) << c.pt.x() << "," << c.pt.y();
        EXPECT_EQ(out.Anchor, QString(c.anchor));
    }
}

TEST(RenderHitTest, AnchorOnAWrappedLineAndOnAPicture) {
    // The anchor wraps to the second line: the hit is found there.
    const QString text = "aaa <A HREF=\"x\">bbb</A>";
    const THTMLRenderOut wrapped = HitAt(text, QPoint(3, Cell() + 4), Advance("aaa bb"));
    EXPECT_EQ(wrapped.Anchor, "x");
    EXPECT_FALSE(HitAt(text, QPoint(3, 4), Advance("aaa bb")).AnchorHit);

    htmlctl::TPictureContainer pics;
    QImage img(20, 30, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QByteArray bytes;
    {
        QBuffer b(&bytes);
        b.open(QIODevice::WriteOnly);
        img.save(&b, "PNG");
    }
    pics.Add("logo").Picture().LoadFromBytes(bytes);
    const QString withPicture = "<A HREF=\"pic\"><IMG SRC=\"logo\"></A>";
    EXPECT_EQ(HitAt(withPicture, QPoint(10, 25), 300, &pics).Anchor, "pic");
    EXPECT_FALSE(HitAt(withPicture, QPoint(25, 25), 300, &pics).AnchorHit);
}

TEST(RenderHitTest, AnchorCountFocusAndHoverRect) {
    THTMLRenderIn in;
    in.Font = Tahoma();
    in.Text = "<A HREF=\"a\">one</A> <A HREF=\"b\">two</A> <A>no value</A>";
    in.Rect = QRect(0, 0, 300, 50);
    in.FocusAnchor = 1;
    in.HoverAnchor = 0;
    THTMLRenderOut out;
    Draw(in, QSize(300, 50), &out);
    EXPECT_EQ(out.HyperLinks, 2);
    EXPECT_EQ(out.FocusAnchor, "b");
    EXPECT_EQ(out.HoverRect, QRect(1, 0, Advance("one"), Cell()));
}

TEST(RenderHitTest, ButtonReportsTheAnchorWhereItIsPainted) {
    // Every pixel painted in the link colour must hit-test to its anchor, whatever the glyph
    // side or style.
    for (auto align : {htmlctl::taLeftJustify, htmlctl::taRightJustify}) {
        for (auto type : {htmlctl::btClassic, htmlctl::btBrimsel, htmlctl::btOlvane, htmlctl::btWinXP}) {
            SCOPED_TRACE(int(align) * 10 + int(type));
            htmlctl::THTMLRadioButton button;
            button.setFont(Tahoma());
            button.resize(300, 40);
            button.SetAlignment(align);
            button.SetButtonType(type);
            button.SetURLColor(QColor(0, 0, 255));
            button.SetCaption("See <A HREF=\"tariffs\">tariffs</A> and <A HREF=\"rules\">rules</A>");
            const QImage img = button.grab().toImage();
            int blue = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (img.pixel(x, y) == qRgb(0, 0, 255)) {
                        ++blue;
                        const QString a = button.AnchorAt(x, y);
                        ASSERT_TRUE(a == "tariffs" || a == "rules") << x << "," << y;
                    }
            EXPECT_GT(blue, 20);
            EXPECT_EQ(button.AnchorAt(button.TextRect().left() + 2, 8), QString());
        }
    }
}

TEST(RenderHitTest, ClickOnAnAnchorFiresOnAnchorClick) {
    QWidget window;
    window.resize(320, 60);
    auto* button = new htmlctl::THTMLRadioButton(&window);
    button->setFont(Tahoma());
    button->setGeometry(0, 0, 300, 40);
    button->SetCaption("See <A HREF=\"tariffs\">tariffs</A>");
    QStringList clicked;
    int clicks = 0;
    button->OnAnchorClick = [&](QObject* sender, const QString& anchor) {
        EXPECT_EQ(sender, button);
        clicked << anchor;
    };
    button->OnClick = [&](QObject*) { ++clicks; };
    window.show();
    const QPoint onLink(button->TextRect().left() + 1 + Advance("See ") + 3, button->TextRect().top() + 6);
    QTest::mouseClick(button, Qt::LeftButton, {}, onLink);
    EXPECT_EQ(clicked, QStringList{"tariffs"});
    // The press also made it the checked choice, which is reported once.
    EXPECT_TRUE(button->Checked());
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicked.size(), 1);
}

TEST(RenderHitTest, HoveringAnAnchorShowsTheHandAndReportsEnterAndExit) {
    QWidget window;
    window.resize(320, 60);
    auto* button = new htmlctl::THTMLRadioButton(&window);
    button->setFont(Tahoma());
    button->setGeometry(0, 0, 300, 40);
    button->SetCaption("See <A HREF=\"one\">one</A> or <A HREF=\"two\">two</A>");
    QStringList events;
    button->OnAnchorEnter = [&](QObject*, const QString& a) { events << "enter " + a; };
    button->OnAnchorExit = [&](QObject*, const QString& a) { events << "exit " + a; };
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    ASSERT_TRUE(button->Focused());

    const int x0 = button->TextRect().left() + 1;
    const int y = button->TextRect().top() + 6;
    const QPoint onOne(x0 + Advance("See ") + 2, y);
    const QPoint onOneAgain(x0 + Advance("See ") + 6, y);
    const QPoint onTwo(x0 + Advance("See one or ") + 2, y);
    const QPoint offText(x0 + 250, y);
    for (const QPoint& pt : {onOne, onOneAgain, onTwo, offText, offText})
        QTest::mouseMove(button, pt);
    EXPECT_EQ(events, (QStringList{"enter one", "enter two", "exit two"}));
    EXPECT_NE(button->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(button, onTwo);
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
}

TEST(RenderHitTest, KeyboardOnASingleButton) {
    QWidget window;
    auto* first = new htmlctl::THTMLRadioButton(&window);
    auto* next = new htmlctl::THTMLRadioButton(&window);
    next->SetGroupIndex(1); // another group: not unchecked by the first
    next->SetChecked(true);
    next->move(0, 30);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    int clicks = 0;
    first->OnClick = [&](QObject*) { ++clicks; };
    first->setFocus();
    EXPECT_TRUE(first->Checked()); // entering checks it, with a click
    EXPECT_EQ(clicks, 1);
    QTest::keyPress(first, Qt::Key_Space);
    EXPECT_TRUE(first->Down());
    QTest::keyRelease(first, Qt::Key_Space);
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(next->Checked());
    // Enter moves on like Tab only when asked to.
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(first->hasFocus());
    first->SetReturnIsTab(true);
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(next->hasFocus());
}
