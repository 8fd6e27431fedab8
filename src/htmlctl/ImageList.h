#pragma once

#include <QImage>
#include <QList>
#include <QObject>

class QPainter;

namespace htmlctl {

// A list of equally sized images, addressed by index ("IDX:n" in captions).
class TImageList : public QObject {
    Q_OBJECT
public:
    explicit TImageList(int width = 16, int height = 16, QObject* owner = nullptr);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return int(FImages.size()); }

    // Adds an image, scaled to the list's size when it differs; returns its index.
    int Add(const QImage& image);
    void Clear() { FImages.clear(); }
    const QImage& Image(int index) const { return FImages.at(index); }

    // Draws image `index` with its top-left corner at (x, y); out-of-range indexes draw nothing.
    void Draw(QPainter& painter, int x, int y, int index) const;

private:
    int FWidth;
    int FHeight;
    QList<QImage> FImages;
};

} // namespace htmlctl
