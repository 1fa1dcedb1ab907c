// Controls: TControl (anything placed on a window), TWinControl (a control with a window of its
// own, which paints the painted controls it holds) and TGraphicControl (a control painted by its
// parent, with no window).
#pragma once

#include "classlib/gui/Graphics.h"
#include "classlib/gui/Messages.h"
#include "classlib/rtl/Classes.h"

#include <vector>

class TWinControl;

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

// Bounds are in the parent's client coordinates (screen coordinates for a window without a
// parent). Font and colour follow the parent's while ParentFont / ParentColor hold; setting
// them directly ends that.
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
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }

    // The area inside the control's frame, in its own coordinates.
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    // Resize the control so that its client area gets this size.
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

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

    // Marks the control for painting; pixels are produced only when the window paints.
    virtual void Invalidate();
    // Paints whatever is marked, now.
    virtual void Update();
    void Repaint() {
        Invalidate();
        Update();
    }

protected:
    // Hooks run after the property changed.
    virtual void VisibleChanged();
    virtual void CaptionChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
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

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
    String FCaption;
    TFont FFont;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
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
// message goes to the object's WndProc, and exceptions stop here. An object that goes before its
// window clears GWLP_USERDATA first.
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
        Target->WndProc(Message);
    } catch (...) {
        HandleCurrentException(Target);
    }
    if (Msg == WM_NCDESTROY) {
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
        Target->FHandle = nullptr;
    }
    return Message.Result;
}

// A control with a window of its own. The object owns the window: it is created on first need
// and destroyed with the object. The window procedure reaches the object through one thunk bound
// at WM_NCCREATE; exceptions stop there and go to the application. The window paints through a
// back buffer: its background in its Color, then its painted controls in z-order.
// Deleting a TWinControl deletes the controls it holds.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // Creates the window when it does not exist yet.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const; // throws EListError on a bad index
    // Usually reached through TControl::SetParent.
    void InsertControl(TControl* Control);
    void RemoveControl(TControl* Control);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() const override;
    void Invalidate() override;
    void Update() override;

protected:
    virtual void CreateParams(TCreateParams& Params) const;
    // The window this one is created in (a child window) or owned by (a top-level window).
    virtual HWND WindowParent();
    void DestroyHandle();

    // Every message of the window; unhandled ones go to DefaultHandler.
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    virtual void WMPaint();
    virtual void WMPrintClient(TWMPrintClient& Message);
    virtual void WMWindowPosChanged(TWMWindowPosChanged& Message);
    virtual void WMSetText(TWMSetText& Message);

    // Paints the background into DC (the back buffer), clipped to what needs painting.
    virtual void PaintWindow(HDC DC);

    void VisibleChanged() override;
    void CaptionChanged() override;
    void FontChanged() override;
    void ColorChanged() override;

private:
    template <class TTarget> friend LRESULT CALLBACK ObjectWndProc(HWND, UINT, WPARAM, LPARAM);
    void CreateHandle();
    void PaintThroughBuffer(HDC Target, const TRect& Area);
    void PaintControls(HDC DC, const TRect& Area);
    void UpdateBounds();

    HWND FHandle = nullptr;
    std::vector<TControl*> FControls;
    TBrush FBrush;
    TBackBuffer FBuffer;
};

// ---------------------------------------------------------- TGraphicControl

// A control without a window: its parent paints it, through Paint, onto the parent's surface
// with the origin moved to the control's top-left corner and the drawing clipped to its bounds.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);

protected:
    TCanvas& Canvas() { return FCanvas; }
    virtual void Paint() = 0;

private:
    friend class TWinControl;
    void PaintOn(HDC DC);

    TCanvas FCanvas;
};
