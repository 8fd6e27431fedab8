#include "ui/OSAGO_Calc.h"

#include <algorithm>

#include <QComboBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>

#include "htmlctl/HTMLRadioGroup.h"
#include "platform/ImageList.h"
#include "platform/RegionalSettings.h"
#include "platform/UserManual.h"
#include "sheet/SheetTemplate.h"
#include "ui/Accessible.h"
#include "ui/Controls.h"
#include "ui/OSAGO_CalcClass.h"
#include "ui/Pictures.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"
#include "wizard/RouteMapNodes.h"

using namespace wizard;
using calc::PageId;

const QString TfmOSAGO_Calc::WindowCaption = QStringLiteral("Квиралт:  -= Тарифон 2.0 =-");
const QString TfmOSAGO_Calc::ApplicationTitle = QStringLiteral("-= Тарифон 2.0 =-");

namespace {

calc::Separators SystemSeparators() {
    const platform::RegionalSettings s = platform::RegionalSettings::System();
    return {s.DecimalSeparator, s.ThousandSeparator};
}

struct PageSpec {
    const char* Title;
    const char* Subtitle;
    int ImageIndex;
};

// Header texts and pictures, in wizard order.
const PageSpec kPageSpecs[calc::PageCount] = {
    {"Приветствие", "Вас приветствуем Мастер \"Калькулятор ОСАГО\"", 0},
    {"Собственник", "Собственник транспортного средства и место регистрации", 11},
    {"ТБ - Тип АМТС", "Выберите тип транспортного средства", 1},
    {"КТ - Место жительства", "Место жительства (нахождения) собственника транспортного средства", 2},
    {"КБМ - Класс страхователя", "Класс страхователя, в зависимости от частоты страховых случаев", 3},
    {"КО - Доверенные лица", "Лица, допущенные к управлению транспортным средством", 4},
    {"КВС - Водители", "Возраст и стаж водителей, допущенных к управлению", 5},
    {"КМ - Мощность", "Мощность двигателя (лошадиных сил)", 6},
    {"КС - Период", "Период использования транспортного средства", 7},
    {"КП - Срок", "Срок страхования транспортного средства", 8},
    {"КН - Дополнительно", "Наличие грубых нарушений условий страхования", 9},
    {"Расчет", "Расчет результата стоимости страхового полиса", 10},
};

// Two glyphs side by side: the normal and the disabled picture.
QImage GlyphPair(const QString& normal, const QString& disabled) {
    QImage pair(32, 16, QImage::Format_ARGB32_Premultiplied);
    pair.fill(Qt::transparent);
    QPainter p(&pair);
    p.drawPixmap(0, 0, ui::Picture(normal, 16));
    p.drawPixmap(16, 0, ui::Picture(disabled, 16));
    return pair;
}

} // namespace

// An ordinary top-level window, so the desktop gives it a task bar entry, framed like a dialog:
// fixed size, no minimise or maximise box.
TfmOSAGO_Calc::TfmOSAGO_Calc(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      FCalc(SystemSeparators()) {
    ui::InstallAccessibility();
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(WindowCaption);
    // Task bars label their entry with the window's icon name.
    setWindowIconText(ApplicationTitle);
    setFixedSize(664, 568);
    setFont(ui::PixelFont(11));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(clWindow));
    setPalette(pal);

    OpenUrl = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &TfmOSAGO_Calc::ShowHelp);

    BuildWizard();
    BuildWelcomePage();
    BuildHolderPage();
    BuildOptionPages();
    BuildClassPage();
    BuildAgePage();
    BuildResultPage();
    BuildNotes();

    FPages[int(PageId::pTime)]->SetEnabled(false); // the form's stored state matches the default answers
    FWizard->Loaded();
    DescribeOptions();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfmOSAGO_Calc::~TfmOSAGO_Calc() = default;

