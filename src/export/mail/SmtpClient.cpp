#include "export/mail/SmtpClient.h"

#include "export/Progress.h"
#include "export/mail/MailMessage.h"
#include "export/mail/MailTexts.h"
#include "report/EngineTexts.h"

#include <QEventLoop>
#include <QFile>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSslCipher>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>

namespace exports {

using report::rpGet;

namespace {

// A reply longer than this is no SMTP server's; it ends the exchange instead of the memory.
constexpr qint64 MaxReplyBytes = 4 * 1024 * 1024;
// How long a refused exchange waits for the server to take QUIT and close.
constexpr int CloseWaitMs = 1000;

QString Now() {
    return QDateTime::currentDateTime().toString(Qt::ISODate);
}

// An IPv6 address may be written in brackets, as in addresses with a port.
QString BareHost(const QString& host) {
    return host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')) ? host.mid(1, host.size() - 2)
                                                                                : host;
}

} // namespace

TrpSMTPClient::TrpSMTPClient() {
    AddMailExportTexts();
}

TrpSMTPClient::~TrpSMTPClient() {
    // Leaving while an exchange runs (the window goes): cancel it; the loop ends with it.
    FCancelled = true;
    if (FSocket)
        FSocket->abort();
    Finish();
}

QString TrpSMTPClient::CheckInput() const {
    const std::pair<QString, QString> texts[] = {{rpGet(8922), FMailSubject},
                                                 {rpGet(QStringLiteral("mlFromName")), FMailFromName},
                                                 {rpGet(8909), FHost}};
    for (const auto& [field, text] : texts)
        if (!IsHeaderSafe(text))
            return rpGet(QStringLiteral("mlBadText")).arg(field);
    for (const QString& address : {FMailFrom, FMailTo})
        if (!IsMailAddress(AceAddress(address)))
            return rpGet(QStringLiteral("mlBadAddress"))
                .arg(QString(address)
                         .replace(QLatin1Char('\n'), QLatin1Char(' '))
                         .replace(QLatin1Char('\r'), QLatin1Char(' ')));
    if (!IsHeaderSafe(FUser) || !IsHeaderSafe(FPassword))
        return rpGet(QStringLiteral("mlBadText")).arg(rpGet(8910));
    if (FPort < 1 || FPort > 65535)
        return rpGet(QStringLiteral("mlBadPort"));
    return {};
}

bool TrpSMTPClient::SendMessage() {
    FErrors.clear();
    FLog.clear();
    AddLog(Now());
    FWireHost = BareHost(FHost);
    FWireFrom = AceAddress(FMailFrom);
    FWireTo = AceAddress(FMailTo);
    FSent = FCancelled = FEncrypted = false;
    FCapabilities.clear();
    FLastReply.clear();
    FLastCommand.clear();
    FBuffer.clear();
    FReplyLines.clear();
    FReplySize = 0;

    TrpMailMessage message;
    message.From = FWireFrom;
    message.FromName = FMailFromName;
    message.To = FWireTo;
    message.Subject = FMailSubject;
    message.Text = FMailText;
    QString problem = CheckInput();
    if (problem.isEmpty() && !FMailFile.isEmpty()) {
        QFile file(FMailFile);
        if (!file.open(QIODevice::ReadOnly)) {
            problem = rpGet(QStringLiteral("mlCannotRead")).arg(FMailFile, file.errorString());
        } else {
            message.Attachment = file.readAll();
            message.HasAttachment = true;
            message.AttachName = FAttachName;
            const QMimeType type = QMimeDatabase().mimeTypeForFile(FMailFile, QMimeDatabase::MatchExtension);
            if (type.isValid() && !type.isDefault())
                message.AttachType = type.name();
        }
    }
    if (!problem.isEmpty()) {
        AddError(problem);
    } else {
        FBody = DotStuff(BuildMessage(message)) + ".\r\n";
        FBodyWritten = 0;
        FActive = true;
        FClosing = false;
        FStep = Step::Connect;
        FSocket = std::make_unique<QSslSocket>();
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        // Adding to the default list would switch the system's trust store off (it is read on
        // demand only while the list is untouched), so extra authorities come with all of it.
        if (!FCaCertificates.isEmpty())
            tls.setCaCertificates(QSslConfiguration::systemCaCertificates() + FCaCertificates);
        tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
        FSocket->setSslConfiguration(tls);
        FSocket->setPeerVerifyName(FWireHost);
        QSslSocket* s = FSocket.get();
        connect(s, &QSslSocket::connected, this, [this] { FStep = Step::Greeting; });
        connect(s, &QSslSocket::encrypted, this, &TrpSMTPClient::Encrypted);
        connect(s, &QSslSocket::readyRead, this, &TrpSMTPClient::ReadReplies);
        connect(s, &QSslSocket::disconnected, this, &TrpSMTPClient::Disconnected);
        connect(s, &QSslSocket::errorOccurred, this, &TrpSMTPClient::SocketError);
        connect(s, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
            QStringList texts;
            for (const QSslError& e : errors)
                texts << e.errorString();
            FTlsErrors = texts.join(QStringLiteral("; "));
        });
        connect(s, &QSslSocket::bytesWritten, this, [this](qint64 n) {
            FIdle.restart();
            if (FStep == Step::Body && FBodyWritten < FBody.size()) {
                FBodyWritten += n;
                // The reply to the message is awaited from its last byte on.
                if (FBodyWritten >= FBody.size())
                    FReplyClock.restart();
            }
        });

        if (FShowProgress) {
            FProgress = std::make_unique<TrpProgress>();
            FProgress->Execute(100, rpGet(QStringLiteral("mlSending")) + QLatin1Char(' ') + FMailTo, true,
                               true);
        }
        FIdle.start();
        FReplyClock.start();
        FExchangeClock.start();
        if (FSecurity == TrpSmtpSecurity::Implicit)
            s->connectToHostEncrypted(FWireHost, quint16(FPort));
        else
            s->connectToHost(FWireHost, quint16(FPort));

        QEventLoop loop;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, &TrpSMTPClient::Tick);
        ticker.start(100);
        FLoop = &loop;
        if (FActive)
            loop.exec();
        FLoop = nullptr;
        FProgress.reset();
        FSocket->disconnect(this);
        FSocket->abort();
        FSocket.reset();
        FBody.clear();
    }
    AddLog(QStringLiteral("---") + Now());
    for (const QString& e : FErrors)
        FLog << e;
    AppendLog();
    return FSent;
}

