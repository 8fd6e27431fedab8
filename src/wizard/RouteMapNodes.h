#pragma once

#include <memory>

#include "wizard/KWizardRouteMap.h"

namespace wizard {

class TKWizardRouteMapNodes;

// The colours of the route map's nodes and connecting lines.
class TWizardRouteMapNodeColors {
public:
    explicit TWizardRouteMapNodeColors(TKWizardRouteMapNodes* owner) : FOwner(owner) {}

    TColor Selected() const { return FSelected; }
    void SetSelected(TColor value) { Set(FSelected, value); }
    TColor Unselected() const { return FUnselected; }
    void SetUnselected(TColor value) { Set(FUnselected, value); }
    TColor Line() const { return FLine; }
    void SetLine(TColor value) { Set(FLine, value); }
    TColor Disabled() const { return FDisabled; }
    void SetDisabled(TColor value) { Set(FDisabled, value); }

private:
    void Set(TColor& field, TColor value);

    TColor FSelected = clLime;
    TColor FUnselected = clWhite;
    TColor FDisabled = clBtnFace;
    TColor FLine = clBtnShadow;
    TKWizardRouteMapNodes* FOwner;
};

// A route map drawn as a column of rows: a square node on a two-pixel trunk and the
// page's title, the active page's node filled and its title bold.
class TKWizardRouteMapNodes : public TKWizardRouteMapControl {
public:
    explicit TKWizardRouteMapNodes(QWidget* parent = nullptr);
    ~TKWizardRouteMapNodes() override;

    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    bool UsePageTitle() const { return FUsePageTitle; }
    void SetUsePageTitle(bool value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    TWizardRouteMapNodeColors* NodeColors() const { return FNodeColors.get(); }

    TKWizardCustomPage* PageAtPos(QPoint pos) const override;
    QString PageText(const TKWizardCustomPage* page) const override;
    QRect PageRect(const TKWizardCustomPage* page) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintRow(QPainter& canvas, TKWizardCustomPage* page, int index, const TRect& row);

    int FItemHeight = 20;
    bool FUsePageTitle = true;
    std::unique_ptr<TWizardRouteMapNodeColors> FNodeColors;
    int FIndent = 8;
};

} // namespace wizard
