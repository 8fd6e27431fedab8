#include "export/xls/XlsExportDialog.h"
#include "export/DialogHelp.h"

#include "export/PageRangeGroup.h"
#include "export/xls/XlsExport.h"
#include "export/xls/XlsTexts.h"
#include "report/EngineTexts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace exports {

using report::rpGet;

TrpXLSExportDialog::TrpXLSExportDialog(const TrpXLSExport& filter, QWidget* parent) : QDialog(parent) {
    InstallDialogHelp(this, QStringLiteral("export-xls"));
    AddXlsExportTexts();
    setWindowTitle(rpGet(8000));
    setFixedSize(277, 284);
    // Laid out for the engine's 11-pixel Tahoma, as its other dialogs.
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);

    GroupPageRange = new TrpPageRangeGroup(filter, this);
    GroupPageRange->setGeometry(4, 4, 269, 117);
    AllRB = GroupPageRange->AllRB;
    CurPageRB = GroupPageRange->CurPageRB;
    PageNumbersRB = GroupPageRange->PageNumbersRB;
    PageNumbersE = GroupPageRange->PageNumbersE;
    DescrL = GroupPageRange->DescrL;

    GroupQuality = new QGroupBox(rpGet(QStringLiteral("exOptions")), this);
    GroupQuality->setGeometry(4, 124, 269, 122);
    auto box = [this](int key, int x, int y, bool checked) {
        auto* cb = new QCheckBox(rpGet(key), GroupQuality);
        cb->setGeometry(x, y, 125, 17);
        cb->setChecked(checked);
        return cb;
    };
    ContinuousCB = box(8950, 12, 20, !filter.EmptyLines() || filter.SuppressPageHeadersFooters());
    PicturesCB = box(8002, 12, 40, filter.ExportPictures());
    MergeCB = box(8003, 12, 60, filter.MergeCells());
    PageBreaksCB = box(6, 12, 80, filter.PageBreaks());
    FastExpCB = box(8004, 140, 20, filter.FastExport());
    WCB = box(8005, 140, 40, filter.Wysiwyg());
    AsTextCB = box(8006, 140, 60, filter.AsText());
    BackgrCB = box(8007, 140, 80, filter.Background());
    OpenExcelCB = box(8008, 12, 100, filter.OpenExcelAfterExport());
    OpenExcelCB->setGeometry(12, 100, 250, 17);
    OpenExcelCB->setVisible(!filter.Subordinate());
    if (filter.Subordinate())
        OpenExcelCB->setChecked(false);

    OkB = new QPushButton(rpGet(1), this);
    OkB->setGeometry(115, 253, 75, 25);
    OkB->setDefault(true);
    CancelB = new QPushButton(rpGet(2), this);
    CancelB->setGeometry(196, 253, 75, 25);
    connect(OkB, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TrpXLSExportDialog::Store(TrpXLSExport& filter) const {
    GroupPageRange->Store(filter);
    filter.SetMergeCells(MergeCB->isChecked());
    filter.SetPageBreaks(PageBreaksCB->isChecked());
    filter.SetExportPictures(PicturesCB->isChecked());
    filter.SetWysiwyg(WCB->isChecked());
    filter.SetOpenExcelAfterExport(OpenExcelCB->isChecked() && !filter.Subordinate());
    filter.SetAsText(AsTextCB->isChecked());
    filter.SetBackground(BackgrCB->isChecked());
    filter.SetFastExport(FastExpCB->isChecked());
    filter.SetEmptyLines(!ContinuousCB->isChecked());
    filter.SetSuppressPageHeadersFooters(ContinuousCB->isChecked());
}

} // namespace exports
