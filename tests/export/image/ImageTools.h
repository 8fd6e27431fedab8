#pragma once
// The picture exports' tests: the reports they export, our own drawing of the same pages, and
// the real readers (ImageMagick, libtiff's and giflib's tools) that decode what was written.

#include "export/ExportFilter.h"
#include "export/image/ImageExport.h"
#include "export/pdf/PdfTools.h" // RunTool
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ViewPainter.h"
#include "sheet/SheetTemplate.h"
#include "support/SheetCase.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <map>

namespace imagetest {

using namespace report;

// The calculation sheet of one case, prepared.
inline std::unique_ptr<TrpReport> SheetReport() {
    auto r = testsupport::PreparedSheetReport();
    EXPECT_TRUE(r);
    return r;
}

// A report of `count` A4 pages, each with a framed title and a line of text lower down that
// moves from page to page (so that every page and the covered area differ).
inline std::unique_ptr<TrpReport> PagesReport(int count = 3, int paperWidth = 0, int paperHeight = 0) {
    auto r = std::make_unique<TrpReport>();
    r->EngineOptions.NewSilentMode = simSilent;
    r->ShowProgress = false;
    for (int i = 0; i < count; ++i) {
        TrpReportPage* page = r->AddPage();
        page->SetName(QStringLiteral("Page%1").arg(i + 1));
        if (paperWidth > 0) {
            page->SetPaperWidth(paperWidth);
            page->SetPaperHeight(paperHeight);
        }
        auto title = std::make_unique<TrpMemoView>();
        title->SetName(QStringLiteral("Title%1").arg(i + 1));
        title->SetText(QStringLiteral("Страница %1").arg(i + 1));
        title->SetBounds(40 + 30 * i, 10, 300, 24);
        title->FrameRef().Typ = ftAll;
        page->Add(std::move(title));
        auto line = std::make_unique<TrpMemoView>();
        line->SetName(QStringLiteral("Line%1").arg(i + 1));
        line->SetText(QStringLiteral("Строка на странице %1").arg(i + 1));
        line->SetBounds(20, 100 + 40 * i, 400, 20);
        page->Add(std::move(line));
    }
    EXPECT_TRUE(r->Prepare());
    return r;
}

inline std::unique_ptr<exports::TrpCustomImageExport> Filter(exports::TrpImageFormat format,
                                                             const QString& file) {
    auto f = exports::CreateImageExport(format);
    f->SetShowDialog(false);
    f->SetShowProgress(false);
    f->SetFileName(file);
    return f;
}

// The picture as ImageMagick decodes it.
inline QImage Decode(const QString& file) {
    const ToolResult r = RunTool(QStringLiteral("convert"), {file, QStringLiteral("png:-")});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    return QImage::fromData(r.Out, "PNG").convertToFormat(QImage::Format_RGB32);
}

// "WxH" and the format as `identify` sees them, e.g. "BMP 794x1123".
inline QString Identify(const QString& file) {
    const ToolResult r =
        RunTool(QStringLiteral("identify"), {QStringLiteral("-format"), QStringLiteral("%m %wx%h"), file});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();
    return QString::fromUtf8(r.Out).trimmed();
}

// tiffdump's directory: tag number -> "TYPE count<values>".
inline std::map<int, QString> TiffTags(const QString& file) {
    const ToolResult r = RunTool(QStringLiteral("tiffdump"), {file});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    std::map<int, QString> tags;
    for (const QString& line : QString::fromUtf8(r.Out).split(QLatin1Char('\n'))) {
        // "ImageWidth (256) SHORT (3) 1<794>"
        const qsizetype open = line.indexOf(QLatin1Char('(')), close = line.indexOf(QLatin1Char(')'));
        if (open < 0 || close < open || line.startsWith(QStringLiteral("Magic")) ||
            line.startsWith(QStringLiteral("Directory")))
            continue;
        bool ok = false;
        const int tag = line.mid(open + 1, close - open - 1).toInt(&ok);
        if (!ok)
            continue;
        QString rest = line.mid(close + 1).trimmed();
        rest.remove(QRegularExpression(QStringLiteral("\\(\\d+\\) ")));
        tags[tag] = rest;
    }
    return tags;
}

// Our own drawing of the selected pages (all when empty) at a resolution, one below the other.
inline QImage Drawn(TrpReport& r, const std::vector<int>& pages, int dpi) {
    std::vector<QImage> images;
    int width = 0, height = 0;
    for (int i = 0; i < r.PreviewPages().Count(); ++i) {
        if (!pages.empty() && std::find(pages.begin(), pages.end(), i + 1) == pages.end())
            continue;
        images.push_back(RenderPreparedPage(r, i, dpi / 96.0L));
        width = std::max(width, images.back().width());
        height += images.back().height();
    }
    QImage all(width, height, QImage::Format_RGB32);
    all.fill(Qt::white);
    int top = 0;
    for (const QImage& page : images) {
        for (int y = 0; y < page.height(); ++y)
            std::copy_n(page.constScanLine(y), page.bytesPerLine(), all.scanLine(top + y));
        top += page.height();
    }
    return all;
}

// The rectangle of the pages' printable objects: from the top-left of the topmost, leftmost
// object to one pixel past the right and bottom edges of the furthest ones.
inline QRect ObjectsRect(TrpReport& r, const std::vector<int>& pages, int dpi) {
    const long double s = dpi / 96.0L;
    auto R = [](long double v) { return int(std::llround(v)); };
    int left = INT_MAX, top = INT_MAX, right = 0, bottom = 0, offset = 0;
    for (int i = 0; i < r.PreviewPages().Count(); ++i) {
        if (!pages.empty() && std::find(pages.begin(), pages.end(), i + 1) == pages.end())
            continue;
        TrpReportPage* page = r.PreviewPages().Page(i);
        const long double x0 = page->LeftMargin() * fr01cm, y0 = page->TopMargin() * fr01cm;
        for (const auto& object : page->Objects()) {
            auto* v = dynamic_cast<TrpView*>(object.get());
            if (!v || !v->Printable() || !v->Visible())
                continue;
            // Edges fall on whole units from the paper's corner, then scale, as drawing puts them.
            left = std::min(left, R(s * R(x0 + v->AbsLeft())));
            top = std::min(top, R(s * R(y0 + v->AbsTop())) + offset);
            right = std::max(right, R(s * R(x0 + v->AbsLeft() + v->Width())) + 1);
            bottom = std::max(bottom, R(s * R(y0 + v->AbsTop() + v->Height())) + offset + 1);
        }
        offset += R(page->Height() * s);
    }
    return QRect(left, top, right - left, bottom - top);
}

// The smallest rectangle holding every pixel that is not white.
inline QRect InkRect(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0xFFFFFF) != 0xFFFFFF)
                ink |= QRect(x, y, 1, 1);
    }
    return ink;
}

