#include "export/rtf/RtfDocument.h"

#include "export/LayoutMatrix.h"
#include "export/Progress.h"
#include "report/EngineTexts.h"

#include <QBuffer>
#include <QHash>
#include <algorithm>
#include <cmath>

namespace exports {

using namespace report;

namespace {

// Twips per unit. Word processors read these documents with them, so they stay as they are
// although not all are the exact ratio (15 twips per pixel, 56.69 per millimetre).
constexpr Extended kPaper = 15.02L;  // paper size, report pixels
constexpr Extended kMargin = 56.48L; // margins, millimetres
constexpr Extended kCell = 15.05L;   // cell edges and indents
constexpr Extended kRow = 13;        // row height, spacing before, line spacing
constexpr Extended kSpacing = 15;    // character spacing
constexpr Extended kFrame = 20;      // frame width
constexpr Extended kPicture = 25.3L; // picture size
constexpr int kLineLimit = 254;      // table lines are broken before they grow longer

long long R(Extended v) {
    return std::llround(v);
}

QByteArray N(long long v) {
    return QByteArray::number(v);
}

// Little-endian hex of the low `bytes` bytes.
QByteArray Hex(quint32 value, int bytes) {
    QByteArray raw;
    for (int i = 0; i < bytes; ++i)
        raw += char((value >> (8 * i)) & 0xFF);
    return raw.toHex().toUpper();
}

enum TPass { pHeader, pFooter, pBody };

} // namespace

class TrpRTFDocument::Writer {
public:
    Writer(TrpIEMatrix& matrix, const TrpRTFDocumentOptions& options) : M(matrix), O(options) {}

    TrpRTFPageParts Page(int number) {
        CollectTables();
        TrpRTFPageParts parts;
        if (number == 0)
            FFirstSection = SectionSettings(0);
        if (O.HeaderFooterMode == hfPrint) {
            Pass(pHeader);
            parts.Header = std::exchange(FBody, {});
            Pass(pFooter);
            parts.Footer = std::exchange(FBody, {});
        }
        // Each report page is a section of its own. A word processor may pass over a break
        // that follows a table row directly unless a paragraph comes after it, so one of the
        // smallest font opens the section.
        if (number > 0 && O.PageBreaks) {
            Line("\\pard\\sect");
            Line(SectionSettings(0));
            Line("\\pard\\plain\\fs2\\par");
        }
        Pass(pBody);
        parts.Body = std::exchange(FBody, {});
        return parts;
    }

    QByteArray Head() const {
        QByteArray out = "{\\rtf1\\ansi\r\n";
        QList<QByteArray> fonts;
        for (int i = 0; i < FFonts.size(); ++i)
            fonts << "{\\f" + N(i) + "\\fcharset" + N(FCharsets[size_t(i)]) + ' ' + RtfText(FFonts[i]) + ";}";
        out += TableLines("{\\fonttbl", fonts);
        out += TableLines("{\\colortbl;", FColors);
        const QDateTime& t = O.Created;
        auto two = [](int v) { return QByteArray::number(v).rightJustified(2, '0'); };
        out += "{\\info{\\title " + RtfText(O.Title) + "}{\\author " + RtfText(O.Author) + "}{\\creatim\\yr" +
               QByteArray::number(t.date().year()).rightJustified(4, '0') + "\\mo" + two(t.date().month()) +
               "\\dy" + two(t.date().day()) + "\\hr" + two(t.time().hour()) + "\\min" +
               two(t.time().minute()) + "}}\r\n";
        if (!FFirstSection.isEmpty())
            out += FFirstSection + "\r\n";
        return out;
    }

private:
    void Line(const QByteArray& s) {
        if (s.isEmpty())
            return;
        FBody += s;
        FBody += "\r\n";
    }

    static QByteArray TableLines(const QByteArray& head, const QList<QByteArray>& entries) {
        QByteArray out, line = head;
        auto add = [&](const QByteArray& piece) {
            if (line.size() + piece.size() > kLineLimit) {
                out += line + "\r\n";
                line.clear();
            }
            line += piece;
        };
        for (const QByteArray& e : entries)
            add(e);
        add("}");
        return out + line + "\r\n";
    }

    int ColorIndex(TColor color) {
        // System colours are written as what they show.
        if ((color & clSystemColor) == clSystemColor) {
            const QColor c = ColorToQColor(color);
            color = TColor(c.red()) | TColor(c.green()) << 8 | TColor(c.blue()) << 16;
        }
        const QByteArray entry = RtfColor(color);
        auto it = FColorIndex.find(entry);
        if (it != FColorIndex.end())
            return *it;
        FColors << entry;
        FColorIndex.insert(entry, int(FColors.size()));
        return int(FColors.size());
    }

    int FontIndex(const QString& name, int charset) {
        const QString key = name.toLower();
        auto it = FFontIndex.find(key);
        if (it != FFontIndex.end())
            return *it;
        FFonts << name;
        FCharsets.push_back(charset);
        FFontIndex.insert(key, int(FFonts.size()) - 1);
        return int(FFonts.size()) - 1;
    }

