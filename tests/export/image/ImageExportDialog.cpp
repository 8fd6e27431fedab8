// The options dialog of the picture exports: captions with their letters and fields per format,
// what OK stores, and typed numbers that are not whole numbers refused before anything is written.
#include "export/image/ImageExportDialog.h"
#include "ImageTools.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace imagetest;
using exports::TrpImageFormat;
using exports::TrpIMGExportDialog;

TEST(ImageExportDialog, CaptionsAndFieldsOfEachFormat) {
    const struct {
        TrpImageFormat Format;
        const char *Description, *Filter, *Ext;
        bool Quality, Mono;
    } formats[] = {
        {TrpImageFormat::BMP, "Рисунок BMP", "Рисунок BMP (*.bmp)|*.bmp", ".bmp", false, true},
        {TrpImageFormat::JPEG, "Рисунок JPEG", "Рисунок JPEG (*.jpg)|*.jpg", ".jpg", true, true},
        {TrpImageFormat::TIFF, "Рисунок TIFF", "Рисунок TIFF (*.tif)|*.tif", ".tif", false, true},
        {TrpImageFormat::GIF, "Рисунок Gif", "Рисунок Gif (*.gif)|*.gif", ".gif", false, false},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(f.Description);
        auto filter = exports::CreateImageExport(f.Format);
        EXPECT_EQ(filter->FilterDescription(), QString::fromUtf8(f.Description));
        EXPECT_EQ(filter->FilterText(), QString::fromUtf8(f.Filter));
        EXPECT_EQ(filter->DefaultExt(), QString::fromLatin1(f.Ext));
        filter->SetMonochrome(true);
        TrpIMGExportDialog d(*filter);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Экспорт в рисунок"));
        EXPECT_EQ(d.GroupPageRange->title(), QStringLiteral("Страницы"));
        EXPECT_EQ(d.GroupBox1->title(), QStringLiteral(" Опции"));
        const std::pair<QWidget*, const char*> captions[] = {
            {d.AllRB, "&Все"},
            {d.CurPageRB, "&Текущая"},
            {d.PageNumbersRB, "&Номера:"},
            {d.SeparateCB, "&Раздельные файлы"},
            {d.Label2, "&Качество JPEG"},
            {d.Label1, "Разрешение (&dpi)"},
            {d.CropPage, "&Обрезать страницу"},
            {d.Mono, "&Монохромный"},
            {d.OkB, "ОК"}, // Enter presses it; its letters are taken
            {d.CancelB, "Отм&ена"},
        };
        for (const auto& [widget, text] : captions) {
            const QString shown = dynamic_cast<QAbstractButton*>(widget)
                                      ? static_cast<QAbstractButton*>(widget)->text()
                                      : static_cast<QLabel*>(widget)->text();
            EXPECT_EQ(shown, QString::fromUtf8(text)) << "caption and its letter";
            if (!dynamic_cast<QPushButton*>(widget)) { // push buttons ask for a margin beyond their text
                EXPECT_LE(widget->sizeHint().width(), widget->width()) << text << ": the caption is cut";
            }
        }
        EXPECT_LE(d.DescrL->heightForWidth(d.DescrL->width()), d.DescrL->height()) << "the hint is cut";
        EXPECT_EQ(d.Quality->text(), QStringLiteral("90"));
        EXPECT_EQ(d.Resolution->text(), QStringLiteral("96"));
        EXPECT_TRUE(d.SeparateCB->isChecked());
        EXPECT_FALSE(d.CropPage->isChecked());
        EXPECT_EQ(d.Quality->isEnabled(), f.Quality);
        EXPECT_EQ(d.Mono->isEnabled(), f.Mono);
        EXPECT_EQ(d.Mono->isChecked(), f.Mono); // a GIF is never 1-bit
    }
    // An attachment is one picture: no choice of separate files.
    auto attachment = exports::CreateImageExport(TrpImageFormat::BMP, true);
    TrpIMGExportDialog d(*attachment);
    EXPECT_TRUE(d.SeparateCB->isHidden());
    d.Store(*attachment);
    EXPECT_FALSE(attachment->FilePerPage());
}

