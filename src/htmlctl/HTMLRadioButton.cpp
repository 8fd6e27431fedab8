#include "htmlctl/HTMLRadioButton.h"

#include "htmlctl/BtnXPVS.h"
#include "htmlctl/HTMLAccessible.h"
#include "htmlctl/HTMLRender.h"
#include "htmlctl/RadioGlyphs.h"
#include "platform/ImageList.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace htmlctl {
namespace {

constexpr int kGlyph = 13;
constexpr int kBitmap = 16;
constexpr int kTextTop = 4;

// A dotted rectangle, every other pixel, like the desktop's focus rectangle.
void DrawFocusRect(QPainter& p, const QRect& r, const QColor& color) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    QPolygon dots;
    const int right = r.left() + r.width() - 1, bottom = r.top() + r.height() - 1;
    for (int x = r.left(); x <= right; x += 2) {
        dots << QPoint(x, r.top());
        dots << QPoint(x, bottom);
    }
    for (int y = r.top(); y <= bottom; y += 2) {
        dots << QPoint(r.left(), y);
        dots << QPoint(right, y);
    }
    p.setPen(color);
    p.drawPoints(dots);
}

int VerticalPlace(TTextLayout align, int height, int top, int centre, int bottomGap) {
    switch (align) {
    case tlCenter:
        return height / 2 - centre;
    case tlBottom:
        return height - bottomGap;
    default:
        return top;
    }
}

} // namespace

THTMLRadioButton::THTMLRadioButton(QWidget* parent) : QWidget(parent) {
    InstallHTMLAccessibility();
    FCaption = QStringLiteral("THTMLRadioButton");
    FThemesAvailable = BtnXPVS::ThemesAvailable();
    resize(98, 20);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    UpdateShortcut();
}

THTMLRadioButton::~THTMLRadioButton() = default;

void THTMLRadioButton::SetChecked(bool value) {
    if (value == FChecked)
        return;
    // Only the checked button of a group is reached with Tab.
    setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
    FChecked = value;
    if (value) {
        if (QWidget* owner = parentWidget()) {
            for (QObject* child : owner->children()) {
                auto* other = qobject_cast<THTMLRadioButton*>(child);
                if (other && other != this && other->FGroupIndex == FGroupIndex)
                    other->SetChecked(false);
            }
        }
    }
    AnnounceChecked(this);
    if (value && !FClicksDisabled)
        Click();
    update();
}

void THTMLRadioButton::Click() {
    if (OnClick)
        OnClick(this);
}

