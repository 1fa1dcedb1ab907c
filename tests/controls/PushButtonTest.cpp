// The push-button machine, hover hand-over, groups, keys and accelerators, driven through the
// skinned button the windows use.
#include "controls/avImageExpandButton.h"
#include "tests/controls/ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class PushButtonTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Skin = std::make_unique<TavImageList>(nullptr);
        FillBitmap(Skin->Image(siNormalMiddle), 10, 24, 0x606060);
        FillBitmap(Skin->Image(siHoverMiddle), 10, 24, 0xA0A0A0);
    }
    void TearDown() override {
        Skin.reset();
        ControlsTest::TearDown();
    }

    TavImageExpandButton* Button(int Left, const wchar_t* Caption = L"") {
        auto* B = Place<TavImageExpandButton>(Bounds(Left, 10, 60, 24));
        B->SetImageList(Skin.get());
        B->SetCaption(Caption);
        B->HandleNeeded();
        return B;
    }
    void Press(TWinControl& C, int X = 5, int Y = 5) {
        SendMessageW(C.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(X, Y));
    }
    void Release(TWinControl& C, int X = 5, int Y = 5) {
        SendMessageW(C.Handle(), WM_LBUTTONUP, 0, At(X, Y));
    }
    void ClickOn(TWinControl& C) {
        MoveOver(C, 5, 5);
        Press(C);
        Release(C);
    }

    std::unique_ptr<TavImageList> Skin;
};

TEST_F(PushButtonTest, PressAndReleaseInsideClicksAndGivesTheFormTheModalResult) {
    auto* B = Button(10);
    B->ModalResult = mrOk;
    int Clicks = 0;
    B->OnClick = [&](TObject*) { ++Clicks; };
    MoveOver(*B, 5, 5);
    Press(*B);
    EXPECT_EQ(B->State(), bsPressed);
    EXPECT_TRUE(B->Dragging());
    EXPECT_TRUE(B->Focused());
    Release(*B);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(B->State(), bsUp);
    EXPECT_FALSE(B->Dragging());
    EXPECT_EQ(Form->ModalResult(), mrOk);
    EXPECT_TRUE(B->MouseInControl()); // still under the cursor after the release
}

TEST_F(PushButtonTest, ADragOffTheButtonShowsItUpAndTheReleaseThereIsNoClick) {
    auto* B = Button(10);
    int Clicks = 0;
    B->OnClick = [&](TObject*) { ++Clicks; };
    MoveOver(*B, 5, 5);
    Press(*B);
    // The bottom edge counts as inside, the right edge does not.
    MoveOver(*B, 5, B->ClientHeight(), MK_LBUTTON);
    EXPECT_EQ(B->State(), bsPressed);
    MoveOver(*B, B->ClientWidth(), 5, MK_LBUTTON);
    EXPECT_EQ(B->State(), bsUp);
    EXPECT_TRUE(B->MouseInControl()); // held: the hot state waits for the release
    MoveAway();
    Release(*B, 200, 5);
    EXPECT_EQ(Clicks, 0);
    EXPECT_FALSE(B->MouseInControl());
    EXPECT_EQ(TavImageExpandButton::HoverGroup().HotControl(), nullptr);
}

TEST_F(PushButtonTest, APressWhoseCaptureIsTakenComesUpWithoutAClick) {
    auto* B = Button(10);
    int Clicks = 0;
    B->OnClick = [&](TObject*) { ++Clicks; };
    MoveOver(*B, 5, 5);
    Press(*B);
    ASSERT_EQ(B->State(), bsPressed);
    SendMessageW(Form->Handle(), WM_CANCELMODE, 0, 0); // as a modal window opening does
    EXPECT_EQ(B->State(), bsUp);
    EXPECT_FALSE(B->Dragging());
    Release(*B);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(PushButtonTest, GroupedButtonsLatchOneAtATime) {
    auto* A = Button(10);
    auto* B = Button(80);
    auto* Other = Button(150);
    for (auto* Each : {A, B})
        Each->SetGroupIndex(1);
    Other->SetGroupIndex(2);
    ClickOn(*Other);
    ClickOn(*A);
    EXPECT_TRUE(A->Down());
    EXPECT_EQ(A->State(), bsLatched);
    ClickOn(*A); // a latched button cannot release itself
    EXPECT_TRUE(A->Down());
    ClickOn(*B);
    EXPECT_TRUE(B->Down());
    EXPECT_FALSE(A->Down());
    EXPECT_EQ(A->State(), bsUp);
    EXPECT_TRUE(Other->Down()); // another group is left alone

    // AllowAllUp set on one reaches its group; then a click releases.
    A->SetAllowAllUp(true);
    EXPECT_TRUE(B->AllowAllUp());
    EXPECT_FALSE(Other->AllowAllUp());
    ClickOn(*B);
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(B->State(), bsUp);

    // Down outside a group is refused.
    auto* Single = Button(220);
    Single->SetDown(true);
    EXPECT_FALSE(Single->Down());
}

TEST_F(PushButtonTest, DoubleClickCountsOnlyWhileDown) {
    auto* B = Button(10);
    int Doubles = 0;
    B->OnDblClick = [&](TObject*) { ++Doubles; };
    SendMessageW(B->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 5));
    Release(*B);
    EXPECT_EQ(Doubles, 0);
    B->SetGroupIndex(3);
    B->SetDown(true);
    SendMessageW(B->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 5));
    EXPECT_EQ(Doubles, 1);
}

