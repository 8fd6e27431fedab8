#include "preview/Mnemonics.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QSet>

namespace report {

namespace {

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

} // namespace

void AssignMnemonics(QMenu* menu) {
    QSet<QChar> taken;
    const QList<QAction*> actions = menu->actions();
    for (const QAction* a : actions)
        if (const QKeySequence key = QKeySequence::mnemonic(a->text()); !key.isEmpty())
            taken.insert(QChar(char16_t(key[0].key())).toUpper());
    for (QAction* a : actions) {
        QString text = a->text();
        if (a->isSeparator() || text.contains(QLatin1Char('&')))
            continue;
        const qsizetype at = FreeLetter(text, taken);
        if (at < 0)
            continue;
        taken.insert(text[at].toUpper());
        a->setText(text.insert(at, QLatin1Char('&')));
    }
}

} // namespace report
