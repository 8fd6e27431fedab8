#pragma once

#include <QImage>
#include <QList>
#include <functional>
#include <map>

class QPainter;

namespace wizard {

// A list of equally sized images (the header icons). Users register change links to hear
// about changes of the images and about the list going away.
class TKImageList {
public:
    TKImageList(int width, int height);
    ~TKImageList();
    TKImageList(const TKImageList&) = delete;
    TKImageList& operator=(const TKImageList&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return int(FImages.size()); }

    // Adds an image, scaled to the list's size when it differs; returns its index.
    int Add(const QImage& image);
    void Replace(int index, const QImage& image);
    void Delete(int index);
    void Clear();
    const QImage& Image(int index) const { return FImages.at(index); }

    void Draw(QPainter& canvas, int x, int y, int index) const;

    struct ChangeLink {
        std::function<void()> OnChange;
        std::function<void()> OnDestroy;
    };
    int RegisterChanges(ChangeLink link);
    void UnregisterChanges(int handle);

private:
    void Changed();

    int FWidth;
    int FHeight;
    QList<QImage> FImages;
    std::map<int, ChangeLink> FLinks;
    int FNextHandle = 1;
};

} // namespace wizard
