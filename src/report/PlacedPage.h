#pragma once
// A prepared page placed on its paper once, for every output: each object with what drawing and
// writing it needs already worked out (where it lies on the paper, the font and fill it shows,
// its text laid out), and the page's own fill and frame as objects of their own kinds.

#include "report/Components.h"
#include "report/DrawText.h"

#include <memory>
#include <vector>

namespace report {

enum class TrpPlacedKind {
    PageBackground, // the page's fill over its printable area (with the page's frame, for
                    // outputs that make one cell of both; the PageFrame item draws it)
    PageFrame,      // the page's frame around its printable area
    Text,           // memos
    RichText,
    Picture,
    Line,
    Shape,
    Other, // any other view: its fill and frame
};

// The outputs that read placed pages. Which of them leave out the objects that are not printable
// is HonoursPrintable's table.
enum class TrpOutput {
    Preview,
    Printer,
    Picture,        // the command line's pictures
    ImageExport,    // BMP, JPEG, TIFF, GIF
    DocumentExport, // PDF
    TableExport,    // the exports that lay pages out in rows and columns: HTML, RTF, Excel, CSV, text
};
// `exportNotPrintable` is the export filters' option of that name, which only the document
// export lets override its rule.
bool HonoursPrintable(TrpOutput output, bool exportNotPrintable = false);

// The page band an object was prepared on, for exports that write page headers and footers once.
enum class TrpPlacedBand { None, PageHeader, PageFooter };

struct TrpPlacedObject {
    TrpPlacedKind Kind = TrpPlacedKind::Other;
    // The object in the prepared page's list (links, search hits); -1 for the page's own items.
    int Index = -1;
    // The object as shown (a copy when marks in its text were replaced); none for page items.
    const TrpView* View = nullptr;
    // Paper coordinates in units, from the paper's corner, margins and mirroring applied; the
    // drop shadow is inside.
    Extended Left = 0, Top = 0, Width = 0, Height = 0;
    // The edges rounded to whole units from the paper's corner: the grid the screen draws on,
    // where edges that meet on the paper meet at every zoom.
    int GridLeft = 0, GridTop = 0, GridRight = 0, GridBottom = 0;
    bool Visible = true;
    bool Printable = true;
    TrpPlacedBand Band = TrpPlacedBand::None;
    bool Clipped = false;
    TrpFont Font;         // as shown: an active highlight's colour and style applied
    TColor Fill = clNone; // as shown: an active highlight's colour applied
    TBrushStyle Brush = bsSolid;
    TrpFrame Frame;
    // Text objects: laid out once, for the text's own width in units (shared by copies that an
    // output changes for its own drawing).
    std::shared_ptr<const TrpDrawText> Text;
};

struct TrpPlacedPage {
    Extended PaperWidth = 0, PaperHeight = 0; // units
    Extended Width = 0, Height = 0;           // the paper in whole units, as the page's own size
    // The printable area on the paper, in units (left and right margins exchanged on mirrored
    // even pages).
    Extended PrintableLeft = 0, PrintableTop = 0, PrintableWidth = 0, PrintableHeight = 0;
    int PageCount = 0; // what the page's "[TotalPages#]" marks show
    // In drawing order: the page's fill, its frame, then the page's objects in their order.
    std::vector<TrpPlacedObject> Objects;
    // Copies of the memos whose marks were replaced; the objects above point into them.
    std::vector<std::unique_ptr<TrpComponent>> Shown;

    // The placed object of prepared object `index`, or nullptr.
    const TrpPlacedObject* ObjectOf(int index) const;
    // Bytes held, for the store's accounting and the benchmarks.
    size_t MemorySize() const;
};

// Places prepared page `index` (from 0) of a report of `pageCount` pages.
std::unique_ptr<TrpPlacedPage> PlacePage(const TrpReportPage& page, int index, int pageCount);

// The placed form of one view whose position counts from (gridX, gridY) on the paper; its text
// is not laid out (TextLayoutWidth gives the width to lay it out for).
TrpPlacedObject PlaceView(const TrpView& view, Extended gridX, Extended gridY);
// The width in units a memo's text is laid out for: the same on every output and at every zoom.
Extended TextLayoutWidth(const TrpCustomMemoView& memo);

} // namespace report
