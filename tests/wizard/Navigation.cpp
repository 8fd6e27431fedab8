#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "WizardFixture.h"

using namespace wizardtest;
using Strings = std::vector<std::string>;

TEST(Navigation, NextClickFiresEventsInOrderWithOldActivePageInside) {
    WizardWindow w(2);
    w.Start();
    w.Trace();
    std::vector<TKWizardCustomPage*> seenActive;
    w.Pages[0]->OnExitPage = [&](TKWizardCustomPage*, TKWizardCustomPage* to) {
        w.Log.push_back("P0.Exit");
        EXPECT_EQ(to, w.Pages[1]);
        seenActive.push_back(w.Wizard->ActivePage());
    };
    w.Pages[1]->OnEnterPage = [&](TKWizardCustomPage*, TKWizardCustomPage* from) {
        w.Log.push_back("P1.Enter");
        EXPECT_EQ(from, w.Pages[0]);
        seenActive.push_back(w.Wizard->ActivePage());
    };
    w.Click(bkNext);
    EXPECT_EQ(w.Log,
              (Strings{"P0.NextClick", "W.NextClick", "W.SelectNext", "P0.Exit", "P1.Enter", "P1.Page"}));
    EXPECT_EQ(seenActive, (std::vector<TKWizardCustomPage*>{w.Pages[0], w.Pages[0]}));
    EXPECT_EQ(w.Active(), 1);
    EXPECT_TRUE(w.Pages[1]->isVisible());
    EXPECT_FALSE(w.Pages[0]->isVisible());
}

TEST(Navigation, DisabledPagesAreSkippedBothWays) {
    WizardWindow w(5);
    w.Pages[1]->SetEnabled(false);
    w.Pages[2]->SetEnabled(false);
    w.Pages[4]->SetEnabled(false);
    w.Start();
    const struct {
        TKWizardButtonKind kind;
        int expected;
    } steps[] = {{bkNext, 3}, {bkNext, 3}, {bkBack, 0}, {bkNext, 3}};
    for (const auto& s : steps) {
        w.Click(s.kind);
        EXPECT_EQ(w.Active(), s.expected);
    }
    EXPECT_EQ(w.Wizard->FindNextPage(-1, 1, false), w.Pages[0]);
    EXPECT_EQ(w.Wizard->FindNextPage(0, 1, false), w.Pages[1]);
    EXPECT_EQ(w.Wizard->FindNextPage(5, -1, true), w.Pages[3]);
    EXPECT_EQ(w.Wizard->FindNextPage(3, 1, true), nullptr);
    EXPECT_TRUE(w.Wizard->IsLastPage(w.Pages[3]));
    EXPECT_FALSE(w.Wizard->IsFirstPage(w.Pages[3]));
}

TEST(Navigation, NextOnLastEnabledPageFiresClicksButStays) {
    WizardWindow w(3);
    w.Pages[2]->SetEnabled(false);
    w.Start();
    w.Click(bkNext);
    w.Trace();
    w.Click(bkNext);
    EXPECT_EQ(w.Log, (Strings{"P1.NextClick", "W.NextClick"}));
    EXPECT_EQ(w.Active(), 1);
}

TEST(Navigation, PageClickStopVetoesEverything) {
    WizardWindow w(2);
    w.Start();
    w.Trace();
    w.Pages[0]->OnNextButtonClick = [&](TKWizardCustomPage* sender, bool& stop) {
        EXPECT_EQ(sender, w.Pages[0]);
        EXPECT_FALSE(stop);
        w.Log.push_back("P0.NextClick");
        stop = true;
    };
    w.Click(bkNext);
    EXPECT_EQ(w.Log, (Strings{"P0.NextClick"}));
    EXPECT_EQ(w.Active(), 0);
}

