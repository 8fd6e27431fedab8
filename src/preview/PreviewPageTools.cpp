// The preview's tools for long reports: text search, the outline panel and page editing.
#include "preview/PreviewForm.h"

#include "report/EngineTexts.h"
#include "report/PageSearch.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"

#include <QTreeWidget>

namespace preview {

using namespace report;

int TrpPreviewForm::FindOnPage(int page, int from) {
    const TrpReportPage* p = FReport.PreviewPages().Page(page);
    if (!p)
        return -1;
    const auto& objects = p->Objects();
    for (int i = std::max(from, 0); i < int(objects.size()); ++i)
        if (auto* memo = dynamic_cast<const TrpCustomMemoView*>(objects[size_t(i)].get());
            memo && memo->Visible() && TextContains(memo->Text(), FFindText, Qt::CaseInsensitive))
            return i;
    return -1;
}

void TrpPreviewForm::Find() {
    const QString text = GetFindText(this, FFindText);
    if (text.isEmpty())
        return;
    FFindText = text;
    FPreview->ClearHighlight();
    FindNext();
}

bool TrpPreviewForm::FindNext() {
    if (FFindText.isEmpty())
        return false;
    // After the last hit on its page, else from the top of the current page; the other pages
    // are searched on their stored texts, without rebuilding them.
    const bool onHit = FPreview->HighlightPage() == FPreview->PageNo();
    int page = FPreview->PageNo() - 1;
    int object = FindOnPage(page, onHit ? FPreview->HighlightObject() + 1 : 0);
    while (object < 0) {
        page = FindTextPage(FReport.PreviewPages(), FFindText, page + 1, Qt::CaseInsensitive);
        if (page < 0)
            break;
        object = FindOnPage(page, 0);
    }
    if (object < 0) {
        FReport.ShowMessage(rpGet("mbInfo"), rpGet("clStrNotFound"));
        return false;
    }
    const auto* view =
        static_cast<const TrpView*>(FReport.PreviewPages().Page(page)->Objects()[size_t(object)].get());
    FPreview->ShowPosition(page + 1, std::max<Extended>(view->Top() - 20, 0));
    FPreview->SetHighlight(page + 1, object);
    return true;
}

void TrpPreviewForm::SetOutlineVisible(bool visible) {
    if (visible && !FOutlineFilled)
        FillOutline();
    FOutline->setVisible(visible);
    if (QAction* a = FActions.value(QStringLiteral("Outline")))
        a->setChecked(visible);
}

void TrpPreviewForm::FillOutline() {
    FOutline->clear();
    QList<QTreeWidgetItem*> items;
    for (const TrpPreviewPages::OutlineEntry& e : FReport.PreviewPages().Outline()) {
        auto* item = new QTreeWidgetItem(QStringList{e.Text});
        item->setData(0, Qt::UserRole, e.Page);
        items << item;
    }
    FOutline->addTopLevelItems(items);
    FOutlineFilled = true;
}

void TrpPreviewForm::AddPage() {
    if (!FReport.PreviewOptions.AllowEdit || FPreview->Locked())
        return;
    const int added = FReport.PreviewPages().InsertEmptyPage(FPreview->PageNo() - 1);
    FOutlineFilled = false;
    FPreview->Refresh();
    FPreview->SetPageNo(added + 1);
    if (FOutline->isVisible())
        FillOutline();
}

void TrpPreviewForm::DeletePage() {
    TrpPreviewPages& pages = FReport.PreviewPages();
    // The last page stays: a preview always shows one.
    if (!FReport.PreviewOptions.AllowEdit || FPreview->Locked() || pages.Count() <= 1)
        return;
    const int page = FPreview->PageNo();
    pages.DeletePage(page - 1);
    FOutlineFilled = false;
    FPreview->Refresh();
    FPreview->SetPageNo(std::min(page, pages.Count()));
    if (FOutline->isVisible())
        FillOutline();
}

} // namespace preview
