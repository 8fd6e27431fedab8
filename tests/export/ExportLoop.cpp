// The order in which the export loop feeds a filter, and how it ends.
#include "ExportFixtures.h"

#include "export/Progress.h"
#include "report/PreparedPageStore.h"

#include <gtest/gtest.h>

using namespace exporttest;
using exports::ExportTo;

namespace {

// A report of `pages` prepared pages, each with memos "A" and "B".
std::unique_ptr<report::TrpReport> PreparedReport(int pages) {
    auto r = NewReport();
    for (int i = 0; i < pages; ++i) {
        report::TrpReportPage* page = r->AddPage();
        AddMemo(*page, QStringLiteral("A%1").arg(i), QStringLiteral("a"), 10, 10, 50, 20);
        AddMemo(*page, QStringLiteral("B%1").arg(i), QStringLiteral("b [TotalPages#]"), 10, 40, 50, 20);
    }
    EXPECT_TRUE(r->Prepare());
    EXPECT_EQ(r->PreviewPages().Count(), pages);
    return r;
}

TEST(ExportLoop, FeedsPagesInOrder) {
    auto r = PreparedReport(2);
    RecordingFilter f;
    EXPECT_TRUE(ExportTo(*r, &f));
    // The page's fill and frame come first, then the objects it printed (bands are not objects).
    const QStringList expected = {
        "ShowModal",           "Start",     "StartPage:0",  "Object:(page fill)", "Object:(page frame)",
        "Object:A0",           "Object:B0", "FinishPage:0", "StartPage:1",        "Object:(page fill)",
        "Object:(page frame)", "Object:A1", "Object:B1",    "FinishPage:1",       "Finish"};
    EXPECT_EQ(f.Calls, expected);
    EXPECT_EQ(f.Report(), r.get());
}

struct SkipCase {
    const char* List;
    bool CurPage;
    QStringList Pages;
};

class ExportLoopPages : public ::testing::TestWithParam<SkipCase> {};

TEST_P(ExportLoopPages, SkipsPagesNotListed) {
    const SkipCase& c = GetParam();
    auto r = PreparedReport(4);
    RecordingFilter f;
    f.SetShowDialog(false);
    f.SetPageNumbers(QString::fromUtf8(c.List));
    f.SetCurPage(c.CurPage);
    EXPECT_TRUE(ExportTo(*r, &f));
    QStringList started;
    for (const QString& call : f.Calls)
        if (call.startsWith(QStringLiteral("StartPage")))
            started << call;
    EXPECT_EQ(started, c.Pages) << c.List;
    EXPECT_EQ(f.Calls.first(), "Start");
    EXPECT_EQ(f.Calls.last(), "Finish");
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExportLoopPages,
    ::testing::Values(SkipCase{"", false, {"StartPage:0", "StartPage:1", "StartPage:2", "StartPage:3"}},
                      SkipCase{"2,4", false, {"StartPage:1", "StartPage:3"}},
                      SkipCase{"3-", false, {"StartPage:2", "StartPage:3"}},
                      SkipCase{"4,1", false, {"StartPage:0", "StartPage:3"}},
                      // No preview: the current page is the first.
                      SkipCase{"3", true, {"StartPage:0"}},
                      // A list naming no existing page exports none rather than all.
                      SkipCase{"9", false, {}}));

class FakePreview : public exports::TrpExportPreview {
public:
    int Current = 3;
    QStringList Calls;
    int CurrentPage() const override { return Current; }
    void Lock() override { Calls << "Lock"; }
    void Unlock() override { Calls << "Unlock"; }
    void Refresh() override { Calls << "Refresh"; }
};

TEST(ExportLoop, CurrentPageComesFromThePreviewWhichIsLockedMeanwhile) {
    auto r = PreparedReport(4);
    RecordingFilter f;
    f.SetShowDialog(false);
    f.SetCurPage(true);
    FakePreview preview;
    EXPECT_TRUE(ExportTo(*r, &f, &preview));
    EXPECT_TRUE(f.Calls.contains("StartPage:2"));
    EXPECT_FALSE(f.Calls.contains("StartPage:0"));
    EXPECT_EQ(preview.Calls, (QStringList{"Refresh", "Lock", "Unlock", "Refresh"}));
}

TEST(ExportLoop, CancelledDialogWritesNothing) {
    auto r = PreparedReport(1);
    RecordingFilter f;
    f.DialogResult = exports::mrCancel;
    EXPECT_FALSE(ExportTo(*r, &f));
    EXPECT_EQ(f.Calls, QStringList{"ShowModal"});
    EXPECT_FALSE(ExportTo(*r, nullptr));
}

TEST(ExportLoop, FailedStartEndsQuietlyWithoutFinish) {
    auto r = PreparedReport(1);
    RecordingFilter f;
    f.SetShowDialog(false);
    f.StartResult = false;
    EXPECT_TRUE(ExportTo(*r, &f));
    EXPECT_EQ(f.Calls, QStringList{"Start"});
}

TEST(ExportLoop, BadPageListIsRaisedBeforeStart) {
    auto r = PreparedReport(2);
    RecordingFilter f;
    f.SetShowDialog(false);
    f.SetPageNumbers(QStringLiteral("1,,2"));
    EXPECT_THROW(ExportTo(*r, &f), report::TrpReportError);
    EXPECT_TRUE(f.Calls.isEmpty());
}

TEST(ExportLoop, ErrorEndsTheLoopFinishesAndGoesToTheErrorChannel) {
    auto r = PreparedReport(3);
    r->EngineOptions.NewSilentMode = report::simMessageBoxes;
    QString caption, text;
    r->OnShowError = [&](const QString& c, const QString& t) {
        caption = c;
        text = t;
    };
    RecordingFilter f;
    f.SetShowDialog(false);
    f.ThrowInPage = QStringLiteral("StartPage:1");
    EXPECT_FALSE(ExportTo(*r, &f));
    EXPECT_EQ(f.Calls.last(), "Finish");
    EXPECT_FALSE(f.Calls.contains("StartPage:2"));
    EXPECT_EQ(caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(text, QStringLiteral("Были обнаружены следующие ошибки:\r\ndisk full"));
    EXPECT_TRUE(r->Errors().contains(QStringLiteral("disk full")));
}

TEST(ExportLoop, StopRequestEndsTheLoopAfterThePage) {
    auto r = PreparedReport(3);
    RecordingFilter f;
    f.SetShowDialog(false);
    f.OnObject = [&](const report::TrpPlacedObject& o) {
        if (o.View && o.View->Name() == u"B0")
            r->SetTerminated(true);
    };
    EXPECT_TRUE(ExportTo(*r, &f));
    EXPECT_TRUE(f.Calls.contains("FinishPage:0"));
    EXPECT_FALSE(f.Calls.contains("StartPage:1"));
    EXPECT_EQ(f.Calls.last(), "Finish");
}

TEST(ExportLoop, ObjectsAreOnThePaperWithTotalPagesFilled) {
    auto r = PreparedReport(2);
    RecordingFilter f;
    f.SetShowDialog(false);
    QString bText;
    Extended aLeft = 0, aTop = 0, bgLeft = 0, bgWidth = 0;
    f.OnObject = [&](const report::TrpPlacedObject& o) {
        const QString name = o.View ? o.View->Name() : QString();
        if (name == u"B1")
            bText = static_cast<const report::TrpMemoView*>(o.View)->Text();
        if (name == u"A1") {
            aLeft = o.Left;
            aTop = o.Top;
        }
        if (o.Kind == report::TrpPlacedKind::PageBackground) {
            bgLeft = o.Left;
            bgWidth = o.Width;
        }
    };
    // A page count still to be filled in (the engine fills its own marks when it can).
    auto* mark = dynamic_cast<report::TrpMemoView*>(r->PreviewPages().Page(1)->FindObject("B1"));
    ASSERT_TRUE(mark);
    mark->SetText(QStringLiteral("b [TotalPages#]"));
    EXPECT_TRUE(ExportTo(*r, &f));
    EXPECT_EQ(bText, QStringLiteral("b 2"));
    EXPECT_NEAR(double(aLeft), 10 + 10 * 3.77953, 1e-9);
    EXPECT_NEAR(double(aTop), 10 + 10 * 3.77953, 1e-9);
    EXPECT_NEAR(double(bgLeft), 10 * 3.77953, 1e-9);
    EXPECT_NEAR(double(bgWidth), 190 * 3.77953, 1e-6);
    // The preview's pages keep their mark and their origin.
    auto* b = dynamic_cast<report::TrpMemoView*>(r->PreviewPages().Page(1)->FindObject("B1"));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Text(), QStringLiteral("b [TotalPages#]"));
    EXPECT_EQ(r->PreviewPages().Page(1)->Left(), 0);
}

TEST(ExportLoop, MirrorMarginsSwapOnOddIndexes) {
    auto r = NewReport();
    for (int i = 0; i < 2; ++i) {
        report::TrpReportPage* page = r->AddPage();
        page->SetLeftMargin(20);
        page->SetRightMargin(5);
        page->SetMirrorMargins(true);
        AddMemo(*page, QStringLiteral("M%1").arg(i), "m", 0, 0, 10, 10);
    }
    ASSERT_TRUE(r->Prepare());
    RecordingFilter f;
    f.SetShowDialog(false);
    std::vector<double> lefts;
    f.OnObject = [&](const report::TrpPlacedObject& o) {
        if (o.View && o.View->Name().startsWith('M'))
            lefts.push_back(double(o.Left));
    };
    EXPECT_TRUE(ExportTo(*r, &f));
    ASSERT_EQ(lefts.size(), 2u);
    EXPECT_NEAR(lefts[0], 20 * 3.77953, 1e-9);
    EXPECT_NEAR(lefts[1], 5 * 3.77953, 1e-9);
}

TEST(ExportLoop, OutputsLeaveOutWhatTheyDoNotShow) {
    // A memo not printed and a hidden one on each of two pages.
    auto r = NewReport();
    for (int i = 0; i < 2; ++i) {
        report::TrpReportPage* page = r->AddPage();
        AddMemo(*page, QStringLiteral("N%1").arg(i), "n", 0, 0, 10, 10)->SetPrintable(false);
        AddMemo(*page, QStringLiteral("H%1").arg(i), "h", 0, 20, 10, 10)->SetVisible(false);
    }
    ASSERT_TRUE(r->Prepare());
    using report::TrpOutput;
    const struct {
        TrpOutput Output;
        bool ExportNotPrintable;
        QStringList Objects;
    } cases[] = {
        {TrpOutput::TableExport, false, {"N0", "N1"}},
        {TrpOutput::DocumentExport, false, {}},
        {TrpOutput::DocumentExport, true, {"N0", "N1"}},
        {TrpOutput::ImageExport, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Output));
        RecordingFilter f;
        f.SetShowDialog(false);
        f.Kind = c.Output;
        f.SetExportNotPrintable(c.ExportNotPrintable);
        QStringList objects;
        f.OnObject = [&](const report::TrpPlacedObject& o) {
            if (o.View)
                objects << o.View->Name();
        };
        EXPECT_TRUE(ExportTo(*r, &f));
        EXPECT_EQ(objects, c.Objects);
    }
}

