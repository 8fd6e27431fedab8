// The layout matrix on small hand-made layouts.
#include "ExportFixtures.h"

#include "export/LayoutMatrix.h"
#include "report/ShapeViews.h"

#include <gtest/gtest.h>

using namespace exporttest;
using namespace report;
using exports::TrpIEMatrix;

namespace {

// Places a page as the export loop does and adds its objects; the margins are zero, so that
// the objects' paper positions are their own.
void AddPlaced(TrpIEMatrix& m, TrpReportPage& page) {
    page.SetLeftMargin(0);
    page.SetTopMargin(0);
    const std::unique_ptr<TrpPlacedPage> placed = PlacePage(page, 0, 1);
    for (const TrpPlacedObject& o : placed->Objects)
        m.AddObject(o);
}

struct Fixture : ::testing::Test {
    TrpReportPage page;
    TrpIEMatrix m;
    Fixture() { m.ShowProgress = false; }

    TrpMemoView* Memo(const QString& name, Extended l, Extended t, Extended w, Extended h,
                      TrpFrameTypes frame = 0) {
        return AddMemo(page, name, name, l, t, w, h, frame);
    }
    void AddAll() { AddPlaced(m, page); }
    // The name of the object in each cell of a row ("-" for none).
    QStringList Row(int y) const {
        QStringList names;
        for (int x = 0; x < m.Width(); ++x) {
            const exports::TrpIEMObject* o = m.GetObject(x, y);
            names << (o ? o->Name : QStringLiteral("-"));
        }
        return names;
    }
    std::vector<double> YLines() const {
        std::vector<double> v;
        for (int i = 0; i < m.Height(); ++i)
            v.push_back(double(m.GetYPosById(i)));
        return v;
    }
    const exports::TrpIEMObject* Named(const QString& name, int nth = 0) const {
        for (int i = 0; i < m.ObjectsCount(); ++i)
            if (m.GetObjectById(i)->Name == name && nth-- == 0)
                return m.GetObjectById(i);
        return nullptr;
    }
};

TEST_F(Fixture, SideBySideMemosShareTheirEdge) {
    Memo("A", 0, 0, 100, 20);
    Memo("B", 100, 0, 50, 20);
    AddAll();
    m.Prepare();
    EXPECT_EQ(m.Width(), 3);
    EXPECT_EQ(m.Height(), 2);
    EXPECT_EQ(Row(0), (QStringList{"A", "B", "-"}));
    EXPECT_EQ(Row(1), (QStringList{"-", "-", "-"}));
    EXPECT_EQ(m.GetCell(-1, 0), -1);
    EXPECT_EQ(m.GetCell(0, 5), -1);
    EXPECT_EQ(m.GetObjectById(99), nullptr);
}

TEST_F(Fixture, SpansCoverTheLinesAnObjectCrosses) {
    Memo("Wide", 0, 0, 300, 20);
    Memo("A", 0, 20, 100, 20);
    Memo("B", 100, 20, 100, 20);
    Memo("C", 200, 20, 100, 40);
    Memo("D", 0, 40, 200, 20);
    AddAll();
    m.Prepare();
    EXPECT_EQ(Row(0), (QStringList{"Wide", "Wide", "Wide", "-"}));
    EXPECT_EQ(Row(1), (QStringList{"A", "B", "C", "-"}));
    EXPECT_EQ(Row(2), (QStringList{"D", "D", "C", "-"}));
    int x, y, dx, dy;
    m.GetObjectPos(4, x, y, dx, dy); // D
    EXPECT_EQ((std::vector<int>{x, y, dx, dy}), (std::vector<int>{0, 2, 2, 1}));
    m.GetObjectPos(3, x, y, dx, dy); // C
    EXPECT_EQ((std::vector<int>{x, y, dx, dy}), (std::vector<int>{2, 1, 1, 2}));
}

TEST_F(Fixture, InaccuracyKeepsTheLastLineOfACluster) {
    m.Inaccuracy = 5;
    Memo("A", 0, 0, 100, 20);
    Memo("B", 103, 0, 50, 20);
    AddAll();
    m.Prepare();
    ASSERT_EQ(m.Width(), 3);
    EXPECT_EQ(m.GetXPosById(1), 103);
    EXPECT_EQ(Row(0), (QStringList{"A", "B", "-"}));
}

TEST_F(Fixture, DuplicatesAreOnlyLookedForAmongTheLastHundredLines) {
    Memo("First", 0, 0, 10, 10);
    for (int i = 0; i < 60; ++i)
        Memo(QStringLiteral("M%1").arg(i), 20 + i * 10, 0, 5, 10);
    Memo("Again", 0, 20, 10, 10);
    AddAll();
    m.Prepare();
    // Both lines at 0 and both at 10 stay: two zero-width columns.
    EXPECT_EQ(m.GetXPosById(0), 0);
    EXPECT_EQ(m.GetXPosById(1), 0);
    EXPECT_EQ(m.GetXPosById(2), 10);
    EXPECT_EQ(m.GetXPosById(3), 10);
    EXPECT_EQ(m.Width(), 2 * 60 + 4);
}

TEST_F(Fixture, MaxCellSizesSplitTallAndWideCells) {
    m.MaxCellHeight = 30;
    m.MaxCellWidth = 40;
    Memo("A", 0, 0, 100, 70);
    AddAll();
    m.Prepare();
    EXPECT_EQ(YLines(), (std::vector<double>{0, 30, 60, 70}));
    ASSERT_EQ(m.Width(), 4); // 0 40 80 100
    EXPECT_EQ(m.GetXPosById(2), 80);
    int x, y, dx, dy;
    m.GetObjectPos(0, x, y, dx, dy);
    EXPECT_EQ(dx, 3);
    EXPECT_EQ(dy, 3);
}

TEST_F(Fixture, ExactMultipleOfTheMaximumAddsNoEmptyRow) {
    m.MaxCellHeight = 30;
    Memo("A", 0, 0, 10, 60);
    AddAll();
    m.Prepare();
    EXPECT_EQ(YLines(), (std::vector<double>{0, 30, 60}));
}

struct EmptyRowCase {
    int Gap;    // empty rows between A and B
    int Height; // rows after the rule, the bottom edge included
};

class EmptyRows : public ::testing::TestWithParam<EmptyRowCase> {};

TEST_P(EmptyRows, EveryOtherRowOfARunGoes) {
    const EmptyRowCase c = GetParam();
    TrpReportPage page;
    AddMemo(page, "A", "a", 0, 0, 50, 10);
    AddMemo(page, "B", "b", 0, 10 + 10 * c.Gap, 50, 10);
    TrpIEMatrix m;
    m.ShowProgress = false;
    m.MaxCellHeight = 10; // the gap becomes rows of 10
    m.EmptyLines = false;
    AddPlaced(m, page);
    m.Prepare();
    EXPECT_EQ(m.Height(), c.Height) << "gap " << c.Gap;
    const int kept = c.Gap / 2;
    // B's row moved up by the deleted rows' height.
    ASSERT_GE(m.Height(), 2 + kept);
    EXPECT_EQ(m.GetYPosById(1 + kept), 10 + 10 * kept);
    EXPECT_EQ(m.GetObject(0, 1 + kept) ? m.GetObject(0, 1 + kept)->Name : QString(), QStringLiteral("B"));
    for (int k = 1; k <= kept; ++k)
        EXPECT_EQ(m.GetCell(0, k), -1);
}

INSTANTIATE_TEST_SUITE_P(Table, EmptyRows,
                         ::testing::Values(EmptyRowCase{0, 2}, // nothing empty: the bottom edge goes
                                           EmptyRowCase{1, 3}, // a single empty row vanishes
                                           EmptyRowCase{2, 4}, // two shrink to one
                                           EmptyRowCase{3, 4}, // three shrink to one
                                           EmptyRowCase{4, 5}, EmptyRowCase{5, 5}));

TEST_F(Fixture, EmptyLinesOnKeepsEveryRow) {
    Memo("A", 0, 0, 50, 10);
    Memo("B", 0, 30, 50, 10);
    AddAll();
    m.Prepare();
    EXPECT_EQ(YLines(), (std::vector<double>{0, 10, 30, 40}));
}

TEST_F(Fixture, CoveredObjectIsCutAndTheLargePieceTakesTheText) {
    Memo("Under", 0, 0, 100, 60, ftAll);
    Memo("Over", 0, 0, 50, 20);
    AddAll();
    m.Prepare();
    EXPECT_EQ(Row(0), (QStringList{"Over", "Under", "-"}));
    EXPECT_EQ(Row(1), (QStringList{"Under", "Under", "-"}));
    const int right = m.GetCell(1, 0), below = m.GetCell(0, 1);
    ASSERT_GE(right, 2);
    ASSERT_GE(below, 2);
    ASSERT_NE(right, below);
    const exports::TrpIEMObject* r = m.GetObjectById(right);
    const exports::TrpIEMObject* b = m.GetObjectById(below);
    EXPECT_EQ(r->Parent, m.GetObjectById(0));
    EXPECT_EQ(r->Memo, QStringList{"Under"});
    EXPECT_TRUE(b->Memo.isEmpty());
    EXPECT_TRUE(m.GetObjectById(0)->Memo.isEmpty());
    EXPECT_EQ(double(r->Left), 50);
    EXPECT_EQ(double(r->Width), 50);
    EXPECT_EQ(double(r->Height), 60);
    // Each piece keeps the frame sides on the covered object's own edges.
    EXPECT_EQ(r->Style->FrameTyp, ftTop | ftRight | ftBottom);
    EXPECT_EQ(b->Style->FrameTyp, ftLeft | ftBottom);
    EXPECT_FALSE(m.GetRecord(0)->Exist);
    EXPECT_TRUE(m.GetRecord(right)->Exist);
}

// A picture in the lower left of a header: the strip above it takes the text, unless the
// largest piece is asked for (a spreadsheet's strip could not show it).
TEST_F(Fixture, TheFirstOrTheLargestQualifyingPieceTakesTheText) {
    Memo("Under", 0, 0, 100, 60);
    Memo("Over", 0, 10, 50, 50);
    for (bool largest : {false, true}) {
        SCOPED_TRACE(largest);
        TrpIEMatrix m;
        m.ShowProgress = false;
        m.LargestPieceTakesText = largest;
        AddPlaced(m, page);
        m.Prepare();
        const exports::TrpIEMObject* strip = m.GetObject(0, 0);
        const exports::TrpIEMObject* beside = m.GetObject(1, 1);
        ASSERT_TRUE(strip && beside);
        ASSERT_NE(strip, beside);
        EXPECT_EQ(double(strip->Height), 10);
        EXPECT_EQ(double(beside->Height), 50);
        EXPECT_EQ(strip->Memo.isEmpty(), largest);
        EXPECT_EQ(beside->Memo.isEmpty(), !largest);
    }
}

TEST_F(Fixture, SmallPieceLeavesTheTextWithTheCoveredObject) {
    Memo("Under", 0, 0, 100, 20);
    Memo("Over", 0, 0, 80, 20);
    AddAll();
    m.Prepare();
    const exports::TrpIEMObject* piece = m.GetObject(1, 0);
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->Name, "Under");
    EXPECT_TRUE(piece->Memo.isEmpty());
    EXPECT_EQ(m.GetObjectById(0)->Memo, QStringList{"Under"});
}

