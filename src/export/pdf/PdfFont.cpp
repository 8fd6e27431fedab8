#include "export/pdf/PdfCodePage.h"
#include "export/pdf/PdfFile.h"
#include "export/pdf/PdfFontProgram.h"
#include "export/pdf/PdfFormat.h"

#include <cmath>

namespace exports {

using namespace report;

namespace {

struct CJKFont {
    int Charset;
    const char* CMap;
    const char* WinCharSet;
    const char* Flags;
    const char* Style;
    const char* Ordering;
    const char* Supplement;
    const char* Widths;
};

const CJKFont kCJK[] = {
    {128, "90msp-RKSJ-H", "/WinCharSet 80", "/Flags 6", "/Style << /Panose <010502020400000000000000> >>",
     "/Ordering(Japan1)", "/Supplement 2", "/W [ 1 95 500 231 632 500 ]"},
    {129, "KSCms-UHC-H", "/WinCharSet 129", "/Flags 6", "/Style << /Panose <010502020400000000000000> >>",
     "/Ordering(Korea1)", "/Supplement 1", "/W [ 1 95 500 8094 8190 500 ]"},
    {134, "GB-EUC-H", "/WinCharSet 134", "/Flags 6", "/Style << /Panose <010502020400000000000000> >>",
     "/Ordering(GB1)", "/Supplement 2", "/W [ 1 95 500 814 939 500 7712 [ 500 ] 7716 [ 500 ] ]"},
    {136, "ETenms-B5-H", "/WinCharSet 136", "/Flags 7", "/Style << /Panose <010502020300000000000000> >>",
     "/Ordering(CNS1)", "/Supplement 0", "/W [1 95 500]"},
};

const CJKFont* FindCJK(int charset) {
    for (const CJKFont& f : kCJK)
        if (f.Charset == charset)
            return &f;
    return nullptr;
}

QByteArray N(long long v) {
    return QByteArray::number(v);
}

} // namespace

void TrpPDFFont::Resolve() {
    if (FMetrics)
        return;
    FFace = Font.Name;
    FMetrics = PdfFontMetrics(PdfFontFile(Font.Name, Font.Bold(), Font.Italic()), Font.Charset);
    if (!FMetrics) {
        // Not one of our outline fonts: measured and named as Arial, as the text engine draws it.
        FFace = QStringLiteral("Arial");
        FMetrics = PdfFontMetrics(PdfFontFile(FFace, Font.Bold(), Font.Italic()), Font.Charset);
    }
    if (!FMetrics)
        throw TrpPDFError(QStringLiteral("Error on get font info"));
}

const TrpPDFFontMetrics& TrpPDFFont::Metrics() {
    Resolve();
    return *FMetrics;
}

const QString& TrpPDFFont::FaceName() {
    Resolve();
    return FFace;
}

QByteArray TrpPDFFont::Encode(const QString& text) const {
    return EncodeForCharset(text, Font.Charset);
}

void TrpPDFFont::Write(TrpPDFStream& out, int n) {
    Resolve();
    const QByteArray baseName = PdfFontName(FFace, Font.Bold(), Font.Italic());
    const bool embedded = FFile->ObjectsPerFont() == 3;
    FFile->BeginObject(out, *this, n);
    AppendLine("/Type /Font");
    AppendLine("/Name " + ResourceName());
    AppendLine("/BaseFont /" + baseName);
    if (IsCJKCharset(EffectiveCharset(Font.Charset)))
        WriteCJK(out, n, baseName, embedded);
    else
        WriteTrueType(out, n, baseName, embedded);
    if (embedded) {
        FlushTo(out);
        WriteProgram(out, n + 2);
    }
    FlushTo(out);
}

void TrpPDFFont::WriteTrueType(TrpPDFStream& out, int n, const QByteArray& baseName, bool embedded) {
    const TrpPDFFontMetrics& m = *FMetrics;
    AppendLine("/Subtype /TrueType");
    const QByteArray encoding = FontEncodingEntry(Font.Charset);
    if (!encoding.isEmpty())
        AppendLine(encoding);
    AppendLine("/FontDescriptor " + N(n + 1) + " 0 R");
    AppendLine("/FirstChar " + N(m.FirstChar));
    AppendLine("/LastChar " + N(m.LastChar));
    QByteArray widths = "/Widths [";
    widths.reserve(widths.size() + qsizetype(m.Widths.size()) * 5 + 1);
    for (int w : m.Widths)
        widths += N(w) + ' ';
    AppendLine(widths + "]");
    AppendLine(">>");
    AppendLine("endobj");
    FlushTo(out);

    FFile->BeginObject(out, *this, n + 1);
    AppendLine("/Type /FontDescriptor");
    AppendLine("/FontName /" + baseName);
    AppendLine("/Flags 32");
    AppendLine("/FontBBox [" + N(m.BBox[0]) + " " + N(m.BBox[1]) + " " + N(m.BBox[2]) + " " + N(m.BBox[3]) +
               " ]");
    AppendLine("/ItalicAngle " + PdfNumber(m.ItalicAngle));
    AppendLine("/Ascent " + N(m.Ascent));
    AppendLine("/Descent " + N(m.Descent));
    AppendLine("/Leading " + N(m.InternalLeading));
    AppendLine("/CapHeight " + N(m.CapHeight ? m.CapHeight : m.Height));
    AppendLine("/XHeight " + N(m.XHeight));
    AppendLine("/StemV " + N(50 + std::lround(std::pow(m.Weight / 65.0, 2))));
    AppendLine("/AvgWidth " + N(m.AvgWidth));
    AppendLine("/MaxWidth " + N(m.MaxWidth));
    AppendLine("/MissingWidth " + N(m.AvgWidth));
    if (embedded)
        AppendLine("/FontFile2 " + N(n + 2) + " 0 R");
    AppendLine(">>");
    AppendLine("endobj");
}

void TrpPDFFont::WriteCJK(TrpPDFStream& out, int n, const QByteArray& baseName, bool embedded) {
    const TrpPDFFontMetrics& m = *FMetrics;
    const CJKFont& cjk = *FindCJK(EffectiveCharset(Font.Charset));
    ++FFile->CJKFontCount;
    AppendLine("/Subtype /Type0");
    AppendLine("/DescendantFonts [" + N(n + 1) + " 0 R]");
    AppendLine(QByteArray("/Encoding /") + cjk.CMap);
    AppendLine(">>");
    AppendLine("endobj");
    FlushTo(out);
    FFile->RecordOffset(out, *this);
    AppendLine(N(n + 1) + " 0 obj");
    AppendLine("<<");
    AppendLine("/Type /Font");
    AppendLine("/Subtype");
    AppendLine("/CIDFontType2");
    AppendLine("/BaseFont /" + baseName);
    AppendLine(cjk.WinCharSet);
    AppendLine("/FontDescriptor <<");
    AppendLine("/Type /FontDescriptor");
    if (embedded)
        AppendLine("/FontFile2 " + N(n + 2) + " 0 R");
    AppendLine("/FontName /" + baseName);
    AppendLine(cjk.Flags);
    AppendLine("/FontBBox [" + N(m.BBox[0]) + " " + N(m.BBox[1]) + " " + N(m.BBox[2]) + " " + N(m.BBox[3]) +
               " ]");
    AppendLine(cjk.Style);
    AppendLine("/Ascent " + N(m.Ascent));
    AppendLine("/Descent " + N(m.Descent));
    AppendLine("/CapHeight " + N(m.CapHeight ? m.CapHeight : m.Height));
    AppendLine("/StemV " + N(50 + std::lround(std::pow(m.Weight / 65.0, 2))));
    AppendLine("/ItalicAngle " + PdfNumber(m.ItalicAngle));
    AppendLine(">>");
    AppendLine("/CIDSystemInfo");
    AppendLine("<<");
    AppendLine("/Registry(Adobe)");
    AppendLine(cjk.Ordering);
    AppendLine(cjk.Supplement);
    AppendLine(">>");
    AppendLine("/DW 1000");
    AppendLine(cjk.Widths);
    AppendLine(">>");
    AppendLine("endobj");
}

void TrpPDFFont::WriteProgram(TrpPDFStream& out, int n) {
    const QByteArray packed = PdfCompressedFontFile(*FMetrics);
    FFile->RecordOffset(out, *this);
    AppendLine(N(n) + " 0 obj");
    AppendLine("<< /Length " + N(packed.size()) + " /Filter /FlateDecode /Length1 " +
               N(FMetrics->FileData.size()) + " >>");
    AppendLine("stream");
    FlushTo(out);
    out.Write(packed);
    AppendLine("");
    AppendLine("endstream");
    AppendLine("endobj");
}

} // namespace exports
