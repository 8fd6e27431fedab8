#include "calc/Calculator.h"

namespace calc {

void Calculator::RecalcCoefficients() {
    const int F = FOwner;
    const int P = FPlace;
    const VehicleGroup G = Group();
    const bool trailer = G == VehicleGroup::vgTrailer;
    const bool limitNo = Pages(PageId::pPeople).Checked == rbLimitNo;

    // 1. Base rate of passenger cars depends on the owner kind.
    FCarTag = F == 0 ? CarTagNatural : CarTagLegal;
    FCarLabel = std::string(F == 0 ? CarLabelNatural : CarLabelLegal);
    if (IsChecked(rbTypeCar))
        FState.TB = FCarTag;

    // 2. Territory.
    MutablePage(PageId::pHome).Enabled = P == 0;
    if (P == 0) {
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
        FState.KT = P == 2 ? 2.0 : 1.0;
    }

    // 3. Bonus-malus class.
    Page& cls = MutablePage(PageId::pClass);
    cls.Enabled = P == 0 && !trailer;
    FState.KBM = cls.Enabled ? cls.Tag / 100.0 : 1.0;

    // 4. Permitted drivers.
    Page& people = MutablePage(PageId::pPeople);
    people.Enabled = F == 0 && (P == 0 || P == 3) && !trailer;
    FState.KO = people.Tag / 10.0;
    if (trailer || (F == 0 && (P == 1 || P == 2)) || (F == 1 && P == 1))
        FState.KO = 1.0;
    if (F == 1 && (P == 0 || P == 2 || P == 3) && !trailer)
        FState.KO = 1.5;

    // 5. Age and experience.
    Page& age = MutablePage(PageId::pAge);
    age.Enabled = people.Enabled && !limitNo;
    FState.KVS = age.Tag / 100.0;
    if (trailer || limitNo)
        FState.KVS = 1.0;
    if (F == 0 && P == 1)
        FState.KVS = 1.0;
    if (F == 0 && P == 2 && !trailer)
        FState.KVS = 1.3;
    if (F == 1)
        FState.KVS = 1.0;

    // 6. Engine power, passenger cars only.
    Page& power = MutablePage(PageId::pPower);
    power.Enabled = G == VehicleGroup::vgCar;
    FState.KM = power.Enabled ? power.Tag / 10.0 : 1.0;

    // 7. Season of use.
    Page& period = MutablePage(PageId::pPeriod);
    period.Enabled = F == 0 && P == 0;
    FState.KS = period.Enabled ? period.Tag / 100.0 : 1.0;

    // 8. Insurance term of vehicles registered abroad; 20 days on the way to registration.
    Page& time = MutablePage(PageId::pTime);
    time.Enabled = P == 1 || P == 2;
    FState.KP = P == 0 ? 1.0 : P == 3 ? 0.2 : time.Tag / 100.0;

    // 9. Gross violations.
    Page& dop = MutablePage(PageId::pDop);
    dop.Enabled = P != 3 && !trailer;
    FState.KN = dop.Enabled ? dop.Tag / 10.0 : 1.0;
}

} // namespace calc
