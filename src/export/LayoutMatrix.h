#pragma once
// The layout matrix: turns freely positioned objects of prepared pages into a grid of rows
// and columns with merged cells and shared cell styles, for the table-like exports.

#include "report/Components.h"
#include "report/PlacedPage.h"
#include "report/Report.h"

#include <QImage>
#include <QStringList>
#include <memory>
#include <unordered_map>
#include <vector>

namespace report {
class TrpReport;
class TrpDrawText;
} // namespace report

namespace exports {

using report::Extended;
using report::TColor;

// A page, or the whole report, needs more than a format or the layout matrix can hold. The
// export loop names the format in front of the reason.
class TrpTooLarge : public report::TrpReportError {
public:
    using report::TrpReportError::TrpReportError;
};

struct TrpIEMStyle {
    report::TrpFont Font;
    Extended LineSpacing = 2;
    report::TrpVAlign VAlign = report::vaTop;
    report::TrpHAlign HAlign = report::haLeft;
    report::TrpFrameTypes FrameTyp = 0;
    float FrameWidth = 1;
    TColor FrameColor = report::clBlack;
    report::TrpFrameStyle FrameStyle = report::fsSolid;
    TColor Color = report::clNone; // fill; clNone is transparent
    int Rotation = 0;
    report::TBrushStyle BrushStyle = report::bsSolid;
    Extended ParagraphGap = 0;
    Extended GapX = 0;
    Extended GapY = 0;
    Extended CharSpacing = 0;
    bool WordBreak = false;
    int Charset = report::DEFAULT_CHARSET;
    bool operator==(const TrpIEMStyle&) const = default;
};

struct TrpIEMObject {
    QStringList Memo;
    QString URL;
    int StyleIndex = -1;
    TrpIEMStyle* Style = nullptr; // shared, owned by the matrix
    bool IsText = true;
    bool IsRichText = false;
    Extended Left = 0, Top = 0, Width = 0, Height = 0; // Top includes the page offset
    std::unique_ptr<QImage> Image;
    TrpIEMObject* Parent = nullptr; // the object this one was cut from
    int Counter = 0;                // free for a filter
    void* Link = nullptr;           // moves along with the text when the object is cut
    report::TrpFormat DisplayFormat;
    bool RTL = false;
    bool Header = false;
    bool Footer = false;
    QString Name;
};

struct TrpIEMObjectList {
    std::unique_ptr<TrpIEMObject> Obj;
    int x = 0, y = 0, dx = 0, dy = 0;
    bool Exist = false;
};

// Consecutive cells of one grid row that hold the same object: columns X0 to X1 - 1.
struct TrpIEMRun {
    int X0 = 0, X1 = 0;
    int Index = -1;
    bool operator==(const TrpIEMRun&) const = default;
};

struct TrpIEMPage {
    Extended Value = 0; // the grid's bottom when the page was added
    report::TPrinterOrientation Orientation = report::poPortrait;
    Extended Width = 0, Height = 0;
    Extended LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
};

class TrpIEMatrix {
public:
    // The file cache flag is accepted for compatibility: the matrix always works in memory.
    explicit TrpIEMatrix(bool useFileCache = false, const QString& tempDir = {});
    ~TrpIEMatrix();
    TrpIEMatrix(const TrpIEMatrix&) = delete;
    TrpIEMatrix& operator=(const TrpIEMatrix&) = delete;

    // ---- options ----
    bool ShowProgress = true;
    Extended MaxCellHeight = 0; // 0: off
    Extended MaxCellWidth = 0;
    Extended Inaccuracy = 0;
    bool RotatedAsImage = false;
    bool RichText = false;
    bool PlainRich = true;
    bool FillArea = false;
    bool CropFillArea = false;
    bool FramesOptimization = false;
    bool DeleteHTMLTags = false;
    bool Background = false; // the page's fill and frame as a cell of their own
    bool Images = true;
    // Only memos go in: the filter writes no pictures (nor the page's fill and frame).
    bool TextOnly = false;
    bool WrapText = false;
    // Texts keep each paragraph on one line (tags still removed): a field of its own holds them
    // whole, so no wrap point can run two words together.
    bool WholeParagraphs = false;
    bool EmptyLines = true;
    // The text of a cut object goes to its largest piece that keeps enough of it, not to the
    // first: for spreadsheets, whose rows keep their heights and cannot grow to show a text
    // given to a thin strip (the strip above a covering picture).
    bool LargestPieceTakesText = false;
    // The most cells (one per grid row an object crosses) a prepared grid may hold; beyond it
    // Prepare throws TrpTooLarge. The grid is kept as runs of equal cells per row, so a page of
    // many scattered objects costs what its objects cover, not rows times columns.
    long long MaxCells = 8'000'000;
    report::TrpReport* Report = nullptr;

