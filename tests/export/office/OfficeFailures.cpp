// Both filters when the file cannot be written, the disk fills up, the user cancels the progress
// window, or the file is to be opened afterwards.
#include "OfficeTools.h"
#include "export/Progress.h"
#include "export/rtf/RtfExport.h"
#include "export/xml/XmlExport.h"
#include "report/PreparedReportFile.h"
#include "sheet/commands/SheetFilters.h"
#include "support/WriteFailures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>
#include <optional>

using namespace officetest;
using namespace exports;
using namespace writefailures;

namespace {

const struct Format {
    const char* Name;
    int MenuIndex;
    const char* File;
} kFormats[] = {{"RTF", 10, "sheet.rtf"}, {"XML", 9, "sheet.xls"}};

std::unique_ptr<TrpCustomExportFilter> Filter(const Format& f) {
    std::unique_ptr<TrpCustomExportFilter> filter = sheet::CreateSheetFilter(f.MenuIndex);
    filter->SetShowProgress(false);
    return filter;
}

void WriteOld(const QString& file) {
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous contents");
}

// Cancels the progress job whose message starts with the text, once it has advanced so far.
class CancellingView : public TrpProgressView {
public:
    CancellingView(TrpProgress& job, QString message, int at)
        : FJob(job), FMessage(std::move(message)), FAt(at) {}
    void Show(const TrpProgress&, bool, bool showCancel) override { FCancellable = showCancel; }
    void Update(const TrpProgress& p) override {
        if (FCancellable && p.Message().startsWith(FMessage) && p.Position() >= FAt && !p.Terminated())
            FJob.Terminate();
    }
    void Hide() override {}

private:
    TrpProgress& FJob;
    QString FMessage;
    int FAt;
    bool FCancellable = false;
};

struct CancelAt {
    CancelAt(const QString& message, int at) {
        SetProgressViewFactory(
            [=](TrpProgress& job) { return std::make_unique<CancellingView>(job, message, at); });
    }
    ~CancelAt() { SetProgressViewFactory(nullptr); }
};

// Whether the document is complete in its own format's terms.
bool WellFormed(const QByteArray& doc, bool xml) {
    if (xml) {
        QXmlStreamReader r(doc);
        while (!r.atEnd())
            r.readNext();
        return !r.hasError();
    }
    QByteArray plain = doc;
    plain.replace("\\\\", "").replace("\\{", "").replace("\\}", "");
    int depth = 0;
    for (char c : plain) {
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        if (depth < 0)
            return false;
    }
    return depth == 0 && doc.startsWith("{\\rtf1") && doc.endsWith("}\r\n");
}

// A report of several pages of rows, so that both writers advance their progress many times.
std::unique_ptr<report::TrpReport> LongReport(int pages) {
    auto r = exporttest::NewReport();
    for (int p = 0; p < pages; ++p) {
        report::TrpReportPage* page = r->AddPage();
        page->SetName(QStringLiteral("Page%1").arg(p + 1));
        for (int i = 0; i < 20; ++i)
            exporttest::AddMemo(*page, QStringLiteral("m%1_%2").arg(p).arg(i),
                                QStringLiteral("page %1 row %2").arg(p + 1).arg(i), 0, i * 30, 300, 30,
                                report::ftAll);
    }
    EXPECT_TRUE(r->Prepare());
    return r;
}

QString WaitForFile(const QString& file, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (QFile::exists(file)) {
            QThread::msleep(100); // the opener finishes writing
            return QString::fromUtf8(ReadFile(file)).trimmed();
        }
        QThread::msleep(50);
    }
    return {};
}

// Environment variables set for the object's life.
class Env {
public:
    void Set(const char* name, const QByteArray& value) {
        FSaved.emplace_back(name,
                            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, value);
    }
    ~Env() {
        for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it)
            it->second ? qputenv(it->first, *it->second) : qunsetenv(it->first);
    }

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> FSaved;
};

} // namespace

