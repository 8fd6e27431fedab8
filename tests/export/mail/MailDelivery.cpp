// What arrives: the calculation sheet sent through a real MTA and read back by Python's email
// package, and the message's edge cases through aiosmtpd.
#include "MailServers.h"
#include "export/mail/MailExport.h"
#include "export/mail/MailExportDialog.h"
#include "export/mail/MailMessage.h"
#include "export/pdf/PdfExport.h"
#include "report/PreparedReportFile.h"
#include "report/Report.h"
#include "sheet/SheetTemplate.h"
#include "support/SheetCase.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace exports;
using namespace mailtest;

namespace {

QByteArray Attachment(const QJsonObject& mail, int i = 0) {
    return QByteArray::fromBase64(mail[QStringLiteral("attachments")]
                                      .toArray()[i]
                                      .toObject()[QStringLiteral("data")]
                                      .toString()
                                      .toLatin1());
}

QString AttachmentName(const QJsonObject& mail, int i = 0) {
    return mail[QStringLiteral("attachments")].toArray()[i].toObject()[QStringLiteral("filename")].toString();
}

} // namespace

TEST(MailDelivery, TheSheetReachesAPostfixMailboxAsPdfAndAsPreparedReport) {
    PostfixServer mta;
    ASSERT_GT(mta.Port(), 0);
    auto report = sheet::CreateSheetReport();
    ASSERT_TRUE(sheet::PrepareSheet(*report, testsupport::SheetCase(true)).Ok);
    report->OnShowError = [](const QString&, const QString& text) { ADD_FAILURE() << text.toStdString(); };

    TrpPDFExport pdf;
    pdf.SetFileName(QStringLiteral("OSAGO"));
    TrpMailExport mail;
    mail.SetReport(report.get());
    mail.SetShowDialog(false);
    mail.SetShowProgress(false);
    mail.SetSmtpHost(QStringLiteral("127.0.0.1"));
    mail.SetSmtpPort(mta.Port());
    mail.SetFromMail(QStringLiteral("agent@tarifon.test"));
    mail.SetFromName(QStringLiteral("Агент Иванов"));
    mail.SetAddress(QStringLiteral("client@tarifon.test"));
    mail.SetSubject(QStringLiteral("Расчет стоимости ОСАГО: 6 075 рублей"));
    // Windows text split at LF, as the command line and pasted text give it: one line break each.
    mail.SetLines(QStringLiteral("Добрый день!\r\nРасчет во вложении.").split(QLatin1Char('\n')));
    mail.SetSignature(
        {QStringLiteral("--"), QStringLiteral("С уважением,"), QStringLiteral("  Агент Иванов")});
    QList<QByteArray> sent;
    QStringList names, files;
    mail.OnAttachment = [&](const QString& file, const QString& name) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        sent << f.readAll();
        names << name;
        files << file;
    };
    for (TrpCustomExportFilter* format :
         {static_cast<TrpCustomExportFilter*>(&pdf), static_cast<TrpCustomExportFilter*>(nullptr)}) {
        mail.SetAttachmentFilter(format);
        EXPECT_EQ(mail.Send(), QString()) << mta.Log().toStdString();
    }
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("OSAGO.pdf"), QStringLiteral("Расчет стоимости ОСАГО.trp")}));
    EXPECT_TRUE(sent[0].startsWith("%PDF-"));
    EXPECT_EQ(sent[1], report::TrpPreparedReportFile::SaveToBytes(*report));
    for (const QString& file : files)
        EXPECT_FALSE(QFileInfo::exists(file)) << "the temporary attachment stays: " << file.toStdString();
    // The sending clears the subordinate filter's name and gives its settings back.
    EXPECT_TRUE(pdf.FileName().isEmpty());
    EXPECT_FALSE(pdf.Subordinate());
    EXPECT_TRUE(pdf.ShowDialog());

    const QString box = mta.WaitForMailbox(2);
    ASSERT_FALSE(box.isEmpty()) << mta.Log().toStdString();
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QJsonObject m = ReadMail(box, i);
        EXPECT_EQ(m[QStringLiteral("subject")].toString(), mail.Subject());
        EXPECT_EQ(m[QStringLiteral("from")].toString(), QStringLiteral("Агент Иванов <agent@tarifon.test>"));
        EXPECT_EQ(m[QStringLiteral("to")].toString(), QStringLiteral("client@tarifon.test"));
        EXPECT_EQ(m[QStringLiteral("text")].toString(),
                  QStringLiteral("Добрый день!\nРасчет во вложении.\n--\nС уважением,\n  Агент Иванов\n"));
        EXPECT_EQ(m[QStringLiteral("defects")].toInt(), 0);
        EXPECT_EQ(AttachmentName(m), names[i]);
        EXPECT_EQ(Attachment(m), sent[i]) << "the attachment's bytes differ";
    }
}

