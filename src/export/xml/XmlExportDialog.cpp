#include "export/xml/XmlExportDialog.h"

#include "export/xml/XmlExport.h"

namespace exports {

using report::rpGet;

TrpXMLExportDialog::TrpXMLExportDialog(const TrpXMLExport& filter, QWidget* parent)
    : TrpExportDialog(rpGet(8100), filter, 89, parent) {
    // Continuous: one run of rows without empty lines, headers and footers once.
    const bool continuous = !filter.EmptyLines() || filter.SuppressPageHeadersFooters();
    ContinuousCB = AddCheck(rpGet(8950), 12, 20, continuous);
    PageBreaksCB =
        AddCheck(rpGet(QStringLiteral("exPageBreaks")), 12, 40, filter.ExportPageBreaks() && !continuous);
    WCB = AddCheck(rpGet(8102), 140, 20, filter.Wysiwyg());
    BackgrCB = AddCheck(rpGet(8103), 140, 40, filter.Background());
    OpenExcelCB = AddCheck(rpGet(8104), 12, 64, filter.OpenExcelAfterExport(), 250);
    // An attachment is never opened.
    OpenExcelCB->setVisible(!filter.Subordinate());
    if (filter.Subordinate())
        OpenExcelCB->setChecked(false);
}

void TrpXMLExportDialog::Store(TrpXMLExport& filter) const {
    StorePages(filter);
    const bool continuous = ContinuousCB->isChecked();
    filter.SetExportPageBreaks(PageBreaksCB->isChecked() && !continuous);
    filter.SetEmptyLines(!continuous);
    filter.SetSuppressPageHeadersFooters(continuous);
    filter.SetWysiwyg(WCB->isChecked());
    filter.SetBackground(BackgrCB->isChecked());
    filter.SetOpenExcelAfterExport(OpenExcelCB->isChecked() && !filter.Subordinate());
}

} // namespace exports
