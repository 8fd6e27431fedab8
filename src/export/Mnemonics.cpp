#include "export/Mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <functional>

namespace exports {

namespace {

// A caption that may take a letter, and how to give it one.
struct Caption {
    QString Text;
    std::function<void(const QString&)> Set;
};

// Where the "&" goes: the first free word start, else the first free letter; -1 for none.
qsizetype FreeLetter(const QString& text, const QSet<QChar>& taken) {
    for (bool wordStart : {true, false})
        for (qsizetype i = 0; i < text.size(); ++i) {
            const bool starts = i == 0 || !text[i - 1].isLetterOrNumber();
            if (text[i].isLetterOrNumber() && (starts || !wordStart) && !taken.contains(text[i].toUpper()))
                return i;
        }
    return -1;
}

void Assign(const std::vector<Caption>& captions) {
    QSet<QChar> taken;
    for (const Caption& c : captions)
        if (const QKeySequence key = QKeySequence::mnemonic(c.Text); !key.isEmpty())
            taken.insert(QChar(char16_t(key[0].key())).toUpper());
    for (const Caption& c : captions) {
        if (c.Text.contains(QLatin1Char('&')))
            continue;
        const qsizetype at = FreeLetter(c.Text, taken);
        if (at < 0)
            continue;
        taken.insert(c.Text[at].toUpper());
        c.Set(QString(c.Text).insert(at, QLatin1Char('&')));
    }
}

} // namespace

void AssignMnemonics(QMenu* menu) {
    std::vector<Caption> captions;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            captions.push_back({a->text(), [a](const QString& text) { a->setText(text); }});
    Assign(captions);
}

void AssignMnemonics(QWidget* dialog) {
    std::vector<Caption> captions;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            captions.push_back({button->text(), [button](const QString& text) { button->setText(text); }});
        else if (auto* label = qobject_cast<QLabel*>(w);
                 label && label->buddy() && (label->buddy()->focusPolicy() & Qt::TabFocus))
            captions.push_back({label->text(), [label](const QString& text) { label->setText(text); }});
    }
    Assign(captions);
}

QString WithoutMnemonic(const QString& caption) {
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    return text;
}

} // namespace exports
