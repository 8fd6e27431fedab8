// What the page says for the cases at the edges: empty memos, special characters, memos that
// render tags and memos that do not, links of every kind, thin rows, page breaks, a file per
// page; and the pictures in each of their formats, read back by ImageMagick.
#include "HtmlTools.h"

#include "export/ExportFixtures.h"
#include "export/html/HtmlText.h"

#include <QBuffer>

#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

using namespace htmltest;

namespace {

// A one-page report whose page holds what `fill` puts on it, prepared.
std::unique_ptr<TrpReport> OnePage(const std::function<void(TrpReportPage&)>& fill) {
    auto r = std::make_unique<TrpReport>();
    r->EngineOptions.NewSilentMode = simSilent;
    r->ShowProgress = false;
    r->ReportOptions.Name = QStringLiteral("Отчет");
    TrpReportPage* page = r->AddPage();
    page->SetName(QStringLiteral("Page1"));
    fill(*page);
    EXPECT_TRUE(r->Prepare()) << r->Errors().join('\n').toStdString();
    return r;
}

QString ExportText(TrpReport& r, const QString& file,
                   const std::function<void(exports::TrpHTMLExport&)>& set = {}) {
    auto f = Filter(file);
    if (set)
        set(*f);
    EXPECT_TRUE(exports::ExportTo(r, f.get())) << r.Errors().join('\n').toStdString();
    return ReadText(file);
}

TrpMemoView* Memo(TrpReportPage& page, const QString& text, Extended top = 20, Extended height = 24) {
    static int n = 0;
    return AddText(page, QStringLiteral("Memo%1").arg(++n), text, 20, top, 300, height);
}

} // namespace

TEST(HtmlEdgeCases, WhatThePageSays) {
    const struct {
        const char* Name;
        std::function<void(TrpReportPage&)> Fill;
        QStringList Has;
        QStringList HasNot;
    } cases[] = {
        {"an empty memo keeps its row thin",
         [](TrpReportPage& p) { Memo(p, QString())->FrameRef().Typ = ftAll; },
         {R"( style="font-size:1px">&nbsp;</td>)"},
         {}},
        {"quotes, ampersands and line breaks",
         [](TrpReportPage& p) { Memo(p, QStringLiteral("Тарифон \"2.0\" & Ко\r\nвторая строка"), 20, 60); },
         {"Тарифон &quot;2.0&quot; &amp; Ко<br>вторая строка"},
         {"\"2.0\""}},
        {"a memo that does not render tags shows them as written",
         [](TrpReportPage& p) { Memo(p, QStringLiteral("<b>жирный</b> <script>alert(1)</script> a<b")); },
         {"&lt;b&gt;жирный&lt;/b&gt; &lt;script&gt;alert(1)&lt;/script&gt; a&lt;b"},
         {"<b>", "<script"}},
        {"a memo that renders tags: its tags take effect, nothing else does",
         [](TrpReportPage& p) {
             Memo(p,
                  QStringLiteral(
                      "<b>жирный</b> <i>курсив</i> <u>черта</u> <font color=\"#FF0000\">красный</font> "
                      "H<sub>2</sub>O x<sup>2</sup> <script>alert(1)</script> <img src=x onerror=y>"),
                  20, 60)
                 ->SetAllowHTMLTags(true);
         },
         {"<b>жирный</b>", "<i>курсив</i>", "<u>черта</u>", "<font color=\"#FF0000\">красный</font>",
          "H<sub>2</sub>O", "x<sup>2</sup>", "&lt;script&gt;alert(1)&lt;/script&gt;",
          "&lt;img src=x onerror=y&gt;"},
         {"<script", "<img src=x"}},
        {"a row 20.6 units high is written 20 pixels high",
         [](TrpReportPage& p) {
             Memo(p, QStringLiteral("первая"), 10, 20.6L);
             Memo(p, QStringLiteral("вторая"), 30.6L, 20);
         },
         {R"(<tr style="height:20px">)"},
         {}},
        {"links: report pages, the web's addresses and relative ones",
         [](TrpReportPage& p) {
             Memo(p, QStringLiteral("страница"), 10)->SetURL(QStringLiteral("@1"));
             Memo(p, QStringLiteral("сайт"), 40)->SetURL(QStringLiteral("http://example.com/?a=1&b=\"2\""));
             Memo(p, QStringLiteral("почта"), 70)->SetURL(QStringLiteral("mailto:support@example.com"));
             Memo(p, QStringLiteral("рядом"), 100)->SetURL(QStringLiteral("other page.html#top"));
         },
         {R"(<a href="#PageN1">страница</a>)",
          R"(<a href="http://example.com/?a=1&amp;b=&quot;2&quot;">сайт</a>)",
          R"(<a href="mailto:support@example.com">почта</a>)", R"(<a href="other page.html#top">рядом</a>)"},
         {}},
        {"links of other schemes are inert",
         [](TrpReportPage& p) {
             const char* urls[] = {"javascript:alert(1)",
                                   " JaVaScRiPt:alert(1)",
                                   "java\tscript:alert(1)",
                                   "java\nscript:alert(1)",
                                   "data:text/html,<script>alert(1)</script>",
                                   "vbscript:msgbox",
                                   "file:///etc/passwd",
                                   "@x",
                                   "@0",
                                   "@"};
             Extended top = 10;
             for (const char* url : urls) {
                 Memo(p, QStringLiteral("инертная"), top)->SetURL(QString::fromLatin1(url));
                 top += 30;
             }
         },
         {"инертная"},
         {"<a href", "script:", "data:", "file:"}},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<TrpReport> r = OnePage(c.Fill);
        const QString file = dir.filePath(QStringLiteral("edge.html"));
        const QString html = ExportText(*r, file);
        for (const QString& has : c.Has)
            EXPECT_TRUE(html.contains(has)) << has.toStdString() << "\n" << html.toStdString();
        for (const QString& hasNot : c.HasNot)
            EXPECT_FALSE(html.section(QStringLiteral("<body"), 1).contains(hasNot))
                << hasNot.toStdString() << "\n"
                << html.toStdString();
        EXPECT_EQ(TidyErrors(file), QString());
    }
}

TEST(HtmlEdgeCases, NamesFromTheReportNeverBecomeMarkup) {
    std::unique_ptr<TrpReport> r = OnePage([](TrpReportPage& p) {
        TrpMemoView* m = Memo(p, QStringLiteral("текст"));
        TrpFont f = m->Font();
        f.Name = QStringLiteral("Arial;} body {display:none} </style><script>alert(1)</script>");
        m->SetFont(f);
    });
    r->ReportOptions.Name = QStringLiteral("</title><script>alert(1)</script>");
    QTemporaryDir dir;
    const QString html = ExportText(*r, dir.filePath(QStringLiteral("names.html")));
    EXPECT_FALSE(html.contains(QStringLiteral("<script"))) << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("display:none"))) << html.toStdString();
    EXPECT_TRUE(
        html.contains(QStringLiteral("<title>&lt;/title&gt;&lt;script&gt;alert(1)&lt;/script&gt;</title>")));
    EXPECT_EQ(TidyErrors(dir.filePath(QStringLiteral("names.html"))), QString());
}

