// Controls: TControl (anything placed on a window), TWinControl (a control with a window of its
// own, which paints the painted controls it holds) and TGraphicControl (a control painted by its
// parent, with no window).
#pragma once

#include "classlib/gui/Graphics.h"
#include "classlib/gui/Messages.h"
#include "classlib/rtl/Classes.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TWinControl;
class TPopupMenu;

// Reports the exception being handled (call it inside a catch block) through the application's
// exception handling, or to the debugger output when there is no application. Never throws.
void HandleCurrentException(TObject* Sender) noexcept;

// A mouse cursor: a system cursor (negative), crDefault (the control's own, or the window
// class's), or one of the program's cursor resources (positive; see TScreen::Cursors).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// A request the control cannot carry out in its present state.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// ----------------------------------------------------------------- TControl

// How a control behaves: csCaptureMouse takes the mouse on a press; csClickEvents makes a press
// and release inside it a Click; csDoubleClicks makes a double press a DblClick; csAcceptsControls
// lets it hold controls; csOpaque says its Paint covers all of it.
enum TControlStyleFlag {
    csAcceptsControls,
    csCaptureMouse,
    csClickEvents,
    csDoubleClicks,
    csSetCaption,
    csOpaque,
    csFramed,
    csParentBackground,
};
using TControlStyle = TEnumSet<TControlStyleFlag>;
constexpr TControlStyle DefaultControlStyle{csCaptureMouse, csClickEvents, csSetCaption,
                                            csDoubleClicks};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Where text sits across a control, and down it.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
// The sides of its parent a control keeps its distance to when the parent is resized: anchored
// left and right it stretches, right only it moves, neither way it keeps its centre.
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TEnumSet<TAnchorKind>;

// The bevels of a window's frame, drawn outside its client area while BevelKind is not bkNone.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
// In the order of the system's BF_LEFT, BF_TOP, BF_RIGHT and BF_BOTTOM bits.
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TEnumSet<TBevelEdge>;

// Limits SetBounds keeps the size in; 0 is no limit.
struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TEnumSet<TShiftStateFlag>;
// The modifier keys as they are now, for keyboard messages.
TShiftState KeyboardShiftState();
// The modifier keys and buttons a mouse message's MK_* flags report.
TShiftState MouseShiftState(UINT Keys);

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;
// What a control's WindowProc is: the messages it gets, window messages and CM_*.
using TWndMethod = std::function<void(TMessage& Message)>;

class TControl;

// Tells whether a control still exists after calling out to code that may delete it (an event
// handler). Take it before the call; Alive() afterwards.
class TAliveToken {
public:
    bool Alive() const { return !FFlag.expired(); }

private:
    friend class TControl;
    explicit TAliveToken(std::weak_ptr<bool> Flag) : FFlag(std::move(Flag)) {}
    std::weak_ptr<bool> FFlag;
};

// ------------------------------------------------------------- drag and drop

// A control drags when DragMode is dmAutomatic and the left button goes down on it, or when
// BeginDrag is called. The drag holds the mouse; each control the mouse passes over gets CM_DRAG
// (enter, move, leave) and may accept the drag in DragOver / OnDragOver; releasing the button
// over a control that accepts drops there (DragDrop / OnDragDrop). Escape or a lost capture
// cancels. The source then hears of the end in OnEndDrag (Target null when nothing took it).
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// CM_DRAG's WParam.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

// What is being dragged. A derived object may carry data, change the cursor or show an image.
class TDragObject : public TObject {
public:
    // Where the mouse is, on the screen, and the control under it (null over none).
    TPoint DragPos;
    TControl* DragTarget = nullptr;
    // The cursor while over (Accepted) or not over a place that takes the drag.
    virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
    // The drag ended on Target (null: nowhere) at X, Y in its coordinates.
    virtual void Finished(TObject* Target, int X, int Y, bool Accepted);
    virtual void HideDragImage() {}
    virtual void ShowDragImage() {}
};

// The drag of a control: the drag object made when OnStartDrag supplies none.
class TDragControlObject : public TDragObject {
public:
    explicit TDragControlObject(TControl* AControl);
    TControl* Control() const;
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;
    void Finished(TObject* Target, int X, int Y, bool Accepted) override;

private:
    TControl* FControl;
    TAliveToken FAlive;
};

// CM_DRAG's LParam.
struct TDragRec {
    TPoint Pos; // on the screen
    TDragObject* Source;
    TControl* Target;
};

// Source is the dragged control for a control's drag, else the drag object.
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

