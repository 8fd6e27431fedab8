// The Excel export's options dialog: captions, what it shows on opening, what OK stores, and
// the attachment writer's variant.
#include "export/xls/XlsExportDialog.h"
#include "export/xls/XlsExport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace exports;

TEST(XlsExportDialog, CaptionsAndTheFiltersSettings) {
    TrpXLSExport filter(true);
    filter.SetPageNumbers(QStringLiteral("1-2"));
    filter.SetEmptyLines(false);
    filter.SetAsText(true);
    TrpXLSExportDialog dialog(filter);
    EXPECT_EQ(dialog.windowTitle(), u"Экспорт в Excel");
    EXPECT_EQ(dialog.size(), QSize(277, 284));
    const std::pair<QCheckBox*, const char*> boxes[] = {{dialog.ContinuousCB, "Неразрывный"},
                                                        {dialog.PicturesCB, "Картинки"},
                                                        {dialog.MergeCB, "Объединять ячейки"},
                                                        {dialog.PageBreaksCB, "Разрывы страниц"},
                                                        {dialog.FastExpCB, "Быстрый экспорт"},
                                                        {dialog.WCB, "WYSIWYG"},
                                                        {dialog.AsTextCB, "Как текст"},
                                                        {dialog.BackgrCB, "Фон"},
                                                        {dialog.OpenExcelCB, "Открыть Excel после экспорта"}};
    for (const auto& [box, caption] : boxes)
        EXPECT_EQ(box->text(), QString::fromUtf8(caption));
    EXPECT_TRUE(dialog.ContinuousCB->isChecked()); // empty lines off
    EXPECT_TRUE(dialog.AsTextCB->isChecked());
    EXPECT_TRUE(dialog.PageNumbersRB->isChecked());
    EXPECT_EQ(dialog.PageNumbersE->text(), u"1-2");
    // Serving the e-mail export: nothing to open afterwards.
    EXPECT_TRUE(dialog.OpenExcelCB->isHidden());
}

TEST(XlsExportDialog, OkStoresTheChoices) {
    TrpXLSExport filter(true);
    TrpXLSExportDialog dialog(filter);
    EXPECT_FALSE(dialog.ContinuousCB->isChecked());
    dialog.ContinuousCB->setChecked(true);
    dialog.FastExpCB->setChecked(false);
    dialog.MergeCB->setChecked(false);
    dialog.CurPageRB->setChecked(true);
    dialog.OpenExcelCB->setChecked(true);
    dialog.Store(filter);
    EXPECT_FALSE(filter.EmptyLines());
    EXPECT_TRUE(filter.SuppressPageHeadersFooters());
    EXPECT_FALSE(filter.FastExport());
    EXPECT_FALSE(filter.MergeCells());
    EXPECT_TRUE(filter.CurPage());
    EXPECT_FALSE(filter.OpenExcelAfterExport()); // never for the attachment writer

    TrpXLSExport own;
    TrpXLSExportDialog shown(own);
    EXPECT_FALSE(shown.OpenExcelCB->isHidden());
    shown.OpenExcelCB->setChecked(true);
    shown.Store(own);
    EXPECT_TRUE(own.OpenExcelAfterExport());
    EXPECT_EQ(own.FilterDescription(), u"Документ Excel (OLE)");
    EXPECT_EQ(own.DefaultExt(), u".xls");
}
