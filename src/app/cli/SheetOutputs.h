#pragma once
// The files a prepared sheet can be written to, behind one small interface for the command line.
// Each returns an empty string or the reason of the failure.

#include <QString>
#include <iterator>
#include <string>

namespace report {
class TrpReport;
}

namespace cli {

// The engine's messages that can reach the command line, in the tool's own English.
void UseEnglishEngineTexts();

std::string SavePreparedReport(report::TrpReport& report, const QString& path);
std::string LoadPreparedReport(report::TrpReport& report, const QString& path);

// The export menu's filters that write the sheet into one file of their own, as options of
// `sheet`: each runs the calculator window's filter (its settings, no dialog) on the typed file.
struct SheetFilterOption {
    const char* Option;
    int MenuIndex; // the filter's place in the export menu
    const char* Help;
};
inline constexpr SheetFilterOption SheetFilterOptions[] = {
    {"--pdf", 11, "the sheet as a PDF document"},
    {"--csv", 6, "the sheet as CSV text (code page 1251, fields separated by \";\")"},
    {"--txt", 5, "the sheet as plain text (code page 1251)"},
    {"--prn", 4, "the sheet as printer text for a dot-matrix printer (code page 1251)"},
    {"--rtf", 10, "the sheet as an RTF document, one table for word processors"},
    {"--xml", 9, "the sheet as an Excel XML workbook (.xls)"},
    {"--xls", 8, "the sheet as an Excel workbook (through LibreOffice Calc)"},
};
inline constexpr int SheetFilterCount = int(std::size(SheetFilterOptions));
std::string SaveWithSheetFilter(report::TrpReport& report, int menuIndex, const QString& path);
// The HTML page is its own row: it writes a pictures folder beside the file ("sheet.files"), and
// stages and commits that set itself.
inline constexpr int HtmlMenuIndex = 7;

// The picture options, in the order of the formats the two below take.
inline constexpr const char* PictureOptions[] = {"--bmp", "--jpeg", "--tiff", "--gif"};
inline constexpr int PictureFormatCount = 4;
// The sheet's page as the export menu writes it: a picture at 96 dpi.
std::string SavePicture(report::TrpReport& report, int format, const QString& path);
// The name the export menu gives the picture of the first page: the page number before the
// format's extension ("sheet.bmp" gives "sheet.1.bmp"). Bytes in, bytes out.
std::string PicturePageName(const std::string& typed, int format);

} // namespace cli
