#pragma once
// GIF89a pictures: one image with a 256-entry global colour table, LZW-coded. Shared by the
// picture exports and the HTML export's pictures.

#include <QImage>

class QIODevice;

namespace exports {

// The widest and tallest picture a GIF can describe (16-bit sizes).
inline constexpr int GifMaxSide = 65535;

// Writes the picture as GIF89a. A picture of more than 256 colours is first reduced to a
// palette chosen from its own colours (ReduceTo256Colours). Throws report::TrpReportError for
// an empty picture, one wider or taller than GifMaxSide, or a failed write.
void WriteGif(QIODevice& out, const QImage& image);

} // namespace exports
