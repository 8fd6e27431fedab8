#include "report/DrawText.h"

#include "platform/Colors.h"
#include "platform/Units.h"
#include "report/Components.h"
#include "report/FontCache.h"
#include "report/Limits.h"

#include <QGlyphRun>
#include <QPainter>
#include <cmath>

namespace report {

namespace {

const QString kConsonants = QStringLiteral("БВГДЖЗЙКЛМНПРСТФХЦЧШЩЬЪ");
const QString kVowels = QStringLiteral("АЕЁИОУЫЭЮЯ");
const QString kSigns = QStringLiteral("ЬЪ");
const QString kWordEnd = QStringLiteral(" .,-;");

bool IsVowel(QChar c) {
    return kVowels.contains(c);
}
bool IsConsonant(QChar c) {
    return kConsonants.contains(c);
}

int MeasurePixels(int size) {
    return int(std::lround(limits::ClampFontSize(size) * double(TrpDrawText::MeasureDPI) / PointsPerInch));
}

// Spacing in device (or measuring) pixels, from a value bounded first.
int SpacingPixels(Extended units, Extended scale) {
    return limits::DevicePixel(limits::ClampSpacing(units) * scale);
}

TrpHTMLTag BaseTag(const TrpFont& font) {
    return TrpHTMLTag{font.Size, false, false, font.Style, font.Color};
}

bool ParseHexColor(const QString& value, TColor& color) {
    // "#RRGGBB" in double quotes, stored the Windows way round.
    if (value.size() != 9 || value[0] != '"' || value[1] != '#' || value[8] != '"')
        return false;
    bool ok = false;
    const uint rgb = value.mid(2, 6).toUInt(&ok, 16);
    if (!ok)
        return false;
    color = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    return true;
}

bool IsThreeLetters(const QString& tag) {
    if (tag.size() != 3)
        return false;
    for (QChar c : tag)
        if (!c.isLetter())
            return false;
    return true;
}

} // namespace

TrpDrawText::TrpDrawText() = default;

// ---- tags ----

QString TrpDrawText::ParseTags(const QString& line, const TrpFont& font, TrpHTMLTag& state,
                               std::vector<TrpHTMLTag>& tags) {
    QString out;
    out.reserve(line.size());
    tags.clear();
    tags.reserve(size_t(line.size()));
    const int reduced = int(std::lround(font.Size / 1.5));
    auto setStyle = [&](int bit, bool on) { state.Style = on ? (state.Style | bit) : (state.Style & ~bit); };
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '<') {
            const qsizetype end = line.indexOf(QLatin1Char('>'), i + 1);
            if (end > i) {
                const QString tag = line.mid(i + 1, end - i - 1);
                const QString t = tag.toLower();
                bool handled = true;
                if (t == u"b" || t == u"/b")
                    setStyle(fsBold, t == u"b" || (font.Style & fsBold));
                else if (t == u"i" || t == u"/i")
                    setStyle(fsItalic, t == u"i" || (font.Style & fsItalic));
                else if (t == u"u" || t == u"/u")
                    setStyle(fsUnderline, t == u"u" || (font.Style & fsUnderline));
                else if (t == u"strike" || t == u"/strike")
                    setStyle(fsStrikeOut, t == u"strike" || (font.Style & fsStrikeOut));
                else if (t == u"sub" || t == u"sup") {
                    state.Size = reduced;
                    state.Reduced = true;
                    state.Shifted = t == u"sub";
                } else if (t == u"/sub" || t == u"/sup") {
                    state.Size = font.Size;
                    state.Reduced = false;
                    state.Shifted = false;
                } else if (t == u"/font")
                    state.Color = font.Color;
                else if (t.startsWith(QStringLiteral("font color="))) {
                    const QString value = tag.mid(11).trimmed();
                    TColor c;
                    if (ParseHexColor(value, c) ||
                        (!value.startsWith(QLatin1Char('"')) && ColorByName(value, c)))
                        state.Color = c;
                    else
                        handled = false;
                } else
                    handled = IsThreeLetters(t);
                if (handled) {
                    i = end;
                    continue;
                }
            }
        }
        out += line[i];
        tags.push_back(state);
    }
    return out;
}

