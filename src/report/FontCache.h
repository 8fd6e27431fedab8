#pragma once
// Raw fonts for measuring and drawing report text, loaded from the same files a PDF writer
// embeds, with cached per-character advances.

#include "report/ReportTypes.h"

#include <QRawFont>
#include <memory>
#include <vector>

namespace report {

class TrpFontMetrics {
public:
    TrpFontMetrics(const QRawFont& font, bool hinted);
    const QRawFont& Raw() const { return FFont; }
    // Advance of a character in whole pixels (the font's advance, rounded).
    int Advance(char16_t c);
    int Ascent() const { return FAscent; }
    int Descent() const { return FDescent; }
    // Cell height: ascent + descent, each rounded.
    int CellHeight() const { return FAscent + FDescent; }
    quint32 Glyph(char16_t c);

private:
    // Characters are measured in blocks of 256 as text needs them: a font costs memory for
    // the scripts it draws, not for all of Unicode.
    struct Block {
        int Advance[256];
        quint32 Glyph[256];
    };
    Block& BlockOf(char16_t c);
    QRawFont FFont;
    int FAscent = 0, FDescent = 0;
    std::vector<std::unique_ptr<Block>> FBlocks;
};

// The font file drawing a family and style; empty when the family is not one of ours.
QString FontFileFor(const QString& family, int style);

// Metrics of a family/style at a pixel size. hinted = glyph shapes for screen drawing;
// measuring uses unhinted design metrics. Cached per thread; the sizes of one font file share
// its data.
TrpFontMetrics& FontMetricsFor(const QString& family, int style, int pixelSize, bool hinted);
// Unhinted outlines at a fractional pixel size, for text scaled from its layout.
TrpFontMetrics& ScaledFontFor(const QString& family, int style, qreal pixelSize);

} // namespace report
