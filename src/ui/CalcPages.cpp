// The controls of the calculator's pages, placed at their pixel positions.
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "htmlctl/HTMLRadioGroup.h"
#include "sheet/SheetTemplate.h"
#include "ui/Controls.h"
#include "ui/OSAGO_Calc.h"
#include "ui/PageTexts.h"
#include "ui/Pictures.h"
#include "wizard/KWizardPage.h"

using calc::PageId;

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// An answer page made of one column of options, each with its information label below.
struct OptionColumn {
    PageId Page;
    std::vector<int> OptionTops;
    std::vector<int> LabelTops;
    void (calc::Calculator::*Handler)(int);
};

template <size_t N>
std::vector<std::pair<QString, QString>> CaptionsAndLabels(const std::array<calc::TariffOption, N>& options) {
    std::vector<std::pair<QString, QString>> out;
    out.reserve(N);
    for (const calc::TariffOption& o : options)
        out.emplace_back(Q(o.Caption), Q(o.Label));
    return out;
}

// Lines of a city box; each line ends where the list breaks it.
void FillCities(QPlainTextEdit* memo, const QStringList& lines) {
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setPlainText(lines.join('\n'));
}

} // namespace

void TfmOSAGO_Calc::BuildHolderPage() {
    QWidget* page = Page(PageId::pHolder);
    auto group = [&](const QRect& rect, std::string_view caption, const QStringList& items) {
        auto* g = new htmlctl::THTMLRadioGroup(page);
        g->BeginReading();
        g->setGeometry(rect);
        g->SetCaption(Q(caption));
        g->SetButtonType(htmlctl::btWinXP);
        g->SetEllipsis(false);
        g->SetItems(items);
        g->SetItemIndex(0);
        g->EndReading();
        g->OnClick = [this](QObject*) { rgFizClick(); };
        return g;
    };
    QStringList owners, places;
    for (std::string_view s : calc::OwnerCaptions)
        owners << Q(s);
    for (std::string_view s : calc::PlaceCaptions)
        places << Q(s);
    FrgFiz = group({5, 64, 430, 77}, calc::OwnerGroupCaption, owners);
    FrgFiz->setObjectName(QStringLiteral("rgFiz"));
    FrgPlace = group({5, 160, 430, 146}, calc::PlaceGroupCaption, places);
    FrgPlace->setObjectName(QStringLiteral("rgPlace"));
}

void TfmOSAGO_Calc::BuildOptionPages() {
    std::vector<std::pair<QString, QString>> vehicles;
    vehicles.reserve(calc::VehicleTypes.size());
    for (const calc::VehicleType& v : calc::VehicleTypes)
        vehicles.emplace_back(Q(v.Caption), Q(v.Label));

    const std::pair<OptionColumn, std::vector<std::pair<QString, QString>>> columns[] = {
        {{PageId::pType,
          {68, 100, 129, 161, 192, 223, 254, 285, 316, 347, 378, 409, 442, 472},
          {83, 115, 144, 177, 207, 240, 271, 302, 333, 364, 395, 426, 457, 487},
          &calc::Calculator::rbTypeCarClick},
         vehicles},
        {{PageId::pHome,
          {56, 84, 113, 141, 171, 297, 482},
          {71, 101, 128, 156, 187, 312, 497},
          &calc::Calculator::rbHomeClick},
         CaptionsAndLabels(calc::TerritoryOptions)},
        {{PageId::pPeople, {56, 92}, {71, 109}, &calc::Calculator::rbLimitNoClick},
         CaptionsAndLabels(calc::PeopleOptions)},
        {{PageId::pPower,
          {56, 92, 128, 164, 200, 236},
          {71, 109, 143, 181, 215, 253},
          &calc::Calculator::rbPowerClick},
         CaptionsAndLabels(calc::PowerOptions)},
        {{PageId::pPeriod,
          {56, 92, 128, 164, 200},
          {71, 109, 143, 181, 215},
          &calc::Calculator::rbPeriodClick},
         CaptionsAndLabels(calc::PeriodOptions)},
        {{PageId::pTime,
          {128, 156, 185, 213, 243, 273, 303, 333, 363, 393, 423},
          {143, 173, 200, 228, 259, 288, 320, 350, 380, 410, 440},
          &calc::Calculator::rbTimeClick},
         CaptionsAndLabels(calc::TimeOptions)},
        {{PageId::pDop, {128, 156}, {143, 173}, &calc::Calculator::rbDopClick},
         CaptionsAndLabels(calc::DopOptions)},
    };

    for (const auto& [column, texts] : columns) {
        QWidget* page = Page(column.Page);
        auto* group = new QButtonGroup(page);
        const int checked = FCalc.Pages(column.Page).Checked;
        for (size_t i = 0; i < texts.size(); ++i) {
            const bool trailer = column.Page == PageId::pType && i >= calc::rbTypeTruckPrizep;
            const int width = column.Page == PageId::pType && i == calc::rbTypeCarPrizep ? 400 : 410;
            QRadioButton* rb = ui::MakeOption(page, texts[i].first, {20, column.OptionTops[i], width, 17});
            if (column.Page == PageId::pType)
                rb->setObjectName(Q(calc::VehicleTypes[i].Control));
            rb->setChecked(int(i) == checked);
            group->addButton(rb, int(i));
            FOptions[int(column.Page)].push_back(rb);
            const int labelWidth = column.Page == PageId::pType ? (trailer ? 215 : 223) : 0;
            FInfoLabels[int(column.Page)].push_back(
                ui::MakeInfoLabel(page, texts[i].second, 48, column.LabelTops[i], labelWidth));
            // A radio button's click fires when it becomes checked, by mouse or keyboard.
            connect(rb, &QRadioButton::toggled, this, [this, handler = column.Handler, i](bool on) {
                if (on)
                    Answer([&] { (FCalc.*handler)(int(i)); });
            });
        }
        ui::KeepTabStopOnChecked(group);
    }

    // The two "Города" rows list their cities in read-only boxes.
    QWidget* home = Page(PageId::pHome);
    auto* memo1 = new QPlainTextEdit(home);
    memo1->setObjectName(QStringLiteral("Memo1"));
    memo1->setGeometry(48, 199, 385, 97);
    memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FillCities(memo1, ui::texts::CitiesFirstList());
    auto* memo2 = new QPlainTextEdit(home);
    memo2->setObjectName(QStringLiteral("Memo2"));
    memo2->setGeometry(48, 324, 385, 149);
    memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FillCities(memo2, ui::texts::CitiesSecondList());
}

