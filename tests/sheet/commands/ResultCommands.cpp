// The result page's print and export commands on the real calculator window: the variables
// come from the page's labels, the sheet shows them, the export menu and its position.
#include "ui/ResultCommands.h"
#include "htmlctl/HTMLRadioGroup.h"
#include "preview/PreviewForm.h"
#include "report/PreparedPageStore.h"
#include "sheet/commands/SheetCommands.h"
#include "ui/OSAGO_Calc.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using calc::PageId;

namespace {

const char* const kVariables[] = {"ТБ", "КТ", "КБМ", "КО", "КВС", "КМ", "КС", "КП", "КН", "Формула", "Сумма"};

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

// What one preview was given.
struct Shown {
    QStringList Variables; // values of the eleven variables, in order
    QStringList Texts;     // every memo text of the prepared page
};

struct Commands : ::testing::Test {
    TfmOSAGO_Calc w;
    sheet::TSheetCommands* commands = nullptr;
    std::vector<Shown> shown;
    std::map<QString, QString> lastMemos;

    void SetUp() override {
        commands = ui::InstallResultCommands(w, false);
        commands->Report().OnShowError = [](const QString&, const QString& text) {
            ADD_FAILURE() << text.toStdString();
        };
        commands->OnShowPreview = [this](report::TrpReport& r) {
            Shown s;
            for (const char* name : kVariables)
                s.Variables << QString::fromStdString(
                    r.Variables().GetVariableValue(QString::fromUtf8(name)).AsString());
            lastMemos.clear();
            for (const auto& o : r.PreviewPages().Page(0)->Objects())
                if (auto* memo = dynamic_cast<report::TrpCustomMemoView*>(o.get())) {
                    s.Texts << memo->Text();
                    lastMemos[memo->Name()] = memo->Text();
                }
            shown.push_back(s);
        };
        w.show();
    }

    // The labels the sheet is filled from, in the variables' order.
    QStringList Labels() const {
        QStringList labels;
        for (int code = 0; code < calc::TariffCodeCount; ++code)
            labels << w.lblResultValue(code)->text();
        return labels << w.lblFormula()->text() << w.lblResult()->text();
    }

