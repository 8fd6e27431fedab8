// The SMTP client against real servers on loopback ports: aiosmtpd for the refusals, login and
// TLS, and hand-made peers for the misbehaviour a real server shows only by accident.
#include "MailServers.h"
#include "export/mail/MailTexts.h"
#include "export/mail/SmtpClient.h"
#include "report/EngineTexts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSslCertificate>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace exports;
using namespace mailtest;
using report::rpGet;

namespace {

struct Outcome {
    bool Sent = false;
    QString Errors;
    QStringList Log;
    qint64 Ms = 0;
};

Outcome Send(TrpSMTPClient& client) {
    QElapsedTimer clock;
    clock.start();
    Outcome o;
    o.Sent = client.SendMessage();
    o.Ms = clock.elapsed();
    o.Errors = client.Errors().join(QLatin1Char('\n'));
    o.Log = client.ExchangeLog();
    return o;
}

void Configure(TrpSMTPClient& c, int port) {
    c.SetHost(QStringLiteral("127.0.0.1"));
    c.SetPort(port);
    c.SetTimeOut(10);
    c.SetMailFrom(QStringLiteral("agent@tarifon.test"));
    c.SetMailTo(QStringLiteral("client@tarifon.test"));
    c.SetMailSubject(QStringLiteral("Расчет"));
    c.SetMailText(QStringLiteral("Добрый день"));
}

const QString Password = QStringLiteral("s3cret-Пароль");

struct ExchangeCase {
    const char* Name;
    std::function<QStringList(const TestCertificates&)> Peer;
    std::function<void(TrpSMTPClient&, const TestCertificates&)> Setup;
    bool Sent;
    QString Error;            // a part of the error text; "" when there is none
    QStringList PeerCommands; // the commands the peer must have seen, in order (prefixes)
    QStringList LogLines;     // lines the client's log must hold, in order
    qint64 MaxMs = 8000;
};

QStringList Args(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* a : list)
        out << QString::fromUtf8(a);
    return out;
}

} // namespace

