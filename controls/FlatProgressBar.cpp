#include "controls/FlatProgressBar.h"

#include <algorithm>
#include <utility>

int SnapProgressLength(int Length) {
    if (Length > 11)
        return ProgressBlockPitch * ((Length - 3) / ProgressBlockPitch) + 3;
    return 12;
}

int ProgressBlockPlaces(int ClientLength) {
    return std::max(0, (ClientLength - 3) / ProgressBlockPitch);
}

int ProgressFilledBlocks(int Position, int Min, int Max, int Places) {
    if (Max == Min || Places <= 0)
        return 0;
    const double PerBlock = (static_cast<double>(Max) - Min) / Places;
    const double Filled = (static_cast<double>(Position) - Min) / PerBlock + 1e-8;
    return std::clamp(static_cast<int>(Filled), 0, Places);
}

TFlatProgressBar::TFlatProgressBar(TComponent* AOwner) : TGraphicControl(AOwner) {
    ControlStyle = TControlStyle{csOpaque};
    SetColor(TColor(0xE1EAEB));
    SetParentColor(true);
    SetBounds(Left(), Top(), 147, 16);
}

void TFlatProgressBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!FSmooth) {
        if (FOrientation == pbHorizontal)
            AWidth = SnapProgressLength(AWidth);
        else
            AHeight = SnapProgressLength(AHeight);
    }
    TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TFlatProgressBar::SetMin(int Value) {
    if (Value == FMin)
        return;
    FMin = Value;
    Invalidate();
}

void TFlatProgressBar::SetMax(int Value) {
    if (Value == FMax)
        return;
    if (FPosition > Value)
        FPosition = Value;
    FMax = Value;
    Invalidate();
}

void TFlatProgressBar::SetStep(int Value) {
    if (Value == FStep)
        return;
    FStep = Value;
    Invalidate();
}

void TFlatProgressBar::SetPosition(int Value) {
    Value = std::max(std::min(Value, FMax), FMin);
    if (Value == FPosition)
        return;
    const bool Grows = Value > FPosition;
    FPosition = Value;
    if (!Grows) {
        Invalidate();
        return;
    }
    // Blocks only ever get added here, so they go straight onto the screen: a loop that
    // sets the position and pumps no paint messages still shows its progress.
    if (Parent() && Parent()->HandleAllocated() && Visible())
        DrawElements(Canvas());
    else
        Invalidate();
}

void TFlatProgressBar::StepIt() {
    SetPosition(std::min(FPosition + FStep, FMax));
}

void TFlatProgressBar::SetSmooth(bool Value) {
    if (Value == FSmooth)
        return;
    FSmooth = Value;
    SetBounds(Left(), Top(), Width(), Height());
    Invalidate();
}

void TFlatProgressBar::SetOrientation(TProgressBarOrientation Value) {
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TFlatProgressBar::SetTransparent(bool Value) {
    if (StoreChanged(FTransparent, Value))
        Invalidate();
}

void TFlatProgressBar::SetColorElement(TColor Value) {
    if (StoreChanged(FColorElement, Value))
        Invalidate();
}

void TFlatProgressBar::SetColorBorder(TColor Value) {
    if (StoreChanged(FColorBorder, Value))
        Invalidate();
}

void TFlatProgressBar::SetUseAdvColors(bool Value) {
    FAdv.Use = Value;
    SetParentColor(Value);
    RecomputeColors();
}

void TFlatProgressBar::SetAdvColorBorder(int Value) {
    FAdv.Border = std::clamp(Value, 0, 100);
    RecomputeColors();
}

void TFlatProgressBar::RecomputeColors() {
    TFlatColorSet Derived{FColorElement, FColorElement, FColorBorder};
    RecomputeAdvColors(Color(), FAdv, Derived);
    FColorBorder = Derived.Border;
    Invalidate();
}

void TFlatProgressBar::WndProc(TMessage& Message) {
    TGraphicControl::WndProc(Message);
    if ((Message.Msg == CM_SYSCOLORCHANGE || Message.Msg == CM_PARENTCOLORCHANGED) && FAdv.Use)
        RecomputeColors();
}

void TFlatProgressBar::Paint() {
    TCanvas& C = Canvas();
    const TRect Client = ClientRect();
    if (!FTransparent) {
        C.Brush().SetColor(Color());
        C.FillRect(Client);
    }
    C.Brush().SetColor(FColorBorder);
    C.FrameRect(Client);
    DrawElements(C);
}

void TFlatProgressBar::DrawElements(TCanvas& C) {
    if (FMax == FMin)
        return;
    const TRect R = ClientRect();
    C.Brush().SetColor(FColorElement);
    const bool Horizontal = FOrientation == pbHorizontal;
    if (FSmooth) {
        const long long Done = static_cast<long long>(FPosition) - FMin;
        const long long Range = static_cast<long long>(FMax) - FMin;
        if (Horizontal) {
            if (FPosition > 0)
                C.FillRect(TRect(R.Left + 2, R.Top + 2,
                                 R.Left + 2 + static_cast<int>((R.Width() - 4) * Done / Range),
                                 R.Bottom - 2));
        } else {
            C.FillRect(TRect(R.Left + 2,
                             R.Bottom - 2 - static_cast<int>((R.Height() - 4) * Done / Range),
                             R.Right - 2, R.Bottom - 2));
        }
        return;
    }
    const int Places = ProgressBlockPlaces(Horizontal ? R.Width() : R.Height());
    const int Filled = ProgressFilledBlocks(FPosition, FMin, FMax, Places);
    for (int I = 0; I < Filled; ++I) {
        const int Step = I * ProgressBlockPitch;
        if (Horizontal)
            C.FillRect(TRect(R.Left + 2 + Step, R.Top + 2, R.Left + 10 + Step, R.Bottom - 2));
        else
            C.FillRect(TRect(R.Left + 2, R.Bottom - 10 - Step, R.Right - 2, R.Bottom - 2 - Step));
    }
}
