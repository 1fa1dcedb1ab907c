// The progress window: an animation, the current item, a bar from 0 to 100 and a Cancel button that
// the running loop reads; Cancel leaves the window open until the caller closes it.
#pragma once

#include "app/FlatForm.h"
#include "app/Progress.h"
#include "classlib/gui/ComCtrls.h"
#include "controls/FlatProgressBar.h"

class TfrmProgress : public TFlatForm, public IProgress {
public:
    explicit TfrmProgress(TComponent* AOwner);

    // Cancel and the title-bar close: sets Cancelled, which the zip and FTP loops read through
    // this window; the window stays.
    void CancelClick(TObject* Sender);
    bool Cancelled() const override { return FCancelled; }

    TAnimate* SplitFilesAnimate;
    TLabel* labFile;
    TFlatProgressBar* ProgressBar;
    TavImageExpandButton* btnCancel;

    // IProgress: the position is shown as a share of Max on the 0..100 bar.
    void Start(const String& Label, std::int64_t Max, bool CanCancel,
               TProgressAnimation Animation) override;
    void SetLabel(const String& Text) override;
    void SetRange(std::int64_t Max) override;
    void SetPosition(std::int64_t Position) override;
    void SetCancelVisible(bool Visible) override;
    void Pump() override;
    void Finish() override;

protected:
    void WndProc(TMessage& Message) override;

private:
    void ShowShare();

    bool FCancelled = false;
    std::int64_t FMax = 0;
    std::int64_t FPosition = 0;
};
