#include "classlib/gui/ExtCtrls.h"

#include <algorithm>

namespace {

// The colours of a bevel cut: its top-left and bottom-right sides.
std::pair<TColor, TColor> CutColors(TBevelCut Cut, TColor Face) {
    switch (Cut) {
    case bvLowered:
        return {clBtnShadow, clBtnHighlight};
    case bvRaised:
        return {clBtnHighlight, clBtnShadow};
    default:
        return {Face, Face};
    }
}

} // namespace

void Frame3D(TCanvas& Canvas, TRect& Rect, TColor TopLeft, TColor BottomRight, int Width) {
    for (int I = 0; I < Width && !Rect.IsEmpty(); ++I) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(TopLeft);
        Canvas.FillRect(TRect(Rect.Left, Rect.Top, Rect.Right, Rect.Top + 1));
        Canvas.FillRect(TRect(Rect.Left, Rect.Top, Rect.Left + 1, Rect.Bottom));
        Canvas.Brush().SetColor(BottomRight);
        Canvas.FillRect(TRect(Rect.Left, Rect.Bottom - 1, Rect.Right, Rect.Bottom));
        Canvas.FillRect(TRect(Rect.Right - 1, Rect.Top, Rect.Right, Rect.Bottom));
        Rect = TRect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1);
    }
}

// ------------------------------------------------------------ TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle.Include(csAcceptsControls);
    ControlStyle.Include(csOpaque);
    SetBevelOuter(bvRaised);
    SetBevelInner(bvNone);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Invalidate();
}

void TCustomPanel::CaptionChanged() {
    Invalidate();
}

void TCustomPanel::FontChanged() {
    TCustomControl::FontChanged();
    Invalidate();
}

TRect TCustomPanel::InsideBevels() const {
    const int Inset =
        (BevelOuter() != bvNone ? BevelWidth() : 0) + (BevelInner() != bvNone ? BevelWidth() : 0);
    const TRect Client = ClientRect();
    return TRect(Client.Left + Inset, Client.Top + Inset,
                 std::max(Client.Left + Inset, Client.Right - Inset),
                 std::max(Client.Top + Inset, Client.Bottom - Inset));
}

void TCustomPanel::AlignControls(TRect& Rect) {
    const TRect Inside = InsideBevels();
    Rect = TRect(std::max(Rect.Left, Inside.Left), std::max(Rect.Top, Inside.Top),
                 std::min(Rect.Right, Inside.Right), std::min(Rect.Bottom, Inside.Bottom));
    TCustomControl::AlignControls(Rect);
}

void TCustomPanel::Paint() {
    TCanvas& Surface = Canvas();
    TRect Area = ClientRect();
    for (const TBevelCut Cut : {BevelOuter(), BevelInner()}) {
        if (Cut == bvNone)
            continue;
        const auto [TopLeft, BottomRight] = CutColors(Cut, Color());
        Frame3D(Surface, Area, TopLeft, BottomRight, BevelWidth());
    }
    Surface.Brush().SetStyle(bsSolid);
    Surface.Brush().SetColor(Color());
    Surface.FillRect(Area);
    if (Caption().empty())
        return;
    Surface.Font().Assign(Font());
    Surface.Brush().SetStyle(bsClear);
    const TSize Extent = Surface.TextExtent(Caption());
    int X = Area.Left + (Area.Width() - Extent.cx) / 2;
    if (FAlignment == taLeftJustify)
        X = Area.Left;
    else if (FAlignment == taRightJustify)
        X = Area.Right - Extent.cx;
    // Clipped to the inside, so that a long caption never paints over the bevels.
    const TSaveDC Saved(Surface.Handle());
    IntersectClipRect(Surface.Handle(), Area.Left, Area.Top, Area.Right, Area.Bottom);
    Surface.TextOut(X, Area.Top + (Area.Height() - Extent.cy) / 2, Caption());
}