    void Print() {
        w.pResultEnterPage();
        w.BtnPrint()->click();
    }
};

TEST_F(Commands, PrintFillsTheVariablesFromTheResultPageForEveryCase) {
    struct Case {
        const char* name;
        std::function<void(TfmOSAGO_Calc&)> answer;
        const char* premium;
        bool termInFormula;
    } cases[] = {
        {"default answers", [](TfmOSAGO_Calc&) {}, nullptr, false},
        {"legal entity with a lorry in Moscow, class 3",
         [](TfmOSAGO_Calc& w) {
             ClickItem(w.rgFiz(), 1);
             ClickItem(w.rgPlace(), 0);
             w.Options(PageId::pType)[calc::rbTypeTrack16]->click();
             w.Options(PageId::pHome)[0]->click();
             w.Options(PageId::pClass)[4]->click();
         },
         "6\u00A0075 рублей", false},
        {"bus of up to 20 seats registered abroad",
         [](TfmOSAGO_Calc& w) {
             ClickItem(w.rgFiz(), 0);
             ClickItem(w.rgPlace(), 2);
             w.Options(PageId::pType)[calc::rbTypeBus20]->click();
         },
         nullptr, true},
    };
    for (const Case& c : cases) {
        c.answer(w);
        Print();
        ASSERT_FALSE(shown.empty()) << c.name;
        const Shown& s = shown.back();
        const QStringList labels = Labels();
        // Each variable holds its label's text in single quotes, so it reads back as the text.
        for (int i = 0; i < labels.size(); ++i)
            EXPECT_EQ(s.Variables[i], QLatin1Char('\'') + labels[i] + QLatin1Char('\''))
                << c.name << " " << kVariables[i];
        EXPECT_EQ(lastMemos["meFormula"], w.lblFormula()->text()) << c.name;
        EXPECT_EQ(lastMemos["meResult"], w.lblResult()->text()) << c.name;
        EXPECT_EQ(lastMemos["meType"], w.lblResultValue(calc::cTB)->text()) << c.name;
        if (c.premium) {
            EXPECT_EQ(w.lblResult()->text(), QString::fromUtf8(c.premium)) << c.name;
        }
        // A coefficient the formula leaves out keeps its variable but the sheet's cell is empty.
        EXPECT_EQ(w.lblFormula()->text().contains(QStringLiteral("КП")), c.termInFormula) << c.name;
        EXPECT_EQ(lastMemos["meTime"].isEmpty(), !c.termInFormula) << c.name;
        EXPECT_FALSE(s.Variables[7].isEmpty());
    }
}

TEST_F(Commands, TwoPreviewsInARowShowTheNewValuesAfterAChange) {
    Print();
    const QString first = lastMemos["meResult"];
    Print();
    EXPECT_EQ(lastMemos["meResult"], first) << "the same sheet twice";
    w.Options(PageId::pClass)[0]->click();
    Print();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(lastMemos["meResult"], first);
    EXPECT_EQ(lastMemos["meResult"], w.lblResult()->text());
    EXPECT_EQ(lastMemos["meClass"], w.lblResultValue(calc::cKBM)->text());
}

TEST_F(Commands, ExportMenuHoldsThirteenTargetsAndOpensBesideTheButton) {
    QMenu* menu = commands->pmExport();
    ASSERT_EQ(menu->actions().size(), 13);
    const char* names[] = {"miExportBMP", "miExportJPEG", "miExportTIFF", "miExportGIF", "miExportPRN",
                           "miExportTXT", "miExportCSV",  "miExportHTML", "miExportXLS", "miExportXML",
                           "miExportRTF", "miExportPDF",  "miExportEMail"};
    for (int i = 0; i < 13; ++i) {
        QAction* item = menu->actions()[i];
        EXPECT_EQ(item->objectName(), QString::fromUtf8(names[i]));
        EXPECT_FALSE(item->icon().isNull()) << names[i];
        EXPECT_EQ(item->isEnabled(), commands->Filter(i) != nullptr) << names[i];
    }
    EXPECT_EQ(menu->actions()[11]->text(), QStringLiteral("Документ &PDF..."));
    EXPECT_EQ(menu->actions()[12]->text(), QStringLiteral("&Отправить по электронной почте..."));

    QPoint openedAt;
    int opened = 0;
    commands->OnPopupMenu = [&](QMenu*, const QPoint& at) {
        openedAt = at;
        ++opened;
    };
    w.BtnExport()->click();
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(openedAt, w.frameGeometry().topLeft() + QPoint(220 + 290, 470 + 60));
    EXPECT_TRUE(shown.empty()) << "nothing is prepared until an item is chosen";
    EXPECT_EQ(sheet::ExportMenuPosition(QPoint(0, 0), 220, QPoint(290, 470)), QPoint(510, 530));
}

TEST_F(Commands, PdfItemExportsTheCurrentSheet) {
    exports::TrpCustomExportFilter* pdf = commands->Filter(11);
    if (!pdf)
        GTEST_SKIP() << "no PDF filter in this build";
    EXPECT_EQ(pdf->FileName(), QStringLiteral("OSAGO"));
    QTemporaryDir dir;
    pdf->SetShowDialog(false);
    pdf->SetFileName(dir.filePath(QStringLiteral("OSAGO.pdf")));
    w.pResultEnterPage();
    commands->pmExport()->actions()[11]->trigger();
    QFile file(dir.filePath(QStringLiteral("OSAGO.pdf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_TRUE(shown.empty()) << "an export shows no preview";
    // A disabled target does nothing even when triggered.
    for (QAction* item : commands->pmExport()->actions())
        if (!item->isEnabled())
            commands->BtnPrintClick(item);
    EXPECT_TRUE(shown.empty());
}

TEST_F(Commands, PictureItemsExportTheCurrentSheet) {
    QTemporaryDir dir;
    w.pResultEnterPage();
    const char* extensions[] = {"bmp", "jpg", "tif", "gif"};
    const QByteArray magic[] = {"BM", "\xFF\xD8\xFF", QByteArray("II*\0", 4), "GIF89a"};
    for (int i = 0; i < 4; ++i) {
        exports::TrpCustomExportFilter* filter = commands->Filter(i);
        ASSERT_NE(filter, nullptr);
        EXPECT_EQ(filter->FileName(), QStringLiteral("OSAGO"));
        filter->SetShowDialog(false);
        filter->SetFileName(dir.filePath(QStringLiteral("OSAGO")));
        commands->pmExport()->actions()[i]->trigger();
        // One picture per page, named after the page.
        QFile picture(dir.filePath(QStringLiteral("OSAGO.1.") + extensions[i]));
        ASSERT_TRUE(picture.open(QIODevice::ReadOnly)) << extensions[i];
        EXPECT_TRUE(picture.read(magic[i].size()) == magic[i]) << extensions[i];
    }
    EXPECT_TRUE(shown.empty()) << "an export shows no preview";
}

TEST_F(Commands, PrintButtonOpensTheModalMaximisedPreviewWithTheThirteenTargets) {
    QString title;
    bool maximised = false;
    bool modal = false;
    bool seen = false;
    QStringList entries;
    // The real preview this time; it is closed as soon as its loop runs.
    commands->OnShowPreview = [&](report::TrpReport& r) {
        preview::ShowPrepared(r, &w, [&](preview::TrpPreviewForm& form) {
            commands->SetUpPreview(form);
            QTimer::singleShot(0, &form, [&] {
                seen = form.isVisible();
                title = form.windowTitle();
                maximised = form.windowState() & Qt::WindowMaximized;
                modal = form.isModal();
                for (QAction* a : form.ExportMenu()->actions())
                    entries << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)"));
                form.close();
            });
        });
    };
    Print();
    EXPECT_EQ(title, QStringLiteral("Расчет стоимости ОСАГО"));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(maximised);
    EXPECT_TRUE(modal);
    ASSERT_EQ(entries.size(), 13);
    const char* pictures[] = {"&Рисунок BMP...", "Рисунок &JPEG...", "Рисунок &TIFF...", "Рисунок &Gif..."};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(entries[i], QString::fromUtf8(pictures[i]));
    EXPECT_TRUE(entries[11].startsWith(QStringLiteral("Документ &PDF...")));
    EXPECT_EQ(entries[11].endsWith(QStringLiteral("(off)")), commands->Filter(11) == nullptr);
    EXPECT_EQ(entries[12], QStringLiteral("E-&mail..."));
    EXPECT_EQ(preview::OpenPreview(commands->Report()), nullptr) << "the modal preview is freed when closed";
}

} // namespace
