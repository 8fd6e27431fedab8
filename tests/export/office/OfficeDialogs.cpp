// The options dialogs of both filters: captions as the user reads them, what they show on
// opening and what OK stores, and the export they start.
#include "OfficeTools.h"
#include "export/rtf/RtfExport.h"
#include "export/rtf/RtfExportDialog.h"
#include "export/xml/XmlExport.h"
#include "export/xml/XmlExportDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTimer>

using namespace officetest;
using namespace exports;

namespace {

// Every caption of a check box or radio button is read whole: the control is as wide as its
// box and text need.
void ExpectUnclipped(const QDialog& d) {
    for (const QAbstractButton* b : d.findChildren<QAbstractButton*>()) {
        if (b->isVisibleTo(&d) && !qobject_cast<const QPushButton*>(b)) {
            EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
        }
    }
}

void ExpectCaptions(const std::vector<std::pair<QAbstractButton*, const char*>>& captions) {
    for (const auto& [button, text] : captions)
        EXPECT_EQ(button->text(), QString::fromUtf8(text));
}

} // namespace

TEST(OfficeDialogs, RtfCaptionsAndStore) {
    TrpRTFExport filter;
    EXPECT_EQ(filter.FilterDescription(), QStringLiteral("Документ Word (табличный)"));
    EXPECT_EQ(filter.FilterText(), QStringLiteral("Файл RTF (*.rtf)|*.rtf"));
    EXPECT_EQ(filter.DefaultExt(), QStringLiteral(".rtf"));
    EXPECT_TRUE(filter.ExportPageBreaks() && filter.ExportPictures() && filter.Wysiwyg());
    EXPECT_FALSE(filter.OpenAfterExport());
    EXPECT_EQ(filter.HeaderFooterMode(), hfText);

    TrpRTFExportDialog d(filter);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Экспорт в RTF (табличный)"));
    ExpectCaptions({{d.AllRB, "Все"},
                    {d.CurPageRB, "Текущая"},
                    {d.PageNumbersRB, "Номера:"},
                    {d.ContinuousCB, "Неразрывный"},
                    {d.PicturesCB, "Картинки"},
                    {d.PageBreaksCB, "Разрывы страниц"},
                    {d.WCB, "WYSIWYG"},
                    {d.OpenCB, "Открыть после экспорта"},
                    {d.OkB, "ОК"},
                    {d.CancelB, "Отмена"}});
    EXPECT_EQ(d.HeadFootL->text(), QStringLiteral("Колонтитулы"));
    ASSERT_EQ(d.PColontitulCB->count(), 3);
    EXPECT_EQ(d.PColontitulCB->itemText(0), QStringLiteral("Текст"));
    EXPECT_EQ(d.PColontitulCB->itemText(1), QStringLiteral("Колонтитулы"));
    EXPECT_EQ(d.PColontitulCB->itemText(2), QStringLiteral("Нет"));
    EXPECT_FALSE(d.PColontitulCB->isEditable());
    ExpectUnclipped(d);

    // Real headers and footers are written once each; the other modes leave the box alone.
    for (int mode : {hfText, hfPrint, hfNone}) {
        TrpRTFExportDialog again(filter);
        again.ContinuousCB->setChecked(false);
        again.PicturesCB->setChecked(false);
        again.OpenCB->setChecked(true);
        again.PColontitulCB->setCurrentIndex(mode);
        again.Store(filter);
        EXPECT_EQ(filter.HeaderFooterMode(), mode);
        EXPECT_EQ(filter.SuppressPageHeadersFooters(), mode == hfPrint);
        EXPECT_FALSE(filter.ExportPictures());
        EXPECT_TRUE(filter.OpenAfterExport());
    }
    // An attachment is never opened: no box, and the property cleared.
    TrpRTFExport attachment(true);
    attachment.SetOpenAfterExport(true);
    TrpRTFExportDialog sub(attachment);
    EXPECT_FALSE(sub.OpenCB->isVisibleTo(&sub));
    sub.Store(attachment);
    EXPECT_FALSE(attachment.OpenAfterExport());
}