// White where the grey level is at least half, as a 1-bit picture shows the page.
inline QImage Threshold(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            row[x] = qGray(row[x]) >= 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return out;
}

inline int ColourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            colours.insert(row[x] | 0xFF000000u);
    }
    return int(colours.size());
}

struct PixelDifference {
    int Differing = 0;  // pixels not exactly equal
    int Worst = 0;      // largest difference of one channel
    double Mean = 0;    // mean absolute difference over all channels
    int InkChanged = 0; // pixels of the given exact colours that changed
};

inline PixelDifference Compare(const QImage& expected, const QImage& actual, const QList<QRgb>& ink = {}) {
    PixelDifference d;
    if (expected.size() != actual.size()) {
        d.Differing = INT_MAX;
        return d;
    }
    double sum = 0;
    for (int y = 0; y < expected.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb p = a[x] | 0xFF000000u, q = b[x] | 0xFF000000u;
            if (p == q)
                continue;
            ++d.Differing;
            d.InkChanged += ink.contains(p);
            for (int shift : {0, 8, 16}) {
                const int diff = std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
                d.Worst = std::max(d.Worst, diff);
                sum += diff;
            }
        }
    }
    d.Mean = sum / (3.0 * expected.width() * expected.height());
    return d;
}

} // namespace imagetest

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
