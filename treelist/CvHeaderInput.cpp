// The header control's mouse and keyboard: pressing and clicking, resizing by the right edge,
// dragging a section to a new place, hot tracking and the section buttons.
#include "treelist/CvHeader.h"

#include "classlib/gui/Forms.h"
#include "treelist/CvHintWnd.h"

#include <cmath>

namespace {

constexpr int ZoneWidth = 5;     // pixels each side of an edge that grab it
constexpr int DragThreshold = 5; // pixels a press must travel to become a drag

} // namespace

void InvertColumn(HDC DC, int X, int Height) {
    const TSelectObject Brush(DC, GetStockObject(WHITE_BRUSH));
    PatBlt(DC, X, 0, 1, Height, PATINVERT);
}

bool TCustomCvHeader::InResizeArea(int X, TCvHeaderSection*& Section) const {
    Section = nullptr;
    TCvHeaderSection* Under = SectionAt(X, 0);
    if (!Under) {
        TCvHeaderSection* Last = FSections->LastVisibleSection();
        if (Last && X < Last->RightEdge() - ShiftOf(Last) + ZoneWidth)
            Section = Last;
        return Section != nullptr;
    }
    if (Under->Width() < 15)
        return false;
    const int Left = Under->LeftEdge() - ShiftOf(Under);
    if (X < Left + ZoneWidth)
        Section = FSections->PrevVisibleSection(Under);
    else if (X >= Left + Under->Width() - ZoneWidth)
        Section = Under;
    return Section != nullptr;
}

void TCustomCvHeader::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        Message.Result = 1;
        return;
    case WM_LBUTTONDBLCLK: {
        const TWMMouse Mouse(Message);
        TCvHeaderSection* Zone = nullptr;
        if (InResizeArea(Mouse.X, Zone) && Zone->Resizable())
            NotifySectionAutoSize(Zone);
        break;
    }
    case WM_RBUTTONDOWN: {
        if (FResizing)
            return; // swallowed while an edge is held
        const TAliveToken Alive = AliveToken();
        const TWMMouse Mouse(Message);
        FMenuShownOnPress = ShowSectionMenu(Mouse.X, Mouse.Y);
        if (!Alive.Alive())
            return;
        break;
    }
    case WM_RBUTTONUP:
        if (FResizing)
            return;
        break;
    case WM_CONTEXTMENU:
        // The press showed the menu already; a menu asked for from the keyboard still shows.
        if (std::exchange(FMenuShownOnPress, false) && !TWMContextMenu(Message).FromKeyboard())
            return;
        break;
    case CM_HINTSHOW:
        HintShow(*reinterpret_cast<THintInfo*>(Message.LParam));
        Message.Result = 0;
        return;
    case CM_MOUSEENTER:
        if (FPressedSection && !FDragSection && std::exchange(FPressedKept, false)) {
            FPressed = true; // back over the header while still pressing
            FPressedSection->InvalidateSection();
        }
        FMouseInside = true;
        break;
    case CM_MOUSELEAVE:
        MouseLeft();
        break;
    default:
        break;
    }
    TCvXPThemedControl::WndProc(Message);
}

void TCustomCvHeader::MouseLeft() {
    FMouseInside = false;
    FDropSection = nullptr;
    if (FPressedSection && FPressed) {
        FPressed = false; // the look goes; the section stays remembered for the return
        FPressedKept = true;
        FPressedSection->InvalidateSection();
    }
    ForgetHot();
    FHintSection = nullptr;
}

void TCustomCvHeader::ForgetHot() {
    if (TCvHeaderSection* Old = std::exchange(FHotSection, nullptr))
        Old->InvalidateSection();
}

void TCustomCvHeader::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && LookupSection()) {
        CloseLookup(false); // the click only closes the box
    } else if (Button == mbLeft && !Shift.Contains(ssDouble) && !FResizing && !FDragSection) {
        TCvHeaderSection* Zone = nullptr;
        if (InResizeArea(X, Zone) && Zone->Resizable())
            StartResize(Zone, X);
        else
            PressAt(X, Y);
    }
    TCvXPThemedControl::MouseDown(Button, Shift, X, Y);
}

void TCustomCvHeader::StartResize(TCvHeaderSection* Section, int X) {
    FResizeSection = Section;
    FResizing = true;
    ForgetHot();
    SetMouseCapture(true);
    FResizeLineX = Section->RightEdge() - ShiftOf(Section);
    FResizeGrab = X - FResizeLineX;
    if (!ResizeOnDrag && HandleAllocated() &&
        FResizeDC.Acquire(Handle(), DCX_CACHE | DCX_PARENTCLIP | DCX_CLIPSIBLINGS))
        ToggleResizeLine();
    NotifySectionResizing(Section, trsBegin, Section->Width());
}

void TCustomCvHeader::ToggleResizeLine() {
    if (!FResizeDC)
        return;
    const int Height = Parent() ? Parent()->ClientHeight() : ClientHeight();
    InvertColumn(FResizeDC.Handle(), FResizeLineX, Height);
    FResizeLineShown = !FResizeLineShown;
}

