#include "export/pdf/PdfFontProgram.h"

#include "export/pdf/PdfCodePage.h"
#include "export/pdf/PdfFormat.h"
#include "platform/FontSetup.h"

#include <QHash>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>

namespace exports {

namespace {

quint16 U16(const QByteArray& d, quint32 at) {
    if (at + 2 > quint32(d.size()))
        return 0;
    return quint16((uchar(d[at]) << 8) | uchar(d[at + 1]));
}
qint16 I16(const QByteArray& d, quint32 at) {
    return qint16(U16(d, at));
}
quint32 U32(const QByteArray& d, quint32 at) {
    return (quint32(U16(d, at)) << 16) | U16(d, at + 2);
}

struct Table {
    quint32 Offset = 0, Length = 0;
    bool Present() const { return Length > 0; }
};

Table FindTable(const QByteArray& d, const char* tag) {
    const quint16 count = U16(d, 4);
    for (quint32 i = 0; i < count; ++i) {
        const quint32 rec = 12 + 16 * i;
        if (rec + 16 > quint32(d.size()))
            break;
        if (std::memcmp(d.constData() + rec, tag, 4) == 0) {
            const Table t{U32(d, rec + 8), U32(d, rec + 12)};
            if (quint64(t.Offset) + t.Length > quint64(d.size()))
                return {};
            return t;
        }
    }
    return {};
}

} // namespace

bool TrueTypeFile::Load(const QByteArray& data) {
    FData = data;
    if (data.size() < 12)
        return false;
    const quint32 version = U32(data, 0);
    if (version != 0x00010000 && version != 0x74727565) // plain TrueType outlines only
        return false;
    const Table head = FindTable(data, "head"), hhea = FindTable(data, "hhea"),
                hmtx = FindTable(data, "hmtx"), os2 = FindTable(data, "OS/2"), post = FindTable(data, "post"),
                cmap = FindTable(data, "cmap"), glyf = FindTable(data, "glyf");
    if (!head.Present() || !hhea.Present() || !hmtx.Present() || !cmap.Present() || !glyf.Present() ||
        head.Length < 54 || hhea.Length < 36)
        return false;
    FUnitsPerEm = U16(data, head.Offset + 18);
    if (FUnitsPerEm < 16)
        return false;
    for (int i = 0; i < 4; ++i)
        FBBox[i] = I16(data, head.Offset + 36 + 2 * quint32(i));
    FMaxWidth = U16(data, hhea.Offset + 10);
    FWinAscent = FTypoAscent = I16(data, hhea.Offset + 4);
    FWinDescent = -I16(data, hhea.Offset + 6);
    FTypoDescent = I16(data, hhea.Offset + 6);
    const quint16 metrics = U16(data, hhea.Offset + 34);
    FAdvances.clear();
    for (quint32 i = 0; i < metrics && 4 * i + 4 <= hmtx.Length; ++i)
        FAdvances.push_back(U16(data, hmtx.Offset + 4 * i));
    if (FAdvances.empty())
        return false;
    if (os2.Length >= 78) {
        FAvgWidth = I16(data, os2.Offset + 2);
        FWeight = U16(data, os2.Offset + 4);
        FTypoAscent = I16(data, os2.Offset + 68);
        FTypoDescent = I16(data, os2.Offset + 70);
        FWinAscent = U16(data, os2.Offset + 74);
        FWinDescent = U16(data, os2.Offset + 76);
        if (U16(data, os2.Offset) >= 2 && os2.Length >= 90) {
            FXHeight = I16(data, os2.Offset + 86);
            FCapHeight = I16(data, os2.Offset + 88);
        }
    }
    if (post.Length >= 16)
        FItalicAngle = qint32(U32(data, post.Offset + 4)) / 65536.0;
    return ParseCmap(cmap.Offset, cmap.Length);
}

bool TrueTypeFile::ParseCmap(quint32 offset, quint32 length) {
    const QByteArray& d = FData;
    const quint16 count = U16(d, offset + 2);
    quint32 best = 0;
    int bestRank = 0;
    for (quint32 i = 0; i < count && 4 + 8 * i + 8 <= length; ++i) {
        const quint32 rec = offset + 4 + 8 * i;
        const quint16 platform = U16(d, rec), encoding = U16(d, rec + 2);
        const quint32 sub = offset + U32(d, rec + 4);
        const quint16 format = U16(d, sub);
        int rank = 0;
        if (platform == 3 && encoding == 10 && format == 12)
            rank = 4;
        else if (platform == 3 && encoding == 1 && format == 4)
            rank = 3;
        else if (platform == 0 && format == 4)
            rank = 2;
        else if (platform == 3 && encoding == 0 && format == 4)
            rank = 1;
        if (rank > bestRank) {
            bestRank = rank;
            best = sub;
            FSymbolMap = rank == 1;
        }
    }
    if (!bestRank || best >= quint32(d.size()))
        return false;
    FSegments.clear();
    if (U16(d, best) == 12) {
        const quint32 groups = U32(d, best + 12);
        for (quint32 g = 0; g < groups && best + 16 + 12 * g + 12 <= quint32(d.size()); ++g) {
            const quint32 at = best + 16 + 12 * g;
            FSegments.push_back({U32(d, at), U32(d, at + 4), qint32(U32(d, at + 8)), 0, true});
        }
        return !FSegments.empty();
    }
    const quint16 segCount = U16(d, best + 6) / 2;
    const quint32 ends = best + 14, starts = ends + 2 * segCount + 2, deltas = starts + 2 * segCount,
                  ranges = deltas + 2 * segCount;
    for (quint32 s = 0; s < segCount; ++s) {
        const quint16 start = U16(d, starts + 2 * s), end = U16(d, ends + 2 * s);
        const qint16 delta = I16(d, deltas + 2 * s);
        const quint16 range = U16(d, ranges + 2 * s);
        if (start > end || start == 0xFFFF)
            continue;
        FSegments.push_back({start, end, delta, range ? ranges + 2 * s + range : 0, false});
    }
    return !FSegments.empty();
}

quint32 TrueTypeFile::Glyph(char32_t c) const {
    if (FSymbolMap && c < 0x100)
        c += 0xF000; // symbol fonts sit in the private use area
    // Segments are sorted by end code.
    auto it = std::lower_bound(FSegments.begin(), FSegments.end(), c,
                               [](const CmapSegment& s, char32_t v) { return s.End < v; });
    if (it == FSegments.end() || c < it->Start)
        return 0;
    if (it->Group)
        return quint32(it->Delta) + (c - it->Start);
    if (!it->RangeBase)
        return quint16(c + quint32(it->Delta));
    const quint16 g = U16(FData, it->RangeBase + 2 * (c - it->Start));
    return g ? quint16(g + it->Delta) : 0;
}

int TrueTypeFile::Advance(quint32 glyph) const {
    return glyph < FAdvances.size() ? FAdvances[glyph] : FAdvances.back();
}

TrpPDFFontMetrics TrueTypeFile::Metrics(int charset) const {
    const double k = 1000.0 / FUnitsPerEm;
    auto s = [k](double v) { return int(std::lround(v * k)); };
    TrpPDFFontMetrics m;
    m.FileData = FData;
    for (int i = 0; i < 4; ++i)
        m.BBox[i] = s(FBBox[i]);
    m.ItalicAngle = FItalicAngle;
    m.Ascent = s(FTypoAscent);
    m.Descent = s(FTypoDescent);
    m.Height = s(FWinAscent) + s(FWinDescent);
    m.InternalLeading = m.Height - 1000;
    m.XHeight = s(FXHeight);
    m.CapHeight = s(FCapHeight);
    m.Weight = FWeight;
    m.AvgWidth = s(FAvgWidth);
    m.MaxWidth = s(FMaxWidth);
    m.FirstChar = 32;
    m.LastChar = 255;
    if (IsCJKCharset(EffectiveCharset(charset))) {
        m.LastChar = 126; // the CIDs of the ASCII range; the widths table fixes the rest
    }
    const auto& table = CodePageTable(CodePageOfCharset(charset));
    const bool symbol = EffectiveCharset(charset) == 2;
    m.Widths.reserve(size_t(m.LastChar - m.FirstChar + 1));
    for (int code = m.FirstChar; code <= m.LastChar; ++code) {
        const char32_t u = symbol ? char32_t(code) : table[size_t(code)];
        m.Widths.push_back(s(Advance(u ? Glyph(u) : 0)));
    }
    return m;
}

QString PdfFontFile(const QString& family, bool bold, bool italic) {
    return platform::FontFile(family, bold, italic);
}

std::shared_ptr<const TrpPDFFontMetrics> PdfFontMetrics(const QString& fileName, int charset) {
    static std::mutex lock;
    static std::map<std::pair<QString, int>, std::shared_ptr<const TrpPDFFontMetrics>> cache;
    std::lock_guard guard(lock);
    const auto key = std::make_pair(fileName, EffectiveCharset(charset));
    if (auto it = cache.find(key); it != cache.end())
        return it->second;
    std::shared_ptr<const TrpPDFFontMetrics> result;
    // The program the text engine measures and draws with, so that the page looks the same.
    if (const QByteArray program = platform::FontProgram(fileName); !program.isEmpty()) {
        TrueTypeFile font;
        if (font.Load(program)) {
            auto m = std::make_shared<TrpPDFFontMetrics>(font.Metrics(key.second));
            m->FileName = fileName;
            result = m;
        }
    }
    cache[key] = result;
    return result;
}

QByteArray PdfCompressedFontFile(const TrpPDFFontMetrics& metrics) {
    static std::mutex lock;
    static QHash<QString, QByteArray> cache;
    std::lock_guard guard(lock);
    auto it = cache.find(metrics.FileName);
    if (it == cache.end())
        it = cache.insert(metrics.FileName, Deflate(metrics.FileData, 9));
    return *it;
}

} // namespace exports
