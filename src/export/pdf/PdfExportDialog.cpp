#include "export/pdf/PdfExportDialog.h"

#include "export/DialogHelp.h"
#include "export/PageRangeGroup.h"
#include "export/pdf/PdfExport.h"
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

TrpPDFExportDialog::TrpPDFExportDialog(const TrpPDFExport& filter, QWidget* parent) : QDialog(parent) {
    InstallDialogHelp(this, QStringLiteral("export-pdf"));
    AddPdfExportTexts();
    setWindowTitle(rpGet(8700));
    setFixedSize(278, 271);
    // The controls stand where they were measured for the engine's 11-pixel Tahoma, as in its
    // progress window, not for the desktop's font.
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);

    GroupPageRange = new TrpPageRangeGroup(filter, this);
    GroupPageRange->setGeometry(4, 4, 270, 117);
    AllRB = GroupPageRange->AllRB;
    CurPageRB = GroupPageRange->CurPageRB;
    PageNumbersRB = GroupPageRange->PageNumbersRB;
    PageNumbersE = GroupPageRange->PageNumbersE;
    DescrL = GroupPageRange->DescrL;

    GroupQuality = new QGroupBox(rpGet(QStringLiteral("exOptions")), this);
    GroupQuality->setGeometry(4, 124, 270, 109);
    auto box = [this](int key, int x, int y, bool checked) {
        auto* cb = new QCheckBox(rpGet(key), GroupQuality);
        cb->setGeometry(x, y, 125, 17);
        cb->setChecked(checked);
        return cb;
    };
    CompressedCB = box(8701, 12, 20, filter.Compressed());
    EmbeddedCB = box(8702, 12, 40, filter.EmbeddedFonts());
    PrintOptCB = box(8703, 12, 60, filter.PrintOptimized());
    OutlineCB = box(8704, 140, 20, filter.Outline());
    BackgrCB = box(8705, 140, 40, filter.Background());
    OpenCB = box(8706, 12, 84, filter.OpenAfterExport());
    // Nothing stands right of these two: they take the group's width for their captions.
    PrintOptCB->setGeometry(12, 60, 250, 17);
    OpenCB->setGeometry(12, 84, 250, 17);
    // Bookmarks only where the report shows an outline.
    OutlineCB->setEnabled(filter.Outline());
    OpenCB->setVisible(!filter.Subordinate());
    if (filter.Subordinate())
        OpenCB->setChecked(false);

    OkB = new QPushButton(rpGet(1), this);
    OkB->setGeometry(116, 240, 75, 25);
    OkB->setDefault(true);
    CancelB = new QPushButton(rpGet(2), this);
    CancelB->setGeometry(197, 240, 75, 25);
    connect(OkB, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TrpPDFExportDialog::Store(TrpPDFExport& filter) const {
    GroupPageRange->Store(filter);
    filter.SetCompressed(CompressedCB->isChecked());
    filter.SetEmbeddedFonts(EmbeddedCB->isChecked());
    filter.SetPrintOptimized(PrintOptCB->isChecked());
    filter.SetOutline(OutlineCB->isChecked());
    filter.SetBackground(BackgrCB->isChecked());
    filter.SetOpenAfterExport(OpenCB->isChecked() && !filter.Subordinate());
}

} // namespace exports
