#include "wizard/KWizard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QPainter>
#include <QPointer>

#include "platform/ImageList.h"
#include "wizard/KWizardPage.h"
#include "wizard/KWizardRouteMap.h"

namespace wizard {

std::function<void(int)>& ApplicationHelpHook() {
    static std::function<void(int)> hook;
    return hook;
}

namespace {

constexpr int kButtonHeight = 25;

template <typename Button> TKWizardButtonControl* Make(QWidget* parent) {
    return new Button(parent);
}

// Bar placement: the order buttons are laid out in, and the gap after each.
struct BarSlot {
    TKWizardButtonKind Kind;
    int Gap;
    int GapWithNextAndFinish;
};
constexpr BarSlot kBarSlots[] = {
    {bkHelp, 10, 10},  {bkStart, 1, 1},   {bkLast, 0, 0},                 // left group
    {bkCancel, 10, 1}, {bkFinish, 1, 10}, {bkNext, 1, 1}, {bkBack, 0, 0}, // right group
};

const TKWizardButtonSet kNoPageVisible = {bkBack, bkNext, bkCancel};
const TKWizardButtonSet kNoPageEnabled = {bkCancel};

} // namespace

TKWizard::TKWizard(QWidget* parent) : QWidget(parent), FPages(this) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    if (parent) {
        parent->installEventFilter(this);
        if (!parent->layout())
            setGeometry(parent->rect());
    }
    CreateButtons();
}

TKWizard::~TKWizard() {
    // Children outlive this body; cut their way back before they go.
    if (FHeaderImages)
        FHeaderImages->UnregisterChanges(FImageLink);
    for (QObject* child : children())
        if (auto* map = dynamic_cast<TKWizardRouteMapControl*>(child))
            map->FWizard = nullptr;
    FRouteMap = nullptr;
    for (const auto& button : FButtons)
        if (button->Control())
            button->Control()->SetWizard(nullptr);
    FActivePage = nullptr;
}

TKWizard::TKWizardButtonClass TKWizard::GetButtonClass(TKWizardButtonKind kind) {
    switch (kind) {
    case bkStart:
        return &Make<TKWizardStartButton>;
    case bkLast:
        return &Make<TKWizardLastButton>;
    case bkBack:
        return &Make<TKWizardBackButton>;
    case bkNext:
        return &Make<TKWizardNextButton>;
    case bkFinish:
        return &Make<TKWizardFinishButton>;
    case bkCancel:
        return &Make<TKWizardCancelButton>;
    case bkHelp:
        return &Make<TKWizardHelpButton>;
    }
    return nullptr;
}

void TKWizard::CreateButtons() {
    for (int k = 0; k < KWizardButtonKindCount; ++k) {
        const auto kind = TKWizardButtonKind(k);
        TKWizardButtonControl* button = GetButtonClass(kind)(this);
        button->resize(button->width(), kButtonHeight);
        button->SetWizard(this);
        FButtons[std::size_t(k)] = std::make_unique<TKWizardNavigateButton>(button);
    }
}

const TNotifyEvent& TKWizard::ButtonClickEvent(TKWizardButtonKind kind) const {
    static const TNotifyEvent none;
    switch (kind) {
    case bkStart:
        return OnStartButtonClick;
    case bkLast:
        return OnLastButtonClick;
    case bkBack:
        return OnBackButtonClick;
    case bkNext:
        return OnNextButtonClick;
    case bkFinish:
        return OnFinishButtonClick;
    case bkCancel:
        return OnCancelButtonClick;
    case bkHelp:
        break;
    }
    return none;
}

// ---- pages and navigation ----

void TKWizard::AddPage(TKWizardCustomPage* page) {
    if (!page || FPages.IndexOf(page) >= 0)
        return;
    FPages.Add(page);
    if (FRouteMap)
        FRouteMap->DoAddPage(page);
    AlignChildren();
}

void TKWizard::RemovePage(TKWizardCustomPage* page) {
    const int index = FPages.IndexOf(page);
    if (index < 0)
        return;
    TKWizardCustomPage* next = FindNextPage(index, +1, true);
    // Only losing the shown page moves the wizard; a wizard with enabled pages left keeps
    // showing one.
    if (!next)
        next = FindNextPage(index, -1, true);
    if (FRouteMap)
        FRouteMap->DoDeletePage(page);
    FPages.Delete(index);
    if (page == FActivePage) {
        ActivatePage(next);
        if (FActivePage == page) { // activation refused while loading: never keep a page we lost
            FActivePage = nullptr;
            UpdateButtons();
        }
    }
}

