#include "platform/ImageList.h"

#include <QPainter>

namespace platform {

TImageList::TImageList(int width, int height, QObject* owner)
    : QObject(owner), FWidth(qMax(1, width)), FHeight(qMax(1, height)) {}

TImageList::~TImageList() {
    // Copy first: a destroy handler unregisters its own link.
    const auto links = FLinks;
    for (const auto& [handle, link] : links)
        if (link.OnDestroy)
            link.OnDestroy();
}

QImage TImageList::Fitted(const QImage& image) const {
    QImage img = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (img.size() != QSize(FWidth, FHeight))
        img = img.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return img;
}

int TImageList::Add(const QImage& image) {
    FImages.append(Fitted(image));
    Changed();
    return Count() - 1;
}

void TImageList::Replace(int index, const QImage& image) {
    if (index < 0 || index >= Count())
        return;
    FImages[index] = Fitted(image);
    Changed();
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    FImages.removeAt(index);
    Changed();
}

void TImageList::Clear() {
    if (FImages.isEmpty())
        return;
    FImages.clear();
    Changed();
}

void TImageList::Draw(QPainter& canvas, int x, int y, int index) const {
    if (index >= 0 && index < Count())
        canvas.drawImage(QPoint(x, y), FImages.at(index));
}

int TImageList::RegisterChanges(ChangeLink link) {
    const int handle = FNextHandle++;
    FLinks.emplace(handle, std::move(link));
    return handle;
}

void TImageList::UnregisterChanges(int handle) {
    FLinks.erase(handle);
}

void TImageList::Changed() {
    const auto links = FLinks;
    for (const auto& [handle, link] : links)
        if (link.OnChange)
            link.OnChange();
}

} // namespace platform
