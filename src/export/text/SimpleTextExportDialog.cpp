#include "export/text/SimpleTextExportDialog.h"

#include "export/DialogHelp.h"
#include "export/Mnemonics.h"
#include "export/PageRangeGroup.h"
#include "export/text/SimpleTextExport.h"
#include "report/EngineTexts.h"

#include <QCheckBox>
#include <QPushButton>

namespace exports {

using report::rpGet;

TrpSimpleTextExportDialog::TrpSimpleTextExportDialog(const TrpSimpleTextExport& filter, QWidget* parent)
    : QDialog(parent) {
    InstallDialogHelp(this, QStringLiteral("export-txt"));
    setWindowTitle(rpGet(8800));
    UseDialogFont(*this);
    setFixedSize(277, 262);
    GroupPageRange = new TrpPageRangeGroup(filter, this);
    GroupPageRange->setGeometry(4, 4, 269, 117);
    GroupOptions = new QGroupBox(rpGet(8302), this);
    GroupOptions->setGeometry(4, 124, 269, 81);
    auto box = [this](const QString& caption, int top, bool checked) {
        auto* cb = new QCheckBox(caption, GroupOptions);
        cb->setGeometry(12, top, 245, 17);
        cb->setChecked(checked);
        return cb;
    };
    PageBreaksCB = box(rpGet(QStringLiteral("exPageBreaks")), 18, filter.PageBreaks());
    FramesCB = box(rpGet(8312).trimmed(), 33, filter.Frames());
    EmptyLinesCB = box(rpGet(8305), 48, filter.EmptyLines());
    OEMCB = box(rpGet(8304), 63, filter.OEMCodepage());
    OpenCB = new QCheckBox(rpGet(8706), this);
    OpenCB->setGeometry(16, 210, 245, 17);
    OpenCB->setChecked(filter.OpenAfterExport() && !filter.Subordinate());
    OpenCB->setVisible(!filter.Subordinate());
    AddOkCancel(*this, 232, OkB, CancelB);
    CentreOnScreen(*this);
    AssignMnemonics(this);
}

void TrpSimpleTextExportDialog::Store(TrpSimpleTextExport& filter) const {
    GroupPageRange->Store(filter);
    filter.SetPageBreaks(PageBreaksCB->isChecked());
    filter.SetFrames(FramesCB->isChecked());
    filter.SetEmptyLines(EmptyLinesCB->isChecked());
    filter.SetOEMCodepage(OEMCB->isChecked());
    filter.SetOpenAfterExport(OpenCB->isChecked() && !filter.Subordinate());
}

} // namespace exports
