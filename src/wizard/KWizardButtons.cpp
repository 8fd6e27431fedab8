#include "wizard/KWizardButtons.h"

#include <QDialog>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVariant>
#include <array>

#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"

namespace wizard {

namespace {

struct ButtonDefaults {
    const char* Caption;
    bool Visible;
    bool Enabled;
    int Width;
    TAlign Side;
    bool Cancel;
    TModalResult ModalResult;
    TKWizardPageClickEvent TKWizardCustomPage::*PageEvent;
    void (TKWizard::*Select)();
};

// In kind order.
const std::array<ButtonDefaults, KWizardButtonKindCount> kDefaults = {{
    {"To &Start Page", false, true, 85, alLeft, false, mrNone, &TKWizardCustomPage::OnStartButtonClick,
     &TKWizard::SelectFirstPage},
    {"To &Last Page", false, true, 85, alLeft, false, mrNone, &TKWizardCustomPage::OnLastButtonClick,
     &TKWizard::SelectLastPage},
    {"< &Back", true, false, 75, alRight, false, mrNone, &TKWizardCustomPage::OnBackButtonClick,
     &TKWizard::SelectPriorPage},
    {"&Next >", true, false, 75, alRight, false, mrNone, &TKWizardCustomPage::OnNextButtonClick,
     &TKWizard::SelectNextPage},
    {"&Finish", false, true, 75, alRight, false, mrNone, &TKWizardCustomPage::OnFinishButtonClick, nullptr},
    {"Cancel", true, true, 75, alRight, true, mrCancel, &TKWizardCustomPage::OnCancelButtonClick, nullptr},
    {"&Help", false, true, 75, alLeft, false, mrNone, nullptr, nullptr},
}};

constexpr int kGlyphSpacing = 4;

} // namespace

TKWizardButtonControl::TKWizardButtonControl(TKWizardButtonKind kind, QWidget* parent)
    : QPushButton(parent), FKind(kind) {
    const ButtonDefaults& d = kDefaults[std::size_t(kind)];
    setText(QString::fromUtf8(d.Caption));
    setVisible(d.Visible);
    setEnabled(d.Enabled);
    resize(d.Width, 25);
    FButtonAlign = d.Side;
    FCancel = d.Cancel;
    FModalResult = d.ModalResult;
    // A focused button takes Enter itself, as push buttons do in dialogs.
    setAutoDefault(true);
    connect(this, &QAbstractButton::clicked, this, [this] { Click(); });
}

void TKWizardButtonControl::setVisible(bool visible) {
    const bool changed = visible != FVisible;
    FVisible = visible;
    QPushButton::setVisible(visible);
    if (changed && FWizard)
        FWizard->ArrangeButtons();
}

void TKWizardButtonControl::SetGlyph(const QImage& glyph) {
    FGlyph = glyph;
    update();
}

void TKWizardButtonControl::SetNumGlyphs(int value) {
    if (value < 1 || value > 4 || value == FNumGlyphs)
        return;
    FNumGlyphs = value;
    update();
}

void TKWizardButtonControl::SetLayout(TButtonLayout value) {
    if (value == FLayout)
        return;
    FLayout = value;
    update();
}

void TKWizardButtonControl::Click() {
    if (!FWizard)
        return;
    const ButtonDefaults& d = kDefaults[std::size_t(FKind)];
    bool stop = false;
    TKWizardCustomPage* page = FWizard->ActivePage();
    if (page && d.PageEvent && page->*d.PageEvent)
        (page->*d.PageEvent)(page, stop);
    if (stop)
        return;
    QPointer<TKWizard> wizard = FWizard;
    DefaultClick();
    if (wizard && d.Select)
        (wizard->*d.Select)();
}

void TKWizardButtonControl::DefaultClick() {
    if (FModalResult != mrNone)
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->done(FModalResult);
    if (FWizard)
        if (const TNotifyEvent& event = FWizard->ButtonClickEvent(FKind))
            event(this);
}

void TKWizardHelpButton::Click() {
    int context = 0;
    if (Wizard() && Wizard()->ActivePage())
        context = Wizard()->ActivePage()->HelpContext();
    else
        context = window()->property("HelpContext").toInt();
    if (context != 0 && ApplicationHelpHook())
        ApplicationHelpHook()(context);
}

QImage TKWizardButtonControl::GlyphImage(int index) const {
    if (FGlyph.isNull())
        return {};
    const int count = std::max(1, FNumGlyphs);
    const int w = FGlyph.width() / count;
    if (index >= count)
        index = 0;
    QImage part = FGlyph.copy(index * w, 0, w, FGlyph.height());
    if (!part.hasAlphaChannel()) {
        // Bitmaps without alpha take the bottom-left pixel of the whole glyph as transparent.
        part = part.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = FGlyph.pixel(0, FGlyph.height() - 1) | 0xFF000000u;
        for (int y = 0; y < part.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
            for (int x = 0; x < part.width(); ++x)
                if (line[x] == key)
                    line[x] = 0;
        }
    }
    return part;
}

void TKWizardButtonControl::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();
    opt.icon = QIcon();
    p.drawControl(QStyle::CE_PushButtonBevel, opt);

