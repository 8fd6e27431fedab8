#pragma once
// The template's object model: components, views, memos, pictures, bands and pages.

#include "report/Property.h"
#include "report/ReportTypes.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <memory>
#include <vector>

namespace report {

class TrpReport;
class AttrWriter;

class TrpComponent {
public:
    TrpComponent() = default;
    virtual ~TrpComponent();
    TrpComponent(const TrpComponent&) = delete;
    TrpComponent& operator=(const TrpComponent&) = delete;

    virtual QString ClassName() const = 0;
    virtual bool IsView() const { return false; }
    virtual bool IsBand() const { return false; }
    virtual bool IsPage() const { return false; }

    // A new object of the same class with the same properties (children are not copied).
    std::unique_ptr<TrpComponent> Clone() const;
    // Copies every property (not children, parent or report) from an object of the same class.
    virtual void Assign(const TrpComponent& source);

    const QString& Name() const { return FName; }
    void SetName(const QString& name) { FName = name; }
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }
    Extended Left() const { return FLeft; }
    Extended Top() const { return FTop; }
    Extended Width() const { return FWidth; }
    Extended Height() const { return FHeight; }
    virtual void SetLeft(Extended v) { FLeft = v; }
    virtual void SetTop(Extended v) { FTop = v; }
    virtual void SetWidth(Extended v) { FWidth = v; }
    virtual void SetHeight(Extended v) { FHeight = v; }
    void SetBounds(Extended left, Extended top, Extended width, Extended height);
    // Own position plus all parents' (pages count as the origin of their printable area).
    Extended AbsLeft() const;
    Extended AbsTop() const;

    // With ParentFont the parent's font is used.
    const TrpFont& Font() const;
    void SetFont(const TrpFont& font);
    TrpFont& OwnFont() { return FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v) { FParentFont = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }

    TrpComponent* Parent() const { return FParent; }
    TrpReport* Report() const;
    void SetReport(TrpReport* report) { FReport = report; }

    // Owned children in order.
    const std::vector<std::unique_ptr<TrpComponent>>& Objects() const { return FObjects; }
    TrpComponent* Add(std::unique_ptr<TrpComponent> child);
    std::unique_ptr<TrpComponent> Remove(TrpComponent* child);
    void ClearObjects() { FObjects.clear(); }
    // Finds a child (recursively) by name, case-insensitive.
    TrpComponent* FindObject(const QString& name) const;

    // Attribute text: every stored property in declaration order (the file's full form).
    virtual void WriteFull(AttrWriter& w) const;
    // Only what differs from the source copy (a prepared page's per-object form).
    virtual void WriteDiff(AttrWriter& w, const TrpComponent& source) const;
    // Sets one property from an attribute; the name is lower case. False when unknown.
    virtual bool SetAttribute(const QString& name, const QString& value);
    // Reads a whole attribute text (either form); unknown names are ignored.
    void ApplyAttributes(const QString& text);

private:
    QString FName;
    int FTag = 0;
    Extended FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TrpFont FFont;
    bool FParentFont = true;
    bool FVisible = true;
    TrpComponent* FParent = nullptr;
    TrpReport* FReport = nullptr;
    std::vector<std::unique_ptr<TrpComponent>> FObjects;
};

class TrpReportComponent : public TrpComponent {
    RP_PROPERTY(QString, Description, {})
public:
    void Assign(const TrpComponent& source) override;
};

// A visible object.
class TrpView : public TrpReportComponent {
    RP_PROPERTY(TrpAlign, Align, baNone)
    RP_PROPERTY(bool, Printable, true)
    RP_PROPERTY(TrpShiftMode, ShiftMode, smAlways)
    RP_PROPERTY(int, GroupIndex, 0)
    RP_PROPERTY(int, Restrictions, 0)
    RP_PROPERTY(TrpFrame, Frame, {})
    RP_PROPERTY(TColor, Color, clNone)
    RP_PROPERTY(TBrushStyle, BrushStyle, bsSolid)
    RP_PROPERTY(int, Cursor, 0)
    RP_PROPERTY(QString, TagStr, {})
    RP_PROPERTY(QString, URL, {})
    RP_PROPERTY(QString, DataSetName, {})
    RP_PROPERTY(QString, DataField, {})
    RP_PROPERTY(QString, OnBeforePrint, {})
    RP_PROPERTY(QString, OnAfterData, {})
    RP_PROPERTY(QString, OnAfterPrint, {})
    RP_PROPERTY(QString, OnPreviewClick, {})
public:
    bool IsView() const override { return true; }
    TrpFrame& FrameRef() { return FFrame; }
    void Assign(const TrpComponent& source) override;
    void WriteFull(AttrWriter& w) const override;
    void WriteDiff(AttrWriter& w, const TrpComponent& source) const override;
    bool SetAttribute(const QString& name, const QString& value) override;

