#include "GuiTestSupport.h"
#include "tests/support/GdiCount.h"

#include "classlib/gui/StdCtrls.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

void Type(TWinControl& Control, const String& Text) {
    for (const wchar_t Char : Text)
        SendMessageW(Control.Handle(), WM_CHAR, Char, 1);
}

String WindowText(HWND Wnd) {
    wchar_t Buffer[256] = {};
    GetWindowTextW(Wnd, Buffer, 256);
    return Buffer;
}

// Refuses cut and paste, as an edit that accepts only some characters does.
class TGuardedEdit : public TEdit {
public:
    using TEdit::TEdit;
    std::vector<UINT> Refused;

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_CUT || Message.Msg == WM_PASTE) {
            Refused.push_back(Message.Msg);
            return;
        }
        TEdit::WndProc(Message);
    }
};

// Puts a counting subclass on every edit window this thread makes, from the moment it exists:
// before the control's own subclass, as a tool or the system may.
class TEarlySubclass {
public:
    TEarlySubclass() : FHook(SetWindowsHookExW(WH_CBT, &HookProc, nullptr, GetCurrentThreadId())) {
        Active = this;
    }
    ~TEarlySubclass() {
        UnhookWindowsHookEx(FHook);
        Active = nullptr;
    }
    TEarlySubclass(const TEarlySubclass&) = delete;
    TEarlySubclass& operator=(const TEarlySubclass&) = delete;

    std::vector<UINT> Seen;

private:
    static LRESULT CALLBACK HookProc(int Code, WPARAM WParam, LPARAM LParam) {
        wchar_t Class[16] = {};
        if (Code == HCBT_CREATEWND && Active &&
            GetClassNameW(reinterpret_cast<HWND>(WParam), Class, 16) &&
            lstrcmpiW(Class, L"Edit") == 0)
            SetWindowSubclass(reinterpret_cast<HWND>(WParam), &SubclassProc, 77, 0);
        return CallNextHookEx(nullptr, Code, WParam, LParam);
    }
    static LRESULT CALLBACK SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
                                         UINT_PTR Id, DWORD_PTR) {
        if (Msg == WM_SETTEXT && Active)
            Active->Seen.push_back(Msg);
        if (Msg == WM_NCDESTROY)
            RemoveWindowSubclass(Wnd, &SubclassProc, Id);
        return DefSubclassProc(Wnd, Msg, WParam, LParam);
    }

    static TEarlySubclass* Active;
    HHOOK FHook;
};
TEarlySubclass* TEarlySubclass::Active = nullptr;

bool PutOnClipboard(const String& Text) {
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    const SIZE_T Bytes = (Text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL Memory = GlobalAlloc(GMEM_MOVEABLE, Bytes);
    memcpy(GlobalLock(Memory), Text.c_str(), Bytes);
    GlobalUnlock(Memory);
    const bool Put = SetClipboardData(CF_UNICODETEXT, Memory) != nullptr;
    CloseClipboard();
    return Put;
}

} // namespace

TEST_F(GuiTest, TypingReachesTheEditAndItsOnChangeThroughTheParent) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Edit = Place<TEdit>(*Form, Bounds(10, 10, 120, 21));
    std::vector<String> Seen;
    Edit->OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Edit);
        Seen.push_back(Edit->Text());
    };
    std::vector<WORD> Pressed;
    Edit->OnKeyPress = [&](TObject*, wchar_t& Key) {
        Pressed.push_back(Key);
        if (Key == L'x')
            Key = 0; // dropped before the system sees it
    };
    Form->Show();

    Type(*Edit, L"abxc");
    EXPECT_EQ(Edit->Text(), L"abc");
    EXPECT_EQ(WindowText(Edit->Handle()), L"abc");
    EXPECT_EQ(Seen, (std::vector<String>{L"a", L"ab", L"abc"}));
    EXPECT_EQ(Pressed, (std::vector<WORD>{L'a', L'b', L'x', L'c'}));

    // Set from code: the window and OnChange follow.
    Seen.clear();
    Edit->SetText(L"set");
    EXPECT_EQ(WindowText(Edit->Handle()), L"set");
    EXPECT_EQ(Seen, (std::vector<String>{L"set"}));
    // The class's own procedure answers what the object leaves to it.
    EXPECT_EQ(Edit->Perform(WM_GETTEXTLENGTH), 3);
    // And it draws in the control's font.
    EXPECT_EQ(SendMessageW(Edit->Handle(), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(Edit->Font().Handle()));
}