TEST_F(Fixture, TransparentMemoTakesTheFillBelowUnlessItIsItsFontColour) {
    TrpMemoView* back = Memo("Back", 0, 0, 200, 50);
    back->SetColor(clYellow);
    Memo("Text", 10, 10, 50, 20);
    TrpMemoView* same = Memo("Same", 100, 10, 50, 20);
    TrpFont f = same->Font();
    f.Color = clYellow;
    same->SetFont(f);
    AddAll();
    m.Prepare();
    EXPECT_EQ(Named("Text")->Style->Color, clYellow);
    EXPECT_EQ(Named("Same")->Style->Color, clNone);
    EXPECT_EQ(Named("Back")->Style->Color, clYellow);
}

TEST_F(Fixture, EqualStylesAreShared) {
    Memo("A", 0, 0, 50, 10, ftAll);
    Memo("B", 50, 0, 50, 10, ftAll);
    Memo("C", 0, 10, 50, 10);
    AddAll();
    EXPECT_EQ(m.StylesCount(), 2);
    EXPECT_EQ(Named("A")->Style, Named("B")->Style);
    EXPECT_EQ(Named("A")->StyleIndex, Named("B")->StyleIndex);
    EXPECT_NE(Named("A")->StyleIndex, Named("C")->StyleIndex);
    EXPECT_EQ(m.GetStyleById(Named("C")->StyleIndex), Named("C")->Style);
}

