#pragma once
// Baseline colour JPEG encoding through libjpeg, for the JPEG export and the pictures other
// exports embed.

#include <QByteArray>
#include <QImage>

namespace exports {

// The image as RGB JPEG data at the given quality (0..100); empty for a null image.
QByteArray EncodeJpeg(const QImage& image, int quality);

} // namespace exports
