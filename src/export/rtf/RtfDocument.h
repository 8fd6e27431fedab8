#pragma once
// The RTF document of a prepared layout matrix: one table row per grid row, one cell per
// object, vertically merged where an object spans rows, a section per report page.

#include "platform/Colors.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>

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

// One page's part of each group of the document.
struct TrpRTFPageParts {
    QByteArray Header, Footer, Body;
};

// The document of a report written page by page: a table row per grid row, a section per page.
class TrpRTFDocument {
public:
    // The matrix holds one prepared page at a time.
    TrpRTFDocument(TrpIEMatrix& matrix, const TrpRTFDocumentOptions& options);
    ~TrpRTFDocument();

    // The rows of the matrix's page (number counts from 0) in the header, footer and body.
    TrpRTFPageParts Page(int number);
    // What comes before the groups: the font and colour tables of every page so far, the
    // document's information and the first page's section settings.
    QByteArray Head() const;

private:
    class Writer;
    std::unique_ptr<Writer> FWriter;
};

} // namespace exports
