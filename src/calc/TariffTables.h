#pragma once
// The 2006 OSAGO tariffs: every option the calculator offers, with its scaled tag
// (the tariff value as an integer: roubles, coefficient x 100 or x 10, or a table row).

#include <array>
#include <string_view>

namespace calc {

enum class VehicleGroup { vgCar, vgOther, vgTrailer };

// An option on an answer page: its control, caption, scaled tag and the information
// label under it (empty where the label is rewritten by the recalculation).
struct TariffOption {
    std::string_view Control;
    std::string_view Caption;
    int Tag;
    std::string_view Label;
};

struct VehicleType {
    std::string_view Control;
    std::string_view Caption;
    int Tag; // base rate TB in roubles (for rbTypeCar: a natural person's rate)
    VehicleGroup Group;
    bool TerritoryColumn2; // tractors and their trailers use the second territory column
    std::string_view Label;
};

// Vehicle types in page order; the index is the option's identity.
enum VehicleIndex {
    rbTypeCar,
    rbTypeCarTaxi,
    rbTypeBusTaxi,
    rbTypeBus20,
    rbTypeBus21,
    rbTypeTrack16,
    rbTypeTruck17,
    rbTypeMoto,
    rbTypeTractor,
    rbTypeTramvay,
    rbTypeTroll,
    rbTypeTruckPrizep,
    rbTypeCarPrizep,
    rbTypeTractorPrizep,
    VehicleTypeCount
};
extern const std::array<VehicleType, VehicleTypeCount> VehicleTypes;

inline constexpr int CarTagNatural = 1980;
inline constexpr int CarTagLegal = 2375;
extern const std::string_view CarLabelNatural;
extern const std::string_view CarLabelLegal;

inline constexpr std::array<std::string_view, 2> OwnerCaptions = {
    "Физическое лицо или предприниматель без образования юридического лица", "Юридическое лицо"};
inline constexpr std::array<std::string_view, 4> PlaceCaptions = {"Россия", "Белоруссия, Казахстан, Украина",
                                                                  "Другое иностранное государство",
                                                                  "Следование к месту регистрации"};
inline constexpr std::string_view OwnerGroupCaption = " Собственник ";
inline constexpr std::string_view PlaceGroupCaption = " Место регистрации ";

// Territory coefficient KT by row (the pHome page's Tag) and column.
inline constexpr int TerritoryRows = 7;
extern const std::array<std::array<double, 2>, TerritoryRows> TerritoryTable;
extern const std::array<TariffOption, TerritoryRows> TerritoryOptions; // Tag = row
extern const std::string_view TerritoryLabelPrefix;

extern const std::array<TariffOption, 15> ClassOptions; // Tag = KBM x 100; index 4 is class 3
extern const std::array<TariffOption, 2> PeopleOptions; // Tag = KO x 10; rbLimitNo, rbLimit
extern const std::array<TariffOption, 6> PowerOptions;  // Tag = KM x 10
extern const std::array<TariffOption, 5> PeriodOptions; // Tag = KS x 100
extern const std::array<TariffOption, 11> TimeOptions;  // Tag = KP x 100
extern const std::array<TariffOption, 2> DopOptions;    // Tag = KN x 10; rbDop, RadioButton45

// Drivers' age and experience: the category captions of every driver list and their
// scaled values (KVS x 100).
struct AgeCategory {
    std::string_view Caption;
    int Tag;
};
extern const std::array<AgeCategory, 4> AgeCategories;
extern const std::string_view AgeLabelPrefix;
inline constexpr int MaxDrivers = 5;

// Default checked options.
inline constexpr int DefaultClass = 4; // class 3
inline constexpr int rbLimitNo = 0, rbLimit = 1;
inline constexpr int DefaultPower = 2;  // over 70 up to 100 hp
inline constexpr int DefaultPeriod = 4; // 10 months and more
inline constexpr int DefaultTime = 10;  // 10 months and more
inline constexpr int DefaultAgeCategory = 3;

// The nine tariff codes, in the order of the result table.
enum TariffCode { cTB, cKT, cKBM, cKO, cKVS, cKM, cKS, cKP, cKN, TariffCodeCount };
inline constexpr std::array<std::string_view, TariffCodeCount> TariffCodes = {"ТБ", "КТ", "КБМ", "КО", "КВС",
                                                                              "КМ", "КС", "КП",  "КН"};

// Captions of the result table's rows, in the order of the codes. The term row's caption
// is rewritten on the result page (ResultTexts::Label92).
inline constexpr std::array<std::string_view, TariffCodeCount> ResultRowCaptions = {
    "Базовая ставка страхового тарифа (в рублях):",
    "Коэффициент территории использования ТС:",
    "Коэффициент класса страхователя:",
    "Коэффициент количества лиц, допущенных к управлению:",
    "Коэффициент возраста и стажа водителя:",
    "Коэффициент мощности двигателя легкового автомобиля:",
    "Коэффициент периода использования транспортного средства:",
    "Коэффициент срока страхования:",
    "Коэффициент страхового тарифа:"};
inline constexpr std::string_view PremiumCaption = "Размер страховой премии (Т)";

} // namespace calc
