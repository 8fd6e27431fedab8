#pragma once

#include <QImage>
#include <QPointer>
#include <QPushButton>

#include "wizard/KCommon.h"
#include "wizard/KWizardTypes.h"

namespace wizard {

class TKWizard;

// A navigation button of the wizard's bar: a push button with a glyph beside its caption
// ("&" marks the accelerator), a dialog code for modal windows, and Default / Cancel flags
// that Enter and Esc follow.
class TKWizardButtonControl : public QPushButton {
public:
    TKWizardButtonControl(TKWizardButtonKind kind, QWidget* parent = nullptr);

    TKWizardButtonKind Kind() const { return FKind; }
    TKWizard* Wizard() const { return FWizard; }
    void SetWizard(TKWizard* wizard) { FWizard = wizard; }
    TAlign ButtonAlign() const { return FButtonAlign; }
    void SetButtonAlign(TAlign value) { FButtonAlign = value; }

    QString Caption() const { return text(); }
    void SetCaption(const QString& value) { setText(value); }
    const QImage& Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    bool Default() const { return isDefault(); }
    void SetDefault(bool value) { setDefault(value); }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }

    // The run-time click: page event with Stop, the ordinary click, then navigation.
    virtual void Click();

    void setVisible(bool visible) override;
    bool Visible() const { return FVisible; }

protected:
    // The ordinary push-button click: hands the dialog code to a modal window and fires
    // the wizard's click event of this kind.
    void DefaultClick();
    void paintEvent(QPaintEvent* event) override;

private:
    QImage GlyphImage(int index) const;

    TKWizardButtonKind FKind;
    TKWizard* FWizard = nullptr;
    TAlign FButtonAlign = alRight;
    QImage FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    TModalResult FModalResult = mrNone;
    bool FCancel = false;
    bool FVisible = true;
};

// The seven kinds differ in their defaults (caption, width, side, visibility) and clicks.
class TKWizardStartButton : public TKWizardButtonControl {
public:
    explicit TKWizardStartButton(QWidget* parent = nullptr) : TKWizardButtonControl(bkStart, parent) {}
};
class TKWizardLastButton : public TKWizardButtonControl {
public:
    explicit TKWizardLastButton(QWidget* parent = nullptr) : TKWizardButtonControl(bkLast, parent) {}
};
class TKWizardBackButton : public TKWizardButtonControl {
public:
    explicit TKWizardBackButton(QWidget* parent = nullptr) : TKWizardButtonControl(bkBack, parent) {}
};
class TKWizardNextButton : public TKWizardButtonControl {
public:
    explicit TKWizardNextButton(QWidget* parent = nullptr) : TKWizardButtonControl(bkNext, parent) {}
};
class TKWizardFinishButton : public TKWizardButtonControl {
public:
    explicit TKWizardFinishButton(QWidget* parent = nullptr) : TKWizardButtonControl(bkFinish, parent) {}
};
class TKWizardCancelButton : public TKWizardButtonControl {
public:
    explicit TKWizardCancelButton(QWidget* parent = nullptr) : TKWizardButtonControl(bkCancel, parent) {}
};
class TKWizardHelpButton : public TKWizardButtonControl {
public:
    explicit TKWizardHelpButton(QWidget* parent = nullptr) : TKWizardButtonControl(bkHelp, parent) {}
    void Click() override;
};

// The published face of one navigation button; every property forwards to the button.
class TKWizardNavigateButton {
public:
    explicit TKWizardNavigateButton(TKWizardButtonControl* control) : FControl(control) {}

    TKWizardButtonControl* Control() const { return FControl; }

    QImage Glyph() const;
    void SetGlyph(const QImage& value);
    QString Caption() const;
    void SetCaption(const QString& value);
    int NumGlyphs() const;
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const;
    void SetLayout(TButtonLayout value);
    TModalResult ModalResult() const;
    void SetModalResult(TModalResult value);
    int Width() const;
    void SetWidth(int value);

private:
    QPointer<TKWizardButtonControl> FControl;
};

} // namespace wizard
