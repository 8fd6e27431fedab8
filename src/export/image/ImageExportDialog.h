#pragma once
// The options dialog of the picture exports: the common page range group with the choice of
// separate files, and the picture's quality, resolution, cropping and colours.

#include <QDialog>

#include "export/PageRangeGroup.h"
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace exports {

class TrpCustomImageExport;

class TrpIMGExportDialog : public QDialog {
public:
    explicit TrpIMGExportDialog(const TrpCustomImageExport& filter, QWidget* parent = nullptr);

    // What is wrong with the typed quality or resolution ("" when both are whole numbers in
    // range), and the field to correct.
    QString Problem(QLineEdit** field = nullptr) const;
    // Copies the choices back into the filter; call only when Problem() is empty.
    void Store(TrpCustomImageExport& filter) const;

    TrpPageRangeGroup* GroupPageRange;
    QRadioButton* AllRB;
    QRadioButton* CurPageRB;
    QRadioButton* PageNumbersRB;
    QLineEdit* PageNumbersE;
    QLabel* DescrL;
    QCheckBox* SeparateCB;
    QGroupBox* GroupBox1;
    QLabel* Label2;
    QLineEdit* Quality;
    QLabel* Label1;
    QLineEdit* Resolution;
    QCheckBox* CropPage;
    QCheckBox* Mono;
    QPushButton* OkB;
    QPushButton* CancelB;

    // Shows what Problem() found; replaceable for tests. The default is a message box.
    std::function<void(const QString& message)> OnProblem;

    // OK keeps the dialog open, with the field to correct focused, until both numbers are good.
    void accept() override;
};

} // namespace exports
