#pragma once

#include <QFont>
#include <QString>

#include "wizard/KWizardGraphicObjects.h"

namespace wizard {

class TKWizardPageHeader;

// The title or subtitle text of a page header, laid out by anchors inside the header.
class TKWizardPageTitle : public TKWizardGraphicObject {
public:
    TKWizardPageTitle();

    TKWizardPageHeader* Header() const { return FHeader; }
    void SetHeader(TKWizardPageHeader* header);

    const QString& Text() const { return FText; }
    void SetText(const QString& value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int AnchorPlacement() const { return FAnchorPlacement; }
    void SetAnchorPlacement(int value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);

    // The text font. Assigning a whole font is ignored while the header follows the page's
    // font; the single properties below can always be set.
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& font);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    void SetFontName(const QString& family);
    void SetFontPixelSize(int pixels);
    void SetFontBold(bool bold);
    void SetFontItalic(bool italic);

    // Draws the text into its place in HR and moves HR.Top below it.
    void Paint(QPainter& canvas, TRect& headerRect) override;
    virtual void GetTextRect(QPainter& canvas, const TRect& headerRect, TRect& textRect) const;

protected:
    void Changed() override;

private:
    friend class TKWizardPageHeader;
    void FontChanged(const QFont& font);

    TKWizardPageHeader* FHeader = nullptr;
    QString FText;
    TAlignment FAlignment = taLeftJustify;
    int FAnchorPlacement = 4;
    TAnchors FAnchors = akLeft | akTop;
    int FIndent = 0;
    QFont FFont;
    TColor FFontColor = clWindowText;
};

} // namespace wizard
