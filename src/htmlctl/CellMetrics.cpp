#include "htmlctl/CellMetrics.h"

#include <QFontMetrics>
#include <QHash>
#include <QRawFont>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace htmlctl {
namespace {

struct Key {
    QString Family;
    int Pixels;
    bool Bold;
    bool Italic;
    bool operator==(const Key&) const = default;
};

size_t qHash(const Key& k, size_t seed = 0) {
    return qHashMulti(seed, k.Family, k.Pixels, k.Bold, k.Italic);
}

int EmPixels(const QFont& font) {
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return PointsToPixels(qRound(font.pointSizeF()));
}

TCellMetrics Measure(const QFont& font) {
    const int em = EmPixels(font);
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray head = raw.fontTable("head");
    const QByteArray os2 = raw.fontTable("OS/2");
    if (head.size() >= 20 && os2.size() >= 78) {
        const int unitsPerEm = qFromBigEndian<quint16>(head.constData() + 18);
        const int winAscent = qFromBigEndian<quint16>(os2.constData() + 74);
        const int winDescent = qFromBigEndian<quint16>(os2.constData() + 76);
        const int aveWidth = qFromBigEndian<qint16>(os2.constData() + 2);
        if (unitsPerEm > 0)
            return {int(std::lround(double(em) * winAscent / unitsPerEm)),
                    int(std::lround(double(em) * winDescent / unitsPerEm)),
                    int(std::lround(double(em) * aveWidth / unitsPerEm))};
    }
    const QFontMetrics fm(font);
    return {fm.ascent(), fm.descent(), fm.averageCharWidth()};
}

} // namespace

int TextAdvance(const QFont& font, const QFontMetrics& metrics, const QString& text) {
    constexpr qsizetype kLongest = 48;
    if (text.isEmpty())
        return 0;
    if (text.size() > kLongest)
        return metrics.horizontalAdvance(text);
    struct WordKey {
        Key Font;
        QString Text;
        bool operator==(const WordKey&) const = default;
    };
    struct WordHash {
        size_t operator()(const WordKey& k) const { return qHash(k.Font) ^ ::qHash(k.Text); }
    };
    static std::unordered_map<WordKey, int, WordHash> cache;
    WordKey key{{font.family(), EmPixels(font), font.bold(), font.italic()}, text};
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    const int width = metrics.horizontalAdvance(text);
    if (cache.size() > 8192)
        cache.clear();
    cache.emplace(std::move(key), width);
    return width;
}

std::vector<TTextPiece> ExpandTabs(const QFont& font, const QFontMetrics& metrics, const QString& text) {
    if (!text.contains(u'\t'))
        return {{text, 0}};
    constexpr int kTabChars = 8;
    const int tab = std::max(1, kTabChars * CellMetrics(font).AveCharWidth);
    std::vector<TTextPiece> pieces;
    int x = 0;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\t', start);
        const QString piece = text.mid(start, end < 0 ? -1 : end - start);
        pieces.push_back({piece, x});
        x += TextAdvance(font, metrics, piece);
        if (end < 0)
            break;
        x = std::min((x / tab + 1) * tab, 1 << 24); // hostile captions may hold any number of tabs
        start = end + 1;
    }
    pieces.push_back({QString(), x}); // the end of the text
    return pieces;
}

int ExpandedAdvance(const QFont& font, const QFontMetrics& metrics, const QString& text) {
    if (!text.contains(u'\t'))
        return TextAdvance(font, metrics, text);
    return ExpandTabs(font, metrics, text).back().X;
}

int PointsToPixels(int points) {
    return int(std::lround(points * 96.0 / 72.0));
}

TCellMetrics CellMetrics(const QFont& font) {
    static QHash<Key, TCellMetrics> cache;
    const Key key{font.family(), EmPixels(font), font.bold(), font.italic()};
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const TCellMetrics m = Measure(font);
    if (cache.size() > 512) // hostile captions can ask for any number of sizes
        cache.clear();
    cache.insert(key, m);
    return m;
}

} // namespace htmlctl
