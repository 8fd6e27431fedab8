#pragma once
// Report variables: an ordered list of names and values. Names compare without letter case,
// Cyrillic included; a name beginning with a space is a category heading.

#include "script/Script.h"

#include <QString>
#include <vector>

namespace report {

struct TrpVariable {
    QString Name;
    script::Variant Value; // a new item is Null
};

class TrpVariables {
public:
    int Count() const { return int(FItems.size()); }
    const TrpVariable& Items(int index) const { return FItems[size_t(index)]; }
    const std::vector<TrpVariable>& All() const { return FItems; }

    // Index of the first item whose name matches, or -1.
    int IndexOfVariable(const QString& name) const;
    // The value, or Null when there is no such item.
    script::Variant GetVariableValue(const QString& name) const;
    // Sets the matching item or appends a new one.
    void SetVariableValue(const QString& name, const script::Variant& value);
    // Appends a heading or an item without looking for an existing one.
    void Add(const QString& name, const script::Variant& value = {});
    void Clear() { FItems.clear(); }

    bool operator==(const TrpVariables&) const = default;

private:
    std::vector<TrpVariable> FItems;
};

bool operator==(const TrpVariable& a, const TrpVariable& b);

// Wraps a text in single quotes so that reading the variable yields the text itself;
// quotes inside are doubled.
QString QuotedText(const QString& text);

} // namespace report
