#include "export/xls/ExcelUnions.h"

#include "export/Progress.h"
#include "export/xls/ExcelNames.h"

#include <algorithm>

namespace exports {

namespace {

bool Cancelled(TrpProgress* progress) {
    if (!progress)
        return false;
    if (progress->Terminated())
        return true;
    progress->Tick();
    return false;
}

// Joins when the result stays within the limit; false when the union must be applied first.
bool Join(QString& pending, const QString& address, QChar separator) {
    if (pending.size() + 1 + address.size() > kMaxUnionLength)
        return false;
    pending += separator;
    pending += address;
    return true;
}

} // namespace

std::vector<TrpUnionCall> GroupUnions(const std::vector<TrpUnionEntry>& entries, QChar separator,
                                      TrpProgress* progress) {
    std::vector<TrpUnionCall> calls;
    if (entries.empty())
        return calls;
    TrpUnionCall pending{entries.front().Address, entries.front().Key};
    for (size_t i = 1; i < entries.size(); ++i) {
        if (Cancelled(progress))
            break;
        const TrpUnionEntry& e = entries[i];
        if (e.Key == pending.Key && Join(pending.Union, e.Address, separator))
            continue;
        calls.push_back(pending);
        pending = {e.Address, e.Key};
    }
    calls.push_back(pending);
    return calls;
}

std::vector<TrpFormatCall> GroupNumberFormats(const QStringList& entries, QChar separator,
                                              TrpProgress* progress) {
    std::vector<TrpFormatCall> calls;
    if (entries.isEmpty())
        return calls;
    auto split = [](const QString& entry) {
        const qsizetype eq = entry.lastIndexOf(u'=');
        return TrpFormatCall{entry.left(eq), entry.mid(eq + 1)};
    };
    TrpFormatCall pending = split(entries.front());
    for (qsizetype i = 1; i < entries.size(); ++i) {
        if (Cancelled(progress))
            break;
        TrpFormatCall e = split(entries[i]);
        if (e.Format == pending.Format && Join(pending.Union, e.Union, separator))
            continue;
        calls.push_back(pending);
        pending = std::move(e);
    }
    calls.push_back(pending);
    return calls;
}

std::vector<TrpUnionCall> GroupRowRuns(const std::vector<TrpUnionEntry>& runs, int mostFrequent,
                                       TrpProgress* progress) {
    std::vector<TrpUnionCall> calls;
    if (runs.empty())
        return calls;
    TrpUnionCall pending{runs.front().Address, runs.front().Key};
    auto flush = [&] {
        if (pending.Key != mostFrequent && !pending.Union.isEmpty())
            calls.push_back(pending);
    };
    for (size_t i = 1; i < runs.size(); ++i) {
        if (Cancelled(progress))
            break;
        const TrpUnionEntry& e = runs[i];
        if (e.Key == mostFrequent)
            continue;
        if (e.Key == pending.Key && Join(pending.Union, e.Address, u';'))
            continue;
        flush();
        pending = {e.Address, e.Key};
    }
    flush();
    return calls;
}

void InsertByKey(std::vector<TrpUnionEntry>& list, TrpUnionEntry entry) {
    // Binary search: the position of an equal key when one is met, else the insertion point.
    size_t lo = 0, hi = list.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (list[mid].Key == entry.Key) {
            lo = mid;
            break;
        }
        if (list[mid].Key < entry.Key)
            lo = mid + 1;
        else
            hi = mid;
    }
    list.insert(list.begin() + qsizetype(lo), std::move(entry));
}

} // namespace exports