TEST(Navigation, SelectEventsRedirectTheTarget) {
    enum Op { First, Last, Next, Prior };
    enum Redirect { Keep, ToNone, ToDisabled, ToPage1 };
    const struct {
        Op op;
        int from;
        Redirect redirect;
        int expectedTarget; // what the event is offered
        int expected;
    } cases[] = {
        {Next, 0, Keep, 1, 1},       {Next, 0, ToNone, 1, 0},   {Next, 0, ToDisabled, 1, 0},
        {Next, 2, ToPage1, 4, 1},    {Prior, 4, Keep, 2, 2},    {Prior, 4, ToPage1, 2, 1},
        {First, 4, Keep, 0, 0},      {First, 4, ToPage1, 0, 1}, {Last, 0, Keep, 4, 4},
        {Last, 0, ToDisabled, 4, 0}, {Last, 2, ToNone, 4, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "op " << c.op << " from " << c.from << " redirect " << c.redirect);
        WizardWindow w(5);
        w.Pages[3]->SetEnabled(false);
        w.Start();
        w.Wizard->ActivatePage(w.Pages[std::size_t(c.from)]);
        int calls = 0;
        TKWizardSelectPageEvent handler = [&](TKWizard* sender, TKWizardCustomPage* from,
                                              TKWizardCustomPage*& to) {
            ++calls;
            EXPECT_EQ(sender, w.Wizard);
            EXPECT_EQ(from, w.Pages[std::size_t(c.from)]);
            EXPECT_EQ(to, w.Pages[std::size_t(c.expectedTarget)]);
            if (c.redirect == ToNone)
                to = nullptr;
            else if (c.redirect == ToDisabled)
                to = w.Pages[3];
            else if (c.redirect == ToPage1)
                to = w.Pages[1];
        };
        switch (c.op) {
        case First:
            w.Wizard->OnSelectFirstPage = handler;
            w.Wizard->SelectFirstPage();
            break;
        case Last:
            w.Wizard->OnSelectLastPage = handler;
            w.Wizard->SelectLastPage();
            break;
        case Next:
            w.Wizard->OnSelectNextPage = handler;
            w.Wizard->SelectNextPage();
            break;
        case Prior:
            w.Wizard->OnSelectPriorPage = handler;
            w.Wizard->SelectPriorPage();
            break;
        }
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(w.Active(), c.expected);
    }
}

TEST(Navigation, NoTargetMeansNoSelectEvent) {
    WizardWindow w(2);
    w.Start();
    int calls = 0;
    w.Wizard->OnSelectPriorPage = [&](TKWizard*, TKWizardCustomPage*, TKWizardCustomPage*&) { ++calls; };
    w.Wizard->SelectPriorPage();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(w.Active(), 0);
}

TEST(Navigation, ActivatePageIgnoresDisabledForeignAndLoading) {
    WizardWindow w(3);
    WizardWindow other(1);
    w.Pages[2]->SetEnabled(false);
    w.Wizard->ActivatePage(w.Pages[1]); // still loading
    EXPECT_EQ(w.Wizard->ActivePage(), nullptr);
    w.Start();
    EXPECT_EQ(w.Active(), 0);
    w.Wizard->ActivatePage(w.Pages[2]);
    EXPECT_EQ(w.Active(), 0);
    w.Wizard->ActivatePage(other.Pages[0]);
    EXPECT_EQ(w.Active(), 0);
    w.Wizard->ActivatePage(nullptr);
    EXPECT_EQ(w.Wizard->ActivePage(), nullptr);
}

TEST(Navigation, LoadingEndsOnFirstEnabledPageUnlessRedirected) {
    WizardWindow w(3);
    w.Pages[0]->SetEnabled(false);
    w.Wizard->OnSelectFirstPage = [&](TKWizard*, TKWizardCustomPage*, TKWizardCustomPage*& to) {
        EXPECT_EQ(to, w.Pages[1]);
        to = w.Pages[2];
    };
    w.Start();
    EXPECT_EQ(w.Active(), 2);
}

