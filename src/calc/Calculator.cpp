#include "calc/Calculator.h"

#include <stdexcept>

namespace calc {
namespace {

void CheckIndex(int index, size_t count, const char* what) {
    if (index < 0 || size_t(index) >= count)
        throw std::out_of_range(std::string(what) + ": option index out of range");
}

} // namespace

Calculator::Calculator(Separators separators) : FSeparators(std::move(separators)) {
    // The form's stored state: every answer page enabled except the term page, page tags
    // at their defaults, and the default option of each group checked.
    MutablePage(PageId::pType).Checked = rbTypeCar;
    MutablePage(PageId::pHome) = {0, true, 0};
    MutablePage(PageId::pClass) = {ClassOptions[DefaultClass].Tag, true, DefaultClass};
    MutablePage(PageId::pPeople) = {PeopleOptions[rbLimit].Tag, true, rbLimit};
    MutablePage(PageId::pAge) = {100, true, 0};
    MutablePage(PageId::pPower) = {PowerOptions[DefaultPower].Tag, true, DefaultPower};
    MutablePage(PageId::pPeriod) = {PeriodOptions[DefaultPeriod].Tag, true, DefaultPeriod};
    MutablePage(PageId::pTime) = {TimeOptions[DefaultTime].Tag, false, DefaultTime};
    MutablePage(PageId::pDop) = {DopOptions[0].Tag, true, 0};

    for (DriverList& d : FDrivers)
        d.Label = std::string(AgeLabelPrefix) + "1";
    FDrivers[0].Enabled = true;

    FCarLabel = std::string(CarLabelNatural);
    for (int row = 0; row < TerritoryRows; ++row)
        FTerritoryLabels[row] = std::string(TerritoryOptions[row].Label);
}

void Calculator::SelectOwner(int item) {
    CheckIndex(item, OwnerCaptions.size(), "owner");
    FOwner = OwnerKind(item);
    rgFizClick();
}

void Calculator::SelectPlace(int item) {
    CheckIndex(item, PlaceCaptions.size(), "place");
    FPlace = PlaceKind(item);
    rgFizClick();
}

void Calculator::SelectDriverCount(int count) {
    CheckIndex(count - 1, MaxDrivers, "driver count");
    FDriverCount = count;
    cbAge1Change({AgeSender::CountOption, count - 1});
}

void Calculator::SelectDriverCategory(int driver, int item) {
    CheckIndex(driver, MaxDrivers, "driver");
    if (item != -1)
        CheckIndex(item, AgeCategories.size(), "driver category");
    FDrivers[driver].ItemIndex = item;
    cbAge1Change({AgeSender::List, driver});
}

void Calculator::rgFizClick() {
    RecalcCoefficients();
}

void Calculator::rbTypeCarClick(int vehicle) {
    CheckIndex(vehicle, VehicleTypes.size(), "vehicle type");
    MutablePage(PageId::pType).Checked = vehicle;
    FState.TB = vehicle == rbTypeCar ? FCarTag : VehicleTypes[vehicle].Tag;
    RecalcCoefficients();
}

// The answer pages whose option handler only copies the option's Tag into the page.
template <size_t N>
void Calculator::TakeOptionTag(PageId id, const std::array<TariffOption, N>& options, int option) {
    CheckIndex(option, N, PageNames[int(id)].data());
    Page& p = MutablePage(id);
    p.Checked = option;
    p.Tag = options[option].Tag;
    RecalcCoefficients();
}

void Calculator::rbHomeClick(int row) {
    TakeOptionTag(PageId::pHome, TerritoryOptions, row);
}
void Calculator::rbClassMClick(int option) {
    TakeOptionTag(PageId::pClass, ClassOptions, option);
}
void Calculator::rbLimitNoClick(int option) {
    TakeOptionTag(PageId::pPeople, PeopleOptions, option);
}
void Calculator::rbPowerClick(int option) {
    TakeOptionTag(PageId::pPower, PowerOptions, option);
}
void Calculator::rbPeriodClick(int option) {
    TakeOptionTag(PageId::pPeriod, PeriodOptions, option);
}
void Calculator::rbTimeClick(int option) {
    TakeOptionTag(PageId::pTime, TimeOptions, option);
}
void Calculator::rbDopClick(int option) {
    TakeOptionTag(PageId::pDop, DopOptions, option);
}

void Calculator::cbAge1Change(AgeSender sender) {
    Page& age = MutablePage(PageId::pAge);
    age.Tag = 100;
    for (int k = 1; k < MaxDrivers; ++k)
        FDrivers[k].Enabled = FDriverCount >= k + 1;

    if (sender.Kind == AgeSender::List) {
        DriverList& list = FDrivers.at(sender.Index);
        if (list.ItemIndex >= 0)
            list.Tag = AgeCategories[list.ItemIndex].Tag;
        for (DriverList& d : FDrivers)
            d.Label = std::string(AgeLabelPrefix) + FormatGeneral(d.Tag / 100.0, FSeparators);
    }

    for (const DriverList& d : FDrivers)
        if (d.Enabled && d.Tag > age.Tag)
            age.Tag = d.Tag;
    RecalcCoefficients();
}

} // namespace calc
