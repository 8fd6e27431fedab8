#pragma once
// The engine's print dialog: printer, its properties, print to file, reverse order, page
// range, copies, collation and odd/even pages.

#include "preview/Printing.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace preview {

class TrpPrintDialog : public QDialog {
public:
    // The printer is the one the job will use; its properties are edited in place.
    TrpPrintDialog(QPrinter& printer, int pageCount, int currentPage, QWidget* parent = nullptr);

    void SetSettings(const TrpPrintSettings& settings);
    // The choices: page list "" for all pages, the current page number for the current page,
    // else the typed list.
    TrpPrintSettings Settings() const;
    int PrinterIndex() const;

    QComboBox* PrinterBox() const { return FPrinterBox; }
    QLabel* TypeLabel() const { return FTypeLabel; }
    QLabel* WhereLabel() const { return FWhereLabel; }
    QPushButton* PropertiesButton() const { return FProperties; }
    QCheckBox* ToFileBox() const { return FToFile; }
    QCheckBox* ReverseBox() const { return FReverse; }
    QRadioButton* AllButton() const { return FAll; }
    QRadioButton* CurrentButton() const { return FCurrent; }
    QRadioButton* NumbersButton() const { return FNumbers; }
    QLineEdit* PageNumbersEdit() const { return FPageNumbers; }
    QSpinBox* CopiesBox() const { return FCopies; }
    QCheckBox* CollateBox() const { return FCollate; }
    QComboBox* PagesBox() const { return FPages; }

private:
    void PrinterChanged(int index);
    void ShowProperties();

    QPrinter& FPrinter;
    int FCurrentPage;
    QComboBox* FPrinterBox;
    QLabel* FTypeLabel;
    QLabel* FWhereLabel;
    QPushButton* FProperties;
    QCheckBox* FToFile;
    QCheckBox* FReverse;
    QRadioButton* FAll;
    QRadioButton* FCurrent;
    QRadioButton* FNumbers;
    QLineEdit* FPageNumbers;
    QSpinBox* FCopies;
    QCheckBox* FCollate;
    QLabel* FCollatePicture;
    QComboBox* FPages;
    QString FOutputFileName;
};

} // namespace preview
