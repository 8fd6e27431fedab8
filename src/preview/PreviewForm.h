#pragma once
// The preview window: toolbar, the preview control, status bar, the export menu and the
// right-click menu; printing, saving, opening, exporting and page settings of the shown report.

#include "preview/Preview.h"

#include <QDialog>
#include <QHash>
#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class QTreeWidget;

namespace exports {
class TrpCustomExportFilter;
}

namespace report {
class TrpReport;
}

namespace preview {

// One entry of the Export menu: a filter, or a target whose filter is not available (shown
// disabled).
struct TrpExportEntry {
    QString Description;
    exports::TrpCustomExportFilter* Filter = nullptr;
    QIcon Icon;
};

class TrpPreviewForm : public QDialog {
public:
    explicit TrpPreviewForm(report::TrpReport& report, QWidget* parent = nullptr);
    ~TrpPreviewForm() override;

    report::TrpReport& Report() const { return FReport; }
    TrpPreview* Preview() const { return FPreview; }
    QToolBar* ToolBar() const { return FToolBar; }
    QStatusBar* StatusBar() const { return FStatusBar; }
    QLabel* PagePanel() const { return FPagePanel; }
    QComboBox* ZoomBox() const { return FZoomBox; }
    QLineEdit* PageBox() const { return FPageBox; }
    QMenu* ExportMenu() const { return FExportMenu; }
    QMenu* PopupMenu() const { return FPopupMenu; }
    // Toolbar actions by name: "Print", "Open", "Save", "Export", "PdfQuick", "EmailQuick",
    // "WholePage", "PageWidth", "Zoom100", "TwoPages", "ZoomBox", "FullScreen", "Margins",
    // "Find", "Outline", "Drag", "ZoomTool", "AddPage", "DeletePage", "First", "Prior",
    // "PageBox", "Next", "Last", "Close"; nullptr for
    // other names. Actions of buttons the options hide exist but are not visible.
    QAction* Action(const QString& name) const { return FActions.value(name); }

    // The Export menu: every registered filter in registration order, unless the host gave
    // its own list.
    void SetExportEntries(std::vector<TrpExportEntry> entries);
    const std::vector<TrpExportEntry>& ExportEntries() const { return FEntries; }

    // ---- commands ----
    // Prints (the engine's print path); ignored while a print or export runs.
    void Print();
    // Exports the prepared pages through an entry of the Export menu.
    void Export(int entryIndex);
    // Save and Open with their dialogs.
    void Save();
    void Open(); // NOLINT(bugprone-virtual-near-miss): the Open button, not QDialog::open
    // Save to a name: the extension ".trp" is forced. False (and the message shown) on failure.
    bool SaveToFile(const QString& fileName);
    // Loads a prepared report file in place of the shown pages; nothing changes on failure.
    bool LoadFromFile(const QString& fileName);
    void PageSetup();
    void SetFullScreen(bool on);
    bool FullScreen() const { return FFullScreen; }
    // Applies a zoom box text ("150 %", or one of the mode entries).
    void ApplyZoomText(const QString& text);

    // Find (Ctrl+F) asks for a text and finds it; FindNext (F3) finds the next memo that holds
    // it, from the current page on, marks it and scrolls it into view. False (and "Текст не
    // найден" shown) when there is none.
    void Find();
    bool FindNext();
    void SetFindText(const QString& text) { FFindText = text; }
    // The outline panel: the report's table of contents; a click goes to the entry's page.
    QTreeWidget* OutlinePanel() const { return FOutline; }
    void SetOutlineVisible(bool visible);
    // Page buttons: an empty page after the current one; the current page deleted.
    void AddPage();
    void DeletePage();

    // File dialogs; replaceable in tests. They return "" when cancelled.
    std::function<QString(QWidget* parent, const QString& filter)> GetSaveFileName;
    std::function<QString(QWidget* parent, const QString& filter)> GetOpenFileName;
    // The text to find; replaceable in tests. "" when cancelled.
    std::function<QString(QWidget* parent, const QString& previous)> GetFindText;

    // ".trp" put on a name that does not end in it.
    static QString ForceExtension(const QString& fileName);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolBar();
    void BuildPopupMenu();
    void RebuildExportMenus();
    void UpdateStatus();
    void UpdateZoomBox();
    QAction* AddButton(const QString& name, int captionKey, int hintKey, const QString& icon,
                       std::function<void()> action);
    bool ButtonVisible(int bit) const;
    void ShowError(const QString& text);
    void ShowHelp();
    void FillOutline();
    // The first memo at or after object `from` of a page (index) that holds the find text.
    int FindOnPage(int page, int from);

    report::TrpReport& FReport;
    TrpPreview* FPreview;
    QToolBar* FToolBar = nullptr;
    QStatusBar* FStatusBar = nullptr;
    QLabel* FPagePanel = nullptr;
    QLabel* FSecondPanel = nullptr;
    QComboBox* FZoomBox = nullptr;
    QLineEdit* FPageBox = nullptr;
    QMenu* FExportMenu = nullptr;
    QMenu* FPopupMenu = nullptr;
    QMenu* FPopupExportMenu = nullptr;
    QHash<QString, QAction*> FActions;
    std::vector<TrpExportEntry> FEntries;
    QTreeWidget* FOutline = nullptr;
    bool FOutlineFilled = false;
    QString FFindText;
    bool FFullScreen = false;
    Qt::WindowStates FStateBeforeFullScreen;
};

// Shows the report's prepared pages: an open preview of the report is refreshed; otherwise a
// new preview window is set up from PreviewOptions, the host callback runs, and the window is
// shown, modally when PreviewOptions.Modal is on (then it is freed when closed).
void ShowPrepared(report::TrpReport& report, QWidget* parent = nullptr,
                  const std::function<void(TrpPreviewForm& form)>& onPreview = {});
// The open preview window of a report, or nullptr.
TrpPreviewForm* OpenPreview(const report::TrpReport& report);

} // namespace preview
