#include "report/FontCache.h"

#include "platform/FontSetup.h"

#include <QFont>
#include <QHash>
#include <algorithm>
#include <cmath>

namespace report {

TrpFontMetrics::TrpFontMetrics(QRawFont font, bool /*hinted*/) : FFont(std::move(font)) {
    FAscent = int(std::lround(FFont.ascent()));
    FDescent = int(std::lround(FFont.descent()));
}

void TrpFontMetrics::Fill(char16_t c) {
    if (FAdvance.empty()) {
        FAdvance.assign(65536, -1);
        FGlyph.assign(65536, 0);
    }
    const QChar ch(c);
    QList<quint32> glyphs = FFont.glyphIndexesForString(QString(ch));
    quint32 glyph = glyphs.isEmpty() ? 0 : glyphs.first();
    QList<QPointF> advances = FFont.advancesForGlyphIndexes(QList<quint32>{glyph});
    FGlyph[c] = glyph;
    FAdvance[c] = advances.isEmpty() ? 0 : int(std::lround(advances.first().x()));
}

int TrpFontMetrics::Advance(char16_t c) {
    if (FAdvance.empty() || FAdvance[c] < 0)
        Fill(c);
    return FAdvance[c];
}

quint32 TrpFontMetrics::Glyph(char16_t c) {
    if (FAdvance.empty() || FAdvance[c] < 0)
        Fill(c);
    return FGlyph[c];
}

QString FontFileFor(const QString& family, int style) {
    return platform::FontFile(family, style & fsBold, style & fsItalic);
}

namespace {

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
    auto it = cache.find(key);
    if (it != cache.end())
        return *it->second;

    const qreal pixels = key.Pixel64 / 64.0;
    const QFont::HintingPreference hint = hinted ? QFont::PreferDefaultHinting : QFont::PreferNoHinting;
    QRawFont raw;
    const QString file = FontFileFor(family, bi);
    if (!file.isEmpty())
        raw = QRawFont(platform::FontProgram(file), pixels, hint);
    if (!raw.isValid()) {
        QFont f(family);
        f.setPixelSize(std::max(1, int(std::lround(pixels))));
        f.setBold(bi & fsBold);
        f.setItalic(bi & fsItalic);
        f.setHintingPreference(hint);
        raw = QRawFont::fromFont(f);
        raw.setPixelSize(pixels);
    }
    auto metrics = std::make_unique<TrpFontMetrics>(raw, hinted);
    return *cache.emplace(key, std::move(metrics)).first->second;
}

} // namespace

TrpFontMetrics& FontMetricsFor(const QString& family, int style, int pixelSize, bool hinted) {
    return MetricsAt(family, style, std::clamp(pixelSize, 1, 1 << 20) * 64, hinted);
}

TrpFontMetrics& ScaledFontFor(const QString& family, int style, qreal pixelSize) {
    return MetricsAt(family, style, int(std::lround(std::clamp<qreal>(pixelSize, 1, 1 << 20) * 64)), false);
}

} // namespace report
