#pragma once
// The caption renderer shared by its two halves: HTMLRender.cpp lays out and draws the runs
// of text line by line, HTMLTags.cpp carries out the tags between them.

#include "htmlctl/HTMLRender.h"

#include "htmlctl/CellMetrics.h"
#include "htmlctl/HTMLColors.h"
#include "htmlctl/PictureContainer.h"
#include "htmlctl/SystemIcons.h"
#include "platform/Colors.h"
#include "platform/ImageList.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <optional>
#include <vector>

namespace htmlctl::render {

// Hostile captions may ask for anything; these keep sizes drawable.
inline constexpr int kMaxFontPoints = 400;
inline constexpr int kMaxPicture = 4096;
inline constexpr int kMaxCoordinate = 100000;
inline constexpr int kListIndent = 12;
inline constexpr int kGradientSteps = 64;

struct TEntity {
    const char* Name; // without "&" and ";"
    const char16_t* Text;
};

// Entities replaced once for the whole caption; "&amp;" keeps an accelerator-safe "&&".
inline constexpr TEntity kEntities[] = {
    {"amp", u"&&"},      {"quot", u"\""},     {"sect", u"\u00A7"},  {"permil", u"\u2030"}, {"reg", u"\u00AE"},
    {"copy", u"\u00A9"}, {"para", u"\u00B6"}, {"trade", u"\u2122"}, {"euro", u"\u20AC"},
};

// Entities of a single run of text.
inline constexpr TEntity kRunEntities[] = {{"nbsp", u" "}, {"lt", u"<"}, {"gt", u">"}};

// Replaces an entity that ends the buffer (just after its ";"), if there is one.
template <size_t N> bool ReplaceTrailingEntity(QString& out, const TEntity (&table)[N]) {
    for (const TEntity& e : table) {
        const qsizetype len = qsizetype(qstrlen(e.Name)) + 2;
        if (out.size() < len || out[out.size() - len] != u'&')
            continue;
        if (QStringView(out)
                .sliced(out.size() - len + 1, len - 2)
                .compare(QLatin1String(e.Name), Qt::CaseInsensitive) != 0)
            continue;
        out.chop(len);
        out += QString::fromUtf16(e.Text);
        return true;
    }
    return false;
}

// One left-to-right pass that reaches the same text as replacing entities until none is
// left: a replacement can only create a new entity through the "&" it ends with, and that
// one is found when its ";" arrives.
template <size_t N> QString ReplaceEntities(QStringView text, const TEntity (&table)[N]) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        out += c;
        if (c == u';')
            ReplaceTrailingEntity(out, table);
    }
    return out;
}

// Accelerator markers of one run: "&&" is a literal "&", "&x" underlines x.
struct TMnemonicText {
    QString Text;
    int Underline = -1;
};

inline TMnemonicText StripMnemonic(const QString& run) {
    if (!run.contains(u'&'))
        return {run, -1};
    TMnemonicText r;
    r.Text.reserve(run.size());
    for (qsizetype i = 0; i < run.size(); ++i) {
        if (run[i] != u'&') {
            r.Text += run[i];
            continue;
        }
        if (i + 1 >= run.size())
            break;
        ++i;
        if (run[i] != u'&' && r.Underline < 0)
            r.Underline = int(r.Text.size());
        r.Text += run[i];
    }
    return r;
}

inline int ReadNumber(QStringView s) {
    long long v = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            break;
        v = v * 10 + (c.unicode() - u'0');
        if (v > kMaxCoordinate)
            return kMaxCoordinate;
    }
    return int(v);
}

// A 64-step gradient from `a` to `b`, left to right or top to bottom.
inline void FillGradient(QPainter& p, const QRect& r, const QColor& a, const QColor& b, bool horizontal) {
    if (a == b) {
        p.fillRect(r, a);
        return;
    }
    const int span = horizontal ? r.width() : r.height();
    for (int i = 0; i < kGradientSteps; ++i) {
        const int s0 = span * i / kGradientSteps, s1 = span * (i + 1) / kGradientSteps;
        const QColor c(a.red() + (b.red() - a.red()) * i / (kGradientSteps - 1),
                       a.green() + (b.green() - a.green()) * i / (kGradientSteps - 1),
                       a.blue() + (b.blue() - a.blue()) * i / (kGradientSteps - 1));
        if (horizontal)
            p.fillRect(QRect(r.left() + s0, r.top(), s1 - s0, r.height()), c);
        else
            p.fillRect(QRect(r.left(), r.top() + s0, r.width(), s1 - s0), c);
    }
}

// Length of the tag's name: its leading Latin letters.
inline qsizetype TagNameLength(const QString& tag) {
    qsizetype n = 0;
    while (n < tag.size() && ((tag[n] >= u'A' && tag[n] <= u'Z') || (tag[n] >= u'a' && tag[n] <= u'z')))
        ++n;
    return n;
}

