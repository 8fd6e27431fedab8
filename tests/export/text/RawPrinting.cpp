// Print after export of the printer text, against a CUPS scheduler the test starts with raw
// queues whose device is a socket of the test: exactly the control bytes and the file arrive,
// once per copy; Cancel in the printer-init dialog prints nothing; with no printer nothing is
// printed and nothing said.
#include "TextTools.h"

#include "export/text/PrnInit.h"
#include "export/text/TXTExport.h"
#include "sheet/commands/SheetFilters.h"
#include "support/CupsServer.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>

using namespace texttest;
using namespace exports;
using previewtest::CupsServer;

namespace {

class RawPrinting : public ::testing::Test {
protected:
    void Start(const std::vector<CupsServer::Queue>& queues) {
        server = std::make_unique<CupsServer>(queues);
        ASSERT_TRUE(server->Started()) << server->Error().toStdString();
        report = SheetReport();
        std::unique_ptr<TrpCustomExportFilter> f = sheet::CreateSheetFilter(4);
        filter.reset(static_cast<TrpTXTExport*>(f.release()));
        filter->SetShowDialog(false);
        filter->SetShowProgress(false);
        filter->SetPrintAfter(true);
        filter->SetFileName(dir.filePath(QStringLiteral("OSAGO.txt")));
    }
    // Exports the sheet; the file written.
    QByteArray Export() {
        EXPECT_TRUE(ExportTo(*report, filter.get())) << report->Errors().join('\n').toStdString();
        return ReadFile(filter->FileName());
    }
    // The bytes a queue received (waiting for `expected` of them, or a moment for none).
    QByteArray Received(const QString& queue, qsizetype expected) {
        return server->WaitForBytes(queue, std::max<qsizetype>(expected, 1), expected ? 30000 : 1000);
    }

    QTemporaryDir dir;
    std::unique_ptr<CupsServer> server;
    std::unique_ptr<TrpReport> report;
    std::unique_ptr<TrpTXTExport> filter;
    const QByteArray sheet = ReadFile(QStringLiteral(TARIFON_TEST_DATA "/export/text/sheet.prn"));
};

// Runs `work` on the printer-init dialog once it is shown (the export lets events run
// between pages, before the dialog comes).
void OnPrnInit(std::function<void(TrpPrnInit&)> work) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, work] {
        if (auto* dialog = dynamic_cast<TrpPrnInit*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            work(*dialog);
        }
    });
    timer->start(10);
}

} // namespace

TEST_F(RawPrinting, ControlBytesThenTheFileArriveOncePerCopy) {
    Start({{QStringLiteral("Dot"), true}, {QStringLiteral("Other")}});
    filter->SetPrinterDialog(false);
    filter->SetCopies(2);
    filter->SetPrinterType(1); // EPSON, Bold on
    filter->SetCommandEnabled(5, true);
    const QByteArray init = QByteArray::fromHex("121b471b351b57001b50");
    const QByteArray file = Export();
    EXPECT_EQ(file, init + sheet);
    EXPECT_EQ(Received(QStringLiteral("Dot"), 2 * file.size()), file + file);
    EXPECT_EQ(Received(QStringLiteral("Other"), 0), QByteArray());
}

TEST_F(RawPrinting, ThePrinterDialogChoosesQueueCopiesTypeAndCommands) {
    Start({{QStringLiteral("Dot"), true}, {QStringLiteral("Other")}});
    OnPrnInit([](TrpPrnInit& d) {
        EXPECT_EQ(d.PrinterCB->currentText(), QStringLiteral("Dot"));
        d.PrinterCB->setCurrentText(QStringLiteral("Other"));
        d.CopiesE->setValue(3);
        d.TypeCB->setCurrentIndex(3); // CANON/IBM, Reset on
        ASSERT_EQ(d.CommandsLB->count(), 8);
        d.CommandsLB->item(0)->setCheckState(Qt::Checked);
        d.accept();
    });
    const QByteArray init = QByteArray::fromHex("1b40121b481b351b50");
    const QByteArray file = Export();
    EXPECT_EQ(file, init + sheet);
    EXPECT_EQ(Received(QStringLiteral("Other"), 3 * file.size()), file + file + file);
    EXPECT_EQ(Received(QStringLiteral("Dot"), 0), QByteArray());
    EXPECT_EQ(filter->PrinterName(), QStringLiteral("Other"));
}

TEST_F(RawPrinting, CancelPrintsNothingAndKeepsThePrinterChoice) {
    Start({{QStringLiteral("Dot")}, {QStringLiteral("Other"), true}});
    filter->SetPrinterName(QStringLiteral("Dot"));
    OnPrnInit([](TrpPrnInit& d) {
        d.PrinterCB->setCurrentText(QStringLiteral("Other"));
        d.TypeCB->setCurrentIndex(1);
        d.reject();
    });
    EXPECT_EQ(Export(), sheet);
    EXPECT_EQ(filter->PrinterName(), QStringLiteral("Dot"));
    EXPECT_EQ(filter->PrinterType(), 0);
    EXPECT_EQ(Received(QStringLiteral("Dot"), 0), QByteArray());
    EXPECT_EQ(Received(QStringLiteral("Other"), 0), QByteArray());
}

TEST_F(RawPrinting, WithNoPrinterTheFileIsTheResultAndNothingIsSaid) {
    Start({});
    bool asked = false;
    filter->OnPrinterDialog = [&](TrpTXTExport&) { return asked = true; };
    EXPECT_EQ(Export(), sheet);
    EXPECT_FALSE(asked);
    EXPECT_TRUE(report->Errors().isEmpty());
}

TEST_F(RawPrinting, ThePrinterDialogLoadsAndSavesSettingsFiles) {
    Start({{QStringLiteral("Dot"), true}});
    TrpPrnInit d(*filter);
    QStringList told;
    d.OnMessage = [&](const QString& m) { told << m; };
    d.TypeCB->setCurrentIndex(2);
    d.CommandsLB->item(3)->setCheckState(Qt::Checked);
    const QString saved = dir.filePath(QStringLiteral("laser.rpi"));
    EXPECT_EQ(d.SaveSettings(saved), QString());
    EXPECT_EQ(ReadFile(saved), QByteArray("2\r\nFalse\r\nFalse\r\nFalse\r\nTrue\r\nFalse\r\nFalse\r\n"));

    // A malformed file is refused with a message and the choice stays.
    const QString junk = dir.filePath(QStringLiteral("junk.rpi"));
    WriteFile(junk, "3\r\nTrue\r\n");
    d.TypeCB->setCurrentIndex(0);
    EXPECT_FALSE(d.LoadSettings(junk).isEmpty());
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(junk));
    EXPECT_EQ(d.TypeCB->currentIndex(), 0);

    EXPECT_EQ(d.LoadSettings(saved), QString());
    EXPECT_EQ(d.TypeCB->currentIndex(), 2);
    EXPECT_EQ(d.CommandsLB->item(3)->checkState(), Qt::Checked);
    EXPECT_EQ(filter->PrinterType(), 0) << "nothing reaches the filter before OK";
    d.accept();
    EXPECT_EQ(filter->PrinterType(), 2);
    EXPECT_EQ(filter->InitString(),
              QByteArray::fromHex("1b266c304f1b287330531b287333421b287332511b2873313048"));
}
