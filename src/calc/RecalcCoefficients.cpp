#include "calc/Calculator.h"

namespace calc {

void Calculator::RecalcCoefficients() {
    const bool natural = FOwner == OwnerKind::Natural, legal = !natural;
    const bool russia = FPlace == PlaceKind::Russia, neighbour = FPlace == PlaceKind::Neighbour;
    const bool foreign = FPlace == PlaceKind::Foreign, onTheWay = FPlace == PlaceKind::OnTheWay;
    const VehicleGroup G = Group();
    const bool trailer = G == VehicleGroup::vgTrailer;
    const bool limitNo = Pages(PageId::pPeople).Checked == rbLimitNo;

    // 1. Base rate of passenger cars depends on the owner kind.
    FCarTag = natural ? CarTagNatural : CarTagLegal;
    FCarLabel = std::string(natural ? CarLabelNatural : CarLabelLegal);
    if (IsChecked(rbTypeCar))
        FState.TB = FCarTag;

    // 2. Territory.
    MutablePage(PageId::pHome).Enabled = russia;
    if (russia) {
        const int column = VehicleTypes[CheckedVehicle()].TerritoryColumn2 ? 1 : 0;
        FState.KT = TerritoryTable[Pages(PageId::pHome).Tag][column];
        // The labels depend only on the column and the decimal separator; rewrite them when either changed.
        if (column != FTerritoryLabelColumn || FSeparators.Decimal != FTerritoryLabelDecimal) {
            for (int row = 0; row < TerritoryRows; ++row)
                FTerritoryLabels[row] = std::string(TerritoryLabelPrefix) +
                                        FormatGeneral(TerritoryTable[row][column], FSeparators);
            FTerritoryLabelColumn = column;
            FTerritoryLabelDecimal = FSeparators.Decimal;
        }
    } else {
        FState.KT = foreign ? 2.0 : 1.0;
    }

    // 3. Bonus-malus class.
    Page& cls = MutablePage(PageId::pClass);
    cls.Enabled = russia && !trailer;
    FState.KBM = cls.Enabled ? cls.Tag / 100.0 : 1.0;

    // 4. Permitted drivers.
    Page& people = MutablePage(PageId::pPeople);
    people.Enabled = natural && (russia || onTheWay) && !trailer;
    FState.KO = people.Tag / 10.0;
    if (trailer || (natural && (neighbour || foreign)) || (legal && neighbour))
        FState.KO = 1.0;
    if (legal && !neighbour && !trailer)
        FState.KO = 1.5;

    // 5. Age and experience.
    Page& age = MutablePage(PageId::pAge);
    age.Enabled = people.Enabled && !limitNo;
    FState.KVS = age.Tag / 100.0;
    if (trailer || limitNo)
        FState.KVS = 1.0;
    if (natural && neighbour)
        FState.KVS = 1.0;
    if (natural && foreign && !trailer)
        FState.KVS = 1.3;
    if (legal)
        FState.KVS = 1.0;

    // 6. Engine power, passenger cars only.
    Page& power = MutablePage(PageId::pPower);
    power.Enabled = G == VehicleGroup::vgCar;
    FState.KM = power.Enabled ? power.Tag / 10.0 : 1.0;

    // 7. Season of use.
    Page& period = MutablePage(PageId::pPeriod);
    period.Enabled = natural && russia;
    FState.KS = period.Enabled ? period.Tag / 100.0 : 1.0;

    // 8. Insurance term of vehicles registered abroad; 20 days on the way to registration.
    Page& time = MutablePage(PageId::pTime);
    time.Enabled = neighbour || foreign;
    FState.KP = russia ? 1.0 : onTheWay ? 0.2 : time.Tag / 100.0;

    // 9. Gross violations.
    Page& dop = MutablePage(PageId::pDop);
    dop.Enabled = !onTheWay && !trailer;
    FState.KN = dop.Enabled ? dop.Tag / 10.0 : 1.0;
}

} // namespace calc