enum class TMode { Measure, Draw, HitTest };
enum class TTagEffect { Continue, EndLineAfter, EndLineBefore, EndText };
enum class TParaAlign { Left, Right, Center };

struct TFontState {
    QFont Font;
    QColor Color;
    QColor BgColor;
    QColor SavedColor; // colour under an anchor or highlight
    QColor SavedBg;
    bool InAnchor = false;
    QString AnchorValue;
    int AnchorIndex = -1;
    bool Sub = false;
    bool Sup = false;
    bool Shadow = false;
    bool ErrorMark = false;
    bool Hidden = false;
    bool Blinking = false;
    bool Rotated = false;
    int Angle = 0;
};

// Everything that carries from line to line; copied at a line start so the drawing pass can
// replay the line the measuring pass has cut.
struct TState {
    TFontState F;
    int AnchorCount = 0;
    int ListLevel = 0;
    TParaAlign Align = TParaAlign::Left;
    int Indent = 0;
    QColor ParaBg;
    QColor ParaBgTo;
};

struct TLine {
    int Width = 0;
    int Height = 0;
    int TextHeight = 0;
    int SubExtra = 0;
    int SupExtra = 0;
    int ImageOffset = 0;
    QString Text; // tag-free text, to see whether a word is still open
    bool EndText = false;
    bool HadListItem = false;
    int Runs = 0;
    QColor ParaBg;
    QColor ParaBgTo;
    // Widths (without and with trailing spaces) of the runs as measured, in order, so the
    // drawing pass does not measure them again.
    std::vector<QPoint> RunWidths;
    size_t NextRun = 0;
};

// One run of text between tags and spaces, ready to measure or draw.
struct TRun {
    QString Text;        // entities replaced, accelerator markers kept
    TMnemonicText Shown; // as drawn
    int Core = 0;        // width without trailing spaces
    int Width = 0;
};

struct TBox {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

struct TPicture {
    const QImage* Image = nullptr;
    QImage Owned;
    QPoint Offset;
    QSize Size;
};

class TRenderer {
public:
    explicit TRenderer(const THTMLRenderIn& in) : In(in), FM(in.Font) {
        State.F.Font = in.Font;
        State.F.Color = in.FontColor;
        Right = in.Rect.left() + in.Rect.width();
        Bottom = in.Rect.top() + in.Rect.height();
        if (in.Canvas) {
            In.Canvas->save();
            CallerClipped = In.Canvas->hasClipping();
            if (CallerClipped)
                CallerClip = In.Canvas->clipRegion();
        }
    }
    ~TRenderer() {
        if (In.Canvas)
            In.Canvas->restore();
    }

    THTMLRenderOut Run();

private:
    // Layout of one line from `pos`; returns where the next line starts.
    qsizetype MeasureLine(qsizetype pos, TLine& line);
    void DrawLine(qsizetype pos, qsizetype end, const TLine& line, const TBox& box);
    // Handles the tag at `pos` ("<" ... ">"); sets `next` past it.
    TTagEffect Tag(TMode mode, qsizetype pos, qsizetype& next, TLine& line, const TBox* box, int& x);
    TTagEffect OpeningTag(TMode mode, const QString& tag, const QString& name, TLine& line, const TBox* box,
                          int& x, qsizetype lineStart, qsizetype pos);
    TTagEffect ClosingTag(const QString& name);
    TRun MakeRun(const QString& raw, TLine& line, bool measure);
    void Text(TMode mode, const TRun& run, TLine& line, const TBox* box, int& x);
    void DrawRun(const TMnemonicText& t, int x, int bottom, int width, int height, const TBox& box);
    bool LoadPicture(const QString& src, TPicture& pic);
    void Body(const QString& tag);
    void PaintBody(const QString& tag);

    std::optional<QString> Attribute(const QString& tag, const char* name, bool needSpace = false) const;
    void FontChanged() { FM = QFontMetrics(State.F.Font); }
    // End of the text run at `pos`: the next tag, or just after the next space when
    // wrapping; never past `limit`.
    qsizetype RunEnd(qsizetype pos, qsizetype limit);
    qsizetype NextOf(QChar c, qsizetype pos, qsizetype (&memo)[2]);
    int Limit(const TBox* box) const;
    int TextBottom(const TLine& line, const TBox& box) const;

    THTMLRenderIn In;
    THTMLRenderOut Out;
    TState State;
    QFontMetrics FM;
    QString Src;
    int Right = 0;
    int Bottom = 0;
    int PenX = 0;
    bool Done = false;
    bool PendingRule = false; // an <HR> ended the line being drawn
    qsizetype LineStart = 0;
    // Next "<" and " " found, with the position they were searched from, so long captions
    // are not rescanned for every word.
    qsizetype NextTag[2] = {-1, -1};
    qsizetype NextSpace[2] = {-1, -1};
    bool CallerClipped = false;
    QRegion CallerClip;
};

} // namespace htmlctl::render
