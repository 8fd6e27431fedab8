#include "support/CupsServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <cups/cups.h>

namespace previewtest {

namespace {

const char* const kCupsd = "/usr/sbin/cupsd";

bool WriteFile(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(text.toUtf8());
    return true;
}

int FreePort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    return server.serverPort();
}

// Whether a CUPS scheduler (and not another test's server that took the port meanwhile)
// answers there.
bool OurSchedulerAnswers(int port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!socket.waitForConnected(200))
        return false;
    socket.write("HEAD / HTTP/1.0\r\n\r\n");
    QByteArray reply;
    while (!reply.contains("\r\n\r\n") && socket.waitForReadyRead(2000))
        reply += socket.readAll();
    return reply.contains("Server: CUPS");
}

// A PostScript printer description offering US Letter and A4.
QString PaperPpd(const QString& defaultPaper) {
    QString ppd = QStringLiteral("*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                                 "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                                 "*PCFileName: \"TARIFON.PPD\"\n*Manufacturer: \"Test\"\n"
                                 "*Product: \"(Test)\"\n*ModelName: \"Test printer\"\n"
                                 "*ShortNickName: \"Test printer\"\n*NickName: \"Test printer\"\n"
                                 "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: False\n"
                                 "*DefaultColorSpace: Gray\n*FileSystem: False\n*Throughput: \"1\"\n"
                                 "*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n");
    const struct {
        const char *Name, *Size, *Area;
    } papers[] = {{"Letter", "612 792", "18 36 594 756"}, {"A4", "595 842", "18 36 577 806"}};
    for (const char* ui : {"PageSize", "PageRegion"}) {
        ppd += QStringLiteral("*OpenUI *%1: PickOne\n*OrderDependency: 10 AnySetup *%1\n*Default%1: %2\n")
                   .arg(QString::fromLatin1(ui), defaultPaper);
        for (const auto& p : papers)
            ppd +=
                QStringLiteral("*%1 %2: \"<</PageSize[%3]>>setpagedevice\"\n")
                    .arg(QString::fromLatin1(ui), QString::fromLatin1(p.Name), QString::fromLatin1(p.Size));
        ppd += QStringLiteral("*CloseUI: *%1\n").arg(QString::fromLatin1(ui));
    }
    ppd += QStringLiteral("*DefaultImageableArea: %1\n*DefaultPaperDimension: %1\n").arg(defaultPaper);
    for (const auto& p : papers)
        ppd +=
            QStringLiteral("*ImageableArea %1: \"%2\"\n*PaperDimension %1: \"%3\"\n")
                .arg(QString::fromLatin1(p.Name), QString::fromLatin1(p.Area), QString::fromLatin1(p.Size));
    return ppd;
}

} // namespace

bool CupsServer::Available() {
    return QFileInfo(QString::fromLatin1(kCupsd)).isExecutable();
}