TEST_F(GuiTest, ASubclassMadeBeforeTheControlsOwnStillSeesWhatTheControlHandsOn) {
    const TEarlySubclass Early;
    auto* Form = NewForm<TForm>(App.get());
    auto* Edit = Place<TEdit>(*Form, Bounds(10, 10, 120, 21));
    Form->Show();
    // Set from code and sent from outside: both reach the earlier subclass once, then the class.
    Edit->SetText(L"one");
    SendMessageW(Edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"two"));
    EXPECT_EQ(Early.Seen.size(), 2u);
    EXPECT_EQ(WindowText(Edit->Handle()), L"two");
    EXPECT_EQ(Edit->Text(), L"two");
}

TEST_F(GuiTest, EditPropertiesReachTheSystemEdit) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Edit = Place<TEdit>(*Form, Bounds(10, 10, 120, 21));
    Form->Show();

    Edit->SetMaxLength(3);
    Type(*Edit, L"abcdef");
    EXPECT_EQ(Edit->Text(), L"abc");

    Edit->SetReadOnly(true);
    Type(*Edit, L"z");
    EXPECT_EQ(Edit->Text(), L"abc");
    EXPECT_TRUE(GetWindowLongPtrW(Edit->Handle(), GWL_STYLE) & ES_READONLY);
    Edit->SetReadOnly(false);

    Edit->SetMaxLength(0);
    Edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(Edit->Text(), L"ABC"); // the text it had turns too
    Edit->SetSelStart(3);
    Type(*Edit, L"d");
    EXPECT_EQ(Edit->Text(), L"ABCD");

    Edit->SetSelStart(1);
    Edit->SetSelLength(2);
    EXPECT_EQ(Edit->SelStart(), 1);
    EXPECT_EQ(Edit->SelLength(), 2);
    Edit->SelectAll();
    EXPECT_EQ(Edit->SelStart(), 0);
    EXPECT_EQ(Edit->SelLength(), 4);

    Edit->SetPasswordChar(L'#');
    EXPECT_TRUE(GetWindowLongPtrW(Edit->Handle(), GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(SendMessageW(Edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'#');
    EXPECT_EQ(Edit->Text(), L"ABCD"); // the text stays readable to the program
}

TEST_F(GuiTest, RecreatingTheEditKeepsTextAndSettings) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Edit = Place<TEdit>(*Form, Bounds(10, 10, 120, 21));
    Form->Show();
    Edit->SetMaxLength(5);
    Edit->SetPasswordChar(L'*');
    Type(*Edit, L"typed");
    const HWND Old = Edit->Handle();

    Edit->SetHideSelection(false); // applied by making the window again
    EXPECT_NE(Edit->Handle(), Old);
    EXPECT_FALSE(IsWindow(Old));
    EXPECT_TRUE(GetWindowLongPtrW(Edit->Handle(), GWL_STYLE) & ES_NOHIDESEL);
    EXPECT_EQ(WindowText(Edit->Handle()), L"typed");
    EXPECT_EQ(SendMessageW(Edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
    Type(*Edit, L"x"); // still at its limit
    EXPECT_EQ(Edit->Text(), L"typed");
    // And the new window is bound: typing still reaches the object.
    int Changes = 0;
    Edit->OnChange = [&](TObject*) { ++Changes; };
    Edit->SetSelStart(5);
    SendMessageW(Edit->Handle(), WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(Edit->Text(), L"type");
    EXPECT_EQ(Changes, 1);
}

TEST_F(GuiTest, CutAndPastePassTheEditsWindowProc) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Plain = Place<TEdit>(*Form, Bounds(10, 10, 120, 21));
    auto* Guarded = Place<TGuardedEdit>(*Form, Bounds(10, 40, 120, 21));
    Form->Show();
    ASSERT_TRUE(PutOnClipboard(L"pasted"));

    SendMessageW(Guarded->Handle(), WM_PASTE, 0, 0);
    Guarded->SetText(L"keep");
    Guarded->SelectAll();
    SendMessageW(Guarded->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(Guarded->Text(), L"keep");
    EXPECT_EQ(Guarded->Refused, (std::vector<UINT>{WM_PASTE, WM_CUT}));

    SendMessageW(Plain->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(Plain->Text(), L"pasted");
}

TEST_F(GuiTest, TheEditPaintsItsBackgroundInItsColor) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Edit = Place<TEdit>(*Form, Bounds(10, 10, 120, 24));
    Form->Show();
    const auto Filled = [](TWinControl& Control, COLORREF Colour) {
        const TClientPixels Pixels(Control);
        const int All = Pixels.Width * Pixels.Height;
        return Pixels.Count(TRect(0, 0, 0, 0), false, [&](COLORREF P) { return P == Colour; }) *
                   10 >
               All * 8;
    };
    EXPECT_TRUE(Filled(*Edit, ColorToRGB(clWindow)));
    Edit->SetColor(RGB(0xC0, 0xFF, 0xC0));
    EXPECT_TRUE(Filled(*Edit, RGB(0xC0, 0xFF, 0xC0)));
    // A read-only edit asks with another message; the colour holds there too.
    Edit->SetReadOnly(true);
    EXPECT_TRUE(Filled(*Edit, RGB(0xC0, 0xFF, 0xC0)));
    // The parent answers a window of another kind the system's way.
    const HWND Foreign = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 10, 10, Form->Handle(),
                                         nullptr, nullptr, nullptr);
    const TClientDC DC(Foreign);
    EXPECT_NE(SendMessageW(Form->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(DC.Handle()),
                           reinterpret_cast<LPARAM>(Foreign)),
              reinterpret_cast<LRESULT>(Edit->Brush().Handle()));
    DestroyWindow(Foreign);
}

TEST_F(GuiTest, AutoSizeFollowsTheFont) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Edit = Place<TEdit>(*Form, Bounds(10, 10, 120, 50));
    Edit->Font().SetSize(9);
    const int Small = Edit->Height();
    EXPECT_LT(Small, 30);
    Edit->Font().SetSize(20);
    EXPECT_GT(Edit->Height(), Small + 10);
    Edit->SetAutoSize(false);
    Edit->SetHeight(50);
    Edit->Font().SetSize(8);
    EXPECT_EQ(Edit->Height(), 50);
}

TEST_F(GuiTest, AnEditGoesCleanlyWhetherItsWindowGoesFirstOrItDoes) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Edit = Place<TEdit>(*Form, Bounds(10, 10, 120, 21));
    Edit->SetText(L"kept");
    Form->Show();
    const HWND First = Edit->Handle();

    // The parent's window goes: the edit's goes with it and comes back with the text.
    Form->RecreateWnd();
    EXPECT_FALSE(IsWindow(First));
    ASSERT_TRUE(Edit->HandleAllocated());
    EXPECT_EQ(WindowText(Edit->Handle()), L"kept");

    // The object goes: so does its window, and nothing reaches the object on the way.
    const HWND Second = Edit->Handle();
    delete Edit;
    EXPECT_FALSE(IsWindow(Second));
    EXPECT_EQ(Form->ControlCount(), 0);
}

TEST_F(GuiTest, TheMaskEditValidatesOnLeavingAndSelectsOnEntering) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Masked = Place<TMaskEdit>(*Form, Bounds(10, 10, 120, 21));
    auto* Other = Place<TEdit>(*Form, Bounds(10, 40, 120, 21));
    Masked->EditMask = L"000;1;_";
    Masked->SetText(L"123");
    int Validated = 0;
    Masked->OnValidate = [&](TObject*) { ++Validated; };
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Form->Active(); }));

    Masked->AutoSelect = false; // the selection below is the mask's own
    Masked->SetFocus();
    EXPECT_EQ(Masked->SelLength(), 3);
    Other->SetFocus();
    EXPECT_EQ(Validated, 1);
}