// ---- measuring ----

int TrpDrawText::MeasureChar(QChar c, const TrpHTMLTag* tag) const {
    const int style = tag ? tag->Style : FSettings.Font.Style;
    const int size = tag ? tag->Size : FSettings.Font.Size;
    return FontMetricsFor(FSettings.Font.Name, style, MeasurePixels(size), false).Advance(c.unicode()) +
           FCharSpacing600;
}

std::vector<int> TrpDrawText::Measure(const QString& text, const std::vector<TrpHTMLTag>& tags, int from,
                                      int to) const {
    std::vector<int> cum(size_t(to - from));
    // Summed wide and held below a bound, so that no text, however long, overflows.
    constexpr long long widest = 1 << 30;
    long long sum = 0;
    if (tags.empty()) {
        TrpFontMetrics& m = FontMetricsFor(FSettings.Font.Name, FSettings.Font.Style,
                                           MeasurePixels(FSettings.Font.Size), false);
        for (int i = from; i < to; ++i) {
            sum =
                std::clamp<long long>(sum + m.Advance(text[i].unicode()) + FCharSpacing600, -widest, widest);
            cum[size_t(i - from)] = int(sum);
        }
        return cum;
    }
    for (int i = from; i < to; ++i) {
        sum = std::clamp<long long>(sum + MeasureChar(text[i], &tags[size_t(i)]), -widest, widest);
        cum[size_t(i - from)] = int(sum);
    }
    return cum;
}

// ---- hyphenation ----

std::vector<int> TrpDrawText::HyphenPoints(const QString& word) {
    std::vector<int> points;
    const QString w = word.toUpper();
    const int n = int(w.size());
    if (n <= 3)
        return points;
    for (int i = 0; i < n - 1; ++i) {
        const QChar c = w[i], next = w[i + 1];
        bool point = false;
        if (IsConsonant(c))
            point = !IsVowel(next) && !kSigns.contains(next);
        else if (IsVowel(c)) {
            point = next != QChar(0x0419); // Й
            if (point && i + 3 < n && w[i + 1] == w[i + 2] && IsConsonant(w[i + 1]) && IsVowel(w[i + 3]))
                point = false;
        }
        if (!point)
            continue;
        const QString head = w.left(i + 1), tail = w.mid(i + 1);
        auto hasVowel = [](const QString& s) {
            for (QChar ch : s)
                if (IsVowel(ch))
                    return true;
            return false;
        };
        if (head.size() > 1 && tail.size() > 1 && hasVowel(head) && hasVowel(tail))
            points.push_back(i + 1);
    }
    return points;
}

// ---- layout ----

