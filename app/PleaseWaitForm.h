// The please-wait window: an animation, a line of text, optionally a Cancel button, and a timer
// that keeps the window painting while the window thread works.
#pragma once

#include "app/FlatForm.h"
#include "app/Progress.h"
#include "classlib/gui/ComCtrls.h"
#include "classlib/gui/ExtCtrls.h"

class TTreeSearchEngine;

// The clip a busy window runs for Animation; None keeps the window's own.
TCommonAVI AnimationClip(TProgressAnimation Animation, TCommonAVI WindowClip);

class TfrmPleaseWait : public TFlatForm, public IProgress {
public:
    explicit TfrmPleaseWait(TComponent* AOwner);

    // Shows Text and, when ShowCancel, the Cancel button; not modal. Every call clears
    // Cancelled and starts the pump timer; the caller closes the window when its work ends.
    void ShowWait(const String& Text, bool ShowCancel);
    // Cancel: stops the linked walk, sets Cancelled and closes the window.
    void CancelClick(TObject* Sender);

    bool Cancelled() const override { return FCancelled; }
    // The walk Cancel stops; not owned.
    TTreeSearchEngine* LinkedSearch = nullptr;

    TAnimate* Animate;
    TLabel* labPleaseWait;
    TLabel* labText;
    TavImageExpandButton* btnCancel;
    TTimer* Timer;

    // IProgress: the window without a bar.
    void Start(const String& Label, std::int64_t Max, bool CanCancel,
               TProgressAnimation Animation) override;
    void SetLabel(const String& Text) override;
    void SetRange(std::int64_t) override {}
    void SetPosition(std::int64_t) override {}
    void SetCancelVisible(bool Visible) override;
    void Pump() override;
    void Finish() override;

protected:
    void WndProc(TMessage& Message) override;

private:
    bool FCancelled = false;
};
