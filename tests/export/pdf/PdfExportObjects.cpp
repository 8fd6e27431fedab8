// What the PDF export writes for single objects: vector memos, pictures, frames and fills,
// read from the uncompressed content stream.
#include "export/pdf/PdfExport.h"
#include "report/Components.h"
#include "report/ShapeViews.h"

#include <QBuffer>
#include <functional>
#include <gtest/gtest.h>

using namespace exports;
using namespace report;

namespace {

// Exports the objects on one A4 page with 10 mm margins into an uncompressed document and
// returns the page's content stream. The objects' positions are their places on the paper.
QByteArray Content(std::vector<std::unique_ptr<TrpView>> views, bool printOptimized = false,
                   bool htmlTags = true, bool background = false) {
    TrpReportPage page;
    page.SetColor(clYellow);
    for (auto& v : views) {
        v->SetLeft(v->Left() - page.LeftMargin() * fr01cm);
        v->SetTop(v->Top() - page.TopMargin() * fr01cm);
        page.Add(std::move(v));
    }
    const std::unique_ptr<TrpPlacedPage> placed = PlacePage(page, 0, 1);
    TrpPDFExport filter(true);
    filter.SetCompressed(false);
    filter.SetPrintOptimized(printOptimized);
    filter.SetHTMLTags(htmlTags);
    filter.SetBackground(background);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    filter.SetStream(&out);
    EXPECT_TRUE(filter.Start());
    filter.StartPage(&page, 0);
    for (const TrpPlacedObject& o : placed->Objects)
        filter.ExportObject(o);
    filter.Finish();
    const QByteArray file = out.data();
    const qsizetype obj = file.lastIndexOf(" 0 obj\r\n<< /Length ");
    const qsizetype data = file.indexOf("stream\r\n", obj) + 8;
    const qsizetype end = file.lastIndexOf("endstream");
    return file.mid(data, end - data);
}

std::unique_ptr<TrpMemoView> Memo(const QString& text, Extended left = 100, Extended top = 100) {
    auto memo = std::make_unique<TrpMemoView>();
    memo->SetBounds(left, top, 200, 40);
    memo->SetText(text);
    TrpFont f;
    f.Size = 12;
    f.Charset = RUSSIAN_CHARSET;
    memo->SetParentFont(false);
    memo->SetFont(f);
    return memo;
}

std::vector<std::unique_ptr<TrpView>> One(std::unique_ptr<TrpView> v) {
    std::vector<std::unique_ptr<TrpView>> list;
    list.push_back(std::move(v));
    return list;
}

int Count(const QByteArray& s, const QByteArray& what) {
    return int(s.count(what));
}

} // namespace

TEST(PdfExportObjects, MemoIsClippedFilledFramedText) {
    auto memo = Memo(QStringLiteral("Тариф"));
    memo->SetColor(clYellow);
    memo->FrameRef().Typ = ftAll;
    const QByteArray c = Content(One(std::move(memo)));
    // The object at (100, 100), 200 x 40, with 0.5-point margin offsets: x1 = 75.5,
    // y1 = 841.89 - 75.5 = 766.39, x2 = 225.5, y2 = 736.39; the clip is one unit larger.
    EXPECT_TRUE(c.startsWith("q\r\n74.75 735.64 151.50 31.50 re\r\nW\r\nn\r\n"
                             "1 1 0 rg\r\n75.50 736.39 150 30 re\r\nf\r\n"
                             "0 0 0 RG\r\n0.75 w\r\n75.50 766.39 m\r\n225.50 766.39 l\r\n"
                             "225.50 736.39 l\r\n75.50 736.39 l\r\n75.50 766.39 l\r\ns\r\n"))
        << c.toStdString();
    EXPECT_TRUE(c.contains("/F0 12 Tf\r\n0 0 0 rg\r\nBT\r\n"));
    EXPECT_TRUE(c.contains(") Tj\r\nET\r\nQ\r\n"));
    EXPECT_TRUE(c.contains("(\xD2\xE0\xF0\xE8\xF4) Tj")); // cp1251
    EXPECT_EQ(Count(c, "BI"), 0);
}