TEST(HtmlEdgeCases, TwoPagesInOneFileAndAFilePerPage) {
    std::unique_ptr<TrpReport> r = TwoPageReport();
    QTemporaryDir dir;
    const QString one = ExportText(*r, dir.filePath(QStringLiteral("one.html")));
    EXPECT_EQ(one.count(QStringLiteral("<a name=\"PageN1\"></a>")), 1);
    EXPECT_EQ(one.count(QStringLiteral("<a name=\"PageN2\"></a>")), 1);
    EXPECT_EQ(one.count(QStringLiteral("<table ")), 2);
    EXPECT_EQ(one.count(QStringLiteral("class=\"page_break\">")), 1);
    EXPECT_LT(one.indexOf(QStringLiteral("Страница 1")), one.indexOf(QStringLiteral("PageN2\"></a>")));
    EXPECT_GT(one.indexOf(QStringLiteral("Страница 2")), one.indexOf(QStringLiteral("PageN2\"></a>")));

    // A file per page: "open after export" opens the first page's file; nothing in the main file.
    for (bool sameFolder : {false, true}) {
        SCOPED_TRACE(sameFolder ? "pictures in the same folder" : "pictures in their folder");
        QTemporaryDir out;
        auto f = Filter(out.filePath(QStringLiteral("many.html")), Mode::Multipage);
        f->SetPicsInSameFolder(sameFolder);
        f->SetOpenAfterExport(true);
        QStringList opened;
        f->OnOpenFile = [&](const QString& file) { opened << file; };
        ASSERT_TRUE(exports::ExportTo(*r, f.get()));
        const QString first =
            out.filePath(sameFolder ? QStringLiteral("many.1.html") : QStringLiteral("many.files/1.html"));
        EXPECT_EQ(opened, QStringList{first});
        EXPECT_FALSE(QFile::exists(out.filePath(QStringLiteral("many.html"))));
        EXPECT_TRUE(ReadText(first).contains(sameFolder ? QStringLiteral("<a href=\"many.2.html\">")
                                                        : QStringLiteral("<a href=\"2.html\">")));
    }
}

