#include "GuiTestSupport.h"
#include "tests/support/GdiCount.h"

#include "classlib/gui/StdCtrls.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// A windowed control that shows what lies behind it.
class TSeeThrough : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override { PaintParentBackground(*this, Canvas().Handle()); }
};

// Records, by name, what reaches a control's WindowProc.
class TLog {
public:
    void Watch(TControl& Control, const std::string& Name, std::vector<UINT> Messages) {
        TWndMethod Previous = Control.WindowProc;
        Control.WindowProc = [this, Name, Messages, Previous](TMessage& M) {
            for (const UINT Watched : Messages)
                if (M.Msg == Watched)
                    Lines.push_back(Name + " " + Label(M.Msg));
            Previous(M);
        };
    }
    static std::string Label(UINT Msg) {
        switch (Msg) {
        case CM_MOUSEENTER:
            return "enter";
        case CM_MOUSELEAVE:
            return "leave";
        case CM_ENTER:
            return "in";
        case CM_EXIT:
            return "out";
        default:
            return std::to_string(Msg);
        }
    }
    std::vector<std::string> Take() { return std::exchange(Lines, {}); }
    std::vector<std::string> Lines;
};

LPARAM At(int X, int Y) {
    return MAKELPARAM(X, Y);
}

// Ends a modal loop that the test failed to end, so that a fault fails the test instead of
// hanging it.
TForm* StuckDialog = nullptr;
class TModalGuard {
public:
    explicit TModalGuard(TForm& Dialog) {
        StuckDialog = &Dialog;
        FTimer = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
            if (StuckDialog)
                StuckDialog->SetModalResult(mrAbort);
        });
    }
    ~TModalGuard() {
        KillTimer(nullptr, FTimer);
        StuckDialog = nullptr;
    }

private:
    UINT_PTR FTimer;
};

} // namespace

TEST_F(GuiTest, SettersNotifyThroughWindowProcOnlyOnChange) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Panel = Place<TWinControl>(*Form, Bounds(0, 0, 100, 100));
    auto* Child = Place<TFilledBlock>(*Panel, Bounds(0, 0, 10, 10), clRed);
    std::vector<UINT> Seen;
    const TWndMethod Previous = Child->WindowProc;
    Child->WindowProc = [&](TMessage& M) {
        if (M.Msg >= CM_BASE)
            Seen.push_back(M.Msg);
        Previous(M);
    };
    const struct {
        const char* Setter;
        std::function<void()> Change;
        std::vector<UINT> Expected;
    } Cases[] = {
        {"Enabled", [&] { Child->SetEnabled(false); }, {CM_ENABLEDCHANGED}},
        {"Enabled again", [&] { Child->SetEnabled(false); }, {}},
        {"Caption", [&] { Child->SetCaption(L"x"); }, {CM_TEXTCHANGED}},
        {"Color", [&] { Child->SetColor(clBlue); }, {CM_COLORCHANGED}},
        {"Font", [&] { Child->Font().SetSize(14); }, {CM_FONTCHANGED}},
        {"Visible", [&] { Child->SetVisible(false); }, {CM_VISIBLECHANGED}},
        {"ShowHint", [&] { Child->SetShowHint(true); }, {CM_SHOWHINTCHANGED}},
        {"Cursor", [&] { Child->SetCursor(crHandPoint); }, {CM_CURSORCHANGED}},
        {"parent's colour, followed",
         [&] {
             Child->SetParentColor(true);
             Seen.clear();
             Panel->SetColor(clGreen);
         },
         {CM_PARENTCOLORCHANGED, CM_COLORCHANGED}},
        {"parent's font, followed",
         [&] {
             Child->SetParentFont(true);
             Seen.clear();
             Panel->Font().SetStyle({fsBold});
         },
         {CM_PARENTFONTCHANGED, CM_FONTCHANGED}},
        {"parent's colour, own colour kept",
         [&] {
             Child->SetColor(clRed);
             Seen.clear();
             Panel->SetColor(clYellow);
         },
         {CM_PARENTCOLORCHANGED}},
        {"new parent",
         [&] { Child->SetParent(Form); },
         // The form's font differs from the panel's bold one; the own colour stays.
         {CM_PARENTFONTCHANGED, CM_FONTCHANGED, CM_PARENTCOLORCHANGED, CM_PARENTSHOWHINTCHANGED}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Setter);
        Seen.clear();
        C.Change();
        EXPECT_EQ(Seen, C.Expected);
    }
    EXPECT_EQ(Child->Color(), clRed);
}

