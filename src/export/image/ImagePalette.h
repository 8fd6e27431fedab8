#pragma once
// Reducing a picture to the 256 colours of the 8-bit picture formats.

#include <QImage>

namespace exports {

// The picture as 8 bits per pixel. A picture of at most 256 colours keeps every colour exactly;
// a richer one keeps its most frequent colours exactly and groups the rest by median cut, each
// pixel taking the nearest palette colour without dithering, so that text and lines stay crisp.
// An 8-bit picture is returned as it is.
QImage ReduceTo256Colours(const QImage& image);

// The picture as 1 bit per pixel: white where its grey level is at least half, black elsewhere
// (index 0 black, 1 white).
QImage ToMonochrome(const QImage& image);

} // namespace exports
