#include "GuiTestSupport.h"

#include "classlib/gui/StdCtrls.h"

#include <stdexcept>
#include <string>

namespace {

String WindowText(HWND Wnd) {
    wchar_t Text[256] = {};
    GetWindowTextW(Wnd, Text, 256);
    return Text;
}

bool HasExStyle(HWND Wnd, LONG_PTR Bits) {
    return (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & Bits) == Bits;
}

bool HasStyle(HWND Wnd, LONG_PTR Bits) {
    return (GetWindowLongPtrW(Wnd, GWL_STYLE) & Bits) == Bits;
}

// Notes its own deletion.
template <class TBase> class TTracked : public TBase {
public:
    TTracked(TComponent* Owner, bool& Gone) : TBase(Owner), FGone(Gone) {}
    ~TTracked() override { FGone = true; }

protected:
    void Paint() override {}

private:
    bool& FGone;
};

class TTrackedWinControl : public TWinControl {
public:
    TTrackedWinControl(TComponent* Owner, bool& Gone) : TWinControl(Owner), FGone(Gone) {}
    ~TTrackedWinControl() override { FGone = true; }

private:
    bool& FGone;
};

} // namespace

TEST_F(GuiTest, AFormIsATopLevelWindowMadeWhenFirstNeeded) {
    auto* Form = NewForm<TForm>(App.get());
    Form->SetCaption(L"Hello");
    EXPECT_FALSE(Form->HandleAllocated());

    Form->Show();
    const HWND Wnd = Form->Handle();
    EXPECT_TRUE(IsWindowVisible(Wnd));
    EXPECT_EQ(WindowText(Wnd), L"Hello");
    wchar_t ClassName[64] = {};
    GetClassNameW(Wnd, ClassName, 64);
    EXPECT_EQ(String(ClassName), L"TForm");
    EXPECT_FALSE(HasStyle(Wnd, WS_CHILD));
    EXPECT_EQ(GetWindow(Wnd, GW_OWNER), App->Handle());

    Form->SetCaption(L"Again");
    EXPECT_EQ(WindowText(Wnd), L"Again");
    SetWindowTextW(Wnd, L"Set from outside");
    EXPECT_EQ(Form->Caption(), L"Set from outside");

    Form->Hide();
    EXPECT_FALSE(IsWindowVisible(Wnd));
    EXPECT_TRUE(IsWindow(Wnd));
}

TEST_F(GuiTest, ClientSizeIsTheClientAreaForEveryBorderStyle) {
    for (const TFormBorderStyle Style : {bsNone, bsSingle, bsSizeable, bsDialog}) {
        SCOPED_TRACE(static_cast<int>(Style));
        auto* Form = NewForm<TForm>(App.get());
        Form->SetBorderStyle(Style);
        Form->SetClientWidth(300); // before the window exists
        Form->SetClientHeight(150);
        Form->Show();
        RECT Client{};
        GetClientRect(Form->Handle(), &Client);
        EXPECT_EQ(Client.right, 300);
        EXPECT_EQ(Client.bottom, 150);

        Form->SetClientWidth(250); // and after
        GetClientRect(Form->Handle(), &Client);
        EXPECT_EQ(Client.right, 250);
        EXPECT_EQ(Form->ClientWidth(), 250);
        EXPECT_EQ(Form->ClientHeight(), 150);
    }
}

