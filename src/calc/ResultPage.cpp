#include "calc/Calculator.h"

namespace calc {
namespace {

constexpr std::string_view IntegerPattern = "#,###,##0.##";
constexpr std::string_view OneDecimalPattern = "#,###,##0.0";
constexpr std::string_view TwoDecimalPattern = "#,###,##0.0#";

constexpr std::string_view TermCaption = "Коэффициент срока страхования:";
constexpr std::string_view TermCaptionOnTheWay = "Коэффициент срока страхования (до 20 дней вкл.):";

} // namespace

std::string FormulaText(int place, int owner, VehicleGroup group) {
    const bool car = group == VehicleGroup::vgCar;
    const bool trailer = group == VehicleGroup::vgTrailer;
    switch (place) {
    case 0:
        if (owner == 0)
            return car       ? "Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН"
                   : trailer ? "Т = ТБ*КТ*КС"
                             : "Т = ТБ*КТ*КБМ*КВС*КО*КС*КН";
        return car ? "Т = ТБ*КТ*КБМ*КО*КМ*КС*КН" : trailer ? "Т = ТБ*КТ" : "Т = ТБ*КТ*КБМ*КО*КН";
    case 1:
    case 2:
        return std::string("Т = ТБ*КТ*КБМ*КВС*КО*") + (car ? "КМ*" : "") + "КП*КН";
    default:
        if (owner == 0)
            return car ? "Т = ТБ*КВС*КО*КМ*КП" : trailer ? "Т = ТБ*КП" : "Т = ТБ*КВС*КО*КП";
        return car ? "Т = ТБ*КО*КМ*КП" : trailer ? "Т = ТБ*КП" : "Т = ТБ*КО*КП";
    }
}

const ResultTexts& Calculator::pResultEnterPage() {
    ResultTexts& r = FResult;
    r.Formula = FormulaText(FPlace, FOwner, Group());
    r.Label92 = std::string(FPlace == 3 ? TermCaptionOnTheWay : TermCaption);

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
