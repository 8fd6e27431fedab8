#pragma once
// The program's face for message boxes, menus and dialogs, for as long as the object lives;
// the test binary's own fonts come back afterwards. Message boxes keep the letters it gives them.
#include <QApplication>

#include "ui/StartUp.h"

struct WindowFace {
    QFont Saved = QApplication::font();
    WindowFace() {
        ui::UseTheWindowFace();
        ui::GiveMessageBoxesLetters();
    }
    ~WindowFace() {
        for (const char* kind : {"", "QMessageBox", "QMenu", "QMenuBar", "QToolTip"})
            QApplication::setFont(Saved, *kind ? kind : nullptr);
    }
};
