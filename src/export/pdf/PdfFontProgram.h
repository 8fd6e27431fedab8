#pragma once
// Font metrics and font programs for the PDF writer, read from the same font files the text
// engine measures and draws with. Every metric is in glyph units of 1/1000 em.

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace exports {

struct TrpPDFFontMetrics {
    QString FileName;    // the font file
    QByteArray FileData; // its complete contents
    int FirstChar = 32;  // first and last character code in the charset's code page
    int LastChar = 255;
    std::vector<int> Widths;    // advance of every code from FirstChar to LastChar
    int BBox[4] = {0, 0, 0, 0}; // left, bottom, right, top
    double ItalicAngle = 0;     // degrees, counter-clockwise from the vertical
    int Ascent = 0;             // typographic ascent
    int Descent = 0;            // typographic descent (negative)
    int InternalLeading = 0;    // cell height less the em
    int Height = 0;             // cell height: Windows ascent + descent
    int XHeight = 0;
    int CapHeight = 0;
    int Weight = 400;
    int AvgWidth = 0;
    int MaxWidth = 0;
};

// A parsed TrueType file: enough of head, hhea, hmtx, OS/2, post and cmap for metrics.
class TrueTypeFile {
public:
    // False when the data is not a TrueType font with outlines and a Unicode map.
    bool Load(const QByteArray& data);
    int UnitsPerEm() const { return FUnitsPerEm; }
    // Glyph of a Unicode character; 0 (the missing glyph) when the font lacks it.
    quint32 Glyph(char32_t c) const;
    bool HasGlyph(char32_t c) const { return Glyph(c) != 0; }
    // Advance of a glyph in font units.
    int Advance(quint32 glyph) const;
    // The metrics scaled to 1000 units per em, widths for the code page of the charset.
    TrpPDFFontMetrics Metrics(int charset) const;

private:
    struct CmapSegment {
        char32_t Start, End;
        qint32 Delta;       // glyph = c + Delta when RangeOffset is 0
        quint32 RangeBase;  // byte offset into the data of the glyph array entry for Start, or 0
        bool Group = false; // format 12 group: glyph = Delta + (c - Start)
    };
    bool ParseCmap(quint32 offset, quint32 length);

    QByteArray FData;
    int FUnitsPerEm = 1000;
    int FBBox[4] = {0, 0, 0, 0};
    int FWinAscent = 0, FWinDescent = 0, FTypoAscent = 0, FTypoDescent = 0;
    int FXHeight = 0, FCapHeight = 0, FWeight = 400, FAvgWidth = 0, FMaxWidth = 0;
    double FItalicAngle = 0;
    bool FSymbolMap = false;
    std::vector<quint16> FAdvances;
    std::vector<CmapSegment> FSegments;
};

// The file that draws a family and style for the text engine, or empty when the family is
// not one of the program's fonts.
QString PdfFontFile(const QString& family, bool bold, bool italic);

// Metrics of a font file for a charset, cached for the life of the process (the files never
// change under a running program). nullptr when the file cannot be read as a TrueType font.
std::shared_ptr<const TrpPDFFontMetrics> PdfFontMetrics(const QString& fileName, int charset);

// The font file deflated at the best level, cached like the metrics.
QByteArray PdfCompressedFontFile(const TrpPDFFontMetrics& metrics);

} // namespace exports