void TrpSMTPClient::AppendLog() {
    if (FLogFile.isEmpty())
        return;
    // Appended, never read: the log may have grown large, or be a device (where a seek to the
    // end, as QFile's Append does, is no use).
    const int fd =
        ::open(QFile::encodeName(FLogFile).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        FErrors << rpGet(QStringLiteral("mlCannotWriteLog")).arg(FLogFile, qt_error_string(errno));
        return;
    }
    QFile log;
    const QByteArray text = (FLog.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    if (!log.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) || log.write(text) != text.size() ||
        !log.flush())
        FErrors << rpGet(QStringLiteral("mlCannotWriteLog")).arg(FLogFile, log.errorString());
}

void TrpSMTPClient::Greet() {
    // The plain exchange keeps the classic greeting; encryption and login need the
    // extensions list of EHLO.
    FExtended = FSecurity != TrpSmtpSecurity::None || !FUser.isEmpty();
    FStep = Step::Hello;
    Command((FExtended ? "EHLO " : "HELO ") + HeloDomain(FWireFrom).toLatin1());
}

void TrpSMTPClient::Encrypted() {
    const bool upgraded = FStep == Step::StartTLS;
    FEncrypted = true;
    AddLog(QStringLiteral("*** TLS ") + FSocket->sessionCipher().protocolString());
    // After STARTTLS everything learnt before is forgotten and the greeting is repeated.
    if (upgraded) {
        FCapabilities.clear();
        Greet();
    }
}

void TrpSMTPClient::AfterHello() {
    if (FSecurity == TrpSmtpSecurity::StartTLS && !FEncrypted) {
        if (!FCapabilities.contains(QStringLiteral("STARTTLS"))) {
            Fail(rpGet(QStringLiteral("mlNoStartTLS")).arg(FWireHost));
            return;
        }
        FStep = Step::StartTLS;
        Command("STARTTLS");
        return;
    }
    if (!FUser.isEmpty()) {
        FStep = Step::Auth;
        Command("AUTH LOGIN");
        return;
    }
    FStep = Step::MailFrom;
    Command("MAIL FROM:<" + FWireFrom.toLatin1() + '>');
}

