#pragma once
// The e-mail export's dialog: the message and the attachment format on one tab, the sender and
// the server account on the other. Required fields left empty turn their labels bold.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace exports {

class TrpMailExport;

class TrpMailExportDialog : public QDialog {
public:
    explicit TrpMailExportDialog(TrpMailExport& filter, QWidget* parent = nullptr);

    // Replaces the signature by the one made of the sender's fields.
    void BuildSignature();

    QTabWidget* Tabs;
    QWidget* ExportSheet;
    QWidget* AccountSheet;
    QGroupBox* MessageGroup;
    QLabel* AddressLB;
    QComboBox* AddressE;
    QLabel* SubjectLB;
    QComboBox* SubjectE;
    QLabel* MessageLB;
    QPlainTextEdit* MessageM;
    QGroupBox* AttachGroup;
    QLabel* FormatLB;
    QComboBox* ExportsCombo;
    QCheckBox* SettingCB;
    QGroupBox* MailGroup;
    QLabel* FromNameLB;
    QLineEdit* FromNameE;
    QLabel* FromAddrLB;
    QLineEdit* FromAddrE;
    QLabel* OrgLB;
    QLineEdit* OrgE;
    QLabel* SignatureLB;
    QPlainTextEdit* SignatureM;
    QPushButton* SignBuildBtn;
    QCheckBox* RememberCB;
    QGroupBox* AccountGroup;
    QLabel* HostLB;
    QLineEdit* HostE;
    QLabel* PortLB;
    QLineEdit* PortE;
    QLabel* LoginLB;
    QLineEdit* LoginE;
    QLabel* PasswordLB;
    QLineEdit* PasswordE;
    QLabel* SecurityLB;
    QComboBox* SecurityCombo;
    QLabel* ReqLB;
    QPushButton* OkB;
    QPushButton* CancelB;

    void accept() override;

private:
    // Marks the empty required fields; true when none is.
    bool CheckRequired();
    // A login without encryption is sent only when the user says so.
    bool PlainLoginAllowed();
    void Store();
    QString IniFile() const;

    TrpMailExport& FFilter;
};

} // namespace exports
