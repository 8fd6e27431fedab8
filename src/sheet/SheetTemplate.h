#pragma once
// The calculation sheet: a one-page report template with a header, a title, a framed table of
// the nine tariff values and a framed box with the formula and the premium.

#include "report/Report.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

namespace sheet {

// The product and its maker as the sheet's header and links show them.
inline const QString kProductLine = QStringLiteral("-= Тарифон 2.0\" =-");
inline const QString kMakerLine = QStringLiteral("Разработчик: компания «Квиралт»");
inline const QString kBusinessLine =
    QStringLiteral("Программы для страховых агентов, брокеров и автодилеров");
inline const QString kWebAddress = QStringLiteral("www.kviralt.ru");
inline const QString kWebLink = QStringLiteral("http://www.kviralt.ru/");
inline const QString kSupportAddress = QStringLiteral("support@kviralt.ru");

// The texts of the result page that fill the sheet, as they are shown there.
struct SheetTexts {
    QString TB, KT, KBM, KO, KVS, KM, KS, KP, KN;
    QString Formula;
    QString Premium;
};

// One row of the value table.
struct SheetRow {
    const char* Code;      // tariff code and variable name ("ТБ")
    const char* ValueCell; // value memo ("meType")
    const char* LabelCell; // caption memo
    const char* CodeCell;  // code memo
    const char* Caption;   // caption text
    long double Top;
    QString SheetTexts::*Text;
};
const std::array<SheetRow, 9>& SheetRows();

// Builds the template into a report (whatever it held before is replaced).
void BuildSheet(report::TrpReport& report);
// A new report holding the sheet; errors never block on a message box (they go to
// the report's error list and standard error) unless the caller installs OnShowError.
std::unique_ptr<report::TrpReport> CreateSheetReport();

// Sets the eleven variables to the texts wrapped in single quotes (quotes inside doubled),
// so that each variable reads back as exactly its text.
void FillSheetVariables(report::TrpReport& report, const SheetTexts& texts);

struct PrepareResult {
    bool Ok = false;
    QStringList Errors;
    QString Message; // the combined message shown for errors
};
// Fills the variables and prepares the sheet, discarding earlier prepared pages.
PrepareResult PrepareSheet(report::TrpReport& report, const SheetTexts& texts);

// A prepared page drawn on white; zoom 1 is A4 at 96 dpi (794 x 1123 pixels).
QImage RenderSheetPage(report::TrpReport& report, int page = 0, double zoom = 1.0);

// The logo picture (85 x 57 pixels).
QImage SheetLogo();

} // namespace sheet
