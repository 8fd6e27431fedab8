#pragma once
// F1 in an export options dialog: the manual's page of that dialog (header-only, for the filters
// that link the widgets their dialogs need; the export loop itself does not).

#include <QMessageBox>
#include <QWidget>

#include "platform/UserManual.h"

namespace exports {

inline void ShowDialogHelp(QWidget* dialog, const QString& topic) {
    if (const QString message = platform::OpenManual(topic); !message.isEmpty())
        QMessageBox::information(dialog, dialog->windowTitle(), message);
}

} // namespace exports
