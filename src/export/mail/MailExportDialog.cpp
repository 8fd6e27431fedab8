#include "export/mail/MailExportDialog.h"

#include "export/DialogHelp.h"
#include "export/Mnemonics.h"
#include "export/mail/MailExport.h"
#include "export/mail/MailSettings.h"
#include "export/mail/MailTexts.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

namespace exports {

using report::rpGet;

namespace {

QLabel* Label(int key, QWidget* parent, const char* name) {
    auto* label = new QLabel(rpGet(key), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

template <class W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox* RecentBox(QWidget* parent, const char* name, const QStringList& recent, const QString& text) {
    auto* box = Named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(recent);
    box->setEditText(text);
    return box;
}

void SetBold(QLabel* label, bool bold) {
    QFont f = label->font();
    f.setBold(bold);
    label->setFont(f);
}

} // namespace

TrpMailExportDialog::TrpMailExportDialog(TrpMailExport& filter, QWidget* parent)
    : QDialog(parent), FFilter(filter) {
    InstallDialogHelp(this, QStringLiteral("export-email"));
    AddMailExportTexts();
    setWindowTitle(rpGet(8900));
    const QString ini = IniFile();
    const bool useStore = filter.UseIniFile();
    const std::optional<TrpMailAccount> stored = useStore ? ReadMailAccount(ini) : std::nullopt;
    const QStringList addresses = useStore ? ReadRecent(ini, MailRecentAddresses) : QStringList();
    const QStringList subjects = useStore ? ReadRecent(ini, MailRecentSubjects) : QStringList();

    Tabs = new QTabWidget(this);
    ExportSheet = Named(new QWidget, "ExportSheet");
    AccountSheet = Named(new QWidget, "AccountSheet");
    Tabs->addTab(ExportSheet, rpGet(8901));
    Tabs->addTab(AccountSheet, rpGet(8902));

    // ---- the message and its attachment ----
    MessageGroup = Named(new QGroupBox(rpGet(8912), ExportSheet), "MessageGroup");
    AddressLB = Label(8904, MessageGroup, "AddressLB");
    AddressE = RecentBox(MessageGroup, "AddressE", addresses, filter.Address());
    SubjectLB = Label(8922, MessageGroup, "SubjectLB");
    SubjectE = RecentBox(MessageGroup, "SubjectE", subjects, filter.Subject());
    MessageLB = Label(8913, MessageGroup, "MessageLB");
    MessageM = Named(new QPlainTextEdit(filter.Lines().join(QLatin1Char('\n')), MessageGroup), "MessageM");
    auto* messageForm = new QFormLayout(MessageGroup);
    messageForm->addRow(AddressLB, AddressE);
    messageForm->addRow(SubjectLB, SubjectE);
    messageForm->addRow(MessageLB, MessageM);

    AttachGroup = Named(new QGroupBox(rpGet(8905), ExportSheet), "AttachGroup");
    FormatLB = Label(8906, AttachGroup, "FormatLB");
    ExportsCombo = Named(new QComboBox(AttachGroup), "ExportsCombo");
    for (TrpCustomExportFilter* format : TrpMailExport::AttachmentFormats())
        ExportsCombo->addItem(TrpMailExport::FormatDescription(format),
                              QVariant::fromValue(static_cast<void*>(format)));
    SettingCB = Named(new QCheckBox(rpGet(8919), AttachGroup), "SettingCB");
    SettingCB->setChecked(filter.ShowExportDialog());
    auto* attachLayout = new QFormLayout(AttachGroup);
    attachLayout->addRow(FormatLB, ExportsCombo);
    attachLayout->addRow(SettingCB);
    // A subordinate e-mail export is itself the attachment of something else.
    AttachGroup->setVisible(!filter.Subordinate());
    auto* exportLayout = new QVBoxLayout(ExportSheet);
    exportLayout->addWidget(MessageGroup, 1);
    exportLayout->addWidget(AttachGroup);

    // ---- the sender and the account ----
    MailGroup = Named(new QGroupBox(rpGet(8911), AccountSheet), "MailGroup");
    FromNameLB = Label(8908, MailGroup, "FromNameLB");
    FromNameE = Named(new QLineEdit(MailGroup), "FromNameE");
    FromAddrLB = Label(8907, MailGroup, "FromAddrLB");
    FromAddrE = Named(new QLineEdit(MailGroup), "FromAddrE");
    OrgLB = Label(8914, MailGroup, "OrgLB");
    OrgE = Named(new QLineEdit(MailGroup), "OrgE");
    SignatureLB = Label(8920, MailGroup, "SignatureLB");
    SignatureM = Named(new QPlainTextEdit(MailGroup), "SignatureM");
    SignBuildBtn = Named(new QPushButton(rpGet(8921), MailGroup), "SignBuildBtn");
    connect(SignBuildBtn, &QPushButton::clicked, this, &TrpMailExportDialog::BuildSignature);
    auto* mailForm = new QFormLayout(MailGroup);
    mailForm->addRow(FromNameLB, FromNameE);
    mailForm->addRow(FromAddrLB, FromAddrE);
    mailForm->addRow(OrgLB, OrgE);
    mailForm->addRow(SignatureLB, SignatureM);
    mailForm->addRow(QString(), SignBuildBtn);

    AccountGroup = Named(new QGroupBox(rpGet(8903), AccountSheet), "AccountGroup");
    HostLB = Label(8909, AccountGroup, "HostLB");
    HostE = Named(new QLineEdit(AccountGroup), "HostE");
    PortLB = Label(8916, AccountGroup, "PortLB");
    PortE = Named(new QLineEdit(AccountGroup), "PortE");
    PortE->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), PortE));
    SecurityLB = new QLabel(rpGet(QStringLiteral("mlSecurity")), AccountGroup);
    SecurityCombo = Named(new QComboBox(AccountGroup), "SecurityCombo");
    SecurityCombo->addItems({rpGet(QStringLiteral("mlSecurityNone")),
                             rpGet(QStringLiteral("mlSecurityStartTLS")),
                             rpGet(QStringLiteral("mlSecurityImplicit"))});
    LoginLB = Label(8910, AccountGroup, "LoginLB");
    LoginE = Named(new QLineEdit(AccountGroup), "LoginE");
    PasswordLB = Label(8915, AccountGroup, "PasswordLB");
    PasswordE = Named(new QLineEdit(AccountGroup), "PasswordE");
    PasswordE->setEchoMode(QLineEdit::Password);
    auto* accountForm = new QFormLayout(AccountGroup);
    accountForm->addRow(HostLB, HostE);
    accountForm->addRow(PortLB, PortE);
    accountForm->addRow(SecurityLB, SecurityCombo);
    accountForm->addRow(LoginLB, LoginE);
    accountForm->addRow(PasswordLB, PasswordE);
    auto* accountLayout = new QVBoxLayout(AccountSheet);
    accountLayout->addWidget(MailGroup, 1);
    accountLayout->addWidget(AccountGroup);

