#pragma once
// The options dialog of the plain-text export: pages, page breaks, frames, empty lines, OEM
// code page, open after export.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace exports {

class TrpSimpleTextExport;
class TrpPageRangeGroup;

class TrpSimpleTextExportDialog : public QDialog {
public:
    explicit TrpSimpleTextExportDialog(const TrpSimpleTextExport& filter, QWidget* parent = nullptr);
    void Store(TrpSimpleTextExport& filter) const;

    TrpPageRangeGroup* GroupPageRange;
    QGroupBox* GroupOptions;
    QCheckBox* PageBreaksCB;
    QCheckBox* FramesCB;
    QCheckBox* EmptyLinesCB;
    QCheckBox* OEMCB;
    QCheckBox* OpenCB;
    QPushButton* OkB;
    QPushButton* CancelB;
};

} // namespace exports
