#pragma once
// The 16 x 16 pictures of the preview's buttons and dialogs, drawn at run time so that the
// engine carries no picture files.

#include <QIcon>
#include <QString>

namespace preview {

// Names: "print", "open", "save", "export", "pdf", "email", "find", "wholepage", "pagewidth",
// "zoom100", "twopages", "fullscreen", "margins", "outline", "drag", "zoomtool", "first",
// "prior", "next", "last", "close", "portrait", "landscape", "collate". An unknown name gives
// a blank page.
QIcon PreviewIcon(const QString& name);

} // namespace preview
