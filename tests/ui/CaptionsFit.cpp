// Every caption of every window and dialog the program shows fits its control: measured with
// the control's own font against the rectangle its style draws the caption in (after the
// indicator, the icon and the margins).
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WindowFace.h"

#include "export/Progress.h"
#include "export/pdf/PdfExport.h"
#include "export/pdf/PdfExportDialog.h"
#include "preview/PageSetupDialog.h"
#include "preview/PreviewForm.h"
#include "preview/PrintDialog.h"
#include "preview/ProgressWindow.h"
#include "report/EngineTexts.h"
#include "report/Report.h"
#include "sheet/SheetTemplate.h"
#include "ui/OSAGO_Calc.h"
#include "ui/OSAGO_CalcClass.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"

using calc::PageId;

namespace {

// Where a text lands when drawn into `area` with `flags`: the line boxes the layout gives it,
// a one-line caption from its first to its last visible character (blanks leave no ink).
QRectF TextBox(const QFont& font, const QRect& area, int flags, const QString& text) {
    const QFontMetricsF fm(font);
    QRectF box = fm.boundingRect(QRectF(area), flags, text);
    if (!(flags & Qt::TextWordWrap) && !text.contains(QLatin1Char('\n'))) {
        QString shown = text;
        if (flags & Qt::TextShowMnemonic)
            shown.remove(QLatin1Char('&'));
        qsizetype first = 0, end = shown.size();
        while (first < end && shown[first] == QLatin1Char(' '))
            ++first;
        while (end > first && shown[end - 1] == QLatin1Char(' '))
            --end;
        box.setLeft(box.left() + fm.horizontalAdvance(shown.left(first)));
        box.setRight(box.right() - fm.horizontalAdvance(shown.mid(end)));
    }
    return box;
}

// Adds a line to `misfits` when the text does not fit the area.
void Check(QStringList& misfits, const QWidget* w, const QFont& font, const QRect& area, int flags,
           const QString& text) {
    if (text.isEmpty())
        return;
    const QRectF box = TextBox(font, area, flags, text);
    constexpr double eps = 0.01; // the rounding of fractional advances
    if (QRectF(area).adjusted(-eps, -eps, eps, eps).contains(box))
        return;
    misfits << QStringLiteral("%1 %2 \"%3\": %4x%5 at %6,%7 given, %8x%9 at %10,%11 needed")
                   .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), text)
                   .arg(area.width())
                   .arg(area.height())
                   .arg(area.left())
                   .arg(area.top())
                   .arg(box.width(), 0, 'f', 1)
                   .arg(box.height(), 0, 'f', 1)
                   .arg(box.left(), 0, 'f', 1)
                   .arg(box.top(), 0, 'f', 1);
}

// The rectangle a button's style draws its caption in, and the alignment it uses.
std::pair<QRect, int> CaptionArea(QAbstractButton* button) {
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    opt.icon = button->icon();
    opt.iconSize = button->iconSize();
    QStyle* style = button->style();
    int flags = Qt::TextShowMnemonic | Qt::AlignVCenter;
    QRect area;
    if (qobject_cast<QRadioButton*>(button)) {
        area = style->subElementRect(QStyle::SE_RadioButtonContents, &opt, button);
        flags |= Qt::AlignLeft;
    } else if (qobject_cast<QCheckBox*>(button)) {
        area = style->subElementRect(QStyle::SE_CheckBoxContents, &opt, button);
        flags |= Qt::AlignLeft;
    } else if (qobject_cast<QToolButton*>(button)) {
        return {button->rect(), flags | Qt::AlignHCenter};
    } else {
        area = style->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
        flags |= Qt::AlignHCenter;
    }
    // A glyph stands before the caption with a 4-pixel gap; a push button centres the pair.
    if (!opt.icon.isNull()) {
        const int glyph = opt.iconSize.width() + 4;
        if (flags & Qt::AlignHCenter)
            area.adjust(glyph / 2, 0, -(glyph - glyph / 2), 0);
        else
            area.adjust(glyph, 0, 0, 0);
    }
    return {area, flags};
}

