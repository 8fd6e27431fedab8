// Which answer pages apply and which value each coefficient takes, checked against the
// tariff rules written out as tables: owner kind x registration place x vehicle group.
#include <algorithm>
#include <charconv>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

#include "calc/Calculator.h"

using namespace calc;

namespace {

// Vehicle groups by a representative vehicle type.
struct GroupCase {
    const char* name;
    int vehicle;
};
const GroupCase kGroups[] = {{"car", rbTypeCar}, {"other", rbTypeBus21}, {"trailer", rbTypeTruckPrizep}};

bool GroupListed(const std::string& cell, const std::string& group, bool limitNo) {
    if (cell == "all")
        return true;
    if (cell == "none")
        return false;
    std::string groups = cell.substr(0, cell.find(';'));
    const bool limited = cell.find("limited") != std::string::npos;
    if (limited && limitNo)
        return false;
    std::stringstream ss(groups);
    for (std::string g; std::getline(ss, g, ',');)
        if (g == group)
            return true;
    return false;
}

// Pages enabled by owner and place; "limited" means only while drivers are limited.
struct PagesRow {
    int F, P;
    const char* cells[8]; // pHome pClass pPeople pAge pPower pPeriod pTime pDop
};
const PagesRow kPagesEnabled[] = {
    {0, 0, {"all", "car,other", "car,other", "car,other;limited", "car", "all", "none", "car,other"}},
    {0, 1, {"none", "none", "none", "none", "car", "none", "all", "car,other"}},
    {0, 2, {"none", "none", "none", "none", "car", "none", "all", "car,other"}},
    {0, 3, {"none", "none", "car,other", "car,other;limited", "car", "none", "none", "none"}},
    {1, 0, {"all", "car,other", "none", "none", "car", "none", "none", "car,other"}},
    {1, 1, {"none", "none", "none", "none", "car", "none", "all", "car,other"}},
    {1, 2, {"none", "none", "none", "none", "car", "none", "all", "car,other"}},
    {1, 3, {"none", "none", "none", "none", "car", "none", "none", "none"}},
};
const PageId kAnswerPages[8] = {PageId::pHome,  PageId::pClass,  PageId::pPeople, PageId::pAge,
                                PageId::pPower, PageId::pPeriod, PageId::pTime,   PageId::pDop};

// Values by owner and place. Marks: (t) 1.0 for a trailer, (u) 1.0 with unlimited drivers,
// (m) 1.0 unless a passenger car.
struct ValuesRow {
    int F, P;
    const char* cells[8]; // KT KBM KO KVS KM KS KP KN
};
const ValuesRow kValues[] = {
    {0,
     0,
     {"territory", "class(t)", "drivers(t)", "age(t)(u)", "power(m)", "season", "1.0", "violations(t)"}},
    {0, 1, {"1.0", "1.0", "1.0", "1.0", "power(m)", "1.0", "term", "violations(t)"}},
    {0, 2, {"2.0", "1.0", "1.0", "1.3(t)", "power(m)", "1.0", "term", "violations(t)"}},
    {0, 3, {"1.0", "1.0", "drivers(t)", "age(t)(u)", "power(m)", "1.0", "0.2", "1.0"}},
    {1, 0, {"territory", "class(t)", "1.5(t)", "1.0", "power(m)", "1.0", "1.0", "violations(t)"}},
    {1, 1, {"1.0", "1.0", "1.0", "1.0", "power(m)", "1.0", "term", "violations(t)"}},
    {1, 2, {"2.0", "1.0", "1.5(t)", "1.0", "power(m)", "1.0", "term", "violations(t)"}},
    {1, 3, {"1.0", "1.0", "1.5(t)", "1.0", "power(m)", "1.0", "0.2", "1.0"}},
};

// Distinct answers on every page, so a value taken from the wrong page shows.
void AnswerEverything(Calculator& c, bool limitNo) {
    c.rbHomeClick(2);   // Moscow region: 1.7
    c.rbClassMClick(2); // class 1: 1.55
    c.rbLimitNoClick(limitNo ? rbLimitNo : rbLimit);
    c.SelectDriverCount(2);
    c.SelectDriverCategory(1, 2); // over 22, up to 2 years: 1.2
    c.rbPowerClick(1);            // 50 to 70 hp: 0.7
    c.rbPeriodClick(2);           // 8 months: 0.9
    c.rbTimeClick(2);             // 2 months: 0.4
    c.rbDopClick(1);              // violations: 1.5
}

double Expected(const std::string& cell, bool trailer, bool car, bool limitNo) {
    if ((cell.find("(t)") != std::string::npos && trailer) ||
        (cell.find("(u)") != std::string::npos && limitNo) || (cell.find("(m)") != std::string::npos && !car))
        return 1.0;
    const std::string name = cell.substr(0, cell.find('('));
    if (name == "territory")
        return 1.7;
    if (name == "class")
        return 1.55;
    if (name == "drivers")
        return limitNo ? 1.5 : 1.0;
    if (name == "age")
        return 1.2;
    if (name == "power")
        return 0.7;
    if (name == "season")
        return 0.9;
    if (name == "term")
        return 0.4;
    if (name == "violations")
        return 1.5;
    double value = 0; // the tables' texts have a point in any locale
    std::from_chars(name.data(), name.data() + name.size(), value);
    return value;
}

// A case of the tables: distinct answers on every page, then the vehicle, owner and place.
Calculator Answered(int owner, int place, int vehicle, bool limitNo) {
    Calculator c;
    AnswerEverything(c, limitNo);
    c.rbTypeCarClick(vehicle);
    c.SelectOwner(owner);
    c.SelectPlace(place);
    return c;
}

std::array<double, 8> Coefficients(const TariffState& s) {
    return {s.KT, s.KBM, s.KO, s.KVS, s.KM, s.KS, s.KP, s.KN};
}

} // namespace

