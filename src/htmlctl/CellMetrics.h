#pragma once

#include <QFont>
#include <QFontMetrics>

namespace htmlctl {

// Character cell of a font as the classic desktop measured it: ascent and descent are the
// font's "win" ascent and descent scaled to the em size and rounded each, so an 11-pixel
// Tahoma has a 13-pixel cell. Layout rules (line heights, group button rows) are written
// in these numbers, which Qt's own metrics do not reproduce.
struct TCellMetrics {
    int Ascent = 0;
    int Descent = 0;
    int Height() const { return Ascent + Descent; }
};

// Cached per family, pixel size and style; safe to call for every text run.
TCellMetrics CellMetrics(const QFont& font);

// Advance width of a text in whole pixels, as QFontMetrics measures it; short texts (words
// of captions, painted again and again) are remembered per font.
int TextAdvance(const QFont& font, const QFontMetrics& metrics, const QString& text);

// Pixel size of a font given in points, at the fixed 96 pixels per inch the layout uses.
int PointsToPixels(int points);

} // namespace htmlctl
