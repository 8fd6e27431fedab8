#pragma once

#include <QColor>
#include <QString>

namespace htmlctl {

// Colour of a caption attribute: "#RRGGBB" (digits 0-9, A-F) or a colour name such as
// "clRed" or "clBtnFace" (compared lower-cased). Unknown names give black, as does an
// empty value.
QColor HTMLToColor(const QString& value);

// The application's colour for one of the classic system colour names ("clhighlight"),
// or an invalid colour when the name is not a system colour.
QColor SystemColor(const QString& lowerName);

} // namespace htmlctl
