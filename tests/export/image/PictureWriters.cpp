// Our GIF encoder and TIFF writer on their edge inputs, decoded by giflib's and libtiff's tools
// and by ImageMagick.
#include "ImageTools.h"
#include "export/image/GifEncoder.h"
#include "export/image/ImagePalette.h"
#include "export/image/TiffWriter.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace imagetest;

namespace {

QString Save(const QTemporaryDir& dir, const QString& name, const std::function<void(QIODevice&)>& write) {
    const QString file = dir.filePath(name);
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    write(f);
    return file;
}

// An 8-bit picture of the given palette size filled by `index(x, y)`.
QImage Indexed(int w, int h, int colours, const std::function<int(int, int)>& index) {
    QImage image(w, h, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table << qRgb((i * 37) & 0xFF, (i * 91 + 40) & 0xFF, 255 - i);
    image.setColorTable(table);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.scanLine(y)[x] = uchar(index(x, y));
    return image;
}

QByteArray Indices(const QImage& image) {
    QByteArray out;
    for (int y = 0; y < image.height(); ++y)
        out.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width());
    return out;
}

// The clear codes in the code stream of a GIF we wrote (one image, codes widened as a decoder
// widens them): the first one, and one more each time the table of 4096 codes filled.
int ClearCodes(const QByteArray& gif) {
    qsizetype i = 13 + 768 + 8;                  // header, colour table, graphic control
    for (i += 2; gif[i]; i += uchar(gif[i]) + 1) // comment blocks
        ;
    i += 1 + 10 + 1; // terminator, image descriptor, minimum code size
    QByteArray data;
    for (; i < gif.size() && gif[i]; i += uchar(gif[i]) + 1)
        data.append(gif.mid(i + 1, uchar(gif[i])));
    int clears = 0, width = 9, next = 258;
    bool first = true;
    for (qint64 pos = 0; pos + width <= data.size() * 8;) {
        int code = 0;
        for (int b = 0; b < width; ++b, ++pos)
            code |= ((uchar(data[pos / 8]) >> (pos % 8)) & 1) << b;
        if (code == 256) {
            ++clears, width = 9, next = 258, first = true;
            continue;
        }
        if (code == 257)
            break;
        if (!std::exchange(first, false) && next < 4096 && ++next == (1 << width) && width < 12)
            ++width;
    }
    return clears;
}

struct LzwCase {
    const char* Name;
    QImage Picture;
    int MinClears = 1;
};

std::vector<LzwCase> LzwCases() {
    QRandomGenerator random(20060101);
    return {
        {"OnePixel", Indexed(1, 1, 1, [](int, int) { return 0; })},
        {"WhitePage",
         [] {
             QImage white(10, 10, QImage::Format_Indexed8);
             white.setColorTable({qRgb(255, 255, 255)});
             white.fill(0);
             return white;
         }()},
        // 40 000 pixels of 256 colours make new strings nearly every pixel: the table of 4096
        // codes fills about ten times, each time followed by a clear code.
        {"TableOverflow", Indexed(200, 200, 256, [&](int, int) { return int(random.bounded(256)); }), 10},
        {"Noise16OddWidth", Indexed(333, 77, 16, [&](int, int) { return int(random.bounded(16)); })},
        // Long runs grow strings past the widest code.
        {"LongRuns", Indexed(2000, 600, 2, [](int x, int y) { return (x == 1999 && y == 599) ? 1 : 0; })},
        {"Stripes", Indexed(256, 256, 256, [](int x, int y) { return (x + y) & 0xFF; })},
    };
}

} // namespace

TEST(PictureWriters, GifLzwRoundTripsThroughGiflib) {
    QTemporaryDir dir;
    for (const LzwCase& c : LzwCases()) {
        SCOPED_TRACE(c.Name);
        const QString file = Save(dir, QString::fromLatin1(c.Name) + ".gif",
                                  [&](QIODevice& out) { exports::WriteGif(out, c.Picture); });
        // giflib's decoder gives back every pixel's index.
        const ToolResult raw = RunTool(QStringLiteral("giftext"), {QStringLiteral("-r"), file});
        EXPECT_EQ(raw.ExitCode, 0) << raw.Err.toStdString();
        EXPECT_TRUE(raw.Out == Indices(c.Picture)) << raw.Out.size() << " bytes decoded";
        // Its dump lists the 256-entry table with our colours, the rest black.
        const ToolResult dump = RunTool(QStringLiteral("gifbuild"), {QStringLiteral("-d"), file});
        EXPECT_EQ(dump.ExitCode, 0) << dump.Err.toStdString();
        const QString text = QString::fromUtf8(dump.Out);
        const QString map = text.mid(text.indexOf(QStringLiteral("screen map")));
        QStringList entries;
        for (const QString& line : map.left(map.indexOf(QStringLiteral("\nend"))).split(QLatin1Char('\n')))
            if (line.trimmed().startsWith(QStringLiteral("rgb ")))
                entries << line.trimmed();
        ASSERT_EQ(entries.size(), 256);
        for (int i = 0; i < 256; ++i) {
            const QRgb col = i < c.Picture.colorCount() ? c.Picture.color(i) : 0;
            EXPECT_EQ(entries[i], QStringLiteral("rgb %1 %2 %3")
                                      .arg(qRed(col), 3, 10, QLatin1Char('0'))
                                      .arg(qGreen(col), 3, 10, QLatin1Char('0'))
                                      .arg(qBlue(col), 3, 10, QLatin1Char('0')))
                << i;
        }
        EXPECT_EQ(Identify(file), QStringLiteral("GIF %1x%2").arg(c.Picture.width()).arg(c.Picture.height()));
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_GE(ClearCodes(written.readAll()), c.MinClears);
        // The code stream starts with the clear code (256 in 9 bits, least significant first).
        const ToolResult codes = RunTool(QStringLiteral("giftext"), {QStringLiteral("-e"), file});
        EXPECT_TRUE(codes.Out.contains("Code Size = 8")) << codes.Out.toStdString();
        const qsizetype at = codes.Out.indexOf("00000h:");
        ASSERT_GE(at, 0);
        const QList<QByteArray> first = codes.Out.mid(at + 7, 12).simplified().split(' ');
        ASSERT_GE(first.size(), 2);
        EXPECT_EQ(first[0], "00h");
        EXPECT_EQ(first[1].left(2).toInt(nullptr, 16) & 1, 1);
    }
}

