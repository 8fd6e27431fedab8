#include "preview/PreviewForm.h"

#include "export/ExportFilter.h"
#include "export/Mnemonics.h"
#include "platform/UserManual.h"
#include "preview/PageSetupDialog.h"
#include "preview/PreviewIcons.h"
#include "preview/PreviewTexts.h"
#include "preview/Printing.h"
#include "report/EngineTexts.h"
#include "report/PreparedPageStore.h"
#include "report/PreparedReportFile.h"
#include "report/Report.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace preview {

using namespace report;

namespace {

QHash<const TrpReport*, TrpPreviewForm*>& OpenPreviews() {
    static QHash<const TrpReport*, TrpPreviewForm*> previews;
    return previews;
}

QString FileFilter() {
    return rpGet("clTRPfiles") + QStringLiteral(" (*.trp)");
}

} // namespace

TrpPreviewForm::TrpPreviewForm(TrpReport& report, QWidget* parent)
    : QDialog(parent), FReport(report), FPreview(new TrpPreview(this)) {
    AddPreviewTexts();
    OpenPreviews().insert(&report, this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(!report.ReportOptions.Name.isEmpty() ? report.ReportOptions.Name : rpGet("clPreview"));
    resize(800, 600);

    GetSaveFileName = [](QWidget* parent, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, QString(), QString(), filter);
    };
    GetOpenFileName = [](QWidget* parent, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    };
    GetFindText = [](QWidget* parent, const QString& previous) {
        return QInputDialog::getText(parent, rpGet(109), rpGet("clFindWhat"), QLineEdit::Normal, previous);
    };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FToolBar = new QToolBar(this);
    FToolBar->setIconSize(QSize(16, 16));
    FToolBar->setToolButtonStyle(report.PreviewOptions.ShowCaptions ? Qt::ToolButtonTextBesideIcon
                                                                    : Qt::ToolButtonIconOnly);
    FStatusBar = new QStatusBar(this);
    FStatusBar->setSizeGripEnabled(false);
    FPagePanel = new QLabel(FStatusBar);
    FPagePanel->setFixedWidth(200);
    FSecondPanel = new QLabel(FStatusBar);
    FSecondPanel->setFixedWidth(50);
    FStatusBar->addWidget(FPagePanel);
    FStatusBar->addWidget(FSecondPanel);
    FOutline = new QTreeWidget(this);
    FOutline->setHeaderHidden(true);
    FOutline->setRootIsDecorated(false);
    connect(FOutline, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { FPreview->SetPageNo(item->data(0, Qt::UserRole).toInt() + 1); });
    auto* split = new QSplitter(this);
    split->addWidget(FOutline);
    split->addWidget(FPreview);
    split->setStretchFactor(1, 1);
    split->setSizes({report.PreviewOptions.OutlineWidth, 800});
    layout->addWidget(FToolBar);
    layout->addWidget(split, 1);
    layout->addWidget(FStatusBar);

    FExportMenu = new QMenu(this);
    BuildToolBar();
    std::vector<TrpExportEntry> entries;
    for (exports::TrpCustomExportFilter* filter : exports::ExportFilters())
        entries.push_back({filter->FilterDescription(), filter, {}});
    SetExportEntries(std::move(entries));
    BuildPopupMenu();

    FPreview->OnPageChanged = [this](TrpPreview*) { UpdateStatus(); };
    FPreview->OnZoomChanged = [this](TrpPreview*) { UpdateZoomBox(); };
    FPreview->viewport()->installEventFilter(this);
    FPreview->SetReport(&report);
    FPreview->SetZoom(report.PreviewOptions.Zoom);
    if (report.PreviewOptions.ZoomMode != zmDefault)
        FPreview->SetZoomMode(TrpZoomMode(report.PreviewOptions.ZoomMode));
    SetOutlineVisible(report.PreviewOptions.OutlineVisible);
    FPreview->setFocus();
    UpdateStatus();
    UpdateZoomBox();
}

TrpPreviewForm::~TrpPreviewForm() {
    // The boxes lose focus while the window goes and would act on a preview half destroyed.
    FZoomBox->disconnect(this);
    FZoomBox->lineEdit()->disconnect(this);
    FPageBox->disconnect(this);
    FPreview->OnPageChanged = nullptr;
    FPreview->OnZoomChanged = nullptr;
    if (OpenPreviews().value(&FReport) == this)
        OpenPreviews().remove(&FReport);
}

bool TrpPreviewForm::ButtonVisible(int bit) const {
    return FReport.PreviewOptions.Buttons & bit;
}