void TfmOSAGO_Calc::BuildClassPage() {
    QWidget* page = Page(PageId::pClass);
    ui::MakeNote(page, {20, 48}, {44, 48, 380, 196}, ui::texts::ClassNoteA());
    auto* noteB = new QLabel(ui::texts::ClassNoteB(), page);
    noteB->setWordWrap(true);
    noteB->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    noteB->setGeometry(44, 230, 380, 107);

    FBtnClass = new QPushButton(QIcon(ui::Picture(QStringLiteral("table"), 16)),
                                QStringLiteral("&Определите Ваш класс согласно таблицы ..."), page);
    FBtnClass->setObjectName(QStringLiteral("BtnClass"));
    FBtnClass->setGeometry(88, 343, 281, 25);
    connect(FBtnClass, &QPushButton::clicked, this, [this] { BtnClassClick(); });

    const int columnLeft[] = {41, 177, 313};
    const int labelLeft[] = {71, 207, 348};
    auto* group = new QButtonGroup(page);
    for (int i = 0; i < int(calc::ClassOptions.size()); ++i) {
        const int column = i / 5, top = 376 + (i % 5) * 20;
        QRadioButton* rb =
            ui::MakeOption(page, Q(calc::ClassOptions[i].Caption), {columnLeft[column], top, 30, 17});
        rb->setObjectName(Q(calc::ClassOptions[i].Control));
        // The caption alone is a bare number; read aloud it needs its subject.
        rb->setAccessibleName(QStringLiteral("Класс ") + rb->text());
        rb->setChecked(i == calc::DefaultClass);
        group->addButton(rb, i);
        FOptions[int(PageId::pClass)].push_back(rb);
        FInfoLabels[int(PageId::pClass)].push_back(
            ui::MakeInfoLabel(page, Q(calc::ClassOptions[i].Label), labelLeft[column], top + 3));
        connect(rb, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Answer([&] { FCalc.rbClassMClick(i); });
        });
    }
    ui::KeepTabStopOnChecked(group);
    // Entering the page puts the focus on the class, the page's answer; the table comes after.
    QWidget::setTabOrder(FOptions[int(PageId::pClass)].back(), FBtnClass);
    ui::MakeNote(page, {20, 480}, {42, 478, 393, 28}, ui::texts::ClassNoteFirstContract());
}

