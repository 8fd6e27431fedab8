#include "export/PageRangeGroup.h"

#include "export/ExportFilter.h"
#include "report/EngineTexts.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace exports {

using report::rpGet;

TrpPageRangeGroup::TrpPageRangeGroup(const TrpCustomExportFilter& filter, QWidget* parent)
    : QGroupBox(rpGet(QStringLiteral("exPageRange")), parent) {
    AllRB = new QRadioButton(rpGet(QStringLiteral("exAllPages")), this);
    AllRB->setGeometry(12, 20, 153, 17);
    AllRB->setChecked(true);
    CurPageRB = new QRadioButton(rpGet(QStringLiteral("exCurrentPage")), this);
    CurPageRB->setGeometry(12, 40, 153, 17);
    PageNumbersRB = new QRadioButton(rpGet(QStringLiteral("exPageNumbers")), this);
    PageNumbersRB->setGeometry(12, 60, 77, 17);
    PageNumbersE = new QLineEdit(this);
    PageNumbersE->setGeometry(92, 58, 165, 21);
    // Digits, commas and dashes only; typing there chooses the numbers.
    PageNumbersE->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\-]*")), PageNumbersE));
    connect(PageNumbersE, &QLineEdit::textEdited, this, [this] { PageNumbersRB->setChecked(true); });
    DescrL = new QLabel(rpGet(QStringLiteral("exPageNumbersHint")), this);
    DescrL->setGeometry(12, 82, 245, 29);
    DescrL->setWordWrap(true);
    if (!filter.PageNumbers().isEmpty()) {
        PageNumbersE->setText(filter.PageNumbers());
        PageNumbersRB->setChecked(true);
    }
}

void TrpPageRangeGroup::Store(TrpCustomExportFilter& filter) const {
    filter.SetPageNumbers(QString());
    filter.SetCurPage(CurPageRB->isChecked());
    if (PageNumbersRB->isChecked())
        filter.SetPageNumbers(PageNumbersE->text());
}

void UseDialogFont(QWidget& dialog) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    dialog.setFont(font);
}

void AddOkCancel(QDialog& dialog, int top, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton(rpGet(1), &dialog);
    ok->setGeometry(dialog.width() - 161, top, 75, 25);
    ok->setDefault(true);
    cancel = new QPushButton(rpGet(2), &dialog);
    cancel->setGeometry(dialog.width() - 80, top, 75, 25);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
}

void CentreOnScreen(QWidget& dialog) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
}

} // namespace exports
