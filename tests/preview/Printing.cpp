// Printing through a real CUPS scheduler started by the test, and to a PDF file.
#include "PreviewFixtures.h"
#include "support/CupsServer.h"

#include "preview/PrintDialog.h"
#include "preview/Printers.h"
#include "preview/Printing.h"
#include "report/EngineTexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

using namespace preview;
using namespace report;
using namespace previewtest;

namespace {

struct Message {
    QString Caption, Text;
};

class CupsPrinting : public ::testing::Test {
protected:
    void Start(const std::vector<CupsServer::Queue>& queues) {
        if (!CupsServer::Available())
            GTEST_SKIP() << "cupsd is not installed (scripts/install-deps)";
        FServer = std::make_unique<CupsServer>(queues);
        ASSERT_TRUE(FServer->Started()) << FServer->Error().toStdString();
        TrpPrinters::Instance().Refresh();
        FReport = PreparedSheet();
        FReport->PrintOptions.ShowDialog = false;
        FReport->OnShowError = [this](const QString& caption, const QString& text) {
            FMessages.push_back({caption, text});
        };
    }

    std::unique_ptr<CupsServer> FServer;
    std::unique_ptr<TrpReport> FReport;
    std::vector<Message> FMessages;
};

TEST_F(CupsPrinting, TwoCollatedCopiesOfTheSheetGiveTwoPages) {
    Start({{QStringLiteral("TarifonFile"), true}});
    ASSERT_EQ(TrpPrinters::Instance().PrinterName(), QStringLiteral("TarifonFile"));
    // The sheet's printer is "По умолчанию", which names no printer: the default one prints.
    ASSERT_EQ(FReport->PrintOptions.Printer, rpGet("prDefault"));
    FReport->PrintOptions.Copies = 2;
    FReport->PrintOptions.Collate = true;
    EXPECT_TRUE(PrintReport(*FReport));
    EXPECT_TRUE(FMessages.empty());
    const QByteArray pdf = FServer->WaitForOutput(QStringLiteral("TarifonFile"));
    ASSERT_FALSE(pdf.isEmpty()) << "no job arrived";
    EXPECT_EQ(PdfPageCount(pdf), 2);
}

TEST_F(CupsPrinting, PaperTraysGoToTheSchedulerWhenTheyChange) {
    Start({{QStringLiteral("Trays"), true}});
    // The sheet leaves the tray to the printer.
    EXPECT_TRUE(PrintReport(*FReport));
    ASSERT_FALSE(FServer->WaitForOutput(QStringLiteral("Trays")).isEmpty()) << "no job arrived";
    std::vector<CupsServer::Job> jobs = FServer->Jobs(QStringLiteral("Trays"));
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].MediaSource, QString());

    // Three pages: the first from the upper tray, the others from the lower one, then two
    // collated copies of the same; each change of tray starts a job of its own.
    auto report = std::make_unique<TrpReport>();
    report->PrintOptions.ShowDialog = false;
    report->OnShowError = [](const QString&, const QString& text) { ADD_FAILURE() << text.toStdString(); };
    for (int i = 1; i <= 3; ++i) {
        TrpReportPage* page = report->AddPage();
        page->SetName(QStringLiteral("Page%1").arg(i));
        page->SetBin(1);
        page->SetBinOtherPages(i == 3 ? 257 : 2);
    }
    ASSERT_TRUE(report->Prepare(true));
    EXPECT_TRUE(PrintReport(*report));
    report->PrintOptions.Copies = 2;
    report->PrintOptions.Collate = true;
    EXPECT_TRUE(PrintReport(*report));
    const QByteArray pdfs = FServer->WaitForOutput(QStringLiteral("Trays"), 30000, 1 + 3 + 6);
    ASSERT_FALSE(pdfs.isEmpty()) << "not every job arrived";
    QStringList sources;
    for (const CupsServer::Job& job : FServer->Jobs(QStringLiteral("Trays")))
        sources << job.MediaSource;
    EXPECT_EQ(sources, (QStringList{"", "top", "bottom", "tray-2", "top", "bottom", "tray-2", "top", "bottom",
                                    "tray-2"}));
    EXPECT_EQ(PdfPageCount(pdfs), 1 + 3 + 6);
}

TEST_F(CupsPrinting, PrinterNamedInTheOptionsIsChosenWithoutRegardToCase) {
    Start({{QStringLiteral("First"), true}, {QStringLiteral("Second"), false}});
    ASSERT_EQ(TrpPrinters::Instance().Count(), 2);
    FReport->PrintOptions.Printer = QStringLiteral("sECOND");
    EXPECT_TRUE(PrintReport(*FReport));
    EXPECT_EQ(TrpPrinters::Instance().PrinterName(), QStringLiteral("Second"));
    const QByteArray pdf = FServer->WaitForOutput(QStringLiteral("Second"));
    ASSERT_FALSE(pdf.isEmpty()) << "no job arrived";
    EXPECT_EQ(PdfPageCount(pdf), 1);
}

