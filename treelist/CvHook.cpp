#include "treelist/CvHook.h"

#include <algorithm>
#include <utility>

namespace {

TCvHookList* GHookList = nullptr;

// The list goes at program end, after everything that used it.
struct TFinalization {
    TFinalization() = default;
    TFinalization(const TFinalization&) = delete;
    TFinalization& operator=(const TFinalization&) = delete;
    ~TFinalization() { FreeGlobalHookList(); }
} Finalization;

} // namespace

TCvHookList* GlobalHookList() {
    return GHookList;
}

void FreeGlobalHookList() {
    std::unique_ptr<TCvHookList> Old(std::exchange(GHookList, nullptr));
}

// ------------------------------------------------------------------ TCvHook

TCvHook::TCvHook(TComponent* AOwner) : TComponent(AOwner) {}

TCvHook::~TCvHook() {
    SetControl(nullptr);
}

void TCvHook::SetControl(TControl* Value) {
    if (Value == FControl)
        return;
    const bool WasActive = FActive;
    SetActive(false);
    if (FControl)
        RemoveFreeNotification(FControl);
    FControl = Value;
    if (FControl) {
        SetActive(WasActive);
        FControl->FreeNotification(this);
    }
}

void TCvHook::SetActive(bool Value) {
    if (Value == FActive)
        return;
    // At design time only the flag changes, unless the hook is meant to work there too.
    if (!Designing() || FDesignActive) {
        if (Value)
            Attach();
        else
            Detach();
    }
    FActive = Value;
}

void TCvHook::SetDesignActive(bool Value) {
    if (Value == FDesignActive)
        return;
    FDesignActive = Value;
    if (Designing() && FActive) {
        if (Value)
            Attach();
        else
            Detach();
    }
}

bool TCvHook::Designing() const {
    return ComponentState().Contains(csDesigning) ||
           (Owner() && Owner()->ComponentState().Contains(csDesigning));
}

void TCvHook::Attach() {
    if (!FControl)
        return;
    if (!GHookList)
        GHookList = new TCvHookList;
    GHookList->HookOf(FControl).AttachHook(this);
}

void TCvHook::Detach() {
    if (!GHookList)
        return;
    if (TCtlHook* Hook = GHookList->FindHook(FControl))
        Hook->DetachHook(this);
}

void TCvHook::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent != nullptr && AComponent == FControl)
        SetControl(nullptr);
}

void TCvHook::DoBeforeProcess(TMessage& Msg, bool& Handled) {
    if (OnBeforeProcess)
        OnBeforeProcess(this, Msg, Handled);
}

void TCvHook::DoAfterProcess(TMessage& Msg, bool& Handled) {
    if (OnAfterProcess)
        OnAfterProcess(this, Msg, Handled);
}

// ----------------------------------------------------------------- TCtlHook

TCtlHook::~TCtlHook() {
    FDestroying = true;
    FHooks.clear();
    Restore();
}

bool TCtlHook::Attached(const TCvHook* Hook) const {
    return std::find(FHooks.begin(), FHooks.end(), Hook) != FHooks.end();
}

void TCtlHook::AttachHook(TCvHook* Hook) {
    if (Attached(Hook))
        return;
    FHooks.push_back(Hook);
    if (FSaved || !FControl || FControlGone)
        return;
    FSaved = std::make_shared<TWndMethod>(std::move(FControl->WindowProc));
    // Holds no reference: the control must not keep an emptied TCtlHook alive, and the call
    // takes its own, so a restore made while the message is handled can't pull it away.
    FControl->WindowProc = [Weak = weak_from_this()](TMessage& Message) {
        if (const std::shared_ptr<TCtlHook> Self = Weak.lock())
            Self->Process(Message);
    };
}

void TCtlHook::DetachHook(TCvHook* Hook) {
    std::erase(FHooks, Hook);
    if (FHooks.empty())
        Restore();
}

void TCtlHook::Restore() {
    if (!FSaved)
        return;
    // A control already being destroyed has no WindowProc left to set.
    if (FControl && !FControlGone && !FControl->Destroying())
        FControl->WindowProc = *FSaved;
    FSaved.reset();
}

void TCtlHook::Process(TMessage& Message) {
    // Copies: a handler may detach hooks, free them, restore the control or free the control.
    const std::shared_ptr<TWndMethod> Saved = FSaved;
    const std::vector<TCvHook*> Hooks = FHooks;
    bool Handled = false;
    if (Message.Msg != WM_QUIT && !FDestroying)
        for (auto It = Hooks.rbegin(); It != Hooks.rend() && !Handled; ++It)
            if (Attached(*It))
                (*It)->DoBeforeProcess(Message, Handled);
    if (!Handled && Saved && *Saved)
        (*Saved)(Message);
    Handled = false;
    for (auto It = Hooks.rbegin(); It != Hooks.rend() && !Handled; ++It)
        if (Attached(*It))
            (*It)->DoAfterProcess(Message, Handled);
}

// -------------------------------------------------------------- TCvHookList

// Asks each hooked control for a free notification, so that a TCtlHook never outlives its
// control (and never writes into a freed one).
class TCvHookList::TWatch : public TComponent {
public:
    explicit TWatch(TCvHookList& List) : TComponent(nullptr), FList(List) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            FList.ControlGone(AComponent);
    }

private:
    TCvHookList& FList;
};

TCvHookList::TCvHookList()
    : FWatch(std::make_unique<TWatch>(*this)), FWindow([](TMessage& Message) {
          // Windows may end: nothing here needs to be saved.
          if (Message.Msg != WM_QUERYENDSESSION)
              return false;
          Message.Result = 1;
          return true;
      }) {}

TCvHookList::~TCvHookList() {
    FHooks.clear();
}

TCtlHook* TCvHookList::FindHook(const TControl* Control) const {
    const auto It =
        std::find_if(FHooks.begin(), FHooks.end(), [Control](const std::shared_ptr<TCtlHook>& H) {
            return Control != nullptr && H->Control() == Control;
        });
    return It != FHooks.end() ? It->get() : nullptr;
}

TCtlHook& TCvHookList::HookOf(TControl* Control) {
    if (TCtlHook* Found = FindHook(Control))
        return *Found;
    FHooks.push_back(std::make_shared<TCtlHook>(Control));
    Control->FreeNotification(FWatch.get());
    return *FHooks.back();
}

void TCvHookList::ControlGone(const TComponent* Control) {
    const auto It =
        std::find_if(FHooks.begin(), FHooks.end(), [Control](const std::shared_ptr<TCtlHook>& H) {
            return H->Control() == Control;
        });
    if (It == FHooks.end())
        return;
    // Its hooks are being told as well; none of them may hear more of a freed control.
    (*It)->FControlGone = true;
    (*It)->FHooks.clear();
    FHooks.erase(It);
}