void TCustomCvHeader::PressAt(int X, int Y) {
    FMouseDown = TPoint{X, Y};
    FPressed = true;
    FPressedKept = false;
    if (TCvHeaderSection* Old = std::exchange(FPressedSection, nullptr))
        Old->InvalidateSection();
    TCvHeaderSection* S = SectionAt(X, Y);
    if (!S)
        return;
    int Right = S->RightEdge() - ShiftOf(S) - 4;
    const bool InButtonColumn = Right - 7 <= X && X <= Right;
    if (S->Expandable() && S->Width() > 14 && InButtonColumn && Y >= 2 && Y <= 9) {
        S->SetExpanded(!S->Expanded());
        if (S->Expanded())
            NotifySectionExpand(S);
        else
            NotifySectionCollapse(S);
        return;
    }
    if (S->LookupEnabled() && S != FLockedSection && S->Width() > 14 && InButtonColumn && Y >= 12 &&
        Y <= 16) {
        FPressed = false;
        ShowLookup(S);
        return;
    }
    if (S->FilterEnabled()) {
        if (S->LookupEnabled() || S->Expandable())
            Right -= 8;
        if (S->Width() - 5 > 4 && Right - 6 <= X && X <= Right && Y >= 12 && Y <= 16) {
            NotifyFilterCall(S);
            return;
        }
    }
    if (!S->AllowClick())
        return;
    FPressedSection = S;
    S->InvalidateSection();
}

void TCustomCvHeader::MouseMove(TShiftState Shift, int X, int Y) {
    if (FPressed && AllowDrag && FPressedSection && FPressedSection != FLockedSection &&
        !FDragSection && !FResizing &&
        std::hypot(X - FMouseDown.X, Y - FMouseDown.Y) >= DragThreshold)
        StartDrag();
    if (FDragSection)
        DragTo(X, Y);
    const bool Designing = ComponentState().Contains(csDesigning);
    if ((FTracking || IsThemed()) && !FResizing && !FDragSection && FMouseInside && !Designing) {
        TCvHeaderSection* Under = SectionAt(X, Y);
        if (Under != FHotSection) {
            ForgetHot();
            FHotSection = Under;
            if (Under)
                Under->InvalidateSection();
        }
    }
    if (!FPressed && !FResizing && !FDragSection && FMouseInside)
        RefreshHint(X, Y);
    if (FResizing)
        ResizeTo(X);
    TCvXPThemedControl::MouseMove(Shift, X, Y);
}

void TCustomCvHeader::ResizeTo(int X) {
    TCvHeaderSection* S = FResizeSection;
    const int Left = S->LeftEdge();
    const int Adj = S == FLockedSection ? 0 : -FScrollOffset;
    const int Edge = X - Adj - FResizeGrab;
    if (Edge < Left)
        return;
    if (FStickySections) {
        int Limit = HeaderWidth();
        for (int I = S->ListPosition() + 1; I < FSections->SectionCount(); ++I) {
            const TCvHeaderSection* After = FSections->ItemAt(I);
            if (After->Visible() && !After->Resizable())
                Limit -= After->Width();
        }
        if (Edge >= Limit)
            return;
    }
    const int NewWidth = X - Left - FResizeGrab + ShiftOf(S);
    if (NewWidth < S->MinWidth() || NewWidth > S->MaxWidth())
        return;
    if (ResizeOnDrag) {
        S->SetWidth(NewWidth);
        S->InvalidateSection();
        Update();
    } else {
        ToggleResizeLine();
        FResizeLineX = Left + NewWidth - ShiftOf(S);
        ToggleResizeLine();
    }
    NotifySectionResizing(S, trsMove, NewWidth);
}

void TCustomCvHeader::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (FResizing)
            EndResize();
        else if (FDragSection)
            EndDrag(X, Y);
        else
            ReleaseAt(X, Y);
    }
    TCvXPThemedControl::MouseUp(Button, Shift, X, Y);
}

void TCustomCvHeader::ReleaseAt(int X, int Y) {
    FPressed = false;
    FPressedKept = false;
    TCvHeaderSection* Pressed = std::exchange(FPressedSection, nullptr);
    if (Pressed) {
        Pressed->InvalidateSection();
        // Only the section that was pressed is clicked, and only when it still lies under both
        // ends of the gesture.
        if (SectionAt(FMouseDown.X, FMouseDown.Y) == Pressed && SectionAt(X, Y) == Pressed)
            NotifySectionClick(Pressed);
    }
    if (SectionAt(X, Y) != FHotSection)
        ForgetHot();
}

void TCustomCvHeader::EndResize() {
    TCvHeaderSection* S = FResizeSection;
    FResizing = false;
    FResizeSection = nullptr;
    SetMouseCapture(false);
    if (FResizeLineShown)
        ToggleResizeLine();
    FResizeDC.Reset();
    if (!S)
        return;
    if (!ResizeOnDrag)
        S->SetWidth(FResizeLineX - S->LeftEdge() + ShiftOf(S));
    NotifySectionResizing(S, trsEnd, S->Width());
    NotifySectionResize(S);
    Invalidate();
    Update();
}