TEST_F(CupsPrinting, NoPrinterGivesTheNoPrintersMessage) {
    Start({});
    EXPECT_FALSE(TrpPrinters::Instance().HasPrinters());
    EXPECT_EQ(TrpPrinters::Instance().Names(), QStringList{QStringLiteral("Виртуальный")});
    EXPECT_FALSE(PrintReport(*FReport));
    ASSERT_EQ(FMessages.size(), 1u);
    EXPECT_EQ(FMessages[0].Caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(FMessages[0].Text, QStringLiteral("В вашей системе не установлено принтеров"));
}

// A report of three pages on A4, A5 and A3 paper, printed to a PDF file.
class FilePrinting : public ::testing::Test {
protected:
    void SetUp() override {
        FReport = std::make_unique<TrpReport>();
        FReport->OnShowError = [](const QString&, const QString& text) {
            ADD_FAILURE() << text.toStdString();
        };
        for (int i = 1; i <= 3; ++i) {
            TrpReportPage* page = FReport->AddPage();
            page->SetName(QStringLiteral("Page%1").arg(i));
            page->SetPaperSize(i == 1 ? 9 : i == 2 ? 11 : 8);
            auto memo = std::make_unique<TrpMemoView>();
            memo->SetName(QStringLiteral("Memo%1").arg(i));
            memo->SetBounds(0, 0, 300, 40);
            memo->SetText(QStringLiteral("PAGE-%1-MARK").arg(i));
            page->Add(std::move(memo));
        }
        ASSERT_TRUE(FReport->Prepare(true));
        ASSERT_EQ(FReport->PreviewPages().Count(), 3);
    }

    // The page numbers in the order the PDF holds them.
    QStringList Print(const TrpPrintSettings& settings) {
        const QString file = FDir.filePath(QStringLiteral("out.pdf"));
        QFile::remove(file);
        FLastFile = file;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        const TrpPrintResult result = PrintPreparedPages(*FReport, printer, settings);
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return {QStringLiteral("no file")};
        // Each page has its own paper, so the page boxes tell the pages apart.
        QStringList marks;
        static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) "));
        for (auto it = box.globalMatch(QString::fromLatin1(f.readAll())); it.hasNext();) {
            const int width = qRound(it.next().captured(1).toDouble());
            marks << (width == 595   ? QStringLiteral("1")
                      : width == 420 ? QStringLiteral("2")
                      : width == 842 ? QStringLiteral("3")
                                     : QString::number(width));
        }
        EXPECT_EQ(result.PagesPrinted, marks.size());
        return marks;
    }

    QTemporaryDir FDir;
    std::unique_ptr<TrpReport> FReport;
    QString FLastFile;
};

TEST_F(FilePrinting, CopiesCollationOrderAndPageChoice) {
    struct Case {
        const char* name;
        int copies;
        bool collate;
        const char* pages;
        int printPages;
        bool reverse;
        QStringList expected;
    } cases[] = {
        {"all", 1, true, "", ppAll, false, {"1", "2", "3"}},
        {"collated copies", 2, true, "", ppAll, false, {"1", "2", "3", "1", "2", "3"}},
        {"uncollated copies", 2, false, "", ppAll, false, {"1", "1", "2", "2", "3", "3"}},
        {"reverse", 1, true, "", ppAll, true, {"3", "2", "1"}},
        {"page list", 1, true, "1,3", ppAll, false, {"1", "3"}},
        {"open range", 1, true, "2-", ppAll, false, {"2", "3"}},
        {"odd", 1, true, "", ppOdd, false, {"1", "3"}},
        {"even", 1, true, "", ppEven, false, {"2"}},
        {"copies below one count as one", 0, true, "", ppAll, false, {"1", "2", "3"}},
    };
    for (const Case& c : cases) {
        TrpPrintSettings s;
        s.Copies = c.copies;
        s.Collate = c.collate;
        s.PageNumbers = QString::fromUtf8(c.pages);
        s.PrintPages = c.printPages;
        s.Reverse = c.reverse;
        EXPECT_EQ(Print(s), c.expected) << c.name;
    }
}

TEST_F(FilePrinting, MalformedPageListPrintsNothing) {
    TrpPrintSettings s;
    s.PageNumbers = QStringLiteral("1,,2");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(FDir.filePath(QStringLiteral("bad.pdf")));
    EXPECT_THROW(PrintPreparedPages(*FReport, printer, s), TrpReportError);
    EXPECT_FALSE(QFile::exists(FDir.filePath(QStringLiteral("bad.pdf"))));
}

