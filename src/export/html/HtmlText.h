#pragma once
// Text as it goes into an HTML page: memo texts, attribute values and links. Nothing that came
// from a report becomes markup or script: characters are escaped, the tags a memo renders are
// written as the page's own tags, and links of other schemes than the web's are left out.

#include "report/ReportTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace exports {

// "&", "<", ">" and '"' as character references.
QString HtmlEscape(const QString& text);

// A memo's lines as cell content: one trailing line break dropped, line breaks as "<br>",
// special characters escaped, spaces trimmed. With `tags` (the memo renders HTML tags), the
// tags the memo draws (bold, italic, underline, strike-out, sub- and superscript, font colour)
// become the same tags of the page, relative to the cell's font; every other text shows as the
// memo shows it.
QString HtmlCellText(const QStringList& lines, bool tags = false, const report::TrpFont& font = {});

// The address a cell's link goes to, ready for an attribute; "" when the link is inert. "@N"
// is report page N: "#PageN" + N in one page, or pagePrefix + N + ".html" with a file per page.
// Web addresses (http, https, ftp, mailto) and relative ones are kept; any other scheme
// ("javascript:", "data:", "file:", ...) makes the link inert.
QString HtmlHref(const QString& url, bool multipage, const QString& pagePrefix);

// A path relative to the page as a link: segments percent-encoded, "\" as "/".
QString HtmlLinkPath(const QString& path);

// "#RRGGBB" of a colour, system colours resolved.
QString HtmlColor(report::TColor color);

// A font name fit for a style sheet: only letters, digits, spaces, "-" and "_".
QString CssFontName(const QString& name);

} // namespace exports
