// Preparation: script before the page, template restored afterwards, alignment, errors, progress.
#include "ReportFixtures.h"

#include "report/PreparedPageStore.h"

#include <gtest/gtest.h>

using namespace report;
using script::Variant;

namespace {

std::unique_ptr<TrpReport> SheetLikeReport() {
    auto r = reporttest::NewReport();
    r->Variables().Add("Формула", Variant("'Т = 0'"));
    r->Variables().Add("ТБ");
    r->Variables().Add("КТ");
    reporttest::AddMemo(*r, "meType", "[ТБ]");
    reporttest::AddMemo(*r, "meHome", "[КТ]");
    r->ScriptText = {"begin", "  if Pos( 'ТБ', <Формула>) = 0 then meType.Memo.Text := '';",
                     "  if Pos( 'КТ', <Формула>) = 0 then meHome.Memo.Text := '';", "end."};
    return r;
}

TEST(Preparation, ScriptEmptiesCellsOnlyForItsOwnRun) {
    auto r = SheetLikeReport();
    r->Variables().SetVariableValue("ТБ", Variant("'1 980'"));
    r->Variables().SetVariableValue("КТ", Variant("'2,0'"));
    r->Variables().SetVariableValue("Формула", Variant("'Т = ТБ'"));
    ASSERT_TRUE(r->Prepare()) << r->LastErrorMessage().toStdString();
    EXPECT_EQ(reporttest::PreparedText(*r, "meType"), "1 980");
    EXPECT_EQ(reporttest::PreparedText(*r, "meHome"), "");
    EXPECT_EQ(static_cast<TrpMemoView*>(r->FindObject("meHome"))->Text(), "[КТ]");

    r->Variables().SetVariableValue("Формула", Variant("'Т = ТБ*КТ'"));
    ASSERT_TRUE(r->Prepare());
    EXPECT_EQ(r->PreviewPages().Count(), 1);
    EXPECT_EQ(reporttest::PreparedText(*r, "meHome"), "2,0");

    // Preparing twice with the same values gives the same pages.
    const QString first = QString::fromUtf8(r->PreviewPages().Document().SaveToBytes());
    ASSERT_TRUE(r->Prepare());
    EXPECT_EQ(QString::fromUtf8(r->PreviewPages().Document().SaveToBytes()), first);
}

TEST(Preparation, ScriptChangesToVariablesAndObjectsAreUndone) {
    auto r = SheetLikeReport();
    r->ScriptText = {"begin", "  Set('ТБ', '''изменено''');", "  meType.Left := 50;", "end."};
    r->Variables().SetVariableValue("ТБ", Variant("'исходное'"));
    ASSERT_TRUE(r->Prepare()) << r->LastErrorMessage().toStdString();
    EXPECT_EQ(reporttest::PreparedText(*r, "meType"), "изменено");
    EXPECT_EQ(r->PreviewPages().Page(0)->FindObject("meType")->Left(), 50);
    EXPECT_EQ(QString::fromStdString(r->Variables().GetVariableValue("ТБ").AsString()), "'исходное'");
    EXPECT_EQ(r->FindObject("meType")->Left(), 10);
}

TEST(Preparation, EmptyMainBlockAndMissingEventProceduresAreHarmless) {
    auto r = reporttest::NewReport();
    TrpMemoView* m = reporttest::AddMemo(*r, "Memo1", "текст");
    m->SetOnBeforePrint("NoSuchProcedure");
    ASSERT_TRUE(r->Prepare());
    EXPECT_EQ(reporttest::PreparedText(*r, "Memo1"), "текст");
}

TEST(Preparation, EventProceduresRunWhileTheEngineRuns) {
    auto r = reporttest::NewReport();
    TrpMemoView* m = reporttest::AddMemo(*r, "Memo1", "шаблон");
    m->SetOnBeforePrint("Memo1OnBeforePrint");
    r->ScriptText = {"procedure Memo1OnBeforePrint(Sender: TObject);",
                     "begin",
                     "  Memo1.Memo.Text := 'из события';",
                     "end;",
                     "",
                     "begin",
                     "end."};
    ASSERT_TRUE(r->Prepare()) << r->LastErrorMessage().toStdString();
    EXPECT_EQ(reporttest::PreparedText(*r, "Memo1"), "из события");
    EXPECT_EQ(m->Text(), "шаблон");
}

TEST(Preparation, ErrorsEndInTheCombinedMessage) {
    const struct {
        QStringList Script;
        const char* MemoText;
        const char* Expect;
    } cases[] = {
        {{"begin", "  meUnknown.Memo.Text := '';", "end."}, "x", "Ошибка в скрипте (2:"},
        {{"begin", "end."}, "[1 +]", "Memo1: Ошибка в выражении '1 +': "},
        {{"begin", "end."}, "[<Нет такой>]", "Неизвестная переменная или поле БД: Нет такой"},
        {{"begin", "  Memo1.Memo.Text := IntToStr(1 div 0);", "end."}, "x", ""},
    };
    for (const auto& c : cases) {
        auto r = reporttest::NewReport();
        QStringList shown;
        r->EngineOptions.NewSilentMode = simMessageBoxes;
        r->OnShowError = [&](const QString& caption, const QString& text) { shown << caption << text; };
        reporttest::AddMemo(*r, "Memo1", c.MemoText);
        r->ScriptText = c.Script;
        EXPECT_FALSE(r->Prepare()) << c.MemoText;
        ASSERT_EQ(shown.size(), 2) << c.MemoText;
        EXPECT_EQ(shown[0], "Ошибка");
        EXPECT_TRUE(
            shown[1].startsWith("Были обнаружены следующие ошибки:\r\n" + QString::fromUtf8(c.Expect)))
            << shown[1].toStdString();
        EXPECT_EQ(static_cast<TrpMemoView*>(r->FindObject("Memo1"))->Text(), c.MemoText);
    }
}

TEST(Preparation, SilentAndRethrowModes) {
    auto r = reporttest::NewReport();
    bool shown = false;
    r->OnShowError = [&](const QString&, const QString&) { shown = true; };
    r->ScriptText = {"begin", "  nothing here", "end."};
    r->EngineOptions.NewSilentMode = simSilent;
    EXPECT_FALSE(r->Prepare());
    EXPECT_FALSE(shown);
    EXPECT_FALSE(r->LastErrorMessage().isEmpty());
    r->EngineOptions.NewSilentMode = simReThrow;
    EXPECT_THROW(r->Prepare(), TrpReportError);
    EXPECT_FALSE(shown);
}

TEST(Preparation, AlignedObjectsArePlacedInThePrintableArea) {
    auto r = reporttest::NewReport();
    TrpReportPage* page = r->Pages(0);
    page->SetPaperSize(TrpReportPage::A4);
    for (auto set : {&TrpReportPage::SetLeftMargin, &TrpReportPage::SetRightMargin,
                     &TrpReportPage::SetTopMargin, &TrpReportPage::SetBottomMargin})
        (page->*set)(10.00125L);
    const struct {
        const char* Name;
        TrpAlign Align;
        Extended Left, Top, Width, Height;
        Extended ExpLeft, ExpTop, ExpWidth, ExpHeight;
    } cases[] = {
        {"Centre", baCenter, 100, 0, 723, 81, -2.449374412499992L, 0, 723, 81},
        {"A", baNone, 50, 200, 100, 20, 50, 200, 100, 20},
        {"LeftOfA", baLeft, 300, 205, 40, 10, 150, 205, 40, 10},
        {"RightEdge", baRight, 400, 200, 60, 20, 658.101251175L, 200, 60, 20},
        {"Alone", baLeft, 300, 400, 40, 10, 0, 400, 40, 10},
        {"Bottom", baBottom, 5, 5, 20, 30, 5, 1046.920361175L - 30, 20, 30},
        {"Client", baClient, 5, 5, 20, 30, 0, 0, 718.101251175L, 1046.920361175L},
    };
    for (const auto& c : cases) {
        TrpMemoView* m = reporttest::AddMemo(*r, c.Name, "x", c.Left, c.Top, c.Width, c.Height);
        m->SetAlign(c.Align);
    }
    ASSERT_TRUE(r->Prepare());
    TrpReportPage* prepared = r->PreviewPages().Page(0);
    for (const auto& c : cases) {
        const TrpComponent* o = prepared->FindObject(c.Name);
        ASSERT_NE(o, nullptr) << c.Name;
        EXPECT_NEAR(double(o->Left()), double(c.ExpLeft), 1e-9) << c.Name;
        EXPECT_NEAR(double(o->Top()), double(c.ExpTop), 1e-6) << c.Name;
        EXPECT_NEAR(double(o->Width()), double(c.ExpWidth), 1e-6) << c.Name;
        EXPECT_NEAR(double(o->Height()), double(c.ExpHeight), 1e-6) << c.Name;
        EXPECT_EQ(r->FindObject(c.Name)->Left(), c.Left) << c.Name << " template restored";
    }
}

TEST(Preparation, ProgressIsReportedPerPage) {
    auto r = reporttest::NewReport();
    reporttest::AddMemo(*r, "M", "x");
    r->AddPage();
    QStringList events;
    r->OnProgressStart = [&](TrpReport*, TrpProgressKind) { events << "start"; };
    r->OnProgress = [&](TrpReport*, TrpProgressKind, int page) { events << QString::number(page); };
    r->OnProgressStop = [&](TrpReport*, TrpProgressKind) { events << "stop"; };
    ASSERT_TRUE(r->Prepare());
    EXPECT_EQ(events, QStringList({"start", "1", "2", "stop"}));
    EXPECT_EQ(r->PreviewPages().Count(), 2);
}

TEST(Preparation, StopRequestEndsThePageLoop) {
    auto r = reporttest::NewReport();
    r->AddPage();
    r->AddPage();
    r->OnProgress = [&](TrpReport* sender, TrpProgressKind, int) { sender->SetTerminated(true); };
    ASSERT_TRUE(r->Prepare());
    EXPECT_EQ(r->PreviewPages().Count(), 1);
}

} // namespace
