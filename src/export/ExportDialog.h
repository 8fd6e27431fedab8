#pragma once
// The frame of a filter's options dialog: the page range group, the options group below it, OK
// and Cancel. A filter's dialog adds its own controls to Options. Header-only: the filters link
// the widgets, the export loop does not.

#include "export/ExportFilter.h"
#include "export/Mnemonics.h"
#include "export/PageRangeGroup.h"
#include "export/SaveFileDialog.h"
#include "export/TargetFile.h"
#include "report/EngineTexts.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace exports {

class TrpExportDialog : public QDialog {
public:
    // The options group is `optionsHeight` pixels high; the window grows to hold it.
    TrpExportDialog(const QString& title, const TrpCustomExportFilter& filter, int optionsHeight,
                    QWidget* parent = nullptr, int width = 278)
        : QDialog(parent) {
        using report::rpGet;
        setWindowTitle(title);
        setFixedSize(width, 162 + optionsHeight);
        // Placed for the engine's 11-pixel Tahoma, as its other windows.
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(11);
        setFont(font);

        GroupPageRange = new TrpPageRangeGroup(filter, this);
        GroupPageRange->setGeometry(4, 4, width - 8, 117);
        AllRB = GroupPageRange->AllRB;
        CurPageRB = GroupPageRange->CurPageRB;
        PageNumbersRB = GroupPageRange->PageNumbersRB;
        PageNumbersE = GroupPageRange->PageNumbersE;
        DescrL = GroupPageRange->DescrL;

        Options = new QGroupBox(rpGet(QStringLiteral("exOptions")), this);
        Options->setGeometry(4, 124, width - 8, optionsHeight);

        const int buttons = 131 + optionsHeight;
        OkB = new QPushButton(rpGet(1), this);
        OkB->setGeometry(width - 162, buttons, 75, 25);
        OkB->setDefault(true);
        CancelB = new QPushButton(rpGet(2), this);
        CancelB->setGeometry(width - 81, buttons, 75, 25);
        connect(OkB, &QPushButton::clicked, this, &QDialog::accept);
        connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }

    // A check box of the options group.
    QCheckBox* AddCheck(const QString& caption, int x, int y, bool checked, int width = 125) {
        auto* cb = new QCheckBox(caption, Options);
        cb->setGeometry(x, y, width, 17);
        cb->setChecked(checked);
        return cb;
    }

    // The page choice back into the filter.
    void StorePages(TrpCustomExportFilter& filter) const { GroupPageRange->Store(filter); }

    TrpPageRangeGroup* GroupPageRange;
    QRadioButton* AllRB;
    QRadioButton* CurPageRB;
    QRadioButton* PageNumbersRB;
    QLineEdit* PageNumbersE;
    QLabel* DescrL;
    QGroupBox* Options;
    QPushButton* OkB;
    QPushButton* CancelB;

protected:
    // The filter's own controls are added after this frame is built: letters are given when the
    // dialog is first shown, so Alt and a letter reach every control.
    void showEvent(QShowEvent* event) override {
        AssignMnemonics(this);
        QDialog::showEvent(event);
    }
};

// A filter's ShowModal: OK at once for a caller's stream; else the options dialog, whose OK
// stores its choices, then the target file (the save dialog, or a temporary file for an
// attachment).
template <class Dialog, class Filter> TModalResult ShowOptionsAndTarget(Filter& filter) {
    if (filter.Stream())
        return mrOk;
    Dialog dialog(filter);
    if (dialog.exec() != QDialog::Accepted)
        return mrCancel;
    dialog.Store(filter);
    const bool chosen = ChooseTargetFile(filter, filter.DefaultExt(), [&filter](const QString& initial) {
        return filter.OnSaveDialog
                   ? filter.OnSaveDialog(initial)
                   : AskSaveFileName(filter.DefaultPath(), initial, filter.FilterText(), filter.DefaultExt());
    });
    return chosen ? mrOk : mrCancel;
}

} // namespace exports
