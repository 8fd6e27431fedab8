// The e-mail export's dialog and its settings store, and the window while a message goes.
#include "MailServers.h"
#include "export/mail/MailExport.h"
#include "export/mail/MailExportDialog.h"
#include "export/pdf/PdfExport.h"
#include "preview/ProgressWindow.h"
#include "report/Report.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace exports;

namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList BoldLabels(const TrpMailExportDialog& d) {
    QStringList bold;
    for (const QLabel* label : d.findChildren<QLabel*>())
        if (label->font().bold())
            bold << label->objectName();
    bold.sort();
    return bold;
}

struct MailDialog : ::testing::Test {
    QTemporaryDir dir;
    report::TrpReport report;
    TrpPDFExport pdf;
    TrpMailExport mail;
    void SetUp() override {
        report.IniFile = dir.filePath(QStringLiteral("settings.ini"));
        mail.SetReport(&report);
    }
};

} // namespace

TEST_F(MailDialog, RequiredFieldsTurnBoldAndTheAccountIsKeptOwnerOnly) {
    {
        TrpMailExportDialog d(mail);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Отослать по E-mail"));
        // Every registered filter but the e-mail ones, then the prepared-report file.
        EXPECT_EQ(Items(d.ExportsCombo),
                  (QStringList{QStringLiteral("Документ PDF"), QStringLiteral("Tarifon файл")}));
        EXPECT_EQ(d.ExportsCombo->currentIndex(), 0) << "the first format until one is chosen";
        EXPECT_TRUE(d.SettingCB->isChecked());
        EXPECT_EQ(d.PortE->text(), QStringLiteral("25"));
        EXPECT_EQ(d.PasswordE->echoMode(), QLineEdit::Password);

        const struct {
            std::function<void()> Fill;
            QStringList Bold;
            QWidget* Tab;
        } steps[] = {
            {[] {},
             {QStringLiteral("AddressLB"), QStringLiteral("FromAddrLB"), QStringLiteral("HostLB"),
              QStringLiteral("SubjectLB")},
             d.ExportSheet},
            {[&] {
                 d.AddressE->setEditText(QStringLiteral("client@tarifon.test"));
                 d.SubjectE->setEditText(QStringLiteral("Расчет 1/2"));
                 d.PortE->clear();
             },
             {QStringLiteral("FromAddrLB"), QStringLiteral("HostLB"), QStringLiteral("PortLB")},
             d.AccountSheet},
        };
        for (const auto& step : steps) {
            step.Fill();
            d.OkB->click();
            EXPECT_EQ(d.result(), QDialog::Rejected) << "the dialog stays open";
            EXPECT_EQ(BoldLabels(d), step.Bold);
            EXPECT_FALSE(d.ReqLB->isHidden());
            EXPECT_EQ(d.Tabs->currentWidget(), step.Tab);
        }
        d.FromNameE->setText(QStringLiteral("Агент Иванов"));
        d.FromAddrE->setText(QStringLiteral("agent@tarifon.test"));
        d.SignBuildBtn->click();
        EXPECT_EQ(d.SignatureM->toPlainText(),
                  QStringLiteral("--\nС уважением,\n  Агент Иванов\n  mailto: agent@tarifon.test"));
        d.HostE->setText(QStringLiteral("smtp.tarifon.test"));
        d.PortE->setText(QStringLiteral("587"));
        d.SecurityCombo->setCurrentIndex(int(TrpSmtpSecurity::StartTLS));
        d.LoginE->setText(QStringLiteral("agent"));
        d.PasswordE->setText(QStringLiteral("Пароль-123"));
        d.ExportsCombo->setCurrentIndex(0);
        d.OkB->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_TRUE(d.ReqLB->isHidden());
    }
    EXPECT_EQ(mail.Address(), QStringLiteral("client@tarifon.test"));
    EXPECT_EQ(mail.SmtpPort(), 587);
    EXPECT_EQ(mail.Security(), TrpSmtpSecurity::StartTLS);
    EXPECT_EQ(mail.AttachmentFilter(), &pdf);

    // Readable by its owner only; login and password in Base64, never in plain text.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(report.IniFile).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    QFile ini(report.IniFile);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray stored = ini.readAll();
    EXPECT_FALSE(stored.contains(QStringLiteral("Пароль-123").toUtf8()));
    QSettings settings(report.IniFile, QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("EmailExport.Properties/Password")).toString(),
              QString::fromLatin1(QStringLiteral("Пароль-123").toUtf8().toBase64()));
    EXPECT_EQ(settings.value(QStringLiteral("EmailExport.Properties/Login")).toString(),
              QStringLiteral("YWdlbnQ="));
    EXPECT_EQ(settings.value(QStringLiteral("EmailExport.Properties/SmtpPort")).toString(),
              QStringLiteral("587"));

    // The next time: the recent lists and the stored account; without "remember" the account
    // stays as stored, the recent lists grow all the same.
    {
        TrpMailExportDialog d(mail);
        EXPECT_TRUE(Items(d.AddressE).contains(QStringLiteral("client@tarifon.test")));
        EXPECT_TRUE(Items(d.SubjectE).contains(QStringLiteral("Расчет 1/2")));
        EXPECT_EQ(d.HostE->text(), QStringLiteral("smtp.tarifon.test"));
        EXPECT_EQ(d.PasswordE->text(), QStringLiteral("Пароль-123"));
        EXPECT_EQ(d.SecurityCombo->currentIndex(), int(TrpSmtpSecurity::StartTLS));
        EXPECT_EQ(d.ExportsCombo->currentIndex(), 0);
        d.RememberCB->setChecked(false);
        d.HostE->setText(QStringLiteral("other.tarifon.test"));
        d.AddressE->setEditText(QStringLiteral("second@tarifon.test"));
        d.OkB->click();
    }
    {
        TrpMailExportDialog d(mail);
        EXPECT_EQ(d.HostE->text(), QStringLiteral("smtp.tarifon.test"));
        EXPECT_EQ(Items(d.AddressE), (QStringList{QStringLiteral("client@tarifon.test"),
                                                  QStringLiteral("second@tarifon.test")}));
    }
    // Never remembered: the next dialog shows the filter's own account, not an empty one.
    report.IniFile = dir.filePath(QStringLiteral("fresh.ini"));
    {
        TrpMailExportDialog d(mail);
        d.RememberCB->setChecked(false);
        d.OkB->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_EQ(TrpMailExportDialog(mail).HostE->text(), QStringLiteral("other.tarifon.test"));
    // Without the store: no "remember" box; a subordinate e-mail export has no attachment.
    mail.SetUseIniFile(false);
    TrpMailExport subordinate(true);
    TrpMailExportDialog plain(mail), inner(subordinate);
    EXPECT_TRUE(plain.RememberCB->isHidden());
    EXPECT_TRUE(inner.AttachGroup->isHidden());
    EXPECT_FALSE(plain.AttachGroup->isHidden());
}