    QImage glyph;
    if (!isEnabled() && FNumGlyphs >= 2)
        glyph = GlyphImage(1);
    else if (isDown() && FNumGlyphs >= 3)
        glyph = GlyphImage(2);
    else
        glyph = GlyphImage(0);
    QPixmap pixmap = QPixmap::fromImage(glyph);
    if (!isEnabled() && FNumGlyphs < 2 && !pixmap.isNull())
        pixmap = style()->generatedIconPixmap(QIcon::Disabled, pixmap, &opt);

    const QSize ts = caption.isEmpty() ? QSize() : fontMetrics().size(Qt::TextShowMnemonic, caption);
    const QSize gs = pixmap.isNull() ? QSize() : pixmap.size() / pixmap.devicePixelRatio();
    const int spacing = ts.isEmpty() || gs.isEmpty() ? 0 : kGlyphSpacing;
    const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int shift = isDown() ? 1 : 0;
    const QRect area = rect().translated(shift, shift);

    QRect glyphRect;
    QRect textRect;
    if (horizontal) {
        const int total = gs.width() + spacing + ts.width();
        const int x0 = area.left() + (area.width() - total) / 2;
        const int gx = FLayout == blGlyphLeft ? x0 : x0 + ts.width() + spacing;
        const int tx = FLayout == blGlyphLeft ? x0 + gs.width() + spacing : x0;
        glyphRect = QRect(gx, area.top() + (area.height() - gs.height()) / 2, gs.width(), gs.height());
        textRect = QRect(tx, area.top(), ts.width(), area.height());
    } else {
        const int total = gs.height() + spacing + ts.height();
        const int y0 = area.top() + (area.height() - total) / 2;
        const int gy = FLayout == blGlyphTop ? y0 : y0 + ts.height() + spacing;
        const int ty = FLayout == blGlyphTop ? y0 + gs.height() + spacing : y0;
        glyphRect = QRect(area.left() + (area.width() - gs.width()) / 2, gy, gs.width(), gs.height());
        textRect = QRect(area.left(), ty, area.width(), ts.height());
    }
    if (!pixmap.isNull())
        p.drawPixmap(glyphRect.topLeft(), pixmap);
    if (!caption.isEmpty())
        style()->drawItemText(&p, textRect, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                              caption, QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &opt, this);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

QImage TKWizardNavigateButton::Glyph() const {
    return FControl ? FControl->Glyph() : QImage();
}
void TKWizardNavigateButton::SetGlyph(const QImage& value) {
    if (FControl)
        FControl->SetGlyph(value);
}

QString TKWizardNavigateButton::Caption() const {
    return FControl ? FControl->Caption() : QString();
}
void TKWizardNavigateButton::SetCaption(const QString& value) {
    if (FControl)
        FControl->SetCaption(value);
}

int TKWizardNavigateButton::NumGlyphs() const {
    return FControl ? FControl->NumGlyphs() : 0;
}
void TKWizardNavigateButton::SetNumGlyphs(int value) {
    if (FControl)
        FControl->SetNumGlyphs(value);
}

TButtonLayout TKWizardNavigateButton::Layout() const {
    return FControl ? FControl->Layout() : blGlyphLeft;
}
void TKWizardNavigateButton::SetLayout(TButtonLayout value) {
    if (FControl)
        FControl->SetLayout(value);
}

TModalResult TKWizardNavigateButton::ModalResult() const {
    return FControl ? FControl->ModalResult() : mrNone;
}
void TKWizardNavigateButton::SetModalResult(TModalResult value) {
    if (FControl)
        FControl->SetModalResult(value);
}

int TKWizardNavigateButton::Width() const {
    return FControl ? FControl->width() : 0;
}
void TKWizardNavigateButton::SetWidth(int value) {
    if (!FControl || value == FControl->width())
        return;
    FControl->resize(value, FControl->height());
    if (FControl->Wizard())
        FControl->Wizard()->ArrangeButtons();
}

} // namespace wizard
