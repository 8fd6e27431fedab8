#pragma once
// The SMTP client of the e-mail export: one message per exchange, driven by the socket's
// notifications on the user-interface thread while a local event loop runs, so the windows
// stay alive. Every reply is checked against the step it answers; any refusal ends the
// exchange at once with QUIT and the server's words.

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <memory>

class QEventLoop;
class QSslSocket;

namespace exports {

class TrpProgress;

// How the connection is protected: not at all, STARTTLS after the greeting (port 587 or 25),
// or TLS from the first byte (port 465).
enum class TrpSmtpSecurity { None = 0, StartTLS = 1, Implicit = 2 };

class TrpSMTPClient : public QObject {
public:
    TrpSMTPClient();
    ~TrpSMTPClient() override;

    // ---- published properties ----
    bool Active() const { return FActive; }
    // A name or an address; an IPv6 address may stand in brackets ("[::1]").
    const QString& Host() const { return FHost; }
    void SetHost(const QString& v) { FHost = v; }
    int Port() const { return FPort; }
    void SetPort(int v) { FPort = v; }
    // Seconds without any byte moving after which the exchange is given up.
    int TimeOut() const { return FTimeOut; }
    void SetTimeOut(int v) { FTimeOut = v; }
    // Seconds a whole reply may take from its command, however steadily it trickles in.
    int ReplyTimeOut() const { return FReplyTimeOut; }
    void SetReplyTimeOut(int v) { FReplyTimeOut = v; }
    // Seconds the whole exchange may take, the message's transfer included.
    int ExchangeTimeOut() const { return FExchangeTimeOut; }
    void SetExchangeTimeOut(int v) { FExchangeTimeOut = v; }
    const QString& User() const { return FUser; }
    void SetUser(const QString& v) { FUser = v; }
    const QString& Password() const { return FPassword; }
    void SetPassword(const QString& v) { FPassword = v; }
    // Addresses at internationalised domains go over the wire in their ASCII form.
    const QString& MailFrom() const { return FMailFrom; }
    void SetMailFrom(const QString& v) { FMailFrom = v; }
    // Shown before the sender address in the From header.
    const QString& MailFromName() const { return FMailFromName; }
    void SetMailFromName(const QString& v) { FMailFromName = v; }
    const QString& MailTo() const { return FMailTo; }
    void SetMailTo(const QString& v) { FMailTo = v; }
    const QString& MailSubject() const { return FMailSubject; }
    void SetMailSubject(const QString& v) { FMailSubject = v; }
    const QString& MailText() const { return FMailText; }
    void SetMailText(const QString& v) { FMailText = v; }
    // The file sent as the attachment; none when empty.
    const QString& MailFile() const { return FMailFile; }
    void SetMailFile(const QString& v) { FMailFile = v; }
    const QString& AttachName() const { return FAttachName; }
    void SetAttachName(const QString& v) { FAttachName = v; }
    bool ShowProgress() const { return FShowProgress; }
    void SetShowProgress(bool v) { FShowProgress = v; }
    const QString& LogFile() const { return FLogFile; }
    void SetLogFile(const QString& v) { FLogFile = v; }
    TrpSmtpSecurity Security() const { return FSecurity; }
    void SetSecurity(TrpSmtpSecurity v) { FSecurity = v; }
    // Certificate authorities trusted besides the system's trust store.
    void SetCaCertificates(const QList<QSslCertificate>& v) { FCaCertificates = v; }

    // Runs the whole exchange and returns when it has ended: true when the server accepted
    // the message. Errors() tells why not (empty when the user cancelled).
    bool SendMessage();
    // What is wrong with the fields before anything is sent ("" when nothing).
    QString CheckInput() const;
    const QStringList& Errors() const { return FErrors; }
    // This exchange as it went: "<" server lines, ">" commands, "****" for credentials and
    // wherever the password would show; appended to LogFile.
    const QStringList& ExchangeLog() const { return FLog; }
    bool Cancelled() const { return FCancelled; }

private:
    enum class Step {
        Connect,
        Greeting,
        Hello,
        StartTLS,
        Auth,
        AuthUser,
        AuthPassword,
        MailFrom,
        RcptTo,
        Data,
        Body,
        Quit
    };

    void Encrypted();
    void ReadReplies();
    void Reply(int code, const QStringList& lines);
    void Disconnected();
    void SocketError();
    void Tick();
    void Command(const QByteArray& command, const QString& shown = {});
    void SendBody();
    void Greet();
    void AfterHello();
    void Fail(const QString& error);
    void Finish();
    void AddLog(const QString& line);
    void AddError(const QString& line);
    void AppendLog();
    QString Hidden(QString text) const;

    bool FActive = false;
    QString FHost = QStringLiteral("127.0.0.1");
    int FPort = 25;
    int FTimeOut = 60;
    int FReplyTimeOut = 120;
    int FExchangeTimeOut = 600;
    QString FUser, FPassword, FMailFrom, FMailFromName, FMailTo, FMailSubject, FMailText, FMailFile,
        FAttachName;
    bool FShowProgress = false;
    QString FLogFile;
    TrpSmtpSecurity FSecurity = TrpSmtpSecurity::None;
    QList<QSslCertificate> FCaCertificates;

    QStringList FErrors;
    QStringList FLog;
    QString FLastReply;
    QString FLastCommand; // the verb of the last command sent ("RCPT TO", "HELO")
    Step FStep = Step::Connect;
    bool FEncrypted = false;
    bool FExtended = false; // greeted with EHLO
    QStringList FCapabilities;
    bool FSent = false; // the server accepted the message
    bool FCancelled = false;
    bool FClosing = false; // QUIT sent or the exchange given up: waiting for the close
    QElapsedTimer FCloseClock;
    QString FTlsErrors;      // why the server's certificate was refused
    QByteArray FBuffer;      // received, not yet a whole line
    QStringList FReplyLines; // lines of a reply still going on
    qint64 FReplySize = 0;
    QByteArray FBody;
    qint64 FBodyWritten = 0;
    QElapsedTimer FIdle;       // since a byte last moved
    QElapsedTimer FReplyClock; // since the last command went, or the message's last byte
    QElapsedTimer FExchangeClock;
    QString FWireHost, FWireFrom, FWireTo; // as they go over the wire
    std::unique_ptr<QSslSocket> FSocket;
    QEventLoop* FLoop = nullptr;
    std::unique_ptr<TrpProgress> FProgress;
};

} // namespace exports