TEST(OfficeFailures, UnwritableTargetAndFullDiskKeepTheOldFile) {
    auto r = PreparedSheet();
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.Name);
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("no/such/folder/") + format.File);
        auto filter = Filter(format);
        QString error = RunFilter(*r, *filter, missing);
        EXPECT_TRUE(error.contains(missing)) << error.toStdString();
        EXPECT_FALSE(QFile::exists(missing));

        for (Failure failure : {Failure::SizeLimit, Failure::FullDisk}) {
            SCOPED_TRACE(Name(failure));
            SmallFilesystem disk(8); // the old file takes one page, the new one finds four kilobytes
            const QString folder = failure == Failure::FullDisk ? disk.Path() : dir.path();
            const QString target = folder + QLatin1Char('/') + QLatin1String(format.File);
            WriteOld(target);
            {
                std::optional<FileSizeLimit> limit;
                if (failure == Failure::SizeLimit)
                    limit.emplace(4096);
                auto f = Filter(format);
                error = RunFilter(*r, *f, target);
            }
            EXPECT_TRUE(error.contains(target) && error.contains(Reason(failure))) << error.toStdString();
            EXPECT_EQ(ReadFile(target), QByteArray("previous contents"));
            EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QLatin1String(format.File)});
        }
    }
}

TEST(OfficeFailures, CancelledProgress) {
    auto r = LongReport(3);
    r->ShowProgress = true;
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.Name);
        const bool xml = format.MenuIndex == 9;
        QTemporaryDir dir;
        const QString target = dir.filePath(QLatin1String(format.File));

        // Cancelled while the pages are gathered: nothing is written, the old file stays.
        WriteOld(target);
        {
            CancelAt cancel(QStringLiteral("Экспорт страницы"), 0);
            auto f = Filter(format);
            f->SetShowProgress(true);
            const QString error = RunFilter(*r, *f, target);
            EXPECT_TRUE(error.contains(QStringLiteral("отменен")) && error.contains(target))
                << error.toStdString();
        }
        EXPECT_EQ(ReadFile(target), QByteArray("previous contents"));

        // Cancelled while the rows are written: the document is closed properly, holds the
        // rows written so far, and the user is told it is incomplete.
        {
            CancelAt cancel(xml ? QStringLiteral("Экспорт страниц") : QStringLiteral("Подождите"), 1);
            auto f = Filter(format);
            f->SetShowProgress(true);
            const QString error = RunFilter(*r, *f, target);
            EXPECT_TRUE(error.contains(QStringLiteral("не полностью")) && error.contains(target))
                << error.toStdString();
        }
        const QByteArray doc = ReadFile(target);
        EXPECT_TRUE(WellFormed(doc, xml)) << doc.right(300).toStdString();
        EXPECT_FALSE(doc.contains("page 3 row 19"));

        // Not cancelled: all of it.
        {
            auto f = Filter(format);
            f->SetShowProgress(true);
            EXPECT_EQ(RunFilter(*r, *f, target), QString());
        }
        EXPECT_TRUE(WellFormed(ReadFile(target), xml));
        EXPECT_TRUE(ReadFile(target).contains("page 3 row 19"));
    }
}