TKWizardCustomPage* TKWizard::FindNextPage(int startIndex, int step, bool enabledOnly) const {
    if (step != 1 && step != -1)
        return nullptr;
    const int count = PageCount();
    int i = startIndex + step;
    while (i >= 0 && i < count && enabledOnly && !FPages[i]->Enabled())
        i += step;
    return i >= 0 && i < count ? FPages[i] : nullptr;
}

bool TKWizard::IsFirstPage(const TKWizardCustomPage* page, bool enabledOnly) const {
    const TKWizardCustomPage* first = FindNextPage(-1, 1, enabledOnly);
    return !first || first == page;
}

bool TKWizard::IsLastPage(const TKWizardCustomPage* page, bool enabledOnly) const {
    const TKWizardCustomPage* last = FindNextPage(PageCount(), -1, enabledOnly);
    return !last || last == page;
}

void TKWizard::Select(TKWizardCustomPage* target, const TKWizardSelectPageEvent& event) {
    if (!target)
        return;
    if (event)
        event(this, FActivePage, target);
    if (target)
        ActivatePage(target);
}

void TKWizard::SelectFirstPage() {
    Select(FindNextPage(-1, 1, true), OnSelectFirstPage);
}
void TKWizard::SelectLastPage() {
    Select(FindNextPage(PageCount(), -1, true), OnSelectLastPage);
}
void TKWizard::SelectNextPage() {
    Select(FindNextPage(FActivePage ? FActivePage->PageIndex() : -1, 1, true), OnSelectNextPage);
}
void TKWizard::SelectPriorPage() {
    Select(FindNextPage(FActivePage ? FActivePage->PageIndex() : -1, -1, true), OnSelectPriorPage);
}

void TKWizard::ActivatePage(TKWizardCustomPage* page) {
    if (FLoading)
        return;
    if (page && (page->Wizard() != this || !page->Enabled()))
        return;
    ChangePage(page);
}

void TKWizard::ChangePage(TKWizardCustomPage* page) {
    if (page == FActivePage)
        return;
    // A page event may switch pages itself; then that switch is the one that counts.
    const unsigned change = ++FChangeSerial;
    struct Changing {
        TKWizard* W;
        bool Saved;
        TKWizardCustomPage* SavedLeft;
        TKWizardCustomPage* SavedEntered;
        ~Changing() {
            W->FChanging = Saved;
            W->FPageLeft = SavedLeft;
            W->FPageEntered = SavedEntered;
        }
    } changing{this, FChanging, FPageLeft, FPageEntered};
    FChanging = true;
    QPointer<TKWizardCustomPage> newPage = page;
    QPointer<TKWizardCustomPage> oldPage = FActivePage;
    QWidget* form = window();

    // Focus leaves the old page's controls before they are hidden.
    if (oldPage) {
        QWidget* focused = form->focusWidget();
        if (focused && (focused == oldPage || oldPage->isAncestorOf(focused)))
            oldPage->setFocus();
    }
    // A switch started from inside a page event does not fire that page's event again.
    if (oldPage) {
        if (oldPage != FPageLeft) {
            FPageLeft = oldPage;
            oldPage->DoExitPage(page);
            if (change != FChangeSerial)
                return;
        }
        if (oldPage)
            oldPage->hide();
    }
    if (newPage) {
        if (newPage != FPageEntered) {
            FPageEntered = newPage;
            newPage->DoEnterPage(oldPage);
            if (change != FChangeSerial)
                return;
        }
        if (newPage) {
            newPage->raise();
            newPage->show();
            if (newPage->isVisible() && newPage->isEnabled())
                newPage->setFocus();
            else
                setFocus();
        }
    }
    FActivePage = newPage;
    if (FRouteMap)
        FRouteMap->DoActivePageChanged(FActivePage);
    SetButtonBarHeight(FActivePage && FActivePage->VisibleButtons().IsEmpty() ? 0 : DefaultButtonBarHeight);
    if (FActivePage && !FActivePage->Enabled()) {
        // An event handler disabled the page on the way in: it must not stay shown.
        FChanging = changing.Saved;
        FPageLeft = changing.SavedLeft;
        FPageEntered = changing.SavedEntered;
        MoveOffDisabledPage(FActivePage);
        return;
    }
    if (FActivePage && form->focusWidget() == FActivePage) {
        QPointer<TKWizardCustomPage> active = FActivePage;
        active->DoPage();
        if (active)
            FocusFirstControl(active);
    }
}

