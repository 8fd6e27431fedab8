#pragma once
// The whole state of the calculator, free of any window: which option of every page is
// checked, each answer page's Tag and enabled flag, the driver lists, the dynamic label
// texts and the tariff values. The window mirrors this state into its widgets and sends
// every click through the handlers below.

#include <array>
#include <string>
#include <string_view>

#include "calc/NumberFormat.h"
#include "calc/TariffTables.h"

namespace calc {

// The wizard's pages in their order.
enum class PageId {
    pWelcome,
    pHolder,
    pType,
    pHome,
    pClass,
    pPeople,
    pAge,
    pPower,
    pPeriod,
    pTime,
    pDop,
    pResult
};
inline constexpr int PageCount = 12;
inline constexpr std::array<std::string_view, PageCount> PageNames = {
    "pWelcome", "pHolder", "pType",   "pHome", "pClass", "pPeople",
    "pAge",     "pPower",  "pPeriod", "pTime", "pDop",   "pResult"};

// The owner kind: the item index of the owner group (rgFiz).
enum class OwnerKind { Natural, Legal };
// The place of registration: the item index of the place group (rgPlace).
enum class PlaceKind { Russia, Neighbour, Foreign, OnTheWay };

// The nine current tariff values.
struct TariffState {
    int TB = 1980;
    double KT = 2.0;
    double KBM = 1.0;
    double KO = 1.0;
    double KVS = 1.0;
    double KM = 1.0;
    double KS = 1.0;
    double KP = 1.0;
    double KN = 1.0;
};

struct Page {
    int Tag = 0;
    bool Enabled = true;
    int Checked = 0; // the checked option of the page's group, where it has one
};

// One driver's list on the drivers' page.
struct DriverList {
    int ItemIndex = DefaultAgeCategory; // -1: nothing selected
    int Tag = 100;
    bool Enabled = false;
    std::string Label;
};

// What the result page shows, computed on entering it.
struct ResultTexts {
    std::string Formula = "Т = ";
    std::string Label92 = "Коэффициент срока страхования:";
    std::array<std::string, TariffCodeCount> Values{"0", "0", "0", "0", "0", "0", "0", "0", "0"};
    std::array<bool, TariffCodeCount> Visible{true, true, true, true, true, true, true, true, true};
    std::string Premium = "0"; // lblResult: the formatted premium and " рублей"
    long double PremiumValue = 0;
};

// Who raised cbAge1Change: a driver-count option or one of the driver lists.
struct AgeSender {
    enum Kind { CountOption, List } Kind;
    int Index; // 0-based: count option rbAge1..rbAge5 or list cbAge1..cbAge5
};

class Calculator {
public:
    explicit Calculator(Separators separators = {});

    // --- the answers, as the window's controls hold them
    OwnerKind Owner() const { return FOwner; }
    PlaceKind Place() const { return FPlace; }
    int OwnerIndex() const { return int(FOwner); } // rgFiz.ItemIndex
    int PlaceIndex() const { return int(FPlace); } // rgPlace.ItemIndex
    int CheckedVehicle() const { return Pages(PageId::pType).Checked; }
    int DriverCount() const { return FDriverCount; } // the checked rbAge1..rbAge5, 1..5
    const DriverList& Driver(int index) const { return FDrivers.at(index); }
    const Page& Pages(PageId id) const { return FPages[int(id)]; }
    bool PageEnabled(PageId id) const { return Pages(id).Enabled; }
    VehicleGroup Group() const { return VehicleTypes[CheckedVehicle()].Group; }
    const TariffState& State() const { return FState; }
    int CarTag() const { return FCarTag; }                    // rbTypeCar.Tag
    const std::string& CarLabel() const { return FCarLabel; } // lblType
    const std::string& TerritoryLabel(int row) const { return FTerritoryLabels.at(row); }
    const ResultTexts& Result() const { return FResult; }

    const Separators& RegionalSeparators() const { return FSeparators; }
    void SetRegionalSeparators(Separators s) { FSeparators = std::move(s); }

    // --- user choices: each marks the control as the window would, then runs its handler
    void SelectOwner(int item);                      // rgFiz, then rgFizClick
    void SelectPlace(int item);                      // rgPlace, then rgFizClick
    void SelectDriverCount(int count);               // rbAge1..rbAge5, then cbAge1Change
    void SelectDriverCategory(int driver, int item); // cbAge1..cbAge5, then cbAge1Change

    // --- the handlers; option handlers take the index of the option that became checked
    void rgFizClick();
    void rbTypeCarClick(int vehicle);
    void rbHomeClick(int row);
    void rbClassMClick(int option);
    void rbLimitNoClick(int option);
    void cbAge1Change(AgeSender sender);
    void rbPowerClick(int option);
    void rbPeriodClick(int option);
    void rbTimeClick(int option);
    void rbDopClick(int option);

    // Decides which answer pages apply and recomputes every tariff value and dynamic label.
    void RecalcCoefficients();
    // Builds the formula, the row visibility, the nine value texts and the premium.
    const ResultTexts& pResultEnterPage();

private:
    Page& MutablePage(PageId id) { return FPages[int(id)]; }
    bool IsChecked(int vehicle) const { return CheckedVehicle() == vehicle; }
    template <size_t N> void TakeOptionTag(PageId id, const std::array<TariffOption, N>& options, int option);

    Separators FSeparators;
    OwnerKind FOwner = OwnerKind::Natural;
    PlaceKind FPlace = PlaceKind::Russia;
    int FDriverCount = 1;
    std::array<Page, PageCount> FPages;
    std::array<DriverList, MaxDrivers> FDrivers;
    TariffState FState;
    int FCarTag = CarTagNatural;
    std::string FCarLabel;
    std::array<std::string, TerritoryRows> FTerritoryLabels;
    int FTerritoryLabelColumn = -1; // what the labels were last written for
    std::string FTerritoryLabelDecimal;
    ResultTexts FResult;
};

// The formula of the result page for a place, an owner kind and a vehicle group.
std::string FormulaText(PlaceKind place, OwnerKind owner, VehicleGroup group);

} // namespace calc
