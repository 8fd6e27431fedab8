#include "export/image/ImageExportDialog.h"

#include "export/DialogHelp.h"
#include "export/Mnemonics.h"
#include "export/PageRangeGroup.h"
#include "export/image/ImageExport.h"
#include "export/image/ImageTexts.h"
#include "report/EngineTexts.h"
#include "report/ValueFormat.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace exports {

using report::rpGet;

namespace {

// The field's text as a whole number (numbers in dialogs are typed without separators).
bool ParseInteger(const QLineEdit* field, int& value) {
    bool ok = false;
    value = field->text().trimmed().toInt(&ok);
    return ok;
}

// A bound as people read it, with the regional thousands separator.
QString Readable(int value) {
    return report::FormatPicture(value, QStringLiteral("#,##0"), report::EngineRegionalSettings());
}

} // namespace

TrpIMGExportDialog::TrpIMGExportDialog(const TrpCustomImageExport& filter, QWidget* parent)
    : QDialog(parent) {
    InstallDialogHelp(this, QStringLiteral("export-image"));
    AddImageExportTexts();
    setWindowTitle(rpGet(8600));
    // The controls stand where they were measured for the engine's 11-pixel Tahoma, as in its
    // other dialogs, not for the desktop's font.
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(278, 277);

    GroupPageRange = new TrpPageRangeGroup(filter, this);
    GroupPageRange->setGeometry(4, 4, 270, 137);
    AllRB = GroupPageRange->AllRB;
    CurPageRB = GroupPageRange->CurPageRB;
    PageNumbersRB = GroupPageRange->PageNumbersRB;
    PageNumbersE = GroupPageRange->PageNumbersE;
    DescrL = GroupPageRange->DescrL;
    SeparateCB = new QCheckBox(rpGet(8604), GroupPageRange);
    SeparateCB->setGeometry(12, 114, 245, 17);
    // An attachment is one picture.
    SeparateCB->setChecked(filter.FilePerPage() && !filter.Subordinate());
    SeparateCB->setVisible(!filter.Subordinate());

    GroupBox1 = new QGroupBox(rpGet(8601), this);
    GroupBox1->setGeometry(4, 145, 270, 93);
    Label2 = new QLabel(rpGet(8602), GroupBox1);
    Label2->setGeometry(12, 22, 130, 17);
    Quality = new QLineEdit(QString::number(filter.JPEGQuality()), GroupBox1);
    Quality->setGeometry(150, 20, 107, 21);
    Label1 = new QLabel(rpGet(8603), GroupBox1);
    Label1->setGeometry(12, 48, 130, 17);
    Resolution = new QLineEdit(QString::number(filter.OutputDpi()), GroupBox1);
    Resolution->setGeometry(150, 46, 107, 21);
    Label2->setBuddy(Quality);
    Label1->setBuddy(Resolution);
    Label2->setEnabled(filter.HasQuality());
    Quality->setEnabled(filter.HasQuality());
    CropPage = new QCheckBox(rpGet(8605), GroupBox1);
    CropPage->setGeometry(12, 70, 125, 17);
    CropPage->setChecked(filter.CropImages());
    Mono = new QCheckBox(rpGet(8606), GroupBox1);
    Mono->setGeometry(140, 70, 125, 17);
    Mono->setChecked(filter.Monochrome() && filter.AllowsMonochrome());
    Mono->setEnabled(filter.AllowsMonochrome());

    OkB = new QPushButton(rpGet(1), this);
    OkB->setGeometry(116, 246, 75, 25);
    OkB->setDefault(true);
    CancelB = new QPushButton(rpGet(2), this);
    CancelB->setGeometry(197, 246, 75, 25);
    connect(OkB, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    AssignMnemonics(this);
}

QString TrpIMGExportDialog::Problem(QLineEdit** field) const {
    struct Check {
        QLineEdit* Field;
        QLabel* Label;
        int Min, Max;
    };
    const Check checks[] = {{Quality, Label2, 1, 100}, {Resolution, Label1, 1, 100000}};
    for (const Check& c : checks) {
        if (!c.Field->isEnabled())
            continue;
        if (field)
            *field = c.Field;
        // The message quotes the caption as it reads, without its letter's mark.
        const QString caption = WithoutMnemonic(c.Label->text());
        int value = 0;
        if (!ParseInteger(c.Field, value))
            return rpGet(QStringLiteral("exNotInteger")).arg(caption, c.Field->text());
        if (value < c.Min || value > c.Max)
            return rpGet(QStringLiteral("exOutOfRange")).arg(caption, Readable(c.Min), Readable(c.Max));
    }
    return {};
}

void TrpIMGExportDialog::accept() {
    QLineEdit* field = nullptr;
    const QString problem = Problem(&field);
    if (problem.isEmpty()) {
        QDialog::accept();
        return;
    }
    if (OnProblem)
        OnProblem(problem);
    else
        QMessageBox::warning(this, rpGet(QStringLiteral("mbError")), problem);
    field->setFocus();
    field->selectAll();
}

void TrpIMGExportDialog::Store(TrpCustomImageExport& filter) const {
    GroupPageRange->Store(filter);
    int value = 0;
    if (Quality->isEnabled() && ParseInteger(Quality, value))
        filter.SetJPEGQuality(value);
    if (ParseInteger(Resolution, value))
        filter.SetOutputDpi(value);
    filter.SetFilePerPage(SeparateCB->isChecked() && !filter.Subordinate());
    filter.SetCropImages(CropPage->isChecked());
    filter.SetMonochrome(Mono->isChecked() && filter.AllowsMonochrome());
}

} // namespace exports
