// Flat splitter: the control it resizes on each alignment, the size limits, Escape through the
// focused control's key handler, and OnMoved.
#include "controls/FlatButton.h"
#include "controls/FlatPanel.h"
#include "controls/FlatSplitter.h"
#include "controls/HSLUtils.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class FlatSplitterTest : public ControlsTest {
protected:
    // A panel of 100 pixels aligned to Side, and the splitter beside it.
    void Build(TAlign Side) {
        Panel = Place<TFlatPanel>(Bounds(0, 0, 100, 100));
        Panel->SetAlign(Side);
        Splitter = Place<TFlatSplitter>(Bounds(0, 0, 5, 5));
        // Placed beyond the panel so that the alignment puts it on the panel's inner side.
        if (Side == alLeft)
            Splitter->SetLeft(150);
        if (Side == alTop)
            Splitter->SetTop(150);
        Splitter->SetAlign(Side);
        if (Side == alTop || Side == alBottom)
            Splitter->SetHeight(5);
        else
            Splitter->SetWidth(5);
        Splitter->OnMoved = [this](TObject*) { ++Moved; };
    }
    // Form coordinates of a point inside the splitter.
    TPoint Inside() const { return {Splitter->Left() + 2, Splitter->Top() + 2}; }
    void Send(UINT Msg, WPARAM Keys, TPoint P) {
        SendMessageW(Form->Handle(), Msg, Keys, At(P.X, P.Y));
    }
    void Drag(int DX, int DY) {
        const TPoint From = Inside();
        const TPoint To{From.X + DX, From.Y + DY};
        Send(WM_LBUTTONDOWN, MK_LBUTTON, From);
        Send(WM_MOUSEMOVE, MK_LBUTTON, To);
        Send(WM_LBUTTONUP, 0, To);
    }
    int PanelSize() const {
        return Splitter->Align() == alTop || Splitter->Align() == alBottom ? Panel->Height()
                                                                           : Panel->Width();
    }

    TFlatPanel* Panel = nullptr;
    TFlatSplitter* Splitter = nullptr;
    int Moved = 0;
};

TEST_F(FlatSplitterTest, DragResizesTheControlOnEachSide) {
    // The form's client is 320 x 220: the largest size is the client less MinSize and the
    // aligned controls, plus the panel's own size.
    const struct {
        TAlign Side;
        int DX, DY, Expected;
    } Cases[] = {
        {alLeft, 50, 0, 150},  {alRight, 50, 0, 50},    {alTop, 0, 40, 140},  {alBottom, 0, 40, 60},
        {alLeft, -200, 0, 30}, {alRight, -400, 0, 285}, {alTop, 0, 400, 185}, {alBottom, 0, 80, 30},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Side));
        SCOPED_TRACE(C.DX + C.DY);
        Build(C.Side);
        Moved = 0;
        Drag(C.DX, C.DY);
        EXPECT_EQ(PanelSize(), C.Expected);
        EXPECT_EQ(Moved, 1);
        EXPECT_EQ(Splitter->Target(), nullptr);
        delete Splitter;
        delete Panel;
    }
}

TEST_F(FlatSplitterTest, RightAndBottomTargetsKeepTheirFarEdge) {
    Build(alRight);
    const int Right = Panel->Left() + Panel->Width();
    Drag(-30, 0);
    EXPECT_EQ(Panel->Width(), 130);
    EXPECT_EQ(Panel->Left() + Panel->Width(), Right);
}

