#pragma once

#include <QImage>
#include <QString>

namespace htmlctl {

// The desktop's icon for `name` ("SSYS:"/"LSYS:" pictures): a number picks one of the
// style's standard icons, an existing file or folder shows its own icon, any other name
// the icon of its file type. Small icons are 16 pixels, large ones 32. Null without a
// widget application or when the desktop has no icon for it.
QImage SystemIcon(const QString& name, bool large);

} // namespace htmlctl
