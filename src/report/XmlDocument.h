#pragma once
// The item tree that holds prepared pages: items with a name, an attribute text and children.

#include "report/FileFaults.h"
#include "report/Limits.h"

#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QIODevice;

namespace report {

class TrpXMLItem {
public:
    explicit TrpXMLItem(QString name = {}, QString text = {})
        : FName(std::move(name)), FText(std::move(text)) {}

    const QString& Name() const { return FName; }
    void SetName(const QString& name) { FName = name; }
    // Attribute text: ` name="value"` pairs, values escaped.
    const QString& Text() const { return FText; }
    void SetText(QString text) { FText = std::move(text); }
    QString Prop(const QString& name) const; // "" when absent
    void SetProp(const QString& name, const QString& value);

    int Count() const { return int(FItems.size()); }
    TrpXMLItem* Items(int index) const { return FItems[size_t(index)].get(); }
    TrpXMLItem* Add(QString name = {}, QString text = {});
    TrpXMLItem* FindItem(const QString& name) const; // first child of that name (any case)
    int IndexOf(const TrpXMLItem* child) const;      // -1 when it is not a child
    void Clear() { FItems.clear(); }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    void Insert(int index, std::unique_ptr<TrpXMLItem> item) {
        FItems.insert(FItems.begin() + index, std::move(item));
    }
    // Children handed over whole (the page cache moves them out to its file and back).
    std::vector<std::unique_ptr<TrpXMLItem>> TakeItems() { return std::exchange(FItems, {}); }
    void SetItems(std::vector<std::unique_ptr<TrpXMLItem>> items) { FItems = std::move(items); }

    // Flags of the on-disk page cache.
    bool Loaded() const { return FLoaded; }
    void SetLoaded(bool v) { FLoaded = v; }
    bool Unloadable() const { return FUnloadable; }
    void SetUnloadable(bool v) { FUnloadable = v; }
    // Where the children's text lies in the cache file (offset -1: not there).
    qint64 CacheOffset() const { return FCacheOffset; }
    qint64 CacheLength() const { return FCacheLength; }
    void SetCacheSpan(qint64 offset, qint64 length) {
        FCacheOffset = offset;
        FCacheLength = length;
    }

    // Rough size in memory (for the memory limit and the benchmarks).
    size_t MemorySize() const;

private:
    QString FName;
    QString FText;
    std::vector<std::unique_ptr<TrpXMLItem>> FItems;
    bool FLoaded = true;
    bool FUnloadable = false;
    qint64 FCacheOffset = -1;
    qint64 FCacheLength = 0;
    mutable int FLastIndex = 0;
};

// The item written as file text, children included; children only with `childrenOnly`.
void WriteXMLItem(const TrpXMLItem& item, QByteArray& out, bool childrenOnly = false);

class TrpXMLDocument {
public:
    TrpXMLDocument() : FRoot(std::make_unique<TrpXMLItem>()) {}
    TrpXMLItem* Root() const { return FRoot.get(); }
    void Clear() { FRoot = std::make_unique<TrpXMLItem>(); }

    // Indenting: two spaces per level and CR LF after every tag (off for prepared reports).
    bool AutoIndent = false;

    // Writes `<?xml ...?>` and the root item, UTF-8.
    void SaveToDevice(QIODevice& device) const;
    QByteArray SaveToBytes() const;
    // Writes the document in pieces to `sink`; an item whose children are not loaded gets
    // their text from `children`. Stops at the first error either returns ("" is success).
    QString Write(const std::function<QString(const QByteArray&)>& sink,
                  const std::function<QString(const TrpXMLItem&, QByteArray&)>& children) const;
    // Reads a document in the encoding its declaration names (UTF-8 by default); false with the
    // fault on bad syntax, an unknown encoding, undecodable text or items nested too deep.
    // `closed`, when set, is told of every item read whole, with its parent (null for the
    // root); returning false stops the reading with the error it set.
    bool LoadFromBytes(
        const QByteArray& data, TrpFileError& error,
        const std::function<bool(TrpXMLItem& item, TrpXMLItem* parent, TrpFileError& error)>& closed = {});
    // The same, read from the device a piece at a time: memory holds the tree and the tag being
    // read, never the file. More than `maxBytes` from the device is an error (a pipe may never end).
    bool LoadFromDevice(
        QIODevice& device, TrpFileError& error,
        const std::function<bool(TrpXMLItem& item, TrpXMLItem* parent, TrpFileError& error)>& closed = {},
        qint64 maxBytes = limits::MaxFileBytes);

private:
    std::unique_ptr<TrpXMLItem> FRoot;
};

} // namespace report
