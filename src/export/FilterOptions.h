#pragma once
// The published options of the export filters, declared once per filter class as a table of
// rows: name, kind, default and how the value is read from and applied to a filter. Tools walk
// the rows instead of knowing the filters: the command line's --set and --list-options now,
// the dialogs, the settings store and the attachments of the e-mail export later.

#include "report/ReportTypes.h"

#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

namespace exports {

class TrpCustomExportFilter;

enum class FilterOptionKind { Bool, Int, Float, String, Enum };

// The kind's name as help texts show it ("true|false", "number", ...).
QString KindName(FilterOptionKind kind, const QStringList& enumNames);

struct FilterOption {
    QString Name;
    FilterOptionKind Kind;
    QStringList EnumNames; // an enumeration's names in value order
    QString Default;       // the class's default, as text
    // Opens a dialog, a program or a printer after the export: not for unattended runs.
    bool Interactive = false;
    // The filter's value as text.
    std::function<QString(const TrpCustomExportFilter&)> Get;
    // Sets the value from its text; false, the filter unchanged, when the text is no value of
    // the kind.
    std::function<bool(TrpCustomExportFilter&, const QString&)> Set;
};

// How a value type is written as text and read back (see the codecs below).
namespace option {

// "true"/"false" (also "1"/"0", "yes"/"no", any letter case).
struct Bool {
    static constexpr FilterOptionKind Kind = FilterOptionKind::Bool;
    static QString Text(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }
    static bool Parse(const QString& text, bool& v);
};

// A whole number within [Min, Max].
template <int Min, int Max> struct IntIn {
    static constexpr FilterOptionKind Kind = FilterOptionKind::Int;
    static QString Text(int v) { return QString::number(v); }
    static bool Parse(const QString& text, int& v) {
        bool ok = false;
        const int x = text.toInt(&ok);
        if (!ok || x < Min || x > Max)
            return false;
        v = x;
        return true;
    }
};

// A scale factor, 0.1 to 5 (10 to 500 %), with "." or "," before its decimals whatever the
// locale.
struct Scale {
    static constexpr FilterOptionKind Kind = FilterOptionKind::Float;
    static QString Text(report::Extended v);
    static bool Parse(const QString& text, report::Extended& v);
};

struct String {
    static constexpr FilterOptionKind Kind = FilterOptionKind::String;
    static QString Text(const QString& v) { return v; }
    static bool Parse(const QString& text, QString& v) {
        v = text;
        return true;
    }
};

// By name (any letter case) or by number.
template <class E, const auto& Names> struct Enum {
    static constexpr FilterOptionKind Kind = FilterOptionKind::Enum;
    static QStringList List() {
        QStringList names;
        for (const char* n : Names)
            names << QLatin1String(n);
        return names;
    }
    static QString Text(E v) { return List().value(int(v)); }
    static bool Parse(const QString& text, E& v) {
        const QStringList names = List();
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(text, Qt::CaseInsensitive) == 0 || text == QString::number(i)) {
                v = E(i);
                return true;
            }
        return false;
    }
};

} // namespace option

// The rows of a filter class, on top of those of its base class.
class FilterOptions {
public:
    explicit FilterOptions(const FilterOptions* base = nullptr) : FBase(base) {}

    // A row for the property behind getter and setter of filter class F.
    template <class Codec, class F, class G, class S>
    void Add(const char* name, G (F::*get)() const, void (F::*set)(S), std::decay_t<G> def) {
        using T = std::decay_t<G>;
        FilterOption row;
        row.Name = QLatin1String(name);
        row.Kind = Codec::Kind;
        if constexpr (requires { Codec::List(); })
            row.EnumNames = Codec::List();
        row.Default = Codec::Text(def);
        row.Get = [get](const TrpCustomExportFilter& f) {
            return Codec::Text((static_cast<const F&>(f).*get)());
        };
        row.Set = [set](TrpCustomExportFilter& f, const QString& text) {
            T v{};
            if (!Codec::Parse(text, v))
                return false;
            (static_cast<F&>(f).*set)(v);
            return true;
        };
        FRows.push_back(std::move(row));
    }
    // Marks rows as interactive.
    void Interactive(std::initializer_list<const char*> names);

    // Every row, the base class's first.
    std::vector<const FilterOption*> Rows() const;
    // The row of a name, in any letter case; nullptr when the class has none.
    const FilterOption* Find(const QString& name) const;

private:
    const FilterOptions* FBase;
    std::vector<FilterOption> FRows;
};

} // namespace exports
