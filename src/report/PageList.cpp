#include "report/PageList.h"

#include "report/Report.h"

#include <algorithm>

namespace report {

namespace {

int ParseNumber(const QString& item) {
    bool ok = false;
    const int n = item.toInt(&ok);
    // Only plain digits: "+3" or "0x3" are as wrong as a letter.
    if (!ok || item.isEmpty() || !std::all_of(item.begin(), item.end(), [](QChar c) { return c.isDigit(); }))
        throw TrpReportError(QStringLiteral("'%1' is not a valid page number").arg(item));
    return n;
}

} // namespace

std::vector<int> ParsePageNumbers(const QString& text, int pageCount) {
    QString s = text;
    s.remove(QLatin1Char(' '));
    std::vector<int> pages;
    if (s.isEmpty())
        return pages;
    if (s.endsWith(QLatin1Char('-')))
        s += QString::number(pageCount);
    for (const QString& item : s.split(QLatin1Char(','))) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        if (dash < 0) {
            const int n = ParseNumber(item);
            if (n >= 1 && n <= pageCount)
                pages.push_back(n);
            continue;
        }
        const int from = ParseNumber(item.left(dash));
        const int to = ParseNumber(item.mid(dash + 1));
        for (int n = std::max(from, 1); n <= std::min(to, pageCount); ++n)
            pages.push_back(n);
    }
    return pages;
}

bool PageSelected(const std::vector<int>& pages, int n) {
    return std::find(pages.begin(), pages.end(), n) != pages.end();
}

} // namespace report
