// The scroll bar: its geometry as functions, then the control driven by synthetic messages.
#include "treelist/CvScrollBar.h"

#include "tests/support/GuiTestSupport.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TCvScrollMetrics Example() {
    TCvScrollMetrics M; // 0..100, page 14, one 16-pixel button at each end
    M.Length = 200;
    M.ButtonSize = 16;
    return M;
}

LPARAM At(int X, int Y) {
    return MAKELPARAM(X, Y);
}

} // namespace

TEST(CvScrollGeometry, ThumbFollowsThePageAndTouchesTheEndButtonAtTheLastPage) {
    TCvScrollMetrics M = Example();
    EXPECT_EQ(ScrollThumbLength(M), 23); // MulDiv(14, 168, 101)
    EXPECT_EQ(ScrollThumbPos(M), 16);
    M.Position = 87;
    EXPECT_EQ(ScrollThumbPos(M) + 23, 200 - 16);
    EXPECT_EQ(ScrollPositionFromThumb(M, 161), 87);
    EXPECT_EQ(ScrollPositionFromThumb(M, 16), 0);
    M.Position = 100; // beyond the last page the thumb stays at the end
    EXPECT_EQ(ScrollThumbPos(M), 161);
}

TEST(CvScrollGeometry, ShortBarsAndFullPages) {
    struct TCase {
        const char* Name;
        int Length;
        int Page;
        int Button;   // expected button length
        int Thumb;    // expected thumb length
        int ThumbPos; // expected thumb offset
    };
    const TCase Cases[] = {
        {"shorter than two buttons", 20, 14, 10, 0, 10},
        {"page covers the range", 200, 101, 16, 168, 16},
        {"no page: the system thumb", 200, 0, 16, 16, 16},
        {"thumb not below its least size", 40, 1, 16, 4, 16},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TCvScrollMetrics M = Example();
        M.Length = C.Length;
        M.Page = C.Page;
        M.SystemThumb = 16;
        EXPECT_EQ(ScrollButtonLength(M), C.Button);
        EXPECT_EQ(ScrollThumbLength(M), C.Thumb);
        EXPECT_EQ(ScrollThumbPos(M), C.ThumbPos);
    }
    EXPECT_EQ(CvMulDiv(7, 3, 2), 11); // 10.5 rounds away from zero
    EXPECT_EQ(CvMulDiv(-7, 3, 2), -11);
    EXPECT_EQ(CvMulDiv(5, 5, 0), -1);
}

TEST(CvScrollGeometry, HitTestTable) {
    struct TCase {
        int C;
        bool Across;
        bool Secondary;
        TCvScrollBarPart Part;
    };
    const TCase Cases[] = {
        {0, true, false, sbpLeftArrow},    {16, true, false, sbpLeftArrow}, // shares pixel 16
        {17, true, false, sbpThumb},       {38, true, false, sbpThumb},
        {39, true, false, sbpRightBottom}, {184, true, false, sbpRightBottom},
        {185, true, false, sbpRightArrow}, {100, false, false, sbpNowhere},
        {20, true, true, sbpLeftSndArrow}, {170, true, true, sbpRightSndArrow},
        {40, true, true, sbpThumb},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE("at " + std::to_string(C.C));
        TCvScrollMetrics M = Example();
        if (C.Secondary)
            M.LeftButtons = M.RightButtons = 2;
        EXPECT_EQ(ScrollHitPart(M, C.C, C.Across, C.Secondary), C.Part);
    }
    TCvScrollMetrics M = Example();
    M.Position = 50;
    EXPECT_EQ(ScrollHitPart(M, 20, true, false), sbpLeftTop);
}

TEST(CvScrollGeometry, ButtonActionTable) {
    struct TCase {
        TCvScrollBarPart Part;
        TCvSecButtonsKind Kind;
        bool Over;
        TCvScrollCode Code;
        int Position;
    };
    // From position 50 of 0..100, step 2, page 14.
    const TCase Cases[] = {
        {sbpLeftArrow, sbkOpposite, true, escLineUp, 48},
        {sbpRightArrow, sbkOpposite, true, escLineDown, 52},
        {sbpLeftSndArrow, sbkOpposite, true, escLineDown, 52},
        {sbpLeftSndArrow, sbkPage, true, escPageUp, 36},
        {sbpLeftSndArrow, sbkCustom, true, escSndLineDown, 50},
        {sbpRightSndArrow, sbkOpposite, true, escLineUp, 48},
        {sbpRightSndArrow, sbkPage, true, escPageDown, 64},
        {sbpRightSndArrow, sbkCustom, true, escSndLineUp, 50},
        {sbpLeftTop, sbkOpposite, true, escPageUp, 36},
        {sbpLeftTop, sbkOpposite, false, escPageUp, 50},
        {sbpRightBottom, sbkOpposite, true, escPageDown, 64},
        {sbpRightBottom, sbkOpposite, false, escPageDown, 50},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE("part " + std::to_string(C.Part) + " kind " + std::to_string(C.Kind));
        const TCvScrollStep Step = ScrollButtonStep(C.Part, C.Kind, 50, 0, 100, 2, 14, C.Over);
        EXPECT_EQ(Step.Code, C.Code);
        EXPECT_EQ(Step.Position, C.Position);
    }
    EXPECT_EQ(ScrollButtonStep(sbpLeftArrow, sbkOpposite, 1, 0, 100, 2, 14, true).Position, 0);
}