TEST(Navigation, DisablingTheActivePageMovesOn) {
    const struct {
        std::vector<int> disabledBefore;
        int active;
        int expected; // -1: no page
    } cases[] = {{{}, 1, 2}, {{}, 3, 2}, {{1, 2, 3}, 0, -1}, {{2, 3}, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.active);
        WizardWindow w(4);
        w.Start();
        for (int i : c.disabledBefore)
            w.Pages[std::size_t(i)]->SetEnabled(false);
        w.Wizard->ActivatePage(w.Pages[std::size_t(c.active)]);
        w.Trace();
        w.Pages[std::size_t(c.active)]->SetEnabled(false);
        EXPECT_EQ(w.Active(), c.expected);
        // The page left behind is disabled, so it gets no exit event.
        Strings expectedLog;
        if (c.expected >= 0)
            expectedLog = {"P" + std::to_string(c.expected) + ".Enter",
                           "P" + std::to_string(c.expected) + ".Page"};
        EXPECT_EQ(w.Log, expectedLog);
        EXPECT_FALSE(w.Pages[std::size_t(c.active)]->isVisible());
        if (c.expected < 0) {
            for (int k = 0; k < KWizardButtonKindCount; ++k) {
                const auto kind = TKWizardButtonKind(k);
                EXPECT_EQ(w.Wizard->ButtonControl(kind)->isVisible(),
                          kind == bkBack || kind == bkNext || kind == bkCancel)
                    << k;
                EXPECT_EQ(w.Wizard->ButtonControl(kind)->isEnabled(), kind == bkCancel) << k;
            }
        }
    }
}

TEST(Navigation, FirstPageLosesBackForGood) {
    WizardWindow w(3);
    w.Start();
    EXPECT_FALSE(w.Wizard->ButtonControl(bkBack)->isEnabled());
    EXPECT_FALSE(w.Pages[0]->EnabledButtons().Contains(bkBack));
    w.Click(bkNext);
    EXPECT_TRUE(w.Wizard->ButtonControl(bkBack)->isEnabled());
    EXPECT_TRUE(w.Pages[1]->EnabledButtons().Contains(bkBack));
    // P0 disabled makes P1 the first page; enabling P0 again does not give P1 its Back back.
    w.Pages[0]->SetEnabled(false);
    w.Wizard->ActivatePage(w.Pages[2]);
    w.Wizard->ActivatePage(w.Pages[1]);
    w.Pages[0]->SetEnabled(true);
    EXPECT_FALSE(w.Pages[1]->EnabledButtons().Contains(bkBack));
    EXPECT_FALSE(w.Wizard->ButtonControl(bkBack)->isEnabled());
}

TEST(Navigation, ButtonSetsOfTheActivePageApplyAtOnce) {
    WizardWindow w(2);
    w.Start();
    w.Click(bkNext);
    w.Pages[1]->SetEnabledButtons(TKWizardButtonSet::All().Without(bkNext));
    EXPECT_FALSE(w.Wizard->ButtonControl(bkNext)->isEnabled());
    w.Pages[1]->SetVisibleButtons({bkStart, bkBack, bkNext, bkCancel});
    EXPECT_TRUE(w.Wizard->ButtonControl(bkStart)->isVisible());
    w.Pages[0]->SetVisibleButtons({}); // not active: stored only
    EXPECT_EQ(w.Wizard->ButtonBarHeight(), 42);
    w.Click(bkStart);
    EXPECT_EQ(w.Active(), 0);
    EXPECT_EQ(w.Wizard->ButtonBarHeight(), 0);
}

TEST(Navigation, HelpAsksTheHookWithTheContext) {
    std::vector<int> asked;
    ApplicationHelpHook() = [&](int context) { asked.push_back(context); };
    WizardWindow w(2);
    w.Pages[0]->SetVisibleButtons({bkHelp, bkNext, bkCancel});
    w.Start();
    w.Click(bkHelp); // context 0: nothing
    w.Pages[0]->SetHelpContext(17);
    w.Click(bkHelp);
    w.Wizard->ActivatePage(nullptr);
    w.Window->setProperty("HelpContext", 5);
    w.Wizard->ButtonControl(bkHelp)->Click(); // no page: the window's context
    EXPECT_EQ(asked, (std::vector<int>{17, 5}));
    ApplicationHelpHook() = nullptr;
}

TEST(Navigation, EscPressesCancelAndEnterTheDefaultButton) {
    WizardWindow w(3);
    auto* box = new QCheckBox(QStringLiteral("x"), w.Pages[0]);
    box->move(20, 60);
    w.Start();
    int cancels = 0;
    w.Wizard->OnCancelButtonClick = [&](QObject* sender) {
        EXPECT_EQ(sender, w.Wizard->ButtonControl(bkCancel));
        ++cancels;
    };
    EXPECT_EQ(w.Window->focusWidget(), box); // the page's first control got the focus
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    EXPECT_EQ(w.Active(), 1);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w.Wizard, &esc);
    EXPECT_EQ(cancels, 1);
    // Without an enabled Next, Finish is the default; Next keeps its flag but is disabled.
    w.Pages[1]->SetVisibleButtons({bkBack, bkNext, bkFinish, bkCancel});
    w.Pages[1]->SetEnabledButtons(TKWizardButtonSet::All().Without(bkNext));
    int finishes = 0;
    w.Wizard->OnFinishButtonClick = [&](QObject*) { ++finishes; };
    QKeyEvent enter2(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::sendEvent(w.Wizard, &enter2);
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(w.Active(), 1);
}