// A password about to cross the network unencrypted is sent only when the user says so.
TEST_F(MailDialog, ALoginWithoutEncryptionAsksFirst) {
    mail.SetUseIniFile(false);
    mail.SetAddress(QStringLiteral("client@tarifon.test"));
    mail.SetSubject(QStringLiteral("Расчет"));
    mail.SetFromMail(QStringLiteral("agent@tarifon.test"));
    mail.SetSmtpHost(QStringLiteral("smtp.tarifon.test"));
    mail.SetLogin(QStringLiteral("agent"));
    mail.SetPassword(QStringLiteral("Пароль-123"));
    TrpMailExportDialog d(mail);
    QStringList asked;
    QMessageBox::StandardButton answer = QMessageBox::No;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked << box->text();
            box->button(answer)->click();
        }
    });
    answerer.start(20);
    const struct {
        TrpSmtpSecurity Security;
        QMessageBox::StandardButton Answer;
        bool Asks;
        int Result;
    } steps[] = {
        {TrpSmtpSecurity::None, QMessageBox::No, true, QDialog::Rejected},
        {TrpSmtpSecurity::None, QMessageBox::Yes, true, QDialog::Accepted},
        {TrpSmtpSecurity::StartTLS, QMessageBox::No, false, QDialog::Accepted},
    };
    for (const auto& step : steps) {
        asked.clear();
        answer = step.Answer;
        d.setResult(QDialog::Rejected);
        d.Tabs->setCurrentWidget(d.ExportSheet);
        d.SecurityCombo->setCurrentIndex(int(step.Security));
        d.OkB->click();
        EXPECT_EQ(d.result(), step.Result);
        ASSERT_EQ(asked.size(), step.Asks ? 1 : 0);
        if (step.Asks) {
            EXPECT_TRUE(asked[0].contains(QStringLiteral("smtp.tarifon.test"))) << asked[0].toStdString();
        }
        if (step.Result == QDialog::Rejected) {
            EXPECT_EQ(d.Tabs->currentWidget(), d.AccountSheet) << "the choice of encryption is shown";
        } else {
            EXPECT_EQ(mail.Security(), step.Security);
        }
    }
}

// While the message goes the progress window keeps repainting and its Cancel ends the exchange.
TEST(MailProgress, TheWindowStaysAliveAndCancelStopsTheSending) {
    preview::InstallProgressWindow();
    mailtest::SmtpPeer silent({QStringLiteral("silent")});
    TrpSMTPClient client;
    client.SetHost(QStringLiteral("127.0.0.1"));
    client.SetPort(silent.Port());
    client.SetMailFrom(QStringLiteral("agent@tarifon.test"));
    client.SetMailTo(QStringLiteral("client@tarifon.test"));
    client.SetShowProgress(true);
    int paints = 0, timerTicks = 0;
    QString message;
    struct PaintCounter : QObject {
        int* Count;
        bool eventFilter(QObject*, QEvent* e) override {
            *Count += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    counter.Count = &paints;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++timerTicks;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = dynamic_cast<preview::TrpProgressWindow*>(w); window && window->isVisible()) {
                message = window->Label->text();
                window->Bar->installEventFilter(&counter);
                if (timerTicks == 30)
                    window->Cancel->click();
            }
    });
    ticker.start(50);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(client.SendMessage());
    EXPECT_LT(clock.elapsed(), 2200) << "Cancel did not end the exchange at once";
    EXPECT_TRUE(client.Cancelled());
    EXPECT_TRUE(client.Errors().isEmpty()) << client.Errors().join('\n').toStdString();
    EXPECT_EQ(message, QStringLiteral("Отправка письма на client@tarifon.test"));
    EXPECT_GE(timerTicks, 25);
    EXPECT_GE(paints, 3) << "the progress bar was not repainted";
}
