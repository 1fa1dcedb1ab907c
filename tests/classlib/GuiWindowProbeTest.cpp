// The probe message every form answers: where a named control is, which command a named menu
// item sends and which window takes it, and the row questions handed to the named list.
#include "GuiTestSupport.h"

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/NamedChild.h"
#include "classlib/gui/StdCtrls.h"
#include "classlib/gui/WindowProbe.h"

namespace {

// A list that knows one row, "Alpha": its text part at (10, 5), its check box at (2, 5).
class TOneRowList : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == CM_PROBEROW) {
            const auto& Row = *reinterpret_cast<const TProbeRow*>(Message.LParam);
            Message.Result = Row.RowText != L"Alpha"
                                 ? 0
                                 : ProbeFoundPoint(ClientToScreen(
                                       TPoint{Message.WParam == pqRowText ? 10 : 2, 5}));
            return;
        }
        TCustomControl::WndProc(Message);
    }
};

class GuiWindowProbeTest : public PlainFormTest<300, 200> {
protected:
    // Asks the form as another program would: the text in a global atom, the message sent.
    LRESULT Ask(TProbeQuery Query, const String& Text) {
        const ATOM Atom = GlobalAddAtomW(Text.c_str());
        const LRESULT Result =
            SendMessageW(Form->Handle(), ProbeMessage(), Query, static_cast<LPARAM>(Atom));
        GlobalDeleteAtom(Atom);
        return Result;
    }
};

} // namespace

TEST_F(GuiWindowProbeTest, ANamedControlIsFoundAtTheCentreOfItsClientAreaWhileItShows) {
    auto* Panel = MakeNamedChild<TPanel>(*Form, *Form, L"Panel", Bounds(20, 30, 200, 150));
    auto* Block = MakeNamedChild<TFilledBlock>(*Form, *Panel, L"Block", Bounds(10, 20, 40, 30));
    auto* Hidden = MakeNamedChild<TFilledBlock>(*Form, *Panel, L"Hidden", Bounds(60, 20, 4, 4));
    Hidden->Hide();
    Form->Show();

    const TPoint Centre = Block->ClientToScreen(TPoint{20, 15});
    const struct {
        const wchar_t* Name;
        bool Found;
    } Cases[] = {{L"Block", true}, {L"block", true}, {L"Hidden", false}, {L"Nothing", false}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(testing::Message() << String(Case.Name));
        const LRESULT Answer = Ask(pqControlCentre, Case.Name);
        ASSERT_EQ(ProbeAnswered(Answer), Case.Found);
        if (Case.Found) {
            EXPECT_EQ(ProbePoint(Answer).X, Centre.X);
            EXPECT_EQ(ProbePoint(Answer).Y, Centre.Y);
        }
    }
    // Hiding the parent hides what stands on it.
    Panel->Hide();
    EXPECT_FALSE(ProbeAnswered(Ask(pqControlCentre, L"Block")));
}

TEST_F(GuiWindowProbeTest, ANamedMenuItemGivesItsCommandAndTheWindowThatRunsIt) {
    auto* Menu = new TPopupMenu(Form);
    auto* Sub = new TMenuItem(Form);
    auto* Item = new TMenuItem(Form);
    Item->Name = L"mnDeleteFiles";
    int Clicks = 0;
    Item->OnClick = [&](TObject*) { ++Clicks; };
    Menu->Items().Add(Sub);
    Sub->Add(Item);

    const LRESULT Command = Ask(pqMenuCommand, L"mnDeleteFiles");
    const LRESULT Window = Ask(pqMenuWindow, L"mnDeleteFiles");
    ASSERT_TRUE(ProbeAnswered(Command));
    ASSERT_TRUE(ProbeAnswered(Window));
    EXPECT_EQ(ProbeValue(Command), Item->Command());
    // The command posted there runs the item, as a chosen entry does.
    const HWND Target = reinterpret_cast<HWND>(static_cast<UINT_PTR>(ProbeValue(Window)));
    SendMessageW(Target, WM_COMMAND, ProbeValue(Command), 0);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(ProbeAnswered(Ask(pqMenuCommand, L"mnNothing")));
}

TEST_F(GuiWindowProbeTest, RowQuestionsGoToTheNamedList) {
    auto* List = MakeNamedChild<TOneRowList>(*Form, *Form, L"DrivesList", Bounds(5, 5, 100, 80));
    MakeNamedChild<TPanel>(*Form, *Form, L"NotAList", Bounds(120, 5, 50, 50));
    Form->Show();
    const struct {
        const char* Case;
        TProbeQuery Query;
        String Text;
        bool Found;
        TPoint At; // in the list
    } Cases[] = {
        {"the row's text",
         pqRowText,
         String(L"DrivesList") + ProbeRowSeparator + L"Alpha",
         true,
         {10, 5}},
        {"the row's check box",
         pqRowCheckBox,
         String(L"DrivesList") + ProbeRowSeparator + L"Alpha",
         true,
         {2, 5}},
        {"another row", pqRowText, String(L"DrivesList") + ProbeRowSeparator + L"Beta", false, {}},
        {"a control without rows",
         pqRowText,
         String(L"NotAList") + ProbeRowSeparator + L"Alpha",
         false,
         {}},
        {"no row text at all", pqRowText, L"DrivesList", false, {}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Case);
        const LRESULT Answer = Ask(Case.Query, Case.Text);
        ASSERT_EQ(ProbeAnswered(Answer), Case.Found);
        if (Case.Found) {
            const TPoint Expected = List->ClientToScreen(Case.At);
            EXPECT_EQ(ProbePoint(Answer).X, Expected.X);
            EXPECT_EQ(ProbePoint(Answer).Y, Expected.Y);
        }
    }
}

// A script's key goes to the focused window: it waits for this answer before it presses one.
TEST_F(GuiWindowProbeTest, TheFocusQuestionHoldsOnlyForTheControlThatHasTheFocus) {
    auto* Combo = MakeNamedChild<TComboBox>(*Form, *Form, L"cmbLevel", Bounds(5, 5, 100, 24));
    auto* Edit = MakeNamedChild<TEdit>(*Form, *Form, L"edName", Bounds(5, 40, 100, 24));
    MakeNamedChild<TFilledBlock>(*Form, *Form, L"Block", Bounds(5, 80, 20, 20));
    Form->Show();
    Edit->SetFocus();
    EXPECT_TRUE(ProbeAnswered(Ask(pqControlFocused, L"edName")));
    EXPECT_FALSE(ProbeAnswered(Ask(pqControlFocused, L"cmbLevel")));
    EXPECT_FALSE(ProbeAnswered(Ask(pqControlFocused, L"Block")));
    EXPECT_FALSE(ProbeAnswered(Ask(pqControlFocused, L"Nothing")));
    // A combo box's focus lies in its edit window, inside the named control.
    Combo->SetFocus();
    EXPECT_TRUE(ProbeAnswered(Ask(pqControlFocused, L"cmbLevel")));
    EXPECT_FALSE(ProbeAnswered(Ask(pqControlFocused, L"edName")));
}

TEST(GuiWindowProbePacking, PointsKeepTheirSignAndTheFlagTellsFoundFromZero) {
    for (const TPoint P : {TPoint{0, 0}, TPoint{1279, 1023}, TPoint{-1600, -20}}) {
        const LRESULT Answer = ProbeFoundPoint(P);
        EXPECT_TRUE(ProbeAnswered(Answer));
        EXPECT_EQ(ProbePoint(Answer).X, P.X);
        EXPECT_EQ(ProbePoint(Answer).Y, P.Y);
    }
    EXPECT_FALSE(ProbeAnswered(0));
}
