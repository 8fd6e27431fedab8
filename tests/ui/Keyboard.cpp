// The calculator window from the keyboard: where the focus lands on each page, which controls
// Tab reaches, and what Enter presses.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WindowFace.h"
#include "htmlctl/HTMLRadioGroup.h"
#include "ui/OSAGO_Calc.h"
#include "ui/OSAGO_CalcClass.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"

using calc::PageId;

namespace {

struct Keyboard : ::testing::Test {
    TfmOSAGO_Calc w;
    void SetUp() override {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    void Enter(PageId page) {
        // A modal window that closed may leave the calculator inactive.
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        w.KWizard()->SetActivePage(w.Page(page));
        ASSERT_EQ(w.KWizard()->ActivePage(), w.Page(page));
    }
    PageId Active() const {
        for (int i = 0; i < calc::PageCount; ++i)
            if (w.KWizard()->ActivePage() == w.Page(PageId(i)))
                return PageId(i);
        return PageId::pWelcome;
    }
    // Every answer the user has given, as the calculator holds them.
    std::vector<int> Answers() const {
        std::vector<int> answers;
        for (int i = 0; i < calc::PageCount; ++i)
            answers.push_back(w.Calculator().Pages(PageId(i)).Checked);
        answers.push_back(w.rgFiz()->ItemIndex());
        answers.push_back(w.rgPlace()->ItemIndex());
        return answers;
    }
};

// An option of a group (a radio button of either kind), and whether it is the checked one.
bool IsOption(QWidget* widget, bool* checked) {
    if (auto* rb = qobject_cast<QRadioButton*>(widget)) {
        *checked = rb->isChecked();
        return true;
    }
    if (auto* html = qobject_cast<htmlctl::THTMLRadioButton*>(widget)) {
        *checked = html->Checked();
        return true;
    }
    return false;
}

std::string Describe(QWidget* widget) {
    if (!widget)
        return "(none)";
    const auto* button = qobject_cast<QAbstractButton*>(widget);
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(),
             button ? button->text() : widget->windowTitle())
        .toStdString();
}

struct FocusCase {
    PageId Page;
    int Checked;   // the option checked before the page is entered; -1 keeps the default
    int Place = 0; // registration: abroad (1) brings in the term page
};

} // namespace

TEST_F(Keyboard, EnteringAPageFocusesItsCheckedOptionAndTabReachesNoOther) {
    const FocusCase cases[] = {
        {PageId::pHolder, -1}, {PageId::pType, 5},    {PageId::pType, 0},       {PageId::pClass, 11},
        {PageId::pClass, -1},  {PageId::pPeople, 0},  {PageId::pPower, 3},      {PageId::pPeriod, 4},
        {PageId::pDop, 1},     {PageId::pTime, 7, 1}, {PageId::pHolder, -1, 1},
    };
    for (const FocusCase& c : cases) {
        SCOPED_TRACE(int(c.Page));
        w.rgPlace()->SetItemIndex(c.Place);
        if (c.Checked >= 0)
            w.Options(c.Page)[size_t(c.Checked)]->setChecked(true);
        Enter(PageId::pWelcome);
        Enter(c.Page);
        QWidget* focused = QApplication::focusWidget();
        bool checked = false;
        ASSERT_TRUE(IsOption(focused, &checked)) << Describe(focused);
        EXPECT_TRUE(checked) << Describe(focused);
        EXPECT_TRUE(w.Page(c.Page)->isAncestorOf(focused));

        // Round the whole window both ways; Space at every option it stops at.
        const std::vector<int> before = Answers();
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            for (int step = 0; step < 40; ++step) {
                QTest::keyClick(QApplication::focusWidget(), key);
                focused = QApplication::focusWidget();
                if (IsOption(focused, &checked)) {
                    EXPECT_TRUE(checked) << "Tab stops at " << Describe(focused);
                    QTest::keyClick(focused, Qt::Key_Space);
                }
            }
        }
        EXPECT_EQ(Answers(), before);
        EXPECT_EQ(Active(), c.Page);
    }
    // The age page (drivers named, registered at home): the driver count is the group.
    w.rgPlace()->SetItemIndex(0);
    w.Options(PageId::pPeople)[1]->setChecked(true);
    w.rbAge(2)->setChecked(true);
    Enter(PageId::pWelcome);
    Enter(PageId::pAge);
    EXPECT_EQ(QApplication::focusWidget(), w.rbAge(2));
}

