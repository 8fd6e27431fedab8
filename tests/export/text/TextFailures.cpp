// What goes wrong when writing a text export: a folder that cannot be written, a full disk, a
// file size limit, a cancelled options or save dialog. Each leaves no partial file, keeps an
// earlier file of that name and, but for a cancel, says what went wrong.
#include "TextTools.h"

#include "export/text/CSVExport.h"
#include "export/text/SimpleTextExport.h"
#include "export/text/TXTExport.h"
#include "support/WriteFailures.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>

using namespace texttest;
using namespace exports;
using namespace writefailures;

namespace {

// Forty pages of long texts: far more than the few kilobytes the failing writes get.
std::unique_ptr<TrpReport> LargeReport() {
    std::vector<std::vector<MemoSpec>> pages(40);
    for (auto& page : pages)
        for (int i = 0; i < 10; ++i)
            page.push_back({20, 20 + 40.0L * i, 700, 30,
                            QStringLiteral("Строка %1 с текстом, который занимает место в файле").arg(i)});
    return MemoReport(pages);
}

std::unique_ptr<TrpTextFileExport> NewFilter(int kind) {
    if (kind == 0)
        return std::make_unique<TrpCSVExport>();
    if (kind == 1)
        return std::make_unique<TrpSimpleTextExport>();
    return std::make_unique<TrpTXTExport>();
}

// Answers the next modal dialog: OK or Cancel.
void AnswerNextDialog(bool accept) {
    QTimer::singleShot(0, [accept] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            accept ? dialog->accept() : dialog->reject();
    });
}

enum class Trouble { MissingFolder, FullDisk, SizeLimit, OptionsCancelled, SaveCancelled };

} // namespace

TEST(TextFailures, NothingPartialIsLeftAndTheOldFileStays) {
    const struct {
        const char* Name;
        Trouble What;
    } troubles[] = {{"missing folder", Trouble::MissingFolder},
                    {"full disk", Trouble::FullDisk},
                    {"file size limit", Trouble::SizeLimit},
                    {"options dialog cancelled", Trouble::OptionsCancelled},
                    {"save dialog cancelled", Trouble::SaveCancelled}};
    std::unique_ptr<TrpReport> r = LargeReport();
    for (int kind = 0; kind < 3; ++kind)
        for (const auto& t : troubles) {
            std::unique_ptr<TrpTextFileExport> filter = NewFilter(kind);
            SCOPED_TRACE(testing::Message() << filter->FilterDescription().toStdString() << ", " << t.Name);
            SmallFilesystem disk(8); // the old file takes one page, the new one finds four kilobytes
            QTemporaryDir local;
            const QString folder = t.What == Trouble::FullDisk ? disk.Path() : local.path();
            const QString target = t.What == Trouble::MissingFolder
                                       ? QStringLiteral("/proc/no-folder-%1/OSAGO.txt").arg(kind)
                                       : folder + QStringLiteral("/OSAGO.txt");
            if (t.What != Trouble::MissingFolder)
                WriteFile(target, "previous contents");
            filter->SetShowProgress(false);
            filter->SetShowDialog(t.What == Trouble::OptionsCancelled || t.What == Trouble::SaveCancelled);
            filter->SetFileName(target);
            bool asked = false;
            filter->OnSaveDialog = [&](const QString&) {
                asked = true;
                return QString();
            };
            if (filter->ShowDialog())
                AnswerNextDialog(t.What == Trouble::SaveCancelled);
            const QStringList before = r->Errors();
            bool exported = true;
            if (t.What == Trouble::SizeLimit) {
                FileSizeLimit limit(4096);
                exported = ExportTo(*r, filter.get());
            } else {
                exported = ExportTo(*r, filter.get());
            }
            EXPECT_FALSE(exported);
            EXPECT_EQ(asked, t.What == Trouble::SaveCancelled);
            QStringList added = r->Errors();
            for (const QString& e : before)
                added.removeAll(e);
            const QString error = added.join('\n');
            if (t.What == Trouble::OptionsCancelled || t.What == Trouble::SaveCancelled)
                EXPECT_TRUE(error.isEmpty()) << error.toStdString();
            else
                EXPECT_TRUE(error.contains(QStringLiteral("Не удалось записать файл ") + target))
                    << error.toStdString();
            if (t.What != Trouble::MissingFolder) {
                EXPECT_EQ(ReadFile(target), QByteArray("previous contents"));
                EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("OSAGO.txt")});
            }
        }
}

TEST(TextFailures, TheDialogsLeadToTheChosenFileAndOpenItWhenAsked) {
    std::unique_ptr<TrpReport> r = MemoReport({{{0, 0, 300, 20, "Текст"}}});
    QTemporaryDir dir;
    for (int kind = 0; kind < 3; ++kind) {
        std::unique_ptr<TrpTextFileExport> filter = NewFilter(kind);
        SCOPED_TRACE(filter->FilterDescription().toStdString());
        filter->SetShowProgress(false);
        filter->SetFileName(QStringLiteral("OSAGO"));
        filter->SetOpenAfterExport(kind != 2);
        const QString chosen = dir.filePath(QStringLiteral("chosen%1").arg(kind) + filter->DefaultExt());
        QString proposed, opened;
        filter->OnSaveDialog = [&](const QString& initial) {
            proposed = initial;
            return chosen;
        };
        filter->OnOpenFile = [&](const QString& name) { opened = name; };
        AnswerNextDialog(true);
        EXPECT_TRUE(ExportTo(*r, filter.get()));
        EXPECT_EQ(proposed, QStringLiteral("OSAGO"));
        EXPECT_EQ(filter->FileName(), chosen);
        EXPECT_TRUE(PythonDecode(chosen, "cp1251").contains(QStringLiteral("Текст")));
        EXPECT_EQ(opened, kind != 2 ? chosen : QString());
    }
}

// Each page reaches the target when it is finished, not the whole file at the end: memory
// holds one page, whatever the report's length.
TEST(TextFailures, EachPageIsWrittenWhenItIsFinished) {
    class Recorder : public QBuffer {
    public:
        std::vector<qint64> Writes;

    protected:
        qint64 writeData(const char* data, qint64 size) override {
            Writes.push_back(size);
            return QBuffer::writeData(data, size);
        }
    };
    std::unique_ptr<TrpReport> r = LargeReport();
    for (int kind = 0; kind < 3; ++kind) {
        std::unique_ptr<TrpTextFileExport> filter = NewFilter(kind);
        SCOPED_TRACE(filter->FilterDescription().toStdString());
        Recorder out;
        out.open(QIODevice::WriteOnly);
        filter->SetShowProgress(false);
        filter->SetShowDialog(false);
        filter->SetStream(&out);
        ASSERT_TRUE(ExportTo(*r, filter.get()));
        // One write per page; the PRN export's final form feed may come on its own.
        EXPECT_GE(out.Writes.size(), 40u);
        EXPECT_LE(out.Writes.size(), 41u);
        EXPECT_LT(*std::max_element(out.Writes.begin(), out.Writes.end()), out.data().size() / 20);
    }
}
