#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "wizard/KCommon.h"
#include "wizard/KWizardButtons.h"
#include "wizard/KWizardPageList.h"
#include "wizard/KWizardTypes.h"

namespace platform {
class TImageList;
}

namespace wizard {

using platform::TImageList;
class TKWizardCustomPage;
class TKWizardRouteMapControl;

// The wizard: shows one page at a time out of its ordered pages, with a bar of navigation
// buttons along the bottom and, optionally, a route map of the pages along one side.
// Without a layout in its parent it fills the parent.
class TKWizard : public QWidget {
public:
    static constexpr int DefaultButtonBarHeight = 42;
    using TKWizardButtonClass = TKWizardButtonControl* (*)(QWidget* parent);

    explicit TKWizard(QWidget* parent = nullptr);
    ~TKWizard() override;

    const TKWizardPageList& Pages() const { return FPages; }
    int PageCount() const { return FPages.Count(); }

    TKWizardCustomPage* ActivePage() const { return FActivePage; }
    void SetActivePage(TKWizardCustomPage* page) { ActivatePage(page); }
    // Ignored while loading, and for a page that is disabled or belongs to another wizard.
    void ActivatePage(TKWizardCustomPage* page);

    void SelectFirstPage();
    void SelectLastPage();
    void SelectNextPage();
    void SelectPriorPage();

    TKWizardCustomPage* FindNextPage(int startIndex, int step, bool enabledOnly) const;
    bool IsFirstPage(const TKWizardCustomPage* page, bool enabledOnly = true) const;
    bool IsLastPage(const TKWizardCustomPage* page, bool enabledOnly = true) const;

    TKWizardRouteMapControl* RouteMap() const { return FRouteMap; }
    bool ShowRouteMap() const;
    void SetShowRouteMap(bool value);

    TKWizardNavigateButton* ButtonStart() const { return Button(bkStart); }
    TKWizardNavigateButton* ButtonLast() const { return Button(bkLast); }
    TKWizardNavigateButton* ButtonBack() const { return Button(bkBack); }
    TKWizardNavigateButton* ButtonNext() const { return Button(bkNext); }
    TKWizardNavigateButton* ButtonFinish() const { return Button(bkFinish); }
    TKWizardNavigateButton* ButtonCancel() const { return Button(bkCancel); }
    TKWizardNavigateButton* ButtonHelp() const { return Button(bkHelp); }
    TKWizardNavigateButton* Button(TKWizardButtonKind kind) const {
        return FButtons[std::size_t(kind)].get();
    }
    TKWizardButtonControl* ButtonControl(TKWizardButtonKind kind) const { return Button(kind)->Control(); }
    static TKWizardButtonClass GetButtonClass(TKWizardButtonKind kind);

    int ButtonBarHeight() const { return FButtonBarHeight; }
    // 0 hides the bar; every call ends with UpdateButtons.
    void SetButtonBarHeight(int value);
    bool ShowDivider() const { return FShowDivider; }
    void SetShowDivider(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // The icons of the page headers; not owned. The wizard forgets a list that is destroyed.
    TImageList* HeaderImages() const { return FHeaderImages; }
    void SetHeaderImages(TImageList* images);

    // Pages join through TKWizardCustomPage::SetWizard, which calls these.
    void AddPage(TKWizardCustomPage* page);
    void RemovePage(TKWizardCustomPage* page);

    void ArrangeButtons();
    void UpdateButtons();

    // While loading, page activation is ignored; Loaded() arranges the bar and selects the
    // first enabled page, so a freshly built wizard starts at its beginning.
    void BeginLoading() { FLoading = true; }
    void Loaded();
    bool Loading() const { return FLoading; }

    // Makes a child visible; for a page of this wizard that means activating it.
    void ShowChildControl(QWidget* control);

    // The area for pages and route map: above the button bar when that is shown.
    QRect ClientArea() const;

    // The wizard's click event of a button kind (empty for Help).
    const TNotifyEvent& ButtonClickEvent(TKWizardButtonKind kind) const;

    TKWizardSelectPageEvent OnSelectFirstPage;
    TKWizardSelectPageEvent OnSelectLastPage;
    TKWizardSelectPageEvent OnSelectNextPage;
    TKWizardSelectPageEvent OnSelectPriorPage;
    TNotifyEvent OnStartButtonClick;
    TNotifyEvent OnLastButtonClick;
    TNotifyEvent OnBackButtonClick;
    TNotifyEvent OnNextButtonClick;
    TNotifyEvent OnFinishButtonClick;
    TNotifyEvent OnCancelButtonClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TKWizardCustomPage;
    friend class TKWizardRouteMapControl;

    void CreateButtons();
    void ChangePage(TKWizardCustomPage* page);
    void Select(TKWizardCustomPage* target, const TKWizardSelectPageEvent& event);
    void PageEnabledChanged(TKWizardCustomPage* page);
    void MoveOffDisabledPage(TKWizardCustomPage* page);
    void AlignChildren();
    void FocusFirstControl(TKWizardCustomPage* page);
    bool PressButton(bool (TKWizardButtonControl::*flag)() const);

    TKWizardPageList FPages;
    TKWizardCustomPage* FActivePage = nullptr;
    TKWizardRouteMapControl* FRouteMap = nullptr;
    std::array<std::unique_ptr<TKWizardNavigateButton>, KWizardButtonKindCount> FButtons;
    int FButtonBarHeight = DefaultButtonBarHeight;
    bool FShowDivider = true;
    TColor FColor = clWindow;
    TImageList* FHeaderImages = nullptr;
    int FImageLink = 0;
    bool FLoading = false;
    bool FAligning = false;
    unsigned FChangeSerial = 0;
    bool FChanging = false;
    TKWizardCustomPage* FPageLeft = nullptr;    // exit event fired in the switch under way
    TKWizardCustomPage* FPageEntered = nullptr; // enter event fired in the switch under way
};

} // namespace wizard