    // Every colour and font the document uses, in the order the grid meets them.
    void CollectTables() {
        for (int y = 0; y < M.Height(); ++y)
            for (const TrpIEMRun& run : M.RowRuns(y)) {
                TrpIEMObject* obj = M.GetObjectById(run.Index);
                if (!obj || obj->Counter == -1)
                    continue;
                obj->Counter = -1;
                ColorIndex(obj->Style->Color);
                ColorIndex(obj->Style->FrameColor);
                if (obj->IsText) {
                    ColorIndex(obj->Style->Font.Color);
                    FontIndex(obj->Style->Font.Name, obj->Style->Charset);
                }
            }
    }

    QByteArray SectionSettings(int page) const {
        QByteArray s =
            "\\pgwsxn" + N(R(M.GetPageWidth(page) * kPaper)) + "\\pghsxn" +
            N(R(M.GetPageHeight(page) * kPaper)) + "\\marglsxn" + N(R(M.GetPageLMargin(page) * kMargin)) +
            "\\margrsxn" + N(R(M.GetPageRMargin(page) * kMargin)) + "\\margtsxn" +
            N(R(M.GetPageTMargin(page) * kMargin)) + "\\margbsxn" + N(R(M.GetPageBMargin(page) * kMargin));
        if (page < M.PagesCount() && M.GetPageOrientation(page) == poLandscape)
            s += "\r\n\\lndscpsxn";
        return s;
    }

    QByteArray CellBorders(const TrpIEMStyle& s) {
        if (!s.FrameTyp)
            return {};
        const QByteArray w = "\\brdrs\\brdrw" + N(R(s.FrameWidth * kFrame));
        const QByteArray c = "\\brdrcf" + N(ColorIndex(s.FrameColor));
        const QByteArray d = s.FrameStyle == fsDouble  ? "\\brdrdashdd"
                             : s.FrameStyle == fsSolid ? ""
                                                       : "\\brdrdashsm";
        QByteArray out;
        const std::pair<TrpFrameTypes, const char*> sides[] = {
            {ftTop, "\\clbrdrt"}, {ftLeft, "\\clbrdrl"}, {ftBottom, "\\clbrdrb"}, {ftRight, "\\clbrdrr"}};
        for (const auto& [side, word] : sides)
            if (s.FrameTyp & side)
                out += word + w + c + d;
        return out;
    }

    static QByteArray Align(const TrpIEMStyle& s) {
        return s.HAlign == haRight ? "\\qr" : s.HAlign == haCenter ? "\\qc" : "\\ql";
    }
    static QByteArray VAlign(const TrpIEMStyle& s) {
        return s.VAlign == vaBottom ? "\\clvertalb" : s.VAlign == vaCenter ? "\\clvertalc" : "\\clvertalt";
    }
    static QByteArray Filler(long long h) { return "{\\fs" + N(std::min(h / 15, 20LL)) + "\\cell}"; }

    QByteArray TextCell(const TrpIEMObject& obj, long long h) {
        const TrpIEMStyle& s = *obj.Style;
        const QString text = obj.Memo.join(QStringLiteral("\r\n"));
        QByteArray f = "\\f" + N(FontIndex(s.Font.Name, s.Charset)) + "\\fs" +
                       N(text.isEmpty() ? std::min(h / 15, 20LL) : s.Font.Size * 2LL);
        if (s.Font.Style & fsItalic)
            f += "\\i";
        if (s.Font.Style & fsBold)
            f += "\\b";
        if (s.Font.Style & fsUnderline)
            f += "\\ul";
        f += "\\cf" + N(ColorIndex(s.Font.Color));
        QByteArray p;
        if (!text.trimmed().isEmpty()) {
            const long long sp = R(s.CharSpacing * kSpacing);
            p = "\\sb" + N(R(s.GapY * kRow)) + "\\li" + N(R(s.GapX / 2 * kCell)) + "\\fi" +
                N(R(s.ParagraphGap * kCell)) + "\\expnd" + N(sp / 5) + "\\expndtw" + N(sp) + "\\sl" +
                N(R((s.Font.Size + s.LineSpacing - 2) * kRow)) + "\\slmult0";
            if (s.WordBreak)
                p += "\\hyphauto1\\hyphcaps1";
        }
        return Align(s) + '{' + f + p + ' ' + RtfText(text) + "\\cell}";
    }

    QByteArray PictureCell(const TrpIEMObject& obj) {
        return "{\\sb0\\li0\\sl0\\slmult0 {\\pict\\wmetafile8\\picw" + N(R(R(obj.Width) * kPicture)) +
               "\\pich" + N(R(R(obj.Height) * kPicture)) + "\\picbmp\\picbpp4\r\n" + RtfMetafile(*obj.Image) +
               "030000000000}\\cell}\r\n";
    }

    bool Taken(const TrpIEMObject& obj, TPass pass) const {
        switch (pass) {
        case pHeader:
            return obj.Header;
        case pFooter:
            return obj.Footer;
        case pBody:
            return O.HeaderFooterMode == hfText || (!obj.Header && !obj.Footer);
        }
        return false;
    }