TEST_F(GuiTest, AHookInWindowProcSeesPerformAndAnswersForTheControl) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Child = Place<TFilledBlock>(*Form, Bounds(0, 0, 10, 10), clRed);
    const TWndMethod Previous = Child->WindowProc;
    std::vector<UINT> Seen;
    Child->WindowProc = [&](TMessage& M) {
        Seen.push_back(M.Msg);
        if (M.Msg == WM_USER + 7) {
            M.Result = 42;
            return;
        }
        Previous(M);
    };
    EXPECT_EQ(Child->Perform(WM_USER + 7, 1, 2), 42);
    // Messages routed by the parent's window come the same way.
    SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ(Seen, (std::vector<UINT>{WM_USER + 7, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(GuiTest, MouseGoesToTheWindowlessChildInItsCoordinatesWithClickBeforeMouseUp) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Child = Place<TFilledBlock>(*Form, Bounds(20, 30, 40, 40), clRed);
    std::vector<std::string> Events;
    Child->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState, int X, int Y) {
        Events.push_back("down " + std::to_string(B) + " " + std::to_string(X) + "," +
                         std::to_string(Y));
    };
    Child->OnClick = [&](TObject*) { Events.push_back("click"); };
    Child->OnDblClick = [&](TObject*) { Events.push_back("dblclick"); };
    Child->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Events.push_back("up " + std::to_string(X) + "," + std::to_string(Y));
    };
    Form->OnClick = [&](TObject*) { Events.push_back("form click"); };
    const HWND Wnd = Form->Handle();

    SendMessageW(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(25, 35));
    EXPECT_TRUE(Child->MouseCapture());
    EXPECT_EQ(GetCapture(), Wnd);
    SendMessageW(Wnd, WM_LBUTTONUP, 0, At(26, 36));
    EXPECT_FALSE(Child->MouseCapture());
    EXPECT_EQ(Events, (std::vector<std::string>{"down 0 5,5", "click", "up 6,6"}));

    // Released outside: the capture still brings it to the child, but it is no click.
    Events.clear();
    SendMessageW(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(25, 35));
    SendMessageW(Wnd, WM_LBUTTONUP, 0, At(100, 100));
    EXPECT_EQ(Events, (std::vector<std::string>{"down 0 5,5", "up 80,70"}));

    Events.clear();
    SendMessageW(Wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(25, 35));
    SendMessageW(Wnd, WM_LBUTTONUP, 0, At(25, 35));
    SendMessageW(Wnd, WM_RBUTTONDOWN, MK_RBUTTON, At(21, 31));
    EXPECT_EQ(Events, (std::vector<std::string>{"dblclick", "down 0 5,5", "click", "up 5,5",
                                                "down 1 1,1"}));

    // A disabled control gets nothing; the form underneath takes the click.
    Events.clear();
    Child->SetEnabled(false);
    SendMessageW(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(25, 35));
    SendMessageW(Wnd, WM_LBUTTONUP, 0, At(25, 35));
    EXPECT_EQ(Events, (std::vector<std::string>{"form click"}));
}

