#pragma once
// The printer-text export: pages on a fixed character grid (7 x 8 report units at scale 1)
// with ASCII or pseudographic frames, for dot-matrix printers; optionally sent raw to a
// printer after export, with the printer type's control sequences in front.

#include "export/text/PrinterTypes.h"
#include "export/text/TextFileExport.h"

#include <vector>

namespace exports {

class TrpCharGrid;

class TrpTXTExport : public TrpTextFileExport {
public:
    RP_FILTER_OPTIONS
    explicit TrpTXTExport(bool subordinate = false);
    ~TrpTXTExport() override;

    QString FilterDescription() const override;
    bool Start() override;
    void StartPage(report::TrpReportPage* page, int index) override;
    void ExportObject(const report::TrpPlacedObject& object) override;
    void FinishPage(report::TrpReportPage* page, int index) override;
    void Finish() override;

    // ---- published properties ----
    report::Extended ScaleWidth() const { return FScaleWidth; }
    void SetScaleWidth(report::Extended v) { FScaleWidth = v; }
    report::Extended ScaleHeight() const { return FScaleHeight; }
    void SetScaleHeight(report::Extended v) { FScaleHeight = v; }
    bool Borders() const { return FBorders; }
    void SetBorders(bool v) { FBorders = v; }
    bool Pseudogrpahic() const { return FPseudogrpahic; }
    void SetPseudogrpahic(bool v) { FPseudogrpahic = v; }
    bool PageBreaks() const { return FPageBreaks; }
    void SetPageBreaks(bool v) { FPageBreaks = v; }
    bool EmptyLines() const { return FEmptyLines; }
    void SetEmptyLines(bool v) { FEmptyLines = v; }
    bool LeadSpaces() const { return FLeadSpaces; }
    void SetLeadSpaces(bool v) { FLeadSpaces = v; }
    bool PrintAfter() const { return FPrintAfter; }
    void SetPrintAfter(bool v) { FPrintAfter = v; }
    bool PrinterDialog() const { return FPrinterDialog; }
    void SetPrinterDialog(bool v) { FPrinterDialog = v; }
    bool UseSavedProps() const { return FUseSavedProps; }
    void SetUseSavedProps(bool v) { FUseSavedProps = v; }
    const QByteArray& InitString() const { return FInitString; }
    void SetInitString(const QByteArray& v) { FInitString = v; }
    // Eleven frame characters replacing the built-in sets when not empty.
    const QByteArray& CustomFrameSet() const { return FCustomFrameSet; }
    void SetCustomFrameSet(const QByteArray& v) { FCustomFrameSet = v; }

    // ---- printing ----
    // The printer print-after-export sends to; "" for the system's default.
    const QString& PrinterName() const { return FPrinterName; }
    void SetPrinterName(const QString& v) { FPrinterName = v; }
    int Copies() const { return FCopies; }
    void SetCopies(int v) { FCopies = v; }
    const std::vector<TrpPrinterType>& PrinterTypes() const { return FPrinterTypes; }
    int PrinterType() const { return FPrinterType; }
    void SetPrinterType(int index);
    void SetCommandEnabled(int command, bool enabled);
    // InitString from the selected type and its command flags.
    void RebuildInitString();
    // The ".rpi" printer settings file; "" on success, else the message to show. A file that
    // cannot be read or is not a settings file changes nothing.
    QString LoadPrinterSettings(const QString& fileName);
    QString SavePrinterSettings(const QString& fileName) const;

    // The frame characters in use: vertical, horizontal, four corners, four T junctions, cross.
    QByteArray FrameSet() const;

    // The dialog's preview instance: no control bytes, no final form feed.
    bool PreviewMode() const { return FPreviewMode; }
    void SetPreviewMode(bool v) { FPreviewMode = v; }
    // The longest line and the number of lines of the last page written.
    int PageWidthChars() const { return FLongest; }
    int PageHeightChars() const { return FLineCount; }

    // Replaceable for tests: the printer-init dialog; false when cancelled.
    std::function<bool(TrpTXTExport& filter)> OnPrinterDialog;

    // Breaks a text (code page bytes) into lines of at most `width` characters, at most
    // `maxLines` of them, at line breaks, tabs, spaces and dashes.
    static std::vector<QByteArray> WrapText(const QByteArray& text, int width, int maxLines);

protected:
    bool ExecuteOptionsDialog() override;
    void AfterWrite(const QString& fileName) override;

private:
    struct Memo {
        report::Extended Left = 0, Top = 0, Width = 0, Height = 0;
        QByteArray Text; // code page 1251
        report::TrpFrameTypes Frame = 0;
        report::TrpHAlign HAlign = report::haLeft;
        report::TrpVAlign VAlign = report::vaTop;
    };
    void DrawMemo(TrpCharGrid& grid, const Memo& memo) const;
    void ChooseJunctions(TrpCharGrid& grid) const;
    void WritePage(TrpCharGrid& grid);

    report::Extended FScaleWidth = 1, FScaleHeight = 1;
    bool FBorders = false;
    bool FPseudogrpahic = false;
    bool FPageBreaks = true;
    bool FEmptyLines = false;
    bool FLeadSpaces = false;
    bool FPrintAfter = false;
    bool FPrinterDialog = true;
    bool FUseSavedProps = true;
    QByteArray FInitString;
    QByteArray FCustomFrameSet;
    QString FPrinterName;
    int FCopies = 1;
    std::vector<TrpPrinterType> FPrinterTypes;
    int FPrinterType = 0;
    bool FPreviewMode = false;

    std::vector<Memo> FMemos;
    report::Extended FExtentWidth = 0, FExtentHeight = 0;
    int FLongest = 0, FLineCount = 0;
};

} // namespace exports
