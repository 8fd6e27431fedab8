#include "report/Report.h"

#include "report/DrawText.h"
#include "report/Engine.h"
#include "report/EngineTexts.h"
#include "report/MemoFill.h"
#include "report/PreparedPageStore.h"
#include "report/ScriptHost.h"
#include "report/ValueFormat.h"

#include <QCoreApplication>
#include <cstdio>
#include <iostream>

namespace report {

namespace {

TrpMessageHandler& DefaultHandlerSlot() {
    static TrpMessageHandler handler = [](const QString& caption, const QString& text) {
        std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    };
    return handler;
}

constexpr int kMaxLookupDepth = 32;

bool IsZero(const script::Variant& v) {
    if (v.IsInteger())
        return v.AsInteger() == 0;
    if (v.IsFloat())
        return v.AsFloat() == 0;
    if (v.IsBool())
        return !v.AsBool();
    return false;
}

} // namespace

QString ProgressText(TrpProgressKind kind, int page, bool finalPass) {
    const char* key = kind == TrpProgressKind::Printing    ? "prPrinting"
                      : kind == TrpProgressKind::Exporting ? "prExporting"
                      : finalPass                          ? "prRunning"
                                                           : "prRunningFirst";
    return rpFormat(rpGet(QString::fromLatin1(key)), {QString::number(page)});
}

void SetDefaultErrorHandler(TrpMessageHandler handler) {
    DefaultHandlerSlot() = std::move(handler);
}
const TrpMessageHandler& DefaultErrorHandler() {
    return DefaultHandlerSlot();
}

struct TrpReport::Snapshot {
    std::vector<std::unique_ptr<TrpReportPage>> Pages;
    TrpVariables Variables;
    QStringList ScriptText;
};

TrpReport::TrpReport()
    : FHost(std::make_unique<TrpScriptHost>(*this)), FPreviewPages(std::make_unique<TrpPreviewPages>(this)),
      FEngine(std::make_unique<TrpEngine>(this)), FDrawText(std::make_unique<TrpDrawText>()) {
    PrintOptions.Printer = rpGet("prDefault");
}

TrpReport::~TrpReport() = default;

TrpReportPage* TrpReport::AddPage() {
    auto page = std::make_unique<TrpReportPage>();
    page->SetName(QStringLiteral("Page") + QString::number(FPages.size() + 1));
    page->SetReport(this);
    FPages.push_back(std::move(page));
    return FPages.back().get();
}

TrpComponent* TrpReport::FindObject(const QString& name) const {
    for (const auto& page : FPages) {
        if (page->Name().compare(name, Qt::CaseInsensitive) == 0)
            return page.get();
        if (TrpComponent* c = page->FindObject(name))
            return c;
    }
    return nullptr;
}

bool TrpReport::Running() const {
    return FEngine->Running();
}

// ---- values ----

bool TrpReport::LookupValue(const QString& name, script::Variant& value) {
    const QString n = name.trimmed();
    if (n.isEmpty())
        return false;
    // Data-source fields (alias."field"): the engine has no data sources of its own.
    if (n.contains(QStringLiteral(".\"")))
        return false;

    const TrpPreviewPages& pages = *FPreviewPages;
    auto is = [&](const char16_t* s) { return n.compare(QStringView(s), Qt::CaseInsensitive) == 0; };
    if (is(u"Date")) {
        value = FStartDateTime.date().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
        return true;
    }
    if (is(u"Time")) {
        value = FStartDateTime.time().toString(QStringLiteral("hh:mm:ss")).toStdString();
        return true;
    }
    if (is(u"Page") || is(u"Page#")) {
        value = pages.CurPage() + 1;
        return true;
    }
    if (is(u"TotalPages") || is(u"TotalPages#")) {
        value = FEngine->TotalPages();
        return true;
    }
    if (is(u"Line") || is(u"Line#")) {
        value = is(u"Line") ? FEngine->CurLine() : FEngine->CurLineThrough();
        return true;
    }
    if (OnGetValue) {
        bool handled = false;
        OnGetValue(n, value, handled);
        if (handled)
            return true;
    }
    const int index = FVariables.IndexOfVariable(n);
    if (index >= 0) {
        const script::Variant& stored = FVariables.Items(index).Value;
        if (stored.IsString()) {
            const QString text = QString::fromStdString(stored.AsString());
            if (!text.contains(QStringLiteral("\r\n"))) {
                if (FLookupDepth >= kMaxLookupDepth) {
                    const QString message = rpGet("clRecursiveVar") + QLatin1Char(' ') + n;
                    AddError(message);
                    throw TrpReportError(message);
                }
                ++FLookupDepth;
                struct Depth {
                    int& D;
                    ~Depth() { --D; }
                } guard{FLookupDepth};
                value = Calc(text);
                return true;
            }
        }
        value = stored;
        return true;
    }
    if (FScript && FScript->HasGlobal(n.toStdString())) {
        value = FScript->Global(n.toStdString());
        return true;
    }
    return false;
}

script::Variant TrpReport::Calc(const QString& expression) {
    script::Variant value;
    if (LookupValue(expression, value))
        return value;
    if (expression.trimmed().isEmpty())
        return {};
    return CalcCompiled(expression);
}

script::Variant TrpReport::CalcCompiled(const QString& expression) {
    auto fail = [&](const QString& detail) {
        QString message =
            rpGet("clExprError") + QStringLiteral(" '") + expression + QStringLiteral("': ") + detail;
        if (!FCurrentObjectName.isEmpty())
            message = FCurrentObjectName + QStringLiteral(": ") + message;
        AddError(message);
        throw TrpReportError(message);
    };
    auto it = FExpressionCache.find(expression);
    if (it == FExpressionCache.end()) {
        const std::string function = "rpf" + std::to_string(FExpressionCache.size());
        const std::string source = "function " + function +
                                   ": Variant; begin Result := " + expression.toStdString() +
                                   " end; begin end.";
        script::CompileError error;
        auto program = script::Program::Compile(source, *FHost, error);
        if (!program)
            fail(QString::fromStdString(error.Message));
        it = FExpressionCache.emplace(expression, CachedExpression{std::move(program), function}).first;
    }
    try {
        return it->second.Program->Call(it->second.Function, {}, *FHost);
    } catch (const TrpReportError&) {
        throw;
    } catch (const std::exception& e) {
        fail(QString::fromUtf8(e.what()));
    }
    return {};
}

void TrpReport::FillView(TrpView& view) {
    auto plain = [this](const QString& content) {
        return PlainText(Calc(content), EngineRegionalSettings());
    };
    if (view.TagStr().contains(QLatin1Char('[')))
        view.SetTagStr(ExpandPlaceholders(view.TagStr(), QStringLiteral("[,]"), plain));
    if (view.URL().contains(QLatin1Char('[')))
        view.SetURL(ExpandPlaceholders(view.URL(), QStringLiteral("[,]"), plain));
    if (auto* memo = dynamic_cast<TrpCustomMemoView*>(&view))
        FillMemo(*memo);
}

void TrpReport::FillMemo(TrpCustomMemoView& memo) {
    if (memo.AllowExpressions()) {
        const QString text = memo.Text();
        const QString filled =
            ExpandPlaceholders(text, memo.ExpressionDelimiters(), [&](const QString& content) {
                if (content.compare(QStringLiteral("TOTALPAGES#"), Qt::CaseInsensitive) == 0) {
                    FEngine->NoteTotalPagesUsed();
                    return TotalPagesMark();
                }
                const Placeholder p = ParsePlaceholder(content);
                const script::Variant value = Calc(p.Expression);
                FValue = value;
                if (memo.HideZeros() && !value.IsString() && IsZero(value))
                    return QString();
                return FormatValue(value, p.HasFormat ? p.Format : memo.DisplayFormat(),
                                   EngineRegionalSettings());
            });
        if (filled != text)
            memo.SetText(filled);
    }
    if (!memo.Highlight().Condition.trimmed().isEmpty()) {
        const script::Variant v = Calc(memo.Highlight().Condition);
        bool active = false;
        try {
            active = v.AsBool();
        } catch (const std::exception&) {
        }
        memo.HighlightRef().Active = active;
    }
    FValue = {};
}

// ---- script ----

bool TrpReport::PrepareScript() {
    FExpressionCache.clear();
    FScript.reset();
    script::CompileError error;
    FScript = script::Program::Compile(ScriptText.join(QLatin1Char('\n')).toStdString(), *FHost, error);
    if (FScript)
        return true;
    const QString position = QStringLiteral("(%1:%2)").arg(error.Line).arg(error.Column);
    AddError(rpFormat(rpGet("clScrError"), {position, QString::fromStdString(error.Message)}));
    return false;
}

void TrpReport::DoScriptEvent(const QString& procedure, TrpComponent* sender, bool force) {
    if (procedure.isEmpty() || !FScript || (!force && !FEngine->Running()))
        return;
    const std::string name = procedure.toStdString();
    if (!FScript->HasProcedure(name))
        return; // a name the script does not define is skipped silently
    std::vector<script::Variant> args;
    args.emplace_back(sender ? sender->Name().toStdString() : std::string());
    FScript->Call(name, args, *FHost);
}

// ---- template save and reload ----

std::unique_ptr<TrpReport::Snapshot> TrpReport::SaveTemplate() const {
    auto s = std::make_unique<Snapshot>();
    for (const auto& page : FPages) {
        auto copy = std::make_unique<TrpReportPage>();
        copy->Assign(*page);
        for (const auto& object : page->Objects())
            if (auto clone = object->Clone())
                copy->Add(std::move(clone));
        s->Pages.push_back(std::move(copy));
    }
    s->Variables = FVariables;
    s->ScriptText = ScriptText;
    return s;
}

void TrpReport::RestoreTemplate(Snapshot& s) {
    bool sameShape = s.Pages.size() == FPages.size();
    for (size_t p = 0; sameShape && p < FPages.size(); ++p) {
        const auto& now = FPages[p]->Objects();
        const auto& was = s.Pages[p]->Objects();
        sameShape = now.size() == was.size();
        for (size_t i = 0; sameShape && i < now.size(); ++i)
            sameShape = now[i]->ClassName() == was[i]->ClassName();
    }
    if (sameShape) {
        // In place, so that objects keep their identity for whoever holds them.
        for (size_t p = 0; p < FPages.size(); ++p) {
            FPages[p]->Assign(*s.Pages[p]);
            const auto& now = FPages[p]->Objects();
            const auto& was = s.Pages[p]->Objects();
            for (size_t i = 0; i < now.size(); ++i)
                now[i]->Assign(*was[i]);
        }
    } else {
        FPages = std::move(s.Pages);
        for (auto& page : FPages)
            page->SetReport(this);
    }
    FVariables = std::move(s.Variables);
    ScriptText = std::move(s.ScriptText);
}

// ---- preparation ----

bool TrpReport::Prepare(bool clearLastReport) {
    if (clearLastReport)
        FPreviewPages->Clear();
    FErrors.clear();
    FLastErrorMessage.clear();
    FTerminated = false;
    FStartDateTime = QDateTime::currentDateTime();

    std::unique_ptr<Snapshot> snapshot;
    if (EngineOptions.DestroyForms)
        snapshot = SaveTemplate();

    bool ran = false;
    try {
        if (OnBeginDoc)
            OnBeginDoc(this);
        if (PrepareScript()) {
            if (FScript->HasMainStatements())
                FScript->RunMain(*FHost);
            FEngine->Run();
            ran = true;
            if (OnEndDoc)
                OnEndDoc(this);
        }
    } catch (const TrpReportError& e) {
        AddError(e.Message());
    } catch (const std::exception& e) {
        AddError(QString::fromUtf8(e.what()));
    }
    (void)ran;
    FCurrentObjectName.clear();

    if (snapshot)
        RestoreTemplate(*snapshot);
    if (FErrors.empty())
        return true;
    ReportErrors();
    return false;
}

void TrpReport::ReportErrors() {
    FLastErrorMessage = rpGet("clErrors");
    for (const QString& e : FErrors)
        FLastErrorMessage += QStringLiteral("\r\n") + e;
    RouteError(FLastErrorMessage);
}

void TrpReport::ShowMessage(const QString& caption, const QString& text) {
    if (OnShowError)
        OnShowError(caption, text);
    else if (DefaultErrorHandler())
        DefaultErrorHandler()(caption, text);
    else
        std::cerr << caption.toStdString() << ": " << text.toStdString() << std::endl;
}

void TrpReport::RouteError(const QString& text) {
    switch (EngineOptions.NewSilentMode) {
    case simMessageBoxes:
        ShowMessage(rpGet("mbError"), text);
        break;
    case simSilent:
        break;
    case simReThrow:
        throw TrpReportError(text);
    }
}

// ---- progress ----

namespace {
void ProcessEvents() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}
} // namespace

void TrpReport::ProgressStart(TrpProgressKind kind) {
    if (OnProgressStart)
        OnProgressStart(this, kind);
    ProcessEvents();
}

void TrpReport::Progress(TrpProgressKind kind, int page) {
    if (OnProgress)
        OnProgress(this, kind, page);
    ProcessEvents();
}

void TrpReport::ProgressStop(TrpProgressKind kind) {
    if (OnProgressStop)
        OnProgressStop(this, kind);
    ProcessEvents();
}

} // namespace report
