#include <charconv>
#include <cmath>
#include <gtest/gtest.h>

#include "calc/ClassTable.h"
#include "calc/TariffTables.h"

using namespace calc;

TEST(ClassTable, AgreesWithTheClassOptions) {
    for (size_t i = 0; i < ClassTransitions.size(); ++i) {
        const ClassTransition& row = ClassTransitions[i];
        EXPECT_EQ(row.Class, ClassOptions[i].Caption);
        const std::string_view text = row.Coefficient; // with a point in any locale
        double coefficient = 0;
        std::from_chars(text.data(), text.data() + text.size(), coefficient);
        EXPECT_EQ(std::lround(coefficient * 100), ClassOptions[i].Tag) << row.Class;
    }
}

TEST(ClassTable, TransitionsMoveTheRightWay) {
    auto rank = [](std::string_view cls) {
        for (size_t i = 0; i < ClassOptions.size(); ++i)
            if (ClassOptions[i].Caption == cls)
                return int(i);
        ADD_FAILURE() << "unknown class " << cls;
        return -1;
    };
    for (const ClassTransition& row : ClassTransitions) {
        // No payouts never lowers the class; each further payout never raises it; four give М.
        EXPECT_GE(rank(row.NextClass[0]), rank(row.Class));
        for (int k = 1; k < 5; ++k)
            EXPECT_LE(rank(row.NextClass[k]), rank(row.NextClass[k - 1])) << row.Class << " " << k;
        EXPECT_EQ(row.NextClass[4], "М");
    }
    EXPECT_EQ(ClassTransitions[14].NextClass[0], "13");
}
