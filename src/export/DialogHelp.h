#pragma once
// F1 in an export options dialog opens the manual's page of that dialog (header-only, for the
// filters that link the widgets their dialogs need; the export loop itself does not).

#include <QKeySequence>
#include <QMessageBox>
#include <QShortcut>
#include <QWidget>

#include "platform/UserManual.h"

namespace exports {

inline void ShowDialogHelp(QWidget* dialog, const QString& topic) {
    if (const QString message = platform::OpenManual(topic); !message.isEmpty())
        QMessageBox::information(dialog, dialog->windowTitle(), message);
}

// Called by each dialog's constructor with its page of the manual ("export-pdf", ...).
inline void InstallDialogHelp(QWidget* dialog, const QString& topic) {
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    QObject::connect(f1, &QShortcut::activated, dialog, [dialog, topic] { ShowDialogHelp(dialog, topic); });
}

} // namespace exports
