#include "platform/PictureDecoder.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QHash>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <vector>

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

QString DamagedReason() {
    return QStringLiteral("has data that cannot be decoded");
}

// Pictures of more pixels than this are decoded at a reduced size when drawn small; below it
// one decoding at the full size serves every zoom.
constexpr qint64 kReducedFromPixels = qint64(2048) * 2048;
// A large picture is checked at the largest of its halvings within this side, which then
// serves drawing at any size up to it (a page at ordinary zooms).
constexpr int kCheckSide = 1024;
// Verdicts kept of checked data (by digest).
constexpr qsizetype kMaxVerdicts = 65536;

// The picture at 1/2^k of its size, the smallest such size still covering `drawn` in both
// directions; its own size when it is small or not drawn at half its size or less.
QSize ReducedSize(const QSize& source, const QSize& drawn) {
    QSize size = source;
    if (!drawn.isValid() || qint64(source.width()) * source.height() <= kReducedFromPixels)
        return size;
    for (;;) {
        const QSize half((size.width() + 1) / 2, (size.height() + 1) / 2);
        if (half.width() < std::max(drawn.width(), 1) || half.height() < std::max(drawn.height(), 1))
            return size;
        size = half;
    }
}

// The size a large picture is checked at.
QSize CheckSize(const QSize& source) {
    QSize size = source;
    while (std::max(size.width(), size.height()) > kCheckSide)
        size = QSize((size.width() + 1) / 2, (size.height() + 1) / 2);
    return size;
}

// Decoded pictures by their data, each at the sizes it was drawn at, the ones used longest ago
// let go first.
class SharedPictures {
public:
    QImage Get(const QByteArray& data, const QSize& drawn, QString* error) {
        std::lock_guard guard(FLock);
        if (Version* found = Serving(data, drawn)) {
            found->LastUse = ++FClock;
            return found->Image;
        }
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader;
        const QByteArray format = PictureFormatOf(data);
        if (!SetUpPictureReader(reader, buffer, format))
            return Fail(error, NotAPictureReason());
        const QSize size = DeclaredSize(reader, data);
        if (TooLarge(size))
            return Fail(error, TooLargeReason(size));
        const QSize target = size.isValid() ? ReducedSize(size, drawn) : size;
        const bool full = target == size;
        if (!full)
            reader.setScaledSize(target);
        // Room first, so that what is held and the new picture stay within the bound together.
        // The PNG and JPEG readers reduce as they read; the others read the whole picture first.
        const QSize read = full || format == "png" || format == "jpeg" ? target : size;
        MakeRoom(read.isValid() ? qint64(read.width()) * read.height() * 4 : 0);
        QImage image = reader.read();
        ++FDecodes;
        if (image.isNull())
            return Fail(error, DamagedReason());
        FEntries[data].push_back(Version{image, full, ++FClock});
        FHeld += image.sizeInBytes();
        ++FCount;
        MakeRoom(0);
        return image;
    }

    // The verdict on data checked before, if it was.
    std::optional<QString> Verdict(const QByteArray& digest) {
        std::lock_guard guard(FLock);
        const auto it = FVerdicts.constFind(digest);
        return it == FVerdicts.cend() ? std::nullopt : std::optional<QString>(*it);
    }
    void SetVerdict(const QByteArray& digest, const QString& error) {
        std::lock_guard guard(FLock);
        if (FVerdicts.size() >= kMaxVerdicts)
            FVerdicts.clear();
        FVerdicts.insert(digest, error);
    }

    DecodedPictureStats Stats() {
        std::lock_guard guard(FLock);
        return {FHeld, FDecodes};
    }

private:
    struct Version {
        QImage Image;
        bool Full = false; // the picture at its own size
        quint64 LastUse = 0;
    };

    static QImage Fail(QString* error, const QString& reason) {
        if (error)
            *error = reason;
        return {};
    }

    // The smallest version held that serves drawing at `drawn`: one covering it, or the
    // picture at its own size.
    Version* Serving(const QByteArray& data, const QSize& drawn) {
        const auto it = FEntries.find(data);
        if (it == FEntries.end())
            return nullptr;
        Version* best = nullptr;
        for (Version& v : *it) {
            const QSize s = v.Image.size();
            const bool serves =
                v.Full || (drawn.isValid() && s.width() >= drawn.width() && s.height() >= drawn.height());
            if (serves && (!best || qint64(s.width()) * s.height() <
                                        qint64(best->Image.width()) * best->Image.height()))
                best = &v;
        }
        return best;
    }

    // Lets go of the versions used longest ago until `more` bytes fit beside the rest; the one
    // just decoded (the newest) always stays.
    void MakeRoom(qint64 more) {
        while (FCount > 0 && (FHeld + more > MaxDecodedPictureBytes || FCount > kMaxSharedPictures)) {
            auto oldestEntry = FEntries.end();
            size_t oldestIndex = 0;
            for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
                for (size_t i = 0; i < it->size(); ++i)
                    if (oldestEntry == FEntries.end() ||
                        (*it)[i].LastUse < (*oldestEntry)[oldestIndex].LastUse) {
                        oldestEntry = it;
                        oldestIndex = i;
                    }
            Version& oldest = (*oldestEntry)[oldestIndex];
            if (more == 0 && oldest.LastUse == FClock)
                break;
            FHeld -= oldest.Image.sizeInBytes();
            --FCount;
            oldestEntry->erase(oldestEntry->begin() + qsizetype(oldestIndex));
            if (oldestEntry->empty())
                FEntries.erase(oldestEntry);
        }
    }

    std::mutex FLock;
    QHash<QByteArray, std::vector<Version>> FEntries;
    QHash<QByteArray, QString> FVerdicts;
    qint64 FHeld = 0;
    qsizetype FCount = 0; // versions held
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

PictureHeader CheckPicture(const QByteArray& data) {
    PictureHeader header = InspectPicture(data);
    if (!header.Error.isEmpty())
        return header;
    const QByteArray digest = QCryptographicHash::hash(data, QCryptographicHash::Sha1);
    if (const std::optional<QString> verdict = Shared().Verdict(digest)) {
        header.Error = *verdict;
        return header;
    }
    QString error;
    if (Shared().Get(data, header.Size.isValid() ? CheckSize(header.Size) : QSize(), &error).isNull() &&
        error.isEmpty())
        error = DamagedReason();
    Shared().SetVerdict(digest, error);
    header.Error = error;
    return header;
}

QImage DecodedPicture(const QByteArray& data, QSize drawn, QString* error) {
    return Shared().Get(data, drawn, error);
}

DecodedPictureStats DecodedPictures() {
    return Shared().Stats();
}

} // namespace platform
