#include "export/mail/MailExport.h"

#include "export/TempFiles.h"
#include "export/mail/MailExportDialog.h"
#include "export/mail/MailTexts.h"
#include "report/EngineTexts.h"
#include "report/PreparedReportFile.h"
#include "report/Report.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

namespace exports {

using report::rpGet;

namespace {

bool IsMailExport(const TrpCustomExportFilter* filter) {
    return dynamic_cast<const TrpMailExport*>(filter) != nullptr;
}

// Only the temporary files of this program are sent and removed, never a file the user named.
bool IsTemporary(const QString& file) {
    return !file.isEmpty() && QFileInfo(file).absoluteFilePath().startsWith(
                                  QDir(QDir::tempPath()).absoluteFilePath(QStringLiteral("tarifon-")));
}

void RemoveTemporary(const QString& file) {
    if (IsTemporary(file))
        QFile::remove(file);
}

} // namespace

TrpMailExport::TrpMailExport(bool subordinate) : TrpCustomExportFilter(subordinate) {
    AddMailExportTexts();
}

QString TrpMailExport::FilterDescription() const {
    return rpGet(QStringLiteral("EmailExport"));
}

std::vector<TrpCustomExportFilter*> TrpMailExport::AttachmentFormats() {
    std::vector<TrpCustomExportFilter*> formats;
    for (TrpCustomExportFilter* filter : ExportFilters())
        if (!IsMailExport(filter))
            formats.push_back(filter);
    formats.push_back(nullptr);
    return formats;
}

QString TrpMailExport::FormatDescription(const TrpCustomExportFilter* filter) {
    AddMailExportTexts();
    return filter ? filter->FilterDescription() : rpGet(QStringLiteral("TarifonFile"));
}

TrpCustomExportFilter* TrpMailExport::AttachmentFilter() const {
    // A filter destroyed since it was chosen is no longer offered.
    const auto formats = AttachmentFormats();
    return std::find(formats.begin(), formats.end(), FAttachmentFilter) != formats.end() ? FAttachmentFilter
                                                                                         : nullptr;
}

TModalResult TrpMailExport::ShowModal() {
    TrpMailExportDialog dialog(*this);
    return dialog.exec() == QDialog::Accepted ? mrOk : mrCancel;
}

bool TrpMailExport::Start() {
    const QString error = Send();
    if (!error.isEmpty() && Report()) {
        Report()->AddError(error);
        Report()->RouteError(error);
    }
    // Sent from the dialog: the user is told it went, as the failures are told.
    if (FSent && ShowDialog() && Report() && Report()->EngineOptions.NewSilentMode == report::simMessageBoxes)
        QMessageBox::information(QApplication::activeWindow(), rpGet(QStringLiteral("mbInfo")),
                                 rpGet(QStringLiteral("mlSent")).arg(FAddress));
    return false;
}

QString TrpMailExport::ReportName() const {
    QString name = Report() ? Report()->ReportOptions.Name : QString();
    if (name.isEmpty())
        name = QStringLiteral("report");
    // A name, not a path.
    return name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
}

QString TrpMailExport::Send() {
    FSent = false;
    if (!Report())
        return rpGet(QStringLiteral("mlNoAttachment"));
    // Bad input is told before the attachment's dialog and export.
    if (const QString problem = Client(QString(), QString())->CheckInput(); !problem.isEmpty())
        return problem;
    TrpCustomExportFilter* filter = AttachmentFilter();
    if (!filter) {
        const QString file = NewTemporaryFile(report::TrpPreparedReportFile::Extension());
        if (file.isEmpty())
            return rpGet(QStringLiteral("mlNoAttachment"));
        QString error = report::TrpPreparedReportFile::SaveToFile(*Report(), file);
        if (error.isEmpty())
            error = SendFile(file, ReportName() + report::TrpPreparedReportFile::Extension());
        RemoveTemporary(file);
        return error;
    }

    const QString ext = filter->DefaultExt();
    QString name = filter->FileName().isEmpty() ? ReportName() : QFileInfo(filter->FileName()).fileName();
    // A name without the format's extension would leave the reader guessing.
    if (!ext.isEmpty() && !name.endsWith(ext, Qt::CaseInsensitive))
        name += ext;

    const bool wasSubordinate = filter->Subordinate(), showedDialog = filter->ShowDialog(),
               showedProgress = filter->ShowProgress();
    filter->SetSubordinate(true);
    filter->SetShowDialog(ShowDialog() && FShowExportDialog);
    filter->SetShowProgress(ShowProgress());
    // Without its dialog the filter would not choose a temporary file itself.
    QString ours;
    if (!filter->ShowDialog()) {
        ours = NewTemporaryFile(ext);
        filter->SetFileName(ours);
    }
    QString error;
    bool exported = false;
    try {
        // A failed export has told its own error; a cancelled dialog needs no word.
        exported = ExportTo(*Report(), filter);
    } catch (const report::TrpReportError& e) {
        error = e.Message();
    }
    const QString file = filter->FileName();
    if (exported && error.isEmpty()) {
        if (IsTemporary(file) && QFileInfo(file).size() > 0)
            error = SendFile(file, name);
        else
            error = rpGet(QStringLiteral("mlNoAttachment"));
    }
    RemoveTemporary(file);
    RemoveTemporary(ours);
    filter->SetFileName(QString());
    filter->SetSubordinate(wasSubordinate);
    filter->SetShowDialog(showedDialog);
    filter->SetShowProgress(showedProgress);
    return error;
}

std::unique_ptr<TrpSMTPClient> TrpMailExport::Client(const QString& file, const QString& name) const {
    QStringList text = FLines;
    text << FSignature;
    auto client = std::make_unique<TrpSMTPClient>();
    client->SetHost(FSmtpHost);
    client->SetPort(FSmtpPort);
    client->SetTimeOut(FTimeOut);
    client->SetUser(FLogin);
    client->SetPassword(FPassword);
    client->SetMailFrom(FFromMail);
    client->SetMailFromName(FFromName);
    client->SetMailTo(FAddress);
    client->SetMailSubject(FSubject);
    // Joined with bare LF: lines split from Windows text still end in CR, and the one place
    // that makes line ends CR LF is the message's text part.
    client->SetMailText(text.join(QLatin1Char('\n')));
    client->SetMailFile(file);
    client->SetAttachName(name);
    client->SetShowProgress(ShowProgress());
    client->SetLogFile(FLogFile);
    client->SetSecurity(FSecurity);
    client->SetCaCertificates(CaCertificates);
    return client;
}

QString TrpMailExport::SendFile(const QString& file, const QString& name) {
    if (OnAttachment)
        OnAttachment(file, name);
    const auto client = Client(file, name);
    FSent = client->SendMessage();
    return client->Errors().join(QStringLiteral("\r\n"));
}

} // namespace exports