TEST_F(FilePrinting, StopRequestAbortsTheJob) {
    TrpPrintSettings s;
    FReport->OnProgress = [this](TrpReport*, TrpProgressKind, int page) {
        if (page == 1)
            FReport->SetTerminated(true);
    };
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(FDir.filePath(QStringLiteral("stopped.pdf")));
    const TrpPrintResult result = PrintPreparedPages(*FReport, printer, s);
    EXPECT_TRUE(result.Aborted);
    EXPECT_EQ(result.PagesPrinted, 1);
}

// Every text a dialog shows: its caption, labels, buttons, group titles and chosen list items.
QStringList DialogTexts(QWidget* dialog) {
    QStringList texts{dialog->windowTitle()};
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        else if (auto* box = qobject_cast<QComboBox*>(w))
            texts << box->currentText();
    }
    texts.removeAll(QString());
    return texts;
}

TEST_F(CupsPrinting, PrinterPropertiesShowTheSheetsPaperInRussian) {
    // Printers that take US Letter unless told otherwise; the user picks the second one.
    Start({{QStringLiteral("Office"), true, QStringLiteral("Letter")},
           {QStringLiteral("Hall"), false, QStringLiteral("Letter")}});
    FReport->PrintOptions.ShowDialog = true;
    QStringList texts;
    QString paper;
    // The print dialog opens first; its "Свойства..." opens the printer properties on top.
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TrpPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTimer::singleShot(0, [&] {
            QWidget* properties = QApplication::activeModalWidget();
            ASSERT_NE(properties, dialog);
            texts = DialogTexts(properties);
            if (auto* size = properties->findChild<QComboBox*>(QStringLiteral("pageSizeCombo")))
                paper = size->currentText();
            properties->close();
        });
        dialog->PrinterBox()->setCurrentIndex(dialog->PrinterBox()->findText(QStringLiteral("Hall")));
        ASSERT_EQ(dialog->PrinterBox()->currentText(), QStringLiteral("Hall"));
        dialog->PropertiesButton()->click();
        dialog->reject();
    });
    EXPECT_FALSE(PrintReport(*FReport));
    EXPECT_EQ(paper, QPageSize(QPageSize::A4).name());
    ASSERT_FALSE(texts.isEmpty());
    static const QRegularExpression cyrillic(QStringLiteral("[А-Яа-я]"));
    EXPECT_TRUE(texts[0].contains(cyrillic)) << texts[0].toStdString();
    for (const char* english :
         {"Page Setup", "Paper", "Page size:", "Orientation", "Portrait", "Landscape", "Margins", "Cancel"})
        EXPECT_FALSE(texts.contains(QString::fromLatin1(english))) << english;
}

} // namespace

namespace {

TEST(PrintDialog, StartsFromTheOptionsAndReturnsTheChoices) {
    QPrinter printer;
    TrpPrintDialog dialog(printer, 5, 3);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Печать"));
    TrpPrintSettings start;
    start.Copies = 2;
    start.Collate = false;
    start.Reverse = true;
    start.PrintPages = ppEven;
    dialog.SetSettings(start);
    EXPECT_TRUE(dialog.AllButton()->isChecked());
    TrpPrintSettings s = dialog.Settings();
    EXPECT_EQ(s.Copies, 2);
    EXPECT_FALSE(s.Collate);
    EXPECT_TRUE(s.Reverse);
    EXPECT_EQ(s.PrintPages, int(ppEven));
    EXPECT_EQ(s.PageNumbers, QString());

    dialog.CurrentButton()->setChecked(true);
    EXPECT_EQ(dialog.Settings().PageNumbers, QStringLiteral("3"));
    dialog.PageNumbersEdit()->setText(QStringLiteral("1,4-"));
    dialog.NumbersButton()->setChecked(true);
    EXPECT_EQ(dialog.Settings().PageNumbers, QStringLiteral("1,4-"));
    QStringList pages;
    for (int i = 0; i < dialog.PagesBox()->count(); ++i)
        pages << dialog.PagesBox()->itemText(i);
    EXPECT_EQ(pages, (QStringList{"Все страницы", "Нечетные страницы", "Четные страницы"}));
    EXPECT_EQ(dialog.CollateBox()->text(), QStringLiteral("&Разобрать по копиям"));
    // Every button has a letter of its own.
    const QList<QAbstractButton*> buttons = dialog.findChildren<QAbstractButton*>();
    QSet<QKeySequence> letters;
    for (const QAbstractButton* b : buttons) {
        EXPECT_FALSE(QKeySequence::mnemonic(b->text()).isEmpty()) << b->text().toStdString();
        letters.insert(QKeySequence::mnemonic(b->text()));
    }
    EXPECT_EQ(letters.size(), buttons.size());
    EXPECT_EQ(dialog.CopiesBox()->minimum(), 1);
}

} // namespace