TEST_F(GuiTest, ButtonsClickOnceAndSetTheFormsModalResult) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Ok = Place<TButton>(*Form, Bounds(10, 10, 75, 25));
    Ok->SetCaption(L"OK");
    Ok->ModalResult = mrOk;
    std::vector<TModalResult> AtClick;
    Ok->OnClick = [&](TObject*) { AtClick.push_back(Form->ModalResult()); };
    Form->Show();

    SendMessageW(Ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(AtClick, (std::vector<TModalResult>{mrOk}));

    // A click of the mouse is one click: the system's, not a second of the library's.
    Form->SetModalResult(mrNone);
    AtClick.clear();
    SendMessageW(Ok->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(Ok->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(AtClick, (std::vector<TModalResult>{mrOk}));

    Ok->SetDefault(true);
    EXPECT_EQ(GetWindowLongPtrW(Ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowTextLengthW(Ok->Handle()), 2);
}

TEST_F(GuiTest, EditsAndButtonsLeakNoGdiObjects) {
    auto* Form = NewForm<TForm>(App.get());
    Form->Show();
    EXPECT_EQ(GdiGrowth([&] {
                  auto* Edit = Place<TEdit>(*Form, Bounds(10, 10, 120, 21));
                  Edit->SetColor(clYellow);
                  Edit->SetText(L"text");
                  auto* Button = Place<TButton>(*Form, Bounds(10, 40, 75, 25));
                  Button->SetCaption(L"Button");
                  Button->Font().SetSize(12);
                  UpdateWindow(Form->Handle());
                  const TClientPixels EditPixels(*Edit);
                  const TClientPixels ButtonPixels(*Button);
                  delete Edit;
                  delete Button;
              }),
              0);
}