// Ends the drag in progress without a drop.
void CancelDrag();
// A drag is in progress (past its threshold).
bool DragActive();

// Bounds are in the parent's client coordinates (screen coordinates for a window without a
// parent). Font, colour and ShowHint follow the parent's while ParentFont / ParentColor /
// ParentShowHint hold; setting them directly ends that.
//
// Every message a control gets, window messages and the library's CM_* notices alike, goes
// through WindowProc, which calls WndProc unless replaced; a replacement keeps the old value and
// calls it for what it does not handle. Setters notify through Perform, so the notice reaches a
// replaced WindowProc as well. A control deleted by its own event handler is harmless: the code
// that called the handler checks an alive token before it touches the control again.
class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override; // leaves its parent

    TWinControl* Parent() const { return FParent; }
    void SetParent(TWinControl* Value);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    // Keeps the size within Constraints.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }

    // The area inside the control's frame, in its own coordinates.
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    // Resize the control so that its client area gets this size.
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    // Between the control's client coordinates and the screen's.
    TPoint ClientToScreen(TPoint Point) const;
    TPoint ScreenToClient(TPoint Point) const;

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so are all its parents.
    bool Showing() const;

    // A disabled control takes no mouse or keyboard input.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);

    String Hint;
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

    // The menu a right click on the control opens while its AutoPopup holds; not owned, and
    // forgotten when the menu goes.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    // Places the control along an edge of its parent (or over the rest of it); the parent
    // arranges its aligned controls whenever its size or one of them changes.
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors{akLeft, akTop};
    TSizeConstraints Constraints;
    TControlStyle ControlStyle = DefaultControlStyle;

    // All mouse input goes to this control until it lets go, also for a control without a window
    // (its parent's window holds the capture and hands the messages on). However else the
    // capture ends, the control hears of it through CaptureLost.
    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    // Sends a message straight to WindowProc; returns its result.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    TWndMethod WindowProc;

    // Moves the control to the top (front) or bottom of its siblings' z-order.
    void BringToFront();
    void SendToBack();

    // Marks the control for painting; pixels are produced only when the window paints.
    virtual void Invalidate();
    // Paints whatever is marked, now.
    virtual void Update();
    void Repaint() {
        Invalidate();
        Update();
    }

    TAliveToken AliveToken() const { return TAliveToken(FAlive); }

    // Dragging (see TDragObject). A drag starts once the mouse moved Threshold pixels with the
    // button down (-1: the system's distance), or at once when Immediate.
    TDragMode DragMode = dmManual;
    TCursor DragCursor = crDrag;
    void BeginDrag(bool Immediate, int Threshold = -1);
    bool Dragging() const;
    // Ends this control's drag: a drop where the mouse is, or a cancel.
    void EndDrag(bool Drop);
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    // Every message of the control; the base handles mouse input and the CM_* notices.
    virtual void WndProc(TMessage& Message);
    // What WndProc leaves: nothing for a control without a window.
    virtual void DefaultHandler(TMessage& Message);

    void Notification(TComponent* AComponent, TOperation Operation) override;

    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Runs OnClick; called between a press and release inside the control, before MouseUp.
    virtual void Click();
    virtual void DblClick();
    // A drag is over the control (Accept: it would take it; OnDragOver decides, and without one
    // nothing is accepted), and dropped on it.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);

    // Hooks run, through the matching CM_* notice, after the property changed.
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    virtual void CaptionChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    // Through CM_CAPTURELOST: the mouse capture was taken from the control (see there); it
    // gives up what a press started. Not called when the control lets go itself.
    virtual void CaptureLost();
    // For windows, whose caption the system may also set: stores it without side effects.
    void StoreCaption(const String& Value) { FCaption = Value; }
    // For windows, which learn their bounds from the system.
    void StoreBounds(const TRect& R);

private:
    friend class TWinControl;
    void InvalidateArea();
    void FontPropertyChanged();
    void TakeParentFont();
    void TakeParentColor();
    void TakeParentShowHint();
    void MouseButtonMessage(TMessage& Message, TMouseButton Button);
    // Lets go of the capture the control holds; Lost tells it so (CM_CAPTURELOST).
    void ReleaseMouseCapture(bool Lost);
    void CMDrag(TMessage& Message);
    TSize ConstrainedSize(int AWidth, int AHeight) const;
    // Remembers the bounds and the parent's client size that Anchors measure from.
    void RecordAnchorBase();

    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    String FCaption;
    TFont FFont;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    TAlign FAlign = alNone;
    bool FClicked = false;
    TRect FAnchorBase;
    TSize FAnchorParentSize;
};

