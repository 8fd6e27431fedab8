#include "MailServers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mailtest {

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

QString Here(const char* file) {
    return QStringLiteral(TARIFON_SOURCE_DIR "/tests/export/mail/") + QString::fromLatin1(file);
}

// The child ends with the test process, however that ends.
void DieWithParent() {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

bool Write(const QString& path, const QByteArray& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

// Whether our Postfix (and not another test's server that took the port meanwhile) answers there.
bool OurPostfixAnswers(int port) {
    QTcpSocket s;
    s.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!s.waitForConnected(200))
        return false;
    QByteArray greeting;
    while (!greeting.contains('\n') && s.waitForReadyRead(2000))
        greeting += s.readAll();
    return greeting.startsWith("220 mta.tarifon.test");
}

} // namespace

int FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

SmtpPeer::SmtpPeer(const QStringList& arguments) {
    FProcess.setChildProcessModifier(DieWithParent);
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(Python, QStringList{Here("SmtpPeer.py"), FDir.path()} + arguments);
    if (FProcess.waitForStarted(5000) && FProcess.waitForReadyRead(10000)) {
        const QByteArray line = FProcess.readLine().trimmed();
        if (line.startsWith("PORT "))
            FPort = line.mid(5).toInt();
    }
    EXPECT_GT(FPort, 0) << "the SMTP peer did not start";
}

SmtpPeer::~SmtpPeer() {
    FProcess.closeWriteChannel();
    if (!FProcess.waitForFinished(3000)) {
        FProcess.kill();
        FProcess.waitForFinished(3000);
    }
}

