#include "export/html/HtmlExportDialog.h"

#include "export/DialogHelp.h"
#include "export/PageRangeGroup.h"
#include "export/html/HtmlExport.h"
#include "export/html/HtmlTexts.h"
#include "report/EngineTexts.h"

#include <QCheckBox>
#include <QComboBox>
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

TrpHTMLExportDialog::TrpHTMLExportDialog(const TrpHTMLExport& filter, QWidget* parent) : QDialog(parent) {
    InstallDialogHelp(this, QStringLiteral("export-html"));
    AddHtmlExportTexts();
    setWindowTitle(rpGet(8200));
    // The controls stand where they were measured for the engine's 11-pixel Tahoma, as in its
    // other dialogs, not for the desktop's font.
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(278, 317);

    GroupPageRange = new TrpPageRangeGroup(filter, this);
    GroupPageRange->setGeometry(4, 4, 270, 117);
    AllRB = GroupPageRange->AllRB;
    CurPageRB = GroupPageRange->CurPageRB;
    PageNumbersRB = GroupPageRange->PageNumbersRB;
    PageNumbersE = GroupPageRange->PageNumbersE;
    DescrL = GroupPageRange->DescrL;

    const bool sub = filter.Subordinate();
    GroupOptions = new QGroupBox(rpGet(QStringLiteral("exOptions")), this);
    GroupOptions->setGeometry(4, 124, 270, 155);
    auto box = [this](int key, int x, int y, bool checked, bool enabled = true) {
        auto* cb = new QCheckBox(rpGet(key), GroupOptions);
        cb->setGeometry(x, y, 125, 17);
        cb->setChecked(checked);
        cb->setEnabled(enabled);
        return cb;
    };
    StylesCB = box(8202, 12, 20, filter.ExportStyles());
    FixWidthCB = box(8205, 140, 20, filter.FixedWidth());
    PicturesL = new QLabel(rpGet(8203), GroupOptions);
    PicturesL->setGeometry(12, 44, 70, 17);
    PFormatCB = new QComboBox(GroupOptions);
    PFormatCB->setGeometry(90, 42, 167, 21);
    PFormatCB->addItems({rpGet(8313), QStringLiteral("JPEG"), QStringLiteral("BMP"), QStringLiteral("GIF")});
    PFormatCB->setCurrentIndex(!filter.ExportPictures() ? 0 : filter.UseJpeg() ? 1 : filter.UseGif() ? 3 : 2);
    PFormatCB->setEnabled(!sub);
    PicturesL->setBuddy(PFormatCB);
    PicsSameCB = box(8204, 12, 68, filter.PicsInSameFolder(), !sub);
    PicsSameCB->setGeometry(12, 68, 250, 17);
    NavigatorCB = box(8206, 12, 88, filter.Navigator(), !sub);
    MultipageCB = box(8207, 140, 88, filter.Multipage(), !sub);
    BackgrCB = box(8209, 12, 108, filter.Background(), !sub);
    OpenAfterCB = box(8201, 12, 130, filter.OpenAfterExport() && !sub);
    OpenAfterCB->setGeometry(12, 130, 250, 17);
    OpenAfterCB->setVisible(!sub);

    OkB = new QPushButton(rpGet(1), this);
    OkB->setGeometry(116, 286, 75, 25);
    OkB->setDefault(true);
    CancelB = new QPushButton(rpGet(2), this);
    CancelB->setGeometry(197, 286, 75, 25);
    connect(OkB, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TrpHTMLExportDialog::Store(TrpHTMLExport& filter) const {
    GroupPageRange->Store(filter);
    const int format = PFormatCB->currentIndex();
    filter.SetExportPictures(format != 0);
    filter.SetUseJpeg(format == 1);
    filter.SetUseGif(format == 3);
    filter.SetExportStyles(StylesCB->isChecked());
    filter.SetPicsInSameFolder(PicsSameCB->isChecked());
    filter.SetFixedWidth(FixWidthCB->isChecked());
    filter.SetNavigator(NavigatorCB->isChecked());
    filter.SetMultipage(MultipageCB->isChecked());
    filter.SetBackground(BackgrCB->isChecked());
    filter.SetOpenAfterExport(OpenAfterCB->isChecked() && !filter.Subordinate());
}

} // namespace exports
