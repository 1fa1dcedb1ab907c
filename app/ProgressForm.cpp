#include "app/ProgressForm.h"

#include "app/PleaseWaitForm.h"
#include "app/QRVDataMod.h"
#include "classlib/gui/NamedChild.h"

#include <algorithm>

TfrmProgress::TfrmProgress(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmProgress";
    SetBounds(Left(), Top(), 356, 202);
    SetFormStyle(fsStayOnTop);
    Position = poMainFormCenter;
    SplitFilesAnimate =
        MakeNamedChild<TAnimate>(*this, *this, L"SplitFilesAnimate", Bounds(40, 48, 272, 60));
    SplitFilesAnimate->SetCommonAVI(aviCopyFiles);
    labFile = MakeNamedChild<TLabel>(*this, *this, L"labFile", Bounds(16, 120, 217, 13));
    labFile->SetAutoSize(false);
    ProgressBar =
        MakeNamedChild<TFlatProgressBar>(*this, *this, L"ProgressBar", Bounds(16, 136, 228, 16));
    btnCancel =
        MakeNamedChild<TavImageExpandButton>(*this, *this, L"btnCancel", Bounds(256, 131, 78, 25));
    btnCancel->SetCaption(L"Cancel");
    btnCancel->Tag = GlyphNone;
    if (frmDM)
        btnCancel->SetImageList(frmDM->avILBig);
    btnCancel->OnClick = [this](TObject* Sender) { CancelClick(Sender); };
    // The title-bar close cancels like the button: the loop, not the user, ends the window.
    CloseButton->OnClick = [this](TObject* Sender) { CancelClick(Sender); };
    HelpButton->SetVisible(false);
    OnShow = [this](TObject*) { SetFormCaption(PleaseWaitText()); };
    OnClose = [this](TObject*, TCloseAction&) { SplitFilesAnimate->SetActive(false); };
}

void TfrmProgress::WndProc(TMessage& Message) {
    if (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_CLOSE) {
        CancelClick(this);
        Message.Result = 0;
        return;
    }
    // Escape cancels as the button does, while the work can be cancelled.
    if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_ESCAPE && btnCancel->Visible()) {
        CancelClick(this);
        Message.Result = 1;
        return;
    }
    TFlatForm::WndProc(Message);
}

void TfrmProgress::CancelClick(TObject*) {
    FCancelled = true;
}

void TfrmProgress::Start(const String& Label, std::int64_t Max, bool CanCancel,
                         TProgressAnimation Animation) {
    // A new operation: a Cancel of an earlier one must not stop it.
    FCancelled = false;
    FMax = Max;
    FPosition = 0;
    labFile->SetCaption(Label);
    btnCancel->SetVisible(CanCancel);
    ProgressBar->SetPosition(0);
    SplitFilesAnimate->SetCommonAVI(AnimationClip(Animation, SplitFilesAnimate->CommonAVI()));
    SplitFilesAnimate->SetActive(true);
    HelpButton->SetVisible(false);
    ShowFlat();
    Application->ProcessMessages();
}

void TfrmProgress::SetLabel(const String& Text) {
    labFile->SetCaption(Text);
}

void TfrmProgress::SetRange(std::int64_t Max) {
    FMax = Max;
    ShowShare();
}

void TfrmProgress::SetPosition(std::int64_t Position) {
    FPosition = Position;
    ShowShare();
}

void TfrmProgress::ShowShare() {
    // Work that is not counted shows an empty bar rather than a division by zero.
    const std::int64_t Share =
        FMax > 0 ? std::clamp<std::int64_t>(FPosition * 100 / FMax, 0, 100) : 0;
    ProgressBar->SetPosition(static_cast<int>(Share));
}

void TfrmProgress::SetCancelVisible(bool Visible) {
    btnCancel->SetVisible(Visible);
}

void TfrmProgress::Pump() {
    ProcessMessagesDuringWork();
}

void TfrmProgress::Finish() {
    if (Visible())
        Close();
    SplitFilesAnimate->SetActive(false);
}
