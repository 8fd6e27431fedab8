#include "report/PreparedReportFile.h"

#include "platform/AtomicFile.h"
#include "report/Attributes.h"
#include "report/EngineTexts.h"
#include "report/PreviewPages.h"
#include "report/Report.h"
#include "report/ShapeViews.h"

#include <QFile>
#include <functional>

namespace report {

namespace {

// A prepared report nests a few levels deep; anything far deeper is not one of ours, and
// would only strain the recursive walks over the tree.
constexpr int kMaxDepth = 256;

std::unique_ptr<TrpComponent> CreateByClass(const QString& className) {
    if (auto c = CreateComponent(className))
        return c;
    return CreateShapeView(className);
}

void WriteObject(const TrpComponent& object, TrpXMLItem& parent) {
    AttrWriter w;
    object.WriteFull(w);
    TrpXMLItem* item = parent.Add(object.ClassName(), w.Take());
    for (const auto& child : object.Objects())
        WriteObject(*child, *item);
}

// How deep the tags of a text nest, roughly as the reader will see them.
int NestingDepth(const QByteArray& data) {
    int depth = 0, deepest = 0;
    qsizetype i = 0;
    while ((i = data.indexOf('<', i)) >= 0) {
        const qsizetype gt = data.indexOf('>', i + 1);
        if (gt < 0)
            break;
        const char first = i + 1 < data.size() ? data[i + 1] : 0;
        if (first == '/')
            --depth;
        else if (first != '?' && first != '!' && data[gt - 1] != '/')
            deepest = std::max(deepest, ++depth);
        i = gt + 1;
    }
    return deepest;
}

bool ParseFlag(const QString& v, bool fallback) {
    if (v == u"1" || v.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (v == u"0" || v.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    return fallback;
}

} // namespace

QByteArray TrpPreparedReportFile::SaveToBytes(TrpReport& report) {
    TrpPreviewPages& pages = report.PreviewPages();
    TrpXMLItem* root = pages.FDocument.Root();
    const int kept = root->Count();

    // The pieces kept only as objects join the document for the write, and leave it after.
    AttrWriter settings;
    settings.AddBoolBit("DotMatrixReport", report.DotMatrixReport);
    settings.AddBoolBit("PreviewOptions.OutlineVisible", report.PreviewOptions.OutlineVisible);
    settings.AddInt("PreviewOptions.OutlineWidth", report.PreviewOptions.OutlineWidth);
    root->Add(QStringLiteral("report"))->Add(QStringLiteral("TrpReport"), settings.Take());

    TrpXMLItem* sources = root->Add(QStringLiteral("sourcepages"));
    for (const auto& page : pages.FSourcePages)
        WriteObject(*page, *sources);

    TrpXMLItem* dictionary = root->Add(QStringLiteral("dictionary"));
    for (const auto& [alias, entry] : pages.FDictionary.Entries()) {
        AttrWriter w;
        w.Add("name", entry.SourceName);
        dictionary->Add(alias, w.Take());
    }

    const bool indent = pages.FDocument.AutoIndent;
    pages.FDocument.AutoIndent = false;
    QByteArray bytes = pages.FDocument.SaveToBytes();
    pages.FDocument.AutoIndent = indent;
    while (root->Count() > kept)
        root->Delete(root->Count() - 1);
    return bytes;
}

TrpLoadResult TrpPreparedReportFile::LoadFromBytes(TrpReport& report, const QByteArray& data) {
    TrpLoadResult result;
    result.Message = InvalidFormat();
    if (NestingDepth(data) > kMaxDepth)
        return result;

    // Everything is read into a store of its own first; the report's pages change only
    // when the whole file has been read.
    TrpPreviewPages fresh(&report);
    QString error;
    if (!fresh.FDocument.LoadFromBytes(data, error))
        return result;
    TrpXMLItem* root = fresh.FDocument.Root();
    if (root->Name().compare(u"preparedreport", Qt::CaseInsensitive) != 0)
        return result;
    fresh.FPagesItem = root->FindItem(QStringLiteral("previewpages"));
    if (!fresh.FPagesItem)
        return result;
    for (int i = 0; i < fresh.FPagesItem->Count(); ++i)
        if (!fresh.FPagesItem->Items(i)->Name().startsWith(QStringLiteral("page"), Qt::CaseInsensitive))
            return result;

    auto cantFind = [&](const QString& name) {
        result.Errors << rpGet("xrCantFindClass") + QLatin1Char(' ') + name;
    };
    std::function<void(const TrpXMLItem&, TrpComponent&)> readChildren = [&](const TrpXMLItem& item,
                                                                             TrpComponent& parent) {
        for (int i = 0; i < item.Count(); ++i) {
            const TrpXMLItem& childItem = *item.Items(i);
            auto child = CreateByClass(childItem.Name());
            if (!child || child->IsPage()) {
                cantFind(childItem.Name());
                continue;
            }
            child->ApplyAttributes(childItem.Text());
            TrpComponent* added = parent.Add(std::move(child));
            readChildren(childItem, *added);
        }
    };
    if (const TrpXMLItem* sources = root->FindItem(QStringLiteral("sourcepages"))) {
        for (int i = 0; i < sources->Count(); ++i) {
            const TrpXMLItem& pageItem = *sources->Items(i);
            auto page = std::make_unique<TrpReportPage>();
            if (pageItem.Name().compare(page->ClassName(), Qt::CaseInsensitive) != 0)
                cantFind(pageItem.Name()); // still a page: page numbers must keep their meaning
            page->ApplyAttributes(pageItem.Text());
            page->SetReport(&report);
            readChildren(pageItem, *page);
            fresh.FSourcePages.push_back(std::move(page));
        }
    }
    if (const TrpXMLItem* dictionary = root->FindItem(QStringLiteral("dictionary"))) {
        for (int i = 0; i < dictionary->Count(); ++i) {
            const TrpXMLItem& entry = *dictionary->Items(i);
            const QString source = entry.Prop(QStringLiteral("name"));
            const qsizetype dot = source.indexOf(QLatin1Char('.'));
            if (!source.startsWith(QStringLiteral("Page"), Qt::CaseInsensitive) || dot < 0)
                continue;
            bool ok = false;
            const int index = source.mid(4, dot - 4).toInt(&ok);
            if (!ok || index < 0 || index >= int(fresh.FSourcePages.size()))
                continue;
            if (TrpComponent* object = fresh.FSourcePages[size_t(index)]->FindObject(source.mid(dot + 1)))
                fresh.FDictionary.Add(entry.Name(), source, object);
        }
    }
    // The report's own settings, applied once the file has been read.
    struct Settings {
        bool DotMatrix, OutlineVisible;
        int OutlineWidth;
    } settings{report.DotMatrixReport, report.PreviewOptions.OutlineVisible,
               report.PreviewOptions.OutlineWidth};
    if (const TrpXMLItem* item = root->FindItem(QStringLiteral("report")); item && item->Count() > 0) {
        const TrpXMLItem& r = *item->Items(0);
        settings.DotMatrix = ParseFlag(r.Prop(QStringLiteral("DotMatrixReport")), settings.DotMatrix);
        settings.OutlineVisible =
            ParseFlag(r.Prop(QStringLiteral("PreviewOptions.OutlineVisible")), settings.OutlineVisible);
        bool ok = false;
        const int width = r.Prop(QStringLiteral("PreviewOptions.OutlineWidth")).trimmed().toInt(&ok);
        if (ok)
            settings.OutlineWidth = width;
    }

    // What is kept only as objects leaves the in-memory document.
    for (int i = root->Count() - 1; i >= 0; --i) {
        const QString& name = root->Items(i)->Name();
        if (name.compare(u"sourcepages", Qt::CaseInsensitive) == 0 ||
            name.compare(u"dictionary", Qt::CaseInsensitive) == 0 ||
            name.compare(u"report", Qt::CaseInsensitive) == 0)
            root->Delete(i);
    }
    fresh.FPagesItem = root->FindItem(QStringLiteral("previewpages"));
    root->SetName(QStringLiteral("preparedreport"));

    // Success: the new pages replace the old ones in one go.
    TrpPreviewPages& pages = report.PreviewPages();
    std::swap(pages.FDocument, fresh.FDocument);
    std::swap(pages.FPagesItem, fresh.FPagesItem);
    std::swap(pages.FSourcePages, fresh.FSourcePages);
    std::swap(pages.FDictionary, fresh.FDictionary);
    pages.FAliasOfTemplate.clear();
    pages.FCache.clear();
    pages.FCurPage = pages.FPagesItem->Count() - 1;
    report.DotMatrixReport = settings.DotMatrix;
    report.PreviewOptions.OutlineVisible = settings.OutlineVisible;
    report.PreviewOptions.OutlineWidth = settings.OutlineWidth;
    for (const QString& e : result.Errors)
        report.AddError(e);

    result.Ok = true;
    result.Message.clear();
    return result;
}

QString TrpPreparedReportFile::SaveToFile(TrpReport& report, const QString& fileName) {
    return platform::WriteFileAtomically(fileName, SaveToBytes(report));
}

TrpLoadResult TrpPreparedReportFile::LoadFromFile(TrpReport& report, const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        TrpLoadResult result;
        result.Message = file.errorString();
        return result;
    }
    return LoadFromBytes(report, file.readAll());
}

QString SavePreparedReportFile(TrpReport& report, const QString& fileName) {
    return TrpPreparedReportFile::SaveToFile(report, fileName);
}

QString LoadPreparedReportFile(TrpReport& report, const QString& fileName) {
    return TrpPreparedReportFile::LoadFromFile(report, fileName).Message;
}

} // namespace report
