// Conversions of script values.

#include "script/Script.h"

#include <gtest/gtest.h>

using namespace script;

namespace {

TEST(Values, FloatsAsShortestText) {
    const struct {
        long double Value;
        const char* Text;
    } cases[] = {
        {0.1L, "0.1"},
        {(long double)0.1, "0.1"}, // a double widened keeps its short form
        {100.0L, "100"},
        {2.5L, "2.5"},
        {-0.0L, "0"},
        {1e20L, "1E20"},
        {1.5e-7L, "1.5E-7"},
        {0.00001L, "0.00001"},
        {123456789012345678.0L, "123456789012345678"},
        {1.0L / 3, "0.333333333333333333"},
        {-2.0L / 3, "-0.666666666666666667"},
        {6075.0L, "6075"},
        {1e310L, "1E310"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Variant(c.Value).AsString(), c.Text);
}

TEST(Values, TextOfOtherKinds) {
    EXPECT_EQ(Variant().AsString(), "");
    EXPECT_EQ(Variant(true).AsString(), "True");
    EXPECT_EQ(Variant(false).AsString(), "False");
    EXPECT_EQ(Variant(std::int64_t(-42)).AsString(), "-42");
    EXPECT_EQ(Variant("Т = ТБ").AsString(), "Т = ТБ");
}

TEST(Values, NumbersFromText) {
    EXPECT_EQ(Variant(" 12 ").AsInteger(), 12);
    EXPECT_EQ(Variant("-$10").AsInteger(), -16);
    EXPECT_EQ(Variant("2.7").AsInteger(), 2);
    EXPECT_EQ(Variant(-2.7).AsInteger(), -2);
    EXPECT_DOUBLE_EQ(double(Variant("1,5").AsFloat()), 1.5);
    EXPECT_DOUBLE_EQ(double(Variant("2e3").AsFloat()), 2000);
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_EQ(Variant(true).AsInteger(), 1);
    for (const char* bad : {"", "abc", "1 2", "1.2.3", "--1", "inf", "nan", "1e99999"}) {
        EXPECT_THROW(Variant(bad).AsFloat(), RuntimeError) << bad;
        EXPECT_THROW(Variant(bad).AsInteger(), RuntimeError) << bad;
    }
    EXPECT_THROW(Variant(1e30).AsInteger(), RuntimeError);
    EXPECT_THROW(Variant("99999999999999999999").AsInteger(), RuntimeError);
}

TEST(Values, Booleans) {
    EXPECT_TRUE(Variant("true").AsBool());
    EXPECT_FALSE(Variant(" FALSE ").AsBool());
    EXPECT_TRUE(Variant(2).AsBool());
    EXPECT_FALSE(Variant(0.0).AsBool());
    EXPECT_FALSE(Variant().AsBool());
    EXPECT_THROW(Variant("yes").AsBool(), RuntimeError);
}

} // namespace
