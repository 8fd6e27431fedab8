#pragma once
// A bold face whose file carries only regular-weight outlines (its bold shapes are bitmaps
// for a few sizes) is rebuilt with heavier outlines, so that every renderer — the screen, the
// report engine and a PDF reader — draws it bold from one font program.

#include <QByteArray>

namespace platform {

// The bold TrueType font `bold` drawn with the outlines of its regular face `regular`, every
// stroke widened by xStrength and yStrength (fractions of the em). A glyph takes the regular
// face's outline of its character (the bold file places accents for shapes it does not
// have), or its own outline when the regular face lacks the character; composites are
// flattened. Each glyph keeps its left side bearing and baseline and grows into its advance;
// every advance, kerning pair and name of the bold font stays. Glyph instructions and embedded
// bitmaps are dropped, as they describe other shapes. Empty when either is not a TrueType
// font FreeType can read, or their em sizes differ.
QByteArray EmboldenedFont(const QByteArray& bold, const QByteArray& regular, double xStrength,
                          double yStrength);

} // namespace platform
