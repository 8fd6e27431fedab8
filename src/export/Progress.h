#pragma once
// The shared progress window of long jobs (exporting, printing, the layout matrix).

#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace exports {

class TrpProgressWindow;

// A borderless 271 x 101 window centred on the screen with a message, a progress bar and a
// Cancel button. While shown it disables the active window. Without a widget application
// (command-line tools) nothing is shown, but the counters still work.
class TrpProgress {
public:
    TrpProgress();
    ~TrpProgress();
    TrpProgress(const TrpProgress&) = delete;
    TrpProgress& operator=(const TrpProgress&) = delete;

    // Shows the window: bar range 0..max, the message 15 pixels from the top with the bar,
    // 35 without.
    void Execute(int max, const QString& message, bool showBar, bool showCancel);
    void SetMessage(const QString& message);
    // Advances the bar by one while it is below the maximum.
    void Tick();
    // Hides the window and gives the active window back.
    void Hide();

    const QString& Message() const { return FMessage; }
    int Position() const { return FPosition; }
    int Max() const { return FMax; }
    // Set by Cancel (or Terminate), which also closes the window.
    bool Terminated() const { return FTerminated; }
    void Terminate();
    // The window while shown (for tests); nullptr without one.
    QWidget* Window() const;

private:
    void Update();
    void Release();

    QString FMessage;
    int FPosition = 0;
    int FMax = 0;
    bool FTerminated = false;
    std::unique_ptr<TrpProgressWindow> FWindow;
    QPointer<QWidget> FDisabled;
};

} // namespace exports