// A view that records what the job shows; the test presses its Cancel.
struct RecordingView : exports::TrpProgressView {
    explicit RecordingView(QStringList& log) : Log(log) {}
    void Show(const exports::TrpProgress&, bool bar, bool cancel) override {
        Log << QStringLiteral("show bar=%1 cancel=%2").arg(int(bar)).arg(int(cancel));
    }
    void Update(const exports::TrpProgress& p) override { Log << p.Message(); }
    void Hide() override { Log << QStringLiteral("hide"); }
    QStringList& Log;
};

TEST(ExportLoop, ProgressCancelStopsTheExport) {
    auto r = PreparedReport(3);
    r->ShowProgress = true;
    RecordingFilter f;
    f.SetShowDialog(false);
    int progressSteps = 0;
    r->OnProgress = [&](report::TrpReport*, report::TrpProgressKind kind, int) {
        EXPECT_EQ(kind, report::TrpProgressKind::Exporting);
        ++progressSteps;
    };
    QStringList shown;
    exports::TrpProgress* job = nullptr;
    exports::SetProgressViewFactory([&](exports::TrpProgress& j) {
        job = &j;
        return std::make_unique<RecordingView>(shown);
    });
    f.OnObject = [&](const report::TrpPlacedObject& o) {
        if (o.View && o.View->Name() == u"A0" && job)
            job->Terminate(); // the user presses Cancel
    };
    EXPECT_TRUE(ExportTo(*r, &f));
    exports::SetProgressViewFactory(nullptr);
    EXPECT_EQ(progressSteps, 1);
    EXPECT_FALSE(f.Calls.contains("StartPage:1"));
    EXPECT_TRUE(r->Terminated());
    EXPECT_EQ(shown, QStringList({"show bar=0 cancel=1", "", "Экспорт страницы 1", "hide"}));
}

