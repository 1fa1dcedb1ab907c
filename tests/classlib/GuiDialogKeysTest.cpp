#include "GuiTestSupport.h"
#include "tests/support/ModalTestSupport.h"

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/StdCtrls.h"

#include <string>
#include <vector>

namespace {

class TMultiLineEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void CreateParams(TCreateParams& Params) const override {
        TEdit::CreateParams(Params);
        Params.Style |= ES_MULTILINE | ES_WANTRETURN;
    }
};

// Holds a key down in this thread's keyboard state for its lifetime, as the modifier of a
// synthetic key message.
class THeldKey {
public:
    explicit THeldKey(int Key) : FKey(Key) {
        GetKeyboardState(FState);
        BYTE Held[256];
        GetKeyboardState(Held);
        Held[Key] = 0x80;
        SetKeyboardState(Held);
    }
    ~THeldKey() { SetKeyboardState(FState); }
    THeldKey(const THeldKey&) = delete;
    THeldKey& operator=(const THeldKey&) = delete;

private:
    int FKey;
    BYTE FState[256];
};

// The dialog of the tests: two edits, a multi-line edit, a label for the second edit, and the
// buttons OK (default), Cancel (cancel) and Apply.
struct TDialog {
    TForm* Form;
    TEdit* Name;
    TEdit* Town;
    TMultiLineEdit* Notes;
    TLabel* TownLabel;
    TButton* Ok;
    TButton* Cancel;
    TButton* Apply;
    std::vector<std::string> Clicks;

    explicit TDialog(TComponent* Owner) {
        Form = NewForm<TForm>(Owner);
        Name = Place<TEdit>(*Form, Bounds(80, 10, 120, 21));
        Town = Place<TEdit>(*Form, Bounds(80, 40, 120, 21));
        Notes = Place<TMultiLineEdit>(*Form, Bounds(80, 70, 120, 50));
        TownLabel = Place<TLabel>(*Form, Bounds(10, 40, 60, 17));
        TownLabel->SetCaption(L"&Town");
        TownLabel->SetFocusControl(Town);
        Ok = AddButton(L"OK", 10, mrOk);
        Ok->SetDefault(true);
        Cancel = AddButton(L"Cancel", 90, mrCancel);
        Cancel->Cancel = true;
        Apply = AddButton(L"&Apply", 170, mrNone);
        Form->Show();
    }

    TButton* AddButton(const String& Caption, int Left, TModalResult Result) {
        auto* Button = Place<TButton>(*Form, Bounds(Left, 130, 75, 25));
        Button->SetCaption(Caption);
        Button->ModalResult = Result;
        const std::string Label = ToUtf8(Caption);
        Button->OnClick = [this, Label](TObject*) { Clicks.push_back(Label); };
        return Button;
    }
};

struct TKeyCase {
    const char* Name;
    TWinControl* TDialog::*Focus;
    UINT Msg;
    WORD Key;
    int Held; // a modifier held down, or 0
    TWinControl* TDialog::*FocusAfter;
    std::vector<std::string> Clicks;
    TModalResult Result;
};

template <class T> TWinControl* TDialog::*As(T* TDialog::*Member) {
    return reinterpret_cast<TWinControl * TDialog::*>(Member);
}

} // namespace

TEST_F(GuiTest, TheFormHandlesTheDialogKeysItsControlsDoNotWant) {
    const TKeyCase Cases[] = {
        {"Tab", As(&TDialog::Name), WM_KEYDOWN, VK_TAB, 0, As(&TDialog::Town), {}, mrNone},
        {"Tab in the multi-line edit",
         As(&TDialog::Notes),
         WM_KEYDOWN,
         VK_TAB,
         0,
         As(&TDialog::Ok),
         {},
         mrNone},
        {"Shift+Tab",
         As(&TDialog::Town),
         WM_KEYDOWN,
         VK_TAB,
         VK_SHIFT,
         As(&TDialog::Name),
         {},
         mrNone},
        {"Shift+Tab wraps",
         As(&TDialog::Name),
         WM_KEYDOWN,
         VK_TAB,
         VK_SHIFT,
         As(&TDialog::Apply),
         {},
         mrNone},
        {"Enter", As(&TDialog::Name), WM_KEYDOWN, VK_RETURN, 0, As(&TDialog::Name), {"OK"}, mrOk},
        {"Enter on a focused button",
         As(&TDialog::Apply),
         WM_KEYDOWN,
         VK_RETURN,
         0,
         As(&TDialog::Apply),
         {"&Apply"},
         mrNone},
        {"Escape",
         As(&TDialog::Town),
         WM_KEYDOWN,
         VK_ESCAPE,
         0,
         As(&TDialog::Town),
         {"Cancel"},
         mrCancel},
        {"Enter in the multi-line edit",
         As(&TDialog::Notes),
         WM_KEYDOWN,
         VK_RETURN,
         0,
         As(&TDialog::Notes),
         {},
         mrNone},
        {"Alt+letter of a label",
         As(&TDialog::Name),
         WM_SYSCHAR,
         L't',
         VK_MENU,
         As(&TDialog::Town),
         {},
         mrNone},
        {"Alt+letter of a button",
         As(&TDialog::Name),
         WM_SYSCHAR,
         L'A',
         VK_MENU,
         As(&TDialog::Name),
         {"&Apply"},
         mrNone},
        {"Alt+letter of nothing",
         As(&TDialog::Name),
         WM_SYSCHAR,
         L'q',
         VK_MENU,
         As(&TDialog::Name),
         {},
         mrNone},
        {"letter on a button",
         As(&TDialog::Ok),
         WM_CHAR,
         L'a',
         0,
         As(&TDialog::Ok),
         {"&Apply"},
         mrNone},
        {"letter in an edit", As(&TDialog::Name), WM_CHAR, L'a', 0, As(&TDialog::Name), {}, mrNone},
    };
    for (const TKeyCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TDialog Dialog(App.get());
        ASSERT_TRUE(PumpUntil([&] { return Dialog.Form->Active(); }));
        TWinControl* Focus = Dialog.*Case.Focus;
        Dialog.Form->SetActiveControl(Focus);
        ASSERT_TRUE(Focus->Focused());
        {
            const THeldKey Held(Case.Held ? Case.Held : VK_NONAME);
            SendMessageW(Focus->Handle(), Case.Msg, Case.Key, 1);
        }
        EXPECT_EQ(Dialog.Form->ActiveControl(), Dialog.*Case.FocusAfter);
        EXPECT_TRUE((Dialog.*Case.FocusAfter)->Focused());
        EXPECT_EQ(Dialog.Clicks, Case.Clicks);
        EXPECT_EQ(Dialog.Form->ModalResult(), Case.Result);
        delete Dialog.Form;
    }
}

