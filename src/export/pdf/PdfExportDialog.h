#pragma once
// The options dialog of the PDF export: the common page range group and the filter's own
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

class TrpPDFExport;

class TrpPDFExportDialog : public QDialog {
public:
    explicit TrpPDFExportDialog(const TrpPDFExport& filter, QWidget* parent = nullptr);

    // Copies the page choice and the check boxes back into the filter.
    void Store(TrpPDFExport& filter) const;

    TrpPageRangeGroup* GroupPageRange;
    QRadioButton* AllRB;
    QRadioButton* CurPageRB;
    QRadioButton* PageNumbersRB;
    QLineEdit* PageNumbersE;
    QLabel* DescrL;
    QGroupBox* GroupQuality;
    QCheckBox* CompressedCB;
    QCheckBox* EmbeddedCB;
    QCheckBox* PrintOptCB;
    QCheckBox* OutlineCB;
    QCheckBox* BackgrCB;
    QCheckBox* OpenCB;
    QPushButton* OkB;
    QPushButton* CancelB;
};

} // namespace exports
