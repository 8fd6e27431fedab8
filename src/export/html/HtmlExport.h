#pragma once
// The HTML export: the prepared pages laid out as one table per page through the layout
// matrix, a CSS class per cell style, pictures as files beside the page, and optionally a
// file per page and a frameset with a page navigator.

#include "export/ExportFilter.h"
#include "report/DrawText.h"

#include <QImage>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace exports {

class TrpIEMatrix;
struct TrpIEMObject;
class THTMLFileSet;
class TrpProgress;
class THTMLPageWriter;
struct THTMLPageSettings;
class TrpSpool;

class TrpHTMLExport : public TrpCustomExportFilter {
public:
    RP_FILTER_OPTIONS
    explicit TrpHTMLExport(bool subordinate = false);
    ~TrpHTMLExport() override;

    QString FilterDescription() const override;
    TModalResult ShowModal() override;
    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(const report::TrpPlacedObject& object) override;
    void FinishPage(report::TrpReportPage* page, int index) override;
    void Finish() override;

    // ---- published properties ----
    bool OpenAfterExport() const { return FOpenAfterExport; }
    void SetOpenAfterExport(bool v) { FOpenAfterExport = v; }
    bool FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(bool v) { FFixedWidth = v; }
    bool ExportPictures() const { return FExportPictures; }
    void SetExportPictures(bool v) { FExportPictures = v; }
    bool PicsInSameFolder() const { return FPicsInSameFolder; }
    void SetPicsInSameFolder(bool v) { FPicsInSameFolder = v; }
    bool ExportStyles() const { return FExportStyles; }
    void SetExportStyles(bool v) { FExportStyles = v; }
    bool Navigator() const { return FNavigator; }
    void SetNavigator(bool v) { FNavigator = v; }
    bool Multipage() const { return FMultipage; }
    void SetMultipage(bool v) { FMultipage = v; }
    bool MozillaFrames() const { return FMozillaFrames; }
    void SetMozillaFrames(bool v) { FMozillaFrames = v; }
    bool UseJpeg() const { return FUseJpeg; }
    void SetUseJpeg(bool v) {
        FUseJpeg = v;
        if (v)
            FUseGif = false;
    }
    bool UseGif() const { return FUseGif; }
    void SetUseGif(bool v) {
        FUseGif = v;
        if (v)
            FUseJpeg = false;
    }
    bool AbsLinks() const { return FAbsLinks; }
    void SetAbsLinks(bool v) { FAbsLinks = v; }
    bool Background() const { return FBackground; }
    void SetBackground(bool v) { FBackground = v; }
    bool Centered() const { return FCentered; }
    void SetCentered(bool v) { FCentered = v; }
    bool EmptyLines() const { return FEmptyLines; }
    void SetEmptyLines(bool v) { FEmptyLines = v; }

    // ---- public, not stored: the navigator page ----
    bool NavExtraButtons = false;
    QString NavPrintTarget;
    QString NavRefreshTarget;
    QString NavStripPrefix;

    // The save dialog's filter text and the default extension.
    const QString& FilterText() const { return FFilterText; }
    const QString& DefaultExt() const override { return FDefaultExt; }

    // What links inside a page start with.
    QString PictureLinkPrefix() const;
    // What the frameset's links start with.
    QString FramePrefix() const;

    // Opens a written file with its associated program; replaceable for tests.
    std::function<void(const QString& fileName)> OnOpenFile;
    // Asks for the target file; returns "" when cancelled. Replaceable for tests.
    std::function<QString(const QString& initialName)> OnSaveDialog;

private:
    QString BaseName() const;
    QString FolderName() const;
    // The name of a file inside the picture folder, as the file set takes it.
    QString InFolder(const QString& name) const;
    QString SavePicture(const QImage& image, const QString& stem);
    THTMLPageSettings PageSettings();
    // The main file of every page; false when the progress window was cancelled.
    bool WriteSingleFile();
    void Open(const QString& fileName);

    bool FOpenAfterExport = false;
    bool FFixedWidth = true;
    bool FExportPictures = true;
    bool FPicsInSameFolder = false;
    bool FExportStyles = true;
    bool FNavigator = false;
    bool FMultipage = false;
    bool FMozillaFrames = false;
    bool FUseJpeg = true;
    bool FUseGif = false;
    bool FAbsLinks = false;
    bool FBackground = false;
    bool FCentered = false;
    bool FEmptyLines = true;
    QString FFilterText;
    QString FDefaultExt;

    std::unique_ptr<TrpIEMatrix> FMatrix;
    std::unique_ptr<THTMLFileSet> FFiles;
    // One file of every page: the tables written so far, and what writes them.
    std::unique_ptr<THTMLPageWriter> FWriter;
    std::unique_ptr<TrpSpool> FSpool;
    std::unordered_set<const TrpIEMObject*> FTagged; // objects whose text renders HTML tags
    // The pictures written so far by a hash of their pixels, with their links.
    std::unordered_map<size_t, std::vector<std::pair<QImage, QString>>> FPictures;
    int FPageCount = 0;
    int FImageCount = 0;
    bool FPageBackground = false;
    QImage FBackgroundImage;
};

} // namespace exports
