#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<QSettings> OpenSettingsStore(const QString& iniFile) {
    static const QString registryRoot = QStringLiteral("\\Software\\");
    if (iniFile.startsWith(registryRoot, Qt::CaseInsensitive)) {
        // "\Software\Maker\Program" -> organisation "Maker", application "Program".
        const QStringList parts =
            iniFile.mid(registryRoot.size()).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
        const QString organisation = parts.value(0, QStringLiteral("Tarifon"));
        const QString application = parts.mid(1).join(QLatin1Char('/'));
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                           application);
    }
    return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
}

QString SaveSettingsPrivately(QSettings& settings) {
    const QByteArray path = QFile::encodeName(settings.fileName());
    QDir().mkpath(QFileInfo(settings.fileName()).absolutePath());
    // Created owner-only before the first write; the store's atomic rewrite keeps the mode of the
    // file it replaces, so the content is never readable by others, not even for a moment.
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    const bool restricted = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    if (!restricted)
        return QString::fromLocal8Bit(std::strerror(errno));
    settings.sync();
    // A store written by an older version may have been replaced by a fresh file.
    ::chmod(path.constData(), 0600);
    switch (settings.status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return QStringLiteral("access denied");
    case QSettings::FormatError:
        return QStringLiteral("format error");
    }
    return {};
}

} // namespace platform