    // ---- building ----
    // One object of a placed page; the page's fill and frame go in only with Background on.
    void AddObject(const report::TrpPlacedObject& object);
    void AddPage(report::TPrinterOrientation orientation, Extended width, Extended height, Extended left,
                 Extended top, Extended right, Extended bottom);
    void Prepare();
    void Clear();
    // Clears the objects, the grid and the pages but keeps the styles, so that a filter writing
    // page by page numbers the styles of every page in one table. The next page's grid begins at
    // the top of its paper.
    void ClearPage();

    // ---- the grid ----
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Record index of a cell, -1 when empty or outside the grid.
    int GetCell(int x, int y) const;
    TrpIEMObject* GetObject(int x, int y) const;
    // The occupied cells of a row, left to right; the cells between runs are empty.
    const std::vector<TrpIEMRun>& RowRuns(int y) const;
    TrpIEMObject* GetObjectById(int index) const;
    void GetObjectPos(int index, int& x, int& y, int& dx, int& dy) const;
    const TrpIEMObjectList* GetRecord(int index) const;
    int ObjectsCount() const { return int(FObjects.size()); }
    TrpIEMStyle* GetStyleById(int index) const;
    int StylesCount() const { return int(FStyles.size()); }
    Extended GetXPosById(int index) const;
    Extended GetYPosById(int index) const;

    // ---- pages ----
    int PagesCount() const { return int(FPages.size()); }
    Extended GetPageBreak(int page) const;
    Extended GetPageWidth(int page) const;
    Extended GetPageHeight(int page) const;
    Extended GetPageLMargin(int page) const;
    Extended GetPageTMargin(int page) const;
    Extended GetPageRMargin(int page) const;
    Extended GetPageBMargin(int page) const;
    report::TPrinterOrientation GetPageOrientation(int page) const;

    Extended MaxWidth() const { return FMaxWidth; }
    Extended MaxHeight() const { return FMaxHeight; }
    Extended MinLeft() const { return FMinLeft; }
    Extended MinTop() const { return FMinTop; }
    Extended DeltaY() const { return FDeltaY; }

private:
    // Adds an object at absolute paper coordinates (before DeltaY).
    void AddView(const report::TrpView& view, Extended left, Extended top);
    void AddPageBackground(const report::TrpPlacedObject& page);
    void AddShadowedMemo(const report::TrpCustomMemoView& memo, Extended left, Extended top);
    void AddRectangle(const report::TrpView& shape, Extended left, Extended top);
    void AddLine(const report::TrpView& line, Extended left, Extended top, Extended width, Extended height);
    TrpIEMObject* NewObject(const report::TrpView& view, Extended left, Extended top);
    void SetMemoText(TrpIEMObject& obj, const report::TrpCustomMemoView& memo);
    void RenderImage(TrpIEMObject& obj, const report::TrpView& view, Extended left, Extended top);
    void Register(std::unique_ptr<TrpIEMObject> obj);
    // The index of a style equal to this one, added when new.
    int AddStyle(const TrpIEMStyle& style);
    void SetStyle(TrpIEMObject& obj, int index);
    void AddPos(std::vector<Extended>& list, Extended value);
    QString AnchorUrl(const QString& url) const;
    int ResolveCharset(const report::TrpFont& font);

    void AddFillArea();
    void OrderPositions(std::vector<Extended>& list, Extended maxCell);
    void PlaceObjects();
    void FillCells();
    void CutCoveredObjects();
    // Throws TrpTooLarge when the grid would hold more than MaxCells cells.
    void CheckCells(long long cells) const;
    void OptimizeFrames();
    void DeleteEmptyRows();
    // Puts the object into cells x0 .. x1 - 1 of row y, over what was there.
    void SetCells(int y, int x0, int x1, int index);
    // Whether cells x0 .. x1 - 1 of row y all hold the object.
    bool Holds(int y, int x0, int x1, int index) const;

    std::vector<TrpIEMObjectList> FObjects;
    std::vector<std::unique_ptr<TrpIEMStyle>> FStyles;
    std::unordered_map<size_t, std::vector<int>> FStyleIndex; // style hash -> indices
    std::vector<Extended> FXPos, FYPos;
    std::vector<TrpIEMPage> FPages;
    std::vector<std::vector<TrpIEMRun>> FRows;
    int FWidth = 0, FHeight = 0;
    Extended FMaxWidth = 0, FMaxHeight = 0;
    Extended FMinLeft = 100000, FMinTop = 100000;
    Extended FDeltaY = 0;
    bool FPageBefore = false;                                  // ClearPage ended a page before this one
    report::TrpPlacedBand FBand = report::TrpPlacedBand::None; // of the object being added
    std::unique_ptr<report::TrpDrawText> FDrawText;
    std::unordered_map<QString, int> FCharsets;
};

} // namespace exports