void TrpDrawText::BreakLine(const QString& text, const std::vector<TrpHTMLTag>& tags, int width,
                            int firstWidth) {
    const int n = int(text.size());
    const size_t firstLine = FLines.size();
    auto addLine = [&](int s, int e, const std::vector<int>& cum, bool hyphen) {
        TrpTextLine line;
        line.Text = text.mid(s, e - s);
        const int base = s > 0 ? cum[size_t(s - 1)] : 0;
        line.Cumulative.reserve(size_t(e - s + 1));
        for (int k = s; k < e; ++k)
            line.Cumulative.push_back(cum[size_t(k)] - base);
        if (!tags.empty())
            line.Tags.assign(tags.begin() + s, tags.begin() + e);
        if (hyphen) {
            const TrpHTMLTag* tag = tags.empty() ? nullptr : &tags[size_t(e - 1)];
            line.Text += QLatin1Char('-');
            line.Cumulative.push_back(line.Width() + MeasureChar(QLatin1Char('-'), tag));
            if (tag)
                line.Tags.push_back(*tag);
        }
        line.ParagraphStart = s == 0;
        FLines.push_back(std::move(line));
    };

    const std::vector<int> cum = Measure(text, tags, 0, n);
    if (!FSettings.WordWrap || n == 1 || cum.back() <= firstWidth) {
        addLine(0, n, cum, false);
    } else {
        int start = 0;
        bool first = true;
        while (start < n) {
            const int avail = first ? firstWidth : width;
            first = false;
            const int base = start > 0 ? cum[size_t(start - 1)] : 0;
            if (cum[size_t(n - 1)] - base <= avail) {
                addLine(start, n, cum, false);
                break;
            }
            int lastSpace = -1;
            int i = start;
            while (i < n && cum[size_t(i)] - base <= avail) {
                if (text[i] == ' ')
                    lastSpace = i;
                ++i;
            }
            bool done = false;
            if (FSettings.WordBreak) {
                const int ws = lastSpace >= start ? lastSpace + 1 : start;
                int we = i;
                while (we < n && !kWordEnd.contains(text[we]))
                    ++we;
                const std::vector<int> points = HyphenPoints(text.mid(ws, we - ws));
                for (auto p = points.rbegin(); p != points.rend() && !done; ++p) {
                    const int cut = ws + *p;
                    if (cut <= start || cut > i)
                        continue;
                    const TrpHTMLTag* tag = tags.empty() ? nullptr : &tags[size_t(cut - 1)];
                    if (cum[size_t(cut - 1)] - base + MeasureChar(QLatin1Char('-'), tag) <= avail) {
                        addLine(start, cut, cum, true);
                        start = cut;
                        done = true;
                    }
                }
            }
            if (done)
                continue;
            if (lastSpace > start) {
                addLine(start, lastSpace, cum, false);
                start = lastSpace + 1;
            } else if (i == start) {
                addLine(start, start + 1, cum, false);
                start += 1;
            } else {
                addLine(start, i, cum, false);
                start = i;
            }
        }
    }
    if (FLines.size() > firstLine)
        FLines.back().ParagraphEnd = true;
}

void TrpDrawText::Layout(const QStringList& lines, const TrpTextSettings& settings, Extended widthUnits) {
    FSettings = settings;
    FLines.clear();
    FCharSpacing600 = SpacingPixels(settings.CharSpacing, MeasureFactor);
    FFontHeight600 =
        FontMetricsFor(settings.Font.Name, settings.Font.Style, MeasurePixels(settings.Font.Size), false)
            .CellHeight();
    const int width = limits::DevicePixel(widthUnits * MeasureFactor);
    const int firstWidth = width - SpacingPixels(settings.ParagraphGap, MeasureFactor);
    TrpHTMLTag state = BaseTag(settings.Font);
    std::vector<TrpHTMLTag> tags;
    for (const QString& source : lines) {
        QString text = source.isEmpty() ? QStringLiteral(" ") : source;
        if (settings.AllowHTMLTags) {
            text = ParseTags(text, settings.Font, state, tags);
            if (text.isEmpty()) {
                text = QStringLiteral(" ");
                tags.assign(1, state);
            }
        } else {
            tags.clear();
        }
        BreakLine(text, tags, width, firstWidth);
    }
}

Extended TrpDrawText::CalcHeight() const {
    return Extended(FLines.size()) * (FFontHeight600 / MeasureFactor + FSettings.LineSpacing);
}

Extended TrpDrawText::CalcWidth() const {
    const int gap = SpacingPixels(FSettings.ParagraphGap, MeasureFactor);
    int widest = 0;
    for (const TrpTextLine& line : FLines)
        widest = std::max(widest, line.Width() + (line.ParagraphStart ? gap : 0));
    return widest / MeasureFactor;
}

// ---- drawing ----

