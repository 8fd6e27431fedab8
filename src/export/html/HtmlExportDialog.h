#pragma once
// The options dialog of the HTML export: the common page range group and the filter's own
// options, with OK and Cancel.

#include "export/ExportDialog.h"

class QComboBox;

namespace exports {

class TrpHTMLExport;

class TrpHTMLExportDialog : public TrpExportDialog {
public:
    explicit TrpHTMLExportDialog(const TrpHTMLExport& filter, QWidget* parent = nullptr);

    // Copies the page choice, the picture format and the check boxes back into the filter.
    void Store(TrpHTMLExport& filter) const;

    QCheckBox* StylesCB;
    QLabel* PicturesL;
    QComboBox* PFormatCB;
    QCheckBox* PicsSameCB;
    QCheckBox* FixWidthCB;
    QCheckBox* NavigatorCB;
    QCheckBox* MultipageCB;
    QCheckBox* BackgrCB;
    QCheckBox* OpenAfterCB;
};

} // namespace exports
