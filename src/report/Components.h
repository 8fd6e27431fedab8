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
class ClassProperties;

// Stored properties of every object, in the order of the full form (see Property.h).
#define TRP_COMPONENT_PROPERTIES(P, H)                                                                       \
    P(QString, Name, {}, String)                                                                             \
    P(int, Tag, 0, Int)                                                                                      \
    H(Extended, Left, 0, Coordinate)                                                                         \
    H(Extended, Top, 0, Coordinate)                                                                          \
    H(Extended, Width, 0, Coordinate)                                                                        \
    H(Extended, Height, 0, Coordinate)                                                                       \
    H(TrpFont, Font, {}, Font)                                                                               \
    P(bool, ParentFont, true, Bool)                                                                          \
    P(bool, Visible, true, Bool)

class TrpComponent {
    TRP_COMPONENT_PROPERTIES(RP_PROPERTY, RP_FIELD)
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

    // The stored properties of the object's class (its base classes' first).
    static const ClassProperties& Properties();
    virtual const ClassProperties& Table() const { return Properties(); }
    // Attribute text: every stored property in declaration order (the file's full form).
    void WriteFull(AttrWriter& w) const;
    // Only what differs from the source copy (a prepared page's per-object form).
    void WriteDiff(AttrWriter& w, const TrpComponent& source) const;
    // Sets one property from an attribute; the name is lower case. False when unknown.
    virtual bool SetAttribute(const QString& name, const QString& value);
    // Reads a whole attribute text (either form); unknown names are ignored.
    void ApplyAttributes(const QString& text);

private:
    TrpComponent* FParent = nullptr;
    TrpReport* FReport = nullptr;
    std::vector<std::unique_ptr<TrpComponent>> FObjects;
};

#define TRP_REPORT_COMPONENT_PROPERTIES(P, H) P(QString, Description, {}, String)

class TrpReportComponent : public TrpComponent {
    RP_PROPERTIES(TRP_REPORT_COMPONENT_PROPERTIES)
};

#define TRP_VIEW_PROPERTIES(P, H)                                                                            \
    P(TrpAlign, Align, baNone, AlignName)                                                                    \
    P(bool, Printable, true, Bool)                                                                           \
    P(TrpShiftMode, ShiftMode, smAlways, ShiftName)                                                          \
    P(int, GroupIndex, 0, Int)                                                                               \
    P(int, Restrictions, 0, Int)                                                                             \
    P(TrpFrame, Frame, {}, Frame)                                                                            \
    P(TColor, Color, clNone, Color)                                                                          \
    P(TBrushStyle, BrushStyle, bsSolid, BrushName)                                                           \
    P(int, Cursor, 0, Int)                                                                                   \
    P(QString, TagStr, {}, String)                                                                           \
    P(QString, URL, {}, String)                                                                              \
    P(QString, DataSetName, {}, String)                                                                      \
    P(QString, DataField, {}, String)                                                                        \
    P(QString, OnBeforePrint, {}, String)                                                                    \
    P(QString, OnAfterData, {}, String)                                                                      \
    P(QString, OnAfterPrint, {}, String)                                                                     \
    P(QString, OnPreviewClick, {}, String)

// A visible object.
class TrpView : public TrpReportComponent {
    RP_PROPERTIES(TRP_VIEW_PROPERTIES)
public:
    bool IsView() const override { return true; }
    TrpFrame& FrameRef() { return FFrame; }

    // What preparation saves before filling and restores after printing.
    virtual void SaveState();
    virtual void RestoreState();

private:
    QString FSavedTagStr, FSavedURL;
};

#define TRP_STRETCHEABLE_PROPERTIES(P, H) P(TrpStretchMode, StretchMode, smDontStretch, StretchName)

class TrpStretcheable : public TrpView {
    RP_PROPERTIES(TRP_STRETCHEABLE_PROPERTIES)
};

// An angle in degrees as 0 to 359.
inline int NormalDegrees(int degrees) {
    return ((degrees % 360) + 360) % 360;
}

