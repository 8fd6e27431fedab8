#pragma once
// The prepared report: an item tree of prepared pages that keep, per printed object, only
// what differs from a copy of its template object ("source pages").

#include "report/Components.h"
#include "report/PlacedPage.h"
#include "report/XmlDocument.h"

#include <QHash>
#include <list>
#include <map>

namespace report {

class TrpReport;
class TrpPageCacheFile;

// Aliases of source objects: "m1", "p1", "b1", ... -> source name "Page0.Memo1" and the copy.
class TrpDictionary {
public:
    struct Entry {
        QString SourceName;
        TrpComponent* Object = nullptr;
    };
    // A free alias for the prefix: probes 10000, 5000, ... until one is taken, then counts
    // upward from there to the first free one.
    QString CreateUniqueName(const QString& prefix) const;
    void Add(const QString& alias, const QString& sourceName, TrpComponent* object);
    const Entry* Find(const QString& alias) const;
    int Count() const { return int(FEntries.size()); }
    const std::map<QString, Entry>& Entries() const { return FEntries; }
    void Clear() {
        FEntries.clear();
        FContiguous.clear();
    }

private:
    std::map<QString, Entry> FEntries;
    // Per prefix, K such that 1..K are all taken: counting upward through them is skipped, which
    // gives the same alias without walking thousands of taken names.
    std::map<QString, int> FContiguous;
};

class TrpPreviewPages {
    friend class TrpPreparedReportFile; // reads and replaces the whole store

public:
    explicit TrpPreviewPages(TrpReport* report);
    ~TrpPreviewPages();

    static constexpr int CacheSize = 50;

    void Clear();
    int Count() const;
    // The page rebuilt from its item (objects with their printed properties, positions absolute
    // within the printable area). Kept in a cache of the 50 most recently used pages.
    TrpReportPage* Page(int index);
    // The page placed on its paper for drawing and writing; made once and kept with the rebuilt
    // page (so it leaves memory with it, and is made again from the store or the cache file).
    const TrpPlacedPage* Placed(int index);
    // Says that the rebuilt page `index` was changed in place (its paper or margins): it is
    // placed again when next asked for.
    void PageChanged(int index);
    // Page size in whole report units.
    QSize PageSize(int index);
    // The source page a page was made from (its paper and margins), without rebuilding the
    // page; nullptr when the page names none.
    const TrpReportPage* PageSource(int index) const;

    // ---- building (used by the engine) ----
    // Copies a template page and its objects as a source page; returns its index.
    int AddSourcePage(const TrpReportPage& page);
    int SourcePagesCount() const { return int(FSourcePages.size()); }
    TrpReportPage* SourcePages(int index) const { return FSourcePages[size_t(index)].get(); }
    // Starts a new prepared page for a source page.
    void AddPage(int sourceIndex);
    // Appends a printed object to the current page: its differences against the source copy,
    // or all of its properties when it has none.
    void AddObject(const TrpComponent& object);
    // Replaces a text in the "u" attributes of every page (the total page count mark).
    void ReplaceInTexts(const QString& from, const QString& to);
    int CurPage() const { return FCurPage; }

    // ---- the outline: entries of the report's table of contents, in page order ----
    struct OutlineEntry {
        QString Text;
        int Page = 0; // index
    };
    void AddOutline(const QString& text, int page);
    std::vector<OutlineEntry> Outline() const;

    // ---- editing (the preview's page buttons) ----
    // Inserts an empty page of the same paper as page `index` after it; returns its index.
    int InsertEmptyPage(int index);
    void DeletePage(int index);

    TrpXMLDocument& Document() { return FDocument; }
    TrpXMLItem* PagesItem() const { return FPagesItem; }
    const TrpDictionary& Dictionary() const { return FDictionary; }
    // Bytes held by the prepared pages' items.
    size_t MemorySize() const;

    // ---- the file cache ----
    // With the engine's UseFileCache on and more than MaxMemSize megabytes of pages in memory,
    // moves the finished pages to the cache file. "" on success (or nothing to do), else the
    // message; the pages then stay in memory, whole and usable.
    QString SpillIfNeeded();
    // Brings a page's objects back from the cache file; "" on success, else the message.
    QString EnsureLoaded(int index);
    // Drops the objects of a page that is unchanged since it was read from the cache file.
    void Unload(int index);
    // The objects of a page as file text (read from the cache file when they are there).
    QString PageObjectsText(int index, QByteArray& out);
    // The cache file's name ("" while there is none) and how many pages are in it now.
    QString CacheFileName() const;
    int UnloadedCount() const { return FUnloaded; }

private:
    std::unique_ptr<TrpReportPage> Rebuild(int index);
    bool CacheOn() const;
    QString Spill(TrpXMLItem& item);
    // Keeps the count of bytes in memory right across a change of one page item.
    template <class F> void Track(TrpXMLItem& item, F&& change);

    TrpReport* FReport;
    TrpXMLDocument FDocument;
    TrpXMLItem* FPagesItem = nullptr;
    std::vector<std::unique_ptr<TrpReportPage>> FSourcePages;
    TrpDictionary FDictionary;
    QHash<const TrpComponent*, QString> FAliasOfTemplate; // template object -> alias (during a run)
    struct Cached {
        int Index;
        std::unique_ptr<TrpReportPage> Page;
        std::unique_ptr<TrpPlacedPage> Placed; // made on demand
    };
    Cached* Entry(int index);
    std::list<Cached> FCache; // most recent first
    int FCurPage = -1;
    std::unique_ptr<TrpPageCacheFile> FCacheFile;
    size_t FMemBytes = 0; // page items in memory
    int FUnloaded = 0;
    bool FCacheFailed = false; // a failed write stops spilling until the next Clear
};

} // namespace report