TEST(HtmlEdgeCases, PicturesInEachFormatAndTheSheetsSettings) {
    std::unique_ptr<TrpReport> r = SheetReport();
    const struct {
        const char* Name;
        std::function<void(exports::TrpHTMLExport&)> Set;
        const char* File;   // the logo's file
        const char* Magick; // what ImageMagick reads there
        const char* Link;
    } cases[] = {
        {"JPEG", {}, "OSAGO.files/img0.jpg", "JPEG 97x63", "OSAGO.files/img0.jpg"},
        {"GIF", [](exports::TrpHTMLExport& f) { f.SetUseGif(true); }, "OSAGO.files/img0.gif", "GIF 97x63",
         "OSAGO.files/img0.gif"},
        {"BMP", [](exports::TrpHTMLExport& f) { f.SetUseJpeg(false); }, "OSAGO.files/img0.bmp", "BMP3 97x63",
         "OSAGO.files/img0.bmp"},
        {"same folder", [](exports::TrpHTMLExport& f) { f.SetPicsInSameFolder(true); }, "OSAGO.img0.jpg",
         "JPEG 97x63", "OSAGO.img0.jpg"},
        {"absolute links", [](exports::TrpHTMLExport& f) { f.SetAbsLinks(true); }, "OSAGO.files/img0.jpg",
         "JPEG 97x63", "%DIR%/OSAGO.files/img0.jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir dir;
        const QString html = ExportText(*r, dir.filePath(QStringLiteral("OSAGO.html")), c.Set);
        const ToolResult id =
            RunTool(QStringLiteral("identify"), {QStringLiteral("-format"), QStringLiteral("%m %wx%h"),
                                                 dir.filePath(QString::fromLatin1(c.File))});
        EXPECT_EQ(QString::fromUtf8(id.Out).trimmed(), QString::fromLatin1(c.Magick)) << id.Err.toStdString();
        const QString link =
            QString::fromLatin1(c.Link).replace(QStringLiteral("%DIR%"), exports::HtmlLinkPath(dir.path()));
        EXPECT_TRUE(
            html.contains(QStringLiteral("<img src=\"%1\" width=\"97\" height=\"63\" alt=\"\">").arg(link)))
            << html.toStdString();
    }
    // The sheet as the calculator writes it: a fixed width, a class per distinct style, the
    // footer's bold part in bold.
    QTemporaryDir dir;
    const QString html = ExportText(*r, dir.filePath(QStringLiteral("OSAGO.html")));
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("<table width=\"\\d+\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">"))
                    .match(html)
                    .hasMatch());
    EXPECT_TRUE(html.contains(QStringLiteral("<b>-= Тарифон 2.0&quot; =-</b>")));
    EXPECT_TRUE(html.contains(QStringLiteral(".s0 {")) && html.contains(QStringLiteral(".s1 {")));
    EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"http://www.kviralt.ru/\">www.kviralt.ru</a>")));
}

TEST(HtmlEdgeCases, BackgroundStreamAndAttachment) {
    std::unique_ptr<TrpReport> r = SheetReport();
    // The page's background as the body's picture.
    {
        QTemporaryDir dir;
        const QString html = ExportText(*r, dir.filePath(QStringLiteral("OSAGO.html")),
                                        [](exports::TrpHTMLExport& f) { f.SetBackground(true); });
        EXPECT_TRUE(html.contains(QStringLiteral(" background=\"OSAGO.files/backgrnd.jpg\"")))
            << html.toStdString();
        const ToolResult id =
            RunTool(QStringLiteral("identify"), {QStringLiteral("-format"), QStringLiteral("%m"),
                                                 dir.filePath(QStringLiteral("OSAGO.files/backgrnd.jpg"))});
        EXPECT_EQ(id.Out, QByteArray("JPEG"));
        EXPECT_EQ(TidyErrors(dir.filePath(QStringLiteral("OSAGO.html"))), QString());
    }
    // A caller's stream takes the page alone: no pictures, no files.
    {
        QTemporaryDir dir;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        auto f = Filter(dir.filePath(QStringLiteral("unused.html")));
        f->SetStream(&buffer);
        ASSERT_TRUE(exports::ExportTo(*r, f.get()));
        EXPECT_TRUE(buffer.data().contains("Расчет стоимости ОСАГО"));
        EXPECT_FALSE(buffer.data().contains("<img"));
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
    // An attachment (the e-mail export's) is one file beside nothing.
    {
        QTemporaryDir dir;
        exports::TrpHTMLExport f(true);
        f.SetShowDialog(false);
        f.SetShowProgress(false);
        f.SetNavigator(true);
        f.SetFileName(dir.filePath(QStringLiteral("attachment.html")));
        ASSERT_TRUE(exports::ExportTo(*r, &f));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("attachment.html")});
    }
}

TEST(HtmlEdgeCases, APictureOnEveryPageIsWrittenOnce) {
    auto r = exporttest::PreparedSheets(3);
    ASSERT_TRUE(r);
    QTemporaryDir dir;
    const QString html = ExportText(*r, dir.filePath(QStringLiteral("OSAGO.html")));
    EXPECT_EQ(html.count(QStringLiteral("<img src=\"OSAGO.files/img0.jpg\"")), 3);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("OSAGO.files"))).entryList(QDir::Files),
              QStringList{QStringLiteral("img0.jpg")});
}
