#include "export/html/HtmlExportDialog.h"

#include "export/DialogHelp.h"
#include "export/html/HtmlExport.h"
#include "export/html/HtmlTexts.h"
#include "report/EngineTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace exports {

using report::rpGet;

TrpHTMLExportDialog::TrpHTMLExportDialog(const TrpHTMLExport& filter, QWidget* parent) : QDialog(parent) {
    AddHtmlExportTexts();
    setWindowTitle(rpGet(8200));
    // The controls stand where they were measured for the engine's 11-pixel Tahoma, as in its
    // other dialogs, not for the desktop's font.
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(278, 317);

    GroupPageRange = new QGroupBox(rpGet(QStringLiteral("exPageRange")), this);
    GroupPageRange->setGeometry(4, 4, 270, 117);
    AllRB = new QRadioButton(rpGet(QStringLiteral("exAllPages")), GroupPageRange);
    AllRB->setGeometry(12, 20, 153, 17);
    AllRB->setChecked(true);
    CurPageRB = new QRadioButton(rpGet(QStringLiteral("exCurrentPage")), GroupPageRange);
    CurPageRB->setGeometry(12, 40, 153, 17);
    PageNumbersRB = new QRadioButton(rpGet(QStringLiteral("exPageNumbers")), GroupPageRange);
    PageNumbersRB->setGeometry(12, 60, 77, 17);
    PageNumbersE = new QLineEdit(GroupPageRange);
    PageNumbersE->setGeometry(92, 58, 165, 21);
    // Digits, commas, dashes; typing checks the radio button.
    PageNumbersE->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\-]*")), PageNumbersE));
    connect(PageNumbersE, &QLineEdit::textEdited, this, [this] { PageNumbersRB->setChecked(true); });
    DescrL = new QLabel(rpGet(QStringLiteral("exPageNumbersHint")), GroupPageRange);
    DescrL->setGeometry(12, 82, 245, 29);
    DescrL->setWordWrap(true);

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

    if (!filter.PageNumbers().isEmpty()) {
        PageNumbersE->setText(filter.PageNumbers());
        PageNumbersRB->setChecked(true);
    }
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TrpHTMLExportDialog::Store(TrpHTMLExport& filter) const {
    filter.SetPageNumbers(QString());
    filter.SetCurPage(CurPageRB->isChecked());
    if (PageNumbersRB->isChecked())
        filter.SetPageNumbers(PageNumbersE->text());
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

void TrpHTMLExportDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        ShowDialogHelp(this, QStringLiteral("export-html"));
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace exports
