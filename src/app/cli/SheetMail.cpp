#include "app/cli/SheetMail.h"

#include "app/cli/Messages.h"
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

// The attachment formats by the names of the options that write the same format to a file
// (extensions would not do: the printer text and the plain text are both ".txt").
std::vector<std::pair<std::string, int>> AttachmentNames() {
    std::vector<std::pair<std::string, int>> names;
    for (int k = 0; k < OutputFormatCount; ++k)
        names.emplace_back(FormatName(k), k);
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
// The first line of a password file that is no longer than this holds a password.
constexpr qint64 MaxPasswordBytes = 1024;

struct HostPort {
    std::string Host, Port; // Port "" when none is given
};

// "HOST", "HOST:PORT", "[IPv6]", "[IPv6]:PORT", or a bare IPv6 address (no port).
HostPort SplitSmtp(const std::string& smtp) {
    if (smtp.starts_with('[')) {
        const size_t close = smtp.find(']');
        const std::string rest = close == std::string::npos ? std::string() : smtp.substr(close + 1);
        if (close == std::string::npos || close == 1 || (!rest.empty() && !rest.starts_with(':')))
            throw UsageError{"--smtp: " + Quoted(smtp) + " is neither HOST[:PORT] nor [IPv6 ADDRESS][:PORT]"};
        return {smtp.substr(1, close - 1), rest.empty() ? rest : rest.substr(1)};
    }
    const size_t colon = smtp.find(':');
    if (colon == std::string::npos || smtp.find(':', colon + 1) != std::string::npos)
        return {smtp, {}};
    return {smtp.substr(0, colon), smtp.substr(colon + 1)};
}

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
    if (name != "--allow-plain-login")
        return false;
    o.AllowPlainLogin = true;
    return true;
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
        throw UsageError{"--tls: " + Quoted(o.Tls) + " is none of none, starttls, implicit"};
    if (o.Login.empty() != o.PasswordFile.empty())
        throw UsageError{"--login and --password-file go together"};
    if (!o.Login.empty() && o.Tls == "none" && !o.AllowPlainLogin)
        throw UsageError{"--login without --tls would send the password unencrypted; give --tls starttls or "
                         "--tls implicit, or --allow-plain-login to send it in plain text all the same"};
    const std::string attach = QString::fromStdString(o.Attach).toLower().toStdString();
    const auto names = AttachmentNames();
    if (attach != "trp" &&
        std::none_of(names.begin(), names.end(), [&](const auto& n) { return n.first == attach; }))
        throw UsageError{"--attach: " + Quoted(o.Attach) +
                         " is not a format of this build; known: " + KnownFormats()};
    const HostPort server = SplitSmtp(o.Smtp);
    if (server.Host.empty())
        throw UsageError{"--smtp: the host is missing in " + Quoted(o.Smtp)};
    if (!server.Port.empty() || o.Smtp.ends_with(':')) {
        const std::optional<double> port = ParsePlainNumber(server.Port);
        if (!port || *port != int(*port) || *port < 1 || *port > 65535)
            throw UsageError{"--smtp: " + Quoted(server.Port) + " is not a port number (1 to 65535)"};
    }
}

std::string MailSheet(report::TrpReport& report, const MailOptions& o, const ConfigureAttachment& configure) {
    exports::TrpMailExport mail(true);
    mail.SetReport(&report);
    mail.SetShowDialog(false);
    mail.SetShowProgress(false);
    mail.SetUseIniFile(false);
    const HostPort server = SplitSmtp(o.Smtp);
    const int security =
        int(std::find(std::begin(Securities), std::end(Securities), o.Tls) - std::begin(Securities));
    mail.SetSecurity(exports::TrpSmtpSecurity(security));
    mail.SetSmtpHost(QString::fromStdString(server.Host));
    mail.SetSmtpPort(!server.Port.empty()                                    ? std::stoi(server.Port)
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
        // The first line; its line end is not part of the password. Read with a bound: the
        // file may be a device that never ends.
        QByteArray password = file.readLine(MaxPasswordBytes + 2);
        if (password.size() > MaxPasswordBytes && !password.endsWith('\n'))
            return "the password file " + o.PasswordFile + " does not begin with a line of at most " +
                   std::to_string(MaxPasswordBytes) + " bytes holding the password";
        while (password.endsWith('\n') || password.endsWith('\r'))
            password.chop(1);
        mail.SetLogin(QString::fromStdString(o.Login));
        mail.SetPassword(QString::fromUtf8(password));
    }
    std::unique_ptr<exports::TrpCustomExportFilter> filter;
    const std::string attach = QString::fromStdString(o.Attach).toLower().toStdString();
    for (const auto& [name, format] : AttachmentNames())
        if (name == attach && !filter) {
            filter = sheet::CreateSheetFilter(OutputFormats[format].MenuIndex);
            configure(*filter, format);
        }
    mail.SetAttachmentFilter(filter.get());
    return mail.Send().replace(QStringLiteral("\r\n"), QStringLiteral("; ")).toStdString();
}

std::string MailHelp() {
    return "  --mail ADDRESS   send the sheet by e-mail to ADDRESS, with:\n"
           "    --smtp HOST[:PORT]   the mail server (port 25, or 465 with --tls implicit); an IPv6\n"
           "                         address in brackets: [::1]:2525\n"
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
           "    --allow-plain-login  send the password with --tls none, unencrypted\n"
           "    --log FILE           append the SMTP exchange to FILE (never the password)\n";
}

} // namespace cli
