// The calculation sheet and a text full of markup characters, written as RTF and as an XML
// workbook with the calculator's settings and read back by LibreOffice: all RTF files converted
// to PDF in one run, all workbooks to the spreadsheet's own format in another, one profile.
#include "OfficeTools.h"
#include "export/pdf/PdfTools.h"
#include "export/rtf/RtfExport.h"
#include "export/xml/XmlExport.h"
#include "sheet/commands/SheetFilters.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>

using namespace officetest;
using namespace exports;
using namespace report;

namespace {

// Markup of both formats, quotes, line breaks, and letters no 8-bit code page holds together.
const QStringList kTrickyLines = {
    QStringLiteral("{braces} \\back\\slash\\ \"quoted\" 'single'"),
    QStringLiteral("<tag attr=\"x\"> & &amp; ]]> \\par \\line"),
    QStringLiteral("Ωμέγα ∑≠→ Ѣѣ Ёлки"),
};

// A report of one page holding the tricky text in one memo, and another memo beside it.
std::unique_ptr<TrpReport> TrickyReport() {
    auto r = exporttest::NewReport();
    TrpReportPage* page = r->AddPage();
    page->SetName(QStringLiteral("Page"));
    TrpMemoView* memo =
        exporttest::AddMemo(*page, QStringLiteral("Tricky"), kTrickyLines.join('\n'), 0, 0, 600, 90, ftAll);
    memo->SetGapX(2);
    exporttest::AddMemo(*page, QStringLiteral("Beside"), QStringLiteral("Рядом"), 600, 0, 100, 30);
    EXPECT_TRUE(r->Prepare());
    return r;
}

// Three pages of a table each, with a text of their own.
std::unique_ptr<TrpReport> ThreePages() {
    auto r = exporttest::NewReport();
    for (int i = 1; i <= 3; ++i) {
        TrpReportPage* page = r->AddPage();
        page->SetName(QStringLiteral("Page%1").arg(i));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 2; ++col)
                exporttest::AddMemo(
                    *page, QStringLiteral("Cell%1%2").arg(row).arg(col),
                    QStringLiteral("Страница %1, строка %2, столбец %3").arg(i).arg(row).arg(col), col * 300,
                    row * 40, 300, 40, ftAll);
    }
    EXPECT_TRUE(r->Prepare());
    return r;
}

// Mean grey-level difference per block: text drawn by two programs differs in its pixels, a
// missing or misplaced line shows as a block of ink that moved.
double WorstBlock(const QImage& a, const QImage& b, int block) {
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8),
                 gb = b.convertToFormat(QImage::Format_Grayscale8);
    const int w = std::min(ga.width(), gb.width()), h = std::min(ga.height(), gb.height());
    double worst = 0;
    for (int by = 0; by < h; by += block)
        for (int bx = 0; bx < w; bx += block) {
            double sa = 0, sb = 0;
            int n = 0;
            for (int y = by; y < std::min(by + block, h); ++y)
                for (int x = bx; x < std::min(bx + block, w); ++x, ++n) {
                    sa += ga.constScanLine(y)[x];
                    sb += gb.constScanLine(y)[x];
                }
            worst = std::max(worst, std::abs(sa - sb) / n);
        }
    return worst;
}

// The grid the workbook is written from, built here as the filter builds it.
class GridOf : public TrpCustomExportFilter {
public:
    explicit GridOf(TrpReport& r) : TrpCustomExportFilter(true) {
        SetShowDialog(false);
        SetShowProgress(false);
        M.ShowProgress = false;
        M.MaxCellHeight = 562.784L;
        M.Background = true;
        M.RichText = true;
        M.EmptyLines = true;
        M.Inaccuracy = 0.5L;
        M.LargestPieceTakesText = true;
        M.DeleteHTMLTags = true;
        EXPECT_TRUE(ExportTo(r, this));
        M.Prepare();
    }
    void ExportObject(const report::TrpPlacedObject& object) override { M.AddObject(object); }
    void FinishPage(TrpReportPage* page, int) override {
        M.AddPage(page->Orientation(), page->Width(), page->Height(), page->LeftMargin(), page->TopMargin(),
                  page->RightMargin(), page->BottomMargin());
    }
    TrpIEMatrix M;
};

class OfficeReaders : public ::testing::Test {
protected:
    // The sheet's filter of the export menu, run without its dialog.
    QString ExportSheet(int menuIndex, TrpReport& r, const QString& name) {
        std::unique_ptr<TrpCustomExportFilter> filter = sheet::CreateSheetFilter(menuIndex);
        EXPECT_TRUE(filter);
        filter->SetShowProgress(false);
        const QString file = dir.filePath(name);
        EXPECT_EQ(RunFilter(r, *filter, file), QString());
        return file;
    }
    QTemporaryDir dir;
    Office office;
};

} // namespace

