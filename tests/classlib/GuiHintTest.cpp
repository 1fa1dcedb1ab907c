#include "GuiTestSupport.h"
#include "tests/support/GdiCount.h"

#include "classlib/gui/HintWindow.h"
#include "classlib/gui/StdCtrls.h"

#include <string>
#include <vector>

namespace {

// A hint window of the test's own class, counted, and layered as a program may make it.
int MadeWindows = 0;
class TTestHintWindow : public THintWindow {
public:
    explicit TTestHintWindow(TComponent* Owner) : THintWindow(Owner) { ++MadeWindows; }

protected:
    void CreateParams(TCreateParams& Params) const override {
        THintWindow::CreateParams(Params);
        Params.WinClassName = L"TTestHintWindow";
        Params.ExStyle |= WS_EX_LAYERED;
    }
    void CreateWnd() override {
        THintWindow::CreateWnd();
        SetLayeredWindowAttributes(Handle(), 0, 200, LWA_ALPHA);
    }
};

THintWindow* MakeTestHintWindow(TComponent* Owner) {
    return new TTestHintWindow(Owner);
}

// A component that installs itself into the application, as a hint component does.
class TInstaller : public TComponent {
public:
    explicit TInstaller(TComponent* Owner, int& Hooked) : TComponent(Owner) {
        Application->SetOnShowHint([this](String& S, bool&, THintInfo&) { S = Marker; }, this);
        Application->SetHintWindowClass(&MakeTestHintWindow, this);
        Application->HookMainWindow(
            [this, &Hooked](TMessage& M) {
                if (M.Msg == WM_APP + 7)
                    ++Hooked;
                return false;
            },
            this);
    }
    String Marker = L"installed";
};

struct THintFixture {
    TForm* Form;
    TWinControl* Left;
    TWinControl* Right;
    TPoint Cursor;
};

class HintTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        MadeWindows = 0;
        F.Form = NewForm<TForm>(App.get());
        F.Form->SetBounds(100, 100, 300, 200);
        F.Left = Place<TCustomControl>(*F.Form, Bounds(10, 10, 100, 50));
        F.Left->Hint = L"left|The left one";
        F.Left->SetShowHint(true);
        F.Right = Place<TCustomControl>(*F.Form, Bounds(150, 10, 100, 50));
        F.Right->Hint = L"right";
        F.Right->SetShowHint(true);
        F.Form->Show();
        F.Cursor = F.Left->ClientToScreen(TPoint{5, 5});
        Screen->CursorPosSource = [this] { return F.Cursor; };
    }
    void TearDown() override {
        Screen->CursorPosSource = nullptr;
        GuiTest::TearDown();
    }

    void MoveTo(TWinControl& Control) {
        F.Cursor = Control.ClientToScreen(TPoint{5, 5});
        SendMessageW(Control.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    }
    bool HintShown() {
        return App->HintWindow() && App->HintWindow()->HandleAllocated() &&
               IsWindowVisible(App->HintWindow()->Handle());
    }
    // Milliseconds until Done holds, pumping; -1 after Limit.
    template <class TDone> int MillisecondsUntil(TDone Done, int Limit = 3000) {
        const ULONGLONG Start = GetTickCount64();
        while (GetTickCount64() - Start < static_cast<ULONGLONG>(Limit)) {
            App->ProcessMessages();
            if (Done())
                return static_cast<int>(GetTickCount64() - Start);
            Sleep(5);
        }
        return -1;
    }

    THintFixture F{};
};

} // namespace

