#pragma once
// The options dialog of the Excel export: the common page range group and the filter's own
// options, with OK and Cancel.

#include <QDialog>

#include "export/PageRangeGroup.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace exports {

class TrpXLSExport;

class TrpXLSExportDialog : public QDialog {
public:
    explicit TrpXLSExportDialog(const TrpXLSExport& filter, QWidget* parent = nullptr);

    // Copies the page choice and the check boxes back into the filter.
    void Store(TrpXLSExport& filter) const;

    TrpPageRangeGroup* GroupPageRange;
    QRadioButton* AllRB;
    QRadioButton* CurPageRB;
    QRadioButton* PageNumbersRB;
    QLineEdit* PageNumbersE;
    QLabel* DescrL;
    QGroupBox* GroupQuality;
    QCheckBox* ContinuousCB;
    QCheckBox* PicturesCB;
    QCheckBox* MergeCB;
    QCheckBox* PageBreaksCB;
    QCheckBox* FastExpCB;
    QCheckBox* WCB;
    QCheckBox* AsTextCB;
    QCheckBox* BackgrCB;
    QCheckBox* OpenExcelCB;
    QPushButton* OkB;
    QPushButton* CancelB;
};

} // namespace exports
