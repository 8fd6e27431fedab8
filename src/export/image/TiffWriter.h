#pragma once
// Uncompressed little-endian TIFF pictures: one image in one strip.

#include <QImage>

class QIODevice;

namespace exports {

// Writes the picture as TIFF with the given resolution in dots per inch. A 1-bit picture is
// written as bilevel with black as zero, an 8-bit one with its colour map, any other as 8-bit
// RGB. Throws report::TrpReportError for an empty picture or a failed write.
void WriteTiff(QIODevice& out, const QImage& image, int dpi);

} // namespace exports
