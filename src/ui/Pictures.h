#pragma once
// The calculator's pictures: drawn from the SVG sources in assets/ui at the size asked for.

#include <QPixmap>
#include <QString>

namespace ui {

// name is the file's base name ("info", "next-disabled", "page03-class"); an unknown name
// gives a null pixmap.
QPixmap Picture(const QString& name, int size);

// The header picture of a page by its image index (0..11).
QPixmap PagePicture(int imageIndex);

} // namespace ui
