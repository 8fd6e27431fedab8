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
    TrpFontMetrics(QRawFont font, bool hinted);
    const QRawFont& Raw() const { return FFont; }
    // Advance of a character in whole pixels (the font's advance, rounded).
    int Advance(char16_t c);
    int Ascent() const { return FAscent; }
    int Descent() const { return FDescent; }
    // Cell height: ascent + descent, each rounded.
    int CellHeight() const { return FAscent + FDescent; }
    quint32 Glyph(char16_t c);

private:
    void Fill(char16_t c);
    QRawFont FFont;
    int FAscent = 0, FDescent = 0;
    std::vector<int> FAdvance; // -1 = not measured yet
    std::vector<quint32> FGlyph;
};

// The font file drawing a family and style; empty when the family is not one of ours.
QString FontFileFor(const QString& family, int style);

// Metrics of a family/style at a pixel size. hinted = glyph shapes for screen drawing;
// measuring uses unhinted design metrics. Cached per thread.
TrpFontMetrics& FontMetricsFor(const QString& family, int style, int pixelSize, bool hinted);
// Unhinted outlines at a fractional pixel size, for text scaled from its layout.
TrpFontMetrics& ScaledFontFor(const QString& family, int style, qreal pixelSize);

} // namespace report
