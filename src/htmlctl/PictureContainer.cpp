#include "htmlctl/PictureContainer.h"

#include "platform/PictureDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace htmlctl {

THTMLPicture::THTMLPicture(QObject* owner) : QObject(owner) {}

void THTMLPicture::SetFrame(int value) {
    if (value < 1 || value == FFrame)
        return;
    FFrame = value;
    if (!FBytes.isEmpty()) {
        try {
            Decode();
        } catch (const EHTMLPicture&) {
            FImage = QImage();
        }
    }
    if (OnFrameChange)
        OnFrameChange(this);
}

void THTMLPicture::Decode() {
    FImage = QImage();
    FFramePos = QPoint();
    if (FBytes.isEmpty())
        throw EHTMLPicture("Empty image stream created");
    QBuffer buffer(&FBytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader;
    if (!platform::SetUpPictureReader(reader, buffer, platform::PictureFormatOf(FBytes)))
        throw EHTMLPicture("Could not load image. Invalid format");
    FFrameCount = qMax(1, reader.imageCount());
    FAnimationSize = reader.size();
    // Animated pictures show one frame: the one selected by Frame, or the last one there is.
    const int wanted = qMin(FFrame, FFrameCount) - 1;
    if (wanted > 0 && !reader.jumpToImage(wanted)) {
        for (int i = 0; i < wanted && reader.canRead(); ++i)
            reader.read();
    }
    QImage frame = reader.read();
    if (frame.isNull())
        throw EHTMLPicture("Could not load image");
    const QRect rect = reader.currentImageRect();
    if (rect.isValid() && rect.size() != frame.size())
        FFramePos = rect.topLeft();
    FImage = frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void THTMLPicture::Changed() {
    if (OnChange)
        OnChange(this);
}

void THTMLPicture::LoadFromBytes(const QByteArray& bytes) {
    FBytes = bytes;
    FFrameCount = -1;
    try {
        Decode();
    } catch (...) {
        Changed();
        throw;
    }
    Changed();
}

void THTMLPicture::LoadFromFile(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(0))) { // no file has such a name
        FImage = QImage();
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        FImage = QImage();
        return;
    }
    try {
        LoadFromBytes(file.readAll());
    } catch (const EHTMLPicture&) {
        FImage = QImage();
    }
}

void THTMLPicture::LoadFromURL(const QString& address) {
    FAddress = address;
    static const QString res = QStringLiteral("RES://");
    static const QString file = QStringLiteral("FILE://");
    if (address.startsWith(res, Qt::CaseInsensitive)) {
        const QString name = QStringLiteral(":/") + address.mid(res.size());
        if (!name.contains(QChar(0)) && QFile::exists(name))
            LoadFromFile(name);
    } else if (address.startsWith(file, Qt::CaseInsensitive)) {
        LoadFromFile(address.mid(file.size()));
    }
    // Anything else stays an address only: pictures are never downloaded.
}

void THTMLPicture::Draw(QPainter& painter, const QRect& rect) const {
    if (!FImage.isNull())
        painter.drawImage(rect, FImage);
}

THTMLPicture* THTMLPictureCache::LookupPicture(const QString& address) const {
    for (const auto& p : FPictures)
        if (p->Address() == address)
            return p.get();
    return nullptr;
}

THTMLPicture* THTMLPictureCache::AddPicture() {
    FPictures.push_back(std::make_unique<THTMLPicture>());
    return FPictures.back().get();
}

TPictureItem& TPictureContainer::Add(const QString& name) {
    FItems.push_back(std::make_unique<TPictureItem>());
    FItems.back()->Name = name;
    return *FItems.back();
}

THTMLPicture* TPictureContainer::LookupPicture(const QString& name) const {
    for (const auto& item : FItems)
        if (item->Name.compare(name, Qt::CaseInsensitive) == 0)
            return &item->Picture();
    return nullptr;
}

} // namespace htmlctl
