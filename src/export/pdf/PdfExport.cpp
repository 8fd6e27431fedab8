#include "export/pdf/PdfExport.h"
#include "export/FilterOptions.h"

#include "export/Jpeg.h"
#include "export/SaveFileDialog.h"
#include "export/TempFiles.h"
#include "export/pdf/PdfExportDialog.h"
#include "export/pdf/PdfFormat.h"
#include "platform/AtomicFile.h"
#include "platform/Units.h"
#include "report/EngineTexts.h"
#include "report/FontCache.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ShapeViews.h"
#include "report/ViewPainter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryFile>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace exports {

using namespace report;

namespace {

const char* const kTexts = R"(=== PDF export
8700=Экспорт в PDF
8701=Компрессия
8702=Встроить шрифты
8703=Высокое разрешение
8704=Оглавление
8705=Фон
8706=Открыть после экспорта
8707=Файл Adobe PDF (*.pdf)|*.pdf
8708=.pdf
PDFexport=Документ PDF
)";

const QString kCreator = QStringLiteral("Tarifon (www.kviralt.ru)");

bool IsSolidOrClear(TBrushStyle s) {
    return s == bsSolid || s == bsClear;
}

// Reverses a line for right-to-left reading: the whole line, brackets swapped, then every run
// of characters from "!" to "y" back to reading order.
QString ReverseForRTL(const QString& line) {
    QString r = line;
    std::reverse(r.begin(), r.end());
    for (QChar& c : r) {
        if (c == '(')
            c = ')';
        else if (c == ')')
            c = '(';
        else if (c == '[')
            c = ']';
        else if (c == ']')
            c = '[';
    }
    auto inRun = [](QChar c) { return c >= '!' && c <= 'y'; };
    for (qsizetype i = 0; i < r.size();) {
        if (!inRun(r[i])) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < r.size() && inRun(r[j]))
            ++j;
        std::reverse(r.begin() + i, r.begin() + j);
        i = j;
    }
    return r;
}

} // namespace

void AddPdfExportTexts() {
    TrpResources::Instance().AddStringsOnce(kTexts);
}

TrpPDFExport::TrpPDFExport(bool subordinate) : TrpCustomExportFilter(subordinate) {
    AddPdfExportTexts();
    FFilterText = rpGet(8707);
    FDefaultExt = rpGet(8708);
    FAuthor = QStringLiteral("Tarifon");
    FSubject = QStringLiteral("Tarifon PDF export");
    FCreator = kCreator;
}

TrpPDFExport::~TrpPDFExport() = default;

QString TrpPDFExport::FilterDescription() const {
    return rpGet(QStringLiteral("PDFexport"));
}

QString TrpPDFExport::TemporaryTarget() const {
    return NewTemporaryFile(FDefaultExt);
}

QString TrpPDFExport::SaveDialog(const QString& initialName) {
    if (OnSaveDialog)
        return OnSaveDialog(initialName);
    return AskSaveFileName(DefaultPath(), initialName, FFilterText, FDefaultExt);
}

TModalResult TrpPDFExport::ShowModal() {
    if (Stream())
        return mrOk;
    FOutline = Report() ? Report()->PreviewOptions.OutlineVisible : true;
    TrpPDFExportDialog dialog(*this);
    if (dialog.exec() != QDialog::Accepted)
        return mrCancel;
    dialog.Store(*this);
    if (Subordinate()) {
        FOpenAfterExport = false;
        SetFileName(TemporaryTarget());
        return FileName().isEmpty() ? mrCancel : mrOk;
    }
    QString initial = FileName();
    if (initial.isEmpty()) {
        const QString name = Report() ? Report()->ReportOptions.Name : QString();
        initial = (name.isEmpty() ? QStringLiteral("report") : name) + FDefaultExt;
    }
    const QString chosen = SaveDialog(initial);
    if (chosen.isEmpty())
        return mrCancel;
    SetFileName(chosen);
    return mrOk;
}

