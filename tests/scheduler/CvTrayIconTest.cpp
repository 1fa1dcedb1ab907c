#include "classlib/gui/Forms.h"
#include "classlib/gui/Menus.h"
#include "scheduler/CvTrayIcon.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// What reached the shell, one entry a call.
struct TShellCall {
    DWORD Message;
    String Tip;
    HICON Icon;
    HWND Window;
    UINT Id;
    UINT Flags;
    DWORD Size;
};

class CvTrayIconTest : public ::testing::Test {
protected:
    CvTrayIconTest() {
        SetNotifyIconCall([this](DWORD Message, const NOTIFYICONDATAW& Data) {
            Calls.push_back(
                {Message, Data.szTip, Data.hIcon, Data.hWnd, Data.uID, Data.uFlags, Data.cbSize});
            return ShellAnswers;
        });
        Form = App.CreateForm<TForm>();
        Tray = new TCvTrayIcon(Form);
        Tray->OnClick = [this](TObject*) { Events += L"single "; };
        Tray->OnDblClick = [this](TObject*) { Events += L"double "; };
    }
    ~CvTrayIconTest() override { SetNotifyIconCall(nullptr); }

    void Mouse(UINT MouseMessage) {
        SendMessageW(Tray->IconWindow(), WM_TRAYICON, 1, static_cast<LPARAM>(MouseMessage));
    }
    std::vector<DWORD> Messages() const {
        std::vector<DWORD> Result;
        for (const TShellCall& Call : Calls)
            Result.push_back(Call.Message);
        return Result;
    }

    // Three icons of 16 x 16, each filled with its own colour.
    void FillIconList(TImageList& List) {
        for (const TColor Colour : {clRed, clLime, clBlue}) {
            TBitmap Image;
            Image.SetSize(16, 16);
            Image.Canvas().Brush().SetColor(Colour);
            Image.Canvas().FillRect(TRect(0, 0, 16, 16));
            List.Add(Image, nullptr);
        }
    }

    TApplication App;
    TForm* Form = nullptr;
    TCvTrayIcon* Tray = nullptr; // owned by Form
    std::vector<TShellCall> Calls;
    bool ShellAnswers = true;
    String Events;
};

TEST_F(CvTrayIconTest, AddsOnceModifiesAfterAndDeletesWhenItGoes) {
    EXPECT_TRUE(Tray->ShowIcon());
    EXPECT_TRUE(Tray->ShowIcon());
    Tray->SetHint(L"System Corvanta 2 Scheduler");
    EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_MODIFY}));
    const TShellCall& Add = Calls.front();
    EXPECT_EQ(Add.Window, Tray->IconWindow());
    EXPECT_EQ(Add.Id, 1u);
    EXPECT_EQ(Add.Flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(Add.Size, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(Calls.back().Tip, L"System Corvanta 2 Scheduler");

    Calls.clear();
    delete Tray;
    EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_DELETE}));
}

TEST_F(CvTrayIconTest, AFailedAddIsReportedAndTriedAgainOnTheNextShow) {
    ShellAnswers = false;
    EXPECT_FALSE(Tray->ShowIcon());
    ShellAnswers = true;
    EXPECT_TRUE(Tray->ShowIcon());
    EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_ADD}));
}

TEST_F(CvTrayIconTest, TheTipHoldsTheFirst127CharactersAndOnlyWithShowHint) {
    Tray->SetHint(String(200, L'x'));
    EXPECT_EQ(Calls.back().Tip, String(127, L'x'));
    Tray->SetShowHint(false);
    EXPECT_EQ(Calls.back().Tip, L"");
}

TEST_F(CvTrayIconTest, AVisibleIconIsAddedAgainWhenTheTaskbarIsRecreated) {
    const UINT TaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    Tray->ShowIcon();
    Calls.clear();
    SendMessageW(Tray->IconWindow(), TaskbarCreated, 0, 0);
    EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD}));

    Tray->HideIcon();
    Calls.clear();
    SendMessageW(Tray->IconWindow(), TaskbarCreated, 0, 0);
    EXPECT_TRUE(Calls.empty()) << "a hidden icon stays hidden";
}

