#include <QAccessible>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "WizardFixture.h"

using namespace wizardtest;

namespace {

// Pages A, B, C, D on the calculator's map: 220 wide, rows 30 high, indent 8.
struct MapWindow {
    WizardWindow W{4, true};
    TKWizardRouteMapNodes* Map = W.Map;
    explicit MapWindow(std::vector<int> disabled = {}) {
        const char* names[] = {"A", "B", "C", "D"};
        for (int i = 0; i < 4; ++i)
            W.Pages[std::size_t(i)]->Header()->Title()->SetText(QString::fromLatin1(names[i]));
        for (int i : disabled)
            W.Pages[std::size_t(i)]->SetEnabled(false);
        W.Start();
    }
    QImage Grab() { return wizardtest::Grab(Map); }
    void Press(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, y), Map->mapToGlobal(QPointF(x, y)), button,
                      button, Qt::NoModifier);
        QApplication::sendEvent(Map, &e);
    }
};

// Every pixel of a rectangle in one colour.
void ExpectFilled(const QImage& img, const TRect& r, TColor color) {
    const QRect q = r.ToQRect();
    EXPECT_EQ(CountPixels(img, q, Rgb(color)), q.width() * q.height())
        << r.Left << "," << r.Top << "-" << r.Right << "," << r.Bottom;
}

} // namespace

TEST(RouteMap, AttachesToTheWizardOnly) {
    WizardWindow w(3, true);
    EXPECT_EQ(w.Map->Wizard(), w.Wizard);
    EXPECT_EQ(w.Wizard->RouteMap(), w.Map);
    EXPECT_EQ(w.Map->PageCount(), 3);
    EXPECT_EQ(w.Map->PageIndex(), -1);
    QWidget stranger;
    try {
        w.Map->SetParent(&stranger);
        ADD_FAILURE() << "no exception";
    } catch (const EKWizard& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("The Parent should be TKWizard or its descendants."));
    }
    EXPECT_EQ(w.Map->parentWidget(), w.Wizard);
    EXPECT_THROW(TKWizardRouteMapNodes{&stranger}, EKWizard);

    // A page as parent means its wizard; the map copies the pages and the selection.
    w.Start();
    EXPECT_EQ(w.Map->geometry(), QRect(0, 0, 220, 526));
    EXPECT_EQ(w.Pages[0]->geometry(), QRect(220, 0, 444, 526));
    w.Wizard->ActivatePage(w.Pages[2]);
    auto* second = new TKWizardRouteMapNodes(w.Pages[1]);
    EXPECT_EQ(second->parentWidget(), w.Wizard);
    EXPECT_EQ(w.Wizard->RouteMap(), second);
    EXPECT_EQ(second->PageIndex(), 2);
    delete second;
    EXPECT_EQ(w.Wizard->RouteMap(), nullptr);
    EXPECT_FALSE(w.Wizard->ShowRouteMap());
}

