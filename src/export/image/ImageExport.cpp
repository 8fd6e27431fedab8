#include "export/image/ImageExport.h"
#include "export/FilterOptions.h"

#include "export/Jpeg.h"
#include "export/SaveFileDialog.h"
#include "export/TempFiles.h"
#include "export/image/GifEncoder.h"
#include "export/image/ImageExportDialog.h"
#include "export/image/ImagePalette.h"
#include "export/image/ImageTexts.h"
#include "export/image/PictureOutput.h"
#include "export/image/TiffWriter.h"
#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"
#include "report/Limits.h"
#include "report/PageList.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ViewPainter.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QTemporaryFile>
#include <cmath>

namespace exports {

using namespace report;

namespace {

int R(long double v) {
    return int(std::llround(v));
}

// The engine text of the key with %1, %2, ... filled in one pass, so that a file name holding
// "%2" stays as it is.
[[noreturn]] void Fail(const QString& key, const QStringList& args = {}) {
    const QString text = rpGet(key);
    QString filled;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int n = i + 1 < text.size() && text[i] == u'%' ? text[i + 1].digitValue() : -1;
        if (n >= 1 && n <= args.size()) {
            filled += args[n - 1];
            ++i;
        } else {
            filled += text[i];
        }
    }
    throw TrpReportError(filled);
}

// The pixels an object covers: its rectangle as drawn, one pixel past the right and bottom
// edges, its drop shadow, and the part of its frame lines that a high resolution draws outside
// the edges (they are centred on them; double lines lie a line's width further out).
QRect CoveredBy(const TrpPlacedObject& object, const TrpPageCanvas& p) {
    const QRect drawn = DeviceRect(object, p);
    int left = drawn.left(), top = drawn.top(), right = drawn.right() + 2, bottom = drawn.bottom() + 2;
    const TrpFrame& f = object.Frame;
    if (f.DropShadow) {
        right += R(p.ScaleX * limits::ClampFrameWidth(f.ShadowWidth));
        bottom += R(p.ScaleY * limits::ClampFrameWidth(f.ShadowWidth));
    }
    if (f.Typ != 0 && f.Color != clNone && f.Width != 0) {
        const int fw = std::max(R(p.ScaleX * limits::ClampFrameWidth(f.Width)), 1);
        const int outer = f.Style == fsDouble ? fw : 0;
        const int before = fw / 2 + outer, after = fw - fw / 2 - 1 + outer;
        left -= (f.Typ & ftLeft) ? before : 0;
        top -= (f.Typ & ftTop) ? before : 0;
        right += (f.Typ & ftRight) ? after : 0;
        bottom += (f.Typ & ftBottom) ? after : 0;
    }
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

int DotsPerMeter(int dpi) {
    return R(dpi / 0.0254L);
}

} // namespace

// ---- the common part ----

TrpCustomImageExport::TrpCustomImageExport(bool subordinate, const char* filterTextKey,
                                           const QString& defaultExt)
    : TrpCustomExportFilter(subordinate), FDefaultExt(defaultExt) {
    AddImageExportTexts();
    FFilterText = rpGet(QString::fromLatin1(filterTextKey));
}

TrpCustomImageExport::~TrpCustomImageExport() = default;

QString TrpCustomImageExport::PictureFileName(const QString& suffix) const {
    QString name = FileName();
    const qsizetype slash = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        name.truncate(dot);
    return name + suffix + FDefaultExt;
}

QString TrpCustomImageExport::TemporaryTarget() const {
    return NewTemporaryFile(FDefaultExt);
}

QString TrpCustomImageExport::SaveDialog(const QString& initialName) {
    if (OnSaveDialog)
        return OnSaveDialog(initialName);
    return AskSaveFileName(DefaultPath(), initialName, FFilterText, FDefaultExt);
}

TModalResult TrpCustomImageExport::ShowModal() {
    TrpIMGExportDialog dialog(*this);
    if (dialog.exec() != QDialog::Accepted)
        return mrCancel;
    dialog.Store(*this);
    if (Stream())
        return mrOk;
    if (Subordinate()) {
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

bool TrpCustomImageExport::Start() {
    if (FileName().isEmpty() && !Stream())
        return false;
    if (FOutputDpi < 1)
        Fail(QStringLiteral("exBadResolution"), {QString::number(FOutputDpi)});
    if (!Stream())
        SetFileName(TargetFileName());
    // An attachment, or a caller's stream, takes one picture.
    FOnePicture = !FFilePerPage || Subordinate() || Stream();
    // Report units are 1/96 inch, the resolution of the screen the preview draws on.
    FScale = FOutputDpi / 96.0L;
    FPageCount = 0;
    FOffset = 0;
    FFirstPage = true;
    FPainter.reset();
    FBitmap = QImage();
    return true;
}

QSize TrpCustomImageExport::TallPictureSize(const TrpReportPage& first) const {
    const QSize own(R(first.Width() * FScale), R(first.Height() * FScale));
    if (!Report())
        return own;
    TrpPreviewPages& pages = Report()->PreviewPages();
    const int count = pages.Count();
    const std::vector<int> selected = ParsePageNumbers(PageNumbers(), count);
    const bool all = QString(PageNumbers()).remove(QLatin1Char(' ')).isEmpty();
    int width = own.width();
    qint64 height = 0;
    for (int i = 0; i < count && height < MaxPictureSide; ++i) {
        if (!all && !PageSelected(selected, i + 1))
            continue;
        const QSize size = pages.PageSize(i);
        width = std::max(width, R(size.width() * FScale));
        height += R(size.height() * FScale);
    }
    // Pages below the limit are left out of the picture.
    return QSize(width, int(std::clamp<qint64>(height, own.height(), MaxPictureSide)));
}

void TrpCustomImageExport::NewBitmap(QSize size) {
    FPainter.reset();
    FBitmap = QImage();
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        Fail(QStringLiteral("exPictureTooLarge"),
             {QString::number(size.width()), QString::number(size.height()), QString::number(FOutputDpi),
              QString::number(MaxPictureSide)});
    size = size.expandedTo(QSize(1, 1));
    FBitmap = QImage(size, QImage::Format_RGB32);
    if (FBitmap.isNull())
        Fail(QStringLiteral("exPictureNoMemory"),
             {QString::number(size.width()), QString::number(size.height())});
    FBitmap.fill(Qt::white);
    FBitmap.setDotsPerMeterX(DotsPerMeter(FOutputDpi));
    FBitmap.setDotsPerMeterY(DotsPerMeter(FOutputDpi));
    FPainter = std::make_unique<QPainter>(&FBitmap);
    FCovered = QRect();
}

void TrpCustomImageExport::StartPage(TrpReportPage* page, int index) {
    if (!page)
        return;
    ++FPageCount;
    if (!FOnePicture)
        NewBitmap(QSize(R(page->Width() * FScale), R(page->Height() * FScale)));
    else if (FFirstPage) {
        FFirstPage = false;
        NewBitmap(TallPictureSize(*page));
    }
    DrawPlacedPage(*page, index);
}

void TrpCustomImageExport::ExportObject(const TrpPlacedObject&) {
    // The page is drawn whole, placed, when it starts.
}

void TrpCustomImageExport::DrawPlacedPage(const TrpReportPage& page, int index) {
    // The page as the preview draws it, less what is not printed (whatever ExportNotPrintable
    // says): the store's placed page, or the page handed in placed here when there is no report.
    std::unique_ptr<TrpPlacedPage> own;
    const TrpPlacedPage* placed = Report() ? Report()->PreviewPages().Placed(index) : nullptr;
    if (!placed) {
        own = PlacePage(page, index, index + 1);
        placed = own.get();
    }
    TrpPageCanvas canvas;
    canvas.ScaleX = canvas.ScaleY = FScale;
    canvas.OffsetY = FOffset;
    canvas.Output = TrpOutput::ImageExport;
    report::DrawPlacedPage(*FPainter, *placed, canvas);
    // Cropping is to what the page's objects show.
    for (const TrpPlacedObject& o : placed->Objects)
        if (o.View && o.Visible && o.Printable)
            FCovered |= CoveredBy(o, canvas);
}

void TrpCustomImageExport::FinishPage(TrpReportPage* page, int /*index*/) {
    if (!page || FBitmap.isNull())
        return;
    if (!FOnePicture)
        SavePicture();
    else
        FOffset += R(page->Height() * FScale);
}

void TrpCustomImageExport::Finish() {
    // After an error the single picture holds only the pages done so far: it is not written.
    if (FOnePicture && !FBitmap.isNull() && !Failed())
        SavePicture();
    FPainter.reset();
    FBitmap = QImage();
    if (FPageCount == 0 && !Failed()) // the page list named no page of the report: say so
        Fail(QStringLiteral("exNoPages"));
}

void TrpCustomImageExport::SavePicture() {
    FPainter.reset();
    QImage picture = std::move(FBitmap);
    FBitmap = QImage();
    // Each step makes a new picture, which may not fit in memory.
    auto replace = [&picture](const QSize& size, auto&& make) {
        picture = make();
        if (picture.isNull())
            Fail(QStringLiteral("exPictureNoMemory"),
                 {QString::number(size.width()), QString::number(size.height())});
    };
    // A single picture ends below the last page drawn.
    if (FOnePicture && FOffset > 0 && FOffset < picture.height()) {
        const QRect drawn(0, 0, picture.width(), FOffset);
        replace(drawn.size(), [&] { return picture.copy(drawn); });
    }
    if (FCropImages) {
        const QRect covered = FCovered & picture.rect();
        if (!covered.isEmpty())
            replace(covered.size(), [&] { return picture.copy(covered); });
    }
    if (FMonochrome)
        replace(picture.size(), [&] { return ToMonochrome(picture); });
    picture.setDotsPerMeterX(DotsPerMeter(FOutputDpi));
    picture.setDotsPerMeterY(DotsPerMeter(FOutputDpi));

    if (QIODevice* stream = Stream()) {
        WritePicture(*stream, picture);
        return;
    }
    // Written beside the target and put in its place only when complete, so that a failed
    // export never leaves a half-written file (nor destroys the file it would replace).
    const QString name = PictureFileName(FOnePicture ? QString() : QStringLiteral(".%1").arg(FPageCount));
    const QString error = platform::WriteFileAtomically(name, [&](QIODevice& device) {
        try {
            WritePicture(device, picture);
            return QString();
        } catch (const TrpReportError& e) {
            return e.Message();
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        }
    });
    if (!error.isEmpty())
        Fail(QStringLiteral("exCannotWrite"), {name, error});
}

// ---- the formats ----

TrpBMPExport::TrpBMPExport(bool subordinate)
    : TrpCustomImageExport(subordinate, "BMPexportFilter", QStringLiteral(".bmp")) {}

QString TrpBMPExport::FilterDescription() const {
    return rpGet(QStringLiteral("BMPexport"));
}

void TrpBMPExport::WritePicture(QIODevice& out, const QImage& picture) {
    // Encoded in memory: Qt's encoder does not write again what the device did not take.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP"))
        Fail(QStringLiteral("exPictureNoMemory"),
             {QString::number(picture.width()), QString::number(picture.height())});
    WriteAll(out, buffer.data());
}

TrpJPEGExport::TrpJPEGExport(bool subordinate)
    : TrpCustomImageExport(subordinate, "JPEGexportFilter", QStringLiteral(".jpg")) {}

QString TrpJPEGExport::FilterDescription() const {
    return rpGet(QStringLiteral("JPEGexport"));
}

void TrpJPEGExport::WritePicture(QIODevice& out, const QImage& picture) {
    WriteAll(out, EncodeJpeg(picture, JPEGQuality() & 0xFF, OutputDpi()));
}

TrpTIFFExport::TrpTIFFExport(bool subordinate)
    : TrpCustomImageExport(subordinate, "TIFFexportFilter", QStringLiteral(".tif")) {}

QString TrpTIFFExport::FilterDescription() const {
    return rpGet(QStringLiteral("TIFFexport"));
}

void TrpTIFFExport::WritePicture(QIODevice& out, const QImage& picture) {
    WriteTiff(out, picture, OutputDpi());
}

TrpGIFExport::TrpGIFExport(bool subordinate)
    : TrpCustomImageExport(subordinate, "GifexportFilter", QStringLiteral(".gif")) {}

QString TrpGIFExport::FilterDescription() const {
    return rpGet(QStringLiteral("GIFexport"));
}

void TrpGIFExport::WritePicture(QIODevice& out, const QImage& picture) {
    WriteGif(out, picture);
}

// ---- without a dialog ----

std::unique_ptr<TrpCustomImageExport> CreateImageExport(TrpImageFormat format, bool subordinate) {
    switch (format) {
    case TrpImageFormat::BMP:
        return std::make_unique<TrpBMPExport>(subordinate);
    case TrpImageFormat::JPEG:
        return std::make_unique<TrpJPEGExport>(subordinate);
    case TrpImageFormat::TIFF:
        return std::make_unique<TrpTIFFExport>(subordinate);
    case TrpImageFormat::GIF:
        return std::make_unique<TrpGIFExport>(subordinate);
    }
    return nullptr;
}

QString ExportReportToPicture(TrpReport& report, TrpImageFormat format, QIODevice& out) {
    std::unique_ptr<TrpCustomImageExport> filter = CreateImageExport(format, true);
    filter->SetStream(&out);
    return ExportSilently(report, *filter);
}

const FilterOptions& TrpCustomImageExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpCustomExportFilter::Published());
        using F = TrpCustomImageExport;
        t.Add<option::Bool>("CropImages", &F::CropImages, &F::SetCropImages, false);
        t.Add<option::Bool>("Monochrome", &F::Monochrome, &F::SetMonochrome, false);
        t.Add<option::IntIn<1, 100000>>("OutputDpi", &F::OutputDpi, &F::SetOutputDpi, 96);
        t.Add<option::Bool>("FilePerPage", &F::FilePerPage, &F::SetFilePerPage, true);
        return t;
    }();
    return rows;
}

const FilterOptions& TrpJPEGExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpCustomImageExport::Published());
        using F = TrpJPEGExport;
        t.Add<option::IntIn<1, 100>>("JPEGQuality", &F::JPEGQuality, &F::SetJPEGQuality, 90);
        return t;
    }();
    return rows;
}

} // namespace exports
