#include "htmlctl/HTMLRender.h"

#include "htmlctl/CellMetrics.h"
#include "htmlctl/HTMLColors.h"
#include "htmlctl/PictureContainer.h"
#include "htmlctl/SystemIcons.h"
#include "platform/ImageList.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <optional>
#include <vector>

namespace htmlctl {
namespace {

// Hostile captions may ask for anything; these keep sizes drawable.
constexpr int kMaxFontPoints = 400;
constexpr int kMaxPicture = 4096;
constexpr int kMaxCoordinate = 100000;
constexpr int kListIndent = 12;
constexpr int kGradientSteps = 64;

struct TEntity {
    const char* Name; // without "&" and ";"
    const char16_t* Text;
};

// Entities replaced once for the whole caption; "&amp;" keeps an accelerator-safe "&&".
constexpr TEntity kEntities[] = {
    {"amp", u"&&"},      {"quot", u"\""},     {"sect", u"\u00A7"},  {"permil", u"\u2030"}, {"reg", u"\u00AE"},
    {"copy", u"\u00A9"}, {"para", u"\u00B6"}, {"trade", u"\u2122"}, {"euro", u"\u20AC"},
};

// Entities of a single run of text.
constexpr TEntity kRunEntities[] = {{"nbsp", u" "}, {"lt", u"<"}, {"gt", u">"}};

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

TMnemonicText StripMnemonic(const QString& run) {
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

int ReadNumber(QStringView s) {
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
void FillGradient(QPainter& p, const QRect& r, const QColor& a, const QColor& b, bool horizontal) {
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
qsizetype TagNameLength(const QString& tag) {
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

std::optional<QString> TRenderer::Attribute(const QString& tag, const char* name, bool needSpace) const {
    const QString key = needSpace ? QStringLiteral(" ") + QLatin1String(name) : QString::fromLatin1(name);
    // Names are looked for after the tag's own name, so <IMG ...> never finds "IMG" itself.
    const qsizetype at = tag.indexOf(key, TagNameLength(tag), Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    const qsizetype q1 = tag.indexOf(u'"', at + key.size());
    if (q1 < 0)
        return std::nullopt;
    const qsizetype q2 = tag.indexOf(u'"', q1 + 1);
    if (q2 < 0)
        return std::nullopt;
    return tag.mid(q1 + 1, q2 - q1 - 1);
}

int TRenderer::Limit(const TBox* box) const {
    if (box)
        return box->Right - box->Left;
    return Right - (PenX + State.Indent);
}

int TRenderer::TextBottom(const TLine& line, const TBox& box) const {
    // Line spacing and the scripts' extras sit below and above the text; runs are
    // bottom-aligned on the text line, raised for superscripts and by a top/middle picture.
    int bottom = box.Top + line.SupExtra + (line.Height - In.LineSpacing) - line.ImageOffset;
    if (State.F.Sup)
        bottom -= line.SupExtra;
    if (State.F.Sub)
        bottom += line.SubExtra;
    return bottom;
}

void TRenderer::DrawRun(const TMnemonicText& t, int x, int bottom, int width, int height, const TBox& box) {
    QPainter& p = *In.Canvas;
    const TFontState& f = State.F;
    const TCellMetrics cell = CellMetrics(f.Font);
    QString text = t.Text;
    int underline = t.Underline;
    // Without word wrap an over-long run ends in "..." inside the box.
    const int room = box.Right - x;
    if (!In.WordWrap && width > room && room > 0) {
        const QString dots = QStringLiteral("...");
        qsizetype lo = 0, hi = text.size();
        while (lo < hi) {
            const qsizetype mid = (lo + hi + 1) / 2;
            if (ExpandedAdvance(f.Font, FM, text.left(mid) + dots) <= room)
                lo = mid;
            else
                hi = mid - 1;
        }
        text = text.left(lo) + dots;
        if (underline >= lo)
            underline = -1;
        width = ExpandedAdvance(f.Font, FM, text);
    }

    QColor color = f.Color;
    QColor bg = f.BgColor;
    if (f.InAnchor) {
        if (!In.Selected && In.URLColor.isValid())
            color = In.URLColor;
        if (f.AnchorIndex == In.HoverAnchor) {
            if (In.HoverFontColor.isValid())
                color = In.HoverFontColor;
            if (In.HoverColor.isValid())
                bg = In.HoverColor;
        }
    }
    if (f.Blinking && !In.Blink)
        color = In.BrushColor;
    if (bg.isValid())
        p.fillRect(QRect(x, bottom - height, width, height), bg);

    const int baseline = bottom - cell.Descent;
    // Tabs expand to the classic stops counted from the run's start.
    const std::vector<TTextPiece> pieces = ExpandTabs(f.Font, FM, text);
    auto drawAt = [&](int dx, int dy, const QColor& c) {
        if (!c.isValid())
            return;
        p.setPen(c);
        p.save();
        p.translate(x + dx, baseline + dy);
        if (f.Rotated)
            p.rotate(-f.Angle);
        for (const TTextPiece& piece : pieces)
            if (!piece.Text.isEmpty())
                p.drawText(piece.X, 0, piece.Text);
        p.restore();
        if (underline >= 0 && underline < text.size()) {
            const int ux = x + dx + ExpandedAdvance(f.Font, FM, text.left(underline));
            const int uw = FM.horizontalAdvance(text.at(underline));
            const int uy = baseline + dy + qMax(1, FM.underlinePos());
            p.fillRect(QRect(ux, uy, qMax(1, uw), qMax(1, FM.lineWidth())), c);
        }
    };
    p.setFont(f.Font);
    if (f.Shadow)
        drawAt(In.ShadowOffset, In.ShadowOffset, In.ShadowColor);
    drawAt(0, 0, color);

    if (f.ErrorMark) {
        QPolygon zigzag;
        bool up = true;
        for (int zx = x & ~1; zx <= x + width; zx += 2, up = !up)
            zigzag << QPoint(zx, up ? bottom - 1 : bottom + 1);
        p.setPen(Qt::red);
        p.drawPolyline(zigzag);
    }
}

TRun TRenderer::MakeRun(const QString& raw, TLine& line, bool measure) {
    TRun r;
    r.Text = raw.contains(u'&') ? ReplaceEntities(raw, kRunEntities) : raw;
    r.Shown = StripMnemonic(r.Text);
    if (!measure && line.NextRun < line.RunWidths.size()) {
        const QPoint w = line.RunWidths[line.NextRun++];
        r.Core = w.x();
        r.Width = w.y();
        return r;
    }
    qsizetype trimmed = r.Shown.Text.size();
    while (trimmed > 0 && r.Shown.Text[trimmed - 1] == u' ')
        --trimmed;
    r.Core = ExpandedAdvance(State.F.Font, FM, r.Shown.Text.left(trimmed));
    r.Width = trimmed == r.Shown.Text.size() ? r.Core : ExpandedAdvance(State.F.Font, FM, r.Shown.Text);
    return r;
}

void TRenderer::Text(TMode mode, const TRun& run, TLine& line, const TBox* box, int& x) {
    const int core = run.Core;
    const int w = run.Width;
    const int th = CellMetrics(State.F.Font).Height();

    if (mode == TMode::Measure) {
        line.Height = qMax(line.Height, th);
        line.TextHeight = qMax(line.TextHeight, th);
        if (State.F.Sub)
            line.SubExtra = qMax(line.SubExtra, th / 4);
        if (State.F.Sup)
            line.SupExtra = qMax(line.SupExtra, th / 4);
        Out.StrippedText += run.Text;
        line.Text += run.Text;
        line.RunWidths.push_back(QPoint(core, w));
        line.Width = qMin(x + core, kMaxCoordinate);
        x = qMin(x + w, kMaxCoordinate);
        ++line.Runs;
        return;
    }

    const int bottom = TextBottom(line, *box);
    const int left = box->Left + x;
    if (mode == TMode::HitTest) {
        if (State.F.InAnchor && In.Point.x() >= left && In.Point.x() < left + w &&
            In.Point.y() >= bottom - th && In.Point.y() <= bottom) {
            Out.AnchorHit = true;
            Out.Anchor = State.F.AnchorValue;
            Done = true;
        }
    } else if (In.Canvas) {
        DrawRun(run.Shown, left, bottom, w, th, *box);
    }
    if (State.F.InAnchor && State.F.AnchorIndex == In.HoverAnchor)
        Out.HoverRect |= QRect(left, bottom - th, w, th);
    x = qMin(x + w, kMaxCoordinate);
}

bool TRenderer::LoadPicture(const QString& src, TPicture& pic) {
    static const QString idx = QStringLiteral("IDX:");
    if (src.startsWith(idx, Qt::CaseInsensitive)) {
        const int n = ReadNumber(QStringView(src).sliced(idx.size()));
        if (!In.Images || n >= In.Images->Count())
            return false;
        pic.Image = &In.Images->Image(n);
        pic.Size = QSize(In.Images->Width(), In.Images->Height());
        return true;
    }
    const bool small = src.startsWith(QLatin1String("SSYS:"), Qt::CaseInsensitive);
    if (small || src.startsWith(QLatin1String("LSYS:"), Qt::CaseInsensitive)) {
        pic.Owned = SystemIcon(src.mid(5), !small);
        pic.Image = &pic.Owned;
        pic.Size = pic.Owned.size();
        return !pic.Owned.isNull();
    }
    THTMLPicture* picture = nullptr;
    if (!src.contains(u':')) {
        if (In.PictureContainer)
            picture = In.PictureContainer->LookupPicture(src);
    } else if (src.contains(QLatin1String("://")) && In.PictureCache) {
        picture = In.PictureCache->LookupPicture(src);
        if (!picture) {
            picture = In.PictureCache->AddPicture();
            picture->SetAsynchronous(false);
            picture->LoadFromURL(src);
        }
    }
    if (!picture || picture->Empty())
        return false;
    pic.Image = &picture->Image();
    pic.Offset = picture->FramePos();
    pic.Size = picture->Size();
    return true;
}

void TRenderer::Body(const QString& tag) {
    if (!In.Canvas || In.MeasureOnly || In.CheckHotSpot)
        return;
    QPainter& p = *In.Canvas;
    // The background covers the whole box, not just the line being drawn.
    p.save();
    if (CallerClipped)
        p.setClipRegion(CallerClip);
    else
        p.setClipping(false);
    PaintBody(tag);
    p.restore();
}

void TRenderer::PaintBody(const QString& tag) {
    QPainter& p = *In.Canvas;
    const QRect all(In.Rect.left(), In.Rect.top(), Right - In.Rect.left(), Bottom - In.Rect.top());
    if (const auto background = Attribute(tag, "BACKGROUND")) {
        TPicture pic;
        const bool named = !background->contains(u':') || background->contains(QLatin1String("://"));
        if (named && LoadPicture(*background, pic) && pic.Image && !pic.Image->isNull()) {
            p.setBrushOrigin(all.topLeft());
            p.fillRect(all, QBrush(*pic.Image));
        }
    }
    const auto from = Attribute(tag, "BGCOLOR");
    if (!from)
        return;
    const QRect fill(In.Rect.left() - 2, all.top(), Right - (In.Rect.left() - 2), all.height());
    const auto to = Attribute(tag, "BGCOLORTO");
    if (!to) {
        p.fillRect(fill, HTMLToColor(*from));
        return;
    }
    const auto dir = Attribute(tag, "DIR");
    FillGradient(p, fill, HTMLToColor(*from), HTMLToColor(*to), !dir || dir->toUpper() == QLatin1String("H"));
}

TTagEffect TRenderer::ClosingTag(const QString& name) {
    TFontState& f = State.F;
    const QChar c0 = name.isEmpty() ? QChar() : name[0];
    const QChar c1 = name.size() > 1 ? name[1] : QChar();
    auto restoreFont = [&] {
        f.Font.setFamily(In.Font.family());
        if (In.Font.pixelSize() > 0)
            f.Font.setPixelSize(In.Font.pixelSize());
        else
            f.Font.setPointSizeF(In.Font.pointSizeF());
        FontChanged();
    };
    switch (c0.unicode()) {
    case u'A':
        if (f.InAnchor) {
            f.InAnchor = false;
            f.Font.setUnderline(false);
            f.Color = f.SavedColor;
            FontChanged();
        }
        break;
    case u'B':
        if (name.size() == 1 || (c1 != u'L' && c1 != u'O' && c1 != u'R')) {
            f.Font.setBold(false);
            FontChanged();
        }
        if (name.size() > 1) {
            f.Color = In.FontColor;
            f.Blinking = false;
        }
        break;
    case u'E':
        f.ErrorMark = false;
        break;
    case u'F':
        restoreFont();
        f.Color = In.FontColor;
        f.BgColor = QColor();
        break;
    case u'H':
        if (c1 == u'I') {
            f.Color = f.SavedColor.isValid() ? f.SavedColor : In.FontColor;
            f.BgColor = f.SavedBg;
        }
        break;
    case u'I':
        if (c1 != u'N' && c1 != u'M') {
            f.Font.setItalic(false);
            FontChanged();
        }
        break;
    case u'L':
        if (c1 == u'I')
            return TTagEffect::EndLineAfter;
        break;
    case u'P':
        State.ParaBg = QColor();
        State.ParaBgTo = QColor();
        return TTagEffect::EndLineAfter;
    case u'R':
        f.Rotated = false;
        f.Angle = 0;
        break;
    case u'S':
        if (c1 == u'H') {
            f.Shadow = false;
        } else if (c1 == u'U') {
            f.Sub = false;
            f.Sup = false;
        } else {
            f.Font.setStrikeOut(false);
            FontChanged();
        }
        break;
    case u'U':
        if (c1 == u'L' && State.ListLevel > 0) {
            --State.ListLevel;
        } else {
            f.Font.setUnderline(false);
            FontChanged();
        }
        break;
    case u'Z':
        f.Hidden = false;
        break;
    default:
        break;
    }
    return TTagEffect::Continue;
}

TTagEffect TRenderer::OpeningTag(TMode mode, const QString& tag, const QString& name, TLine& line,
                                 const TBox* box, int& x, qsizetype lineStart, qsizetype pos) {
    TFontState& f = State.F;
    const QChar c0 = name.isEmpty() ? QChar() : name[0];
    const QChar c1 = name.size() > 1 ? name[1] : QChar();
    const QChar c2 = name.size() > 2 ? name[2] : QChar();
    switch (c0.unicode()) {
    case u'A': {
        const qsizetype q1 = tag.indexOf(u'"');
        const qsizetype q2 = q1 < 0 ? -1 : tag.indexOf(u'"', q1 + 1);
        if (q2 < 0)
            break;
        if (!f.InAnchor)
            f.SavedColor = f.Color;
        f.InAnchor = true;
        f.AnchorValue = tag.mid(q1 + 1, q2 - q1 - 1);
        f.AnchorIndex = State.AnchorCount++;
        if (mode == TMode::Measure && f.AnchorIndex == In.FocusAnchor)
            Out.FocusAnchor = f.AnchorValue;
        f.Font.setUnderline(!In.HoverStyle || f.AnchorIndex == In.HoverAnchor);
        FontChanged();
        break;
    }
    case u'B':
        if (c1 == u'R')
            return TTagEffect::EndLineAfter;
        if (c1 == u'O') {
            // Painted when the line holding the tag is laid out, before the line is drawn: the
            // lines above are covered, the whole line is drawn on the new background.
            if (mode == TMode::Measure)
                Body(tag);
        } else if (c1 == u'L') {
            f.Blinking = true;
        } else {
            f.Font.setBold(true);
            FontChanged();
        }
        break;
    case u'E':
        f.ErrorMark = true;
        break;
    case u'F': {
        if (const auto face = Attribute(tag, "FACE"); face && !face->isEmpty())
            f.Font.setFamily(*face);
        if (const auto size = Attribute(tag, "SIZE")) {
            static constexpr int kHtmlSizes[] = {8, 10, 12, 14, 16};
            int points = ReadNumber(*size);
            if (points >= 1 && points <= 5)
                points = kHtmlSizes[points - 1];
            if (points > 0)
                f.Font.setPixelSize(PointsToPixels(qMin(points, kMaxFontPoints)));
        }
        if (const auto color = Attribute(tag, "COLOR", true))
            f.Color = HTMLToColor(*color);
        if (const auto bg = Attribute(tag, "BGCOLOR"))
            f.BgColor = HTMLToColor(*bg);
        FontChanged();
        break;
    }
    case u'H':
        if (c1 == u'I') {
            f.SavedColor = f.Color;
            f.SavedBg = f.BgColor;
            f.BgColor = SystemColor(QStringLiteral("clhighlight"));
            f.Color = SystemColor(QStringLiteral("clhighlighttext"));
        } else if (c1 == u'R') {
            if (mode == TMode::Draw)
                PendingRule = true;
            return TTagEffect::EndLineAfter;
        }
        break;
    case u'I':
        if (c1 == u'N') {
            if (const auto v = Attribute(tag, "X"))
                x = qMax(x, ReadNumber(*v));
        } else if (c1 == u'M') {
            TPicture pic;
            const QString src = Attribute(tag, "SRC").value_or(QString());
            if (!LoadPicture(src, pic))
                break;
            const int w = ReadNumber(Attribute(tag, "WIDTH").value_or(QString()));
            const int h = ReadNumber(Attribute(tag, "HEIGHT").value_or(QString()));
            const bool stretched = w >= 1 && h >= 1;
            QSize size = stretched ? QSize(w, h) : pic.Size;
            size = QSize(qBound(1, int(size.width() * In.Scale), kMaxPicture),
                         qBound(1, int(size.height() * In.Scale), kMaxPicture));
            if (mode == TMode::Measure) {
                const int limit = Limit(box);
                if (x + size.width() > limit && size.width() < limit && pos > lineStart)
                    return TTagEffect::EndLineBefore;
                line.Height = qMax(line.Height, size.height());
                const QString align = Attribute(tag, "ALIGN").value_or(QString()).toUpper();
                if (align.contains(QLatin1String("TOP")))
                    line.ImageOffset = line.Height - line.TextHeight;
                else if (align.contains(QLatin1String("MIDDLE")))
                    line.ImageOffset = (line.Height - line.TextHeight) / 2;
                line.Width = x + size.width();
            } else if (box) {
                const QRect at(box->Left + x + (stretched ? 0 : pic.Offset.x()),
                               box->Top + (stretched ? 0 : pic.Offset.y()), size.width(), size.height());
                if (mode == TMode::HitTest) {
                    if (f.InAnchor && at.contains(In.Point)) {
                        Out.AnchorHit = true;
                        Out.Anchor = f.AnchorValue;
                        Done = true;
                    }
                } else if (In.Canvas && pic.Image) {
                    In.Canvas->drawImage(at, *pic.Image);
                }
            }
            x = qMin(x + size.width(), kMaxCoordinate);
        } else {
            f.Font.setItalic(true);
            FontChanged();
        }
        break;
    case u'L':
        if (c1 == u'I') {
            if (mode == TMode::Measure) {
                if (line.HadListItem && pos > lineStart)
                    return TTagEffect::EndLineBefore;
                line.HadListItem = true;
            }
            const int level = qMax(1, State.ListLevel);
            if (mode == TMode::Draw && In.Canvas && box) {
                const QString bullet = level % 2 ? QStringLiteral("\u2022") : QStringLiteral("o");
                const TCellMetrics cell = CellMetrics(f.Font);
                const int bottom = TextBottom(line, *box);
                In.Canvas->setFont(f.Font);
                In.Canvas->setPen(f.Color);
                In.Canvas->drawText(box->Left + (level - 1) * kListIndent, bottom - cell.Descent, bullet);
            }
            x = qMax(x, level * kListIndent);
        }
        break;
    case u'P': {
        if (const auto align = Attribute(tag, "ALIGN")) {
            const QString a = align->toUpper();
            if (a == QLatin1String("LEFT"))
                State.Align = TParaAlign::Left;
            else if (a == QLatin1String("RIGHT"))
                State.Align = TParaAlign::Right;
            else if (a == QLatin1String("CENTER"))
                State.Align = TParaAlign::Center;
        }
        if (const auto indent = Attribute(tag, "INDENT"))
            State.Indent = ReadNumber(*indent);
        if (const auto bg = Attribute(tag, "BGCOLOR")) {
            State.ParaBg = HTMLToColor(*bg);
            const auto to = Attribute(tag, "BGCOLORTO");
            State.ParaBgTo = to ? HTMLToColor(*to) : QColor();
            if (mode == TMode::Measure) {
                line.ParaBg = State.ParaBg;
                line.ParaBgTo = State.ParaBgTo;
            }
        }
        break;
    }
    case u'R':
        if (const auto angle = Attribute(tag, "A")) {
            f.Rotated = true;
            f.Angle = ReadNumber(*angle) % 360;
        }
        break;
    case u'S':
        if (c1 == u'H') {
            f.Shadow = true;
        } else if (c1 == u'U') {
            f.Sup = c2 == u'P';
            f.Sub = !f.Sup;
        } else {
            f.Font.setStrikeOut(true);
            FontChanged();
        }
        break;
    case u'U':
        if (c1 == u'L') {
            State.ListLevel = qMin(State.ListLevel + 1, 1000);
            return TTagEffect::EndLineAfter;
        }
        f.Font.setUnderline(true);
        FontChanged();
        break;
    case u'Z':
        f.Hidden = true;
        break;
    default:
        break; // unknown tags are dropped
    }
    return TTagEffect::Continue;
}

TTagEffect TRenderer::Tag(TMode mode, qsizetype pos, qsizetype& next, TLine& line, const TBox* box, int& x) {
    const qsizetype n = Src.size();
    if (n - pos <= 2) {
        next = n;
        return TTagEffect::EndText;
    }
    const qsizetype close = Src.indexOf(u'>', pos);
    if (close < 0) {
        next = n;
        return TTagEffect::EndText;
    }
    next = close + 1;
    QString tag = Src.mid(pos + 1, close - pos - 1);
    const bool closing = tag.startsWith(u'/') && tag.size() >= 2;
    if (closing)
        tag.remove(0, 1);
    const QString name = tag.left(TagNameLength(tag)).toUpper();
    if (closing)
        return ClosingTag(name);
    return OpeningTag(mode, tag, name, line, box, x, LineStart, pos);
}

qsizetype TRenderer::MeasureLine(qsizetype pos, TLine& line) {
    const qsizetype n = Src.size();
    LineStart = pos;
    int x = 0;
    while (pos < n) {
        if (Src[pos] == u'<') {
            qsizetype next = pos;
            const TTagEffect effect = Tag(TMode::Measure, pos, next, line, nullptr, x);
            if (effect == TTagEffect::EndLineBefore)
                break;
            pos = next;
            if (effect == TTagEffect::EndText)
                line.EndText = true;
            if (effect != TTagEffect::Continue)
                break;
            continue;
        }
        const qsizetype end = RunEnd(pos, n);
        if (State.F.Hidden) {
            pos = end; // hidden text is only consumed
            continue;
        }
        const TRun run = MakeRun(Src.mid(pos, end - pos), line, true);
        {
            // A run that overflows wraps when the line so far ends between words; inside a
            // word (a tag in mid-word) it stays, so words are never split at tags. A
            // trailing space may hang past the right edge.
            const int w = run.Core;
            const int limit = Limit(nullptr);
            const bool overflow = x + w > limit;
            if (In.WordWrap) {
                if (overflow && w < limit && pos > LineStart &&
                    (line.Text.isEmpty() || line.Text.endsWith(u' ')))
                    break;
            } else if (overflow) {
                if (line.Runs > 0) {
                    line.EndText = true;
                    break;
                }
                line.EndText = true; // the run is cut with "..." and nothing follows it
            }
        }
        Text(TMode::Measure, run, line, nullptr, x);
        pos = end;
        if (line.EndText)
            break;
    }
    return pos;
}

void TRenderer::DrawLine(qsizetype pos, qsizetype end, const TLine& line, const TBox& box) {
    const TMode mode = In.CheckHotSpot ? TMode::HitTest : TMode::Draw;
    QPainter* p = mode == TMode::Draw ? In.Canvas : nullptr;
    const QRect boxRect(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top);
    if (p) {
        p->save();
        if (line.ParaBg.isValid())
            FillGradient(*p, boxRect, line.ParaBg, line.ParaBgTo.isValid() ? line.ParaBgTo : line.ParaBg,
                         true);
        // Text is clipped to its line box.
        p->setClipRect(boxRect, Qt::IntersectClip);
    }
    PendingRule = false;
    LineStart = pos;
    TLine work = line;
    int x = 0;
    while (pos < end && !Done) {
        if (Src[pos] == u'<') {
            qsizetype next = pos;
            Tag(mode, pos, next, work, &box, x);
            pos = next;
            continue;
        }
        const qsizetype stop = RunEnd(pos, end);
        if (!State.F.Hidden)
            Text(mode, MakeRun(Src.mid(pos, stop - pos), work, false), work, &box, x);
        pos = stop;
    }
    if (p) {
        p->restore();
        if (PendingRule) {
            p->setPen(Qt::black);
            p->drawLine(box.Left, box.Bottom, box.Right - 1, box.Bottom);
        }
    }
}

qsizetype TRenderer::NextOf(QChar c, qsizetype pos, qsizetype (&memo)[2]) {
    if (memo[0] < 0 || pos < memo[0] || pos > memo[1]) {
        memo[0] = pos;
        memo[1] = Src.indexOf(c, pos);
        if (memo[1] < 0)
            memo[1] = Src.size();
    }
    return memo[1];
}

qsizetype TRenderer::RunEnd(qsizetype pos, qsizetype limit) {
    qsizetype end = qMin(NextOf(u'<', pos, NextTag), limit);
    if (In.WordWrap) {
        const qsizetype space = NextOf(u' ', pos, NextSpace);
        if (space < end)
            end = space + 1;
    }
    return end;
}

THTMLRenderOut TRenderer::Run() {
    Src = PrepareHTMLText(In.Text);
    PenX = In.Rect.left() + 1;
    int y = In.Rect.top();
    qsizetype pos = 0;
    while (pos < Src.size() && !Done) {
        const TState lineStart = State;
        const int gh = CellMetrics(State.F.Font).Height();
        TLine line;
        line.Height = gh;
        line.TextHeight = gh;
        line.ParaBg = State.ParaBg;
        line.ParaBgTo = State.ParaBgTo;
        const qsizetype end = MeasureLine(pos, line);
        line.Height += In.LineSpacing;

        int x0 = PenX;
        const int w = line.Width;
        if (State.Align == TParaAlign::Right && x0 < Right - w)
            x0 = Right - w;
        else if (State.Align == TParaAlign::Center && Right - (x0 + w) > 0)
            x0 += (Right - (x0 + w)) / 2;
        x0 = qMin(x0 + State.Indent, kMaxCoordinate);
        const int advance = line.Height + line.SubExtra + line.SupExtra;
        const TBox box{x0, y, Right, y + advance};

        if (!In.MeasureOnly) {
            const TState measured = State;
            State = lineStart;
            FontChanged();
            DrawLine(pos, end, line, box);
            State = measured;
            FontChanged();
        }
        y = qMin(y + advance, kMaxCoordinate);
        Out.YSize = qMin(Out.YSize + advance, kMaxCoordinate);
        Out.XSize = qMax(Out.XSize, line.Width);
        pos = end;
        if (line.EndText)
            break;
        // A line is drawn only when a whole text line fits below the previous one.
        if (!In.MeasureOnly && Bottom < y + gh)
            break;
    }
    if (Src.isEmpty())
        Out.YSize = CellMetrics(In.Font).Height();
    Out.HyperLinks = State.AnchorCount;
    return Out;
}

} // namespace

QString PrepareHTMLText(const QString& text) {
    QString s = text.contains(u'&') ? ReplaceEntities(text, kEntities) : text;
    const qsizetype open = s.indexOf(QLatin1String("<#"));
    if (open >= 0) {
        const qsizetype close = s.indexOf(u'>', open + 2);
        if (close >= 0)
            s.remove(close, 1);
        s.remove(open, 2);
    }
    s.remove(u'\n');
    s.replace(u'\r', QLatin1String("<BR>"));
    return s;
}

THTMLRenderOut RenderHTML(const THTMLRenderIn& in) {
    TRenderer renderer(in);
    return renderer.Run();
}

} // namespace htmlctl
