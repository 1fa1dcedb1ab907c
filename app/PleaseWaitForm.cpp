#include "app/PleaseWaitForm.h"

#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/TreeSearchEngine.h"
#include "classlib/gui/NamedChild.h"

TCommonAVI AnimationClip(TProgressAnimation Animation, TCommonAVI WindowClip) {
    switch (Animation) {
    case TProgressAnimation::CopyFiles:
        return aviCopyFiles;
    case TProgressAnimation::DeleteFile:
        return aviDeleteFile;
    case TProgressAnimation::RecycleFile:
        return aviRecycleFile;
    case TProgressAnimation::None:
        break;
    }
    return WindowClip;
}

TfrmPleaseWait::TfrmPleaseWait(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmPleaseWait";
    SetBounds(Left(), Top(), 342, 183);
    Position = poScreenCenter;
    Animate = MakeNamedChild<TAnimate>(*this, *this, L"Animate", Bounds(16, 26, 304, 60));
    Animate->SetCommonAVI(aviDeleteFile);
    labPleaseWait = MakeNamedChild<TLabel>(*this, *this, L"labPleaseWait", Bounds(16, 98, 65, 13));
    labText = MakeNamedChild<TLabel>(*this, *this, L"labText", Bounds(16, 122, 305, 13));
    labText->SetAutoSize(false);
    btnCancel =
        MakeNamedChild<TavImageExpandButton>(*this, *this, L"btnCancel", Bounds(244, 92, 78, 25));
    btnCancel->SetCaption(L"Cancel");
    btnCancel->Tag = GlyphNone;
    if (frmDM)
        btnCancel->SetImageList(frmDM->avILBig);
    btnCancel->OnClick = [this](TObject* Sender) { CancelClick(Sender); };
    Timer = new TTimer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(100);
    Timer->OnTimer = [](TObject*) { Application->ProcessMessages(); };
    OnShow = [this](TObject*) {
        const String Text = PleaseWaitText();
        SetFormCaption(Text);
        labPleaseWait->SetCaption(Text);
    };
    OnClose = [this](TObject*, TCloseAction&) {
        Timer->SetEnabled(false);
        Animate->SetActive(false);
    };
}

void TfrmPleaseWait::ShowWait(const String& Text, bool ShowCancel) {
    Animate->SetActive(true);
    labText->SetCaption(Text);
    HelpButton->SetVisible(false);
    btnCancel->SetVisible(ShowCancel);
    // Each wait is new: an earlier Cancel must not end it, and its window must keep painting.
    FCancelled = false;
    Timer->SetEnabled(true);
    ShowFlat();
    Application->ProcessMessages();
}

void TfrmPleaseWait::WndProc(TMessage& Message) {
    // Escape cancels as the button does, while it shows.
    if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_ESCAPE && btnCancel->Visible()) {
        CancelClick(this);
        Message.Result = 1;
        return;
    }
    TFlatForm::WndProc(Message);
}

void TfrmPleaseWait::CancelClick(TObject*) {
    if (LinkedSearch)
        LinkedSearch->Stop = true;
    FCancelled = true;
    Close();
    Application->ProcessMessages();
}

void TfrmPleaseWait::Start(const String& Label, std::int64_t, bool CanCancel,
                           TProgressAnimation Animation) {
    Animate->SetCommonAVI(AnimationClip(Animation, Animate->CommonAVI()));
    ShowWait(Label, CanCancel);
}

void TfrmPleaseWait::SetLabel(const String& Text) {
    labText->SetCaption(Text);
}

void TfrmPleaseWait::SetCancelVisible(bool Visible) {
    btnCancel->SetVisible(Visible);
}

void TfrmPleaseWait::Pump() {
    ProcessMessagesDuringWork();
}

void TfrmPleaseWait::Finish() {
    if (Visible())
        Close();
    Timer->SetEnabled(false);
    Animate->SetActive(false);
}
