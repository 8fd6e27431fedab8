#pragma once
// The options dialog of the HTML export: the common page range group and the filter's own
// options, with OK and Cancel.

#include <QDialog>

#include "export/PageRangeGroup.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace exports {

class TrpHTMLExport;

class TrpHTMLExportDialog : public QDialog {
public:
    explicit TrpHTMLExportDialog(const TrpHTMLExport& filter, QWidget* parent = nullptr);

    // Copies the page choice, the picture format and the check boxes back into the filter.
    void Store(TrpHTMLExport& filter) const;

    TrpPageRangeGroup* GroupPageRange;
    QRadioButton* AllRB;
    QRadioButton* CurPageRB;
    QRadioButton* PageNumbersRB;
    QLineEdit* PageNumbersE;
    QLabel* DescrL;
    QGroupBox* GroupOptions;
    QCheckBox* StylesCB;
    QLabel* PicturesL;
    QComboBox* PFormatCB;
    QCheckBox* PicsSameCB;
    QCheckBox* FixWidthCB;
    QCheckBox* NavigatorCB;
    QCheckBox* MultipageCB;
    QCheckBox* BackgrCB;
    QCheckBox* OpenAfterCB;
    QPushButton* OkB;
    QPushButton* CancelB;
};

} // namespace exports
