#include "export/html/HtmlExport.h"
#include "export/FilterOptions.h"

#include "export/Jpeg.h"
#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "export/SaveFileDialog.h"
#include "export/Spool.h"
#include "export/TargetFile.h"
#include "export/TempFiles.h"
#include "export/html/HtmlExportDialog.h"
#include "export/html/HtmlFiles.h"
#include "export/html/HtmlNavigator.h"
#include "export/html/HtmlPage.h"
#include "export/html/HtmlText.h"
#include "export/html/HtmlTexts.h"
#include "export/image/GifEncoder.h"
#include "export/image/PictureOutput.h"
#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ViewPainter.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QUrl>
#include <cmath>

namespace exports {

using namespace report;

namespace {

const QString kMainPage = QStringLiteral("main.html");
const QString kNavigatorPage = QStringLiteral("nav.html");

// libjpeg's own default quality.
constexpr int kJpegQuality = 75;

} // namespace

TrpHTMLExport::TrpHTMLExport(bool subordinate) : TrpCustomExportFilter(subordinate) {
    AddHtmlExportTexts();
    FFilterText = rpGet(8210);
    FDefaultExt = rpGet(8211);
}

TrpHTMLExport::~TrpHTMLExport() = default;

QString TrpHTMLExport::FilterDescription() const {
    return rpGet(QStringLiteral("HTMLexport"));
}

// ---- names ----

QString TrpHTMLExport::BaseName() const {
    return QFileInfo(FileName()).completeBaseName();
}

QString TrpHTMLExport::FolderName() const {
    return FPicsInSameFolder ? QString() : BaseName() + QStringLiteral(".files");
}

QString TrpHTMLExport::InFolder(const QString& name) const {
    return FPicsInSameFolder ? BaseName() + QLatin1Char('.') + name : name;
}

QString TrpHTMLExport::PictureLinkPrefix() const {
    if (FPicsInSameFolder)
        return BaseName() + QLatin1Char('.');
    if (FMultipage)
        return {};
    if (FAbsLinks)
        return QFileInfo(FileName()).absolutePath() + QLatin1Char('/') + FolderName() + QLatin1Char('/');
    if (FNavigator)
        return {};
    return FolderName() + QLatin1Char('/');
}

QString TrpHTMLExport::FramePrefix() const {
    return FPicsInSameFolder ? BaseName() + QLatin1Char('.') : FolderName() + QLatin1Char('/');
}

// ---- the dialog ----

TModalResult TrpHTMLExport::ShowModal() {
    if (Stream())
        return mrOk;
    TrpHTMLExportDialog dialog(*this);
    if (dialog.exec() != QDialog::Accepted)
        return mrCancel;
    dialog.Store(*this);
    if (Subordinate())
        FOpenAfterExport = false;
    const bool chosen = ChooseTargetFile(*this, FDefaultExt, [this](const QString& initial) {
        return OnSaveDialog ? OnSaveDialog(initial)
                            : AskSaveFileName(DefaultPath(), initial, FFilterText, FDefaultExt);
    });
    return chosen ? mrOk : mrCancel;
}

// ---- the export ----

bool TrpHTMLExport::Start() {
    if (Subordinate()) {
        // An attachment is one file.
        FOpenAfterExport = false;
        FExportPictures = false;
        FNavigator = false;
        FMultipage = false;
        FBackground = false;
        FPicsInSameFolder = true;
    }
    if (FileName().isEmpty() && !Stream())
        return false;
    if (!Stream())
        SetFileName(TargetFileName());
    FPageCount = 0;
    FImageCount = 0;
    FTagged.clear();
    FPictures.clear();
    FFiles.reset();
    FMatrix =
        std::make_unique<TrpIEMatrix>(UseFileCache(), Report() ? Report()->EngineOptions.TempDir : QString());
    TrpIEMatrix& m = *FMatrix;
    // One page at a time: the export's own progress tells the pages.
    m.ShowProgress = false;
    m.Inaccuracy = 0.5L;
    m.RotatedAsImage = true;
    m.FramesOptimization = true;
    m.Background = FBackground;
    m.TextOnly = !FExportPictures;
    m.RichText = true;
    m.PlainRich = true;
    m.EmptyLines = FEmptyLines;
    m.Report = Report();
    if (Stream()) {
        FMultipage = false;
        FExportPictures = false;
        FNavigator = false;
    } else {
        // Everything is staged beside the target from here on; a folder that cannot take it
        // fails now.
        FFiles = std::make_unique<THTMLFileSet>(FileName(), FolderName());
    }
    if (!FMultipage) {
        FWriter = std::make_unique<THTMLPageWriter>(PageSettings());
        FSpool = std::make_unique<TrpSpool>();
    }
    return true;
}

void TrpHTMLExport::StartPage(TrpReportPage* /*page*/, int /*index*/) {
    ++FPageCount;
    FPageBackground = false;
    FBackgroundImage = QImage();
}

void TrpHTMLExport::ExportObject(const TrpPlacedObject& object) {
    if (!FMatrix)
        return;
    if (object.Kind == TrpPlacedKind::PageBackground && FExportPictures && FBackground) {
        // The page's fill and frame become the page's background picture.
        FPageBackground = true;
        const QSize size(std::max(1, int(std::lround(object.Width))),
                         std::max(1, int(std::lround(object.Height))));
        FBackgroundImage = QImage(size, QImage::Format_RGB32);
        FBackgroundImage.fill(Qt::white);
        QPainter painter(&FBackgroundImage);
        TrpDrawParams p;
        p.OffsetX = -object.Left;
        p.OffsetY = -object.Top;
        DrawView(painter, object, p);
    }
    const int before = FMatrix->ObjectsCount();
    FMatrix->AddObject(object);
    const auto* memo = dynamic_cast<const TrpCustomMemoView*>(object.View);
    if (memo && memo->AllowHTMLTags())
        for (int i = before; i < FMatrix->ObjectsCount(); ++i)
            FTagged.insert(FMatrix->GetObjectById(i));
}

QString TrpHTMLExport::SavePicture(const QImage& image, const QString& stem) {
    // A picture met before (the logo on every page) is linked again, not written again.
    size_t key = qHash(image.width()) ^ qHash(image.height());
    const qsizetype used = (qsizetype(image.width()) * image.depth() + 7) / 8; // rows end in padding
    for (int y = 0; y < image.height(); ++y)
        key = qHashMulti(key, QByteArrayView(image.constScanLine(y), used));
    for (const auto& [seen, link] : FPictures[key])
        if (seen == image)
            return link;
    QByteArray data;
    QString ext;
    if (FUseJpeg) {
        data = EncodeJpeg(image, kJpegQuality);
        ext = QStringLiteral(".jpg");
    } else {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        if (FUseGif) {
            WriteGif(buffer, image);
            ext = QStringLiteral(".gif");
        } else {
            image.save(&buffer, "BMP");
            ext = QStringLiteral(".bmp");
        }
    }
    const QString name = InFolder(stem + ext);
    FFiles->WriteFile(name, data);
    const QString link =
        HtmlLinkPath(PictureLinkPrefix() + (FPicsInSameFolder ? name.mid(BaseName().size() + 1) : name));
    FPictures[key].emplace_back(image, link);
    return link;
}

THTMLPageSettings TrpHTMLExport::PageSettings() {
    THTMLPageSettings s;
    s.ExportStyles = FExportStyles;
    s.FixedWidth = FFixedWidth;
    s.Centered = FCentered;
    s.Multipage = FMultipage;
    s.Title = Report() ? Report()->ReportOptions.Name : QString();
    s.PagePrefix = HtmlLinkPath(PictureLinkPrefix());
    if (FExportPictures)
        s.Picture = [this](const QImage& image) {
            return SavePicture(image, QStringLiteral("img") + QString::number(FImageCount++));
        };
    s.Tagged = [this](const TrpIEMObject& obj) {
        for (const TrpIEMObject* o = &obj; o; o = o->Parent)
            if (FTagged.count(o))
                return true;
        return false;
    };
    return s;
}

void TrpHTMLExport::FinishPage(TrpReportPage* page, int /*index*/) {
    if (!FMatrix || !page)
        return;
    FMatrix->Prepare();
    if (FMultipage) {
        THTMLPageSettings s = PageSettings();
        if (FPageBackground && FExportPictures && !FBackgroundImage.isNull())
            s.Background = SavePicture(FBackgroundImage, QStringLiteral("backgrnd"));
        const QByteArray doc = HtmlPageDocument(*FMatrix, s);
        FFiles->WriteFile(InFolder(QString::number(FPageCount) + QStringLiteral(".html")), doc);
        FMatrix->Clear();
    } else {
        // The page's table goes out now; the styles stay numbered for the pages to come.
        FSpool->Append(FWriter->Table(*FMatrix));
        FSpool->EndPage();
        FMatrix->ClearPage();
    }
    FTagged.clear();
}

bool TrpHTMLExport::WriteSingleFile() {
    TrpProgress progress;
    if (ShowProgress())
        progress.Execute(FSpool->Pages(), rpGet("ProgressWait"), true, true);
    if (progress.Terminated())
        return false;
    // The body's background is the last page's.
    if (FPageBackground && FExportPictures && !FBackgroundImage.isNull())
        FWriter->Settings().Background = SavePicture(FBackgroundImage, QStringLiteral("backgrnd"));
    const QByteArray head = FWriter->Head(*FMatrix);
    bool cancelled = false;
    auto write = [&](QIODevice& out) {
        QString error = platform::WriteAll(out, head);
        for (int i = 0; i < FSpool->Pages() && error.isEmpty() && !cancelled; ++i) {
            error = platform::WriteAll(out, FSpool->Page(i));
            progress.Tick();
            cancelled = progress.Terminated();
        }
        return error.isEmpty() ? platform::WriteAll(out, THTMLPageWriter::Tail()) : error;
    };
    if (QIODevice* stream = Stream()) {
        if (const QString error = write(*stream); !error.isEmpty())
            throw TrpReportError(error);
        return true;
    }
    if (FNavigator)
        FFiles->WriteFile(InFolder(kMainPage), write);
    else
        FFiles->WriteMain(write);
    progress.Hide();
    return !cancelled;
}

void TrpHTMLExport::Finish() {
    struct Release {
        TrpHTMLExport& F;
        ~Release() {
            F.FMatrix.reset();
            F.FFiles.reset(); // what was staged and not moved into place goes
            F.FWriter.reset();
            F.FSpool.reset();
            F.FTagged.clear();
            F.FBackgroundImage = QImage();
            F.FPictures.clear();
        }
    } release{*this};
    // A failed or cancelled export writes nothing.
    if (!FMatrix || Failed() || (Report() && Report()->Terminated()))
        return;
    if (FPageCount == 0) // the page list named no page of the report: say so
        throw TrpReportError(rpGet(QStringLiteral("exNoPages")));
    // Cancelled while the main file is written: nothing is put in place.
    if (!FMultipage && !WriteSingleFile())
        return;
    if (FNavigator) {
        THTMLNavigatorSettings nav;
        nav.PageCount = FPageCount;
        nav.ReportName = Report() ? Report()->ReportOptions.Name : QString();
        nav.Multipage = FMultipage;
        nav.PagePrefix = FPicsInSameFolder ? HtmlLinkPath(BaseName() + QLatin1Char('.')) : QString();
        nav.Title = Report() ? Report()->ReportOptions.Name : QString();
        nav.ExtraButtons = NavExtraButtons;
        nav.PrintTarget = NavPrintTarget;
        nav.RefreshTarget = NavRefreshTarget;
        nav.StripPrefix = NavStripPrefix;
        FFiles->WriteFile(InFolder(kNavigatorPage), HtmlNavigatorPage(nav));
        FFiles->WriteMain(HtmlFrameset(nav.Title, HtmlLinkPath(FramePrefix()), FMultipage));
    }
    if (!FFiles) // written into the caller's stream
        return;
    FFiles->Commit();
    if (FOpenAfterExport && !Subordinate())
        Open(FMultipage && !FNavigator ? FFiles->FinalPath(InFolder(QStringLiteral("1.html"))) : FileName());
}

void TrpHTMLExport::Open(const QString& fileName) {
    if (OnOpenFile)
        OnOpenFile(fileName);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
}

const FilterOptions& TrpHTMLExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpCustomExportFilter::Published());
        using F = TrpHTMLExport;
        t.Add<option::Bool>("OpenAfterExport", &F::OpenAfterExport, &F::SetOpenAfterExport, false);
        t.Add<option::Bool>("FixedWidth", &F::FixedWidth, &F::SetFixedWidth, true);
        t.Add<option::Bool>("ExportPictures", &F::ExportPictures, &F::SetExportPictures, true);
        t.Add<option::Bool>("PicsInSameFolder", &F::PicsInSameFolder, &F::SetPicsInSameFolder, false);
        t.Add<option::Bool>("ExportStyles", &F::ExportStyles, &F::SetExportStyles, true);
        t.Add<option::Bool>("Navigator", &F::Navigator, &F::SetNavigator, false);
        t.Add<option::Bool>("Multipage", &F::Multipage, &F::SetMultipage, false);
        t.Add<option::Bool>("MozillaFrames", &F::MozillaFrames, &F::SetMozillaFrames, false);
        t.Add<option::Bool>("UseJpeg", &F::UseJpeg, &F::SetUseJpeg, true);
        t.Add<option::Bool>("UseGif", &F::UseGif, &F::SetUseGif, false);
        t.Add<option::Bool>("AbsLinks", &F::AbsLinks, &F::SetAbsLinks, false);
        t.Add<option::Bool>("Background", &F::Background, &F::SetBackground, false);
        t.Add<option::Bool>("Centered", &F::Centered, &F::SetCentered, false);
        t.Add<option::Bool>("EmptyLines", &F::EmptyLines, &F::SetEmptyLines, true);
        t.Interactive({"OpenAfterExport"});
        return t;
    }();
    return rows;
}

} // namespace exports