TEST(CvScrollGeometry, WheelNotchesByLinesOrByPages) {
    struct TCase {
        int Delta;
        UINT Lines;
        int Steps;
        bool ByPage;
    };
    const TCase Cases[] = {
        {120, 3, 3, false},     {-240, 3, -6, false}, {120, 0, 1, false},
        {120, 120, 120, false}, {120, 121, 1, true},  {-120, WHEEL_PAGESCROLL, -1, true},
    };
    for (const TCase& C : Cases) {
        const TCvWheelPlan Plan = PlanWheel(C.Delta, C.Lines);
        EXPECT_EQ(Plan.Steps, C.Steps) << C.Lines;
        EXPECT_EQ(Plan.ByPage, C.ByPage) << C.Lines;
    }
}

// ------------------------------------------------------------ the control

namespace {

class CvScrollBarTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewForm<TForm>(App.get());
        Form->SetBounds(0, 0, 300, 200);
        Bar = new TCvScrollBar(Form);
        Bar->SetParent(Form);
        Bar->SetUseXPThemes(false);
        Bar->SetUseSystemMetrics(false);
        Bar->SetButtonSize(16);
        Bar->SetBounds(10, 10, 200, 17);
        Bar->OnScroll = [this](TObject*, TCvScrollCode Code, int& Pos, bool& DoChange) {
            Codes.push_back(std::to_string(Code) + ":" + std::to_string(Pos));
            DoChange = !Veto;
        };
        Bar->OnChange = [this](TObject*) { ++Changes; };
        const TWndMethod Previous = Form->WindowProc;
        Form->WindowProc = [this, Previous](TMessage& M) {
            if (M.Msg == WM_HSCROLL)
                ParentPositions.push_back(static_cast<short>(HIWORD(M.WParam)));
            Previous(M);
        };
        Form->Show();
        Wnd = Bar->Handle();
    }
    void Send(UINT Msg, WPARAM W, LPARAM L) { SendMessageW(Wnd, Msg, W, L); }

    TForm* Form = nullptr;
    TCvScrollBar* Bar = nullptr;
    HWND Wnd = nullptr;
    std::vector<std::string> Codes;
    std::vector<int> ParentPositions;
    int Changes = 0;
    bool Veto = false;
};

std::string Code(TCvScrollCode C, int Pos) {
    return std::to_string(C) + ":" + std::to_string(Pos);
}

} // namespace

TEST_F(CvScrollBarTest, AnArrowStepsAtThePressRepeatsOnTicksAndEndsOnRelease) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(195, 5));
    EXPECT_EQ(Bar->Position(), 1);
    EXPECT_EQ(Changes, 1);
    EXPECT_TRUE(Bar->RepeatTimer().Enabled());
    Bar->RepeatTimer().OnTimer(nullptr);
    Bar->RepeatTimer().OnTimer(nullptr);
    EXPECT_EQ(Bar->Position(), 3);
    EXPECT_EQ(Changes, 1); // repeats tell OnScroll only
    Send(WM_LBUTTONUP, 0, At(195, 5));
    EXPECT_FALSE(Bar->RepeatTimer().Enabled());
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(Codes, (std::vector<std::string>{Code(escLineDown, 1), Code(escLineDown, 2),
                                               Code(escLineDown, 3), Code(escEndScroll, 3)}));
    // At the start the left arrow cannot move: the press does not start.
    Bar->SetPosition(0);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_FALSE(Bar->Tracking());
    EXPECT_EQ(Bar->PressedPart(), sbpNowhere);
    Send(WM_LBUTTONUP, 0, At(5, 5));
}

TEST_F(CvScrollBarTest, HoldingAPageAreaRepeatsOnlyWhileTheMouseStaysOverIt) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(150, 5));
    EXPECT_EQ(Bar->Position(), 14);
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(150, 40)); // off the bar: the press pauses
    EXPECT_FALSE(Bar->RepeatTimer().Enabled());
    EXPECT_TRUE(Bar->Tracking());
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(150, 5));
    EXPECT_TRUE(Bar->RepeatTimer().Enabled());
    for (int I = 0; I < 10; ++I)
        Bar->RepeatTimer().OnTimer(nullptr);
    // The thumb came up under the mouse: the page steps stop there.
    EXPECT_EQ(Bar->Position(), 70);
    EXPECT_EQ(Bar->HitTest(150, 5), sbpThumb);
    Send(WM_LBUTTONUP, 0, At(150, 5));
}

