#pragma once
// The page range group of every export options dialog: all pages, the current page or the typed
// numbers and ranges.

#include <QGroupBox>

class QDialog;
class QLabel;
class QPushButton;
class QLineEdit;
class QRadioButton;

namespace exports {

class TrpCustomExportFilter;

class TrpPageRangeGroup : public QGroupBox {
public:
    // Filled from the filter's page list.
    TrpPageRangeGroup(const TrpCustomExportFilter& filter, QWidget* parent);
    // The choice back into the filter: current page, or the typed list, or all pages.
    void Store(TrpCustomExportFilter& filter) const;

    QRadioButton* AllRB;
    QRadioButton* CurPageRB;
    QRadioButton* PageNumbersRB;
    QLineEdit* PageNumbersE;
    QLabel* DescrL;
};

// The engine's dialog font: controls stand where they were measured for 11-pixel Tahoma.
void UseDialogFont(QWidget& dialog);
// OK (the default) and Cancel at the dialog's right edge, `top` pixels down.
void AddOkCancel(QDialog& dialog, int top, QPushButton*& ok, QPushButton*& cancel);
// Centres a dialog on the screen.
void CentreOnScreen(QWidget& dialog);

} // namespace exports
