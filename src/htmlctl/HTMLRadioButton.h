#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "htmlctl/PictureContainer.h"
#include "platform/ImageList.h"
#include "platform/ToolkitTypes.h"

namespace htmlctl {

using platform::TImageList;

struct THTMLRenderIn;

// Glyph styles of the radio buttons.
enum TButtonType { btClassic, btBrimsel, btFlat, btOlvane, btWinXP };
// Vertical place of the glyph.
enum TTextLayout { tlTop, tlCenter, tlBottom };
// Glyph on the left or on the right; a centred group draws like a left-justified one.
using platform::taCenter;
using platform::taLeftJustify;
using platform::TAlignment;
using platform::taRightJustify;

using platform::TNotifyEvent;
using TAnchorClick = std::function<void(QObject* Sender, const QString& Anchor)>;

// A radio button whose caption is mini-HTML. Buttons with the same parent and GroupIndex
// exclude each other; only the checked one is a tab stop, the arrow keys move the choice.
class THTMLRadioButton : public QWidget {
    Q_OBJECT
public:
    explicit THTMLRadioButton(QWidget* parent = nullptr);
    ~THTMLRadioButton() override;

    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    bool Down() const { return FDown; }
    bool Focused() const { return FFocused; }
    bool Hot() const { return FHot; }

    QColor CheckColor() const { return FCheckColor; }
    void SetCheckColor(const QColor& value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    TButtonType ButtonType() const { return FButtonType; }
    void SetButtonType(TButtonType value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* value);
    QColor URLColor() const { return FURLColor; }
    void SetURLColor(const QColor& value);
    TTextLayout ButtonVertAlign() const { return FButtonVertAlign; }
    void SetButtonVertAlign(TTextLayout value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* value);
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int value);
    QColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(const QColor& value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool ThemesAvailable() const { return FThemesAvailable; }
    THTMLPictureCache& PictureCache() { return FImageCache; }
    QString Version() const { return QStringLiteral("1.4.5.2"); }

    // The anchor under a point of the control, or empty; laid out exactly as painted.
    QString AnchorAt(int x, int y);
    // Where the caption is drawn.
    QRect TextRect() const;

    // Fires OnClick (for an item button: the group takes the choice).
    virtual void Click();

    TNotifyEvent OnClick;
    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    int GlyphWidth() const;
    void PaintGlyph(QPainter& painter, const QRect& client);
    THTMLRenderIn RenderInput(const QRect& rect);
    void UpdateShortcut();
    void MoveToSibling(int step);
    void SetDown(bool value);
    void Changed() { update(); }

    bool FDown = false;
    bool FChecked = false;
    bool FFocused = false;
    QColor FCheckColor = Qt::black;
    int FGroupIndex = 0;
    TButtonType FButtonType = btClassic;
    bool FReturnIsTab = false;
    QPointer<TImageList> FImages;
    QString FAnchor;
    QColor FURLColor = Qt::blue;
    THTMLPictureCache FImageCache;
    TTextLayout FButtonVertAlign = tlTop;
    TAlignment FAlignment = taLeftJustify;
    bool FEllipsis = false;
    QString FCaption;
    QPointer<TPictureContainer> FPictureContainer;
    int FShadowOffset = 1;
    QColor FShadowColor = Qt::gray;
    bool FThemesAvailable = false;
    bool FHot = false;
    bool FClicksDisabled = false;
    bool FPressed = false;        // a left press started here and has not been released
    bool FCheckedByPress = false; // that press changed the choice
    bool FTransparent = false;
    int FShortcutId = 0;
};

} // namespace htmlctl
