#pragma once
// The options dialog of the CSV export: pages, separator, OEM code page, open after export.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace exports {

class TrpCSVExport;
class TrpPageRangeGroup;

class TrpCSVExportDialog : public QDialog {
public:
    explicit TrpCSVExportDialog(const TrpCSVExport& filter, QWidget* parent = nullptr);
    void Store(TrpCSVExport& filter) const;

    TrpPageRangeGroup* GroupPageRange;
    QGroupBox* GroupOptions;
    QLabel* SeparatorL;
    QLineEdit* SeparatorE;
    QCheckBox* OEMCB;
    QCheckBox* OpenCB;
    QPushButton* OkB;
    QPushButton* CancelB;

protected:
    // F1: what the options mean.
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace exports