TEST(Resolution, PagesEnabledByOwnerPlaceAndGroup) {
    for (const PagesRow& row : kPagesEnabled)
        for (const GroupCase& g : kGroups)
            for (bool limitNo : {false, true}) {
                const Calculator c = Answered(row.F, row.P, g.vehicle, limitNo);
                for (int i = 0; i < 8; ++i) {
                    SCOPED_TRACE(testing::Message() << "F=" << row.F << " P=" << row.P << " " << g.name
                                                    << (limitNo ? " unlimited " : " limited ")
                                                    << PageNames[int(kAnswerPages[i])]);
                    EXPECT_EQ(c.PageEnabled(kAnswerPages[i]), GroupListed(row.cells[i], g.name, limitNo));
                }
                for (PageId always : {PageId::pWelcome, PageId::pHolder, PageId::pType, PageId::pResult})
                    EXPECT_TRUE(c.PageEnabled(always));
            }
}

TEST(Resolution, ValuesByOwnerPlaceAndGroup) {
    for (const ValuesRow& row : kValues)
        for (const GroupCase& g : kGroups)
            for (bool limitNo : {false, true}) {
                const Calculator c = Answered(row.F, row.P, g.vehicle, limitNo);
                const auto actual = Coefficients(c.State());
                const bool trailer = std::string(g.name) == "trailer";
                const bool car = std::string(g.name) == "car";
                for (int i = 0; i < 8; ++i) {
                    SCOPED_TRACE(testing::Message() << "F=" << row.F << " P=" << row.P << " " << g.name
                                                    << (limitNo ? " unlimited" : " limited") << " value " << i
                                                    << " (" << row.cells[i] << ")");
                    EXPECT_EQ(actual[i], Expected(row.cells[i], trailer, car, limitNo));
                }
            }
}

TEST(Resolution, StartStateMatchesTheDefaultAnswers) {
    Calculator c;
    const TariffState start = c.State();
    c.RecalcCoefficients();
    EXPECT_EQ(start.TB, 1980);
    EXPECT_EQ(Coefficients(start), Coefficients(c.State()));
    EXPECT_EQ(start.KT, 2.0);
    for (PageId p : kAnswerPages)
        EXPECT_EQ(c.PageEnabled(p), p != PageId::pTime);
}

TEST(Resolution, OutcomeDoesNotDependOnTheOrderOfAnswers) {
    const std::vector<std::function<void(Calculator&)>> answers = {
        [](Calculator& c) { c.SelectOwner(1); },
        [](Calculator& c) { c.SelectPlace(0); },
        [](Calculator& c) { c.rbTypeCarClick(rbTypeCar); },
        [](Calculator& c) { c.rbHomeClick(4); },
        [](Calculator& c) { c.rbClassMClick(0); },
        [](Calculator& c) { c.rbPowerClick(5); },
        [](Calculator& c) { c.rbDopClick(1); },
        [](Calculator& c) { c.rbPeriodClick(0); },
    };
    std::vector<size_t> order(answers.size());
    std::iota(order.begin(), order.end(), 0);
    Calculator reference;
    for (auto& a : answers)
        a(reference);
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        std::shuffle(order.begin(), order.end(), rng);
        Calculator c;
        for (size_t i : order)
            answers[i](c);
        EXPECT_EQ(c.State().TB, reference.State().TB);
        EXPECT_EQ(Coefficients(c.State()), Coefficients(reference.State()));
        EXPECT_EQ(c.CarLabel(), reference.CarLabel());
    }
    EXPECT_EQ(reference.State().TB, 2375);
    EXPECT_EQ(reference.State().KBM, 2.45);
}

TEST(Resolution, BaseRateOfPassengerCarsFollowsTheOwner) {
    Calculator c;
    c.SelectOwner(1);
    EXPECT_EQ(c.State().TB, 2375);
    EXPECT_EQ(c.CarLabel(), "Базовая ставка страхового тарифа (ТБ) :   2 375 р.");
    c.rbTypeCarClick(rbTypeCarTaxi);
    EXPECT_EQ(c.State().TB, 2965);
    c.SelectOwner(0);
    EXPECT_EQ(c.State().TB, 2965); // a taxi keeps its rate for both owner kinds
    c.SelectOwner(1);
    c.rbTypeCarClick(rbTypeCar);
    EXPECT_EQ(c.State().TB, 2375);
    c.SelectOwner(0);
    EXPECT_EQ(c.State().TB, 1980);
    EXPECT_EQ(c.CarLabel(), "Базовая ставка страхового тарифа (ТБ) :   1 980 р.");
}