TEST_F(GuiTest, DesktopCenterCentresTheFormOnThePrimaryScreenAtEveryShow) {
    auto* Form = NewForm<TForm>(App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(5, 5, 307, 89);
    Form->Position = poDesktopCenter;
    const int Left = (GetSystemMetrics(SM_CXSCREEN) - 307) / 2;
    const int Top = (GetSystemMetrics(SM_CYSCREEN) - 89) / 2;

    Form->Show();
    RECT Window{};
    GetWindowRect(Form->Handle(), &Window);
    EXPECT_EQ(TRect(Window), Bounds(Left, Top, 307, 89));

    Form->Hide();
    Form->SetLeft(0);
    Form->Show();
    GetWindowRect(Form->Handle(), &Window);
    EXPECT_EQ(Window.left, Left);
    EXPECT_EQ(Form->Left(), Left);
}

TEST_F(GuiTest, StyleChangesReachAWindowThatExists) {
    // The main form, which has no owner: wine keeps an owned window in the topmost band.
    auto* Late = App->CreateForm<TForm>();
    Late->Show();
    EXPECT_FALSE(HasExStyle(Late->Handle(), WS_EX_TOPMOST));
    Late->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(HasExStyle(Late->Handle(), WS_EX_TOPMOST));
    Late->SetFormStyle(fsNormal);
    EXPECT_FALSE(HasExStyle(Late->Handle(), WS_EX_TOPMOST));

    EXPECT_TRUE(HasStyle(Late->Handle(), WS_CAPTION | WS_THICKFRAME));
    Late->SetBorderStyle(bsNone);
    EXPECT_TRUE(HasStyle(Late->Handle(), WS_POPUP | WS_VISIBLE));
    EXPECT_FALSE(HasStyle(Late->Handle(), WS_CAPTION));

    auto* Early = NewForm<TForm>(App.get());
    Early->SetFormStyle(fsStayOnTop);
    Early->Show();
    EXPECT_TRUE(HasExStyle(Early->Handle(), WS_EX_TOPMOST));
}

TEST_F(GuiTest, OnCreateRunsOnceTheFormIsBuilt) {
    class TBuiltForm : public TForm {
    public:
        explicit TBuiltForm(TComponent* Owner) : TForm(Owner) {
            OnCreate = [this](TObject*) { CaptionAtCreate = Caption(); };
            SetCaption(L"built");
        }
        String CaptionAtCreate;
    };
    EXPECT_EQ(NewForm<TBuiltForm>(App.get())->CaptionAtCreate, L"built");

    // A failing create handler is reported; the form is still made.
    std::vector<String> Reported;
    App->OnException = [&](TObject*, const Exception& E) { Reported.push_back(E.Message()); };
    class TFailingForm : public TForm {
    public:
        explicit TFailingForm(TComponent* Owner) : TForm(Owner) {
            OnCreate = [](TObject*) { throw EConvertError(L"no layout"); };
        }
    };
    EXPECT_NE(NewForm<TFailingForm>(App.get()), nullptr);
    EXPECT_EQ(Reported, std::vector<String>{L"no layout"});
}

TEST_F(GuiTest, OnShowRunsAtEveryShowBeforeTheWindowAppears) {
    auto* Form = NewForm<TForm>(App.get());
    std::vector<bool> VisibleDuringOnShow;
    Form->OnShow = [&](TObject*) {
        VisibleDuringOnShow.push_back(IsWindowVisible(Form->Handle()) != FALSE);
    };
    Form->Show();
    Form->Show(); // already showing: no new show
    Form->Hide();
    Form->Show();
    EXPECT_EQ(VisibleDuringOnShow, (std::vector<bool>{false, false}));
}

TEST_F(GuiTest, TheCloseActionDecidesWhatBecomesOfTheForm) {
    struct TCase {
        const char* Name;
        bool CanClose;
        TCloseAction Action;
        bool Visible;
        bool Iconic;
        bool Deleted;
    };
    const TCase Cases[] = {
        {"refused by OnCloseQuery", false, caHide, true, false, false},
        {"caNone", true, caNone, true, false, false},
        {"caHide", true, caHide, false, false, false},
        {"caMinimize", true, caMinimize, true, true, false},
        {"caFree", true, caFree, false, false, true},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto* Form = NewForm<TForm>(App.get());
        bool Destroyed = false;
        int Closes = 0;
        Form->OnDestroy = [&](TObject*) { Destroyed = true; };
        Form->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = Case.CanClose; };
        Form->OnClose = [&](TObject*, TCloseAction& Action) {
            ++Closes;
            Action = Case.Action;
        };
        Form->Show();
        const HWND Wnd = Form->Handle();

        SendMessageW(Wnd, WM_CLOSE, 0, 0); // as the system menu or Alt+F4 would
        EXPECT_EQ(Closes, Case.CanClose ? 1 : 0);
        EXPECT_FALSE(Destroyed); // never inside the form's own message
        App->ProcessMessages();

        EXPECT_EQ(Destroyed, Case.Deleted);
        EXPECT_EQ(IsWindow(Wnd) != FALSE, !Case.Deleted);
        if (!Case.Deleted) {
            EXPECT_EQ(IsWindowVisible(Wnd) != FALSE, Case.Visible);
            EXPECT_EQ(IsIconic(Wnd) != FALSE, Case.Iconic);
        }
        EXPECT_FALSE(App->Terminated());
    }
}

TEST_F(GuiTest, TheFirstFormTheApplicationCreatesIsTheMainForm) {
    auto* Main = App->CreateForm<TForm>();
    auto* Second = App->CreateForm<TForm>();
    EXPECT_EQ(App->MainForm(), Main);
    Main->Show();
    Second->Show();
    // The main form stands alone on the taskbar; later forms belong to it.
    EXPECT_EQ(GetWindow(Main->Handle(), GW_OWNER), nullptr);
    EXPECT_TRUE(HasExStyle(Main->Handle(), WS_EX_APPWINDOW));
    EXPECT_EQ(GetWindow(Second->Handle(), GW_OWNER), Main->Handle());
}

