#pragma once
// The e-mail export's sections of the report engine's settings store.

#include "export/mail/SmtpClient.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace exports {

// "EmailExport.Properties": the account, the signature and the last format.
struct TrpMailAccount {
    QString FromName, FromAddress, Organization;
    QStringList Signature;
    QString SmtpHost;
    QString SmtpPort = QStringLiteral("25");
    QString Login, Password; // plain here; Base64 in the store
    TrpSmtpSecurity Security = TrpSmtpSecurity::None;
    int LastUsedExport = 0;
};

inline const QString MailRecentAddresses = QStringLiteral("EmailExport.RecentAddresses");
inline const QString MailRecentSubjects = QStringLiteral("EmailExport.RecentSubjects");

// The stored account, or nothing when the store keeps none.
std::optional<TrpMailAccount> ReadMailAccount(const QString& iniFile);
// The index of the format chosen last time (0 when none was).
int ReadLastUsedExport(const QString& iniFile);
// Writes the account (all of it, or only the last format) to an owner-only store; returns ""
// or the reason of a failure.
QString WriteMailAccount(const QString& iniFile, const TrpMailAccount& account, bool wholeAccount);

// A recent list's entries, and adding one (kept once).
QStringList ReadRecent(const QString& iniFile, const QString& section);
QString AddRecent(const QString& iniFile, const QString& section, const QString& entry);

} // namespace exports
