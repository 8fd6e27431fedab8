#include "app/cli/SheetMail.h"

#include "app/cli/QuoteOptions.h"
#include "app/cli/SheetOutputs.h"
#include "export/mail/MailExport.h"
#include "report/Report.h"
#include "sheet/commands/ExportMenu.h"
#include "sheet/commands/SheetFilters.h"

#include <QFile>
#include <algorithm>
#include <memory>
#include <vector>

namespace cli {

namespace {

// The attachment formats by the names the command line knows them: the extension of each
// filter the window has, and the option that writes the same format to a file.
std::vector<std::pair<std::string, int>> AttachmentNames() {
    std::vector<std::pair<std::string, int>> names;
    for (int index = 0; index < sheet::ExportTargetCount; ++index) {
        const auto filter = sheet::CreateSheetFilter(index);
        if (!filter || dynamic_cast<exports::TrpMailExport*>(filter.get()))
            continue;
        names.emplace_back(filter->DefaultExt().mid(1).toLower().toStdString(), index);
        for (const SheetFilterOption& option : SheetFilterOptions)
            if (option.MenuIndex == index)
                names.emplace_back(std::string(option.Option).substr(2), index);
        if (index < PictureFormatCount)
            names.emplace_back(std::string(PictureOptions[index]).substr(2), index);
    }
    return names;
}

std::string KnownFormats() {
    std::vector<std::string> names{"trp"};
    for (const auto& [name, index] : AttachmentNames())
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ", ") + n;
    return out;
}

constexpr const char* Securities[] = {"none", "starttls", "implicit"};

} // namespace

bool TakeMailOption(const std::string& name, const std::function<std::string()>& value, MailOptions& o) {
    const std::pair<const char*, std::string MailOptions::*> fields[] = {
        {"--mail", &MailOptions::To},     {"--smtp", &MailOptions::Smtp},
        {"--from", &MailOptions::From},   {"--subject", &MailOptions::Subject},
        {"--text", &MailOptions::Text},   {"--attach", &MailOptions::Attach},
        {"--login", &MailOptions::Login}, {"--password-file", &MailOptions::PasswordFile},
        {"--tls", &MailOptions::Tls},     {"--log", &MailOptions::Log},
    };
    for (const auto& [option, field] : fields)
        if (name == option) {
            o.*field = value();
            return true;
        }
    return false;
}

void CheckMailOptions(const MailOptions& o) {
    const bool anyMailOption = !o.Smtp.empty() || !o.From.empty() || !o.Login.empty();
    if (!o.Given()) {
        if (anyMailOption)
            throw UsageError{"--smtp, --from and --login go with --mail ADDRESS"};
        return;
    }
    if (o.Smtp.empty() || o.From.empty())
        throw UsageError{"--mail needs --smtp HOST[:PORT] and --from ADDRESS"};
    if (std::find(std::begin(Securities), std::end(Securities), o.Tls) == std::end(Securities))
        throw UsageError{"--tls: '" + o.Tls + "' is none of none, starttls, implicit"};
    if (o.Login.empty() != o.PasswordFile.empty())
        throw UsageError{"--login and --password-file go together"};
    const std::string attach = QString::fromStdString(o.Attach).toLower().toStdString();
    const auto names = AttachmentNames();
    if (attach != "trp" &&
        std::none_of(names.begin(), names.end(), [&](const auto& n) { return n.first == attach; }))
        throw UsageError{"--attach: '" + o.Attach +
                         "' is not a format of this build; known: " + KnownFormats()};
    const size_t colon = o.Smtp.rfind(':');
    if (colon != std::string::npos) {
        const std::optional<double> port = ParsePlainNumber(o.Smtp.substr(colon + 1));
        if (!port || *port != int(*port) || *port < 1 || *port > 65535)
            throw UsageError{"--smtp: '" + o.Smtp.substr(colon + 1) + "' is not a port number (1 to 65535)"};
    }
}

std::string MailSheet(report::TrpReport& report, const MailOptions& o) {
    exports::TrpMailExport mail(true);
    mail.SetReport(&report);
    mail.SetShowDialog(false);
    mail.SetShowProgress(false);
    mail.SetUseIniFile(false);
    const size_t colon = o.Smtp.rfind(':');
    const int security =
        int(std::find(std::begin(Securities), std::end(Securities), o.Tls) - std::begin(Securities));
    mail.SetSecurity(exports::TrpSmtpSecurity(security));
    mail.SetSmtpHost(QString::fromStdString(o.Smtp.substr(0, colon)));
    mail.SetSmtpPort(colon != std::string::npos ? std::stoi(o.Smtp.substr(colon + 1))
                     : mail.Security() == exports::TrpSmtpSecurity::Implicit ? 465
                                                                             : 25);
    mail.SetFromMail(QString::fromStdString(o.From));
    mail.SetAddress(QString::fromStdString(o.To));
    mail.SetSubject(o.Subject.empty() ? report.ReportOptions.Name : QString::fromStdString(o.Subject));
    if (!o.Text.empty())
        mail.SetLines(QString::fromStdString(o.Text).split(QLatin1Char('\n')));
    mail.SetLogFile(QString::fromStdString(o.Log));
    if (!o.Login.empty()) {
        QFile file(QString::fromStdString(o.PasswordFile));
        if (!file.open(QIODevice::ReadOnly))
            return "cannot read the password file " + o.PasswordFile + ": " +
                   file.errorString().toStdString();
        // The first line; its line end is not part of the password.
        QByteArray password = file.readLine();
        while (password.endsWith('\n') || password.endsWith('\r'))
            password.chop(1);
        mail.SetLogin(QString::fromStdString(o.Login));
        mail.SetPassword(QString::fromUtf8(password));
    }
    std::unique_ptr<exports::TrpCustomExportFilter> filter;
    const std::string attach = QString::fromStdString(o.Attach).toLower().toStdString();
    for (const auto& [name, index] : AttachmentNames())
        if (name == attach && !filter)
            filter = sheet::CreateSheetFilter(index);
    mail.SetAttachmentFilter(filter.get());
    return mail.Send().replace(QStringLiteral("\r\n"), QStringLiteral("; ")).toStdString();
}

std::string MailHelp() {
    return "  --mail ADDRESS   send the sheet by e-mail to ADDRESS, with:\n"
           "    --smtp HOST[:PORT]   the mail server (port 25, or 465 with --tls implicit)\n"
           "    --from ADDRESS       the sender\n"
           "    --subject TEXT       the subject (default: the sheet's title)\n"
           "    --text TEXT          the message text\n"
           "    --attach FORMAT      the attachment: " +
           KnownFormats() +
           " (default pdf)\n"
           "    --login USER --password-file FILE   log in (AUTH LOGIN); the password is the file's first "
           "line\n"
           "    --tls none|starttls|implicit        encryption (default none); the server's certificate\n"
           "                         must be valid for HOST in the system's trust store\n"
           "    --log FILE           append the SMTP exchange to FILE (never the password)\n";
}

} // namespace cli