bool TrpPDFExport::Start() {
    if (FileName().isEmpty() && !Stream())
        return false;
    if (!Stream())
        SetFileName(TargetFileName());
    const int pages = Report() ? Report()->PreviewPages().Count() : 0;
    FPDF = std::make_unique<TrpPDFFile>(UseFileCache() && pages > 200,
                                        Report() ? Report()->EngineOptions.TempDir : QString());
    FPDF->Compressed = FCompressed;
    FPDF->EmbeddedFonts = FEmbeddedFonts;
    FPDF->PrintOptimized = FPrintOptimized;
    FPDF->Outline = FOutline;
    FPDF->Background = FBackground;
    FPDF->Author = FAuthor;
    FPDF->Subject = FSubject;
    FPDF->Creator = FCreator;
    FPDF->HTMLTags = FHTMLTags;
    FOutlineItems.clear();
    FOutlineEntries.clear();
    FNextEntry = 0;
    if (FOutline) {
        FPDF->OutlineSource = &FOutlineItems;
        if (Report()) {
            // By page, so that each page takes its entries from the front (a file made elsewhere
            // may list them in any order).
            FOutlineEntries = Report()->PreviewPages().Outline();
            std::stable_sort(FOutlineEntries.begin(), FOutlineEntries.end(),
                             [](const auto& a, const auto& b) { return a.Page < b.Page; });
        }
    }
    FPage = nullptr;
    return true;
}

void TrpPDFExport::StartPage(TrpReportPage* page, int index) {
    if (!FPDF || !page)
        return;
    FPage = FPDF->BeginPage(*page);
    // Entries of pages left out of the export are passed over.
    const int pdfPage = FPDF->PagesCount() - 1;
    while (FNextEntry < FOutlineEntries.size() && FOutlineEntries[FNextEntry].Page <= index) {
        const TrpPreviewPages::OutlineEntry& e = FOutlineEntries[FNextEntry++];
        if (e.Page == index)
            FOutlineItems.push_back({e.Text, pdfPage, 0, {}});
    }
}

void TrpPDFExport::ExportObject(const TrpPlacedObject& object) {
    if (!FPage)
        return;
    DrawObject(object);
    FPage->Flush();
}

void TrpPDFExport::Finish() {
    // The writer and its temporary content file go in every case.
    std::unique_ptr<TrpPDFFile> pdf = std::move(FPDF);
    FPage = nullptr;
    if (!pdf || Failed())
        return;
    pdf->Title = Report() ? Report()->ReportOptions.Name : QString();
    if (pdf->PagesCount() == 0) // the page list named no page of the report: no file, and say so
        throw TrpPDFError(rpGet(QStringLiteral("exNoPages")));
    if (QIODevice* stream = Stream()) {
        pdf->WriteDocument(*stream);
        return;
    }
    // Written beside the target and put in its place only when complete, so that a failed
    // export never leaves a half-written file (nor destroys the file it would replace).
    const QString error = platform::WriteFileAtomically(FileName(), [&](QIODevice& device) {
        try {
            pdf->WriteDocument(device);
            return QString();
        } catch (const TrpPDFError& e) {
            return e.Message();
        }
    });
    if (!error.isEmpty())
        throw TrpPDFError(rpGet(QStringLiteral("exCannotWrite")).arg(FileName(), error));
    if (FOpenAfterExport && !Subordinate()) {
        if (OnOpenFile)
            OnOpenFile(FileName());
        else
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(FileName()).absoluteFilePath()));
    }
}

// ---- drawing ----

long double TrpPDFExport::X(long double x) const {
    return x * PointsPerReportPixel + FPage->MarginLeft;
}

long double TrpPDFExport::Y(long double y) const {
    return FPage->Height - (y * PointsPerReportPixel + FPage->MarginTop);
}

void TrpPDFExport::StrokeSetup(const TrpFrame& frame) {
    TrpPDFContent& c = FPage->Content();
    c.StrokeColor(frame.Color);
    c.LineWidth(frame.Width * PointsPerReportPixel);
}

bool TrpPDFExport::HoldsHTML(const TrpCustomMemoView& memo) const {
    if (!memo.AllowHTMLTags() || !FHTMLTags)
        return false;
    const QString text = memo.Text();
    return text.contains(QLatin1Char('<')) && text.contains(QLatin1Char('>'));
}

