#pragma once

#include <QFont>
#include <QFontMetrics>
#include <vector>

namespace htmlctl {

// Character cell of a font as the classic desktop measured it: ascent and descent are the
// font's "win" ascent and descent scaled to the em size and rounded each, so an 11-pixel
// Tahoma has a 13-pixel cell. Layout rules (line heights, group button rows) are written
// in these numbers, which Qt's own metrics do not reproduce.
struct TCellMetrics {
    int Ascent = 0;
    int Descent = 0;
    int AveCharWidth = 0; // the font's average character width, as tab stops count it
    int Height() const { return Ascent + Descent; }
};

// Cached per family, pixel size and style; safe to call for every text run.
TCellMetrics CellMetrics(const QFont& font);

// Advance width of a text in whole pixels, as QFontMetrics measures it; short texts (words
// of captions, painted again and again) are remembered per font.
int TextAdvance(const QFont& font, const QFontMetrics& metrics, const QString& text);

// Advance width of a text whose tabs are expanded the classic way: to the next multiple of
// eight average character widths from the start of the text.
int ExpandedAdvance(const QFont& font, const QFontMetrics& metrics, const QString& text);

// Where each tab-free piece of a text starts, tabs expanded as above (with tabs, a last empty
// piece marks the end).
struct TTextPiece {
    QString Text;
    int X = 0;
};
std::vector<TTextPiece> ExpandTabs(const QFont& font, const QFontMetrics& metrics, const QString& text);

// Pixel size of a font given in points, at the fixed 96 pixels per inch the layout uses.
int PointsToPixels(int points);

} // namespace htmlctl
