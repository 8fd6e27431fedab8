#pragma once
// The user manual: HTML pages installed with the program, one per topic (a wizard page by its
// code name, "preview", "export-pdf", ...), shown in the desktop's browser.

#include <QString>

namespace platform {

// The folder holding the manual's index.html: $TARIFON_MANUAL_DIR when set, else the installed
// share/tarifon/manual beside the program's bin folder, else the copy in the build tree.
// "" when none is there.
QString ManualFolder();

// The file of a topic's page; the contents page when the topic has none; "" without a manual.
QString ManualPage(const QString& topic);

// Shows the topic's page in the browser: $BROWSER when set (the first of its colon-separated
// commands that exists), else the desktop's opener when a browser is registered. Returns "" when
// a browser was started, else the message to show (where the manual is, or that it is missing).
QString OpenManual(const QString& topic);

} // namespace platform
