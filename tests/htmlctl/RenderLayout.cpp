// Layout results of the mini-HTML renderer: line sizes, line breaks and the tag set.
#include <QBuffer>
#include <gtest/gtest.h>

#include "HtmlTestSupport.h"
#include "htmlctl/PictureContainer.h"
#include "platform/ImageList.h"

using namespace htmltest;
using htmlctl::RenderHTML;
using htmlctl::THTMLRenderIn;
using htmlctl::THTMLRenderOut;

namespace {

QFont Styled(bool bold, bool italic = false, int pixels = 11) {
    QFont f = Tahoma(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

struct LayoutCase {
    const char* name;
    QString text;
    int width; // box width; the pen starts one pixel inside
    bool wrap;
    int xsize;            // widest line
    int ysize;            // sum of line heights
    const char* stripped; // nullptr: not checked
};

} // namespace

TEST(RenderLayout, TagSetAndLineBreaks) {
    const int h = Cell();
    // A box in which "aaa bbb " fits but "aaa bbb ccc" does not.
    const int twoWords = Advance("aaa bbb ccc") - 2 + 1;
    // Tab stops: every eight average character widths from the start of a run.
    const int tab = 8 * htmlctl::CellMetrics(Tahoma()).AveCharWidth;
    const QString wide(12, u'm');
    const LayoutCase cases[] = {
        {"empty text is one line of gh", "", 400, true, 0, h, ""},
        {"plain caption", QString("Россия"), 400, true, Advance(QString("Россия")), h, "Россия"},
        {"owner caption fits the button",
         QString("Физическое лицо или предприниматель без образования юридического лица"), 402, true,
         Advance(QString("Физическое лицо или предприниматель без образования юридического лица")), h,
         nullptr},
        {"wraps at a space, trailing space not counted", "aaa bbb ccc", twoWords, true, Advance("aaa bbb"),
         2 * h, "aaa bbb ccc"},
        {"one word per line in a narrow box", "aaa aaa aaa", Advance("aaa") + 2, true, Advance("aaa"), 3 * h,
         nullptr},
        {"a word wider than the box stays whole", "Supercalifragilistic", 30, true,
         Advance("Supercalifragilistic"), h, nullptr},
        {"no wrap keeps one line", "aaa bbb ccc", 20, false, Advance("aaa bbb ccc"), h, nullptr},
        {"BR ends the line", "ab<BR>c", 400, true, Advance("ab"), 2 * h, "abc"},
        {"carriage return is a BR, line feed dropped", "ab\r\nc", 400, true, Advance("ab"), 2 * h, "abc"},
        {"HR ends the line", "a<HR>bcd", 400, true, Advance("bcd"), 2 * h, "abcd"},
        {"closing P ends the line", "<P>ab</P>cde", 400, true, Advance("cde"), 2 * h, "abcde"},
        {"unknown tags are dropped", "<X>ab</X><TABLE>c", 400, true, Advance("abc"), h, "abc"},
        {"unterminated tag ends the text", "abc<B def", 400, true, Advance("abc"), h, "abc"},
        {"lone < ends the text", "ab<", 400, true, Advance("ab"), h, "ab"},
        {"&amp; is one literal ampersand", "a&amp;b", 400, true, Advance("a&b"), h, "a&&b"},
        {"entities ignore case", "&QUOT;&Euro;&copy;&sect;", 400, true, Advance(u"\"€©§"_qs), h, "\"€©§"},
        {"run entities", "a&lt;b&gt;&nbsp;c", 400, true, Advance("a<b> c"), h, "a<b> c"},
        {"accelerator marker takes no room", QString("&Юридическое лицо"), 400, true,
         Advance(QString("Юридическое лицо")), h, nullptr},
        {"<#...> marker keeps its text", "<#ab>c", 400, true, Advance("abc"), h, "abc"},
        {"bold run", "a<B>bold</B>c", 400, true, Advance("a") + Advance("bold", Styled(true)) + Advance("c"),
         h, "aboldc"},
        {"italic run", "<I>it</I>", 400, true, Advance("it", Styled(false, true)), h, "it"},
        {"FONT SIZE 3 is 12 points", "<FONT SIZE=\"3\">Ab</FONT>", 400, true, Advance("Ab", Tahoma(16)),
         Cell(Tahoma(16)), "Ab"},
        {"tags and attribute names ignore case", "<font size=\"3\">Ab</font>", 400, true,
         Advance("Ab", Tahoma(16)), Cell(Tahoma(16)), "Ab"},
        {"FONT SIZE 20 is 20 points", "<FONT SIZE=\"20\">Ab</FONT>", 400, true, Advance("Ab", Tahoma(27)),
         Cell(Tahoma(27)), "Ab"},
        {"font size carries to the next line", "<FONT SIZE=\"5\">a<BR>b", 400, true,
         qMax(Advance("a", Tahoma(21)), Advance("b", Tahoma(21))), 2 * Cell(Tahoma(21)), "ab"},
        {"closing FONT restores the start size", "<FONT SIZE=\"5\">a</FONT><BR>b", 400, true,
         Advance("a", Tahoma(21)), Cell(Tahoma(21)) + h, "ab"},
        {"superscript adds a quarter", "x<SUP>2</SUP>", 400, true, Advance("x2"), h + h / 4, "x2"},
        {"subscript adds a quarter", "x<SUB>2</SUB>", 400, true, Advance("x2"), h + h / 4, "x2"},
        {"hidden text takes no room", "a<Z>hidden</Z>b", 400, true, Advance("ab"), h, "ab"},
        {"IND moves the pen", "<IND x=\"50\">a", 400, true, 50 + Advance("a"), h, "a"},
        {"IND never moves back", "abcdefgh<IND x=\"2\">a", 400, true, Advance("abcdefgha"), h, nullptr},
        {"list items indent by 12", "<LI>a<LI>bb", 400, true, 12 + Advance("bb"), 2 * h, "abb"},
        {"UL nests the list and ends the line", "<UL><LI>a", 400, true, 12 + Advance("a"), 2 * h, "a"},
        {"paragraph indent", "<P INDENT=\"30\">ab", 400, true, Advance("ab"), h, "ab"},
        {"a tab goes to the next stop", "a\tb", 400, true, tab + Advance("b"), h, "a\tb"},
        {"a leading tab takes a whole stop", "\tb", 400, true, tab + Advance("b"), h, nullptr},
        {"text past a stop tabs to a later one", wide + "\tb", 400, true,
         (Advance(wide) / tab + 1) * tab + Advance("b"), h, nullptr},
        {"stops count from the start of each run", "ab \tc", 400, true, Advance("ab ") + tab + Advance("c"),
         h, nullptr},
        {"deep unbalanced tags",
         QString("<B><I><U><S>").repeated(50) + "x" + QString("</S></B>").repeated(70), 400, true,
         Advance("x", Styled(true, true)), h, "x"},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const THTMLRenderOut out = Measure(c.text, c.width, c.wrap);
        EXPECT_EQ(out.XSize, c.xsize);
        EXPECT_EQ(out.YSize, c.ysize);
        if (c.stripped) {
            EXPECT_EQ(out.StrippedText, QString::fromUtf8(c.stripped));
        }
    }
}

TEST(RenderLayout, CalculatorCaptionsInTheirButtons) {
    // The text box of an owner-group button: 402 x 25 from (18, 4); lines need 13 pixels.
    struct Case {
        int boxHeight;
        int drawnLines;
    };
    const QString two = "aaa bbb";
    // A 29-pixel button leaves 25 for text: the second line would need 30. One more pixel
    // and it fits.
    for (const Case c : {Case{25, 1}, Case{26, 2}, Case{60, 2}}) {
        SCOPED_TRACE(c.boxHeight);
        THTMLRenderIn in;
        in.Font = Tahoma();
        in.Text = two;
        in.Rect = QRect(18, 4, Advance("aaa ") + 1, c.boxHeight);
        THTMLRenderOut out;
        Draw(in, QSize(430, 80), &out);
        EXPECT_EQ(out.YSize, c.drawnLines * Cell());
    }
}

TEST(RenderLayout, PlainCaptionStartsOnePixelInside) {
    THTMLRenderIn in;
    in.Font = Tahoma();
    in.Text = "H";
    in.Rect = QRect(18, 4, 100, 25);
    const QImage img = Draw(in, QSize(130, 30));
    QImage ref(img.size(), QImage::Format_RGB32);
    ref.fill(Qt::white);
    {
        QPainter p(&ref);
        p.setFont(Tahoma());
        p.setPen(Qt::black);
        p.drawText(19, 4 + htmlctl::CellMetrics(Tahoma()).Ascent, "H");
    }
    EXPECT_EQ(img, ref);
}

TEST(RenderLayout, EmptyTextIsOneLineHigh) {
    for (int px : {9, 11, 13, 16}) {
        const THTMLRenderOut out = Measure("", 100, true, Tahoma(px));
        EXPECT_EQ(out.YSize, Cell(Tahoma(px))) << px;
        EXPECT_EQ(out.XSize, 0);
    }
    EXPECT_EQ(Cell(), 13); // the owner group's rows are built on this
}

TEST(RenderLayout, NoWrapCutsWithDotsAndDropsLaterLines) {
    THTMLRenderIn in;
    in.Font = Tahoma();
    in.Text = "a very long caption that cannot fit<BR>second line";
    in.Rect = QRect(0, 0, 80, 60);
    in.WordWrap = false;
    THTMLRenderOut out;
    const QImage img = Draw(in, QSize(120, 60), &out);
    EXPECT_EQ(out.YSize, Cell());
    const QRect ink = Ink(img);
    EXPECT_LT(ink.bottom(), Cell());
    EXPECT_LE(ink.right(), 79);
    // The dots are drawn: the last ink column is near the box edge, not clipped text.
    EXPECT_GT(ink.right(), 80 - Advance("...") - Advance("w"));
}

TEST(RenderLayout, ParagraphAlignmentPlacesLines) {
    const int w = Advance("ab");
    const int right = 201;
    const struct {
        QString text;
        int left;
    } cases[] = {
        {"ab", 1},
        {"<P ALIGN=\"RIGHT\">ab", right - w},
        {"<P ALIGN=\"CENTER\">ab", 1 + (right - (1 + w)) / 2},
        {"<P ALIGN=\"CENTER\">x</P>ab", 1 + (right - (1 + w)) / 2}, // persists to later lines
        {"<P ALIGN=\"CENTER\">x</P><P ALIGN=\"LEFT\">ab", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        THTMLRenderIn in;
        in.Font = Tahoma();
        in.Text = c.text;
        in.Rect = QRect(0, 0, right, 100);
        const QImage img = Draw(in, QSize(220, 100));
        // Ink of the line holding "ab" (the last line).
        const int lines = c.text.count(QLatin1String("</P>")) + 1;
        const QRect ink = Ink(img, 0xFFFFFFFF, QRect(0, (lines - 1) * Cell(), 220, Cell()));
        ASSERT_FALSE(ink.isNull());
        // Glyph ink starts at most a pixel or two right of the pen.
        EXPECT_GE(ink.left(), c.left);
        EXPECT_LE(ink.left(), c.left + 2);
    }
}

TEST(RenderLayout, PicturesFromEverySource) {
    QImage red(20, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    htmlctl::TPictureContainer container;
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        red.save(&buffer, "PNG");
    }
    container.Add("Pic").Picture().LoadFromBytes(png);
    htmlctl::TImageList images(16, 16);
    images.Add(red);
    htmlctl::THTMLPictureCache cache;

    const QString file = QString(TARIFON_BUILD_DIR) + "/htmlctl-picture.png";
    ASSERT_TRUE(red.save(file));

    const int h = Cell();
    const struct {
        QString text;
        int xsize;
        int ysize;
    } cases[] = {
        {"a<IMG SRC=\"pic\">b", Advance("a") + 20 + Advance("b"), 30},
        {"a<IMG SRC=\"pic\" WIDTH=\"40\" HEIGHT=\"5\">b", Advance("a") + 40 + Advance("b"), h},
        {"a<IMG SRC=\"missing\">b", Advance("ab"), h},
        {"a<IMG SRC=\"IDX:0\">b", Advance("a") + 16 + Advance("b"), 16},
        {"a<IMG SRC=\"IDX:7\">b", Advance("ab"), h},
        {"a<IMG SRC=\"FILE://" + file + "\">b", Advance("a") + 20 + Advance("b"), 30},
        {"a<IMG SRC=\"FILE:///no/such.png\">b", Advance("ab"), h},
        {"a<IMG SRC=\"http://example.invalid/x.png\">b", Advance("ab"), h},
        {"a<IMG>b", Advance("ab"), h},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        THTMLRenderIn in;
        in.Font = Tahoma();
        in.Text = c.text;
        in.Rect = QRect(0, 0, 300, 100);
        in.PictureContainer = &container;
        in.Images = &images;
        in.PictureCache = &cache;
        in.MeasureOnly = true;
        const THTMLRenderOut out = RenderHTML(in);
        EXPECT_EQ(out.XSize, c.xsize);
        EXPECT_EQ(out.YSize, c.ysize);
    }
    // Addresses are remembered once each, whether or not they loaded.
    EXPECT_EQ(cache.Count(), 3);

    // A picture that does not fit ends the line before it.
    THTMLRenderIn in;
    in.Font = Tahoma();
    in.Text = "abc<IMG SRC=\"pic\">";
    in.Rect = QRect(0, 0, Advance("abc") + 10, 100);
    in.PictureContainer = &container;
    in.MeasureOnly = true;
    const THTMLRenderOut out = RenderHTML(in);
    EXPECT_EQ(out.YSize, h + 30);

    // The picture is drawn at the pen, top of the line.
    in.Text = "<IMG SRC=\"pic\">";
    in.MeasureOnly = false;
    in.Rect = QRect(10, 5, 100, 100);
    const QImage img = Draw(in, QSize(120, 120));
    EXPECT_EQ(Ink(img), QRect(11, 5, 20, 30));
}

TEST(RenderLayout, PictureDecodingErrors) {
    htmlctl::THTMLPicture pic;
    struct Case {
        QByteArray bytes;
        const char* message;
    };
    for (const Case& c : {Case{{}, "Empty image stream created"},
                          Case{"not a picture at all", "Could not load image. Invalid format"},
                          // A drawing that names other files is no picture of ours.
                          Case{"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"/>",
                               "Could not load image. Invalid format"}}) {
        try {
            pic.LoadFromBytes(c.bytes);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const htmlctl::EHTMLPicture& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_TRUE(pic.Empty());
        EXPECT_EQ(pic.Width(), 0);
    }
}

TEST(RenderLayout, TextDecorationsAreDrawn) {
    // Each decoration changes pixels compared with the plain run; none moves the text box.
    const QString plain = "Abc";
    auto picture = [](const QString& text, QColor brush = QColor()) {
        THTMLRenderIn in;
        in.Font = Tahoma();
        in.Text = text;
        in.Rect = QRect(0, 0, 100, 40);
        in.BrushColor = brush;
        return Draw(in, QSize(100, 40));
    };
    const QImage base = picture(plain);
    for (const char* text :
         {"<U>Abc</U>", "<S>Abc</S>", "<SHAD>Abc</SHAD>", "<E>Abc</E>", "<FONT COLOR=\"clRed\">Abc</FONT>",
          "<FONT BGCOLOR=\"#00FF00\">Abc</FONT>", "<HI>Abc</HI>", "<A HREF=\"x\">Abc</A>",
          "<R A=\"90\">Abc</R>", "<P BGCOLOR=\"clYellow\">Abc", "<BODY BGCOLOR=\"clAqua\">Abc",
          "<BODY BGCOLOR=\"clAqua\" BGCOLORTO=\"clNavy\" DIR=\"V\">Abc", "&Abc"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(picture(QString::fromUtf8(text)), base);
    }
    // Blinking text takes the background colour in its hidden phase.
    EXPECT_EQ(Ink(picture("<BLINK>Abc</BLINK>", Qt::white)), QRect());
    // Colours: the run is drawn in the named colour (glyph edges are blended with white).
    for (const char* text : {"<FONT COLOR=\"#FF0000\">Abc</FONT>", "<FONT COLOR=\"clRed\">Abc</FONT>"}) {
        const QImage red = picture(QString::fromUtf8(text));
        int reddish = 0, other = 0;
        for (int y = 0; y < red.height(); ++y)
            for (int x = 0; x < red.width(); ++x) {
                const QColor c = red.pixelColor(x, y);
                if (c == Qt::white)
                    continue;
                (c.red() == 255 && c.green() == c.blue() ? reddish : other)++;
            }
        EXPECT_GT(reddish, 10) << text;
        EXPECT_EQ(other, 0) << text;
    }
}

TEST(RenderLayout, TabsAndBackgroundsAsDrawn) {
    auto picture = [](const QString& text, bool hitTest = false, bool measureOnly = false) {
        THTMLRenderIn in;
        in.Font = Tahoma();
        in.Text = text;
        in.Rect = QRect(4, 2, 150, 40);
        in.CheckHotSpot = hitTest;
        in.MeasureOnly = measureOnly;
        return Draw(in, QSize(160, 44));
    };
    // A tab moves the rest of the run to the stop, as an indent to it would.
    const int tab = 8 * htmlctl::CellMetrics(Tahoma()).AveCharWidth;
    EXPECT_EQ(picture("a\tb"), picture(QString("a<IND x=\"%1\">b").arg(tab)));
    EXPECT_EQ(picture("&a\tb"), picture(QString("&a<IND x=\"%1\">b").arg(tab))); // the accelerator mark
    // A BODY tag met mid-text repaints the background as its line is laid out: the lines
    // above are covered, its own line is drawn whole on the new background. (<X>, a tag
    // without effect, splits the run as the BODY tag does.)
    const QString aqua = "<BODY BGCOLOR=\"clAqua\">";
    EXPECT_EQ(picture("abc" + aqua + "def"), picture(aqua + "abc<X>def"));
    EXPECT_EQ(picture("abc<BR>def" + aqua + "ghi"), picture(aqua + "<BR>def<X>ghi"));
    const QString picked = "<BODY BGCOLOR=\"clRed\">abc<BR>" + aqua + "def";
    EXPECT_EQ(picture(picked), picture(aqua + "<BR>def"));
    // Looking for anchors or measuring paints nothing.
    const QImage blank = picture(QString());
    EXPECT_EQ(picture(aqua + "<A HREF=\"x\">abc</A>", true), blank);
    EXPECT_EQ(picture(aqua + "abc", false, true), blank);
}

TEST(RenderLayout, HostileCaptionsEndCleanly) {
    htmlctl::TPictureContainer container;
    container.Add("empty"); // a name without a picture
    htmlctl::THTMLPictureCache cache;
    const QString hostile[] = {
        "",
        "<",
        "<<<<>>>>",
        "</",
        "</>",
        QString("<B><I><U><SUP><SUB><SHAD><E><HI><A HREF=\"x\">").repeated(500) + "x",
        QString("</B></I></U></UL></P></LI></FONT></A></Z>").repeated(500) + "x",
        QString("x").repeated(20000),
        QString("<LI>").repeated(2000),
        QString("<UL>").repeated(2000) + "<LI>x",
        QString("&amp;").repeated(3000) + QString("amp;").repeated(3000),
        "<FONT SIZE=\"99999999999999999999\">big</FONT>",
        "<IMG SRC=\"empty\" WIDTH=\"999999999\" HEIGHT=\"999999999\">",
        "<IMG SRC=\"missing\"><IMG SRC=\"IDX:99999999999\"><IMG SRC=\"FILE://\"><IMG SRC=\"://\">",
        "<IND x=\"99999999999\">x<IND x=\"-5\">y",
        "<P INDENT=\"99999999999\" ALIGN=\"CENTER\">x",
        "<R a=\"99999999999\">rot</R>",
        "<BODY BACKGROUND=\"empty\" BGCOLOR=\"#GGGGGG\" BGCOLORTO=\"#\">x",
        QString("a <BR>").repeated(5000),
        QString("\r").repeated(3000),
        QString("\t").repeated(200000) + "x",
    };
    for (const QString& text : hostile) {
        SCOPED_TRACE(text.left(40).toStdString());
        for (int mode = 0; mode < 3; ++mode) {
            for (bool wrap : {true, false}) {
                THTMLRenderIn in;
                in.Font = Tahoma();
                in.Text = text;
                in.Rect = QRect(2, 2, 120, 60);
                in.WordWrap = wrap;
                in.MeasureOnly = mode == 0;
                in.CheckHotSpot = mode == 2;
                in.Point = QPoint(10, 8);
                in.PictureContainer = &container;
                in.PictureCache = &cache;
                THTMLRenderOut out;
                if (mode == 1)
                    Draw(in, QSize(130, 70), &out);
                else
                    out = RenderHTML(in);
                EXPECT_GE(out.XSize, 0);
                EXPECT_GE(out.YSize, 0);
                EXPECT_LE(out.XSize, 100000);
            }
        }
    }
}
