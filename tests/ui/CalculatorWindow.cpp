// The calculator window driven through its real widgets, as a user would.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WindowFace.h"

#include "htmlctl/HTMLRadioGroup.h"
#include "ui/Controls.h"
#include "ui/OSAGO_Calc.h"
#include "ui/OSAGO_CalcClass.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"
#include "wizard/RouteMapNodes.h"

using calc::PageId;

namespace {

const QString NBSP = QString(QChar(0x00A0));

// Clicks the item of an HTML radio group the way the mouse does: on its button.
void ClickItem(htmlctl::THTMLRadioGroup* group, int item) {
    QWidget* button = group->Buttons(item);
    const QPoint p(8, button->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, p, button->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, button->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
}

void Next(TfmOSAGO_Calc& w) {
    w.KWizard()->ButtonNext()->Control()->click();
}

PageId Active(const TfmOSAGO_Calc& w) {
    for (int i = 0; i < calc::PageCount; ++i)
        if (w.KWizard()->ActivePage() == w.Page(PageId(i)))
            return PageId(i);
    return PageId::pWelcome;
}

struct Window : ::testing::Test {
    TfmOSAGO_Calc w;
    void SetUp() override {
        w.OpenUrl = [this](const QString& url) { opened << url; };
        w.show();
    }
    QStringList opened;
};

} // namespace

TEST_F(Window, CaptionSizeAndStart) {
    EXPECT_EQ(w.windowTitle(), "Квиралт:  -= Тарифон 2.0 =-");
    EXPECT_EQ(w.size(), QSize(664, 568));
    EXPECT_EQ(Active(w), PageId::pWelcome);
    EXPECT_FALSE(w.KWizard()->ButtonBack()->Control()->isEnabled());
    EXPECT_TRUE(w.KWizard()->ButtonNext()->Control()->isEnabled());
    EXPECT_EQ(w.font().family(), "Tahoma");
    EXPECT_EQ(w.font().pixelSize(), 11);
    const auto* logo = w.Page(PageId::pWelcome)->findChild<QLabel*>("Image11");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->pixmap().size(), QSize(85, 57));
}

TEST_F(Window, TheRoadOfOneCalculation) {
    Next(w);
    ASSERT_EQ(Active(w), PageId::pHolder);
    ClickItem(w.rgFiz(), 1);
    EXPECT_EQ(w.rgFiz()->ItemIndex(), 1);
    ClickItem(w.rgPlace(), 0);
    Next(w);
    ASSERT_EQ(Active(w), PageId::pType);
    w.Options(PageId::pType)[calc::rbTypeTrack16]->click();
    Next(w);
    ASSERT_EQ(Active(w), PageId::pHome);
    w.Options(PageId::pHome)[0]->click();
    Next(w);
    ASSERT_EQ(Active(w), PageId::pClass);
    w.Options(PageId::pClass)[4]->click(); // class 3
    Next(w);
    // Drivers, age, power, season and term do not apply: straight to the violations.
    ASSERT_EQ(Active(w), PageId::pDop);
    Next(w);
    ASSERT_EQ(Active(w), PageId::pResult);
    EXPECT_EQ(w.lblFormula()->text(), "Т = ТБ*КТ*КБМ*КО*КН");
    EXPECT_EQ(w.lblResult()->text(), "6" + NBSP + "075 рублей");
    EXPECT_EQ(w.lblResultValue(calc::cKO)->text(), "1,5");
    for (int code : {calc::cKVS, calc::cKM, calc::cKS, calc::cKP})
        EXPECT_TRUE(w.lblResultValue(code)->isHidden()) << code;
    EXPECT_FALSE(w.KWizard()->ButtonNext()->Control()->isEnabled());
    EXPECT_TRUE(w.KWizard()->ButtonStart()->Control()->isVisible());
}

