#pragma once
// The e-mail export: the prepared report written by another registered filter (or as a
// prepared-report file) into a temporary file and sent as the attachment of one message.

#include "export/ExportFilter.h"
#include "export/mail/SmtpClient.h"

#include <QSslCertificate>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace exports {

class TrpMailExport : public TrpCustomExportFilter {
public:
    explicit TrpMailExport(bool subordinate = false);

    QString FilterDescription() const override;
    TModalResult ShowModal() override;
    // Sends the message; always false, so that the export loop itself writes nothing.
    bool Start() override;
    void ExportObject(const report::TrpPlacedObject& /*object*/) override {}

    // ---- published properties ----
    const QString& Address() const { return FAddress; }
    void SetAddress(const QString& v) { FAddress = v; }
    const QString& Subject() const { return FSubject; }
    void SetSubject(const QString& v) { FSubject = v; }
    const QStringList& Lines() const { return FLines; }
    void SetLines(const QStringList& v) { FLines = v; }
    // Show the attachment filter's own dialog.
    bool ShowExportDialog() const { return FShowExportDialog; }
    void SetShowExportDialog(bool v) { FShowExportDialog = v; }
    const QString& FromMail() const { return FFromMail; }
    void SetFromMail(const QString& v) { FFromMail = v; }
    const QString& FromName() const { return FFromName; }
    void SetFromName(const QString& v) { FFromName = v; }
    const QString& FromCompany() const { return FFromCompany; }
    void SetFromCompany(const QString& v) { FFromCompany = v; }
    const QStringList& Signature() const { return FSignature; }
    void SetSignature(const QStringList& v) { FSignature = v; }
    const QString& SmtpHost() const { return FSmtpHost; }
    void SetSmtpHost(const QString& v) { FSmtpHost = v; }
    int SmtpPort() const { return FSmtpPort; }
    void SetSmtpPort(int v) { FSmtpPort = v; }
    const QString& Login() const { return FLogin; }
    void SetLogin(const QString& v) { FLogin = v; }
    const QString& Password() const { return FPassword; }
    void SetPassword(const QString& v) { FPassword = v; }
    bool UseIniFile() const { return FUseIniFile; }
    void SetUseIniFile(bool v) { FUseIniFile = v; }
    const QString& LogFile() const { return FLogFile; }
    void SetLogFile(const QString& v) { FLogFile = v; }
    TrpSmtpSecurity Security() const { return FSecurity; }
    void SetSecurity(TrpSmtpSecurity v) { FSecurity = v; }
    int TimeOut() const { return FTimeOut; }
    void SetTimeOut(int v) { FTimeOut = v; }

    // The attachment's format: a registered filter, or nullptr for the prepared-report file.
    TrpCustomExportFilter* AttachmentFilter() const;
    void SetAttachmentFilter(TrpCustomExportFilter* filter) {
        FAttachmentFilter = filter;
        FAttachmentChosen = true;
    }
    // Whether a format was ever chosen (the dialog offers the first one until then).
    bool AttachmentChosen() const { return FAttachmentChosen; }
    // The formats offered, in registration order: every registered filter but the e-mail
    // exports, then nullptr for the prepared-report file.
    static std::vector<TrpCustomExportFilter*> AttachmentFormats();
    // The format's name in the list.
    static QString FormatDescription(const TrpCustomExportFilter* filter);

    // Writes the attachment and sends the message; returns "" or what went wrong ("" too when
    // the user cancelled).
    QString Send();
    // Whether the last Send delivered the message to the server.
    bool Sent() const { return FSent; }

    // Certificate authorities trusted besides the system's.
    QList<QSslCertificate> CaCertificates;
    // Called with the attachment file and its name just before sending.
    std::function<void(const QString& file, const QString& name)> OnAttachment;

private:
    QString ReportName() const;
    std::unique_ptr<TrpSMTPClient> Client(const QString& file, const QString& name) const;
    QString SendFile(const QString& file, const QString& name);

    QString FAddress, FSubject;
    QStringList FLines;
    bool FShowExportDialog = true;
    QString FFromMail, FFromName, FFromCompany;
    QStringList FSignature;
    QString FSmtpHost;
    int FSmtpPort = 25;
    QString FLogin, FPassword;
    bool FUseIniFile = true;
    QString FLogFile;
    TrpSmtpSecurity FSecurity = TrpSmtpSecurity::None;
    int FTimeOut = 60;
    TrpCustomExportFilter* FAttachmentFilter = nullptr;
    bool FAttachmentChosen = false;
    bool FSent = false;
};

} // namespace exports
