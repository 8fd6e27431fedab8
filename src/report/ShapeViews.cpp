#include "report/ShapeViews.h"

#include "report/Attributes.h"
#include "platform/Colors.h"

#include <QPainter>
#include <QPolygon>

namespace report {

namespace {

const char* const kShapeNames[] = {"skRectangle", "skRoundRectangle", "skEllipse",
                                   "skTriangle",  "skDiagonal1",      "skDiagonal2"};

} // namespace

// A line's geometry and frame are all it has; the view attributes cover them.
void TrpCustomLineView::WriteDiff(AttrWriter& w, const TrpComponent& source) const {
    TrpView::WriteDiff(w, source);
}

void TrpShapeView::Assign(const TrpComponent& source) {
    TrpView::Assign(source);
    if (auto* s = dynamic_cast<const TrpShapeView*>(&source))
        FShape = s->FShape;
}

void TrpShapeView::WriteFull(AttrWriter& w) const {
    TrpView::WriteFull(w);
    if (FShape != skRectangle)
        w.AddRaw("Shape", QString::fromLatin1(kShapeNames[FShape]));
}

bool TrpShapeView::SetAttribute(const QString& name, const QString& value) {
    if (TrpView::SetAttribute(name, value))
        return true;
    if (name != u"shape")
        return false;
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    if (ok) {
        if (n < skRectangle || n > skDiagonal2)
            return false;
        FShape = TrpShapeKind(n);
        return true;
    }
    for (int i = 0; i <= skDiagonal2; ++i)
        if (value.trimmed().compare(QLatin1String(kShapeNames[i]), Qt::CaseInsensitive) == 0) {
            FShape = TrpShapeKind(i);
            return true;
        }
    return false;
}

QString TrpRichView::PlainText() const {
    return RtfToPlainText(FRichText);
}

void TrpRichView::Assign(const TrpComponent& source) {
    TrpStretcheable::Assign(source);
    if (auto* s = dynamic_cast<const TrpRichView*>(&source))
        FRichText = s->FRichText;
}

void TrpRichView::WriteFull(AttrWriter& w) const {
    TrpStretcheable::WriteFull(w);
    if (!FRichText.isEmpty())
        w.Add("RichText", FRichText);
}

void TrpRichView::WriteDiff(AttrWriter& w, const TrpComponent& source) const {
    TrpStretcheable::WriteDiff(w, source);
    auto* s = dynamic_cast<const TrpRichView*>(&source);
    if (s && FRichText != s->FRichText)
        w.Add("RichText", FRichText);
}

bool TrpRichView::SetAttribute(const QString& name, const QString& value) {
    if (TrpStretcheable::SetAttribute(name, value))
        return true;
    if (name != u"richtext")
        return false;
    FRichText = value;
    return true;
}

std::unique_ptr<TrpComponent> CreateShapeView(const QString& className) {
    const QString n = className.toLower();
    if (n == u"trplineview")
        return std::make_unique<TrpLineView>();
    if (n == u"trpshapeview")
        return std::make_unique<TrpShapeView>();
    if (n == u"trprichview")
        return std::make_unique<TrpRichView>();
    return nullptr;
}

void DrawShape(QPainter& painter, const TrpShapeView& shape, const QRect& rect) {
    painter.save();
    const TrpFrame& f = shape.Frame();
    painter.setPen(f.Color == clNone ? QPen(Qt::NoPen) : QPen(ColorToQColor(f.Color), double(f.Width)));
    painter.setBrush(shape.Color() == clNone ? QBrush(Qt::NoBrush) : QBrush(ColorToQColor(shape.Color())));
    switch (shape.Shape()) {
    case skRectangle:
        painter.drawRect(rect);
        break;
    case skRoundRectangle: {
        const int r = std::min(rect.width(), rect.height()) / 4;
        painter.drawRoundedRect(rect, r, r);
        break;
    }
    case skEllipse:
        painter.drawEllipse(rect);
        break;
    case skTriangle:
        painter.drawPolygon(
            QPolygon({QPoint(rect.center().x(), rect.top()), rect.bottomRight(), rect.bottomLeft()}));
        break;
    case skDiagonal1:
        painter.drawLine(rect.bottomLeft(), rect.topRight());
        break;
    case skDiagonal2:
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        break;
    }
    painter.restore();
}

QString RtfToPlainText(const QString& rtf) {
    if (!rtf.trimmed().startsWith(QStringLiteral("{\\rtf")))
        return rtf;
    QString out;
    int depth = 0, skipDepth = -1;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const QChar c = rtf[i];
        if (c == '{') {
            ++depth;
            // Destination groups ({\*\...}, font and colour tables) hold no visible text.
            const QStringView rest = QStringView(rtf).mid(i + 1);
            if (skipDepth < 0 &&
                (rest.startsWith(u"\\*") || rest.startsWith(u"\\fonttbl") || rest.startsWith(u"\\colortbl") ||
                 rest.startsWith(u"\\stylesheet") || rest.startsWith(u"\\info")))
                skipDepth = depth;
            continue;
        }
        if (c == '}') {
            if (depth == skipDepth)
                skipDepth = -1;
            --depth;
            continue;
        }
        if (c == '\\') {
            if (i + 1 < rtf.size() && (rtf[i + 1] == '\\' || rtf[i + 1] == '{' || rtf[i + 1] == '}')) {
                if (skipDepth < 0)
                    out += rtf[i + 1];
                ++i;
                continue;
            }
            qsizetype j = i + 1;
            while (j < rtf.size() && rtf[j].isLetter())
                ++j;
            const QString word = rtf.mid(i + 1, j - i - 1);
            qsizetype k = j;
            if (k < rtf.size() && rtf[k] == '-')
                ++k;
            while (k < rtf.size() && rtf[k].isDigit())
                ++k;
            const QString arg = rtf.mid(j, k - j);
            if (word.isEmpty() && j < rtf.size() && rtf[j] == '\'') {
                // \'hh: a byte of the document's code page; Latin-1 keeps ASCII intact.
                bool ok = false;
                const int code = rtf.mid(j + 1, 2).toInt(&ok, 16);
                if (ok && skipDepth < 0)
                    out += QChar(code);
                i = j + 2;
                continue;
            }
            if (k < rtf.size() && rtf[k] == ' ')
                ++k;
            if (skipDepth < 0) {
                if (word == u"par" || word == u"line")
                    out += QStringLiteral("\r\n");
                else if (word == u"tab")
                    out += QLatin1Char('\t');
                else if (word == u"u" && !arg.isEmpty()) {
                    int code = arg.toInt();
                    if (code < 0)
                        code += 65536;
                    out += QChar(code);
                    if (k < rtf.size() && rtf[k] == '?')
                        ++k;
                }
            }
            i = k - 1;
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        if (skipDepth < 0 && depth > 0)
            out += c;
    }
    while (out.endsWith(QStringLiteral("\r\n")))
        out.chop(2);
    return out;
}

} // namespace report