TEST_F(Window, PagesSkipAndComeBackAtOnce) {
    // Legal entity in Russia with a car: from the class page straight to power.
    ClickItem(w.rgFiz(), 1);
    EXPECT_FALSE(w.Page(PageId::pPeople)->Enabled());
    EXPECT_FALSE(w.Page(PageId::pAge)->Enabled());
    w.KWizard()->SetActivePage(w.Page(PageId::pClass));
    Next(w);
    EXPECT_EQ(Active(w), PageId::pPower);
    w.KWizard()->SelectPriorPage();
    EXPECT_EQ(Active(w), PageId::pClass);

    // Another foreign state: from the type page to power (car) or to the term (other).
    ClickItem(w.rgFiz(), 0);
    ClickItem(w.rgPlace(), 2);
    w.KWizard()->SetActivePage(w.Page(PageId::pType));
    Next(w);
    EXPECT_EQ(Active(w), PageId::pPower);
    w.KWizard()->SetActivePage(w.Page(PageId::pType));
    w.Options(PageId::pType)[calc::rbTypeBus20]->click();
    Next(w);
    EXPECT_EQ(Active(w), PageId::pTime);

    // The route map lists only enabled pages.
    int listed = 0;
    for (int i = 0; i < w.RouteMap()->PageCount(); ++i)
        listed += w.RouteMap()->CanDisplay(w.RouteMap()->Pages(i));
    int enabled = 0;
    for (int i = 0; i < calc::PageCount; ++i)
        enabled += w.Page(PageId(i))->Enabled();
    EXPECT_EQ(listed, enabled) << "route map holds " << w.RouteMap()->PageCount() << " pages";
}

TEST_F(Window, DriversPageMirrorsTheCalculator) {
    w.rbAge(2)->click(); // three drivers
    EXPECT_TRUE(w.cbAge(1)->isEnabled());
    EXPECT_TRUE(w.cbAge(2)->isEnabled());
    EXPECT_FALSE(w.cbAge(3)->isEnabled());
    w.cbAge(1)->setCurrentIndex(0);
    emit w.cbAge(1)->activated(0);
    EXPECT_EQ(w.lblAge(1)->text(), "Коэффициент возраста и стажа водителя (КВС) :   1,3");
    EXPECT_EQ(w.Calculator().State().KVS, 1.3);
    w.rbAge(0)->click();
    EXPECT_FALSE(w.cbAge(1)->isEnabled());
    EXPECT_EQ(w.Calculator().State().KVS, 1.0);
    EXPECT_EQ(w.lblAge(1)->text(), "Коэффициент возраста и стажа водителя (КВС) :   1,3");
}

TEST_F(Window, TerritoryLabelsFollowTheVehicle) {
    w.Options(PageId::pType)[calc::rbTypeTractor]->click();
    EXPECT_EQ(w.InfoLabels(PageId::pHome)[0]->text(),
              "Коэффициент территории использования транспортного средства (КТ) :   1,2");
    EXPECT_EQ(w.InfoLabels(PageId::pHome)[4]->text(),
              "Коэффициент территории использования транспортного средства (КТ) :   0,8");
    ClickItem(w.rgFiz(), 1);
    EXPECT_EQ(w.InfoLabels(PageId::pType)[0]->text(), "Базовая ставка страхового тарифа (ТБ) :   2 375 р.");
}

TEST_F(Window, ResultRecomputesOnEveryEntry) {
    w.KWizard()->SetActivePage(w.Page(PageId::pResult));
    EXPECT_EQ(w.lblResult()->text(), "3" + NBSP + "960 рублей");
    EXPECT_TRUE(w.lblResultValue(calc::cKP)->isHidden());
    w.KWizard()->SetActivePage(w.Page(PageId::pHolder));
    ClickItem(w.rgPlace(), 3);
    w.KWizard()->SetActivePage(w.Page(PageId::pResult));
    EXPECT_EQ(w.Label92()->text(), "Коэффициент срока страхования (до 20 дней вкл.):");
    EXPECT_EQ(w.lblResult()->text(), "396 рублей");
}

TEST_F(Window, EscClosesFromAnyPage) {
    for (PageId page : {PageId::pWelcome, PageId::pClass, PageId::pResult}) {
        w.show();
        w.KWizard()->SetActivePage(w.Page(page));
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(w.KWizard()->ActivePage(), &esc);
        EXPECT_FALSE(w.isVisible()) << int(page);
    }
}

TEST_F(Window, NoteButtonsShowTheirTexts) {
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        EXPECT_EQ(box->windowTitle(), "Information");
        box->accept();
    });
    w.NoteButton(PageId::pClass)->click();
    EXPECT_TRUE(shown.startsWith("1. При заключении договора"));
    EXPECT_TRUE(shown.contains("страховых случаев.\r\r2. В зависимости"));
    EXPECT_EQ(shown.count("\r\r"), 6);
    EXPECT_EQ(w.NoteButton(PageId::pType)->toolTip(), "Примечание");
}

