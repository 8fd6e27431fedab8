#pragma once
// The one place where picture data from outside (a prepared-report file, a caption's picture
// file) becomes an image. Only the formats the program writes and reads are decoded, each
// told by its signature and read by its own reader: no other reader is ever asked, so data
// shaped as a vector drawing or a document that names other files is never interpreted.
// Decoded pictures are shared by identical data and held within a fixed memory bound; a large
// picture drawn small is decoded at a reduced size.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;
class QImageReader;

namespace platform {

// The most pixels one picture may have: 8192 x 8192, 256 MB in 32-bit colour.
constexpr qint64 MaxPicturePixels = qint64(1) << 26;
// Decoded pictures kept for drawing again, all documents together. Beyond it the pictures
// used longest ago are let go and decoded again when next drawn.
constexpr qint64 MaxDecodedPictureBytes = qint64(512) << 20;

// The reader's format name for the data ("png", "jpeg", "bmp", "gif", "ico"), or empty when
// its first bytes are none of these.
QByteArray PictureFormatOf(const QByteArray& data);

// Sets the reader up for the data's own format only, within the pixel bound. Returns false
// when the data is in no format the program reads. The device must outlive the reader.
bool SetUpPictureReader(QImageReader& reader, QIODevice& device, const QByteArray& format);

struct PictureHeader {
    QSize Size;    // as the data declares it
    QString Error; // empty when the picture can be decoded within the bounds
};

// Reads only the header: the format and the declared size, checked against the bounds.
PictureHeader InspectPicture(const QByteArray& data);

// The header checked, then the data read through to its end, so that a picture whose header is
// sound but whose data is not is refused with the file rather than drawn blank. The verdict is
// kept for the data, and what was decoded serves the drawing.
PictureHeader CheckPicture(const QByteArray& data);

// The decoded picture for drawing at `drawn` device pixels, or at its own size when `drawn` is
// not valid; shared with every other use of the same data. A large picture drawn at half its
// size or less comes at a reduced size (at least `drawn`), which costs a fraction of the memory
// and about half the time. A null image, with the reason in *error, when it cannot be decoded.
QImage DecodedPicture(const QByteArray& data, QSize drawn = {}, QString* error = nullptr);

// What the shared pictures cost now, and how often data was decoded (for tests and benchmarks).
struct DecodedPictureStats {
    qint64 HeldBytes = 0;
    qint64 Decodes = 0;
};
DecodedPictureStats DecodedPictures();

} // namespace platform
