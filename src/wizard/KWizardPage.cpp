#include "wizard/KWizardPage.h"

#include <QEvent>
#include <QPainter>

#include "wizard/KWizard.h"
#include "wizard/KWizardRouteMap.h"
#include "wizard/WizardAccessible.h"

namespace wizard {

TKWizardCustomPage::TKWizardCustomPage(TKWizard* wizard)
    : FHeader(std::make_unique<TKWizardPageHeader>()), FPanel(std::make_unique<TKWizardPagePanel>()),
      FImage(std::make_unique<TKWizardImage>()) {
    InstallWizardAccessibility();
    // The paint covers every pixel: no background erase, so page switches do not flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setVisible(false);
    FHeader->SetPage(this);
    FImage->OnChange = [this] { update(); };
    FPanel->SetPage(this);
    if (wizard)
        SetWizard(wizard);
}

TKWizardCustomPage::~TKWizardCustomPage() {
    if (FWizard)
        FWizard->RemovePage(this);
}

void TKWizardCustomPage::SetWizard(TKWizard* wizard) {
    if (wizard == FWizard)
        return;
    if (FWizard)
        FWizard->RemovePage(this);
    if (wizard) {
        setParent(wizard); // hides the page until the wizard shows it
        wizard->AddPage(this);
    }
}

int TKWizardCustomPage::PageIndex() const {
    return FWizard ? FWizard->Pages().IndexOf(this) : -1;
}

void TKWizardCustomPage::SetEnabledButtons(TKWizardButtonSet value) {
    if (value == FEnabledButtons)
        return;
    FEnabledButtons = value;
    if (FWizard && FWizard->ActivePage() == this)
        FWizard->UpdateButtons();
}

void TKWizardCustomPage::SetVisibleButtons(TKWizardButtonSet value) {
    if (value == FVisibleButtons)
        return;
    FVisibleButtons = value;
    if (FWizard && FWizard->ActivePage() == this) {
        FWizard->SetButtonBarHeight(value.IsEmpty() ? 0 : TKWizard::DefaultButtonBarHeight);
        update();
    }
}

void TKWizardCustomPage::SetCaption(const QString& value) {
    if (value == FCaption)
        return;
    FCaption = value;
    update();
    if (FWizard && FWizard->RouteMap())
        FWizard->RouteMap()->DoUpdatePage(this);
}

void TKWizardCustomPage::SetColor(TColor value) {
    if (value == FColor)
        return;
    FColor = value;
    update();
}

QRect TKWizardCustomPage::ContentRect() const {
    const int top = FHeader->Visible() ? FHeader->Height() : 0;
    return QRect(0, top, width(), std::max(0, height() - top));
}

void TKWizardCustomPage::HeaderLayoutChanged() {
    update();
}

void TKWizardCustomPage::DoEnterPage(TKWizardCustomPage* fromPage) {
    if (OnEnterPage && Enabled())
        OnEnterPage(this, fromPage);
}

void TKWizardCustomPage::DoExitPage(TKWizardCustomPage* toPage) {
    if (OnExitPage && Enabled())
        OnExitPage(this, toPage);
}

void TKWizardCustomPage::DoPage() {
    repaint();
    if (OnPage && Enabled())
        OnPage(this);
}

void TKWizardCustomPage::PaintHeader(QPainter&, TRect&) {}

void TKWizardInteriorPage::PaintHeader(QPainter& canvas, TRect& rect) {
    Header()->Paint(canvas, rect);
}

void TKWizardCustomPage::paintEvent(QPaintEvent*) {
    if (FPainting)
        return;
    FPainting = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{FPainting};

    QPainter canvas(this);
    TRect r{0, 0, width(), height()};
    FillRect(canvas, r, ColorToQColor(FColor));
    PaintHeader(canvas, r);
    if (OnPaintPage) {
        OnPaintPage(this, canvas, r);
        return;
    }
    DrawGraphicAligned(canvas, FImage->Graphic(), r, FImage->Alignment(), FImage->Layout());
    TRect panelRect = r;
    FPanel->Paint(canvas, panelRect);
}

void TKWizardCustomPage::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FHeader->PageFontChanged();
    } else if (event->type() == QEvent::EnabledChange) {
        SyncEnabled();
    }
}

void TKWizardCustomPage::SetEnabled(bool value) {
    setEnabled(value);
    SyncEnabled(); // Qt sends no change event while the wizard itself is disabled
}

void TKWizardCustomPage::SyncEnabled() {
    // Only the page's own switch counts; a disabled wizard does not disable its pages.
    const bool enabled = Enabled();
    if (enabled == FWasEnabled)
        return;
    FWasEnabled = enabled;
    if (FWizard)
        FWizard->PageEnabledChanged(this);
}

} // namespace wizard
