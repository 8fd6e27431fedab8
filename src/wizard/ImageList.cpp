#include "wizard/ImageList.h"

#include <QPainter>

namespace wizard {

TKImageList::TKImageList(int width, int height) : FWidth(width), FHeight(height) {}

TKImageList::~TKImageList() {
    // Copy first: a destroy handler unregisters its own link.
    const auto links = FLinks;
    for (const auto& [handle, link] : links)
        if (link.OnDestroy)
            link.OnDestroy();
}

int TKImageList::Add(const QImage& image) {
    const QImage fitted =
        image.size() == QSize(FWidth, FHeight)
            ? image
            : image.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    FImages.append(fitted.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    Changed();
    return Count() - 1;
}

void TKImageList::Replace(int index, const QImage& image) {
    if (index < 0 || index >= Count())
        return;
    FImages[index] = image.scaled(FWidth, FHeight).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Changed();
}

void TKImageList::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    FImages.removeAt(index);
    Changed();
}

void TKImageList::Clear() {
    if (FImages.isEmpty())
        return;
    FImages.clear();
    Changed();
}

void TKImageList::Draw(QPainter& canvas, int x, int y, int index) const {
    if (index >= 0 && index < Count())
        canvas.drawImage(QPoint(x, y), FImages.at(index));
}

int TKImageList::RegisterChanges(ChangeLink link) {
    const int handle = FNextHandle++;
    FLinks.emplace(handle, std::move(link));
    return handle;
}

void TKImageList::UnregisterChanges(int handle) {
    FLinks.erase(handle);
}

void TKImageList::Changed() {
    const auto links = FLinks;
    for (const auto& [handle, link] : links)
        if (link.OnChange)
            link.OnChange();
}

} // namespace wizard
