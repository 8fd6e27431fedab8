#pragma once
// The printer-init dialog of print after export: the printer, the number of copies, the
// printer type with its commands, and loading or saving them as a ".rpi" file. Everything
// takes effect on OK only.

#include "export/text/PrinterTypes.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace exports {

class TrpTXTExport;

class TrpPrnInit : public QDialog {
public:
    explicit TrpPrnInit(TrpTXTExport& filter, QWidget* parent = nullptr);

    QLabel* PrinterL;
    QComboBox* PrinterCB;
    QPushButton* PropertiesB;
    QLabel* CopiesL;
    QSpinBox* CopiesE;
    QLabel* TypeL;
    QComboBox* TypeCB;
    QLabel* CommandsL;
    QListWidget* CommandsLB;
    QPushButton* LoadB;
    QPushButton* SaveB;
    QPushButton* OkB;
    QPushButton* CancelB;

    // Loads or saves the dialog's type and flags; "" or the message shown.
    QString LoadSettings(const QString& fileName);
    QString SaveSettings(const QString& fileName);

    // Replaceable for tests: the file dialogs (return "" when cancelled) and the message box.
    std::function<QString(bool save)> OnFileDialog;
    std::function<void(const QString& message)> OnMessage;

    void accept() override;

private:
    void ShowType(int index);
    void Tell(const QString& message);

    TrpTXTExport& FFilter;
    std::vector<TrpPrinterType> FTypes; // the working copy
};

} // namespace exports