#define TRP_MEMO_PROPERTIES(P, H)                                                                            \
    P(bool, AllowExpressions, true, Bool)                                                                    \
    P(bool, AllowHTMLTags, false, Bool)                                                                      \
    P(bool, AutoWidth, false, Bool)                                                                          \
    P(bool, Clipped, true, Bool)                                                                             \
    P(bool, HideZeros, false, Bool)                                                                          \
    P(bool, RTLReading, false, Bool)                                                                         \
    P(bool, SuppressRepeated, false, Bool)                                                                   \
    P(bool, Underlines, false, Bool)                                                                         \
    P(bool, WordBreak, false, Bool)                                                                          \
    P(bool, WordWrap, true, Bool)                                                                            \
    P(Extended, CharSpacing, 0, Spacing)                                                                     \
    P(QString, ExpressionDelimiters, QStringLiteral("[,]"), String)                                          \
    P(TrpFormat, DisplayFormat, {}, Format)                                                                  \
    P(QString, FlowTo, {}, String)                                                                           \
    P(Extended, GapX, 2, Spacing)                                                                            \
    P(Extended, GapY, 1, Spacing)                                                                            \
    P(TrpHAlign, HAlign, haLeft, HAlignName)                                                                 \
    P(TrpHighlight, Highlight, {}, Highlight)                                                                \
    P(Extended, LineSpacing, 2, Spacing)                                                                     \
    P(Extended, ParagraphGap, 0, Spacing)                                                                    \
    H(int, Rotation, 0, Degrees)                                                                             \
    P(QString, Style, {}, String)                                                                            \
    P(TrpVAlign, VAlign, vaTop, VAlignName)                                                                  \
    P(QStringList, Memo, {}, MemoText)

class TrpCustomMemoView : public TrpStretcheable {
    RP_PROPERTIES(TRP_MEMO_PROPERTIES)
public:
    int Rotation() const { return FRotation; }
    void SetRotation(int degrees) { FRotation = NormalDegrees(degrees); }
    TrpFormat& DisplayFormatRef() { return FDisplayFormat; }
    TrpHighlight& HighlightRef() { return FHighlight; }

    // The memo lines joined with CR LF.
    QString Text() const;
    // Splits at CR LF, LF or CR.
    void SetText(const QString& text);

    void SaveState() override;
    void RestoreState() override;

private:
    QStringList FSavedMemo;
};

class TrpMemoView final : public TrpCustomMemoView {
public:
    QString ClassName() const override { return QStringLiteral("TrpMemoView"); }
};

#define TRP_PICTURE_PROPERTIES(P, H)                                                                         \
    P(bool, AutoSize, false, Bool)                                                                           \
    P(bool, Center, false, Bool)                                                                             \
    P(bool, KeepAspectRatio, true, Bool)                                                                     \
    P(bool, Stretched, true, Bool)                                                                           \
    H(QByteArray, PictureData, {}, PropData)

class TrpPictureView final : public TrpView {
    RP_PROPERTIES(TRP_PICTURE_PROPERTIES)
public:
    QString ClassName() const override { return QStringLiteral("TrpPictureView"); }
    // The picture to draw: an assigned one, or the stored data decoded (shared with every
    // other use of the same data) for drawing at `drawn` device pixels, so possibly at a
    // reduced size (see platform::DecodedPicture); null when there is none or it cannot be
    // decoded.
    QImage Picture(QSize drawn = {}) const;
    // The picture's own size, without decoding it.
    QSize PictureSize() const;
    // Takes picture file data in one of the formats the program reads (checked through now,
    // decoded again when drawn when it is not held); false, with the picture unchanged,
    // otherwise.
    bool LoadPicture(const QByteArray& data);
    void SetPicture(const QImage& image);
    // The stored form of the picture (the file data it was loaded from, or PNG).
    const QByteArray& PictureData() const { return FPictureData; }
    // Every load or assignment counts as a change since creation.
    bool PictureChanged() const { return FPictureChanged; }

