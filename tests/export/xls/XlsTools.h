#pragma once
// The Excel export tests' readers: xlrd through Debian's Python, and LibreOffice converting a
// workbook to PDF with a private profile. Both are installed by scripts/install-deps.

#include "export/pdf/PdfTools.h"
#include "export/xls/XlsExport.h"
#include "report/Report.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cxxabi.h>
#include <unistd.h>

namespace xlstest {

// What read_workbook.py tells of a workbook; empty on failure (the test fails too).
inline QJsonObject ReadWorkbook(const QString& file) {
    const ToolResult r = RunTool(QStringLiteral("/usr/bin/python3"),
                                 {QStringLiteral(TARIFON_TEST_DATA "/export/xls/read_workbook.py"), file});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    return QJsonDocument::fromJson(r.Out).object();
}

// The workbooks converted to PDF by one run of LibreOffice (fresh profile, removed afterwards).
inline QStringList ConvertToPdf(const QStringList& files, const QString& outDir) {
    QTemporaryDir profile;
    const ToolResult r = RunTool(
        QStringLiteral("soffice"),
        QStringList{QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
                    QStringLiteral("--headless"), QStringLiteral("--norestore"),
                    QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                    outDir} +
            files);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    QStringList pdfs;
    for (const QString& file : files)
        pdfs << QDir(outDir).filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".pdf"));
    return pdfs;
}

// Runs the filter on a prepared report without a dialog; the error text, "" on success.
inline QString RunFilter(report::TrpReport& report, exports::TrpXLSExport& filter, const QString& file) {
    filter.SetFileName(file);
    try {
        return exports::ExportSilently(report, filter);
    } catch (...) { // not ours (the office's own): name it, where the test would say "unknown"
        const std::type_info* type = abi::__cxa_current_exception_type();
        return QStringLiteral("escaped: ") + QLatin1String(type ? type->name() : "?");
    }
}

// Processes whose command line names the folder (an office left running on a profile).
inline int ProcessesUsing(const QString& folder) {
    int count = 0;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
        if (!pid.front().isDigit() || !cmdline.open(QIODevice::ReadOnly))
            continue;
        if (QString::fromLocal8Bit(cmdline.readAll()).contains(folder))
            ++count;
    }
    return count;
}

// The socket file of the pipe an office process was told to listen on ("" when none).
inline QString PipeFileOf(qint64 pid) {
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& arg : cmdline.readAll().split('\0'))
        if (arg.startsWith("--accept=pipe,name="))
            return QStringLiteral("/tmp/OSL_PIPE_%1_").arg(::getuid()) +
                   QString::fromLatin1(arg.mid(19).split(';').front());
    return {};
}

} // namespace xlstest
