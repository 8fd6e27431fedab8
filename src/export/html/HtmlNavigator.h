#pragma once
// The navigator of an HTML export: a frameset with a small page of page buttons above the
// report's pages.

#include <QByteArray>
#include <QString>

namespace exports {

struct THTMLNavigatorSettings {
    int PageCount = 0;
    QString ReportName; // the report's file name, for the refresh address
    bool Multipage = false;
    QString PagePrefix; // what the page files' links start with, seen from the navigator
    QString Title;
    bool ExtraButtons = false;
    QString PrintTarget;   // an address instead of printing the main frame
    QString RefreshTarget; // the refresh button's address
    QString StripPrefix;   // removed once from the report name
};

// "nav.html": the buttons first, previous, next and last, the page box and the page count.
QByteArray HtmlNavigatorPage(const THTMLNavigatorSettings& s);

// The frameset: the navigator above, the main frame below. framePrefix: the link of the
// folder holding nav.html and the pages.
QByteArray HtmlFrameset(const QString& title, const QString& framePrefix, bool multipage);

// Every byte but digits and ASCII letters as "%" and two upper-case hex digits.
QString UrlEscape(const QString& text);

} // namespace exports