TEST(ImageExportDialog, OkStoresTheChoicesAndRefusesWhatIsNotAWholeNumber) {
    auto jpeg = exports::CreateImageExport(TrpImageFormat::JPEG);
    jpeg->SetPageNumbers(QStringLiteral("2-3"));
    TrpIMGExportDialog d(*jpeg);
    EXPECT_TRUE(d.PageNumbersRB->isChecked());
    QStringList problems;
    d.OnProblem = [&](const QString& message) { problems << message; };
    const struct {
        const char *Quality, *Resolution, *Problem;
    } entries[] = {
        {"75", "96dpi", "Разрешение (dpi): «96dpi» — не целое число"},
        {"7,5", "150", "Качество JPEG: «7,5» — не целое число"},
        {"", "150", "Качество JPEG: «» — не целое число"},
        {"101", "150", "Качество JPEG: допустимы значения от 1 до 100"},
        {"75", "0", "Разрешение (dpi): допустимы значения от 1 до 100 000"},
    };
    for (const auto& e : entries) {
        d.Quality->setText(QString::fromUtf8(e.Quality));
        d.Resolution->setText(QString::fromUtf8(e.Resolution));
        problems.clear();
        d.OkB->click();
        EXPECT_EQ(problems, QStringList{QString::fromUtf8(e.Problem)});
        EXPECT_NE(d.result(), QDialog::Accepted);
    }
    d.Quality->setText(QStringLiteral(" 75 "));
    d.Resolution->setText(QStringLiteral("150"));
    d.CropPage->setChecked(true);
    d.SeparateCB->setChecked(false);
    d.CurPageRB->setChecked(true);
    problems.clear();
    d.OkB->click();
    EXPECT_TRUE(problems.isEmpty());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    d.Store(*jpeg);
    EXPECT_EQ(jpeg->JPEGQuality(), 75);
    EXPECT_EQ(jpeg->OutputDpi(), 150);
    EXPECT_TRUE(jpeg->CropImages());
    EXPECT_FALSE(jpeg->FilePerPage());
    EXPECT_TRUE(jpeg->CurPage());
    EXPECT_TRUE(jpeg->PageNumbers().isEmpty());
}

// The way a person meets it: the export's dialog, a resolution typed wrong, the message box,
// then Cancel; nothing is written. Then the same export with a good resolution.
TEST(ImageExportDialog, AWrongEntryWritesNothingAndAGoodOneExports) {
    std::unique_ptr<TrpReport> r = SheetReport();
    QTemporaryDir dir;
    auto tiff = exports::CreateImageExport(TrpImageFormat::TIFF);
    tiff->SetShowProgress(false);
    tiff->SetFileName(QStringLiteral("OSAGO"));
    QString asked;
    tiff->OnSaveDialog = [&](const QString& initial) {
        asked = initial;
        return dir.filePath(QStringLiteral("sheet.tif"));
    };

    QString message;
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        auto* d = dynamic_cast<TrpIMGExportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->Resolution->setText(QStringLiteral("двести"));
        QTimer::singleShot(0, [&, d] {
            if (auto* box = dynamic_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                message = box->text();
                box->accept();
            }
            QTimer::singleShot(0, [&, d] {
                stillOpen = d->isVisible();
                d->CancelB->click();
            });
        });
        d->OkB->click();
    });
    EXPECT_FALSE(exports::ExportTo(*r, tiff.get()));
    EXPECT_EQ(message, QStringLiteral("Разрешение (dpi): «двести» — не целое число"));
    EXPECT_TRUE(stillOpen) << "the dialog stays open for the correction";
    EXPECT_TRUE(asked.isEmpty()) << "no file was asked for";
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    QTimer::singleShot(0, [&] {
        auto* d = dynamic_cast<TrpIMGExportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->Resolution->setText(QStringLiteral("192"));
        d->OkB->click();
    });
    EXPECT_TRUE(exports::ExportTo(*r, tiff.get()));
    EXPECT_EQ(asked, QStringLiteral("OSAGO"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("sheet.1.tif")});
    EXPECT_EQ(Identify(dir.filePath(QStringLiteral("sheet.1.tif"))), QStringLiteral("TIFF 1588x2246"));
}
