#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "wizard/KCommon.h"
#include "wizard/KWizardTypes.h"

namespace wizard {

class TKWizard;
class TKWizardCustomPage;

// The mechanics of a route map: its own list of the wizard's pages, the selected row,
// the wizard's notifications and the click that jumps to a page. Attach it by giving it a
// wizard (or one of its pages) as parent.
class TKWizardRouteMapControl : public QWidget {
public:
    // Throws EKWizard when the parent is neither a wizard nor a page.
    explicit TKWizardRouteMapControl(QWidget* parent = nullptr);
    ~TKWizardRouteMapControl() override;

    // Attaches to the parent's wizard; nullptr detaches but keeps Wizard().
    void SetParent(QWidget* parent);
    TKWizard* Wizard() const { return FWizard; }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);

    TKWizardCustomPage* Pages(int index) const;
    int PageCount() const { return int(FPages.size()); }
    int PageIndex() const { return FPageIndex; }
    // Selects a row and activates its page.
    void SetPageIndex(int value);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);

    bool Visible() const { return FVisible; }
    void setVisible(bool visible) override;

    virtual TKWizardCustomPage* PageAtPos(QPoint pos) const;
    // What a page's row reads and where it is drawn (empty when the map draws no rows).
    virtual QString PageText(const TKWizardCustomPage* page) const;
    virtual QRect PageRect(const TKWizardCustomPage* page) const;
    int IndexOfPage(const TKWizardCustomPage* page) const;
    virtual void DoAddPage(TKWizardCustomPage* page);
    virtual void DoDeletePage(TKWizardCustomPage* page);
    virtual void DoUpdatePage(TKWizardCustomPage* page);
    virtual void DoActivePageChanged(TKWizardCustomPage* page);
    virtual bool CanDisplay(TKWizardCustomPage* page) const;

    TKWizardRouteMapDisplayEvent OnDisplaying;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;

private:
    friend class TKWizard;

    QPointer<TKWizard> FWizard; // a detached map may outlive its wizard
    TAlign FAlign = alLeft;
    std::vector<QPointer<TKWizardCustomPage>> FPages;
    int FPageIndex = -1;
    bool FVisible = true;
};

} // namespace wizard