void TrpPDFExport::DrawObject(const TrpPlacedObject& o) {
    switch (o.Kind) {
    case TrpPlacedKind::PageFrame: // drawn with the page's fill
        return;
    case TrpPlacedKind::PageBackground:
        if (FBackground && o.Width > 0 && o.Height > 0)
            DrawPicture(o);
        return;
    case TrpPlacedKind::Text: {
        auto& memo = static_cast<const TrpCustomMemoView&>(*o.View);
        if (memo.Rotation() == 0 && IsSolidOrClear(o.Brush)) {
            DrawVectorMemo(o);
            return;
        }
        break;
    }
    default:
        break;
    }
    TrpPDFContent& c = FPage->Content();
    const Extended x1 = X(o.Left), y1 = Y(o.Top), x2 = X(o.Left + o.Width), y2 = Y(o.Top + o.Height);
    auto segment = [&](Extended ax, Extended ay, Extended bx, Extended by) {
        StrokeSetup(o.Frame);
        c.MoveTo(ax, ay);
        c.LineTo(bx, by);
        c.Stroke();
    };
    if (o.Kind == TrpPlacedKind::Line) {
        if (o.Frame.Color != clNone)
            segment(x1, y1, x2, y2);
        return;
    }
    if (o.Kind == TrpPlacedKind::Shape) {
        switch (static_cast<const TrpShapeView&>(*o.View).Shape()) {
        case skRectangle: {
            // A transparent rectangle stays transparent, as it is drawn on the page.
            const bool stroke = o.Frame.Color != clNone, fill = o.Fill != clNone;
            if (!stroke && !fill)
                return;
            if (stroke)
                StrokeSetup(o.Frame);
            if (fill)
                c.FillColor(o.Fill);
            c.Rectangle(x1, y2, o.Width * PointsPerReportPixel, o.Height * PointsPerReportPixel);
            if (stroke && fill)
                c.FillAndStroke();
            else if (stroke)
                c.Stroke();
            else
                c.Fill();
            return;
        }
        case skDiagonal1:
            if (o.Frame.Color != clNone)
                segment(x1, y2, x2, y1);
            return;
        case skDiagonal2:
            if (o.Frame.Color != clNone)
                segment(x1, y1, x2, y2);
            return;
        default:
            break;
        }
    }
    if (o.Width > 0 && o.Height > 0)
        DrawPicture(o);
}

void TrpPDFExport::DrawFrame(const TrpPlacedObject& o) {
    const TrpFrame& f = o.Frame;
    if (f.Typ == 0 || f.Color == clNone || f.Width == 0)
        return;
    Extended w = o.Width, h = o.Height;
    if (f.DropShadow) {
        w -= f.ShadowWidth;
        h -= f.ShadowWidth;
    }
    const Extended x1 = X(o.Left), y1 = Y(o.Top), x2 = X(o.Left + w), y2 = Y(o.Top + h);
    TrpPDFContent& c = FPage->Content();
    StrokeSetup(f);
    if (f.Typ == ftAll) {
        c.MoveTo(x1, y1);
        c.LineTo(x2, y1);
        c.LineTo(x2, y2);
        c.LineTo(x1, y2);
        c.LineTo(x1, y1);
        c.CloseAndStroke();
        return;
    }
    const struct {
        int Side;
        Extended Ax, Ay, Bx, By;
    } sides[] = {{ftTop, x1, y1, x2, y1},
                 {ftRight, x2, y1, x2, y2},
                 {ftBottom, x1, y2, x2, y2},
                 {ftLeft, x1, y1, x1, y2}};
    for (const auto& s : sides) {
        if (!(f.Typ & s.Side))
            continue;
        c.MoveTo(s.Ax, s.Ay);
        c.LineTo(s.Bx, s.By);
        c.Stroke();
    }
}

void TrpPDFExport::DrawVectorMemo(const TrpPlacedObject& o) {
    TrpPDFContent& c = FPage->Content();
    const TrpFrame& f = o.Frame;
    const Extended left = o.Left, top = o.Top, fw = f.Width;
    Extended w = o.Width, h = o.Height;

    c.Save();
    c.Rectangle(X(left - fw), Y(top + h + fw), (2 * fw + w) * PointsPerReportPixel,
                (2 * fw + h) * PointsPerReportPixel);
    c.Clip();
    c.EndPath();

    if (f.DropShadow) {
        const Extended sw = f.ShadowWidth;
        w -= sw;
        h -= sw;
        c.FillColor(f.ShadowColor);
        c.StrokeColor(f.ShadowColor);
        c.Rectangle(X(left + w), Y(top + h + sw), sw * PointsPerReportPixel, h * PointsPerReportPixel);
        c.FillAndStroke();
        c.Rectangle(X(left + sw), Y(top + h + sw), w * PointsPerReportPixel, sw * PointsPerReportPixel);
        c.FillAndStroke();
    }

    if (o.Fill != clNone && o.Brush != bsClear) {
        c.FillColor(o.Fill);
        c.Rectangle(X(left), Y(top + h), w * PointsPerReportPixel, h * PointsPerReportPixel);
        c.Fill();
    }
    DrawFrame(o);
    DrawMemoText(o);
    c.Restore();
}

