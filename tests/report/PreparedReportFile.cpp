// Saving and loading prepared reports (".trp").
#include "ReportFixtures.h"

#include "report/PreparedPageStore.h"
#include "report/PreparedReportFile.h"
#include "report/ShapeViews.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report;
using reporttest::NewReport;

namespace {

const QString kTricky = QStringLiteral("Say \"hi\" <b>&amp; a < b > c\r\nsecond line & more\r\nКириллица");

std::unique_ptr<TrpReport> PreparedSample(int pages = 2) {
    auto r = NewReport();
    for (int p = 1; p < pages; ++p)
        r->AddPage()->SetName(QStringLiteral("Page%1").arg(p + 1));
    for (int p = 0; p < pages; ++p) {
        TrpReportPage* page = r->Pages(p);
        page->SetLeftMargin(10.00125L);
        auto moved = std::make_unique<TrpMemoView>();
        moved->SetName(QStringLiteral("Tricky%1").arg(p));
        moved->SetText(kTricky);
        moved->SetBounds(14.25L, 135.5L, 530.48825L, 30.89765L);
        moved->FrameRef().Typ = ftAll;
        moved->SetHAlign(haCenter);
        TrpFont f;
        f.Name = QStringLiteral("Arial");
        f.Size = 12;
        f.Style = fsBold;
        f.Charset = RUSSIAN_CHARSET;
        moved->SetFont(f);
        page->Add(std::move(moved));
        auto value = std::make_unique<TrpMemoView>();
        value->SetName(QStringLiteral("Value%1").arg(p));
        value->SetText(QStringLiteral("[V]"));
        value->SetBounds(599, 166.04166667L, 102.48825L, 30.89765L);
        page->Add(std::move(value));
        auto centered = std::make_unique<TrpMemoView>();
        centered->SetName(QStringLiteral("Centered%1").arg(p));
        centered->SetText(QStringLiteral("header"));
        centered->SetBounds(0, -2, 723, 81);
        centered->SetAlign(baCenter);
        page->Add(std::move(centered));
        auto picture = std::make_unique<TrpPictureView>();
        picture->SetName(QStringLiteral("Logo%1").arg(p));
        picture->SetBounds(15, 7, 96, 62);
        QImage logo(8, 4, QImage::Format_RGB32);
        logo.fill(QColor(10, 20, 30));
        picture->SetPicture(logo);
        page->Add(std::move(picture));
    }
    r->Variables().SetVariableValue(QStringLiteral("V"), std::string("'1,5 руб.'"));
    r->PreviewOptions.OutlineWidth = 150;
    EXPECT_TRUE(r->Prepare());
    return r;
}

struct Snapshot {
    QString Class, Name, Text;
    double Left, Top, Width, Height;
    TrpFont Font;
    int Frame;
    bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os) {
    *os << s.Class.toStdString() << " " << s.Name.toStdString() << " \"" << s.Text.toStdString() << "\" "
        << s.Left << "," << s.Top << " " << s.Width << "x" << s.Height << " font "
        << s.Font.Name.toStdString() << " " << s.Font.Size << " style " << s.Font.Style << " frame "
        << s.Frame;
}

std::vector<Snapshot> Pages(TrpReport& r) {
    std::vector<Snapshot> out;
    for (int i = 0; i < r.PreviewPages().Count(); ++i)
        for (const auto& o : r.PreviewPages().Page(i)->Objects()) {
            Snapshot s{o->ClassName(),      o->Name(),        {},
                       double(o->Left()),   double(o->Top()), double(o->Width()),
                       double(o->Height()), o->Font(),        0};
            if (auto* m = dynamic_cast<TrpCustomMemoView*>(o.get()))
                s.Text = m->Text();
            if (auto* v = dynamic_cast<TrpView*>(o.get()))
                s.Frame = v->Frame().Typ;
            out.push_back(s);
        }
    return out;
}

TEST(PreparedReportFile, RoundTripGivesTheSamePages) {
    auto r = PreparedSample();
    const QByteArray bytes = TrpPreparedReportFile::SaveToBytes(*r);
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?><preparedreport>"));
    EXPECT_FALSE(bytes.contains('\n'));
    EXPECT_TRUE(bytes.contains("Say &#34;hi&#34; &#60;b&#62;&amp; a &#60; b &#62; c&#13;&#10;second"));

    auto loaded = NewReport();
    const TrpLoadResult result = TrpPreparedReportFile::LoadFromBytes(*loaded, bytes);
    ASSERT_TRUE(result.Ok) << result.Message().toStdString();
    EXPECT_TRUE(result.Errors.isEmpty());
    const auto before = Pages(*r), after = Pages(*loaded);
    ASSERT_EQ(after.size(), 10u); // the engine's band and four objects a page
    EXPECT_EQ(after, before);
    auto* tricky = dynamic_cast<TrpMemoView*>(loaded->PreviewPages().Page(1)->FindObject("Tricky1"));
    ASSERT_TRUE(tricky);
    EXPECT_EQ(tricky->Text(), kTricky);
    EXPECT_EQ(dynamic_cast<TrpMemoView*>(loaded->PreviewPages().Page(0)->FindObject("Value0"))->Text(),
              "1,5 руб.");
    auto* logo = dynamic_cast<TrpPictureView*>(loaded->PreviewPages().Page(0)->FindObject("Logo0"));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->Picture().size(), QSize(8, 4));
    EXPECT_EQ(logo->Picture().pixelColor(1, 1), QColor(10, 20, 30));
    EXPECT_EQ(loaded->PreviewOptions.OutlineWidth, 150);
    // The loaded store saves to the same text.
    EXPECT_EQ(TrpPreparedReportFile::SaveToBytes(*loaded), bytes);
    EXPECT_FALSE(loaded->PreviewPages().Document().Root()->FindItem("sourcepages"));
}

