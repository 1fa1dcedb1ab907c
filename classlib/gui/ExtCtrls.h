// Timers and other extended controls.
#pragma once

#include "classlib/gui/Controls.h"

#include <vector>

// Calls OnTimer every Interval milliseconds while Enabled, on the thread that made it, through
// its message loop. It needs no owner and no window. Changing Interval or Enabled starts the
// count again. A timer may be deleted by its own OnTimer.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* Owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    UINT Interval() const { return FInterval; }
    // 0 stops the timer as Enabled = false would.
    void SetInterval(UINT Value);

    TNotifyEvent OnTimer;

protected:
    // One tick: runs OnTimer.
    virtual void Timer();

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR Id, DWORD);
    void Restart();
    void Kill();

    bool FEnabled = true;
    UINT FInterval = 1000;
    UINT_PTR FId = 0;
};

// ------------------------------------------------------------------ TImage

// Shows a picture, painted by its parent: at the top-left corner, centred (Center) or stretched
// over the whole control (Stretch). A Transparent image leaves out the picture's transparent
// colour, so that what lies behind shows through; with AutoSize the control takes the
// picture's size whenever the picture changes.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);

    TPicture& Picture() { return FPicture; }
    void SetPicture(const TPicture& Value) { FPicture.Assign(Value); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

protected:
    void Paint() override;

private:
    void PictureChanged();
    // Where the picture goes in the client area.
    TRect DestRect();

    TPicture FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};

// ------------------------------------------------------------------- panels

// A window that holds other controls, with a caption across its middle and a bevelled edge
// drawn inside its bounds: BevelOuter first, then BevelInner, each BevelWidth wide (bvRaised
// light at the top left, bvLowered the other way, bvSpace just room). Aligned controls keep
// inside the bevels.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void Paint() override;
    void AlignControls(TRect& Rect) override;
    void CaptionChanged() override;
    void FontChanged() override;
    // The client area less the bevels.
    TRect InsideBevels() const;

private:
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

// Draws a frame Width pixels wide just inside Rect, TopLeft on the top and left sides and
// BottomRight on the others, and shrinks Rect by it.
void Frame3D(TCanvas& Canvas, TRect& Rect, TColor TopLeft, TColor BottomRight, int Width);

// ------------------------------------------------------------------- bevels

// A sunken or raised line or frame, painted by the parent: a box, an etched frame, a line along
// one side, or nothing at all (a spacer).
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

// ---------------------------------------------------------------- notebooks

// One page of a notebook: its controls show while the page is the active one.
class TPage : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

// Pages on top of each other, one shown at a time, chosen by index or by name (names compare
// without case). A change of page hides the old one, shows the new one and runs OnPageChanged.
// A name or index that names no page changes nothing.
class TNotebook : public TCustomControl {
public:
    explicit TNotebook(TComponent* AOwner);

    // A new last page; the first one added becomes the active page.
    TPage* AddPage(const String& Name);
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TPage* Pages(int Index) const; // throws EListError on a bad index
    int IndexOfPage(const String& Name) const;

    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int Value);
    String ActivePage() const;
    void SetActivePage(const String& Name) { SetPageIndex(IndexOfPage(Name)); }

    TNotifyEvent OnPageChanged;

protected:
    // A page deleted on its own leaves the notebook.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::vector<TPage*> FPages;
    int FPageIndex = -1;
};