TEST_F(Fixture, FramesOptimizationDropsDoubledLines) {
    m.FramesOptimization = true;
    Memo("Top", 0, 0, 50, 10, ftAll);
    Memo("Bottom", 0, 10, 50, 10, ftAll);
    Memo("Right", 50, 0, 50, 10, ftAll);
    AddAll();
    m.Prepare();
    EXPECT_EQ(Named("Top")->Style->FrameTyp, ftAll);
    EXPECT_EQ(Named("Bottom")->Style->FrameTyp, ftLeft | ftRight | ftBottom);
    EXPECT_EQ(Named("Right")->Style->FrameTyp, ftRight | ftTop | ftBottom);
}

TEST_F(Fixture, DropShadowBecomesTwoStrips) {
    TrpMemoView* memo = Memo("S", 10, 20, 100, 40, ftAll);
    memo->FrameRef().DropShadow = true;
    memo->FrameRef().ShadowWidth = 4;
    memo->FrameRef().ShadowColor = clGray;
    AddAll();
    ASSERT_EQ(m.ObjectsCount(), 3);
    const exports::TrpIEMObject* self = Named("S");
    EXPECT_EQ((std::vector<double>{double(self->Left), double(self->Top), double(self->Width),
                                   double(self->Height)}),
              (std::vector<double>{10, 20, 96, 36}));
    const exports::TrpIEMObject* right = Named("Shadow", 0);
    const exports::TrpIEMObject* bottom = Named("Shadow", 1);
    EXPECT_EQ((std::vector<double>{double(right->Left), double(right->Top), double(right->Width),
                                   double(right->Height)}),
              (std::vector<double>{106, 24, 4, 36}));
    EXPECT_EQ((std::vector<double>{double(bottom->Left), double(bottom->Top), double(bottom->Width),
                                   double(bottom->Height)}),
              (std::vector<double>{14, 56, 96, 4}));
    EXPECT_EQ(right->Style->Color, clGray);
    EXPECT_EQ(right->Style->FrameTyp, 0);
    EXPECT_EQ(right->Style->Font.Size, 1);
}