void TKWizard::FocusFirstControl(TKWizardCustomPage* page) {
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void TKWizard::PageEnabledChanged(TKWizardCustomPage* page) {
    if (FRouteMap)
        FRouteMap->DoUpdatePage(page);
    // During a switch the page being left is on its way out anyway, and the page being
    // entered is checked once the switch is done.
    if (page == FActivePage && !page->Enabled() && !FChanging)
        MoveOffDisabledPage(page);
}

void TKWizard::MoveOffDisabledPage(TKWizardCustomPage* page) {
    const int index = page->PageIndex();
    TKWizardCustomPage* next = FindNextPage(index, 1, true);
    if (!next)
        next = FindNextPage(index, -1, true);
    ActivatePage(next);
}

void TKWizard::Loaded() {
    FLoading = false;
    ArrangeButtons();
    if (PageCount() > 0)
        SelectFirstPage();
}

void TKWizard::ShowChildControl(QWidget* control) {
    if (!control)
        return;
    if (auto* page = dynamic_cast<TKWizardCustomPage*>(control); page && page->Wizard() == this) {
        ActivatePage(page);
        return;
    }
    if (isAncestorOf(control))
        control->show();
}

// ---- button bar ----

void TKWizard::SetButtonBarHeight(int value) {
    if (value != FButtonBarHeight) {
        FButtonBarHeight = value;
        AlignChildren();
        ArrangeButtons();
        update();
    }
    UpdateButtons();
}

void TKWizard::UpdateButtons() {
    TKWizardButtonSet enabled = kNoPageEnabled;
    TKWizardButtonSet visible = kNoPageVisible;
    if (FActivePage) {
        // The first page can never go back; the page keeps that for good.
        if (IsFirstPage(FActivePage, true))
            FActivePage->SetEnabledButtons(FActivePage->EnabledButtons().Without(bkBack));
        if (!FActivePage)
            return;
        enabled = FActivePage->EnabledButtons();
        visible = FActivePage->VisibleButtons();
    }
    for (int k = 0; k < KWizardButtonKindCount; ++k) {
        TKWizardButtonControl* button = ButtonControl(TKWizardButtonKind(k));
        button->setVisible(visible.Contains(TKWizardButtonKind(k)));
        button->setEnabled(enabled.Contains(TKWizardButtonKind(k)));
    }
    if (visible.Contains(bkNext) && enabled.Contains(bkNext))
        ButtonControl(bkNext)->SetDefault(true);
    else if (visible.Contains(bkFinish) && enabled.Contains(bkFinish))
        ButtonControl(bkFinish)->SetDefault(true);
}

void TKWizard::ArrangeButtons() {
    const int h = FButtonBarHeight;
    if (h <= kButtonHeight) {
        for (int k = 0; k < KWizardButtonKindCount; ++k) {
            TKWizardButtonControl* button = ButtonControl(TKWizardButtonKind(k));
            button->setGeometry(0, 0, button->width(), 0);
        }
        return;
    }
    const TKWizardButtonSet visible = FActivePage ? FActivePage->VisibleButtons() : kNoPageVisible;
    const bool nextAndFinish = visible.Contains(bkNext) && visible.Contains(bkFinish);
    const int top = height() - h + 10;
    int left = 8;
    int right = width() - 8;
    for (const BarSlot& slot : kBarSlots) {
        if (!visible.Contains(slot.Kind))
            continue;
        TKWizardButtonControl* button = ButtonControl(slot.Kind);
        const int w = button->width();
        const int gap = nextAndFinish ? slot.GapWithNextAndFinish : slot.Gap;
        if (button->ButtonAlign() == alLeft) {
            button->setGeometry(left, top, w, kButtonHeight);
            left += w + gap;
        } else {
            button->setGeometry(right - w, top, w, kButtonHeight);
            right -= w + gap;
        }
    }
}

// ---- appearance and layout ----

QRect TKWizard::ClientArea() const {
    const int bar = FButtonBarHeight > kButtonHeight ? FButtonBarHeight : 0;
    return QRect(0, 0, width(), std::max(0, height() - bar));
}

void TKWizard::AlignChildren() {
    if (FAligning)
        return;
    FAligning = true;
    QRect area = ClientArea();
    if (FRouteMap && FRouteMap->parentWidget() == this && FRouteMap->Visible()) {
        const int w = std::min(FRouteMap->width(), area.width());
        const int h = std::min(FRouteMap->height(), area.height());
        switch (FRouteMap->Align()) {
        case alTop:
            FRouteMap->setGeometry(area.left(), area.top(), area.width(), h);
            area.setTop(area.top() + h);
            break;
        case alBottom:
            FRouteMap->setGeometry(area.left(), area.bottom() + 1 - h, area.width(), h);
            area.setBottom(area.bottom() - h);
            break;
        case alRight:
            FRouteMap->setGeometry(area.right() + 1 - w, area.top(), w, area.height());
            area.setRight(area.right() - w);
            break;
        default:
            FRouteMap->setGeometry(area.left(), area.top(), w, area.height());
            area.setLeft(area.left() + w);
            break;
        }
    }
    for (TKWizardCustomPage* page : FPages)
        page->setGeometry(area);
    FAligning = false;
}

bool TKWizard::ShowRouteMap() const {
    return FRouteMap && FRouteMap->Visible();
}

void TKWizard::SetShowRouteMap(bool value) {
    if (FRouteMap)
        FRouteMap->setVisible(value);
}

void TKWizard::SetShowDivider(bool value) {
    if (value == FShowDivider)
        return;
    FShowDivider = value;
    update();
}

void TKWizard::SetColor(TColor value) {
    if (value == FColor)
        return;
    FColor = value;
    setAttribute(Qt::WA_OpaquePaintEvent, FColor != clNone);
    update();
}

void TKWizard::SetHeaderImages(TImageList* images) {
    if (images == FHeaderImages)
        return;
    if (FHeaderImages)
        FHeaderImages->UnregisterChanges(FImageLink);
    FHeaderImages = images;
    FImageLink = 0;
    if (FHeaderImages) {
        FImageLink = FHeaderImages->RegisterChanges({[this] {
                                                         if (FActivePage)
                                                             FActivePage->update();
                                                     },
                                                     [this] {
                                                         FHeaderImages = nullptr;
                                                         FImageLink = 0;
                                                         if (FActivePage)
                                                             FActivePage->update();
                                                     }});
    }
    if (FActivePage)
        FActivePage->update();
}

void TKWizard::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    const TRect c{0, 0, width(), height()};
    if (FColor != clNone)
        FillRect(canvas, c, ColorToQColor(FColor));
    const int h = FButtonBarHeight;
    if (h > kButtonHeight && FShowDivider)
        DrawEtchedEdges(canvas, {c.Left, c.Bottom - h, c.Right, c.Bottom}, edTop);
}

void TKWizard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    AlignChildren();
    ArrangeButtons();
}

bool TKWizard::PressButton(bool (TKWizardButtonControl::*flag)() const) {
    for (int k = 0; k < KWizardButtonKindCount; ++k) {
        TKWizardButtonControl* button = ButtonControl(TKWizardButtonKind(k));
        if ((button->*flag)() && button->Visible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

void TKWizard::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            // As in any dialog: Enter on a focused push button presses that button, elsewhere
            // it presses the default one.
            auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            if (focused && !focused->isCheckable() && isAncestorOf(focused) && focused->isEnabled()) {
                focused->click();
                return;
            }
            if (PressButton(&TKWizardButtonControl::Default))
                return;
        }
        if (event->key() == Qt::Key_Escape && PressButton(&TKWizardButtonControl::Cancel))
            return;
    }
    QWidget::keyPressEvent(event);
}

bool TKWizard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && !parentWidget()->layout())
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace wizard