// Mouse messages as the shell sends them, and the click timer fired by hand in between.
struct TClickCase {
    const char* Name;
    std::vector<UINT> Steps; // 0 = the click timer fires
    bool Enabled;
    const wchar_t* Events;
};

TEST_F(CvTrayIconTest, TellsAClickFromADoubleClick) {
    const TClickCase Cases[] = {
        {"single click: after the double-click time",
         {WM_LBUTTONDOWN, WM_LBUTTONUP, 0},
         true,
         L"single "},
        {"double click: no click",
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, 0},
         true,
         L"double "},
        {"held past the double-click time: click at the release",
         {WM_LBUTTONDOWN, 0, WM_LBUTTONUP},
         true,
         L"single "},
        {"disabled: nothing", {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, 0}, false, L""},
        {"right button: no click", {WM_RBUTTONDOWN, WM_RBUTTONUP}, true, L""},
    };
    for (const TClickCase& Case : Cases) {
        Events.clear();
        Tray->Enabled = Case.Enabled;
        for (const UINT Step : Case.Steps) {
            if (Step == 0) {
                Tray->ClickTimerFired();
            } else {
                Mouse(Step);
                if (Step == WM_LBUTTONUP && Case.Steps.back() != WM_LBUTTONUP) {
                    EXPECT_EQ(Events.find(L"single "), String::npos)
                        << Case.Name << ": no click before the double-click time";
                }
            }
        }
        EXPECT_EQ(Events, Case.Events) << Case.Name;
        EXPECT_FALSE(Tray->ClickTimerRunning()) << Case.Name;
    }
}

TEST_F(CvTrayIconTest, MouseEventsCarryTheButtonAndTheCursorPosition) {
    std::vector<std::pair<TMouseButton, bool>> Seen;
    TShiftState LastShift;
    Tray->OnMouseDown = [&](TObject*, TMouseButton Button, TShiftState Shift, int, int) {
        Seen.emplace_back(Button, true);
        LastShift = Shift;
    };
    Tray->OnMouseUp = [&](TObject*, TMouseButton Button, TShiftState, int, int) {
        Seen.emplace_back(Button, false);
    };
    Mouse(WM_MBUTTONDOWN);
    EXPECT_TRUE(LastShift.Contains(ssMiddle));
    Mouse(WM_MBUTTONUP);
    Mouse(WM_RBUTTONDOWN);
    EXPECT_TRUE(LastShift.Contains(ssRight));
    Mouse(WM_RBUTTONUP);
    Mouse(WM_RBUTTONDBLCLK);
    EXPECT_EQ(Seen, (std::vector<std::pair<TMouseButton, bool>>{
                        {mbMiddle, true}, {mbMiddle, false}, {mbRight, true}, {mbRight, false}}));
}

TEST_F(CvTrayIconTest, IconIndexIsClampedToTheList) {
    TImageList List(nullptr);
    FillIconList(List);
    Tray->SetIconList(&List);
    Tray->SetIconIndex(10);
    EXPECT_EQ(Tray->IconIndex(), 2);
    EXPECT_FALSE(Tray->Icon().Empty());
    EXPECT_EQ(Calls.back().Icon, Tray->Icon().Handle());
    Tray->SetIconIndex(-3);
    EXPECT_EQ(Tray->IconIndex(), 0);
    Tray->SetIconList(nullptr);
    Tray->SetIconIndex(4);
    EXPECT_EQ(Tray->IconIndex(), 0);
}