CupsServer::CupsServer(const std::vector<Queue>& queues) {
    FOldServer = qgetenv("CUPS_SERVER");
    if (!Available()) {
        FError = QStringLiteral("cupsd is not installed");
        return;
    }
    const QString root = FDir.path();
    for (const char* sub : {"spool", "spool/tmp", "cache", "state", "log", "ppd"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    // The scheduler drops to its own user for some work; it must reach the folders.
    for (const QString& p : {root, root + QStringLiteral("/spool"), root + QStringLiteral("/spool/tmp")})
        QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                     QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                     QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                     QFileDevice::WriteOther | QFileDevice::ExeOther);
    WriteFile(root + QStringLiteral("/cups-files.conf"), QStringLiteral("ServerRoot %1\n"
                                                                        "RequestRoot %1/spool\n"
                                                                        "TempDir %1/spool/tmp\n"
                                                                        "CacheDir %1/cache\n"
                                                                        "StateDir %1/state\n"
                                                                        "ErrorLog %1/log/error_log\n"
                                                                        "AccessLog %1/log/access_log\n"
                                                                        "PageLog %1/log/page_log\n"

                                                                        "DataDir /usr/share/cups\n"
                                                                        "ServerBin /usr/lib/cups\n")
                                                             .arg(root));
    QString printers;
    for (const Queue& q : queues) {
        auto listener = std::make_unique<Listener>();
        listener->Queue = q.Name;
        listener->Server = std::make_unique<QTcpServer>();
        if (!listener->Server->listen(QHostAddress::LocalHost, 0)) {
            FError = QStringLiteral("no port for queue ") + q.Name;
            return;
        }
        Listener* l = listener.get();
        QObject::connect(l->Server.get(), &QTcpServer::newConnection, l->Server.get(), [l] {
            while (QTcpSocket* socket = l->Server->nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [l, socket] { l->Data += socket->readAll(); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        const QString uri = QStringLiteral("socket://127.0.0.1:%1").arg(l->Server->serverPort());
        FListeners.push_back(std::move(listener));
        if (!q.DefaultPaper.isEmpty())
            WriteFile(root + QStringLiteral("/ppd/") + q.Name + QStringLiteral(".ppd"),
                      PaperPpd(q.DefaultPaper));
        const QString tag = q.Default ? QStringLiteral("DefaultPrinter") : QStringLiteral("Printer");
        printers += QStringLiteral("<%1 %2>\nInfo Test queue %2\nLocation Test room\nDeviceURI %3\n"
                                   "State Idle\nStateTime 0\nType 4\nAccepting Yes\nShared No\n"
                                   "JobSheets none none\nQuotaPeriod 0\nPageLimit 0\nKLimit 0\n"
                                   "OpPolicy default\nErrorPolicy abort-job\n</%1>\n")
                        .arg(tag, q.Name, uri);
    }
    WriteFile(root + QStringLiteral("/printers.conf"), printers);

    // The free port is only free when asked: another test may take it before the scheduler binds
    // it, and then the scheduler starts again on another one.
    QString server;
    for (int attempt = 0; attempt < 3 && !FStarted; ++attempt) {
        const int port = FreePort();
        if (port == 0) {
            FError = QStringLiteral("no free port");
            return;
        }
        server = QStringLiteral("127.0.0.1:%1").arg(port);
        WriteFile(
            root + QStringLiteral("/cupsd.conf"),
            QStringLiteral("Listen %1\n"
                           "LogLevel warn\n"
                           "Browsing No\n"
                           "WebInterface No\n"
                           "DefaultAuthType None\n"
                           "MaxJobs 0\n"
                           "PreserveJobFiles No\n"
                           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                           "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                .arg(server));
        FProcess.setProgram(QString::fromLatin1(kCupsd));
        FProcess.setArguments({QStringLiteral("-f"), QStringLiteral("-c"),
                               root + QStringLiteral("/cupsd.conf"), QStringLiteral("-s"),
                               root + QStringLiteral("/cups-files.conf")});
        FProcess.setProcessChannelMode(QProcess::MergedChannels);
        FProcess.start();
        if (!FProcess.waitForStarted(5000)) {
            FError = QStringLiteral("cupsd did not start");
            return;
        }
        FError = QStringLiteral("cupsd does not answer");
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000) {
            if (FProcess.state() != QProcess::Running) {
                QFile log(root + QStringLiteral("/log/error_log"));
                log.open(QIODevice::ReadOnly);
                FError =
                    QStringLiteral("cupsd ended: ") + QString::fromUtf8(FProcess.readAll() + log.readAll());
                break;
            }
            if (OurSchedulerAnswers(port)) {
                FStarted = true;
                FError.clear();
                break;
            }
            QThread::msleep(100);
        }
        if (!FStarted)
            Stop();
    }
    if (!FStarted)
        return;
    qputenv("CUPS_SERVER", server.toLatin1());
    // The client library keeps the server it used first; make it read the variable again.
    cupsSetServer(nullptr);
}

void CupsServer::Stop() {
    if (FProcess.state() != QProcess::NotRunning) {
        FProcess.terminate();
        if (!FProcess.waitForFinished(5000)) {
            FProcess.kill();
            FProcess.waitForFinished(2000);
        }
    }
}

CupsServer::~CupsServer() {
    Stop();
    if (FOldServer.isNull())
        qunsetenv("CUPS_SERVER");
    else
        qputenv("CUPS_SERVER", FOldServer);
    cupsSetServer(nullptr);
}

CupsServer::Listener* CupsServer::FindListener(const QString& queue) const {
    for (const auto& l : FListeners)
        if (l->Queue == queue)
            return l.get();
    return nullptr;
}

QByteArray CupsServer::WaitForOutput(const QString& queue, int timeoutMs, int documents) {
    Listener* listener = FindListener(queue);
    if (!listener)
        return {};
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (listener->Data.count("%PDF-") >= documents && listener->Data.trimmed().endsWith("%%EOF"))
            return listener->Data;
        QThread::msleep(20);
    }
    return {};
}

QByteArray CupsServer::WaitForBytes(const QString& queue, qsizetype bytes, int timeoutMs) {
    Listener* listener = FindListener(queue);
    if (!listener)
        return {};
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && listener->Data.size() < bytes) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    // Anything more than was asked for (a job sent twice) arrives within the moment after.
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < 1500) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return listener->Data;
}

std::vector<CupsServer::Job> CupsServer::Jobs(const QString& queue) const {
    std::vector<Job> jobs;
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    const QByteArray uri = "ipp://localhost/printers/" + queue.toUtf8();
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    static const char* const wanted[] = {"job-id", "media-source", "media-col"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, wanted);
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (!response)
        return jobs;
    // One group of attributes per job, in no particular order; a nameless one separates them.
    Job job;
    auto finish = [&] {
        if (job.Id > 0)
            jobs.push_back(job);
        job = Job();
    };
    for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        const char* name = ippGetName(a);
        if (!name || ippGetGroupTag(a) != IPP_TAG_JOB) {
            finish();
        } else if (!qstrcmp(name, "job-id")) {
            job.Id = ippGetInteger(a, 0);
        } else if (!qstrcmp(name, "media-source")) {
            job.MediaSource = QString::fromUtf8(ippGetString(a, 0, nullptr));
        } else if (!qstrcmp(name, "media-col")) {
            if (ipp_attribute_t* source =
                    ippFindAttribute(ippGetCollection(a, 0), "media-source", IPP_TAG_ZERO))
                job.MediaSource = QString::fromUtf8(ippGetString(source, 0, nullptr));
        }
    }
    finish();
    ippDelete(response);
    std::sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.Id < b.Id; });
    return jobs;
}

int PdfPageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

} // namespace previewtest
