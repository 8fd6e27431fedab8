// The options dialog: captions that fit, what it shows on opening, what OK stores, and the
// dialogs cancelled before anything is written.
#include "HtmlTools.h"

#include "export/html/HtmlExportDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace htmltest;
using exports::TrpHTMLExport;
using exports::TrpHTMLExportDialog;

TEST(HtmlDialog, CaptionsFit) {
    TrpHTMLExport filter;
    TrpHTMLExportDialog d(filter);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Экспорт в HTML (табличный)"));
    const std::pair<QAbstractButton*, const char*> captions[] = {
        {d.AllRB, "Все"},
        {d.CurPageRB, "Текущая"},
        {d.PageNumbersRB, "Номера:"},
        {d.StylesCB, "Стили"},
        {d.PicsSameCB, "Все в одной папке"},
        {d.FixWidthCB, "Фикс.ширина"},
        {d.NavigatorCB, "Навигатор"},
        {d.MultipageCB, "Многостраничный"},
        {d.BackgrCB, "Фон"},
        {d.OpenAfterCB, "Открыть после экспорта"},
        {d.CancelB, "Отмена"},
    };
    for (const auto& [button, text] : captions) {
        EXPECT_EQ(button->text(), QString::fromUtf8(text));
        // Nothing of a caption is cut off.
        const int needed = qobject_cast<QPushButton*>(button)
                               ? button->fontMetrics().horizontalAdvance(button->text()) + 8
                               : button->sizeHint().width();
        EXPECT_LE(needed, button->width()) << text;
        EXPECT_TRUE(d.rect().contains(button->mapTo(&d, button->rect().bottomRight()))) << text;
    }
    EXPECT_EQ(d.PicturesL->text(), QStringLiteral("Картинки"));
    EXPECT_EQ(d.GroupPageRange->title(), QStringLiteral("Страницы"));
    EXPECT_EQ(d.PFormatCB->count(), 4);
    EXPECT_EQ(d.PFormatCB->itemText(0), QStringLiteral("Нет"));
}

TEST(HtmlDialog, PictureFormatsBothWays) {
    const struct {
        bool Pictures, Jpeg, Gif;
        int Item;
    } formats[] = {
        {false, true, false, 0}, {true, true, false, 1}, {true, false, false, 2}, {true, false, true, 3}};
    for (const auto& f : formats) {
        SCOPED_TRACE(f.Item);
        TrpHTMLExport filter;
        filter.SetExportPictures(f.Pictures);
        filter.SetUseJpeg(f.Jpeg);
        filter.SetUseGif(f.Gif);
        EXPECT_EQ(TrpHTMLExportDialog(filter).PFormatCB->currentIndex(), f.Item);

        TrpHTMLExport other;
        TrpHTMLExportDialog d(other);
        d.PFormatCB->setCurrentIndex(f.Item);
        d.Store(other);
        EXPECT_EQ(other.ExportPictures(), f.Pictures);
        EXPECT_EQ(other.UseGif(), f.Gif);
        EXPECT_EQ(other.UseJpeg(), f.Item == 1);
    }
}

TEST(HtmlDialog, OkStoresEveryChoiceAndASubordinateOffersNoFiles) {
    TrpHTMLExport filter;
    {
        TrpHTMLExportDialog d(filter);
        d.PageNumbersRB->setChecked(true);
        d.PageNumbersE->setText(QStringLiteral("2-3"));
        for (QCheckBox* flip : {d.StylesCB, d.PicsSameCB, d.FixWidthCB, d.NavigatorCB, d.MultipageCB,
                                d.BackgrCB, d.OpenAfterCB})
            flip->setChecked(!flip->isChecked());
        d.Store(filter);
    }
    EXPECT_EQ(filter.PageNumbers(), QStringLiteral("2-3"));
    EXPECT_FALSE(filter.ExportStyles());
    EXPECT_TRUE(filter.PicsInSameFolder());
    EXPECT_FALSE(filter.FixedWidth());
    EXPECT_TRUE(filter.Navigator());
    EXPECT_TRUE(filter.Multipage());
    EXPECT_TRUE(filter.Background());
    EXPECT_TRUE(filter.OpenAfterExport());
    // Reopened, it shows what was stored.
    TrpHTMLExportDialog again(filter);
    EXPECT_TRUE(again.PageNumbersRB->isChecked());
    EXPECT_TRUE(again.NavigatorCB->isChecked());

    TrpHTMLExport attachment(true);
    TrpHTMLExportDialog d(attachment);
    for (QWidget* off :
         std::initializer_list<QWidget*>{d.PFormatCB, d.PicsSameCB, d.NavigatorCB, d.MultipageCB, d.BackgrCB})
        EXPECT_FALSE(off->isEnabled());
    EXPECT_TRUE(d.OpenAfterCB->isHidden());
    EXPECT_TRUE(d.StylesCB->isEnabled());
}

TEST(HtmlDialog, CancelledDialogsWriteNothing) {
    std::unique_ptr<TrpReport> r = TwoPageReport();
    QTemporaryDir dir;
    auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                ok ? d->accept() : d->reject();
        });
    };
    {
        TrpHTMLExport filter;
        filter.SetShowProgress(false);
        filter.SetFileName(dir.filePath(QStringLiteral("cancelled.html")));
        answer(false);
        EXPECT_FALSE(exports::ExportTo(*r, &filter));
    }
    {
        TrpHTMLExport filter;
        filter.SetShowProgress(false);
        bool asked = false;
        filter.OnSaveDialog = [&](const QString& initial) {
            asked = true;
            EXPECT_EQ(initial, QStringLiteral("Две страницы.html"));
            return QString();
        };
        answer(true);
        EXPECT_FALSE(exports::ExportTo(*r, &filter));
        EXPECT_TRUE(asked);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}
