#include "calc/TariffTables.h"

namespace calc {

#define TB_LABEL "Базовая ставка страхового тарифа (ТБ) :"

const std::string_view CarLabelNatural = TB_LABEL "   1 980 р.";
const std::string_view CarLabelLegal = TB_LABEL "   2 375 р.";

// The two bus labels carry their spacing as the form always had it.
const std::array<VehicleType, VehicleTypeCount> VehicleTypes = {{
    {"rbTypeCar", "Легковые автомобили", CarTagNatural, VehicleGroup::vgCar, false, CarLabelNatural},
    {"rbTypeCarTaxi", "Легковые автомобили, используемые в качестве такси", 2965, VehicleGroup::vgCar, false,
     TB_LABEL "   2 965 р."},
    {"rbTypeBusTaxi", "Автобусы, используемые в качестве такси", 2965, VehicleGroup::vgOther, false,
     TB_LABEL "  2 965  р."},
    {"rbTypeBus20", "Автобусы с числом мест сидения до 20 (включительно)", 1620, VehicleGroup::vgOther, false,
     TB_LABEL "  1 620  р."},
    {"rbTypeBus21", "Автобусы с числом мест сидения свыше 20", 2025, VehicleGroup::vgOther, false,
     TB_LABEL "   2 025 р."},
    {"rbTypeTrack16", "Грузовые автомобили с разрешенной максимальной массой 16 тонн и менее", 2025,
     VehicleGroup::vgOther, false, TB_LABEL "   2 025 р."},
    {"rbTypeTruck17", "Грузовые автомобили с разрешенной максимальной массой более 16 тонн", 3240,
     VehicleGroup::vgOther, false, TB_LABEL "   3 240 р."},
    {"rbTypeMoto", "Мотоциклы и мотороллеры", 1215, VehicleGroup::vgOther, false, TB_LABEL "   1 215 р."},
    {"rbTypeTractor", "Тракторы, самоходные дорожно-строительные и иные машины", 1215, VehicleGroup::vgOther,
     true, TB_LABEL "   1 215 р."},
    {"rbTypeTramvay", "Трамваи", 1010, VehicleGroup::vgOther, false, TB_LABEL "   1 010 р."},
    {"rbTypeTroll", "Троллейбусы", 1620, VehicleGroup::vgOther, false, TB_LABEL "   1 620 р."},
    {"rbTypeTruckPrizep", "Прицепы к грузовым автомобилям, полуприцепы, прицепы-роспуски", 810,
     VehicleGroup::vgTrailer, false, TB_LABEL "   810 р."},
    {"rbTypeCarPrizep", "Прицепы к легковым автомобилям, мотоциклам, мотороллерам", 395,
     VehicleGroup::vgTrailer, false, TB_LABEL "   395 р."},
    {"rbTypeTractorPrizep", "Прицепы к тракторам, самоходным дорожно-строительным и иным машинам", 305,
     VehicleGroup::vgTrailer, true, TB_LABEL "   305 р."},
}};

const std::array<std::array<double, 2>, TerritoryRows> TerritoryTable = {{
    {2.0, 1.2},
    {1.8, 1.0},
    {1.7, 1.0},
    {1.6, 1.0},
    {1.3, 0.8},
    {1.0, 0.8},
    {0.5, 0.5},
}};

const std::string_view TerritoryLabelPrefix =
    "Коэффициент территории использования транспортного средства (КТ) :   ";

// The labels as the form holds them before the first recalculation (column 1).
#define KT_LABEL "Коэффициент территории использования транспортного средства (КТ) :   "
const std::array<TariffOption, TerritoryRows> TerritoryOptions = {{
    {"rbHome", "Город Москва", 0, KT_LABEL "2"},
    {"RadioButton16", "Город Санкт-Петербург", 1, KT_LABEL "1,8"},
    {"RadioButton17", "Города и населенные пункты Московской области", 2, KT_LABEL "1,7"},
    {"RadioButton18", "Города и населенные пункты Ленинградской области", 3, KT_LABEL "1,6"},
    {"RadioButton19", "Города", 4, KT_LABEL "1,3"},
    {"RadioButton20", "Города", 5, KT_LABEL "1"},
    {"RadioButton21", "Прочие города и населенные пункты", 6, KT_LABEL "0,5"},
}};

#define KBM_LABEL "Коэф. (КБМ) :   "
const std::array<TariffOption, 15> ClassOptions = {{
    {"rbClassM", "М", 245, KBM_LABEL "2,45"},
    {"rbClass0", "0", 230, KBM_LABEL "2,3"},
    {"rbClass1", "1", 155, KBM_LABEL "1,55"},
    {"rbClass2", "2", 140, KBM_LABEL "1,4"},
    {"rbClass3", "3", 100, KBM_LABEL "1"},
    {"rbClass4", "4", 95, KBM_LABEL "0,95"},
    {"rbClass5", "5", 90, KBM_LABEL "0,9"},
    {"rbClass6", "6", 85, KBM_LABEL "0,85"},
    {"rbClass7", "7", 80, KBM_LABEL "0,8"},
    {"rbClass8", "8", 75, KBM_LABEL "0,75"},
    {"rbClass9", "9", 70, KBM_LABEL "0,7"},
    {"rbClass10", "10", 65, KBM_LABEL "0,65"},
    {"rbClass11", "11", 60, KBM_LABEL "0,6"},
    {"rbClass12", "12", 55, KBM_LABEL "0,55"},
    {"rbClass13", "13", 50, KBM_LABEL "0,5"},
}};

#define KO_LABEL "Коэффициент количества лиц, допущенных к управлению (КО) :   "
const std::array<TariffOption, 2> PeopleOptions = {{
    {"rbLimitNo", "Без ограничения количества допущенных лиц", 15, KO_LABEL "1,5"},
    {"rbLimit", "С ограничением количества допущенных лиц", 10, KO_LABEL "1"},
}};

#define KM_LABEL "Коэффициент мощности двигателя легкового автомобиля (КМ) :   "
const std::array<TariffOption, 6> PowerOptions = {{
    {"RadioButton1", "до 50 включительно", 5, KM_LABEL "0,5"},
    {"RadioButton26", "свыше 50 до 70 включительно", 7, KM_LABEL "0,7"},
    {"rbPower", "свыше 70 до 100 включительно", 10, KM_LABEL "1"},
    {"RadioButton28", "свыше 100 до 120 включительно", 13, KM_LABEL "1,3"},
    {"RadioButton29", "свыше 120 до 150 включительно", 15, KM_LABEL "1,5"},
    {"RadioButton30", "свыше 150", 17, KM_LABEL "1,7"},
}};

#define KS_LABEL "Коэффициент периода использования транспортного средства (КС) :   "
const std::array<TariffOption, 5> PeriodOptions = {{
    {"RadioButton27", "6 месяцев", 70, KS_LABEL "0,7"},
    {"RadioButton31", "7 месяцев", 80, KS_LABEL "0,8"},
    {"RadioButton32", "8 месяцев", 90, KS_LABEL "0,9"},
    {"RadioButton33", "9 месяцев", 95, KS_LABEL "0,95"},
    {"rbPeriod", "10 месяцев и более", 100, KS_LABEL "1"},
}};

#define KP_LABEL "Коэффициент срока страхования (КП) :   "
const std::array<TariffOption, 11> TimeOptions = {{
    {"RadioButton34", "до 15 дней", 20, KP_LABEL "0,2"},
    {"RadioButton35", "от 16 дней до 1 месяца", 30, KP_LABEL "0,3"},
    {"RadioButton36", "2 месяца", 40, KP_LABEL "0,4"},
    {"RadioButton37", "3 месяца", 50, KP_LABEL "0,5"},
    {"RadioButton38", "4 месяца", 60, KP_LABEL "0,6"},
    {"RadioButton39", "5 месяцев", 65, KP_LABEL "0,65"},
    {"RadioButton40", "6 месяцев", 70, KP_LABEL "0,7"},
    {"RadioButton41", "7 месяцев", 80, KP_LABEL "0,8"},
    {"RadioButton42", "8 месяцев", 90, KP_LABEL "0,9"},
    {"RadioButton43", "9 месяцев", 95, KP_LABEL "0,95"},
    {"rbTime", "10 месяцев и более", 100, KP_LABEL "1"},
}};

#define KN_LABEL "Коэффициент страхового тарифа (КН) :   "
const std::array<TariffOption, 2> DopOptions = {{
    {"rbDop", "НЕТ. Грубых нарушений не имеется", 10, KN_LABEL "1"},
    {"RadioButton45", "ДА. Грубые нарушения имеются", 15, KN_LABEL "1,5"},
}};

// Age-and-experience coefficients of the 2006 tariff decree (N 739 of 08.12.2005): under 22
// with more than 2 years of driving 1.15, over 22 with up to 2 years 1.2.
const std::array<AgeCategory, 4> AgeCategories = {{
    {"до 22 лет включительно со стажем вождения до 2 лет включительно", 130},
    {"до 22 лет включительно со стажем вождения свыше 2 лет", 115},
    {"более 22 лет со стажем вождения до 2 лет включительно", 120},
    {"более 22 лет со стажем вождения свыше 2 лет", 100},
}};

const std::string_view AgeLabelPrefix = "Коэффициент возраста и стажа водителя (КВС) :   ";

} // namespace calc
