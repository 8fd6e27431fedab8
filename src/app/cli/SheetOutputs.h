#pragma once
// The outputs of `sheet` and `open`, one code path for both: the export menu's formats, the
// picture of a page, the prepared report and the e-mail, with the page range and the options
// of the filters. Functions returning a string give "" or the reason of the failure.

#include "app/cli/SheetMail.h"

#include <QString>
#include <array>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace report {
class TrpReport;
}

namespace cli {

// The engine's messages that can reach the command line, in the tool's own English.
void UseEnglishEngineTexts();

std::string SavePreparedReport(report::TrpReport& report, const QString& path);
std::string LoadPreparedReport(report::TrpReport& report, const QString& path);

// The export menu's filters as options: each runs the calculator window's filter (its
// settings, no dialog) on the typed file.
struct OutputFormat {
    const char* Option;
    int MenuIndex; // the filter's place in the export menu
    enum Kind {
        OneFile,  // written under a stand-in name and renamed to the typed one when complete
        Html,     // a pictures folder beside the page ("sheet.files"), staged by the filter
        Pictures, // a file per page, the page number before the extension (sheet.1.bmp)
    } Naming;
    const char* Help;
};
inline constexpr OutputFormat OutputFormats[] = {
    {"--pdf", 11, OutputFormat::OneFile, "a PDF document"},
    {"--csv", 6, OutputFormat::OneFile, "CSV text (code page 1251, fields separated by \";\")"},
    {"--txt", 5, OutputFormat::OneFile, "plain text (code page 1251)"},
    {"--prn", 4, OutputFormat::OneFile, "printer text for a dot-matrix printer (code page 1251)"},
    {"--rtf", 10, OutputFormat::OneFile, "an RTF document, one table for word processors"},
    {"--xml", 9, OutputFormat::OneFile, "an Excel XML workbook (.xls)"},
    {"--xls", 8, OutputFormat::OneFile, "an Excel workbook (through LibreOffice Calc)"},
    {"--html", 7, OutputFormat::Html,
     "an HTML page, its pictures in the folder beside it (sheet.html gives "
     "sheet.files/img0.jpg)"},
    {"--bmp", 0, OutputFormat::Pictures,
     "a BMP picture of each page at 96 dpi, the page number before the "
     "extension (sheet.bmp gives sheet.1.bmp)"},
    {"--jpeg", 1, OutputFormat::Pictures, "the same as JPEG"},
    {"--tiff", 2, OutputFormat::Pictures, "the same as TIFF"},
    {"--gif", 3, OutputFormat::Pictures, "the same as GIF"},
};
inline constexpr int OutputFormatCount = int(std::size(OutputFormats));
// The format's name without the dashes ("pdf").
std::string FormatName(int format);

struct OutputOptions {
    std::string Png, Trp;
    double Zoom = 1.0;
    std::array<std::string, OutputFormatCount> Files; // in the order of OutputFormats
    MailOptions Mail;
    std::string Pages;             // the page list as typed; all pages when not given
    std::vector<std::string> Sets; // "NAME=VALUE" or "FORMAT.NAME=VALUE", as typed
    bool ListOptions = false;
    bool Any() const;
};

// Takes one output option; `value` yields its argument. False when the name is none of them.
// Throws UsageError for a bad value, an empty one or an option given twice.
bool TakeOutputOption(const std::string& name, const std::function<std::string()>& value, OutputOptions& o);
// Before anything is read or written: formats, --set names and values, two outputs naming one
// file (or the input). Throws UsageError.
void CheckOutputs(const OutputOptions& o, const std::string& input = {});
// The pages (from 1) the range selects of pageCount, all when none was given. Throws
// UsageError for a malformed range or one that selects no page.
std::vector<int> SelectedPages(const OutputOptions& o, int pageCount);
// Writes every output, stopping at the first failure.
std::string WriteOutputs(report::TrpReport& report, const OutputOptions& o);
// The help lines of the output options, and the text of --list-options.
std::string OutputsHelp();
std::string OptionList();

} // namespace cli
