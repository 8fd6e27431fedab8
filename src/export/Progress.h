#pragma once
// Progress of long jobs (exporting, printing, the layout matrix). The jobs only count and ask
// whether the user cancelled; what a person sees is supplied by the user-interface side through
// SetProgressViewFactory. Without a view (command-line tools) nothing is shown, but the counters
// still work.

#include <QString>
#include <functional>
#include <memory>

namespace exports {

class TrpProgress;

// What shows a job's progress to a person.
class TrpProgressView {
public:
    virtual ~TrpProgressView() = default;
    // The job starts: bar range 0..Max(), with or without the bar and the Cancel button.
    virtual void Show(const TrpProgress& progress, bool showBar, bool showCancel) = 0;
    // The message or the position changed.
    virtual void Update(const TrpProgress& progress) = 0;
    // The job finished or was cancelled.
    virtual void Hide() = 0;
};

// Makes the view of one job; Cancel in the view calls the job's Terminate().
using TrpProgressViewFactory = std::function<std::unique_ptr<TrpProgressView>(TrpProgress& job)>;
void SetProgressViewFactory(TrpProgressViewFactory factory);

class TrpProgress {
public:
    TrpProgress();
    ~TrpProgress();
    TrpProgress(const TrpProgress&) = delete;
    TrpProgress& operator=(const TrpProgress&) = delete;

    // Starts showing: bar range 0..max.
    void Execute(int max, const QString& message, bool showBar, bool showCancel);
    void SetMessage(const QString& message);
    // Advances the bar by one while it is below the maximum.
    void Tick();
    // Stops showing.
    void Hide();

    const QString& Message() const { return FMessage; }
    int Position() const { return FPosition; }
    int Max() const { return FMax; }
    // Set by Cancel (or Terminate), which also stops showing.
    bool Terminated() const { return FTerminated; }
    void Terminate();

private:
    void Update();

    QString FMessage;
    int FPosition = 0;
    int FMax = 0;
    bool FTerminated = false;
    std::unique_ptr<TrpProgressView> FView;
};

} // namespace exports
