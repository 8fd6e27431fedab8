// The page list a user types for printing and exporting.
#include "report/PageList.h"
#include "report/Report.h"

#include <gtest/gtest.h>

using report::ParsePageNumbers;

namespace {

struct ListCase {
    const char* Text;
    int Count;
    std::vector<int> Pages;
};

class PageListSyntax : public ::testing::TestWithParam<ListCase> {};

TEST_P(PageListSyntax, SelectsPages) {
    const ListCase& c = GetParam();
    EXPECT_EQ(ParsePageNumbers(QString::fromUtf8(c.Text), c.Count), c.Pages) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(Table, PageListSyntax,
                         ::testing::Values(ListCase{"", 5, {}}, ListCase{"   ", 5, {}}, ListCase{"3", 5, {3}},
                                           ListCase{"1,3", 5, {1, 3}}, ListCase{" 1 , 3 - 4 ", 5, {1, 3, 4}},
                                           ListCase{"2-4", 5, {2, 3, 4}}, ListCase{"5-", 7, {5, 6, 7}},
                                           ListCase{"1-", 1, {1}}, ListCase{"4-2", 5, {}},
                                           ListCase{"0,6,2", 5, {2}}, ListCase{"4-9", 5, {4, 5}},
                                           ListCase{"2,2,1-2", 5, {2, 2, 1, 2}}, ListCase{"9", 5, {}}));

class PageListErrors : public ::testing::TestWithParam<const char*> {};

TEST_P(PageListErrors, NamesTheBadItem) {
    const QString text = QString::fromUtf8(GetParam());
    try {
        ParsePageNumbers(text, 5);
        FAIL() << "accepted " << GetParam();
    } catch (const report::TrpReportError& e) {
        EXPECT_TRUE(e.Message().startsWith(QLatin1Char('\''))) << e.Message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PageListErrors,
                         ::testing::Values("-3", "1,,2", "a", "1-b", ",", "1,", "2--3", "+1", "1.5",
                                           "1-2-3"));

TEST(PageListErrors, MessageQuotesTheItem) {
    try {
        ParsePageNumbers(QStringLiteral("1,x7,3"), 5);
        FAIL();
    } catch (const report::TrpReportError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("'x7'"))) << e.Message().toStdString();
    }
}

} // namespace
