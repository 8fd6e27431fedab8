// Prepared reports of several pages through the export loop: page selection, the content
// file of long reports, and the readers' view of the result.
#include "PdfTools.h"
#include "export/pdf/PdfExport.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ViewPainter.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
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

namespace {

// Every printable character of code page 1251 above ASCII (all but the unassigned 0x98, the
// no-break space and the soft hyphen), in lines of sixteen.
const char kCodePage1251[] = "ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏ\n"
                             "ђ‘’“”•–—™љ›њќћџЎ\n"
                             "ўЈ¤Ґ¦§Ё©Є«¬®Ї°±І\n"
                             "іґµ¶·ё№є»јЅѕїАБВ\n"
                             "ГДЕЖЗИЙКЛМНОПРСТ\n"
                             "УФХЦЧШЩЪЫЬЭЮЯабв\n"
                             "гдежзийклмнопрст\n"
                             "уфхцчшщъыьэюя\n";

// Mean grey-level difference of a cell of two pictures, the second moved by up to two pixels
// either way (two rasterisers place glyphs a pixel apart): small when both show the same glyph.
double CellDifference(const QImage& a, const QImage& b, const QRect& cell) {
    double best = 255;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            double sum = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x + dx, y + dy)));
            best = std::min(best, sum / (cell.width() * cell.height()));
        }
    return best;
}

double Ink(const QImage& a, const QRect& cell) {
    double sum = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            sum += 255 - qGray(a.pixel(x, y));
    return sum / (cell.width() * cell.height());
}

} // namespace

// A memo of every character of the code page, each a word of its own: poppler extracts exactly
// that text, and draws in each character's box what our own drawing shows there (with the
// font embedded; a glyph at least without it).
TEST(PdfExportReport, EveryCharacterOfTheCodePageReadsAndDrawsBack) {
    QTemporaryDir dir;
    QString text;
    for (const QString& line :
         QString::fromUtf8(kCodePage1251).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QStringList chars;
        for (QChar c : line)
            chars << QString(c);
        text += chars.join(QLatin1Char(' ')) + QLatin1Char('\n');
    }
    TrpReport r;
    r.EngineOptions.NewSilentMode = simSilent;
    r.ShowProgress = false;
    TrpReportPage* page = r.AddPage();
    page->SetName(QStringLiteral("Page1"));
    auto memo = std::make_unique<TrpMemoView>();
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetText(text.trimmed());
    TrpFont font;
    font.Size = 16;
    font.Charset = RUSSIAN_CHARSET;
    memo->SetParentFont(false);
    memo->SetFont(font);
    memo->SetBounds(20, 20, 600, 300);
    page->Add(std::move(memo));
    ASSERT_TRUE(r.Prepare());
    const QImage ours = RenderPreparedPage(r, 0, 2.0).convertToFormat(QImage::Format_Grayscale8);

    for (bool embedded : {false, true}) {
        SCOPED_TRACE(embedded ? "embedded" : "not embedded");
        TrpPDFExport filter(true);
        filter.SetShowDialog(false);
        filter.SetShowProgress(false);
        filter.SetEmbeddedFonts(embedded);
        const QString file = dir.filePath(QStringLiteral("chars%1.pdf").arg(embedded));
        filter.SetFileName(file);
        ASSERT_TRUE(ExportTo(r, &filter));
        // Readers may or may not see the spaces between single letters; every letter is there.
        EXPECT_EQ(PdfText(file).simplified().remove(QLatin1Char(' ')),
                  text.simplified().remove(QLatin1Char(' ')));

        const QString prefix = dir.filePath(QStringLiteral("chars%1").arg(embedded));
        const ToolResult ppm = RunTool(QStringLiteral("pdftoppm"),
                                       {QStringLiteral("-r"), QStringLiteral("192"), QStringLiteral("-gray"),
                                        QStringLiteral("-png"), QStringLiteral("-singlefile"), file, prefix});
        ASSERT_EQ(ppm.ExitCode, 0) << ppm.Err.toStdString();
        const QImage theirs =
            QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
        ASSERT_EQ(theirs.size(), ours.size());
        if (const QString keep = qEnvironmentVariable("TARIFON_PDF_IMAGES"); !keep.isEmpty()) {
            ours.save(keep + QStringLiteral("/chars-ours.png"));
            theirs.save(keep + QStringLiteral("/chars-poppler%1.png").arg(embedded));
        }
        // Each word's box as poppler reports it, in points.
        const QString boxes = QString::fromUtf8(
            RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")}).Out);
        static const QRegularExpression word(QStringLiteral(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]+)</word>)re"));
        int cells = 0;
        double worst = 0;
        for (auto m = word.globalMatch(boxes); m.hasNext();) {
            const auto w = m.next();
            const auto px = [&](int i) { return int(std::lround(w.captured(i).toDouble() * 192 / 72)); };
            const QRect cell(QPoint(px(1), px(2)), QPoint(px(3), px(4)));
            const double difference = CellDifference(ours, theirs, cell.adjusted(2, 2, -2, -2));
            worst = std::max(worst, difference);
            ++cells;
            EXPECT_GT(Ink(theirs, cell), 0.4 * Ink(ours, cell)) << w.captured(5).toStdString() << " is drawn";
            // Without the font file the reader draws a face of its own choice: ink only.
            if (embedded) {
                EXPECT_LT(difference, 30) << w.captured(5).toStdString() << " looks as we draw it";
            }
        }
        EXPECT_EQ(cells, 125);
        std::printf("worst cell difference %.1f\n", worst);
    }
}
