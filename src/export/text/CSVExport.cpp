#include "export/text/CSVExport.h"

#include "export/LayoutMatrix.h"
#include "export/text/CSVExportDialog.h"
#include "export/text/TextEncoding.h"
#include "export/text/TextTexts.h"
#include "report/EngineTexts.h"

#include <algorithm>

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
    FMatrix->WholeParagraphs = true;
    return true;
}

void TrpCSVExport::StartPage(report::TrpReportPage*, int) {
    FMatrix->Clear();
}

void TrpCSVExport::ExportObject(const report::TrpPlacedObject& object) {
    FMatrix->AddObject(object);
}

namespace {

// A number as a sheet shows it, in any locale's form: a sign, digits, group and decimal
// separators, a final percent sign ("-12,5", "+7", "-1 234.50", "-3%").
bool IsNumber(QStringView text) {
    if (text.endsWith(u'%'))
        text.chop(1);
    if (text.startsWith(u'-') || text.startsWith(u'+'))
        text = text.mid(1);
    if (text.isEmpty() || !text.back().isDigit() ||
        !(text.front().isDigit() || text.front() == u'.' || text.front() == u','))
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || c == u'.' || c == u',' || c == u' ' || c == u'\u00A0' ||
               c == u'\u202F';
    });
}

// Whether a spreadsheet would take the text for a formula: it begins (after blanks) with "=",
// "+", "-" or "@" and is no number.
bool WouldBeFormula(const QString& text) {
    const QStringView trimmed = QStringView(text).trimmed();
    return !trimmed.isEmpty() && QStringView(u"=+-@").contains(trimmed.front()) && !IsNumber(trimmed);
}

} // namespace

QByteArray TrpCSVExport::Field(const QStringList& lines, bool oem) {
    // A field holds the memo's text: its line breaks read as the spaces they stand for.
    QString joined = lines.join(u' ');
    // A spreadsheet runs such a field as a formula (links, commands); the apostrophe makes it
    // text there, as it does for a value typed into a cell.
    if (WouldBeFormula(joined))
        joined.prepend(u'\'');
    QByteArray text = EncodeText(joined, oem);
    // A quote left single would end the field early: every reader expects it doubled.
    text.replace('"', "\"\"");
    return '"' + text + '"';
}

void TrpCSVExport::FinishPage(report::TrpReportPage*, int) {
    TrpIEMatrix& m = *FMatrix;
    m.Prepare();
    const QByteArray separator = EncodeOption(FSeparator, OEMCodepage());
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
    WritePageBytes();
}

void TrpCSVExport::Finish() {
    FMatrix.reset();
    TrpTextFileExport::Finish();
}

} // namespace exports
