#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

namespace platform {
class TImageList;
}

namespace htmlctl {

using platform::TImageList;
class THTMLPictureCache;
class TPictureContainer;

// What RenderHTML lays out and where. Colours left invalid mean "none" (clNone).
struct THTMLRenderIn {
    QPainter* Canvas = nullptr; // may be null when only measuring or hit testing
    QFont Font;                 // the start font; sizes are pixel sizes
    QColor FontColor = Qt::black;
    QColor BrushColor; // background under the text (blink tags draw in it)
    QString Text;
    QRect Rect; // layout box
    const TImageList* Images = nullptr;
    QPoint Point;         // hit-test point
    int FocusAnchor = -1; // index of the focused anchor, -1 for none
    int HoverAnchor = -1; // index of the hovered anchor, -1 for none
    int ShadowOffset = 1;
    QColor ShadowColor = Qt::gray;
    bool CheckHotSpot = false; // lay out without drawing and look for an anchor under Point
    bool MeasureOnly = false;  // lay out every line, draw nothing
    bool Print = false;
    bool Selected = false;   // anchors keep the text colour (the item is drawn selected)
    bool Blink = false;      // blinking text is in its visible phase
    bool HoverStyle = false; // anchors are underlined only while hovered
    bool WordWrap = true;
    double Scale = 1.0; // pictures are laid out this much larger (printing)
    QColor URLColor = Qt::blue;
    QColor HoverColor;
    QColor HoverFontColor;
    THTMLPictureCache* PictureCache = nullptr;
    const TPictureContainer* PictureContainer = nullptr;
    int LineSpacing = 0;
};

struct THTMLRenderOut {
    bool AnchorHit = false; // an anchor lies under Point
    QString Anchor;         // its value
    QString StrippedText;   // the caption without tags (accelerator markers kept)
    QString FocusAnchor;    // value of the anchor with index FocusAnchor
    int XSize = 0;          // widest line, trailing space excluded
    int YSize = 0;          // sum of the line heights
    int HyperLinks = 0;     // number of anchors met
    QRect HoverRect;        // where the hovered anchor was drawn
};

// Lays the mini-HTML caption out into the box, line by line with word wrapping, and draws
// it (unless measuring or hit testing). Never fails on malformed text: unknown tags are
// dropped, an unterminated tag ends the text.
THTMLRenderOut RenderHTML(const THTMLRenderIn& in);

// The caption text before layout: entities replaced, "<#...>" markers opened, line feeds
// dropped and carriage returns turned into <BR>.
QString PrepareHTMLText(const QString& text);

} // namespace htmlctl
