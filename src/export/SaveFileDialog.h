#pragma once
// The save dialog every filter with its own file shows (filters link the widgets their option
// dialogs need; the export loop itself does not).

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace exports {

// Windows filter text "description|pattern|..." as the descriptions Qt's dialog shows.
inline QString QtFilter(const QString& windowsFilter) {
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << (parts[i].contains(QLatin1Char('(')) ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
    return out.join(QStringLiteral(";;"));
}

// The file name the user chooses to save to, starting in defaultPath when given; "" when cancelled.
inline QString AskSaveFileName(const QString& defaultPath, const QString& initialName,
                               const QString& filterText, const QString& defaultExt) {
    QFileDialog dialog(QApplication::activeWindow(), QString(),
                       defaultPath.isEmpty() ? initialName : QDir(defaultPath).filePath(initialName),
                       QtFilter(filterText));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultExt.mid(1));
    if (QGuiApplication::platformName() == u"offscreen")
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

} // namespace exports
