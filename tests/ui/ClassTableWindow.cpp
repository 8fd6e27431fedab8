#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "calc/ClassTable.h"
#include "ui/OSAGO_CalcClass.h"
#include "ui/Pictures.h"
#include "wizard/KCommon.h"

TEST(ClassTableWindow, GeometryAndCaption) {
    TfmOSAGO_CalcClass w;
    EXPECT_EQ(w.windowTitle(), "Класс страхователя");
    EXPECT_EQ(w.size(), QSize(667, 316));
    EXPECT_EQ(w.font().family(), "MS Sans Serif");
    EXPECT_EQ(w.BitBtn1()->geometry(), QRect(566, 286, 90, 25));
    EXPECT_EQ(w.BitBtn1()->text(), "&Закрыть");
    EXPECT_TRUE(w.BitBtn1()->isDefault());
    EXPECT_EQ(TfmOSAGO_CalcClass::BodyCell(14, 6), QRect(556, 264, 100, 17));
}

TEST(ClassTableWindow, FifteenFramedRowsSharingTheirBorders) {
    TfmOSAGO_CalcClass w;
    const QImage img = w.grab().toImage();
    const QRgb black = qRgb(0, 0, 0);
    for (int row = 0; row < TfmOSAGO_CalcClass::RowCount; ++row) {
        const QRect r = TfmOSAGO_CalcClass::BodyCell(row, 2);
        // Top and bottom outline of every row; neighbouring rows overlap by one pixel.
        EXPECT_EQ(img.pixel(r.center().x(), r.top()), black) << row;
        EXPECT_EQ(img.pixel(r.center().x(), r.bottom()), black) << row;
        EXPECT_NE(img.pixel(r.left() + 2, r.center().y()), black) << "inside of row " << row;
    }
    // Column borders run through the whole body.
    for (int x : {10, 114, 160, 259, 358, 457, 556, 655})
        EXPECT_EQ(img.pixel(x, 150), black) << x;
    // Header cells are filled with the button face, body cells with the window colour: a
    // pixel inside every cell's outline, clear of its centred text.
    const QRgb face = wizard::ColorToQColor(wizard::clBtnFace).rgb();
    const QRgb window = wizard::ColorToQColor(wizard::clWindow).rgb();
    ASSERT_NE(face, window);
    for (int i = 0; i < 8; ++i) {
        const QRect r = TfmOSAGO_CalcClass::HeaderCell(i);
        EXPECT_EQ(img.pixel(r.left() + 1, r.top() + 1), face) << "header cell " << i;
        EXPECT_EQ(img.pixel(r.right() - 1, r.bottom() - 1), face) << "header cell " << i;
    }
    for (int row = 0; row < TfmOSAGO_CalcClass::RowCount; ++row)
        for (int column = 0; column < 7; ++column) {
            const QRect r = TfmOSAGO_CalcClass::BodyCell(row, column);
            EXPECT_EQ(img.pixel(r.left() + 1, r.top() + 1), window) << "body cell " << row << ", " << column;
            EXPECT_EQ(img.pixel(r.right() - 1, r.bottom() - 1), window)
                << "body cell " << row << ", " << column;
        }
    // Every body row carries text: some dark pixels between its borders.
    for (int row = 0; row < TfmOSAGO_CalcClass::RowCount; ++row) {
        const QRect r = TfmOSAGO_CalcClass::BodyCell(row, 0).adjusted(2, 2, -2, -2);
        int dark = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                dark += qGray(img.pixel(x, y)) < 100;
        EXPECT_GT(dark, 3) << "row " << row << " shows its class";
    }
}

TEST(ClassTableWindow, EveryWayOfClosingCancels) {
    using Closer = std::function<void(TfmOSAGO_CalcClass&)>;
    const std::pair<const char*, Closer> closers[] = {
        {"button", [](TfmOSAGO_CalcClass& w) { w.BitBtn1()->click(); }},
        {"Esc",
         [](TfmOSAGO_CalcClass& w) {
             QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&w, &e);
         }},
        {"Enter",
         [](TfmOSAGO_CalcClass& w) {
             QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
             QApplication::sendEvent(&w, &e);
         }},
        {"close box", [](TfmOSAGO_CalcClass& w) { w.close(); }},
    };
    for (const auto& [name, close] : closers) {
        TfmOSAGO_CalcClass w;
        QTimer::singleShot(0, &w, [&w, close = close] { close(w); });
        EXPECT_EQ(w.exec(), QDialog::Rejected) << name;
        EXPECT_FALSE(w.isVisible()) << name;
    }
}

TEST(Pictures, EveryPagePictureAndGlyphLoads) {
    for (int i = 0; i < 12; ++i) {
        const QPixmap p = ui::PagePicture(i);
        ASSERT_FALSE(p.isNull()) << i;
        EXPECT_EQ(p.size(), QSize(32, 32));
        // Not blank: the tile is opaque in its middle.
        EXPECT_EQ(qAlpha(p.toImage().pixel(16, 16)), 255) << i;
    }
    EXPECT_TRUE(ui::PagePicture(12).isNull());
    for (const char* name : {"info", "note", "table", "print", "export", "start", "back", "back-disabled",
                             "next", "next-disabled", "close"})
        EXPECT_FALSE(ui::Picture(name, 16).isNull()) << name;
    EXPECT_TRUE(ui::Picture("no-such-picture", 16).isNull());
}

// `make screenshots` sets the folder; the pictures let a reviewer see the window at a glance.
TEST(ClassTableWindow, Screenshot) {
    const QString dir = qEnvironmentVariable("TARIFON_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "TARIFON_SCREENSHOT_DIR not set";
    TfmOSAGO_CalcClass w;
    ASSERT_TRUE(w.grab().save(dir + "/class-table.png"));
    QImage sheet(12 * 40 + 11 * 20, 40, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (int i = 0; i < 12; ++i)
        p.drawPixmap(4 + i * 40, 4, ui::PagePicture(i));
    const char* glyphs[] = {"info", "note",          "table", "print",         "export", "start",
                            "back", "back-disabled", "next",  "next-disabled", "close"};
    for (int i = 0; i < 11; ++i)
        p.drawPixmap(12 * 40 + i * 20, 12, ui::Picture(glyphs[i], 16));
    p.end();
    ASSERT_TRUE(sheet.save(dir + "/pictures.png"));
}