TEST(PreparedReportFile, EitherDecimalSeparatorReadsTheSamePositions) {
    auto r = PreparedSample(1);
    const QByteArray bytes = TrpPreparedReportFile::SaveToBytes(*r);
    const QString text = QString::fromUtf8(bytes);
    // The same file as written where the separator is the other one.
    QString comma = text, point = text;
    comma.replace(QRegularExpression(QStringLiteral("=\"(-?\\d+)\\.(\\d+)\"")),
                  QStringLiteral("=\"\\1,\\2\""));
    point.replace(QRegularExpression(QStringLiteral("=\"(-?\\d+),(\\d+)\"")), QStringLiteral("=\"\\1.\\2\""));
    ASSERT_NE(comma, point);
    for (const QString& variant : {comma, point}) {
        auto loaded = NewReport();
        ASSERT_TRUE(TrpPreparedReportFile::LoadFromBytes(*loaded, variant.toUtf8()).Ok);
        EXPECT_EQ(Pages(*loaded), Pages(*r));
        EXPECT_EQ(loaded->PreviewPages().Page(0)->LeftMargin(), 10.00125L);
    }
}

class MalformedFile : public ::testing::TestWithParam<const char*> {};

TEST_P(MalformedFile, IsRejectedAndTheShownPagesStay) {
    auto r = PreparedSample(2);
    const auto before = Pages(*r);
    const TrpLoadResult result = TrpPreparedReportFile::LoadFromBytes(*r, QByteArray(GetParam()));
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message(), "Invalid file format");
    EXPECT_EQ(Pages(*r), before);
    EXPECT_EQ(r->PreviewPages().SourcePagesCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MalformedFile,
    ::testing::Values("", "plain text", "<preparedreport><previewpages/></preparedreport>",
                      "<?xml version=\"1.0\"?>", "<?xml version=\"1.0\"?><preparedreport><previewpages>",
                      "<?xml?><preparedreport><previewpages></preparedreport></previewpages>",
                      "<?xml?><preparedreport <previewpages/></preparedreport>",
                      "<?xml?><preparedreport><previewpages/></preparedreport><second/>",
                      "<?xml?><preparedreport><previewpages/><!-- never closed </preparedreport>",
                      "<?xml?><preparedreport><previewpages/></preparedreport",
                      "<?xml?><otherdocument><previewpages/></otherdocument>",
                      "<?xml?><preparedreport></preparedreport>",
                      "<?xml?><preparedreport><previewpages><junk/></previewpages></preparedreport>"));

