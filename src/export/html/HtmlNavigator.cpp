#include "export/html/HtmlNavigator.h"

#include "export/html/HtmlPage.h"
#include "export/html/HtmlText.h"
#include "report/EngineTexts.h"

namespace exports {

using report::rpGet;

namespace {

// The navigator keeps the page shown in the frameset when it may reach it, and in itself when
// the browser keeps the frames apart (pages opened from disk).
const char* const kNavigator = R"html(<style type="text/css"><!--
body { font-family: Tahoma; font-size: 8px; font-weight: bold; text-align: center; margin: 2px; }
.nav { font-family: Tahoma; font-size: 9pt; color: #283e66; font-weight: bold; }
--></style>
<script type="text/javascript"><!--
var tpPgCnt = %1; var tpRepName = "%2"; var tpMultipage = %3; var tpPrefix="%4";
var tpCur = 1;
function CurPage() { try { if (parent.tpCurPage) tpCur = parent.tpCurPage; } catch (e) {} return tpCur; }
function DoPage(PgN) {
  PgN = parseInt(PgN, 10);
  if (PgN >= 1 && PgN <= tpPgCnt && PgN != CurPage()) {
    if (tpMultipage > 0) parent.mainFrame.location.href = tpPrefix + PgN + ".html";
    else parent.mainFrame.location.href = tpPrefix + "main.html#PageN" + PgN;
    UpdateNav(PgN);
  } else document.PgForm.PgEdit.value = CurPage();
}
function UpdateNav(PgN) {
  tpCur = PgN;
  try { parent.tpCurPage = PgN; } catch (e) {}
  var f = document.PgForm;
  f.PgEdit.value = PgN;
  f.bFirst.disabled = PgN <= 1; f.bPrev.disabled = PgN <= 1;
  f.bNext.disabled = PgN >= tpPgCnt; f.bLast.disabled = PgN >= tpPgCnt;
}
function RefreshRep() { %5 }
function PrintRep() { %6 }
//--></script>
</head>
<body bgcolor="#DDDDDD" onload="UpdateNav(CurPage())">
<form name="PgForm" action="#" onsubmit="DoPage(document.PgForm.PgEdit.value); return false;">
<table width="100%" border="0" cellspacing="0" cellpadding="0" summary=""><tr>
<td width="60"><input type="button" name="bFirst" class="nav" value="%7" onclick="DoPage(1)"></td>
<td width="60"><input type="button" name="bPrev" class="nav" value="%8" onclick="DoPage(CurPage() - 1)"></td>
<td width="50"><input type="text" name="PgEdit" class="nav" size="4" value="1"></td>
<td width="60"><input type="button" name="bNext" class="nav" value="%9" onclick="DoPage(CurPage() + 1)"></td>
<td width="60"><input type="button" name="bLast" class="nav" value="%10" onclick="DoPage(tpPgCnt)"></td>
%11<td align="right" class="nav">%12 <script type="text/javascript">document.write(tpPgCnt);</script></td>
</tr></table></form>
</body></html>
)html";

const char* const kExtraButtons =
    R"html(<td width="60"><input type="button" name="bRefresh" class="nav" value="%1" onclick="RefreshRep()"></td>
<td width="60"><input type="button" name="bPrint" class="nav" value="%2" onclick="PrintRep()"></td>
)html";

// A text inside a script's double-quoted string: nothing in it ends the string or the script.
QString ScriptString(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.isLetterOrNumber() || c == u' ' || c == u'.' || c == u'/' || c == u':' || c == u'-' ||
            c == u'_')
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

QString LocationTo(const QString& address) {
    return QStringLiteral("parent.location = \"") + ScriptString(address) + QStringLiteral("\";");
}

} // namespace

QString UrlEscape(const QString& text) {
    QString out;
    for (const char b : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(b);
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z'))
            out += QLatin1Char(char(u));
        else
            out += QStringLiteral("%%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

QByteArray HtmlNavigatorPage(const THTMLNavigatorSettings& s) {
    QString name = s.ReportName;
    if (!s.StripPrefix.isEmpty() && name.startsWith(s.StripPrefix))
        name = name.mid(s.StripPrefix.size());
    const QString refresh =
        s.RefreshTarget.isEmpty()
            ? QStringLiteral(
                  R"(parent.location = "result?report=" + tpRepName + "&multipage=" + tpMultipage;)")
            : LocationTo(s.RefreshTarget);
    const QString print = s.PrintTarget.isEmpty()
                              ? QStringLiteral("parent.mainFrame.focus(); parent.mainFrame.print();")
                              : LocationTo(s.PrintTarget);
    auto text = [](const char* key) { return HtmlEscape(rpGet(QString::fromLatin1(key))); };
    // Filled in one pass: nothing filled in is read as a placeholder.
    const QString extra =
        s.ExtraButtons ? QString::fromUtf8(kExtraButtons).arg(text("HTMLNavRefresh"), text("HTMLNavPrint"))
                       : QString();
    const QString body =
        QString::fromUtf8(kNavigator)
            .arg(QString::number(s.PageCount), UrlEscape(name),
                 s.Multipage ? QStringLiteral("1") : QStringLiteral("0"), ScriptString(s.PagePrefix), refresh,
                 print, text("HTMLNavFirst"), text("HTMLNavPrev"), text("HTMLNavNext"), text("HTMLNavLast"),
                 extra, text("HTMLNavTotal"));
    return HtmlHead(R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">)", s.Title) +
           body.toUtf8().replace("\n", "\r\n");
}

QByteArray HtmlFrameset(const QString& title, const QString& framePrefix, bool multipage) {
    const QString prefix = HtmlEscape(framePrefix);
    QString text = QStringLiteral(
        R"html(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Frameset//EN" "http://www.w3.org/TR/html4/frameset.dtd">
<html><head>
<title>%1</title>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<script language="javascript" type="text/javascript"> var tpCurPage = 1;</script></head>
<frameset rows="32,*" cols="*">
<frame name="topFrame" src="%2nav.html" noresize scrolling="no">
<frame name="mainFrame" src="%2%3">
</frameset>
</html>
)html");
    text = text.arg(HtmlEscape(title), prefix,
                    multipage ? QStringLiteral("1.html") : QStringLiteral("main.html"));
    return text.toUtf8().replace("\n", "\r\n");
}

} // namespace exports
