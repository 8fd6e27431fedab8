#include "report/FontCache.h"

#include "platform/FontSetup.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace report {

TrpFontMetrics::TrpFontMetrics(const QRawFont& font, bool /*hinted*/) : FFont(font) {
    FAscent = int(std::lround(FFont.ascent()));
    FDescent = int(std::lround(FFont.descent()));
}

TrpFontMetrics::Block& TrpFontMetrics::BlockOf(char16_t c) {
    if (FBlocks.empty())
        FBlocks.resize(256);
    std::unique_ptr<Block>& block = FBlocks[c >> 8];
    if (!block) {
        block = std::make_unique<Block>();
        const int first = c & 0xFF00;
        QString chars(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            chars[i] = QChar(char16_t(first + i));
        // One glyph per character: surrogate halves and unmapped characters give glyph 0.
        QList<quint32> glyphs(256, 0);
        int count = 256;
        if (!FFont.glyphIndexesForChars(chars.constData(), 256, glyphs.data(), &count) || count != 256)
            glyphs.fill(0, 256);
        const QList<QPointF> advances = FFont.advancesForGlyphIndexes(glyphs);
        for (int i = 0; i < 256; ++i) {
            block->Glyph[i] = glyphs[i];
            block->Advance[i] = i < advances.size() ? int(std::lround(advances[i].x())) : 0;
        }
    }
    return *block;
}

int TrpFontMetrics::Advance(char16_t c) {
    return BlockOf(c).Advance[c & 0xFF];
}

quint32 TrpFontMetrics::Glyph(char16_t c) {
    return BlockOf(c).Glyph[c & 0xFF];
}

QString FontFileFor(const QString& family, int style) {
    return platform::FontFile(family, style & fsBold, style & fsItalic);
}

namespace {

std::unique_ptr<TrpFontMetrics> LoadMetrics(const QString& family, int bi, qreal pixels, bool hinted) {
    const QFont::HintingPreference hint = hinted ? QFont::PreferDefaultHinting : QFont::PreferNoHinting;
    QRawFont raw;
    const QString file = FontFileFor(family, bi);
    if (!file.isEmpty()) {
        // Each size is a copy of one loaded face: a font program read once, not once per size.
        thread_local QHash<QString, QRawFont> faces;
        const QString faceKey = file + (hinted ? QStringLiteral("|h") : QStringLiteral("|u"));
        auto face = faces.find(faceKey);
        if (face == faces.end())
            face = faces.insert(faceKey, QRawFont(platform::FontProgram(file), 12, hint));
        raw = *face;
        if (raw.isValid())
            raw.setPixelSize(pixels);
    }
    if (!raw.isValid()) {
        QFont f(family);
        f.setPixelSize(std::max(1, int(std::lround(pixels))));
        f.setBold(bi & fsBold);
        f.setItalic(bi & fsItalic);
        f.setHintingPreference(hint);
        raw = QRawFont::fromFont(f);
        raw.setPixelSize(pixels);
    }
    return std::make_unique<TrpFontMetrics>(raw, hinted);
}

QString FallbackFamily(const QString& family) {
    QFont f(family);
    f.setPixelSize(12);
    return QFontInfo(f).family();
}

// The family that draws a requested name: the name itself for our own faces and installed
// families, else the face the font database falls back to for it, and every name that falls
// back to one face shares that face's metrics. Asking the database costs about a millisecond;
// it is asked once per name and about so many names only: a real report uses a handful, and
// a file full of invented names would otherwise cost a font search for every size of every
// name. Beyond them, names not installed draw with the face unknown names fall back to.
QString DrawnFamily(const QString& family) {
    constexpr qsizetype kMaxAsked = 1024;
    thread_local const QSet<QString> installed = [] {
        QSet<QString> names;
        for (const QString& name : QFontDatabase::families())
            names.insert(name.toCaseFolded());
        return names;
    }();
    thread_local QHash<QString, QString> asked;
    const QString key = family.toCaseFolded();
    if (installed.contains(key) || platform::FindFontFace(family))
        return family;
    if (auto it = asked.constFind(key); it != asked.constEnd())
        return *it;
    if (asked.size() >= kMaxAsked) {
        thread_local const QString unknown = FallbackFamily(QStringLiteral("\x01no face has this name"));
        return unknown;
    }
    return *asked.insert(key, FallbackFamily(family));
}

// pixel64: the pixel size in 1/64 pixels, so that fractional sizes of scaled drawing share
// the cache with whole ones.
TrpFontMetrics& MetricsAt(const QString& family, int style, int pixel64, bool hinted) {
    struct Key {
        QString Family;
        int Style;
        int Pixel64;
        bool Hinted;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const {
            return qHash(k.Family.toLower()) ^ (size_t(k.Style) << 1) ^ (size_t(k.Pixel64) << 5) ^
                   size_t(k.Hinted);
        }
    };
    thread_local std::unordered_map<Key, std::unique_ptr<TrpFontMetrics>, KeyHash> cache;
    const int bi = style & (fsBold | fsItalic);
    const Key key{family, bi, std::max(pixel64, 1), hinted};
    // Text asks for the same font character after character: the last answer is kept at hand.
    thread_local Key lastKey;
    thread_local TrpFontMetrics* last = nullptr;
    if (last && key == lastKey)
        return *last;
    const Key drawnKey{DrawnFamily(family), bi, key.Pixel64, hinted};
    auto it = cache.find(drawnKey);
    if (it == cache.end())
        it =
            cache
                .emplace(drawnKey, LoadMetrics(drawnKey.Family, bi, drawnKey.Pixel64 / 64.0, drawnKey.Hinted))
                .first;
    lastKey = key;
    last = it->second.get();
    return *last;
}

} // namespace

TrpFontMetrics& FontMetricsFor(const QString& family, int style, int pixelSize, bool hinted) {
    return MetricsAt(family, style, std::clamp(pixelSize, 1, 1 << 20) * 64, hinted);
}

TrpFontMetrics& ScaledFontFor(const QString& family, int style, qreal pixelSize) {
    return MetricsAt(family, style, int(std::lround(std::clamp<qreal>(pixelSize, 1, 1 << 20) * 64)), false);
}

} // namespace report
