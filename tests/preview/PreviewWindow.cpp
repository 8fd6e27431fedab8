// The preview window offscreen: its toolbar for the sheet, zoom, keys, wheel, tools, links,
// the export menu and closing rules.
#include "PreviewFixtures.h"

#include "export/ExportFilter.h"
#include "preview/PreviewForm.h"
#include "report/ViewPainter.h"
#include "support/LongReport.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>

using namespace preview;
using namespace report;
using namespace previewtest;

namespace {

class PreviewWindow : public ::testing::Test {
protected:
    void SetUp() override {
        FReport = PreparedSheet();
        FForm = std::make_unique<TrpPreviewForm>(*FReport);
        FForm->resize(1280, 1024);
        FForm->show();
        QCoreApplication::processEvents();
    }
    TrpPreview* Preview() const { return FForm->Preview(); }
    void Wheel(int notches, Qt::KeyboardModifiers modifiers) {
        const QPointF at(100, 100);
        QWheelEvent e(at, Preview()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, notches * 120),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(Preview()->viewport(), &e);
    }

    std::unique_ptr<TrpReport> FReport;
    std::unique_ptr<TrpPreviewForm> FForm;
};

TEST_F(PreviewWindow, SheetWindowShowsItsButtonsCaptionAndStatus) {
    EXPECT_EQ(FForm->windowTitle(), QStringLiteral("Расчет стоимости ОСАГО"));
    EXPECT_EQ(FForm->PagePanel()->text(), QStringLiteral("Страница 1 из 1"));
    struct Button {
        const char* name;
        bool visible;
        const char* hint;
    } buttons[] = {
        {"Print", true, "Печать"},
        {"Open", true, "Открыть"},
        {"Save", true, "Сохранить"},
        {"Export", false, "Экспорт"}, // no filter registered here
        {"WholePage", true, "Страница целиком"},
        {"PageWidth", true, "По ширине"},
        {"Zoom100", true, "100%"},
        {"TwoPages", true, "Две страницы"},
        {"ZoomBox", true, nullptr},
        {"FullScreen", true, "Во весь экран"},
        {"Margins", true, "Свойства страницы"},
        {"Drag", true, "Рука"},
        {"ZoomTool", true, "Лупа"},
        {"Find", false, "Найти"},
        {"Outline", false, "Дерево отчета"},
        {"AddPage", false, "Добавить страницу"},
        {"First", false, "На первую страницу"},
        {"PageBox", false, nullptr},
        {"PdfQuick", false, "Сохранить в PDF"},
        {"EmailQuick", false, "Отослать по E-mail"},
        {"Close", true, "Отмена"},
    };
    for (const Button& b : buttons) {
        QAction* a = FForm->Action(QString::fromUtf8(b.name));
        ASSERT_NE(a, nullptr) << b.name;
        EXPECT_EQ(a->isVisible(), b.visible) << b.name;
        if (b.hint) {
            EXPECT_EQ(a->toolTip(), QString::fromUtf8(b.hint)) << b.name;
        }
    }
    EXPECT_EQ(FForm->ZoomBox()->toolTip(), QStringLiteral("Масштаб"));
    // Without captions only pictures show.
    EXPECT_EQ(FForm->ToolBar()->toolButtonStyle(), Qt::ToolButtonIconOnly);
}

TEST_F(PreviewWindow, ZoomBoxOffersItsEntriesAndAppliesTypedValues) {
    QStringList items;
    for (int i = 0; i < FForm->ZoomBox()->count(); ++i)
        items << FForm->ZoomBox()->itemText(i);
    EXPECT_EQ(items,
              (QStringList{"25%", "50%", "75%", "100%", "150%", "200%", "По ширине", "Страница целиком"}));

    FForm->ZoomBox()->lineEdit()->setText(QStringLiteral("150 %"));
    QTest::keyClick(FForm->ZoomBox()->lineEdit(), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(double(Preview()->Zoom()), 1.5);
    EXPECT_EQ(Preview()->ZoomMode(), zmDefault);
    EXPECT_EQ(FForm->ZoomBox()->currentText(), QStringLiteral("150%"));

    FForm->ApplyZoomText(QStringLiteral("По ширине"));
    EXPECT_EQ(Preview()->ZoomMode(), zmPageWidth);
    EXPECT_NEAR(double(Preview()->Zoom()), (Preview()->width() - 52) / 794.0, 1e-9);

    FForm->ApplyZoomText(QStringLiteral("Страница целиком"));
    EXPECT_EQ(Preview()->ZoomMode(), zmWholePage);
    EXPECT_NEAR(double(Preview()->Zoom()), (Preview()->viewport()->height() - 20) / 1123.0, 1e-9);

    // A wrong entry changes nothing; a tiny one stops at 25 %.
    FForm->ApplyZoomText(QStringLiteral("abc"));
    EXPECT_EQ(Preview()->ZoomMode(), zmWholePage);
    FForm->ApplyZoomText(QStringLiteral("5%"));
    EXPECT_DOUBLE_EQ(double(Preview()->Zoom()), 0.25);
}

TEST_F(PreviewWindow, ZoomButtonsAndTwoPages) {
    FForm->Action(QStringLiteral("TwoPages"))->trigger();
    EXPECT_EQ(Preview()->ZoomMode(), zmManyPages);
    EXPECT_NEAR(double(Preview()->Zoom()), (Preview()->viewport()->width() - 32) / (2 * 794.0), 1e-9);
    FForm->Action(QStringLiteral("Zoom100"))->trigger();
    EXPECT_EQ(Preview()->ZoomMode(), zmDefault);
    EXPECT_DOUBLE_EQ(double(Preview()->Zoom()), 1.0);
    // The page is centred in the workspace, 10 units from the top.
    const QRect page = Preview()->Layout().Pages.at(0);
    EXPECT_EQ(page.top(), 10);
    EXPECT_EQ(page.left(), (Preview()->viewport()->width() - 794) / 2);
}

TEST_F(PreviewWindow, KeysAndWheelScrollAndZoom) {
    Preview()->SetZoom(2.0L);
    Preview()->ScrollTo(QPoint(0, 0));
    Preview()->setFocus();
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int dy;
    } steps[] = {{Qt::Key_PageDown, Qt::NoModifier, 300},
                 {Qt::Key_Down, Qt::NoModifier, 8},
                 {Qt::Key_Up, Qt::NoModifier, -8},
                 {Qt::Key_PageUp, Qt::NoModifier, -300}};
    for (const Step& s : steps) {
        const int before = Preview()->ScrollPosition().y();
        QTest::keyClick(Preview(), s.key, s.modifiers);
        EXPECT_EQ(Preview()->ScrollPosition().y() - before, s.dy) << s.key;
    }
    const int x = Preview()->ScrollPosition().x();
    QTest::keyClick(Preview(), Qt::Key_Right);
    EXPECT_EQ(Preview()->ScrollPosition().x() - x, 8);

    Preview()->ScrollTo(QPoint(0, 200));
    Wheel(-1, Qt::NoModifier);
    EXPECT_EQ(Preview()->ScrollPosition().y(), 220);
    Wheel(2, Qt::NoModifier);
    EXPECT_EQ(Preview()->ScrollPosition().y(), 180);
    Preview()->ScrollTo(QPoint(100, 180));
    Wheel(-1, Qt::ShiftModifier);
    EXPECT_EQ(Preview()->ScrollPosition(), QPoint(120, 180));

    Wheel(1, Qt::ControlModifier);
    EXPECT_NEAR(double(Preview()->Zoom()), 2.1, 1e-9);
    Preview()->SetZoom(0.35L);
    Wheel(-1, Qt::ControlModifier);
    EXPECT_NEAR(double(Preview()->Zoom()), 0.3, 1e-9);
    Wheel(-1, Qt::ControlModifier);
    EXPECT_NEAR(double(Preview()->Zoom()), 0.3, 1e-9);

    // Home goes to the first page: its top 10 pixels below the window's top.
    Preview()->SetZoom(2.0L);
    Preview()->ScrollTo(QPoint(0, 900));
    QTest::keyClick(Preview(), Qt::Key_Home);
    EXPECT_EQ(Preview()->ScrollPosition().y(), Preview()->Layout().Pages[0].top() - 10);
}

TEST_F(PreviewWindow, ZoomToolAndDragTool) {
    Preview()->SetZoom(1.0L);
    FForm->Action(QStringLiteral("ZoomTool"))->trigger();
    EXPECT_EQ(Preview()->Tool(), ptZoom);
    QTest::mouseClick(Preview()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_DOUBLE_EQ(double(Preview()->Zoom()), 1.25);
    QTest::mouseClick(Preview()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseClick(Preview()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_DOUBLE_EQ(double(Preview()->Zoom()), 0.75);

    FForm->Action(QStringLiteral("Drag"))->trigger();
    Preview()->SetZoom(3.0L);
    Preview()->ScrollTo(QPoint(300, 300));
    QTest::mousePress(Preview()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(55, 25), Preview()->viewport()->mapToGlobal(QPointF(55, 25)),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Preview()->viewport(), &move);
    QTest::mouseRelease(Preview()->viewport(), Qt::LeftButton, {}, QPoint(55, 25));
    EXPECT_EQ(Preview()->ScrollPosition(), QPoint(250, 280));
}

TEST_F(PreviewWindow, LinksShowAHandAndOpenThroughTheDesktop) {
    QStringList opened;
    Preview()->OnOpenUrl = [&](const QString& url) { opened << url; };
    Preview()->SetZoom(1.0L);
    Preview()->ScrollTo(QPoint(0, 0));
    // The web address memo of the sheet's header.
    TrpReportPage* page = FReport->PreviewPages().Page(0);
    const TrpView* web = nullptr;
    for (const auto& o : page->Objects())
        if (auto* v = dynamic_cast<const TrpView*>(o.get()); v && v->URL().startsWith(QStringLiteral("http")))
            web = v;
    ASSERT_NE(web, nullptr);
    const QRect r = Preview()->Layout().Pages[0];
    const QPoint at(r.left() + int((page->LeftMargin() * fr01cm) + web->Left() + web->Width() / 2),
                    r.top() + int((page->TopMargin() * fr01cm) + web->Top() + web->Height() / 2));
    const QPoint inViewport = at - Preview()->ScrollPosition();
    ASSERT_EQ(Preview()->LinkAt(inViewport), web);
    QTest::mouseMove(Preview()->viewport(), inViewport);
    EXPECT_EQ(Preview()->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(Preview()->viewport(), Qt::LeftButton, {}, inViewport);
    EXPECT_EQ(opened, QStringList{web->URL()});
    // Away from links the pointer is the tool's.
    EXPECT_EQ(Preview()->LinkAt(QPoint(1, 1)), nullptr);
}

TEST_F(PreviewWindow, EscClosesButNotWhilePrintingOrExporting) {
    FForm->Preview()->Lock();
    QTest::keyClick(FForm.get(), Qt::Key_Escape);
    EXPECT_TRUE(FForm->isVisible());
    EXPECT_TRUE(FReport->Terminated()) << "Esc cancels the running job";
    EXPECT_FALSE(FForm->close());
    EXPECT_TRUE(FForm->isVisible());
    FForm->Preview()->Unlock();
    FReport->SetTerminated(false);
    QTest::keyClick(FForm.get(), Qt::Key_Escape);
    EXPECT_FALSE(FForm->isVisible());
}

TEST_F(PreviewWindow, ShortcutsOnlyForButtonsThatAreThere) {
    int saves = 0;
    FForm->GetSaveFileName = [&](QWidget*, const QString& filter) {
        ++saves;
        EXPECT_EQ(filter, QStringLiteral("Готовый отчет (*.trp)"));
        return QString();
    };
    QTest::keyClick(FForm.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 1);
    FReport->PreviewOptions.Buttons &= ~pbSave;
    QTest::keyClick(FForm.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 1);
    // No find button on the sheet: Ctrl+F changes nothing.
    const Extended zoom = Preview()->Zoom();
    QTest::keyClick(FForm.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(Preview()->Zoom(), zoom);
    EXPECT_TRUE(FForm->isVisible());
}

TEST_F(PreviewWindow, FullScreenTogglesWithF11AndLeavesOnDoubleClick) {
    QTest::keyClick(FForm.get(), Qt::Key_F11);
    EXPECT_TRUE(FForm->FullScreen());
    EXPECT_FALSE(FForm->ToolBar()->isVisible());
    QTest::mouseDClick(Preview()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(FForm->FullScreen());
    EXPECT_TRUE(FForm->ToolBar()->isVisible());
}

// Filters that only record that they ran.
class RecordingFilter : public exports::TrpCustomExportFilter {
public:
    explicit RecordingFilter(QString description) : FDescription(std::move(description)) {
        SetShowDialog(false);
    }
    QString FilterDescription() const override { return FDescription; }
    void ExportObject(const report::TrpPlacedObject&) override { ++Objects; }
    int Objects = 0;

private:
    QString FDescription;
};

TEST(PreviewExportMenu, ListsRegisteredFiltersInOrderAndRunsThem) {
    auto sheetReport = PreparedSheet();
    RecordingFilter second(QStringLiteral("Второй"));
    RecordingFilter first(QStringLiteral("Первый"));
    TrpPreviewForm form(*sheetReport);
    QStringList entries;
    for (QAction* a : form.ExportMenu()->actions())
        entries << a->text();
    EXPECT_EQ(entries, (QStringList{"&Второй...", "&Первый..."}));
    EXPECT_TRUE(form.Action(QStringLiteral("Export"))->isVisible());
    form.ExportMenu()->actions().at(1)->trigger();
    EXPECT_GT(first.Objects, 0);
    EXPECT_EQ(second.Objects, 0);

    // A host's list may hold targets without a filter: shown, but disabled.
    form.SetExportEntries(
        {{QStringLiteral("Рисунок BMP"), nullptr, {}}, {QStringLiteral("Второй"), &second, {}}});
    ASSERT_EQ(form.ExportMenu()->actions().size(), 2);
    EXPECT_FALSE(form.ExportMenu()->actions().at(0)->isEnabled());
    EXPECT_TRUE(form.ExportMenu()->actions().at(1)->isEnabled());
    // The right-click menu repeats the file and zoom buttons, the export entry with the same list;
    // every entry has a letter of its own, a word's first where it is free.
    QStringList popup;
    for (QAction* a : form.PopupMenu()->actions())
        popup << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(popup, (QStringList{"&Печать", "&Открыть", "&Сохранить", "&Экспорт", "-", "Страница &целиком",
                                  "По &ширине", "&100%", "&Две страницы", "&Во весь экран"}));
}

} // namespace

namespace {

TEST(PreviewClosing, WindowGoesWhileTheZoomBoxHasFocus) {
    auto sheetReport = PreparedSheet();
    auto form = std::make_unique<TrpPreviewForm>(*sheetReport);
    form->show();
    form->activateWindow();
    form->ZoomBox()->lineEdit()->setFocus();
    form->ZoomBox()->lineEdit()->setText(QStringLiteral("150%"));
    QCoreApplication::processEvents();
    form.reset(); // the box's focus-out must not reach the preview being destroyed
    SUCCEED();
}

} // namespace

namespace {

TEST(PreviewDrawing, PageOnWhiteInTheGreyWorkspaceWithTheSheetDrawn) {
    auto sheetReport = PreparedSheet();
    TrpPreviewForm form(*sheetReport);
    form.resize(1280, 1024);
    form.show();
    QCoreApplication::processEvents();
    form.Preview()->SetZoomMode(zmPageWidth);
    const QImage frame = form.Preview()->viewport()->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("TARIFON_SAVE_PREVIEW"))
        frame.save(qEnvironmentVariable("TARIFON_SAVE_PREVIEW"));
    const QRect page = form.Preview()->Layout().Pages[0].translated(-form.Preview()->ScrollPosition());
    EXPECT_EQ(frame.pixelColor(2, 2), QColor(128, 128, 128));
    // Inside the page: white paper and, in the table's area, dark text and frame lines.
    int dark = 0, white = 0;
    for (int y = page.top() + 1; y < std::min(frame.height(), page.bottom()); y += 2)
        for (int x = page.left() + 1; x < page.right(); x += 2) {
            const QColor c = frame.pixelColor(x, y);
            dark += c.lightness() < 80;
            white += c == Qt::white;
        }
    EXPECT_GT(white, dark);
    EXPECT_GT(dark, 2000);
}

} // namespace

namespace {

// Three small pages with a page colour and frame and mirrored margins, whose memos carry frames
// and a drop shadow.
std::unique_ptr<TrpReport> DecoratedPages() {
    auto r = longreport::Create(3);
    TrpReportPage* page = r->Pages(0);
    page->SetPaperWidth(150);
    page->SetPaperHeight(110);
    page->SetLeftMargin(25);
    page->SetRightMargin(6.5);
    page->SetMirrorMargins(true);
    page->SetColor(0x00C0FFFF);
    TrpFrame frame;
    frame.Typ = ftAll;
    frame.Width = 2;
    frame.Color = 0x00800000;
    page->SetFrame(frame);
    for (const auto& object : page->Objects())
        if (auto* memo = dynamic_cast<TrpMemoView*>(object.get())) {
            memo->SetWidth(400);
            memo->FrameRef().Typ = ftAll;
            memo->FrameRef().DropShadow = memo->Name() == u"Sum";
        }
    EXPECT_TRUE(r->Prepare()) << r->LastErrorMessage().toStdString();
    return r;
}

// The command line's and the tests' picture of a page is the preview's drawing of it, page
// colour, frame and mirrored margins included, at every zoom.
TEST(PreviewDrawing, PicturesOfPagesAreWhatThePreviewDraws) {
    auto r = DecoratedPages();
    TrpPreviewForm form(*r);
    form.resize(1280, 1024);
    form.show();
    QCoreApplication::processEvents();
    for (const Extended zoom : {1.0L, 0.5L, 1.5L})
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << "zoom " << double(zoom) << ", page " << i + 1);
            form.Preview()->SetZoom(zoom);
            form.Preview()->SetPageNo(i + 1);
            QCoreApplication::processEvents();
            const QImage frame =
                form.Preview()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage picture = RenderPreparedPage(*r, i, zoom);
            const QRect page =
                form.Preview()->Layout().Pages[size_t(i)].translated(-form.Preview()->ScrollPosition());
            ASSERT_TRUE(frame.rect().contains(QRect(page.topLeft(), picture.size())));
            EXPECT_EQ(frame.copy(QRect(page.topLeft(), picture.size())), picture);
            // The page's colour lies inside the margins only: the paper's corner stays white.
            EXPECT_EQ(picture.pixel(2, 2), qRgb(255, 255, 255));
            const int y = int(picture.height() - 50 * zoom);
            EXPECT_EQ(picture.pixel(picture.width() / 2, y), qRgb(255, 255, 192));
            // The frame runs along the printable area's left edge: on even pages the right margin's.
            const int left = int((i % 2 ? 6.5 : 25) * fr01cm * zoom);
            bool framed = false;
            for (int x = left - 1; x <= left + 1; ++x)
                framed |= picture.pixel(x, y) == qRgb(0, 0, 128);
            EXPECT_TRUE(framed);
        }
}

} // namespace