    // What preparation saves before filling and restores after printing.
    virtual void SaveState();
    virtual void RestoreState();

private:
    QString FSavedTagStr, FSavedURL;
};

class TrpStretcheable : public TrpView {
    RP_PROPERTY(TrpStretchMode, StretchMode, smDontStretch)
public:
    void Assign(const TrpComponent& source) override;
    void WriteFull(AttrWriter& w) const override;
    bool SetAttribute(const QString& name, const QString& value) override;
};

class TrpCustomMemoView : public TrpStretcheable {
    RP_PROPERTY(QStringList, Memo, {})
    RP_PROPERTY(bool, AllowExpressions, true)
    RP_PROPERTY(QString, ExpressionDelimiters, QStringLiteral("[,]"))
    RP_PROPERTY(bool, AllowHTMLTags, false)
    RP_PROPERTY(bool, AutoWidth, false)
    RP_PROPERTY(Extended, CharSpacing, 0)
    RP_PROPERTY(bool, Clipped, true)
    RP_PROPERTY(TrpFormat, DisplayFormat, {})
    RP_PROPERTY(QString, FlowTo, {})
    RP_PROPERTY(Extended, GapX, 2)
    RP_PROPERTY(Extended, GapY, 1)
    RP_PROPERTY(TrpHAlign, HAlign, haLeft)
    RP_PROPERTY(TrpVAlign, VAlign, vaTop)
    RP_PROPERTY(bool, HideZeros, false)
    RP_PROPERTY(TrpHighlight, Highlight, {})
    RP_PROPERTY(Extended, LineSpacing, 2)
    RP_PROPERTY(Extended, ParagraphGap, 0)
    RP_PROPERTY(bool, RTLReading, false)
    RP_PROPERTY(QString, Style, {})
    RP_PROPERTY(bool, SuppressRepeated, false)
    RP_PROPERTY(bool, Underlines, false)
    RP_PROPERTY(bool, WordBreak, false)
    RP_PROPERTY(bool, WordWrap, true)
public:
    int Rotation() const { return FRotation; }
    void SetRotation(int degrees) { FRotation = ((degrees % 360) + 360) % 360; }
    TrpFormat& DisplayFormatRef() { return FDisplayFormat; }
    TrpHighlight& HighlightRef() { return FHighlight; }

    // The memo lines joined with CR LF.
    QString Text() const;
    // Splits at CR LF, LF or CR.
    void SetText(const QString& text);

    void Assign(const TrpComponent& source) override;
    void WriteFull(AttrWriter& w) const override;
    void WriteDiff(AttrWriter& w, const TrpComponent& source) const override;
    bool SetAttribute(const QString& name, const QString& value) override;
    void SaveState() override;
    void RestoreState() override;

private:
    int FRotation = 0;
    QStringList FSavedMemo;
};

class TrpMemoView final : public TrpCustomMemoView {
public:
    QString ClassName() const override { return QStringLiteral("TrpMemoView"); }
};

class TrpPictureView final : public TrpView {
    RP_PROPERTY(bool, AutoSize, false)
    RP_PROPERTY(bool, Center, false)
    RP_PROPERTY(bool, KeepAspectRatio, true)
    RP_PROPERTY(bool, Stretched, true)
public:
    QString ClassName() const override { return QStringLiteral("TrpPictureView"); }
    const QImage& Picture() const { return FPicture; }
    // Loads a picture from file data of any format the image reader knows; false when unreadable.
    bool LoadPicture(const QByteArray& data);
    void SetPicture(const QImage& image);
    // The stored form of the picture (the file data it was loaded from, or PNG).
    const QByteArray& PictureData() const { return FPictureData; }
    // Every load or assignment counts as a change since creation.
    bool PictureChanged() const { return FPictureChanged; }

    void Assign(const TrpComponent& source) override;
    void WriteFull(AttrWriter& w) const override;
    void WriteDiff(AttrWriter& w, const TrpComponent& source) const override;
    bool SetAttribute(const QString& name, const QString& value) override;

private:
    QImage FPicture;
    QByteArray FPictureData;
    bool FPictureChanged = false;
};

