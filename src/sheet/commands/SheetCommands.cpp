#include "sheet/commands/SheetCommands.h"

#include "export/ExportFilter.h"
#include "export/Mnemonics.h"
#include "preview/PreviewForm.h"
#include "preview/Printing.h"
#include "report/EngineTexts.h"
#include "sheet/commands/SheetFilters.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

namespace sheet {

namespace {

// The description a filter shows in the preview's Export menu.
QString DescriptionOf(int index, const exports::TrpCustomExportFilter* filter) {
    if (filter && !filter->FilterDescription().isEmpty())
        return filter->FilterDescription();
    const ExportTarget& target = ExportTargets()[size_t(index)];
    const QString key = QString::fromUtf8(target.DescriptionKey);
    const QString text = report::rpGet(key);
    return text != key ? text : QString::fromUtf8(target.Description);
}

} // namespace

TSheetCommands::TSheetCommands(QWidget* window)
    : QObject(window), FWindow(window), FReport(CreateSheetReport()) {
    // Created in menu order, so the registered ones keep that order in every Export menu.
    for (int i = 0; i < ExportTargetCount; ++i)
        FFilters[size_t(i)] = CreateSheetFilter(i);

    FMenu = new QMenu(window);
    FMenu->setObjectName(QStringLiteral("pmExport"));
    for (int i = 0; i < ExportTargetCount; ++i) {
        const ExportTarget& target = ExportTargets()[size_t(i)];
        QAction* item = FMenu->addAction(ExportPicture(i), QString::fromUtf8(target.Caption));
        item->setObjectName(QString::fromUtf8(target.Item));
        item->setEnabled(FFilters[size_t(i)] != nullptr);
        connect(item, &QAction::triggered, this, [this, item] { BtnPrintClick(item); });
    }
    exports::AssignMnemonics(FMenu);

    OnShowPreview = [this](report::TrpReport& r) {
        preview::ShowPrepared(r, FWindow, [this](preview::TrpPreviewForm& form) { SetUpPreview(form); });
    };
    OnPopupMenu = [](QMenu* menu, const QPoint& at) { menu->popup(at); };
}

TSheetCommands::~TSheetCommands() = default;

exports::TrpCustomExportFilter* TSheetCommands::Filter(int index) const {
    return index >= 0 && index < ExportTargetCount ? FFilters[size_t(index)].get() : nullptr;
}

QAction* TSheetCommands::MenuItem(int index) const {
    const QList<QAction*> items = FMenu->actions();
    return index >= 0 && index < items.size() ? items[index] : nullptr;
}

void TSheetCommands::SetUpPreview(preview::TrpPreviewForm& form) const {
    std::vector<preview::TrpExportEntry> entries;
    entries.reserve(ExportTargetCount);
    for (int i = 0; i < ExportTargetCount; ++i)
        entries.push_back({DescriptionOf(i, Filter(i)), Filter(i), ExportPicture(i)});
    form.SetExportEntries(std::move(entries));
}

void TSheetCommands::BtnPrintClick(QObject* sender) {
    const SheetTexts texts = ReadTexts ? ReadTexts() : SheetTexts{};
    // Errors of preparation are shown by the report itself.
    PrepareSheet(*FReport, texts);

    auto* item = qobject_cast<QAction*>(sender);
    if (!item || !FMenu->actions().contains(item)) {
        if (OnShowPreview)
            OnShowPreview(*FReport);
        return;
    }
    const int index = int(FMenu->actions().indexOf(item));
    exports::TrpCustomExportFilter* filter = Filter(index);
    if (!filter)
        return;
    try {
        exports::ExportTo(*FReport, filter);
    } catch (const report::TrpReportError& e) {
        FReport->ShowMessage(report::rpGet("mbError"), e.Message());
    }
}

void TSheetCommands::BtnExportClick(const QPoint& windowTopLeft, int routeMapWidth, const QPoint& buttonPos) {
    if (OnPopupMenu)
        OnPopupMenu(FMenu, ExportMenuPosition(windowTopLeft, routeMapWidth, buttonPos));
}

void TSheetCommands::InstallMessageBoxes() {
    FReport->OnShowError = [this](const QString& caption, const QString& text) {
        QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : FWindow;
        QMessageBox::critical(parent, caption, text);
    };
}

} // namespace sheet