TEST_F(GuiTest, AFormWhoseWindowExistedEarlierBecomesAProperMainForm) {
    class TEarlyForm : public TForm {
    public:
        explicit TEarlyForm(TComponent* Owner) : TForm(Owner) { HandleNeeded(); }
    };
    auto* Main = App->CreateForm<TEarlyForm>();
    EXPECT_EQ(GetWindow(Main->Handle(), GW_OWNER), nullptr);
    EXPECT_TRUE(HasExStyle(Main->Handle(), WS_EX_APPWINDOW));
}

namespace {
void CALLBACK StopRunAway(HWND, UINT, UINT_PTR, DWORD) {
    Application->Terminate();
}
} // namespace

TEST_F(GuiTest, RunShowsTheMainFormAndReturnsWhenItCloses) {
    auto* Main = App->CreateForm<TForm>();
    int Closes = 0;
    Main->OnClose = [&](TObject*, TCloseAction&) { ++Closes; };
    PostMessageW(Main->Handle(), WM_CLOSE, 0, 0);
    const UINT_PTR Guard = SetTimer(nullptr, 0, 5000, &StopRunAway); // a failing test must end
    App->Run();
    KillTimer(nullptr, Guard);

    EXPECT_EQ(Closes, 1);
    EXPECT_TRUE(App->Terminated());
    EXPECT_TRUE(IsWindowVisible(Main->Handle())); // it stays until the application goes
}

TEST_F(GuiTest, ClosingTheApplicationWindowClosesTheMainForm) {
    SendMessageW(App->Handle(), WM_CLOSE, 0, 0); // no main form yet: nothing to close
    EXPECT_TRUE(IsWindow(App->Handle()));
    EXPECT_FALSE(App->Terminated());

    auto* Main = App->CreateForm<TForm>();
    int Closes = 0;
    Main->OnClose = [&](TObject*, TCloseAction&) { ++Closes; };
    SendMessageW(App->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Closes, 1);
    EXPECT_TRUE(App->Terminated());
    EXPECT_TRUE(IsWindow(App->Handle()));
}

TEST_F(GuiTest, DeletingTheMainFormEndsTheApplication) {
    auto* Main = App->CreateForm<TForm>();
    delete Main;
    EXPECT_EQ(App->MainForm(), nullptr);
    EXPECT_TRUE(App->Terminated());
}

TEST_F(GuiTest, AReleasedFormOutlivesTheNestedLoopsOfItsOwnHandler) {
    // The handler runs from the outer loop, releases its form and then pumps, as a handler
    // that shows a modal window or keeps the windows alive during long work does.
    const UINT Work = RegisterWindowMessageW(L"GuiTest.Work");
    auto* Form = NewForm<TForm>(App.get());
    bool Destroyed = false;
    Form->OnDestroy = [&](TObject*) { Destroyed = true; };
    bool AliveAfterPump = false;
    App->HookMainWindow([&](TMessage& Message) {
        if (Message.Msg != Work)
            return false;
        const TAliveToken Alive = Form->AliveToken();
        Form->Release();
        App->ProcessMessages();
        ProcessPendingMessages();
        AliveAfterPump = Alive.Alive();
        return true;
    });
    PostMessageW(App->Handle(), Work, 0, 0);
    App->ProcessMessages();
    EXPECT_TRUE(AliveAfterPump);
    EXPECT_TRUE(Destroyed); // gone once the outer loop had the handler back
}

TEST_F(GuiTest, ProcessMessagesHandlesWhatIsWaitingAndReturns) {
    const UINT Ping = RegisterWindowMessageW(L"GuiTest.Ping");
    int Pings = 0;
    App->HookMainWindow([&](TMessage& Message) {
        if (Message.Msg != Ping)
            return false;
        ++Pings;
        return true;
    });
    PostMessageW(App->Handle(), Ping, 0, 0);
    PostMessageW(App->Handle(), Ping, 0, 0);
    EXPECT_EQ(Pings, 0);
    App->ProcessMessages();
    EXPECT_EQ(Pings, 2);
    EXPECT_FALSE(App->Terminated());

    PostQuitMessage(0);
    App->ProcessMessages();
    EXPECT_TRUE(App->Terminated());
}

