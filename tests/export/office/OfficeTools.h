#pragma once
// Shared by the RTF and XML workbook tests: the prepared calculation sheet, running a filter on
// a report, and the real readers (LibreOffice headless with a private profile, xmllint,
// poppler) that read the written files back.

#include "../ExportFixtures.h"
#include "export/ExportFilter.h"
#include "export/LayoutMatrix.h"
#include "report/Report.h"
#include "sheet/SheetTemplate.h"
#include "support/SheetCase.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace officetest {

using testsupport::SheetCase;

inline std::unique_ptr<report::TrpReport> PreparedSheet(const sheet::SheetTexts& texts = SheetCase()) {
    auto r = testsupport::PreparedSheetReport(texts);
    EXPECT_TRUE(r);
    return r;
}

// The document a filter writes for a prepared report through a stream (no dialog, no file).
template <class Filter>
QByteArray WriteToMemory(report::TrpReport& r, const std::function<void(Filter&)>& setup = {}) {
    Filter filter(true);
    filter.SetShowDialog(false);
    filter.SetShowProgress(false);
    if (setup)
        setup(filter);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    filter.SetStream(&out);
    EXPECT_TRUE(exports::ExportTo(r, &filter)) << r.Errors().join('\n').toStdString();
    return out.data();
}

// A prepared report of one page per entry, each page holding what the function adds.
inline std::unique_ptr<report::TrpReport>
Pages(const std::vector<std::function<void(report::TrpReportPage&)>>& pages) {
    auto r = exporttest::NewReport();
    for (const auto& fill : pages) {
        report::TrpReportPage* page = r->AddPage();
        page->SetName(QStringLiteral("Page%1").arg(r->PagesCount()));
        fill(*page);
    }
    EXPECT_TRUE(r->Prepare());
    return r;
}

// A memo with a name of its own.
inline report::TrpMemoView* Memo(report::TrpComponent& parent, const QString& text, report::Extended l,
                                 report::Extended t, report::Extended w, report::Extended h,
                                 report::TrpFrameTypes frame = 0) {
    static int n = 0;
    return exporttest::AddMemo(parent, QStringLiteral("M%1").arg(++n), text, l, t, w, h, frame);
}

// Runs a filter without its dialog; returns "" or the error the report was told.
inline QString RunFilter(report::TrpReport& r, exports::TrpCustomExportFilter& filter, const QString& file) {
    filter.SetShowDialog(false);
    filter.SetFileName(file);
    QStringList shown;
    r.EngineOptions.NewSilentMode = report::simMessageBoxes;
    r.OnShowError = [&](const QString&, const QString& text) { shown << text; };
    const bool ok = exports::ExportTo(r, &filter);
    r.OnShowError = nullptr;
    EXPECT_EQ(ok, shown.isEmpty()) << shown.join('\n').toStdString();
    return shown.join(QLatin1Char('\n'));
}

inline QByteArray ReadFile(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct ProgramRun {
    int ExitCode = -1;
    QByteArray Out, Err;
};

inline ProgramRun RunProgram(const QString& program, const QStringList& args, int timeoutMs = 60000) {
    QProcess p;
    p.start(program, args);
    ProgramRun r;
    if (!p.waitForStarted(10000)) {
        ADD_FAILURE() << program.toStdString() << " could not be started; run scripts/install-deps";
        return r;
    }
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        ADD_FAILURE() << program.toStdString() << " did not finish in " << timeoutMs / 1000 << " s";
    }
    r.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    return r;
}

// LibreOffice converting files in one run, with a profile of its own that goes with the object
// (so a test never touches a user's settings and tests can run side by side).
class Office {
public:
    // Converts every file to the format ("pdf", "ods", ...) into outDir; the converted names.
    QStringList Convert(const QStringList& files, const QString& format, const QString& outDir) {
        const ProgramRun r =
            RunProgram(QStringLiteral("soffice"),
                       QStringList{QStringLiteral("-env:UserInstallation=file://") + FProfile.path(),
                                   QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                   QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), outDir}
                           << files,
                       240000);
        EXPECT_EQ(r.ExitCode, 0) << r.Out.toStdString() << r.Err.toStdString();
        QStringList out;
        for (const QString& f : files) {
            const QString base = f.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, -2);
            out << outDir + QLatin1Char('/') + base + QLatin1Char('.') + format;
            EXPECT_TRUE(QFile::exists(out.back())) << out.back().toStdString() << "\n" << r.Out.toStdString();
        }
        return out;
    }

