// The HTML radio group: item layout, ItemIndex, OnClick and keyboard and mouse choice.
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "HtmlTestSupport.h"
#include "htmlctl/htmlbtns.h"

using namespace htmltest;
using htmlctl::TCustomHTMLRadioGroup;
using htmlctl::THTMLRadioGroup;

namespace {

const QStringList kOwners = {QString("Физическое лицо или предприниматель без образования юридического лица"),
                             QString("Юридическое лицо")};
const QStringList kPlaces = {QString("Россия"), QString("Белоруссия, Казахстан, Украина"),
                             QString("Другое иностранное государство"),
                             QString("Следование к месту регистрации")};

// A window holding a group set up the way the calculator's page does it: items and the
// initial choice first, then the handler, so building the group fires nothing.
struct GroupWindow {
    QWidget window;
    THTMLRadioGroup* group;
    QList<int> clicks; // ItemIndex seen by each OnClick

    GroupWindow(const QStringList& items, QSize size, int itemIndex = 0) {
        window.resize(size.width() + 20, size.height() + 20);
        window.setFont(Tahoma());
        group = new THTMLRadioGroup(&window);
        group->setGeometry(5, 5, size.width(), size.height());
        group->SetButtonType(htmlctl::btWinXP);
        group->BeginReading();
        group->SetItems(items);
        group->SetItemIndex(itemIndex);
        group->EndReading();
        group->OnClick = [this](QObject* sender) {
            EXPECT_EQ(sender, group);
            clicks << group->ItemIndex();
        };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QWidget* Item(int i) const { return group->Buttons(i); }
    QPoint OnGlyph() const { return QPoint(6, 10); }
};

} // namespace

TEST(RadioGroupLayout, ItemButtonsFollowTheGroupSize) {
    struct Case {
        const char* name;
        QStringList items;
        QSize size;
        int columns;
        QList<QRect> expected;
    };
    const Case cases[] = {
        {"owner group", kOwners, {430, 77}, 1, {QRect(8, 14, 420, 29), QRect(8, 43, 420, 29)}},
        {"registration group",
         kPlaces,
         {430, 146},
         1,
         {QRect(8, 14, 420, 32), QRect(8, 46, 420, 32), QRect(8, 78, 420, 32), QRect(8, 110, 420, 32)}},
        {"two columns",
         kPlaces,
         {430, 146},
         2,
         {QRect(8, 14, 210, 64), QRect(8, 78, 210, 64), QRect(218, 14, 210, 64), QRect(218, 78, 210, 64)}},
        {"spare pixels centre the rows",
         kPlaces,
         {430, 149},
         1,
         {QRect(8, 15, 420, 32), QRect(8, 47, 420, 32), QRect(8, 79, 420, 32), QRect(8, 111, 420, 32)}},
        {"columns are clamped to 16", kOwners, {430, 77}, 40, {QRect(8, 14, 26, 59), QRect(34, 14, 26, 59)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        window.setFont(Tahoma());
        THTMLRadioGroup group(&window);
        group.SetItems(c.items);
        group.SetColumns(c.columns);
        group.setGeometry(5, 64, c.size.width(), c.size.height());
        window.show();
        ASSERT_EQ(group.ButtonCount(), c.expected.size());
        for (int i = 0; i < group.ButtonCount(); ++i)
            EXPECT_EQ(group.Buttons(i)->geometry(), c.expected[i]) << i;
        EXPECT_TRUE(group.Buttons(0)->isVisibleTo(&group));
    }
}

TEST(RadioGroupLayout, RightToLeftMirrorsColumns) {
    QWidget window;
    window.setFont(Tahoma());
    THTMLRadioGroup group(&window);
    group.setLayoutDirection(Qt::RightToLeft);
    group.SetItems(kPlaces);
    group.SetColumns(2);
    group.setGeometry(0, 0, 430, 146);
    window.show();
    EXPECT_EQ(group.Buttons(0)->x(), 430 - 8 - 210);
    EXPECT_EQ(group.Buttons(2)->x(), 430 - 218 - 210);
}

TEST(RadioGroupSelection, BuildingTheGroupFiresNothing) {
    GroupWindow w(kOwners, {430, 77});
    EXPECT_EQ(w.group->ItemIndex(), 0);
    EXPECT_TRUE(w.group->Buttons(0)->Checked());
    EXPECT_FALSE(w.group->Buttons(1)->Checked());
    EXPECT_TRUE(w.clicks.isEmpty());
}

TEST(RadioGroupSelection, ItemIndexInCode) {
    GroupWindow w(kPlaces, {430, 146});
    struct Step {
        int set;
        int expected;
        QList<int> clicks; // total so far
    };
    const Step steps[] = {
        {0, 0, {}},                         // unchanged: nothing
        {2, 2, {2}},                        // a change fires OnClick once
        {2, 2, {2}},       {99, 3, {2, 3}}, // clamped to the last item
        {-5, -1, {2, 3}},                   // clamped to "none": nothing is checked, nothing fires
        {1, 1, {2, 3, 1}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.set);
        w.group->SetItemIndex(s.set);
        EXPECT_EQ(w.group->ItemIndex(), s.expected);
        EXPECT_EQ(w.clicks, s.clicks);
        for (int i = 0; i < w.group->ButtonCount(); ++i)
            EXPECT_EQ(w.group->Buttons(i)->Checked(), i == s.expected) << i;
    }
}

TEST(RadioGroupSelection, RemovingItemsClampsItemIndex) {
    GroupWindow w(kPlaces, {430, 146}, 3);
    w.group->DeleteItem(3);
    EXPECT_EQ(w.group->ItemIndex(), 2);
    EXPECT_EQ(w.group->ButtonCount(), 3);
    EXPECT_TRUE(w.group->Buttons(2)->Checked());
    w.group->ClearItems();
    EXPECT_EQ(w.group->ItemIndex(), -1);
    EXPECT_EQ(w.group->ButtonCount(), 0);
    EXPECT_TRUE(w.clicks.isEmpty());
}

TEST(RadioGroupSelection, MouseChoice) {
    GroupWindow w(kPlaces, {430, 146});
    QTest::mouseClick(w.Item(2), Qt::LeftButton, {}, w.OnGlyph());
    EXPECT_EQ(w.group->ItemIndex(), 2);
    EXPECT_EQ(w.clicks, QList<int>{2});
    // Clicking the selected item reports it again.
    QTest::mouseClick(w.Item(2), Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_EQ(w.clicks, (QList<int>{2, 2}));
    // Clicking on the caption text works like the glyph.
    QTest::mouseClick(w.Item(0), Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(w.clicks, (QList<int>{2, 2, 0}));
    EXPECT_TRUE(w.group->Buttons(0)->Checked());
    EXPECT_FALSE(w.group->Buttons(2)->Checked());
    EXPECT_TRUE(w.Item(0)->hasFocus());
}

TEST(RadioGroupSelection, PressReleasedOutsideStillReportsTheShownChoice) {
    GroupWindow w(kOwners, {430, 77});
    QTest::mousePress(w.Item(1), Qt::LeftButton, {}, w.OnGlyph());
    EXPECT_TRUE(w.group->Buttons(1)->Checked());
    EXPECT_TRUE(w.group->Buttons(1)->Down());
    QTest::mouseMove(w.Item(1), QPoint(500, 200));
    QTest::mouseRelease(w.Item(1), Qt::LeftButton, {}, QPoint(500, 200));
    EXPECT_FALSE(w.group->Buttons(1)->Down());
    EXPECT_EQ(w.group->ItemIndex(), 1);
    EXPECT_EQ(w.clicks, QList<int>{1});
}

TEST(RadioGroupSelection, KeyboardChoice) {
    GroupWindow w(kPlaces, {430, 146});
    w.Item(0)->setFocus();
    ASSERT_TRUE(w.Item(0)->hasFocus());
    struct Step {
        Qt::Key key;
        int expected;
    };
    // Arrows move the choice and wrap around; each move is reported.
    const Step steps[] = {{Qt::Key_Down, 1}, {Qt::Key_Right, 2}, {Qt::Key_Down, 3},
                          {Qt::Key_Down, 0}, {Qt::Key_Up, 3},    {Qt::Key_Left, 2}};
    QList<int> expectedClicks;
    for (const Step& s : steps) {
        QTest::keyClick(QApplication::focusWidget(), s.key);
        expectedClicks << s.expected;
        EXPECT_EQ(w.group->ItemIndex(), s.expected);
        EXPECT_TRUE(w.Item(s.expected)->hasFocus());
    }
    EXPECT_EQ(w.clicks, expectedClicks);
    // Space on the checked item changes nothing.
    QTest::keyClick(w.Item(2), Qt::Key_Space);
    EXPECT_EQ(w.clicks, expectedClicks);
}

TEST(RadioGroupSelection, OnlyTheCheckedItemIsATabStop) {
    GroupWindow w(kPlaces, {430, 146}, 1);
    for (int i = 0; i < w.group->ButtonCount(); ++i)
        EXPECT_EQ(bool(w.Item(i)->focusPolicy() & Qt::TabFocus), i == 1) << i;
}

TEST(RadioGroupSelection, DisabledItemsAreSkipped) {
    GroupWindow w(kPlaces, {430, 146});
    w.group->OnIsEnabled = [](QObject*, int index, bool& enabled) { enabled = enabled && index != 1; };
    w.group->ArrangeItemButtons();
    EXPECT_FALSE(w.Item(1)->isEnabled());
    QTest::mouseClick(w.Item(1), Qt::LeftButton, {}, w.OnGlyph());
    EXPECT_EQ(w.group->ItemIndex(), 0);
    EXPECT_TRUE(w.clicks.isEmpty());
    // The arrow passes over the disabled item.
    w.Item(0)->setFocus();
    QTest::keyClick(w.Item(0), Qt::Key_Down);
    EXPECT_EQ(w.group->ItemIndex(), 2);

    // Disabling the whole group disables every item; enabling restores them, and the
    // per-item rule applies again at the next arrangement.
    w.group->SetEnabled(false);
    for (int i = 0; i < w.group->ButtonCount(); ++i)
        EXPECT_FALSE(w.Item(i)->isEnabled());
    w.group->SetEnabled(true);
    EXPECT_TRUE(w.Item(1)->isEnabled());
    w.group->resize(430, 150);
    EXPECT_FALSE(w.Item(1)->isEnabled());
}

TEST(RadioGroupSelection, AcceleratorChoosesTheItem) {
    GroupWindow w({QString("&First"), QString("S&econd <B>item</B>")}, {430, 77});
    QTest::keyClick(&w.window, Qt::Key_X, Qt::AltModifier); // no item answers to it
    EXPECT_EQ(w.group->ItemIndex(), 0);
    QTest::keyClick(&w.window, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(w.group->ItemIndex(), 1);
    EXPECT_EQ(w.clicks, QList<int>{1});
}

TEST(RadioGroupSelection, ScreenReadersReadAndChooseTheItems) {
    GroupWindow w(
        {QString("&First"), QString("S&econd <B>item</B>&&co"), QString("<a href=\"x\">Link</a> 3")},
        {430, 100});
    const char* names[] = {"First", "Second item&co", "Link 3"};
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(w.group->Buttons(i));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->role(), QAccessible::RadioButton);
        EXPECT_EQ(item->text(QAccessible::Name), names[i]);
        EXPECT_TRUE(item->state().checkable);
        EXPECT_EQ(item->state().checked, i == 0) << i;
    }
    // The check action is a click: it chooses, and on the chosen item reports it again.
    QAccessibleActionInterface* second =
        QAccessible::queryAccessibleInterface(w.group->Buttons(1))->actionInterface();
    ASSERT_NE(second, nullptr);
    second->doAction(QAccessibleActionInterface::toggleAction());
    second->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(w.clicks, (QList<int>{1, 1}));
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(w.group->Buttons(0))->state().checked);
    w.group->setEnabled(false);
    EXPECT_FALSE(second->actionNames().contains(QAccessibleActionInterface::toggleAction()));
}

TEST(RadioGroupSelection, PropertiesReachTheItems) {
    GroupWindow w(kOwners, {430, 77});
    w.group->SetButtonType(htmlctl::btBrimsel);
    w.group->SetAlignment(htmlctl::taCenter);
    w.group->SetEllipsis(true);
    w.group->SetShadowOffset(3);
    w.group->SetCheckColor(Qt::red);
    for (int i = 0; i < w.group->ButtonCount(); ++i) {
        const auto* b = w.group->Buttons(i);
        EXPECT_EQ(b->ButtonType(), htmlctl::btBrimsel);
        EXPECT_EQ(b->Alignment(), htmlctl::taCenter);
        EXPECT_TRUE(b->Ellipsis());
        EXPECT_EQ(b->ShadowOffset(), 3);
        EXPECT_EQ(b->CheckColor(), QColor(Qt::red));
        // A centred group draws its text where a left-justified one does.
        EXPECT_EQ(b->TextRect().left(), 12 + 5);
    }
    EXPECT_EQ(w.group->Version(), "1.4.5.2");
}