TEST_F(GuiTest, AnExceptionInAHandlerStopsAtTheWindowProcedure) {
    struct TReport {
        TObject* Sender;
        String Message;
    };
    std::vector<TReport> Reports;
    App->OnException = [&](TObject* Sender, const Exception& E) {
        Reports.push_back({Sender, E.Message()});
    };
    auto* Form = NewForm<TForm>(App.get());
    Form->Show();
    const HWND Wnd = Form->Handle();

    Form->OnClose = [](TObject*, TCloseAction&) { throw EConvertError(L"bad value"); };
    SendMessageW(Wnd, WM_CLOSE, 0, 0);
    Form->OnClose = [](TObject*, TCloseAction&) { throw std::runtime_error("plain C++ error"); };
    SendMessageW(Wnd, WM_CLOSE, 0, 0);
    Form->OnClose = [](TObject*, TCloseAction&) { Abort(); };
    SendMessageW(Wnd, WM_CLOSE, 0, 0);

    ASSERT_EQ(Reports.size(), 2u); // an EAbort is silent
    EXPECT_EQ(Reports[0].Sender, Form);
    EXPECT_EQ(Reports[0].Message, L"bad value");
    EXPECT_EQ(Reports[1].Message, L"plain C++ error");
    EXPECT_TRUE(IsWindowVisible(Wnd));
}

TEST(GuiTeardown, TheApplicationDeletesItsFormsLastFirstWithTheirWindows) {
    auto App = std::make_unique<TApplication>();
    EXPECT_EQ(Application, App.get());
    std::vector<String> Destroyed;
    std::vector<HWND> Windows{App->Handle()};
    for (const wchar_t* Name : {L"first", L"second", L"third"}) {
        auto* Form = NewForm<TForm>(App.get());
        Form->OnDestroy = [&Destroyed, Name](TObject*) { Destroyed.push_back(Name); };
        auto* Label = new TLabel(Form);
        Label->SetParent(Form);
        Form->Show();
        Windows.push_back(Form->Handle());
    }
    App->CreateForm<TForm>()->Show(); // the main form is deleted like the others
    Windows.push_back(App->MainForm()->Handle());

    App.reset();
    EXPECT_EQ(Destroyed, (std::vector<String>{L"third", L"second", L"first"}));
    for (const HWND Wnd : Windows)
        EXPECT_FALSE(IsWindow(Wnd));
    EXPECT_EQ(Application, nullptr);

    // The next application object of the thread starts clean.
    TApplication Next;
    Next.ProcessMessages();
    EXPECT_FALSE(Next.Terminated());
}

TEST_F(GuiTest, AFormDeletesTheControlsItHolds) {
    bool LabelGone = false;
    bool ChildGone = false;
    auto Form = std::unique_ptr<TForm>(NewForm<TForm>(nullptr));
    auto* Label = new TTracked<TLabel>(nullptr, LabelGone); // held by the form, owned by nobody
    Label->SetParent(Form.get());
    auto* Child = new TTrackedWinControl(nullptr, ChildGone);
    Child->SetParent(Form.get());
    Form->Show();
    const HWND ChildWnd = Child->Handle();
    EXPECT_EQ(Form->ControlCount(), 2);

    Form.reset();
    EXPECT_TRUE(LabelGone);
    EXPECT_TRUE(ChildGone);
    EXPECT_FALSE(IsWindow(ChildWnd));
}

TEST_F(GuiTest, AControlDeletedFirstLeavesItsParentAndOwner) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Label = new TLabel(Form);
    Label->SetParent(Form);
    EXPECT_EQ(Form->ControlCount(), 1);
    EXPECT_EQ(Form->ComponentCount(), 1);
    delete Label;
    EXPECT_EQ(Form->ControlCount(), 0);
    EXPECT_EQ(Form->ComponentCount(), 0);
    EXPECT_THROW(Form->Controls(0), EListError);
}

TEST_F(GuiTest, AWindowedControlIsMadeInsideItsParentsWindow) {
    auto* Form = NewForm<TForm>(App.get());
    Form->SetBorderStyle(bsNone);
    Form->Show();
    auto* Child = new TWinControl(Form);
    Child->SetBounds(10, 20, 50, 30);
    Child->SetParent(Form);
    ASSERT_TRUE(Child->HandleAllocated());
    EXPECT_EQ(GetParent(Child->Handle()), Form->Handle());
    EXPECT_TRUE(IsWindowVisible(Child->Handle()));
    RECT Area{};
    GetWindowRect(Child->Handle(), &Area);
    MapWindowPoints(nullptr, Form->Handle(), reinterpret_cast<POINT*>(&Area), 2);
    EXPECT_EQ(TRect(Area), Bounds(10, 20, 50, 30));

    auto* Orphan = new TWinControl(Form);
    EXPECT_THROW(Orphan->Handle(), EInvalidOperation);
}
