#include "export/text/CSVExportDialog.h"

#include "export/DialogHelp.h"
#include "export/Mnemonics.h"
#include "export/PageRangeGroup.h"
#include "export/text/CSVExport.h"
#include "report/EngineTexts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace exports {

using report::rpGet;

TrpCSVExportDialog::TrpCSVExportDialog(const TrpCSVExport& filter, QWidget* parent) : QDialog(parent) {
    InstallDialogHelp(this, QStringLiteral("export-csv"));
    setWindowTitle(rpGet(8850));
    UseDialogFont(*this);
    setFixedSize(277, 242);
    GroupPageRange = new TrpPageRangeGroup(filter, this);
    GroupPageRange->setGeometry(4, 4, 269, 117);
    GroupOptions = new QGroupBox(rpGet(8302), this);
    GroupOptions->setGeometry(4, 124, 269, 61);
    SeparatorL = new QLabel(rpGet(8853), GroupOptions);
    SeparatorL->setGeometry(12, 20, 100, 17);
    SeparatorE = new QLineEdit(filter.Separator(), GroupOptions);
    SeparatorE->setGeometry(120, 18, 137, 21);
    SeparatorL->setBuddy(SeparatorE);
    OEMCB = new QCheckBox(rpGet(8304), GroupOptions);
    OEMCB->setGeometry(12, 40, 245, 17);
    OEMCB->setChecked(filter.OEMCodepage());
    OpenCB = new QCheckBox(rpGet(8706), this);
    OpenCB->setGeometry(16, 190, 245, 17);
    OpenCB->setChecked(filter.OpenAfterExport() && !filter.Subordinate());
    OpenCB->setVisible(!filter.Subordinate());
    AddOkCancel(*this, 212, OkB, CancelB);
    CentreOnScreen(*this);
    AssignMnemonics(this);
}

void TrpCSVExportDialog::Store(TrpCSVExport& filter) const {
    GroupPageRange->Store(filter);
    filter.SetSeparator(SeparatorE->text());
    filter.SetOEMCodepage(OEMCB->isChecked());
    filter.SetOpenAfterExport(OpenCB->isChecked() && !filter.Subordinate());
}

} // namespace exports
