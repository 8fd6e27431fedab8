#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "wizard/KWizardGraphicObjects.h"
#include "wizard/KWizardPageHeader.h"
#include "wizard/KWizardTypes.h"

namespace wizard {

class TKWizard;

// A page of a wizard: a self-painted container shown by its wizard one at a time. The
// window places the page's controls on it at absolute positions; ContentRect() is the area
// below the header.
class TKWizardCustomPage : public QWidget {
public:
    explicit TKWizardCustomPage(TKWizard* wizard = nullptr);
    ~TKWizardCustomPage() override;

    // Moving a page to a wizard appends it to that wizard's page list.
    TKWizard* Wizard() const { return FWizard; }
    void SetWizard(TKWizard* wizard);
    int PageIndex() const;

    // Only enabled pages can be navigated to. QWidget::setEnabled has the same effect.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool value);

    TKWizardButtonSet EnabledButtons() const { return FEnabledButtons; }
    void SetEnabledButtons(TKWizardButtonSet value);
    TKWizardButtonSet VisibleButtons() const { return FVisibleButtons; }
    void SetVisibleButtons(TKWizardButtonSet value);

    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    TKWizardPageHeader* Header() const { return FHeader.get(); }
    TKWizardPagePanel* Panel() const { return FPanel.get(); }
    TKWizardImage* Image() const { return FImage.get(); }

    // The page's client area for its controls: below the header when that is shown.
    QRect ContentRect() const;

    TKWizardPaintPageEvent OnPaintPage;
    TKWizardChangePageEvent OnEnterPage;
    TNotifyEvent OnPage;
    TKWizardChangePageEvent OnExitPage;
    TKWizardPageClickEvent OnStartButtonClick;
    TKWizardPageClickEvent OnLastButtonClick;
    TKWizardPageClickEvent OnNextButtonClick;
    TKWizardPageClickEvent OnBackButtonClick;
    TKWizardPageClickEvent OnCancelButtonClick;
    TKWizardPageClickEvent OnFinishButtonClick;

    // Called by the wizard during a page switch; each fires its event only for an enabled page.
    virtual void DoEnterPage(TKWizardCustomPage* fromPage);
    virtual void DoExitPage(TKWizardCustomPage* toPage);
    virtual void DoPage();

    // Header visibility changed the client area.
    void HeaderLayoutChanged();

protected:
    virtual void PaintHeader(QPainter& canvas, TRect& rect);
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TKWizardPageList;
    friend class TKWizard;
    void SyncEnabled();

    TKWizard* FWizard = nullptr;
    std::unique_ptr<TKWizardPageHeader> FHeader;
    std::unique_ptr<TKWizardPagePanel> FPanel;
    std::unique_ptr<TKWizardImage> FImage;
    TKWizardButtonSet FEnabledButtons = TKWizardButtonSet::All();
    TKWizardButtonSet FVisibleButtons = {bkBack, bkNext, bkCancel};
    bool FPainting = false;
    bool FWasEnabled = true;
    int FHelpContext = 0;
    QString FCaption;
    TColor FColor = clBtnFace;
};

// The page with a painted header, the kind every wizard screen uses.
class TKWizardInteriorPage : public TKWizardCustomPage {
public:
    using TKWizardCustomPage::TKWizardCustomPage;

protected:
    void PaintHeader(QPainter& canvas, TRect& rect) override;
};

} // namespace wizard