// The captions of a window's shown labels, buttons and group boxes that do not fit.
QStringList Misfits(QWidget* window) {
    QStringList misfits;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (w != window && !w->isVisibleTo(window))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->textFormat() == Qt::RichText)
                continue;
            const int m = label->margin();
            // A label with a buddy underlines its "&" letter instead of showing the "&".
            const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0) |
                              (label->buddy() ? Qt::TextShowMnemonic : 0);
            Check(misfits, label, label->font(), label->contentsRect().adjusted(m, m, -m, -m), flags,
                  label->text());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            auto* tool = qobject_cast<QToolButton*>(button);
            if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
                continue;
            const auto [area, flags] = CaptionArea(button);
            Check(misfits, button, button->font(), area, flags, button->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            QStyleOptionGroupBox opt;
            opt.initFrom(group);
            opt.text = group->title();
            opt.lineWidth = 1;
            opt.textAlignment = group->alignment();
            opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect label =
                group->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, group);
            Check(misfits, group, group->font(), label.intersected(group->rect()),
                  Qt::TextShowMnemonic | Qt::AlignLeft | Qt::AlignVCenter, group->title());
        }
    }
    return misfits;
}

// `make screenshots` also keeps a picture of every window checked here.
void ExpectAllFit(QWidget* window, const QString& name, const QStringList& more = {}) {
    const QStringList misfits = Misfits(window) + more;
    EXPECT_TRUE(misfits.isEmpty()) << name.toStdString() << ":\n  " << misfits.join("\n  ").toStdString();
    if (const QString dir = qEnvironmentVariable("TARIFON_SCREENSHOT_DIR"); !dir.isEmpty())
        window->grab().save(QStringLiteral("%1/fit-%2.png").arg(dir, name));
}

} // namespace

TEST(CaptionsFit, EveryWindowAndDialog) {
    const WindowFace face; // the one the program gives its dialogs
    {
        // Every page of the calculator, the result page filled in.
        TfmOSAGO_Calc w;
        w.show();
        w.Page(PageId::pTime)->SetEnabled(true);
        for (int i = 0; i < calc::PageCount; ++i) {
            w.KWizard()->SetActivePage(w.Page(PageId(i)));
            ExpectAllFit(&w,
                         QString::fromUtf8(calc::PageNames[i].data(), qsizetype(calc::PageNames[i].size())));
        }
        // The note boxes.
        for (PageId page : {PageId::pType, PageId::pHome, PageId::pClass}) {
            w.KWizard()->SetActivePage(w.Page(page));
            bool shown = false;
            QTimer::singleShot(0, [&] {
                QWidget* box = QApplication::activeModalWidget();
                ASSERT_NE(box, nullptr);
                shown = true;
                ExpectAllFit(box, QStringLiteral("note-%1").arg(int(page)));
                box->close();
            });
            w.NoteButton(page)->click();
            EXPECT_TRUE(shown) << int(page);
        }
    }
    {
        // The class table: its cells are painted, their captions with the window's font.
        TfmOSAGO_CalcClass w;
        w.show();
        QStringList cells;
        for (const TfmOSAGO_CalcClass::Label& label : TfmOSAGO_CalcClass::Labels())
            Check(cells, &w, w.font(), label.Rect, label.Flags, label.Text);
        ExpectAllFit(&w, QStringLiteral("class-table"), cells);
    }

    // The report engine's windows over the calculation sheet.
    auto report = sheet::CreateSheetReport();
    ASSERT_TRUE(sheet::PrepareSheet(*report, {}).Ok);
    {
        preview::TrpPreviewForm preview(*report);
        preview.show();
        ExpectAllFit(&preview, QStringLiteral("preview"));
    }
    {
        QPrinter printer;
        preview::TrpPrintDialog dialog(printer, 1, 1);
        dialog.show();
        ExpectAllFit(&dialog, QStringLiteral("print"));
    }
    {
        preview::TrpPageSetupDialog dialog(*report, 0);
        dialog.show();
        ExpectAllFit(&dialog, QStringLiteral("page-setup"));
    }
    for (bool subordinate : {false, true}) {
        exports::TrpPDFExport filter(subordinate);
        exports::TrpPDFExportDialog dialog(filter);
        dialog.show();
        ExpectAllFit(&dialog, QStringLiteral("pdf-export-%1").arg(subordinate));
    }
    // The progress window with each of its messages.
    preview::InstallProgressWindow();
    for (const char* key : {"prPrinting", "prExporting"}) {
        exports::TrpProgress progress;
        progress.Execute(3, report::rpFormat(report::rpGet(key), {QStringLiteral("12")}), true, true);
        QWidget* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && dynamic_cast<preview::TrpProgressWindow*>(w))
                window = w;
        ASSERT_NE(window, nullptr);
        ExpectAllFit(window, QStringLiteral("progress-%1").arg(QString::fromLatin1(key)));
    }
    exports::SetProgressViewFactory(nullptr);
}
