#pragma once
// Running the real PDF readers (qpdf, poppler's tools, pypdf) on files the tests write. They
// are installed by scripts/install-deps; a missing tool fails the test.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct ToolResult {
    int ExitCode = -1;
    QByteArray Out;
    QByteArray Err;
};

inline ToolResult RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    ToolResult r;
    if (!p.waitForStarted(10000)) {
        ADD_FAILURE() << program.toStdString() << " could not be started; run scripts/install-deps";
        return r;
    }
    p.waitForFinished(60000);
    r.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    return r;
}

// qpdf --check: exit code 0 and no warnings.
inline void ExpectQpdfClean(const QString& file) {
    const ToolResult r = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), file});
    EXPECT_EQ(r.ExitCode, 0) << r.Out.toStdString() << r.Err.toStdString();
    EXPECT_FALSE(r.Out.contains("WARNING") || r.Err.contains("WARNING"))
        << r.Out.toStdString() << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains("No syntax or stream encoding errors found")) << r.Out.toStdString();
}

// pdffonts rows after the two header lines, split into name, type, encoding, emb.
struct FontRow {
    QString Name, Type, Encoding;
    bool Embedded = false;
};

inline std::vector<FontRow> PdfFonts(const QString& file) {
    const ToolResult r = RunTool(QStringLiteral("pdffonts"), {file});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    std::vector<FontRow> rows;
    const QStringList lines = QString::fromUtf8(r.Out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 2; i < lines.size(); ++i) {
        // name type encoding emb sub uni object ID: the type may hold one space ("TrueType"
        // is one word; "CID TrueType" two), so split from the right.
        QStringList f = lines[i].simplified().split(QLatin1Char(' '));
        if (f.size() < 8)
            continue;
        FontRow row;
        row.Name = f.front();
        const int n = int(f.size());
        row.Embedded = f[n - 5] == u"yes";
        row.Encoding = f[n - 6];
        row.Type = f.mid(1, n - 7).join(QLatin1Char(' '));
        rows.push_back(row);
    }
    return rows;
}

inline QString PdfText(const QString& file, const QStringList& extra = {}) {
    const ToolResult r =
        RunTool(QStringLiteral("pdftotext"), QStringList(extra) << file << QStringLiteral("-"));
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    return QString::fromUtf8(r.Out);
}

// pypdf's text extraction, strict, page after page. Debian's python3-pypdf belongs to
// /usr/bin/python3; another python3 may come first on the PATH.
inline QString PypdfText(const QString& file) {
    static const char script[] =
        "import sys, pypdf\n"
        "for page in pypdf.PdfReader(sys.argv[1], strict=True).pages:\n"
        "    sys.stdout.buffer.write(page.extract_text().encode('utf-8') + b'\\n')\n";
    const ToolResult r = RunTool(QStringLiteral("/usr/bin/python3"),
                                 {QStringLiteral("-c"), QString::fromLatin1(script), file});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString(); // pypdf warns on stderr
    return QString::fromUtf8(r.Out);
}

// The bookmarks as pypdf reads them, one line each: two spaces per level, the title, "|" and
// the 1-based page number of the destination.
inline QStringList PypdfOutline(const QString& file) {
    static const char script[] =
        "import sys, pypdf\n"
        "r = pypdf.PdfReader(sys.argv[1], strict=True)\n"
        "def walk(items, depth):\n"
        "    for it in items:\n"
        "        if isinstance(it, list): walk(it, depth + 1)\n"
        "        else: sys.stdout.buffer.write(('  ' * depth + it.title + '|' +\n"
        "              str(r.get_destination_page_number(it) + 1) + '\\n').encode('utf-8'))\n"
        "walk(r.outline, 0)\n";
    const ToolResult r = RunTool(QStringLiteral("/usr/bin/python3"),
                                 {QStringLiteral("-c"), QString::fromLatin1(script), file});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();
    return QString::fromUtf8(r.Out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