TEST(PictureWriters, GifSizeLimitAndRichPictures) {
    QTemporaryDir dir;
    // The widest picture a GIF can hold is written; one pixel more is refused, and nothing of
    // it reaches the device.
    const QImage widest = Indexed(exports::GifMaxSide, 1, 2, [](int x, int) { return x & 1; });
    const QString file = Save(dir, "widest.gif", [&](QIODevice& out) { exports::WriteGif(out, widest); });
    EXPECT_TRUE(RunTool(QStringLiteral("giftext"), {QStringLiteral("-r"), file}).Out == Indices(widest));
    for (const QSize size : {QSize(exports::GifMaxSide + 1, 1), QSize(1, exports::GifMaxSide + 1)}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        try {
            exports::WriteGif(buffer, QImage(size, QImage::Format_Indexed8));
            ADD_FAILURE() << "a picture wider or taller than 65535 pixels was written";
        } catch (const TrpReportError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("65535"))) << e.Message().toStdString();
        }
        EXPECT_EQ(buffer.size(), 0);
    }

    // A picture of many colours: its frequent colours stay exact, the rest move a little.
    QImage rich(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < rich.height(); ++y)
        for (int x = 0; x < rich.width(); ++x)
            rich.setPixel(x, y,
                          x < 100       ? qRgb(x * 2, y, 255 - x)
                          : (x + y) % 7 ? qRgb(255, 255, 255)
                                        : qRgb(200, 0, 0));
    const QString richFile = Save(dir, "rich.gif", [&](QIODevice& out) { exports::WriteGif(out, rich); });
    const PixelDifference d = Compare(rich, Decode(richFile), {qRgb(255, 255, 255), qRgb(200, 0, 0)});
    EXPECT_EQ(d.InkChanged, 0);
    EXPECT_LE(d.Worst, 16);
    EXPECT_EQ(exports::ReduceTo256Colours(rich).colorCount(), 256);
}

TEST(PictureWriters, TiffOfEveryDepthReadBack) {
    QTemporaryDir dir;
    QImage rgb(7, 3, QImage::Format_RGB32); // odd width: rows of 21 bytes
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            rgb.setPixel(x, y, qRgb(x * 36, y * 120, 255 - x * 30));
    QImage mono(13, 5, QImage::Format_MonoLSB); // white at index 0, bits from the lowest
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
            mono.setPixel(x, y, (x + y) % 3 == 0);
    const QImage palette = Indexed(9, 4, 200, [](int x, int y) { return x * 20 + y; });
    const struct {
        const char* Name;
        QImage Picture;
        int Bits, Samples;
        const char* Photometric;
    } cases[] = {{"rgb", rgb, 8, 3, "RGB color"},
                 {"mono", mono, 1, 1, "min-is-black"},
                 {"palette", palette, 8, 1, "palette color (RGB from colormap)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString file = Save(dir, QString::fromLatin1(c.Name) + ".tif",
                                  [&](QIODevice& out) { exports::WriteTiff(out, c.Picture, 300); });
        const ToolResult info = RunTool(QStringLiteral("tiffinfo"), {file});
        EXPECT_EQ(info.ExitCode, 0);
        EXPECT_TRUE(info.Err.isEmpty()) << info.Err.toStdString();
        const QString out = QString::fromUtf8(info.Out);
        EXPECT_TRUE(out.contains(QStringLiteral("Bits/Sample: %1\n").arg(c.Bits))) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("Samples/Pixel: %1\n").arg(c.Samples))) << out.toStdString();
        EXPECT_TRUE(
            out.contains(QStringLiteral("Photometric Interpretation: ") + QString::fromLatin1(c.Photometric)))
            << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("Resolution: 300, 300 pixels/inch"))) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("Software: Tarifon"))) << out.toStdString();
        EXPECT_EQ(Compare(c.Picture.convertToFormat(QImage::Format_RGB32), Decode(file)).Differing, 0);
    }
}