void TrpDrawText::SpreadEvenly(std::vector<int>& cells, int first, int count, int n) {
    if (count <= 0 || n == 0)
        return;
    const int sign = n < 0 ? -1 : 1;
    int pixels = std::abs(n);
    if (pixels >= count) {
        const int q = pixels / count;
        for (int i = 0; i < count; ++i)
            cells[size_t(first + i)] += sign * q;
        pixels -= q * count;
    }
    // Recursive halving: one pixel to the last slot of the first half, else n div 2 to the
    // first half and the rest to the second.
    struct Spread {
        std::vector<int>& S;
        int Sign;
        void operator()(int from, int cnt, int px) {
            if (px <= 0 || cnt <= 0)
                return;
            const int half = std::max(cnt / 2, 1);
            if (px == 1) {
                S[size_t(from + half - 1)] += Sign;
                return;
            }
            (*this)(from, half, px / 2);
            (*this)(from + half, cnt - half, px - px / 2);
        }
    } spread{cells, sign};
    spread(first, count, pixels);
}

int TrpDrawText::DeviceFontPixels(int size, const TrpTextTarget& target) const {
    size = limits::ClampFontSize(size);
    if (target.PrinterDPI > 0)
        return int(std::lround(target.PrinterDPI * size / double(PointsPerInch)));
    return limits::DevicePixel(size * target.ScaleY * ScreenDPI / PointsPerInch);
}

std::vector<int> TrpDrawText::DeviceAdvances(const TrpTextLine& line, const TrpTextTarget& target) const {
    const int n = int(line.Text.size());
    std::vector<int> adv(static_cast<size_t>(n), 0);
    const int spacing = SpacingPixels(FSettings.CharSpacing, target.ScaleX);
    long long sum = 0;
    for (int i = 0; i < n; ++i) {
        const TrpHTMLTag tag = line.Tags.empty() ? BaseTag(FSettings.Font) : line.Tags[size_t(i)];
        TrpFontMetrics& m =
            FontMetricsFor(FSettings.Font.Name, tag.Style, DeviceFontPixels(tag.Size, target), true);
        adv[size_t(i)] = m.Advance(line.Text[i].unicode()) + spacing;
        sum += adv[size_t(i)];
    }
    const Extended measured = line.Width();
    const int wanted =
        limits::DevicePixel(target.PrinterDPI > 0 ? measured * target.PrinterDPI / Extended(MeasureDPI)
                                                  : measured / MeasureFactor * target.ScaleX);
    SpreadEvenly(adv, 0, n, int(std::clamp<long long>(wanted - sum, -(1 << 30), 1 << 30)));
    return adv;
}

std::vector<qreal> TrpDrawText::ScaledAdvances(const TrpTextLine& line, Extended scaleX) const {
    std::vector<qreal> adv(line.Cumulative.size());
    const Extended k = scaleX / MeasureFactor;
    int previous = 0;
    for (size_t i = 0; i < adv.size(); ++i) {
        adv[i] = qreal((line.Cumulative[i] - previous) * k);
        previous = line.Cumulative[i];
    }
    return adv;
}

