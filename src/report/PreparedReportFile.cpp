#include "report/PreparedReportFile.h"

#include "platform/AtomicFile.h"
#include "platform/PictureDecoder.h"
#include "report/Attributes.h"
#include "report/EngineTexts.h"
#include "report/Limits.h"
#include "report/PageCacheFile.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "report/ShapeViews.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <functional>
#include <sys/stat.h>

namespace report {

namespace {

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

TrpFileError Fault(TrpFileFault fault, QStringList names = {}, QList<double> numbers = {}) {
    return {fault, std::move(names), std::move(numbers)};
}

// A source object by its own name, a printed one by its alias.
QString ItemObjectName(const TrpXMLItem& item) {
    const QString name = item.Prop(QStringLiteral("Name"));
    return name.isEmpty() ? item.Name() : name;
}

// Why a picture's data is one the program does not draw; no fault when it draws it.
TrpFileError PictureFault(const TrpXMLItem& item, const QByteArray& data) {
    const platform::PictureHeader header = platform::CheckPicture(data);
    if (header.Error.isEmpty())
        return {};
    const QString object = ItemObjectName(item);
    if (platform::PictureFormatOf(data).isEmpty())
        return Fault(TrpFileFault::NotAPicture, {object});
    if (header.Size.isValid() &&
        qint64(header.Size.width()) * header.Size.height() > platform::MaxPicturePixels)
        return Fault(
            TrpFileFault::PictureTooLarge, {object},
            {double(header.Size.width()), double(header.Size.height()), double(platform::MaxPicturePixels)});
    // A sound header with data that does not decode, or a header that does not read.
    return Fault(platform::InspectPicture(data).Error.isEmpty() ? TrpFileFault::PictureData
                                                                : TrpFileFault::PictureHeader,
                 {object});
}

// Why an attribute value of the item or of one below it is longer than a file of ours holds,
// or is a picture the program does not draw; no fault when none is. Escapes count as the one
// character they stand for.
TrpFileError OversizedValue(const TrpXMLItem& item) {
    TrpFileError why;
    ForEachRawAttr(item.Text(), [&](QStringView name, QStringView value) {
        const bool picture = name.compare(u"propdata", Qt::CaseInsensitive) == 0 ||
                             name.compare(u"picture.propdata", Qt::CaseInsensitive) == 0;
        const qsizetype bound = picture ? limits::MaxPictureHexChars : limits::MaxValueChars;
        if (value.size() <= bound) {
            // A picture the program would not draw is refused with the file, never left blank.
            if (picture && !value.isEmpty())
                why = PictureFault(item, QByteArray::fromHex(value.toLatin1()));
            return !why.IsError();
        }
        const qsizetype length = picture ? value.size() : UnescapeAttr(value.toString()).size();
        if (length > bound)
            why = Fault(TrpFileFault::ValueTooLong, {name.toString(), item.Name()},
                        {double(length), double(bound)});
        return !why.IsError();
    });
    for (int i = 0; i < item.Count() && !why.IsError(); ++i)
        why = OversizedValue(*item.Items(i));
    return why;
}

qint64 CountBelow(const TrpXMLItem& item) {
    qint64 n = item.Count();
    for (int i = 0; i < item.Count(); ++i)
        n += CountBelow(*item.Items(i));
    return n;
}

bool PaperFits(const TrpReportPage& page) {
    auto fits = [](Extended mm) { return mm >= limits::MinPaperMm && mm <= limits::MaxPaperMm; };
    return fits(page.PaperWidth()) && fits(page.PaperHeight());
}

// Source objects by name (case-insensitive), the first in page order winning as a search
// from the page would find it.
void IndexObjects(const TrpComponent& parent, QHash<QString, TrpComponent*>& index) {
    for (const auto& c : parent.Objects()) {
        const QString key = c->Name().toCaseFolded();
        if (!index.contains(key))
            index.insert(key, c.get());
        IndexObjects(*c, index);
    }
}

bool ParseFlag(const QString& v, bool fallback) {
    if (v == u"1" || v.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (v == u"0" || v.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    return fallback;
}

} // namespace

namespace {

// Writes the whole prepared report in pieces; pages that wait in the cache file are copied
// from it as they are, so they come out exactly as if they had stayed in memory.
QString WritePrepared(TrpReport& report, const std::function<QString(const QByteArray&)>& sink) {
    TrpPreviewPages& pages = report.PreviewPages();
    TrpXMLItem* root = pages.Document().Root();
    const int kept = root->Count();

    // The pieces kept only as objects join the document for the write, and leave it after.
    AttrWriter settings;
    settings.AddBoolBit("DotMatrixReport", report.DotMatrixReport);
    settings.AddBoolBit("PreviewOptions.OutlineVisible", report.PreviewOptions.OutlineVisible);
    settings.AddInt("PreviewOptions.OutlineWidth", report.PreviewOptions.OutlineWidth);
    root->Add(QStringLiteral("report"))->Add(QStringLiteral("TrpReport"), settings.Take());

    TrpXMLItem* sources = root->Add(QStringLiteral("sourcepages"));
    for (int i = 0; i < pages.SourcePagesCount(); ++i)
        WriteObject(*pages.SourcePages(i), *sources);

    TrpXMLItem* dictionary = root->Add(QStringLiteral("dictionary"));
    for (const auto& [alias, entry] : pages.Dictionary().Entries()) {
        AttrWriter w;
        w.Add("name", entry.SourceName);
        dictionary->Add(alias, w.Take());
    }

    const QString error = pages.Document().Write(sink, [&](const TrpXMLItem& item, QByteArray& out) {
        const int index = pages.PagesItem()->IndexOf(&item);
        return index < 0 ? QStringLiteral("page cache: unknown page") : pages.PageObjectsText(index, out);
    });
    while (root->Count() > kept)
        root->Delete(root->Count() - 1);
    return error;
}

} // namespace

QByteArray TrpPreparedReportFile::SaveToBytes(TrpReport& report) {
    QByteArray bytes;
    WritePrepared(report, [&](const QByteArray& piece) {
        bytes += piece;
        return QString();
    });
    return bytes;
}

TrpLoadResult TrpPreparedReportFile::LoadFromBytes(TrpReport& report, const QByteArray& data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return LoadFromDevice(report, buffer);
}

TrpLoadResult TrpPreparedReportFile::LoadFromDevice(TrpReport& report, QIODevice& device) {
    TrpLoadResult result;
    result.Error = Fault(TrpFileFault::Syntax);

    // Everything is read into a store of its own first; the report's pages change only
    // when the whole file has been read.
    TrpPreviewPages fresh(&report);
    // Pages are checked as they are read, and with the file cache on they move to the cache
    // file in batches as a preparation would, so a long file never sits whole in memory.
    std::vector<std::pair<TrpXMLItem*, qint64>> pending; // pages and the items below them
    size_t pendingBytes = 0;
    const size_t limit = size_t(std::max(0, report.EngineOptions.MaxMemSize)) << 20;
    // Items held in memory: each costs far more than its few bytes of file, so their number
    // is bounded as well as the file's length.
    qint64 held = 0;
    auto pageRead = [&](TrpXMLItem& item, TrpXMLItem* parent, TrpFileError& error) {
        if (++held > limits::MaxHeldItems) {
            error = Fault(TrpFileFault::TooManyItems, {}, {double(limits::MaxHeldItems)});
            return false;
        }
        // A file may mark items whose children another program kept elsewhere; here they
        // are simply items without children.
        if (!item.Loaded() && item.CacheOffset() < 0)
            item.SetLoaded(true);
        if (!parent || parent->Name().compare(u"previewpages", Qt::CaseInsensitive) != 0)
            return true;
        if (TrpFileError why = OversizedValue(item); why.IsError()) {
            error = std::move(why);
            return false;
        }
        if (!report.EngineOptions.UseFileCache)
            return true;
        pending.emplace_back(&item, CountBelow(item));
        pendingBytes += item.MemorySize();
        if (pendingBytes > limit && !fresh.FCacheFailed) {
            for (const auto& [page, below] : pending) {
                if (!fresh.Spill(*page).isEmpty())
                    break; // what could not go stays in memory
                held -= below;
            }
            pending.clear();
            pendingBytes = 0;
        }
        return true;
    };
    if (!fresh.FDocument.LoadFromDevice(device, result.Error, pageRead))
        return result;
    result.Error = Fault(TrpFileFault::Syntax);
    TrpXMLItem* root = fresh.FDocument.Root();
    if (root->Name().compare(u"preparedreport", Qt::CaseInsensitive) != 0)
        return result;
    fresh.FPagesItem = root->FindItem(QStringLiteral("previewpages"));
    if (!fresh.FPagesItem)
        return result;
    for (int i = 0; i < fresh.FPagesItem->Count(); ++i)
        if (!fresh.FPagesItem->Items(i)->Name().startsWith(QStringLiteral("page"), Qt::CaseInsensitive))
            return result;
    if (fresh.FPagesItem->Count() == 0) {
        result.Error = Fault(TrpFileFault::NoPages);
        return result;
    }
    if (TrpFileError why = OversizedValue(*root); why.IsError()) {
        result.Error = std::move(why);
        return result;
    }

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
            if (!PaperFits(*page)) {
                result.Error = Fault(TrpFileFault::PaperOutside, {},
                                     {double(page->PaperWidth()), double(page->PaperHeight()),
                                      double(limits::MinPaperMm), double(limits::MaxPaperMm)});
                result.Errors.clear();
                return result;
            }
            page->SetReport(&report);
            readChildren(pageItem, *page);
            fresh.FSourcePages.push_back(std::move(page));
        }
    }
    if (const TrpXMLItem* dictionary = root->FindItem(QStringLiteral("dictionary"))) {
        std::vector<QHash<QString, TrpComponent*>> objects(fresh.FSourcePages.size());
        for (size_t p = 0; p < objects.size(); ++p)
            IndexObjects(*fresh.FSourcePages[p], objects[p]);
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
            if (TrpComponent* object = objects[size_t(index)].value(source.mid(dot + 1).toCaseFolded()))
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
    std::swap(pages.FCacheFile, fresh.FCacheFile);
    std::swap(pages.FCacheFailed, fresh.FCacheFailed);
    pages.FUnloaded = 0;
    for (int i = 0; i < pages.FPagesItem->Count(); ++i)
        pages.FUnloaded += pages.FPagesItem->Items(i)->Loaded() ? 0 : 1;
    pages.FMemBytes = pages.FPagesItem->MemorySize();
    pages.FCurPage = pages.FPagesItem->Count() - 1;
    report.DotMatrixReport = settings.DotMatrix;
    report.PreviewOptions.OutlineVisible = settings.OutlineVisible;
    report.PreviewOptions.OutlineWidth = settings.OutlineWidth;
    for (const QString& e : result.Errors)
        report.AddError(e);
    // A long file goes on to the cache file as a long preparation would; pages that cannot
    // go stay in memory.
    if (const QString error = pages.SpillIfNeeded(); !error.isEmpty())
        report.AddError(error);

    result.Ok = true;
    result.Error = {};
    return result;
}

QString TrpPreparedReportFile::SaveToFile(TrpReport& report, const QString& fileName) {
    return platform::WriteFileAtomically(fileName, [&](QIODevice& device) {
        return WritePrepared(report,
                             [&](const QByteArray& piece) { return platform::WriteAll(device, piece); });
    });
}

TrpLoadResult TrpPreparedReportFile::LoadFromFile(TrpReport& report, const QString& fileName) {
    TrpLoadResult result;
    // Unbuffered: the reader takes pieces of its own size.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        // The usual reasons in the reader's words; any other in the system's.
        const QFileInfo info(fileName);
        result.Error = !info.exists()       ? Fault(TrpFileFault::Missing)
                       : info.isDir()       ? Fault(TrpFileFault::Folder)
                       : !info.isReadable() ? Fault(TrpFileFault::Denied)
                                            : Fault(TrpFileFault::OpenFailed, {file.errorString()});
        return result;
    }
    // A device never ends (/dev/zero) or is not a file at all; a pipe is read up to the bound
    // of a file; a file longer than the bound is refused before anything is read.
    struct stat st {};
    if (::fstat(file.handle(), &st) == 0 && (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))) {
        result.Error = Fault(TrpFileFault::Device);
        return result;
    }
    if (S_ISREG(st.st_mode) && st.st_size > limits::MaxFileBytes) {
        result.Error = Fault(TrpFileFault::FileTooLong, {}, {double(limits::MaxFileBytes)});
        return result;
    }
    return LoadFromDevice(report, file);
}

QString SavePreparedReportFile(TrpReport& report, const QString& fileName) {
    return TrpPreparedReportFile::SaveToFile(report, fileName);
}

QString LoadPreparedReportFile(TrpReport& report, const QString& fileName) {
    return TrpPreparedReportFile::LoadFromFile(report, fileName).Message(TrpLanguage::English);
}

} // namespace report
