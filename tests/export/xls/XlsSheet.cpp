// The calculation sheet exported through LibreOffice Calc and read back by xlrd, on both
// paths, then converted to PDF by LibreOffice: the grid, the formatting and the page setup
// come back as the layout matrix laid them out.
#include "XlsTools.h"
#include "export/LayoutMatrix.h"
#include "export/xls/ExcelNames.h"
#include "export/xls/XlsCells.h"
#include "sheet/SheetTemplate.h"
#include "support/SheetCase.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <cmath>
#include <set>

using namespace exports;
using namespace xlstest;

namespace {

// What the grid asked for, taken from the matrix the filter filled the sheet from.
struct Expected {
    struct Cell {
        int Row, Col, Rows, Cols;
        QString Text;
        bool Bold, Italic;
        int Size;
        report::TrpFrameTypes Frame;
        bool IsText;
    };
    std::vector<Cell> Cells;
    std::vector<double> Widths;  // characters, column c at [c - 1]
    std::vector<double> Heights; // points, row r at [r - 1]
    int Height = 0;
};

Expected Record(const TrpIEMatrix& m) {
    Expected e;
    e.Height = m.Height();
    for (int i = 0; i < m.ObjectsCount(); ++i) {
        const TrpIEMObjectList* rec = m.GetRecord(i);
        if (!rec || m.GetCell(rec->x, rec->y) != i)
            continue;
        const TrpIEMObject& o = *rec->Obj;
        e.Cells.push_back({rec->y, rec->x, rec->dy, rec->dx,
                           CleanCellText(o.Memo.join(QStringLiteral("\r\n"))), o.Style->Font.Bold(),
                           o.Style->Font.Italic(), o.Style->Font.Size, o.Style->FrameTyp, o.IsText});
    }
    for (int c = 1; c < m.Width(); ++c)
        e.Widths.push_back(double(m.GetXPosById(c) - m.GetXPosById(c - 1)) / 8);
    for (int r = 1; r < m.Height(); ++r)
        e.Heights.push_back(double(m.GetYPosById(r) - m.GetYPosById(r - 1)) / 1.315);
    return e;
}

struct Export {
    QString File;
    QString Error;
    bool OfficeScriptsRan = false;
    Expected Grid;
    QJsonObject Book;
    QString Opened; // what "open after export" was given
};

Export& Fast() {
    static Export run;
    return run;
}

Export& Normal() {
    static Export run;
    return run;
}

// The fast path in an office that cannot run our script: the unions go range by range.
Export& RangeByRange() {
    static Export run;
    return run;
}

Export* const kRuns[] = {&Fast(), &Normal(), &RangeByRange()};

QTemporaryDir* dir = nullptr;

QJsonObject CellAt(const QJsonObject& book, int row, int col) {
    for (const QJsonValue& v : book[u"cells"].toArray())
        if (v[u"row"].toInt() == row && v[u"col"].toInt() == col)
            return v.toObject();
    return {};
}

} // namespace

static void OnlyTheMenusFilterOpensTheWorkbook() {
    EXPECT_EQ(Normal().Opened, Normal().File);
    EXPECT_TRUE(Fast().Opened.isEmpty());
    EXPECT_TRUE(RangeByRange().Opened.isEmpty());
}

// The fast path's groups ran inside the office, except where its script was left out.
static void FastGroupsRanInsideTheOffice() {
    EXPECT_TRUE(Fast().OfficeScriptsRan);
    EXPECT_FALSE(Normal().OfficeScriptsRan);
    EXPECT_FALSE(RangeByRange().OfficeScriptsRan);
}

static void IsABinaryWorkbook() {
    for (const Export* run : kRuns) {
        ASSERT_TRUE(run->Error.isEmpty()) << run->Error.toStdString();
        const ToolResult r = RunTool(QStringLiteral("file"), {QStringLiteral("-b"), run->File});
        EXPECT_TRUE(r.Out.startsWith("Composite Document File V2 Document")) << r.Out.toStdString();
        const ToolResult mime =
            RunTool(QStringLiteral("file"), {QStringLiteral("-b"), QStringLiteral("--mime-type"), run->File});
        EXPECT_EQ(mime.Out.trimmed(), "application/vnd.ms-excel");
        EXPECT_EQ(run->Book[u"biff"].toInt(), 80);
    }
}