TEST_F(PushButtonTest, SpaceAndAcceleratorsClick) {
    auto* B = Button(10, L"O&k");
    int Clicks = 0;
    B->OnClick = [&](TObject*) { ++Clicks; };
    SendMessageW(B->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(B->State(), bsPressed);
    SendMessageW(B->Handle(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(B->State(), bsUp);
    EXPECT_EQ(Clicks, 1);

    EXPECT_EQ(B->Perform(CM_DIALOGCHAR, L'K'), 1);
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(B->Perform(CM_DIALOGCHAR, L'o'), 0);
    B->SetGroupIndex(4);
    EXPECT_EQ(B->Perform(CM_DIALOGCHAR, L'k'), 1);
    EXPECT_TRUE(B->Down());
    B->SetEnabled(false);
    EXPECT_EQ(B->Perform(CM_DIALOGCHAR, L'k'), 0);
    EXPECT_EQ(Clicks, 3);
}

TEST_F(PushButtonTest, HoverPassesFromOneButtonToTheNextThroughOneTimer) {
    THoverGroup& Hover = TavImageExpandButton::HoverGroup();
    auto* A = Button(10);
    auto* B = Button(80);
    EXPECT_EQ(Hover.InstanceCount(), 2);
    std::vector<std::string> Log;
    A->OnMouseLeave = [&](TObject*) { Log.push_back("A leave"); };
    MoveOver(*A, 5, 5);
    EXPECT_TRUE(A->MouseInControl());
    EXPECT_EQ(Hover.HotControl(), A);
    EXPECT_TRUE(Hover.TimerRunning());
    MoveOver(*B, 5, 5);
    EXPECT_FALSE(A->MouseInControl());
    EXPECT_TRUE(B->MouseInControl());
    EXPECT_EQ(Hover.HotControl(), B);
    // The cursor leaves without a message to the button: the timer ends the hot state.
    MoveAway();
    EXPECT_TRUE(PumpUntil([&] { return !B->MouseInControl(); }));
    EXPECT_FALSE(Hover.TimerRunning());
    EXPECT_EQ(Hover.HotControl(), nullptr);

    delete A;
    delete B;
    EXPECT_EQ(Hover.InstanceCount(), 0);
}

TEST_F(PushButtonTest, NoHotStateWithoutAnActiveWindow) {
    auto* B = Button(10);
    Active = false;
    MoveOver(*B, 5, 5);
    EXPECT_FALSE(B->MouseInControl());
    EXPECT_EQ(TavImageExpandButton::HoverGroup().HotControl(), nullptr);
    Active = true;
    MoveOver(*B, 6, 6);
    EXPECT_TRUE(B->MouseInControl());
}

TEST_F(PushButtonTest, FocusMakesHotAndDisablingEndsEverything) {
    auto* A = Button(10);
    auto* B = Button(80);
    A->SetFocus();
    EXPECT_TRUE(A->MouseInControl());
    B->SetFocus();
    EXPECT_FALSE(A->MouseInControl());

    MoveOver(*B, 5, 5);
    EXPECT_EQ(TavImageExpandButton::HoverGroup().HotControl(), B);
    B->SetEnabled(false);
    EXPECT_FALSE(B->MouseInControl());
    EXPECT_EQ(B->State(), bsDisabled);
    EXPECT_EQ(TavImageExpandButton::HoverGroup().HotControl(), nullptr);
    B->SetGroupIndex(5);
    B->SetEnabled(true);
    B->Repaint();
    EXPECT_EQ(B->State(), bsUp);
}

} // namespace
