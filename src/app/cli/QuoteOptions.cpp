#include "app/cli/QuoteOptions.h"

#include "app/cli/Messages.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace cli {
namespace {

using calc::PageId;

// A word and the option index it selects.
using Words = std::vector<std::pair<std::string, int>>;

const Words kOwners = {{"natural", 0}, {"legal", 1}};
const Words kPlaces = {{"russia", 0}, {"cis", 1}, {"foreign", 2}, {"transit", 3}};
const Words kVehicles = {{"car", calc::rbTypeCar},
                         {"taxi", calc::rbTypeCarTaxi},
                         {"bus-taxi", calc::rbTypeBusTaxi},
                         {"bus-20", calc::rbTypeBus20},
                         {"bus-21", calc::rbTypeBus21},
                         {"truck-16", calc::rbTypeTrack16},
                         {"truck-17", calc::rbTypeTruck17},
                         {"moto", calc::rbTypeMoto},
                         {"tractor", calc::rbTypeTractor},
                         {"tram", calc::rbTypeTramvay},
                         {"trolley", calc::rbTypeTroll},
                         {"truck-trailer", calc::rbTypeTruckPrizep},
                         {"car-trailer", calc::rbTypeCarPrizep},
                         {"tractor-trailer", calc::rbTypeTractorPrizep}};
const Words kTerritories = {{"moscow", 0},   {"spb", 1},      {"moscow-region", 2}, {"leningrad-region", 3},
                            {"cities-1", 4}, {"cities-2", 5}, {"other", 6}};
const Words kDrivers = {{"limited", calc::rbLimit}, {"unlimited", calc::rbLimitNo}};
const Words kClasses = {{"M", 0},   {"М", 0},   {"0", 1},   {"1", 2},  {"2", 3}, {"3", 4},
                        {"4", 5},   {"5", 6},   {"6", 7},   {"7", 8},  {"8", 9}, {"9", 10},
                        {"10", 11}, {"11", 12}, {"12", 13}, {"13", 14}};
const Words kCategories = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}};
const Words kTerms = {{"15d", 0}, {"1m", 1}, {"2m", 2}, {"3m", 3}, {"4m", 4},  {"5m", 5},
                      {"6m", 6},  {"7m", 7}, {"8m", 8}, {"9m", 9}, {"10m", 10}};
const Words kYesNo = {{"no", 0}, {"yes", 1}};

std::string Joined(const Words& words, const char* sep = "|") {
    std::string out;
    for (const auto& [word, index] : words) {
        if (word == "М")
            continue; // the Cyrillic twin of M is listed in the help text
        if (!out.empty())
            out += sep;
        out += word;
    }
    return out;
}

struct OptionSpec {
    std::string Name;
    std::string Values; // accepted values, as the help and error messages show them
    std::string Help;
    std::function<void(const OptionSpec& self, const std::string& value, QuoteAnswers&)> Take;
};

[[noreturn]] void Reject(const OptionSpec& o, const std::string& value, const std::string& why = {}) {
    throw UsageError{"--" + o.Name + ": " + (why.empty() ? "unknown value " + Quoted(value) : why) +
                     "; accepted values: " + o.Values};
}

int Lookup(const OptionSpec& o, const Words& words, const std::string& value) {
    for (const auto& [word, index] : words)
        if (word == value)
            return index;
    Reject(o, value);
}

double ParseNumber(const OptionSpec& o, const std::string& value) {
    if (const std::optional<double> v = ParsePlainNumber(value))
        return *v;
    Reject(o, value, Quoted(value) + " is not a number");
}

const std::vector<OptionSpec>& Options() {
    static const std::vector<OptionSpec> options = [] {
        std::vector<OptionSpec> o;
        auto words = [&](const std::string& name, const Words& list, const std::string& help,
                         std::optional<int> QuoteAnswers::*field, const std::string& values = {}) {
            o.push_back({name, values.empty() ? Joined(list) : values, help,
                         [&list, field](const OptionSpec& self, const std::string& v, QuoteAnswers& a) {
                             a.*field = Lookup(self, list, v);
                         }});
        };
        words("owner", kOwners, "owner kind: natural person (or entrepreneur) or legal entity",
              &QuoteAnswers::Owner);
        words("place", kPlaces,
              "place of registration: Russia; Belarus, Kazakhstan, Ukraine; another foreign state; "
              "travelling to the place of registration",
              &QuoteAnswers::Place);
        words("vehicle", kVehicles, "vehicle type (base rate)", &QuoteAnswers::Vehicle);
        words("territory", kTerritories,
              "territory of use: Moscow, Saint Petersburg, Moscow region, Leningrad region, cities of the "
              "first "
              "list, cities of the second list, other places",
              &QuoteAnswers::Territory);
        words("class", kClasses, "bonus-malus class (Latin or Cyrillic M)", &QuoteAnswers::Class, "M|0..13");
        words("drivers", kDrivers, "number of permitted drivers limited or not", &QuoteAnswers::People);
        o.push_back(
            {"driver", "0|1|2|3",
             "one driver's age and experience, repeatable for up to five drivers in order: 0 = up to 22 "
             "years with up to 2 years of driving, 1 = up to 22 with more than 2, 2 = over 22 with up to 2, "
             "3 = over 22 with more than 2",
             nullptr});
        o.back().Take = [](const OptionSpec& self, const std::string& v, QuoteAnswers& a) {
            const int category = Lookup(self, kCategories, v);
            if (a.Drivers.size() == calc::MaxDrivers)
                Reject(self, v, "at most 5 drivers can be named");
            a.Drivers.push_back(category);
        };
        o.push_back({"power", "HP (a number of horse power greater than 0)",
                     "engine power of a passenger car", nullptr});
        o.back().Take = [](const OptionSpec& self, const std::string& v, QuoteAnswers& a) {
            const double hp = ParseNumber(self, v);
            if (hp <= 0)
                Reject(self, v, Quoted(v) + " is not a power greater than 0");
            const double upper[] = {50, 70, 100, 120, 150};
            int bracket = 5;
            for (int i = 0; i < 5; ++i)
                if (hp <= upper[i]) {
                    bracket = i;
                    break;
                }
            a.Power = bracket;
        };
        o.push_back({"season", "MONTHS (a whole number from 6 to 12)", "season of use in months", nullptr});
        o.back().Take = [](const OptionSpec& self, const std::string& v, QuoteAnswers& a) {
            const double months = ParseNumber(self, v);
            if (months != std::floor(months) || months < 6 || months > 12)
                Reject(self, v, Quoted(v) + " is not a whole number of months from 6 to 12");
            a.Season = std::min(int(months), 10) - 6;
        };
        words("term", kTerms, "insurance term of a vehicle registered abroad (10m = 10 months and more)",
              &QuoteAnswers::Term, "15d|1m|2m|...|9m|10m");
        words("violations", kYesNo, "gross violations of the insurance terms", &QuoteAnswers::Violations);
        return o;
    }();
    return options;
}

} // namespace