// ------------------------------------------------------------- TWinControl

// What a window is created with. CreateParams fills it; derived classes adjust it.
struct TCreateParams {
    String WinClassName;
    UINT WindowClassStyle = CS_DBLCLKS;
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

// Registers the window class Params names, for this module, once; later calls do nothing.
void RegisterWindowClass(const TCreateParams& Params, WNDPROC Proc);

// The window procedure of every window the library makes for an object of type TTarget, which
// passes itself as CreateWindowEx's parameter. The window is bound to the object at WM_NCCREATE
// (so the object's FHandle is set from the first message) and unbound at WM_NCDESTROY; each
// message goes to the object's WindowProc, and exceptions stop here. An object that goes before
// its window clears GWLP_USERDATA first.
template <class TTarget>
LRESULT CALLBACK ObjectWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    auto* Target = reinterpret_cast<TTarget*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
    if (Msg == WM_NCCREATE) {
        Target =
            static_cast<TTarget*>(reinterpret_cast<const CREATESTRUCTW*>(LParam)->lpCreateParams);
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Target));
        Target->FHandle = Wnd;
    }
    if (!Target)
        return DefWindowProcW(Wnd, Msg, WParam, LParam);
    TMessage Message{Msg, WParam, LParam, 0};
    try {
        Target->WindowProc(Message);
    } catch (...) {
        HandleCurrentException(Target);
    }
    if (Msg == WM_NCDESTROY) {
        // Read again: the object may have gone (and unbound itself) while handling the message.
        if (auto* Bound = reinterpret_cast<TTarget*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA))) {
            SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
            Bound->FHandle = nullptr;
        }
    }
    return Message.Result;
}

// The library's control that owns Wnd, or nullptr for a window of another kind.
TWinControl* FindControl(HWND Wnd);
// The control under a screen point: the innermost window of this thread's library controls, and
// in it the windowless control there (disabled ones too when AllowDisabled).
TControl* FindDragTarget(TPoint ScreenPos, bool AllowDisabled);

// A control with a window of its own. The object owns the window: it is created on first need
// and destroyed with the object. The window procedure reaches the object through one thunk bound
// at WM_NCCREATE; exceptions stop there and go to the application. The window paints through a
// back buffer: its background in its Color, then its painted controls in z-order. Mouse messages
// over a windowless child go to that child (none to a disabled one), in its coordinates.
// Deleting a TWinControl deletes the controls it holds.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // Creates the window when it does not exist yet.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    // Makes the window again (after a change only creation can apply), keeping the object.
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const; // throws EListError on a bad index
    // Usually reached through TControl::SetParent.
    void InsertControl(TControl* Control);
    void RemoveControl(TControl* Control);
    // The child at Pos (client coordinates), the topmost first: visible ones only, disabled ones
    // only when AllowDisabled, windowed ones only when AllowWinControls. Null when none.
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;
    // Sends Message to every child control; stops early when one sets a non-zero Result.
    void Broadcast(TMessage& Message);

    // Arranges the aligned controls; held off between DisableAlign and EnableAlign.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();

    // Keyboard focus. Tab moves it between the controls with TabStop, in TabOrder.
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    bool CanFocus() const;
    bool Focused() const;
    void SetFocus();
    // The controls of this window that take the focus, in tab order, depth first.
    std::vector<TWinControl*> TabList();

    // The brush the background is painted with, in Color.
    TBrush& Brush() { return FBrush; }

    // A band of the control's colour around the client area, inside the bevels.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    // The frame's bevels: with BevelKind bkNone there are none; otherwise BevelInner and
    // BevelOuter (each BevelWidth wide unless bvNone) are drawn on the BevelEdges sides, flat
    // (one colour) unless Ctl3D.
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges Value);
    // A sunken client edge.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() const override;
    void Invalidate() override;
    void Update() override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    // Settable from outside, as other controls route keys through them.
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseWheelEvent OnMouseWheel;

