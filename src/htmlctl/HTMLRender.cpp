// Captions in the engine's small HTML: runs of text measured into lines and drawn.
#include "htmlctl/HTMLRenderer.h"

namespace htmlctl {
namespace render {

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

} // namespace render

using namespace render;

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
