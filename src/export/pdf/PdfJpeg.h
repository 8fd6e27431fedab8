#pragma once
// Baseline colour JPEG encoding through libjpeg, for the pictures the PDF export inlines.

#include <QByteArray>
#include <QImage>

namespace exports {

// The image as RGB JPEG data at the given quality (0..100); empty for a null image.
QByteArray EncodeJpeg(const QImage& image, int quality);

} // namespace exports