TEST_F(CvTrayIconTest, CyclesThroughTheListAndForgetsAListThatGoes) {
    auto List = std::make_unique<TImageList>(nullptr);
    FillIconList(*List);
    Tray->SetIconList(List.get());
    std::vector<int> Next;
    Tray->OnCycle = [&](TObject*, int NextIndex) { Next.push_back(NextIndex); };
    Tray->SetCycleIcons(true);
    for (int I = 0; I < 4; ++I)
        Tray->CycleTimerFired();
    EXPECT_EQ(Next, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(Tray->IconIndex(), 1);

    List.reset();
    EXPECT_EQ(Tray->IconList(), nullptr);
    Tray->CycleTimerFired(); // nothing to cycle, nothing breaks
    EXPECT_EQ(Next.size(), 4u);
}

TEST_F(CvTrayIconTest, ADoubleClickClicksTheMenusDefaultItemWhileItPopsUpByItself) {
    TPopupMenu Menu(Form);
    auto* Open = new TMenuItem(&Menu);
    auto* Config = new TMenuItem(&Menu);
    String Clicked;
    Open->OnClick = [&](TObject*) { Clicked += L"open "; };
    Config->OnClick = [&](TObject*) { Clicked += L"config "; };
    Config->Default = true;
    Menu.Items().Add(Open);
    Menu.Items().Add(Config);
    Tray->SetPopupMenu(&Menu);

    const auto DoubleClick = [this] {
        Mouse(WM_LBUTTONDOWN);
        Mouse(WM_LBUTTONUP);
        Mouse(WM_LBUTTONDBLCLK);
        Tray->ClickTimerFired();
    };
    DoubleClick();
    EXPECT_EQ(Clicked, L"config ");
    EXPECT_EQ(Events, L"double ");

    Menu.AutoPopup = false;
    DoubleClick();
    EXPECT_EQ(Clicked, L"config ") << "a menu that does not pop up by itself is left alone";
}

TEST_F(CvTrayIconTest, AMenuThatGoesIsForgotten) {
    auto Menu = std::make_unique<TPopupMenu>(nullptr);
    Tray->SetPopupMenu(Menu.get());
    Menu.reset();
    EXPECT_EQ(Tray->PopupMenu(), nullptr);
    Mouse(WM_RBUTTONDOWN); // no menu to show, nothing breaks
    Mouse(WM_LBUTTONDBLCLK);
}

TEST_F(CvTrayIconTest, GivesTheOwnersWindowProcedureBackWhenItGoes) {
    int Seen = 0;
    TWndMethod Original = Form->WindowProc;
    Form->WindowProc = [&, Original](TMessage& M) {
        if (M.Msg == WM_NULL)
            ++Seen;
        Original(M);
    };
    auto* Second = new TCvTrayIcon(Form);
    Form->Perform(WM_NULL, 0, 0);
    EXPECT_EQ(Seen, 1) << "the hook passes every message on";
    delete Second;
    Form->Perform(WM_NULL, 0, 0);
    EXPECT_EQ(Seen, 2);
    delete Tray;
    SendMessageW(App.Handle(), WM_SIZE, SIZE_MINIMIZED, 0); // no hook of a gone icon runs
}

} // namespace

namespace {

// A window whose layout holds a tray icon, as the scheduler's does.
class TTrayForm : public TForm {
public:
    TTrayForm(TComponent* Owner, bool StartMinimized) : TForm(Owner) {
        Tray = new TCvTrayIcon(this);
        Tray->StartMinimized = StartMinimized;
        Tray->SetIconVisible(true);
    }
    TCvTrayIcon* Tray;
};

TEST_F(CvTrayIconTest, StartMinimizedHidesTheProgramOnceItsWindowIsMade) {
    for (const bool Minimized : {false, true}) {
        App.ShowMainForm = true;
        Calls.clear();
        App.CreateForm<TTrayForm>(Minimized);
        EXPECT_EQ(App.ShowMainForm, !Minimized);
        if (Minimized) {
            EXPECT_FALSE(IsWindowVisible(App.Handle()));
        }
        EXPECT_FALSE(Messages().empty()) << "the icon is shown once its window is made";
    }
}

} // namespace
