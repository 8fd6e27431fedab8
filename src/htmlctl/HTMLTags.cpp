// Captions in the engine's small HTML: what each tag does to the font, the line and the box.
#include "htmlctl/HTMLRenderer.h"

namespace htmlctl::render {

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
            f.BgColor = platform::ColorToQColor(platform::clHighlight);
            f.Color = platform::ColorToQColor(platform::clHighlightText);
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

} // namespace htmlctl::render