TEST(PdfExportObjects, FramesAreOneSegmentPerSide) {
    const struct {
        TrpFrameTypes Typ;
        int Segments;
        bool Closed;
    } cases[] = {{0, 0, false}, {ftBottom, 1, false}, {ftLeft | ftTop, 2, false}, {ftAll, 0, true}};
    for (const auto& c : cases) {
        auto memo = Memo(QString());
        memo->FrameRef().Typ = c.Typ;
        const QByteArray content = Content(One(std::move(memo)));
        EXPECT_EQ(Count(content, "\r\nS\r\n"), c.Segments) << c.Typ;
        EXPECT_EQ(content.contains("\r\ns\r\n"), c.Closed) << c.Typ;
        // An empty memo: clip, frame and Q only; no text, no font.
        EXPECT_FALSE(content.contains("Tf")) << c.Typ;
        EXPECT_TRUE(content.endsWith("Q\r\n"));
    }
    auto memo = Memo(QString());
    memo->FrameRef().Typ = ftAll;
    memo->FrameRef().Color = clNone; // an invisible frame is not drawn
    EXPECT_FALSE(Content(One(std::move(memo))).contains(" RG"));
}

TEST(PdfExportObjects, PictureLikeObjectsBecomeInlineJpeg) {
    auto rotated = [] {
        auto m = Memo(QStringLiteral("Повернут"));
        m->SetRotation(90);
        return std::unique_ptr<TrpView>(std::move(m));
    };
    auto hatched = [] {
        auto m = Memo(QStringLiteral("Штрих"));
        m->SetBrushStyle(bsCross);
        return std::unique_ptr<TrpView>(std::move(m));
    };
    auto picture = [] {
        auto p = std::make_unique<TrpPictureView>();
        p->SetBounds(10, 10, 96, 62);
        QImage logo(85, 57, QImage::Format_RGB32);
        logo.fill(Qt::blue);
        p->SetPicture(logo);
        p->FrameRef().Typ = ftAll;
        return std::unique_ptr<TrpView>(std::move(p));
    };
    const struct {
        std::function<std::unique_ptr<TrpView>()> Make;
        bool Optimized;
        int Width, Height;
    } cases[] = {{rotated, false, 800, 160}, // memos at 4 times the resolution
                 {hatched, false, 200, 40},  // but hatches at scale 1
                 {picture, false, 96, 62},
                 {picture, true, 384, 248}};
    for (const auto& c : cases) {
        std::unique_ptr<TrpView> view = c.Make();
        const bool framed = view->Frame().Typ == ftAll;
        const QByteArray content = Content(One(std::move(view)), c.Optimized);
        EXPECT_EQ(Count(content, "\r\nBI\r\n"), 1);
        EXPECT_TRUE(content.contains("/W " + QByteArray::number(c.Width) + "\r\n/H " +
                                     QByteArray::number(c.Height) +
                                     "\r\n/CS /RGB\r\n/BPC 8\r\n/I true\r\n/F [/DCT]\r\nID \xFF\xD8"))
            << c.Width;
        EXPECT_TRUE(content.contains("\xFF\xD9\r\nEI\r\nQ\r\n"));
        EXPECT_EQ(content.contains("\r\ns\r\n"), framed); // the frame follows as vectors
        EXPECT_FALSE(content.contains("Tj"));
    }
}

TEST(PdfExportObjects, TagsAreTextUnlessAllowed) {
    // Tags not allowed: written as they stand.
    auto plain = Memo(QStringLiteral("<b>Итог</b>"));
    EXPECT_TRUE(Content(One(std::move(plain))).contains("(<b>\xC8\xF2\xEE\xE3</b>) Tj"));
    // Allowed: the bold run uses the bold font, the rest the regular one; no picture.
    auto html = Memo(QStringLiteral("Итог: <b>6 075</b> руб."));
    html->SetAllowHTMLTags(true);
    const QByteArray c = Content(One(std::move(html)));
    EXPECT_EQ(Count(c, "BI\r\n"), 0);
    EXPECT_TRUE(c.contains("/F0 12 Tf")) << c.toStdString();
    EXPECT_TRUE(c.contains("/F2 12 Tf\r\nBT\r\n"));
    EXPECT_TRUE(c.contains("(6 075) Tj"));
    EXPECT_TRUE(c.contains("( \xF0\xF3\xE1.) Tj"));
    // With the filter's HTMLTags off the tags are removed but the text stays in one font.
    auto off = Memo(QStringLiteral("Итог: <b>6 075</b> руб."));
    off->SetAllowHTMLTags(true);
    const QByteArray o = Content(One(std::move(off)), false, false);
    EXPECT_FALSE(o.contains("/F2"));
    EXPECT_TRUE(o.contains("(\xC8\xF2\xEE\xE3: 6 075 \xF0\xF3\xE1.) Tj"));
}

