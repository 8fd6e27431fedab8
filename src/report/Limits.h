#pragma once
// Sane bounds for what a prepared-report file or a template may ask of the engine. Real
// reports stay far inside them; beyond them a value would only make drawing hang, memory
// grow out of proportion to the file, or integer arithmetic overflow.

#include "report/ReportTypes.h"

#include <algorithm>
#include <cmath>

namespace report::limits {

// Levels of items in a document; a prepared report nests a few levels deep.
constexpr int MaxNesting = 256;

// Paper sides in millimetres: a little more than the largest standard sheet (4A0, 1682 x 2378).
constexpr Extended MinPaperMm = 1;
constexpr Extended MaxPaperMm = 2400;

// One attribute value (a memo's text, a tag string, a font name): 65,536 characters fill a
// page many times over in the smallest print. With the font and spacing bounds below, the
// widths and heights of a text this long still fit in the layout's integers on devices up to
// 1200 dpi.
constexpr qsizetype MaxValueChars = 1 << 16;
// A picture's data, in hexadecimal (32 MB of picture file).
constexpr qsizetype MaxPictureHexChars = qsizetype(64) << 20;

// A prepared-report file: 1 GB holds hundreds of thousands of pages; what is longer is not a
// report (or is a device or a pipe that never ends).
constexpr qint64 MaxFileBytes = qint64(1) << 30;
// One tag of a file: a picture's data with room for the attributes beside it.
constexpr qsizetype MaxTagBytes = 2 * MaxPictureHexChars;

// Items of a file held in memory at once (pages moved to the page cache do not count): some
// hundred bytes each, whatever their length in the file.
constexpr qint64 MaxHeldItems = qint64(4) << 20;

// Positions and sizes in report units (about 26 m either way).
constexpr Extended MaxCoordinate = 100000;
// Gaps, line and character spacing, paragraph indents in report units (about 2.6 cm).
constexpr Extended MaxSpacing = 100;
// Frame line and shadow widths in report units: a dashed line is drawn as that many strokes.
constexpr Extended MaxFrameWidth = 100;
// Font sizes in points.
constexpr int MinFontSize = 1;
constexpr int MaxFontSize = 1000;

// A page rendered as one picture: 2^26 pixels (256 MB in 32-bit colour) holds an A4 page at
// zoom 8 and a 4A0 sheet at zoom 1.
constexpr qint64 MaxImagePixels = qint64(1) << 26;
// Device coordinates: far beyond any device, small enough that sums of a few stay in an int.
constexpr Extended MaxDevicePixel = 1 << 24;

// NaN counts as 0.
inline Extended Clamp(Extended v, Extended bound) {
    return std::isnan(v) ? 0 : std::clamp(v, -bound, bound);
}
inline Extended ClampCoordinate(Extended v) {
    return Clamp(v, MaxCoordinate);
}
inline Extended ClampSpacing(Extended v) {
    return Clamp(v, MaxSpacing);
}
inline Extended ClampFrameWidth(Extended v) {
    return std::max<Extended>(Clamp(v, MaxFrameWidth), 0);
}
inline int ClampFontSize(long long points) {
    return int(std::clamp<long long>(points, MinFontSize, MaxFontSize));
}
// A device coordinate rounded to an int.
inline int DevicePixel(Extended v) {
    return int(std::llround(Clamp(v, MaxDevicePixel)));
}

} // namespace report::limits
