#include "report/PageSearch.h"

#include "report/Attributes.h"
#include "report/PreparedPageStore.h"

#include <algorithm>

namespace report {

namespace {

bool IsSpace(QChar c) {
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

QString PlainSpaces(QString text) {
    for (QChar& c : text)
        if (IsSpace(c))
            c = QLatin1Char(' ');
    return text;
}

// Whether a stored object holds the text: a memo's "u" (differences) or "Text" (full form).
bool ItemHasText(const TrpXMLItem& item, const QString& text, Qt::CaseSensitivity cs) {
    bool found = false;
    ForEachRawAttr(item.Text(), [&](QStringView name, QStringView value) {
        if (name.compare(u"u", Qt::CaseInsensitive) == 0 || name.compare(u"Text", Qt::CaseInsensitive) == 0)
            found = TextContains(UnescapeAttr(value.toString()), text, cs);
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

bool TextContains(const QString& text, const QString& what, Qt::CaseSensitivity cs) {
    if (!std::any_of(what.begin(), what.end(), IsSpace))
        return text.contains(what, cs);
    return PlainSpaces(text).contains(PlainSpaces(what), cs);
}

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
