#pragma once
// The grouping behind the wrapper's union operations: which addresses go into one call. Pure,
// so that the number and the content of the calls are tested without the office.

#include <QString>
#include <QStringList>
#include <vector>

namespace exports {

class TrpProgress;

// One address (a cell or a range) with its key: a style index, a set of frame flags, or 0.
struct TrpUnionEntry {
    QString Address;
    int Key = 0;
    bool operator==(const TrpUnionEntry&) const = default;
};

// One call: a union of addresses joined by the separator, and the key it applies.
struct TrpUnionCall {
    QString Union;
    int Key = 0;
    bool operator==(const TrpUnionCall&) const = default;
};

enum class TrpUnionKind { Styles = 1, Borders = 2, Merges = 3 };

// Neighbouring entries of one key joined while the union stays within kMaxUnionLength
// characters. The walk ticks the progress once per further entry and stops on a cancel; the
// pending union is still returned.
std::vector<TrpUnionCall> GroupUnions(const std::vector<TrpUnionEntry>& entries, QChar separator,
                                      TrpProgress* progress = nullptr);

// Number formats: entries "format=address" in the order the cells were met; neighbours of one
// format are joined. Key of the call: unused; the format travels in Format.
struct TrpFormatCall {
    QString Format;
    QString Union;
    bool operator==(const TrpFormatCall&) const = default;
};
std::vector<TrpFormatCall> GroupNumberFormats(const QStringList& entries, QChar separator,
                                              TrpProgress* progress = nullptr);

// Row heights: the runs ("A3:A7" with the index of its height, ordered by that index) joined
// with ";" per height, except the runs of the most frequent height, which the call for all
// rows already gave. Key of a call: the height index.
std::vector<TrpUnionCall> GroupRowRuns(const std::vector<TrpUnionEntry>& runs, int mostFrequent,
                                       TrpProgress* progress = nullptr);

// Inserts the entry after the entries of a smaller key, at the position a binary search over
// the keys meets (keeps lists ordered by key so that equal keys meet).
void InsertByKey(std::vector<TrpUnionEntry>& list, TrpUnionEntry entry);

} // namespace exports
