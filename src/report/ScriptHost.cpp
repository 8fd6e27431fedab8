#include "report/ScriptHost.h"

#include "report/Attributes.h"
#include "report/Engine.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

namespace report {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QString JoinPath(const std::vector<std::string>& path) {
    QStringList parts;
    for (const std::string& p : path)
        parts << Q(p).toLower();
    return parts.join(QLatin1Char('.'));
}

bool IsOneOf(const QString& name, std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names)
        if (name.compare(QStringView(n), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool IsTextPath(const QString& key) {
    return key == u"memo.text" || key == u"memo" || key == u"text";
}

bool ViewProperty(const TrpComponent& c, const QString& key, script::Variant& value) {
    if (key == u"name")
        value = c.Name().toStdString();
    else if (key == u"tag")
        value = c.Tag();
    else if (key == u"left")
        value = c.Left();
    else if (key == u"top")
        value = c.Top();
    else if (key == u"width")
        value = c.Width();
    else if (key == u"height")
        value = c.Height();
    else if (key == u"visible")
        value = c.Visible();
    else if (key == u"font.name")
        value = c.Font().Name.toStdString();
    else if (key == u"font.size")
        value = c.Font().Size;
    else if (key == u"font.color")
        value = std::int64_t(c.Font().Color);
    else if (key == u"font.style")
        value = c.Font().Style;
    else if (auto* view = dynamic_cast<const TrpView*>(&c)) {
        if (key == u"tagstr")
            value = view->TagStr().toStdString();
        else if (key == u"url")
            value = view->URL().toStdString();
        else if (key == u"color")
            value = std::int64_t(view->Color());
        else if (key == u"frame.typ")
            value = view->Frame().Typ;
        else if (key == u"frame.width")
            value = view->Frame().Width;
        else if (key == u"frame.color")
            value = std::int64_t(view->Frame().Color);
        else if (auto* memo = dynamic_cast<const TrpCustomMemoView*>(&c)) {
            if (IsTextPath(key))
                value = memo->Text().toStdString();
            else if (key == u"halign")
                value = int(memo->HAlign());
            else if (key == u"valign")
                value = int(memo->VAlign());
            else
                return false;
        } else
            return false;
    } else
        return false;
    return true;
}

} // namespace

bool TrpScriptHost::HasObject(const std::string& name) const {
    const QString n = Q(name);
    return IsOneOf(n, {u"Report", u"Engine", u"Outline", u"Value"}) || FReport.FindObject(n) != nullptr;
}

bool TrpScriptHost::GetProperty(const std::string& object, const std::vector<std::string>& path,
                                script::Variant& value, std::string& error) {
    const QString name = Q(object);
    const QString key = JoinPath(path);
    if (path.empty() && IsOneOf(name, {u"Value"})) {
        value = FReport.Value();
        return true;
    }
    if (IsOneOf(name, {u"Engine"})) {
        const TrpEngine& e = FReport.Engine();
        if (key == u"pageno")
            value = e.PageNo();
        else if (key == u"totalpages")
            value = e.TotalPages();
        else if (key == u"finalpass")
            value = e.FinalPass();
        else if (key == u"curx")
            value = e.CurX();
        else if (key == u"cury")
            value = e.CurY();
        else if (key == u"pagewidth")
            value = e.PageWidth();
        else if (key == u"pageheight")
            value = e.PageHeight();
        else {
            error = "Unknown property " + object + "." + key.toStdString();
            return false;
        }
        return true;
    }
    if (IsOneOf(name, {u"Report"})) {
        if (key == u"terminated") {
            value = FReport.Terminated();
            return true;
        }
        if (key == u"reportoptions.name") {
            value = FReport.ReportOptions.Name.toStdString();
            return true;
        }
        error = "Unknown property " + object + "." + key.toStdString();
        return false;
    }
    const TrpComponent* c = FReport.FindObject(name);
    if (!c || !ViewProperty(*c, key, value)) {
        error = "Unknown property " + object + "." + key.toStdString();
        return false;
    }
    return true;
}

bool TrpScriptHost::SetProperty(const std::string& object, const std::vector<std::string>& path,
                                const script::Variant& value, std::string& error) {
    const QString name = Q(object);
    const QString key = JoinPath(path);
    if (path.empty() && IsOneOf(name, {u"Value"})) {
        FReport.SetValue(value);
        return true;
    }
    if (IsOneOf(name, {u"Report"}) && key == u"terminated") {
        FReport.SetTerminated(value.AsBool());
        return true;
    }
    TrpComponent* c = FReport.FindObject(name);
    if (!c) {
        error = "Unknown object " + object;
        return false;
    }
    if (auto* memo = dynamic_cast<TrpCustomMemoView*>(c); memo && IsTextPath(key)) {
        memo->SetText(Q(value.AsString()));
        return true;
    }
    QString text = Q(value.AsString());
    if (value.IsFloat())
        text = FloatToAttr(value.AsFloat());
    if (key == u"name" || !c->SetAttribute(key, text)) {
        error = "Cannot set property " + object + "." + key.toStdString();
        return false;
    }
    return true;
}

script::Variant TrpScriptHost::GetVariable(const std::string& name) {
    return CallFunction("Get", {script::Variant(name)});
}

bool TrpScriptHost::HasFunction(const std::string& name) const {
    // IIF is left to the interpreter's own, which evaluates only the branch it returns.
    return IsOneOf(Q(name), {u"Get", u"Set", u"SUM", u"AVG", u"MIN", u"MAX", u"COUNT"});
}

script::Variant TrpScriptHost::CallFunction(const std::string& name,
                                            const std::vector<script::Variant>& args) {
    const QString n = Q(name).toUpper();
    auto arg = [&](size_t i) { return i < args.size() ? args[i] : script::Variant(); };
    if (n == u"GET") {
        const QString varName = Q(arg(0).AsString());
        script::Variant value;
        if (!FReport.LookupValue(varName, value))
            FReport.AddError(rpGet("clUnknownVar") + QLatin1Char(' ') + varName);
        return value;
    }
    if (n == u"SET") {
        FReport.Variables().SetVariableValue(Q(arg(0).AsString()), arg(1));
        return {};
    }
    // The aggregates count data rows; a template without data bands has none.
    return script::Variant(0);
}

} // namespace report