TEST(RouteMap, RowsNodesAndTrunkSkipDisabledPages) {
    MapWindow m({1});
    const QImage img = m.Grab();
    // Outline and background.
    EXPECT_EQ(img.pixel(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(219, 525), Rgb(clBtnShadow));
    EXPECT_EQ(img.pixel(1, 1), Rgb(clBackground));
    // A (first, selected): node at the left, stub, trunk down to its row's bottom.
    ExpectFilled(img, {9, 18, 21, 19}, clBtnShadow);
    ExpectFilled(img, {10, 19, 20, 29}, clLime);
    ExpectFilled(img, {21, 23, 34, 25}, clBtnShadow);
    ExpectFilled(img, {32, 24, 34, 39}, clBtnShadow);
    EXPECT_EQ(img.pixel(34, 23), Rgb(clBackground)); // the stub ends on the trunk
    EXPECT_EQ(img.pixel(32, 22), Rgb(clBackground)); // no trunk above the first node
    // C (middle): node on the trunk, lines up to the row above and down to the row below.
    ExpectFilled(img, {27, 48, 39, 49}, clBtnShadow);
    ExpectFilled(img, {28, 49, 38, 59}, clWhite);
    ExpectFilled(img, {32, 39, 34, 49}, clBtnShadow);
    ExpectFilled(img, {32, 59, 34, 70}, clBtnShadow);
    EXPECT_EQ(img.pixel(31, 40), Rgb(clBackground));
    EXPECT_EQ(img.pixel(34, 40), Rgb(clBackground));
    // D (last): node at the left, stub, trunk up to its row's top.
    ExpectFilled(img, {10, 79, 20, 89}, clWhite);
    ExpectFilled(img, {21, 83, 34, 85}, clBtnShadow);
    ExpectFilled(img, {32, 70, 34, 84}, clBtnShadow);
    EXPECT_EQ(img.pixel(32, 85), Rgb(clBackground));
    // Nothing after the third row.
    EXPECT_FALSE(InkBox(img, QRect(1, 99, 218, 400), Rgb(clBackground)).isValid());
    // Text starts at x = 47.
    const QRect text = InkBox(img, QRect(40, 9, 179, 30), Rgb(clBackground));
    ASSERT_TRUE(text.isValid());
    EXPECT_GE(text.left(), 47);
    EXPECT_LE(text.left(), 49);
}

TEST(RouteMap, SingleEnabledPageIsFirstAndLast) {
    MapWindow m({0, 2, 3});
    const QImage img = m.Grab();
    ExpectFilled(img, {10, 19, 20, 29}, clLime);
    ExpectFilled(img, {21, 23, 34, 25}, clBtnShadow);
    ExpectFilled(img, {32, 24, 34, 39}, clBtnShadow);
    EXPECT_EQ(img.pixel(32, 22), Rgb(clBackground)); // no trunk upwards
    EXPECT_FALSE(InkBox(img, QRect(1, 39, 218, 400), Rgb(clBackground)).isValid());
}

TEST(RouteMap, SelectedRowIsBold) {
    MapWindow m;
    for (TKWizardInteriorPage* p : m.W.Pages)
        p->Header()->Title()->SetText(QStringLiteral("Страница"));
    // The bold face of the same text is wider.
    auto width = [](const QImage& img, int row) {
        return InkBox(img, QRect(47, 9 + 30 * row, 172, 30), Rgb(clBackground)).width();
    };
    QImage img = m.Grab();
    EXPECT_GT(width(img, 0), width(img, 1));
    EXPECT_EQ(width(img, 1), width(img, 2));
    m.W.Click(bkNext);
    img = m.Grab();
    EXPECT_GT(width(img, 1), width(img, 0));
    EXPECT_EQ(width(img, 0), width(img, 2));
    ExpectFilled(img, {28, 49, 38, 59}, clLime);
    ExpectFilled(img, {10, 19, 20, 29}, clWhite);
}

TEST(RouteMap, HitBandsSitOnePixelBelowTheRows) {
    MapWindow m({1});
    const struct {
        int x, y;
        int page; // -1: none
    } cases[] = {{50, 9, -1}, {50, 39, 0},   {50, 10, 0}, {50, 40, 2}, {50, 69, 2},  {50, 70, 3},
                 {50, 99, 3}, {50, 100, -1}, {0, 50, -1}, {1, 50, 2},  {218, 50, 2}, {219, 50, -1}};
    for (const auto& c : cases) {
        TKWizardCustomPage* expected = c.page < 0 ? nullptr : m.W.Pages[std::size_t(c.page)];
        EXPECT_EQ(m.Map->PageAtPos(QPoint(c.x, c.y)), expected) << c.x << "," << c.y;
    }
}

TEST(RouteMap, ClickJumpsWithPageEventsOnly) {
    MapWindow m({1});
    m.W.Trace();
    int selects = 0;
    m.W.Wizard->OnSelectNextPage = [&](TKWizard*, TKWizardCustomPage*, TKWizardCustomPage*&) { ++selects; };
    m.Press(100, 75, Qt::RightButton);
    EXPECT_EQ(m.W.Active(), 0);
    m.Press(100, 75);
    EXPECT_EQ(m.W.Active(), 3);
    EXPECT_EQ(m.Map->PageIndex(), 3);
    EXPECT_EQ(m.W.Log, (std::vector<std::string>{"P0.Exit", "P3.Enter", "P3.Page"}));
    EXPECT_EQ(selects, 0);
    m.Press(100, 5); // above every band
    EXPECT_EQ(m.W.Active(), 3);
}

TEST(RouteMap, DisabledPageShownByOnDisplayingCannotBeChosen) {
    MapWindow m({1});
    m.Map->OnDisplaying = [](TKWizardRouteMapControl*, TKWizardCustomPage*, bool& allow) { allow = true; };
    m.Map->update();
    const QImage img = m.Grab();
    // B is the second row, on the trunk, with a disabled node and grey text.
    ExpectFilled(img, {28, 49, 38, 59}, clBtnFace);
    // Grey text: ink, but nothing brighter than the shadow colour (white text would be).
    const QRect text(47, 39, 172, 30);
    int ink = 0, bright = 0;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x) {
            const QRgb px = img.pixel(x, y) | 0xFF000000u;
            ink += px != Rgb(clBackground);
            bright += qGreen(px) > qGreen(Rgb(clBtnShadow)) + 2;
        }
    EXPECT_GT(ink, 20);
    EXPECT_EQ(bright, 0);
    m.Press(100, 50);
    EXPECT_EQ(m.W.Active(), 0);
    EXPECT_EQ(m.Map->PageIndex(), 0);
}