TEST(PreparedReportFile, DeepNestingIsRejectedWithoutHarm) {
    QByteArray deep = "<?xml?><preparedreport><previewpages>";
    for (int i = 0; i < 200000; ++i)
        deep += "<a>";
    auto r = NewReport();
    EXPECT_EQ(TrpPreparedReportFile::LoadFromBytes(*r, deep).Message(),
              "Invalid file format: items nest deeper than 256 levels");
}

TEST(PreparedReportFile, UnknownClassesAreReportedAndSkipped) {
    auto r = PreparedSample(1);
    QByteArray bytes = TrpPreparedReportFile::SaveToBytes(*r);
    bytes.replace("<TrpPictureView Name=\"Logo0\"", "<TrpFancyView Name=\"Logo0\"");
    auto loaded = NewReport();
    const TrpLoadResult result = TrpPreparedReportFile::LoadFromBytes(*loaded, bytes);
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Errors, QStringList{"Не найден класс TrpFancyView"});
    EXPECT_TRUE(loaded->Errors().contains("Не найден класс TrpFancyView"));
    TrpReportPage* page = loaded->PreviewPages().Page(0);
    EXPECT_TRUE(page->FindObject("Tricky0"));
    EXPECT_FALSE(page->FindObject("Logo0"));
}

TEST(PreparedReportFile, OtherViewsSurvive) {
    auto r = NewReport();
    auto line = std::make_unique<TrpLineView>();
    line->SetName("Line1");
    line->SetBounds(0, 50, 300, 0);
    line->FrameRef().Color = clRed;
    r->Pages(0)->Add(std::move(line));
    auto shape = std::make_unique<TrpShapeView>();
    shape->SetName("Shape1");
    shape->SetShape(skEllipse);
    shape->SetBounds(10, 60, 40, 40);
    r->Pages(0)->Add(std::move(shape));
    ASSERT_TRUE(r->Prepare());
    auto loaded = NewReport();
    const QByteArray bytes = TrpPreparedReportFile::SaveToBytes(*r);
    ASSERT_TRUE(TrpPreparedReportFile::LoadFromBytes(*loaded, bytes).Ok) << bytes.toStdString();
    EXPECT_EQ(Pages(*loaded), Pages(*r));
    EXPECT_EQ(Pages(*r).size(), 3u);
    auto* s = dynamic_cast<TrpShapeView*>(loaded->PreviewPages().Page(0)->FindObject("Shape1"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Shape(), skEllipse);
}

TEST(PreparedReportFile, Files) {
    QTemporaryDir dir;
    auto r = PreparedSample(1);
    const QString name = dir.filePath("sheet.trp");
    EXPECT_EQ(SavePreparedReportFile(*r, name), "");
    // Saving again replaces the file whole.
    EXPECT_EQ(SavePreparedReportFile(*r, name), "");
    auto loaded = NewReport();
    EXPECT_EQ(LoadPreparedReportFile(*loaded, name), "");
    EXPECT_EQ(Pages(*loaded), Pages(*r));

    EXPECT_NE(LoadPreparedReportFile(*loaded, dir.filePath("missing.trp")), "");
    EXPECT_EQ(loaded->PreviewPages().Count(), 1);

    QFile bad(dir.filePath("bad.trp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("<html><body>not ours</body></html>");
    bad.close();
    EXPECT_EQ(LoadPreparedReportFile(*loaded, bad.fileName()), "Invalid file format");
    EXPECT_EQ(loaded->PreviewPages().Count(), 1);

    // A save that cannot be made leaves nothing behind.
    const QString blocked = dir.filePath("no-such-dir/sheet.trp");
    EXPECT_NE(SavePreparedReportFile(*r, blocked), "");
    EXPECT_FALSE(QFile::exists(blocked));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

} // namespace
