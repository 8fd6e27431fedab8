#pragma once
// A page's content stream, written one operator at a time: each function appends one line,
// its operands separated by single spaces and then the operator, ending in CR LF. Numbers
// are written by PdfNumber (no decimals when integral, else two, always "."), whatever the
// locale.

#include "report/ReportTypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <initializer_list>
#include <utility>
#include <vector>

namespace exports {

class TrpPDFContent {
public:
    using Real = long double;

    // ---- path construction and painting ----
    void MoveTo(Real x, Real y) { Operator({x, y}, "m"); }
    void LineTo(Real x, Real y) { Operator({x, y}, "l"); }
    void Rectangle(Real x, Real y, Real width, Real height) { Operator({x, y, width, height}, "re"); }
    void ClosePath() { Operator("h"); }
    void Stroke() { Operator("S"); }
    void CloseAndStroke() { Operator("s"); }
    void Fill() { Operator("f"); }
    void FillAndStroke() { Operator("B"); }
    void EndPath() { Operator("n"); }
    // Intersects the clip with the current path; EndPath then ends the path unpainted.
    void Clip() { Operator("W"); }

    // ---- graphics state ----
    void Save() { Operator("q"); }
    void Restore() { Operator("Q"); }
    void Transform(Real a, Real b, Real c, Real d, Real e, Real f) { Operator({a, b, c, d, e, f}, "cm"); }
    void LineWidth(Real width) { Operator({width}, "w"); }
    // Dash lengths and phase; no lengths is a solid line.
    void Dash(std::initializer_list<Real> lengths, Real phase);
    void StrokeColor(report::TColor color);
    void FillColor(report::TColor color);
    // The operands a colour is written with: red, green and blue, each byte / 255 (system
    // colours resolved, clNone as white), the last conversion cached. Colours that write alike
    // look alike to a reader.
    QByteArray ColorOperands(report::TColor color);

    // ---- text ----
    void BeginText() { Operator("BT"); }
    void EndText() { Operator("ET"); }
    // A font resource ("/F0") at a size in points.
    void Font(const QByteArray& resource, Real size);
    void CharSpacing(Real spacing) { Operator({spacing}, "Tc"); }
    void WordSpacing(Real spacing) { Operator({spacing}, "Tw"); }
    void TextPosition(Real x, Real y) { Operator({x, y}, "Td"); }
    void TextMatrix(Real a, Real b, Real c, Real d, Real e, Real f) { Operator({a, b, c, d, e, f}, "Tm"); }
    // Bytes in the font's encoding; backslash and parentheses are escaped (Tj).
    void ShowText(const QByteArray& text);
    // Pieces of text, each followed by its adjustment in thousandths of an em, 0 for none (TJ).
    void ShowTextAdjusted(const std::vector<std::pair<QByteArray, Real>>& pieces);

    // ---- images ----
    // A baseline JPEG of width x height pixels, in line: BI, its dictionary, ID, data, EI.
    void InlineJpeg(int width, int height, const QByteArray& jpeg);
    // An image or form resource ("/Im0").
    void DrawXObject(const QByteArray& resource);

    // ---- the stream ----
    const QByteArray& Bytes() const { return FBytes; }
    bool IsEmpty() const { return FBytes.isEmpty(); }
    void Clear() { FBytes.clear(); }

private:
    void Operand(QByteArrayView operand);
    void Operator(QByteArrayView op);
    void Operator(std::initializer_list<Real> operands, const char* op);

    QByteArray FBytes;
    report::TColor FLastColor = 0;
    QByteArray FLastOperands = "0 0 0";
};

} // namespace exports