private:
    QTemporaryDir FProfile;
};

// The first sheet of a spreadsheet document as LibreOffice saved it (.ods): the cells with their
// text and spans (0-based positions), the column widths and row heights in points.
struct SheetCell {
    int Row = 0, Column = 0, Rows = 1, Columns = 1;
    QString Text;
};
struct ReadSheet {
    std::vector<SheetCell> Cells;
    std::vector<double> ColumnWidths, RowHeights;
    const SheetCell* At(int row, int column) const {
        for (const SheetCell& c : Cells)
            if (c.Row == row && c.Column == column)
                return &c;
        return nullptr;
    }
};

inline ReadSheet ReadOds(const QString& file) {
    static const char script[] = R"PY(
import json, re, sys, zipfile
import xml.etree.ElementTree as ET
ns = {'table': 'urn:oasis:names:tc:opendocument:xmlns:table:1.0',
      'style': 'urn:oasis:names:tc:opendocument:xmlns:style:1.0',
      'text': 'urn:oasis:names:tc:opendocument:xmlns:text:1.0',
      'office': 'urn:oasis:names:tc:opendocument:xmlns:office:1.0'}
def q(p, n): return '{%s}%s' % (ns[p], n)
def points(v):
    m = re.match(r'([0-9.]+)(in|cm|mm|pt)', v or '')
    if not m: return None
    return float(m.group(1)) * {'in': 72, 'cm': 72 / 2.54, 'mm': 72 / 25.4, 'pt': 1}[m.group(2)]
root = ET.fromstring(zipfile.ZipFile(sys.argv[1]).read('content.xml'))
widths, heights = {}, {}
for s in root.iter(q('style', 'style')):
    name = s.get(q('style', 'name'))
    for p in s.iter(q('style', 'table-column-properties')): widths[name] = points(p.get(q('style', 'column-width')))
    for p in s.iter(q('style', 'table-row-properties')): heights[name] = points(p.get(q('style', 'row-height')))
def text(cell):
    lines = []
    for p in cell.iter(q('text', 'p')):
        parts = [p.text or '']
        for child in p:
            if child.tag == q('text', 's'): parts.append(' ' * int(child.get(q('text', 'c'), '1')))
            elif child.tag == q('text', 'line-break'): parts.append('\n')
            else: parts.append(''.join(child.itertext()))
            parts.append(child.tail or '')
        lines.append(''.join(parts))
    return '\n'.join(lines)
table = next(root.iter(q('table', 'table')))
out = {'cells': [], 'widths': [], 'heights': []}
for col in table.iter(q('table', 'table-column')):
    out['widths'] += [widths.get(col.get(q('table', 'style-name')))] * int(col.get(q('table', 'number-columns-repeated'), '1'))
row = 0
for r in table.iter(q('table', 'table-row')):
    repeat = int(r.get(q('table', 'number-rows-repeated'), '1'))
    if repeat > 1000: break
    column = 0
    for c in r:
        n = int(c.get(q('table', 'number-columns-repeated'), '1'))
        if c.tag == q('table', 'table-cell') and n == 1 and len(c):
            out['cells'].append({'row': row, 'column': column, 'text': text(c),
                                 'rows': int(c.get(q('table', 'number-rows-spanned'), '1')),
                                 'columns': int(c.get(q('table', 'number-columns-spanned'), '1'))})
        column += n
    out['heights'] += [heights.get(r.get(q('table', 'style-name')))] * repeat
    row += repeat
print(json.dumps(out))
)PY";
    const ProgramRun r = RunProgram(QStringLiteral("/usr/bin/python3"),
                                    {QStringLiteral("-c"), QString::fromUtf8(script), file});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    ReadSheet sheet;
    const QJsonObject o = QJsonDocument::fromJson(r.Out).object();
    for (const QJsonValue& v : o[QStringLiteral("cells")].toArray()) {
        const QJsonObject c = v.toObject();
        sheet.Cells.push_back({c[QStringLiteral("row")].toInt(), c[QStringLiteral("column")].toInt(),
                               c[QStringLiteral("rows")].toInt(), c[QStringLiteral("columns")].toInt(),
                               c[QStringLiteral("text")].toString()});
    }
    for (const QJsonValue& v : o[QStringLiteral("widths")].toArray())
        sheet.ColumnWidths.push_back(v.toDouble(-1));
    for (const QJsonValue& v : o[QStringLiteral("heights")].toArray())
        sheet.RowHeights.push_back(v.toDouble(-1));
    return sheet;
}

} // namespace officetest