static void CellsHoldTheGridsTextsFontsAndFrames() {
    for (const Export* run : kRuns) {
        ASSERT_FALSE(run->Grid.Cells.empty());
        int texts = 0;
        for (const Expected::Cell& e : run->Grid.Cells) {
            if (!e.IsText)
                continue;
            const std::string where =
                CellName(e.Col + 1, e.Row + 1).toStdString() + " " + e.Text.toStdString();
            const QJsonObject cell = CellAt(run->Book, e.Row, e.Col);
            EXPECT_EQ(cell[u"value"].toString(), e.Text) << where;
            if (e.Text.isEmpty())
                continue;
            ++texts;
            EXPECT_EQ(cell[u"bold"].toBool(), e.Bold) << where;
            EXPECT_EQ(cell[u"italic"].toBool(), e.Italic) << where;
            // A merged range keeps its right and bottom lines in its last column and row.
            const int lastRow = e.Row + e.Rows - 1, lastCol = e.Col + e.Cols - 1;
            const std::pair<report::TrpFrameTypes, QJsonObject> sides[] = {
                {report::ftLeft, cell},
                {report::ftRight, CellAt(run->Book, e.Row, lastCol)},
                {report::ftTop, cell},
                {report::ftBottom, CellAt(run->Book, lastRow, e.Col)}};
            for (int s = 0; s < 4; ++s)
                EXPECT_EQ(sides[s].second[u"borders"].toArray()[s].toInt() != 0,
                          (e.Frame & sides[s].first) != 0)
                    << where << " side " << s;
        }
        EXPECT_GE(texts, 20);
    }
}

static void SpannedObjectsAreMerged() {
    for (const Export* run : kRuns) {
        std::set<std::vector<int>> merged;
        for (const QJsonValue& m : run->Book[u"merged"].toArray()) {
            const QJsonArray a = m.toArray();
            merged.insert({a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()});
        }
        std::set<std::vector<int>> expected;
        // The fast path merges every spanning object, the normal path the texts only.
        for (const Expected::Cell& e : run->Grid.Cells)
            if ((e.Rows > 1 || e.Cols > 1) && (e.IsText || run != &Normal()))
                expected.insert({e.Row, e.Row + e.Rows, e.Col, e.Col + e.Cols});
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(merged, expected);
    }
}

static void ColumnWidthsAndRowHeightsFollowTheGrid() {
    for (const Export* run : kRuns) {
        const QJsonObject widths = run->Book[u"widths"].toObject();
        for (size_t c = 0; c < run->Grid.Widths.size(); ++c) {
            const double want = run->Grid.Widths[c];
            if (!(want > 0 && want < 256))
                continue;
            // 1/256 of a character; the office rounds to its own pixel grid.
            const double got = widths[QString::number(c)].toDouble() / 256;
            EXPECT_NEAR(got, want, 0.15 + want * 0.03) << "column " << c;
        }
        const QJsonObject heights = run->Book[u"heights"].toObject();
        const double defaultHeight = run->Book[u"default_row_height"].toDouble() / 20;
        for (size_t r = 0; r < run->Grid.Heights.size(); ++r) {
            const double want = std::min(run->Grid.Heights[r], 409.0);
            const QJsonValue h = heights[QString::number(r)];
            const double got = h.isUndefined() ? defaultHeight : h.toDouble() / 20; // twips
            EXPECT_NEAR(got, want, 0.6) << "row " << r;
        }
    }
}

static void PageBreakAfterThePageAndPortraitA4() {
    for (const Export* run : kRuns) {
        // One report page: the break lies under the row after its last row.
        const QJsonArray breaks = run->Book[u"breaks"].toArray();
        ASSERT_EQ(breaks.size(), 1);
        EXPECT_EQ(breaks[0].toInt(), run->Grid.Height);
        const QJsonObject setup = run->Book[u"setup"].toObject();
        EXPECT_EQ(setup[u"paper"].toInt(), 9); // A4
        EXPECT_TRUE(setup[u"portrait"].toBool());
        const double margin = 10.00125 * 2.6 / 72; // millimetres x 2.6 points, in inches
        for (const char* side : {"left_inches", "right_inches", "top_inches", "bottom_inches"})
            EXPECT_NEAR(setup[QLatin1String(side)].toDouble(), margin, 0.01) << side;
    }
}

// The blue of the logo's shield in the top left of the page as the office prints it (50 dpi):
// its bounding box.
static QRect LogoBox(const QString& pdf) {
    const QString png = pdf + QStringLiteral(".png");
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, pdf});
    const QImage page(png);
    QRect box;
    for (int y = 0; y < page.height() / 6; ++y)
        for (int x = 0; x < page.width() / 4; ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 100 && c.green() > 90 && c.green() < 160)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