TEST_F(Fixture, LinesAreThinTextlessCells) {
    auto line = std::make_unique<TrpLineView>();
    line->SetName("H");
    line->SetBounds(100, 50, -80, 0); // drawn right to left
    line->FrameRef().Color = clRed;
    page.Add(std::move(line));
    auto vline = std::make_unique<TrpLineView>();
    vline->SetName("V");
    vline->SetBounds(5, 5, 0, 30);
    page.Add(std::move(vline));
    m.Inaccuracy = 2;
    AddAll();
    const exports::TrpIEMObject* h = Named("H");
    EXPECT_FALSE(h->IsText);
    EXPECT_EQ((std::vector<double>{double(h->Left), double(h->Width), double(h->Height)}),
              (std::vector<double>{20, 80, 2}));
    EXPECT_EQ(h->Style->FrameTyp, ftTop);
    EXPECT_EQ(h->Style->Color, clRed);
    EXPECT_EQ(Named("V")->Style->FrameTyp, ftLeft);
    EXPECT_EQ(double(Named("V")->Width), 2);
}

TEST_F(Fixture, RectangleShapes) {
    auto empty = std::make_unique<TrpShapeView>();
    empty->SetName("Box");
    empty->SetBounds(0, 0, 100, 50);
    page.Add(std::move(empty));
    auto filled = std::make_unique<TrpShapeView>();
    filled->SetName("Filled");
    filled->SetBounds(0, 100, 100, 50);
    filled->SetColor(clAqua);
    page.Add(std::move(filled));
    AddAll();
    ASSERT_EQ(m.ObjectsCount(), 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(m.GetObjectById(i)->IsText);
    EXPECT_EQ(m.GetObjectById(0)->Style->FrameTyp, ftTop);
    EXPECT_EQ(m.GetObjectById(1)->Style->FrameTyp, ftLeft);
    EXPECT_EQ(double(m.GetObjectById(2)->Top), 50);
    EXPECT_EQ(double(m.GetObjectById(3)->Left), 100);
    const exports::TrpIEMObject* rect = Named("Rect");
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->Style->Color, clAqua);
    EXPECT_EQ(rect->Style->FrameTyp, ftAll);
    EXPECT_EQ(rect->Style->Font.Size, 1);
}

