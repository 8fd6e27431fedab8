#pragma once

#include "platform/ToolkitTypes.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QPainter;

namespace htmlctl {

// A picture that cannot be decoded.
class EHTMLPicture : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A picture shown by captions: keeps the encoded bytes as they were given and the decoded
// frame. Loaded from "RES://name" (the program's embedded resources), "FILE://path", or
// bytes; any other address is only remembered (network pictures are never fetched).
class THTMLPicture : public QObject {
    Q_OBJECT
public:
    using TNotifyEvent = platform::TNotifyEvent;

    explicit THTMLPicture(QObject* owner = nullptr);

    bool Empty() const { return FImage.isNull(); }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    QSize Size() const { return FImage.size(); }
    const QImage& Image() const { return FImage; }
    const QByteArray& Bytes() const { return FBytes; }
    QString Address() const { return FAddress; }

    bool Stretch() const { return FStretch; }
    void SetStretch(bool value) { FStretch = value; }
    bool Asynchronous() const { return FAsynchronous; }
    void SetAsynchronous(bool value) { FAsynchronous = value; }

    // 1-based frame of an animated picture; changing it decodes that frame.
    int Frame() const { return FFrame; }
    void SetFrame(int value);
    // Number of frames, -1 until the picture has been decoded.
    int FrameCount() const { return FFrameCount; }
    QPoint FramePos() const { return FFramePos; }
    QSize AnimationSize() const { return FAnimationSize; }

    // Replaces the bytes and decodes them; throws EHTMLPicture with the reason when the
    // bytes are no picture (the bytes are kept, the picture is left empty).
    void LoadFromBytes(const QByteArray& bytes);
    // Loading from a file that cannot be read or decoded leaves the picture empty.
    void LoadFromFile(const QString& path);
    void LoadFromURL(const QString& address);

    void Draw(QPainter& painter, const QRect& rect) const;

    TNotifyEvent OnChange;
    TNotifyEvent OnFrameChange;
    std::function<void(QObject* Sender, const QString& Error)> OnDownLoadError;
    TNotifyEvent OnDownLoadComplete;
    TNotifyEvent OnDownLoadCancel;

private:
    void Decode();
    void Changed();

    QByteArray FBytes;
    QImage FImage;
    QString FAddress;
    bool FStretch = false;
    bool FAsynchronous = true;
    int FFrame = 1;
    int FFrameCount = -1;
    QPoint FFramePos;
    QSize FAnimationSize;
};

// Pictures a control has met in its captions, by exact address.
class THTMLPictureCache {
public:
    THTMLPicture* LookupPicture(const QString& address) const;
    THTMLPicture* AddPicture();
    int Count() const { return int(FPictures.size()); }
    void Clear() { FPictures.clear(); }

private:
    std::vector<std::unique_ptr<THTMLPicture>> FPictures;
};

class TPictureItem {
public:
    THTMLPicture& Picture() { return FPicture; }
    const THTMLPicture& Picture() const { return FPicture; }
    QString Name;
    int Tag = 0;

private:
    THTMLPicture FPicture;
};

using TPictureCollection = std::vector<std::unique_ptr<TPictureItem>>;

// Named pictures that captions show with <IMG SRC="name">.
class TPictureContainer : public QObject {
    Q_OBJECT
public:
    explicit TPictureContainer(QObject* owner = nullptr) : QObject(owner) {}

    TPictureCollection& Items() { return FItems; }
    const TPictureCollection& Items() const { return FItems; }
    TPictureItem& Add(const QString& name);
    // First picture whose name matches, ignoring case; nullptr when there is none.
    THTMLPicture* LookupPicture(const QString& name) const;
    QString Version() const { return QStringLiteral("1.0.0.0"); }

private:
    TPictureCollection FItems;
};

} // namespace htmlctl