QAction* TrpPreviewForm::AddButton(const QString& name, int captionKey, int hintKey, const QString& icon,
                                   std::function<void()> action) {
    auto* a = new QAction(PreviewIcon(icon), captionKey ? rpGet(captionKey) : QString(), this);
    if (hintKey)
        a->setToolTip(rpGet(hintKey));
    connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); });
    FActions.insert(name, a);
    return a;
}

void TrpPreviewForm::BuildToolBar() {
    enum Kind { Button, Check, Toggle, ZoomBox, PageBox };
    struct ToolButton {
        const char* Name;
        int Caption, Hint; // engine text keys, 0 for none
        const char* Icon;
        int Group; // a separator stands only between two groups that show something
        int Shown; // the PreviewOptions.Buttons bit that shows it; 0: always shown
        Kind What;
        void (*Run)(TrpPreviewForm& form);
    };
    // The quick PDF and e-mail buttons and the Export menu are wired when the filters are known.
    static const ToolButton kToolBar[] = {
        {"Print", 101, 102, "print", 0, pbPrint, Button, [](TrpPreviewForm& f) { f.Print(); }},
        {"Open", 103, 104, "open", 0, pbLoad, Button, [](TrpPreviewForm& f) { f.Open(); }},
        {"Save", 105, 106, "save", 0, pbSave, Button, [](TrpPreviewForm& f) { f.Save(); }},
        {"Export", 107, 108, "export", 0, pbExport, Button, nullptr},
        {"PdfQuick", 0, 151, "pdf", 0, 0, Button, nullptr},
        {"EmailQuick", 0, 152, "email", 0, 0, Button, nullptr},
        {"Find", 109, 110, "find", 0, pbFind, Button, [](TrpPreviewForm& f) { f.Find(); }},
        {"WholePage", 111, 112, "wholepage", 1, pbZoom, Button,
         [](TrpPreviewForm& f) { f.FPreview->SetZoomMode(zmWholePage); }},
        {"PageWidth", 113, 114, "pagewidth", 1, pbZoom, Button,
         [](TrpPreviewForm& f) { f.FPreview->SetZoomMode(zmPageWidth); }},
        {"Zoom100", 115, 116, "zoom100", 1, pbZoom, Button,
         [](TrpPreviewForm& f) { f.FPreview->SetZoom(1); }},
        {"TwoPages", 117, 118, "twopages", 1, pbZoom, Button,
         [](TrpPreviewForm& f) { f.FPreview->SetZoomMode(zmManyPages); }},
        {"ZoomBox", 0, 0, nullptr, 1, pbZoom, ZoomBox, nullptr},
        {"FullScreen", 0, 150, "fullscreen", 1, pbZoom, Button,
         [](TrpPreviewForm& f) { f.SetFullScreen(!f.FFullScreen); }},
        {"Margins", 120, 121, "margins", 2, pbPageSetup, Button, [](TrpPreviewForm& f) { f.PageSetup(); }},
        {"Outline", 122, 123, "outline", 2, pbOutline, Toggle,
         [](TrpPreviewForm& f) {
             f.SetOutlineVisible(f.FActions.value(QStringLiteral("Outline"))->isChecked());
         }},
        {"Drag", 124, 125, "drag", 3, pbTools, Check, [](TrpPreviewForm& f) { f.FPreview->SetTool(ptDrag); }},
        {"ZoomTool", 126, 127, "zoomtool", 3, pbTools, Check,
         [](TrpPreviewForm& f) { f.FPreview->SetTool(ptZoom); }},
        {"AddPage", 128, 129, "addpage", 5, pbEdit, Button, [](TrpPreviewForm& f) { f.AddPage(); }},
        {"DeletePage", 130, 131, "deletepage", 5, pbEdit, Button, [](TrpPreviewForm& f) { f.DeletePage(); }},
        {"First", 134, 135, "first", 4, pbNavigator, Button,
         [](TrpPreviewForm& f) { f.FPreview->SetPageNo(1); }},
        {"Prior", 136, 137, "prior", 4, pbNavigator, Button,
         [](TrpPreviewForm& f) { f.FPreview->SetPageNo(f.FPreview->PageNo() - 1); }},
        {"PageBox", 0, 0, nullptr, 4, pbNavigator, PageBox, nullptr},
        {"Next", 138, 139, "next", 4, pbNavigator, Button,
         [](TrpPreviewForm& f) { f.FPreview->SetPageNo(f.FPreview->PageNo() + 1); }},
        {"Last", 140, 141, "last", 4, pbNavigator, Button,
         [](TrpPreviewForm& f) { f.FPreview->SetPageNo(f.FPreview->PageCount()); }},
    };

    FZoomBox = new QComboBox(FToolBar);
    FZoomBox->setEditable(true);
    FZoomBox->setToolTip(rpGet(119));
    // A combo box is read by its value; what it sets is its description.
    FZoomBox->setAccessibleDescription(FZoomBox->toolTip());
    FZoomBox->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"),
                        QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"), rpGet(113),
                        rpGet(112)});
    FZoomBox->setInsertPolicy(QComboBox::NoInsert);
    FZoomBox->setMinimumContentsLength(14);
    connect(FZoomBox, &QComboBox::activated, this,
            [this](int index) { ApplyZoomText(FZoomBox->itemText(index)); });
    connect(FZoomBox->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { ApplyZoomText(FZoomBox->lineEdit()->text()); });

    FPageBox = new QLineEdit(FToolBar);
    FPageBox->setToolTip(rpGet(142));
    FPageBox->setValidator(new QIntValidator(1, 999999, FPageBox));
    FPageBox->setMaximumWidth(50);
    connect(FPageBox, &QLineEdit::returnPressed, this, [this] {
        FPreview->SetPageNo(FPageBox->text().toInt());
        FPreview->setFocus();
    });

    auto shown = [this](const ToolButton& b) { return b.Shown == 0 || ButtonVisible(b.Shown); };
    auto* tools = new QActionGroup(this);
    bool anyBefore = false;
    for (size_t i = 0; i < std::size(kToolBar); ++i) {
        const ToolButton& b = kToolBar[i];
        if (i == 0 || kToolBar[i - 1].Group != b.Group) {
            bool anyHere = false;
            for (const ToolButton& other : kToolBar)
                anyHere = anyHere || (other.Group == b.Group && shown(other));
            if (anyHere && anyBefore)
                FToolBar->addSeparator();
            anyBefore = anyBefore || anyHere;
        }
        QAction* a = nullptr;
        if (b.What == ZoomBox || b.What == PageBox) {
            a = FToolBar->addWidget(b.What == ZoomBox ? static_cast<QWidget*>(FZoomBox) : FPageBox);
            FActions.insert(QLatin1String(b.Name), a);
        } else {
            const auto run = b.Run;
            a = AddButton(QLatin1String(b.Name), b.Caption, b.Hint, QLatin1String(b.Icon), [this, run] {
                if (run)
                    run(*this);
            });
            if (b.What == Check || b.What == Toggle)
                a->setCheckable(true);
            if (b.What == Check)
                tools->addAction(a);
            const bool menu = qstrcmp(b.Name, "Export") == 0;
            if (menu)
                a->setMenu(FExportMenu);
            FToolBar->addAction(a);
            if (auto* button = qobject_cast<QToolButton*>(FToolBar->widgetForAction(a)); button && menu)
                button->setPopupMode(QToolButton::InstantPopup);
        }
        a->setVisible(shown(b));
    }
    // Buttons without a caption, and the boxes, are read by their hints.
    for (QAction* a : FToolBar->actions())
        if (QWidget* w = FToolBar->widgetForAction(a); w && a->text().isEmpty())
            w->setAccessibleName(w->toolTip());
    FActions.value(QStringLiteral("Drag"))->setChecked(true);
    FActions.value(QStringLiteral("Outline"))->setChecked(FReport.PreviewOptions.OutlineVisible);
    for (const char* name : {"AddPage", "DeletePage"})
        FActions.value(QLatin1String(name))->setEnabled(FReport.PreviewOptions.AllowEdit);

    QAction* close = AddButton(QStringLiteral("Close"), 2, 0, QStringLiteral("close"), [this] { reject(); });
    close->setToolTip(rpGet(2));
    FToolBar->addAction(close);
    if (auto* button = qobject_cast<QToolButton*>(FToolBar->widgetForAction(close)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

void TrpPreviewForm::BuildPopupMenu() {
    // The visible buttons with hints up to the second separator: the file group and the
    // zoom group.
    FPopupMenu = new QMenu(this);
    FPopupExportMenu = new QMenu(rpGet(107), FPopupMenu);
    FPopupExportMenu->setIcon(PreviewIcon(QStringLiteral("export")));
    const QStringList first = {QStringLiteral("Print"),    QStringLiteral("Open"),
                               QStringLiteral("Save"),     QStringLiteral("Export"),
                               QStringLiteral("PdfQuick"), QStringLiteral("EmailQuick")};
    const QStringList second = {QStringLiteral("WholePage"), QStringLiteral("PageWidth"),
                                QStringLiteral("Zoom100"), QStringLiteral("TwoPages"),
                                QStringLiteral("FullScreen")};
    bool any = false;
    for (const QStringList& group : {first, second}) {
        bool separated = !any;
        for (const QString& name : group) {
            QAction* a = FActions.value(name);
            if (!a || !a->isVisible())
                continue;
            if (!separated) {
                FPopupMenu->addSeparator();
                separated = true;
            }
            auto* item = FPopupMenu->addAction(a->icon(), a->toolTip());
            if (name == QStringLiteral("Export"))
                item->setMenu(FPopupExportMenu);
            else
                connect(item, &QAction::triggered, a, &QAction::trigger);
            any = true;
        }
    }
    exports::AssignMnemonics(FPopupMenu);
    RebuildExportMenus();
}

void TrpPreviewForm::SetExportEntries(std::vector<TrpExportEntry> entries) {
    FEntries = std::move(entries);
    RebuildExportMenus();
}

void TrpPreviewForm::RebuildExportMenus() {
    for (QMenu* menu : {FExportMenu, FPopupExportMenu}) {
        if (!menu)
            continue;
        menu->clear();
        for (int i = 0; i < int(FEntries.size()); ++i) {
            QAction* a = menu->addAction(FEntries[size_t(i)].Icon,
                                         FEntries[size_t(i)].Description + QStringLiteral("..."));
            a->setData(i);
            a->setEnabled(FEntries[size_t(i)].Filter != nullptr);
            connect(a, &QAction::triggered, this, [this, i] { Export(i); });
        }
        exports::AssignMnemonics(menu);
    }
    // No filter at all: no Export button.
    if (QAction* a = FActions.value(QStringLiteral("Export")))
        a->setVisible(ButtonVisible(pbExport) && !FEntries.empty());

    // The quick buttons go to the PDF and e-mail filters when one is registered.
    const QString pdfName = rpGet("PDFexport");
    const QString mailName = rpGet("EmailExport");
    for (auto [name, description] : {std::pair{QStringLiteral("PdfQuick"), pdfName},
                                     std::pair{QStringLiteral("EmailQuick"), mailName}}) {
        QAction* a = FActions.value(name);
        int found = -1;
        for (int i = 0; i < int(FEntries.size()); ++i)
            if (FEntries[size_t(i)].Filter && FEntries[size_t(i)].Description == description)
                found = i;
        a->disconnect(this);
        if (found >= 0)
            connect(a, &QAction::triggered, this, [this, found] { Export(found); });
        a->setVisible(ButtonVisible(pbExportQuick) && found >= 0);
    }
}

void TrpPreviewForm::UpdateStatus() {
    FPagePanel->setText(rpFormat(
        rpGet("clPageOf"), {QString::number(FPreview->PageNo()), QString::number(FPreview->PageCount())}));
    if (FPageBox)
        FPageBox->setText(QString::number(FPreview->PageNo()));
    // A screen reader reads the sheet as a document of this many pages.
    FPreview->setAccessibleName(windowTitle());
    FPreview->setAccessibleDescription(FPagePanel->text());
}

void TrpPreviewForm::UpdateZoomBox() {
    if (FZoomBox)
        FZoomBox->setEditText(ZoomText(FPreview->Zoom()));
}

void TrpPreviewForm::ApplyZoomText(const QString& text) {
    if (text == rpGet(113)) {
        FPreview->SetZoomMode(zmPageWidth);
    } else if (text == rpGet(112)) {
        FPreview->SetZoomMode(zmWholePage);
    } else if (auto zoom = ParseZoomText(text)) {
        FPreview->SetZoom(*zoom);
    }
    UpdateZoomBox();
    FPreview->setFocus();
}

void TrpPreviewForm::Print() {
    if (FPreview->Locked() || !ButtonVisible(pbPrint))
        return;
    PrintReport(FReport, FPreview, this);
    FPreview->setFocus();
}

void TrpPreviewForm::Export(int entryIndex) {
    if (FPreview->Locked() || entryIndex < 0 || entryIndex >= int(FEntries.size()))
        return;
    exports::TrpCustomExportFilter* filter = FEntries[size_t(entryIndex)].Filter;
    if (!filter)
        return;
    try {
        exports::ExportTo(FReport, filter, FPreview);
    } catch (const TrpReportError& e) {
        ShowError(e.Message());
    }
}

QString TrpPreviewForm::ForceExtension(const QString& fileName) {
    if (fileName.endsWith(TrpPreparedReportFile::Extension(), Qt::CaseInsensitive))
        return fileName;
    return fileName + TrpPreparedReportFile::Extension();
}

void TrpPreviewForm::Save() {
    if (FPreview->Locked())
        return;
    const QString name = GetSaveFileName(this, FileFilter());
    if (!name.isEmpty())
        SaveToFile(name);
}

void TrpPreviewForm::Open() { // NOLINT(bugprone-virtual-near-miss): the Open button
    if (FPreview->Locked())
        return;
    const QString name = GetOpenFileName(this, FileFilter());
    if (!name.isEmpty())
        LoadFromFile(name);
}

bool TrpPreviewForm::SaveToFile(const QString& fileName) {
    const QString name = ForceExtension(fileName);
    const QString error = TrpPreparedReportFile::SaveToFile(FReport, name);
    if (!error.isEmpty()) {
        ShowError(rpFormat(rpGet("clSaveError"), {QFileInfo(name).fileName()}) + QStringLiteral("\n") +
                  error);
        return false;
    }
    return true;
}

bool TrpPreviewForm::LoadFromFile(const QString& fileName) {
    const TrpLoadResult result = TrpPreparedReportFile::LoadFromFile(FReport, fileName);
    if (!result.Ok) {
        ShowError(rpFormat(rpGet("clOpenError"), {QFileInfo(fileName).fileName()}) + QStringLiteral("\n") +
                  result.Message(TrpLanguage::Russian));
        return false;
    }
    FPreview->Refresh();
    FPreview->SetPageNo(1);
    if (!result.Errors.isEmpty())
        ShowError(result.Errors.join(QStringLiteral("\n")));
    return true;
}

void TrpPreviewForm::PageSetup() {
    if (FPreview->Locked() || FPreview->PageCount() == 0)
        return;
    TrpPageSetupDialog dialog(FReport, FPreview->PageNo() - 1, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.Apply();
    FPreview->Refresh();
}

void TrpPreviewForm::SetFullScreen(bool on) {
    if (on == FFullScreen)
        return;
    FFullScreen = on;
    FToolBar->setVisible(!on);
    FStatusBar->setVisible(!on);
    if (on) {
        FStateBeforeFullScreen = windowState();
        setWindowState(windowState() | Qt::WindowFullScreen);
    } else {
        setWindowState(FStateBeforeFullScreen);
    }
    FPreview->setFocus();
}

void TrpPreviewForm::ShowError(const QString& text) {
    FReport.ShowMessage(rpGet("mbError"), text);
}

void TrpPreviewForm::ShowHelp() {
    if (const QString message = platform::OpenManual(QStringLiteral("preview")); !message.isEmpty())
        FReport.ShowMessage(rpGet("mbInfo"), message);
}

void TrpPreviewForm::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        break;
    case Qt::Key_F11:
        SetFullScreen(!FFullScreen);
        break;
    case Qt::Key_F1:
        ShowHelp();
        break;
    case Qt::Key_P:
        if (ctrl && ButtonVisible(pbPrint))
            Print();
        break;
    case Qt::Key_S:
        if (ctrl && ButtonVisible(pbSave))
            Save();
        break;
    case Qt::Key_O:
        if (ctrl && ButtonVisible(pbLoad))
            Open();
        break;
    case Qt::Key_F:
        if (ctrl && ButtonVisible(pbFind))
            Find();
        break;
    case Qt::Key_F3:
        if (ButtonVisible(pbFind))
            FindNext();
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TrpPreviewForm::reject() {
    // Esc while printing or exporting cancels that job; the window stays.
    if (FPreview->Locked()) {
        FReport.SetTerminated(true);
        return;
    }
    QDialog::reject();
}

void TrpPreviewForm::closeEvent(QCloseEvent* event) {
    if (FPreview->Locked()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TrpPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FPreview->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick && FFullScreen) {
            SetFullScreen(false);
            return true;
        }
        if (event->type() == QEvent::ContextMenu) {
            // With the Zoom tool the right button zooms out instead.
            if (FPreview->Tool() == ptDrag && !FPreview->Locked())
                FPopupMenu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

TrpPreviewForm* OpenPreview(const TrpReport& report) {
    return OpenPreviews().value(&report);
}

void ShowPrepared(TrpReport& report, QWidget* parent,
                  const std::function<void(TrpPreviewForm& form)>& onPreview) {
    if (TrpPreviewForm* open = OpenPreview(report)) {
        open->Preview()->Refresh();
        return;
    }
    const TrpPreviewOptions& options = report.PreviewOptions;
    auto* form = new TrpPreviewForm(report, parent);
    if (onPreview)
        onPreview(*form);
    if (options.Maximized)
        form->setWindowState(form->windowState() | Qt::WindowMaximized);
    if (options.Modal) {
        form->exec();
        delete form;
    } else {
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
    }
}

} // namespace preview
