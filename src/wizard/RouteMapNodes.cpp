#include "wizard/RouteMapNodes.h"

#include <QPainter>

#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"

namespace wizard {

namespace {
constexpr int kNodeSize = 12;
constexpr int kTextOffset = 38;
constexpr int kInnerNodeOffset = 18;
} // namespace

void TWizardRouteMapNodeColors::Set(TColor& field, TColor value) {
    if (field == value)
        return;
    field = value;
    if (FOwner)
        FOwner->update();
}

TKWizardRouteMapNodes::TKWizardRouteMapNodes(QWidget* parent)
    : TKWizardRouteMapControl(nullptr), FNodeColors(std::make_unique<TWizardRouteMapNodeColors>(this)) {
    FColor = clBackground;
    FFontColor = clWhite;
    if (parent)
        SetParent(parent);
}

TKWizardRouteMapNodes::~TKWizardRouteMapNodes() = default;

void TKWizardRouteMapNodes::SetItemHeight(int value) {
    if (value == FItemHeight)
        return;
    FItemHeight = value;
    update();
}

void TKWizardRouteMapNodes::SetUsePageTitle(bool value) {
    if (value == FUsePageTitle)
        return;
    FUsePageTitle = value;
    update();
}

void TKWizardRouteMapNodes::SetIndent(int value) {
    if (value == FIndent)
        return;
    FIndent = value;
    update();
}

TKWizardCustomPage* TKWizardRouteMapNodes::PageAtPos(QPoint pos) const {
    const TRect c = TRect{0, 0, width(), height()}.Inflated(-1);
    if (!c.Contains(pos.x(), pos.y()))
        return nullptr;
    const int top = c.Top + (FItemHeight - kNodeSize) / 2;
    TRect band{c.Left, top, c.Right, top + FItemHeight};
    for (int i = 0; i < PageCount(); ++i) {
        TKWizardCustomPage* page = Pages(i);
        if (!CanDisplay(page))
            continue;
        if (band.Contains(pos.x(), pos.y()))
            return page;
        band = band.Offset(0, FItemHeight);
    }
    return nullptr;
}

QString TKWizardRouteMapNodes::PageText(const TKWizardCustomPage* page) const {
    if (!page)
        return {};
    return FUsePageTitle ? page->Header()->Title()->Text() : page->Caption();
}

QRect TKWizardRouteMapNodes::PageRect(const TKWizardCustomPage* page) const {
    const TRect c = TRect{0, 0, width(), height()}.Inflated(-1);
    int row = 0;
    for (int i = 0; i < PageCount(); ++i) {
        TKWizardCustomPage* p = Pages(i);
        if (!CanDisplay(p))
            continue;
        if (p == page) {
            const int top = c.Top + FIndent + row * FItemHeight;
            return TRect{c.Left + FIndent, top, c.Right, top + FItemHeight}.ToQRect();
        }
        ++row;
    }
    return {};
}

void TKWizardRouteMapNodes::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    TRect c{0, 0, width(), height()};
    DrawRectangle(canvas, c, ColorToQColor(clBtnShadow), ColorToQColor(FColor));
    c = c.Inflated(-1);
    TRect row{c.Left + FIndent, c.Top + FIndent, c.Right, c.Top + FIndent + FItemHeight};
    for (int i = 0; i < PageCount(); ++i) {
        TKWizardCustomPage* page = Pages(i);
        if (!CanDisplay(page))
            continue;
        PaintRow(canvas, page, i, row);
        row = row.Offset(0, FItemHeight);
    }
}

void TKWizardRouteMapNodes::PaintRow(QPainter& canvas, TKWizardCustomPage* page, int index,
                                     const TRect& row) {
    const bool first = Wizard() && Wizard()->IsFirstPage(page, true);
    const bool last = Wizard() && Wizard()->IsLastPage(page, true);
    const bool selected = index == PageIndex();
    const bool enabled = page->Enabled();

    QFont font = this->font();
    font.setBold(selected);
    const TColor textColor = selected || enabled ? FFontColor : clBtnShadow;

    TRect text = row;
    text.Left = row.Left + kTextOffset;
    const int nl = first || last ? row.Left : row.Left + kInnerNodeOffset;
    const int nt = row.Top + (FItemHeight - kNodeSize) / 2;
    const TRect node{nl, nt, nl + kNodeSize, nt + kNodeSize};

    const QColor line = ColorToQColor(FNodeColors->Line());
    const TColor fill = selected  ? FNodeColors->Selected()
                        : enabled ? FNodeColors->Unselected()
                                  : FNodeColors->Disabled();
    DrawRectangle(canvas, node, line, ColorToQColor(fill));

    if (first || last) {
        // The end nodes sit left of the trunk and join it with a stub.
        DrawLine(canvas, nl + 12, nt + 5, nl + 25, nt + 5, line);
        DrawLine(canvas, nl + 12, nt + 6, nl + 25, nt + 6, line);
        for (int x : {nl + 23, nl + 24}) {
            if (first)
                DrawLine(canvas, x, nt + 6, x, row.Bottom, line);
            else
                DrawLine(canvas, x, nt + 5, x, row.Top, line);
        }
    } else {
        for (int x : {nl + 5, nl + 6}) {
            DrawLine(canvas, x, nt, x, row.Top - 1, line);
            DrawLine(canvas, x, nt + 12, x, row.Bottom + 1, line);
        }
    }

    FillRect(canvas, text, ColorToQColor(FColor));
    const QString caption = PageText(page);
    if (text.IsEmpty())
        return;
    canvas.save();
    canvas.setClipRect(text.ToQRect());
    canvas.setFont(font);
    canvas.setPen(ColorToQColor(textColor));
    canvas.drawText(text.ToQRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
    canvas.restore();
}

} // namespace wizard
