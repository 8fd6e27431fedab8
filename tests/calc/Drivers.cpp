#include <gtest/gtest.h>

#include "calc/Calculator.h"

using namespace calc;

namespace {
const std::string kPrefix = "Коэффициент возраста и стажа водителя (КВС) :   ";

std::vector<std::string> Labels(const Calculator& c, int n) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back(c.Driver(i).Label.substr(kPrefix.size()));
    return out;
}
} // namespace

TEST(Drivers, CategoriesFollowTheTariffDecree) {
    // Under 22 with more than two years of driving is 1.15, over 22 with up to two years 1.2.
    const struct {
        int item;
        int tag;
        const char* label;
        double kvs;
    } cases[] = {{0, 130, "1,3", 1.3}, {1, 115, "1,15", 1.15}, {2, 120, "1,2", 1.2}, {3, 100, "1", 1.0}};
    for (const auto& k : cases) {
        Calculator c;
        c.SelectDriverCategory(0, k.item);
        EXPECT_EQ(c.Driver(0).Tag, k.tag);
        EXPECT_EQ(c.Driver(0).Label, kPrefix + k.label);
        EXPECT_EQ(c.Pages(PageId::pAge).Tag, k.tag);
        EXPECT_EQ(c.State().KVS, k.kvs);
    }
}

TEST(Drivers, MaximumOverEnabledListsOnly) {
    Calculator c;
    c.SelectDriverCount(3);
    c.SelectDriverCategory(0, 3);
    c.SelectDriverCategory(1, 0);
    c.SelectDriverCategory(2, 2);
    EXPECT_EQ(c.Pages(PageId::pAge).Tag, 130);
    EXPECT_EQ(c.State().KVS, 1.3);
    EXPECT_EQ(Labels(c, 3), (std::vector<std::string>{"1", "1,3", "1,2"}));

    c.SelectDriverCount(1);
    EXPECT_FALSE(c.Driver(1).Enabled);
    EXPECT_FALSE(c.Driver(2).Enabled);
    EXPECT_EQ(c.Pages(PageId::pAge).Tag, 100);
    EXPECT_EQ(c.State().KVS, 1.0);
    EXPECT_EQ(Labels(c, 3), (std::vector<std::string>{"1", "1,3", "1,2"})); // surplus lists keep their texts

    c.SelectDriverCount(3);
    EXPECT_EQ(c.State().KVS, 1.3);
    c.SelectDriverCount(2);
    EXPECT_EQ(c.State().KVS, 1.3);
    EXPECT_TRUE(c.Driver(1).Enabled);
    EXPECT_FALSE(c.Driver(4).Enabled);
}

TEST(Drivers, CountClicksDoNotRewriteLabels) {
    Calculator c;
    c.SelectDriverCategory(0, 1);
    c.SetRegionalSeparators({".", ","});
    c.SelectDriverCount(4);
    EXPECT_EQ(c.Driver(0).Label, kPrefix + "1,15"); // still the comma of the last list change
    c.SelectDriverCategory(3, 1);
    EXPECT_EQ(c.Driver(0).Label, kPrefix + "1.15");
    EXPECT_EQ(c.Driver(3).Label, kPrefix + "1.15");
}

TEST(Drivers, AnswersPersistWhileThePageIsDisabled) {
    Calculator c;
    c.SelectDriverCategory(0, 0);
    c.SelectOwner(1);
    EXPECT_FALSE(c.PageEnabled(PageId::pAge));
    EXPECT_EQ(c.State().KVS, 1.0);
    c.SelectDriverCategory(0, 2); // has no effect on KVS while disabled, but is kept
    EXPECT_EQ(c.State().KVS, 1.0);
    c.SelectOwner(0);
    EXPECT_EQ(c.State().KVS, 1.2);
    c.rbTypeCarClick(rbTypeTruckPrizep);
    EXPECT_EQ(c.State().KVS, 1.0);
}

TEST(Drivers, ListWithoutSelectionKeepsItsTag) {
    Calculator c;
    c.SelectDriverCategory(0, 0);
    c.SelectDriverCategory(0, -1);
    EXPECT_EQ(c.Driver(0).Tag, 130);
    EXPECT_EQ(c.State().KVS, 1.3);
}
