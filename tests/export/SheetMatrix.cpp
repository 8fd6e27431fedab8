// The grid a table-like export gets for the calculation sheet.
#include "ExportFixtures.h"

#include "export/LayoutMatrix.h"

#include <gtest/gtest.h>

#include "sheet/SheetTemplate.h"

using namespace exporttest;
using namespace report;
using exports::TrpIEMatrix;

namespace {

// What the table-like filters do: every view into the matrix, a page record per page.
class MatrixFilter : public exports::TrpCustomExportFilter {
public:
    TrpIEMatrix M;
    MatrixFilter() {
        SetShowDialog(false);
        SetShowProgress(false);
        M.ShowProgress = false;
    }
    void ExportObject(const TrpPlacedObject& object) override { M.AddObject(object); }
    void FinishPage(TrpReportPage* page, int) override {
        M.AddPage(page->Orientation(), page->PaperWidth(), page->PaperHeight(), page->LeftMargin(),
                  page->TopMargin(), page->RightMargin(), page->BottomMargin());
    }
};

struct Cell {
    int x = -1, y = -1, dx = 0, dy = 0;
};

// The sheet as built here from its template positions, or the program's own template.
enum class Source { HandMade, Template };

class SheetMatrix : public ::testing::TestWithParam<std::tuple<Source, double>> {
protected:
    void SetUp() override {
        if (std::get<0>(GetParam()) == Source::HandMade) {
            r = PreparedSheets(1);
            ASSERT_TRUE(r);
        } else {
            r = sheet::CreateSheetReport();
            r->ShowProgress = false;
            sheet::SheetTexts texts{
                "2 025", "2", "1", "1,5", "", "", "", "", "1", "Т = ТБ*КТ*КБМ*КО*КН", "6 075 рублей"};
            ASSERT_TRUE(sheet::PrepareSheet(*r, texts).Ok);
        }
        f.M.Inaccuracy = Inaccuracy();
        f.M.FramesOptimization = true;
        f.M.RotatedAsImage = true;
        f.M.RichText = true;
        f.M.DeleteHTMLTags = true;
        ASSERT_TRUE(exports::ExportTo(*r, &f));
        f.M.Prepare();
    }
    // Where an object ended up: its visible record, or with `whole` its own record even when
    // later objects cut it into pieces.
    Cell Find(const QString& name, bool whole = false) const {
        for (int i = 0; i < f.M.ObjectsCount(); ++i)
            if (f.M.GetObjectById(i)->Name == name && (whole || f.M.GetRecord(i)->Exist)) {
                Cell c;
                f.M.GetObjectPos(i, c.x, c.y, c.dx, c.dy);
                return c;
            }
        return {};
    }
    double Inaccuracy() const { return std::get<1>(GetParam()); }
    std::unique_ptr<TrpReport> r;
    MatrixFilter f;
};

// The grid as text, for failure messages.
QString Dump(const TrpIEMatrix& m) {
    QString out;
    for (int x = 0; x < m.Width(); ++x)
        out += QString::number(double(m.GetXPosById(x)), 'f', 2) + ' ';
    out += '\n';
    for (int y = 0; y < m.Height(); ++y) {
        out += QString::number(double(m.GetYPosById(y)), 'f', 2).rightJustified(8) + ' ';
        for (int x = 0; x < m.Width(); ++x) {
            const exports::TrpIEMObject* o = m.GetObject(x, y);
            out += (o ? o->Name : QStringLiteral("-")).left(9).leftJustified(10);
        }
        out += '\n';
    }
    return out;
}

QString Styles(const TrpIEMatrix& m) {
    QString out;
    for (int i = 0; i < m.StylesCount(); ++i) {
        const exports::TrpIEMStyle* s = m.GetStyleById(i);
        QStringList users;
        for (int o = 0; o < m.ObjectsCount(); ++o)
            if (m.GetObjectById(o)->StyleIndex == i)
                users << m.GetObjectById(o)->Name;
        out += QStringLiteral("%1: %2 %3pt frame %4 fill %5 <- %6\n")
                   .arg(i)
                   .arg(s->Font.Name)
                   .arg(s->Font.Size)
                   .arg(s->FrameTyp)
                   .arg(s->Color, 0, 16)
                   .arg(users.join(' '));
    }
    return out;
}

TEST_P(SheetMatrix, TableRowsAreGridRowsOfThreeCells) {
    SCOPED_TRACE(Dump(f.M).toStdString());
    const char* cells[] = {"meType",  "meHome",   "meClass", "mePeople", "meAge",
                           "mePower", "mePeriod", "meTime",  "meDop"};
    int previousRow = -1;
    Cell first[3];
    for (int row = 0; row < 9; ++row) {
        const Cell caption = Find(QStringLiteral("Memo%1").arg(2 + row * 3));
        const Cell code = Find(QStringLiteral("Memo%1").arg(3 + row * 3));
        const Cell value = Find(QString::fromLatin1(cells[row]));
        SCOPED_TRACE(row);
        ASSERT_GE(caption.x, 0);
        ASSERT_GE(code.x, 0);
        ASSERT_GE(value.x, 0);
        // One grid row per table row, the rows one below the other.
        EXPECT_EQ(caption.dy, 1);
        EXPECT_EQ(code.dy, 1);
        EXPECT_EQ(value.dy, 1);
        EXPECT_EQ(caption.y, code.y);
        EXPECT_EQ(code.y, value.y);
        if (previousRow >= 0) {
            EXPECT_EQ(caption.y, previousRow + 1);
        }
        previousRow = caption.y;
        // Caption, code and value side by side, each at the same columns in every row.
        EXPECT_EQ(caption.x + caption.dx, code.x);
        EXPECT_EQ(code.x + code.dx, value.x);
        if (row == 0) {
            first[0] = caption;
            first[1] = code;
            first[2] = value;
        }
        for (const auto& [now, was] : {std::pair{caption, first[0]}, {code, first[1]}, {value, first[2]}}) {
            EXPECT_EQ(now.x, was.x);
            EXPECT_EQ(now.dx, was.dx);
        }
    }
    // The value cells keep their texts.
    const exports::TrpIEMObject* type = f.M.GetObject(Find("meType").x, Find("meType").y);
    ASSERT_TRUE(type);
    EXPECT_EQ(type->Memo, QStringList{"2 025"});
    EXPECT_TRUE(f.M.GetObject(Find("meAge").x, Find("meAge").y)->Memo.join("").isEmpty());
}

TEST_P(SheetMatrix, HeaderAndPremiumBoxAreMerged) {
    SCOPED_TRACE(Dump(f.M).toStdString());
    const Cell caption = Find("Memo2");
    const Cell value = Find("meType");
    const Cell header = Find("Memo7", true);
    const Cell box = Find("Memo4", true);
    const Cell formula = Find("meFormula");
    ASSERT_GE(header.x, 0);
    ASSERT_GE(box.x, 0);
    // The header spans the whole table's width.
    EXPECT_LE(header.x, caption.x);
    EXPECT_GE(header.x + header.dx, value.x + value.dx);
    EXPECT_GT(box.dx, 2);
    // The premium box is cut by the formula and premium lines lying on it; its top part
    // stays merged across the columns and keeps the caption.
    const exports::TrpIEMObject* top = f.M.GetObject(box.x, box.y);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->Memo, QStringList{"Размер страховой премии (Т):"});
    EXPECT_LE(box.x, formula.x);
    EXPECT_GE(box.x + box.dx, formula.x + formula.dx);
    EXPECT_EQ(f.M.GetObject(formula.x, formula.y)->Memo, QStringList{"Т = ТБ*КТ*КБМ*КО*КН"});
    // The header's lines arrive without their tags.
    const exports::TrpIEMObject* h = f.M.GetObject(header.x, header.y);
    ASSERT_TRUE(h);
    EXPECT_FALSE(h->Memo.join("").contains("<b>"));
    EXPECT_TRUE(h->Memo.join("\n").contains("Тарифон 2.0\" =-"));
}

