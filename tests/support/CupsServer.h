#pragma once
// A private CUPS scheduler for printing tests: its own configuration directory and port, and
// raw queues whose jobs its socket backend sends to listeners of the test on loopback. The
// scheduler is stopped when the object goes.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>
#include <memory>

namespace previewtest {

class CupsServer {
public:
    struct Queue {
        QString Name;
        bool Default = false;
        // With a paper ("Letter" or "A4") the queue has a driver description offering both,
        // that one by default, as a real printer has; without, it is a raw queue.
        QString DefaultPaper;
    };

    // Starts cupsd with the queues and points CUPS_SERVER at it. Started() tells whether it
    // runs; Error() why not.
    explicit CupsServer(const std::vector<Queue>& queues);
    ~CupsServer();

    bool Started() const { return FStarted; }
    const QString& Error() const { return FError; }
    // Waits (running the event loop) until a queue has received `documents` complete PDFs;
    // their bytes, or empty on time-out.
    QByteArray WaitForOutput(const QString& queue, int timeoutMs = 30000, int documents = 1);
    // Waits until a queue has received at least `bytes` bytes and then a moment of quiet;
    // everything it received (shorter on time-out).
    QByteArray WaitForBytes(const QString& queue, qsizetype bytes, int timeoutMs = 30000);

    // The jobs the scheduler has had for a queue, oldest first, with the options of interest.
    struct Job {
        int Id = 0;
        QString MediaSource; // empty when the job did not ask for one
    };
    std::vector<Job> Jobs(const QString& queue) const;

    static bool Available();

private:
    void Stop();

    struct Listener {
        QString Queue;
        std::unique_ptr<QTcpServer> Server;
        QByteArray Data;
    };

    Listener* FindListener(const QString& queue) const;

    QTemporaryDir FDir;
    std::vector<std::unique_ptr<Listener>> FListeners;
    QProcess FProcess;
    bool FStarted = false;
    QString FError;
    QByteArray FOldServer;
};

// Pages of a PDF written by Qt.
int PdfPageCount(const QByteArray& pdf);

} // namespace previewtest
