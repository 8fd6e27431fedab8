#include "report/PlacedPage.h"

#include "report/Limits.h"
#include "report/MemoFill.h"
#include "report/ShapeViews.h"
#include "report/ViewPainter.h"

#include <algorithm>

namespace report {

namespace {

int R(Extended v) {
    return limits::DevicePixel(v);
}

TrpPlacedKind KindOf(const TrpView& view) {
    if (dynamic_cast<const TrpCustomMemoView*>(&view))
        return TrpPlacedKind::Text;
    if (dynamic_cast<const TrpPictureView*>(&view))
        return TrpPlacedKind::Picture;
    if (dynamic_cast<const TrpCustomLineView*>(&view))
        return TrpPlacedKind::Line;
    if (dynamic_cast<const TrpShapeView*>(&view))
        return TrpPlacedKind::Shape;
    if (dynamic_cast<const TrpRichView*>(&view))
        return TrpPlacedKind::RichText;
    return TrpPlacedKind::Other;
}

TrpPlacedBand BandOf(const TrpComponent& band) {
    const QString name = band.ClassName();
    return name == u"TrpPageHeader"   ? TrpPlacedBand::PageHeader
           : name == u"TrpPageFooter" ? TrpPlacedBand::PageFooter
                                      : TrpPlacedBand::None;
}

TrpPlacedObject PageItem(TrpPlacedKind kind, const TrpReportPage& page, const TrpPlacedPage& placed) {
    TrpPlacedObject o;
    o.Kind = kind;
    o.Left = placed.PrintableLeft;
    o.Top = placed.PrintableTop;
    o.Width = placed.PrintableWidth;
    o.Height = placed.PrintableHeight;
    o.GridLeft = R(o.Left);
    o.GridTop = R(o.Top);
    o.GridRight = R(o.Left + o.Width);
    o.GridBottom = R(o.Top + o.Height);
    o.Frame = page.Frame();
    if (kind == TrpPlacedKind::PageBackground) {
        o.Fill = page.Color();
        o.Visible = o.Fill != clNone;
    } else {
        o.Visible = o.Frame.Typ != 0;
    }
    return o;
}

} // namespace

bool HonoursPrintable(TrpOutput output, bool exportNotPrintable) {
    switch (output) {
    case TrpOutput::Printer:
    case TrpOutput::ImageExport: // a picture file of what would be printed
        return true;
    case TrpOutput::DocumentExport: // a document to print, unless asked for everything
        return !exportNotPrintable;
    case TrpOutput::Preview:     // the screen shows the whole page, for checking it
    case TrpOutput::Picture:     // what the preview shows
    case TrpOutput::TableExport: // the page's data, whatever is printed
        return false;
    }
    return true;
}

Extended TextLayoutWidth(const TrpCustomMemoView& memo) {
    // Lines break for the text rectangle in whole units, the same at every zoom.
    const QRect unit = MemoTextRect(memo, TrpDrawParams());
    const bool across = (memo.Rotation() >= 90 && memo.Rotation() < 180) || memo.Rotation() >= 270;
    return across ? unit.height() : unit.width();
}

TrpPlacedObject PlaceView(const TrpView& view, Extended gridX, Extended gridY) {
    TrpPlacedObject o;
    o.Kind = KindOf(view);
    o.View = &view;
    o.Left = gridX + view.AbsLeft();
    o.Top = gridY + view.AbsTop();
    o.Width = view.Width();
    o.Height = view.Height();
    o.GridLeft = R(gridX + view.AbsLeft());
    o.GridTop = R(gridY + view.AbsTop());
    o.GridRight = R(gridX + (view.AbsLeft() + view.Width()));
    o.GridBottom = R(gridY + (view.AbsTop() + view.Height()));
    o.Visible = view.Visible();
    o.Printable = view.Printable();
    o.Fill = view.Color();
    o.Brush = view.BrushStyle();
    o.Frame = view.Frame();
    o.Font = view.Font();
    if (auto* memo = dynamic_cast<const TrpCustomMemoView*>(&view)) {
        o.Font = ShownFont(*memo);
        o.Fill = ShownFill(*memo);
        o.Clipped = memo->Clipped();
    }
    return o;
}

std::unique_ptr<TrpPlacedPage> PlacePage(const TrpReportPage& page, int index, int pageCount) {
    auto placed = std::make_unique<TrpPlacedPage>();
    // Mirrored margins exchange left and right on even pages.
    const bool mirrored = page.MirrorMargins() && (index + 1) % 2 == 0;
    placed->PaperWidth = page.PaperWidth() * fr01cm;
    placed->PaperHeight = page.PaperHeight() * fr01cm;
    placed->Width = page.Width();
    placed->Height = page.Height();
    placed->PrintableLeft = (mirrored ? page.RightMargin() : page.LeftMargin()) * fr01cm;
    placed->PrintableTop = page.TopMargin() * fr01cm;
    placed->PrintableWidth = page.PrintableWidth();
    placed->PrintableHeight = page.PrintableHeight();
    placed->PageCount = pageCount;
    placed->Objects.reserve(page.Objects().size() + 2);
    placed->Objects.push_back(PageItem(TrpPlacedKind::PageBackground, page, *placed));
    placed->Objects.push_back(PageItem(TrpPlacedKind::PageFrame, page, *placed));

    const QString mark = TotalPagesMark();
    // A prepared page lists each band before the objects prepared on it.
    TrpPlacedBand band = TrpPlacedBand::None;
    for (int i = 0; i < int(page.Objects().size()); ++i) {
        const TrpComponent* object = page.Objects()[size_t(i)].get();
        if (object->IsBand()) { // bands are not drawn
            band = BandOf(*object);
            continue;
        }
        auto* view = dynamic_cast<const TrpView*>(object);
        if (!view)
            continue;
        auto* memo = dynamic_cast<const TrpCustomMemoView*>(view);
        if (memo && memo->Text().contains(mark)) {
            // The memo shows the page count the pages have now.
            auto copy = memo->Clone();
            auto* told = static_cast<TrpCustomMemoView*>(copy.get());
            told->SetText(memo->Text().replace(mark, QString::number(pageCount)));
            memo = told;
            view = told;
            placed->Shown.push_back(std::move(copy));
        }
        TrpPlacedObject o = PlaceView(*view, placed->PrintableLeft, placed->PrintableTop);
        o.Index = i;
        o.Band = band;
        if (memo && o.Visible) {
            auto text = std::make_shared<TrpDrawText>();
            text->Layout(memo->Memo(), MemoTextSettings(*memo), TextLayoutWidth(*memo));
            o.Text = std::move(text);
        }
        placed->Objects.push_back(std::move(o));
    }
    return placed;
}

const TrpPlacedObject* TrpPlacedPage::ObjectOf(int index) const {
    if (index < 0)
        return nullptr;
    // Page items (-1) come first, then the views in their order.
    auto it = std::lower_bound(Objects.begin(), Objects.end(), index,
                               [](const TrpPlacedObject& o, int i) { return o.Index < i; });
    return it != Objects.end() && it->Index == index ? &*it : nullptr;
}

size_t TrpPlacedPage::MemorySize() const {
    size_t bytes = sizeof(*this) + Objects.capacity() * sizeof(TrpPlacedObject);
    for (const TrpPlacedObject& o : Objects) {
        bytes += size_t(o.Font.Name.capacity()) * sizeof(QChar);
        if (!o.Text)
            continue;
        bytes += sizeof(TrpDrawText);
        for (const TrpTextLine& line : o.Text->Lines())
            bytes += sizeof(line) + size_t(line.Text.capacity()) * sizeof(QChar) +
                     line.Tags.capacity() * sizeof(TrpHTMLTag) + line.Cumulative.capacity() * sizeof(int);
    }
    for (const auto& copy : Shown)
        if (auto* memo = dynamic_cast<const TrpCustomMemoView*>(copy.get()))
            bytes += sizeof(TrpMemoView) + size_t(memo->Text().size()) * sizeof(QChar);
    return bytes;
}

} // namespace report
