// The calculation sheet exported to PDF and read back by real readers: structure, fonts, text
// in reading order, and the page rendered by poppler against our own drawing.
#include "PdfTools.h"
#include "export/pdf/PdfExport.h"
#include "report/PreparedPageStore.h"
#include "sheet/SheetTemplate.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

#include "support/SheetCase.h"
#include "support/WriteFailures.h"

using namespace exports;
using namespace writefailures;

namespace {

class PdfSheet : public ::testing::Test {
protected:
    void SetUp() override {
        report = sheet::CreateSheetReport();
        const sheet::PrepareResult result = sheet::PrepareSheet(*report, testsupport::SheetCase(true));
        ASSERT_TRUE(result.Ok) << result.Message.toStdString();
    }
    // The sheet through the filter with the given options.
    QString Export(const QString& name, bool compressed, bool embedded) {
        TrpPDFExport filter(true);
        filter.SetShowDialog(false);
        filter.SetShowProgress(false);
        filter.SetCompressed(compressed);
        filter.SetEmbeddedFonts(embedded);
        const QString file = dir.filePath(name);
        filter.SetFileName(file);
        EXPECT_TRUE(ExportTo(*report, &filter));
        return file;
    }
    std::unique_ptr<report::TrpReport> report;
    QTemporaryDir dir;
};

// Mean of |a - b| in grey levels over square blocks: text rendered by two rasterisers differs
// pixel by pixel, but a misplaced line or word shows as a block of ink that moved.
struct Difference {
    double Mean = 0; // over the whole page
    double WorstBlock = 0;
};

Difference Compare(const QImage& a, const QImage& b, int block) {
    Difference d;
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8),
                 gb = b.convertToFormat(QImage::Format_Grayscale8);
    double total = 0;
    for (int by = 0; by < ga.height(); by += block)
        for (int bx = 0; bx < ga.width(); bx += block) {
            double sa = 0, sb = 0;
            int n = 0;
            for (int y = by; y < std::min(by + block, ga.height()); ++y)
                for (int x = bx; x < std::min(bx + block, ga.width()); ++x) {
                    const int pa = ga.constScanLine(y)[x], pb = gb.constScanLine(y)[x];
                    sa += pa;
                    sb += pb;
                    total += std::abs(pa - pb);
                    ++n;
                }
            d.WorstBlock = std::max(d.WorstBlock, std::abs(sa - sb) / n);
        }
    d.Mean = total / (double(ga.width()) * ga.height());
    return d;
}

} // namespace

TEST_F(PdfSheet, QpdfFindsNoErrors) {
    for (bool compressed : {false, true})
        for (bool embedded : {false, true})
            ExpectQpdfClean(
                Export(QStringLiteral("sheet%1%2.pdf").arg(compressed).arg(embedded), compressed, embedded));
}

TEST_F(PdfSheet, FontsAreRegularBoldAndUnderlinedArial) {
    for (bool embedded : {false, true}) {
        const std::vector<FontRow> rows = PdfFonts(Export(QStringLiteral("fonts.pdf"), true, embedded));
        QStringList names;
        for (const FontRow& row : rows) {
            names << row.Name;
            EXPECT_EQ(row.Type, u"TrueType");
            EXPECT_EQ(row.Encoding, u"Custom");
            EXPECT_EQ(row.Embedded, embedded);
        }
        names.sort();
        EXPECT_EQ(names, (QStringList{"Arial", "Arial", "Arial,Bold"}));
    }
}

TEST_F(PdfSheet, OnePictureAndVectorText) {
    const QString file = Export(QStringLiteral("plain.pdf"), false, false);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    EXPECT_EQ(data.count("\r\nBI\r\n"), 1); // the logo
    EXPECT_TRUE(data.contains("/MediaBox [0 0 595.28 841.89 ]"));
    EXPECT_TRUE(data.contains("/Title <FEFF"));
    EXPECT_EQ(data.count("/Subtype /TrueType"), 3);
}

