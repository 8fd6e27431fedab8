#pragma once
// Windows colour values to Qt colours, and colour names of the tag subset.

#include "report/ReportTypes.h"

#include <QColor>

namespace report {

// 00BBGGRR to a colour; FF0000nn system colours get the classic Windows values.
QColor ToQColor(TColor color);

// A colour by its name without the "cl" prefix ("red", "skyblue", "btnface"); false when unknown.
bool ColorByName(const QString& name, TColor& color);

} // namespace report
