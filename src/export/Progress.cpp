#include "export/Progress.h"

#include <QCoreApplication>

namespace exports {

namespace {

TrpProgressViewFactory& Factory() {
    static TrpProgressViewFactory factory;
    return factory;
}

} // namespace

void SetProgressViewFactory(TrpProgressViewFactory factory) {
    Factory() = std::move(factory);
}

TrpProgress::TrpProgress() = default;

TrpProgress::~TrpProgress() {
    Hide();
}

void TrpProgress::Execute(int max, const QString& message, bool showBar, bool showCancel) {
    FMax = max;
    FPosition = 0;
    FMessage = message;
    FTerminated = false;
    if (!FView && Factory())
        FView = Factory()(*this);
    if (FView)
        FView->Show(*this, showBar, showCancel);
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
    // Called from the view's own Cancel: hide it now, free it with the job.
    if (FView)
        FView->Hide();
}

void TrpProgress::Hide() {
    if (FView && !FTerminated) // Cancel has hidden it already
        FView->Hide();
    FView.reset();
}

void TrpProgress::Update() {
    if (FView)
        FView->Update(*this);
    // Long jobs let the message loop run between steps.
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace exports
