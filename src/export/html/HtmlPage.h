#pragma once
// One HTML page of the layout matrix: a style sheet of the matrix's styles and one table whose
// cells are the matrix's objects.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace exports {

class TrpIEMatrix;
struct TrpIEMObject;

// The first lines of every page we write: doctype, character set, generator.
QByteArray HtmlHead(const QByteArray& doctype, const QString& title);

struct THTMLPageSettings {
    bool ExportStyles = true;
    bool FixedWidth = true;
    bool Centered = false;
    bool Multipage = false;
    QString Title;
    QString PagePrefix; // what links to another page file start with
    QString Background; // the link of the body's background picture, "" for none
    // Saves a cell's picture and returns its link.
    std::function<QString(const QImage&)> Picture;
    // Whether an object's text renders HTML tags.
    std::function<bool(const TrpIEMObject&)> Tagged;
};

// A document of page tables written one page at a time: the head, which holds the style sheet
// of every page, is asked for after the last table.
class THTMLPageWriter {
public:
    explicit THTMLPageWriter(THTMLPageSettings settings);

    // The table of the matrix's prepared page; from the second table on, with the page's anchor
    // and a page break before it.
    QByteArray Table(const TrpIEMatrix& m);
    // Everything before the first table: the style sheet of every style the matrix numbered.
    QByteArray Head(const TrpIEMatrix& m);
    static QByteArray Tail();

    THTMLPageSettings& Settings() { return FSettings; }

private:
    const std::vector<long double>& Pitches(const TrpIEMatrix& m);

    THTMLPageSettings FSettings;
    std::vector<long double> FPitches; // line distance of each style
    int FTables = 0;
};

// The whole document of one prepared matrix.
QByteArray HtmlPageDocument(const TrpIEMatrix& matrix, const THTMLPageSettings& s);

} // namespace exports