    RememberCB = Named(new QCheckBox(rpGet(8917), this), "RememberCB");
    RememberCB->setChecked(true);
    RememberCB->setVisible(useStore);
    ReqLB = Label(8918, this, "ReqLB");
    ReqLB->setStyleSheet(QStringLiteral("color: red"));
    ReqLB->hide();
    OkB = Named(new QPushButton(rpGet(1), this), "OkB");
    OkB->setDefault(true);
    CancelB = Named(new QPushButton(rpGet(2), this), "CancelB");
    connect(OkB, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(RememberCB);
    buttons->addStretch(1);
    buttons->addWidget(OkB);
    buttons->addWidget(CancelB);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabs, 1);
    layout->addWidget(ReqLB);
    layout->addLayout(buttons);

    // The account from the store when it has one, else from the filter.
    TrpMailAccount account;
    int format = -1;
    if (stored) {
        account = *stored;
        format = account.LastUsedExport < ExportsCombo->count() ? account.LastUsedExport : 0;
    } else {
        account.FromName = filter.FromName();
        account.FromAddress = filter.FromMail();
        account.Organization = filter.FromCompany();
        account.Signature = filter.Signature();
        account.SmtpHost = filter.SmtpHost();
        account.SmtpPort = QString::number(filter.SmtpPort());
        account.Login = filter.Login();
        account.Password = filter.Password();
        account.Security = filter.Security();
        format = filter.AttachmentChosen() ? std::max(0, ExportsCombo->findData(QVariant::fromValue(
                                                             static_cast<void*>(filter.AttachmentFilter()))))
                                           : 0;
    }
    FromNameE->setText(account.FromName);
    FromAddrE->setText(account.FromAddress);
    OrgE->setText(account.Organization);
    SignatureM->setPlainText(account.Signature.join(QLatin1Char('\n')));
    HostE->setText(account.SmtpHost);
    PortE->setText(account.SmtpPort);
    LoginE->setText(account.Login);
    PasswordE->setText(account.Password);
    SecurityCombo->setCurrentIndex(int(account.Security));
    ExportsCombo->setCurrentIndex(format);
    AssignMnemonics(this);
    resize(420, 460);
}

QString TrpMailExportDialog::IniFile() const {
    return FFilter.Report() ? FFilter.Report()->IniFile : QStringLiteral("\\Software\\Tarifon");
}

