#include "wizard/KWizardPageTitle.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"
#include "wizard/KWizardPageHeader.h"
#include "wizard/KWizardRouteMap.h"

namespace wizard {

TKWizardPageTitle::TKWizardPageTitle() {
    FColor = clNone;
    FFont.setFamily(QStringLiteral("MS Sans Serif"));
    FFont.setPixelSize(11);
}

void TKWizardPageTitle::SetHeader(TKWizardPageHeader* header) {
    FHeader = header;
    if (FHeader && FHeader->Page())
        FFont.setFamily(FHeader->Page()->font().family());
}

template <typename T> static bool Assign(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

void TKWizardPageTitle::SetText(const QString& value) {
    if (!Assign(FText, value))
        return;
    Changed();
    // The route map lists pages by their titles.
    if (FHeader && FHeader->Page() && FHeader->Page()->Wizard())
        if (TKWizardRouteMapControl* map = FHeader->Page()->Wizard()->RouteMap())
            map->DoUpdatePage(FHeader->Page());
}

void TKWizardPageTitle::SetAlignment(TAlignment value) {
    if (Assign(FAlignment, value))
        Changed();
}

void TKWizardPageTitle::SetAnchorPlacement(int value) {
    if (Assign(FAnchorPlacement, value))
        Changed();
}

void TKWizardPageTitle::SetAnchors(TAnchors value) {
    if (Assign(FAnchors, value))
        Changed();
}

void TKWizardPageTitle::SetIndent(int value) {
    if (Assign(FIndent, value))
        Changed();
}

void TKWizardPageTitle::SetFont(const QFont& font) {
    if (FHeader && FHeader->ParentFont())
        return;
    FontChanged(font);
}

void TKWizardPageTitle::SetFontColor(TColor value) {
    if (Assign(FFontColor, value))
        Changed();
}

void TKWizardPageTitle::SetFontName(const QString& family) {
    QFont f = FFont;
    f.setFamily(family);
    FontChanged(f);
}

void TKWizardPageTitle::SetFontPixelSize(int pixels) {
    QFont f = FFont;
    f.setPixelSize(pixels);
    FontChanged(f);
}

void TKWizardPageTitle::SetFontBold(bool bold) {
    QFont f = FFont;
    f.setBold(bold);
    FontChanged(f);
}

void TKWizardPageTitle::SetFontItalic(bool italic) {
    QFont f = FFont;
    f.setItalic(italic);
    FontChanged(f);
}

void TKWizardPageTitle::FontChanged(const QFont& font) {
    if (Assign(FFont, font))
        Changed();
}

void TKWizardPageTitle::Changed() {
    if (FHeader)
        FHeader->TitleChanged();
}

void TKWizardPageTitle::GetTextRect(QPainter& canvas, const TRect& hr, TRect& t) const {
    const QFontMetrics fm(FFont, canvas.device());
    const int cx = fm.horizontalAdvance(FText);
    const int cy = fm.height();
    t = {hr.Left, hr.Top, hr.Left + cx, hr.Top + cy};
    if (FAnchors & akLeft)
        t = t.Offset(FAnchorPlacement, 0);
    if (FAnchors & akTop)
        t = t.Offset(0, FAnchorPlacement);
    if (FAnchors & akRight)
        t.Right = hr.Right - FAnchorPlacement;
    if (FAnchors & akBottom)
        t.Bottom = hr.Bottom - FAnchorPlacement;
    t.Left += FIndent;
    t.Right -= FIndent;
    t.Bottom = std::min(t.Bottom, hr.Bottom);
    t.Right = std::min(t.Right, hr.Right);
}

void TKWizardPageTitle::Paint(QPainter& canvas, TRect& hr) {
    if (!FVisible || !FHeader || !FHeader->Page())
        return;
    canvas.setFont(FFont);
    TRect t;
    GetTextRect(canvas, hr, t);
    if (FColor != clNone)
        FillRect(canvas, t, ColorToQColor(FColor));
    if (!t.IsEmpty()) {
        // The placements of the two non-left values are each other's: right-justify centres.
        int horizontal = Qt::AlignLeft;
        if (FAlignment == taRightJustify)
            horizontal = Qt::AlignHCenter;
        else if (FAlignment == taCenter)
            horizontal = Qt::AlignRight;
        canvas.save();
        canvas.setClipRect(t.ToQRect());
        canvas.setPen(ColorToQColor(FFontColor));
        canvas.drawText(t.ToQRect(), horizontal | Qt::AlignTop | Qt::TextWordWrap, FText);
        canvas.restore();
    }
    hr.Top = t.Bottom;
}

} // namespace wizard