TEST(Navigation, CancelEndsAModalWindowWithItsDialogCode) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* wiz = new TKWizard;
    layout->addWidget(wiz);
    auto* page = new TKWizardInteriorPage(wiz);
    bool fired = false;
    wiz->OnCancelButtonClick = [&](QObject*) { fired = true; };
    dialog.show();
    wiz->SelectFirstPage();
    EXPECT_EQ(wiz->ActivePage(), page);
    wiz->ButtonControl(bkCancel)->click();
    EXPECT_TRUE(fired);
    EXPECT_EQ(dialog.result(), mrCancel);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(Navigation, RemovingPagesKeepsTheWizardConsistent) {
    WizardWindow w(4, true);
    w.Start();
    w.Wizard->ActivatePage(w.Pages[2]);
    delete w.Pages[0]; // not shown: the wizard stays where it is
    EXPECT_EQ(w.Wizard->ActivePage(), w.Pages[2]);
    EXPECT_EQ(w.Wizard->PageCount(), 3);
    EXPECT_EQ(w.Map->PageCount(), 3);
    EXPECT_EQ(w.Map->Pages(w.Map->PageIndex()), w.Pages[2]);
    w.Pages[3]->SetWizard(nullptr);
    delete w.Pages[2]; // the shown, now last page: back to the previous enabled one
    EXPECT_EQ(w.Wizard->ActivePage(), w.Pages[1]);
    EXPECT_EQ(w.Pages[3]->Wizard(), nullptr);
    EXPECT_EQ(w.Pages[3]->PageIndex(), -1);
    delete w.Pages[3];
    w.Window.reset(); // pages die after their wizard without calling back
}

TEST(Navigation, PageEventsThatSwitchOrDisablePagesLeaveOnePageShown) {
    enum Action {
        RedirectOnExit,
        RedirectOnEnter,
        DisableTargetOnExit,
        DisableTargetOnEnter,
        DisableSelfOnExit
    };
    const struct {
        Action action;
        int expected;
    } cases[] = {{RedirectOnExit, 3},
                 {RedirectOnEnter, 3},
                 {DisableTargetOnExit, 2},
                 {DisableTargetOnEnter, 2},
                 {DisableSelfOnExit, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        WizardWindow w(4);
        w.Start();
        TKWizardCustomPage* p1 = w.Pages[1];
        switch (c.action) {
        case RedirectOnExit:
            w.Pages[0]->OnExitPage = [&](TKWizardCustomPage*, TKWizardCustomPage*) {
                w.Wizard->ActivatePage(w.Pages[3]);
            };
            break;
        case RedirectOnEnter:
            p1->OnEnterPage = [&](TKWizardCustomPage*, TKWizardCustomPage*) {
                w.Wizard->ActivatePage(w.Pages[3]);
            };
            break;
        case DisableTargetOnExit:
            w.Pages[0]->OnExitPage = [&](TKWizardCustomPage*, TKWizardCustomPage* to) {
                to->SetEnabled(false);
            };
            break;
        case DisableTargetOnEnter:
            p1->OnEnterPage = [&](TKWizardCustomPage* self, TKWizardCustomPage*) { self->SetEnabled(false); };
            break;
        case DisableSelfOnExit:
            w.Pages[0]->OnExitPage = [&](TKWizardCustomPage* self, TKWizardCustomPage*) {
                self->SetEnabled(false);
            };
            break;
        }
        w.Click(bkNext);
        EXPECT_EQ(w.Active(), c.expected);
        int shown = 0;
        for (TKWizardInteriorPage* p : w.Pages)
            shown += p->isVisible();
        EXPECT_EQ(shown, 1);
        EXPECT_TRUE(w.Wizard->ActivePage()->isVisible());
    }
}
