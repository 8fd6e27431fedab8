#pragma once

#include <QImage>
#include <QRect>

class QPainter;

namespace htmlctl {

// The built-in 16 x 16 radio pictures "HTMBRAD01" to "HTMBRAD08", by their number (1-8):
// 1-4 a grey three-dimensional ring (checked, unchecked, checked disabled, unchecked
// disabled), 5-8 the same four states as a round glyph with a blue ring and a green dot.
// The background is transparent. Numbers outside 1-8 give a null image.
const QImage& RadioBitmap(int number);

// The classic 13 x 13 system radio glyph (sunken ring), or its flat variant.
void DrawFrameRadio(QPainter& painter, const QRect& rect, bool checked, bool flat, bool inactive);

} // namespace htmlctl
