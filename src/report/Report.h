#pragma once
// The report: pages, variables and script of a template, and the operations that read
// values, evaluate expressions and prepare pages.

#include "report/Components.h"
#include "report/Variables.h"
#include "script/Script.h"

#include <QDateTime>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

namespace report {

class TrpEngine;
class TrpPreviewPages;
class TrpDrawText;
class TrpScriptHost;

struct TrpEngineOptions {
    bool ConvertNulls = true;
    bool DoublePass = false;
    int MaxMemSize = 10; // megabytes
    bool PrintIfEmpty = true;
    TrpSilentMode NewSilentMode = simMessageBoxes;
    QString TempDir;
    bool UseFileCache = false;
    bool DestroyForms = true; // reload the template after each preparation
};

// Preview buttons, as bits in this order.
enum TrpPreviewButton {
    pbPrint = 1 << 0,
    pbLoad = 1 << 1,
    pbSave = 1 << 2,
    pbExport = 1 << 3,
    pbZoom = 1 << 4,
    pbFind = 1 << 5,
    pbOutline = 1 << 6,
    pbPageSetup = 1 << 7,
    pbTools = 1 << 8,
    pbEdit = 1 << 9,
    pbNavigator = 1 << 10,
    pbExportQuick = 1 << 11,
};

struct TrpPreviewOptions {
    bool AllowEdit = true;
    int Buttons = 0xFFF; // all twelve
    bool DoubleBuffered = true;
    bool Maximized = true;
    bool MDIChild = false;
    bool Modal = true;
    bool OutlineExpand = true;
    bool OutlineVisible = false;
    int OutlineWidth = 120;
    bool ShowCaptions = false;
    Extended Zoom = 1.0;
    int ZoomMode = 0; // zmDefault
};

struct TrpPrintOptions {
    int Copies = 1;
    bool Collate = true;
    QString PageNumbers;
    QString Printer;    // engine text "prDefault" when set up
    int PrintPages = 0; // ppAll
    bool Reverse = false;
    bool ShowDialog = true;
};

// A data set of the program's own making: records numbered 1 to RecordCount and nothing
// else. A page that names it is produced once per record ("Line" is the record number).
struct TrpUserDataSet {
    QString Name;
    int RecordCount = 0;
};

struct TrpReportOptions {
    QString Author;
    bool Compressed = false;
    QString ConnectionName;
    double CreateDate = 0;
    double LastChange = 0;
    QStringList Description;
    QString InitString;
    QString Name;
    QString Password;
    QString VersionBuild, VersionMajor, VersionMinor, VersionRelease;
};

// An error raised during preparation; its message goes to the report's error list.
class TrpReportError : public std::runtime_error {
public:
    explicit TrpReportError(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

enum class TrpProgressKind { Running, Printing, Exporting };

// The progress window's message for a page: "Готовится страница %d" and its sisters.
QString ProgressText(TrpProgressKind kind, int page, bool finalPass = true);

// Where combined error messages go when the silent mode is message boxes. The user interface
// installs a message-box handler; without one the text is written to standard error, so
// command-line tools and tests never block on a dialog.
using TrpMessageHandler = std::function<void(const QString& caption, const QString& text)>;
void SetDefaultErrorHandler(TrpMessageHandler handler);
const TrpMessageHandler& DefaultErrorHandler();

class TrpReport {
public:
    TrpReport();
    ~TrpReport();
    TrpReport(const TrpReport&) = delete;
    TrpReport& operator=(const TrpReport&) = delete;

    // ---- template ----
    int PagesCount() const { return int(FPages.size()); }
    TrpReportPage* Pages(int index) const { return FPages[size_t(index)].get(); }
    TrpReportPage* AddPage();
    void ClearPages() { FPages.clear(); }
    // Any object of the template by name (pages included), case-insensitive.
    TrpComponent* FindObject(const QString& name) const;

    TrpVariables& Variables() { return FVariables; }
    const TrpVariables& Variables() const { return FVariables; }

    QStringList ScriptText = {QStringLiteral("begin"), QString(), QStringLiteral("end.")};
    QString ScriptLanguage = QStringLiteral("PascalScript");
    QString Version = QStringLiteral("2.0.0");
    bool DotMatrixReport = false;
    QString IniFile = QStringLiteral("\\Software\\Tarifon");
    bool ShowProgress = true;
    bool OldStyleProgress = false;
    bool StoreInDFM = true;
    QString OnRunDialogs, OnStartReport, OnStopReport;
    TrpEngineOptions EngineOptions;
    TrpPreviewOptions PreviewOptions;
    TrpPrintOptions PrintOptions;
    TrpReportOptions ReportOptions;
    std::vector<TrpUserDataSet> DataSets;

    // ---- host notifications (all optional) ----
    std::function<void(TrpReport* sender)> OnBeginDoc;
    std::function<void(TrpReport* sender)> OnEndDoc;
    std::function<void(const QString& name, script::Variant& value, bool& handled)> OnGetValue;
    std::function<void(TrpView* view)> OnBeforePrint;
    std::function<void(TrpView* view)> OnAfterPrint;
    std::function<void(TrpReport* sender, TrpProgressKind kind)> OnProgressStart;
    std::function<void(TrpReport* sender, TrpProgressKind kind, int page)> OnProgress;
    std::function<void(TrpReport* sender, TrpProgressKind kind)> OnProgressStop;
    // Where this report's combined error message goes in message-box mode; when unset the
    // process-wide default handler is used.
    TrpMessageHandler OnShowError;

    // ---- values ----
    // Reads a name: system variables, the host callback, report variables, script globals.
    // False when the text is not a name.
    bool LookupValue(const QString& name, script::Variant& value);
    // Evaluates an expression (a name, or compiled once into the expression cache).
    // Throws TrpReportError (after adding to the error list) when it does not compile or run.
    script::Variant Calc(const QString& expression);
    int ExpressionCacheCount() const { return int(FExpressionCache.size()); }
    // Fills a memo: placeholders, TagStr, URL, highlight.
    void FillMemo(TrpCustomMemoView& memo);
    void FillView(TrpView& view);

    // ---- preparation ----
    bool Prepare(bool clearLastReport = true);
    TrpPreviewPages& PreviewPages() const { return *FPreviewPages; }
    TrpEngine& Engine() const { return *FEngine; }
    TrpDrawText& DrawText() const { return *FDrawText; }
    bool Running() const;

    // The errors of the last preparation, sorted, without duplicates.
    QStringList Errors() const { return QStringList(FErrors.begin(), FErrors.end()); }
    void AddError(const QString& message) { FErrors.insert(message); }
    // The combined message of the last failed preparation ("" after success).
    const QString& LastErrorMessage() const { return FLastErrorMessage; }
    // A message through this report's handler, else the default one, else standard error.
    void ShowMessage(const QString& caption, const QString& text);
    // An error text as the silent mode wants it: shown as a message, dropped, or thrown as
    // TrpReportError.
    void RouteError(const QString& text);

    // Stop request (progress window Cancel or the script).
    bool Terminated() const { return FTerminated; }
    void SetTerminated(bool v) { FTerminated = v; }

    // Progress reporting of the three kinds.
    void ProgressStart(TrpProgressKind kind);
    void Progress(TrpProgressKind kind, int page);
    void ProgressStop(TrpProgressKind kind);

    // Runs a script procedure named by an event property with the sender as its argument;
    // an empty or unknown name does nothing.
    void DoScriptEvent(const QString& procedure, TrpComponent* sender, bool force = false);

    // The name of the object being filled (prefixed to expression errors).
    const QString& CurrentObjectName() const { return FCurrentObjectName; }
    void SetCurrentObjectName(const QString& name) { FCurrentObjectName = name; }

    // The script's "Value": while a memo is filled, the value of its last placeholder (so a
    // highlight condition can test it); Null otherwise.
    const script::Variant& Value() const { return FValue; }
    void SetValue(script::Variant value) { FValue = std::move(value); }

    // Start date and time of the running preparation.
    const QDateTime& StartDateTime() const { return FStartDateTime; }

private:
    friend class TrpScriptHost;
    struct CachedExpression {
        std::unique_ptr<script::Program> Program;
        std::string Function;
    };
    struct Snapshot;

    bool PrepareScript();
    std::unique_ptr<Snapshot> SaveTemplate() const;
    void RestoreTemplate(Snapshot& snapshot);
    void ReportErrors();
    script::Variant CalcCompiled(const QString& expression);

    std::vector<std::unique_ptr<TrpReportPage>> FPages;
    TrpVariables FVariables;
    std::set<QString> FErrors;
    QString FLastErrorMessage;
    bool FTerminated = false;
    QString FCurrentObjectName;
    QDateTime FStartDateTime;
    int FLookupDepth = 0;
    script::Variant FValue;

    std::unique_ptr<TrpScriptHost> FHost;
    std::unique_ptr<script::Program> FScript;
    std::map<QString, CachedExpression> FExpressionCache;
    std::unique_ptr<TrpPreviewPages> FPreviewPages;
    std::unique_ptr<TrpEngine> FEngine;
    std::unique_ptr<TrpDrawText> FDrawText;
};

} // namespace report
