#pragma once
// Baseline colour JPEG encoding through libjpeg, for the JPEG export and the pictures other
// exports embed.

#include <QByteArray>
#include <QImage>

namespace exports {

// The image as RGB JPEG data at the given quality (0..100); empty for a null image. A positive
// dpi is recorded as the picture's resolution.
QByteArray EncodeJpeg(const QImage& image, int quality, int dpi = 0);

} // namespace exports
