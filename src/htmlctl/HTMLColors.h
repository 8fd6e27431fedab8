#pragma once

#include <QColor>
#include <QString>

namespace htmlctl {

// Colour of a caption attribute: "#RRGGBB" (digits 0-9, A-F) or a colour name such as
// "clRed" or "clBtnFace" (compared lower-cased; system colours in the program's desktop
// scheme). Unknown names give black, as does an empty value.
QColor HTMLToColor(const QString& value);

} // namespace htmlctl
