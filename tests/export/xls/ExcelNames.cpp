// The wrapper's pure parts: addresses, clipping, limits, typed values and the grouping of
// unions, without the office.
#include "export/xls/ExcelNames.h"
#include "export/xls/ExcelUnions.h"

#include <gtest/gtest.h>

using namespace exports;

TEST(ExcelNames, ColumnAndCellNames) {
    const std::pair<int, const char*> columns[] = {{1, "A"},   {26, "Z"},   {27, "AA"}, {52, "AZ"},
                                                   {53, "BA"}, {255, "IU"}, {256, "IV"}};
    for (const auto& [n, name] : columns)
        EXPECT_EQ(ColumnName(n), QLatin1String(name)) << n;
    EXPECT_EQ(CellName(28, 7), u"AB7");
}

TEST(ExcelNames, SelectionIsClippedToTheSelectableColumns) {
    EXPECT_EQ(SelectionAddress(250, 1, 1, 10), u"IP1:IT1");
    EXPECT_EQ(SelectionAddress(1, 1, 3, 300), u"A1:IT3");
    EXPECT_EQ(SelectionAddress(2, 5, 2, 3), u"B5:D6");
    // Nothing to select: the current range stays.
    EXPECT_FALSE(SelectionAddress(256, 1, 1, 1));
    EXPECT_FALSE(SelectionAddress(1, 1, 0, 5));
    EXPECT_FALSE(SelectionAddress(1, 1, 5, 0));
}

TEST(ExcelNames, AddressesReadBack) {
    EXPECT_EQ(ParseAddress(QStringLiteral("B5:D6")), (TrpCellRect{2, 5, 4, 6}));
    EXPECT_EQ(ParseAddress(QStringLiteral("IV65536")), (TrpCellRect{256, 65536, 256, 65536}));
    EXPECT_EQ(ParseAddress(CellName(28, 7)), (TrpCellRect{28, 7, 28, 7}));
    for (const char* bad : {"", "B", "5", "B0", "b5", "B5:", "B5:C", "B-5", "ABCD1"})
        EXPECT_FALSE(ParseAddress(QLatin1String(bad))) << bad;
}

TEST(ExcelNames, WidthAndHeightLimits) {
    EXPECT_TRUE(ColumnWidthApplies(1, 10));
    EXPECT_TRUE(ColumnWidthApplies(255, 255.9));
    EXPECT_FALSE(ColumnWidthApplies(3, 256));
    EXPECT_FALSE(ColumnWidthApplies(256, 10));
    EXPECT_FALSE(ColumnWidthApplies(3, 0));
    EXPECT_EQ(CappedRowHeight(500), 409);
    EXPECT_EQ(CappedRowHeight(12.5), 12.5);
    EXPECT_FALSE(CappedRowHeight(0));
    EXPECT_FALSE(CappedRowHeight(-3));
}

TEST(ExcelNames, AssignedTextsBecomeTypedValues) {
    EXPECT_EQ(CellValueOf(QStringLiteral("1234.50")), TrpCellValue(1234.5));
    EXPECT_EQ(CellValueOf(QStringLiteral("-3")), TrpCellValue(-3.0));
    const char* texts[] = {"abc", "1 234,50", "2,0", "", "1.2.3", "12 рублей"};
    for (const char* t : texts)
        EXPECT_EQ(CellValueOf(QString::fromUtf8(t)), TrpCellValue(QString::fromUtf8(t))) << t;
    // The apostrophe keeps a number as text and is not part of it.
    EXPECT_EQ(CellValueOf(QStringLiteral("'1234.50")), TrpCellValue(QStringLiteral("1234.50")));
    EXPECT_EQ(CellValueOf(QStringLiteral("'abc")), TrpCellValue(QStringLiteral("abc")));
}

TEST(ExcelUnions, StyleUnionsStayWithin255Characters) {
    // 40 entries of one key, 9 characters each: 25 fit in 249 characters, 15 remain.
    std::vector<TrpUnionEntry> entries;
    for (int i = 0; i < 40; ++i)
        entries.push_back({QStringLiteral("A%1:B%2").arg(100 + i).arg(100 + i), 3});
    const std::vector<TrpUnionCall> calls = GroupUnions(entries, u';');
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Union.size(), 249);
    EXPECT_EQ(calls[0].Union.count(u';'), 24);
    EXPECT_EQ(calls[1].Union.count(u';'), 14);
    EXPECT_EQ(calls[0].Key, 3);
    EXPECT_TRUE(calls[1].Union.startsWith(u"A125:B125"));
}

TEST(ExcelUnions, KeysChangeStartNewUnions) {
    const std::vector<TrpUnionEntry> entries = {{"A1", 1}, {"B1", 1}, {"C1", 2}, {"D1", 1}};
    const std::vector<TrpUnionCall> expected = {{"A1,B1", 1}, {"C1", 2}, {"D1", 1}};
    EXPECT_EQ(GroupUnions(entries, u','), expected);
    EXPECT_TRUE(GroupUnions({}, u',').empty());
    // Ordered by key on insertion, so that equal keys meet.
    std::vector<TrpUnionEntry> list;
    for (const TrpUnionEntry& e : entries)
        InsertByKey(list, e);
    EXPECT_EQ(GroupUnions(list, u',').size(), 2u);
}

TEST(ExcelUnions, NumberFormatsGroupOnlyNeighbours) {
    const QStringList entries = {"F=A1", "F=A2", "G=A3", "F=A4"};
    const std::vector<TrpFormatCall> expected = {{"F", "A1;A2"}, {"G", "A3"}, {"F", "A4"}};
    EXPECT_EQ(GroupNumberFormats(entries, u';'), expected);
    // An empty format is listed and applied like any other.
    EXPECT_EQ(GroupNumberFormats({"=B2"}, u';'), (std::vector<TrpFormatCall>{{"", "B2"}}));
}

TEST(ExcelUnions, RowRunsOfTheMostFrequentHeightAreSkipped) {
    const std::vector<TrpUnionEntry> runs = {
        {"A1:A2", 0}, {"A5:A6", 0}, {"A3:A3", 1}, {"A7:A9", 1}, {"A4", 2}};
    const std::vector<TrpUnionCall> expected = {{"A3:A3;A7:A9", 1}, {"A4", 2}};
    EXPECT_EQ(GroupRowRuns(runs, 0), expected);
    EXPECT_EQ(GroupRowRuns(runs, 1), (std::vector<TrpUnionCall>{{"A1:A2;A5:A6", 0}, {"A4", 2}}));
}
