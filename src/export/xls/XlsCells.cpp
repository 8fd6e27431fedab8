#include "export/xls/XlsCells.h"

#include <cmath>

namespace exports {

QString CleanCellText(const QString& text) {
    QString s = text;
    s.remove(u'\r');
    while (s.endsWith(u'\n'))
        s.chop(1);
    return s.left(900);
}

QString OleNumberFormat(const QString& formatStr) {
    int decimals = 0;
    const qsizetype dot = formatStr.indexOf(u'.');
    if (dot >= 0)
        decimals = formatStr.mid(dot + 1, formatStr.size() - dot - 2).toInt();
    decimals = std::clamp(decimals, 0, 30);
    if (formatStr.isEmpty())
        return {};
    switch (formatStr.back().unicode()) {
    case u'd':
        return QStringLiteral("#,") + QString(decimals, u'#');
    case u'f':
        return QStringLiteral("0,") + QString(decimals, u'0');
    case u'n':
        return QStringLiteral("# ##0,") + QString(decimals, u'0');
    default:
        return {};
    }
}

TrpFastValue FastCellValue(const QString& text, const report::TrpFormat& format, bool asText,
                           const QString& thousandSeparator) {
    if (asText)
        return {u'\'' + text};
    if (format.Kind == report::fkText)
        return {u'\'' + text};
    if (format.Kind != report::fkNumeric || text.isEmpty())
        return {text};
    QString value = text;
    for (QChar c : thousandSeparator)
        value.remove(c);
    if (!format.DecimalSeparator.isEmpty())
        value.replace(format.DecimalSeparator, QStringLiteral("."));
    if (format.FormatStr.isEmpty())
        return {value};
    return {value, true, OleNumberFormat(format.FormatStr)};
}

double QuarterPoints(double points) {
    return std::nearbyint(points * 4) / 4; // the default rounding mode rounds halves to even
}

TrpRowPlan PlanRowHeights(const std::vector<double>& heights) {
    TrpRowPlan plan;
    std::vector<int> counts;
    const int last = int(heights.size());
    int runStart = 1, runIndex = 0;
    auto record = [&](QString address, int index) { InsertByKey(plan.Runs, {std::move(address), index}); };
    for (int r = 1; r <= last; ++r) {
        const double h = QuarterPoints(heights[size_t(r - 1)]);
        auto found = std::find(plan.Heights.begin(), plan.Heights.end(), h);
        int i = int(found - plan.Heights.begin());
        if (found == plan.Heights.end()) {
            plan.Heights.push_back(h);
            counts.push_back(1);
        } else {
            ++counts[size_t(i)];
        }
        if (counts[size_t(i)] > counts[size_t(plan.MostFrequent)])
            plan.MostFrequent = i;
        if (r > 1 && i != runIndex) {
            const QString a = QStringLiteral("A%1").arg(runStart);
            record(runStart == r - 1 ? a : a + QStringLiteral(":A%1").arg(r - 1), runIndex);
            runStart = r;
            runIndex = i;
        }
        if (r == last)
            record(QStringLiteral("A%1:A%2").arg(runStart).arg(r), i);
    }
    return plan;
}

} // namespace exports