protected:
    virtual void CreateParams(TCreateParams& Params) const;
    // The window this one is created in (a child window) or owned by (a top-level window).
    virtual HWND WindowParent();
    // Makes the window from CreateParams through CreateWindowHandle; a derived class adds what
    // follows creation.
    virtual void CreateWnd();
    // Makes the window Params describe in (or owned by) ParentWnd and returns it, bound to the
    // object: the library's own window class binds at WM_NCCREATE.
    virtual HWND CreateWindowHandle(const TCreateParams& Params, HWND ParentWnd);
    // Destroys the window once it has left the object.
    virtual void DestroyWindowHandle(HWND Wnd);
    void DestroyHandle();

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    virtual void WMPaint(HDC DC);
    // The frame: the system's, then the border band and the bevels outside the client area.
    virtual void FrameCalcSize(TMessage& Message);
    virtual void FramePaint(TMessage& Message);
    // How far the border band and the bevels reach in from each side of the system's frame.
    TRect FrameInsets() const;
    virtual void WMPrintClient(TWMPrintClient& Message);
    virtual void WMWindowPosChanged(TWMWindowPosChanged& Message);
    virtual void WMSetText(TWMSetText& Message);
    // Opens the pop-up menu of the control under a context-menu request (at a screen point,
    // or (-1, -1) from the keyboard); true when one opened.
    virtual bool WMContextMenu(TWMContextMenu& Message);
    // Sets the cursor for the part of the window under the mouse; true when it did.
    virtual bool WMSetCursor(TWMSetCursor& Message);

    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(wchar_t& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // True when the wheel message was used.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);

    // Paints the background into DC (the back buffer), clipped to what needs painting.
    virtual void PaintWindow(HDC DC);
    // Arranges the aligned controls inside Rect, which it shrinks by what they take.
    virtual void AlignControls(TRect& Rect);
    // Sends Msg (no parameters) to every child control.
    void NotifyControls(UINT Msg);

    void VisibleChanged() override;
    void EnabledChanged() override;
    void CaptionChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    // The layout built inside the load bracket is arranged once, now.
    void Loaded() override;
    // Tells the form that this control has the focus, for a window of its own that took it.
    void FocusTaken();

private:
    template <class TTarget> friend LRESULT CALLBACK ObjectWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class TControl;
    friend void PaintParentBackground(TWinControl& Control, HDC DC);
    void CreateHandle();
    void PaintThroughBuffer(HDC Target, const TRect& Area);
    void PaintControls(HDC DC, const TRect& Area);
    void UpdateBounds();
    // Moves and sizes the anchored controls to the client size now.
    void ApplyAnchors();
    // The frame changed: the system measures the client area again.
    void FrameChanged();
    bool RouteMouse(TMessage& Message);
    // WM_CANCELMODE: a drag, and a capture held in this window or one inside it, end.
    void CancelModes();
    // WM_CAPTURECHANGED: this window lost the capture to NewHolder.
    void CaptureChanged(HWND NewHolder);
    void TrackMouse(TControl* Under);
    // Hands a notification of a child window to that child's object as CN_*; false when the
    // child is not one of the library's or left the answer to the system.
    bool ReflectToChild(TMessage& Message);
    // Tab, Enter and Escape that this control does not want go to its form; true when used.
    bool FormKey(UINT Msg, WORD Key);

    HWND FHandle = nullptr;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    TBrush FBrush;
    TBackBuffer FBuffer;
    bool FTabStop = false;
    bool FTrackingLeave = false;
    bool FCtl3D = false;
    int FBorderWidth = 0;
    TBevelCut FBevelInner = bvRaised;
    TBevelCut FBevelOuter = bvLowered;
    TBevelKind FBevelKind = bkNone;
    int FBevelWidth = 1;
    TBevelEdges FBevelEdges{beLeft, beTop, beRight, beBottom};
    int FAlignLevel = 0;
    bool FAligning = false;
    bool FAnchoring = false;
};

// Paints what lies behind Control (its parent's background and windowless controls) into DC,
// in Control's client coordinates: for controls that look see-through.
void PaintParentBackground(TWinControl& Control, HDC DC);

// ---------------------------------------------------------- TGraphicControl

// A control without a window: its parent paints it, through Paint, onto the parent's surface
// with the origin moved to the control's top-left corner and the drawing clipped to its bounds.
// Canvas() outside a paint draws straight on the parent's window, clipped to the control.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    TCanvas& Canvas();

protected:
    virtual void Paint() = 0;

private:
    friend class TWinControl;
    void PaintOn(HDC DC);

    TCanvas FCanvas;
    bool FPainting = false;
};

// ---------------------------------------------------------- TCustomControl

// A windowed control that paints itself: Paint draws on Canvas, which holds the paint DC (the
// back buffer) during a paint and the window's own DC outside it.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    TCanvas& Canvas();

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

private:
    TCanvas FCanvas;
    bool FPainting = false;
};

// Canvases borrowed a window DC outside a paint; the message loop lets the DCs go after each
// message, so none is kept across messages.
void ReleaseCanvasDCs();