TEST_F(OfficeReaders, LibreOfficeReadsTheSheetAndEveryCharacter) {
    auto sheetReport = PreparedSheet();
    auto tricky = TrickyReport();
    const QString sheetRtf = ExportSheet(10, *sheetReport, QStringLiteral("sheet.rtf"));
    const QString trickyRtf = ExportSheet(10, *tricky, QStringLiteral("tricky.rtf"));
    auto three = ThreePages();
    const QString threeRtf = ExportSheet(10, *three, QStringLiteral("three.rtf"));
    const QString sheetXls = ExportSheet(9, *sheetReport, QStringLiteral("sheet.xls"));
    const QString trickyXls = ExportSheet(9, *tricky, QStringLiteral("tricky.xls"));

    // The sheet is one table: after the page's section settings come table rows only.
    {
        QString body = QString::fromLatin1(ReadFile(sheetRtf));
        body = body.mid(body.indexOf(QStringLiteral("\r\n"), body.indexOf(QStringLiteral("\\pgwsxn"))) + 2);
        const int rows = int(body.count(QStringLiteral("\\row}")));
        body.remove(QRegularExpression(
            QStringLiteral(R"(\\trowd[^\r\n]*\\pard\\intbl\r\n.*?\\pard\\intbl\{\\trowd[^\r\n]*\\row\}\r\n)"),
            QRegularExpression::DotMatchesEverythingOption));
        EXPECT_EQ(body, QStringLiteral("}\r\n"));
        EXPECT_GE(rows, 12);
    }

    // Well-formed workbooks.
    for (const QString& f : {sheetXls, trickyXls}) {
        const ProgramRun lint = RunProgram(QStringLiteral("xmllint"), {QStringLiteral("--noout"), f});
        EXPECT_EQ(lint.ExitCode, 0) << lint.Err.toStdString();
    }

    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const QStringList pdfs = office.Convert({sheetRtf, trickyRtf, threeRtf}, QStringLiteral("pdf"), out);
    const QStringList sheets = office.Convert({sheetXls, trickyXls}, QStringLiteral("ods"), out);
    ASSERT_EQ(pdfs.size(), 3);
    ASSERT_EQ(sheets.size(), 2);

    {
        SCOPED_TRACE("the sheet's RTF as the word processor prints it");
        const ProgramRun info = RunProgram(QStringLiteral("pdfinfo"), {pdfs[0]});
        EXPECT_TRUE(info.Out.contains("Pages:           1")) << info.Out.toStdString();
        // A4, up to the rounding of the document's paper size in twips.
        const QRegularExpression size(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
        const QRegularExpressionMatch m = size.match(QString::fromUtf8(info.Out));
        ASSERT_TRUE(m.hasMatch()) << info.Out.toStdString();
        EXPECT_NEAR(m.captured(1).toDouble(), 595.3, 2.5);
        EXPECT_NEAR(m.captured(2).toDouble(), 841.9, 2.5);

        // Laid out as on the page, so that each table row is one line of text.
        const QString text = PdfText(pdfs[0], {QStringLiteral("-layout")});
        const sheet::SheetTexts t = SheetCase();
        QStringList expected = {QStringLiteral("Подготовлено в программе:"),
                                QStringLiteral("Расчет стоимости ОСАГО")};
        for (const sheet::SheetRow& row : sheet::SheetRows()) {
            expected << QString::fromUtf8(row.Caption).trimmed() << QString::fromUtf8(row.Code);
            if (!(t.*row.Text).isEmpty())
                expected << t.*row.Text;
        }
        expected << QStringLiteral("Размер страховой премии (Т):") << t.Formula << t.Premium;
        qsizetype at = 0;
        for (const QString& e : expected) {
            const qsizetype found = text.indexOf(e, at);
            EXPECT_GE(found, 0) << e.toStdString() << " after position " << at << " in\n"
                                << text.toStdString();
            if (found >= 0)
                at = found + e.size();
        }

        // The page as the word processor draws it against our own drawing of the sheet.
        const QString prefix = dir.filePath(QStringLiteral("rtfpage"));
        const ProgramRun render = RunProgram(
            QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdfs[0], prefix});
        ASSERT_EQ(render.ExitCode, 0) << render.Err.toStdString();
        const QImage theirs(prefix + QStringLiteral(".png"));
        const QImage ours = sheet::RenderSheetPage(*sheetReport, 0, 1.0);
        // Both pages stay in the build folder for a person to look at.
        const QString keep = QStringLiteral(TARIFON_BUILD_DIR "/test-output/office");
        QDir().mkpath(keep);
        ours.save(keep + QStringLiteral("/sheet-ours.png"));
        theirs.save(keep + QStringLiteral("/sheet-writer.png"));
        // The word processor makes table rows a little lower and a merged cell's first row as
        // tall as the cell's text, so the page is compared in coarse blocks.
        const double worst = WorstBlock(ours, theirs, 96);
        std::printf("word processor vs our drawing: worst 96-pixel block %.1f\n", worst);
        // Measured 12.5; a page without the premium box gives 22, without the value column 17.
        EXPECT_LT(worst, 15.0);
        // The measure does see a wrong page: ours without the premium box, or without the
        // value column of the table.
        for (const QRect& hole : {QRect(140, 455, 500, 110), QRect(620, 165, 120, 280)}) {
            QImage partial = ours.copy();
            QPainter(&partial).fillRect(hole, Qt::white);
            EXPECT_GT(WorstBlock(ours, partial, 96), 15.0) << hole.x() << "," << hole.y();
        }
    }
    {
        SCOPED_TRACE("the tricky text through the word processor");
        const QString text = PdfText(pdfs[1]);
        qsizetype at = 0;
        for (const QString& line : kTrickyLines) {
            const qsizetype found = text.indexOf(line, at);
            EXPECT_GE(found, 0) << line.toStdString() << " in\n" << text.toStdString();
            at = std::max(at, found);
        }
    }
    {
        SCOPED_TRACE("a report of three pages: one word-processor page each, its own texts on it");
        const ProgramRun info = RunProgram(QStringLiteral("pdfinfo"), {pdfs[2]});
        EXPECT_TRUE(info.Out.contains("Pages:           3")) << info.Out.toStdString();
        for (int page = 1; page <= 3; ++page) {
            const QString n = QString::number(page);
            const QString text = PdfText(pdfs[2], {QStringLiteral("-f"), n, QStringLiteral("-l"), n});
            for (int other = 1; other <= 3; ++other)
                EXPECT_EQ(text.count(QStringLiteral("Страница %1,").arg(other)), other == page ? 6 : 0)
                    << "page " << page << ":\n"
                    << text.toStdString();
        }
    }
    {
        SCOPED_TRACE("the sheet's workbook as the spreadsheet reads it");
        GridOf grid(*sheetReport);
        const TrpIEMatrix& m = grid.M;
        const ReadSheet read = ReadOds(sheets[0]);
        int texts = 0;
        for (int i = 0; i < m.ObjectsCount(); ++i) {
            const TrpIEMObjectList* rec = m.GetRecord(i);
            if (!rec->Obj->IsText || m.GetCell(rec->x, rec->y) != i)
                continue;
            const QString text = rec->Obj->Memo.join('\n');
            const SheetCell* cell = read.At(rec->y, rec->x);
            if (text.isEmpty()) {
                EXPECT_TRUE(!cell || cell->Text.isEmpty()) << rec->Obj->Name.toStdString();
                continue;
            }
            ++texts;
            ASSERT_TRUE(cell) << rec->Obj->Name.toStdString() << " at " << rec->y << "," << rec->x;
            EXPECT_EQ(cell->Text, text) << rec->Obj->Name.toStdString();
            EXPECT_EQ(cell->Columns, rec->dx) << rec->Obj->Name.toStdString();
            EXPECT_EQ(cell->Rows, rec->dy) << rec->Obj->Name.toStdString();
        }
        EXPECT_GE(texts, 30);
        ASSERT_GE(read.ColumnWidths.size(), size_t(m.Width() - 1));
        for (int o = 1; o < m.Width(); ++o)
            EXPECT_NEAR(read.ColumnWidths[size_t(o - 1)],
                        double(m.GetXPosById(o) - m.GetXPosById(o - 1)) / 1.376, 0.2)
                << "column " << o;
        ASSERT_GE(read.RowHeights.size(), size_t(m.Height() - 1));
        for (int s = 0; s + 1 < m.Height(); ++s)
            EXPECT_NEAR(read.RowHeights[size_t(s)], double(m.GetYPosById(s + 1) - m.GetYPosById(s)) / 1.376,
                        0.2)
                << "row " << s;
    }
    {
        SCOPED_TRACE("the tricky text through the spreadsheet");
        const ReadSheet read = ReadOds(sheets[1]);
        bool found = false;
        for (const SheetCell& c : read.Cells)
            found = found || c.Text == kTrickyLines.join('\n');
        EXPECT_TRUE(found);
    }
}