// The message's edge cases, each sent to aiosmtpd and read back as a mail program reads it.
TEST(MailDelivery, EdgeCasesArriveAsTyped) {
    SmtpPeer peer({QStringLiteral("smtp")});
    QTemporaryDir dir;
    const QByteArray bytes58(58, '\xA7');
    struct Case {
        const char* Name;
        QString Subject, FromName, Text;
        QByteArray Attachment;
        QString AttachName;
        QString WantedText;
    } cases[] = {
        {"a Cyrillic subject longer than one encoded word",
         QStringLiteral("Расчет стоимости полиса ОСАГО для грузовика до 16 тонн — 6 075 рублей"),
         QStringLiteral("Иван"),
         QStringLiteral("Текст"),
         {},
         {},
         QStringLiteral("Текст\n")},
        {"\"\\n\" in the text is a line break, and a line of one dot stays",
         QStringLiteral("Dots"),
         {},
         QStringLiteral("first\\nsecond\r\n.\r\n..two\r\n.\nlast"),
         {},
         {},
         QStringLiteral("first\nsecond\n.\n..two\n.\nlast\n")},
        {"a 1,200-character subject folds between its words",
         QString(1200, QLatin1Char('x')).replace(QStringLiteral("xxxxx"), QStringLiteral("word ")).trimmed(),
         {},
         QStringLiteral("Text"),
         {},
         {},
         QStringLiteral("Text\n")},
        {"a 1,200-character subject of one word goes encoded",
         QString(1200, QLatin1Char('y')),
         {},
         QStringLiteral("Text"),
         {},
         {},
         QStringLiteral("Text\n")},
        {"a TAB in the subject",
         QStringLiteral("Sheet\tOSAGO"),
         {},
         QStringLiteral("Text"),
         {},
         {},
         QStringLiteral("Text\n")},
        {"a 58-byte attachment with a Cyrillic name", QStringLiteral("Вложение"),
         QStringLiteral("Agent \"Boss\", Jr."), QStringLiteral("См. файл"), bytes58,
         QStringLiteral("Лист «ОСАГО» 1.pdf"), QStringLiteral("См. файл\n")},
    };
    int sentCount = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TrpSMTPClient client;
        client.SetHost(QStringLiteral("127.0.0.1"));
        client.SetPort(peer.Port());
        client.SetMailFrom(QStringLiteral("agent@tarifon.test"));
        client.SetMailFromName(c.FromName);
        client.SetMailTo(QStringLiteral("client@tarifon.test"));
        client.SetMailSubject(c.Subject);
        client.SetMailText(c.Text);
        if (!c.Attachment.isEmpty()) {
            const QString file = dir.filePath(QStringLiteral("a.pdf"));
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.Attachment);
            f.close();
            client.SetMailFile(file);
            client.SetAttachName(c.AttachName);
        }
        ASSERT_TRUE(client.SendMessage()) << client.Errors().join('\n').toStdString();
        const QByteArray raw = peer.Messages().value(sentCount++);
        const QString file = dir.filePath(QStringLiteral("m.eml"));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(raw);
        f.close();
        const QJsonObject m = ReadMail(file, -1);
        EXPECT_EQ(m[QStringLiteral("subject")].toString(), c.Subject);
        EXPECT_EQ(m[QStringLiteral("text")].toString(), c.WantedText);
        EXPECT_EQ(m[QStringLiteral("charset")].toString(), QStringLiteral("utf-8"));
        EXPECT_EQ(m[QStringLiteral("defects")].toInt(), 0);
        if (!c.FromName.isEmpty()) {
            EXPECT_TRUE(m[QStringLiteral("from")].toString().startsWith(
                c.FromName.contains(QLatin1Char('"')) ? QStringLiteral("\"Agent") : c.FromName));
        }
        // Lines stay within the length mail programs expect; the headers are folded at 78.
        for (const QByteArray& line : raw.split('\n'))
            EXPECT_LE(line.size(), 998);
        for (const QByteArray& line : raw.left(raw.indexOf("\r\n\r\n")).split('\n'))
            EXPECT_LE(line.trimmed().size(), 78) << line.constData();
        if (!c.Attachment.isEmpty()) {
            EXPECT_EQ(AttachmentName(m), c.AttachName);
            EXPECT_EQ(Attachment(m), c.Attachment);
            // 58 bytes: a line of 76 characters and one of 4.
            const qsizetype at = raw.indexOf("\r\n\r\n", raw.indexOf("Content-Disposition")) + 4;
            const QList<QByteArray> lines = raw.mid(at).split('\n');
            ASSERT_GE(lines.size(), 2);
            EXPECT_EQ(lines[0].trimmed().size(), 76);
            EXPECT_EQ(lines[1].trimmed().size(), 4);
        }
    }
}

