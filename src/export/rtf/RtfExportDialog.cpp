#include "export/rtf/RtfExportDialog.h"

#include "export/rtf/RtfExport.h"

#include <QComboBox>

namespace exports {

using report::rpGet;

TrpRTFExportDialog::TrpRTFExportDialog(const TrpRTFExport& filter, QWidget* parent)
    : TrpExportDialog(rpGet(8500), filter, 109, parent) {
    ContinuousCB = AddCheck(rpGet(8950), 12, 20, filter.SuppressPageHeadersFooters());
    PicturesCB = AddCheck(rpGet(8501), 12, 40, filter.ExportPictures());
    PageBreaksCB = AddCheck(rpGet(QStringLiteral("exPageBreaks")), 140, 20, filter.ExportPageBreaks());
    WCB = AddCheck(rpGet(8502), 140, 40, filter.Wysiwyg());
    OpenCB = AddCheck(rpGet(8503), 12, 84, filter.OpenAfterExport(), 250);
    HeadFootL = new QLabel(rpGet(8951), Options);
    HeadFootL->setGeometry(12, 62, 100, 17);
    PColontitulCB = new QComboBox(Options);
    PColontitulCB->setGeometry(140, 60, 117, 21);
    PColontitulCB->addItems({rpGet(8952), rpGet(8953), rpGet(8954)}); // in the order of the modes
    PColontitulCB->setEditable(false);
    PColontitulCB->setCurrentIndex(int(filter.HeaderFooterMode()));
    // An attachment is never opened.
    OpenCB->setVisible(!filter.Subordinate());
    if (filter.Subordinate())
        OpenCB->setChecked(false);
}

void TrpRTFExportDialog::Store(TrpRTFExport& filter) const {
    StorePages(filter);
    filter.SetSuppressPageHeadersFooters(ContinuousCB->isChecked());
    filter.SetExportPictures(PicturesCB->isChecked());
    filter.SetExportPageBreaks(PageBreaksCB->isChecked());
    filter.SetWysiwyg(WCB->isChecked());
    filter.SetOpenAfterExport(OpenCB->isChecked() && !filter.Subordinate());
    filter.SetHeaderFooterMode(TrpHeaderFooterMode(PColontitulCB->currentIndex()));
    // Real headers and footers are written once each.
    if (filter.HeaderFooterMode() == hfPrint)
        filter.SetSuppressPageHeadersFooters(true);
}

} // namespace exports
