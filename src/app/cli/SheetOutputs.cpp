#include "app/cli/SheetOutputs.h"

#include "app/cli/FileNames.h"
#include "app/cli/Messages.h"
#include "app/cli/QuoteOptions.h"
#include "export/FilterOptions.h"
#include "report/PageList.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "sheet/SheetTemplate.h"

#include "export/ExportFilter.h"
#include "export/html/HtmlTexts.h"
#include "export/image/ImageExport.h"
#include "export/image/ImageTexts.h"
#include "export/mail/MailTexts.h"
#include "export/pdf/PdfExport.h"
#include "export/rtf/RtfExport.h"
#include "export/text/TextTexts.h"
#include "export/xls/XlsTexts.h"
#include "export/xml/XmlExport.h"
#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"
#include "report/PreparedReportFile.h"
#include "sheet/commands/SheetFilters.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

namespace cli {

void UseEnglishEngineTexts() {
    exports::AddPdfExportTexts(); // replaced below, not later
    exports::AddImageExportTexts();
    exports::AddTextExportTexts();
    exports::AddHtmlExportTexts();
    exports::AddRtfExportTexts();
    exports::AddXmlExportTexts();
    exports::AddMailExportTexts();
    exports::AddXlsExportTexts();
    report::TrpResources::Instance().AddStrings(QStringLiteral(
        "xlsNoOffice=the spreadsheet application LibreOffice Calc is not available (%1); install LibreOffice "
        "to write Excel workbooks\n"
        "xlsNotFound=program %1 not found\n"
        "xlsNotStarted=program %1 cannot be started: %2\n"
        "xlsNoAnswer=the program did not answer within %1 s\n"
        "xlsEnded=the program ended with code %1\n"
        "xlsLost=LibreOffice Calc stopped during the export; nothing was written\n"
        "xlsHung=LibreOffice Calc did not answer for %1 s and was stopped; nothing was written\n"
        "xlsRejected=the spreadsheet application refused: %1\n"
        "xlsCannotSave=%1: %2\n"
        "xlsNotWorkbook=the spreadsheet application wrote no workbook\n"));
    // "file: reason"; the command line names the file as typed, so it keeps the reason.
    report::TrpResources::Instance().AddStrings(
        QStringLiteral("exCannotWrite=%1: %2\n"
                       "exNoPages=no prepared pages\n"
                       "exCannotMakeFolder=cannot create the folder %1: %2\n"
                       "exFailed=the export failed\n"
                       "exWriteFailed=write error: %1\n"
                       "exPictureNoMemory=not enough memory for a picture of %1 x %2 pixels\n"
                       "exCancelled=the export was cancelled, %1 was not written\n"
                       "exIncomplete=the export was cancelled, %1 is incomplete\n"
                       "exNotOpened=%1 was written but could not be opened: %2\n"
                       "exNoOpenProgram=no program opens files of this type (%1)\n"
                       "exOpenNotStarted=%1 could not be started\n"
                       "clErrors=the following errors were found:\n"
                       "clScrError=error in script %s: %s\n"
                       "clExprError=error in expression\n"
                       "clUnknownVar=unknown variable or field:\n"
                       "clRecursiveVar=the variable refers to itself:\n"
                       "xrCantFindClass=class not found:\n"
                       "8909=server\n"
                       "8910=login\n"
                       "8922=subject\n"
                       "mlFromName=sender name\n"
                       "mlBadText=the %1 may not hold a line break or another control character\n"
                       "mlBadAddress='%1' is not an e-mail address: it takes name@domain in Latin letters, "
                       "without blanks, quotes or angle brackets\n"
                       "mlBadPort=the port must be a whole number from 1 to 65535\n"
                       "mlRefused=the server refused %1: %2\n"
                       "mlClosed=the server %1 closed the connection without a word; nothing was sent\n"
                       "mlClosedAfter=the server %1 closed the connection after %2; nothing was sent\n"
                       "mlCannotConnect=cannot connect to the server %1 (port %2): %3\n"
                       "mlConnectionLost=the connection to the server %1 broke off: %2\n"
                       "mlTimeOut=the server %1 did not answer for %2 s; nothing was sent\n"
                       "mlNotSmtp=the server %1 does not speak SMTP: '%2'\n"
                       "mlNoStartTLS=the server %1 does not offer encryption (STARTTLS); nothing was sent\n"
                       "mlTlsFailed=no secure connection to %1: %2\n"
                       "mlReplyTooLong=the server's reply is longer than %1 bytes\n"
                       "mlReplyTimeOut=the server did not finish its reply within %1 s\n"
                       "mlExchangeTimeOut=the exchange with the server did not end within %1 s\n"
                       "mlCannotRead=cannot read %1: %2\n"
                       "mlCannotWriteLog=cannot write the log %1: %2\n"
                       "mlNoAttachment=the attachment could not be made\n"
                       "mlSending=Sending the message to\n"));
}

std::string SavePreparedReport(report::TrpReport& report, const QString& path) {
    return report::SavePreparedReportFile(report, path).toStdString();
}

std::string LoadPreparedReport(report::TrpReport& report, const QString& path) {
    return report::LoadPreparedReportFile(report, path).toStdString();
}

namespace {

// One --set: the option of every filter of the run that has it, or of one format's.
struct Setting {
    std::string Format; // "" for every format
    QString Name, Value;
};

Setting ParseSetting(const std::string& typed) {
    const size_t eq = typed.find('=');
    if (eq == std::string::npos || eq == 0)
        throw UsageError{"--set " + Quoted(typed) + ": give NAME=VALUE or FORMAT.NAME=VALUE"};
    Setting s;
    std::string name = typed.substr(0, eq);
    if (const size_t dot = name.find('.'); dot != std::string::npos) {
        s.Format = QString::fromStdString(name.substr(0, dot)).toLower().toStdString();
        name.erase(0, dot + 1);
    }
    s.Name = QString::fromStdString(name);
    s.Value = QString::fromStdString(typed.substr(eq + 1));
    return s;
}

std::optional<int> FormatNamed(const std::string& name) {
    for (int k = 0; k < OutputFormatCount; ++k)
        if (FormatName(k) == name)
            return k;
    return std::nullopt;
}

// The formats whose filters the run uses: the files and the attachment of the mail.
std::vector<int> RunFormats(const OutputOptions& o) {
    std::vector<int> formats;
    for (int k = 0; k < OutputFormatCount; ++k)
        if (!o.Files[k].empty())
            formats.push_back(k);
    if (o.Mail.Given())
        if (const std::optional<int> k =
                FormatNamed(QString::fromStdString(o.Mail.Attach).toLower().toStdString()))
            if (std::find(formats.begin(), formats.end(), *k) == formats.end())
                formats.push_back(*k);
    return formats;
}

std::unique_ptr<exports::TrpCustomExportFilter> CreateFilter(int format) {
    return sheet::CreateSheetFilter(OutputFormats[format].MenuIndex);
}

// The page range and the settings that concern this filter.
void Configure(exports::TrpCustomExportFilter& filter, int format, const OutputOptions& o) {
    filter.SetPageNumbers(QString::fromStdString(o.Pages));
    for (const std::string& typed : o.Sets) {
        const Setting s = ParseSetting(typed);
        if (!s.Format.empty() && s.Format != FormatName(format))
            continue;
        if (const exports::FilterOption* row = filter.PublishedOptions().Find(s.Name);
            row && !row->Interactive)
            row->Set(filter, s.Value);
    }
}

std::string SaveWithFilter(report::TrpReport& report, int format, const QString& path,
                           const OutputOptions& o) {
    const std::unique_ptr<exports::TrpCustomExportFilter> filter = CreateFilter(format);
    filter->SetFileName(path);
    Configure(*filter, format, o);
    QString error = exports::ExportSilently(report, *filter);
    if (const QString named = path + QStringLiteral(": "); error.startsWith(named))
        error.remove(0, named.size());
    return error.toStdString();
}

// The name the picture of the first page gets: the page number before the format's extension
// ("sheet.bmp" gives "sheet.1.bmp"). Bytes in, bytes out.
std::string PicturePageName(const std::string& typed, int format) {
    const std::string ext = CreateFilter(format)->DefaultExt().toStdString();
    const size_t slash = typed.rfind('/'), dot = typed.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? typed.substr(0, dot) : typed) + ".1" + ext;
}

// Writes one output under its typed name; the writer returns an empty string or the reason.
template <class Writer> bool WriteOutput(const std::string& typed, Writer write, std::string& error) {
    OutputFile file(typed);
    const QString target = file.Target(error);
    if (target.isEmpty())
        return false;
    if (const std::string why = write(target); !why.empty()) {
        error = FileMessage("cannot write", typed, why);
        return false;
    }
    return file.Commit(error);
}

std::string SavePng(const QImage& image, const QString& path) {
    if (image.isNull())
        return "the page is too large to draw as one picture at this zoom";
    // Encoded in memory first, so that a failed write gives the system's reason.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return "cannot make the picture: " + writer.errorString().toStdString();
    return platform::WriteFileAtomically(path, buffer.data()).toStdString();
}

// One file whatever the name it is reached under: links resolved, and the same inode.
bool SameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    const auto normal = [](const std::string& name) {
        std::error_code ec;
        fs::path p = fs::weakly_canonical(fs::path(name), ec);
        return ec ? fs::absolute(fs::path(name), ec).lexically_normal() : p;
    };
    if (normal(a) == normal(b))
        return true;
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

std::string FormatName(int format) {
    return std::string(OutputFormats[format].Option).substr(2);
}

bool OutputOptions::Any() const {
    return !Png.empty() || !Trp.empty() || Mail.Given() ||
           std::any_of(Files.begin(), Files.end(), [](const std::string& f) { return !f.empty(); });
}

bool TakeOutputOption(const std::string& name, const std::function<std::string()>& value, OutputOptions& o) {
    const auto once = [&](std::string& field) {
        if (!field.empty())
            throw UsageError{name + " is given twice"};
        field = value();
        return true;
    };
    if (name == "--png")
        return once(o.Png);
    if (name == "--trp")
        return once(o.Trp);
    for (int k = 0; k < OutputFormatCount; ++k)
        if (name == OutputFormats[k].Option)
            return once(o.Files[k]);
    if (name == "--pages")
        return once(o.Pages);
    if (name == "--set") {
        o.Sets.push_back(value());
        return true;
    }
    if (name == "--zoom") {
        const std::string z = value();
        const std::optional<double> zoom = ParsePlainNumber(z);
        if (!zoom || !(*zoom >= 0.25 && *zoom <= 8))
            throw UsageError{"--zoom: " + Quoted(z) + " is not a zoom factor; accepted values: 0.25 to 8"};
        o.Zoom = *zoom;
        return true;
    }
    return TakeMailOption(name, value, o.Mail);
}

void CheckOutputs(const OutputOptions& o, const std::string& input) {
    const bool attachesTrp = o.Mail.Given() && QString::fromStdString(o.Mail.Attach).toLower() == "trp";
    if (!o.Pages.empty() && (!o.Trp.empty() || attachesTrp))
        throw UsageError{
            "--pages does not go with a prepared report (--trp, --attach trp), which is saved whole"};

    const std::vector<int> formats = RunFormats(o);
    for (const std::string& typed : o.Sets) {
        const Setting s = ParseSetting(typed);
        if (!s.Format.empty() && !FormatNamed(s.Format))
            throw UsageError{"--set " + Quoted(typed) + ": " + Quoted(s.Format) + " is no output format"};
        bool found = false, interactive = false;
        for (int k : formats) {
            if (!s.Format.empty() && s.Format != FormatName(k))
                continue;
            const std::unique_ptr<exports::TrpCustomExportFilter> filter = CreateFilter(k);
            const exports::FilterOption* row = filter->PublishedOptions().Find(s.Name);
            if (!row)
                continue;
            if (row->Interactive) {
                interactive = true;
                continue;
            }
            found = true;
            if (!row->Set(*filter, s.Value))
                throw UsageError{"--set " + Quoted(typed) + ": " + Quoted(s.Value.toStdString()) +
                                 " is not a value of " + row->Name.toStdString() + " (" +
                                 exports::KindName(row->Kind, row->EnumNames).toStdString() + ")"};
        }
        if (!found)
            throw UsageError{"--set " + Quoted(typed) + ": " +
                             (interactive
                                  ? std::string("the option opens a dialog, a program or a printer after "
                                                "the export and is not offered here")
                                  : std::string("no output of this run has the option") +
                                        (s.Format.empty() ? "" : " in " + s.Format) +
                                        " (see tarifon-cli open --list-options)")};
    }

    // Two outputs into one file would leave only the last; an output over the input would
    // replace what is being read.
    std::vector<std::pair<std::string, std::string>> names; // option, file
    if (!input.empty())
        names.emplace_back("the input", input);
    if (!o.Png.empty())
        names.emplace_back("--png", o.Png);
    if (!o.Trp.empty())
        names.emplace_back("--trp", o.Trp);
    for (int k = 0; k < OutputFormatCount; ++k)
        if (!o.Files[k].empty())
            names.emplace_back(OutputFormats[k].Option, OutputFormats[k].Naming == OutputFormat::Pictures
                                                            ? PicturePageName(o.Files[k], k)
                                                            : o.Files[k]);
    for (size_t i = 0; i < names.size(); ++i)
        for (size_t j = i + 1; j < names.size(); ++j)
            if (SameFile(names[i].second, names[j].second))
                throw UsageError{names[i].first + " and " + names[j].first + " name the same file " +
                                 Quoted(names[j].second)};
}

std::vector<int> SelectedPages(const OutputOptions& o, int pageCount) {
    std::vector<int> pages;
    if (o.Pages.empty()) {
        for (int n = 1; n <= pageCount; ++n)
            pages.push_back(n);
        return pages;
    }
    try {
        pages = report::ParsePageNumbers(QString::fromStdString(o.Pages), pageCount);
    } catch (const report::TrpReportError& e) {
        throw UsageError{"--pages: " + Printable(e.Message().toStdString())};
    }
    if (pages.empty())
        throw UsageError{"--pages: " + Quoted(o.Pages) + " selects none of the " + std::to_string(pageCount) +
                         (pageCount == 1 ? " page" : " pages")};
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::string WriteOutputs(report::TrpReport& report, const OutputOptions& o) {
    std::string error;
    const std::vector<int> pages = SelectedPages(o, report.PreviewPages().Count());
    if (!o.Png.empty() && !WriteOutput(
                              o.Png,
                              [&](const QString& path) {
                                  return SavePng(sheet::RenderSheetPage(report, pages.front() - 1, o.Zoom),
                                                 path);
                              },
                              error))
        return error;
    if (!o.Trp.empty() &&
        !WriteOutput(
            o.Trp, [&](const QString& path) { return SavePreparedReport(report, path); }, error))
        return error;
    for (int k = 0; k < OutputFormatCount; ++k) {
        const std::string& typed = o.Files[k];
        if (typed.empty())
            continue;
        if (OutputFormats[k].Naming == OutputFormat::OneFile) {
            if (!WriteOutput(
                    typed, [&](const QString& path) { return SaveWithFilter(report, k, path, o); }, error))
                return error;
        } else if (const std::string why =
                       SaveWithFilter(report, k, QFile::decodeName(QByteArray::fromStdString(typed)), o);
                   !why.empty()) {
            // Not through a stand-in name: the filter names the pages' files or the pictures'
            // folder after the typed name.
            return FileMessage("cannot write", typed, why);
        }
    }
    if (o.Mail.Given())
        if (const std::string why = MailSheet(
                report, o.Mail,
                [&](exports::TrpCustomExportFilter& filter, int format) { Configure(filter, format, o); });
            !why.empty())
            return "the mail was not sent: " + why;
    return {};
}

std::string OutputsHelp() {
    std::string formats;
    for (const OutputFormat& f : OutputFormats) {
        std::string head = std::string(f.Option) + " FILE";
        head.resize(std::max<size_t>(head.size() + 1, 14), ' ');
        formats += "  " + head + f.Help + "\n";
    }
    return "  --png FILE    the first page of the range as a picture (A4 at 96 dpi for zoom 1)\n"
           "  --zoom Z      zoom factor of that picture, 0.25 to 8 (default 1)\n"
           "  --trp FILE    the prepared report, to be opened again later\n" +
           formats +
           "  --pages RANGE the pages to write, as the export dialogs take them: numbers and ranges\n"
           "                separated by commas (1,3,5-12; 5- runs to the last page); default all\n"
           "  --set NAME=VALUE, --set FORMAT.NAME=VALUE\n"
           "                an option of the filters that write the outputs (of one format's only);\n"
           "                repeatable; --list-options lists them with their types and defaults\n"
           "  --list-options  list the options of every format and stop\n" +
           MailHelp();
}

std::string OptionList() {
    std::string out =
        "The options of each format, for --set NAME=VALUE or --set FORMAT.NAME=VALUE: name, type and\n"
        "the value the tool uses unless --set changes it.\n";
    for (int k = 0; k < OutputFormatCount; ++k) {
        const std::unique_ptr<exports::TrpCustomExportFilter> filter = CreateFilter(k);
        out += FormatName(k) + ":\n";
        for (const exports::FilterOption* row : filter->PublishedOptions().Rows()) {
            if (row->Interactive)
                continue;
            std::string name = row->Name.toStdString(),
                        type = exports::KindName(row->Kind, row->EnumNames).toStdString();
            name.resize(std::max<size_t>(name.size() + 1, 28), ' ');
            type.resize(std::max<size_t>(type.size() + 1, 24), ' ');
            out += "  " + name + type + Quoted(row->Get(*filter).toStdString()) + "\n";
        }
    }
    return out;
}

} // namespace cli