TEST_F(GuiTest, AControlDeletedByItsOwnClickIsHarmless) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Child = Place<TFilledBlock>(*Form, Bounds(0, 0, 40, 40), clRed);
    bool UpSeen = false;
    Child->OnClick = [&](TObject* Sender) { delete static_cast<TFilledBlock*>(Sender); };
    Child->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { UpSeen = true; };
    SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ(Form->ControlCount(), 0);
    EXPECT_FALSE(UpSeen);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(GuiTest, EnterAndLeaveComeInOrderAcrossWindowedAndWindowlessControls) {
    auto* Form = NewForm<TForm>(App.get());
    Form->SetBounds(0, 0, 300, 200);
    auto* A = Place<TFilledBlock>(*Form, Bounds(10, 10, 40, 40), clRed);
    auto* B = Place<TFilledBlock>(*Form, Bounds(60, 10, 40, 40), clBlue);
    auto* W = Place<TCustomControl>(*Form, Bounds(110, 10, 40, 40));
    TLog Log;
    for (auto [Control, Name] :
         {std::pair<TControl*, const char*>{A, "A"}, {B, "B"}, {W, "W"}, {Form, "form"}})
        Log.Watch(*Control, Name, {CM_MOUSEENTER, CM_MOUSELEAVE});
    const HWND Wnd = Form->Handle();

    SendMessageW(Wnd, WM_MOUSEMOVE, 0, At(5, 5));
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, At(15, 15));
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, At(16, 16)); // still over A: nothing new
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, At(65, 15));
    SendMessageW(W->Handle(), WM_MOUSEMOVE, 0, At(5, 5));
    SendMessageW(Wnd, WM_MOUSELEAVE, 0, 0); // late news of the form: W keeps the mouse
    SendMessageW(W->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Log.Take(),
              (std::vector<std::string>{"form enter", "form leave", "A enter", "A leave", "B enter",
                                        "B leave", "W enter", "W leave"}));

    // Pressed on A and dragged off it: A still has the mouse captured, but it is left.
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, At(15, 15));
    SendMessageW(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(15, 15));
    SendMessageW(Wnd, WM_MOUSEMOVE, MK_LBUTTON, At(400, 15));
    EXPECT_TRUE(A->MouseCapture());
    SendMessageW(Wnd, WM_MOUSEMOVE, MK_LBUTTON, At(16, 16));
    SendMessageW(Wnd, WM_LBUTTONUP, 0, At(16, 16));
    EXPECT_EQ(Log.Take(), (std::vector<std::string>{"A enter", "A leave", "A enter"}));
}