void TCustomCvHeader::StartDrag() {
    ForgetHot();
    FDragSection = FPressedSection;
    FPressed = false;
    FPressedKept = false;
    FDragSection->InvalidateSection();
    MakeDragImage();
    if (FDragSection != FLockedSection)
        FMouseDown.X += FScrollOffset;
    SetMouseCapture(true);
    FDropSection = nullptr;
    FLastDragX = FMouseDown.X;
}

void TCustomCvHeader::MakeDragImage() {
    TRect R = SectionRect(FDragSection->SectionIndex());
    const int W = R.Width() + 1;
    const int H = R.Height() + 1;
    FDragImage = std::make_unique<TBitmap>();
    FDragImage->SetPixelFormat(pf24bit);
    FDragImage->SetSize(W, H);
    TCanvas& C = FDragImage->Canvas();
    C.Brush().SetColor(Color());
    C.FillRect(TRect(0, 0, W, H));
    C.Font().Assign(Font());
    DrawSection(C, FDragSection, true, TRect(0, 0, R.Width(), R.Height()));
    FDragImage->Transparent = true;
    FDragImage->SetTransparentColor(
        DragLookColor(FDragSection->ParentColor() ? Color() : FDragSection->Color()));
}

void TCustomCvHeader::DragTo(int X, int Y) {
    TCvHeaderSection* Drop = SectionAt(X, Y);
    FDropSection = Drop;
    if (MoveOnDrag && Drop != FDragSection) {
        const int DragPos = FDragSection->ListPosition();
        const int DragWidth = FDragSection->Width();
        if (!Drop) {
            FSections->MoveSection(FDragSection, FSections->SectionCount() - 1);
        } else {
            const int DropPos = Drop->ListPosition();
            const int DropLeft = Drop->LeftEdge() - ShiftOf(Drop);
            const int DropRight = DropLeft + Drop->Width();
            if ((DragPos < DropPos && X > DropRight - DragWidth) ||
                (DragPos > DropPos && X < DropLeft + DragWidth))
                FSections->MoveSection(FDragSection, DropPos);
        }
    }
    // The image follows the mouse; the window repaints under it.
    FLastDragX = X + (FDragSection == FLockedSection ? 0 : FScrollOffset);
    Invalidate();
}

void TCustomCvHeader::EndDrag(int X, int Y) {
    TCvHeaderSection* Dragged = FDragSection;
    TCvHeaderSection* Target = SectionAt(X, Y);
    if (!Target)
        Target = SectionAt(X, 1);
    if (Target != Dragged)
        FSections->MoveSection(Dragged,
                               Target ? Target->ListPosition() : FSections->SectionCount() - 1);
    FPressedSection = nullptr;
    FPressed = false;
    FPressedKept = false;
    FHotSection = nullptr;
    FDragSection = nullptr;
    FDropSection = nullptr;
    FDragImage.reset();
    SetMouseCapture(false);
    Invalidate();
}

void TCustomCvHeader::CancelGestures() {
    if (FDragSection && AllowDrag)
        EndDrag(-1, -1);
    if (FResizing)
        EndResize();
}

void TCustomCvHeader::CaptureLost() {
    TCvXPThemedControl::CaptureLost();
    // Ended as by a left release outside every section.
    if (FDragSection || FResizing)
        CancelGestures();
    else if (FPressed || FPressedSection)
        ReleaseAt(-1, -1);
}

bool TCustomCvHeader::WMSetCursor(TWMSetCursor& Message) {
    // The screen cursor (the hourglass of long work) stays above the edge's own.
    if (Message.CursorWnd != Handle() || Message.HitTest != HTCLIENT ||
        Screen->Cursor() != crDefault || ComponentState().Contains(csDesigning))
        return TCvXPThemedControl::WMSetCursor(Message);
    const int X = ScreenToClient(Screen->CursorPos()).X;
    TCvHeaderSection* Zone = nullptr;
    const bool OverEdge =
        FResizing || (!FPressed && !FDragSection && InResizeArea(X, Zone) && Zone->Resizable());
    if (!OverEdge)
        return TCvXPThemedControl::WMSetCursor(Message);
    ::SetCursor(Screen->Cursors(crHSplit));
    return true;
}

void TCustomCvHeader::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_ESCAPE && Shift.Empty() && FDragSection) {
        // Dropped on itself: no move.
        const TRect R = SectionRect(FDragSection->SectionIndex());
        EndDrag(R.Left - ShiftOf(FDragSection) + 1, 1);
        Key = 0;
    }
    TCvXPThemedControl::KeyDown(Key, Shift);
}

void TCustomCvHeader::DoExit() {
    if (FPressed || FResizing || FDragSection) {
        const TPoint At = ScreenToClient(Screen->CursorPos());
        if (OnMouseUp)
            OnMouseUp(this, mbLeft, TShiftState{}, At.X, At.Y);
    }
    TCvXPThemedControl::DoExit();
}
