#pragma once

// Shared drawing types and routines of the wizard framework: classic 32-bit colours, an
// exclusive-edge rectangle, the etched line and the aligned picture.

#include "platform/Colors.h"
#include "platform/ToolkitTypes.h"

#include <QColor>
#include <QRect>
#include <cstdint>

class QImage;
class QPainter;

namespace wizard {

// The toolkit's colours, alignments and events.
using namespace platform;

// Left/top inside, right/bottom outside, as the drawing arithmetic of the framework counts.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    constexpr TRect Inflated(int d) const { return {Left - d, Top - d, Right + d, Bottom + d}; }
    constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    constexpr bool operator==(const TRect&) const = default;
    QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }
    static TRect FromQRect(const QRect& r) {
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned; // a set of TAnchorKind bits

enum TKImageAlignment { iaLeft, iaRight, iaCenter, iaStretch };
enum TKImageLayout { ilTop, ilBottom, ilCenter, ilStretch };
using TKImageLeftRight = TKImageAlignment; // iaLeft or iaRight only

// Sides for DrawEtchedEdges.
enum TKEdge { edLeft = 1, edTop = 2, edRight = 4, edBottom = 8 };
constexpr unsigned edAll = edLeft | edTop | edRight | edBottom;

// A horizontal or vertical line from (x1, y1) towards (x2, y2), the end point left out.
void DrawLine(QPainter& canvas, int x1, int y1, int x2, int y2, const QColor& color);

// Outline in pen, inside filled with brush; either may be invalid to leave it out.
void DrawRectangle(QPainter& canvas, const TRect& r, const QColor& pen, const QColor& brush);

void FillRect(QPainter& canvas, const TRect& r, const QColor& color);

// The etched line: a shadow line outside-top/left with a highlight line just inside it, on
// the chosen sides of R. Returns R moved in by 2 on each chosen side.
TRect DrawEtchedEdges(QPainter& canvas, const TRect& r, unsigned sides);

// Draws the graphic into R by alignment and layout (stretched or at natural size).
void DrawGraphicAligned(QPainter& canvas, const QImage& graphic, TRect r, TKImageAlignment alignment,
                        TKImageLayout layout);

} // namespace wizard
