#include "export/text/CSVExport.h"

#include "export/LayoutMatrix.h"
#include "export/text/CSVExportDialog.h"
#include "export/text/TextEncoding.h"
#include "export/text/TextTexts.h"
#include "report/EngineTexts.h"

namespace exports {

using report::rpGet;

TrpCSVExport::TrpCSVExport(bool subordinate)
    : TrpTextFileExport(subordinate, (AddTextExportTexts(), rpGet(8851)), rpGet(8852)) {}

TrpCSVExport::~TrpCSVExport() = default;

QString TrpCSVExport::FilterDescription() const {
    return rpGet(QStringLiteral("CSVExport"));
}

bool TrpCSVExport::ExecuteOptionsDialog() {
    return RunDialog<TrpCSVExportDialog>(*this);
}

bool TrpCSVExport::Start() {
    if (!TrpTextFileExport::Start())
        return false;
    FMatrix = NewTextMatrix(5);
    return true;
}

void TrpCSVExport::StartPage(report::TrpReportPage*, int) {
    FMatrix->Clear();
}

void TrpCSVExport::ExportObject(report::TrpComponent* object) {
    if (auto* view = dynamic_cast<report::TrpView*>(object))
        FMatrix->AddObject(*view);
}

QByteArray TrpCSVExport::Field(const QStringList& lines, bool oem) {
    QByteArray text = EncodeText(lines.join(QString()), oem);
    // A quote left single would end the field early: every reader expects it doubled.
    text.replace('"', "\"\"");
    return '"' + text + '"';
}

void TrpCSVExport::FinishPage(report::TrpReportPage*, int) {
    TrpIEMatrix& m = *FMatrix;
    m.Prepare();
    const QByteArray separator = EncodeText(FSeparator, OEMCodepage());
    for (int y = 0; y + 1 < m.Height(); ++y) {
        for (const TrpIEMRun& run : m.RowRuns(y)) {
            TrpIEMObject* obj = m.GetObjectById(run.Index);
            if (!obj)
                continue;
            // Every cell of an object ends with a separator, its first one after its field.
            if (obj->Counter == 0) {
                obj->Counter = 1;
                FOut += Field(obj->Memo, OEMCodepage());
            }
            for (int x = run.X0; x < run.X1; ++x)
                FOut += separator;
        }
        FOut += "\r\n";
    }
}

void TrpCSVExport::Finish() {
    FMatrix.reset();
    TrpTextFileExport::Finish();
}

} // namespace exports
