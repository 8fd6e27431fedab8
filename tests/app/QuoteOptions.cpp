#include <gtest/gtest.h>

#include "app/cli/QuoteOptions.h"

using cli::ParseQuoteOptions;
using cli::UsageError;

TEST(QuoteOptions, BracketsOfPowerSeasonAndTerm) {
    const std::pair<const char*, int> power[] = {{"0.5", 0},  {"50", 0},  {"50.5", 1},   {"70", 1},
                                                 {"70,1", 2}, {"100", 2}, {"100.01", 3}, {"120", 3},
                                                 {"150", 4},  {"151", 5}, {"1000", 5}};
    for (auto [hp, bracket] : power)
        EXPECT_EQ(*ParseQuoteOptions({"--power", hp}).Power, bracket) << hp;
    const std::pair<const char*, int> season[] = {{"6", 0},  {"7", 1},  {"8", 2}, {"9", 3},
                                                  {"10", 4}, {"11", 4}, {"12", 4}};
    for (auto [months, option] : season)
        EXPECT_EQ(*ParseQuoteOptions({"--season=" + std::string(months)}).Season, option) << months;
    for (auto [text, value] : std::initializer_list<std::pair<const char*, double>>{
             {"70", 70}, {"70,5", 70.5}, {"70.5", 70.5}, {".5", 0.5}, {"5.", 5}, {"007", 7}})
        EXPECT_EQ(cli::ParsePlainNumber(text), value) << text;
    EXPECT_EQ(*ParseQuoteOptions({"--term", "15d"}).Term, 0);
    EXPECT_EQ(*ParseQuoteOptions({"--term", "10m"}).Term, 10);
    EXPECT_EQ(*ParseQuoteOptions({"--class", "M"}).Class, 0);
    EXPECT_EQ(*ParseQuoteOptions({"--class", "М"}).Class, 0); // Cyrillic Em
    EXPECT_EQ(*ParseQuoteOptions({"--class", "3"}).Class, 4);
    EXPECT_EQ(*ParseQuoteOptions({"--class", "13"}).Class, 14);
    EXPECT_EQ(*ParseQuoteOptions({"--drivers", "unlimited"}).People, calc::rbLimitNo);
    EXPECT_EQ(ParseQuoteOptions({"--driver", "0", "--driver=3", "--driver", "2"}).Drivers,
              (std::vector<int>{0, 3, 2}));
}

TEST(QuoteOptions, BadValuesNameTheOptionAndWhatItAccepts) {
    struct Case {
        std::vector<std::string> args;
        const char* mentions;
    };
    const Case cases[] = {
        {{"--owner", "company"}, "--owner: unknown value 'company'; accepted values: natural|legal"},
        {{"--vehicle", "boat"}, "accepted values: car|taxi|bus-taxi"},
        {{"--class", "14"}, "--class: unknown value '14'; accepted values: M|0..13"},
        {{"--class", "-1"}, "--class"},
        {{"--power", "0"}, "--power"},
        {{"--power", "-5"}, "--power"},
        {{"--power", "abc"}, "'abc' is not a number"},
        {{"--power", "100hp"}, "'100hp' is not a number"},
        {{"--season", "5"}, "from 6 to 12"},
        {{"--season", "13"}, "from 6 to 12"},
        {{"--season", "7.5"}, "from 6 to 12"},
        // Only plain decimal text is a number, and the message quotes it as typed.
        {{"--power", "0x40"}, "--power: '0x40' is not a number"},
        {{"--power", " 50"}, "' 50' is not a number"},
        {{"--power", "50 "}, "'50 ' is not a number"},
        {{"--power", "+50"}, "'+50' is not a number"},
        {{"--power", "1,5,5"}, "'1,5,5' is not a number"},
        {{"--power", ","}, "',' is not a number"},
        {{"--power", "inf"}, "'inf' is not a number"},
        {{"--season", "1e1"}, "--season: '1e1' is not a number"},
        {{"--season", "7,5"}, "'7,5' is not a whole number"},
        {{"--json=1"}, "--json takes no value"},
        {{"--help=yes"}, "--help takes no value"},
        {{"--term", "11m"}, "--term"},
        {{"--violations", "maybe"}, "yes"},
        {{"--driver", "1", "--driver", "1", "--driver", "1", "--driver", "1", "--driver", "1", "--driver",
          "1"},
         "at most 5 drivers"},
        {{"--driver", "4"}, "0|1|2|3"},
        {{"--territory"}, "a value is missing"},
        {{"--colour", "red"}, "unknown option '--colour'"},
        {{"legal"}, "unexpected argument 'legal'"},
    };
    for (const Case& c : cases) {
        try {
            ParseQuoteOptions(c.args);
            ADD_FAILURE() << "accepted: " << c.args[0];
        } catch (const UsageError& e) {
            EXPECT_NE(e.Message.find(c.mentions), std::string::npos) << e.Message;
        }
    }
}

TEST(QuoteOptions, AnswersOnPagesThatDoNotApplyAreNoted) {
    calc::Calculator c;
    const auto notes =
        cli::ApplyAnswers(ParseQuoteOptions({"--place", "foreign", "--territory", "spb", "--term", "2m"}), c);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("--territory"), std::string::npos);
    EXPECT_EQ(c.State().KP, 0.4);
    EXPECT_EQ(c.State().KT, 2.0);
}
