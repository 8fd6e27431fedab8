#pragma once
// The mail servers the e-mail export's tests talk to, each on a loopback port of its own with
// its files in a temporary folder, stopped and removed when the object goes (and stopped by the
// system when the test process dies).

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace mailtest {

// The scriptable peer (SmtpPeer.py): aiosmtpd or a hand-made misbehaving server.
class SmtpPeer {
public:
    explicit SmtpPeer(const QStringList& arguments);
    ~SmtpPeer();
    int Port() const { return FPort; }
    QString Dir() const { return FDir.path(); }
    // The commands the peer received, in order.
    QStringList Commands() const;
    // The messages it accepted, as received after DATA.
    QList<QByteArray> Messages() const;

private:
    QTemporaryDir FDir;
    QProcess FProcess;
    int FPort = 0;
};

// Postfix with a private configuration, queue and port, delivering every message for
// "tarifon.test" to one mailbox file.
class PostfixServer {
public:
    PostfixServer();
    ~PostfixServer();
    int Port() const { return FPort; }
    // The mailbox once it holds `count` messages (empty after the time-out).
    QString WaitForMailbox(int count, int timeoutMs = 20000) const;
    QString Log() const;

private:
    void Stop();

    QTemporaryDir FDir;
    QProcess FMaster;
    int FPort = 0;
};

// A test CA with a server certificate for 127.0.0.1, and a second CA with one of its own
// that nobody trusts.
struct TestCertificates {
    QString CaPem;
    QString ServerPem, ServerKey;
    QString StrangerPem, StrangerKey;
};
TestCertificates MakeCertificates(const QString& dir);

// Message `index` of a raw message or of an mbox file, read by Python's email package:
// subject, from, to, text, and attachments [{filename, type, data (Base64)}].
QJsonObject ReadMail(const QString& file, int index = 0);

// A free loopback port.
int FreePort();

} // namespace mailtest