// A horizontal strip that prints views. The engine's null band lists page objects that stay
// owned by their page.
class TrpBand : public TrpReportComponent {
    RP_PROPERTY(QString, OnBeforePrint, {})
    RP_PROPERTY(QString, OnAfterPrint, {})
    RP_PROPERTY(QString, OnAfterCalcHeight, {})
    RP_PROPERTY(bool, Stretched, false)
public:
    bool IsBand() const override { return true; }
    std::vector<TrpView*>& BandObjects() { return FBandObjects; }
    void Assign(const TrpComponent& source) override;
    void WriteFull(AttrWriter& w) const override;
    void WriteDiff(AttrWriter& w, const TrpComponent& source) const override;
    bool SetAttribute(const QString& name, const QString& value) override;

private:
    std::vector<TrpView*> FBandObjects;
};

class TrpNullBand final : public TrpBand {
public:
    QString ClassName() const override { return QStringLiteral("TrpNullBand"); }
};

class TrpPage : public TrpComponent {
public:
    bool IsPage() const override { return true; }
};

class TrpReportPage final : public TrpPage {
    RP_PROPERTY(bool, MirrorMargins, false)
    RP_PROPERTY(int, Bin, 7)
    RP_PROPERTY(int, BinOtherPages, 7)
    RP_PROPERTY(TColor, Color, clNone)
    RP_PROPERTY(TrpFrame, Frame, {})
    RP_PROPERTY(QString, DataSetName, {})
    RP_PROPERTY(bool, PrintIfEmpty, true)
    RP_PROPERTY(bool, PrintOnPreviousPage, false)
    RP_PROPERTY(bool, TitleBeforeHeader, true)
    RP_PROPERTY(QString, OnBeforePrint, {})
    RP_PROPERTY(QString, OnAfterPrint, {})
    RP_PROPERTY(QString, OnManualBuild, {})
public:
    static constexpr int UserPaperSize = 256;
    static constexpr int A4 = 9;

    TrpReportPage();
    QString ClassName() const override { return QStringLiteral("TrpReportPage"); }

    Extended PaperWidth() const { return FPaperWidth; }
    Extended PaperHeight() const { return FPaperHeight; }
    int PaperSize() const { return FPaperSize; }
    TPrinterOrientation Orientation() const { return FOrientation; }
    Extended LeftMargin() const { return FLeftMargin; }
    Extended RightMargin() const { return FRightMargin; }
    Extended TopMargin() const { return FTopMargin; }
    Extended BottomMargin() const { return FBottomMargin; }
    int Columns() const { return FColumns; }
    Extended ColumnWidth() const { return FColumnWidth; }
    const QStringList& ColumnPositions() const { return FColumnPositions; }

    // Below 256 loads the size from the paper table (swapped for landscape).
    void SetPaperSize(int code);
    // A direct size makes the paper a user size.
    void SetPaperWidth(Extended mm);
    void SetPaperHeight(Extended mm);
    // Swaps the paper and rotates the margins.
    void SetOrientation(TPrinterOrientation orientation);
    void SetLeftMargin(Extended mm) { FLeftMargin = mm; }
    void SetRightMargin(Extended mm) { FRightMargin = mm; }
    void SetTopMargin(Extended mm) { FTopMargin = mm; }
    void SetBottomMargin(Extended mm) { FBottomMargin = mm; }
    void SetColumns(int columns);

    // The printable area in report units.
    Extended PrintableWidth() const { return (FPaperWidth - FLeftMargin - FRightMargin) * fr01cm; }
    Extended PrintableHeight() const { return (FPaperHeight - FTopMargin - FBottomMargin) * fr01cm; }

    void Assign(const TrpComponent& source) override;
    void WriteFull(AttrWriter& w) const override;
    bool SetAttribute(const QString& name, const QString& value) override;

private:
    void UpdateSize();

    Extended FPaperWidth = 210, FPaperHeight = 297;
    int FPaperSize = A4;
    TPrinterOrientation FOrientation = poPortrait;
    Extended FLeftMargin = 10, FRightMargin = 10, FTopMargin = 10, FBottomMargin = 10;
    int FColumns = 0;
    Extended FColumnWidth = 0;
    QStringList FColumnPositions;
};

// Paper sizes in millimetres by Windows paper code; false for codes not in the table.
bool PaperSizeOf(int code, Extended& width, Extended& height);

// Creates an object by class name (the classes above); nullptr for an unknown class.
std::unique_ptr<TrpComponent> CreateComponent(const QString& className);

} // namespace report
