// A five-page wizard with a route map, built the way the calculator window builds its own.
// Run it to look at the framework; "--screenshot FILE [PAGE]" saves the window instead.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QTimer>

#include "platform/FontSetup.h"
#include "platform/ImageList.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"
#include "wizard/RouteMapNodes.h"

using namespace wizard;

namespace {

QFont PixelFont(const QString& family, int pixels, bool bold = false) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QImage Icon(const QColor& color, int shape) {
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.setPen(QPen(color.darker(160), 2));
    if (shape % 2)
        p.drawEllipse(3, 3, 26, 26);
    else
        p.drawRoundedRect(3, 5, 26, 22, 4, 4);
    p.setPen(Qt::white);
    p.setFont(PixelFont(QStringLiteral("Tahoma"), 14, true));
    p.drawText(img.rect(), Qt::AlignCenter, QString::number(shape + 1));
    return img;
}

struct PageText {
    const char* Title;
    const char* Subtitle;
    const char* Options[3];
};

const PageText kPages[] = {
    {"Добро пожаловать", "Расчёт стоимости полиса в несколько шагов", {}},
    {"Собственник",
     "Укажите, кто владеет транспортным средством",
     {"Физическое лицо", "Юридическое лицо", nullptr}},
    {"Тип транспортного средства",
     "Выберите тип и категорию",
     {"Легковой автомобиль", "Грузовой автомобиль", "Автобус"}},
    {"Мощность двигателя",
     "Укажите мощность в лошадиных силах",
     {"до 50 л.с.", "от 50 до 70 л.с.", "свыше 70 л.с."}},
    {"Результат", "Стоимость полиса по выбранным условиям", {}},
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::InstallApplicationFonts();

    QWidget window;
    window.setWindowTitle(QStringLiteral("Wizard demo"));
    window.setFont(PixelFont(QStringLiteral("Tahoma"), 11));
    window.resize(664, 568);

    TImageList icons(32, 32);
    const QColor colors[] = {QColor(0, 120, 215), QColor(16, 137, 62), QColor(202, 80, 16),
                             QColor(136, 23, 152), QColor(0, 99, 177)};
    for (int i = 0; i < 5; ++i)
        icons.Add(Icon(colors[i], i));

    auto* wizard = new TKWizard(&window);
    wizard->BeginLoading();
    wizard->SetHeaderImages(&icons);
    wizard->ButtonStart()->SetCaption(QStringLiteral("В начало"));
    wizard->ButtonBack()->SetCaption(QStringLiteral("Назад"));
    wizard->ButtonBack()->SetWidth(90);
    wizard->ButtonNext()->SetCaption(QStringLiteral("Далее"));
    wizard->ButtonNext()->SetWidth(90);
    wizard->ButtonCancel()->SetCaption(QStringLiteral("Закрыть"));
    wizard->ButtonCancel()->SetWidth(90);
    wizard->OnCancelButtonClick = [&](QObject*) { window.close(); };

    std::vector<TKWizardInteriorPage*> pages;
    for (int i = 0; i < 5; ++i) {
        auto* page = new TKWizardInteriorPage(wizard);
        page->SetColor(clWindow);
        page->SetCaption(QString::fromUtf8(kPages[i].Title));
        TKWizardPageHeader* header = page->Header();
        header->SetHeight(45);
        header->SetImageIndex(i);
        header->SetImageOffset(10);
        header->SetImageAlignment(iaLeft);
        header->Title()->SetText(QString::fromUtf8(kPages[i].Title));
        header->Title()->SetFontPixelSize(13);
        header->Title()->SetAlignment(taRightJustify);
        header->Subtitle()->SetText(QString::fromUtf8(kPages[i].Subtitle));
        header->Subtitle()->SetFontPixelSize(11);
        header->Subtitle()->SetAlignment(taRightJustify);
        int y = 70;
        for (const char* option : kPages[i].Options) {
            if (!option)
                continue;
            auto* radio = new QRadioButton(QString::fromUtf8(option), page);
            radio->setGeometry(40, y, 360, 20);
            radio->setChecked(y == 70);
            y += 28;
        }
        pages.push_back(page);
    }
    pages[0]->SetEnabledButtons(TKWizardButtonSet::All().Without(bkBack));
    pages[4]->SetVisibleButtons({bkStart, bkBack, bkNext, bkCancel});
    pages[4]->SetEnabledButtons(TKWizardButtonSet::All().Without(bkNext));
    // Skipping a page: the power page only applies when the checkbox says so.
    auto* power = new QCheckBox(QStringLiteral("Учитывать мощность двигателя"), pages[2]);
    power->setGeometry(40, 170, 360, 20);
    power->setChecked(true);
    QObject::connect(power, &QCheckBox::toggled, [&](bool on) { pages[3]->SetEnabled(on); });
    auto* result = new QLabel(pages[4]);
    result->setGeometry(40, 70, 380, 60);
    pages[4]->OnEnterPage = [&](TKWizardCustomPage*, TKWizardCustomPage*) {
        result->setText(QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН\nПремия: 6 075,00 руб."));
    };

    auto* map = new TKWizardRouteMapNodes(wizard);
    map->resize(220, map->height());
    map->SetItemHeight(30);
    map->setFont(PixelFont(QStringLiteral("Tahoma"), 11));
    wizard->Loaded();

    window.show();
    if (argc >= 3 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--screenshot")) {
        const QString file = QString::fromLocal8Bit(argv[2]);
        const int target = argc >= 4 ? QString::fromLocal8Bit(argv[3]).toInt() : 0;
        for (int i = 0; i < target; ++i)
            wizard->SelectNextPage();
        QTimer::singleShot(0, [&app, &window, file] { app.exit(window.grab().save(file) ? 0 : 1); });
    }
    return app.exec();
}
