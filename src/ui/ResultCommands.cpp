#include "ui/ResultCommands.h"

#include "sheet/commands/SheetCommands.h"
#include "ui/OSAGO_Calc.h"
#include "wizard/KWizard.h"
#include "wizard/RouteMapNodes.h"

#include <QLabel>
#include <QPushButton>

namespace ui {

sheet::SheetTexts ResultPageTexts(const TfmOSAGO_Calc& window) {
    sheet::SheetTexts texts;
    // Value labels in the order of the tariff codes, which is the order of the sheet's rows.
    for (const sheet::SheetRow& row : sheet::SheetRows()) {
        int code = 0;
        while (code < calc::TariffCodeCount &&
               QString::fromUtf8(calc::TariffCodes[size_t(code)].data(),
                                 qsizetype(calc::TariffCodes[size_t(code)].size())) !=
                   QString::fromUtf8(row.Code))
            ++code;
        if (code < calc::TariffCodeCount)
            texts.*row.Text = window.lblResultValue(code)->text();
    }
    texts.Formula = window.lblFormula()->text();
    texts.Premium = window.lblResult()->text();
    return texts;
}

sheet::TSheetCommands* InstallResultCommands(TfmOSAGO_Calc& window, bool messageBoxes) {
    auto* commands = new sheet::TSheetCommands(&window);
    if (messageBoxes)
        commands->InstallMessageBoxes();
    commands->ReadTexts = [&window] { return ResultPageTexts(window); };
    window.OnPrint = [&window, commands] { commands->BtnPrintClick(window.BtnPrint()); };
    window.OnExport = [&window, commands](QPushButton* button) {
        // The button's position is relative to the result page, which sits right of the route map.
        const int routeMapWidth = window.RouteMap() ? window.RouteMap()->width() : 0;
        commands->BtnExportClick(window.frameGeometry().topLeft(), routeMapWidth, button->pos());
    };
    return commands;
}

} // namespace ui
