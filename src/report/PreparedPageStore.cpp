#include "report/PreparedPageStore.h"

#include "report/Attributes.h"
#include "report/DrawText.h"
#include "report/Engine.h"
#include "report/EngineTexts.h"
#include "report/PageCacheFile.h"
#include "report/Report.h"

namespace report {

namespace {

// "m" for TrpMemoView, "p" for TrpPictureView, "b" for any band.
QString AliasPrefix(const TrpComponent& object) {
    if (object.IsBand())
        return QStringLiteral("b");
    QString name = object.ClassName();
    if (name.startsWith(QStringLiteral("Trp")))
        name.remove(0, 3);
    return name.isEmpty() ? QStringLiteral("o") : name.left(1).toLower();
}

} // namespace

QString TrpDictionary::CreateUniqueName(const QString& prefix) const {
    auto taken = [&](int n) { return FEntries.count(prefix + QString::number(n)) > 0; };
    int n = 10000;
    while (n > 1 && !taken(n))
        n /= 2;
    if (auto it = FContiguous.find(prefix); it != FContiguous.end() && n <= it->second)
        n = it->second + 1;
    while (taken(n))
        ++n;
    return prefix + QString::number(n);
}

void TrpDictionary::Add(const QString& alias, const QString& sourceName, TrpComponent* object) {
    FEntries[alias] = Entry{sourceName, object};
    qsizetype digits = alias.size();
    while (digits > 0 && alias[digits - 1].isDigit())
        --digits;
    const QString prefix = alias.left(digits);
    int& k = FContiguous[prefix];
    while (FEntries.count(prefix + QString::number(k + 1)))
        ++k;
}

const TrpDictionary::Entry* TrpDictionary::Find(const QString& alias) const {
    auto it = FEntries.find(alias);
    return it == FEntries.end() ? nullptr : &it->second;
}

TrpPreviewPages::TrpPreviewPages(TrpReport* report) : FReport(report) {
    Clear();
}

TrpPreviewPages::~TrpPreviewPages() = default;

void TrpPreviewPages::Clear() {
    FCache.clear();
    FCacheFile.reset();
    FMemBytes = 0;
    FUnloaded = 0;
    FCacheFailed = false;
    FDocument.Clear();
    FDocument.Root()->SetName(QStringLiteral("preparedreport"));
    FPagesItem = FDocument.Root()->Add(QStringLiteral("previewpages"));
    FSourcePages.clear();
    FDictionary.Clear();
    FAliasOfTemplate.clear();
    FCurPage = -1;
}

int TrpPreviewPages::Count() const {
    return FPagesItem->Count();
}

int TrpPreviewPages::AddSourcePage(const TrpReportPage& page) {
    auto copy = std::make_unique<TrpReportPage>();
    copy->Assign(page);
    const int index = int(FSourcePages.size());
    const QString pagePrefix = QStringLiteral("Page") + QString::number(index) + QLatin1Char('.');
    for (const auto& object : page.Objects()) {
        auto clone = object->Clone();
        if (!clone)
            continue;
        TrpComponent* c = copy->Add(std::move(clone));
        const QString alias = FDictionary.CreateUniqueName(AliasPrefix(*c));
        FDictionary.Add(alias, pagePrefix + c->Name(), c);
        FAliasOfTemplate.insert(object.get(), alias);
    }
    FSourcePages.push_back(std::move(copy));
    return index;
}

void TrpPreviewPages::AddPage(int sourceIndex) {
    // The pages so far are finished: this is where they may leave memory. A cache that
    // cannot be written ends the run; the pages made so far stay whole in memory.
    if (const QString error = SpillIfNeeded(); !error.isEmpty())
        throw TrpReportError(error);
    TrpXMLItem* item = FPagesItem->Add(QStringLiteral("page") + QString::number(sourceIndex));
    FMemBytes += item->MemorySize();
    FCurPage = FPagesItem->Count() - 1;
}

void TrpPreviewPages::AddObject(const TrpComponent& object) {
    if (FCurPage < 0)
        return;
    if (const QString error = EnsureLoaded(FCurPage); !error.isEmpty())
        throw TrpReportError(error);
    TrpXMLItem* page = FPagesItem->Items(FCurPage);
    // The copy in the cache file no longer holds the whole page.
    page->SetUnloadable(false);
    page->SetCacheSpan(-1, 0);
    AttrWriter w;
    auto it = FAliasOfTemplate.constFind(&object);
    const TrpDictionary::Entry* entry = it == FAliasOfTemplate.constEnd() ? nullptr : FDictionary.Find(*it);
    if (entry) {
        object.WriteDiff(w, *entry->Object);
        FMemBytes += page->Add(*it, w.Take())->MemorySize();
    } else {
        object.WriteFull(w);
        FMemBytes += page->Add(object.ClassName(), w.Take())->MemorySize();
    }
}

void TrpPreviewPages::ReplaceInTexts(const QString& from, const QString& to) {
    const QString escaped = EscapeAttr(from);
    const QString replacement = EscapeAttr(to);
    for (int p = 0; p < FPagesItem->Count(); ++p) {
        TrpXMLItem* page = FPagesItem->Items(p);
        const bool wasUnloaded = !page->Loaded();
        if (const QString error = EnsureLoaded(p); !error.isEmpty()) {
            if (FReport)
                FReport->AddError(error);
            continue;
        }
        bool changed = false;
        Track(*page, [&] {
            for (int i = 0; i < page->Count(); ++i) {
                TrpXMLItem* item = page->Items(i);
                if (item->Text().contains(escaped)) {
                    QString t = item->Text();
                    t.replace(escaped, replacement);
                    item->SetText(std::move(t));
                    changed = true;
                }
            }
        });
        if (changed) {
            page->SetUnloadable(false);
            page->SetCacheSpan(-1, 0);
        }
        if (wasUnloaded && (!changed || Spill(*page).isEmpty()))
            Unload(p);
    }
    FCache.clear();
}

// The outline lives in the document as "outline" with "item" children (text and page), so it
// is saved and read with the pages.
void TrpPreviewPages::AddOutline(const QString& text, int page) {
    TrpXMLItem* outline = FDocument.Root()->FindItem(QStringLiteral("outline"));
    if (!outline)
        outline = FDocument.Root()->Add(QStringLiteral("outline"));
    AttrWriter w;
    w.Add("text", text);
    w.AddInt("page", page);
    outline->Add(QStringLiteral("item"), w.Take());
}

std::vector<TrpPreviewPages::OutlineEntry> TrpPreviewPages::Outline() const {
    std::vector<OutlineEntry> entries;
    if (const TrpXMLItem* outline = FDocument.Root()->FindItem(QStringLiteral("outline")))
        for (int i = 0; i < outline->Count(); ++i) {
            const TrpXMLItem* item = outline->Items(i);
            bool ok = false;
            const int page = item->Prop(QStringLiteral("page")).toInt(&ok);
            if (ok && page >= 0 && page < Count())
                entries.push_back({item->Prop(QStringLiteral("text")), page});
        }
    return entries;
}

// Outline entries follow their pages when pages come and go.
static void ShiftOutline(TrpXMLDocument& document, int from, int by) {
    TrpXMLItem* outline = document.Root()->FindItem(QStringLiteral("outline"));
    for (int i = outline ? outline->Count() - 1 : -1; i >= 0; --i) {
        TrpXMLItem* item = outline->Items(i);
        const int page = item->Prop(QStringLiteral("page")).toInt();
        if (by < 0 && page == from)
            outline->Delete(i);
        else if (page >= from + (by < 0 ? 1 : 0))
            item->SetProp(QStringLiteral("page"), QString::number(page + by));
    }
}

int TrpPreviewPages::InsertEmptyPage(int index) {
    const int at = std::clamp(index + 1, 0, Count());
    const QString name =
        index >= 0 && index < Count() ? FPagesItem->Items(index)->Name() : QStringLiteral("page0");
    auto item = std::make_unique<TrpXMLItem>(name);
    FMemBytes += item->MemorySize();
    FPagesItem->Insert(at, std::move(item));
    ShiftOutline(FDocument, at, 1);
    FCache.clear();
    return at;
}

void TrpPreviewPages::DeletePage(int index) {
    if (index < 0 || index >= Count())
        return;
    TrpXMLItem* item = FPagesItem->Items(index);
    if (!item->Loaded())
        --FUnloaded;
    FMemBytes -= std::min(FMemBytes, item->MemorySize());
    FPagesItem->Delete(index);
    ShiftOutline(FDocument, index, -1);
    FCache.clear();
    FCurPage = std::min(FCurPage, Count() - 1);
}

// ---- the file cache ----

bool TrpPreviewPages::CacheOn() const {
    return FReport && FReport->EngineOptions.UseFileCache;
}

template <class F> void TrpPreviewPages::Track(TrpXMLItem& item, F&& change) {
    const size_t before = item.MemorySize();
    change();
    FMemBytes = FMemBytes - std::min(FMemBytes, before) + item.MemorySize();
}

QString TrpPreviewPages::CacheFileName() const {
    return FCacheFile ? FCacheFile->FileName() : QString();
}

QString TrpPreviewPages::Spill(TrpXMLItem& item) {
    if (!item.Loaded() || item.Count() == 0)
        return {};
    if (!item.Unloadable()) {
        if (FCacheFailed)
            return rpFormat(rpGet("clCacheWrite"), {CacheFileName()});
        if (!FCacheFile)
            FCacheFile =
                std::make_unique<TrpPageCacheFile>(FReport ? FReport->EngineOptions.TempDir : QString());
        QByteArray bytes;
        WriteXMLItem(item, bytes, true);
        QString why;
        const qint64 offset = FCacheFile->Append(bytes, why);
        if (offset < 0) {
            FCacheFailed = true;
            return rpFormat(rpGet("clCacheWrite"), {why});
        }
        item.SetCacheSpan(offset, bytes.size());
        item.SetUnloadable(true);
    }
    Track(item, [&] { item.TakeItems(); });
    item.SetLoaded(false);
    ++FUnloaded;
    return {};
}

QString TrpPreviewPages::SpillIfNeeded() {
    if (!CacheOn() || FCacheFailed)
        return {};
    const size_t limit = size_t(std::max(0, FReport->EngineOptions.MaxMemSize)) << 20;
    if (FMemBytes <= limit)
        return {};
    for (int i = 0; i < Count(); ++i)
        if (QString error = Spill(*FPagesItem->Items(i)); !error.isEmpty())
            return error;
    return {};
}

QString TrpPreviewPages::EnsureLoaded(int index) {
    TrpXMLItem* item = FPagesItem->Items(index);
    if (item->Loaded())
        return {};
    QByteArray bytes;
    QString why;
    if (!FCacheFile || !FCacheFile->Read(item->CacheOffset(), item->CacheLength(), bytes, why))
        return rpFormat(rpGet("clCacheRead"), {why});
    TrpXMLDocument doc;
    if (TrpFileError fault; !doc.LoadFromBytes("<?xml version=\"1.0\"?><p>" + bytes + "</p>", fault))
        return rpFormat(rpGet("clCacheRead"), {CacheFileName() + QStringLiteral(": ") +
                                               FileErrorText(fault, TrpLanguage::Russian)});
    Track(*item, [&] { item->SetItems(doc.Root()->TakeItems()); });
    item->SetLoaded(true);
    item->SetUnloadable(true);
    --FUnloaded;
    return {};
}

void TrpPreviewPages::Unload(int index) {
    TrpXMLItem* item = FPagesItem->Items(index);
    if (item->Loaded() && item->Unloadable())
        Spill(*item);
}

QString TrpPreviewPages::PageObjectsText(int index, QByteArray& out) {
    const TrpXMLItem* item = FPagesItem->Items(index);
    if (item->Loaded()) {
        WriteXMLItem(*item, out, true);
        return {};
    }
    QByteArray bytes;
    QString why;
    if (!FCacheFile || !FCacheFile->Read(item->CacheOffset(), item->CacheLength(), bytes, why))
        return rpFormat(rpGet("clCacheRead"), {why});
    out += bytes;
    return {};
}

const TrpReportPage* TrpPreviewPages::PageSource(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    bool ok = false;
    const int source = FPagesItem->Items(index)->Name().mid(4).toInt(&ok);
    return ok && source >= 0 && source < int(FSourcePages.size()) ? FSourcePages[size_t(source)].get()
                                                                  : nullptr;
}

std::unique_ptr<TrpReportPage> TrpPreviewPages::Rebuild(int index) {
    if (const QString error = EnsureLoaded(index); !error.isEmpty() && FReport)
        FReport->AddError(error);
    const TrpXMLItem* item = FPagesItem->Items(index);
    auto page = std::make_unique<TrpReportPage>();
    if (const TrpReportPage* source = PageSource(index))
        page->Assign(*source);
    std::vector<TrpView*> aligned;
    for (int i = 0; i < item->Count(); ++i) {
        const TrpXMLItem* child = item->Items(i);
        std::unique_ptr<TrpComponent> object;
        if (const TrpDictionary::Entry* entry = FDictionary.Find(child->Name())) {
            object = entry->Object->Clone();
        } else {
            object = CreateComponent(child->Name());
        }
        if (!object)
            continue;
        object->ApplyAttributes(child->Text());
        TrpComponent* added = page->Add(std::move(object));
        if (auto* view = dynamic_cast<TrpView*>(added); view && view->Align() != baNone)
            aligned.push_back(view);
        // An auto-width memo stores no width: it follows its text again.
        if (auto* memo = dynamic_cast<TrpCustomMemoView*>(added); memo && memo->AutoWidth() && FReport)
            memo->SetWidth(MemoNeededSize(FReport->DrawText(), *memo).width());
    }
    // Aligned views store no left of their own: they are placed again as on the page. Objects
    // filling the band or sitting on its bottom were placed after their neighbours there, so they
    // take no part in the neighbour search here either.
    if (!aligned.empty()) {
        std::vector<TrpView*> views;
        for (const auto& c : page->Objects())
            if (auto* v = dynamic_cast<TrpView*>(c.get());
                v && v->Align() != baClient && v->Align() != baBottom)
                views.push_back(v);
        AlignBandObjects(views, page->PrintableWidth(), page->PrintableHeight());
        for (TrpView* v : aligned)
            if (v->Align() == baClient)
                v->SetLeft(0);
    }
    return page;
}

TrpPreviewPages::Cached* TrpPreviewPages::Entry(int index) {
    if (index < 0 || index >= Count())
        return nullptr;
    for (auto it = FCache.begin(); it != FCache.end(); ++it)
        if (it->Index == index) {
            if (it != FCache.begin())
                FCache.splice(FCache.begin(), FCache, it);
            return &FCache.front();
        }
    FCache.push_front({index, Rebuild(index), nullptr});
    if (int(FCache.size()) > CacheSize) {
        // A page read back from the cache file leaves memory again with its rebuilt form.
        const int evicted = FCache.back().Index;
        FCache.pop_back();
        if (CacheOn())
            Unload(evicted);
    }
    return &FCache.front();
}

TrpReportPage* TrpPreviewPages::Page(int index) {
    Cached* entry = Entry(index);
    return entry ? entry->Page.get() : nullptr;
}

const TrpPlacedPage* TrpPreviewPages::Placed(int index) {
    Cached* entry = Entry(index);
    if (!entry)
        return nullptr;
    // Marks show the page count: a page added or deleted since places the page again.
    if (!entry->Placed || entry->Placed->PageCount != Count())
        entry->Placed = PlacePage(*entry->Page, index, Count());
    return entry->Placed.get();
}

void TrpPreviewPages::PageChanged(int index) {
    for (Cached& entry : FCache)
        if (entry.Index == index)
            entry.Placed.reset();
}

QSize TrpPreviewPages::PageSize(int index) {
    const TrpReportPage* page = Page(index);
    return page ? QSize(Round(page->Width()), Round(page->Height())) : QSize();
}

size_t TrpPreviewPages::MemorySize() const {
    return FMemBytes;
}

} // namespace report
