#include "report/Variables.h"

namespace report {

bool operator==(const TrpVariable& a, const TrpVariable& b) {
    return a.Name == b.Name && a.Value == b.Value;
}

int TrpVariables::IndexOfVariable(const QString& name) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

script::Variant TrpVariables::GetVariableValue(const QString& name) const {
    const int i = IndexOfVariable(name);
    return i < 0 ? script::Variant() : FItems[size_t(i)].Value;
}

void TrpVariables::SetVariableValue(const QString& name, const script::Variant& value) {
    const int i = IndexOfVariable(name);
    if (i < 0)
        FItems.push_back({name, value});
    else
        FItems[size_t(i)].Value = value;
}

void TrpVariables::Add(const QString& name, const script::Variant& value) {
    FItems.push_back({name, value});
}

QString QuotedText(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

} // namespace report
