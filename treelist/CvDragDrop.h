// OLE drag and drop onto a control: the drop target that registers the control's window with the
// system and turns the system's calls into two events, and the names of clipboard formats.
#pragma once

#include "classlib/gui/Controls.h"

#include <ole2.h>

#include <functional>
#include <memory>

class TCvHook;

// TDragState (enter, leave, move) is the class library's.
// Answered to the system as copy (1), move (2), link (4) and none (0).
enum TDragType { dtCopy, dtMove, dtLink, dtNone };
DWORD DropEffectOf(TDragType Type);
// The class library's shift state of an OLE key state (MK_* bits).
TShiftState ShiftStateOfKeys(DWORD KeyState);
// The standard formats 1 to 16 by their fixed names, others by the name the system registered
// for them; empty when there is none.
String ClipboardFormatName(UINT Format);

// The data of the drag in progress, held with a reference.
class TOleDragObject : public TObject {
public:
    TOleDragObject(IDataObject* Data, DWORD KeyState);
    ~TOleDragObject() override;
    TOleDragObject(const TOleDragObject&) = delete;
    TOleDragObject& operator=(const TOleDragObject&) = delete;

    IDataObject* DataObject() const { return FData; }
    DWORD KeyState() const { return FKeyState; }
    TStringList& Strings() { return FStrings; }

private:
    IDataObject* FData;
    DWORD FKeyState;
    TStringList FStrings;
};

using TTargetDragEvent =
    std::function<void(TObject* Sender, TDragState State, TOleDragObject* Source, TShiftState Shift,
                       int X, int Y, TDragType& DragType)>;
using TTargetDropEvent = std::function<void(TObject* Sender, TOleDragObject* Source,
                                            TShiftState Shift, int X, int Y, TDragType& DragType)>;

// The registration follows the target's window: made when Target is set on a control that has
// one and whenever the window is created again, revoked before it is destroyed and when Target
// changes. Registration failures raise Exception with the system's reason. The system's calls
// never free the component: its reference count starts at 1 and its owner deletes it.
class TCvDropTarget : public TComponent, public IDropTarget {
public:
    explicit TCvDropTarget(TComponent* AOwner);
    ~TCvDropTarget() override;

    TWinControl* Target() const { return FTarget; }
    void SetTarget(TWinControl* Value);
    // The clipboard format names the dragged data offers, in its order.
    TStringList& FormatNames() { return FFormatNames; }
    TOleDragObject* DragSource() const { return FDragSource.get(); }

    TTargetDragEvent OnTargetDrag;
    TTargetDropEvent OnTargetDrop;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Riid, void** Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* Data, DWORD KeyState, POINTL Point,
                                        DWORD* Effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD KeyState, POINTL Point, DWORD* Effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* Data, DWORD KeyState, POINTL Point,
                                   DWORD* Effect) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void RegisterWindow();
    void RevokeWindow();
    TPoint ClientPoint(POINTL Point) const;
    void FireDrag(TDragState State, TShiftState Shift, TPoint At, TDragType& Type);

    TWinControl* FTarget = nullptr;
    HWND FRegistered = nullptr; // the window registered with this target, until revoked
    TCvHook* FHook;             // owned as a component
    LONG FRefCount = 1;
    bool FOleReady = false;
    TStringList FFormatNames;
    std::unique_ptr<TOleDragObject> FDragSource;
};
