#pragma once
// One HTML page of the layout matrix: a style sheet of the matrix's styles and one table whose
// cells are the matrix's objects.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>

namespace exports {

class TrpIEMatrix;
struct TrpIEMObject;
class TrpProgress;

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
    // Advanced at each page break; its Cancel stops the page (may be null).
    TrpProgress* Progress = nullptr;
};

// The page document of the prepared matrix; nothing when the progress window was cancelled.
std::optional<QByteArray> HtmlPageDocument(const TrpIEMatrix& matrix, const THTMLPageSettings& s);

} // namespace exports