void THTMLRadioButton::SetCaption(const QString& value) {
    FCaption = value;
    setWindowTitle(value);
    UpdateShortcut();
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

#define HTMLCTL_SETTER(Name, Type)                                                                           \
    void THTMLRadioButton::Set##Name(Type value) {                                                           \
        if (F##Name == value)                                                                                \
            return;                                                                                          \
        F##Name = value;                                                                                     \
        Changed();                                                                                           \
    }

HTMLCTL_SETTER(CheckColor, const QColor&)
HTMLCTL_SETTER(ButtonType, TButtonType)
HTMLCTL_SETTER(URLColor, const QColor&)
HTMLCTL_SETTER(ButtonVertAlign, TTextLayout)
HTMLCTL_SETTER(Alignment, TAlignment)
HTMLCTL_SETTER(Ellipsis, bool)
HTMLCTL_SETTER(ShadowOffset, int)
HTMLCTL_SETTER(ShadowColor, const QColor&)
#undef HTMLCTL_SETTER

void THTMLRadioButton::SetImages(TImageList* value) {
    FImages = value;
    Changed();
}

void THTMLRadioButton::SetPictureContainer(TPictureContainer* value) {
    FPictureContainer = value;
    Changed();
}

void THTMLRadioButton::SetTransparent(bool value) {
    FTransparent = value;
    // Without our own fill the parent's background shows through.
    setAutoFillBackground(!value);
    Changed();
}

int THTMLRadioButton::GlyphWidth() const {
    return FButtonType == btBrimsel ? 12 : kGlyph;
}

QRect THTMLRadioButton::TextRect() const {
    const int gw = GlyphWidth();
    const int h = qMax(0, height() - kTextTop);
    if (FAlignment == taRightJustify)
        return QRect(0, kTextTop, qMax(0, width() - gw - 5), h);
    return QRect(gw + 5, kTextTop, qMax(0, width() - gw - 5), h);
}

THTMLRenderIn THTMLRadioButton::RenderInput(const QRect& rect) {
    THTMLRenderIn in;
    in.Font = font();
    in.FontColor = palette().color(QPalette::WindowText);
    in.BrushColor = palette().color(backgroundRole());
    in.Text = FCaption;
    in.Rect = rect;
    in.Images = FImages;
    in.ShadowOffset = FShadowOffset;
    in.ShadowColor = FShadowColor;
    in.WordWrap = !FEllipsis;
    in.URLColor = FURLColor;
    in.PictureCache = &FImageCache;
    in.PictureContainer = FPictureContainer;
    return in;
}

QString THTMLRadioButton::AnchorAt(int x, int y) {
    // The hit test lays the caption out exactly where paintEvent draws it.
    THTMLRenderIn in = RenderInput(TextRect());
    in.Point = QPoint(x, y);
    in.CheckHotSpot = true;
    const THTMLRenderOut out = RenderHTML(in);
    return out.AnchorHit ? out.Anchor : QString();
}

void THTMLRadioButton::UpdateShortcut() {
    if (FShortcutId)
        releaseShortcut(FShortcutId);
    FShortcutId = 0;
    THTMLRenderIn in;
    in.Font = font();
    in.Text = FCaption;
    in.Rect = QRect(0, 0, 1 << 20, 1 << 20);
    in.MeasureOnly = true;
    const QKeySequence key = QKeySequence::mnemonic(RenderHTML(in).StrippedText);
    if (!key.isEmpty())
        FShortcutId = grabShortcut(key);
}

void THTMLRadioButton::PaintGlyph(QPainter& p, const QRect& c) {
    const bool right = FAlignment == taRightJustify;
    const int w = c.width(), h = c.height();
    switch (FButtonType) {
    case btClassic:
    case btFlat: {
        const QRect r(right ? w - kGlyph : 0, VerticalPlace(FButtonVertAlign, h, 4, 6, 17), kGlyph, kGlyph);
        DrawFrameRadio(p, r, FChecked, FButtonType == btFlat, !isEnabled());
        break;
    }
    case btBrimsel: {
        const int t = VerticalPlace(FButtonVertAlign, h, 4, 6, 16);
        const int l = right ? w - 13 : 1;
        const QPoint top(l + 6, t), left(l, t + 6), bottom(l + 6, t + 12), rightP(l + 12, t + 6);
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        if (FDown) {
            p.setPen(Qt::black);
            p.drawPolygon(QPolygon({top, left, bottom, rightP}));
            p.drawPolygon(QPolygon(
                {top + QPoint(0, 1), left + QPoint(1, 0), bottom - QPoint(0, 1), rightP - QPoint(1, 0)}));
        } else {
            p.setPen(FChecked ? Qt::gray : Qt::lightGray);
            p.drawPolyline(QPolygon({top, left, bottom}));
            p.setPen(FChecked ? Qt::lightGray : Qt::gray);
            p.drawPolyline(QPolygon({bottom, rightP, top}));
        }
        if (FChecked) {
            const int cx = l + 6, cy = t + 6;
            p.setPen(isEnabled() ? FCheckColor : QColor(Qt::gray));
            // End points excluded, as the lines were first drawn.
            p.drawLine(cx - 1, cy - 1, cx + 1, cy - 1);
            p.drawLine(cx - 2, cy, cx + 2, cy);
            p.drawLine(cx - 1, cy + 1, cx + 1, cy + 1);
            p.drawLine(cx, cy - 2, cx, cy + 2);
        }
        p.restore();
        break;
    }
    case btOlvane:
    case btWinXP: {
        if (FButtonType == btWinXP && FThemesAvailable && BtnXPVS::IsThemeActive()) {
            BtnXPVS::TThemeData theme = BtnXPVS::OpenThemeData(this, QStringLiteral("button"));
            const QRect r(right ? w - 14 : 0, VerticalPlace(FButtonVertAlign, h, 4, 6, 14), kGlyph, kGlyph);
            const bool drawn =
                BtnXPVS::DrawThemeBackground(theme, p, BtnXPVS::BP_RADIOBUTTON,
                                             BtnXPVS::RadioState(FChecked, isEnabled(), FDown, FHot), r);
            BtnXPVS::CloseThemeData(theme);
            if (drawn)
                break;
        }
        const int first = FButtonType == btOlvane ? 1 : 5;
        const int number = first + (FChecked ? 0 : 1) + (isEnabled() ? 0 : 2);
        const QPoint at(right ? w - kBitmap - 1 : 0,
                        VerticalPlace(FButtonVertAlign, h, 2, kBitmap / 2, kBitmap + 2));
        p.drawImage(at, RadioBitmap(number));
        break;
    }
    }
}

void THTMLRadioButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    const QRect client = rect();
    PaintGlyph(p, client);

    const QRect r = TextRect();
    THTMLRenderIn in = RenderInput(r);
    in.Canvas = &p;
    THTMLRenderOut out;
    if (isEnabled()) {
        out = RenderHTML(in);
    } else {
        // Embossed: a white copy one pixel down-right under a grey one.
        THTMLRenderIn shade = in;
        shade.Rect = r.translated(1, 1);
        shade.FontColor = Qt::white;
        shade.URLColor = Qt::gray;
        RenderHTML(shade);
        in.FontColor = Qt::gray;
        in.URLColor = Qt::white;
        out = RenderHTML(in);
    }
    if (FFocused)
        DrawFocusRect(p, QRect(r.left(), r.top(), out.XSize + 3, out.YSize + 1),
                      palette().color(QPalette::WindowText));
}

