// Starts the calculator as tarifon does and opens its windows one after another, so that a test
// can read what the window system holds for each. For every window it prints
// "<name> <X window id>" once the window is on the screen, waits for a line on standard input,
// then closes it. Exits 1 when a window does not appear.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>

#include "preview/PreviewForm.h"
#include "ui/OSAGO_Calc.h"
#include "ui/OSAGO_CalcClass.h"
#include "ui/ResultCommands.h"
#include "ui/StartUp.h"

namespace {

bool OnScreen(QWidget* w) {
    return w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed();
}

void Report(const char* name, QWidget* w) {
    std::printf("%s 0x%llx\n", name, static_cast<unsigned long long>(w->winId()));
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
}

// Opens a window with `open` (which may run the window's own modal loop) and, once `find`
// sees it on the screen, reports it and closes it unless told to keep it.
void Visit(const char* name, const std::function<void()>& open, const std::function<QWidget*()>& find,
           bool keep = false) {
    bool done = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* w = find();
        if (!OnScreen(w))
            return;
        poll.stop();
        Report(name, w);
        if (!keep)
            w->close();
        done = true;
    });
    QTimer::singleShot(15000, [&] {
        if (!done) {
            std::fprintf(stderr, "window_probe: %s did not appear\n", name);
            std::exit(1);
        }
    });
    poll.start();
    open();
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QWidget* Modal() {
    return QApplication::activeModalWidget();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    ui::SetUpApplication();

    TfmOSAGO_Calc window;
    ui::InstallResultCommands(window, false);
    Visit(
        "main", [&] { window.show(); }, [&] { return &window; }, true);

    Visit(
        "class", [&] { window.BtnClassClick(); }, Modal);
    Visit(
        "note", [&] { window.NoteButton(calc::PageId::pClass)->click(); }, Modal);
    Visit(
        "preview", [&] { window.OnPrint(); },
        [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (dynamic_cast<preview::TrpPreviewForm*>(w) && w->isVisible())
                    return w;
            return static_cast<QWidget*>(nullptr);
        });
    // The save dialog as the preview and the exports ask for it.
    Visit(
        "save",
        [&] { QFileDialog::getSaveFileName(&window, QString(), QString(), QStringLiteral("PDF (*.pdf)")); },
        Modal);
    return 0;
}
