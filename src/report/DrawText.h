#pragma once
// The engine's text layout: lines are broken at a fixed 600-dpi measuring resolution, so
// that line breaks are the same at every zoom, on paper and in exports; drawing then puts
// every glyph where that layout placed it.

#include "platform/Units.h"
#include "report/ReportTypes.h"

#include <QList>
#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QStringList>
#include <vector>

class QPainter;

namespace report {

class TrpCustomMemoView;

// Per-character attributes from the tag subset.
struct TrpHTMLTag {
    int Size = 10;        // points
    bool Shifted = false; // subscript: drawn lower
    bool Reduced = false; // sub- or superscript size
    int Style = 0;
    TColor Color = clBlack;
    bool operator==(const TrpHTMLTag&) const = default;
};

struct TrpTextLine {
    QString Text;
    std::vector<TrpHTMLTag> Tags; // one per character
    std::vector<int> Cumulative;  // right edge of each character, 600-dpi pixels
    bool ParagraphStart = false;
    bool ParagraphEnd = false;
    int Width() const { return Cumulative.empty() ? 0 : Cumulative.back(); }
};

struct TrpTextSettings {
    TrpFont Font;
    bool WordWrap = true;
    bool WordBreak = false;
    bool AllowHTMLTags = false;
    bool Clipped = true;
    bool RTLReading = false;
    int Rotation = 0;
    Extended LineSpacing = 2;
    Extended CharSpacing = 0;
    Extended ParagraphGap = 0;
    TrpHAlign HAlign = haLeft;
    TrpVAlign VAlign = vaTop;
    bool Underlines = false;
    TrpFrame Frame; // the colour and width of underlines
};

// Where a laid-out text goes on a device.
struct TrpTextTarget {
    Extended ScaleX = 1, ScaleY = 1;
    int PrinterDPI = 0; // > 0 on a printer canvas
    QRect TextRect;     // device pixels: inside gaps and frame
    QRect ObjectRect;   // device pixels: the whole object (clipping, underlines)
};

class TrpFontMetrics;

// A run of characters of one line with equal attributes, placed on a device: what drawing
// paints, and what the exports that write text themselves place.
struct TrpTextRun {
    int Line = 0;                   // index into Lines()
    int From = 0, To = 0;           // characters [From, To) of the line
    TrpHTMLTag Tag;                 // size, style, colour and shift
    TrpFontMetrics* Font = nullptr; // the device font
    QList<quint32> Glyphs;          // one per character
    QList<QPointF> Positions;       // of each glyph, from (X, Baseline)
    qreal X = 0;                    // device x of the first glyph
    qreal Width = 0;                // device advance of the run
    int Baseline = 0;               // device y of the baseline (subscript shift included)
    Extended LayoutLeft = 0;        // where the layout put the run, report units from the line's X
    Extended LayoutWidth = 0;       // the run's width in the layout, report units
};

// A laid-out line placed on a device.
struct TrpPlacedLine {
    qreal X = 0;       // device x where the line starts, alignment applied
    qreal Top = 0;     // device y of the line's top
    int Baseline = 0;  // device baseline of the text's own font
    qreal Justify = 0; // device pixels spread over the line's spaces (justified lines)
    int Spaces = 0;    // the spaces (and no-break spaces) that take them
    bool Shown = true; // false for lines a clipped drawing passes over
};

// The whole text placed on a device, in the text rectangle's own (unrotated) frame.
struct TrpPlacedText {
    std::vector<TrpPlacedLine> Lines; // one per laid-out line
    std::vector<TrpTextRun> Runs;     // of the shown lines, in reading order
    std::vector<int> Rules;           // device y of the underline rules
    int RuleWidth = 0;
};

class TrpDrawText {
public:
    static constexpr int MeasureDPI = 600;
    static constexpr Extended MeasureFactor = Extended(MeasureDPI) / platform::ScreenDPI; // 6.25

    TrpDrawText();

    // Lays the lines out for a text rectangle of the given width in report units.
    void Layout(const QStringList& lines, const TrpTextSettings& settings, Extended widthUnits);
    const std::vector<TrpTextLine>& Lines() const { return FLines; }
    // Height of the laid-out text in report units.
    Extended CalcHeight() const;
    // Width of the widest line in report units.
    Extended CalcWidth() const;
    // Font cell height at the measuring resolution.
    int FontHeight600() const { return FFontHeight600; }

    // Places the laid-out text on a device: line positions, runs with their glyphs, rules. With
    // onlyVisible, lines of a clipped text well outside its object get no runs.
    TrpPlacedText Place(const TrpTextTarget& target, bool onlyVisible = false) const;
    // Draws the laid-out text as Place puts it.
    void Draw(QPainter& painter, const TrpTextTarget& target) const;

    // The break points of a word (positions after which it may be split).
    static std::vector<int> HyphenPoints(const QString& word);
    // Spreads n pixels over count cells; the recursive even distribution of the engine.
    static void SpreadEvenly(std::vector<int>& cells, int first, int count, int n);
    // Removes tags and returns per-character attributes; state carries over between lines.
    static QString ParseTags(const QString& line, const TrpFont& font, TrpHTMLTag& state,
                             std::vector<TrpHTMLTag>& tags);

private:
    int MeasureChar(QChar c, const TrpHTMLTag* tag) const;
    void BreakLine(const QString& text, const std::vector<TrpHTMLTag>& tags, int width, int firstWidth);
    std::vector<int> Measure(const QString& text, const std::vector<TrpHTMLTag>& tags, int from,
                             int to) const;
    int DeviceFontPixels(int size, const TrpTextTarget& target) const;
    // Whole-pixel device advances of a line's characters, the layout's width spread over them.
    std::vector<int> DeviceAdvances(const TrpTextLine& line, const TrpTextTarget& target) const;
    // Device advances of a line's characters as the layout placed them, scaled.
    std::vector<qreal> ScaledAdvances(const TrpTextLine& line, Extended scaleX) const;

    TrpTextSettings FSettings;
    std::vector<TrpTextLine> FLines;
    int FFontHeight600 = 0;
    int FCharSpacing600 = 0;
};

// The font a memo shows: its own, with the highlight's colour and style while the highlight is
// active.
TrpFont ShownFont(const TrpCustomMemoView& memo);
// The fill a memo shows: the highlight's colour while the highlight is active and has one.
TColor ShownFill(const TrpCustomMemoView& memo);

// The text settings of a memo, with the font it shows.
TrpTextSettings MemoTextSettings(const TrpCustomMemoView& memo);

// Lays out a memo's text for its own width (in units) and returns the size the object needs:
// the text plus gaps and frame lines.
QSizeF MemoNeededSize(TrpDrawText& engine, const TrpCustomMemoView& memo);

// Lays out and draws a memo's text into its text rectangle.
void DrawMemoText(QPainter& painter, TrpDrawText& engine, const TrpCustomMemoView& memo,
                  const TrpTextTarget& target, Extended layoutWidthUnits);

} // namespace report
