#include "export/LayoutMatrix.h"

#include "export/ExportFilter.h"
#include "export/Progress.h"
#include "report/DrawText.h"
#include "report/EngineTexts.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ShapeViews.h"
#include "report/ViewPainter.h"

#include <QFontDatabase>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>

namespace exports {

using namespace report;

namespace {

constexpr int kRecentPositions = 100; // duplicate grid lines are looked for among these

size_t HashStyle(const TrpIEMStyle& s) {
    size_t h = qHash(s.Font.Name);
    auto mix = [&h](auto v) { h = h * 1000003u ^ std::hash<std::decay_t<decltype(v)>>()(v); };
    mix(s.Font.Size);
    mix(s.Font.Color);
    mix(s.Font.Style);
    mix(int(s.HAlign));
    mix(int(s.VAlign));
    mix(s.FrameTyp);
    mix(s.FrameColor);
    mix(s.Color);
    mix(s.Rotation);
    mix(double(s.GapX));
    mix(double(s.GapY));
    return h;
}

bool IsLine(const TrpView& view) {
    return dynamic_cast<const TrpCustomLineView*>(&view) != nullptr;
}

} // namespace

TrpIEMatrix::TrpIEMatrix(bool, const QString&) : FDrawText(std::make_unique<TrpDrawText>()) {
    AddExportTexts();
}

TrpIEMatrix::~TrpIEMatrix() = default;

// ---- styles ----

int TrpIEMatrix::AddStyle(const TrpIEMStyle& style) {
    const size_t h = HashStyle(style);
    auto& bucket = FStyleIndex[h];
    for (int i : bucket)
        if (*FStyles[size_t(i)] == style)
            return i;
    FStyles.push_back(std::make_unique<TrpIEMStyle>(style));
    bucket.push_back(int(FStyles.size()) - 1);
    return int(FStyles.size()) - 1;
}

void TrpIEMatrix::SetStyle(TrpIEMObject& obj, int index) {
    obj.StyleIndex = index;
    obj.Style = FStyles[size_t(index)].get();
}

int TrpIEMatrix::ResolveCharset(const TrpFont& font) {
    if (font.Charset != DEFAULT_CHARSET)
        return font.Charset;
    // The default set stands for what the face offers: Cyrillic when it has it.
    auto it = FCharsets.find(font.Name);
    if (it != FCharsets.end())
        return it->second;
    QString family = font.Name;
    if (!QFontDatabase::families().contains(family))
        family = QStringLiteral("Arial");
    const int charset =
        QFontDatabase::writingSystems(family).contains(QFontDatabase::Cyrillic) ? RUSSIAN_CHARSET : 0;
    FCharsets.emplace(font.Name, charset);
    return charset;
}

// ---- adding objects ----

void TrpIEMatrix::AddPos(std::vector<Extended>& list, Extended value) {
    const size_t from = list.size() > size_t(kRecentPositions) ? list.size() - kRecentPositions : 0;
    for (size_t i = list.size(); i > from; --i)
        if (list[i - 1] == value)
            return;
    list.push_back(value);
}

void TrpIEMatrix::AddObject(const TrpPlacedObject& object) {
    if (TextOnly && object.Kind != TrpPlacedKind::Text)
        return;
    FBand = object.Band;
    switch (object.Kind) {
    case TrpPlacedKind::PageBackground:
        if (Background)
            AddPageBackground(object);
        return;
    case TrpPlacedKind::PageFrame: // one cell with the page's fill
        return;
    default:
        AddView(*object.View, object.Left, object.Top);
    }
}

void TrpIEMatrix::AddPageBackground(const TrpPlacedObject& page) {
    // A cell under the whole printable area, in the page's fill and frame.
    auto obj = std::make_unique<TrpIEMObject>();
    obj->IsText = false;
    obj->Left = std::max<Extended>(page.Left, 0);
    obj->Top = page.Top + FDeltaY;
    obj->Width = page.Width;
    obj->Height = page.Height;
    TrpIEMStyle style;
    style.Color = page.Fill;
    style.FrameTyp = page.Frame.Typ;
    style.FrameWidth = float(page.Frame.Width);
    style.FrameColor = page.Frame.Color;
    style.FrameStyle = page.Frame.Style;
    style.Charset = ResolveCharset(style.Font);
    SetStyle(*obj, AddStyle(style));
    Register(std::move(obj));
}

void TrpIEMatrix::AddView(const TrpView& view, Extended left, Extended top) {
    if (auto* memo = dynamic_cast<const TrpCustomMemoView*>(&view); memo && memo->Frame().DropShadow) {
        AddShadowedMemo(*memo, left, top);
        return;
    }
    if (auto* rich = dynamic_cast<const TrpRichView*>(&view); rich && RichText) {
        TrpMemoView plain;
        plain.TrpView::Assign(*rich);
        plain.SetFont(rich->Font());
        if (PlainRich) {
            plain.SetText(rich->PlainText());
            AddView(plain, left, top);
            return;
        }
        TrpIEMObject* obj = NewObject(plain, left, top);
        obj->Memo = QStringList{rich->RichText()};
        obj->IsRichText = true;
        return;
    }
    if (auto* shape = dynamic_cast<const TrpShapeView*>(&view); shape && shape->Shape() == skRectangle) {
        AddRectangle(*shape, left, top);
        return;
    }
    if (IsLine(view)) {
        AddLine(view, left, top, view.Width(), view.Height());
        return;
    }
    NewObject(view, left, top);
}

void TrpIEMatrix::AddShadowedMemo(const TrpCustomMemoView& memo, Extended left, Extended top) {
    const Extended sw = memo.Frame().ShadowWidth;
    auto self = memo.Clone();
    auto* copy = static_cast<TrpCustomMemoView*>(self.get());
    copy->SetFont(memo.Font());
    copy->SetWidth(memo.Width() - sw);
    copy->SetHeight(memo.Height() - sw);
    copy->FrameRef().DropShadow = false;
    AddView(*copy, left, top);

    auto strip = [&](Extended l, Extended t, Extended w, Extended h) {
        TrpMemoView shadow;
        shadow.SetName(QStringLiteral("Shadow"));
        TrpFont font = memo.Font();
        font.Size = 1;
        shadow.SetFont(font);
        shadow.SetColor(memo.Frame().ShadowColor);
        shadow.SetBounds(l, t, w, h);
        AddView(shadow, l, t);
    };
    const Extended right = left + memo.Width(), bottom = top + memo.Height();
    strip(right - sw, top + sw, sw, memo.Height() - sw);
    strip(left + sw, bottom - sw, memo.Width() - sw, sw);
}

void TrpIEMatrix::AddRectangle(const TrpView& shape, Extended left, Extended top) {
    const Extended w = shape.Width(), h = shape.Height();
    if (shape.Color() == clNone) {
        AddLine(shape, left, top, w, 0);
        AddLine(shape, left, top, 0, h);
        AddLine(shape, left, top + h, w, 0);
        AddLine(shape, left + w, top, 0, h);
        return;
    }
    TrpMemoView rect;
    rect.TrpView::Assign(shape);
    rect.SetName(QStringLiteral("Rect"));
    TrpFont font = shape.Font();
    font.Size = 1;
    rect.SetFont(font);
    rect.FrameRef().Typ = ftAll;
    AddView(rect, left, top);
}

void TrpIEMatrix::AddLine(const TrpView& line, Extended left, Extended top, Extended width, Extended height) {
    if (width < 0) {
        left += width;
        width = -width;
    }
    if (height < 0) {
        top += height;
        height = -height;
    }
    const bool vertical = width == 0;
    const Extended thin = Inaccuracy >= 1 ? Inaccuracy : 1;
    if (width == 0)
        width = thin;
    if (height == 0)
        height = thin;

    auto obj = std::make_unique<TrpIEMObject>();
    obj->Name = line.Name();
    obj->IsText = false;
    obj->Left = std::max<Extended>(left, 0);
    obj->Top = top < 0 ? FDeltaY : top + FDeltaY;
    obj->Width = width;
    obj->Height = height;
    obj->URL = AnchorUrl(line.URL());
    TrpIEMStyle style;
    style.Font.Name = QStringLiteral("Arial");
    style.Font.Size = 1;
    style.Color = line.Frame().Color;
    style.FrameTyp = vertical ? ftLeft : ftTop;
    style.FrameWidth = float(line.Frame().Width);
    style.FrameColor = line.Frame().Color;
    style.FrameStyle = line.Frame().Style;
    style.Charset = ResolveCharset(style.Font);
    SetStyle(*obj, AddStyle(style));
    Register(std::move(obj));
}

QString TrpIEMatrix::AnchorUrl(const QString& url) const {
    if (!url.startsWith(QLatin1Char('#')) || !Report)
        return url;
    const TrpXMLItem* anchors = Report->PreviewPages().Document().Root()->FindItem(QStringLiteral("anchors"));
    const QString name = url.mid(1);
    for (int i = 0; anchors && i < anchors->Count(); ++i) {
        const TrpXMLItem* a = anchors->Items(i);
        if (a->Prop(QStringLiteral("text")) == name)
            return QLatin1Char('@') + QString::number(a->Prop(QStringLiteral("page")).toInt() + 1);
    }
    return url;
}

TrpIEMObject* TrpIEMatrix::NewObject(const TrpView& view, Extended left, Extended top) {
    auto owned = std::make_unique<TrpIEMObject>();
    TrpIEMObject& obj = *owned;
    obj.Name = view.Name();
    obj.URL = AnchorUrl(view.URL());
    obj.Left = std::max<Extended>(left, 0);
    obj.Top = top < 0 ? FDeltaY : top + FDeltaY;
    obj.Width = view.Width();
    obj.Height = view.Height();

    TrpIEMStyle style;
    style.Font = view.Font();
    style.Color = view.Color();
    style.FrameTyp = view.Frame().Typ;
    style.FrameWidth = float(view.Frame().Width);
    style.FrameColor = view.Frame().Color;
    style.FrameStyle = view.Frame().Style;
    style.BrushStyle = view.BrushStyle();

    const auto* memo = dynamic_cast<const TrpCustomMemoView*>(&view);
    obj.IsText = memo && (memo->BrushStyle() == bsSolid || memo->BrushStyle() == bsClear) &&
                 !(memo->Rotation() != 0 && RotatedAsImage);
    if (memo) {
        style.Font = ShownFont(*memo);
        style.Color = ShownFill(*memo);
        style.HAlign = memo->HAlign();
        style.VAlign = memo->VAlign();
        style.LineSpacing = memo->LineSpacing();
        style.GapX = memo->GapX();
        style.GapY = memo->GapY();
        style.CharSpacing = memo->CharSpacing();
        style.ParagraphGap = memo->ParagraphGap();
        style.WordBreak = memo->WordBreak();
        style.Rotation = memo->Rotation();
    }
    style.Charset = ResolveCharset(style.Font);
    SetStyle(obj, AddStyle(style));

    if (obj.IsText) {
        SetMemoText(obj, *memo);
    } else if (Images) {
        RenderImage(obj, view, left, top);
    }
    Register(std::move(owned));
    return FObjects.back().Obj.get();
}

void TrpIEMatrix::SetMemoText(TrpIEMObject& obj, const TrpCustomMemoView& memo) {
    if ((DeleteHTMLTags && memo.AllowHTMLTags()) || WrapText) {
        // The lines as drawing breaks them, without tags.
        TrpTextSettings s = MemoTextSettings(memo);
        s.WordWrap = s.WordWrap && !WholeParagraphs;
        const QRect unit = MemoTextRect(memo, TrpDrawParams());
        const bool across = (memo.Rotation() >= 90 && memo.Rotation() < 180) || memo.Rotation() >= 270;
        FDrawText->Layout(memo.Memo(), s, across ? unit.height() : unit.width());
        QStringList lines;
        for (const TrpTextLine& line : FDrawText->Lines())
            lines << line.Text;
        obj.Memo = lines.join(QStringLiteral("\r\n")).split(QStringLiteral("\r\n"));
        if (lines.isEmpty())
            obj.Memo.clear();
    } else {
        obj.Memo = memo.Memo();
    }
    // Our texts are Unicode, so a character set needs no re-reading of the text.
    obj.RTL = memo.RTLReading();
    obj.DisplayFormat = memo.DisplayFormat();
}

void TrpIEMatrix::RenderImage(TrpIEMObject& obj, const TrpView& view, Extended left, Extended top) {
    // A frame thicker than a pixel is drawn half outside the view.
    const Extended fw = view.Frame().Typ ? view.Frame().Width : 0;
    const Extended grow = fw > 1 ? fw / 2 : 0;
    Extended boundsW = view.Width() + 2 * grow, boundsH = view.Height() + 2 * grow;
    Extended boxLeft = left, boxTop = top;
    if (boundsW > view.Width())
        boxLeft -= (boundsW - view.Width()) / 2;
    if (boundsH > view.Height())
        boxTop -= (boundsH - view.Height()) / 2;
    const int w = std::max(Round(boundsW), 1), h = std::max(Round(boundsH), 1);
    if (Extended(w) * h > 64e6)
        return; // no page holds such a picture; do not exhaust memory on a broken file

    QImage image(w + 1, h + 1, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    auto clone = view.Clone();
    auto* copy = clone ? dynamic_cast<TrpView*>(clone.get()) : nullptr;
    if (copy) {
        copy->SetFont(view.Font());
        copy->SetLeft(left);
        copy->SetTop(top);
        copy->FrameRef().Typ = 0; // the cell draws the frame
        TrpDrawParams p;
        p.OffsetX = -boxLeft;
        p.OffsetY = -boxTop;
        if (auto* shape = dynamic_cast<const TrpShapeView*>(copy))
            DrawShape(painter, *shape, DeviceRect(*shape, p));
        else
            DrawView(painter, *FDrawText, *copy, p);
    }
    painter.end();
    obj.Image = std::make_unique<QImage>(std::move(image));
    obj.IsText = false;
}

void TrpIEMatrix::Register(std::unique_ptr<TrpIEMObject> obj) {
    obj->Header = FBand == TrpPlacedBand::PageHeader;
    obj->Footer = FBand == TrpPlacedBand::PageFooter;
    FMaxWidth = std::max(FMaxWidth, obj->Left + obj->Width);
    FMaxHeight = std::max(FMaxHeight, obj->Top + obj->Height);
    FMinLeft = std::min(FMinLeft, obj->Left);
    FMinTop = std::min(FMinTop, obj->Top);
    AddPos(FXPos, obj->Left);
    AddPos(FXPos, obj->Left + obj->Width);
    AddPos(FYPos, obj->Top);
    AddPos(FYPos, obj->Top + obj->Height);
    TrpIEMObjectList record;
    record.Obj = std::move(obj);
    FObjects.push_back(std::move(record));
}

void TrpIEMatrix::AddPage(TPrinterOrientation orientation, Extended width, Extended height, Extended left,
                          Extended top, Extended right, Extended bottom) {
    FDeltaY = FMaxHeight;
    TrpIEMPage page;
    page.Value = FMaxHeight;
    page.Orientation = orientation;
    page.Width = width;
    page.Height = height;
    page.LeftMargin = left;
    page.TopMargin = top;
    page.RightMargin = right;
    page.BottomMargin = bottom;
    FPages.push_back(page);
}

void TrpIEMatrix::ClearPage() {
    FObjects.clear();
    FPageBefore = true;
    FXPos.clear();
    FYPos.clear();
    FPages.clear();
    FRows.clear();
    FWidth = FHeight = 0;
    FDeltaY = 0;
    // A matrix cleared between pages starts measuring afresh.
    FMaxWidth = FMaxHeight = 0;
    FMinLeft = FMinTop = 100000;
}

void TrpIEMatrix::Clear() {
    ClearPage();
    FStyles.clear();
    FStyleIndex.clear();
    FPageBefore = false;
}

// ---- Prepare ----

void TrpIEMatrix::Prepare() {
    TrpProgress progress;
    const bool show = ShowProgress;
    if (show)
        progress.Execute(11, rpGet("ProgressWait"), true, false);
    auto step = [&] {
        if (show)
            progress.Tick();
    };
    if (FillArea)
        AddFillArea();
    // A page after another begins at the top of its paper, as it would below the page before
    // in one grid: the margin above its first object is a row of its own.
    if (FPageBefore && !FObjects.empty())
        AddPos(FYPos, 0);
    step();
    OrderPositions(FXPos, MaxCellWidth);
    step();
    OrderPositions(FYPos, MaxCellHeight);
    step();
    PlaceObjects();
    step();
    FillCells();
    step();
    CutCoveredObjects();
    // The pieces of covered objects (the gaps of a fill under scattered objects) count too.
    CheckCells(
        std::accumulate(FRows.begin(), FRows.end(), 0LL, [](long long n, const std::vector<TrpIEMRun>& row) {
            return n + qsizetype(row.size());
        }));
    step();
    if (FramesOptimization)
        OptimizeFrames();
    step();
    if (show)
        progress.Hide();
    if (!EmptyLines)
        DeleteEmptyRows();
}

void TrpIEMatrix::AddFillArea() {
    auto obj = std::make_unique<TrpIEMObject>();
    obj->Name = QStringLiteral("FillArea");
    obj->IsText = false;
    obj->Left = CropFillArea ? FMinLeft : 0;
    obj->Top = CropFillArea ? FMinTop : 0;
    // Cropped, it ends where the content ends, not a margin beyond it.
    obj->Width = FMaxWidth - obj->Left;
    obj->Height = FMaxHeight - obj->Top;
    TrpIEMStyle style;
    style.Color = clWhite;
    style.Charset = ResolveCharset(style.Font);
    SetStyle(*obj, AddStyle(style));
    AddPos(FXPos, obj->Left);
    AddPos(FXPos, obj->Left + obj->Width);
    AddPos(FYPos, obj->Top);
    AddPos(FYPos, obj->Top + obj->Height);
    AddPos(FXPos, 0);
    AddPos(FYPos, 0);
    TrpIEMObjectList record;
    record.Obj = std::move(obj);
    FObjects.insert(FObjects.begin(), std::move(record));
}

void TrpIEMatrix::OrderPositions(std::vector<Extended>& list, Extended maxCell) {
    std::sort(list.begin(), list.end());
    // Of a cluster of lines closer than Inaccuracy the last one survives.
    std::vector<Extended> kept;
    kept.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        if (i + 1 == list.size() || !(list[i + 1] - list[i] < Inaccuracy))
            kept.push_back(list[i]);
    list.swap(kept);
    if (maxCell <= 0 || list.size() < 2)
        return;
    const size_t n = list.size();
    bool added = false;
    for (size_t i = 0; i + 1 < n; ++i) {
        const Extended a = list[i], b = list[i + 1];
        if (b - a <= maxCell)
            continue;
        const long long steps = std::llround(std::trunc((b - a) / maxCell));
        for (long long k = 1; k <= steps; ++k) {
            const Extended v = a + k * maxCell;
            if (v < b) { // a line on b itself would make an empty row of no height
                list.push_back(v);
                added = true;
            }
        }
    }
    if (added)
        std::sort(list.begin(), list.end());
}

void TrpIEMatrix::PlaceObjects() {
    auto place = [](const std::vector<Extended>& pos, Extended from, Extended size, int& index, int& span) {
        const int n = int(pos.size());
        index = int(std::lower_bound(pos.begin(), pos.end(), from) - pos.begin());
        if (index >= n)
            index = n - 1;
        int j = index;
        while (j < n - 1 && pos[size_t(j)] < from + size)
            ++j;
        span = j - index;
    };
    for (TrpIEMObjectList& r : FObjects) {
        place(FXPos, r.Obj->Left, r.Obj->Width, r.x, r.dx);
        place(FYPos, r.Obj->Top, r.Obj->Height, r.y, r.dy);
    }
    FWidth = int(FXPos.size());
    FHeight = int(FYPos.size());
}

void TrpIEMatrix::SetCells(int y, int x0, int x1, int index) {
    std::vector<TrpIEMRun>& row = FRows[size_t(y)];
    // The runs the new one touches: from the first ending after x0 to the last starting before x1.
    auto first =
        std::lower_bound(row.begin(), row.end(), x0, [](const TrpIEMRun& r, int x) { return r.X1 <= x; });
    auto last = first;
    while (last != row.end() && last->X0 < x1)
        ++last;
    TrpIEMRun pieces[3];
    int n = 0;
    if (first != last && first->X0 < x0)
        pieces[n++] = {first->X0, x0, first->Index};
    pieces[n++] = {x0, x1, index};
    if (first != last && (last - 1)->X1 > x1)
        pieces[n++] = {x1, (last - 1)->X1, (last - 1)->Index};
    const ptrdiff_t at = first - row.begin();
    const ptrdiff_t removed = last - first;
    if (removed >= n) {
        std::copy(pieces, pieces + n, first);
        row.erase(first + n, last);
    } else {
        std::copy(pieces, pieces + removed, first);
        row.insert(row.begin() + at + removed, pieces + removed, pieces + n);
    }
}

bool TrpIEMatrix::Holds(int y, int x0, int x1, int index) const {
    const std::vector<TrpIEMRun>& row = FRows[size_t(y)];
    auto it =
        std::lower_bound(row.begin(), row.end(), x0, [](const TrpIEMRun& r, int x) { return r.X1 <= x; });
    for (int x = x0; x < x1; ++it) {
        if (it == row.end() || it->X0 > x || it->Index != index)
            return false;
        x = it->X1;
    }
    return true;
}

void TrpIEMatrix::CheckCells(long long cells) const {
    if (cells > MaxCells)
        throw TrpTooLarge(rpGet(QStringLiteral("exTooManyCells")).arg(cells).arg(MaxCells));
}

void TrpIEMatrix::FillCells() {
    long long cells = 0;
    for (const TrpIEMObjectList& r : FObjects)
        cells += r.dy;
    CheckCells(cells);
    FRows.assign(size_t(FHeight), {});
    for (int i = 0; i < int(FObjects.size()); ++i) {
        TrpIEMObjectList& r = FObjects[size_t(i)];
        TrpIEMObject& obj = *r.Obj;
        if (obj.Style->Color == clNone && r.x < FWidth && r.y < FHeight) {
            const int under = GetCell(r.x, r.y);
            if (under >= 0) {
                const TColor fill = FObjects[size_t(under)].Obj->Style->Color;
                if (fill != obj.Style->Color && fill != obj.Style->Font.Color) {
                    TrpIEMStyle style = *obj.Style;
                    style.Color = fill;
                    SetStyle(obj, AddStyle(style));
                }
            }
        }
        if (r.dx > 0)
            for (int y = r.y; y < r.y + r.dy; ++y)
                SetCells(y, r.x, r.x + r.dx, i);
    }
}

void TrpIEMatrix::CutCoveredObjects() {
    // The text (and picture and link) of a cut object goes to the first of its pieces that keeps
    // more than a third of it both downwards and to the right, or to the largest such piece.
    std::map<int, int> heir; // covered object -> the piece taking its text
    auto area = [this](int index) {
        const TrpIEMObject& o = *FObjects[size_t(index)].Obj;
        return double(o.Width) * double(o.Height);
    };
    for (int y = 0; y < FHeight; ++y) {
        // Runs of this row are replaced by pieces of the same extent only, so the loop's
        // place in it stays valid; rows below may be split.
        for (size_t k = 0; k < FRows[size_t(y)].size(); ++k) {
            const TrpIEMRun run = FRows[size_t(y)][k];
            const int index = run.Index, x = run.X0, w = run.X1 - run.X0;
            if (index < 0 || FObjects[size_t(index)].Exist)
                continue;
            int h = 1;
            while (y + h < FHeight && Holds(y + h, x, x + w, index))
                ++h;
            TrpIEMObjectList& covered = FObjects[size_t(index)];
            if (covered.x == x && covered.y == y && covered.dx == w && covered.dy == h) {
                covered.Exist = true;
                continue;
            }
            TrpIEMObject& old = *covered.Obj;
            auto piece = std::make_unique<TrpIEMObject>();
            piece->Name = old.Name;
            piece->URL = old.URL;
            piece->IsText = old.IsText;
            piece->IsRichText = old.IsRichText;
            piece->DisplayFormat = old.DisplayFormat;
            piece->RTL = old.RTL;
            piece->Header = old.Header;
            piece->Footer = old.Footer;
            piece->Left = FXPos[size_t(x)];
            piece->Top = FYPos[size_t(y)];
            piece->Width = FXPos[size_t(std::min(x + w, FWidth - 1))] - piece->Left;
            piece->Height = FYPos[size_t(std::min(y + h, FHeight - 1))] - piece->Top;
            piece->Parent = &old;
            const bool mayTakeText = old.Top + old.Height - piece->Top > old.Height / 3 &&
                                     old.Left + old.Width - piece->Left > old.Width / 3;
            TrpIEMStyle style = *old.Style;
            TrpFrameTypes sides = 0;
            if (y == covered.y)
                sides |= ftTop;
            if (x == covered.x)
                sides |= ftLeft;
            if (y + h == covered.y + covered.dy)
                sides |= ftBottom;
            if (x + w == covered.x + covered.dx)
                sides |= ftRight;
            style.FrameTyp &= sides;
            SetStyle(*piece, style.FrameTyp == old.Style->FrameTyp ? old.StyleIndex : AddStyle(style));

            TrpIEMObjectList record;
            record.Obj = std::move(piece);
            record.x = x;
            record.y = y;
            record.dx = w;
            record.dy = h;
            record.Exist = true;
            const int newIndex = int(FObjects.size());
            FObjects.push_back(std::move(record));
            FRows[size_t(y)][k].Index = newIndex;
            for (int yy = y + 1; yy < y + h; ++yy)
                SetCells(yy, x, x + w, newIndex);
            if (mayTakeText) {
                const auto [best, first] = heir.try_emplace(index, newIndex);
                if (!first && LargestPieceTakesText && area(newIndex) > area(best->second))
                    best->second = newIndex;
            }
        }
    }
    for (const auto& [covered, piece] : heir) {
        TrpIEMObject& old = *FObjects[size_t(covered)].Obj;
        TrpIEMObject& taker = *FObjects[size_t(piece)].Obj;
        taker.Memo = std::move(old.Memo);
        old.Memo.clear();
        taker.Image = std::move(old.Image);
        taker.Link = old.Link;
        old.Link = nullptr;
    }
}

void TrpIEMatrix::OptimizeFrames() {
    // Only top and left lines are dropped, and only bottom and right lines decide, so the
    // sides to drop can be gathered first and each object restyled once.
    std::vector<TrpFrameTypes> dropped(FObjects.size(), 0);
    auto sameLine = [](const TrpIEMStyle& a, const TrpIEMStyle& b) {
        return a.FrameWidth == b.FrameWidth && a.FrameColor == b.FrameColor;
    };
    for (int y = 0; y < FHeight; ++y)
        for (const TrpIEMRun& run : FRows[size_t(y)]) {
            const int index = run.Index;
            const TrpIEMStyle& own = *FObjects[size_t(index)].Obj->Style;
            // Above: every object over the run; to the left: the one cell before it.
            if (y > 0 && (own.FrameTyp & ftTop))
                for (const TrpIEMRun& a : FRows[size_t(y - 1)]) {
                    if (a.X1 <= run.X0 || a.Index == index)
                        continue;
                    if (a.X0 >= run.X1)
                        break;
                    const TrpIEMStyle& s = *FObjects[size_t(a.Index)].Obj->Style;
                    if ((s.FrameTyp & ftBottom) && sameLine(s, own))
                        dropped[size_t(index)] |= ftTop;
                }
            if (run.X0 > 0 && (own.FrameTyp & ftLeft)) {
                const int before = GetCell(run.X0 - 1, y);
                if (before >= 0 && before != index) {
                    const TrpIEMStyle& a = *FObjects[size_t(before)].Obj->Style;
                    if ((a.FrameTyp & ftRight) && sameLine(a, own))
                        dropped[size_t(index)] |= ftLeft;
                }
            }
        }
    for (size_t i = 0; i < FObjects.size(); ++i)
        if (dropped[i]) {
            TrpIEMObject& obj = *FObjects[i].Obj;
            TrpIEMStyle style = *obj.Style;
            style.FrameTyp &= ~dropped[i];
            SetStyle(obj, AddStyle(style));
        }
}

void TrpIEMatrix::DeleteEmptyRows() {
    const int rows = FHeight;
    bool deleted = false;
    for (int k = 0; k < rows; ++k) {
        if (k >= FHeight)
            break;
        if (k == FHeight - 1 && deleted)
            continue; // the bottom edge goes only when nothing above went
        if (!FRows[size_t(k)].empty())
            continue;
        const Extended height = k + 1 < FHeight ? FYPos[size_t(k + 1)] - FYPos[size_t(k)] : 0;
        for (int j = k + 1; j < FHeight; ++j)
            FYPos[size_t(j)] -= height;
        FYPos.erase(FYPos.begin() + k);
        FRows.erase(FRows.begin() + k);
        --FHeight;
        deleted = true;
        // The row that moved up into k is not looked at: runs of empty rows thin out by half.
    }
}

// ---- reading ----

int TrpIEMatrix::GetCell(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= int(FRows.size()))
        return -1;
    const std::vector<TrpIEMRun>& row = FRows[size_t(y)];
    auto it =
        std::lower_bound(row.begin(), row.end(), x, [](const TrpIEMRun& r, int v) { return r.X1 <= v; });
    return it != row.end() && it->X0 <= x ? it->Index : -1;
}

const std::vector<TrpIEMRun>& TrpIEMatrix::RowRuns(int y) const {
    static const std::vector<TrpIEMRun> none;
    return y >= 0 && y < int(FRows.size()) ? FRows[size_t(y)] : none;
}

TrpIEMObject* TrpIEMatrix::GetObject(int x, int y) const {
    return GetObjectById(GetCell(x, y));
}

TrpIEMObject* TrpIEMatrix::GetObjectById(int index) const {
    return index >= 0 && index < int(FObjects.size()) ? FObjects[size_t(index)].Obj.get() : nullptr;
}

const TrpIEMObjectList* TrpIEMatrix::GetRecord(int index) const {
    return index >= 0 && index < int(FObjects.size()) ? &FObjects[size_t(index)] : nullptr;
}

void TrpIEMatrix::GetObjectPos(int index, int& x, int& y, int& dx, int& dy) const {
    const TrpIEMObjectList* r = GetRecord(index);
    x = r ? r->x : 0;
    y = r ? r->y : 0;
    dx = r ? r->dx : 0;
    dy = r ? r->dy : 0;
}

TrpIEMStyle* TrpIEMatrix::GetStyleById(int index) const {
    return index >= 0 && index < int(FStyles.size()) ? FStyles[size_t(index)].get() : nullptr;
}

Extended TrpIEMatrix::GetXPosById(int index) const {
    return index >= 0 && index < int(FXPos.size()) ? FXPos[size_t(index)] : 0;
}

Extended TrpIEMatrix::GetYPosById(int index) const {
    return index >= 0 && index < int(FYPos.size()) ? FYPos[size_t(index)] : 0;
}

namespace {
template <typename F> Extended PageField(const std::vector<TrpIEMPage>& pages, int page, F f) {
    return page >= 0 && page < int(pages.size()) ? f(pages[size_t(page)]) : 0;
}
} // namespace

Extended TrpIEMatrix::GetPageBreak(int page) const {
    return PageField(FPages, page, [](const TrpIEMPage& p) { return p.Value; });
}
Extended TrpIEMatrix::GetPageWidth(int page) const {
    return PageField(FPages, page, [](const TrpIEMPage& p) { return p.Width; });
}
Extended TrpIEMatrix::GetPageHeight(int page) const {
    return PageField(FPages, page, [](const TrpIEMPage& p) { return p.Height; });
}
Extended TrpIEMatrix::GetPageLMargin(int page) const {
    return PageField(FPages, page, [](const TrpIEMPage& p) { return p.LeftMargin; });
}
Extended TrpIEMatrix::GetPageTMargin(int page) const {
    return PageField(FPages, page, [](const TrpIEMPage& p) { return p.TopMargin; });
}
Extended TrpIEMatrix::GetPageRMargin(int page) const {
    return PageField(FPages, page, [](const TrpIEMPage& p) { return p.RightMargin; });
}
Extended TrpIEMatrix::GetPageBMargin(int page) const {
    return PageField(FPages, page, [](const TrpIEMPage& p) { return p.BottomMargin; });
}
TPrinterOrientation TrpIEMatrix::GetPageOrientation(int page) const {
    return page >= 0 && page < int(FPages.size()) ? FPages[size_t(page)].Orientation : poPortrait;
}

} // namespace exports
