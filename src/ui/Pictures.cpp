#include "ui/Pictures.h"

#include <QDir>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

// The pictures live in a static library, whose resource registration a linker may drop.
static void InitPictureResources() {
    Q_INIT_RESOURCE(ui);
}

namespace ui {
namespace {
void EnsureResources() {
    static const bool registered = (InitPictureResources(), true);
    Q_UNUSED(registered);
}
} // namespace

QPixmap Picture(const QString& name, int size) {
    EnsureResources();
    static QHash<QString, QPixmap> cache;
    const QString key = name + '@' + QString::number(size);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QSvgRenderer renderer(QStringLiteral(":/ui/%1.svg").arg(name));
    QPixmap pixmap;
    if (renderer.isValid()) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        pixmap = QPixmap::fromImage(image);
    }
    cache.insert(key, pixmap);
    return pixmap;
}

QPixmap PagePicture(int imageIndex) {
    EnsureResources();
    static const QStringList files =
        QDir(QStringLiteral(":/ui")).entryList({QStringLiteral("page*.svg")}, QDir::Files, QDir::Name);
    if (imageIndex < 0 || imageIndex >= files.size())
        return {};
    return Picture(files[imageIndex].chopped(4), 32);
}

} // namespace ui
