#pragma once
// The RTF document of a prepared layout matrix: one table row per grid row, one cell per
// object, vertically merged where an object spans rows, a section per report page.

#include "platform/Colors.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>

namespace exports {

class TrpIEMatrix;
struct TrpIEMStyle;
class TrpProgress;

enum TrpHeaderFooterMode { hfText, hfPrint, hfNone };

// Text as RTF: "\", "{" and "}" escaped, CR LF inside the text as a line break, everything
// beyond ASCII as a Unicode escape with "?" for readers that do not know it.
QByteArray RtfText(const QString& text);
// A colour table entry: "\redR\greenG\blueB;".
QByteArray RtfColor(platform::TColor color);
// A bitmap as a metafile that draws it (the picture data of "\pict\wmetafile8"), in hex lines.
QByteArray RtfMetafile(const QImage& bitmap);

struct TrpRTFDocumentOptions {
    bool PageBreaks = true;
    bool Pictures = true;
    TrpHeaderFooterMode HeaderFooterMode = hfText;
    QString Title;
    QString Author;
    QDateTime Created;
};

// Builds the document; the progress (when given) advances per grid row of each pass, and its
// Cancel ends the rows early while the groups and the document are still closed. Returns false
// when cancelled.
bool WriteRTFDocument(TrpIEMatrix& matrix, const TrpRTFDocumentOptions& options, TrpProgress* progress,
                      QByteArray& out);

} // namespace exports
