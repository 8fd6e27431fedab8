#include "report/ShapeViews.h"

#include "platform/Colors.h"
#include "report/PropertyTable.h"

#include <QPainter>
#include <QPolygon>

namespace report {

namespace codec {
namespace {
constexpr const char* kShapeNames[] = {"skRectangle", "skRoundRectangle", "skEllipse",
                                       "skTriangle",  "skDiagonal1",      "skDiagonal2"};
} // namespace
using ShapeName = Enum<TrpShapeKind, kShapeNames>;
} // namespace codec

const ClassProperties& TrpShapeView::Properties() {
    static const ClassProperties table(&TrpView::Properties(), IsA<TrpShapeView>,
                                       [](ClassProperties::Rows& t) {
                                           using Self = TrpShapeView;
                                           RP_DESCRIBE_ROWS(TRP_SHAPE_PROPERTIES)
                                       });
    return table;
}

const ClassProperties& TrpRichView::Properties() {
    static const ClassProperties table(&TrpStretcheable::Properties(), IsA<TrpRichView>,
                                       [](ClassProperties::Rows& t) {
                                           using Self = TrpRichView;
                                           RP_DESCRIBE_ROWS(TRP_RICH_PROPERTIES)
                                           t.Diff({{"RichText"}});
                                       });
    return table;
}

QString TrpRichView::PlainText() const {
    return RtfToPlainText(FRichText);
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