void THTMLRadioButton::SetDown(bool value) {
    if (FDown == value)
        return;
    FDown = value;
    update();
}

void THTMLRadioButton::mousePressEvent(QMouseEvent* event) {
    // The application gives a clicked control the focus before the press arrives; either
    // way the press checks the button without a click, and the click comes with the release.
    FClicksDisabled = true;
    setFocus(Qt::MouseFocusReason);
    if (!FChecked) {
        SetChecked(true);
        FCheckedByPress = true;
    }
    FClicksDisabled = false;
    if (event->button() != Qt::LeftButton) {
        // Other buttons only take the focus, which reports the choice at once.
        if (FCheckedByPress)
            Click();
        FCheckedByPress = false;
        QWidget::mousePressEvent(event);
        return;
    }

    const QPoint pt = event->position().toPoint();
    const QString anchor = AnchorAt(pt.x(), pt.y());
    if (!anchor.isEmpty()) {
        if (anchor.contains(QLatin1String("://")) || anchor.contains(QLatin1String("mailto:")))
            QDesktopServices::openUrl(QUrl(anchor));
        else if (OnAnchorClick)
            OnAnchorClick(this, anchor);
        if (FCheckedByPress)
            Click();
        FCheckedByPress = false;
        return;
    }
    QWidget::mousePressEvent(event);
    FPressed = true;
    SetDown(true);
    if (FThemesAvailable)
        update();
}

void THTMLRadioButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    if (FPressed)
        SetDown(pt.x() >= 0 && pt.y() >= 0 && pt.x() <= width() && pt.y() <= height());
    if (FFocused) {
        const QString anchor = AnchorAt(pt.x(), pt.y());
        const bool handCursor = testAttribute(Qt::WA_SetCursor) && cursor().shape() == Qt::PointingHandCursor;
        if (!anchor.isEmpty()) {
            if (!handCursor || anchor != FAnchor) {
                FAnchor = anchor;
                setCursor(Qt::PointingHandCursor);
                if (OnAnchorEnter)
                    OnAnchorEnter(this, anchor);
            }
        } else if (handCursor) {
            unsetCursor();
            const QString left = FAnchor;
            FAnchor.clear();
            if (OnAnchorExit)
                OnAnchorExit(this, left);
        }
    }
    QWidget::mouseMoveEvent(event);
}

void THTMLRadioButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !FPressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    FPressed = false;
    SetDown(false);
    const QPoint pt = event->position().toPoint();
    const bool inside = pt.x() >= 0 && pt.y() >= 0 && pt.x() <= width() && pt.y() <= height();
    if (inside) {
        // A completed click reports the choice, also when it was already checked.
        if (!FChecked)
            SetChecked(true);
        else
            Click();
    } else if (FCheckedByPress) {
        // The press has already changed the visible choice: report it, so the owner never
        // works with an item other than the one shown checked.
        Click();
    }
    FCheckedByPress = false;
    QWidget::mouseReleaseEvent(event);
    if (FButtonType == btWinXP && FThemesAvailable)
        update();
}

void THTMLRadioButton::enterEvent(QEnterEvent* event) {
    FHot = true;
    if (FButtonType == btWinXP && FThemesAvailable)
        update();
    QWidget::enterEvent(event);
}

void THTMLRadioButton::leaveEvent(QEvent* event) {
    FHot = false;
    if (FButtonType == btWinXP && FThemesAvailable)
        update();
    QWidget::leaveEvent(event);
}

void THTMLRadioButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    FFocused = true;
    if (event->reason() == Qt::MouseFocusReason && !FChecked) {
        // Focus given by a mouse press: the press handler reports the choice.
        FClicksDisabled = true;
        SetChecked(true);
        FClicksDisabled = false;
        FCheckedByPress = true;
    } else {
        SetChecked(true);
    }
    update();
}

void THTMLRadioButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    FFocused = false;
    update();
}

void THTMLRadioButton::MoveToSibling(int step) {
    QWidget* owner = parentWidget();
    if (!owner)
        return;
    QList<THTMLRadioButton*> ring;
    for (QObject* child : owner->children()) {
        auto* b = qobject_cast<THTMLRadioButton*>(child);
        if (b && b->FGroupIndex == FGroupIndex && (b == this || (b->isVisibleTo(owner) && b->isEnabled())))
            ring << b;
    }
    const qsizetype self = ring.indexOf(this);
    if (ring.size() < 2 || self < 0)
        return;
    THTMLRadioButton* target = ring[(self + step + ring.size()) % ring.size()];
    target->setFocus(Qt::OtherFocusReason);
    // Entering a button checks it with a click; when the window is not active the focus
    // does not arrive, and the choice still moves.
    target->SetChecked(true);
}

void THTMLRadioButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (FReturnIsTab) {
            focusNextChild();
            return;
        }
        break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            SetDown(true);
        return;
    case Qt::Key_Up:
    case Qt::Key_Left:
        MoveToSibling(-1);
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
        MoveToSibling(1);
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void THTMLRadioButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        SetDown(false);
        if (!FChecked)
            SetChecked(true);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

bool THTMLRadioButton::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled() && isVisible()) {
            SetChecked(true);
            if (focusPolicy() & Qt::TabFocus)
                setFocus(Qt::ShortcutFocusReason);
        }
        return true;
    }
    if (event->type() == QEvent::FontChange)
        UpdateShortcut();
    return QWidget::event(event);
}

} // namespace htmlctl
