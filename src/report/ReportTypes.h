#pragma once
// Basic types of the report engine: units, colours, enumerations and the small value
// objects (font, frame, format, highlight) that views carry.

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace report {

// Coordinates and sizes are in report units (1/96 inch), extended precision.
using Extended = long double;

// Fixed conversion constants; the millimetre factor is used as is, never 96/25.4.
constexpr Extended fr01cm = 3.77953L; // 1 millimetre
constexpr Extended fr1cm = 37.7953L;  // 1 centimetre
constexpr Extended fr01in = 9.6L;     // 0.1 inch
constexpr int fr1in = 96;             // 1 inch
constexpr Extended fr1CharX = 9.6L;   // character cell of dot-matrix pages
constexpr int fr1CharY = 17;

// Windows colour values: 00BBGGRR, FF0000nn for system colour nn.
using TColor = std::uint32_t;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

enum TrpAlign { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };
enum TrpHAlign { haLeft, haRight, haCenter, haBlock };
enum TrpVAlign { vaTop, vaBottom, vaCenter };
enum TrpShiftMode { smDontShift, smAlways, smWhenOverlapped };
enum TrpStretchMode { smDontStretch, smActualHeight, smMaxHeight };
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
enum TrpFrameStyle { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble };
enum TrpFormatKind { fkText, fkNumeric, fkDateTime, fkBoolean };
enum TPrinterOrientation { poPortrait, poLandscape };
enum TrpSilentMode { simMessageBoxes, simSilent, simReThrow };

// Frame sides, as a bit set.
using TrpFrameTypes = int;
constexpr TrpFrameTypes ftLeft = 1;
constexpr TrpFrameTypes ftRight = 2;
constexpr TrpFrameTypes ftTop = 4;
constexpr TrpFrameTypes ftBottom = 8;
constexpr TrpFrameTypes ftAll = ftLeft | ftRight | ftTop | ftBottom;

// Font style bits as stored.
constexpr int fsBold = 1;
constexpr int fsItalic = 2;
constexpr int fsUnderline = 4;
constexpr int fsStrikeOut = 8;

constexpr int DEFAULT_CHARSET = 1;
constexpr int RUSSIAN_CHARSET = 204;

struct TrpFont {
    QString Name = QStringLiteral("Arial");
    int Size = 10; // points
    TColor Color = clBlack;
    int Style = 0; // fsBold | fsItalic | ...
    int Charset = DEFAULT_CHARSET;

    // Character height in report units (negative, as stored): -round(Size * 96 / 72).
    int Height() const { return -int(std::lround(std::clamp(Size * 96.0 / 72.0, -1e9, 1e9))); }
    // Sets the size from a character height in units (either sign); the magnitude is taken in
    // floating point, where the most negative int still has one.
    void SetHeight(int height) { Size = int(std::lround(std::fabs(double(height)) * 72.0 / 96.0)); }
    bool Bold() const { return Style & fsBold; }
    bool Italic() const { return Style & fsItalic; }
    bool operator==(const TrpFont&) const = default;
};

struct TrpFrame {
    TrpFrameTypes Typ = 0;
    Extended Width = 1;
    TColor Color = clBlack;
    TrpFrameStyle Style = fsSolid;
    bool DropShadow = false;
    Extended ShadowWidth = 4;
    TColor ShadowColor = clBlack;
    bool operator==(const TrpFrame&) const = default;
};

struct TrpFormat {
    TrpFormatKind Kind = fkText;
    QString FormatStr;
    QString DecimalSeparator;
    bool operator==(const TrpFormat&) const = default;
};

struct TrpHighlight {
    bool Active = false;
    QString Condition;
    TrpFont Font;
    TColor Color = clNone;
    bool operator==(const TrpHighlight&) const = default;
};

// Round half away from zero, as the engine's device conversions do.
inline int Round(Extended v) {
    return int(std::llround(v));
}

} // namespace report
