#pragma once
// The text exports' tests: small reports built from memos, the calculation sheet, running a
// filter without dialogs, and Python as the reader of what was written.

#include "export/ExportFilter.h"
#include "export/text/TextFileExport.h"
#include "report/Report.h"
#include "sheet/SheetTemplate.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace texttest {

using namespace report;

// The calculation sheet of one case, prepared: "Т = ТБ*КТ*КБМ*КО*КН", 6 075 roubles.
inline std::unique_ptr<TrpReport> SheetReport() {
    auto r = sheet::CreateSheetReport();
    r->EngineOptions.NewSilentMode = simSilent;
    r->ShowProgress = false;
    sheet::SheetTexts t;
    t.TB = QStringLiteral("2\u00A0025");
    t.KT = QStringLiteral("2,0");
    t.KBM = QStringLiteral("1,0");
    t.KO = QStringLiteral("1,5");
    t.KN = QStringLiteral("1,0");
    t.Formula = QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН");
    t.Premium = QStringLiteral("6\u00A0075 рублей");
    EXPECT_TRUE(sheet::PrepareSheet(*r, t).Ok);
    return r;
}

struct MemoSpec {
    Extended Left, Top, Width, Height;
    QString Text;
    TrpFrameTypes Frame = 0;
    TrpHAlign HAlign = haLeft;
    TrpVAlign VAlign = vaTop;
};

// A prepared report of pages holding these memos (page margins 0, Arial 10 pt).
inline std::unique_ptr<TrpReport> MemoReport(const std::vector<std::vector<MemoSpec>>& pages) {
    auto r = std::make_unique<TrpReport>();
    r->EngineOptions.NewSilentMode = simSilent;
    r->ShowProgress = false;
    for (size_t p = 0; p < pages.size(); ++p) {
        TrpReportPage* page = r->AddPage();
        page->SetName(QStringLiteral("Page%1").arg(p + 1));
        page->SetLeftMargin(0);
        page->SetTopMargin(0);
        page->SetRightMargin(0);
        page->SetBottomMargin(0);
        int n = 0;
        for (const MemoSpec& s : pages[p]) {
            auto memo = std::make_unique<TrpMemoView>();
            memo->SetName(QStringLiteral("M%1_%2").arg(p + 1).arg(++n));
            memo->SetText(s.Text);
            memo->SetBounds(s.Left, s.Top, s.Width, s.Height);
            memo->FrameRef().Typ = s.Frame;
            memo->SetHAlign(s.HAlign);
            memo->SetVAlign(s.VAlign);
            TrpFont font;
            font.Name = QStringLiteral("Arial");
            font.Size = 10;
            font.Charset = RUSSIAN_CHARSET;
            memo->SetFont(font);
            page->Add(std::move(memo));
        }
    }
    EXPECT_TRUE(r->Prepare());
    return r;
}

// Runs the filter without dialog or progress into memory; the bytes it wrote.
inline QByteArray ExportBytes(TrpReport& r, exports::TrpCustomExportFilter& filter) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    filter.SetShowDialog(false);
    filter.SetShowProgress(false);
    filter.SetStream(&buffer);
    EXPECT_TRUE(exports::ExportTo(r, &filter)) << r.Errors().join('\n').toStdString();
    filter.SetStream(nullptr);
    return buffer.data();
}

inline QByteArray ReadFile(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteFile(const QString& name, const QByteArray& data) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    f.write(data);
}

// Debian's Python (its modules belong to that interpreter) run on a script; what it printed.
inline QByteArray Python(const QString& script, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + args);
    EXPECT_TRUE(p.waitForStarted(10000)) << "python3 is missing; run scripts/install-deps";
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

// The file decoded by Python in the code page ("cp1251", "cp866"); undecodable bytes fail.
inline QString PythonDecode(const QString& file, const char* encoding) {
    return QString::fromUtf8(Python(
        QStringLiteral("import sys\n"
                       "text = open(sys.argv[1], encoding=sys.argv[2], errors='strict', newline='').read()\n"
                       "sys.stdout.buffer.write(text.encode('utf-8'))\n"),
        {file, QString::fromLatin1(encoding)}));
}

// The rows of a CSV file as Python's csv module reads them.
inline std::vector<QStringList> PythonCsv(const QString& file, const char* encoding,
                                          const QString& delimiter) {
    const QByteArray json =
        Python(QStringLiteral("import csv, json, sys\n"
                              "with open(sys.argv[1], encoding=sys.argv[2], newline='') as f:\n"
                              "    rows = list(csv.reader(f, delimiter=sys.argv[3], strict=True))\n"
                              "sys.stdout.write(json.dumps(rows))\n"),
               {file, QString::fromLatin1(encoding), delimiter});
    std::vector<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(json).array()) {
        QStringList fields;
        for (const QJsonValue& f : row.toArray())
            fields << f.toString();
        rows.push_back(fields);
    }
    return rows;
}

} // namespace texttest

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