void TfmOSAGO_Calc::BuildAgePage() {
    QWidget* page = Page(PageId::pAge);
    const QLabel* count = ui::MakeLabel(page, QStringLiteral("Количество водителей: "), 20, 56, font());
    auto* group = new QButtonGroup(page);
    const int countLeft[] = {151, 195, 239, 283, 327};
    const int listTop[] = {91, 139, 187, 235, 283};
    const int labelTop[] = {115, 163, 214, 259, 307};
    QStringList categories;
    for (const calc::AgeCategory& c : calc::AgeCategories)
        categories << Q(c.Caption);
    for (int k = 0; k < calc::MaxDrivers; ++k) {
        QRadioButton* rb = ui::MakeOption(page, QString::number(k + 1), {countLeft[k], 55, 30, 17});
        rb->setObjectName(QStringLiteral("rbAge%1").arg(k + 1));
        rb->setAccessibleName(count->text() + rb->text());
        rb->setChecked(k == 0);
        group->addButton(rb, k);
        FrbAge[k] = rb;
        connect(rb, &QRadioButton::toggled, this, [this, k](bool on) {
            if (on)
                Answer([&] { FCalc.SelectDriverCount(k + 1); });
        });

        auto* cb = new QComboBox(page);
        cb->setObjectName(QStringLiteral("cbAge%1").arg(k + 1));
        cb->setGeometry(20, listTop[k], 400, 21);
        cb->addItems(categories);
        cb->setCurrentIndex(calc::DefaultAgeCategory);
        cb->setEnabled(k == 0);
        FcbAge[k] = cb;
        // The user's pick only: programmatic changes do not count as answers.
        connect(cb, &QComboBox::activated, this,
                [this, k](int item) { Answer([&] { FCalc.SelectDriverCategory(k, item); }); });
        FlblAge[k] = ui::MakeInfoLabel(page, QString::fromStdString(FCalc.Driver(k).Label), 48, labelTop[k]);
    }
    ui::KeepTabStopOnChecked(group);
    // Tab goes as the page reads: the driver count first, then the lists from top to bottom.
    for (int k = 1; k < calc::MaxDrivers; ++k)
        QWidget::setTabOrder(FrbAge[k - 1], FrbAge[k]);
    QWidget::setTabOrder(FrbAge[calc::MaxDrivers - 1], FcbAge[0]);
    for (int k = 1; k < calc::MaxDrivers; ++k)
        QWidget::setTabOrder(FcbAge[k - 1], FcbAge[k]);
    ui::MakeNote(page, {20, 352}, {42, 350, 383, 112}, ui::texts::AgeNote());
}

void TfmOSAGO_Calc::BuildResultPage() {
    QWidget* page = Page(PageId::pResult);
    for (int code = 0; code < calc::TariffCodeCount; ++code) {
        const int top = 56 + code * 29;
        new ui::FramedCell(page, {6, top, 347, 30});
        new ui::FramedCell(page, {352, top, 33, 30});
        new ui::FramedCell(page, {384, top, 52, 30});
        QLabel* caption = ui::MakeLabel(page, Q(calc::ResultRowCaptions[code]), 16, top + 8, font());
        if (code == calc::cKP) {
            FLabel92 = caption;
            FLabel92->setObjectName(QStringLiteral("Label92"));
        }
        auto* codeLabel = new QLabel(Q(calc::TariffCodes[code]), page);
        codeLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        codeLabel->setGeometry(354, top + 8, 29, 13);
        auto* value = new QLabel(QStringLiteral("0"), page);
        value->setFont(ui::PixelFont(11, true));
        value->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        value->setGeometry(387, top + 8, 46, 13);
        FlblResultValues[code] = value;
    }
    ui::MakeNote(page, {20, 330}, {42, 330, 375, 81}, ui::texts::ResultNote());

    new ui::FramedCell(page, {14, 426, 260, 77});
    auto centred = [&](const QString& text, int top, int height, const QFont& f) {
        auto* l = new QLabel(text, page);
        l->setFont(f);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setGeometry(24, top, 240, height);
        return l;
    };
    centred(Q(calc::PremiumCaption), 432, 16, ui::PixelFont(13, true));
    FlblFormula = centred(QStringLiteral("Т = "), 453, 14, ui::PixelFont(11, true));
    FlblResult = centred(QStringLiteral("0"), 472, 20, ui::PixelFont(16, true));
    QPalette red = FlblResult->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    FlblResult->setPalette(red);

    FBtnPrint = new QPushButton(QIcon(ui::Picture(QStringLiteral("print"), 16)),
                                QStringLiteral("   &Распечатать   "), page);
    FBtnPrint->setObjectName(QStringLiteral("BtnPrint"));
    FBtnPrint->setGeometry(290, 430, 140, 30);
    connect(FBtnPrint, &QPushButton::clicked, this, [this] {
        if (OnPrint)
            OnPrint();
    });
    FBtnExport = new QPushButton(QIcon(ui::Picture(QStringLiteral("export"), 16)),
                                 QStringLiteral("&Экспорт в файл"), page);
    FBtnExport->setObjectName(QStringLiteral("BtnExport"));
    FBtnExport->setGeometry(290, 470, 140, 30);
    connect(FBtnExport, &QPushButton::clicked, this, [this] {
        if (OnExport)
            OnExport(FBtnExport);
    });
}

