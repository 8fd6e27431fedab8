#include "export/image/GifEncoder.h"

#include "export/image/ImagePalette.h"
#include "export/image/ImageTexts.h"
#include "export/image/PictureOutput.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

#include <QIODevice>
#include <array>

namespace exports {

using report::rpGet;

namespace {

// LZW coding of 8-bit pixels as GIF wants it, with the string table kept in an open-addressing
// hash: codes of 9 to 12 bits, the table cleared and the clear code sent when it is full.
class LzwEncoder {
public:
    static constexpr int ClearCode = 256;
    static constexpr int EndCode = 257;

    LzwEncoder() {
        ClearTable();
        Output(ClearCode);
    }

    void Add(const uchar* pixels, int count) {
        int i = 0;
        if (FPrefix < 0 && count > 0)
            FPrefix = pixels[i++];
        for (; i < count; ++i)
            AddPixel(pixels[i]);
    }

    // The coded data in sub-blocks, the zero-length block included.
    QByteArray Finish() {
        if (FPrefix >= 0)
            Output(FPrefix);
        Output(EndCode);
        if (FBits > 0)
            Byte(uchar(FAccumulator));
        FlushBlock();
        FData.append('\0');
        return FData;
    }

private:
    static constexpr int TableSize = 5003; // a prime a little above 4096 / 0.8
    static constexpr int MaxCodes = 4096;

    void AddPixel(int pixel) {
        const qint32 key = (pixel << 12) + FPrefix;
        int slot = (pixel << 4) ^ FPrefix;
        if (FKeys[size_t(slot)] == key) {
            FPrefix = FCodes[size_t(slot)];
            return;
        }
        if (FKeys[size_t(slot)] >= 0) {
            const int step = slot == 0 ? 1 : TableSize - slot;
            do {
                slot -= step;
                if (slot < 0)
                    slot += TableSize;
                if (FKeys[size_t(slot)] == key) {
                    FPrefix = FCodes[size_t(slot)];
                    return;
                }
            } while (FKeys[size_t(slot)] >= 0);
        }
        Output(FPrefix);
        FPrefix = pixel;
        if (FNextCode < MaxCodes) {
            FCodes[size_t(slot)] = quint16(FNextCode++);
            FKeys[size_t(slot)] = key;
        } else {
            ClearTable();
            FClearing = true;
            Output(ClearCode);
        }
    }

    void ClearTable() {
        FKeys.fill(-1);
        FNextCode = EndCode + 1;
    }

    // Sends one code at the current width, then widens the codes once the decoder's next code
    // no longer fits (or goes back to 9 bits after a clear code).
    void Output(int code) {
        FAccumulator |= quint32(code) << FBits;
        FBits += FWidth;
        while (FBits >= 8) {
            Byte(uchar(FAccumulator));
            FAccumulator >>= 8;
            FBits -= 8;
        }
        if (FClearing) {
            FWidth = 9;
            FMaxCode = (1 << FWidth) - 1;
            FClearing = false;
        } else if (FNextCode > FMaxCode) {
            ++FWidth;
            FMaxCode = FWidth == 12 ? MaxCodes : (1 << FWidth) - 1;
        }
    }

    void Byte(uchar b) {
        FBlock[size_t(FBlockSize++)] = b;
        if (FBlockSize == 254)
            FlushBlock();
    }

    void FlushBlock() {
        if (FBlockSize == 0)
            return;
        FData.append(char(FBlockSize));
        FData.append(reinterpret_cast<const char*>(FBlock.data()), FBlockSize);
        FBlockSize = 0;
    }

    std::array<qint32, TableSize> FKeys{};
    std::array<quint16, TableSize> FCodes{};
    int FNextCode = EndCode + 1;
    int FPrefix = -1;
    int FWidth = 9;
    int FMaxCode = 511;
    bool FClearing = false;
    quint32 FAccumulator = 0;
    int FBits = 0;
    std::array<uchar, 255> FBlock{};
    int FBlockSize = 0;
    QByteArray FData;
};

void Put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

} // namespace

void WriteGif(QIODevice& out, const QImage& image) {
    AddImageExportTexts();
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        throw report::TrpReportError(rpGet(QStringLiteral("exGifEmpty")));
    if (image.width() > GifMaxSide || image.height() > GifMaxSide)
        throw report::TrpReportError(
            rpGet(QStringLiteral("exGifTooLarge"))
                .arg(QString::number(image.width()), QString::number(image.height())));
    const QImage pixels = ReduceTo256Colours(image);
    if (pixels.isNull())
        throw std::bad_alloc();

    QByteArray head("GIF89a");
    Put16(head, pixels.width());
    Put16(head, pixels.height());
    head.append(char(0xF7)); // a global table of 256 colours of 8 bits per primary
    head.append('\0');       // background colour index
    head.append('\0');       // no aspect ratio
    const QList<QRgb> table = pixels.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        head.append(char(qRed(c)));
        head.append(char(qGreen(c)));
        head.append(char(qBlue(c)));
    }
    head.append("\x21\xF9\x04\x00\x00\x00\x00\x00", 8); // no transparency, no delay
    const QByteArray comment("Tarifon");
    head.append("\x21\xFE", 2);
    head.append(char(comment.size()));
    head.append(comment);
    head.append('\0');
    head.append(',');
    Put16(head, 0);
    Put16(head, 0);
    Put16(head, pixels.width());
    Put16(head, pixels.height());
    head.append('\0');    // no local table, not interlaced
    head.append(char(8)); // LZW minimum code size
    WriteAll(out, head);

    LzwEncoder lzw;
    for (int y = 0; y < pixels.height(); ++y)
        lzw.Add(pixels.constScanLine(y), pixels.width());
    WriteAll(out, lzw.Finish() + ';');
}

} // namespace exports