    // An assigned picture goes with its data.
    void Assign(const TrpComponent& source) override;

private:
    QImage FPicture; // assigned by the program; loaded data is decoded when drawn
    bool FPictureChanged = false;
};

#define TRP_BAND_PROPERTIES(P, H)                                                                            \
    P(bool, Stretched, false, Bool)                                                                          \
    P(QString, OnBeforePrint, {}, String)                                                                    \
    P(QString, OnAfterPrint, {}, String)                                                                     \
    P(QString, OnAfterCalcHeight, {}, String)

// A horizontal strip that prints views. The engine's null band lists page objects that stay
// owned by their page.
class TrpBand : public TrpReportComponent {
    RP_PROPERTIES(TRP_BAND_PROPERTIES)
public:
    bool IsBand() const override { return true; }
    std::vector<TrpView*>& BandObjects() { return FBandObjects; }

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

// Paper and margins in millimetres.
#define TRP_PAGE_PROPERTIES(P, H)                                                                            \
    H(Extended, PaperWidth, 210, Float)                                                                      \
    H(Extended, PaperHeight, 297, Float)                                                                     \
    H(int, PaperSize, A4, Int)                                                                               \
    H(TPrinterOrientation, Orientation, poPortrait, OrientationName)                                         \
    P(Extended, LeftMargin, 10, Margin)                                                                      \
    P(Extended, RightMargin, 10, Margin)                                                                     \
    P(Extended, TopMargin, 10, Margin)                                                                       \
    P(Extended, BottomMargin, 10, Margin)                                                                    \
    P(bool, MirrorMargins, false, Bool)                                                                      \
    H(int, Columns, 0, Int)                                                                                  \
    H(Extended, ColumnWidth, 0, Margin)                                                                      \
    H(QStringList, ColumnPositions, {}, StringList)                                                          \
    P(int, Bin, 7, Int)                                                                                      \
    P(int, BinOtherPages, 7, Int)                                                                            \
    P(TColor, Color, clNone, Color)                                                                          \
    P(TrpFrame, Frame, {}, Frame)                                                                            \
    P(QString, DataSetName, {}, String)                                                                      \
    P(QString, OutlineText, {}, String)                                                                      \
    P(bool, PrintIfEmpty, true, Bool)                                                                        \
    P(bool, PrintOnPreviousPage, false, Bool)                                                                \
    P(bool, TitleBeforeHeader, true, Bool)                                                                   \
    P(QString, OnBeforePrint, {}, String)                                                                    \
    P(QString, OnAfterPrint, {}, String)                                                                     \
    P(QString, OnManualBuild, {}, String)

class TrpReportPage final : public TrpPage {
public:
    static constexpr int UserPaperSize = 256;
    static constexpr int A4 = 9;

private:
    RP_PROPERTIES(TRP_PAGE_PROPERTIES)

public:
    TrpReportPage();
    QString ClassName() const override { return QStringLiteral("TrpReportPage"); }

    Extended PaperWidth() const { return FPaperWidth; }
    Extended PaperHeight() const { return FPaperHeight; }
    int PaperSize() const { return FPaperSize; }
    TPrinterOrientation Orientation() const { return FOrientation; }
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
    void SetColumns(int columns);

    // The printable area in report units.
    Extended PrintableWidth() const { return (FPaperWidth - FLeftMargin - FRightMargin) * fr01cm; }
    Extended PrintableHeight() const { return (FPaperHeight - FTopMargin - FBottomMargin) * fr01cm; }

    // The page's own size follows its paper, whatever the attributes say.
    bool SetAttribute(const QString& name, const QString& value) override;

private:
    void UpdateSize();
};

// Paper sizes in millimetres by Windows paper code; false for codes not in the table.
bool PaperSizeOf(int code, Extended& width, Extended& height);

// Creates an object by class name (the classes above); nullptr for an unknown class.
std::unique_ptr<TrpComponent> CreateComponent(const QString& className);

} // namespace report
