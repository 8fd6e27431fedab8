#include "platform/PictureDecoder.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

// The allocation bound of one decoded picture in megabytes, as the reader counts it.
constexpr int kAllocationLimitMB = int((MaxPicturePixels * 4) >> 20);
// Small pictures are many in a long report; their count is held too.
constexpr qsizetype kMaxSharedPictures = 4096;

bool StartsWith(const QByteArray& data, const char* signature, qsizetype length) {
    return data.size() >= length && std::equal(signature, signature + length, data.constData());
}

bool TooLarge(const QSize& size) {
    return size.isValid() && qint64(size.width()) * size.height() > MaxPicturePixels;
}

// The size the data declares. The bitmap reader tells none before decoding, so the bitmap's
// own header is read here.
QSize DeclaredSize(QImageReader& reader, const QByteArray& data) {
    const QSize size = reader.size();
    if (size.isValid() || reader.format() != "bmp" || data.size() < 26)
        return size;
    const char* info = data.constData() + 14;
    if (qFromLittleEndian<quint32>(info) == 12) // the oldest header: 16-bit sides
        return QSize(qFromLittleEndian<quint16>(info + 4), qFromLittleEndian<quint16>(info + 6));
    const qint64 height = qFromLittleEndian<qint32>(info + 8);
    return QSize(qFromLittleEndian<qint32>(info + 4), int(std::min<qint64>(std::abs(height), INT_MAX)));
}

QString TooLargeReason(const QSize& size) {
    return QStringLiteral("is %1 x %2 pixels, more than %3")
        .arg(size.width())
        .arg(size.height())
        .arg(MaxPicturePixels);
}

QString NotAPictureReason() {
    return QStringLiteral("is not PNG, JPEG, BMP, GIF or icon data");
}

// Decoded pictures by their data, the ones used longest ago let go first.
class SharedPictures {
public:
    QImage Get(const QByteArray& data, QString* error) {
        std::lock_guard guard(FLock);
        if (auto it = FEntries.find(data); it != FEntries.end()) {
            it->LastUse = ++FClock;
            return it->Image;
        }
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader;
        if (!SetUpPictureReader(reader, buffer, PictureFormatOf(data)))
            return Fail(error, NotAPictureReason());
        const QSize size = DeclaredSize(reader, data);
        if (TooLarge(size))
            return Fail(error, TooLargeReason(size));
        // Room first, so that what is held and the new picture stay within the bound together.
        MakeRoom(size.isValid() ? qint64(size.width()) * size.height() * 4 : 0);
        QImage image = reader.read();
        ++FDecodes;
        if (image.isNull())
            return Fail(error, QStringLiteral("cannot be decoded: ") + reader.errorString());
        FEntries.insert(data, Entry{image, ++FClock});
        FHeld += image.sizeInBytes();
        MakeRoom(0);
        return image;
    }

    DecodedPictureStats Stats() {
        std::lock_guard guard(FLock);
        return {FHeld, FDecodes};
    }

private:
    struct Entry {
        QImage Image;
        quint64 LastUse = 0;
    };

    static QImage Fail(QString* error, const QString& reason) {
        if (error)
            *error = reason;
        return {};
    }

    // Lets go of the pictures used longest ago until `more` bytes fit beside the rest; the one
    // just decoded (the newest) always stays.
    void MakeRoom(qint64 more) {
        while (!FEntries.isEmpty() &&
               (FHeld + more > MaxDecodedPictureBytes || FEntries.size() > kMaxSharedPictures)) {
            auto oldest = FEntries.begin();
            for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
                if (it->LastUse < oldest->LastUse)
                    oldest = it;
            if (more == 0 && oldest->LastUse == FClock)
                break;
            FHeld -= oldest->Image.sizeInBytes();
            FEntries.erase(oldest);
        }
    }

    std::mutex FLock;
    QHash<QByteArray, Entry> FEntries;
    qint64 FHeld = 0;
    qint64 FDecodes = 0;
    quint64 FClock = 0;
};

SharedPictures& Shared() {
    static SharedPictures pictures;
    return pictures;
}

} // namespace

QByteArray PictureFormatOf(const QByteArray& data) {
    if (StartsWith(data, "\x89PNG\r\n\x1a\n", 8))
        return "png";
    if (StartsWith(data, "\xff\xd8\xff", 3))
        return "jpeg";
    if (StartsWith(data, "BM", 2))
        return "bmp";
    if (StartsWith(data, "GIF87a", 6) || StartsWith(data, "GIF89a", 6))
        return "gif";
    if (StartsWith(data, "\0\0\1\0", 4))
        return "ico";
    return {};
}

bool SetUpPictureReader(QImageReader& reader, QIODevice& device, const QByteArray& format) {
    if (format.isEmpty())
        return false;
    // No other reader is asked, whatever the data looks like.
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setFormat(format);
    reader.setDevice(&device);
    reader.setAllocationLimit(kAllocationLimitMB);
    return true;
}

PictureHeader InspectPicture(const QByteArray& data) {
    PictureHeader header;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader;
    if (!SetUpPictureReader(reader, buffer, PictureFormatOf(data))) {
        header.Error = NotAPictureReason();
        return header;
    }
    if (!reader.canRead()) {
        header.Error = QStringLiteral("has a header that cannot be read");
        return header;
    }
    header.Size = DeclaredSize(reader, data);
    if (TooLarge(header.Size))
        header.Error = TooLargeReason(header.Size);
    return header;
}

QImage DecodedPicture(const QByteArray& data, QString* error) {
    return Shared().Get(data, error);
}

DecodedPictureStats DecodedPictures() {
    return Shared().Stats();
}

} // namespace platform
