#include "export/image/TiffWriter.h"

#include "export/image/ImageTexts.h"
#include "export/image/PictureOutput.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

#include <QIODevice>
#include <vector>

namespace exports {

using report::rpGet;

namespace {

enum FieldType : quint16 { Ascii = 2, Short = 3, Long = 4, Rational = 5 };

struct Entry {
    quint16 Tag;
    FieldType Type;
    quint32 Count;
    quint32 Value; // the value itself (SHORT or LONG) or the offset of the values
};

// The file in memory up to the pixel rows, which go straight to the device.
class TiffFile {
public:
    explicit TiffFile(QIODevice& out) : FOut(out) {}

    quint32 Position() const { return FPosition; }
    void Put16(quint16 v) {
        const char bytes[2] = {char(v & 0xFF), char(v >> 8)};
        Append(QByteArray(bytes, 2));
    }
    void Put32(quint32 v) {
        Put16(quint16(v & 0xFFFF));
        Put16(quint16(v >> 16));
    }
    void Append(const QByteArray& data) {
        FBuffer.append(data.constData(), data.size()); // a copy: the caller reuses its row buffer
        FPosition += quint32(data.size());
        if (FBuffer.size() >= 1 << 16)
            Flush();
    }
    void Flush() {
        if (FBuffer.isEmpty())
            return;
        WriteAll(FOut, FBuffer);
        FBuffer.clear();
    }
    // Values start on a word boundary.
    void Align() {
        if (FPosition % 2)
            Append(QByteArray(1, '\0'));
    }

private:
    QIODevice& FOut;
    QByteArray FBuffer;
    quint32 FPosition = 0;
};

// A size as SHORT where it fits, as LONG where it does not.
Entry SizeEntry(quint16 tag, int v) {
    return v <= 0xFFFF ? Entry{tag, Short, 1, quint32(v)} : Entry{tag, Long, 1, quint32(v)};
}

} // namespace

void WriteTiff(QIODevice& out, const QImage& image, int dpi) {
    AddImageExportTexts();
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        throw report::TrpReportError(rpGet(QStringLiteral("exTiffEmpty")));
    const int w = image.width(), h = image.height();
    const bool bilevel = image.depth() == 1;
    const bool palette = image.format() == QImage::Format_Indexed8;

    TiffFile f(out);
    f.Append(QByteArray("II\x2A\0", 4));
    // The directory goes after the pixels, where nothing can be patched any more; its offset
    // is known beforehand from the sizes.
    const quint32 rowBytes = bilevel ? quint32((w + 7) / 8) : palette ? quint32(w) : quint32(w) * 3;
    const quint32 pixelBytes = rowBytes * quint32(h) + (bilevel ? 4 : 0); // four zero bytes end 1-bit rows

    quint32 at = 8;
    const quint32 colourMapAt = at;
    if (palette)
        at += 3 * 256 * 2;
    const quint32 resolutionAt = at;
    at += 8;
    const quint32 bitsAt = at;
    if (!bilevel && !palette)
        at += 6;
    const QByteArray software("Tarifon\0", 8);
    const quint32 softwareAt = at;
    at += quint32(software.size());
    const quint32 pixelsAt = at;
    at += pixelBytes;
    const quint32 directoryAt = at + at % 2;
    f.Put32(directoryAt);

    if (palette) {
        const QList<QRgb> table = image.colorTable();
        for (int channel = 0; channel < 3; ++channel)
            for (int i = 0; i < 256; ++i) {
                const QRgb c = i < table.size() ? table[i] : 0;
                f.Put16(quint16((channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c)) * 257));
            }
    }
    f.Put32(quint32(dpi) * 10);
    f.Put32(10);
    if (!bilevel && !palette)
        for (int i = 0; i < 3; ++i)
            f.Put16(8);
    f.Append(software);

    // The pixel rows, top row first.
    QByteArray row(qsizetype(rowBytes), '\0');
    auto* to = reinterpret_cast<uchar*>(row.data());
    // A 1-bit picture may have either colour at index 0; black is zero in the file.
    const bool whiteIsOne =
        bilevel && image.colorCount() == 2 && qGray(image.color(1)) >= qGray(image.color(0));
    // The file's bits run from the highest, as in Qt's Mono format.
    const QImage bits = bilevel ? image.convertToFormat(QImage::Format_Mono) : QImage();
    const QImage rgb = bilevel || palette ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        if (bilevel) {
            const uchar* from = bits.constScanLine(y);
            for (quint32 i = 0; i < rowBytes; ++i)
                to[i] = whiteIsOne ? from[i] : uchar(~from[i]);
            if (w % 8)
                to[rowBytes - 1] &= uchar(0xFF << (8 - w % 8));
        } else if (palette) {
            std::copy_n(image.constScanLine(y), w, to);
        } else {
            const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                to[3 * x] = uchar(qRed(from[x]));
                to[3 * x + 1] = uchar(qGreen(from[x]));
                to[3 * x + 2] = uchar(qBlue(from[x]));
            }
        }
        f.Append(row);
    }
    if (bilevel)
        f.Append(QByteArray(4, '\0'));
    f.Align();

    // The directory, its entries in ascending tag order.
    std::vector<Entry> entries = {
        {254, Long, 1, 0}, // NewSubfileType: a full picture
        SizeEntry(256, w),
        SizeEntry(257, h),
        bilevel   ? Entry{258, Short, 1, 1}
        : palette ? Entry{258, Short, 1, 8}
                  : Entry{258, Short, 3, bitsAt},
        {259, Short, 1, 1}, // no compression
        {262, Short, 1,
         quint32(bilevel   ? 1
                 : palette ? 3
                           : 2)},
        {273, Long, 1, pixelsAt},
        {277, Short, 1, quint32(bilevel || palette ? 1 : 3)},
        {278, Long, 1, quint32(h)},
        {279, Long, 1, rowBytes * quint32(h)},
        {282, Rational, 1, resolutionAt},
        {283, Rational, 1, resolutionAt},
    };
    if (!bilevel && !palette)
        entries.push_back({284, Short, 1, 1}); // one plane of interleaved samples
    entries.push_back({296, Short, 1, 2});     // resolution in inches
    entries.push_back({305, Ascii, quint32(software.size()), softwareAt});
    if (palette)
        entries.push_back({320, Short, 3 * 256, colourMapAt});

    f.Put16(quint16(entries.size()));
    for (const Entry& e : entries) {
        f.Put16(e.Tag);
        f.Put16(e.Type);
        f.Put32(e.Count);
        if (e.Type == Short && e.Count == 1) {
            f.Put16(quint16(e.Value)); // a SHORT sits in the first half of the field
            f.Put16(0);
        } else {
            f.Put32(e.Value);
        }
    }
    f.Put32(0); // no further directory
    f.Flush();
}

} // namespace exports
