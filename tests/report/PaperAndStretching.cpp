// Paper and margin rules, stretching memos, two-pass page counts, progress texts.
#include "ReportFixtures.h"

#include "report/DrawText.h"
#include "report/EngineTexts.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

TEST(Paper, SizesOrientationAndMargins) {
    TrpReportPage page;
    page.SetPaperSize(TrpReportPage::A4);
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(page.Width(), 794);
    EXPECT_EQ(page.Height(), 1123);
    page.SetLeftMargin(1);
    page.SetRightMargin(2);
    page.SetTopMargin(3);
    page.SetBottomMargin(4);
    page.SetOrientation(poLandscape);
    EXPECT_EQ(page.PaperWidth(), 297);
    EXPECT_EQ(page.PaperHeight(), 210);
    EXPECT_EQ(page.Width(), 1123);
    EXPECT_EQ(
        std::vector<Extended>({page.LeftMargin(), page.RightMargin(), page.TopMargin(), page.BottomMargin()}),
        std::vector<Extended>({3, 4, 2, 1}));
    page.SetOrientation(poPortrait);
    EXPECT_EQ(
        std::vector<Extended>({page.LeftMargin(), page.RightMargin(), page.TopMargin(), page.BottomMargin()}),
        std::vector<Extended>({1, 2, 3, 4}));
    // A paper code in landscape loads the swapped size; a direct size makes a user paper.
    page.SetOrientation(poLandscape);
    page.SetPaperSize(11); // A5
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(page.PaperHeight(), 148);
    page.SetPaperWidth(100.5L);
    EXPECT_EQ(page.PaperSize(), TrpReportPage::UserPaperSize);
    EXPECT_EQ(page.Width(), 380); // round(100.5 * 3.77953)
    page.SetColumns(2);
    EXPECT_NEAR(double(page.ColumnWidth()), (100.5 - 3 - 4) / 2.0, 1e-12);
    EXPECT_EQ(page.ColumnPositions().size(), 2);
}

TEST(Stretching, StretchingMemosGrowAndAutoWidthFollowsTheText) {
    auto r = reporttest::NewReport();
    TrpMemoView* tall = reporttest::AddMemo(*r, "Tall", "одна\r\nдве\r\nтри\r\nчетыре", 0, 0, 100, 10);
    tall->SetStretchMode(smActualHeight);
    TrpMemoView* wide = reporttest::AddMemo(*r, "Wide", "довольно длинная строка", 0, 100, 10, 20);
    wide->SetAutoWidth(true);
    TrpMemoView* fixed = reporttest::AddMemo(*r, "Fixed", "одна\r\nдве", 0, 200, 100, 10);
    ASSERT_TRUE(r->Prepare());
    TrpReportPage* page = r->PreviewPages().Page(0);
    EXPECT_GT(page->FindObject("Tall")->Height(), 4 * 13);
    EXPECT_GT(page->FindObject("Wide")->Width(), 100);
    EXPECT_EQ(page->FindObject("Fixed")->Height(), 10);
    EXPECT_EQ(tall->Height(), 10);
    EXPECT_EQ(wide->Width(), 10);
    (void)fixed;
}

TEST(Stretching, TwoPassesKnowThePageCountEarly) {
    auto r = reporttest::NewReport();
    reporttest::AddMemo(*r, "M", "[Page#] из [TotalPages#]");
    r->AddPage();
    r->EngineOptions.DoublePass = true;
    ASSERT_TRUE(r->Prepare());
    ASSERT_EQ(r->PreviewPages().Count(), 2);
    EXPECT_EQ(reporttest::PreparedText(*r, "M"), "1 из 2");
}

TEST(Stretching, ProgressTexts) {
    EXPECT_EQ(ProgressText(TrpProgressKind::Running, 3), "Готовится страница 3");
    EXPECT_EQ(ProgressText(TrpProgressKind::Running, 1, false), "Первый проход: страница 1");
    EXPECT_EQ(ProgressText(TrpProgressKind::Exporting, 2), "Экспорт страницы 2");
    EXPECT_EQ(ProgressText(TrpProgressKind::Printing, 7), "Печатается страница 7");
    EXPECT_EQ(rpGet("ProgressWait"), "Подождите, пожалуйста"); // the layout matrix's message
}

} // namespace