TrpPlacedText TrpDrawText::Place(const TrpTextTarget& target, bool onlyVisible) const {
    TrpPlacedText placed;
    if (FLines.empty())
        return placed;
    const int rotation = FSettings.Rotation;
    QRect rect = target.TextRect;
    if (rotation != 0) {
        // Rotated text is placed in a frame turned about the rectangle's centre.
        const bool across = (rotation >= 90 && rotation < 180) || (rotation >= 270 && rotation < 360);
        const int w = across ? rect.height() : rect.width();
        const int h = across ? rect.width() : rect.height();
        rect = QRect(-w / 2, -h / 2, w, h);
    }

    const Extended scaleY = target.PrinterDPI > 0 ? target.PrinterDPI / Extended(ScreenDPI) : target.ScaleY;
    const Extended scaleX = target.PrinterDPI > 0 ? target.PrinterDPI / Extended(ScreenDPI) : target.ScaleX;
    // At 100 % on screen and on a printer, hinted glyphs sit on whole pixels and the layout's
    // widths are spread over their advances. At any other zoom the whole-pixel font sizes and
    // advances no longer match the layout (an 8-point font is 8.4 pixels at 79 %), and the
    // spread pixels open visible gaps inside words: the layout is scaled instead, glyphs at a
    // fractional size and at fractional positions.
    const bool scaled = target.PrinterDPI == 0 && (target.ScaleX != 1 || target.ScaleY != 1);
    auto fontOf = [&](const TrpHTMLTag& tag) -> TrpFontMetrics& {
        if (scaled)
            return ScaledFontFor(FSettings.Font.Name, tag.Style,
                                 qreal(tag.Size * scaleY * ScreenDPI / PointsPerInch));
        return FontMetricsFor(FSettings.Font.Name, tag.Style, DeviceFontPixels(tag.Size, target), true);
    };
    auto ascentOf = [&](TrpFontMetrics& m) { return scaled ? qreal(m.Raw().ascent()) : qreal(m.Ascent()); };
    TrpFontMetrics& base = fontOf(BaseTag(FSettings.Font));

    // Line tops: whole-pixel steps of the device font with the layout's height spread over
    // the gaps, or the layout's own steps scaled.
    const int lines = int(FLines.size());
    const int step = base.CellHeight() + SpacingPixels(FSettings.LineSpacing, scaleY);
    const int block = limits::DevicePixel(CalcHeight() * scaleY);
    std::vector<qreal> tops(size_t(lines), 0);
    if (scaled) {
        const Extended unitStep = FFontHeight600 / MeasureFactor + FSettings.LineSpacing;
        for (int li = 0; li < lines; ++li)
            tops[size_t(li)] = qreal(li * unitStep * scaleY);
    } else {
        std::vector<int> gaps(size_t(std::max(lines - 1, 0)), step);
        if (lines > 1)
            SpreadEvenly(gaps, 0, lines - 1,
                         int(std::clamp<long long>(block - (long long)lines * step, -(1 << 30), 1 << 30)));
        for (int li = 1; li < lines; ++li)
            tops[size_t(li)] = tops[size_t(li - 1)] + gaps[size_t(li - 1)];
    }
    int y = rect.top();
    if (FSettings.VAlign == vaBottom)
        y = rect.top() + rect.height() - block;
    else if (FSettings.VAlign == vaCenter)
        y = rect.top() + int(std::lround((rect.height() - block) / 2.0));
    const int firstY = y;

    const int paragraphGap = SpacingPixels(FSettings.ParagraphGap, scaleX);
    const bool boldOrItalic = FSettings.Font.Style & (fsBold | fsItalic);
    // A clipped text shows only the lines within its object; the others are passed over, so
    // a long text costs no more to draw than it shows.
    const bool skipHidden = onlyVisible && rotation == 0 && step > 1;
    const int margin = 2 * base.CellHeight();
    placed.Lines.resize(size_t(lines));
    for (int li = 0; li < lines; ++li) {
        const TrpTextLine& line = FLines[size_t(li)];
        TrpPlacedLine& at = placed.Lines[size_t(li)];
        at.Top = y + tops[size_t(li)];
        at.Baseline = int(std::lround(at.Top + ascentOf(base)));
        if (skipHidden && (at.Top - margin > target.ObjectRect.bottom() ||
                           (li + 1 < lines && at.Top + margin < target.ObjectRect.top()))) {
            at.Shown = false;
            continue;
        }
        std::vector<qreal> adv;
        if (scaled) {
            adv = ScaledAdvances(line, scaleX);
        } else {
            const std::vector<int> whole = DeviceAdvances(line, target);
            adv.assign(whole.begin(), whole.end());
        }
        qreal lineWidth = 0;
        for (qreal a : adv)
            lineWidth += a;
        const qreal free = rect.width() - lineWidth;
        qreal x = rect.left();
        TrpHAlign align = FSettings.HAlign;
        if (align == haBlock && line.ParagraphEnd)
            align = FSettings.RTLReading ? haRight : haLeft;
        switch (align) {
        case haLeft:
            x += line.ParagraphStart ? paragraphGap : 0;
            break;
        case haRight:
            x = rect.left() + rect.width() - lineWidth - ((boldOrItalic && rotation == 0) ? 2 : 1);
            break;
        case haCenter: {
            const int half = int(free) / 2; // whole pixels on a whole-pixel device
            x += scaled ? free / 2 : half;
            break;
        }
        case haBlock: {
            x += line.ParagraphStart ? paragraphGap : 0;
            std::vector<int> spaces;
            for (int i = 0; i < int(line.Text.size()); ++i)
                if (line.Text[i] == ' ' || line.Text[i] == QChar(0xA0))
                    spaces.push_back(i);
            const qreal extra = free - (line.ParagraphStart ? paragraphGap : 0);
            if (!spaces.empty() && extra > 0) {
                const int count = int(spaces.size());
                const int q = int(extra) / count;
                int r = int(extra) % count;
                for (int sp : spaces)
                    adv[size_t(sp)] += scaled ? extra / count : q + (r-- > 0 ? 1 : 0);
                at.Justify = extra;
                at.Spaces = count;
            }
            break;
        }
        }
        at.X = x;

        // Runs of equal attributes.
        const int n = int(line.Text.size());
        int runStart = 0;
        qreal runX = x;
        while (runStart < n) {
            TrpTextRun run;
            run.Line = li;
            run.From = runStart;
            run.Tag = line.Tags.empty() ? BaseTag(FSettings.Font) : line.Tags[size_t(runStart)];
            int runEnd = runStart + 1;
            while (runEnd < n && (line.Tags.empty() || line.Tags[size_t(runEnd)] == run.Tag))
                ++runEnd;
            run.To = runEnd;
            run.Font = &fontOf(run.Tag);
            run.Glyphs.reserve(runEnd - runStart);
            run.Positions.reserve(runEnd - runStart);
            qreal gx = 0;
            for (int i = runStart; i < runEnd; ++i) {
                run.Glyphs.append(run.Font->Glyph(line.Text[i].unicode()));
                run.Positions.append(QPointF(gx, 0));
                gx += adv[size_t(i)];
            }
            const qreal shift = run.Tag.Shifted ? (scaled ? qreal(run.Tag.Size * scaleY)
                                                          : limits::DevicePixel(run.Tag.Size * scaleY))
                                                : 0;
            run.X = runX;
            run.Width = gx;
            run.Baseline = int(std::lround(at.Top + shift + ascentOf(*run.Font)));
            const int before = runStart > 0 ? line.Cumulative[size_t(runStart - 1)] : 0;
            run.LayoutLeft = before / MeasureFactor;
            run.LayoutWidth = (line.Cumulative[size_t(runEnd - 1)] - before) / MeasureFactor;
            placed.Runs.push_back(std::move(run));
            runX += gx;
            runStart = runEnd;
        }
    }

    if (FSettings.Underlines && rotation == 0 && FSettings.Frame.Color != clNone) {
        placed.RuleWidth =
            std::max(1, limits::DevicePixel(limits::ClampFrameWidth(FSettings.Frame.Width) * scaleY));
        const qreal rule =
            scaled ? qreal((FFontHeight600 / MeasureFactor + FSettings.LineSpacing) * scaleY) : step;
        for (int k = 1; rule > 0; ++k) {
            const int ry = firstY + int(std::lround(k * rule));
            if (ry >= target.ObjectRect.bottom())
                break;
            placed.Rules.push_back(ry);
        }
    }
    return placed;
}

