#include <gtest/gtest.h>

#include "calc/Calculator.h"

using namespace calc;

namespace {
const char* const NBSP = "\u00A0";
std::string N(const std::string& s) { // the test texts write a plain blank for the thousands separator
    std::string out;
    for (char ch : s)
        out += ch == ' ' ? std::string(NBSP) : std::string(1, ch);
    return out;
}

struct Expectation {
    const char* formula;
    const char* hidden; // codes whose value is hidden, blank separated
    const char* premium;
};

void ExpectResult(Calculator& c, const Expectation& e) {
    const ResultTexts& r = c.pResultEnterPage();
    EXPECT_EQ(r.Formula, e.formula);
    const std::string hidden = std::string(" ") + e.hidden + " ";
    for (int code = 0; code < TariffCodeCount; ++code)
        EXPECT_EQ(r.Visible[code],
                  hidden.find(" " + std::string(TariffCodes[code]) + " ") == std::string::npos)
            << TariffCodes[code];
    EXPECT_EQ(r.Premium, N(e.premium) + " рублей");
}
} // namespace

TEST(ResultPage, DefaultAnswers) {
    Calculator c;
    ExpectResult(c, {"Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН", "КП", "3 960"});
    const auto& v = c.Result().Values;
    EXPECT_EQ(v[cTB], N("1 980"));
    EXPECT_EQ(v[cKT], "2,0");
    for (int code : {cKBM, cKO, cKVS, cKM, cKS, cKP, cKN})
        EXPECT_EQ(v[code], "1,0") << TariffCodes[code];
    EXPECT_EQ(c.Result().Label92, "Коэффициент срока страхования:");
}

TEST(ResultPage, WorkedExamples) {
    struct Case {
        const char* name;
        void (*answer)(Calculator&);
        Expectation expected;
    };
    const Case cases[] = {
        {"Saint Petersburg, class 4, driver over 22 with up to 2 years, 100-120 hp",
         [](Calculator& c) {
             c.rbHomeClick(1);
             c.rbClassMClick(5);
             c.SelectDriverCategory(0, 2);
             c.rbPowerClick(3);
         },
         {"Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН", "КП", "5 281,85"}},
        {"legal entity, lorry up to 16 t, Moscow, class 3",
         [](Calculator& c) {
             c.SelectOwner(1);
             c.rbTypeCarClick(rbTypeTrack16);
         },
         {"Т = ТБ*КТ*КБМ*КО*КН", "КВС КМ КС КП", "6 075"}},
        {"natural person, another foreign state, car, up to 15 days",
         [](Calculator& c) {
             c.SelectPlace(2);
             c.rbTimeClick(0);
         },
         {"Т = ТБ*КТ*КБМ*КВС*КО*КМ*КП*КН", "КС", "1 029,6"}},
        {"natural person on the way to registration, motorcycle",
         [](Calculator& c) {
             c.SelectPlace(3);
             c.rbTypeCarClick(rbTypeMoto);
         },
         {"Т = ТБ*КВС*КО*КП", "КТ КБМ КМ КС КН", "243"}},
        {"legal entity, trailer, Russia",
         [](Calculator& c) {
             c.SelectOwner(1);
             c.rbTypeCarClick(rbTypeCarPrizep);
         },
         {"Т = ТБ*КТ", "КБМ КО КВС КМ КС КП КН", "790"}},
        {"legal entity, Belarus, bus",
         [](Calculator& c) {
             c.SelectOwner(1);
             c.SelectPlace(1);
             c.rbTypeCarClick(rbTypeBus21);
             c.rbTimeClick(5);
         },
         {"Т = ТБ*КТ*КБМ*КВС*КО*КП*КН", "КМ КС", "1 316,25"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Calculator c;
        k.answer(c);
        ExpectResult(c, k.expected);
    }
}

TEST(ResultPage, ValueTextsOfTheSaintPetersburgCase) {
    Calculator c;
    c.rbHomeClick(1);
    c.rbClassMClick(5);
    c.SelectDriverCategory(0, 2);
    c.rbPowerClick(3);
    const auto& v = c.pResultEnterPage().Values;
    const std::array<std::string, 9> expected = {N("1 980"), "1,8", "0,95", "1,0", "1,2",
                                                 "1,3",      "1,0", "1,0",  "1,0"};
    for (int code = 0; code < TariffCodeCount; ++code)
        EXPECT_EQ(v[code], expected[code]) << TariffCodes[code];
}

TEST(ResultPage, TermRowCaptionOnTheWayToRegistration) {
    Calculator c;
    c.SelectPlace(3);
    EXPECT_EQ(c.pResultEnterPage().Label92, "Коэффициент срока страхования (до 20 дней вкл.):");
    EXPECT_EQ(c.Result().Values[cKP], "0,2");
    c.SelectPlace(0);
    EXPECT_EQ(c.pResultEnterPage().Label92, "Коэффициент срока страхования:");
}

TEST(ResultPage, EveryFactorOutsideTheFormulaIsOne) {
    // The premium is the product of all nine values; it equals the formula only if every
    // value the formula leaves out is 1.0, for any answers.
    for (int owner = 0; owner < 2; ++owner)
        for (int place = 0; place < 4; ++place)
            for (int vehicle = 0; vehicle < VehicleTypeCount; ++vehicle)
                for (bool limitNo : {false, true}) {
                    Calculator c;
                    c.rbHomeClick(3);
                    c.rbClassMClick(1);
                    c.rbLimitNoClick(limitNo ? rbLimitNo : rbLimit);
                    c.SelectDriverCategory(0, 1);
                    c.rbPowerClick(5);
                    c.rbPeriodClick(0);
                    c.rbTimeClick(3);
                    c.rbDopClick(1);
                    c.rbTypeCarClick(vehicle);
                    c.SelectOwner(owner);
                    c.SelectPlace(place);
                    const ResultTexts& r = c.pResultEnterPage();
                    const TariffState& s = c.State();
                    const double values[9] = {double(s.TB), s.KT, s.KBM, s.KO, s.KVS, s.KM, s.KS, s.KP, s.KN};
                    for (int code = 1; code < TariffCodeCount; ++code) {
                        if (!r.Visible[code]) {
                            EXPECT_EQ(values[code], 1.0)
                                << "F=" << owner << " P=" << place << " vehicle "
                                << VehicleTypes[vehicle].Control << " " << TariffCodes[code];
                        }
                    }
                    EXPECT_TRUE(r.Visible[cTB]);
                }
}

TEST(ResultPage, EnglishSeparators) {
    Calculator c({".", ","});
    c.SelectPlace(2);
    c.rbTimeClick(0);
    const ResultTexts& r = c.pResultEnterPage();
    EXPECT_EQ(r.Premium, "1,029.6 рублей");
    EXPECT_EQ(r.Values[cTB], "1,980");
    EXPECT_EQ(r.Values[cKVS], "1.3");
}

TEST(ResultPage, ComingBackAfterAChangeRecomputesEverything) {
    Calculator c;
    c.pResultEnterPage();
    c.SelectOwner(1);
    c.rbTypeCarClick(rbTypeTruckPrizep);
    const ResultTexts& r = c.pResultEnterPage();
    EXPECT_EQ(r.Formula, "Т = ТБ*КТ");
    EXPECT_EQ(r.Premium, N("1 620") + " рублей");
    EXPECT_EQ(r.Values[cTB], "810");
}