TEST(SmtpExchange, RepliesDriveEveryStepAndRefusalsEndWithQuit) {
    AddMailExportTexts();
    QTemporaryDir certDir;
    const TestCertificates certs = MakeCertificates(certDir.path());
    const QList<QSslCertificate> testCa = QSslCertificate::fromPath(certs.CaPem);
    ASSERT_FALSE(testCa.isEmpty());
    // Large enough to outlast the socket buffers of a server that reads slowly.
    const QString bigFile = certDir.filePath(QStringLiteral("big.bin"));
    {
        QFile big(bigFile);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(8 * 1024 * 1024));
    }
    auto login = [](const QString& password) {
        return [password](TrpSMTPClient& c, const TestCertificates&) {
            c.SetUser(QStringLiteral("agent"));
            c.SetPassword(password);
        };
    };
    auto tls = [&](TrpSmtpSecurity security, bool trusted) {
        return [security, trusted, testCa](TrpSMTPClient& c, const TestCertificates&) {
            c.SetSecurity(security);
            if (trusted)
                c.SetCaCertificates(testCa);
        };
    };
    auto none = [](TrpSMTPClient&, const TestCertificates&) {};
    auto peer = [](QStringList args) { return [args](const TestCertificates&) { return args; }; };
    const QString secret = Password;
    const ExchangeCase cases[] = {
        {"no login: HELO with the sender's domain, no AUTH",
         peer(Args({"smtp"})),
         none,
         true,
         {},
         Args({"HELO tarifon.test", "MAIL agent@tarifon.test", "RCPT client@tarifon.test", "DATA"}),
         Args({">HELO tarifon.test", "<250", ">MAIL FROM:<agent@tarifon.test>", "<250",
               ">RCPT TO:<client@tarifon.test>", "<250", ">DATA", "<354", ">message(skipped)", "<250",
               ">QUIT", "<221"})},
        {"AUTH LOGIN answers the two 334 prompts, shown as ****",
         peer(QStringList{QStringLiteral("smtp"), QStringLiteral("--auth"),
                          QStringLiteral("agent:") + secret}),
         login(secret),
         true,
         {},
         QStringList{QStringLiteral("EHLO tarifon.test"), QStringLiteral("AUTH LOGIN agent ") + secret,
                     QStringLiteral("MAIL")},
         Args({">EHLO tarifon.test", ">AUTH LOGIN", "<334", ">****", "<334", ">****", "<235", ">MAIL FROM"})},
        {"535 for a wrong password ends with QUIT",
         peer(QStringList{QStringLiteral("smtp"), QStringLiteral("--auth"), QStringLiteral("agent:other")}),
         login(secret), false, QStringLiteral("535"), Args({"EHLO", "AUTH LOGIN agent"}),
         Args({">AUTH LOGIN", ">****", ">****", "<535", ">QUIT"})},
        {"550 at RCPT TO: no DATA, QUIT at once", peer(Args({"smtp", "--reject-rcpt"})), none, false,
         QStringLiteral("RCPT TO: 550"), Args({"HELO", "MAIL", "RCPT"}), Args({">RCPT TO", "<550", ">QUIT"}),
         3000},
        {"a server closing without 221 before the message says where, not its last yes",
         peer(Args({"plain", "--close-at", "RCPT"})), none, false,
         QStringLiteral("Сервер 127.0.0.1 закрыл соединение после команды RCPT TO; письмо не отправлено"),
         Args({"HELO", "MAIL", "RCPT"}), Args({">RCPT TO"}), 3000},
        {"a server closing after its greeting is not reported with the greeting",
         peer(Args({"plain", "--close-at", "HELO"})), none, false,
         QStringLiteral("Сервер 127.0.0.1 закрыл соединение после команды HELO; письмо не отправлено"),
         Args({"HELO"}), Args({"<220", ">HELO"}), 3000},
        {"a server closing without 221 after taking the message",
         peer(Args({"plain", "--close-at", "QUIT"})),
         none,
         true,
         {},
         Args({"HELO", "MAIL", "RCPT", "DATA", "QUIT"}),
         Args({"<250 queued", ">QUIT"})},
        {"a server that never answers",
         peer(Args({"silent"})),
         [](TrpSMTPClient& c, const TestCertificates&) { c.SetTimeOut(1); },
         false,
         QStringLiteral("Сервер 127.0.0.1 не отвечает 1 с; письмо не отправлено"),
         {},
         {},
         3500},
        {"garbage instead of a reply",
         peer(Args({"garbage"})),
         none,
         false,
         QStringLiteral("Сервер 127.0.0.1 отвечает не по протоколу SMTP: «hello, this is not a mail server»"),
         {},
         Args({"<hello, this is not a mail server"}),
         3000},
        {"a greeting split across reads",
         peer(Args({"split"})),
         none,
         true,
         {},
         Args({"HELO", "MAIL", "RCPT", "DATA"}),
         Args({"<220 peer ready", ">HELO tarifon.test"})},
        {"a 1 MB multi-line reply",
         peer(Args({"bigreply"})),
         none,
         true,
         {},
         Args({"HELO", "MAIL", "RCPT", "DATA"}),
         Args({"<250 peer", ">MAIL FROM"})},
        {"a greeting that trickles in forever ends at the reply's deadline",
         peer(Args({"drip"})),
         [](TrpSMTPClient& c, const TestCertificates&) { c.SetReplyTimeOut(1); },
         false,
         rpGet(QStringLiteral("mlReplyTimeOut")).arg(1),
         {},
         Args({">QUIT"}),
         3500},
        {"a server that reads the message slowly ends at the exchange's deadline", peer(Args({"slowread"})),
         [&](TrpSMTPClient& c, const TestCertificates&) {
             c.SetExchangeTimeOut(2);
             c.SetMailFile(bigFile);
             c.SetAttachName(QStringLiteral("big.bin"));
         },
         false, rpGet(QStringLiteral("mlExchangeTimeOut")).arg(2), Args({"HELO", "MAIL", "RCPT", "DATA"}),
         Args({"<354", ">message(skipped)"}), 5000},
        {"credentials echoed by the server never show, however short the password", peer(Args({"echo"})),
         login(QStringLiteral("x9")), false, QStringLiteral("535 5.7.8 **** is ****"),
         Args({"EHLO tarifon.test", "AUTH LOGIN"}), Args({">AUTH LOGIN", ">****", ">****", "<535", ">QUIT"}),
         3000},
        {"an IPv6 address in brackets, internationalised addresses in ASCII, a TAB in the subject",
         peer(Args({"smtp", "--listen", "::1"})),
         [](TrpSMTPClient& c, const TestCertificates&) {
             c.SetHost(QStringLiteral("[::1]"));
             c.SetMailFrom(QStringLiteral("agent@пример.рф"));
             c.SetMailTo(QStringLiteral("client@Пример.РФ"));
             c.SetMailSubject(QStringLiteral("Расчет\tОСАГО"));
         },
         true,
         {},
         Args({"HELO xn--e1afmkfd.xn--p1ai", "MAIL agent@xn--e1afmkfd.xn--p1ai",
               "RCPT client@xn--e1afmkfd.xn--p1ai", "DATA"}),
         Args({">HELO xn--e1afmkfd.xn--p1ai", ">MAIL FROM:<agent@xn--e1afmkfd.xn--p1ai>", "<250"})},
        {"STARTTLS with a certificate of the trusted test CA",
         [](const TestCertificates& c) {
             return QStringList{QStringLiteral("smtp"), QStringLiteral("--starttls"), c.ServerPem,
                                c.ServerKey};
         },
         tls(TrpSmtpSecurity::StartTLS, true),
         true,
         {},
         Args({"EHLO tarifon.test", "EHLO tarifon.test", "MAIL"}),
         Args({">EHLO tarifon.test", ">STARTTLS", "<220", "*** TLS", ">EHLO tarifon.test", ">MAIL FROM"})},
        {"STARTTLS with a certificate of an untrusted CA is refused",
         [](const TestCertificates& c) {
             return QStringList{QStringLiteral("smtp"), QStringLiteral("--starttls"), c.StrangerPem,
                                c.StrangerKey};
         },
         tls(TrpSmtpSecurity::StartTLS, true), false,
         rpGet(QStringLiteral("mlTlsFailed")).section(QLatin1Char('%'), 0, 0), Args({"EHLO tarifon.test"}),
         Args({">STARTTLS", "<220"}), 4000},
        {"the system's trust store alone does not know the test CA",
         [](const TestCertificates& c) {
             return QStringList{QStringLiteral("smtp"), QStringLiteral("--starttls"), c.ServerPem,
                                c.ServerKey};
         },
         tls(TrpSmtpSecurity::StartTLS, false), false,
         rpGet(QStringLiteral("mlTlsFailed")).section(QLatin1Char('%'), 0, 0), Args({"EHLO tarifon.test"}),
         Args({">STARTTLS"}), 4000},
        {"STARTTLS asked of a server that does not offer it: no fallback to plain text", peer(Args({"smtp"})),
         tls(TrpSmtpSecurity::StartTLS, true), false, QStringLiteral("STARTTLS"), Args({"EHLO tarifon.test"}),
         Args({">EHLO tarifon.test", "<250", ">QUIT"}), 3000},
        {"implicit TLS from the first byte",
         [](const TestCertificates& c) {
             return QStringList{QStringLiteral("smtp"), QStringLiteral("--implicit"), c.ServerPem,
                                c.ServerKey};
         },
         tls(TrpSmtpSecurity::Implicit, true),
         true,
         {},
         Args({"EHLO tarifon.test", "MAIL", "RCPT", "DATA"}),
         Args({"*** TLS", "<220", ">EHLO tarifon.test"})},
    };
    for (const ExchangeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        SmtpPeer server(c.Peer(certs));
        TrpSMTPClient client;
        Configure(client, server.Port());
        c.Setup(client, certs);
        const Outcome o = Send(client);
        EXPECT_EQ(o.Sent, c.Sent) << o.Errors.toStdString() << "\n" << o.Log.join('\n').toStdString();
        if (c.Error.isEmpty())
            EXPECT_TRUE(o.Errors.isEmpty()) << o.Errors.toStdString();
        else
            EXPECT_TRUE(o.Errors.contains(c.Error)) << o.Errors.toStdString();
        EXPECT_LT(o.Ms, c.MaxMs);
        // In order: each expected line after the one before.
        const QStringList commands = server.Commands();
        qsizetype at = 0;
        for (const QString& wanted : c.PeerCommands) {
            while (at < commands.size() && !commands[at].startsWith(wanted))
                ++at;
            EXPECT_LT(at, commands.size()) << "the peer did not see " << wanted.toStdString() << " in\n"
                                           << commands.join('\n').toStdString();
            ++at;
        }
        at = 0;
        for (const QString& wanted : c.LogLines) {
            while (at < o.Log.size() && !o.Log[at].startsWith(wanted))
                ++at;
            EXPECT_LT(at, o.Log.size()) << "the log lacks " << wanted.toStdString() << " in\n"
                                        << o.Log.join('\n').toStdString();
            ++at;
        }
        if (!c.Sent && !c.PeerCommands.contains(QStringLiteral("DATA"))) {
            EXPECT_TRUE(std::none_of(commands.begin(), commands.end(),
                                     [](const QString& s) { return s == u"DATA"; }));
        }
        // The password never shows: plain, in Base64, or combined with the user as AUTH PLAIN has it.
        const QString all = o.Log.join('\n') + o.Errors;
        for (const QString& secret : {Password, client.Password()}) {
            const QByteArray bytes = secret.toUtf8();
            if (bytes.isEmpty())
                continue;
            for (const QByteArray& form :
                 {bytes, bytes.toBase64(), (QByteArray("\0agent\0", 7) + bytes).toBase64()})
                EXPECT_FALSE(all.contains(QString::fromUtf8(form))) << form.toStdString() << " in\n"
                                                                    << all.toStdString();
        }
    }
}

