// The options dialogs of the three text exports: filled from the filter, read back on OK, and
// the printer text's preview pane showing the chosen page as the current settings export it.
#include "TextTools.h"

#include "export/PageRangeGroup.h"
#include "export/text/CSVExport.h"
#include "export/text/CSVExportDialog.h"
#include "export/text/SimpleTextExport.h"
#include "export/text/SimpleTextExportDialog.h"
#include "export/text/TXTExport.h"
#include "export/text/TXTExportDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QTest>

using namespace texttest;
using namespace exports;

TEST(TextDialogs, CsvAndPlainTextDialogsShowAndStoreTheFiltersOptions) {
    TrpCSVExport csv;
    csv.SetSeparator(QStringLiteral("||"));
    csv.SetOEMCodepage(true);
    csv.SetPageNumbers(QStringLiteral("2-3"));
    TrpCSVExportDialog d(csv);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Экспорт в CSV"));
    EXPECT_EQ(d.size(), QSize(277, 242));
    EXPECT_EQ(d.SeparatorE->text(), QStringLiteral("||"));
    EXPECT_TRUE(d.OEMCB->isChecked());
    EXPECT_TRUE(d.GroupPageRange->PageNumbersRB->isChecked());
    EXPECT_FALSE(d.OpenCB->isHidden());
    // Once shown, Alt and a letter reach every button and box, each by a letter of its own.
    d.show();
    QSet<QKeySequence> letters;
    const auto buttons = d.findChildren<QAbstractButton*>();
    for (QAbstractButton* b : buttons)
        letters.insert(QKeySequence::mnemonic(b->text()));
    letters.remove(QKeySequence());
    EXPECT_EQ(letters.size(), buttons.size());
    // The page list takes digits, commas and dashes; typing there chooses it.
    d.GroupPageRange->AllRB->setChecked(true);
    d.GroupPageRange->PageNumbersE->clear();
    QTest::keyClicks(d.GroupPageRange->PageNumbersE, QStringLiteral("1,a3-"));
    EXPECT_EQ(d.GroupPageRange->PageNumbersE->text(), QStringLiteral("1,3-"));
    EXPECT_TRUE(d.GroupPageRange->PageNumbersRB->isChecked());
    d.SeparatorE->setText(QStringLiteral("\t"));
    d.OEMCB->setChecked(false);
    d.OpenCB->setChecked(true);
    d.Store(csv);
    EXPECT_EQ(csv.Separator(), QStringLiteral("\t"));
    EXPECT_FALSE(csv.OEMCodepage());
    EXPECT_TRUE(csv.OpenAfterExport());
    EXPECT_EQ(csv.PageNumbers(), QStringLiteral("1,3-"));

    // An attachment is never opened: the box is not offered.
    TrpSimpleTextExport attachment(true);
    attachment.SetFrames(true);
    TrpSimpleTextExportDialog s(attachment);
    EXPECT_EQ(s.windowTitle(), QStringLiteral("Экспорт в текст"));
    EXPECT_TRUE(s.OpenCB->isHidden());
    EXPECT_TRUE(s.FramesCB->isChecked());
    EXPECT_TRUE(s.PageBreaksCB->isChecked());
    s.GroupPageRange->CurPageRB->setChecked(true);
    s.PageBreaksCB->setChecked(false);
    s.EmptyLinesCB->setChecked(true);
    s.OpenCB->setChecked(true);
    s.Store(attachment);
    EXPECT_TRUE(attachment.CurPage());
    EXPECT_FALSE(attachment.PageBreaks());
    EXPECT_TRUE(attachment.EmptyLines());
    EXPECT_FALSE(attachment.OpenAfterExport());
}

TEST(TextDialogs, PrinterTextPreviewShowsTheChosenPageWithTheCurrentSettings) {
    std::unique_ptr<TrpReport> r = MemoReport(
        {{{14, 16, 140, 24, "Первая страница", ftAll}}, {{14, 16, 140, 24, "Вторая страница", ftAll}}});
    TrpTXTExport filter;
    filter.SetReport(r.get());
    TrpTXTExportDialog d(filter);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(d.width(), 277);
    EXPECT_TRUE(d.PreviewText->isHidden());
    const int left = d.x();
    d.PreviewB->click();
    EXPECT_EQ(d.width(), 631);
    EXPECT_EQ(d.x(), left - 177);
    ASSERT_TRUE(d.PreviewText->isVisible());
    EXPECT_EQ(d.PreviewText->toPlainText(), QStringLiteral("Первая страница\n"));
    EXPECT_EQ(d.PreviewSizeL->text(), QStringLiteral("Ширина: 15, высота: 1"));

    // Each change shows at once: another page, frames, scale.
    d.PagesE->setText(QStringLiteral("2"));
    EXPECT_EQ(d.PreviewText->toPlainText(), QStringLiteral("Вторая страница\n"));
    d.FramesTextRB->setChecked(true);
    EXPECT_EQ(d.PreviewText->toPlainText(),
              QStringLiteral("+-------------------+\n|Вторая страница    |\n|                   |\n"
                             "+-------------------+\n"));
    EXPECT_EQ(d.PreviewSizeL->text(), QStringLiteral("Ширина: 21, высота: 4"));
    d.ScaleX->setValue(50);
    EXPECT_EQ(d.PreviewText->toPlainText(),
              QStringLiteral("+---------+\n|Вторая   |\n|страница |\n+---------+\n"));
    // The pane shows the text a person reads.
    const QImage shown = d.grab().toImage();
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 300; x < shown.width(); ++x)
            dark += qGray(shown.pixel(x, y)) < 100;
    EXPECT_GT(dark, 100);

    // OK takes the settings, and the export's own settings change only then.
    EXPECT_FALSE(filter.Borders());
    d.Store(filter);
    EXPECT_TRUE(filter.Borders());
    EXPECT_FALSE(filter.Pseudogrpahic());
    EXPECT_EQ(filter.ScaleWidth(), 0.5L);
    EXPECT_EQ(filter.PageNumbers(), QStringLiteral("2"));
    d.PreviewB->click();
    EXPECT_EQ(d.width(), 277);
    EXPECT_EQ(d.x(), left);
}
