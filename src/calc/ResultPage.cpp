#include "calc/Calculator.h"

namespace calc {
namespace {

constexpr std::string_view IntegerPattern = "#,###,##0.##";
constexpr std::string_view OneDecimalPattern = "#,###,##0.0";
constexpr std::string_view TwoDecimalPattern = "#,###,##0.0#";

constexpr std::string_view TermCaption = "Коэффициент срока страхования:";
constexpr std::string_view TermCaptionOnTheWay = "Коэффициент срока страхования (до 20 дней вкл.):";

} // namespace

std::string FormulaText(PlaceKind place, OwnerKind owner, VehicleGroup group) {
    const bool car = group == VehicleGroup::vgCar;
    const bool trailer = group == VehicleGroup::vgTrailer;
    const bool natural = owner == OwnerKind::Natural;
    switch (place) {
    case PlaceKind::Russia:
        if (natural)
            return car       ? "Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН"
                   : trailer ? "Т = ТБ*КТ*КС"
                             : "Т = ТБ*КТ*КБМ*КВС*КО*КС*КН";
        return car ? "Т = ТБ*КТ*КБМ*КО*КМ*КС*КН" : trailer ? "Т = ТБ*КТ" : "Т = ТБ*КТ*КБМ*КО*КН";
    case PlaceKind::Neighbour:
    case PlaceKind::Foreign:
        return std::string("Т = ТБ*КТ*КБМ*КВС*КО*") + (car ? "КМ*" : "") + "КП*КН";
    case PlaceKind::OnTheWay:
        break;
    }
    if (natural)
        return car ? "Т = ТБ*КВС*КО*КМ*КП" : trailer ? "Т = ТБ*КП" : "Т = ТБ*КВС*КО*КП";
    return car ? "Т = ТБ*КО*КМ*КП" : trailer ? "Т = ТБ*КП" : "Т = ТБ*КО*КП";
}

const ResultTexts& Calculator::pResultEnterPage() {
    ResultTexts& r = FResult;
    r.Formula = FormulaText(FPlace, FOwner, Group());
    r.Label92 = std::string(FPlace == PlaceKind::OnTheWay ? TermCaptionOnTheWay : TermCaption);

    for (int code = 0; code < TariffCodeCount; ++code)
        r.Visible[code] = r.Formula.find(TariffCodes[code]) != std::string::npos;

    const TariffState& s = FState;
    const struct {
        long double Value;
        std::string_view Pattern;
    } values[TariffCodeCount] = {
        {(long double)s.TB, IntegerPattern}, {s.KT, OneDecimalPattern},  {s.KBM, TwoDecimalPattern},
        {s.KO, OneDecimalPattern},           {s.KVS, TwoDecimalPattern}, {s.KM, OneDecimalPattern},
        {s.KS, TwoDecimalPattern},           {s.KP, TwoDecimalPattern},  {s.KN, OneDecimalPattern},
    };
    for (int code = 0; code < TariffCodeCount; ++code)
        r.Values[code] = FormatFloat(values[code].Pattern, values[code].Value, FSeparators);

    // Left to right in extended precision; rounding only when formatting.
    long double t = s.TB;
    for (double k : {s.KT, s.KBM, s.KO, s.KVS, s.KM, s.KS, s.KP, s.KN})
        t *= k;
    r.PremiumValue = t;
    r.Premium = FormatFloat(IntegerPattern, t, FSeparators) + " рублей";
    return r;
}

} // namespace calc
