// The scheduler's icon in the notification area: shows, changes and removes it, turns its mouse
// messages into click, double-click and mouse events, pops up a menu, cycles icons of an image
// list, and puts the icon back when the taskbar is recreated.
#pragma once

#include "classlib/gui/Controls.h"
#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/Graphics.h"
#include "classlib/gui/ImgList.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/UtilityWindow.h"

#include <functional>
#include <memory>

// The callback message the shell sends to the icon window.
constexpr UINT WM_TRAYICON = 0x800;

// The shell's notification-area call. Replaceable so that tests can record what reaches the
// shell; an empty call restores Shell_NotifyIconW.
using TNotifyIconCall = std::function<bool(DWORD Message, const NOTIFYICONDATAW& Data)>;
void SetNotifyIconCall(TNotifyIconCall Call);

class TCvTrayIcon;
using TCycleEvent = std::function<void(TObject* Sender, int NextIndex)>;

class TCvTrayIcon : public TComponent {
public:
    explicit TCvTrayIcon(TComponent* Owner);
    ~TCvTrayIcon() override;

    // Each answers whether the shell took the call; nothing is retried.
    virtual bool ShowIcon();
    virtual bool HideIcon();
    virtual bool ModifyIcon();

    TCustomImageList* IconList() const { return FIconList; }
    void SetIconList(TCustomImageList* Value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool Value);
    UINT CycleInterval() const { return FCycleInterval; }
    void SetCycleInterval(UINT Value);
    bool Enabled = true;
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    const TIcon& Icon() const { return FIcon; }
    void SetIcon(const TIcon& Value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool Value);
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    // The menu opens on the left button too.
    bool LeftPopup = false;
    bool StartMinimized = false;
    bool MinimizeToTray = false;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TCycleEvent OnCycle;

    // The window the shell reports the icon's mouse messages to.
    HWND IconWindow() const { return FIconWindow.Handle(); }
    // The one-shot timer that tells a click from a double click runs after a left press.
    bool ClickTimerRunning() const { return FClickTimer->Enabled(); }
    // What the timers do when they fire; the message loop calls them, tests may too.
    void ClickTimerFired();
    void CycleTimerFired();

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    virtual void Click();
    virtual void DblClick();
    virtual void Cycle(int NextIndex);
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void DoMinimizeToTray();

private:
    bool IconWindowProc(TMessage& Message);
    void TrayMouseMessage(UINT MouseMessage);
    bool AppWindowHook(TMessage& Message);
    void ParentWindowProc(TMessage& Message);
    void HookParent();
    void UnhookParent();
    bool CallShell(DWORD Message);
    void InitIcon();
    void ShowMenu();
    void ClickDefaultMenuItem();
    void HideMainForm();
    TWinControl* OwnerControl() const;

    TUtilityWindow FIconWindow;
    std::unique_ptr<TTimer> FCycleTimer;
    std::unique_ptr<TTimer> FClickTimer;
    NOTIFYICONDATAW FData{};
    // The shell holds our icon: a second add would be refused, so ShowIcon modifies instead.
    bool FAdded = false;
    TIcon FIcon;
    TCustomImageList* FIconList = nullptr;
    TPopupMenu* FPopupMenu = nullptr;
    String FHint;
    bool FShowHint = true;
    bool FIconVisible = true;
    int FIconIndex = 0;
    bool FCycleIcons = false;
    UINT FCycleInterval = 0;
    bool FClickStarted = false;
    bool FClickPending = false;
    bool FDoubleClicked = false;
    bool FStartPending = true;
    int FAppHook = 0;
    TWndMethod FSavedParentProc;
};
