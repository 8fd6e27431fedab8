#pragma once
// The HTML export's tests: the reports they export, the filter with test settings, and the
// real readers of what is written: tidy, and headless Chromium with a private profile and no
// network, ended and cleaned up whatever happens.

#include "export/ExportFilter.h"
#include "export/html/HtmlExport.h"
#include "export/pdf/PdfTools.h" // RunTool
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ViewPainter.h"
#include "sheet/SheetTemplate.h"
#include "support/SheetCase.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <unistd.h>

namespace htmltest {

using namespace report;

// The calculation sheet of one case, prepared.
inline std::unique_ptr<TrpReport> SheetReport() {
    auto r = testsupport::PreparedSheetReport();
    EXPECT_TRUE(r);
    return r;
}

inline TrpMemoView* AddText(TrpComponent& page, const QString& name, const QString& text, Extended left,
                            Extended top, Extended width, Extended height, TrpFrameTypes frame = 0) {
    auto memo = std::make_unique<TrpMemoView>();
    memo->SetName(name);
    memo->SetText(text);
    memo->SetBounds(left, top, width, height);
    memo->FrameRef().Typ = frame;
    TrpFont f;
    f.Name = QStringLiteral("Arial");
    f.Size = 12;
    memo->SetFont(f);
    return static_cast<TrpMemoView*>(page.Add(std::move(memo)));
}

// Two A5 pages, each with a framed title, a line of text and a link to the other page.
inline std::unique_ptr<TrpReport> TwoPageReport() {
    auto r = std::make_unique<TrpReport>();
    r->EngineOptions.NewSilentMode = simSilent;
    r->ShowProgress = false;
    r->ReportOptions.Name = QStringLiteral("Две страницы");
    for (int i = 0; i < 2; ++i) {
        TrpReportPage* page = r->AddPage();
        page->SetName(QStringLiteral("Page%1").arg(i + 1));
        page->SetPaperWidth(148);
        page->SetPaperHeight(210);
        AddText(*page, QStringLiteral("Title%1").arg(i + 1), QStringLiteral("Страница %1").arg(i + 1),
                40 + 60 * i, 10, 300, 30, ftAll);
        AddText(*page, QStringLiteral("Line%1").arg(i + 1),
                QStringLiteral("Строка на странице %1").arg(i + 1), 20, 120 + 80 * i, 400, 24);
        TrpMemoView* link = AddText(*page, QStringLiteral("Link%1").arg(i + 1),
                                    QStringLiteral("К странице %1").arg(2 - i), 20, 300, 200, 24);
        link->SetURL(QStringLiteral("@%1").arg(2 - i));
    }
    EXPECT_TRUE(r->Prepare());
    return r;
}

enum class Mode { SingleFile, Multipage, Navigator, MultipageNavigator };

inline std::unique_ptr<exports::TrpHTMLExport> Filter(const QString& file, Mode mode = Mode::SingleFile) {
    auto f = std::make_unique<exports::TrpHTMLExport>();
    f->SetShowDialog(false);
    f->SetShowProgress(false);
    f->SetFileName(file);
    f->SetMultipage(mode == Mode::Multipage || mode == Mode::MultipageNavigator);
    f->SetNavigator(mode == Mode::Navigator || mode == Mode::MultipageNavigator);
    return f;
}

inline QString ReadText(const QString& file) {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    return QString::fromUtf8(f.readAll());
}

// tidy's errors for the file (warnings are not errors); "" when there are none.
inline QString TidyErrors(const QString& file) {
    const ToolResult r =
        RunTool(QStringLiteral("tidy"), {QStringLiteral("-errors"), QStringLiteral("-quiet"), file});
    QStringList errors;
    for (const QString& line : QString::fromUtf8(r.Err).split(QLatin1Char('\n')))
        if (line.contains(QStringLiteral("Error:")))
            errors << line;
    if (r.ExitCode != 0 && r.ExitCode != 1)
        errors << QStringLiteral("tidy exit code %1: %2").arg(r.ExitCode).arg(QString::fromUtf8(r.Err));
    return errors.join(QLatin1Char('\n'));
}

// Headless Chromium with a profile of its own in a temporary folder, which goes with the
// object; the browser never reaches the network, and is killed when it overstays.
class Chromium {
public:
    // A picture of the page as the browser shows it in a window of the given size.
    QImage Screenshot(const QString& page, QSize window) {
        const QString png = FDir.filePath(QStringLiteral("shot.png"));
        QFile::remove(png);
        Run({QStringLiteral("--screenshot=") + png,
             QStringLiteral("--window-size=%1,%2").arg(window.width()).arg(window.height()), Url(page)});
        return QImage(png).convertToFormat(QImage::Format_RGB32);
    }
    // The document after its scripts ran for a while (virtual time).
    QString DumpDom(const QString& page, int milliseconds = 5000) {
        return QString::fromUtf8(
            Run({QStringLiteral("--dump-dom"), QStringLiteral("--virtual-time-budget=%1").arg(milliseconds),
                 Url(page)}));
    }

private:
    static QString Url(const QString& page) {
        return QStringLiteral("file://") + QFileInfo(page).absoluteFilePath();
    }
    QByteArray Run(const QStringList& args) {
        QProcess p;
        const QStringList common = {
            QStringLiteral("--headless"),
            QStringLiteral("--no-sandbox"),
            QStringLiteral("--disable-gpu"),
            QStringLiteral("--user-data-dir=") + FDir.filePath(QStringLiteral("profile")),
            QStringLiteral("--no-first-run"),
            QStringLiteral("--no-default-browser-check"),
            QStringLiteral("--disable-extensions"),
            QStringLiteral("--disable-background-networking"),
            QStringLiteral("--disable-component-update"),
            QStringLiteral("--disable-sync"),
            QStringLiteral("--hide-scrollbars"),
            QStringLiteral("--force-device-scale-factor=1"),
            QStringLiteral("--allow-file-access-from-files"),
            // No name resolves and every connection goes nowhere.
            QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND"),
            QStringLiteral("--proxy-server=127.0.0.1:9"),
        };
        p.setProcessChannelMode(QProcess::SeparateChannels);
        // A group of its own, so that its helper processes go with it.
        p.setChildProcessModifier([] { ::setpgid(0, 0); });
        p.start(QStringLiteral("chromium"), common + args);
        if (!p.waitForStarted(10000)) {
            ADD_FAILURE() << "chromium could not be started; run scripts/install-deps";
            return {};
        }
        const pid_t group = pid_t(p.processId());
        auto killGroup = [group] {
            if (group > 1)
                ::kill(-group, SIGKILL);
        };
        if (!p.waitForFinished(90000)) {
            ADD_FAILURE() << "chromium did not finish";
            killGroup();
            p.waitForFinished(5000);
        }
        // Helpers that outlive the browser do not keep the profile folder busy.
        killGroup();
        return p.readAllStandardOutput();
    }
    QTemporaryDir FDir;
};

} // namespace htmltest