void TrpPDFExport::DrawMemoText(const TrpPlacedObject& o) {
    auto& memo = static_cast<const TrpCustomMemoView&>(*o.View);
    const TrpTextSettings s = MemoTextSettings(memo);
    // Lines break as the page draws them (the text is unrotated here).
    if (!o.Text)
        return;
    const TrpDrawText& laid = *o.Text;
    const std::vector<TrpTextLine>& lines = laid.Lines();
    if (lines.empty())
        return;

    // Placed as the page is drawn at 100 %, on the paper; each run then goes where the layout
    // put it, since the document's fonts advance by their own unhinted widths.
    TrpDrawParams paper;
    paper.OffsetX = o.Left - memo.AbsLeft();
    paper.OffsetY = o.Top - memo.AbsTop();
    TrpTextTarget target;
    target.TextRect = MemoTextRect(memo, paper);
    target.ObjectRect = target.TextRect;
    const TrpPlacedText placed = laid.Place(target);

    TrpPDFContent& c = FPage->Content();
    const TrpFont& font = s.Font;
    // Without tags, and for right-to-left reading, a line is one piece in the memo's font.
    const bool wholeLines = !(s.AllowHTMLTags && FHTMLTags) || s.RTLReading;
    const TrpHTMLTag baseTag{font.Size, false, false, font.Style, font.Color};
    int currentFont = -1, currentSize = -1;
    QByteArray currentColor; // as written: colours that write alike need no new operator
    if (s.CharSpacing != 0)
        c.CharSpacing(s.CharSpacing * PointsPerReportPixel);

    // One piece of text: its characters, attributes, layout position and baseline.
    auto writePiece = [&](QString text, const TrpHTMLTag& tag, Extended left, Extended width, int baseline,
                          TrpFontMetrics& metrics, Extended wordSpacing) {
        text.remove(QChar(1));
        if (s.RTLReading)
            text = ReverseForRTL(text);
        if (text.trimmed().isEmpty())
            return;
        TrpFont runFont = font;
        runFont.Style = tag.Style;
        runFont.Size = tag.Size;
        runFont.Color = tag.Color;
        const int position = FPDF->LookupFont(runFont);
        TrpPDFFont* pdfFont = FPDF->Fonts(position);
        if (position != currentFont || runFont.Size != currentSize) {
            c.Font(pdfFont->ResourceName(), runFont.Size);
            currentFont = position;
            currentSize = runFont.Size;
        }
        const TColor color = runFont.Color == clNone ? clBlack : runFont.Color;
        if (c.ColorOperands(color) != currentColor) {
            c.FillColor(color);
            currentColor = c.ColorOperands(color);
        }
        const Extended px = X(left), py = Y(baseline);
        c.BeginText();
        c.TextPosition(px, py);
        if (wordSpacing > 0)
            c.WordSpacing(wordSpacing * PointsPerReportPixel);
        c.ShowText(pdfFont->Encode(text));
        c.EndText();
        auto rule = [&](Extended offset, Extended thickness) {
            c.StrokeColor(color);
            c.LineWidth(thickness);
            const Extended ry = py - offset;
            c.MoveTo(px, ry);
            c.LineTo(X(left + width), ry);
            c.Stroke();
        };
        if (runFont.Style & fsUnderline)
            rule(runFont.Size * 0.12L, runFont.Size * 0.08L);
        if (runFont.Style & fsStrikeOut)
            rule(-metrics.Raw().xHeight() / 2 * PointsPerReportPixel, runFont.Size * 0.08L);
    };

    TrpFontMetrics& base = FontMetricsFor(
        font.Name, font.Style, int(std::lround(font.Size * double(ScreenDPI) / PointsPerInch)), true);
    size_t run = 0;
    for (int li = 0; li < int(lines.size()); ++li) {
        const TrpTextLine& line = lines[size_t(li)];
        const TrpPlacedLine& at = placed.Lines[size_t(li)];
        QString text = line.Text;
        text.remove(QChar(1));
        // The document's word spacing applies to the space character only.
        const int spaces = int(text.count(QLatin1Char(' ')));
        const Extended wordSpacing = at.Justify > 0 && spaces > 0 ? Extended(at.Justify) / spaces : 0;
        const bool written = !text.trimmed().isEmpty();
        if (written && wholeLines)
            writePiece(line.Text, baseTag, at.X, line.Width() / TrpDrawText::MeasureFactor, at.Baseline, base,
                       wordSpacing);
        for (; run < placed.Runs.size() && placed.Runs[run].Line == li; ++run) {
            const TrpTextRun& r = placed.Runs[run];
            if (written && !wholeLines)
                writePiece(line.Text.mid(r.From, r.To - r.From), r.Tag, at.X + r.LayoutLeft, r.LayoutWidth,
                           r.Baseline, *r.Font, wordSpacing);
        }
        if (written && wordSpacing > 0)
            c.WordSpacing(0);
    }
    if (s.CharSpacing != 0)
        c.CharSpacing(0);
}