TEST(ExportFilters, RegisterUnlessSubordinate) {
    const size_t before = exports::ExportFilters().size();
    {
        RecordingFilter a;
        RecordingFilter sub(true);
        EXPECT_EQ(exports::ExportFilters().size(), before + 1);
        EXPECT_EQ(exports::ExportFilters().back(), &a);
        EXPECT_TRUE(sub.Subordinate());
    }
    EXPECT_EQ(exports::ExportFilters().size(), before);
}

TEST(ExportFilters, DefaultPathGoesBeforeABareName) {
    RecordingFilter f;
    f.SetFileName("OSAGO.csv");
    EXPECT_EQ(f.TargetFileName(), "OSAGO.csv");
    f.SetDefaultPath("/tmp/out");
    EXPECT_EQ(f.TargetFileName(), "/tmp/out/OSAGO.csv");
    f.SetFileName("/home/x/OSAGO.csv");
    EXPECT_EQ(f.TargetFileName(), "/home/x/OSAGO.csv");
}

} // namespace

namespace {

TEST(ExportLoop, FiltersGetTheHighlightFontAndTheMeasuredAutoWidth) {
    auto r = NewReport();
    report::TrpReportPage* page = r->AddPage();
    AddMemo(*page, "Lit", "warning", 0, 0, 300, 20);
    AddMemo(*page, "Auto", "a rather long line of text", 0, 30, 5, 20)->SetAutoWidth(true);
    ASSERT_TRUE(r->Prepare());
    auto* lit = dynamic_cast<report::TrpMemoView*>(r->PreviewPages().Page(0)->FindObject("Lit"));
    ASSERT_TRUE(lit);
    lit->HighlightRef().Active = true;
    lit->HighlightRef().Font.Color = report::clRed;
    lit->HighlightRef().Font.Style = report::fsBold;
    RecordingFilter f;
    f.SetShowDialog(false);
    report::TrpFont litFont;
    Extended width = 0;
    f.OnObject = [&](const report::TrpPlacedObject& o) {
        const QString name = o.View ? o.View->Name() : QString();
        if (name == u"Lit")
            litFont = o.Font;
        if (name == u"Auto")
            width = o.Width;
    };
    EXPECT_TRUE(ExportTo(*r, &f));
    EXPECT_EQ(litFont.Color, report::clRed);
    EXPECT_EQ(litFont.Style, report::fsBold);
    EXPECT_GT(width, 100);
    EXPECT_LT(width, 300);
}

} // namespace
