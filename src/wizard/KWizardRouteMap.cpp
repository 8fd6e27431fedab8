#include "wizard/KWizardRouteMap.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"
#include "wizard/WizardAccessible.h"

namespace wizard {

TKWizardRouteMapControl::TKWizardRouteMapControl(QWidget* parent) {
    InstallWizardAccessibility();
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(145, 145);
    if (parent)
        SetParent(parent);
}

TKWizardRouteMapControl::~TKWizardRouteMapControl() {
    if (FWizard && FWizard->FRouteMap == this) {
        FWizard->FRouteMap = nullptr;
        FWizard->AlignChildren();
    }
}

void TKWizardRouteMapControl::SetParent(QWidget* parent) {
    if (!parent) {
        setParent(nullptr);
        return;
    }
    TKWizard* wizard = dynamic_cast<TKWizard*>(parent);
    if (!wizard) {
        auto* page = dynamic_cast<TKWizardCustomPage*>(parent);
        if (!page)
            throw EKWizard(QStringLiteral("The Parent should be TKWizard or its descendants."));
        wizard = page->Wizard();
        if (!wizard) {
            setParent(nullptr);
            return;
        }
    }
    if (FWizard && FWizard != wizard && FWizard->FRouteMap == this) {
        FWizard->FRouteMap = nullptr;
        FWizard->AlignChildren();
    }
    FWizard = wizard;
    wizard->FRouteMap = this;
    FPages.clear();
    for (TKWizardCustomPage* page : wizard->Pages())
        FPages.emplace_back(page);
    FPageIndex = wizard->ActivePage() ? wizard->ActivePage()->PageIndex() : -1;
    setParent(wizard);
    QWidget::setVisible(FVisible); // a new parent hides its children until told otherwise
    wizard->AlignChildren();
    update();
}

void TKWizardRouteMapControl::SetAlign(TAlign value) {
    if (value < alTop || value > alRight || value == FAlign)
        return;
    FAlign = value;
    if (FWizard && parentWidget() == FWizard)
        FWizard->AlignChildren();
}

void TKWizardRouteMapControl::setVisible(bool visible) {
    const bool changed = visible != FVisible;
    FVisible = visible;
    QWidget::setVisible(visible);
    if (changed && FWizard && parentWidget() == FWizard)
        FWizard->AlignChildren();
}

void TKWizardRouteMapControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (FWizard && parentWidget() == FWizard)
        FWizard->AlignChildren();
}

TKWizardCustomPage* TKWizardRouteMapControl::Pages(int index) const {
    return index >= 0 && index < PageCount() ? FPages[std::size_t(index)].data() : nullptr;
}

int TKWizardRouteMapControl::IndexOfPage(const TKWizardCustomPage* page) const {
    for (int i = 0; i < PageCount(); ++i)
        if (FPages[std::size_t(i)] == page)
            return i;
    return -1;
}

void TKWizardRouteMapControl::SetPageIndex(int value) {
    if (value == FPageIndex || value < 0 || value >= PageCount())
        return;
    const int old = std::exchange(FPageIndex, value);
    AnnounceRouteMapSelection(this, old, value);
    TKWizardCustomPage* page = Pages(value);
    if (FWizard && page && page->Wizard() == FWizard)
        FWizard->ActivatePage(page);
}

void TKWizardRouteMapControl::SetColor(TColor value) {
    if (value == FColor)
        return;
    FColor = value;
    update();
}

void TKWizardRouteMapControl::SetFontColor(TColor value) {
    if (value == FFontColor)
        return;
    FFontColor = value;
    update();
}

TKWizardCustomPage* TKWizardRouteMapControl::PageAtPos(QPoint) const {
    return nullptr;
}

QString TKWizardRouteMapControl::PageText(const TKWizardCustomPage* page) const {
    return page ? page->Caption() : QString();
}

QRect TKWizardRouteMapControl::PageRect(const TKWizardCustomPage*) const {
    return {};
}

void TKWizardRouteMapControl::DoAddPage(TKWizardCustomPage* page) {
    if (!FWizard)
        return;
    if (page && IndexOfPage(page) < 0)
        FPages.emplace_back(page);
    update();
}

void TKWizardRouteMapControl::DoDeletePage(TKWizardCustomPage* page) {
    if (!FWizard)
        return;
    const int index = IndexOfPage(page);
    if (index >= 0) {
        FPages.erase(FPages.begin() + index);
        if (index == FPageIndex)
            FPageIndex = -1;
        else if (index < FPageIndex)
            --FPageIndex; // the selected row keeps pointing at its page
    }
    update();
}

void TKWizardRouteMapControl::DoUpdatePage(TKWizardCustomPage*) {
    if (FWizard)
        update();
}

void TKWizardRouteMapControl::DoActivePageChanged(TKWizardCustomPage* page) {
    if (!FWizard)
        return;
    if (page) {
        const int old = std::exchange(FPageIndex, IndexOfPage(page));
        AnnounceRouteMapSelection(this, old, FPageIndex);
    }
    update();
}

bool TKWizardRouteMapControl::CanDisplay(TKWizardCustomPage* page) const {
    if (!page)
        return false;
    bool allow = page->Enabled();
    if (OnDisplaying)
        OnDisplaying(const_cast<TKWizardRouteMapControl*>(this), page, allow);
    return allow;
}

void TKWizardRouteMapControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        TKWizardCustomPage* page = PageAtPos(event->position().toPoint());
        if (page && page->Enabled())
            SetPageIndex(IndexOfPage(page));
    }
    QWidget::mousePressEvent(event);
}

void TKWizardRouteMapControl::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    FillRect(canvas, TRect{0, 0, width(), height()}, ColorToQColor(FColor));
}

} // namespace wizard
