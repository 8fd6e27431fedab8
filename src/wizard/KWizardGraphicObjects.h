#pragma once

// The painted parts of a page: the base classes, the etched panel and the background image.

#include <QImage>
#include <cstdint>
#include <functional>

#include "wizard/KCommon.h"

class QPainter;

namespace wizard {

class TKWizardCustomPage;

class TKWizardGraphicObject {
public:
    TKWizardGraphicObject() = default;
    virtual ~TKWizardGraphicObject() = default;
    TKWizardGraphicObject(const TKWizardGraphicObject&) = delete;
    TKWizardGraphicObject& operator=(const TKWizardGraphicObject&) = delete;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    virtual void Paint(QPainter& canvas, TRect& rect) = 0;

protected:
    virtual void VisibleChanged() { Changed(); }
    virtual void ColorChanged() { Changed(); }
    virtual void Changed() = 0;

    TColor FColor = clBtnFace;
    bool FVisible = true;
};

// A graphic object owned by a page; a change repaints the page.
class TKWizardPageObject : public TKWizardGraphicObject {
public:
    TKWizardCustomPage* Page() const { return FPage; }
    void SetPage(TKWizardCustomPage* page);

protected:
    void Changed() override;
    virtual void PageChanged() {}

private:
    TKWizardCustomPage* FPage = nullptr;
};

// An etched frame inset by BorderWidth, optionally filled inside.
class TKWizardPagePanel : public TKWizardPageObject {
public:
    TKWizardPagePanel();

    std::uint16_t BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(std::uint16_t value);

    void Paint(QPainter& canvas, TRect& rect) override;

private:
    std::uint16_t FBorderWidth = 7;
};

// The page's background picture.
class TKWizardImage {
public:
    const QImage& Picture() const { return FPicture; }
    void SetPicture(const QImage& picture);
    TKImageAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TKImageAlignment value);
    TKImageLayout Layout() const { return FLayout; }
    void SetLayout(TKImageLayout value);

    // Transparency belongs to the picture: False and unchangeable without one. A transparent
    // picture leaves out the pixels of its bottom-left colour.
    bool Transparent() const { return !FPicture.isNull() && FTransparent; }
    void SetTransparent(bool value);

    // The picture as it is drawn (transparency applied).
    QImage Graphic() const;

    std::function<void()> OnChange;

private:
    void Changed();

    QImage FPicture;
    TKImageAlignment FAlignment = iaStretch;
    TKImageLayout FLayout = ilStretch;
    bool FTransparent = false;
};

} // namespace wizard
