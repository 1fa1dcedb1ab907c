#pragma once
// The busy window of a scheduled run: a fresh please-wait window for each run, so no flag of an
// earlier run carries over, shown only while the scheduler's own window is on screen (a run from
// the tray works silently) and freed when the run ends.

#include "app/PleaseWaitForm.h"
#include "app/Progress.h"

#include <memory>

class TSchedPleaseWait : public IProgress {
public:
    // ShownWith: the scheduler window, whose visibility decides whether a run is shown.
    explicit TSchedPleaseWait(const TControl& ShownWith);
    ~TSchedPleaseWait() override;
    TSchedPleaseWait(const TSchedPleaseWait&) = delete;
    TSchedPleaseWait& operator=(const TSchedPleaseWait&) = delete;

    // Label: a name for the first line, which then has no second line; empty: the greeting on
    // the first line and the work on the second.
    void Start(const String& Label, std::int64_t Max, bool CanCancel,
               TProgressAnimation Animation) override;
    void SetLabel(const String& Text) override;
    void SetRange(std::int64_t) override {}
    void SetPosition(std::int64_t) override {}
    void SetCancelVisible(bool Visible) override;
    bool Cancelled() const override;
    void Pump() override;
    void Finish() override;

    // The window of the running run; null between runs.
    TfrmPleaseWait* Window() const { return FWindow.get(); }

private:
    const TControl& FShownWith;
    std::unique_ptr<TfrmPleaseWait> FWindow;
};