void TrpPDFExport::DrawPicture(const TrpPlacedObject& o) {
    const bool hatch = !IsSolidOrClear(o.Brush);
    const bool isMemo = o.Kind == TrpPlacedKind::Text;
    int scale = ((FPrintOptimized || isMemo) && !hatch) ? 4 : 1;
    int shift = 0;
    const bool barcode = o.View && o.View->ClassName() == u"TrpBarCodeView";
    if (barcode && !FPrintOptimized) {
        scale = 2;
        shift = 2;
    }
    // The bitmap covers the object's box exactly, so the picture is not stretched.
    const int width = std::max(1, int(std::lround(scale * o.Width)));
    const int height = std::max(1, int(std::lround(scale * o.Height)));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        // The frame is drawn as vectors afterwards.
        TrpPlacedObject unframed = o;
        unframed.Frame.Width = 0;
        TrpDrawParams p;
        p.ScaleX = p.ScaleY = scale;
        p.OffsetX = shift - std::lround((o.View ? o.View->AbsLeft() : o.Left) * scale);
        p.OffsetY = -std::lround((o.View ? o.View->AbsTop() : o.Top) * scale);
        DrawView(painter, unframed, p);
    }

    const bool drawing = barcode || o.Kind == TrpPlacedKind::Shape || o.Kind == TrpPlacedKind::Line;
    const Extended w = o.Width * PointsPerReportPixel, h = o.Height * PointsPerReportPixel;
    TrpPDFContent& c = FPage->Content();
    c.Save();
    c.Transform(w == 0 ? 1 : w, 0, 0, h == 0 ? 1 : h, X(o.Left), Y(o.Top + o.Height));
    c.InlineJpeg(image.width(), image.height(), EncodeJpeg(image, drawing ? 85 : 80));
    c.Restore();
    DrawFrame(o);
}

// ---- without a dialog ----

QString ExportReportToPDF(TrpReport& report, const QString& fileName, bool embedFonts) {
    TrpPDFExport filter(true);
    filter.SetFileName(fileName);
    filter.SetEmbeddedFonts(embedFonts);
    filter.SetUseFileCache(true);
    return ExportSilently(report, filter);
}

const FilterOptions& TrpPDFExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpCustomExportFilter::Published());
        using F = TrpPDFExport;
        t.Add<option::Bool>("Compressed", &F::Compressed, &F::SetCompressed, true);
        t.Add<option::Bool>("EmbeddedFonts", &F::EmbeddedFonts, &F::SetEmbeddedFonts, false);
        t.Add<option::Bool>("OpenAfterExport", &F::OpenAfterExport, &F::SetOpenAfterExport, false);
        t.Add<option::Bool>("PrintOptimized", &F::PrintOptimized, &F::SetPrintOptimized, false);
        t.Add<option::Bool>("Outline", &F::Outline, &F::SetOutline, false);
        t.Add<option::String>("Author", &F::Author, &F::SetAuthor, QStringLiteral("Tarifon"));
        t.Add<option::String>("Subject", &F::Subject, &F::SetSubject, QStringLiteral("Tarifon PDF export"));
        t.Add<option::Bool>("Background", &F::Background, &F::SetBackground, false);
        t.Add<option::String>("Creator", &F::Creator, &F::SetCreator, kCreator);
        t.Add<option::Bool>("HTMLTags", &F::HTMLTags, &F::SetHTMLTags, true);
        t.Interactive({"OpenAfterExport"});
        return t;
    }();
    return rows;
}

} // namespace exports
