#pragma once
// The page settings dialog of the preview: paper, size, orientation and margins of the
// current page, applied to it alone or to every page of the report.

#include "preview/SettingsStore.h"
#include "report/ReportTypes.h"

#include <QDialog>
#include <QPageSize>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace report {
class TrpReport;
class TrpReportPage;
} // namespace report

namespace preview {

using report::Extended;

// What the dialog sets on a page, in millimetres.
struct TrpPageSettings {
    int PaperSize = 9; // paper code, 256 for a user size
    Extended PaperWidth = 210, PaperHeight = 297;
    report::TPrinterOrientation Orientation = report::poPortrait;
    Extended LeftMargin = 10, TopMargin = 10, RightMargin = 10, BottomMargin = 10;
};
TrpPageSettings PageSettingsOf(const report::TrpReportPage& page);
void ApplyPageSettings(report::TrpReportPage& page, const TrpPageSettings& settings);

// A length for the dialog: millimetres in the unit, two decimals unless whole, with the
// regional decimal separator.
QString FormatLength(Extended mm, TrpUnits units);
// Reads a length typed in the unit ("," or "." as separator, spaces ignored).
std::optional<Extended> ParseLength(const QString& text, TrpUnits units);

class TrpPageSetupDialog : public QDialog {
public:
    TrpPageSetupDialog(report::TrpReport& report, int pageIndex, QWidget* parent = nullptr);

    TrpUnits Units() const { return FUnits; }
    // The boxes' values; empty when a box holds no number.
    std::optional<TrpPageSettings> Settings() const;
    void SetApplyToAll(bool all);
    bool ApplyToAll() const;
    // Applies the boxes: to every template page followed by a new preparation, or to the
    // current prepared page only.
    void Apply();

    QComboBox* PaperBox() const { return FPaper; }
    QLineEdit* WidthEdit() const { return FWidth; }
    QLineEdit* HeightEdit() const { return FHeight; }
    QRadioButton* PortraitButton() const { return FPortrait; }
    QRadioButton* LandscapeButton() const { return FLandscape; }
    QLineEdit* MarginEdit(int side) const { return FMargins[side]; } // left, top, right, bottom

    void accept() override;

private:
    void PaperChosen(int index);
    void OrientationChosen(report::TPrinterOrientation orientation);

    report::TrpReport& FReport;
    int FPageIndex;
    TrpUnits FUnits;
    report::TPrinterOrientation FOrientation = report::poPortrait;
    QComboBox* FPaper;
    QLineEdit* FWidth;
    QLineEdit* FHeight;
    QRadioButton* FPortrait;
    QRadioButton* FLandscape;
    QLineEdit* FMargins[4];
    QRadioButton* FCurrentOnly;
    QRadioButton* FAllPages;
};

} // namespace preview
