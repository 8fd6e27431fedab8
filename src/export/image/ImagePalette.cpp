#include "export/image/ImagePalette.h"

#include <algorithm>
#include <array>
#include <climits>
#include <unordered_map>
#include <vector>

namespace exports {

namespace {

// How many of the most frequent colours stay exact however many others the picture holds: the
// paper, the ink, lines and fills and the commonest shades of smoothed text edges cover nearly
// every pixel of a page; the rare rest share the remaining entries.
constexpr size_t ExactColours = 192;
constexpr size_t PaletteSize = 256;

struct Colour {
    QRgb Rgb;
    quint32 Count;
};

int Channel(QRgb c, int channel) {
    return channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
}

// How many pixels of each colour, counted run by run (pages are mostly long runs of paper).
std::vector<Colour> Histogram(const QImage& image) {
    std::unordered_map<QRgb, quint32> counts;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb last = row[0] | 0xFF000000u;
        quint32 run = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = row[x] | 0xFF000000u;
            if (c != last) {
                counts[last] += run;
                last = c;
                run = 0;
            }
            ++run;
        }
        counts[last] += run;
    }
    std::vector<Colour> colours;
    colours.reserve(counts.size());
    for (const auto& [rgb, count] : counts)
        colours.push_back({rgb, count});
    std::sort(colours.begin(), colours.end(), [](const Colour& a, const Colour& b) {
        return a.Count != b.Count ? a.Count > b.Count : a.Rgb < b.Rgb;
    });
    return colours;
}

// Median cut of `colours` into at most `boxCount` boxes; each box gives its pixel-weighted mean.
QList<QRgb> MedianCut(std::vector<Colour> colours, size_t boxCount) {
    struct Box {
        size_t Begin, End;
        int Axis, Range;
    };
    auto makeBox = [&](size_t begin, size_t end) {
        std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
        for (size_t i = begin; i < end; ++i)
            for (int ch = 0; ch < 3; ++ch) {
                lo[size_t(ch)] = std::min(lo[size_t(ch)], Channel(colours[i].Rgb, ch));
                hi[size_t(ch)] = std::max(hi[size_t(ch)], Channel(colours[i].Rgb, ch));
            }
        Box box{begin, end, 0, -1};
        for (int ch = 0; ch < 3; ++ch)
            if (hi[size_t(ch)] - lo[size_t(ch)] > box.Range)
                box = {begin, end, ch, hi[size_t(ch)] - lo[size_t(ch)]};
        return box;
    };
    std::vector<Box> boxes{makeBox(0, colours.size())};
    while (boxes.size() < boxCount) {
        auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            return (a.End - a.Begin > 1 ? a.Range : -1) < (b.End - b.Begin > 1 ? b.Range : -1);
        });
        if (widest->End - widest->Begin < 2 || widest->Range <= 0)
            break;
        const Box box = *widest;
        const auto first = colours.begin() + qsizetype(box.Begin),
                   last = colours.begin() + qsizetype(box.End);
        std::sort(first, last, [&](const Colour& a, const Colour& b) {
            return Channel(a.Rgb, box.Axis) < Channel(b.Rgb, box.Axis);
        });
        quint64 total = 0, half = 0;
        for (auto it = first; it != last; ++it)
            total += it->Count;
        size_t split = box.Begin + 1;
        for (size_t i = box.Begin; i + 1 < box.End; ++i) {
            half += colours[i].Count;
            split = i + 1;
            if (2 * half >= total)
                break;
        }
        *widest = makeBox(box.Begin, split);
        boxes.push_back(makeBox(split, box.End));
    }
    QList<QRgb> palette;
    for (const Box& box : boxes) {
        quint64 r = 0, g = 0, b = 0, n = 0;
        for (size_t i = box.Begin; i < box.End; ++i) {
            const Colour& c = colours[i];
            r += quint64(qRed(c.Rgb)) * c.Count;
            g += quint64(qGreen(c.Rgb)) * c.Count;
            b += quint64(qBlue(c.Rgb)) * c.Count;
            n += c.Count;
        }
        n = std::max<quint64>(n, 1);
        palette << qRgb(int((r + n / 2) / n), int((g + n / 2) / n), int((b + n / 2) / n));
    }
    return palette;
}

uchar Nearest(const QList<QRgb>& palette, QRgb c) {
    int best = 0, bestDistance = INT_MAX;
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(c) - qRed(palette[i]), dg = qGreen(c) - qGreen(palette[i]),
                  db = qBlue(c) - qBlue(palette[i]);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return uchar(best);
}

} // namespace

QImage ReduceTo256Colours(const QImage& source) {
    if (source.isNull() || source.format() == QImage::Format_Indexed8)
        return source;
    if (source.depth() == 1)
        return source.convertToFormat(QImage::Format_Indexed8); // the two colours stay as they are
    const QImage image = source.convertToFormat(QImage::Format_RGB32);

    std::vector<Colour> colours = Histogram(image);
    QList<QRgb> palette;
    const size_t exact = colours.size() <= PaletteSize ? colours.size() : ExactColours;
    for (size_t i = 0; i < exact; ++i)
        palette << colours[i].Rgb;
    if (exact < colours.size())
        palette << MedianCut(std::vector<Colour>(colours.begin() + qsizetype(exact), colours.end()),
                             PaletteSize - exact);

    std::unordered_map<QRgb, uchar> index;
    index.reserve(colours.size());
    for (const Colour& c : colours)
        index.emplace(c.Rgb, Nearest(palette, c.Rgb));

    QImage out(image.size(), QImage::Format_Indexed8);
    if (out.isNull())
        return out;
    out.setColorTable(palette);
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* to = out.scanLine(y);
        QRgb last = row[0] | 0xFF000000u;
        uchar lastIndex = index.at(last);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = row[x] | 0xFF000000u;
            if (c != last) {
                last = c;
                lastIndex = index.at(c);
            }
            to[x] = lastIndex;
        }
    }
    return out;
}

QImage ToMonochrome(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QImage out(image.size(), QImage::Format_Mono);
    if (out.isNull())
        return out;
    out.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* to = out.scanLine(y);
        std::fill_n(to, out.bytesPerLine(), uchar(0));
        for (int x = 0; x < image.width(); ++x)
            if (qGray(row[x]) >= 128)
                to[x >> 3] |= uchar(0x80 >> (x & 7));
    }
    return out;
}

} // namespace exports
