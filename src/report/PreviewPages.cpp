#include "report/PreviewPages.h"

#include "report/Attributes.h"
#include "report/DrawText.h"
#include "report/Engine.h"
#include "report/Report.h"

namespace report {

namespace {

// "m" for TrpMemoView, "p" for TrpPictureView, "b" for any band.
QString AliasPrefix(const TrpComponent& object) {
    if (object.IsBand())
        return QStringLiteral("b");
    QString name = object.ClassName();
    if (name.startsWith(QStringLiteral("Trp")))
        name.remove(0, 3);
    return name.isEmpty() ? QStringLiteral("o") : name.left(1).toLower();
}

} // namespace

QString TrpDictionary::CreateUniqueName(const QString& prefix) const {
    auto taken = [&](int n) { return FEntries.count(prefix + QString::number(n)) > 0; };
    int n = 10000;
    while (n > 1 && !taken(n))
        n /= 2;
    if (auto it = FContiguous.find(prefix); it != FContiguous.end() && n <= it->second)
        n = it->second + 1;
    while (taken(n))
        ++n;
    return prefix + QString::number(n);
}

void TrpDictionary::Add(const QString& alias, const QString& sourceName, TrpComponent* object) {
    FEntries[alias] = Entry{sourceName, object};
    qsizetype digits = alias.size();
    while (digits > 0 && alias[digits - 1].isDigit())
        --digits;
    const QString prefix = alias.left(digits);
    int& k = FContiguous[prefix];
    while (FEntries.count(prefix + QString::number(k + 1)))
        ++k;
}

const TrpDictionary::Entry* TrpDictionary::Find(const QString& alias) const {
    auto it = FEntries.find(alias);
    return it == FEntries.end() ? nullptr : &it->second;
}

TrpPreviewPages::TrpPreviewPages(TrpReport* report) : FReport(report) {
    Clear();
}

TrpPreviewPages::~TrpPreviewPages() = default;

void TrpPreviewPages::Clear() {
    FCache.clear();
    FDocument.Clear();
    FDocument.Root()->SetName(QStringLiteral("preparedreport"));
    FPagesItem = FDocument.Root()->Add(QStringLiteral("previewpages"));
    FSourcePages.clear();
    FDictionary.Clear();
    FAliasOfTemplate.clear();
    FCurPage = -1;
}

int TrpPreviewPages::Count() const {
    return FPagesItem->Count();
}

int TrpPreviewPages::AddSourcePage(const TrpReportPage& page) {
    auto copy = std::make_unique<TrpReportPage>();
    copy->Assign(page);
    const int index = int(FSourcePages.size());
    const QString pagePrefix = QStringLiteral("Page") + QString::number(index) + QLatin1Char('.');
    for (const auto& object : page.Objects()) {
        auto clone = object->Clone();
        if (!clone)
            continue;
        TrpComponent* c = copy->Add(std::move(clone));
        const QString alias = FDictionary.CreateUniqueName(AliasPrefix(*c));
        FDictionary.Add(alias, pagePrefix + c->Name(), c);
        FAliasOfTemplate.insert(object.get(), alias);
    }
    FSourcePages.push_back(std::move(copy));
    return index;
}

void TrpPreviewPages::AddPage(int sourceIndex) {
    FPagesItem->Add(QStringLiteral("page") + QString::number(sourceIndex));
    FCurPage = FPagesItem->Count() - 1;
}

void TrpPreviewPages::AddObject(const TrpComponent& object) {
    if (FCurPage < 0)
        return;
    TrpXMLItem* page = FPagesItem->Items(FCurPage);
    AttrWriter w;
    auto it = FAliasOfTemplate.constFind(&object);
    const TrpDictionary::Entry* entry = it == FAliasOfTemplate.constEnd() ? nullptr : FDictionary.Find(*it);
    if (entry) {
        object.WriteDiff(w, *entry->Object);
        page->Add(*it, w.Take());
    } else {
        object.WriteFull(w);
        page->Add(object.ClassName(), w.Take());
    }
}

void TrpPreviewPages::ReplaceInTexts(const QString& from, const QString& to) {
    const QString escaped = EscapeAttr(from);
    for (int p = 0; p < FPagesItem->Count(); ++p) {
        TrpXMLItem* page = FPagesItem->Items(p);
        for (int i = 0; i < page->Count(); ++i) {
            TrpXMLItem* item = page->Items(i);
            if (item->Text().contains(escaped)) {
                QString t = item->Text();
                t.replace(escaped, EscapeAttr(to));
                item->SetText(std::move(t));
            }
        }
    }
    FCache.clear();
}

std::unique_ptr<TrpReportPage> TrpPreviewPages::Rebuild(int index) const {
    const TrpXMLItem* item = FPagesItem->Items(index);
    bool ok = false;
    const int source = item->Name().mid(4).toInt(&ok);
    auto page = std::make_unique<TrpReportPage>();
    if (ok && source >= 0 && source < int(FSourcePages.size()))
        page->Assign(*FSourcePages[size_t(source)]);
    std::vector<TrpView*> aligned;
    for (int i = 0; i < item->Count(); ++i) {
        const TrpXMLItem* child = item->Items(i);
        std::unique_ptr<TrpComponent> object;
        if (const TrpDictionary::Entry* entry = FDictionary.Find(child->Name())) {
            object = entry->Object->Clone();
        } else {
            object = CreateComponent(child->Name());
        }
        if (!object)
            continue;
        object->ApplyAttributes(child->Text());
        TrpComponent* added = page->Add(std::move(object));
        if (auto* view = dynamic_cast<TrpView*>(added); view && view->Align() != baNone)
            aligned.push_back(view);
        // An auto-width memo stores no width: it follows its text again.
        if (auto* memo = dynamic_cast<TrpCustomMemoView*>(added); memo && memo->AutoWidth() && FReport)
            memo->SetWidth(MemoNeededSize(FReport->DrawText(), *memo).width());
    }
    // Aligned views store no left of their own: they are placed again as on the page. Objects
    // filling the band or sitting on its bottom were placed after their neighbours there, so they
    // take no part in the neighbour search here either.
    if (!aligned.empty()) {
        std::vector<TrpView*> views;
        for (const auto& c : page->Objects())
            if (auto* v = dynamic_cast<TrpView*>(c.get());
                v && v->Align() != baClient && v->Align() != baBottom)
                views.push_back(v);
        AlignBandObjects(views, page->PrintableWidth(), page->PrintableHeight());
        for (TrpView* v : aligned)
            if (v->Align() == baClient)
                v->SetLeft(0);
    }
    return page;
}

TrpReportPage* TrpPreviewPages::Page(int index) {
    if (index < 0 || index >= Count())
        return nullptr;
    for (auto it = FCache.begin(); it != FCache.end(); ++it)
        if (it->first == index) {
            if (it != FCache.begin())
                FCache.splice(FCache.begin(), FCache, it);
            return FCache.front().second.get();
        }
    FCache.emplace_front(index, Rebuild(index));
    if (int(FCache.size()) > CacheSize)
        FCache.pop_back();
    return FCache.front().second.get();
}

QSize TrpPreviewPages::PageSize(int index) {
    const TrpReportPage* page = Page(index);
    return page ? QSize(Round(page->Width()), Round(page->Height())) : QSize();
}

size_t TrpPreviewPages::MemorySize() const {
    return FPagesItem->MemorySize();
}

} // namespace report
