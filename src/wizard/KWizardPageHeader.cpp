#include "wizard/KWizardPageHeader.h"

#include <QPainter>

#include "platform/ImageList.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"

namespace wizard {

TKWizardPageHeader::TKWizardPageHeader()
    : FTitle(std::make_unique<TKWizardPageTitle>()), FSubtitle(std::make_unique<TKWizardPageTitle>()) {
    FColor = clWindow;
    FTitle->FText = QStringLiteral("Title");
    FTitle->FAnchors = akLeft | akTop | akRight;
    FTitle->FFont.setPixelSize(16); // 12 points
    FTitle->FFont.setBold(true);
    FSubtitle->FText = QStringLiteral("Subtitle");
    FSubtitle->FAnchors = akLeft | akTop | akRight | akBottom;
    FTitle->SetHeader(this);
    FSubtitle->SetHeader(this);
}

TKWizardPageHeader::~TKWizardPageHeader() = default;

void TKWizardPageHeader::SetHeight(int value) {
    if (value == FHeight)
        return;
    FHeight = value;
    Changed();
}

void TKWizardPageHeader::SetParentFont(bool value) {
    if (value == FParentFont)
        return;
    FParentFont = value;
    PageFontChanged();
}

void TKWizardPageHeader::SetImageIndex(int value) {
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    Changed();
}

void TKWizardPageHeader::SetImageOffset(int value) {
    if (value == FImageOffset)
        return;
    FImageOffset = value;
    Changed();
}

void TKWizardPageHeader::SetImageAlignment(TKImageLeftRight value) {
    if (value != iaLeft && value != iaRight)
        return;
    if (value == FImageAlignment)
        return;
    FImageAlignment = value;
    Changed();
}

void TKWizardPageHeader::SetShowDivider(bool value) {
    if (value == FShowDivider)
        return;
    FShowDivider = value;
    Changed();
}

void TKWizardPageHeader::PageFontChanged() {
    if (!FParentFont || !Page())
        return;
    const QString family = Page()->font().family();
    FTitle->SetFontName(family);
    FSubtitle->SetFontName(family);
}

void TKWizardPageHeader::VisibleChanged() {
    Changed();
    if (Page())
        Page()->HeaderLayoutChanged();
}

void TKWizardPageHeader::PageChanged() {
    FTitle->SetHeader(this);
    FSubtitle->SetHeader(this);
}

void TKWizardPageHeader::GetImagePosition(int w, int h, TRect& hr, TRect& p) const {
    p = {hr.Left, hr.Top, hr.Left + w, hr.Top + h};
    p = p.Offset(0, (hr.Height() - h) / 2);
    if (FImageAlignment == iaRight)
        p = p.Offset(hr.Width() - w - 4, 0);
    p = p.Offset(FImageOffset, 0);
    if (FImageAlignment == iaLeft && p.Right > hr.Left)
        hr.Left = p.Right;
    else if (FImageAlignment == iaRight && p.Left < hr.Right)
        hr.Right = p.Left;
}

void TKWizardPageHeader::Paint(QPainter& canvas, TRect& r) {
    if (!FVisible)
        return;
    TRect hr = r;
    hr.Bottom = r.Top + FHeight;
    FillRect(canvas, hr, ColorToQColor(FColor));
    if (FShowDivider)
        DrawEtchedEdges(canvas, hr, edBottom);

    const TImageList* images = Page() && Page()->Wizard() ? Page()->Wizard()->HeaderImages() : nullptr;
    if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
        TRect icon;
        GetImagePosition(images->Width(), images->Height(), hr, icon);
        images->Draw(canvas, icon.Left, icon.Top, FImageIndex);
    }
    FTitle->Paint(canvas, hr);
    FSubtitle->Paint(canvas, hr);
    r.Top += FHeight;
}

} // namespace wizard