TEST(Resolution, TerritoryColumnAndLabelsFollowTheVehicle) {
    const std::string prefix = "Коэффициент территории использования транспортного средства (КТ) :   ";
    struct Case {
        int vehicle;
        double kt;
        std::array<const char*, 7> labels;
    };
    const Case cases[] = {
        {rbTypeTractor, 1.2, {"1,2", "1", "1", "1", "0,8", "0,8", "0,5"}},
        {rbTypeTractorPrizep, 1.2, {"1,2", "1", "1", "1", "0,8", "0,8", "0,5"}},
        {rbTypeBus21, 2.0, {"2", "1,8", "1,7", "1,6", "1,3", "1", "0,5"}},
    };
    Calculator c;
    for (const Case& k : cases) {
        c.rbTypeCarClick(k.vehicle);
        EXPECT_EQ(c.State().KT, k.kt);
        for (int row = 0; row < 7; ++row)
            EXPECT_EQ(c.TerritoryLabel(row), prefix + k.labels[row]);
    }
    // The separator comes from the regional settings at the time of the recalculation.
    c.SetRegionalSeparators({".", ","});
    c.rbHomeClick(4);
    EXPECT_EQ(c.TerritoryLabel(1), prefix + "1.8");
    EXPECT_EQ(c.State().KT, 1.3);
    c.rbTypeCarClick(rbTypeTractor);
    EXPECT_EQ(c.State().KT, 0.8);
    c.rbHomeClick(6);
    EXPECT_EQ(c.State().KT, 0.5);
    c.rbTypeCarClick(rbTypeMoto);
    EXPECT_EQ(c.State().KT, 0.5);
}

TEST(Resolution, AnswersOnDisabledPagesComeBackWithTheirPage) {
    Calculator c;
    c.rbClassMClick(0); // class M
    EXPECT_EQ(c.State().KBM, 2.45);
    c.rbTypeCarClick(rbTypeCarPrizep);
    EXPECT_FALSE(c.PageEnabled(PageId::pClass));
    EXPECT_EQ(c.State().KBM, 1.0);
    c.rbTypeCarClick(rbTypeCar);
    EXPECT_EQ(c.State().KBM, 2.45);

    c.rbHomeClick(1);
    c.SelectPlace(2);
    EXPECT_EQ(c.State().KT, 2.0);
    EXPECT_EQ(c.State().KBM, 1.0);
    c.SelectPlace(0);
    EXPECT_EQ(c.State().KT, 1.8);
    EXPECT_EQ(c.State().KBM, 2.45);
}

TEST(Resolution, UnlimitedDriversDisableTheAgePage) {
    Calculator c;
    c.SelectDriverCategory(0, 0);
    EXPECT_EQ(c.State().KVS, 1.3);
    c.rbLimitNoClick(rbLimitNo);
    EXPECT_FALSE(c.PageEnabled(PageId::pAge));
    EXPECT_EQ(c.State().KVS, 1.0);
    EXPECT_EQ(c.State().KO, 1.5);
    c.rbLimitNoClick(rbLimit);
    EXPECT_TRUE(c.PageEnabled(PageId::pAge));
    EXPECT_EQ(c.State().KVS, 1.3);
}

TEST(Resolution, BusOfANaturalPersonInRussia) {
    Calculator c;
    c.rbTypeCarClick(rbTypeBus20);
    c.rbClassMClick(14); // class 13
    c.SelectDriverCategory(0, 0);
    c.rbPeriodClick(1);
    const TariffState& s = c.State();
    EXPECT_EQ(s.KBM, 0.5);
    EXPECT_EQ(s.KO, 1.0);
    EXPECT_EQ(s.KVS, 1.3);
    EXPECT_EQ(s.KM, 1.0);
    EXPECT_FALSE(c.PageEnabled(PageId::pPower));
    EXPECT_EQ(s.KS, 0.8);
    EXPECT_EQ(s.KP, 1.0);
}

TEST(Resolution, ScaledTagsGiveTheNearestDouble) {
    Calculator c;
    c.rbClassMClick(5);
    EXPECT_EQ(c.State().KBM, 0.95);
    c.rbPowerClick(3);
    EXPECT_EQ(c.State().KM, 1.3);
    c.rbClassMClick(14);
    EXPECT_EQ(c.State().KBM, 0.5);
}

TEST(Resolution, OutOfRangeOptionsAreRejected) {
    Calculator c;
    EXPECT_THROW(c.rbTypeCarClick(14), std::out_of_range);
    EXPECT_THROW(c.rbClassMClick(-1), std::out_of_range);
    EXPECT_THROW(c.SelectPlace(4), std::out_of_range);
    EXPECT_THROW(c.SelectDriverCount(6), std::out_of_range);
    EXPECT_EQ(c.State().TB, 1980); // nothing changed
}