void TfmOSAGO_Calc::BuildWizard() {
    FImageList32 = std::make_unique<platform::TImageList>(32, 32);
    for (int i = 0; i < calc::PageCount; ++i)
        FImageList32->Add(ui::PagePicture(i).toImage());

    FWizard = new TKWizard(this);
    FWizard->setGeometry(0, 0, 664, 568);
    FWizard->BeginLoading();
    FWizard->SetHeaderImages(FImageList32.get());

    struct ButtonSpec {
        TKWizardNavigateButton* Button;
        const char* Caption;
        int Width;
        QImage Glyph;
        int NumGlyphs;
        TButtonLayout Layout;
        const char* SpokenName; // for the buttons that keep their English captions hidden
    };
    const ButtonSpec buttons[] = {
        {FWizard->ButtonStart(), "&В начало", 85, ui::Picture("start", 16).toImage(), 1, blGlyphLeft, ""},
        {FWizard->ButtonLast(), "To &Last Page", 85, {}, 1, blGlyphLeft, "В конец"},
        {FWizard->ButtonBack(), "&Назад", 90, GlyphPair("back", "back-disabled"), 2, blGlyphLeft, ""},
        {FWizard->ButtonNext(), "&Далее", 90, GlyphPair("next", "next-disabled"), 2, blGlyphRight, ""},
        {FWizard->ButtonFinish(), "&Finish", 75, {}, 1, blGlyphLeft, "Готово"},
        {FWizard->ButtonCancel(), "&Закрыть", 90, ui::Picture("close", 16).toImage(), 1, blGlyphLeft, ""},
        {FWizard->ButtonHelp(), "&Help", 75, {}, 1, blGlyphLeft, "Справка"},
    };
    for (const ButtonSpec& b : buttons) {
        b.Button->SetCaption(QString::fromUtf8(b.Caption));
        b.Button->Control()->setAccessibleName(QString::fromUtf8(b.SpokenName));
        b.Button->SetWidth(b.Width);
        if (!b.Glyph.isNull()) {
            b.Button->SetGlyph(b.Glyph);
            b.Button->SetNumGlyphs(b.NumGlyphs);
            b.Button->SetLayout(b.Layout);
        }
        b.Button->SetModalResult(0);
    }
    FWizard->ButtonCancel()->SetModalResult(2);
    FWizard->OnCancelButtonClick = [this](QObject*) { KWizardCancelButtonClick(); };

    for (int i = 0; i < calc::PageCount; ++i) {
        auto* page = new TKWizardInteriorPage(FWizard);
        page->setObjectName(QString::fromUtf8(calc::PageNames[i].data(), calc::PageNames[i].size()));
        page->SetColor(clWindow);
        page->SetCaption(QString::fromUtf8(kPageSpecs[i].Title));
        TKWizardPageHeader* header = page->Header();
        header->SetHeight(45);
        header->SetImageIndex(kPageSpecs[i].ImageIndex);
        header->SetImageOffset(10);
        header->SetImageAlignment(iaLeft);
        header->SetShowDivider(true);
        header->Title()->SetText(QString::fromUtf8(kPageSpecs[i].Title));
        header->Title()->SetFontPixelSize(13);
        header->Title()->SetAlignment(taRightJustify);
        header->Subtitle()->SetText(QString::fromUtf8(kPageSpecs[i].Subtitle));
        header->Subtitle()->SetFontPixelSize(11);
        header->Subtitle()->SetAlignment(taRightJustify);
        FPages[i] = page;
    }
    FPages[int(PageId::pWelcome)]->SetEnabledButtons(TKWizardButtonSet::All().Without(bkBack));
    FPages[int(PageId::pResult)]->SetEnabledButtons(TKWizardButtonSet::All().Without(bkNext));
    FPages[int(PageId::pResult)]->SetVisibleButtons({bkStart, bkBack, bkNext, bkCancel});
    FPages[int(PageId::pResult)]->OnEnterPage = [this](TKWizardCustomPage*, TKWizardCustomPage*) {
        pResultEnterPage();
    };

    FRouteMap = new TKWizardRouteMapNodes(FWizard);
    FRouteMap->resize(220, FRouteMap->height());
    FRouteMap->SetItemHeight(30);
    FRouteMap->SetColor(clBackground);
    FRouteMap->SetFontColor(clWhite);
    FRouteMap->setFont(ui::PixelFont(11));
    FRouteMap->SetIndent(8);
    FRouteMap->SetUsePageTitle(true);
    TWizardRouteMapNodeColors* colors = FRouteMap->NodeColors();
    colors->SetSelected(clLime);
    colors->SetUnselected(clWhite);
    colors->SetLine(clBtnShadow);
    colors->SetDisabled(clBtnFace);
}