void TrpSMTPClient::Reply(int code, const QStringList& lines) {
    FLastReply = (QString::number(code) + QLatin1Char(' ') + lines.join(QLatin1Char(' '))).left(1000);
    auto expect = [&](int wanted, const char* command) {
        if (code == wanted)
            return true;
        Fail(rpGet(QStringLiteral("mlRefused")).arg(QString::fromLatin1(command), FLastReply));
        return false;
    };
    switch (FStep) {
    case Step::Connect:
    case Step::Greeting:
        if (expect(220, "CONNECT"))
            Greet();
        break;
    case Step::Hello:
        if (!expect(250, FExtended ? "EHLO" : "HELO"))
            break;
        for (qsizetype i = 1; i < lines.size(); ++i)
            FCapabilities << lines[i].section(QLatin1Char(' '), 0, 0).toUpper();
        AfterHello();
        break;
    case Step::StartTLS:
        if (expect(220, "STARTTLS")) {
            // Anything that came in plain text after this reply was not protected: dropped.
            FBuffer.clear();
            FReplyLines.clear();
            FReplySize = 0;
            FSocket->startClientEncryption();
        }
        break;
    case Step::Auth:
        if (expect(334, "AUTH LOGIN")) {
            FStep = Step::AuthUser;
            Command(FUser.toUtf8().toBase64(), QStringLiteral("****"));
        }
        break;
    case Step::AuthUser:
        if (expect(334, "AUTH LOGIN")) {
            FStep = Step::AuthPassword;
            Command(FPassword.toUtf8().toBase64(), QStringLiteral("****"));
        }
        break;
    case Step::AuthPassword:
        if (expect(235, "AUTH LOGIN")) {
            FStep = Step::MailFrom;
            Command("MAIL FROM:<" + FWireFrom.toLatin1() + '>');
        }
        break;
    case Step::MailFrom:
        if (expect(250, "MAIL FROM")) {
            FStep = Step::RcptTo;
            Command("RCPT TO:<" + FWireTo.toLatin1() + '>');
        }
        break;
    case Step::RcptTo:
        if (code == 251 || expect(250, "RCPT TO")) {
            FStep = Step::Data;
            Command("DATA");
        }
        break;
    case Step::Data:
        if (expect(354, "DATA")) {
            FStep = Step::Body;
            AddLog(QStringLiteral(">message(skipped)"));
            FSocket->write(FBody);
        }
        break;
    case Step::Body:
        if (expect(250, "DATA")) {
            FSent = true;
            FStep = Step::Quit;
            Command("QUIT");
        }
        break;
    case Step::Quit:
        // 221, or anything else: the server has had its last word.
        FClosing = true;
        FCloseClock.start();
        FSocket->disconnectFromHost();
        break;
    }
}

void TrpSMTPClient::ReadReplies() {
    FIdle.restart();
    FBuffer += FSocket->readAll();
    while (FActive && !FClosing) {
        const qsizetype end = FBuffer.indexOf('\n');
        if (end < 0) {
            if (FBuffer.size() + FReplySize > MaxReplyBytes)
                Fail(rpGet(QStringLiteral("mlReplyTooLong")).arg(MaxReplyBytes));
            return;
        }
        QByteArray line = FBuffer.left(end);
        FBuffer.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = QString::fromUtf8(line);
        AddLog(QLatin1Char('<') + text);
        const bool numeric = line.size() >= 3 && std::isdigit(uchar(line[0])) &&
                             std::isdigit(uchar(line[1])) && std::isdigit(uchar(line[2])) &&
                             (line.size() == 3 || line[3] == ' ' || line[3] == '-');
        if (!numeric) {
            Fail(rpGet(QStringLiteral("mlNotSmtp")).arg(FWireHost, text.left(80)));
            return;
        }
        FReplyLines << text.mid(4);
        FReplySize += line.size();
        if (FReplySize > MaxReplyBytes) {
            Fail(rpGet(QStringLiteral("mlReplyTooLong")).arg(MaxReplyBytes));
            return;
        }
        if (line.size() > 3 && line[3] == '-')
            continue;
        const QStringList lines = std::exchange(FReplyLines, {});
        FReplySize = 0;
        Reply(line.left(3).toInt(), lines);
    }
}

void TrpSMTPClient::Disconnected() {
    if (!FActive)
        return;
    // A server that accepted the message has delivered it, whether or not it said goodbye.
    // A refusal has been told already; the server's last reply was a yes (the greeting, or
    // 250), so what is said is where it broke off.
    if (!FClosing && !FSent && FErrors.isEmpty())
        AddError(FLastCommand.isEmpty()
                     ? rpGet(QStringLiteral("mlClosed")).arg(FWireHost)
                     : rpGet(QStringLiteral("mlClosedAfter")).arg(FWireHost, FLastCommand));
    Finish();
}

void TrpSMTPClient::SocketError() {
    if (!FActive || FClosing)
        return;
    const QAbstractSocket::SocketError error = FSocket->error();
    if (error == QAbstractSocket::RemoteHostClosedError)
        return; // told by Disconnected
    if (error == QAbstractSocket::SslHandshakeFailedError ||
        error == QAbstractSocket::SslInvalidUserDataError || error == QAbstractSocket::SslInternalError) {
        AddError(rpGet(QStringLiteral("mlTlsFailed"))
                     .arg(FWireHost, FTlsErrors.isEmpty() ? FSocket->errorString() : FTlsErrors));
    } else {
        // What failed and the system's reason for it, once.
        AddError(FStep == Step::Connect
                     ? rpGet(QStringLiteral("mlCannotConnect"))
                           .arg(FWireHost, QString::number(FPort), FSocket->errorString())
                     : rpGet(QStringLiteral("mlConnectionLost")).arg(FWireHost, FSocket->errorString()));
    }
    FSocket->abort();
    Finish();
}

