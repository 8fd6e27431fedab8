#include "htmlctl/HTMLAccessible.h"

#include <QAccessibleWidget>

#include "htmlctl/HTMLRadioButton.h"
#include "htmlctl/HTMLRender.h"

namespace htmlctl {

namespace {

// The caption without its tags, accelerator markers kept.
QString StrippedCaption(const THTMLRadioButton& button) {
    THTMLRenderIn in;
    in.Font = button.font();
    in.Text = button.Caption();
    in.Rect = QRect(0, 0, 1 << 20, 1 << 20);
    in.MeasureOnly = true;
    return RenderHTML(in).StrippedText;
}

class RadioButtonAccessible : public QAccessibleWidget {
public:
    explicit RadioButtonAccessible(THTMLRadioButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    THTMLRadioButton* Button() const { return static_cast<THTMLRadioButton*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && Button()->accessibleName().isEmpty())
            return AccessibleCaption(*Button());
        if (t == QAccessible::Accelerator) {
            const QKeySequence key = QKeySequence::mnemonic(StrippedCaption(*Button()));
            return key.toString(QKeySequence::NativeText);
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Button()->Checked();
        s.pressed = Button()->Down();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled())
            names << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != toggleAction() || !widget()->isEnabled())
            return QAccessibleWidget::doAction(action);
        // As a completed click: checks the button, and a checked one reports the choice again.
        if (Button()->Checked())
            Button()->Click();
        else
            Button()->SetChecked(true);
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* button = qobject_cast<THTMLRadioButton*>(object))
        return new RadioButtonAccessible(button);
    return nullptr;
}

} // namespace

void InstallHTMLAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

QString AccessibleCaption(const THTMLRadioButton& button) {
    const QString stripped = StrippedCaption(button);
    QString out;
    out.reserve(stripped.size());
    for (qsizetype i = 0; i < stripped.size(); ++i) {
        if (stripped[i] == QLatin1Char('&') && i + 1 < stripped.size())
            ++i;
        out += stripped[i];
    }
    return out.simplified();
}

void AnnounceChecked(THTMLRadioButton* button) {
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(button, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace htmlctl
