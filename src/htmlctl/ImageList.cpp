#include "htmlctl/ImageList.h"

#include <QPainter>

namespace htmlctl {

TImageList::TImageList(int width, int height, QObject* owner)
    : QObject(owner), FWidth(qMax(1, width)), FHeight(qMax(1, height)) {}

int TImageList::Add(const QImage& image) {
    QImage img = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (img.size() != QSize(FWidth, FHeight))
        img = img.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    FImages.append(img);
    return int(FImages.size()) - 1;
}

void TImageList::Draw(QPainter& painter, int x, int y, int index) const {
    if (index >= 0 && index < FImages.size())
        painter.drawImage(x, y, FImages.at(index));
}

} // namespace htmlctl
