#include "export/pdf/PdfExport.h"
#include "export/FilterOptions.h"

#include "export/Jpeg.h"
#include "export/SaveFileDialog.h"
#include "export/TempFiles.h"
#include "export/pdf/PdfExportDialog.h"
#include "export/pdf/PdfFormat.h"
#include "export/pdf/PdfToolkit.h"
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

QByteArray Num(long double v) {
    return PdfNumber(v);
}

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

void TrpPDFExport::Line(const QByteArray& s) {
    FPage->AppendLine(s);
}

void TrpPDFExport::StrokeSetup(const TrpFrame& frame) {
    Line(FPDF->Toolkit().PdfColor(frame.Color) + " RG");
    Line(Num(frame.Width * PointsPerReportPixel) + " w");
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
    const QByteArray x1 = Num(X(o.Left)), y1 = Num(Y(o.Top)), x2 = Num(X(o.Left + o.Width)),
                     y2 = Num(Y(o.Top + o.Height));
    auto segment = [&](const QByteArray& ax, const QByteArray& ay, const QByteArray& bx,
                       const QByteArray& by) {
        StrokeSetup(o.Frame);
        Line(ax + ' ' + ay + " m");
        Line(bx + ' ' + by + " l");
        Line("S");
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
                Line(FPDF->Toolkit().PdfColor(o.Fill) + " rg");
            Line(x1 + ' ' + y2 + ' ' + Num(o.Width * PointsPerReportPixel) + ' ' +
                 Num(o.Height * PointsPerReportPixel) + " re");
            Line(stroke && fill ? "B" : stroke ? "S" : "f");
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
    const QByteArray x1 = Num(X(o.Left)), y1 = Num(Y(o.Top)), x2 = Num(X(o.Left + w)), y2 = Num(Y(o.Top + h));
    StrokeSetup(f);
    if (f.Typ == ftAll) {
        Line(x1 + ' ' + y1 + " m");
        Line(x2 + ' ' + y1 + " l");
        Line(x2 + ' ' + y2 + " l");
        Line(x1 + ' ' + y2 + " l");
        Line(x1 + ' ' + y1 + " l");
        Line("s");
        return;
    }
    const struct {
        int Side;
        const QByteArray &Ax, &Ay, &Bx, &By;
    } sides[] = {{ftTop, x1, y1, x2, y1},
                 {ftRight, x2, y1, x2, y2},
                 {ftBottom, x1, y2, x2, y2},
                 {ftLeft, x1, y1, x1, y2}};
    for (const auto& s : sides) {
        if (!(f.Typ & s.Side))
            continue;
        Line(s.Ax + ' ' + s.Ay + " m");
        Line(s.Bx + ' ' + s.By + " l");
        Line("S");
    }
}

void TrpPDFExport::DrawVectorMemo(const TrpPlacedObject& o) {
    TrpPDFToolkit& kit = FPDF->Toolkit();
    const TrpFrame& f = o.Frame;
    const Extended left = o.Left, top = o.Top, fw = f.Width;
    Extended w = o.Width, h = o.Height;

    Line("q");
    Line(Num(X(left - fw)) + ' ' + Num(Y(top + h + fw)) + ' ' + Num((2 * fw + w) * PointsPerReportPixel) +
         ' ' + Num((2 * fw + h) * PointsPerReportPixel) + " re");
    Line("W");
    Line("n");

    if (f.DropShadow) {
        const Extended sw = f.ShadowWidth;
        w -= sw;
        h -= sw;
        const QByteArray sc = kit.PdfColor(f.ShadowColor);
        Line(sc + " rg");
        Line(sc + " RG");
        Line(Num(X(left + w)) + ' ' + Num(Y(top + h + sw)) + ' ' + Num(sw * PointsPerReportPixel) + ' ' +
             Num(h * PointsPerReportPixel) + " re");
        Line("B");
        Line(Num(X(left + sw)) + ' ' + Num(Y(top + h + sw)) + ' ' + Num(w * PointsPerReportPixel) + ' ' +
             Num(sw * PointsPerReportPixel) + " re");
        Line("B");
    }

    if (o.Fill != clNone && o.Brush != bsClear) {
        Line(kit.PdfColor(o.Fill) + " rg");
        Line(Num(X(left)) + ' ' + Num(Y(top + h)) + ' ' + Num(w * PointsPerReportPixel) + ' ' +
             Num(h * PointsPerReportPixel) + " re");
        Line("f");
    }
    DrawFrame(o);
    DrawMemoText(o);
    Line("Q");
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

    TrpPDFToolkit& kit = FPDF->Toolkit();
    const TrpFont& font = s.Font;
    // Without tags, and for right-to-left reading, a line is one piece in the memo's font.
    const bool wholeLines = !(s.AllowHTMLTags && FHTMLTags) || s.RTLReading;
    const TrpHTMLTag baseTag{font.Size, false, false, font.Style, font.Color};
    int currentFont = -1, currentSize = -1;
    QByteArray currentColor;
    if (s.CharSpacing != 0)
        Line(Num(s.CharSpacing * PointsPerReportPixel) + " Tc");

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
            Line(pdfFont->ResourceName() + ' ' + Num(runFont.Size) + " Tf");
            currentFont = position;
            currentSize = runFont.Size;
        }
        const QByteArray color = kit.PdfColor(runFont.Color == clNone ? clBlack : runFont.Color);
        if (color != currentColor) {
            Line(color + " rg");
            currentColor = color;
        }
        const QByteArray px = Num(X(left)), py = Num(Y(baseline));
        Line("BT");
        Line(px + ' ' + py + " Td");
        if (wordSpacing > 0)
            Line(Num(wordSpacing * PointsPerReportPixel) + " Tw");
        Line("(" + EscapeText(pdfFont->Encode(text)) + ") Tj");
        Line("ET");
        auto rule = [&](Extended offset, Extended thickness) {
            Line(color + " RG");
            Line(Num(thickness) + " w");
            const QByteArray ry = Num(Y(baseline) - offset);
            Line(px + ' ' + ry + " m");
            Line(Num(X(left + width)) + ' ' + ry + " l");
            Line("S");
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
            Line("0 Tw");
    }
    if (s.CharSpacing != 0)
        Line("0 Tc");
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
    const QByteArray jpeg = EncodeJpeg(image, drawing ? 85 : 80);
    const Extended w = o.Width * PointsPerReportPixel, h = o.Height * PointsPerReportPixel;
    Line("q");
    Line((w == 0 ? QByteArray("1") : Num(w)) + " 0 0 " + (h == 0 ? QByteArray("1") : Num(h)) + ' ' +
         Num(X(o.Left)) + ' ' + Num(Y(o.Top + o.Height)) + " cm");
    Line("BI");
    Line("/W " + QByteArray::number(image.width()));
    Line("/H " + QByteArray::number(image.height()));
    Line("/CS /RGB");
    Line("/BPC 8");
    Line("/I true");
    Line("/F [/DCT]");
    // One white-space byte after ID, then the data.
    FPage->AppendText("ID ");
    FPage->Flush();
    FPage->AppendText(jpeg);
    Line("");
    Line("EI");
    Line("Q");
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
