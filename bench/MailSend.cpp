// The e-mail export end to end: the sheet's PDF sent to a private Postfix on a loopback port
// (the server is started once, outside the measurement), and the Base64 encoding of a 10 MB
// attachment, side by side with Python's base64 on the same bytes (its rate is the counter
// "python_MBps"; ours is bytes_per_second).
#include "export/mail/MailExport.h"
#include "export/mail/MailMessage.h"
#include "export/mail/MailServers.h"
#include "export/pdf/PdfExport.h"
#include "sheet/SheetTemplate.h"
#include "support/SheetFixture.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace exports;

namespace {

void SheetPdfToPostfix(benchmark::State& state) {
    mailtest::PostfixServer mta;
    TrpPDFExport pdf;
    TrpMailExport mail;
    mail.SetReport(&bench::PreparedSheet());
    mail.SetShowDialog(false);
    mail.SetShowProgress(false);
    mail.SetSmtpHost(QStringLiteral("127.0.0.1"));
    mail.SetSmtpPort(mta.Port());
    mail.SetFromMail(QStringLiteral("agent@tarifon.test"));
    mail.SetAddress(QStringLiteral("client@tarifon.test"));
    mail.SetSubject(QStringLiteral("Расчет стоимости ОСАГО"));
    mail.SetAttachmentFilter(&pdf);
    for (auto _ : state)
        if (const QString error = mail.Send(); !error.isEmpty())
            state.SkipWithError(error.toStdString().c_str());
}

QByteArray TenMegabytes() {
    QByteArray data(10 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(18);
    generator.fillRange(reinterpret_cast<quint32*>(data.data()), data.size() / 4);
    return data;
}

void Base64Attachment(benchmark::State& state) {
    const QByteArray data = TenMegabytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(Base64Lines(data));
    state.SetBytesProcessed(state.iterations() * data.size());
    // Python's encoder with the same line length (76), on the same bytes, timed inside Python.
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("data.bin")));
    file.open(QIODevice::WriteOnly);
    file.write(data);
    file.close();
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import base64,sys,time\n"
                                 "d=open(sys.argv[1],'rb').read()\n"
                                 "t=time.perf_counter()\n"
                                 "for _ in range(5): base64.encodebytes(d)\n"
                                 "print(len(d)*5/(time.perf_counter()-t)/1e6)"),
                  file.fileName()});
    python.waitForFinished(60000);
    state.counters["python_MBps"] = python.readAllStandardOutput().trimmed().toDouble();
}

} // namespace

BENCHMARK(SheetPdfToPostfix)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(Base64Attachment)->Unit(benchmark::kMillisecond);