void TrpSMTPClient::Tick() {
    if (!FActive)
        return;
    if (FClosing) {
        if (FCloseClock.elapsed() > CloseWaitMs)
            Finish();
        return;
    }
    if (FProgress) {
        FProgress->Tick();
        if (FProgress->Terminated()) {
            // The user is not kept waiting for the server's goodbye.
            FCancelled = true;
            if (FSocket->state() == QAbstractSocket::ConnectedState && FStep != Step::Connect &&
                (FStep != Step::Body || FBodyWritten >= FBody.size())) {
                Command("QUIT");
                FSocket->flush();
            }
            Finish();
            return;
        }
    }
    // A server that keeps every byte coming but never finishes is bounded as well as a silent one.
    const bool awaitingReply = FStep != Step::Body || FBodyWritten >= FBody.size();
    QString late;
    if (FExchangeClock.elapsed() > qint64(FExchangeTimeOut) * 1000)
        late = rpGet(QStringLiteral("mlExchangeTimeOut")).arg(FExchangeTimeOut);
    else if (awaitingReply && FReplyClock.elapsed() > qint64(FReplyTimeOut) * 1000)
        late = rpGet(QStringLiteral("mlReplyTimeOut")).arg(FReplyTimeOut);
    else if (FIdle.elapsed() > qint64(FTimeOut) * 1000)
        late = rpGet(QStringLiteral("mlTimeOut")).arg(FWireHost, QString::number(FTimeOut));
    // Once the message is accepted, only the goodbye is missing: no error.
    if (!late.isEmpty())
        Fail(FSent ? QString() : late);
}

void TrpSMTPClient::Command(const QByteArray& command, const QString& shown) {
    AddLog(QLatin1Char('>') + (shown.isEmpty() ? QString::fromLatin1(command) : shown));
    if (shown.isEmpty()) {
        const QString text = QString::fromLatin1(command).section(QLatin1Char(':'), 0, 0);
        FLastCommand =
            text.section(QLatin1Char(' '), 0, text.startsWith(u"MAIL") || text.startsWith(u"RCPT") ? 1 : 0);
    }
    FReplyClock.restart();
    FSocket->write(command + "\r\n");
}

void TrpSMTPClient::Fail(const QString& error) {
    if (!error.isEmpty())
        AddError(error);
    if (!FSocket || FSocket->state() != QAbstractSocket::ConnectedState) {
        Finish();
        return;
    }
    // A command in the middle of the message would become part of it.
    if (FStep != Step::Body || FBodyWritten >= FBody.size())
        Command("QUIT");
    FClosing = true;
    FCloseClock.start();
    FSocket->disconnectFromHost();
}

void TrpSMTPClient::Finish() {
    FActive = false;
    if (FLoop)
        FLoop->quit();
}

QString TrpSMTPClient::Hidden(QString text) const {
    if (FPassword.isEmpty())
        return text;
    // A server may echo the password in Base64, alone or inside other bytes (as in a combined
    // credential), at any offset: every run of Base64 characters that decodes, at any of the
    // four alignments, to bytes holding the password goes.
    const QByteArray secret = FPassword.toUtf8();
    static const QRegularExpression runs(QStringLiteral("[A-Za-z0-9+/_-]{2,}=*"));
    QList<std::pair<qsizetype, qsizetype>> found;
    for (auto it = runs.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QByteArray run = m.captured().toLatin1();
        for (int offset = 0; offset < 4 && offset < run.size(); ++offset) {
            const QByteArray part = run.mid(offset);
            if (QByteArray::fromBase64(part).contains(secret) ||
                QByteArray::fromBase64(part, QByteArray::Base64UrlEncoding).contains(secret)) {
                found.append({m.capturedStart(), m.capturedLength()});
                break;
            }
        }
    }
    for (auto it = found.crbegin(); it != found.crend(); ++it)
        text.replace(it->first, it->second, QStringLiteral("****"));
    // However short: a short password is no less secret.
    return text.replace(FPassword, QStringLiteral("****"));
}

void TrpSMTPClient::AddLog(const QString& line) {
    FLog << Hidden(line);
}

void TrpSMTPClient::AddError(const QString& line) {
    FErrors << Hidden(line);
}

} // namespace exports
