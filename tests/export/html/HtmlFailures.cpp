// What goes wrong when exporting HTML: a folder that cannot be written, a pictures folder that
// cannot be made, a full disk, a cancelled progress window. Each ends in a message (or, when
// cancelled, quietly) with nothing half-written in place: the earlier page and its pictures stay.
#include "HtmlTools.h"

#include "export/Progress.h"
#include "report/EngineTexts.h"

#include <gtest/gtest.h>
#include <optional>

#include "support/WriteFailures.h"

using namespace htmltest;
using namespace writefailures;

namespace {

void WriteFile(const QString& file, const QByteArray& data) {
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray Contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file and folder below `folder`.
QStringList Entries(const QString& folder) {
    QStringList all;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        all << QDir(folder).relativeFilePath(it.next());
    all.sort();
    return all;
}

// A progress window whose Cancel is pressed as soon as it shows the given message with its
// Cancel button.
class CancellingView : public exports::TrpProgressView {
public:
    CancellingView(exports::TrpProgress& job, QString message) : FJob(job), FMessage(std::move(message)) {}
    void Show(const exports::TrpProgress& p, bool, bool showCancel) override {
        if (showCancel && p.Message() == FMessage)
            FJob.Terminate();
    }
    void Update(const exports::TrpProgress& p) override {
        if (p.Message() == FMessage)
            FJob.Terminate();
    }
    void Hide() override {}

private:
    exports::TrpProgress& FJob;
    QString FMessage;
};

} // namespace

TEST(HtmlFailures, AMessageAndTheEarlierFilesKept) {
    QTemporaryDir dir;
    const struct {
        const char* Name;
        const char* Folder;   // under the temporary folder; absolute when it starts with "/"
        const char* InTheWay; // a file that stands where the pictures folder goes
        std::optional<Failure> Fails;
        const char* Message; // %1: the main file, %2: its folder
        Mode Kind = Mode::SingleFile;
    } cases[] = {
        {"an unwritable folder", "/proc/no-%2-folder", nullptr, std::nullopt, "Не удалось записать файл %1"},
        {"no pictures folder", "blocked", "OSAGO.files", std::nullopt,
         "Не удалось создать папку %2/OSAGO.files"},
        // The file of the set that did not fit is named.
        {"a file size limit", "limited", nullptr, Failure::SizeLimit, "Не удалось записать файл %2/"},
        {"a full disk", nullptr, nullptr, Failure::FullDisk, "Не удалось записать файл %2/"},
        {"a full disk, a file per page", nullptr, nullptr, Failure::FullDisk, "Не удалось записать файл %2/",
         Mode::Multipage},
        {"a full disk, the navigator", nullptr, nullptr, Failure::FullDisk, "Не удалось записать файл %2/",
         Mode::Navigator},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        SmallFilesystem disk(8); // the earlier files take two pages, the new page needs more than the rest
        const QString folder = !c.Folder            ? disk.Path()
                               : c.Folder[0] == '/' ? QString::fromLatin1(c.Folder)
                                                    : dir.filePath(QString::fromLatin1(c.Folder));
        const QString main = folder + QStringLiteral("/OSAGO.html");
        const bool writable = c.Folder == nullptr || c.Folder[0] != '/';
        if (writable) {
            WriteFile(main, "previous page");
            if (c.InTheWay)
                WriteFile(folder + QLatin1Char('/') + QLatin1String(c.InTheWay), "in the way");
            else
                WriteFile(folder + QStringLiteral("/OSAGO.files/img0.jpg"), "previous picture");
        }
        const QStringList before = writable ? Entries(folder) : QStringList();
        std::unique_ptr<TrpReport> r = SheetReport();
        {
            std::optional<FileSizeLimit> limit;
            if (c.Fails == Failure::SizeLimit)
                limit.emplace(4096);
            auto f = Filter(main, c.Kind);
            EXPECT_FALSE(exports::ExportTo(*r, f.get()));
        }
        const QString errors = r->Errors().join('\n');
        const QString message = QString::fromUtf8(c.Message)
                                    .replace(QStringLiteral("%2"), folder)
                                    .replace(QStringLiteral("%1"), main);
        EXPECT_TRUE(errors.contains(message)) << errors.toStdString();
        if (c.Fails) {
            EXPECT_TRUE(errors.contains(Reason(*c.Fails))) << errors.toStdString();
        }
        if (writable) {
            EXPECT_EQ(Entries(folder), before);
            EXPECT_EQ(Contents(main), QByteArray("previous page"));
        }
    }
}

TEST(HtmlFailures, ASuccessfulExportReplacesTheWholeSet) {
    std::unique_ptr<TrpReport> r = SheetReport();
    QTemporaryDir dir;
    const QString main = dir.filePath(QStringLiteral("OSAGO.html"));
    WriteFile(main, "previous page");
    WriteFile(dir.filePath(QStringLiteral("OSAGO.files/img7.jpg")), "a picture of an earlier, longer export");
    auto f = Filter(main);
    ASSERT_TRUE(exports::ExportTo(*r, f.get())) << r->Errors().join('\n').toStdString();
    EXPECT_EQ(Entries(dir.path()),
              (QStringList{QStringLiteral("OSAGO.files"), QStringLiteral("OSAGO.files/img0.jpg"),
                           QStringLiteral("OSAGO.html")}));
    EXPECT_TRUE(ReadText(main).contains(QStringLiteral("OSAGO.files/img0.jpg")));
}

TEST(HtmlFailures, CancellingTheProgressWindowWritesNothing) {
    std::unique_ptr<TrpReport> r = TwoPageReport();
    r->ShowProgress = true;
    const QString messages[] = {
        report::rpFormat(report::rpGet("prExporting"), {QStringLiteral("2")}), // while the pages are read
        report::rpGet("ProgressWait"),                                         // while the page is written
    };
    for (const QString& message : messages) {
        SCOPED_TRACE(message.toStdString());
        exports::SetProgressViewFactory(
            [&](exports::TrpProgress& job) { return std::make_unique<CancellingView>(job, message); });
        QTemporaryDir dir;
        for (Mode mode : {Mode::SingleFile, Mode::Navigator}) {
            auto f = Filter(dir.filePath(QStringLiteral("report.html")), mode);
            f->SetShowProgress(true);
            f->SetOpenAfterExport(true);
            bool opened = false;
            f->OnOpenFile = [&](const QString&) { opened = true; };
            exports::ExportTo(*r, f.get());
            EXPECT_FALSE(opened);
            EXPECT_EQ(Entries(dir.path()), QStringList());
        }
        exports::SetProgressViewFactory(nullptr);
    }
}
