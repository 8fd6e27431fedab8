// The prepared-report store: item tree, aliases, differences, rebuilt pages, text form.
#include "ReportFixtures.h"

#include "report/Attributes.h"
#include "report/PreparedPageStore.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace report;
using script::Variant;

namespace {

TEST(PreparedStore, ItemTreeHoldsBandThenAliasedDifferences) {
    auto r = reporttest::NewReport();
    r->Variables().SetVariableValue("X", Variant("'значение'"));
    reporttest::AddMemo(*r, "Memo1", "[X]");
    reporttest::AddMemo(*r, "Memo2", "постоянный");
    auto pic = std::make_unique<TrpPictureView>();
    pic->SetName("Picture1");
    r->Pages(0)->Add(std::move(pic));
    ASSERT_TRUE(r->Prepare());

    TrpXMLItem* root = r->PreviewPages().Document().Root();
    EXPECT_EQ(root->Name(), "preparedreport");
    TrpXMLItem* pages = root->FindItem("previewpages");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->Count(), 1);
    TrpXMLItem* page = pages->Items(0);
    EXPECT_EQ(page->Name(), "page0");
    ASSERT_EQ(page->Count(), 4);
    EXPECT_EQ(page->Items(0)->Name(), "TrpNullBand");
    EXPECT_TRUE(page->Items(0)->Text().contains(" Width=\"718"));
    EXPECT_EQ(page->Items(1)->Name(), "m1");
    EXPECT_EQ(page->Items(1)->Text(), " u=\"значение\"");
    EXPECT_EQ(page->Items(2)->Name(), "m2");
    EXPECT_EQ(page->Items(2)->Text(), " u=\"постоянный\"");
    EXPECT_EQ(page->Items(3)->Name(), "p1");
    EXPECT_EQ(page->Items(3)->Text(), "");

    const TrpDictionary& d = r->PreviewPages().Dictionary();
    ASSERT_NE(d.Find("m2"), nullptr);
    EXPECT_EQ(d.Find("m2")->SourceName, "Page0.Memo2");
}

TEST(PreparedStore, AliasProbing) {
    const struct {
        std::vector<int> Taken;
        const char* Expected;
    } cases[] = {
        {{}, "m1"}, {{1}, "m2"}, {{1, 2, 3}, "m4"}, {{1, 3}, "m2"}, {{5000}, "m5001"}, {{1, 2, 4}, "m5"},
    };
    for (const auto& c : cases) {
        TrpDictionary d;
        for (int n : c.Taken)
            d.Add("m" + QString::number(n), "Page0.X", nullptr);
        EXPECT_EQ(d.CreateUniqueName("m"), c.Expected);
    }
    // Many objects: the shortcut through the taken run gives what counting would.
    TrpDictionary big;
    for (int i = 0; i < 12000; ++i)
        big.Add(big.CreateUniqueName("m"), "Page0.X", nullptr);
    EXPECT_NE(big.Find("m12000"), nullptr);
    EXPECT_EQ(big.CreateUniqueName("m"), "m12001");
    EXPECT_EQ(big.CreateUniqueName("p"), "p1");
    TrpDictionary gap;
    for (int n : {1, 2, 3, 10000, 10001})
        gap.Add("m" + QString::number(n), "Page0.X", nullptr);
    EXPECT_EQ(gap.CreateUniqueName("m"), "m10002");
}

TEST(PreparedStore, DifferencesCarryChangedPropertiesOnly) {
    TrpMemoView source, printed;
    source.SetBounds(1, 2, 3, 4);
    source.SetText("a");
    printed.Assign(source);
    printed.SetLeft(1.5);
    printed.SetHeight(8);
    printed.SetHAlign(haCenter);
    printed.SetText("строка \"1\"\r\n<2>");
    AttrWriter w;
    printed.WriteDiff(w, source);
    const QString sep = FloatToAttr(1.5).mid(1, 1);
    EXPECT_EQ(w.Text(),
              " l=\"1" + sep + "5\" h=\"8\" HAlign=\"2\" u=\"строка &#34;1&#34;&#13;&#10;&#60;2&#62;\"");

    TrpMemoView rebuilt;
    rebuilt.Assign(source);
    rebuilt.ApplyAttributes(w.Text());
    EXPECT_EQ(rebuilt.Left(), 1.5);
    EXPECT_EQ(rebuilt.Height(), 8);
    EXPECT_EQ(rebuilt.HAlign(), haCenter);
    EXPECT_EQ(rebuilt.Text(), printed.Text());

    // An aligned view never stores its left.
    printed.SetAlign(baCenter);
    source.SetAlign(baCenter);
    AttrWriter w2;
    printed.WriteDiff(w2, source);
    EXPECT_FALSE(w2.Text().contains(" l=")) << w2.Text().toStdString();
}

