#pragma once
// The options dialog of the Excel export: the common page range group and the filter's own
// options, with OK and Cancel.

#include "export/ExportDialog.h"

namespace exports {

class TrpXLSExport;

class TrpXLSExportDialog : public TrpExportDialog {
public:
    explicit TrpXLSExportDialog(const TrpXLSExport& filter, QWidget* parent = nullptr);

    // Copies the page choice and the check boxes back into the filter.
    void Store(TrpXLSExport& filter) const;

    QCheckBox* ContinuousCB;
    QCheckBox* PicturesCB;
    QCheckBox* MergeCB;
    QCheckBox* PageBreaksCB;
    QCheckBox* FastExpCB;
    QCheckBox* WCB;
    QCheckBox* AsTextCB;
    QCheckBox* BackgrCB;
    QCheckBox* OpenExcelCB;
};

} // namespace exports