QStringList SmtpPeer::Commands() const {
    QFile f(QDir(Dir()).filePath(QStringLiteral("commands.txt")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QByteArray> SmtpPeer::Messages() const {
    QList<QByteArray> out;
    for (int i = 1;; ++i) {
        QFile f(QDir(Dir()).filePath(QStringLiteral("message-%1.eml").arg(i)));
        if (!f.open(QIODevice::ReadOnly))
            return out;
        out << f.readAll();
    }
}

PostfixServer::PostfixServer() {
    const passwd* user = ::getpwnam("postfix");
    const group* drop = ::getgrnam("postdrop");
    if (!user || !drop || ::geteuid() != 0) {
        ADD_FAILURE() << "Postfix needs its users and root to run";
        return;
    }
    const QDir dir(FDir.path());
    // Postfix's own processes run as its user and must reach their folders.
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    const struct {
        const char* name;
        uid_t owner;
        gid_t group;
        mode_t mode;
    } folders[] = {
        {"conf", 0, 0, 0755},
        {"queue", 0, 0, 0755},
        {"queue/pid", 0, 0, 0755},
        {"data", user->pw_uid, 0, 0700},
        {"mail", user->pw_uid, 0, 0755},
        {"queue/maildrop", user->pw_uid, drop->gr_gid, 0730},
        {"queue/public", user->pw_uid, drop->gr_gid, 0710},
    };
    for (const auto& f : folders) {
        const QByteArray path = QFile::encodeName(dir.filePath(QString::fromLatin1(f.name)));
        ::mkdir(path.constData(), f.mode);
        ::chown(path.constData(), f.owner, f.group);
        ::chmod(path.constData(), f.mode);
    }
    for (const char* name : {"active", "bounce", "corrupt", "defer", "deferred", "flush", "hold", "incoming",
                             "private", "saved", "trace"}) {
        const QByteArray path =
            QFile::encodeName(dir.filePath(QStringLiteral("queue/") + QString::fromLatin1(name)));
        ::mkdir(path.constData(), 0700);
        ::chown(path.constData(), user->pw_uid, 0);
    }
    const QByteArray root = QFile::encodeName(dir.path());
    const QByteArray main =
        "compatibility_level = 3.6\n"
        "queue_directory = " +
        root +
        "/queue\n"
        "data_directory = " +
        root +
        "/data\n"
        "mail_owner = postfix\nsetgid_group = postdrop\n"
        "myhostname = mta.tarifon.test\nmydomain = tarifon.test\nmyorigin = tarifon.test\n"
        "mydestination =\ninet_interfaces = loopback-only\ninet_protocols = ipv4\n"
        "mynetworks = 127.0.0.0/8\nsmtpd_relay_restrictions = permit_mynetworks, reject\n"
        "virtual_mailbox_domains = tarifon.test\n"
        "virtual_mailbox_base = " +
        root +
        "/mail\n"
        "virtual_mailbox_maps = static:mailbox\n"
        "virtual_uid_maps = static:" +
        QByteArray::number(user->pw_uid) +
        "\n"
        "virtual_gid_maps = static:" +
        QByteArray::number(user->pw_gid) +
        "\n"
        "maillog_file = " +
        root + "/data/maillog\nmaillog_file_prefixes = " + root +
        "\n"
        "alias_maps =\nalias_database =\nsmtputf8_enable = no\n";
    const QByteArray services = " inet n - n - - smtpd\n"
                                "cleanup unix n - n - 0 cleanup\n"
                                "qmgr unix n - n 300 1 qmgr\n"
                                "rewrite unix - - n - - trivial-rewrite\n"
                                "bounce unix - - n - 0 bounce\n"
                                "defer unix - - n - 0 bounce\n"
                                "trace unix - - n - 0 bounce\n"
                                "verify unix - - n - 1 verify\n"
                                "proxymap unix - - n - - proxymap\n"
                                "error unix - - n - - error\n"
                                "retry unix - - n - - error\n"
                                "discard unix - - n - - discard\n"
                                "virtual unix - n n - - virtual\n"
                                "anvil unix - - n - 1 anvil\n"
                                "scache unix - - n - 1 scache\n"
                                "postlog unix-dgram n - n - 1 postlogd\n";
    if (!Write(dir.filePath(QStringLiteral("conf/main.cf")), main)) {
        ADD_FAILURE() << "cannot write the Postfix configuration";
        return;
    }
    // The free port is only free when asked: another test may take it before Postfix binds it,
    // and then Postfix starts again on another one.
    for (int attempt = 0; attempt < 3; ++attempt) {
        FPort = FreePort();
        if (!Write(dir.filePath(QStringLiteral("conf/master.cf")),
                   "127.0.0.1:" + QByteArray::number(FPort) + services)) {
            ADD_FAILURE() << "cannot write the Postfix configuration";
            return;
        }
        QProcess& process = FMaster;
        // In a session of its own: the master ends its whole process group when it stops.
        process.setChildProcessModifier([] {
            ::setsid();
            DieWithParent();
        });
        process.setProgram(QStringLiteral("/usr/lib/postfix/sbin/master"));
        process.setArguments(
            {QStringLiteral("-c"), dir.filePath(QStringLiteral("conf")), QStringLiteral("-d")});
        process.setStandardOutputFile(dir.filePath(QStringLiteral("data/master.out")));
        process.setStandardErrorFile(dir.filePath(QStringLiteral("data/master.out")));
        process.start();
        if (!process.waitForStarted(5000)) {
            ADD_FAILURE() << "cannot start Postfix";
            return;
        }
        QElapsedTimer clock;
        clock.start();
        while (process.state() == QProcess::Running && clock.elapsed() < 15000) {
            if (OurPostfixAnswers(FPort))
                return;
            QThread::msleep(50);
        }
        Stop();
    }
    ADD_FAILURE() << "Postfix did not start listening\n" << Log().toStdString();
}

void PostfixServer::Stop() {
    const qint64 pid = FMaster.processId();
    if (pid <= 0)
        return;
    ::kill(pid_t(-pid), SIGTERM);
    if (!FMaster.waitForFinished(5000))
        ::kill(pid_t(-pid), SIGKILL);
    FMaster.waitForFinished(2000);
    // Its daemons may linger a moment after the master.
    ::kill(pid_t(-pid), SIGKILL);
}

PostfixServer::~PostfixServer() {
    Stop();
}

QString PostfixServer::WaitForMailbox(int count, int timeoutMs) const {
    const QString path = QDir(FDir.path()).filePath(QStringLiteral("mail/mailbox"));
    QElapsedTimer clock;
    clock.start();
    do {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            int messages = 0;
            while (!f.atEnd())
                messages += f.readLine().startsWith("From ");
            if (messages >= count)
                return path;
        }
        QThread::msleep(50);
    } while (clock.elapsed() < timeoutMs);
    return {};
}

QString PostfixServer::Log() const {
    QString out;
    for (const char* name : {"data/master.out", "data/maillog"}) {
        QFile f(QDir(FDir.path()).filePath(QString::fromLatin1(name)));
        if (f.open(QIODevice::ReadOnly))
            out += QString::fromUtf8(f.readAll());
    }
    return out;
}

TestCertificates MakeCertificates(const QString& dirPath) {
    const QDir dir(dirPath);
    auto openssl = [](const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral("openssl"), args);
        p.waitForFinished(20000);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    };
    Write(dir.filePath(QStringLiteral("server.ext")), "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    auto authority = [&](const QString& name, const QString& cn) {
        openssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                 QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                 QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                 QStringLiteral("-keyout"), dir.filePath(name + QStringLiteral(".key")),
                 QStringLiteral("-out"), dir.filePath(name + QStringLiteral(".pem")), QStringLiteral("-days"),
                 QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=") + cn});
    };
    auto server = [&](const QString& name, const QString& ca) {
        openssl({QStringLiteral("req"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                 QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"),
                 QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                 dir.filePath(name + QStringLiteral(".key")), QStringLiteral("-out"),
                 dir.filePath(name + QStringLiteral(".csr")), QStringLiteral("-subj"),
                 QStringLiteral("/CN=127.0.0.1")});
        openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                 dir.filePath(name + QStringLiteral(".csr")), QStringLiteral("-CA"),
                 dir.filePath(ca + QStringLiteral(".pem")), QStringLiteral("-CAkey"),
                 dir.filePath(ca + QStringLiteral(".key")), QStringLiteral("-CAcreateserial"),
                 QStringLiteral("-out"), dir.filePath(name + QStringLiteral(".pem")), QStringLiteral("-days"),
                 QStringLiteral("2"), QStringLiteral("-extfile"),
                 dir.filePath(QStringLiteral("server.ext"))});
    };
    authority(QStringLiteral("ca"), QStringLiteral("Tarifon Test CA"));
    authority(QStringLiteral("stranger-ca"), QStringLiteral("Stranger CA"));
    server(QStringLiteral("server"), QStringLiteral("ca"));
    server(QStringLiteral("stranger"), QStringLiteral("stranger-ca"));
    return {dir.filePath(QStringLiteral("ca.pem")), dir.filePath(QStringLiteral("server.pem")),
            dir.filePath(QStringLiteral("server.key")), dir.filePath(QStringLiteral("stranger.pem")),
            dir.filePath(QStringLiteral("stranger.key"))};
}

QJsonObject ReadMail(const QString& file, int index) {
    QProcess p;
    QStringList args{Here("ReadMail.py"), file};
    if (index >= 0 && file.endsWith(QStringLiteral("mailbox")))
        args << QString::number(index);
    p.start(Python, args);
    p.waitForFinished(20000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

} // namespace mailtest
