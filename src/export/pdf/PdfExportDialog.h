#pragma once
// The options dialog of the PDF export: the common page range group and the filter's own
// options, with OK and Cancel.

#include "export/ExportDialog.h"

namespace exports {

class TrpPDFExport;

class TrpPDFExportDialog : public TrpExportDialog {
public:
    explicit TrpPDFExportDialog(const TrpPDFExport& filter, QWidget* parent = nullptr);

    // Copies the page choice and the check boxes back into the filter.
    void Store(TrpPDFExport& filter) const;

    QCheckBox* CompressedCB;
    QCheckBox* EmbeddedCB;
    QCheckBox* PrintOptCB;
    QCheckBox* OutlineCB;
    QCheckBox* BackgrCB;
    QCheckBox* OpenCB;
};

} // namespace exports
