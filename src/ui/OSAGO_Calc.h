#pragma once
// The calculator window: a wizard of twelve pages with a route map. It owns the calculation
// state and only mirrors it: every click goes through the calculator's handler, then the
// window shows the new state (enabled pages, label texts, the result).

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "calc/Calculator.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace platform {
class TImageList;
}

namespace wizard {
class TKWizard;
class TKWizardInteriorPage;
class TKWizardRouteMapNodes;
} // namespace wizard
namespace htmlctl {
class THTMLRadioGroup;
}

namespace ui {
class LinkLabel;
}

class TfmOSAGO_Calc : public QWidget {
public:
    explicit TfmOSAGO_Calc(QWidget* parent = nullptr);
    ~TfmOSAGO_Calc() override;

    static const QString WindowCaption;
    // The text of the program's task bar entry.
    static const QString ApplicationTitle;

    const calc::Calculator& Calculator() const { return FCalc; }
    wizard::TKWizard* KWizard() const { return FWizard; }
    wizard::TKWizardRouteMapNodes* RouteMap() const { return FRouteMap; }
    wizard::TKWizardInteriorPage* Page(calc::PageId id) const { return FPages[int(id)]; }

    // The controls, for tests and for the print and export commands.
    htmlctl::THTMLRadioGroup* rgFiz() const { return FrgFiz; }
    htmlctl::THTMLRadioGroup* rgPlace() const { return FrgPlace; }
    // The options of an answer page in their order (pType, pHome, pClass, pPeople, pPower,
    // pPeriod, pTime, pDop); the information label under each.
    const std::vector<QRadioButton*>& Options(calc::PageId id) const { return FOptions[int(id)]; }
    const std::vector<QLabel*>& InfoLabels(calc::PageId id) const { return FInfoLabels[int(id)]; }
    QRadioButton* rbAge(int index) const { return FrbAge[index]; }
    QComboBox* cbAge(int index) const { return FcbAge[index]; }
    QLabel* lblAge(int index) const { return FlblAge[index]; }
    QLabel* lblResultValue(int code) const { return FlblResultValues[code]; }
    QLabel* lblFormula() const { return FlblFormula; }
    QLabel* Label92() const { return FLabel92; }
    QLabel* lblResult() const { return FlblResult; }
    QPushButton* BtnClass() const { return FBtnClass; }
    QPushButton* BtnPrint() const { return FBtnPrint; }
    QPushButton* BtnExport() const { return FBtnExport; }
    QToolButton* NoteButton(calc::PageId id) const;
    ui::LinkLabel* lblWWW() const { return FlblWWW; }
    ui::LinkLabel* lblEMail() const { return FlblEMail; }

    // Opens an address with the desktop's default program; replaceable in tests.
    std::function<void(const QString& url)> OpenUrl;
    // Print and export of the result page; set by the report side when it is present.
    std::function<void()> OnPrint;
    std::function<void(QPushButton* button)> OnExport;

    // The handlers of the form.
    void rgFizClick();
    void pResultEnterPage();
    void BtnClassClick();
    void KWizardCancelButtonClick();
    void lblWWWClick();
    void lblEMailClick();
    // F1: the manual's page of the wizard page shown.
    void ShowHelp();

private:
    void BuildWizard();
    void BuildWelcomePage();
    void BuildHolderPage();
    void BuildOptionPages();
    void BuildClassPage();
    void BuildAgePage();
    void BuildResultPage();
    void BuildNotes();
    // After every answer: page enabling and the dynamic label texts.
    void MirrorState();
    void DescribeOptions();
    // Runs a calculator handler for the option that just became checked.
    void Answer(const std::function<void()>& handler);

    calc::Calculator FCalc;
    std::unique_ptr<platform::TImageList> FImageList32;
    wizard::TKWizard* FWizard = nullptr;
    wizard::TKWizardRouteMapNodes* FRouteMap = nullptr;
    std::array<wizard::TKWizardInteriorPage*, calc::PageCount> FPages{};
    htmlctl::THTMLRadioGroup* FrgFiz = nullptr;
    htmlctl::THTMLRadioGroup* FrgPlace = nullptr;
    std::array<std::vector<QRadioButton*>, calc::PageCount> FOptions;
    std::array<std::vector<QLabel*>, calc::PageCount> FInfoLabels;
    std::array<QToolButton*, calc::PageCount> FNoteButtons{};
    std::array<QRadioButton*, calc::MaxDrivers> FrbAge{};
    std::array<QComboBox*, calc::MaxDrivers> FcbAge{};
    std::array<QLabel*, calc::MaxDrivers> FlblAge{};
    std::array<QLabel*, calc::TariffCodeCount> FlblResultValues{};
    QLabel* FlblFormula = nullptr;
    QLabel* FLabel92 = nullptr;
    QLabel* FlblResult = nullptr;
    QPushButton* FBtnClass = nullptr;
    QPushButton* FBtnPrint = nullptr;
    QPushButton* FBtnExport = nullptr;
    ui::LinkLabel* FlblWWW = nullptr;
    ui::LinkLabel* FlblEMail = nullptr;
};