TEST_F(Keyboard, ArrowsMoveTheChoiceAndEnterGoesOnFromAnOption) {
    Enter(PageId::pPower);
    const int checked = w.Calculator().Pages(PageId::pPower).Checked;
    ASSERT_EQ(QApplication::focusWidget(), w.Options(PageId::pPower)[size_t(checked)]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_TRUE(w.Options(PageId::pPower)[size_t(checked + 1)]->isChecked());
    EXPECT_EQ(w.Calculator().Pages(PageId::pPower).Checked, checked + 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(Active(), PageId::pPeriod);
    const int season = w.Calculator().Pages(PageId::pPeriod).Checked;
    EXPECT_EQ(QApplication::focusWidget(), w.Options(PageId::pPeriod)[size_t(season)]);
}

TEST_F(Keyboard, EnterPressesTheFocusedButtonNotNext) {
    int printed = 0, exported = 0;
    w.OnPrint = [&] { ++printed; };
    w.OnExport = [&](QPushButton*) { ++exported; };

    // The class table and the note box are modal: note what opened and close it again.
    QString opened;
    const auto closeWhatOpens = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            opened = modal ? modal->windowTitle() : QString();
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        });
    };
    const struct {
        PageId Page;
        QAbstractButton* Button;
        QString Opens;
        int Printed, Exported;
    } cases[] = {
        {PageId::pClass, w.BtnClass(), QStringLiteral("Класс страхователя"), 0, 0},
        {PageId::pClass, w.NoteButton(PageId::pClass), QStringLiteral("Information"), 0, 0},
        {PageId::pType, w.NoteButton(PageId::pType), QStringLiteral("Information"), 0, 0},
        {PageId::pResult, w.BtnPrint(), QString(), 1, 0},
        {PageId::pResult, w.BtnExport(), QString(), 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Describe(c.Button));
        Enter(c.Page);
        c.Button->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), c.Button);
        opened.clear();
        if (!c.Opens.isEmpty())
            closeWhatOpens();
        QTest::keyClick(c.Button, Qt::Key_Return);
        EXPECT_EQ(opened, c.Opens);
        EXPECT_EQ(printed, c.Printed);
        EXPECT_EQ(exported, c.Exported);
        EXPECT_EQ(Active(), c.Page);
    }
    // The wizard's own buttons take Enter too.
    Enter(PageId::pPower);
    QAbstractButton* back = w.KWizard()->ButtonBack()->Control();
    back->setFocus(Qt::TabFocusReason);
    QTest::keyClick(back, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Active(), PageId::pAge);
}

namespace {

// Alt with a Cyrillic letter, as the Russian layout sends it. A button answers as to a click
// it shows pressed for a moment; this waits until it let go.
void AltLetter(QWidget* target, char16_t letter) {
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(QChar(letter).toUpper().unicode()),
                        QString(QChar(letter)), Qt::AltModifier);
    const auto pressed = [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            for (QAbstractButton* b : top->findChildren<QAbstractButton*>())
                if (b->isDown())
                    return true;
        return false;
    };
    QTest::qWaitFor([&] { return !pressed(); });
}

} // namespace

TEST_F(Keyboard, AltAndTheUnderlinedLetterPressTheButton) {
    int printed = 0, exported = 0;
    w.OnPrint = [&] { ++printed; };
    w.OnExport = [&](QPushButton*) { ++exported; };
    // A modal window that opens is noted and closed by its own letter.
    QString opened;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isActiveWindow() || !opened.isEmpty())
            return;
        opened = dialog->windowTitle();
        AltLetter(dialog, u'з');
        if (dialog->isVisible()) { // the letter did nothing: fail, but do not hang
            opened += QStringLiteral(" (still open)");
            dialog->reject();
        }
    });
    watch.start(10);
    const struct {
        PageId Page;
        char16_t Letter; // the letter after "&" in the caption
        PageId Then;
        int Printed, Exported;
        const char* Opens;
    } cases[] = {
        {PageId::pHolder, u'д', PageId::pType, 0, 0, ""},
        {PageId::pType, u'н', PageId::pHolder, 0, 0, ""},
        {PageId::pResult, u'в', PageId::pWelcome, 0, 0, ""},
        {PageId::pResult, u'р', PageId::pResult, 1, 0, ""},
        {PageId::pResult, u'э', PageId::pResult, 1, 1, ""},
        {PageId::pClass, u'о', PageId::pClass, 1, 1, "Класс страхователя"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString(QChar(c.Letter)).toStdString());
        Enter(c.Page);
        opened.clear();
        AltLetter(QApplication::focusWidget(), c.Letter);
        EXPECT_EQ(Active(), c.Then);
        EXPECT_EQ(printed, c.Printed);
        EXPECT_EQ(exported, c.Exported);
        EXPECT_EQ(opened, QString::fromUtf8(c.Opens));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    Enter(PageId::pHome);
    AltLetter(QApplication::focusWidget(), u'з');
    EXPECT_FALSE(w.isVisible());
}

TEST_F(Keyboard, MessageBoxesAnswerTheLettersOfTheirButtons) {
    const WindowFace face; // message boxes as the program shows them
    QStringList captions;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([box] { return box->isAncestorOf(QApplication::focusWidget()); }));
        for (const QAbstractButton* b : box->buttons())
            captions << b->text();
        AltLetter(box, u'o');
        closed = QTest::qWaitFor([box] { return !box->isVisible(); }, 1000);
        if (!closed) // fail, but do not hang
            box->reject();
    });
    Enter(PageId::pType);
    w.NoteButton(PageId::pType)->click();
    EXPECT_EQ(captions, QStringList{QStringLiteral("&OK")});
    EXPECT_TRUE(closed) << "Alt+O did not answer the note";
}