TEST(OfficeFailures, OpenAfterExport) {
    auto r = PreparedSheet();
    QTemporaryDir dir;
    // An opener that writes down what it was given, as the desktop's program would be started.
    const QString record = dir.filePath(QStringLiteral("opened.txt"));
    const QString opener = dir.filePath(QStringLiteral("opener.sh"));
    {
        QFile script(opener);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$1\" > \"" + record.toUtf8() + ".tmp\" && mv \"" +
                     record.toUtf8() + ".tmp\" \"" + record.toUtf8() + "\"\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    auto run = [&](const Format& format, const QString& name) {
        auto f = Filter(format);
        if (auto* rtf = dynamic_cast<TrpRTFExport*>(f.get()))
            rtf->SetOpenAfterExport(true);
        if (auto* xml = dynamic_cast<TrpXMLExport*>(f.get()))
            xml->SetOpenExcelAfterExport(true);
        return RunFilter(*r, *f, dir.filePath(name));
    };
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.Name);
        const QString name = QStringLiteral("open ") + QLatin1String(format.File);
        {
            Env env;
            env.Set("TARIFON_OPEN_WITH", opener.toUtf8());
            EXPECT_EQ(run(format, name), QString());
            EXPECT_EQ(WaitForFile(record, 10000), dir.filePath(name));
            QFile::remove(record);
        }
        {
            // No program: the file is written, and the user is told it could not be opened.
            Env env;
            env.Set("TARIFON_OPEN_WITH", dir.filePath(QStringLiteral("missing-opener")).toUtf8());
            const QString error = run(format, QStringLiteral("unopened ") + QLatin1String(format.File));
            EXPECT_TRUE(error.contains(QStringLiteral("открыть его не удалось"))) << error.toStdString();
            EXPECT_TRUE(
                QFile::exists(dir.filePath(QStringLiteral("unopened ") + QLatin1String(format.File))));
        }
    }
    // Without an opener named, the desktop's association for the type decides: here a private
    // set of desktop entries and associations, with the spreadsheet type and none for RTF.
    const QString data = dir.filePath(QStringLiteral("data")),
                  config = dir.filePath(QStringLiteral("config"));
    QDir().mkpath(data + QStringLiteral("/applications"));
    QDir().mkpath(config);
    {
        QFile entry(data + QStringLiteral("/applications/tarifon-test-calc.desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Test spreadsheet\nExec=" + opener.toUtf8() +
                    " %f\nMimeType=application/vnd.ms-excel;\n");
        QFile list(config + QStringLiteral("/mimeapps.list"));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write("[Default Applications]\napplication/vnd.ms-excel=tarifon-test-calc.desktop\n");
    }
    Env env;
    env.Set("XDG_DATA_HOME", data.toUtf8());
    // The system's folders stay for the type database; they associate neither type here.
    env.Set("XDG_DATA_DIRS", "/usr/share");
    env.Set("XDG_CONFIG_HOME", config.toUtf8());
    env.Set("XDG_CONFIG_DIRS", dir.filePath(QStringLiteral("nothing")).toUtf8());
    qunsetenv("TARIFON_OPEN_WITH");
    EXPECT_EQ(run(kFormats[1], QStringLiteral("associated.xls")), QString());
    EXPECT_EQ(WaitForFile(record, 15000), dir.filePath(QStringLiteral("associated.xls")));
    const QString error = run(kFormats[0], QStringLiteral("unassociated.rtf"));
    EXPECT_TRUE(error.contains(QStringLiteral("нет программы"))) << error.toStdString();
}

