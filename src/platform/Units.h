#pragma once
// The unit factors every drawing and export shares. A report unit is a pixel of the reference
// screen: 1/96 inch.

namespace platform {

constexpr int ScreenDPI = 96;                               // report units (reference screen pixels) per inch
constexpr int PointsPerInch = 72;                           // typographic points per inch
constexpr long double PointsPerReportPixel = 72.0L / 96.0L; // 0.75: PDF user space per report unit

} // namespace platform
