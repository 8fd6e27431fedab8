// The preview's tools for long reports on a 300-page report whose pages wait in the file
// cache: Find (Ctrl+F, F3) marks the hit on screen, the navigator, the outline panel and
// page adding and deleting; the sheet's options keep all of them hidden.
#include "PreviewFixtures.h"

#include "preview/PreviewForm.h"
#include "support/LongReport.h"

#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace preview;
using namespace report;

namespace {

constexpr int Pages = 300;

class PreviewPageTools : public ::testing::Test {
protected:
    void SetUp() override {
        FReport = longreport::Create(Pages);
        FReport->EngineOptions.UseFileCache = true;
        FReport->EngineOptions.MaxMemSize = 0;
        FReport->EngineOptions.TempDir = FCacheDir.path();
        FReport->OnShowError = [this](const QString&, const QString& text) { FMessages << text; };
        ASSERT_TRUE(FReport->Prepare()) << FReport->LastErrorMessage().toStdString();
        ASSERT_GT(FReport->PreviewPages().UnloadedCount(), Pages / 2);
        FForm = std::make_unique<TrpPreviewForm>(*FReport);
        FForm->GetFindText = [this](QWidget*, const QString&) { return FFind; };
        FForm->resize(1000, 800);
        FForm->show();
        QCoreApplication::processEvents();
    }
    TrpPreview* Preview() const { return FForm->Preview(); }
    QString PageText(int pageNo) { return previewtest::PageTexts(*FReport, pageNo - 1); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(FForm.get(), Qt::Key(key), modifiers);
        QCoreApplication::processEvents();
    }

    QTemporaryDir FCacheDir;
    std::unique_ptr<TrpReport> FReport;
    std::unique_ptr<TrpPreviewForm> FForm;
    QString FFind;
    QStringList FMessages;
};

} // namespace

TEST_F(PreviewPageTools, FindMarksEachHitOnScreenAndSaysWhenThereIsNoMore) {
    FFind = QStringLiteral("договор № 25"); // case-insensitive: pages 25 and 250 to 259
    Key(Qt::Key_F, Qt::ControlModifier);
    for (int expected : {25, 250, 251}) {
        EXPECT_EQ(Preview()->PageNo(), expected);
        EXPECT_EQ(Preview()->HighlightPage(), expected);
        const QRect hit = Preview()->HighlightRect();
        ASSERT_FALSE(hit.isEmpty());
        EXPECT_TRUE(Preview()->viewport()->rect().contains(hit)) << expected;
        // The mark is on screen: orange frame pixels where the memo is.
        const QImage shown = Preview()->viewport()->grab().toImage();
        EXPECT_EQ(QColor(shown.pixel(hit.center().x(), hit.top() - 1)), QColor(230, 120, 0)) << expected;
        Key(Qt::Key_F3);
    }
    EXPECT_TRUE(FMessages.isEmpty());

    FFind = QStringLiteral("Договор № 9999");
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(FMessages, QStringList{QStringLiteral("Текст не найден")});
}

TEST_F(PreviewPageTools, NavigatorOutlineAndPageEditing) {
    for (const char* name :
         {"Find", "Outline", "AddPage", "DeletePage", "First", "Prior", "PageBox", "Next", "Last"})
        EXPECT_TRUE(FForm->Action(QLatin1String(name))->isVisible()) << name;

    FForm->Action("Last")->trigger();
    EXPECT_EQ(Preview()->PageNo(), Pages);
    EXPECT_TRUE(PageText(Pages).contains(QStringLiteral("Страница 300 из 300")));
    FForm->PageBox()->setText(QStringLiteral("150"));
    QTest::keyClick(FForm->PageBox(), Qt::Key_Return);
    EXPECT_EQ(Preview()->PageNo(), 150);
    FForm->Action("Next")->trigger();
    EXPECT_EQ(Preview()->PageNo(), 151);
    FForm->Action("First")->trigger();
    EXPECT_EQ(Preview()->PageNo(), 1);

    EXPECT_FALSE(FForm->OutlinePanel()->isVisible());
    FForm->Action("Outline")->trigger();
    ASSERT_TRUE(FForm->OutlinePanel()->isVisible());
    ASSERT_EQ(FForm->OutlinePanel()->topLevelItemCount(), Pages);
    QTreeWidgetItem* entry = FForm->OutlinePanel()->topLevelItem(99);
    EXPECT_EQ(entry->text(0), QStringLiteral("Договор № 100"));
    emit FForm->OutlinePanel()->itemClicked(entry, 0);
    EXPECT_EQ(Preview()->PageNo(), 100);

    // An empty page after page 100, then deleted again; the outline follows.
    FForm->Action("AddPage")->trigger();
    EXPECT_EQ(FReport->PreviewPages().Count(), Pages + 1);
    EXPECT_EQ(Preview()->PageNo(), 101);
    EXPECT_EQ(PageText(101), QString());
    EXPECT_TRUE(PageText(102).contains(longreport::ContractText(101)));
    EXPECT_EQ(FForm->OutlinePanel()->topLevelItem(100)->data(0, Qt::UserRole).toInt(), 101);
    FForm->Action("First")->trigger();
    FForm->Action("DeletePage")->trigger();
    EXPECT_EQ(FReport->PreviewPages().Count(), Pages);
    EXPECT_TRUE(PageText(1).contains(longreport::ContractText(2)));
    EXPECT_EQ(FForm->OutlinePanel()->topLevelItem(0)->text(0), QStringLiteral("Договор № 2"));
}

TEST_F(PreviewPageTools, OptionsDecideWhatShows) {
    // Without AllowEdit the page buttons show but do nothing.
    FReport->PreviewOptions.AllowEdit = false;
    FReport->PreviewOptions.OutlineVisible = true;
    TrpPreviewForm form(*FReport);
    EXPECT_FALSE(form.Action("AddPage")->isEnabled());
    form.AddPage();
    EXPECT_EQ(FReport->PreviewPages().Count(), Pages);
    EXPECT_FALSE(form.OutlinePanel()->isHidden());

    // The sheet: no Find, outline, page buttons or navigator, and Ctrl+F does nothing.
    auto sheet = previewtest::PreparedSheet();
    TrpPreviewForm sheetForm(*sheet);
    bool asked = false;
    sheetForm.GetFindText = [&](QWidget*, const QString&) {
        asked = true;
        return QStringLiteral("ОСАГО");
    };
    sheetForm.show();
    for (const char* name : {"Find", "Outline", "AddPage", "DeletePage", "First", "PageBox", "Last"})
        EXPECT_FALSE(sheetForm.Action(QLatin1String(name))->isVisible()) << name;
    EXPECT_TRUE(sheetForm.OutlinePanel()->isHidden());
    QTest::keyClick(&sheetForm, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(&sheetForm, Qt::Key_F3);
    EXPECT_FALSE(asked);
    EXPECT_EQ(sheetForm.Preview()->HighlightPage(), 0);
}