TEST_F(PdfSheet, TextComesBackInReadingOrder) {
    const QString text = PdfText(Export(QStringLiteral("text.pdf"), true, false));
    const QStringList expected = {
        QStringLiteral("Подготовлено в программе:"),
        // pdftotext joins a line ending in "-" to the next, as a hyphenated word.
        QStringLiteral("-= Тарифон 2.0\" ="),
        QStringLiteral("Расчет стоимости ОСАГО"),
        QStringLiteral("Базовая ставка страхового тарифа (в рублях):"),
        QStringLiteral("ТБ"),
        QStringLiteral("2 025"),
        QStringLiteral("Коэффициент территории использования ТС:"),
        QStringLiteral("КТ"),
        QStringLiteral("Коэффициент количества лиц, допущенных к управлению:"),
        QStringLiteral("КО"),
        QStringLiteral("1,5"),
        QStringLiteral("Коэффициент страхового тарифа:"),
        QStringLiteral("КН"),
        QStringLiteral("Размер страховой премии (Т):"),
        QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН"),
        QStringLiteral("6 075 рублей"),
    };
    qsizetype at = 0;
    for (const QString& e : expected) {
        const qsizetype found = text.indexOf(e, at);
        EXPECT_GE(found, 0) << e.toStdString() << " after position " << at << " in\n" << text.toStdString();
        if (found >= 0)
            at = found + e.size();
    }
    // pypdf reads in the order of the content stream, strictly: every text is there.
    const QString pypdf = PypdfText(dir.filePath(QStringLiteral("text.pdf")));
    for (const QString& e : expected)
        EXPECT_TRUE(pypdf.contains(e)) << e.toStdString() << " in\n" << pypdf.toStdString();
}

TEST_F(PdfSheet, RenderedPageMatchesOurDrawing) {
    const QString file = Export(QStringLiteral("render.pdf"), true, true);
    const QString prefix = dir.filePath(QStringLiteral("page"));
    const ToolResult r = RunTool(QStringLiteral("pdftoppm"),
                                 {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                                  QStringLiteral("-singlefile"), file, prefix});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QImage theirs(prefix + QStringLiteral(".png"));
    const QImage ours = sheet::RenderSheetPage(*report, 0, 1.0);
    ASSERT_EQ(theirs.size(), ours.size());
    // Set TARIFON_PDF_IMAGES to a folder to look at both pictures.
    if (const QString keep = qEnvironmentVariable("TARIFON_PDF_IMAGES"); !keep.isEmpty()) {
        ours.save(keep + QStringLiteral("/ours.png"));
        theirs.save(keep + QStringLiteral("/poppler.png"));
    }
    const Difference d = Compare(ours, theirs, 12);
    // Measured 3.9 on average and 26 for the worst 12-pixel block: glyph edges anti-aliased
    // differently. Text one line off, or a missing word, gives blocks far above the bound.
    EXPECT_LT(d.Mean, 6.0);
    EXPECT_LT(d.WorstBlock, 45.0);
    // The measure does see a wrong page: ours against the page shifted by one text line.
    const Difference shifted = Compare(ours, ours.copy(0, 16, ours.width(), ours.height()), 12);
    EXPECT_GT(shifted.WorstBlock, 45.0);
    RecordProperty("MeanDifference", QString::number(d.Mean).toStdString());
    RecordProperty("WorstBlock", QString::number(d.WorstBlock).toStdString());
    std::printf("pdftoppm vs our drawing: mean %.2f, worst block %.2f\n", d.Mean, d.WorstBlock);
}

