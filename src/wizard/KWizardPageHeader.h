#pragma once

#include <memory>

#include "wizard/KWizardGraphicObjects.h"
#include "wizard/KWizardPageTitle.h"

namespace platform {
class TImageList;
}

namespace wizard {

using platform::TImageList;

// The band across the top of a page: background, etched divider, icon, title and subtitle.
class TKWizardPageHeader : public TKWizardPageObject {
public:
    TKWizardPageHeader();
    ~TKWizardPageHeader() override;

    int Height() const { return FHeight; }
    void SetHeight(int value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TKWizardPageTitle* Title() const { return FTitle.get(); }
    TKWizardPageTitle* Subtitle() const { return FSubtitle.get(); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int ImageOffset() const { return FImageOffset; }
    void SetImageOffset(int value);
    TKImageLeftRight ImageAlignment() const { return FImageAlignment; }
    void SetImageAlignment(TKImageLeftRight value);
    bool ShowDivider() const { return FShowDivider; }
    void SetShowDivider(bool value);

    // Paints the header at the top of R and moves R.Top below it.
    void Paint(QPainter& canvas, TRect& rect) override;

    // The icon's place in HR for an image list of w × h; narrows HR to the text area.
    void GetImagePosition(int w, int h, TRect& headerRect, TRect& imageRect) const;

    // The page's font changed: titles follow its face while ParentFont holds.
    void PageFontChanged();

protected:
    void VisibleChanged() override;
    void PageChanged() override;

private:
    friend class TKWizardPageTitle;
    void TitleChanged() { Changed(); }

    int FHeight = 70;
    bool FParentFont = true;
    std::unique_ptr<TKWizardPageTitle> FTitle;
    std::unique_ptr<TKWizardPageTitle> FSubtitle;
    int FImageIndex = -1;
    int FImageOffset = 0;
    TKImageLeftRight FImageAlignment = iaRight;
    bool FShowDivider = true;
};

} // namespace wizard