namespace {

// One page of memos: at random places, sizes and distances, overlapping each other on a paper
// 1.6 metres square (a received file, not a laid-out report), or thin ones side by side.
std::unique_ptr<report::TrpReport> DensePage(int memos, bool sideBySide) {
    auto r = exporttest::NewReport();
    report::TrpReportPage* page = r->AddPage();
    page->SetName(QStringLiteral("Page"));
    page->SetPaperWidth(sideBySide ? 5300 : 1600);
    page->SetPaperHeight(sideBySide ? 297 : 1600);
    page->SetLeftMargin(0);
    page->SetTopMargin(0);
    unsigned seed = 26;
    auto next = [&](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return report::Extended((seed >> 8) % range);
    };
    for (int i = 0; i < memos; ++i) {
        const QString name = QStringLiteral("d%1").arg(i);
        if (sideBySide)
            exporttest::AddMemo(*page, name, name, 2 * i, 10, 1, 20);
        else
            exporttest::AddMemo(*page, name, name, next(5900), next(5900), 20 + next(100), 12 + next(20));
    }
    EXPECT_TRUE(r->Prepare());
    return r;
}

// What each file's reader finds: rows of a CSV file, cells of an HTML table or an XML sheet, the
// groups of an RTF document; one run of Python for all files.
QJsonObject ReadBack(const QStringList& files) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), QStringLiteral(R"(
import csv, json, sys, xml.etree.ElementTree as ET
from html.parser import HTMLParser
out = {}
for name in sys.argv[1:]:
    kind = name.rsplit('.', 1)[1]
    if kind == 'csv':
        with open(name, encoding='cp1251', newline='') as f:
            out[name] = sum(1 for row in csv.reader(f, delimiter=';') for field in row if field)
    elif kind == 'html':
        class Cells(HTMLParser):
            n = 0
            def handle_starttag(self, tag, attrs):
                self.n += tag == 'td'
        p = Cells()
        with open(name, encoding='utf-8') as f:
            p.feed(f.read())
        out[name] = p.n
    elif kind == 'xls':
        ns = '{urn:schemas-microsoft-com:office:spreadsheet}'
        n = 0
        for row in ET.parse(name).iter(ns + 'Row'):
            at = 0
            for cell in row.iter(ns + 'Cell'):
                index = int(cell.get(ns + 'Index'))
                if index <= at:
                    raise SystemExit(name + ': cells overlap')
                at = index + int(cell.get(ns + 'MergeAcross', '0'))
                n += 1
        out[name] = n
    elif kind == 'rtf':
        data = open(name, 'rb').read().replace(b'\\\\', b'').replace(b'\\{', b'').replace(b'\\}', b'')
        depth = 0
        for c in data:
            depth += (c == ord('{')) - (c == ord('}'))
            if depth < 0:
                raise SystemExit(name + ': unbalanced')
        out[name] = data.count(b'\\cell}') if depth == 0 else -1
    else:
        out[name] = open(name, 'rb').read().count(b'\n')
print(json.dumps(out))
)")} + files);
    EXPECT_TRUE(python.waitForFinished(120000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

} // namespace

TEST(OfficeFailures, LongAndDensePagesThroughEveryGridFormat) {
    const struct {
        const char* Name;
        std::unique_ptr<report::TrpReport> Report;
        int Memos;
        const char* LastText;  // found in every file; "" when memos cover each other
        const char* RefusedBy; // the format that cannot hold the page
    } reports[] = {
        {"3,000 scattered memos", DensePage(3000, false), 3000, "", "RTF"},
        {"500 pages of 20 rows", LongReport(500), 10000, "page 500 row 19", ""},
        {"9,000 memos side by side", DensePage(9000, true), 9000, "", "XML"},
    };
    const struct {
        const char* Name;
        int MenuIndex;
        const char* Ext;
    } formats[] = {{"PRN", 4, "prn"},   {"TXT", 5, "txt"}, {"CSV", 6, "csv"},
                   {"HTML", 7, "html"}, {"XML", 9, "xls"}, {"RTF", 10, "rtf"}};
    QTemporaryDir dir;
    QStringList written;
    QMap<QString, int> cells; // what a reader has to find at least
    for (const auto& r : reports) {
        const QString trp = dir.filePath(QStringLiteral("input.trp"));
        ASSERT_EQ(report::SavePreparedReportFile(*r.Report, trp), QString());
        const qint64 input = QFileInfo(trp).size();
        for (const auto& format : formats) {
            SCOPED_TRACE(std::string(r.Name) + " as " + format.Name);
            auto filter = sheet::CreateSheetFilter(format.MenuIndex);
            filter->SetShowProgress(false);
            const QString file = dir.filePath(QStringLiteral("%1.%2").arg(written.size()).arg(format.Ext));
            const QString error = RunFilter(*r.Report, *filter, file);
            if (QLatin1String(r.RefusedBy) == QLatin1String(format.Name)) {
                EXPECT_TRUE(error.contains(QStringLiteral("Отчет слишком велик для формата")))
                    << error.toStdString();
                EXPECT_FALSE(QFile::exists(file));
                continue;
            }
            ASSERT_EQ(error, QString());
            // Proportional to what the page holds, not to its rows times its columns.
            EXPECT_LT(QFileInfo(file).size(), 100 * input) << QFileInfo(file).size();
            if (*r.LastText) {
                EXPECT_TRUE(ReadFile(file).contains(r.LastText));
            }
            written << file;
            cells[file] = *r.LastText ? r.Memos : 0;
        }
    }
    const QJsonObject found = ReadBack(written);
    for (const QString& file : written)
        EXPECT_GE(found.value(file).toInt(-1), cells[file]) << file.toStdString();
}