void TfmOSAGO_Calc::Answer(const std::function<void()>& handler) {
    handler();
    MirrorState();
}

void TfmOSAGO_Calc::MirrorState() {
    for (int i = 0; i < calc::PageCount; ++i)
        FPages[i]->SetEnabled(FCalc.PageEnabled(PageId(i)));

    const auto q = [](const std::string& s) { return QString::fromStdString(s); };
    FInfoLabels[int(PageId::pType)][calc::rbTypeCar]->setText(q(FCalc.CarLabel()));
    const auto& territory = FInfoLabels[int(PageId::pHome)];
    for (int row = 0; row < calc::TerritoryRows; ++row) {
        territory[row]->setText(q(FCalc.TerritoryLabel(row)));
        territory[row]->adjustSize();
    }
    for (int k = 0; k < calc::MaxDrivers; ++k) {
        FcbAge[k]->setEnabled(FCalc.Driver(k).Enabled);
        FlblAge[k]->setText(q(FCalc.Driver(k).Label));
        FlblAge[k]->adjustSize();
    }
    DescribeOptions();
}

void TfmOSAGO_Calc::DescribeOptions() {
    // A screen reader reads an option with the value it stands for, as the grey label shows it.
    for (int page = 0; page < calc::PageCount; ++page)
        for (size_t i = 0; i < FOptions[page].size(); ++i)
            FOptions[page][i]->setAccessibleDescription(FInfoLabels[page][i]->text());
    for (int k = 0; k < calc::MaxDrivers; ++k)
        FcbAge[k]->setAccessibleDescription(FlblAge[k]->text());
}

void TfmOSAGO_Calc::rgFizClick() {
    // Bound to both groups: whichever changed, the calculator takes both item indexes.
    Answer([this] {
        if (FrgFiz->ItemIndex() >= 0)
            FCalc.SelectOwner(FrgFiz->ItemIndex());
        if (FrgPlace->ItemIndex() >= 0)
            FCalc.SelectPlace(FrgPlace->ItemIndex());
    });
}

void TfmOSAGO_Calc::pResultEnterPage() {
    const calc::ResultTexts& r = FCalc.pResultEnterPage();
    FlblFormula->setText(QString::fromStdString(r.Formula));
    FLabel92->setText(QString::fromStdString(r.Label92));
    FLabel92->adjustSize();
    for (int code = 0; code < calc::TariffCodeCount; ++code) {
        FlblResultValues[code]->setText(QString::fromStdString(r.Values[code]));
        FlblResultValues[code]->setVisible(r.Visible[code]);
    }
    FlblResult->setText(QString::fromStdString(r.Premium));
}

void TfmOSAGO_Calc::BtnClassClick() {
    TfmOSAGO_CalcClass window(this);
    window.exec();
}

void TfmOSAGO_Calc::KWizardCancelButtonClick() {
    close();
}

void TfmOSAGO_Calc::lblWWWClick() {
    OpenUrl(sheet::kWebLink);
}

void TfmOSAGO_Calc::ShowHelp() {
    const auto shown = std::find(FPages.begin(), FPages.end(), FWizard->ActivePage());
    const std::string_view name =
        shown == FPages.end() ? std::string_view("index") : calc::PageNames[shown - FPages.begin()];
    if (const QString message =
            platform::OpenManual(QString::fromLatin1(name.data(), qsizetype(name.size())));
        !message.isEmpty())
        QMessageBox::information(this, WindowCaption, message);
}

void TfmOSAGO_Calc::lblEMailClick() {
    OpenUrl(QStringLiteral("mailto:") + sheet::kSupportAddress);
}

QToolButton* TfmOSAGO_Calc::NoteButton(PageId id) const {
    return FNoteButtons[int(id)];
}