TEST_F(CvScrollBarTest, DraggingTheThumbTellsTheParentAndSnapsBackFarOff) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 5)); // grabbed 4 pixels into the thumb
    EXPECT_EQ(Bar->PressedPart(), sbpThumb);
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(92, 5));
    EXPECT_EQ(Bar->ThumbPos(), 88);
    EXPECT_EQ(Bar->Position(), 43);             // MulDiv(72, 87, 145)
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(320, 5)); // more than half the length past the end
    EXPECT_EQ(Bar->ThumbPos(), 16);
    EXPECT_EQ(Bar->Position(), 0);
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(92, 5));
    Send(WM_LBUTTONUP, 0, At(92, 5));
    EXPECT_EQ(ParentPositions, (std::vector<int>{43, 43}));
    EXPECT_EQ(Bar->Position(), 43);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Codes.back(), Code(escPosition, 43));

    Bar->NoScrollMessages = true;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(Bar->ThumbPos() + 2, 5));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(Bar->ThumbPos() + 30, 5));
    Send(WM_LBUTTONUP, 0, At(Bar->ThumbPos() + 2, 5));
    EXPECT_EQ(ParentPositions.size(), 2u);
}

TEST_F(CvScrollBarTest, AThumbThatFillsTheTrackDoesNotMove) {
    Bar->SetPage(101);
    EXPECT_EQ(Bar->ThumbLength(), 168);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 5));
    EXPECT_FALSE(Bar->Tracking());
    Send(WM_LBUTTONUP, 0, At(100, 5));
    EXPECT_TRUE(Codes.empty());
}

TEST_F(CvScrollBarTest, OnScrollMayRefuseAndEndTrackingReleases) {
    Veto = true;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(195, 5));
    EXPECT_EQ(Bar->Position(), 0);
    EXPECT_TRUE(Bar->Tracking());
    Bar->EndTracking();
    EXPECT_FALSE(Bar->Tracking());
    EXPECT_NE(GetCapture(), Wnd);
    EXPECT_EQ(Changes, 0);
}

TEST_F(CvScrollBarTest, AnotherWindowTakingTheMouseEndsTheTrackingAsAReleaseWould) {
    auto* Other = NewForm<TForm>(App.get());
    Other->SetBounds(400, 0, 50, 50);
    Other->Show();
    // A held arrow stops repeating.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(195, 5));
    ASSERT_TRUE(Bar->Tracking());
    SetCapture(Other->Handle());
    EXPECT_FALSE(Bar->Tracking());
    EXPECT_FALSE(Bar->RepeatTimer().Enabled());
    ReleaseCapture();
}

TEST_F(CvScrollBarTest, KeysWheelAndScrollInfo) {
    struct TKey {
        WORD Key;
        int Position;
    };
    for (const TKey K : {TKey{VK_NEXT, 14}, TKey{VK_DOWN, 15}, TKey{'A', 15}, TKey{VK_END, 100},
                         TKey{VK_PRIOR, 86}, TKey{VK_HOME, 0}, TKey{VK_LEFT, 0}}) {
        Send(WM_KEYDOWN, K.Key, 0);
        EXPECT_EQ(Bar->Position(), K.Position) << K.Key;
    }
    EXPECT_EQ(Changes, 5); // only the keys that moved the bar
    EXPECT_TRUE(SendMessageW(Wnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);

    UINT Lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
    const TCvWheelPlan Plan = PlanWheel(-WHEEL_DELTA, Lines);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), At(50, 15));
    EXPECT_EQ(Bar->Position(), Plan.ByPage ? 14 : -Plan.Steps);

    SCROLLINFO Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    Info.nMin = 0;
    Info.nMax = 50;
    Info.nPos = 60; // outside the new range: the maximum
    Info.nPage = 10;
    EXPECT_EQ(SendMessageW(Wnd, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&Info)), 50);
    EXPECT_EQ(Bar->Max(), 50);
    EXPECT_EQ(Bar->Page(), 10);
    Info.cbSize = 20; // too small: nothing changes
    Info.nPos = 5;
    EXPECT_EQ(SendMessageW(Wnd, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&Info)), 50);
    SCROLLINFO Read{};
    Read.cbSize = sizeof Read;
    Read.fMask = SIF_ALL;
    EXPECT_TRUE(SendMessageW(Wnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&Read)));
    EXPECT_EQ(Read.nPos, 50);
    EXPECT_EQ(Read.nPage, 10u);
    EXPECT_EQ(Read.nTrackPos, 41); // the thumb at the end stands for the last page's start
    // The system's call on our window arrives as the same message.
    Info.cbSize = sizeof Info;
    Info.fMask = SIF_POS;
    Info.nPos = 7;
    SetScrollInfo(Wnd, SB_CTL, &Info, TRUE);
    EXPECT_EQ(Bar->Position(), 7);
}

