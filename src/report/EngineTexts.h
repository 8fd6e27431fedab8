#pragma once
// The engine text table: every caption, hint and message of the report engine and its
// export filters, looked up by key. Each unit adds its block of key=value lines once.

#include <QString>
#include <QStringList>
#include <map>
#include <set>

namespace report {

class TrpResources {
public:
    // The process-wide table, filled with the engine's own Russian texts on first use.
    static TrpResources& Instance();

    // The text of a key, or the key itself when it is missing.
    QString Get(const QString& key) const;
    QString Get(int key) const { return Get(QString::number(key)); }

    // Adds or replaces one text.
    void Add(const QString& key, const QString& text);
    // Adds lines of the form key=value; lines with an empty key or value add nothing.
    void AddStrings(const QString& block);
    // The same for a subsystem's UTF-8 block of texts, the first time that block is given;
    // later calls with it cost a lookup.
    void AddStringsOnce(const char* utf8Block);

    int Count() const { return int(FKeys.size()); }

private:
    struct CaseLess {
        bool operator()(const QString& a, const QString& b) const {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        }
    };
    std::map<QString, int, CaseLess> FKeys; // key -> index into FTexts
    QStringList FTexts;
    std::set<const char*> FBlocks; // the blocks AddStringsOnce has added
};

// Fills "%s" and "%d" in an engine text with the arguments in order ("%%" is a percent sign).
QString rpFormat(const QString& text, const QStringList& args);

// Shorthand for TrpResources::Instance().Get(key).
QString rpGet(const QString& key);
QString rpGet(int key);

} // namespace report
