#pragma once
// The result page's print and export commands: the sheet report, the window's thirteen
// export targets and the export menu `pmExport`, and the handlers `BtnPrintClick` and
// `BtnExportClick`.

#include "sheet/SheetTemplate.h"
#include "sheet/commands/ExportMenu.h"

#include <QObject>
#include <QPoint>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace exports {
class TrpCustomExportFilter;
}
namespace preview {
class TrpPreviewForm;
}

namespace sheet {

class TSheetCommands : public QObject {
public:
    // The commands of a window (their parent); the filters live as long as they do.
    explicit TSheetCommands(QWidget* window);
    ~TSheetCommands() override;

    report::TrpReport& Report() const { return *FReport; }
    // The filter of a menu position, or nullptr when this build has none.
    exports::TrpCustomExportFilter* Filter(int index) const;
    QMenu* pmExport() const { return FMenu; }
    QAction* MenuItem(int index) const;

    // The result page's texts at the moment of the command.
    std::function<SheetTexts()> ReadTexts;
    // Shows the prepared sheet; the default opens the preview window with the window's
    // thirteen export targets.
    std::function<void(report::TrpReport& report)> OnShowPreview;
    // Opens the export menu at a screen point; the default pops it up.
    std::function<void(QMenu* menu, const QPoint& at)> OnPopupMenu;

    // Fills the eleven variables from the result page, prepares the sheet, then shows it
    // (sender: anything but an item of the export menu, e.g. the print button) or runs the
    // filter of the menu item's position.
    void BtnPrintClick(QObject* sender);
    // Opens the export menu at the window's corner + the route map's width + the button's
    // position, 60 pixels lower. Nothing is prepared until an item is chosen.
    void BtnExportClick(const QPoint& windowTopLeft, int routeMapWidth, const QPoint& buttonPos);

    // Error and message boxes for the sheet's report (the application does this; tests leave
    // the report's errors on standard error).
    void InstallMessageBoxes();

    // Sets up a preview window of the sheet: the Export menu lists the thirteen targets.
    void SetUpPreview(preview::TrpPreviewForm& form) const;

private:
    QWidget* FWindow;
    std::unique_ptr<report::TrpReport> FReport;
    std::array<std::unique_ptr<exports::TrpCustomExportFilter>, ExportTargetCount> FFilters;
    QMenu* FMenu = nullptr;
};

} // namespace sheet