TEST(RouteMap, ScreenReadersReadTheRowsAndJumpLikeAClick) {
    MapWindow m({1});
    m.W.Pages[2]->Header()->Subtitle()->SetText(QStringLiteral("Подзаголовок"));
    QAccessibleInterface* map = QAccessible::queryAccessibleInterface(m.Map);
    ASSERT_EQ(map->role(), QAccessible::List);
    ASSERT_EQ(map->childCount(), 3); // B is disabled: no row
    const auto row = [&](int i) { return map->child(i); };
    EXPECT_EQ(row(1)->text(QAccessible::Name), "C");
    EXPECT_EQ(map->indexOfChild(row(2)), 2);
    EXPECT_TRUE(row(0)->state().selected);
    EXPECT_EQ(row(1)->rect(), QRect(m.Map->mapToGlobal(QPoint(9, 39)), QSize(210, 30)));
    row(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(m.W.Active(), 2);
    EXPECT_TRUE(row(1)->state().selected);
    EXPECT_FALSE(row(0)->state().selected);
    // The page shown reads as its header.
    QAccessibleInterface* page = QAccessible::queryAccessibleInterface(m.W.Pages[2]);
    EXPECT_EQ(page->role(), QAccessible::PageTab);
    EXPECT_EQ(page->text(QAccessible::Name), "C");
    EXPECT_EQ(page->text(QAccessible::Description), "Подзаголовок");
    // A disabled row the map shows anyway offers nothing to do.
    m.Map->OnDisplaying = [](TKWizardRouteMapControl*, TKWizardCustomPage*, bool& allow) { allow = true; };
    ASSERT_EQ(map->childCount(), 4);
    EXPECT_TRUE(row(1)->state().disabled);
    EXPECT_TRUE(row(1)->actionInterface()->actionNames().isEmpty());
}

TEST(RouteMap, EnablingPagesReflowsTheRows) {
    MapWindow m;
    const QRect thirdRow(40, 69, 179, 30);
    EXPECT_TRUE(InkBox(m.Grab(), thirdRow, Rgb(clBackground)).isValid());
    m.W.Pages[1]->SetEnabled(false);
    m.W.Pages[3]->SetEnabled(false);
    EXPECT_FALSE(InkBox(m.Grab(), thirdRow, Rgb(clBackground)).isValid());
    // C is now the last page: its node moves to the left.
    ExpectFilled(m.Grab(), {10, 49, 20, 59}, clWhite);
}

TEST(RouteMap, CaptionsInsteadOfTitles) {
    MapWindow m;
    m.W.Pages[0]->SetCaption(QStringLiteral("Длинная подпись страницы"));
    const QRect row(40, 9, 179, 30);
    const int titleWidth = InkBox(m.Grab(), row, Rgb(clBackground)).width();
    m.Map->SetUsePageTitle(false);
    const int captionWidth = InkBox(m.Grab(), row, Rgb(clBackground)).width();
    EXPECT_GT(captionWidth, titleWidth + 50);
}

TEST(RouteMap, AlignmentAndShowRouteMapShareTheClientArea) {
    const struct {
        TAlign align;
        bool shown;
        QRect map, page;
    } cases[] = {
        {alLeft, true, {0, 0, 220, 526}, {220, 0, 444, 526}},
        {alRight, true, {444, 0, 220, 526}, {0, 0, 444, 526}},
        {alTop, true, {0, 0, 664, 100}, {0, 100, 664, 426}},
        {alBottom, true, {0, 426, 664, 100}, {0, 0, 664, 426}},
        {alLeft, false, {}, {0, 0, 664, 526}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.align);
        MapWindow m;
        m.Map->SetAlign(c.align);
        m.Map->resize(220, 100); // the side's extent: width for left and right, height for top and bottom
        m.W.Wizard->SetShowRouteMap(c.shown);
        EXPECT_EQ(m.W.Wizard->ShowRouteMap(), c.shown);
        if (c.shown) {
            EXPECT_EQ(m.Map->geometry(), c.map);
        }
        EXPECT_EQ(m.W.Pages[0]->geometry(), c.page);
    }
}
