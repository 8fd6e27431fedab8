#include "export/xls/XlsExportDialog.h"

#include "export/DialogHelp.h"
#include "export/xls/XlsExport.h"

namespace exports {

using report::rpGet;

TrpXLSExportDialog::TrpXLSExportDialog(const TrpXLSExport& filter, QWidget* parent)
    : TrpExportDialog(rpGet(8000), filter, 122, parent, 277) {
    InstallDialogHelp(this, QStringLiteral("export-xls"));
    ContinuousCB = AddCheck(rpGet(8950), 12, 20, !filter.EmptyLines() || filter.SuppressPageHeadersFooters());
    PicturesCB = AddCheck(rpGet(8002), 12, 40, filter.ExportPictures());
    MergeCB = AddCheck(rpGet(8003), 12, 60, filter.MergeCells());
    PageBreaksCB = AddCheck(rpGet(6), 12, 80, filter.PageBreaks());
    FastExpCB = AddCheck(rpGet(8004), 140, 20, filter.FastExport());
    WCB = AddCheck(rpGet(8005), 140, 40, filter.Wysiwyg());
    AsTextCB = AddCheck(rpGet(8006), 140, 60, filter.AsText());
    BackgrCB = AddCheck(rpGet(8007), 140, 80, filter.Background());
    OpenExcelCB = AddCheck(rpGet(8008), 12, 100, filter.OpenExcelAfterExport(), 250);
    // An attachment is never opened.
    OpenExcelCB->setVisible(!filter.Subordinate());
    if (filter.Subordinate())
        OpenExcelCB->setChecked(false);
}

void TrpXLSExportDialog::Store(TrpXLSExport& filter) const {
    StorePages(filter);
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