TEST(PreparedStore, FullAttributesRoundTrip) {
    TrpMemoView m;
    m.SetName("Memo7");
    m.SetBounds(-2.449374412499992L, -2, 723, 81);
    m.SetAllowHTMLTags(true);
    m.SetHAlign(haCenter);
    m.SetGapY(3);
    m.FrameRef().Typ = ftBottom;
    TrpFont f;
    f.Size = 8;
    f.Style = fsBold | fsUnderline;
    f.Color = clBlue;
    m.SetFont(f);
    m.SetText("<b>жирный</b>\r\n\"кавычки\"");
    AttrWriter w;
    m.WriteFull(w);
    TrpMemoView back;
    back.ApplyAttributes(w.Text());
    EXPECT_EQ(back.Name(), "Memo7");
    EXPECT_NEAR(double(back.Left()), -2.449374412499992, 1e-13);
    EXPECT_TRUE(back.AllowHTMLTags());
    EXPECT_EQ(back.HAlign(), haCenter);
    EXPECT_EQ(back.GapY(), 3);
    EXPECT_EQ(back.Frame().Typ, ftBottom);
    EXPECT_EQ(back.Font(), f);
    EXPECT_EQ(back.Text(), m.Text());
}

TEST(PreparedStore, FloatsReadWithEitherSeparator) {
    Extended v = 0;
    EXPECT_TRUE(AttrToFloat("1,5", v));
    EXPECT_EQ(v, 1.5L);
    EXPECT_TRUE(AttrToFloat(" -2.25 ", v));
    EXPECT_EQ(v, -2.25L);
    EXPECT_FALSE(AttrToFloat("abc", v));
    EXPECT_FALSE(AttrToFloat("", v));
}

TEST(PreparedStore, RebuiltPagesAreCachedForTheFiftyMostRecent) {
    auto r = reporttest::NewReport();
    reporttest::AddMemo(*r, "M", "[Page#]");
    r->Pages(0)->SetPrintOnPreviousPage(false);
    for (int i = 1; i < 60; ++i) {
        TrpReportPage* p = r->AddPage();
        auto memo = std::make_unique<TrpMemoView>();
        memo->SetName("M" + QString::number(i));
        memo->SetText("[Page#]");
        p->Add(std::move(memo));
    }
    ASSERT_TRUE(r->Prepare());
    TrpPreviewPages& pages = r->PreviewPages();
    ASSERT_EQ(pages.Count(), 60);
    TrpReportPage* first = pages.Page(0);
    EXPECT_EQ(dynamic_cast<TrpMemoView*>(first->FindObject("M"))->Text(), "1");
    for (int i = 1; i < 50; ++i)
        pages.Page(i);
    EXPECT_EQ(pages.Page(0), first); // still among the fifty
    for (int i = 50; i < 60; ++i)
        pages.Page(i);
    TrpReportPage* again = pages.Page(59);
    EXPECT_EQ(dynamic_cast<TrpMemoView*>(again->FindObject("M59"))->Text(), "60");
    EXPECT_EQ(pages.PageSize(0), QSize(794, 1123));
}

TEST(PreparedStore, TextFormRoundTripAndBadInput) {
    TrpXMLDocument doc;
    doc.Root()->SetName("preparedreport");
    TrpXMLItem* page = doc.Root()->Add("previewpages")->Add("page0");
    page->Add("m1")->SetProp("u", "кавычка \" и <тег>\r\nвторая & строка");
    page->Add("TrpNullBand", " Name=\"x\"");
    const QByteArray bytes = doc.SaveToBytes();
    EXPECT_TRUE(
        bytes.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?><preparedreport><previewpages><page0>"));

    TrpXMLDocument back;
    TrpFileError error;
    ASSERT_TRUE(back.LoadFromBytes(bytes, error)) << FileErrorText(error, TrpLanguage::English).toStdString();
    TrpXMLItem* p = back.Root()->FindItem("PREVIEWPAGES")->Items(0);
    EXPECT_EQ(p->Name(), "page0");
    EXPECT_EQ(p->Items(0)->Prop("u"), "кавычка \" и <тег>\r\nвторая & строка");
    EXPECT_EQ(p->Items(1)->Prop("name"), "x");

    for (const char* bad : {"<preparedreport/>", "<?xml?><a><b></a>", "<?xml?><a", "<?xml?><a <b>>"}) {
        TrpXMLDocument d;
        EXPECT_FALSE(d.LoadFromBytes(bad, error)) << bad;
        EXPECT_EQ(error.Fault, TrpFileFault::Syntax);
    }
    // What a device gives is read up to the bound only, however well-formed.
    QBuffer endless;
    endless.setData("<?xml?><a>" + QByteArray("<b/>").repeated(1000) + "</a>");
    ASSERT_TRUE(endless.open(QIODevice::ReadOnly));
    EXPECT_FALSE(TrpXMLDocument().LoadFromDevice(endless, error, {}, 1000));
    // The reader names the fault and its bound; each language says it in its own words.
    EXPECT_EQ(error, (TrpFileError{TrpFileFault::FileTooLong, {}, {1000}}));
    EXPECT_EQ(FileErrorText(error, TrpLanguage::English),
              "Invalid file format: the file is longer than 1000 bytes");
    EXPECT_EQ(FileErrorText(error, TrpLanguage::Russian),
              "Неверный формат файла: файл длиннее 1\u00a0000 байт");
}

} // namespace
