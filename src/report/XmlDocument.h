#pragma once
// The item tree that holds prepared pages: items with a name, an attribute text and children.

#include <QString>
#include <memory>
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
    void Clear() { FItems.clear(); }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }

    // Flags of the on-disk page cache.
    bool Loaded() const { return FLoaded; }
    void SetLoaded(bool v) { FLoaded = v; }
    bool Unloadable() const { return FUnloadable; }
    void SetUnloadable(bool v) { FUnloadable = v; }

    // Rough size in memory (for the memory limit and the benchmarks).
    size_t MemorySize() const;

private:
    QString FName;
    QString FText;
    std::vector<std::unique_ptr<TrpXMLItem>> FItems;
    bool FLoaded = true;
    bool FUnloadable = false;
};

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
    // Reads a document in the encoding its declaration names (UTF-8 by default); false with an
    // error message ("Invalid file format", with the reason when it is not plain syntax) on bad
    // syntax, an unknown encoding, undecodable text or items nested too deep.
    bool LoadFromBytes(const QByteArray& data, QString& error);

private:
    std::unique_ptr<TrpXMLItem> FRoot;
};

} // namespace report
