#pragma once
// The progress window of long jobs: a borderless 271 x 101 window centred on the screen with a
// message, a progress bar and a Cancel button. While shown it disables the active window.

#include "export/Progress.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace preview {

class TrpProgressWindow : public QWidget, public exports::TrpProgressView {
public:
    explicit TrpProgressWindow(exports::TrpProgress& job);
    ~TrpProgressWindow() override;

    void Show(const exports::TrpProgress& progress, bool showBar, bool showCancel) override;
    void Update(const exports::TrpProgress& progress) override;
    void Hide() override;

    QLabel* Label;
    QProgressBar* Bar;
    QPushButton* Cancel;

protected:
    // Dragging anywhere on the window moves it.
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void Release();

    QPoint FDrag;
    QPointer<QWidget> FDisabled;
};

// Lets every long job of a widget application show the progress window (start-up calls it).
void InstallProgressWindow();

} // namespace preview
