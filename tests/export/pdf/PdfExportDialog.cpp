// The options dialog: captions, what it shows on opening and what OK stores.
#include "export/pdf/PdfExportDialog.h"
#include "export/pdf/PdfExport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace exports;

namespace {

// Types text into a widget as key presses, the way a user does.
void Type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

} // namespace

TEST(PdfExportDialog, CaptionsAndDefaults) {
    TrpPDFExport filter;
    EXPECT_EQ(filter.FilterDescription(), QStringLiteral("Документ PDF"));
    EXPECT_EQ(filter.FilterText(), QStringLiteral("Файл Adobe PDF (*.pdf)|*.pdf"));
    EXPECT_EQ(filter.DefaultExt(), QStringLiteral(".pdf"));
    EXPECT_TRUE(filter.Compressed());
    EXPECT_FALSE(filter.EmbeddedFonts());
    EXPECT_TRUE(filter.HTMLTags());
    EXPECT_EQ(filter.Author(), QStringLiteral("Tarifon"));
    EXPECT_EQ(filter.Subject(), QStringLiteral("Tarifon PDF export"));
    EXPECT_TRUE(filter.Creator().startsWith(QStringLiteral("Tarifon (")));

    TrpPDFExportDialog d(filter);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Экспорт в PDF"));
    EXPECT_EQ(d.size(), QSize(278, 271));
    const std::pair<QAbstractButton*, const char*> captions[] = {
        {d.AllRB, "Все"},
        {d.CurPageRB, "Текущая"},
        {d.PageNumbersRB, "Номера:"},
        {d.CompressedCB, "Компрессия"},
        {d.EmbeddedCB, "Встроить шрифты"},
        {d.PrintOptCB, "Высокое разрешение"},
        {d.OutlineCB, "Оглавление"},
        {d.BackgrCB, "Фон"},
        {d.OpenCB, "Открыть после экспорта"},
        {d.CancelB, "Отмена"},
    };
    for (const auto& [button, text] : captions)
        EXPECT_EQ(button->text(), QString::fromUtf8(text));
    EXPECT_EQ(d.GroupPageRange->title(), QStringLiteral("Страницы"));
    EXPECT_EQ(d.Options->title(), QStringLiteral("Опции"));
    EXPECT_TRUE(d.AllRB->isChecked());
    EXPECT_TRUE(d.CompressedCB->isChecked());
    EXPECT_FALSE(d.OutlineCB->isEnabled()); // the filter's outline is off
}

TEST(PdfExportDialog, PageNumbersAndStore) {
    TrpPDFExport filter;
    filter.SetPageNumbers(QStringLiteral("1,3"));
    filter.SetOutline(true);
    TrpPDFExportDialog d(filter);
    EXPECT_TRUE(d.PageNumbersRB->isChecked());
    EXPECT_EQ(d.PageNumbersE->text(), QStringLiteral("1,3"));
    EXPECT_TRUE(d.OutlineCB->isEnabled());

    // Only digits, commas and dashes get in; typing selects the numbers button.
    d.AllRB->setChecked(true);
    d.PageNumbersE->clear();
    Type(d.PageNumbersE, QStringLiteral("2a-5, x7"));
    EXPECT_EQ(d.PageNumbersE->text(), QStringLiteral("2-5,7"));
    EXPECT_TRUE(d.PageNumbersRB->isChecked());

    d.EmbeddedCB->setChecked(true);
    d.CompressedCB->setChecked(false);
    d.Store(filter);
    EXPECT_EQ(filter.PageNumbers(), QStringLiteral("2-5,7"));
    EXPECT_TRUE(filter.EmbeddedFonts());
    EXPECT_FALSE(filter.Compressed());

    d.CurPageRB->setChecked(true);
    d.Store(filter);
    EXPECT_TRUE(filter.CurPage());
    EXPECT_TRUE(filter.PageNumbers().isEmpty());
}

TEST(PdfExportDialog, AttachmentWriterHidesOpenAfterExport) {
    TrpPDFExport attachment(true);
    attachment.SetOpenAfterExport(true);
    TrpPDFExportDialog d(attachment);
    EXPECT_TRUE(d.OpenCB->isHidden());
    d.Store(attachment);
    EXPECT_FALSE(attachment.OpenAfterExport());
    const QString name = attachment.TemporaryTarget();
    EXPECT_TRUE(name.endsWith(QStringLiteral(".pdf")));
    QFile::remove(name);
}
