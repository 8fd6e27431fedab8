#include "export/FilterOptions.h"

#include "export/ExportFilter.h"

#include <charconv>
#include <cmath>

namespace exports {

QString KindName(FilterOptionKind kind, const QStringList& enumNames) {
    switch (kind) {
    case FilterOptionKind::Bool:
        return QStringLiteral("true|false");
    case FilterOptionKind::Int:
        return QStringLiteral("integer");
    case FilterOptionKind::Float:
        return QStringLiteral("number");
    case FilterOptionKind::String:
        return QStringLiteral("text");
    case FilterOptionKind::Enum:
        return enumNames.join(QLatin1Char('|'));
    }
    return {};
}

namespace option {

bool Bool::Parse(const QString& text, bool& v) {
    const QString t = text.toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("yes"))
        v = true;
    else if (t == QLatin1String("false") || t == QLatin1String("0") || t == QLatin1String("no"))
        v = false;
    else
        return false;
    return true;
}

QString Scale::Text(report::Extended v) {
    return QString::number(double(v));
}

bool Scale::Parse(const QString& text, report::Extended& v) {
    std::string plain = text.toStdString();
    for (char& c : plain)
        if (c == ',')
            c = '.';
    // Digits and one decimal point only: no signs, blanks, exponents or hexadecimal.
    if (plain.empty() || plain.find_first_not_of("0123456789.") != std::string::npos)
        return false;
    double x = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), x);
    if (ec != std::errc() || end != plain.data() + plain.size() || !(x >= 0.1 && x <= 5))
        return false;
    v = x;
    return true;
}

} // namespace option

void FilterOptions::Interactive(std::initializer_list<const char*> names) {
    for (FilterOption& row : FRows)
        for (const char* n : names)
            if (row.Name == QLatin1String(n))
                row.Interactive = true;
}

std::vector<const FilterOption*> FilterOptions::Rows() const {
    std::vector<const FilterOption*> rows = FBase ? FBase->Rows() : std::vector<const FilterOption*>{};
    for (const FilterOption& row : FRows)
        rows.push_back(&row);
    return rows;
}

const FilterOption* FilterOptions::Find(const QString& name) const {
    for (const FilterOption* row : Rows())
        if (row->Name.compare(name, Qt::CaseInsensitive) == 0)
            return row;
    return nullptr;
}

const FilterOptions& TrpCustomExportFilter::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t;
        using F = TrpCustomExportFilter;
        t.Add<option::Bool>("ExportNotPrintable", &F::ExportNotPrintable, &F::SetExportNotPrintable, false);
        return t;
    }();
    return rows;
}

} // namespace exports