TEST_F(GuiTest, TabMovesTheFocusWithExitBeforeEnterUpToTheCommonParent) {
    auto* Form = NewForm<TForm>(App.get());
    auto* P1 = Place<TWinControl>(*Form, Bounds(0, 0, 100, 50));
    auto* P2 = Place<TWinControl>(*Form, Bounds(0, 60, 100, 50));
    auto* E1 = Place<TCustomControl>(*P1, Bounds(5, 5, 20, 20));
    auto* E2 = Place<TCustomControl>(*P2, Bounds(5, 5, 20, 20));
    auto* E3 = Place<TCustomControl>(*Form, Bounds(5, 120, 20, 20));
    auto* Skipped = Place<TCustomControl>(*Form, Bounds(50, 120, 20, 20));
    for (TWinControl* E : {E1, E2, E3})
        E->SetTabStop(true);
    E3->SetTabOrder(0); // first on the form, before the panels
    TLog Log;
    for (auto [Control, Name] : {std::pair<TControl*, const char*>{P1, "P1"},
                                 {P2, "P2"},
                                 {E1, "E1"},
                                 {E2, "E2"},
                                 {E3, "E3"}})
        Log.Watch(*Control, Name, {CM_ENTER, CM_EXIT});
    int Entered = 0;
    E2->OnEnter = [&](TObject*) { ++Entered; };
    Form->Show();

    Form->SetActiveControl(E1);
    EXPECT_EQ(Log.Take(), (std::vector<std::string>{"P1 in", "E1 in"}));
    SendMessageW(E1->Handle(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(Log.Take(), (std::vector<std::string>{"E1 out", "P1 out", "P2 in", "E2 in"}));
    EXPECT_EQ(Form->ActiveControl(), E2);
    EXPECT_EQ(Entered, 1);
    SendMessageW(E2->Handle(), WM_KEYDOWN, VK_TAB, 0); // wraps round to the first
    EXPECT_EQ(Log.Take(), (std::vector<std::string>{"E2 out", "P2 out", "E3 in"}));
    EXPECT_EQ(Form->ActiveControl(), E3);
    EXPECT_EQ(Form->TabList(), (std::vector<TWinControl*>{E3, E1, E2}));
    (void)Skipped;
}

TEST_F(GuiTest, KeyEventsSetFromOutsideSeeAndChangeTheKeys) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Control = Place<TCustomControl>(*Form, Bounds(0, 0, 20, 20));
    std::vector<int> Keys;
    Control->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { Keys.push_back(Key); };
    Control->OnKeyPress = [&](TObject*, wchar_t& Key) {
        Keys.push_back(Key);
        Key = 0; // swallowed
    };
    Control->OnKeyUp = [&](TObject*, WORD& Key, TShiftState) { Keys.push_back(-Key); };
    SendMessageW(Control->Handle(), WM_KEYDOWN, 'A', 0);
    SendMessageW(Control->Handle(), WM_CHAR, 'a', 0);
    SendMessageW(Control->Handle(), WM_KEYUP, 'A', 0);
    EXPECT_EQ(Keys, (std::vector<int>{'A', 'a', -'A'}));
}

TEST_F(GuiTest, ShowModalEndsOnAPostedClickWithTheOtherWindowsDisabledMeanwhile) {
    auto* Main = App->CreateForm<TForm>();
    Main->Show();
    auto* Dialog = NewForm<TForm>(App.get());
    auto* Button = Place<TCustomControl>(*Dialog, Bounds(10, 10, 40, 20));
    bool MainWasDisabled = false;
    Button->OnClick = [&](TObject*) {
        MainWasDisabled = !IsWindowEnabled(Main->Handle());
        Dialog->SetModalResult(mrOk);
    };
    const HWND ButtonWnd = Button->Handle();
    PostMessageW(ButtonWnd, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    PostMessageW(ButtonWnd, WM_LBUTTONUP, 0, At(5, 5));
    const TModalGuard Guard(*Dialog);
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_TRUE(MainWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_FALSE(Dialog->Visible());

    // The system close box is a cancel; a refusing OnCloseQuery keeps the dialog up.
    int Asked = 0;
    Dialog->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++Asked > 1; };
    PostMessageW(Dialog->Handle(), WM_CLOSE, 0, 0);
    PostMessageW(Dialog->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    EXPECT_EQ(Asked, 2);
}

TEST_F(GuiTest, ShowModalNestsAndEndsWhenTheApplicationTerminates) {
    auto* Outer = NewForm<TForm>(App.get());
    auto* Inner = NewForm<TForm>(App.get());
    TModalResult InnerResult = mrNone;
    const TModalGuard Guard(*Outer);
    Outer->OnShow = [&](TObject*) {
        Inner->OnShow = [&](TObject*) { App->Terminate(); };
        InnerResult = Inner->ShowModal();
    };
    EXPECT_EQ(Outer->ShowModal(), mrCancel);
    EXPECT_EQ(InnerResult, mrCancel);
    EXPECT_TRUE(App->Terminated());
}

TEST_F(GuiTest, APaintedParentBackgroundShowsThroughAWindowedChild) {
    auto* Form = NewForm<TForm>(App.get());
    Form->SetColor(clRed);
    Place<TFilledBlock>(*Form, Bounds(20, 20, 10, 10), clBlue); // behind the child's corner
    auto* Child = Place<TSeeThrough>(*Form, Bounds(10, 10, 40, 40));
    Form->Show();
    const TClientPixels Pixels(*Child);
    EXPECT_EQ(Pixels.At(30, 30), RGB(255, 0, 0));
    EXPECT_EQ(Pixels.At(15, 15), RGB(0, 0, 255));
}

TEST_F(GuiTest, AlignedControlsShareTheClientAreaOnceTheLoadBracketCloses) {
    auto* Form = NewForm<TForm>(App.get());
    Form->SetClientWidth(200);
    Form->SetClientHeight(100);
    Form->BeginLoading();
    auto* Top = Place<TWinControl>(*Form, Bounds(0, 0, 50, 20));
    auto* Left = Place<TFilledBlock>(*Form, Bounds(0, 0, 30, 5), clRed);
    auto* Rest = Place<TWinControl>(*Form, Bounds(0, 0, 5, 5));
    Top->SetAlign(alTop);
    Left->SetAlign(alLeft);
    Rest->SetAlign(alClient);
    EXPECT_TRUE(Form->ComponentState().Contains(csLoading));
    EXPECT_EQ(Rest->BoundsRect(), Bounds(0, 0, 5, 5)); // nothing moves inside the bracket
    Form->EndLoading();
    EXPECT_FALSE(Top->ComponentState().Contains(csLoading));
    EXPECT_EQ(Top->BoundsRect(), Bounds(0, 0, 200, 20));
    EXPECT_EQ(Left->BoundsRect(), Bounds(0, 20, 30, 80));
    EXPECT_EQ(Rest->BoundsRect(), Bounds(30, 20, 170, 80));
    Form->SetClientHeight(150);
    EXPECT_EQ(Rest->BoundsRect(), Bounds(30, 20, 170, 130));
}

TEST_F(GuiTest, ControlsAndFormsLeaveNoGdiObjectsBehind) {
    const int Growth = GdiGrowth([&] {
        auto* Form = NewForm<TForm>(App.get());
        Form->SetColor(0x123456);
        Place<TFilledBlock>(*Form, Bounds(0, 0, 10, 10), clBlue);
        auto* Label = Place<TLabel>(*Form, Bounds(0, 20, 10, 10));
        Label->SetCaption(L"text");
        auto* Custom = Place<TSeeThrough>(*Form, Bounds(30, 0, 20, 20));
        Form->Show();
        const TClientPixels FormPixels(*Form);
        const TClientPixels CustomPixels(*Custom);
        Custom->Canvas().FillRect(Bounds(0, 0, 5, 5)); // a DC borrowed outside a paint
        ReleaseCanvasDCs();
        delete Form;
    });
    EXPECT_EQ(Growth, 0);
}

TEST_F(GuiTest, EveryWayTheCaptureIsTakenTellsTheControlThatHeldItOnce) {
    struct TWay {
        const char* Name;
        bool WindowlessOnly;
        std::function<void(TControl& Holder, TWinControl& Panel, TForm& Other)> Take;
    };
    const TWay Ways[] = {
        {"another window takes it", false,
         [](TControl&, TWinControl&, TForm& Other) { SetCapture(Other.Handle()); }},
        {"a modal window opens", false,
         [](TControl&, TWinControl&, TForm&) { const TThreadWindowsDisabled Modal; }},
        {"the system cancels the modes", false,
         [](TControl& Holder, TWinControl&, TForm&) {
             SendMessageW(GetParentForm(&Holder)->Handle(), WM_CANCELMODE, 0, 0);
         }},
        {"it is disabled", false,
         [](TControl& Holder, TWinControl&, TForm&) { Holder.SetEnabled(false); }},
        {"it leaves its parent", false,
         [](TControl& Holder, TWinControl&, TForm&) { Holder.SetParent(nullptr); }},
        {"a sibling without a window takes it", true,
         [](TControl&, TWinControl& Panel, TForm&) {
             Place<TFilledBlock>(Panel, Bounds(100, 0, 10, 10))->SetMouseCapture(true);
         }},
    };
    for (const bool Windowed : {false, true})
        for (const TWay& Way : Ways) {
            if (Windowed && Way.WindowlessOnly)
                continue;
            SCOPED_TRACE(std::string(Way.Name) + (Windowed ? ", windowed" : ", windowless"));
            auto* Form = NewPlainForm(*App, TRect(0, 0, 200, 100));
            auto* Other = NewPlainForm(*App, TRect(300, 0, 400, 100));
            // Held through a window inside the form, not the form's own.
            auto* Panel = Place<TWinControl>(*Form, Bounds(10, 10, 150, 60));
            TControl* Holder =
                Windowed
                    ? static_cast<TControl*>(Place<TCustomControl>(*Panel, Bounds(0, 0, 40, 40)))
                    : Place<TFilledBlock>(*Panel, Bounds(0, 0, 40, 40));
            Form->Show();
            Other->Show();
            int Lost = 0;
            int Clicks = 0;
            const TWndMethod Previous = Holder->WindowProc;
            Holder->WindowProc = [&, Previous](TMessage& M) {
                Lost += M.Msg == CM_CAPTURELOST;
                Previous(M);
            };
            Holder->OnClick = [&](TObject*) { ++Clicks; };
            const HWND Pressed =
                Windowed ? static_cast<TWinControl*>(Holder)->Handle() : Panel->Handle();

            // Its own release is no loss.
            SendMessageW(Pressed, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
            ASSERT_TRUE(Holder->MouseCapture());
            SendMessageW(Pressed, WM_LBUTTONUP, 0, At(5, 5));
            EXPECT_EQ(Lost, 0);
            EXPECT_EQ(Clicks, 1);

            SendMessageW(Pressed, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
            ASSERT_TRUE(Holder->MouseCapture());
            Way.Take(*Holder, *Panel, *Other);
            EXPECT_EQ(Lost, 1);
            EXPECT_FALSE(Holder->MouseCapture());
            // A release that comes afterwards is no click.
            if (IsWindow(Pressed))
                SendMessageW(Pressed, WM_LBUTTONUP, 0, At(5, 5));
            EXPECT_EQ(Clicks, 1);
            ReleaseCapture();
            Holder->WindowProc = Previous;
            delete Holder;
            delete Form;
            delete Other;
        }
}

// A white block framed by its pen in clBtnFace.
class TFramedBlock : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas().Brush().SetColor(clWhite);
        Canvas().Pen().SetColor(clBtnFace);
        Canvas().Rectangle(ClientRect());
    }
};

TEST_F(GuiTest, AChangeOfTheSystemColoursRepaintsEveryFaceInTheNewColour) {
    auto* Form = NewForm<TForm>(App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 200, 100); // in clBtnFace, as every control made
    auto* Panel = Place<TWinControl>(*Form, Bounds(100, 0, 100, 100));
    Place<TFilledBlock>(*Panel, Bounds(0, 0, 40, 40), clBtnFace); // through its own canvas
    Place<TFramedBlock>(*Panel, Bounds(0, 60, 30, 30));           // and with its pen
    Form->Show();
    const COLORREF Old = GetSysColor(COLOR_BTNFACE);
    // The form's background, the block's, the panel's and the frame's line.
    const auto Faces = [&] {
        const TClientPixels OnForm(*Form);
        const TClientPixels OnPanel(*Panel);
        return std::vector<COLORREF>{OnForm.At(5, 5), OnPanel.At(5, 5), OnPanel.At(50, 50),
                                     OnPanel.At(0, 75)};
    };
    ASSERT_EQ(Faces(), (std::vector<COLORREF>{Old, Old, Old, Old}));

    int Round = 0;
    const int Growth = GdiGrowth([&] {
        const COLORREF New = RGB(10, 200, (30 + Round++) & 0xFF);
        SysColorSource = [New](int Index) {
            return Index == COLOR_BTNFACE ? New : GetSysColor(Index);
        };
        SendMessageW(Form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
        EXPECT_EQ(Faces(), (std::vector<COLORREF>{New, New, New, New}));
    });
    SysColorSource = nullptr;
    SendMessageW(Form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(Faces(), (std::vector<COLORREF>{Old, Old, Old, Old}));
    EXPECT_LE(Growth, 0);
}
