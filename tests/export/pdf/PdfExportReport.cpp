// Prepared reports of several pages through the export loop: page selection, the content
// file of long reports, and the readers' view of the result.
#include "PdfTools.h"
#include "export/pdf/PdfExport.h"
#include "report/PreviewPages.h"
#include "report/Report.h"

#include <QDir>
#include <gtest/gtest.h>

#include "support/WriteFailures.h"

using namespace exports;
using namespace report;
using namespace writefailures;

namespace {

// The outline entry of page i: Cyrillic on most pages, plain text with a parenthesis on the
// second (a literal string then) and none on the third.
QString OutlineTitle(int i) {
    return i == 2 ? QStringLiteral("Part (2") : i == 3 ? QString() : QStringLiteral("Раздел %1 «Ё»").arg(i);
}

// A report of n pages, each with one memo "Страница i" and the outline entry above.
std::unique_ptr<TrpReport> Pages(int n) {
    auto r = std::make_unique<TrpReport>();
    r->EngineOptions.NewSilentMode = simSilent;
    r->ShowProgress = false;
    for (int i = 0; i < n; ++i) {
        TrpReportPage* page = r->AddPage();
        page->SetName(QStringLiteral("Page%1").arg(i + 1));
        if (!OutlineTitle(i + 1).isEmpty())
            page->SetOutlineText(QLatin1Char('\'') + OutlineTitle(i + 1) + QLatin1Char('\''));
        auto memo = std::make_unique<TrpMemoView>();
        memo->SetName(QStringLiteral("Memo%1").arg(i + 1));
        memo->SetText(QStringLiteral("Страница %1").arg(i + 1));
        memo->SetBounds(10, 10, 300, 20);
        page->Add(std::move(memo));
    }
    EXPECT_TRUE(r->Prepare());
    EXPECT_EQ(r->PreviewPages().Count(), n);
    return r;
}

QString Export(TrpReport& r, const QString& file, const QString& pages = {}, bool outline = false) {
    TrpPDFExport filter(true);
    filter.SetShowDialog(false);
    filter.SetShowProgress(false);
    filter.SetOutline(outline);
    filter.SetFileName(file);
    filter.SetPageNumbers(pages);
    EXPECT_TRUE(ExportTo(r, &filter));
    return file;
}

int PageCount(const QString& file) {
    const ToolResult info = RunTool(QStringLiteral("pdfinfo"), {file});
    const qsizetype at = info.Out.indexOf("Pages:");
    return at < 0 ? -1 : info.Out.mid(at + 6, info.Out.indexOf('\n', at) - at - 6).trimmed().toInt();
}

} // namespace

// With Outline on, the bookmarks are the outline entries of the exported pages, each to its
// page of the file.
TEST(PdfExportReport, SelectedPagesInOrder) {
    QTemporaryDir dir;
    auto r = Pages(4);
    const struct {
        const char* List;
        bool Outline;
        int Count;
        QStringList Texts, Bookmarks;
    } cases[] = {
        {"", false, 4, {"Страница 1", "Страница 2", "Страница 3", "Страница 4"}, {}},
        {"", true, 4, {"Страница 1", "Страница 4"}, {"Раздел 1 «Ё»|1", "Part (2|2", "Раздел 4 «Ё»|4"}},
        {"2-3", true, 2, {"Страница 2", "Страница 3"}, {"Part (2|1"}},
        {"4,1",
         true,
         2,
         {"Страница 1", "Страница 4"},
         {"Раздел 1 «Ё»|1", "Раздел 4 «Ё»|2"}}, // report's order
        {"3", true, 1, {"Страница 3"}, {}},     // no entry on the page: no outline at all
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString file = Export(*r, dir.filePath(QStringLiteral("p%1.pdf").arg(++n)), c.List, c.Outline);
        ExpectQpdfClean(file);
        EXPECT_EQ(PageCount(file), c.Count) << c.List;
        EXPECT_EQ(PypdfOutline(file), c.Bookmarks) << c.List;
        const QString text = PdfText(file);
        qsizetype at = 0;
        for (const QString& t : c.Texts) {
            const qsizetype found = text.indexOf(t, at);
            EXPECT_GE(found, at) << c.List << ": " << t.toStdString();
            at = found + 1;
        }
    }
}

TEST(PdfExportReport, AListOfNoExistingPageWritesNothing) {
    QTemporaryDir dir;
    auto r = Pages(2);
    TrpPDFExport filter(true);
    filter.SetShowDialog(false);
    filter.SetShowProgress(false);
    filter.SetFileName(dir.filePath(QStringLiteral("none.pdf")));
    filter.SetPageNumbers(QStringLiteral("7"));
    EXPECT_FALSE(ExportTo(*r, &filter));
    EXPECT_FALSE(r->Errors().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(PdfExportReport, LongReportsKeepTheirContentInATemporaryFile) {
    QTemporaryDir dir, temp;
    auto r = Pages(201);
    r->EngineOptions.TempDir = temp.path();
    QStringList seen;
    r->OnProgress = [&](TrpReport*, TrpProgressKind kind, int) {
        if (kind == TrpProgressKind::Exporting && seen.isEmpty())
            seen = QDir(temp.path()).entryList({QStringLiteral("tarifon-*")}, QDir::Files);
    };
    TrpPDFExport filter(true);
    filter.SetShowDialog(false);
    filter.SetFileName(dir.filePath(QStringLiteral("long.pdf")));
    EXPECT_TRUE(ExportTo(*r, &filter));
    EXPECT_EQ(seen.size(), 1) << "the page contents go to a file of the engine's temporary folder";
    EXPECT_TRUE(QDir(temp.path()).entryList(QDir::Files).isEmpty()) << "and it is removed afterwards";
    EXPECT_EQ(PageCount(dir.filePath(QStringLiteral("long.pdf"))), 201);
    ExpectQpdfClean(dir.filePath(QStringLiteral("long.pdf")));

    // A temporary folder that fills up: the export fails, names the file and the reason, and
    // neither the target nor the temporary file stays.
    SmallFilesystem full(4);
    r->EngineOptions.TempDir = full.Path();
    filter.SetFileName(dir.filePath(QStringLiteral("full.pdf")));
    EXPECT_FALSE(ExportTo(*r, &filter));
    const QString error = r->Errors().join(QLatin1Char('\n'));
    EXPECT_TRUE(error.contains(full.Path() + QStringLiteral("/tarifon-")) &&
                error.contains(Reason(Failure::FullDisk)))
        << error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("full.pdf"))));
    EXPECT_TRUE(QDir(full.Path()).entryList(QDir::Files).isEmpty());
}