void TrpMailExportDialog::BuildSignature() {
    QStringList lines{QStringLiteral("--"), rpGet(QStringLiteral("mlRegards")) + QLatin1Char(',')};
    if (!FromNameE->text().isEmpty())
        lines << QStringLiteral("  ") + FromNameE->text();
    if (!FromAddrE->text().isEmpty())
        lines << QStringLiteral("  mailto: ") + FromAddrE->text();
    if (!OrgE->text().isEmpty())
        lines << QStringLiteral("  ") + OrgE->text();
    SignatureM->setPlainText(lines.join(QLatin1Char('\n')));
}

bool TrpMailExportDialog::CheckRequired() {
    for (QLabel* label : findChildren<QLabel*>())
        SetBold(label, false);
    const bool portOk = PortE->text().toInt() >= 1 && PortE->text().toInt() <= 65535;
    const std::tuple<QLabel*, bool, QWidget*> required[] = {
        {AddressLB, !AddressE->currentText().trimmed().isEmpty(), ExportSheet},
        {SubjectLB, !SubjectE->currentText().trimmed().isEmpty(), ExportSheet},
        {FromAddrLB, !FromAddrE->text().trimmed().isEmpty(), AccountSheet},
        {HostLB, !HostE->text().trimmed().isEmpty(), AccountSheet},
        {PortLB, portOk, AccountSheet},
    };
    QWidget* firstMissing = nullptr;
    for (const auto& [label, filled, sheet] : required)
        if (!filled) {
            SetBold(label, true);
            if (!firstMissing)
                firstMissing = sheet;
        }
    ReqLB->setVisible(firstMissing != nullptr);
    if (firstMissing)
        Tabs->setCurrentWidget(firstMissing);
    return firstMissing == nullptr;
}

bool TrpMailExportDialog::PlainLoginAllowed() {
    if (LoginE->text().isEmpty() || SecurityCombo->currentIndex() != int(TrpSmtpSecurity::None))
        return true;
    QMessageBox ask(QMessageBox::Warning, rpGet(8900),
                    rpGet(QStringLiteral("mlPlainLogin")).arg(HostE->text().trimmed()),
                    QMessageBox::Yes | QMessageBox::No, this);
    ask.setInformativeText(rpGet(QStringLiteral("mlPlainLoginAsk")));
    ask.setDefaultButton(QMessageBox::No);
    if (ask.exec() == QMessageBox::Yes)
        return true;
    Tabs->setCurrentWidget(AccountSheet);
    SecurityCombo->setFocus();
    return false;
}

void TrpMailExportDialog::accept() {
    if (!CheckRequired() || !PlainLoginAllowed())
        return;
    Store();
    QDialog::accept();
}

void TrpMailExportDialog::Store() {
    TrpMailExport& f = FFilter;
    f.SetAddress(AddressE->currentText().trimmed());
    f.SetSubject(SubjectE->currentText());
    f.SetLines(MessageM->toPlainText().split(QLatin1Char('\n')));
    f.SetFromName(FromNameE->text());
    f.SetFromMail(FromAddrE->text().trimmed());
    f.SetFromCompany(OrgE->text());
    f.SetSignature(SignatureM->toPlainText().isEmpty() ? QStringList()
                                                       : SignatureM->toPlainText().split(QLatin1Char('\n')));
    f.SetSmtpHost(HostE->text().trimmed());
    f.SetSmtpPort(PortE->text().toInt());
    f.SetLogin(LoginE->text());
    f.SetPassword(PasswordE->text());
    f.SetSecurity(TrpSmtpSecurity(SecurityCombo->currentIndex()));
    f.SetShowExportDialog(SettingCB->isChecked());
    f.SetAttachmentFilter(static_cast<TrpCustomExportFilter*>(ExportsCombo->currentData().value<void*>()));
    if (!f.UseIniFile())
        return;
    TrpMailAccount account;
    account.FromName = f.FromName();
    account.FromAddress = f.FromMail();
    account.Organization = f.FromCompany();
    account.Signature = f.Signature();
    account.SmtpHost = f.SmtpHost();
    account.SmtpPort = PortE->text();
    account.Login = f.Login();
    account.Password = f.Password();
    account.Security = f.Security();
    account.LastUsedExport = ExportsCombo->currentIndex();
    const QString ini = IniFile();
    QString error = WriteMailAccount(ini, account, RememberCB->isChecked());
    if (error.isEmpty())
        error = AddRecent(ini, MailRecentAddresses, f.Address());
    if (error.isEmpty())
        error = AddRecent(ini, MailRecentSubjects, f.Subject());
    // The message can go all the same; the user learns why the settings will be missing.
    if (!error.isEmpty())
        QMessageBox::warning(this, rpGet(QStringLiteral("mbError")),
                             rpGet(QStringLiteral("mlCannotSaveSettings")).arg(ini, error));
}

} // namespace exports
