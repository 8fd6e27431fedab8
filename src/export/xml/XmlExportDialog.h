#pragma once
// The options dialog of the Excel XML export.

#include "export/ExportDialog.h"

namespace exports {

class TrpXMLExport;

class TrpXMLExportDialog : public TrpExportDialog {
public:
    explicit TrpXMLExportDialog(const TrpXMLExport& filter, QWidget* parent = nullptr);

    // Copies the page choice and the options back into the filter.
    void Store(TrpXMLExport& filter) const;

    QCheckBox* ContinuousCB;
    QCheckBox* PageBreaksCB;
    QCheckBox* WCB;
    QCheckBox* BackgrCB;
    QCheckBox* OpenExcelCB;
};

} // namespace exports