    // One pass over the grid rows of the page.
    void Pass(TPass pass) {
        std::vector<int> writtenIn(size_t(M.ObjectsCount()), -1); // the row each object was last written in
        const long long x0 = R(M.GetXPosById(1));
        for (int y = 0; y + 1 < M.Height(); ++y) {
            const long long h = R((M.GetYPosById(y + 1) - M.GetYPosById(y)) * kRow);
            QByteArray def = "\\trrh" + N(h) + "\\trgaph15";
            QByteArray cells;
            // Column 0, left of the content, and the right edge are never written.
            for (const TrpIEMRun& run : M.RowRuns(y)) {
                const int index = run.Index;
                TrpIEMObject* obj = M.GetObjectById(index);
                if (run.X1 <= 1 || run.X0 >= M.Width() - 1 || !obj || !Taken(*obj, pass) ||
                    writtenIn[size_t(index)] == y)
                    continue;
                int ox, oy, dx, dy;
                M.GetObjectPos(index, ox, oy, dx, dy);
                const TrpIEMStyle& s = *obj->Style;
                const QByteArray right = "\\cellx" + N(R((obj->Left + obj->Width - x0) * kCell));
                if (writtenIn[size_t(index)] < 0) {
                    if (dy > 1)
                        def += "\\clvmgf";
                    if (s.Color != clWhite && s.Color != clNone)
                        def += "\\clcbpat" + N(ColorIndex(s.Color));
                    def += VAlign(s) + CellBorders(s) + "\\cltxlrtb" + right;
                    const bool picture = !obj->IsText && O.Pictures && obj->Image && !obj->Image->isNull();
                    cells += obj->IsText ? TextCell(*obj, h) : picture ? PictureCell(*obj) : Filler(h);
                } else {
                    def += "\\clvmrg" + CellBorders(s) + "\\cltxlrtb" + right;
                    cells += Filler(h);
                }
                writtenIn[size_t(index)] = y;
            }
            if (cells.isEmpty())
                continue;
            Line("\\trowd" + def + "\\pard\\intbl");
            FBody += cells;
            Line("\\pard\\intbl{\\trowd" + def + "\\row}");
        }
    }

    TrpIEMatrix& M;
    TrpRTFDocumentOptions O;
    QByteArray FBody;
    QByteArray FFirstSection;
    QStringList FFonts;
    std::vector<int> FCharsets;
    QHash<QString, int> FFontIndex;
    QList<QByteArray> FColors;
    QHash<QByteArray, int> FColorIndex;
};

TrpRTFDocument::TrpRTFDocument(TrpIEMatrix& matrix, const TrpRTFDocumentOptions& options)
    : FWriter(std::make_unique<Writer>(matrix, options)) {}

TrpRTFDocument::~TrpRTFDocument() = default;

TrpRTFPageParts TrpRTFDocument::Page(int number) {
    return FWriter->Page(number);
}

QByteArray TrpRTFDocument::Head() const {
    return FWriter->Head();
}

QByteArray RtfText(const QString& text) {
    QByteArray out;
    out.reserve(text.size() + 16);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n' && i < n - 2) {
            out += "\\line\r";
        } else if (c < 128) {
            out += char(c);
        } else {
            // Readers take the number as a signed 16-bit value.
            out += "\\u" + QByteArray::number(c < 0x8000 ? int(c) : int(c) - 0x10000) + "\\'3f";
        }
    }
    return out;
}

QByteArray RtfColor(TColor color) {
    return "\\red" + N(color & 255) + "\\green" + N((color >> 8) & 255) + "\\blue" + N((color >> 16) & 255) +
           ';';
}

QByteArray RtfMetafile(const QImage& bitmap) {
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        bitmap.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    }
    if (bmp.size() < 14)
        return {};
    const quint32 size = quint32(uchar(bmp[2])) | quint32(uchar(bmp[3])) << 8 | quint32(uchar(bmp[4])) << 16 |
                         quint32(uchar(bmp[5])) << 24;
    // The StretchDIBits record in 16-bit words: its 14 words of head and parameters and the
    // bitmap without its 14-byte file header.
    const quint32 words = size / 2 + 7;
    const QByteArray h = Hex(quint32(bitmap.height()), 2), w = Hex(quint32(bitmap.width()), 2);
    QByteArray out = "010009000003" + Hex(words + 36, 4) + "0000" + Hex(words, 4) +
                     "0000050000000B0200000000050000000C02" + h + w +
                     "05000000090200000000050000000102FFFFFF000400000007010300" + Hex(words, 4) +
                     "430F2000CC000000" + h + w + "00000000" + h + w + "00000000\r\n";
    const QByteArray dib = bmp.mid(14);
    for (qsizetype at = 0; at < dib.size(); at += 64)
        out += dib.mid(at, 64).toHex().toUpper() + "\r\n";
    return out;
}

} // namespace exports