// ------------------------------------------------------------------ TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
    if (FShape == Value)
        return;
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas& Surface = Canvas();
    // The first colour is the side towards the light source's shadow for a sunken bevel.
    const TColor First = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor Second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    const int W = Width();
    const int H = Height();
    const auto Fill = [&](TColor Color, const TRect& R) {
        Surface.Brush().SetStyle(bsSolid);
        Surface.Brush().SetColor(Color);
        Surface.FillRect(R);
    };
    switch (FShape) {
    case bsBox: {
        TRect Area = ClientRect();
        Frame3D(Surface, Area, First, Second, 1);
        break;
    }
    case bsFrame: { // etched: two frames one pixel apart
        TRect Outer(0, 0, W - 1, H - 1);
        Frame3D(Surface, Outer, First, First, 1);
        TRect Inner(1, 1, W, H);
        Frame3D(Surface, Inner, Second, Second, 1);
        break;
    }
    case bsTopLine:
        Fill(First, TRect(0, 0, W, 1));
        Fill(Second, TRect(0, 1, W, 2));
        break;
    case bsBottomLine:
        Fill(First, TRect(0, H - 2, W, H - 1));
        Fill(Second, TRect(0, H - 1, W, H));
        break;
    case bsLeftLine:
        Fill(First, TRect(0, 0, 1, H));
        Fill(Second, TRect(1, 0, 2, H));
        break;
    case bsRightLine:
        Fill(First, TRect(W - 2, 0, W - 1, H));
        Fill(Second, TRect(W - 1, 0, W, H));
        break;
    case bsSpacer:
        break;
    }
}

// --------------------------------------------------------------- TNotebook

TNotebook::TNotebook(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 150, 150);
}

TPage* TNotebook::AddPage(const String& Name) {
    auto* Page = new TPage(this);
    Page->SetCaption(Name);
    Page->SetColor(Color());
    Page->SetParentColor(true);
    Page->SetVisible(FPages.empty());
    Page->SetParent(this);
    Page->SetAlign(alClient);
    FPages.push_back(Page);
    if (FPageIndex < 0)
        FPageIndex = 0;
    return Page;
}

TPage* TNotebook::Pages(int Index) const {
    if (Index < 0 || Index >= PageCount())
        throw EListError(Format(L"Page index out of bounds (%d)", {Index}));
    return FPages[static_cast<size_t>(Index)];
}

int TNotebook::IndexOfPage(const String& Name) const {
    for (int I = 0; I < PageCount(); ++I)
        if (SameText(FPages[static_cast<size_t>(I)]->Caption(), Name))
            return I;
    return -1;
}

String TNotebook::ActivePage() const {
    return FPageIndex >= 0 ? FPages[static_cast<size_t>(FPageIndex)]->Caption() : String();
}

void TNotebook::SetPageIndex(int Value) {
    if (Value == FPageIndex || Value < 0 || Value >= PageCount())
        return;
    // The new page shows before the old one hides, so the notebook never shows an empty face.
    TPage* Old = FPageIndex >= 0 ? FPages[static_cast<size_t>(FPageIndex)] : nullptr;
    FPageIndex = Value;
    FPages[static_cast<size_t>(Value)]->Show();
    FPages[static_cast<size_t>(Value)]->BringToFront();
    if (Old)
        Old->Hide();
    if (OnPageChanged)
        OnPageChanged(this);
}

void TNotebook::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    const auto It = std::find(FPages.begin(), FPages.end(), AComponent);
    if (It == FPages.end())
        return;
    const int Index = static_cast<int>(It - FPages.begin());
    FPages.erase(It);
    if (Index < FPageIndex) {
        --FPageIndex;
    } else if (Index == FPageIndex) {
        // The shown page went: the one that takes its place shows, if any.
        FPageIndex = -1;
        if (!FPages.empty() && !Destroying())
            SetPageIndex(std::min(Index, PageCount() - 1));
    }
}
