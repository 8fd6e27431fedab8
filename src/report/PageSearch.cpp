#include "report/PageSearch.h"

#include "report/Attributes.h"
#include "report/PreviewPages.h"

namespace report {

namespace {

// Whether a stored object holds the text: a memo's "u" (differences) or "Text" (full form).
bool ItemHasText(const TrpXMLItem& item, const QString& text, Qt::CaseSensitivity cs) {
    bool found = false;
    ForEachRawAttr(item.Text(), [&](QStringView name, QStringView value) {
        if (name.compare(u"u", Qt::CaseInsensitive) == 0 || name.compare(u"Text", Qt::CaseInsensitive) == 0)
            found = UnescapeAttr(value.toString()).contains(text, cs);
        return !found;
    });
    return found;
}

bool PageHasText(TrpPreviewPages& pages, int index, const QString& text, Qt::CaseSensitivity cs) {
    const TrpXMLItem* page = pages.PagesItem()->Items(index);
    const bool wasUnloaded = !page->Loaded();
    if (!pages.EnsureLoaded(index).isEmpty())
        return false;
    bool found = false;
    for (int i = 0; i < page->Count() && !found; ++i)
        found = ItemHasText(*page->Items(i), text, cs);
    if (wasUnloaded)
        pages.Unload(index);
    return found;
}

} // namespace

int FindTextPage(TrpPreviewPages& pages, const QString& text, int from, Qt::CaseSensitivity cs,
                 bool backward) {
    if (text.isEmpty())
        return -1;
    const int step = backward ? -1 : 1;
    for (int i = std::max(from, 0); i >= 0 && i < pages.Count(); i += step)
        if (PageHasText(pages, i, text, cs))
            return i;
    return -1;
}

std::vector<int> PagesWithText(TrpPreviewPages& pages, const QString& text, Qt::CaseSensitivity cs) {
    std::vector<int> found;
    for (int i = FindTextPage(pages, text, 0, cs); i >= 0; i = FindTextPage(pages, text, i + 1, cs))
        found.push_back(i);
    return found;
}

} // namespace report
