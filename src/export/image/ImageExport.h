#pragma once
// The picture exports: the prepared pages drawn as the preview draws them onto a bitmap, one
// picture per page or one tall picture of all pages, and saved as BMP, JPEG, TIFF or GIF.

#include "export/ExportFilter.h"
#include "report/DrawText.h"

#include <QImage>
#include <QRect>
#include <functional>
#include <memory>

class QIODevice;
class QPainter;

namespace exports {

// Neither side of a picture may exceed this many pixels.
inline constexpr int MaxPictureSide = 30000;

class TrpCustomImageExport : public TrpCustomExportFilter {
public:
    RP_FILTER_OPTIONS
    ~TrpCustomImageExport() override;

    TModalResult ShowModal() override;
    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(const report::TrpPlacedObject& object) override;
    report::TrpOutput Output() const override { return report::TrpOutput::ImageExport; }
    void FinishPage(report::TrpReportPage* page, int index) override;
    void Finish() override;

    // ---- published properties ----
    bool CropImages() const { return FCropImages; }
    void SetCropImages(bool v) { FCropImages = v; }
    bool Monochrome() const { return FMonochrome; }
    void SetMonochrome(bool v) { FMonochrome = v; }
    // Used by the JPEG export only; its low byte is the quality.
    int JPEGQuality() const { return FJPEGQuality; }
    void SetJPEGQuality(int v) { FJPEGQuality = v; }
    int OutputDpi() const { return FOutputDpi; }
    void SetOutputDpi(int v) { FOutputDpi = v; }
    bool FilePerPage() const { return FFilePerPage; }
    void SetFilePerPage(bool v) { FFilePerPage = v; }

    // The save dialog's filter text and the default extension of the format.
    const QString& FilterText() const { return FFilterText; }
    const QString& DefaultExt() const override { return FDefaultExt; }
    // Whether the options dialog offers the quality field and the monochrome box.
    virtual bool HasQuality() const { return false; }
    virtual bool AllowsMonochrome() const { return true; }

    // The file a picture goes to: FileName with its extension replaced by the suffix (".1" for
    // the first page when each page has its own file) and the format's extension.
    QString PictureFileName(const QString& suffix) const;

    // Asks for the target file; returns "" when cancelled. Replaceable for tests; the default
    // is the save dialog.
    std::function<QString(const QString& initialName)> OnSaveDialog;

protected:
    TrpCustomImageExport(bool subordinate, const char* filterTextKey, const QString& defaultExt);
    // Writes the finished picture in the class's format.
    virtual void WritePicture(QIODevice& out, const QImage& picture) = 0;

private:
    void NewBitmap(QSize size);
    void SavePicture();
    QString SaveDialog(const QString& initialName);
    QString TemporaryTarget() const;
    // The size of the single picture that holds every page this export draws.
    QSize TallPictureSize(const report::TrpReportPage& first) const;

    bool FCropImages = false;
    bool FMonochrome = false;
    int FJPEGQuality = 90;
    int FOutputDpi = 96;
    bool FFilePerPage = true;
    QString FFilterText;
    QString FDefaultExt;

    QImage FBitmap;
    std::unique_ptr<QPainter> FPainter;
    bool FOnePicture = false; // one picture of all pages in this run
    long double FScale = 1;
    int FPageCount = 0;
    int FOffset = 0; // top of the current page inside a single picture
    QRect FCovered;  // pixels covered by the exported objects

    void DrawPlacedPage(const report::TrpReportPage& page, int index);
    bool FFirstPage = true;
};

class TrpBMPExport : public TrpCustomImageExport {
public:
    explicit TrpBMPExport(bool subordinate = false);
    QString FilterDescription() const override;

protected:
    void WritePicture(QIODevice& out, const QImage& picture) override;
};

class TrpJPEGExport : public TrpCustomImageExport {
public:
    RP_FILTER_OPTIONS
    explicit TrpJPEGExport(bool subordinate = false);
    QString FilterDescription() const override;
    bool HasQuality() const override { return true; }

protected:
    void WritePicture(QIODevice& out, const QImage& picture) override;
};

class TrpTIFFExport : public TrpCustomImageExport {
public:
    explicit TrpTIFFExport(bool subordinate = false);
    QString FilterDescription() const override;

protected:
    void WritePicture(QIODevice& out, const QImage& picture) override;
};

class TrpGIFExport : public TrpCustomImageExport {
public:
    explicit TrpGIFExport(bool subordinate = false);
    QString FilterDescription() const override;
    bool AllowsMonochrome() const override { return false; }

protected:
    void WritePicture(QIODevice& out, const QImage& picture) override;
};

enum class TrpImageFormat { BMP, JPEG, TIFF, GIF };

// The picture export of a format, with its defaults.
std::unique_ptr<TrpCustomImageExport> CreateImageExport(TrpImageFormat format, bool subordinate = false);

// Writes a prepared report as one picture of all its pages at 96 dpi to `out`, without any
// dialog: for the one-page calculation sheet, the picture the export menu writes. Returns ""
// on success, else the message to show.
QString ExportReportToPicture(report::TrpReport& report, TrpImageFormat format, QIODevice& out);

} // namespace exports
