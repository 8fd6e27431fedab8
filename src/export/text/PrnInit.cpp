#include "export/text/PrnInit.h"

#include "export/DialogHelp.h"
#include "export/Mnemonics.h"
#include "export/PageRangeGroup.h"
#include "export/SaveFileDialog.h"
#include "export/text/RawPrinter.h"
#include "export/text/TXTExport.h"
#include "report/EngineTexts.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>

namespace exports {

using report::rpGet;

TrpPrnInit::TrpPrnInit(TrpTXTExport& filter, QWidget* parent)
    : QDialog(parent), FFilter(filter), FTypes(filter.PrinterTypes()) {
    InstallDialogHelp(this, QStringLiteral("export-prn"));
    setWindowTitle(rpGet(8400));
    UseDialogFont(*this);
    setFixedSize(340, 330);

    PrinterL = new QLabel(rpGet(8401), this);
    PrinterL->setGeometry(8, 10, 100, 17);
    PrinterCB = new QComboBox(this);
    PrinterCB->setGeometry(8, 28, 240, 22);
    PrinterCB->addItems(RawPrinterNames());
    PrinterCB->setCurrentText(filter.PrinterName());
    PrinterL->setBuddy(PrinterCB);
    PropertiesB = new QPushButton(rpGet(8402), this);
    PropertiesB->setGeometry(254, 27, 80, 25);
    connect(PropertiesB, &QPushButton::clicked, this, [this] {
        // The toolkit's print dialog holds the queue's properties; a queue chosen there is
        // taken over.
        QPrinter printer;
        printer.setPrinterName(PrinterCB->currentText());
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted && PrinterCB->findText(printer.printerName()) >= 0)
            PrinterCB->setCurrentText(printer.printerName());
    });

    CopiesL = new QLabel(rpGet(8403), this);
    CopiesL->setGeometry(8, 60, 100, 17);
    CopiesE = new QSpinBox(this);
    CopiesE->setGeometry(120, 58, 80, 21);
    CopiesE->setRange(1, 9999);
    CopiesE->setValue(std::clamp(filter.Copies(), 1, 9999));
    CopiesL->setBuddy(CopiesE);

    TypeL = new QLabel(rpGet(8404), this);
    TypeL->setGeometry(8, 90, 100, 17);
    TypeCB = new QComboBox(this);
    TypeCB->setGeometry(8, 108, 326, 22);
    for (const TrpPrinterType& t : FTypes)
        TypeCB->addItem(t.Name);
    TypeL->setBuddy(TypeCB);
    CommandsL = new QLabel(rpGet(8405), this);
    CommandsL->setGeometry(8, 138, 100, 17);
    CommandsLB = new QListWidget(this);
    CommandsLB->setGeometry(8, 156, 240, 134);
    connect(CommandsLB, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int type = TypeCB->currentIndex(), row = CommandsLB->row(item);
        if (type >= 0 && row >= 0 && row < int(FTypes[size_t(type)].Commands.size()))
            FTypes[size_t(type)].Commands[size_t(row)].Enabled = item->checkState() == Qt::Checked;
    });
    connect(TypeCB, &QComboBox::currentIndexChanged, this, [this](int index) { ShowType(index); });

    LoadB = new QPushButton(rpGet(8406), this);
    LoadB->setGeometry(254, 156, 80, 25);
    SaveB = new QPushButton(rpGet(8407), this);
    SaveB->setGeometry(254, 186, 80, 25);
    auto fileName = [this](bool save) {
        if (OnFileDialog)
            return OnFileDialog(save);
        const QString filter = QtFilter(rpGet(8409));
        return save ? QFileDialog::getSaveFileName(this, QString(), QString(), filter)
                    : QFileDialog::getOpenFileName(this, QString(), QString(), filter);
    };
    connect(LoadB, &QPushButton::clicked, this, [this, fileName] {
        if (const QString name = fileName(false); !name.isEmpty())
            LoadSettings(name);
    });
    connect(SaveB, &QPushButton::clicked, this, [this, fileName] {
        if (QString name = fileName(true); !name.isEmpty()) {
            if (!name.contains(QLatin1Char('.')))
                name += QStringLiteral(".rpi");
            SaveSettings(name);
        }
    });

    AddOkCancel(*this, 298, OkB, CancelB);

    TypeCB->setCurrentIndex(filter.PrinterType());
    ShowType(filter.PrinterType());
    CentreOnScreen(*this);
    AssignMnemonics(this);
}

void TrpPrnInit::ShowType(int index) {
    const QSignalBlocker block(CommandsLB);
    CommandsLB->clear();
    if (index < 0 || index >= int(FTypes.size()))
        return;
    for (const TrpPrinterCommand& c : FTypes[size_t(index)].Commands) {
        auto* item = new QListWidgetItem(c.Name, CommandsLB);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(c.Enabled ? Qt::Checked : Qt::Unchecked);
    }
}

void TrpPrnInit::Tell(const QString& message) {
    if (OnMessage)
        OnMessage(message);
    else
        QMessageBox::warning(this, rpGet(QStringLiteral("mbError")), message);
}

QString TrpPrnInit::LoadSettings(const QString& fileName) {
    int index = TypeCB->currentIndex();
    const QString error = LoadPrinterSettingsFile(fileName, FTypes, index);
    if (!error.isEmpty()) {
        Tell(error);
        return error;
    }
    TypeCB->setCurrentIndex(index);
    ShowType(index);
    return {};
}

QString TrpPrnInit::SaveSettings(const QString& fileName) {
    const QString error = SavePrinterSettingsFile(fileName, FTypes, TypeCB->currentIndex());
    if (!error.isEmpty())
        Tell(error);
    return error;
}

void TrpPrnInit::accept() {
    FFilter.SetPrinterName(PrinterCB->currentText());
    FFilter.SetCopies(CopiesE->value());
    FFilter.SetPrinterType(TypeCB->currentIndex());
    const auto& commands = FTypes[size_t(TypeCB->currentIndex())].Commands;
    for (size_t i = 0; i < commands.size(); ++i)
        FFilter.SetCommandEnabled(int(i), commands[i].Enabled);
    FFilter.RebuildInitString();
    QDialog::accept();
}

} // namespace exports
