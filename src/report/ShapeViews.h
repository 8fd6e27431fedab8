#pragma once
// Views the calculation sheet does not use but prepared reports and the exports know:
// straight lines, shapes and rich text.

#include "report/Components.h"

namespace report {

// A straight line: a view of zero width (vertical) or zero height (horizontal), drawn in the
// frame's colour and width.
class TrpCustomLineView : public TrpStretcheable {};

class TrpLineView final : public TrpCustomLineView {
public:
    QString ClassName() const override { return QStringLiteral("TrpLineView"); }
};

enum TrpShapeKind { skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiagonal1, skDiagonal2 };

#define TRP_SHAPE_PROPERTIES(P, H) P(TrpShapeKind, Shape, skRectangle, ShapeName)

class TrpShapeView final : public TrpView {
    RP_PROPERTIES(TRP_SHAPE_PROPERTIES)
public:
    QString ClassName() const override { return QStringLiteral("TrpShapeView"); }
};

// Rich text kept as its RTF source.
#define TRP_RICH_PROPERTIES(P, H) P(QString, RichText, {}, String)

class TrpRichView final : public TrpStretcheable {
    RP_PROPERTIES(TRP_RICH_PROPERTIES)
public:
    QString ClassName() const override { return QStringLiteral("TrpRichView"); }
    // The text without its RTF control words and groups, lines joined with CR LF.
    QString PlainText() const;
};

// Creates one of the views above by class name (any case); nullptr for other names.
std::unique_ptr<TrpComponent> CreateShapeView(const QString& className);

// Draws a shape's outline and fill into its device rectangle.
void DrawShape(class QPainter& painter, const TrpShapeView& shape, const QRect& rect);

// RTF source to plain text (control words dropped, \par as a line break).
QString RtfToPlainText(const QString& rtf);

} // namespace report
