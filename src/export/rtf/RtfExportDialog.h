#pragma once
// The options dialog of the RTF export.

#include "export/ExportDialog.h"

class QComboBox;

namespace exports {

class TrpRTFExport;

class TrpRTFExportDialog : public TrpExportDialog {
public:
    explicit TrpRTFExportDialog(const TrpRTFExport& filter, QWidget* parent = nullptr);

    // Copies the page choice and the options back into the filter.
    void Store(TrpRTFExport& filter) const;

    QCheckBox* ContinuousCB;
    QCheckBox* PicturesCB;
    QCheckBox* PageBreaksCB;
    QCheckBox* WCB;
    QCheckBox* OpenCB;
    QLabel* HeadFootL;
    QComboBox* PColontitulCB;
};

} // namespace exports
