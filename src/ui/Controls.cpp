#include "ui/Controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>

#include "ui/Pictures.h"

namespace ui {

namespace {

// The pages are laid out for the classic 13-pixel option indicator with its caption 4 pixels
// after it. Desktop styles draw a larger indicator further off, which cuts the captions that
// were measured to fit ("10" in a 30-pixel class option): the options keep the style's look
// at the classic size.
class ClassicIndicatorStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
            return 13;
        case PM_RadioButtonLabelSpacing:
        case PM_CheckBoxLabelSpacing:
            return 4;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

QStyle* ClassicIndicators() {
    static QStyle* const style = [] {
        auto* s = new ClassicIndicatorStyle;
        s->setParent(qApp); // goes with the application, after every window
        return s;
    }();
    return style;
}

} // namespace

QFont PixelFont(int pixels, bool bold, const QString& family) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

FramedCell::FramedCell(QWidget* parent, const QRect& rect) : QWidget(parent) {
    setGeometry(rect);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FramedCell::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    SetHovered(false);
}

void LinkLabel::SetHovered(bool hovered) {
    QFont f = font();
    f.setUnderline(hovered);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText,
                 hovered ? QColor(0, 0, 255) : parentWidget()->palette().color(QPalette::WindowText));
    setPalette(pal);
}

void LinkLabel::enterEvent(QEnterEvent*) {
    SetHovered(true);
}
void LinkLabel::leaveEvent(QEvent*) {
    SetHovered(false);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
        OnClick();
}

QToolButton* MakeNoteButton(QWidget* page, const QString& objectName) {
    auto* b = new QToolButton(page);
    b->setObjectName(objectName);
    b->setGeometry(415, 499, 25, 25);
    b->setAutoRaise(true);
    b->setIcon(QIcon(Picture(QStringLiteral("note"), 16)));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(QStringLiteral("Примечание"));
    b->setAccessibleName(b->toolTip());
    return b;
}

namespace {

// The toolkit hands the tab stop to whichever option last took the focus, even one the mouse
// pressed and left unchecked; every focus change of an option puts it back on the checked one.
class OptionTabStops : public QObject {
public:
    explicit OptionTabStops(QButtonGroup* group) : QObject(group), FGroup(group) {
        for (QAbstractButton* b : group->buttons())
            b->installEventFilter(this);
        connect(group, &QButtonGroup::buttonToggled, this, [this] { Apply(); });
        Apply();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut)
            Apply();
        return false;
    }

private:
    void Apply() {
        for (QAbstractButton* b : FGroup->buttons())
            b->setFocusPolicy(b->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }

    QButtonGroup* FGroup;
};

} // namespace

void KeepTabStopOnChecked(QButtonGroup* group) {
    new OptionTabStops(group);
}

QRadioButton* MakeOption(QWidget* page, const QString& caption, const QRect& rect) {
    auto* rb = new QRadioButton(caption, page);
    rb->setStyle(ClassicIndicators());
    rb->setGeometry(rect);
    return rb;
}

QLabel* MakeInfoLabel(QWidget* page, const QString& text, int left, int top, int width) {
    auto* l = new QLabel(text, page);
    l->setFont(PixelFont(9));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, pal.color(QPalette::Dark)); // the button-shadow grey
    l->setPalette(pal);
    l->move(left, top);
    if (width > 0)
        l->resize(width, 11);
    else
        l->adjustSize();
    l->setFixedHeight(11);
    return l;
}

QLabel* MakeNote(QWidget* page, const QPoint& picture, const QRect& label, const QString& text) {
    auto* icon = new QLabel(page);
    icon->setPixmap(Picture(QStringLiteral("info"), 16));
    icon->setGeometry(picture.x(), picture.y(), 16, 16);
    auto* l = new QLabel(text, page);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(label);
    return l;
}

QLabel* MakeLabel(QWidget* page, const QString& text, int left, int top, const QFont& font) {
    auto* l = new QLabel(text, page);
    l->setFont(font);
    l->move(left, top);
    l->adjustSize();
    return l;
}

} // namespace ui