TEST(SmtpExchange, ConnectionErrorsSayWhatFailedAndTheSystemsReasonOnce) {
    TrpSMTPClient client;
    const int port = FreePort();
    Configure(client, port);
    const Outcome o = Send(client);
    EXPECT_FALSE(o.Sent);
    EXPECT_EQ(o.Errors,
              QStringLiteral("Не удалось соединиться с сервером 127.0.0.1 (порт %1): Отказано в соединении")
                  .arg(port));
}

TEST(SmtpExchange, TextThatWouldBecomeHeadersOrCommandsIsRefusedBeforeConnecting) {
    SmtpPeer server(Args({"smtp"}));
    const std::function<void(TrpSMTPClient&)> bad[] = {
        [](TrpSMTPClient& c) { c.SetMailSubject(QStringLiteral("Расчет\r\nBcc: victim@tarifon.test")); },
        [](TrpSMTPClient& c) { c.SetMailSubject(QStringLiteral("line\nbreak")); },
        [](TrpSMTPClient& c) {
            c.SetMailTo(QStringLiteral("client@tarifon.test>\r\nRCPT TO:<victim@tarifon.test"));
        },
        [](TrpSMTPClient& c) { c.SetMailTo(QStringLiteral("client@tarifon.test> SIZE=1")); },
        [](TrpSMTPClient& c) { c.SetMailFrom(QStringLiteral("agent@tarifon.test\rX")); },
        [](TrpSMTPClient& c) { c.SetMailFromName(QStringLiteral("Агент\nBcc: victim@tarifon.test")); },
        [](TrpSMTPClient& c) { c.SetMailTo(QString()); },
    };
    for (const auto& spoil : bad) {
        TrpSMTPClient client;
        Configure(client, server.Port());
        spoil(client);
        const Outcome o = Send(client);
        EXPECT_FALSE(o.Sent);
        EXPECT_FALSE(o.Errors.isEmpty());
        EXPECT_FALSE(o.Errors.contains(QLatin1Char('\n'))) << "the refusal repeats the line break";
    }
    EXPECT_TRUE(server.Commands().isEmpty()) << server.Commands().join('\n').toStdString();
}
