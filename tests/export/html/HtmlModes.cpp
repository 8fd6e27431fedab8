// A two-page report in every mode the export writes: one file, a file per page, and the
// frameset with its page navigator. tidy checks every file; headless Chromium shows the pages
// as our own drawing does, and its own scripting drives the navigator and the page links.
#include "HtmlTools.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace htmltest;

namespace {

struct ModeCase {
    const char* Folder;
    Mode Kind;
    QStringList Files; // what the export writes, relative to its folder
};

const ModeCase kModes[] = {
    {"single", Mode::SingleFile, {"report.html"}},
    {"multi", Mode::Multipage, {"report.files/1.html", "report.files/2.html"}},
    {"nav", Mode::Navigator, {"report.html", "report.files/main.html", "report.files/nav.html"}},
    {"navmulti",
     Mode::MultipageNavigator,
     {"report.html", "report.files/1.html", "report.files/2.html", "report.files/nav.html"}},
};

QStringList FilesIn(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

TEST(HtmlModes, EveryModeWritesItsFilesAndTidyFindsNoErrors) {
    std::unique_ptr<TrpReport> r = TwoPageReport();
    // Kept beside the browser's pictures for a person to look at.
    QDir dir(ScreenshotFolder() + QStringLiteral("/modes"));
    dir.removeRecursively();
    for (const ModeCase& c : kModes) {
        SCOPED_TRACE(c.Folder);
        const QString folder = dir.filePath(QString::fromLatin1(c.Folder));
        QDir().mkpath(folder);
        auto f = Filter(folder + QStringLiteral("/report.html"), c.Kind);
        ASSERT_TRUE(exports::ExportTo(*r, f.get())) << r->Errors().join('\n').toStdString();
        QStringList expected = c.Files;
        expected.sort();
        EXPECT_EQ(FilesIn(folder), expected);
        for (const QString& file : c.Files)
            EXPECT_EQ(TidyErrors(QDir(folder).filePath(file)), QString()) << file.toStdString();
    }
    // "@2" goes to the second page in the navigator's modes too.
    EXPECT_TRUE(ReadText(dir.filePath(QStringLiteral("nav/report.files/main.html")))
                    .contains(QStringLiteral("<a href=\"#PageN2\">")));
    EXPECT_TRUE(ReadText(dir.filePath(QStringLiteral("navmulti/report.files/1.html")))
                    .contains(QStringLiteral("<a href=\"2.html\">")));
}

namespace {

// The exports of the two-page report, one folder per mode, in a temporary folder.
class ExportedModes {
public:
    explicit ExportedModes(TrpReport& r) {
        for (const ModeCase& c : kModes) {
            const QString folder = Dir.filePath(QString::fromLatin1(c.Folder));
            QDir().mkpath(folder);
            auto f = Filter(folder + QStringLiteral("/report.html"), c.Kind);
            EXPECT_TRUE(exports::ExportTo(r, f.get())) << r.Errors().join('\n').toStdString();
        }
    }
    QString File(const char* folder, const char* file) const {
        return Dir.filePath(QString::fromLatin1(folder) + QLatin1Char('/') + QString::fromLatin1(file));
    }
    QString Write(const QString& name, const QString& text) const {
        const QString file = Dir.filePath(name);
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
        return file;
    }
    QTemporaryDir Dir;
};

// Both pages of our drawing as one table shows them: the second page's objects right below the
// lowest object of the first.
QImage BothPages(TrpReport& r, int firstBottom) {
    const QImage one = RenderPreparedPage(r, 0, 1), two = RenderPreparedPage(r, 1, 1);
    QImage both(one.width(), firstBottom + two.height(), QImage::Format_RGB32);
    both.fill(Qt::white);
    QPainter p(&both);
    p.drawImage(0, 0, one.copy(0, 0, one.width(), firstBottom));
    p.drawImage(0, firstBottom, two);
    return both;
}

// Steps the browser takes in the exported pages, with what each step shows, as JSON.
const char* const kDriver = R"html(<html><body style="margin:0">
<iframe id="single" src="single/report.html" width="600" height="300"></iframe>
<iframe id="multi" src="multi/report.files/1.html" width="600" height="300"></iframe>
<iframe id="nav" src="nav/report.html" width="600" height="300"></iframe>
<iframe id="navmulti" src="navmulti/report.html" width="600" height="300"></iframe>
<pre id="out"></pre>
<script>
function wait(ms) { return new Promise(function (r) { setTimeout(r, ms); }); }
function text(w) { return w.document.body ? w.document.body.innerText.replace(/\s+/g, ' ') : ''; }
async function run() {
  var out = {};
  var s = document.getElementById('single').contentWindow;
  s.document.links[0].click(); await wait(300);
  out.singleLink = { url: s.location.hash, scroll: s.scrollY };
  var m = document.getElementById('multi').contentWindow;
  m.document.links[0].click(); await wait(500);
  out.multiLink = { url: m.location.pathname.replace(/.*\//, ''), text: text(m) };
  for (var id of ['nav', 'navmulti']) {
    var top = document.getElementById(id).contentWindow;
    var nav = top.frames['topFrame'], main = top.frames['mainFrame'];
    var form = nav.document.PgForm, steps = [];
    var record = function (name) {
      steps.push({ step: name, url: main.location.pathname.replace(/.*\//, '') + main.location.hash,
        scroll: main.scrollY, box: form.PgEdit.value, first: form.bFirst.disabled,
        prev: form.bPrev.disabled, next: form.bNext.disabled, last: form.bLast.disabled, text: text(main) });
    };
    record('start');
    form.bNext.click(); await wait(500); record('next');
    form.bPrev.click(); await wait(500); record('prev');
    form.PgEdit.value = '2'; form.requestSubmit(); await wait(500); record('box');
    form.bFirst.click(); await wait(500); record('first');
    form.bLast.click(); await wait(500); record('last');
    out[id] = steps;
  }
  document.getElementById('out').textContent = JSON.stringify(out);
}
window.onload = function () { setTimeout(run, 300); };
</script></body></html>
)html";

} // namespace

TEST(HtmlModes, ChromiumShowsThePagesAndItsScriptingMovesBetweenThem) {
    std::unique_ptr<TrpReport> r = TwoPageReport();
    ExportedModes modes(*r);
    Chromium browser;

    // The pages, side by side in one window: the single file, and the two page files.
    const QString frames =
        modes.Write(QStringLiteral("frames.html"), QStringLiteral(R"(<html><body style="margin:0">
<iframe src="single/report.html" style="position:absolute; left:0; top:0; border:0" width="600" height="900"></iframe>
<iframe src="multi/report.files/1.html" style="position:absolute; left:610px; top:0; border:0" width="600" height="900"></iframe>
<iframe src="multi/report.files/2.html" style="position:absolute; left:1220px; top:0; border:0" width="600" height="900"></iframe>
<iframe src="nav/report.html" style="position:absolute; left:1830px; top:0; border:0" width="600" height="900"></iframe>
</body></html>)"));
    const QImage shot = browser.Screenshot(frames, QSize(2440, 900));
    ASSERT_EQ(shot.size(), QSize(2440, 900));
    shot.save(ScreenshotFolder() + QStringLiteral("/two-pages-chromium.png"));
    const int firstBottom = int(std::lround(r->PreviewPages().Page(0)->TopMargin() * fr01cm + 324));
    const QSize area(560, 860);
    const struct {
        const char* Name;
        QImage Ours;
        int Left, Top; // of the page in the window
    } views[] = {
        {"single file", BothPages(*r, firstBottom), 0, 0},
        {"page file 1", RenderPreparedPage(*r, 0, 1), 610, 0},
        {"page file 2", RenderPreparedPage(*r, 1, 1), 1220, 0},
        {"navigator's main frame", BothPages(*r, firstBottom), 1830, 40}, // below the buttons
    };
    for (const auto& v : views) {
        const QImage a = AsTableShowsIt(v.Ours, area),
                     b = FromInk(shot.copy(v.Left, v.Top, 600, 900 - v.Top), area);
        const Likeness l = Compare(a, b);
        std::printf("%s: mean %.2f, worst block %.2f at %d,%d\n", v.Name, l.Mean, l.Worst, l.WorstAt.x(),
                    l.WorstAt.y());
        EXPECT_LT(l.Mean, 6.0) << v.Name;
        EXPECT_LT(l.Worst, 55.0) << v.Name;
    }

    // The links and the navigator, driven by the browser's own scripting.
    const QString dom =
        browser.DumpDom(modes.Write(QStringLiteral("driver.html"), QString::fromUtf8(kDriver)), 20000);
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("<pre id=\"out\">(.*)</pre>"),
                                                         QRegularExpression::DotMatchesEverythingOption)
                                          .match(dom);
    ASSERT_TRUE(m.hasMatch()) << dom.toStdString();
    QString json = m.captured(1);
    json.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    const QJsonObject out = QJsonDocument::fromJson(json.toUtf8()).object();
    ASSERT_FALSE(out.isEmpty()) << json.toStdString();
    std::printf("%s\n", json.toUtf8().constData());

    // "@2" jumps to the second page: its anchor in one file, its file with a file per page.
    EXPECT_EQ(out[QStringLiteral("singleLink")][QStringLiteral("url")].toString(), QStringLiteral("#PageN2"));
    EXPECT_GT(out[QStringLiteral("singleLink")][QStringLiteral("scroll")].toDouble(), 100);
    EXPECT_EQ(out[QStringLiteral("multiLink")][QStringLiteral("url")].toString(), QStringLiteral("2.html"));
    EXPECT_TRUE(out[QStringLiteral("multiLink")][QStringLiteral("text")].toString().contains(
        QStringLiteral("Страница 2")));

    // The navigator: each button and the page box move the main frame; the buttons that lead
    // nowhere are off.
    const struct {
        const char* Step;
        int Page;
    } expected[] = {{"start", 1}, {"next", 2}, {"prev", 1}, {"box", 2}, {"first", 1}, {"last", 2}};
    for (const char* id : {"nav", "navmulti"}) {
        const QJsonArray steps = out[QString::fromLatin1(id)].toArray();
        ASSERT_EQ(steps.size(), 6) << id;
        for (int i = 0; i < 6; ++i) {
            const QJsonObject s = steps[i].toObject();
            const int page = expected[i].Page;
            SCOPED_TRACE(testing::Message() << id << ", " << expected[i].Step);
            EXPECT_EQ(s[QStringLiteral("step")].toString(), QString::fromLatin1(expected[i].Step));
            EXPECT_EQ(s[QStringLiteral("box")].toString(), QString::number(page));
            EXPECT_EQ(s[QStringLiteral("first")].toBool(), page == 1);
            EXPECT_EQ(s[QStringLiteral("prev")].toBool(), page == 1);
            EXPECT_EQ(s[QStringLiteral("next")].toBool(), page == 2);
            EXPECT_EQ(s[QStringLiteral("last")].toBool(), page == 2);
            const QString url = s[QStringLiteral("url")].toString();
            if (QLatin1String(id) == QLatin1String("navmulti")) {
                EXPECT_EQ(url, QStringLiteral("%1.html").arg(page));
                EXPECT_TRUE(
                    s[QStringLiteral("text")].toString().contains(QStringLiteral("Страница %1").arg(page)));
            } else {
                EXPECT_EQ(url, i == 0 ? QStringLiteral("main.html")
                                      : QStringLiteral("main.html#PageN%1").arg(page));
                // The second page lies lower in the one file: the frame scrolled to it.
                EXPECT_EQ(s[QStringLiteral("scroll")].toDouble() > 100, page == 2);
            }
        }
    }
}
