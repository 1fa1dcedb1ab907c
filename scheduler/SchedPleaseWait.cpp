#include "scheduler/SchedPleaseWait.h"

#include "classlib/gui/Forms.h"

TSchedPleaseWait::TSchedPleaseWait(const TControl& ShownWith) : FShownWith(ShownWith) {}

TSchedPleaseWait::~TSchedPleaseWait() = default;

void TSchedPleaseWait::Start(const String& Label, std::int64_t, bool CanCancel,
                             TProgressAnimation) {
    FWindow.reset(NewForm<TfrmPleaseWait>(nullptr));
    FWindow->labPleaseWait->SetCaption(String());
    if (!FShownWith.Visible())
        return;
    FWindow->ShowWait(String(), CanCancel);
    // A named run shows its name in place of the greeting and has no second line.
    if (!Label.empty()) {
        FWindow->labPleaseWait->SetCaption(Label);
        FWindow->labText->SetVisible(false);
    }
    FWindow->Repaint();
}

void TSchedPleaseWait::SetLabel(const String& Text) {
    if (FWindow)
        FWindow->labText->SetCaption(Text);
}

void TSchedPleaseWait::SetCancelVisible(bool Visible) {
    if (FWindow)
        FWindow->btnCancel->SetVisible(Visible);
}

bool TSchedPleaseWait::Cancelled() const {
    return FWindow && FWindow->Cancelled();
}

void TSchedPleaseWait::Pump() {
    ProcessMessagesDuringWork();
}

void TSchedPleaseWait::Finish() {
    if (!FWindow)
        return;
    FWindow->Finish();
    FWindow.reset();
}
