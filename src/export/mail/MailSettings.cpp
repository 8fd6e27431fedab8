#include "export/mail/MailSettings.h"

#include "platform/SettingsStore.h"

namespace exports {

namespace {

const QString Properties = QStringLiteral("EmailExport.Properties");

QString Key(const QString& name) {
    return Properties + QLatin1Char('/') + name;
}

// The recent lists keep each entry as a key name; the store reads "/" and "\" in a key as a
// path, so these two (and the escape itself) are written as %XX.
QString EscapeKey(QString entry) {
    return entry.replace(QLatin1Char('%'), QStringLiteral("%25"))
        .replace(QLatin1Char('/'), QStringLiteral("%2F"))
        .replace(QLatin1Char('\\'), QStringLiteral("%5C"));
}

QString UnescapeKey(QString key) {
    return key.replace(QStringLiteral("%2F"), QStringLiteral("/"))
        .replace(QStringLiteral("%5C"), QStringLiteral("\\"))
        .replace(QStringLiteral("%25"), QStringLiteral("%"));
}

QString Decode64(const QString& text) {
    return QString::fromUtf8(QByteArray::fromBase64(text.toLatin1()));
}

QString Encode64(const QString& text) {
    return QString::fromLatin1(text.toUtf8().toBase64());
}

} // namespace

std::optional<TrpMailAccount> ReadMailAccount(const QString& iniFile) {
    auto store = platform::OpenSettingsStore(iniFile);
    // The section may hold only the last format (the account was not to be remembered).
    if (!store->contains(Key(QStringLiteral("FromAddress"))) &&
        !store->contains(Key(QStringLiteral("SmtpHost"))))
        return std::nullopt;
    TrpMailAccount a;
    auto text = [&](const char* name, const QString& fallback = {}) {
        return store->value(Key(QString::fromLatin1(name)), fallback).toString();
    };
    a.FromName = text("FromName");
    a.FromAddress = text("FromAddress");
    a.Organization = text("Organization");
    const QString signature = text("Signature");
    if (!signature.isEmpty())
        a.Signature = signature.split(QStringLiteral("\r\n"));
    a.SmtpHost = text("SmtpHost");
    a.SmtpPort = text("SmtpPort", QStringLiteral("25"));
    a.Login = Decode64(text("Login"));
    a.Password = Decode64(text("Password"));
    const int security = text("Security").toInt();
    a.Security = security >= 0 && security <= 2 ? TrpSmtpSecurity(security) : TrpSmtpSecurity::None;
    a.LastUsedExport = ReadLastUsedExport(iniFile);
    return a;
}

int ReadLastUsedExport(const QString& iniFile) {
    return std::max(
        0, platform::OpenSettingsStore(iniFile)->value(Key(QStringLiteral("LastUsedExport")), 0).toInt());
}

QString WriteMailAccount(const QString& iniFile, const TrpMailAccount& a, bool wholeAccount) {
    auto store = platform::OpenSettingsStore(iniFile);
    if (wholeAccount) {
        const std::pair<const char*, QString> values[] = {
            {"FromName", a.FromName},
            {"FromAddress", a.FromAddress},
            {"Organization", a.Organization},
            {"Signature", a.Signature.join(QStringLiteral("\r\n"))},
            {"SmtpHost", a.SmtpHost},
            {"SmtpPort", a.SmtpPort},
            {"Login", Encode64(a.Login)},
            {"Password", Encode64(a.Password)},
            {"Security", QString::number(int(a.Security))},
        };
        for (const auto& [name, value] : values)
            store->setValue(Key(QString::fromLatin1(name)), value);
    }
    store->setValue(Key(QStringLiteral("LastUsedExport")), QString::number(a.LastUsedExport));
    return platform::SaveSettingsPrivately(*store);
}

QStringList ReadRecent(const QString& iniFile, const QString& section) {
    auto store = platform::OpenSettingsStore(iniFile);
    store->beginGroup(section);
    QStringList entries;
    for (const QString& key : store->childKeys())
        entries << UnescapeKey(key);
    return entries;
}

QString AddRecent(const QString& iniFile, const QString& section, const QString& entry) {
    if (entry.trimmed().isEmpty())
        return {};
    auto store = platform::OpenSettingsStore(iniFile);
    store->setValue(section + QLatin1Char('/') + EscapeKey(entry), QString());
    return platform::SaveSettingsPrivately(*store);
}

} // namespace exports