TEST(MailMessage, Base64LinesAndEncodedWordsFollowTheRules) {
    const struct {
        int Bytes;
        QList<int> LineLengths;
    } sizes[] = {{0, {}}, {1, {4}}, {57, {76}}, {58, {76, 4}}, {114, {76, 76}}};
    for (const auto& s : sizes) {
        const QByteArray data(s.Bytes, 'x');
        const QByteArray lines = Base64Lines(data);
        QList<int> lengths;
        for (const QByteArray& line : lines.split('\n'))
            if (!line.isEmpty())
                lengths << int(line.size()) - 1; // without the CR
        EXPECT_EQ(lengths, s.LineLengths) << s.Bytes;
        EXPECT_EQ(QByteArray::fromBase64(QByteArray(lines).replace("\r\n", "")), data);
    }
    EXPECT_EQ(HeloDomain(QStringLiteral("agent@tarifon.test")), QStringLiteral("tarifon.test"));
    EXPECT_EQ(HeloDomain(QStringLiteral("agent")), QStringLiteral("agent"));
    EXPECT_EQ(DotStuff(".\r\nа\r\n..b\r\nc.\r\n"), QByteArray("..\r\nа\r\n...b\r\nc.\r\n"));
    EXPECT_EQ(RfcDate(QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7), Qt::UTC)),
              QStringLiteral("Sun, 06 Dec 2026 09:05:07 GMT"));
    // Every encoded word holds whole characters and stays within 75 characters.
    const QByteArray words = EncodeHeaderText(QString(40, QChar(0x0416)) + QStringLiteral("😀x"));
    for (const QByteArray& word : words.split(' ')) {
        const QByteArray w = word.trimmed();
        EXPECT_LE(w.size(), 75);
        EXPECT_TRUE(w.startsWith("=?UTF-8?B?") && w.endsWith("?="));
        EXPECT_FALSE(QString::fromUtf8(QByteArray::fromBase64(w.mid(10, w.size() - 12)))
                         .contains(QChar::ReplacementCharacter));
    }
}

// The menu's way: the e-mail dialog, then the PDF filter's own dialog as a subordinate, the
// attachment named after the filter's file first and after the report later, errors through
// the report's channel.
TEST(MailDelivery, TheExportMenuPathRunsBothDialogsAndNamesTheAttachment) {
    mailtest::SmtpPeer peer({QStringLiteral("smtp")});
    mailtest::SmtpPeer refusing({QStringLiteral("smtp"), QStringLiteral("--reject-rcpt")});
    QTemporaryDir dir;
    auto report = sheet::CreateSheetReport();
    ASSERT_TRUE(sheet::PrepareSheet(*report, testsupport::SheetCase(true)).Ok);
    report->IniFile = dir.filePath(QStringLiteral("settings.ini"));
    QStringList shownErrors;
    report->OnShowError = [&](const QString&, const QString& text) { shownErrors << text; };
    TrpPDFExport pdf;
    pdf.SetFileName(QStringLiteral("OSAGO"));
    TrpMailExport mail;
    mail.SetShowProgress(false);
    QStringList names, files, dialogs;
    mail.OnAttachment = [&](const QString& file, const QString& name) {
        names << name;
        files << file;
    };
    int port = peer.Port();
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* d = dynamic_cast<TrpMailExportDialog*>(modal)) {
            dialogs << QStringLiteral("mail");
            d->AddressE->setEditText(QStringLiteral("client@tarifon.test"));
            d->SubjectE->setEditText(QStringLiteral("Расчет"));
            d->FromAddrE->setText(QStringLiteral("agent@tarifon.test"));
            d->HostE->setText(QStringLiteral("127.0.0.1"));
            d->PortE->setText(QString::number(port));
            d->ExportsCombo->setCurrentIndex(0);
            d->OkB->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            dialogs << box->text();
            box->accept();
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            dialogs << QStringLiteral("pdf");
            other->accept();
        }
    });
    answer.start(20);
    for (int run = 0; run < 3; ++run) {
        port = run < 2 ? peer.Port() : refusing.Port();
        ExportTo(*report, &mail);
    }
    // Each message sent is confirmed; the refused one is not.
    const QString sent = QStringLiteral("Письмо на адрес client@tarifon.test отправлено");
    EXPECT_EQ(dialogs,
              (QStringList{QStringLiteral("mail"), QStringLiteral("pdf"), sent, QStringLiteral("mail"),
                           QStringLiteral("pdf"), sent, QStringLiteral("mail"), QStringLiteral("pdf")}));
    EXPECT_EQ(names, (QStringList{QStringLiteral("OSAGO.pdf"), QStringLiteral("Расчет стоимости ОСАГО.pdf"),
                                  QStringLiteral("Расчет стоимости ОСАГО.pdf")}));
    for (const QString& file : files)
        EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
    ASSERT_EQ(peer.Messages().size(), 2);
    EXPECT_TRUE(peer.Messages()[0].contains("Content-Type: application/pdf"));
    ASSERT_EQ(shownErrors.size(), 1);
    EXPECT_TRUE(shownErrors[0].startsWith(QStringLiteral("Сервер отклонил команду RCPT TO: 550")))
        << shownErrors[0].toStdString();
}