TEST_F(CvScrollBarTest, TrackPaintsACheckerAndAPressedPageDarker) {
    Bar->SystemBkColor = false;
    Bar->BlendBackground = true;
    Bar->SetColor(clRed);
    Bar->SetPosition(50);
    TClientPixels Plain(*Bar);
    const COLORREF Red = ColorToRGB(clRed);
    const COLORREF Light = ColorToRGB(ColorLighten(clRed, 50));
    // Track before the thumb: the two colours alternate.
    EXPECT_EQ(Plain.At(30, 5), ((30 ^ 5) & 1) ? Red : Light);
    EXPECT_EQ(Plain.At(31, 5), ((31 ^ 5) & 1) ? Red : Light);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(30, 5));
    TClientPixels Pressed(*Bar);
    const COLORREF Dark = Pressed.At(Bar->ThumbPos() - 2, 5);
    EXPECT_NE(Dark, Red);
    EXPECT_EQ(Pressed.At(Bar->ThumbPos() - 3, 5), Dark); // one flat colour
    Send(WM_LBUTTONUP, 0, At(30, 5));
}

TEST_F(CvScrollBarTest, OwnerDrawnPartsComeInOrderAndMaySkipTheDefault) {
    std::vector<TCvScrollBarPart> Parts;
    Bar->SetPosition(50);
    Bar->OwnerDraw = true;
    Bar->OnDrawPart = [&](TObject*, TCanvas& C, const TRect& R, TCvScrollBarPart Part, bool, bool,
                          bool, bool& DefaultDraw) {
        Parts.push_back(Part);
        C.Brush().SetColor(clLime);
        C.FillRect(R);
        DefaultDraw = false;
    };
    TClientPixels Pixels(*Bar);
    EXPECT_EQ(Parts, (std::vector<TCvScrollBarPart>{sbpLeftArrow, sbpRightArrow, sbpLeftTop,
                                                    sbpThumb, sbpRightBottom}));
    EXPECT_EQ(Pixels.Count(TRect(0, 0, 200, 17), true,
                           [](COLORREF C) { return C != ColorToRGB(clLime); }),
              0);
}

TEST_F(CvScrollBarTest, StylesNeedABarAndAnOwner) {
    try {
        TCvScrollBarStyles Styles(nullptr, Form);
        FAIL() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(),
                  L"No scrollbar specified when attempting to create TCvScrollBarStyles instance");
    }
    TCvScrollBarStyles Styles(Bar, Form);
    EXPECT_TRUE(Bar->UseSystemMetrics());
    int Changed = 0;
    Styles.OnChange = [&](TObject*) { ++Changed; };
    Styles.SetUseSystemMetrics(false);
    Styles.SetWidth(20);
    EXPECT_EQ(Bar->Height(), 20);
    EXPECT_EQ(Changed, 2);
}

TEST_F(CvScrollBarTest, CreatingPaintingAndDestroyingLeavesNoGdiObjects) {
    EXPECT_EQ(GdiGrowth([&] {
                  auto* Other = new TCvScrollBar(Form);
                  Other->SetParent(Form);
                  Other->SetBounds(0, 40, 150, 17);
                  Other->SystemBkColor = false;
                  Other->SetPosition(30);
                  TClientPixels Pixels(*Other);
                  delete Other;
              }),
              0);
}

TEST_F(CvScrollBarTest, TheTrackHintFollowsTheThumbAndGoesAtRelease) {
    Bar->ShowTrackHint = true;
    Bar->OnScrollHintNeeded = [](TObject*, int Position, String& Hint) {
        Hint = L"at " + std::to_wstring(Position);
    };
    auto HintWindow = [] { return FindWindowW(L"TCvHintWindow", nullptr); };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 5));
    const HWND Shown = HintWindow();
    ASSERT_NE(Shown, nullptr);
    EXPECT_TRUE(IsWindowVisible(Shown));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(92, 5));
    RECT Placed{};
    GetWindowRect(Shown, &Placed);
    const TPoint Thumb = Bar->ClientToScreen(TPoint{Bar->ThumbPos() - 2, -5});
    EXPECT_EQ(Placed.right, Thumb.X - 1); // its bottom-right corner just above-left of the thumb
    Send(WM_LBUTTONUP, 0, At(92, 5));
    EXPECT_FALSE(IsWindow(Shown));
}