std::optional<double> ParsePlainNumber(const std::string& text) {
    // Digits with at most one decimal point or comma: no signs, blanks, exponents or hex,
    // whatever the C library would also take.
    std::string plain = text;
    int digits = 0, separators = 0;
    for (char& c : plain) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' || c == ',') {
            ++separators;
            c = '.';
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || separators > 1)
        return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QuoteAnswers ParseQuoteOptions(const std::vector<std::string>& args) {
    QuoteAnswers answers;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 && arg != "-h")
            throw UsageError{"unexpected argument " + Quoted(arg) + "; see --help"};
        std::string name = arg == "-h" ? "help" : arg.substr(2), value;
        const size_t eq = name.find('=');
        const bool hasValue = eq != std::string::npos;
        if (hasValue) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "json" || name == "help") {
            if (hasValue)
                throw UsageError{std::string("--")
                                     .append(name)
                                     .append(" takes no value (given ")
                                     .append(Quoted(value))
                                     .append(")")};
            (name == "json" ? answers.Json : answers.Help) = true;
            continue;
        }
        const auto& options = Options();
        auto it =
            std::find_if(options.begin(), options.end(), [&](const OptionSpec& o) { return o.Name == name; });
        if (it == options.end())
            throw UsageError{"unknown option " + Quoted("--" + name) + "; see --help"};
        if (!hasValue) {
            if (i + 1 >= args.size())
                throw UsageError{"--" + name + ": a value is missing; accepted values: " + it->Values};
            value = args[++i];
        }
        it->Take(*it, value, answers);
    }
    return answers;
}

std::string QuoteOptionsHelp() {
    std::string out = "Usage: tarifon-cli quote [options]\n"
                      "Computes the OSAGO premium (tariffs of 01.01.2006) and prints the result page.\n"
                      "Every option is optional; a missing one keeps the form's default answer.\n\n";
    for (const OptionSpec& o : Options())
        out += "  --" + o.Name + " " + o.Values + "\n      " + o.Help + "\n";
    out += "  --json\n      print the result as JSON, with the premium as a number and the enabled pages\n"
           "  --help\n      this text\n";
    return out;
}

std::vector<std::string> ApplyAnswers(const QuoteAnswers& a, calc::Calculator& c) {
    std::vector<std::string> notes;
    // An answer given for a page that does not apply is still kept, as the window keeps it,
    // but it does not count; say so rather than leave the user guessing.
    auto onPage = [&](PageId page, const char* option, auto apply) {
        apply();
        if (!c.PageEnabled(page))
            notes.push_back(std::string("--") + option + " does not apply to this case and is not counted");
    };
    if (a.Owner)
        c.SelectOwner(*a.Owner);
    if (a.Place)
        c.SelectPlace(*a.Place);
    if (a.Vehicle)
        c.rbTypeCarClick(*a.Vehicle);
    if (a.Territory)
        onPage(PageId::pHome, "territory", [&] { c.rbHomeClick(*a.Territory); });
    if (a.Class)
        onPage(PageId::pClass, "class", [&] { c.rbClassMClick(*a.Class); });
    if (a.People)
        onPage(PageId::pPeople, "drivers", [&] { c.rbLimitNoClick(*a.People); });
    if (!a.Drivers.empty())
        onPage(PageId::pAge, "driver", [&] {
            c.SelectDriverCount(int(a.Drivers.size()));
            for (size_t i = 0; i < a.Drivers.size(); ++i)
                c.SelectDriverCategory(int(i), a.Drivers[i]);
        });
    if (a.Power)
        onPage(PageId::pPower, "power", [&] { c.rbPowerClick(*a.Power); });
    if (a.Season)
        onPage(PageId::pPeriod, "season", [&] { c.rbPeriodClick(*a.Season); });
    if (a.Term)
        onPage(PageId::pTime, "term", [&] { c.rbTimeClick(*a.Term); });
    if (a.Violations)
        onPage(PageId::pDop, "violations", [&] { c.rbDopClick(*a.Violations); });
    return notes;
}

} // namespace cli
