#include "export/Progress.h"

#include "report/EngineTexts.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace exports {

class TrpProgressWindow : public QWidget {
public:
    explicit TrpProgressWindow(TrpProgress& owner) : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool) {
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
        Cancel = new QPushButton(report::rpGet(2), panel);
        Cancel->setGeometry(98, 64, 75, 25);
        QObject::connect(Cancel, &QPushButton::clicked, [&owner] { owner.Terminate(); });
    }

    QLabel* Label;
    QProgressBar* Bar;
    QPushButton* Cancel;

protected:
    // Dragging anywhere on the window moves it.
    void mousePressEvent(QMouseEvent* e) override { FDrag = e->globalPosition().toPoint() - pos(); }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (e->buttons() & Qt::LeftButton)
            move(e->globalPosition().toPoint() - FDrag);
    }

private:
    QPoint FDrag;
};

TrpProgress::TrpProgress() = default;

TrpProgress::~TrpProgress() {
    Hide();
}

void TrpProgress::Execute(int max, const QString& message, bool showBar, bool showCancel) {
    FMax = max;
    FPosition = 0;
    FMessage = message;
    FTerminated = false;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (!FWindow || FWindow->isHidden()) {
        FWindow = std::make_unique<TrpProgressWindow>(*this);
        if (QWidget* active = QApplication::activeWindow(); active && active != FWindow.get()) {
            active->setEnabled(false);
            FDisabled = active;
        }
    }
    FWindow->Label->move(8, showBar ? 15 : 35);
    FWindow->Bar->setVisible(showBar);
    FWindow->Bar->setRange(0, max);
    FWindow->Cancel->setVisible(showCancel);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        FWindow->move(screen->geometry().center() - FWindow->rect().center());
    FWindow->show();
    Update();
}

void TrpProgress::SetMessage(const QString& message) {
    FMessage = message;
    Update();
}

void TrpProgress::Tick() {
    if (FPosition < FMax)
        ++FPosition;
    Update();
}

void TrpProgress::Terminate() {
    FTerminated = true;
    // Called from the Cancel button's own signal: hide now, free the window later.
    if (FWindow)
        FWindow->hide();
    Release();
}

void TrpProgress::Hide() {
    FWindow.reset();
    Release();
}

void TrpProgress::Release() {
    if (FDisabled) {
        FDisabled->setEnabled(true);
        FDisabled.clear();
    }
}

QWidget* TrpProgress::Window() const {
    return FWindow && FWindow->isVisible() ? FWindow.get() : nullptr;
}

void TrpProgress::Update() {
    if (FWindow) {
        FWindow->Label->setText(FMessage);
        FWindow->Bar->setValue(FPosition);
        FWindow->raise();
    }
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace exports
