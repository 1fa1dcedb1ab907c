// Watching and intercepting another control's messages without deriving from it: a TCvHook names
// a control and hears each of its messages before and after the control's own handling. The
// tree-list hooks its form this way, the drop target its control.
#pragma once

#include "classlib/gui/Controls.h"
#include "classlib/gui/UtilityWindow.h"

#include <functional>
#include <memory>
#include <vector>

// Handled set by a before-handler skips the control's own handling and the hooks attached
// earlier; set by an after-handler it skips the after-handlers of the hooks attached earlier.
using TCvHookEvent = std::function<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

// Attached to its control while Active and Control are both set (at design time only with
// DesignActive). A control that goes first leaves the hook inactive with no control.
class TCvHook : public TComponent {
public:
    explicit TCvHook(TComponent* AOwner);
    ~TCvHook() override;

    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value);
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool DesignActive() const { return FDesignActive; }
    void SetDesignActive(bool Value);

    TCvHookEvent OnBeforeProcess;
    TCvHookEvent OnAfterProcess;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoBeforeProcess(TMessage& Msg, bool& Handled);
    virtual void DoAfterProcess(TMessage& Msg, bool& Handled);

private:
    friend class TCtlHook;
    bool Designing() const;
    // Attaches to or detaches from the control, whatever the flag says.
    void Attach();
    void Detach();

    TControl* FControl = nullptr;
    bool FActive = false;
    bool FDesignActive = false;
};

// All hooks of one control. The first to attach puts the replacement into the control's
// WindowProc; the last to leave puts the saved one back. Emptied, it waits for the next hook on
// the same control, and goes with the control.
class TCtlHook : public TObject, public std::enable_shared_from_this<TCtlHook> {
public:
    explicit TCtlHook(TControl* Control) : FControl(Control) {}
    ~TCtlHook() override;
    TCtlHook(const TCtlHook&) = delete;
    TCtlHook& operator=(const TCtlHook&) = delete;

    TControl* Control() const { return FControl; }
    int HookCount() const { return static_cast<int>(FHooks.size()); }
    // Whether the control's WindowProc is the replacement.
    bool Hooked() const { return FSaved != nullptr; }
    void AttachHook(TCvHook* Hook);
    void DetachHook(TCvHook* Hook);

private:
    friend class TCvHookList;
    void Process(TMessage& Message);
    void Restore();
    bool Attached(const TCvHook* Hook) const;

    TControl* FControl;
    std::vector<TCvHook*> FHooks; // not owned; the last attached is last
    // Shared so that a call in progress survives a restore made by the call itself.
    std::shared_ptr<TWndMethod> FSaved;
    bool FDestroying = false;
    bool FControlGone = false;
};

// The program's TCtlHooks, one per hooked control, and a hidden window that lets Windows end.
class TCvHookList : public TObject {
public:
    TCvHookList();
    ~TCvHookList() override; // every hooked control gets its own WindowProc back

    TCtlHook* FindHook(const TControl* Control) const;
    // The control's TCtlHook, made when missing.
    TCtlHook& HookOf(TControl* Control);
    int Count() const { return static_cast<int>(FHooks.size()); }
    HWND Handle() const { return FWindow.Handle(); }

private:
    class TWatch;
    void ControlGone(const TComponent* Control);

    std::vector<std::shared_ptr<TCtlHook>> FHooks;
    std::unique_ptr<TWatch> FWatch; // hears of hooked controls that go
    TUtilityWindow FWindow;
};

// Null until a hook first attaches.
TCvHookList* GlobalHookList();
// Frees the list (restoring every hooked control); done at program end.
void FreeGlobalHookList();