TEST_P(SheetMatrix, StylesAreSharedByLikeCells) {
    // Every caption cell shares one style, as do the code cells and the value cells.
    auto styleOf = [&](const QString& name) {
        const Cell c = Find(name);
        return f.M.GetObject(c.x, c.y)->StyleIndex;
    };
    // The first row keeps its top line; below it the line is the row above's bottom line.
    for (int row = 2; row < 9; ++row) {
        EXPECT_EQ(styleOf(QStringLiteral("Memo%1").arg(2 + row * 3)), styleOf("Memo5"));
        EXPECT_EQ(styleOf(QStringLiteral("Memo%1").arg(3 + row * 3)), styleOf("Memo6"));
    }
    EXPECT_EQ(f.M.GetStyleById(styleOf("Memo2"))->FrameTyp, ftAll);
    EXPECT_EQ(f.M.GetStyleById(styleOf("Memo5"))->FrameTyp, ftLeft | ftRight | ftBottom);
    EXPECT_EQ(styleOf("meDop"), styleOf("meHome"));
    EXPECT_EQ(styleOf("Memo10"), styleOf("Memo13"));
    EXPECT_NE(styleOf("meResult"), styleOf("meFormula"));
    // Title, header and its pieces, picture, links, box and its pieces, formula, premium, and
    // caption, code and value cells as made and as left by the frame optimisation in the first
    // row and below it. A wider inaccuracy cuts the header and box into fewer kinds of piece.
    EXPECT_EQ(f.M.StylesCount(), Inaccuracy() < 1 ? 21 : 18) << Styles(f.M).toStdString();
}

TEST_P(SheetMatrix, PagesOfManyCopiesStackWithEqualGrids) {
    if (std::get<0>(GetParam()) != Source::HandMade)
        GTEST_SKIP() << "the template has one page";
    auto many = NewReport();
    for (int i = 0; i < 3; ++i)
        AddSheetPage(*many);
    FillSheetVariables(*many);
    ASSERT_TRUE(many->Prepare());
    MatrixFilter g;
    g.M.Inaccuracy = Inaccuracy();
    ASSERT_TRUE(exports::ExportTo(*many, &g));
    g.M.Prepare();
    EXPECT_EQ(g.M.PagesCount(), 3);
    EXPECT_EQ(g.M.Width(), f.M.Width());
    // Each page below the first adds the gap above its header as a row of its own.
    EXPECT_EQ(g.M.Height(), 3 * f.M.Height());
    EXPECT_EQ(g.M.GetPageBreak(0), f.M.MaxHeight());
    EXPECT_EQ(g.M.GetPageBreak(2), 3 * f.M.MaxHeight());
}

INSTANTIATE_TEST_SUITE_P(Inaccuracy, SheetMatrix,
                         ::testing::Combine(::testing::Values(Source::HandMade, Source::Template),
                                            ::testing::Values(0.5, 10.0)));

} // namespace