namespace htmltest {

// Where the pictures of the browser tests are kept for a person to look at.
inline QString ScreenshotFolder() {
    // One per locale: the suite runs under each at the same time.
    const QString folder = QStringLiteral(TARIFON_BUILD_DIR "/test-output/html/") +
                           qEnvironmentVariable("LC_ALL", QStringLiteral("default"));
    QDir().mkpath(folder);
    return folder;
}

// The bounding box of what is not white.
inline QRect InkBox(const QImage& image) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qGray(line[x]) < 200) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// How far the browser's picture is from ours: each block of ours with ink is looked for in the
// browser's picture a few pixels around its place (the two draw glyph edges differently and
// round row heights their own ways); the worst and the mean of the best matches, in grey levels.
struct Likeness {
    double Mean = 0;
    double Worst = 0;
    QPoint WorstAt;
};

inline Likeness Compare(const QImage& ours, const QImage& theirs, int block = 16, int reach = 5) {
    const QImage a = ours.convertToFormat(QImage::Format_Grayscale8);
    const QImage b = theirs.convertToFormat(QImage::Format_Grayscale8);
    Likeness l;
    double sum = 0;
    int blocks = 0;
    auto at = [](const QImage& img, int x, int y) {
        return x < 0 || y < 0 || x >= img.width() || y >= img.height() ? 255 : int(img.constScanLine(y)[x]);
    };
    for (int by = 0; by + block <= a.height(); by += block)
        for (int bx = 0; bx + block <= a.width(); bx += block) {
            auto difference = [&](int dx, int dy) {
                double d = 0;
                for (int y = by; y < by + block; ++y)
                    for (int x = bx; x < bx + block; ++x)
                        d += std::abs(at(a, x, y) - at(b, x + dx, y + dy));
                return d / (block * block);
            };
            // Most of a page is blank in both: nothing to look for there.
            double best = difference(0, 0);
            for (int dy = -reach; dy <= reach && best > 0; ++dy)
                for (int dx = -reach; dx <= reach; ++dx)
                    best = std::min(best, difference(dx, dy));
            sum += best;
            ++blocks;
            if (best > l.Worst) {
                l.Worst = best;
                l.WorstAt = QPoint(bx, by);
            }
        }
    l.Mean = blocks ? sum / blocks : 0;
    return l;
}

// Our drawing of a page as the HTML table lays it out: from the top-left of what is drawn, the
// rows 1.03 times lower.
inline QImage AsTableShowsIt(const QImage& page, QSize size) {
    const QRect ink = InkBox(page);
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    const QImage part = page.copy(ink);
    const QImage lower = part.scaled(part.width(), int(std::lround(part.height() / 1.03)),
                                     Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QPainter p(&out);
    p.drawImage(0, 0, lower);
    return out;
}

// The browser's picture from the top-left of what it shows.
inline QImage FromInk(const QImage& shot, QSize size) {
    const QRect ink = InkBox(shot);
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, shot.copy(ink));
    return out;
}

} // namespace htmltest