void TrpDrawText::Draw(QPainter& painter, const TrpTextTarget& target) const {
    if (FLines.empty())
        return;
    painter.save();
    if (FSettings.Clipped)
        painter.setClipRect(target.ObjectRect, Qt::IntersectClip);
    if (FSettings.Rotation != 0) {
        const QRect& rect = target.TextRect;
        painter.translate(QPointF(rect.left() + rect.width() / 2.0, rect.top() + rect.height() / 2.0));
        painter.rotate(-FSettings.Rotation); // counter-clockwise, as the font escapement turns
    }
    const TrpPlacedText placed = Place(target, FSettings.Clipped);
    for (const TrpTextRun& run : placed.Runs) {
        QGlyphRun glyphs;
        glyphs.setRawFont(run.Font->Raw());
        glyphs.setGlyphIndexes(run.Glyphs);
        glyphs.setPositions(run.Positions);
        const QColor color = ColorToQColor(run.Tag.Color);
        painter.setPen(color);
        painter.drawGlyphRun(QPointF(run.X, run.Baseline), glyphs);
        const QRawFont& raw = run.Font->Raw();
        const int thickness = std::max(1, int(std::lround(raw.lineThickness())));
        const int left = int(std::lround(run.X)), width = int(std::lround(run.X + run.Width)) - left;
        if (run.Tag.Style & fsUnderline)
            painter.fillRect(
                left, run.Baseline + std::max(1, int(std::lround(raw.underlinePosition()))) - thickness / 2,
                width, thickness, color);
        if (run.Tag.Style & fsStrikeOut)
            painter.fillRect(left, run.Baseline - int(std::lround(raw.xHeight() / 2)), width, thickness,
                             color);
    }
    if (!placed.Rules.empty()) {
        const QColor color = ColorToQColor(FSettings.Frame.Color);
        const QRect& o = target.ObjectRect;
        for (int ry : placed.Rules)
            painter.fillRect(o.left(), ry - placed.RuleWidth / 2, o.width(), placed.RuleWidth, color);
    }
    painter.restore();
}