TEST_F(Fixture, PicturesBecomeBitmaps) {
    auto pic = std::make_unique<TrpPictureView>();
    pic->SetName("P");
    pic->SetBounds(10, 10, 40, 20);
    QImage red(4, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    pic->SetPicture(red);
    page.Add(std::move(pic));
    AddAll();
    const exports::TrpIEMObject* p = Named("P");
    ASSERT_TRUE(p && p->Image);
    EXPECT_FALSE(p->IsText);
    EXPECT_EQ(p->Image->size(), QSize(41, 21));
    EXPECT_EQ(p->Image->pixelColor(20, 10), QColor(Qt::red));

    TrpIEMatrix noImages;
    noImages.Images = false;
    AddPlaced(noImages, page);
    EXPECT_FALSE(noImages.GetObjectById(0)->Image);
}

TEST_F(Fixture, RichTextPlainOrRaw) {
    auto rich = std::make_unique<TrpRichView>();
    rich->SetName("R");
    rich->SetBounds(0, 0, 100, 20);
    rich->SetRichText(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Hello\\par World\\'21}"));
    page.Add(std::move(rich));
    m.RichText = true;
    AddAll();
    EXPECT_EQ(Named("R")->Memo, (QStringList{"Hello", "World!"}));
    EXPECT_TRUE(Named("R")->IsText);

    TrpIEMatrix raw;
    raw.RichText = true;
    raw.PlainRich = false;
    AddPlaced(raw, page);
    EXPECT_TRUE(raw.GetObjectById(0)->IsRichText);
    EXPECT_TRUE(raw.GetObjectById(0)->Memo.first().startsWith("{\\rtf1"));
}

TEST_F(Fixture, PageBackgroundOnlyWhenAsked) {
    page.SetColor(clLime);
    TrpFrame frame;
    frame.Typ = ftAll;
    page.SetFrame(frame);
    AddAll();
    EXPECT_EQ(m.ObjectsCount(), 0);
    m.Background = true;
    AddAll();
    // One cell of the page's fill and frame over the printable area, no picture.
    ASSERT_EQ(m.ObjectsCount(), 1);
    const exports::TrpIEMObject* bg = m.GetObjectById(0);
    EXPECT_EQ(bg->Style->Color, clLime);
    EXPECT_EQ(bg->Style->FrameTyp, ftAll);
    EXPECT_NEAR(double(bg->Width), double(page.PrintableWidth()), 1e-9);
    EXPECT_FALSE(bg->Image);
}

TEST_F(Fixture, FillAreaGoesFirstAndWhite) {
    m.FillArea = true;
    Memo("A", 20, 30, 50, 10);
    AddAll();
    m.Prepare();
    const exports::TrpIEMObject* fill = m.GetObjectById(0);
    EXPECT_EQ(fill->Style->Color, clWhite);
    EXPECT_EQ(m.GetXPosById(0), 0);
    EXPECT_EQ(m.GetYPosById(0), 0);
    // The fill lies under everything: what shows of it are pieces cut from it.
    const exports::TrpIEMObject* corner = m.GetObject(0, 0);
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->Parent, fill);
    EXPECT_EQ(corner->Style->Color, clWhite);
    EXPECT_EQ(m.GetObject(1, 1)->Name, "A");
}

TEST_F(Fixture, PagesStackDownwards) {
    Memo("P1", 0, 0, 50, 100);
    AddAll();
    m.AddPage(poPortrait, 210, 297, 10, 10, 10, 10);
    TrpReportPage second;
    AddMemo(second, "P2", "P2", 0, 0, 50, 40);
    AddPlaced(m, second);
    m.AddPage(poLandscape, 297, 210, 5, 5, 5, 5);
    m.Prepare();
    EXPECT_EQ(double(Named("P2")->Top), 100);
    EXPECT_EQ(m.PagesCount(), 2);
    EXPECT_EQ(m.GetPageBreak(0), 100);
    EXPECT_EQ(m.GetPageBreak(1), 140);
    EXPECT_EQ(m.GetPageOrientation(1), poLandscape);
    EXPECT_EQ(m.GetPageWidth(1), 297);
    EXPECT_EQ(m.GetPageLMargin(5), 0);
    m.Clear();
    EXPECT_EQ(m.ObjectsCount(), 0);
    EXPECT_EQ(m.PagesCount(), 0);
    EXPECT_EQ(m.DeltaY(), 0);
}

TEST_F(Fixture, WrapTextGivesTheDrawnLinesWithoutTags) {
    TrpMemoView* memo = Memo("W", 0, 0, 60, 80);
    memo->SetText(QStringLiteral("<b>one</b> two three four five six"));
    memo->SetAllowHTMLTags(true);
    m.DeleteHTMLTags = true;
    AddAll();
    const QStringList lines = Named("W")->Memo;
    EXPECT_GT(lines.size(), 1);
    EXPECT_TRUE(lines.first().startsWith("one"));
    EXPECT_FALSE(lines.join(' ').contains('<'));
    EXPECT_EQ(lines.join(' ').simplified(), QStringLiteral("one two three four five six"));
}

TEST_F(Fixture, NegativePositionsClampToTheOrigin) {
    Memo("N", -5, -7, 20, 10);
    AddAll();
    EXPECT_EQ(double(Named("N")->Left), 0);
    EXPECT_EQ(double(Named("N")->Top), 0);
    EXPECT_EQ(m.MinLeft(), 0);
}

} // namespace
