#include "export/html/HtmlExportDialog.h"

#include "export/DialogHelp.h"
#include "export/html/HtmlExport.h"

#include <QComboBox>

namespace exports {

using report::rpGet;

TrpHTMLExportDialog::TrpHTMLExportDialog(const TrpHTMLExport& filter, QWidget* parent)
    : TrpExportDialog(rpGet(8200), filter, 155, parent) {
    InstallDialogHelp(this, QStringLiteral("export-html"));
    // An attachment is a single file: no pictures or frames beside it, and nothing is opened.
    const bool sub = filter.Subordinate();
    StylesCB = AddCheck(rpGet(8202), 12, 20, filter.ExportStyles());
    FixWidthCB = AddCheck(rpGet(8205), 140, 20, filter.FixedWidth());
    PicturesL = new QLabel(rpGet(8203), Options);
    PicturesL->setGeometry(12, 44, 70, 17);
    PFormatCB = new QComboBox(Options);
    PFormatCB->setGeometry(90, 42, 167, 21);
    PFormatCB->addItems({rpGet(8313), QStringLiteral("JPEG"), QStringLiteral("BMP"), QStringLiteral("GIF")});
    PFormatCB->setCurrentIndex(!filter.ExportPictures() ? 0 : filter.UseJpeg() ? 1 : filter.UseGif() ? 3 : 2);
    PFormatCB->setEnabled(!sub);
    PicturesL->setBuddy(PFormatCB);
    PicsSameCB = AddCheck(rpGet(8204), 12, 68, filter.PicsInSameFolder(), 250);
    NavigatorCB = AddCheck(rpGet(8206), 12, 88, filter.Navigator());
    MultipageCB = AddCheck(rpGet(8207), 140, 88, filter.Multipage());
    BackgrCB = AddCheck(rpGet(8209), 12, 108, filter.Background());
    for (QCheckBox* cb : {PicsSameCB, NavigatorCB, MultipageCB, BackgrCB})
        cb->setEnabled(!sub);
    OpenAfterCB = AddCheck(rpGet(8201), 12, 130, filter.OpenAfterExport() && !sub, 250);
    OpenAfterCB->setVisible(!sub);
}

void TrpHTMLExportDialog::Store(TrpHTMLExport& filter) const {
    StorePages(filter);
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
