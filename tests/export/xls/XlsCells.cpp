// What the Excel export makes of grid cells before the office sees them.
#include "export/xls/XlsCells.h"

#include <gtest/gtest.h>

using namespace exports;

TEST(XlsCells, CellTextLosesCarriageReturnsAndTrailingLineEnds) {
    EXPECT_EQ(CleanCellText(QStringLiteral("a\r\n\r\n")), u"a");
    EXPECT_EQ(CleanCellText(QStringLiteral("a\r\nb")), u"a\nb");
    EXPECT_EQ(CleanCellText(QString(1000, u'x')).size(), 900);
    EXPECT_EQ(CleanCellText(QString()), QString());
}

TEST(XlsCells, NumberFormats) {
    const std::pair<const char*, const char*> formats[] = {
        {"%2.2n", "# ##0,00"}, {"%2.0f", "0,"}, {"%g", ""}, {"%3.3f", "0,000"}, {"%1.2d", "#,##"}, {"", ""}};
    for (const auto& [in, out] : formats)
        EXPECT_EQ(OleNumberFormat(QLatin1String(in)), QString::fromUtf8(out)) << in;
}

TEST(XlsCells, FastValues) {
    report::TrpFormat numeric{report::fkNumeric, QStringLiteral("%2.2n"), QStringLiteral(",")};
    const TrpFastValue n = FastCellValue(QStringLiteral("1 234,50"), numeric, false, QStringLiteral(" "));
    EXPECT_EQ(n.Value, u"1234.50");
    EXPECT_TRUE(n.HasFormat);
    EXPECT_EQ(n.Format, u"# ##0,00");
    // As text: the apostrophe and no number format.
    const TrpFastValue t = FastCellValue(QStringLiteral("1 234,50"), numeric, true, QStringLiteral(" "));
    EXPECT_EQ(t.Value, u"'1 234,50");
    EXPECT_FALSE(t.HasFormat);
    EXPECT_EQ(FastCellValue(QStringLiteral("abc"), {}, false, QStringLiteral(" ")).Value, u"'abc");
    const report::TrpFormat date{report::fkDateTime, {}, {}};
    EXPECT_EQ(FastCellValue(QStringLiteral("01.01.2006"), date, false, QStringLiteral(" ")).Value,
              u"01.01.2006");
    const report::TrpFormat bare{report::fkNumeric, {}, QStringLiteral(",")};
    EXPECT_FALSE(FastCellValue(QStringLiteral("2,5"), bare, false, QStringLiteral(" ")).HasFormat);
}

TEST(XlsCells, RowHeightPlan) {
    EXPECT_EQ(QuarterPoints(12.1), 12);
    EXPECT_EQ(QuarterPoints(12.125), 12); // a half to the even number of quarters
    EXPECT_EQ(QuarterPoints(12.375), 12.5);
    // Three rows of 12, 12 and 15 points.
    TrpRowPlan plan = PlanRowHeights({12, 12, 15});
    EXPECT_EQ(plan.Heights, (std::vector<double>{12, 15}));
    EXPECT_EQ(plan.MostFrequent, 0);
    EXPECT_EQ(plan.Runs, (std::vector<TrpUnionEntry>{{"A1:A2", 0}, {"A3:A3", 1}}));
    // A single-row run keeps the one-part address; a tie keeps the height that led first.
    plan = PlanRowHeights({15, 12, 12, 15});
    EXPECT_EQ(plan.MostFrequent, 1);
    EXPECT_EQ(plan.Runs, (std::vector<TrpUnionEntry>{{"A4:A4", 0}, {"A1", 0}, {"A2:A3", 1}}));
}
