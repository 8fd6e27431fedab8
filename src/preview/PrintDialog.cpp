#include "preview/PrintDialog.h"
#include "export/Mnemonics.h"

#include "preview/PreviewIcons.h"
#include "preview/PreviewTexts.h"
#include "preview/Printers.h"
#include "report/EngineTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace preview {

using namespace report;

TrpPrintDialog::TrpPrintDialog(QPrinter& printer, int pageCount, int currentPage, QWidget* parent)
    : QDialog(parent), FPrinter(printer), FCurrentPage(currentPage) {
    AddPreviewTexts();
    setWindowTitle(rpGet("prnCaption"));
    auto* layout = new QVBoxLayout(this);

    auto* printerGroup = new QGroupBox(rpGet("prnPrinter").trimmed(), this);
    auto* printerForm = new QFormLayout(printerGroup);
    FPrinterBox = new QComboBox(printerGroup);
    FPrinterBox->addItems(TrpPrinters::Instance().Names());
    FProperties = new QPushButton(rpGet("prnProps"), printerGroup);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(FPrinterBox, 1);
    nameRow->addWidget(FProperties);
    printerForm->addRow(rpGet("prnName"), nameRow);
    FTypeLabel = new QLabel(printerGroup);
    FWhereLabel = new QLabel(printerGroup);
    printerForm->addRow(rpGet("prnType"), FTypeLabel);
    printerForm->addRow(rpGet("prnWhere"), FWhereLabel);
    FToFile = new QCheckBox(rpGet("prnToFile"), printerGroup);
    FReverse = new QCheckBox(rpGet("prnReverse"), printerGroup);
    auto* flags = new QHBoxLayout;
    flags->addWidget(FToFile);
    flags->addWidget(FReverse);
    printerForm->addRow(flags);
    layout->addWidget(printerGroup);

    auto* row = new QHBoxLayout;
    auto* pagesGroup = new QGroupBox(rpGet("prnPages").trimmed(), this);
    auto* pagesLayout = new QVBoxLayout(pagesGroup);
    FAll = new QRadioButton(rpGet("prnAll"), pagesGroup);
    FCurrent = new QRadioButton(rpGet("prnCurrent"), pagesGroup);
    FNumbers = new QRadioButton(rpGet("prnNumbers"), pagesGroup);
    FPageNumbers = new QLineEdit(pagesGroup);
    auto* hint = new QLabel(rpGet(9), pagesGroup);
    hint->setWordWrap(true);
    FAll->setChecked(true);
    pagesLayout->addWidget(FAll);
    pagesLayout->addWidget(FCurrent);
    auto* numbersRow = new QHBoxLayout;
    numbersRow->addWidget(FNumbers);
    numbersRow->addWidget(FPageNumbers, 1);
    pagesLayout->addLayout(numbersRow);
    pagesLayout->addWidget(hint);
    row->addWidget(pagesGroup, 1);

    auto* copiesGroup = new QGroupBox(rpGet("prnCopies").trimmed(), this);
    auto* copiesLayout = new QFormLayout(copiesGroup);
    FCopies = new QSpinBox(copiesGroup);
    FCopies->setRange(1, 9999);
    copiesLayout->addRow(rpGet("prnCopiesCount"), FCopies);
    FCollatePicture = new QLabel(copiesGroup);
    FCollatePicture->setPixmap(PreviewIcon(QStringLiteral("collate")).pixmap(16, 16));
    FCollate = new QCheckBox(rpGet("prnCollate"), copiesGroup);
    copiesLayout->addRow(FCollatePicture, FCollate);
    row->addWidget(copiesGroup);
    layout->addLayout(row);

    FPages = new QComboBox(this);
    FPages->addItems({rpGet("prnAllPages"), rpGet("prnOddPages"), rpGet("prnEvenPages")});
    layout->addWidget(FPages);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(rpGet(1), QDialogButtonBox::AcceptRole);
    buttons->addButton(rpGet(2), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    exports::AssignMnemonics(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(FPrinterBox, &QComboBox::currentIndexChanged, this, [this](int i) { PrinterChanged(i); });
    connect(FProperties, &QPushButton::clicked, this, [this] { ShowProperties(); });
    connect(FPageNumbers, &QLineEdit::textEdited, this, [this] { FNumbers->setChecked(true); });
    (void)pageCount;

    FPrinterBox->setCurrentIndex(TrpPrinters::Instance().PrinterIndex());
    PrinterChanged(FPrinterBox->currentIndex());
}

void TrpPrintDialog::SetSettings(const TrpPrintSettings& s) {
    FCopies->setValue(std::max(1, s.Copies));
    FCollate->setChecked(s.Collate);
    FReverse->setChecked(s.Reverse);
    FToFile->setChecked(s.PrintToFile);
    FOutputFileName = s.OutputFileName;
    FPages->setCurrentIndex(std::clamp(s.PrintPages, int(ppAll), int(ppEven)));
    FPageNumbers->setText(s.PageNumbers);
    if (s.PageNumbers.trimmed().isEmpty())
        FAll->setChecked(true);
    else
        FNumbers->setChecked(true);
}

TrpPrintSettings TrpPrintDialog::Settings() const {
    TrpPrintSettings s;
    s.Copies = FCopies->value();
    s.Collate = FCollate->isChecked();
    s.Reverse = FReverse->isChecked();
    s.PrintToFile = FToFile->isChecked();
    s.OutputFileName = FOutputFileName;
    s.PrintPages = FPages->currentIndex();
    if (FCurrent->isChecked())
        s.PageNumbers = QString::number(FCurrentPage);
    else if (FNumbers->isChecked())
        s.PageNumbers = FPageNumbers->text();
    return s;
}

int TrpPrintDialog::PrinterIndex() const {
    return FPrinterBox->currentIndex();
}

void TrpPrintDialog::PrinterChanged(int index) {
    const QPrinterInfo info = TrpPrinters::Instance().Info(index);
    FTypeLabel->setText(info.isNull() ? QString() : info.makeAndModel());
    FWhereLabel->setText(info.isNull() ? QString() : info.location());
    FProperties->setEnabled(!info.isNull());
    if (!info.isNull() && FPrinter.printerName() != info.printerName())
        FPrinter.setPrinterName(info.printerName());
}

void TrpPrintDialog::ShowProperties() {
    QPageSetupDialog properties(&FPrinter, this);
    // For a printer with a driver description the toolkit's dialog opens on the printer's
    // default paper, not the one set; choosing the set one also makes OK keep it.
    if (auto* paper = properties.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))) {
        const int index = paper->findData(QVariant::fromValue(FPrinter.pageLayout().pageSize()));
        if (index >= 0)
            paper->setCurrentIndex(index);
    }
    properties.exec();
}

} // namespace preview