TEST(OfficeDialogs, XmlCaptionsAndContinuous) {
    TrpXMLExport filter;
    EXPECT_EQ(filter.FilterDescription(), QStringLiteral("Документ Excel (XML)"));
    EXPECT_EQ(filter.FilterText(), QStringLiteral("Файл Excel (*.xls)|*.xls"));
    EXPECT_EQ(filter.DefaultExt(), QStringLiteral(".xls"));
    EXPECT_EQ(filter.Creator(), QStringLiteral("Tarifon"));
    {
        TrpXMLExportDialog d(filter);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Экспорт в Excel"));
        ExpectCaptions({{d.ContinuousCB, "Неразрывный"},
                        {d.PageBreaksCB, "Разрывы страниц"},
                        {d.WCB, "WYSIWYG"},
                        {d.BackgrCB, "Фон"},
                        {d.OpenExcelCB, "Открыть Excel после экспорта"}});
        ExpectUnclipped(d);
    }
    // What the two boxes show for the three properties, and what they store back.
    const struct {
        bool EmptyLines, Suppress, PageBreaks;
        bool Continuous, Breaks;
    } opening[] = {
        {true, false, true, false, true},
        {false, false, true, true, false},
        {true, true, true, true, false},
        {true, false, false, false, false},
    };
    for (const auto& o : opening) {
        filter.SetEmptyLines(o.EmptyLines);
        filter.SetSuppressPageHeadersFooters(o.Suppress);
        filter.SetExportPageBreaks(o.PageBreaks);
        TrpXMLExportDialog d(filter);
        EXPECT_EQ(d.ContinuousCB->isChecked(), o.Continuous);
        EXPECT_EQ(d.PageBreaksCB->isChecked(), o.Breaks);
    }
    for (bool continuous : {false, true}) {
        TrpXMLExportDialog d(filter);
        d.ContinuousCB->setChecked(continuous);
        d.PageBreaksCB->setChecked(true);
        d.Store(filter);
        EXPECT_EQ(filter.EmptyLines(), !continuous);
        EXPECT_EQ(filter.SuppressPageHeadersFooters(), continuous);
        EXPECT_EQ(filter.ExportPageBreaks(), !continuous);
    }
}

TEST(OfficeDialogs, CancelWritesNothingAndOkAsksForTheFile) {
    auto r = PreparedSheet();
    QTemporaryDir dir;
    auto closeDialog = [](bool accept) {
        QTimer::singleShot(0, [accept] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                accept ? d->accept() : d->reject();
        });
    };
    std::unique_ptr<TrpCustomExportFilter> filters[] = {std::make_unique<TrpRTFExport>(),
                                                        std::make_unique<TrpXMLExport>()};
    for (auto& f : filters) {
        f->SetShowProgress(false);
        QStringList asked;
        const QString target = dir.filePath(QStringLiteral("chosen"));
        auto ask = [&](const QString& initial) {
            asked << initial;
            return asked.size() == 1 ? QString() : target; // cancelled first, then a file
        };
        if (auto* rtf = dynamic_cast<TrpRTFExport*>(f.get()))
            rtf->OnSaveDialog = ask;
        else
            static_cast<TrpXMLExport*>(f.get())->OnSaveDialog = ask;
        closeDialog(false);
        EXPECT_FALSE(ExportTo(*r, f.get()));
        EXPECT_TRUE(asked.isEmpty());
        closeDialog(true);
        EXPECT_FALSE(ExportTo(*r, f.get()));
        ASSERT_EQ(asked.size(), 1);
        // Without a file name of its own the report's name is offered, with the extension.
        EXPECT_TRUE(asked[0].startsWith(QStringLiteral("Расчет стоимости ОСАГО."))) << asked[0].toStdString();
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        closeDialog(true);
        EXPECT_TRUE(ExportTo(*r, f.get()));
        EXPECT_TRUE(QFile::exists(target));
        QFile::remove(target);
    }
}
