#pragma once
// A list of equally sized images (header icons, caption pictures addressed by index). Users
// may register change links to hear about changed images and about the list going away.

#include <QImage>
#include <QList>
#include <QObject>
#include <functional>
#include <map>

class QPainter;

namespace platform {

class TImageList : public QObject {
public:
    explicit TImageList(int width = 16, int height = 16, QObject* owner = nullptr);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return int(FImages.size()); }

    // Adds an image, scaled to the list's size when it differs; returns its index.
    int Add(const QImage& image);
    void Replace(int index, const QImage& image);
    void Delete(int index);
    void Clear();
    const QImage& Image(int index) const { return FImages.at(index); }

    // Draws image `index` with its top-left corner at (x, y); out-of-range indexes draw nothing.
    void Draw(QPainter& canvas, int x, int y, int index) const;

    struct ChangeLink {
        std::function<void()> OnChange;
        std::function<void()> OnDestroy;
    };
    int RegisterChanges(ChangeLink link);
    void UnregisterChanges(int handle);

private:
    QImage Fitted(const QImage& image) const;
    void Changed();

    int FWidth;
    int FHeight;
    QList<QImage> FImages;
    std::map<int, ChangeLink> FLinks;
    int FNextHandle = 1;
};

} // namespace platform