TEST_F(HintTest, AHintShowsAfterThePauseAndHidesAfterTheHidePause) {
    App->HintPause = 300;
    App->HintHidePause = 400;
    MoveTo(*F.Left);
    const int Shown = MillisecondsUntil([&] { return HintShown(); });
    EXPECT_GE(Shown, 300);
    EXPECT_LT(Shown, 600);
    THintWindow* Window = App->HintWindow();
    EXPECT_EQ(Window->Caption(), L"left"); // the short part
    const LONG_PTR ExStyle = GetWindowLongPtrW(Window->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(ExStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(ExStyle & WS_EX_TOOLWINDOW);
    EXPECT_NE(GetActiveWindow(), Window->Handle());
    // Below the pointer.
    EXPECT_GT(Window->Top(), F.Cursor.Y);

    const int Hidden = MillisecondsUntil([&] { return !HintShown(); });
    EXPECT_GE(Hidden, 400 - 20);
    EXPECT_LT(Hidden, 800);
}

TEST_F(HintTest, TheNextHintFollowsAfterTheShortPause) {
    App->HintPause = 1000;
    App->HintShortPause = 100;
    App->HintHidePause = 0;
    App->ActivateHint(F.Cursor);
    ASSERT_TRUE(HintShown());
    MoveTo(*F.Right);
    EXPECT_FALSE(HintShown()); // the old hint goes at once
    const int Shown = MillisecondsUntil([&] { return HintShown(); });
    EXPECT_GE(Shown, 100 - 20);
    EXPECT_LT(Shown, 500);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(App->HintWindow()->Caption(), L"right");
}

TEST_F(HintTest, TheControlAndOnShowHintDecide) {
    std::vector<String> Asked;
    App->SetOnShowHint([&](String& HintStr, bool& CanShow, THintInfo& Info) {
        Asked.push_back(HintStr);
        EXPECT_EQ(Info.HintControl, F.Left);
        if (HintStr == L"veto")
            CanShow = false;
        else
            HintStr = L"changed";
    });
    App->ActivateHint(F.Cursor);
    ASSERT_NE(App->HintWindow(), nullptr);
    EXPECT_EQ(App->HintWindow()->Caption(), L"changed");

    F.Left->Hint = L"veto";
    App->CancelHint();
    App->ActivateHint(F.Cursor);
    EXPECT_FALSE(HintShown());

    // A control that answers CM_HINTSHOW itself shows none, and OnShowHint is not asked.
    F.Left->Hint = L"left";
    const TWndMethod Previous = F.Left->WindowProc;
    F.Left->WindowProc = [&](TMessage& M) {
        if (M.Msg == CM_HINTSHOW) {
            M.Result = 1;
            return;
        }
        Previous(M);
    };
    App->CancelHint();
    App->ActivateHint(F.Cursor);
    EXPECT_FALSE(HintShown());
    EXPECT_EQ(Asked, (std::vector<String>{L"left", L"veto"}));
    App->SetOnShowHint(nullptr);
}

TEST_F(HintTest, AControlWithShowHintAndNoHintMayGiveOneForThePoint) {
    App->HintPause = 30;
    App->HintHidePause = 0;
    F.Right->Hint = L"";
    MoveTo(*F.Right);
    EXPECT_EQ(MillisecondsUntil([&] { return HintShown(); }, 300), -1); // nothing to show

    const TWndMethod Previous = F.Right->WindowProc;
    std::vector<TPoint> AskedAt;
    F.Right->WindowProc = [Previous, &AskedAt](TMessage& M) {
        Previous(M);
        if (M.Msg == CM_HINTSHOW) {
            auto& Info = *reinterpret_cast<THintInfo*>(M.LParam);
            AskedAt.push_back(Info.CursorPos);
            Info.HintStr = L"made here";
        }
    };
    App->CancelHint();
    MoveTo(*F.Right);
    EXPECT_GE(MillisecondsUntil([&] { return HintShown(); }), 0);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(App->HintWindow()->Caption(), L"made here");
    ASSERT_EQ(AskedAt.size(), 1u);
    EXPECT_EQ(AskedAt[0].X, 5);
    EXPECT_EQ(AskedAt[0].Y, 5);
    App->CancelHint();
    F.Right->WindowProc = Previous;
}

TEST_F(HintTest, ClicksAndLeavingEndTheHint) {
    App->HintHidePause = 0;
    App->ActivateHint(F.Cursor);
    ASSERT_TRUE(HintShown());
    SendMessageW(F.Left->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(F.Left->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(HintShown());

    App->HintPause = 100;
    MoveTo(*F.Right);
    F.Right->Perform(CM_MOUSELEAVE); // gone before the pause ended
    EXPECT_EQ(MillisecondsUntil([&] { return HintShown(); }, 400), -1);
}

TEST_F(HintTest, ShowHintMakesTheWindowAgainOfTheClassSetNow) {
    App->ActivateHint(F.Cursor);
    ASSERT_NE(App->HintWindow(), nullptr);
    EXPECT_EQ(dynamic_cast<TTestHintWindow*>(App->HintWindow()), nullptr);

    App->SetHintWindowClass(&MakeTestHintWindow);
    App->SetShowHint(false);
    EXPECT_EQ(App->HintWindow(), nullptr);
    App->ActivateHint(F.Cursor); // hints are off
    EXPECT_FALSE(HintShown());
    App->SetShowHint(true);
    App->ActivateHint(F.Cursor);
    ASSERT_TRUE(HintShown());
    EXPECT_NE(dynamic_cast<TTestHintWindow*>(App->HintWindow()), nullptr);
    EXPECT_EQ(MadeWindows, 1);
    EXPECT_TRUE(GetWindowLongPtrW(App->HintWindow()->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    App->SetHintWindowClass(nullptr);
}

TEST_F(HintTest, NothingAComponentInstalledOutlivesIt) {
    int Hooked = 0;
    auto* Installer = new TInstaller(F.Form, Hooked);
    SendMessageW(App->Handle(), WM_APP + 7, 0, 0);
    App->ActivateHint(F.Cursor);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(App->HintWindow()->Caption(), L"installed");
    EXPECT_NE(dynamic_cast<TTestHintWindow*>(App->HintWindow()), nullptr);
    EXPECT_EQ(Hooked, 1);

    delete Installer;
    EXPECT_FALSE(App->OnShowHint());
    SendMessageW(App->Handle(), WM_APP + 7, 0, 0);
    EXPECT_EQ(Hooked, 1);
    App->CancelHint();
    App->ActivateHint(F.Cursor);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(App->HintWindow()->Caption(), L"left");
    EXPECT_EQ(dynamic_cast<TTestHintWindow*>(App->HintWindow()), nullptr);

    // A control that goes while its hint waits leaves nothing behind either.
    App->CancelHint();
    App->HintPause = 50;
    MoveTo(*F.Right);
    delete F.Right;
    EXPECT_EQ(MillisecondsUntil([&] { return HintShown(); }, 300), -1);
}

TEST_F(HintTest, AHintMayHoldZeroUnits) {
    const String Packed(L"ab\0wide", 7);
    F.Left->Hint = Packed;
    App->ActivateHint(F.Cursor);
    ASSERT_TRUE(HintShown());
    THintWindow* Window = App->HintWindow();
    EXPECT_EQ(Window->Caption(), Packed);
    const TRect Whole = Window->CalcHintRect(1000, Packed, nullptr);
    EXPECT_EQ(Whole, Window->CalcHintRect(1000, L"ab", nullptr));
    EXPECT_LT(Whole.Width(), Window->CalcHintRect(1000, L"ab wide", nullptr).Width());
    EXPECT_EQ(GetShortHint(String(L"a\0|b", 4)), String(L"a\0", 2));
}

TEST(HintText, ShortAndLongParts) {
    const struct {
        const wchar_t* Hint;
        const wchar_t* Short;
        const wchar_t* Long;
    } Cases[] = {
        {L"short|long", L"short", L"long"},
        {L"only", L"only", L"only"},
        {L"|long", L"", L"long"},
        {L"a|b|c", L"a", L"b|c"},
        {L"", L"", L""},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Hint));
        EXPECT_EQ(GetShortHint(Case.Hint), Case.Short);
        EXPECT_EQ(GetLongHint(Case.Hint), Case.Long);
    }
}

TEST_F(HintTest, ShowingHintsLeaksNoGdiObjects) {
    App->HintHidePause = 0;
    EXPECT_EQ(GdiGrowth([&] {
                  App->ActivateHint(F.Cursor);
                  if (App->HintWindow())
                      UpdateWindow(App->HintWindow()->Handle());
                  App->CancelHint();
                  App->SetShowHint(false); // the window goes and comes back
                  App->SetShowHint(true);
              }),
              0);
}

TEST_F(GuiTest, OnMessageSeesQueuedMessagesAndMayStopThem) {
    auto* Form = NewForm<TForm>(App.get());
    int Reached = 0;
    const UINT Probe = WM_APP + 9;
    Form->WindowProc = [&, Previous = Form->WindowProc](TMessage& M) {
        if (M.Msg == Probe)
            ++Reached;
        Previous(M);
    };
    std::vector<WPARAM> Seen;
    App->OnMessage = [&](MSG& Msg, bool& Handled) {
        if (Msg.message != Probe)
            return;
        Seen.push_back(Msg.wParam);
        Handled = Msg.wParam == 2;
    };
    PostMessageW(Form->Handle(), Probe, 1, 0);
    PostMessageW(Form->Handle(), Probe, 2, 0);
    App->ProcessMessages();
    EXPECT_EQ(Seen, (std::vector<WPARAM>{1, 2}));
    EXPECT_EQ(Reached, 1);
    App->OnMessage = nullptr;
}

TEST_F(GuiTest, RunWithoutShowMainFormLeavesTheMainFormHiddenAndMinimizeMinimizes) {
    auto* Main = App->CreateForm<TForm>();
    App->ShowMainForm = false;
    App->OnMessage = [&](MSG& Msg, bool&) {
        if (Msg.message == WM_APP + 10)
            App->Terminate();
    };
    PostMessageW(App->Handle(), WM_APP + 10, 0, 0);
    App->Run();
    EXPECT_FALSE(Main->Visible());
    EXPECT_FALSE(Main->HandleAllocated() && IsWindowVisible(Main->Handle()));
    App->OnMessage = nullptr;

    Main->Show();
    App->Minimize();
    EXPECT_TRUE(IsIconic(Main->Handle()));
}

TEST_F(GuiTest, KeysAndSystemCommandsPassTheApplicationsHooksFirst) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Control = Place<TCustomControl>(*Form, Bounds(0, 0, 20, 20));
    std::vector<WORD> Keys;
    Control->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { Keys.push_back(Key); };
    std::vector<UINT> Seen;
    auto* Owner = new TComponent(nullptr);
    App->HookMainWindow(
        [&](TMessage& M) {
            if (M.Msg == CM_APPKEYDOWN) {
                Seen.push_back(static_cast<UINT>(M.WParam));
                M.Result = M.WParam == VK_F5; // a shortcut of the application's
                return true;
            }
            if (M.Msg == CM_APPSYSCOMMAND) {
                Seen.push_back(static_cast<UINT>(reinterpret_cast<TMessage*>(M.LParam)->WParam));
                M.Result = 1;
                return true;
            }
            return false;
        },
        Owner);
    PostMessageW(Control->Handle(), WM_KEYDOWN, VK_F5, 1);
    PostMessageW(Control->Handle(), WM_KEYDOWN, L'A', 1);
    App->ProcessMessages();
    EXPECT_EQ(Keys, (std::vector<WORD>{L'A'}));
    SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsIconic(Form->Handle())); // the hook took it
    EXPECT_EQ(Seen, (std::vector<UINT>{VK_F5, L'A', SC_MINIMIZE}));
    delete Owner;
}

TEST(MonitorPlacement, BoxesCentreInAndMoveOntoTheWorkAreaTheyAreGiven) {
    // A primary monitor, one left of it (negative coordinates) and one above with a taskbar.
    const TRect Primary = Bounds(0, 0, 1280, 1024);
    const TRect Left = Bounds(-1920, 0, 1920, 1040);
    const TRect Above = Bounds(0, -900, 1600, 860);
    EXPECT_EQ(CentredIn(Primary, 300, 200), Bounds(490, 412, 300, 200));
    EXPECT_EQ(CentredIn(Left, 300, 200), Bounds(-1110, 420, 300, 200));
    EXPECT_EQ(CentredIn(Above, 300, 200), Bounds(650, -570, 300, 200));
    struct TCase {
        const char* Name;
        TRect Box;
        TRect Area;
        TRect Expected;
    };
    const TCase Cases[] = {
        {"inside stays", Bounds(100, 100, 50, 20), Primary, Bounds(100, 100, 50, 20)},
        {"past the right edge", Bounds(1250, 100, 50, 20), Primary, Bounds(1230, 100, 50, 20)},
        {"past the bottom", Bounds(10, 1010, 50, 20), Primary, Bounds(10, 1004, 50, 20)},
        {"on the left monitor, past its left", Bounds(-1930, 5, 50, 20), Left,
         Bounds(-1920, 5, 50, 20)},
        {"on the left monitor, near its right", Bounds(-30, 5, 50, 20), Left,
         Bounds(-50, 5, 50, 20)},
        {"above, under its taskbar", Bounds(10, -50, 50, 20), Above, Bounds(10, -60, 50, 20)},
        {"larger than the area: its top-left shows", Bounds(100, 100, 2000, 2000), Primary,
         Bounds(0, 0, 2000, 2000)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_EQ(MovedInside(Case.Box, Case.Area), Case.Expected);
    }
}

TEST_F(HintTest, TheHintIsSizedAndPlacedForTheMonitorOfThePointer) {
    // A narrow monitor of its own answers for the pointer's point.
    const TScreen::TMonitorArea Narrow{Bounds(F.Cursor.X - 200, 0, 400, 300),
                                       Bounds(F.Cursor.X - 200, 0, 400, 260)};
    std::vector<TPoint> Asked;
    Screen->MonitorAtSource = [&](TPoint P) {
        Asked.push_back(P);
        return Narrow;
    };
    int MaxWidth = 0;
    App->SetOnShowHint([&](String& Text, bool&, THintInfo& Info) {
        MaxWidth = Info.HintMaxWidth;
        Info.HintPos = TPoint{F.Cursor.X + 350, 280}; // past the monitor's work area
        Text = L"a hint";
    });
    App->ActivateHint(F.Cursor);
    Screen->MonitorAtSource = nullptr;
    ASSERT_TRUE(HintShown());
    ASSERT_FALSE(Asked.empty());
    EXPECT_EQ(Asked.front().X, F.Cursor.X);
    EXPECT_EQ(Asked.front().Y, F.Cursor.Y);
    EXPECT_EQ(MaxWidth, 400);
    const TRect Placed = App->HintWindow()->BoundsRect();
    EXPECT_EQ(Placed.Right, Narrow.WorkArea.Right);
    EXPECT_EQ(Placed.Bottom, Narrow.WorkArea.Bottom);
}

TEST_F(GuiTest, ACentredFormStandsOnTheMonitorOfTheMainForm) {
    const TScreen::TMonitorArea Second{Bounds(1280, 0, 1024, 768), Bounds(1280, 0, 1024, 728)};
    std::vector<HWND> AskedFor;
    Screen->MonitorOfSource = [&](HWND Wnd) {
        AskedFor.push_back(Wnd);
        return Second;
    };
    Screen->MonitorAtSource = [&](TPoint) { return Second; };
    auto* Main = App->CreateForm<TForm>();
    Main->SetBounds(1300, 10, 200, 100);
    Main->Show();
    for (const TPosition Position : {poScreenCenter, poDesktopCenter}) {
        auto* Dialog = NewForm<TForm>(App.get());
        Dialog->SetBorderStyle(bsNone);
        Dialog->SetBounds(0, 0, 300, 200);
        Dialog->Position = Position;
        AskedFor.clear();
        Dialog->Show();
        EXPECT_EQ(AskedFor, (std::vector<HWND>{Main->Handle()}));
        EXPECT_EQ(Dialog->BoundsRect(), Bounds(1642, 264, 300, 200));
        delete Dialog;
    }
    Screen->MonitorOfSource = nullptr;
    Screen->MonitorAtSource = nullptr;
}
