#include "htmlctl/SystemIcons.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QStyle>

namespace htmlctl {
namespace {

QIcon LookupIcon(const QString& name) {
    QStyle* style = QApplication::style();
    bool isNumber = false;
    const int index = name.toInt(&isNumber);
    if (isNumber) {
        if (index < 0 || index > int(QStyle::SP_RestoreDefaultsButton))
            return {};
        return style->standardIcon(QStyle::StandardPixmap(index));
    }
    const QFileInfo info(name);
    if (!name.isEmpty() && !name.contains(QChar(0)) && info.exists())
        return QFileIconProvider().icon(info);
    const QString typeName = QString(name).remove(QChar(0));
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(typeName, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName()));
    if (icon.isNull())
        icon = style->standardIcon(QStyle::SP_FileIcon);
    return icon;
}

} // namespace

QImage SystemIcon(const QString& name, bool large) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return {};
    static QHash<QString, QImage> cache;
    const QString key = (large ? QStringLiteral("L:") : QStringLiteral("S:")) + name;
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const int size = large ? 32 : 16;
    const QIcon icon = LookupIcon(name);
    QImage image = icon.isNull() ? QImage() : icon.pixmap(size, size).toImage();
    if (!image.isNull() && image.size() != QSize(size, size))
        image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (cache.size() > 256)
        cache.clear();
    cache.insert(key, image);
    return image;
}

} // namespace htmlctl