void TfmOSAGO_Calc::BuildNotes() {
    ui::MakeNote(Page(PageId::pPeople), {20, 160}, {42, 158, 356, 53}, ui::texts::PeopleNote());
    ui::MakeNote(Page(PageId::pPower), {20, 302}, {42, 302, 356, 139}, ui::texts::PowerNote());
    ui::MakeNote(Page(PageId::pTime), {20, 62}, {42, 62, 375, 54}, ui::texts::TimeNoteAbroad());
    ui::MakeNote(Page(PageId::pTime), {20, 469}, {42, 469, 383, 45}, ui::texts::TimeNoteOnTheWay());
    ui::MakeNote(Page(PageId::pDop), {20, 62}, {42, 62, 375, 54}, ui::texts::DopNote());

    const struct {
        PageId Page;
        const char* Name;
        QString Text;
    } notes[] = {
        {PageId::pType, "sbTypePrim", ui::texts::TypeNoteBox()},
        {PageId::pHome, "sbHomePrim", ui::texts::HomeNoteBox()},
        {PageId::pClass, "sbClassPrim", ui::texts::ClassNoteBox()},
    };
    for (const auto& n : notes) {
        QToolButton* b = ui::MakeNoteButton(Page(n.Page), QString::fromLatin1(n.Name));
        FNoteButtons[int(n.Page)] = b;
        connect(b, &QToolButton::clicked, this, [this, text = n.Text] {
            QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok,
                            this);
            box.exec();
        });
    }
}

void TfmOSAGO_Calc::BuildWelcomePage() {
    QWidget* page = Page(PageId::pWelcome);
    auto* title = new QLabel(ui::texts::WelcomeTitle(), page);
    title->setFont(ui::PixelFont(11, true));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title->setWordWrap(true);
    title->setGeometry(20, 48, 411, 29);
    ui::MakeNote(page, {20, 96}, {44, 96, 377, 113}, ui::texts::WelcomeText());

    auto* bevel = new QFrame(page);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(44, 344, 353, 169);
    auto* logo = new QLabel(page);
    logo->setObjectName(QStringLiteral("Image11"));
    logo->setPixmap(QPixmap::fromImage(sheet::SheetLogo())); // the same picture as on the calculation sheet
    logo->setAlignment(Qt::AlignCenter);
    logo->setGeometry(56, 360, 85, 57);

    ui::MakeLabel(page, QStringLiteral("Компания \"Квиралт\""), 186, 364, ui::PixelFont(13, true));
    ui::MakeLabel(page, QStringLiteral("Программы для страховых агентов"), 181, 382, ui::PixelFont(11));
    ui::MakeLabel(page, QStringLiteral("и автосалонов"), 229, 398, ui::PixelFont(11));
    ui::MakeLabel(page, QStringLiteral("Система \"Тарифон\""), 129, 427, ui::PixelFont(13, true));
    ui::MakeLabel(page, QStringLiteral("Версия: 2.0"), 180, 443, ui::PixelFont(13, true));
    ui::MakeLabel(page, QStringLiteral("Расчет стоимости ОСАГО"), 150, 465, ui::PixelFont(11));

    FlblWWW = new ui::LinkLabel(sheet::kWebAddress, page);
    FlblWWW->setObjectName(QStringLiteral("lblWWW"));
    FlblWWW->move(66, 491);
    FlblWWW->adjustSize();
    FlblWWW->OnClick = [this] { lblWWWClick(); };
    FlblEMail = new ui::LinkLabel(sheet::kSupportAddress, page);
    FlblEMail->setObjectName(QStringLiteral("lblEMail"));
    FlblEMail->move(250, 491);
    FlblEMail->adjustSize();
    FlblEMail->OnClick = [this] { lblEMailClick(); };
}