TEST(PdfExportObjects, AlignmentAndUnderline) {
    // The same short text left, centred and right in equal boxes: x grows in that order and
    // the centred start lies halfway.
    std::vector<double> xs;
    for (TrpHAlign a : {haLeft, haCenter, haRight}) {
        auto memo = Memo(QStringLiteral("КБМ"));
        memo->SetHAlign(a);
        const QByteArray c = Content(One(std::move(memo)));
        const qsizetype td = c.indexOf(" Td");
        const qsizetype bt = c.lastIndexOf("BT\r\n", td) + 4;
        xs.push_back(c.mid(bt, td - bt).split(' ').front().toDouble());
    }
    ASSERT_EQ(xs.size(), 3u);
    EXPECT_NEAR(xs[0], 75.5 + 2 * 0.75, 0.8); // GapX 2
    EXPECT_LT(xs[0], xs[1]);
    EXPECT_LT(xs[1], xs[2]);
    EXPECT_NEAR(xs[1], (xs[0] + xs[2]) / 2, 1.0);

    auto link = Memo(QStringLiteral("www"));
    TrpFont f = link->Font();
    f.Style = fsUnderline;
    f.Color = clBlue;
    link->SetFont(f);
    const QByteArray c = Content(One(std::move(link)));
    EXPECT_TRUE(c.contains("0 0 1 rg\r\nBT"));
    EXPECT_TRUE(c.contains("0 0 1 RG\r\n0.96 w\r\n")); // 12 pt x 0.08
}

TEST(PdfExportObjects, PageBackgroundOnlyWhenAsked) {
    // The page's yellow fill, a picture of its printable area.
    EXPECT_TRUE(Content({}).isEmpty());
    const QByteArray c = Content({}, false, true, true);
    EXPECT_EQ(Count(c, "\r\nBI\r\n"), 1);
    EXPECT_TRUE(c.contains("/W 718\r\n/H 1047\r\n")) << c.left(200).toStdString();
}

TEST(PdfExportObjects, LinesAndShapesAreVectors) {
    auto make = [](TrpShapeKind kind, TColor fill) {
        auto s = std::make_unique<TrpShapeView>();
        s->SetBounds(100, 100, 200, 40);
        s->SetShape(kind);
        s->SetColor(fill);
        return std::unique_ptr<TrpView>(std::move(s));
    };
    auto line = std::make_unique<TrpLineView>();
    line->SetBounds(100, 100, 200, 0);
    const QByteArray stroke = "0 0 0 RG\r\n0.75 w\r\n";
    const struct {
        std::unique_ptr<TrpView> View;
        QByteArray Content;
    } cases[] = {
        {std::move(line), stroke + "75.50 766.39 m\r\n225.50 766.39 l\r\nS\r\n"},
        {make(skRectangle, clRed), stroke + "1 0 0 rg\r\n75.50 736.39 150 30 re\r\nB\r\n"},
        {make(skRectangle, clNone), stroke + "75.50 736.39 150 30 re\r\nS\r\n"},
        {make(skDiagonal1, clNone), stroke + "75.50 736.39 m\r\n225.50 766.39 l\r\nS\r\n"},
        {make(skDiagonal2, clNone), stroke + "75.50 766.39 m\r\n225.50 736.39 l\r\nS\r\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::unique_ptr<TrpView>> list;
        list.push_back(std::unique_ptr<TrpView>(static_cast<TrpView*>(c.View->Clone().release())));
        EXPECT_EQ(Content(std::move(list)), c.Content);
    }
    // An ellipse has no vector form here: a picture.
    EXPECT_TRUE(Content(One(make(skEllipse, clRed))).contains("\r\nBI\r\n"));
}
