#include "preview/ProgressWindow.h"

#include "report/EngineTexts.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace preview {

using namespace report;

TrpProgressWindow::TrpProgressWindow(exports::TrpProgress& job)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool) {
    setFixedSize(271, 101);
    auto* panel = new QFrame(this);
    panel->setGeometry(0, 0, 271, 101);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    Label = new QLabel(panel);
    Label->setAlignment(Qt::AlignCenter);
    Label->setFont(QFont(QStringLiteral("Tahoma"), 8));
    Label->setGeometry(8, 15, 255, 16);
    Bar = new QProgressBar(panel);
    Bar->setGeometry(12, 38, 247, 16);
    Bar->setTextVisible(false);
    Cancel = new QPushButton(rpGet(2), panel);
    Cancel->setGeometry(98, 64, 75, 25);
    QObject::connect(Cancel, &QPushButton::clicked, [&job] { job.Terminate(); });
}

TrpProgressWindow::~TrpProgressWindow() {
    Release();
}

void TrpProgressWindow::Show(const exports::TrpProgress& progress, bool showBar, bool showCancel) {
    if (isHidden()) {
        if (QWidget* active = QApplication::activeWindow(); active && active != this) {
            active->setEnabled(false);
            FDisabled = active;
        }
    }
    Label->move(8, showBar ? 15 : 35);
    Bar->setVisible(showBar);
    Bar->setRange(0, progress.Max());
    Cancel->setVisible(showCancel);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
}

void TrpProgressWindow::Update(const exports::TrpProgress& progress) {
    Label->setText(progress.Message());
    Bar->setValue(progress.Position());
    raise();
}

void TrpProgressWindow::Hide() {
    hide();
    Release();
}

void TrpProgressWindow::Release() {
    if (FDisabled) {
        FDisabled->setEnabled(true);
        FDisabled.clear();
    }
}

void TrpProgressWindow::mousePressEvent(QMouseEvent* e) {
    FDrag = e->globalPosition().toPoint() - pos();
}

void TrpProgressWindow::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton)
        move(e->globalPosition().toPoint() - FDrag);
}

void InstallProgressWindow() {
    exports::SetProgressViewFactory(
        [](exports::TrpProgress& job) -> std::unique_ptr<exports::TrpProgressView> {
            if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
                return nullptr;
            return std::make_unique<TrpProgressWindow>(job);
        });
}

} // namespace preview