TEST_F(Window, NoteBoxesAndMenusTakeTheWindowsFace) {
    QStringList faces;
    const WindowFace face;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (const QWidget* part : box->findChildren<QWidget*>())
            if (qobject_cast<const QLabel*>(part) || qobject_cast<const QPushButton*>(part))
                faces << QFontInfo(part->font()).family();
        box->accept();
    });
    w.NoteButton(PageId::pHome)->click();
    QMenu menu(&w);
    faces << QFontInfo(menu.font()).family();
    ASSERT_GE(faces.size(), 3);
    EXPECT_EQ(faces.filter(QStringLiteral("Tahoma")).size(), faces.size()) << faces.join(", ").toStdString();
}

TEST_F(Window, ClassTableOpensModallyAndChangesNothing) {
    const double before = w.Calculator().State().KBM;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* table = dynamic_cast<TfmOSAGO_CalcClass*>(QApplication::activeModalWidget());
        ASSERT_NE(table, nullptr);
        seen = true;
        table->BitBtn1()->click();
    });
    w.BtnClass()->click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(w.Calculator().State().KBM, before);
}

TEST_F(Window, LinksLightUpUnderTheMouseAndOpenTheirTargets) {
    const QColor normal = w.lblWWW()->palette().color(QPalette::WindowText);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w.lblWWW(), &enter);
    EXPECT_EQ(w.lblWWW()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(w.lblWWW()->font().underline());
    EXPECT_FALSE(w.lblEMail()->font().underline());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w.lblWWW(), &leave);
    EXPECT_EQ(w.lblWWW()->palette().color(QPalette::WindowText), normal);
    EXPECT_FALSE(w.lblWWW()->font().underline());
    EXPECT_EQ(w.lblWWW()->cursor().shape(), Qt::PointingHandCursor);

    w.lblWWWClick();
    w.lblEMailClick();
    EXPECT_EQ(opened, (QStringList{"http://www.kviralt.ru/", "mailto:support@kviralt.ru"}));
}

TEST_F(Window, ResultTableFramesAndPremiumBox) {
    w.KWizard()->SetActivePage(w.Page(PageId::pResult));
    QWidget* page = w.Page(PageId::pResult);
    const QImage img = page->grab().toImage();
    const QRgb black = qRgb(0, 0, 0);
    for (int row = 0; row < 9; ++row) {
        const int top = 56 + row * 29;
        // Rows overlap by one pixel: the bottom line of a row is the top line of the next.
        EXPECT_EQ(img.pixel(200, top), black) << row;
        EXPECT_EQ(img.pixel(200, top + 29), black) << row;
        EXPECT_EQ(img.pixel(6, top + 15), black) << row;
        EXPECT_EQ(img.pixel(352, top + 15), black) << row;
        EXPECT_EQ(img.pixel(384, top + 15), black) << row;
        EXPECT_EQ(img.pixel(435, top + 15), black) << row;
        EXPECT_EQ(img.pixel(370, top + 3), qRgb(255, 255, 255)) << row;
    }
    // The premium box and its red premium text.
    EXPECT_EQ(img.pixel(14, 460), black);
    EXPECT_EQ(img.pixel(273, 460), black);
    EXPECT_EQ(img.pixel(100, 426), black);
    EXPECT_EQ(img.pixel(100, 502), black);
    int red = 0;
    for (int y = 472; y < 492; ++y)
        for (int x = 24; x < 264; ++x) {
            const QColor c = img.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 30);
}

// `make screenshots`: one picture per page for a reviewer.
TEST_F(Window, Screenshots) {
    const QString dir = qEnvironmentVariable("TARIFON_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "TARIFON_SCREENSHOT_DIR not set";
    w.Options(PageId::pClass)[4]->click();
    w.Page(PageId::pTime)->SetEnabled(true); // so that its page can be shown too
    for (int i = 0; i < calc::PageCount; ++i) {
        w.KWizard()->SetActivePage(w.Page(PageId(i)));
        const QString name = QString::fromUtf8(calc::PageNames[i].data(), calc::PageNames[i].size());
        EXPECT_TRUE(
            w.grab().save(QStringLiteral("%1/%2-%3.png").arg(dir).arg(i + 1, 2, 10, QChar('0')).arg(name)));
    }
}
