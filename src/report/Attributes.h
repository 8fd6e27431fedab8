#pragma once
// Attribute text of the prepared-report item tree: ` name="value"` pairs, values escaped.

#include "report/ReportTypes.h"

#include <QString>
#include <functional>

namespace report {

// LF, CR, double quote, "<" and ">" become "&#code;"; "&quot;" becomes "&#34;".
QString EscapeAttr(const QString& value);
// "&#code;" back to the character, "&quot;" to a double quote.
QString UnescapeAttr(const QString& value);

// General format, up to 15 significant digits, a comma before the fraction in any locale.
QString FloatToAttr(Extended value);
// Accepts "," or "." as the separator and ignores spaces; false when not a number.
bool AttrToFloat(const QString& text, Extended& value);

class AttrWriter {
public:
    void Add(const QString& name, const QString& value); // escapes
    void AddRaw(const QString& name, const QString& value);
    void AddInt(const QString& name, long long value) { AddRaw(name, QString::number(value)); }
    void AddFloat(const QString& name, Extended value) { AddRaw(name, FloatToAttr(value)); }
    // Booleans by name (full form) or as 1/0 (differences).
    void AddBoolName(const QString& name, bool value) { AddRaw(name, value ? "True" : "False"); }
    void AddBoolBit(const QString& name, bool value) { AddRaw(name, value ? "1" : "0"); }
    const QString& Text() const { return FText; }
    QString Take() { return std::move(FText); }

private:
    QString FText;
};

// Calls f(name, value) for each pair in order, both as written (the name trimmed, the value
// still escaped), until f returns false or a name is empty.
void ForEachRawAttr(QStringView text, const std::function<bool(QStringView, QStringView)>& f);
// Calls f(name, value) for each pair in order; the name is lower-cased and trimmed, the value
// unescaped. Stops at an empty name.
void ForEachAttr(const QString& text, const std::function<void(const QString&, const QString&)>& f);
// The value of one attribute (name compared without case); false when absent.
bool FindAttr(const QString& text, const QString& name, QString& value);

} // namespace report
