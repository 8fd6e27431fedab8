// The 600-dpi text layout: wrapping, hyphenation, tags, spreading of pixels.
#include "report/DrawText.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

QStringList LineTexts(const TrpDrawText& t) {
    QStringList out;
    for (const TrpTextLine& l : t.Lines())
        out << l.Text;
    return out;
}

TrpTextSettings Arial(int size = 10) {
    TrpTextSettings s;
    s.Font.Name = "Arial";
    s.Font.Size = size;
    return s;
}

TEST(TextLayout, WrapsAtSpacesCutsWordsAndKeepsWholeLinesWhenAsked) {
    TrpDrawText t;
    TrpTextSettings s = Arial();
    const QString text = "Коэффициент количества лиц, допущенных к управлению:";
    t.Layout({text}, s, 150);
    const QStringList wrapped = LineTexts(t);
    ASSERT_GT(wrapped.size(), 1);
    EXPECT_EQ(wrapped.join(' '), text); // broken at spaces, spaces dropped
    for (const TrpTextLine& l : t.Lines())
        EXPECT_LE(l.Width(), 150 * 6.25 + 0.5) << l.Text.toStdString();
    EXPECT_TRUE(t.Lines().front().ParagraphStart);
    EXPECT_FALSE(t.Lines().front().ParagraphEnd);
    EXPECT_TRUE(t.Lines().back().ParagraphEnd);

    s.WordWrap = false;
    t.Layout({text}, s, 150);
    EXPECT_EQ(LineTexts(t), QStringList{text});

    s.WordWrap = true;
    t.Layout({"ОченьДлинноеСловоБезПробелов"}, s, 60);
    ASSERT_GT(t.Lines().size(), 1u);
    EXPECT_EQ(LineTexts(t).join(""), "ОченьДлинноеСловоБезПробелов");

    // A rectangle narrower than one character still gives one character per line.
    t.Layout({"ШЩЖ"}, s, 2);
    EXPECT_EQ(LineTexts(t), QStringList({"Ш", "Щ", "Ж"}));
}

TEST(TextLayout, EmptyLinesTakeALineOfHeight) {
    TrpDrawText t;
    t.Layout({"а", "", "б"}, Arial(), 200);
    EXPECT_EQ(t.Lines().size(), 3u);
    const Extended line = t.FontHeight600() / 6.25L + 2;
    EXPECT_NEAR(double(t.CalcHeight()), double(3 * line), 1e-9);
    // Arial 10 pt at 600 dpi: an 83-pixel em, 93-pixel cell.
    EXPECT_EQ(t.FontHeight600(), 93);
}

TEST(TextLayout, HyphenPointsOfRussianWords) {
    const struct {
        const char* Word;
        std::vector<int> Points;
    } cases[] = {
        {"касса", {3}}, {"страхование", {4, 6, 8}}, {"кот", {}}, {"район", {}},
        {"ТАРИФ", {2}}, {"мощности", {2, 3, 5, 6}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrpDrawText::HyphenPoints(QString::fromUtf8(c.Word)), c.Points) << c.Word;
}

TEST(TextLayout, WordBreakHyphenatesTheWordThatDoesNotFit) {
    TrpDrawText t;
    TrpTextSettings s = Arial();
    s.WordBreak = true;
    t.Layout({"Страхование транспорта"}, s, 70);
    ASSERT_GE(t.Lines().size(), 2u);
    EXPECT_TRUE(t.Lines()[0].Text.endsWith('-')) << t.Lines()[0].Text.toStdString();
    QString joined;
    for (const TrpTextLine& l : t.Lines())
        joined += l.Text.endsWith('-') ? l.Text.chopped(1) : l.Text + " ";
    EXPECT_EQ(joined.trimmed(), "Страхование транспорта");
    for (const TrpTextLine& l : t.Lines())
        EXPECT_LE(l.Width(), int(70 * 6.25)) << l.Text.toStdString();
}

TEST(TextLayout, TagsSetAttributesWithoutNesting) {
    TrpFont font;
    font.Size = 12;
    TrpHTMLTag state{12, false, false, 0, clBlack};
    std::vector<TrpHTMLTag> tags;
    const struct {
        const char* Line;
        const char* Plain;
    } cases[] = {
        {"<B>ж</B>н", "жн"},
        {"<font color=red>к</font><font color=\"#FF0000\">к</font>", "кк"},
        {"<i><u>x</i>y</u>", "xy"},
        {"H<sub>2</sub>O x<sup>2</sup>", "H2O x2"},
        {"<xyz>три буквы <abcd> и <font color=#FF0000>", "три буквы <abcd> и <font color=#FF0000>"},
        {"a < b > c", "a < b > c"},
    };
    std::vector<std::vector<TrpHTMLTag>> all;
    for (const auto& c : cases) {
        EXPECT_EQ(TrpDrawText::ParseTags(QString::fromUtf8(c.Line), font, state, tags),
                  QString::fromUtf8(c.Plain))
            << c.Line;
        all.push_back(tags);
    }
    EXPECT_TRUE(all[0][0].Style & fsBold);
    EXPECT_FALSE(all[0][1].Style & fsBold);
    EXPECT_EQ(all[1][0].Color, clRed);
    EXPECT_EQ(all[1][1].Color, clRed);
    EXPECT_EQ(all[2][0].Style, fsItalic | fsUnderline);
    EXPECT_EQ(all[2][1].Style, fsUnderline); // </i> ends italic though opened first
    EXPECT_EQ(all[3][1].Size, 8);
    EXPECT_TRUE(all[3][1].Shifted);
    EXPECT_EQ(all[3][2].Size, 12);
    EXPECT_FALSE(all[3][5].Shifted);
    EXPECT_TRUE(all[3][5].Reduced);
}

TEST(TextLayout, BoldTextMeasuresWider) {
    TrpDrawText t;
    TrpTextSettings s = Arial();
    s.AllowHTMLTags = true;
    t.Layout({"Тарифон"}, s, 500);
    const int plain = t.Lines()[0].Width();
    t.Layout({"<b>Тарифон</b>"}, s, 500);
    EXPECT_GT(t.Lines()[0].Width(), plain);
    EXPECT_EQ(t.Lines()[0].Text, "Тарифон");
}

TEST(TextLayout, PixelsAreSpreadEvenly) {
    const struct {
        int Count, Pixels;
        std::vector<int> Expected;
    } cases[] = {
        {4, 1, {0, 1, 0, 0}}, {4, 3, {1, 0, 1, 1}}, {4, 5, {1, 2, 1, 1}},
        {3, -1, {-1, 0, 0}},  {1, 2, {2}},          {4, 0, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        std::vector<int> cells(size_t(c.Count), 0);
        TrpDrawText::SpreadEvenly(cells, 0, c.Count, c.Pixels);
        EXPECT_EQ(cells, c.Expected) << c.Count << " " << c.Pixels;
    }
}

} // namespace