TEST_F(GuiTest, TheCharacterOfADialogKeyGoesNowhereButWhereItIsWanted) {
    TDialog Dialog(App.get());
    ASSERT_TRUE(PumpUntil([&] { return Dialog.Form->Active(); }));
    Dialog.Name->SetText(L"ab");
    Dialog.Notes->SetText(L"ab");
    for (TEdit* Edit : {static_cast<TEdit*>(Dialog.Name), static_cast<TEdit*>(Dialog.Notes)}) {
        Dialog.Form->SetActiveControl(Edit);
        Edit->SetSelStart(2);
        SendMessageW(Edit->Handle(), WM_CHAR, L'\r', 1);
        SendMessageW(Edit->Handle(), WM_CHAR, 27, 1);
    }
    EXPECT_EQ(Dialog.Name->Text(), L"ab");
    EXPECT_EQ(Dialog.Notes->Text(), L"ab\r\n");
    EXPECT_TRUE(Dialog.Clicks.empty());
}

TEST_F(GuiTest, EscapeInAMultiLineEditLeavesTheWindowItStandsIn) {
    TDialog Dialog(App.get());
    auto* Panel = Place<TPanel>(*Dialog.Form, Bounds(220, 10, 150, 110));
    auto* Notes = Place<TMultiLineEdit>(*Panel, Bounds(10, 10, 120, 50));
    ASSERT_TRUE(PumpUntil([&] { return Dialog.Form->Active(); }));
    Dialog.Form->SetActiveControl(Notes);
    const HWND PanelWindow = Panel->Handle();
    SendMessageW(Notes->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    SendMessageW(Notes->Handle(), WM_CHAR, VK_ESCAPE, 1);
    App->ProcessMessages();
    EXPECT_TRUE(IsWindow(PanelWindow));
    EXPECT_TRUE(Dialog.Form->Visible());
    EXPECT_TRUE(Notes->Focused());
    delete Dialog.Form;
}

TEST_F(GuiTest, ALabelForgetsAFocusControlThatWent) {
    TDialog Dialog(App.get());
    delete Dialog.Town;
    EXPECT_EQ(Dialog.TownLabel->FocusControl(), nullptr);
    EXPECT_EQ(Dialog.Form->Perform(CM_DIALOGCHAR, L't'), 0);
}

TEST(IsAccel, FindsTheCharacterAfterASingleAmpersand) {
    const struct {
        wchar_t Key;
        const wchar_t* Caption;
        bool Accel;
    } Cases[] = {
        {L'o', L"&OK", true},   {L'O', L"&ok", true},
        {L'k', L"&OK", false},  {L'a', L"A&&B", false},
        {L'b', L"A&&&B", true}, {L'x', L"", false},
        {L'x', L"x&", false},   {L'\u00e9', L"&\u00c9t\u00e9", true},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Caption));
        EXPECT_EQ(IsAccel(Case.Key, Case.Caption), Case.Accel);
    }
}

TEST_F(GuiTest, EscapeThatNoButtonTakesClosesAModalFormAsItsCloseBoxDoesAndNoOtherForm) {
    for (const bool Refused : {false, true}) {
        SCOPED_TRACE(Refused ? "the close refused" : "the close allowed");
        const std::unique_ptr<TForm> Form(NewForm<TForm>(App.get()));
        auto* Edit = Place<TEdit>(*Form, Bounds(10, 10, 120, 21));
        Form->SetActiveControl(Edit);
        int Asked = 0;
        Form->OnCloseQuery = [&](TObject*, bool& CanClose) {
            ++Asked;
            CanClose = !Refused || Asked > 1;
        };
        Form->HandleNeeded();
        EndModalAfter(*Form, 3000);
        PressWhenShown(*Form, VK_ESCAPE);
        EXPECT_EQ(Form->ShowModal(), Refused ? mrAbort : mrCancel);
        EXPECT_EQ(Asked, Refused ? 2 : 1); // the deadline's end asks again
    }

    TDialog Plain(App.get());
    Plain.Cancel->Cancel = false;
    ASSERT_TRUE(PumpUntil([&] { return Plain.Form->Active(); }));
    Plain.Form->SetActiveControl(Plain.Name);
    SendMessageW(Plain.Name->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    App->ProcessMessages();
    EXPECT_TRUE(Plain.Form->Visible());
    EXPECT_EQ(Plain.Form->ModalResult(), mrNone);
    delete Plain.Form;
}