TrpFont ShownFont(const TrpCustomMemoView& memo) {
    TrpFont font = memo.Font();
    if (memo.Highlight().Active) {
        font.Color = memo.Highlight().Font.Color;
        font.Style = memo.Highlight().Font.Style;
    }
    return font;
}

TColor ShownFill(const TrpCustomMemoView& memo) {
    return memo.Highlight().Active && memo.Highlight().Color != clNone ? memo.Highlight().Color
                                                                       : memo.Color();
}

TrpTextSettings MemoTextSettings(const TrpCustomMemoView& memo) {
    TrpTextSettings s;
    s.Font = ShownFont(memo);
    s.WordWrap = memo.WordWrap();
    s.WordBreak = memo.WordBreak();
    s.AllowHTMLTags = memo.AllowHTMLTags();
    s.Clipped = memo.Clipped();
    s.RTLReading = memo.RTLReading();
    s.Rotation = memo.Rotation();
    s.LineSpacing = memo.LineSpacing();
    s.CharSpacing = memo.CharSpacing();
    s.ParagraphGap = memo.ParagraphGap();
    s.HAlign = memo.HAlign();
    s.VAlign = memo.VAlign();
    s.Underlines = memo.Underlines();
    s.Frame = memo.Frame();
    return s;
}

QSizeF MemoNeededSize(TrpDrawText& engine, const TrpCustomMemoView& memo) {
    const TrpFrame& f = memo.Frame();
    const Extended frameX = ((f.Typ & ftLeft) ? f.Width / 2 : 0) + ((f.Typ & ftRight) ? f.Width / 2 : 0);
    const Extended frameY = ((f.Typ & ftTop) ? f.Width / 2 : 0) + ((f.Typ & ftBottom) ? f.Width / 2 : 0);
    const Extended width = memo.AutoWidth() ? 100000 : memo.Width() - 2 * memo.GapX() - frameX;
    engine.Layout(memo.Memo(), MemoTextSettings(memo), std::max<Extended>(width, 1));
    return QSizeF(double(engine.CalcWidth() + 2 * memo.GapX() + frameX),
                  double(engine.CalcHeight() + 2 * memo.GapY() + frameY));
}

void DrawMemoText(QPainter& painter, TrpDrawText& engine, const TrpCustomMemoView& memo,
                  const TrpTextTarget& target, Extended layoutWidthUnits) {
    engine.Layout(memo.Memo(), MemoTextSettings(memo), layoutWidthUnits);
    engine.Draw(painter, target);
}

} // namespace report
