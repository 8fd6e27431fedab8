#include "export/pdf/PdfContent.h"

#include "export/pdf/PdfFormat.h"
#include "platform/Colors.h"

namespace exports {

using namespace report;

void TrpPDFContent::Operand(QByteArrayView operand) {
    FBytes.append(operand);
    FBytes += ' ';
}

void TrpPDFContent::Operator(QByteArrayView op) {
    FBytes.append(op);
    FBytes += "\r\n";
}

void TrpPDFContent::Operator(std::initializer_list<Real> operands, const char* op) {
    for (Real x : operands)
        Operand(PdfNumber(x));
    Operator(op);
}

void TrpPDFContent::Dash(std::initializer_list<Real> lengths, Real phase) {
    QByteArrayList array;
    for (Real x : lengths)
        array += PdfNumber(x);
    Operand('[' + array.join(' ') + ']');
    Operator({phase}, "d");
}

QByteArray TrpPDFContent::ColorOperands(TColor color) {
    if (color == 0)
        return QByteArrayLiteral("0 0 0");
    if (color == 0xFFFFFF || color == clNone)
        return QByteArrayLiteral("1 1 1");
    if (color != FLastColor) {
        const QColor c = ColorToQColor(color);
        FLastColor = color;
        FLastOperands = PdfNumber(c.red() / 255.0L) + ' ' + PdfNumber(c.green() / 255.0L) + ' ' +
                        PdfNumber(c.blue() / 255.0L);
    }
    return FLastOperands;
}

void TrpPDFContent::StrokeColor(TColor color) {
    Operand(ColorOperands(color));
    Operator("RG");
}

void TrpPDFContent::FillColor(TColor color) {
    Operand(ColorOperands(color));
    Operator("rg");
}

void TrpPDFContent::Font(const QByteArray& resource, Real size) {
    Operand(resource);
    Operator({size}, "Tf");
}

void TrpPDFContent::ShowText(const QByteArray& text) {
    Operand('(' + EscapeText(text) + ')');
    Operator("Tj");
}

void TrpPDFContent::ShowTextAdjusted(const std::vector<std::pair<QByteArray, Real>>& pieces) {
    QByteArrayList array;
    for (const auto& [text, adjustment] : pieces) {
        array += '(' + EscapeText(text) + ')';
        if (adjustment != 0)
            array += PdfNumber(adjustment);
    }
    Operand('[' + array.join(' ') + ']');
    Operator("TJ");
}

void TrpPDFContent::InlineJpeg(int width, int height, const QByteArray& jpeg) {
    Operator("BI");
    Operator("/W " + QByteArray::number(width));
    Operator("/H " + QByteArray::number(height));
    Operator("/CS /RGB");
    Operator("/BPC 8");
    Operator("/I true");
    Operator("/F [/DCT]");
    // One white-space byte after ID, then the data.
    FBytes += "ID ";
    FBytes += jpeg;
    Operator("");
    Operator("EI");
}

void TrpPDFContent::DrawXObject(const QByteArray& resource) {
    Operand(resource);
    Operator("Do");
}

} // namespace exports