static void OfficeShowsEveryTextInOneTableOnOnePage() {
    ASSERT_TRUE(Fast().Error.isEmpty());
    const QStringList pdfs = ConvertToPdf({Fast().File, Normal().File}, dir->path());
    const QString& pdf = pdfs[0];
    // The logo stands at the top left, the same from both paths.
    const QRect logo = LogoBox(pdf);
    EXPECT_TRUE(logo.width() > 10 && logo.height() > 10) << logo.width() << "x" << logo.height();
    const QRect normal = LogoBox(pdfs[1]);
    EXPECT_LE((normal.topLeft() - logo.topLeft()).manhattanLength(), 2);
    EXPECT_LE((normal.bottomRight() - logo.bottomRight()).manhattanLength(), 2);
    const ToolResult info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(QString::fromUtf8(info.Out).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
        << info.Out.toStdString();
    // The logo comes through as a picture.
    const ToolResult images = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    EXPECT_EQ(images.Out.trimmed().split('\n').size(), 3) << images.Out.toStdString(); // two header lines
    const ToolResult text =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QString shown = QString::fromUtf8(text.Out).simplified();
    // Every line of every text, the header's four beside the logo included.
    for (const Expected::Cell& e : Fast().Grid.Cells)
        for (const QString& line : e.Text.split(u'\n', Qt::SkipEmptyParts))
            EXPECT_TRUE(shown.contains(line.simplified())) << line.toStdString() << " in\n"
                                                           << shown.toStdString();
    for (const QString& value : {QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН"), QStringLiteral("6 075 рублей"),
                                 QStringLiteral("Расчет стоимости ОСАГО")})
        EXPECT_TRUE(shown.contains(value)) << value.toStdString();
}

// One run of the office per path for all the checks: each test binary run starts it anew.
TEST(XlsSheet, ComesBackThroughXlrdAndTheOfficesPdf) {
    QTemporaryDir folder;
    dir = &folder;
    const std::unique_ptr<report::TrpReport> report = sheet::CreateSheetReport();
    const sheet::PrepareResult prepared = sheet::PrepareSheet(*report, testsupport::SheetCase(true));
    ASSERT_TRUE(prepared.Ok) << prepared.Message.toStdString();
    for (Export* run : kRuns) {
        const bool fast = run != &Normal();
        // The normal run is the menu's own filter, asked to open the workbook afterwards.
        TrpXLSExport filter(fast);
        filter.SetFastExport(fast);
        filter.SetOpenExcelAfterExport(!fast);
        filter.OnOpenFile = [run](const QString& file) { run->Opened = file; };
        filter.OnPrepared = [run](const TrpIEMatrix& m) { run->Grid = Record(m); };
        run->File = folder.filePath(run == &Fast()     ? QStringLiteral("fast.xls")
                                    : run == &Normal() ? QStringLiteral("normal.xls")
                                                       : QStringLiteral("range-by-range.xls"));
        if (run == &RangeByRange())
            qputenv("TARIFON_OFFICE_SCRIPTS", "off");
        run->Error = RunFilter(*report, filter, run->File);
        run->OfficeScriptsRan = filter.OfficeScriptsRan();
        qunsetenv("TARIFON_OFFICE_SCRIPTS");
        if (run->Error.isEmpty())
            run->Book = ReadWorkbook(run->File);
        // Set TARIFON_XLS_KEEP to a folder to look at the workbooks.
        if (const QString keep = qEnvironmentVariable("TARIFON_XLS_KEEP"); !keep.isEmpty())
            QFile::copy(run->File, QDir(keep).filePath(QFileInfo(run->File).fileName()));
    }
    const std::pair<const char*, void (*)()> checks[] = {
        {"IsABinaryWorkbook", IsABinaryWorkbook},
        {"OnlyTheMenusFilterOpensTheWorkbook", OnlyTheMenusFilterOpensTheWorkbook},
        {"FastGroupsRanInsideTheOffice", FastGroupsRanInsideTheOffice},
        {"CellsHoldTheGridsTextsFontsAndFrames", CellsHoldTheGridsTextsFontsAndFrames},
        {"SpannedObjectsAreMerged", SpannedObjectsAreMerged},
        {"ColumnWidthsAndRowHeightsFollowTheGrid", ColumnWidthsAndRowHeightsFollowTheGrid},
        {"PageBreakAfterThePageAndPortraitA4", PageBreakAfterThePageAndPortraitA4},
        {"OfficeShowsEveryTextInOneTableOnOnePage", OfficeShowsEveryTextInOneTableOnOnePage},
    };
    for (const auto& [name, check] : checks) {
        SCOPED_TRACE(name);
        check();
    }
    dir = nullptr;
}