TEST_F(FlatSplitterTest, EscapeInTheFocusedControlGivesUpTheDragAndStillTellsOfIt) {
    Build(alLeft);
    auto* Focus = Place<TFlatButton>(Bounds(200, 100, 40, 25));
    Focus->SetTabStop(true);
    int OtherKeys = 0;
    Focus->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++OtherKeys; };
    Focus->SetFocus();
    ASSERT_EQ(Form->ActiveControl(), Focus);

    const TPoint From = Inside();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, From);
    ASSERT_EQ(Splitter->Target(), Panel);
    Send(WM_MOUSEMOVE, MK_LBUTTON, {From.X + 60, From.Y});
    SendMessageW(Focus->Handle(), WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(OtherKeys, 1); // other keys go on to the control's own handler
    SendMessageW(Focus->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Splitter->Target(), nullptr);
    EXPECT_EQ(Moved, 1);
    Send(WM_LBUTTONUP, 0, {From.X + 60, From.Y});
    EXPECT_EQ(Panel->Width(), 100);
    EXPECT_EQ(Moved, 1);
    // The control has its own handler back.
    SendMessageW(Focus->Handle(), WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(OtherKeys, 2);
}

TEST_F(FlatSplitterTest, ALostCaptureGivesUpTheDragAndEverythingItHeld) {
    struct TWay {
        const char* Name;
        std::function<void(TForm& Form, TForm& Other)> Take;
    };
    const TWay Ways[] = {
        {"a modal window opens", [](TForm&, TForm&) { const TThreadWindowsDisabled Modal; }},
        {"another window takes the mouse",
         [](TForm&, TForm& Other) { SetCapture(Other.Handle()); }},
        {"the system cancels the modes",
         [](TForm& Form, TForm&) { SendMessageW(Form.Handle(), WM_CANCELMODE, 0, 0); }},
    };
    auto* Other = NewPlainForm(*App, TRect(0, 0, 50, 50));
    Other->Show();
    for (const TWay& Way : Ways) {
        SCOPED_TRACE(Way.Name);
        Build(alLeft);
        Moved = 0;
        auto* Focus = Place<TFlatButton>(Bounds(200, 100, 40, 25));
        Focus->SetTabStop(true);
        int OtherKeys = 0;
        Focus->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++OtherKeys; };
        Focus->SetFocus();
        const TPoint From = Inside();
        const TPoint To{From.X + 60, From.Y};
        const auto BarPixel = [&] {
            const TClientDC DC(Form->Handle());
            return GetPixel(DC.Handle(), To.X, To.Y + 20);
        };
        const COLORREF Before = BarPixel();

        Send(WM_LBUTTONDOWN, MK_LBUTTON, From);
        Send(WM_MOUSEMOVE, MK_LBUTTON, To);
        ASSERT_EQ(Splitter->Target(), Panel);
        EXPECT_NE(BarPixel(), Before); // the inverted bar
        Way.Take(*Form, *Other);
        EXPECT_EQ(Splitter->Target(), nullptr);
        EXPECT_EQ(Moved, 1);
        EXPECT_EQ(BarPixel(), Before); // wiped out
        // The focused control's own key handler is back, Escape included.
        SendMessageW(Focus->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_EQ(OtherKeys, 1);
        // What follows is no drag.
        Send(WM_MOUSEMOVE, MK_LBUTTON, {To.X + 10, To.Y});
        Send(WM_LBUTTONUP, 0, To);
        EXPECT_EQ(Panel->Width(), 100);
        EXPECT_EQ(Moved, 1);
        ReleaseCapture();
        delete Focus;
        delete Splitter;
        delete Panel;
    }
    // The bar's window DC goes with the drag.
    Build(alLeft);
    EXPECT_LE(GdiGrowth([&] {
                  Send(WM_LBUTTONDOWN, MK_LBUTTON, Inside());
                  Send(WM_MOUSEMOVE, MK_LBUTTON, {Inside().X + 30, Inside().Y});
                  SendMessageW(Form->Handle(), WM_CANCELMODE, 0, 0);
              }),
              0);
}

TEST_F(FlatSplitterTest, AnUnalignedSplitterFindsNothingUntilAligned) {
    Panel = Place<TFlatPanel>(Bounds(0, 0, 100, 220));
    Panel->SetAlign(alLeft);
    Splitter = Place<TFlatSplitter>(Bounds(100, 0, 5, 220));
    Splitter->SetAlign(alNone);
    Splitter->SetBounds(100, 0, 5, 220);
    Splitter->OnMoved = [this](TObject*) { ++Moved; };
    Drag(40, 0);
    EXPECT_EQ(Panel->Width(), 100);
    EXPECT_EQ(Moved, 0);
    Splitter->SetAlign(alLeft);
    Drag(40, 0);
    EXPECT_EQ(Panel->Width(), 140);
    EXPECT_EQ(Moved, 1);
}

TEST_F(FlatSplitterTest, HotWhileTheMouseIsOver) {
    Build(alLeft);
    Splitter->SetColor(clWhite);
    Splitter->SetColorFocused(clYellow);
    Splitter->SetColorBorder(clRed);
    const auto Pixel = [&](int X, int Y) {
        return TClientPixels(*Form).At(Splitter->Left() + X, Splitter->Top() + Y);
    };
    EXPECT_EQ(Pixel(2, 10), ColorToRGB(clWhite));
    EXPECT_EQ(Pixel(0, 10), ColorToRGB(clRed));
    Splitter->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(Splitter->Hot());
    EXPECT_EQ(Pixel(2, 10), ColorToRGB(clYellow));
    Splitter->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(Pixel(2, 10), ColorToRGB(clWhite));
}

TEST_F(FlatSplitterTest, DerivedColoursMakeBothTheHotColourAndTheBorderDarker) {
    Build(alLeft);
    Splitter->SetColor(TColor(0xE1EAEB));
    Splitter->SetAdvColors(10, 50);
    Splitter->SetUseAdvColors(true);
    const TColor Base = Splitter->Color();
    EXPECT_EQ(Splitter->ColorFocused(), ComputeAdvColor(Base, 0, 10, true));
    EXPECT_EQ(Splitter->ColorBorder(), ComputeAdvColor(Base, 0, 50, true));
    EXPECT_NE(Splitter->ColorFocused(), ComputeAdvColor(Base, 0, 10, false));
}

} // namespace
