#include "platform/UserManual.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {

bool HasIndex(const QString& folder) {
    return !folder.isEmpty() && QFileInfo::exists(folder + QStringLiteral("/index.html"));
}

// A browser command from $BROWSER: program and arguments, "%s" standing for the address.
bool StartFromBrowserVariable(const QString& variable, const QString& address) {
    for (const QString& command : variable.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        QStringList parts = QProcess::splitCommand(command);
        if (parts.isEmpty() || QStandardPaths::findExecutable(parts.front()).isEmpty())
            continue;
        const QString program = parts.takeFirst();
        bool placed = false;
        for (QString& p : parts)
            if (p.contains(QStringLiteral("%s"))) {
                p.replace(QStringLiteral("%s"), address);
                placed = true;
            }
        if (!placed)
            parts << address;
        return QProcess::startDetached(program, parts);
    }
    return false;
}

// The desktop's opener starts whatever is registered for web pages; without a registered
// browser it fails only later, out of sight, so ask first.
bool DesktopHasBrowser() {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    for (const char* name : {"x-www-browser", "www-browser"})
        if (!QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty())
            return true;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

QString ManualFolder() {
    const QString app = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        qEnvironmentVariable("TARIFON_MANUAL_DIR"),
        // installed: <prefix>/bin/tarifon and <prefix>/share/tarifon/manual
        QDir::cleanPath(app + QStringLiteral("/../share/tarifon/manual")),
        // the build tree: build/src/app/tarifon and build/manual
        QDir::cleanPath(app + QStringLiteral("/../../manual")),
        QDir::cleanPath(app + QStringLiteral("/../../../manual")),
    };
    for (const QString& folder : candidates)
        if (HasIndex(folder))
            return folder;
    return {};
}

QString ManualPage(const QString& topic) {
    const QString folder = ManualFolder();
    if (folder.isEmpty())
        return {};
    // Topics are names of ours; anything else (a path, an address) gets the contents page.
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9-]+$"));
    const QString page = folder + QLatin1Char('/') + topic + QStringLiteral(".html");
    if (plainName.match(topic).hasMatch() && QFileInfo::exists(page))
        return page;
    return folder + QStringLiteral("/index.html");
}

QString OpenManual(const QString& topic) {
    const QString page = ManualPage(topic);
    if (page.isEmpty())
        return QStringLiteral("Руководство пользователя не установлено. Установите пакет "
                              "программы заново.");
    const QString address = QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded);
    const QString browser = qEnvironmentVariable("BROWSER");
    if (!browser.isEmpty() ? StartFromBrowserVariable(browser, address)
                           : DesktopHasBrowser() && QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        return {};
    return QStringLiteral("Не найден браузер, чтобы показать руководство пользователя. "
                          "Откройте в любом браузере файл\n%1")
        .arg(QDir::toNativeSeparators(page));
}

} // namespace platform
