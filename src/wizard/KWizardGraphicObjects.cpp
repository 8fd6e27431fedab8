#include "wizard/KWizardGraphicObjects.h"

#include <QPainter>

#include "wizard/KWizardPage.h"

namespace wizard {

void TKWizardGraphicObject::SetColor(TColor value) {
    if (value == FColor)
        return;
    FColor = value;
    ColorChanged();
}

void TKWizardGraphicObject::SetVisible(bool value) {
    if (value == FVisible)
        return;
    FVisible = value;
    VisibleChanged();
}

void TKWizardPageObject::SetPage(TKWizardCustomPage* page) {
    FPage = page;
    PageChanged();
}

void TKWizardPageObject::Changed() {
    if (FPage)
        FPage->update();
}

TKWizardPagePanel::TKWizardPagePanel() {
    FColor = clBtnFace;
    FVisible = false;
}

void TKWizardPagePanel::SetBorderWidth(std::uint16_t value) {
    if (value == FBorderWidth)
        return;
    FBorderWidth = value;
    Changed();
}

void TKWizardPagePanel::Paint(QPainter& canvas, TRect& rect) {
    if (!FVisible || FBorderWidth == 0)
        return;
    TRect r = rect.Inflated(-int(FBorderWidth));
    DrawEtchedEdges(canvas, r, edAll);
    if (FColor != clNone)
        FillRect(canvas, r.Inflated(-2), ColorToQColor(FColor));
}

void TKWizardImage::SetPicture(const QImage& picture) {
    FPicture = picture;
    Changed();
}

void TKWizardImage::SetAlignment(TKImageAlignment value) {
    if (value == FAlignment)
        return;
    FAlignment = value;
    Changed();
}

void TKWizardImage::SetLayout(TKImageLayout value) {
    if (value == FLayout)
        return;
    FLayout = value;
    Changed();
}

void TKWizardImage::SetTransparent(bool value) {
    if (FPicture.isNull() || value == FTransparent)
        return;
    FTransparent = value;
    Changed();
}

QImage TKWizardImage::Graphic() const {
    if (!Transparent())
        return FPicture;
    QImage image = FPicture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == key)
                line[x] = 0;
    }
    return image;
}

void TKWizardImage::Changed() {
    if (OnChange)
        OnChange();
}

} // namespace wizard
