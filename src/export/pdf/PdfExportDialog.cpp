#include "export/pdf/PdfExportDialog.h"

#include "export/DialogHelp.h"
#include "export/pdf/PdfExport.h"

namespace exports {

using report::rpGet;

TrpPDFExportDialog::TrpPDFExportDialog(const TrpPDFExport& filter, QWidget* parent)
    : TrpExportDialog(rpGet(8700), filter, 109, parent) {
    InstallDialogHelp(this, QStringLiteral("export-pdf"));
    CompressedCB = AddCheck(rpGet(8701), 12, 20, filter.Compressed());
    EmbeddedCB = AddCheck(rpGet(8702), 12, 40, filter.EmbeddedFonts());
    // Nothing stands right of these two: they take the group's width for their captions.
    PrintOptCB = AddCheck(rpGet(8703), 12, 60, filter.PrintOptimized(), 250);
    OutlineCB = AddCheck(rpGet(8704), 140, 20, filter.Outline());
    BackgrCB = AddCheck(rpGet(8705), 140, 40, filter.Background());
    OpenCB = AddCheck(rpGet(8706), 12, 84, filter.OpenAfterExport(), 250);
    // Bookmarks only where the report shows an outline.
    OutlineCB->setEnabled(filter.Outline());
    OpenCB->setVisible(!filter.Subordinate());
    if (filter.Subordinate())
        OpenCB->setChecked(false);
}

void TrpPDFExportDialog::Store(TrpPDFExport& filter) const {
    StorePages(filter);
    filter.SetCompressed(CompressedCB->isChecked());
    filter.SetEmbeddedFonts(EmbeddedCB->isChecked());
    filter.SetPrintOptimized(PrintOptCB->isChecked());
    filter.SetOutline(OutlineCB->isChecked());
    filter.SetBackground(BackgrCB->isChecked());
    filter.SetOpenAfterExport(OpenCB->isChecked() && !filter.Subordinate());
}

} // namespace exports
