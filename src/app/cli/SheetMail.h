#pragma once
// `tarifon-cli sheet --mail ADDRESS ...`: the sheet sent by e-mail without a dialog, through
// the calculator window's e-mail export and one of its filters for the attachment.

#include <functional>
#include <string>

namespace report {
class TrpReport;
}
namespace exports {
class TrpCustomExportFilter;
}

namespace cli {

struct MailOptions {
    std::string To, Smtp, From, Subject, Text, Attach = "pdf", Login, PasswordFile, Tls = "none", Log;
    bool AllowPlainLogin = false; // --login without --tls only when asked for
    bool Given() const { return !To.empty(); }
};

// Takes one mail option; `value` yields its argument. False when the name is none of them.
bool TakeMailOption(const std::string& name, const std::function<std::string()>& value, MailOptions& options);
// Throws UsageError when the options do not make a message.
void CheckMailOptions(const MailOptions& options);
// Sets the page range and the options of the attachment's filter of a format.
using ConfigureAttachment = std::function<void(exports::TrpCustomExportFilter& filter, int format)>;
// Sends the prepared sheet; "" or the reason it was not sent.
std::string MailSheet(report::TrpReport& report, const MailOptions& options,
                      const ConfigureAttachment& configure);
// The lines of the help text about the mail options.
std::string MailHelp();

} // namespace cli