TEST_F(PdfSheet, FailedWritesLeaveNoFile) {
    // An unwritable folder.
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/sheet.pdf"));
    QString error = ExportReportToPDF(*report, missing);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    // A write that fails part way, small (under the write buffer) or big (the fonts embedded),
    // from the command line's call and from the window's export with its error box: the message
    // names the file and the reason, and the file it would have replaced stays as it was.
    for (Failure failure : {Failure::SizeLimit, Failure::FullDisk})
        for (bool big : {false, true})
            for (bool window : {false, true}) {
                SCOPED_TRACE(testing::Message() << Name(failure) << (big ? ", big" : ", small")
                                                << (window ? ", window" : ", command line"));
                SmallFilesystem disk(8); // the old file takes one page, the new one finds four kilobytes
                const QString folder = failure == Failure::FullDisk ? disk.Path() : dir.path();
                const QString target = folder + QStringLiteral("/existing.pdf");
                {
                    QFile old(target);
                    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
                    old.write("previous contents");
                }
                {
                    std::optional<FileSizeLimit> limit;
                    if (failure == Failure::SizeLimit)
                        limit.emplace(4096);
                    if (window) {
                        TrpPDFExport filter(true);
                        filter.SetShowDialog(false);
                        filter.SetShowProgress(false);
                        filter.SetEmbeddedFonts(big);
                        filter.SetFileName(target);
                        QStringList shown;
                        report->OnShowError = [&](const QString&, const QString& text) { shown << text; };
                        EXPECT_FALSE(ExportTo(*report, &filter));
                        report->OnShowError = nullptr;
                        error = shown.join(QLatin1Char('\n'));
                    } else {
                        error = ExportReportToPDF(*report, target, big);
                    }
                }
                EXPECT_TRUE(error.contains(target) && error.contains(Reason(failure))) << error.toStdString();
                QFile old(target);
                ASSERT_TRUE(old.open(QIODevice::ReadOnly));
                EXPECT_EQ(old.readAll(), QByteArray("previous contents"));
                EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("existing.pdf")});
            }

    // And the same call with room to write succeeds.
    const QString target = dir.filePath(QStringLiteral("existing.pdf"));
    EXPECT_EQ(ExportReportToPDF(*report, target), QString());
    EXPECT_TRUE(RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), target}).ExitCode == 0);
}

TEST_F(PdfSheet, CancelledDialogsWriteNothing) {
    const QString target = dir.filePath(QStringLiteral("cancelled.pdf"));
    // Cancel in the options dialog.
    {
        TrpPDFExport filter;
        filter.SetFileName(target);
        filter.SetShowProgress(false);
        QTimer::singleShot(0, [] {
            if (QWidget* w = QApplication::activeModalWidget())
                static_cast<QDialog*>(w)->reject();
        });
        EXPECT_FALSE(ExportTo(*report, &filter));
    }
    // OK there, then Cancel in the save dialog.
    {
        TrpPDFExport filter;
        filter.SetShowProgress(false);
        bool asked = false;
        filter.OnSaveDialog = [&](const QString& initial) {
            asked = true;
            EXPECT_EQ(initial, QStringLiteral("Расчет стоимости ОСАГО.pdf"));
            return QString();
        };
        QTimer::singleShot(0, [] {
            if (QWidget* w = QApplication::activeModalWidget())
                static_cast<QDialog*>(w)->accept();
        });
        EXPECT_FALSE(ExportTo(*report, &filter));
        EXPECT_TRUE(asked);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(PdfSheet, OpenAfterExportFollowsASuccessfulWrite) {
    TrpPDFExport filter;
    filter.SetShowDialog(false);
    filter.SetShowProgress(false);
    filter.SetOpenAfterExport(true);
    QStringList opened;
    filter.OnOpenFile = [&](const QString& f) { opened << f; };
    filter.SetFileName(dir.filePath(QStringLiteral("open.pdf")));
    EXPECT_TRUE(ExportTo(*report, &filter));
    EXPECT_EQ(opened, QStringList{dir.filePath(QStringLiteral("open.pdf"))});
    filter.SetFileName(dir.filePath(QStringLiteral("missing/open.pdf")));
    report->EngineOptions.NewSilentMode = report::simSilent;
    EXPECT_FALSE(ExportTo(*report, &filter));
    EXPECT_EQ(opened.size(), 1);
    EXPECT_FALSE(report->Errors().isEmpty());
}
