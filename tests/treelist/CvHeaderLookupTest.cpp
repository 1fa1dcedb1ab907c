// The header's lookup box, section menus and section hints, driven by synthetic messages.
#include "treelist/CvHeader.h"

#include "classlib/gui/HintWindow.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/StdCtrls.h"
#include "tests/support/GuiTestSupport.h"
#include "treelist/CvHintWnd.h"
#include "treelist/CvScrollBar.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

LPARAM At(int X, int Y) {
    return MAKELPARAM(X, Y);
}

std::vector<String> Lines(const TStrings& List) {
    std::vector<String> Result;
    for (int I = 0; I < List.Count(); ++I)
        Result.push_back(List.Strings(I));
    return Result;
}

// A menu that records where it was asked to open instead of opening.
class TRecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { Shown.push_back(TPoint{X, Y}); }
    std::vector<TPoint> Shown;
};

// A header of three sections (100, 100, 60 pixels) on a form, beside an edit that
// holds the focus when the tests begin.
class CvHeaderInputTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewForm<TForm>(App.get());
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(40, 40, 420, 200);
        Other = Place<TEdit>(*Form, Bounds(10, 150, 100, 21));
        Header = new TCvHeader(Form);
        Header->SetUseXPThemes(false);
        Header->SetParent(Form);
        Header->SetBounds(0, 0, 400, 20);
        for (const int W : {100, 100, 60}) {
            TCvHeaderSection* S = Header->Sections().AppendSection();
            S->SetWidth(W);
        }
        Form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Form->Active(); }));
        Form->SetActiveControl(Other);
        Wnd = Header->Handle();
    }
    TCvHeaderSection* Section(int Position) { return Header->Sections().ItemAt(Position); }
    void Send(UINT Msg, WPARAM W, LPARAM L) { SendMessageW(Wnd, Msg, W, L); }
    void RightClick(int X, int Y) {
        Send(WM_RBUTTONDOWN, MK_RBUTTON, At(X, Y));
        Send(WM_RBUTTONUP, 0, At(X, Y));
    }

    TForm* Form = nullptr;
    TEdit* Other = nullptr;
    TCvHeader* Header = nullptr;
    HWND Wnd = nullptr;
};

class CvHeaderLookupTest : public CvHeaderInputTest {
protected:
    void SetUp() override {
        CvHeaderInputTest::SetUp();
        Looked = Section(1);
        Looked->SetLookupEnabled(true);
        Looked->LookupHistory().Add(L"newest");
        Looked->LookupHistory().Add(L"older");
        Header->OnHeaderLookupDone = [this](TObject*, TCvHeaderSection* S, const String& Text,
                                            bool Accepted) {
            Done.push_back((S == Looked ? L"" : L"other ") + Text +
                           (Accepted ? L" taken" : L" dropped"));
        };
    }
    // The lookup point sits at the right of the section, under the expand button's row.
    void Open() {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, At(193, 14));
        Send(WM_LBUTTONUP, 0, At(193, 14));
    }
    HWND Edit() { return Header->LookupBox()->EditHandle(); }
    void Type(const wchar_t* Text) {
        for (; *Text; ++Text)
            SendMessageW(Edit(), WM_CHAR, *Text, 1);
    }
    void Key(WORD Code) {
        SendMessageW(Edit(), WM_KEYDOWN, Code, 1);
        SendMessageW(Edit(), WM_KEYUP, Code, 1);
    }
    bool BoxShown() {
        return Header->LookupBox() && IsWindowVisible(Header->LookupBox()->Handle());
    }
    bool BoxFocused() {
        const HWND Focus = GetFocus();
        const HWND Box = Header->LookupBox()->Handle();
        return Focus == Box || IsChild(Box, Focus);
    }

    TCvHeaderSection* Looked = nullptr;
    std::vector<String> Done;
};

} // namespace

TEST_F(CvHeaderLookupTest, TheBoxOpensOverTheSectionWithTheHistoryAndASmallerFont) {
    Header->Font().SetHeight(-14);
    Header->SetScrollOffset(20);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(173, 14)); // the section moved 20 pixels left
    Send(WM_LBUTTONUP, 0, At(173, 14));
    TComboBox* Box = Header->LookupBox();
    ASSERT_NE(Box, nullptr);
    EXPECT_EQ(Header->LookupSection(), Looked);
    EXPECT_TRUE(BoxShown());
    EXPECT_TRUE(BoxFocused());
    EXPECT_EQ(Box->Parent(), Form);
    EXPECT_EQ(Box->Left(), Header->Left() + 100 - 20);
    EXPECT_EQ(Box->Top(), Header->Top());
    EXPECT_EQ(Box->Width(), 100);
    EXPECT_EQ(Box->Font().Height(), -12);
    EXPECT_EQ(Lines(Box->Items()), (std::vector<String>{L"newest", L"older"}));
    EXPECT_EQ(Header->PressedSection(), nullptr); // the press opened the box, it clicks nothing

    // The button of a locked section opens nothing.
    Key(VK_ESCAPE);
    Header->SetScrollOffset(0);
    Header->SetLockedSection(Section(0));
    Section(0)->SetLookupEnabled(true);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(93, 14));
    Send(WM_LBUTTONUP, 0, At(93, 14));
    EXPECT_FALSE(BoxShown());
}

TEST_F(CvHeaderLookupTest, EnterTakesTheTextToTheTopOfTheHistoryOnce) {
    struct TCase {
        const wchar_t* Typed;
        std::vector<String> History;
    };
    // An equal line moves up instead of showing twice.
    const TCase Cases[] = {
        {L"first", {L"first", L"newest", L"older"}},
        {L"older", {L"older", L"first", L"newest"}},
        {L"older", {L"older", L"first", L"newest"}},
    };
    for (const TCase& C : Cases) {
        Done.clear();
        Open();
        ASSERT_TRUE(BoxShown()) << C.Typed;
        EXPECT_EQ(Header->LookupBox()->Text(), L""); // cleared from the last time
        Type(C.Typed);
        Key(VK_RETURN);
        EXPECT_EQ(Done, (std::vector<String>{String(C.Typed) + L" taken"}));
        EXPECT_EQ(Lines(Looked->LookupHistory()), C.History) << C.Typed;
        EXPECT_FALSE(BoxShown());
        EXPECT_EQ(GetFocus(), Other->Handle()); // back where it was
        EXPECT_EQ(Header->LookupSection(), nullptr);
    }
}

TEST_F(CvHeaderLookupTest, EscapeAndFocusLossDropTheTextOnce) {
    Open();
    Type(L"abc");
    Key(VK_ESCAPE);
    EXPECT_EQ(Done, (std::vector<String>{L"abc dropped"}));
    EXPECT_FALSE(BoxShown());
    EXPECT_EQ(GetFocus(), Other->Handle());

    // The focus taken elsewhere closes the box and stays where the user put it.
    auto* Third = Place<TEdit>(*Form, Bounds(150, 150, 100, 21));
    Done.clear();
    Open();
    Type(L"xy");
    SetFocus(Third->Handle());
    EXPECT_EQ(Done, (std::vector<String>{L"xy dropped"}));
    EXPECT_FALSE(BoxShown());
    EXPECT_EQ(GetFocus(), Third->Handle());

    // A click on the header only closes the box: no click, no new box.
    int Clicks = 0;
    Header->OnSectionClick = [&](TObject*, TCvHeaderSection*) { ++Clicks; };
    Form->SetActiveControl(Other);
    Done.clear();
    Open();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(50, 5));
    Send(WM_LBUTTONUP, 0, At(50, 5));
    EXPECT_EQ(Done, (std::vector<String>{L" dropped"}));
    EXPECT_EQ(Clicks, 0);
    EXPECT_FALSE(BoxShown());
    EXPECT_EQ(GetFocus(), Other->Handle());
    EXPECT_EQ(Lines(Looked->LookupHistory()), (std::vector<String>{L"newest", L"older"}));
}

TEST_F(CvHeaderLookupTest, TheLookupNoticeMayReplaceTheTextWithoutAskingAgain) {
    std::vector<String> Asked;
    Header->OnHeaderLookup = [&](TObject*, TCvHeaderSection* S, String& Text) {
        EXPECT_EQ(S, Looked);
        Asked.push_back(Text);
        if (Text == L"ab")
            Text = L"abacus";
    };
    Open();
    Type(L"ab");
    EXPECT_EQ(Asked, (std::vector<String>{L"a", L"ab"}));
    EXPECT_EQ(Header->LookupBox()->Text(), L"abacus");
    Key(VK_RETURN);
    EXPECT_EQ(Done, (std::vector<String>{L"abacus taken"}));
}

TEST_F(CvHeaderLookupTest, DeletingTheSectionOrTheHeaderWhileOpenIsHarmless) {
    Open();
    ASSERT_TRUE(BoxShown());
    Header->Sections().DeleteSection(Looked);
    EXPECT_FALSE(BoxShown());
    EXPECT_EQ(Header->LookupSection(), nullptr);
    SetFocus(Other->Handle());
    EXPECT_TRUE(Done.empty()); // no notice naming a section that is gone

    Section(0)->SetLookupEnabled(true);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(93, 14));
    ASSERT_TRUE(BoxShown());
    delete Header; // takes its box along while the box holds the focus
    EXPECT_TRUE(Done.empty());
    Form->SetActiveControl(Other);
}

TEST_F(CvHeaderLookupTest, OpeningAnotherBoxEndsTheOpenOneFirst) {
    Section(0)->SetLookupEnabled(true);
    Section(0)->LookupHistory().Add(L"first's");
    std::vector<String> Asked;
    Header->OnHeaderLookup = [&](TObject*, TCvHeaderSection*, String& Text) {
        Asked.push_back(Text);
    };
    Open();
    Type(L"ab");
    Asked.clear();
    Header->ShowLookup(Section(0));
    EXPECT_EQ(Done, (std::vector<String>{L"ab dropped"}));
    EXPECT_TRUE(Asked.empty()); // the box emptied for the new section looks nothing up
    EXPECT_EQ(Header->LookupSection(), Section(0));
    EXPECT_TRUE(BoxShown());
    EXPECT_TRUE(BoxFocused());
    EXPECT_EQ(Header->LookupBox()->Left(), Header->Left());
    EXPECT_EQ(Header->LookupBox()->Text(), L"");
    EXPECT_EQ(Lines(Header->LookupBox()->Items()), (std::vector<String>{L"first's"}));
    EXPECT_EQ(Lines(Looked->LookupHistory()), (std::vector<String>{L"newest", L"older"}));

    // The focus goes back to where it was before the first box, not to the box.
    Type(L"c");
    Key(VK_ESCAPE);
    EXPECT_EQ(Done, (std::vector<String>{L"ab dropped", L"other c dropped"}));
    EXPECT_FALSE(BoxShown());
    EXPECT_EQ(GetFocus(), Other->Handle());
    EXPECT_EQ(Header->LookupSection(), nullptr);

    // A done notice that takes the header away leaves nothing to open.
    Open();
    Header->OnHeaderLookupDone = [&](TObject*, TCvHeaderSection*, const String&, bool) {
        // The handler goes with the header: nothing of it is read after the delete.
        delete std::exchange(Header, nullptr);
    };
    Header->ShowLookup(Section(0));
    EXPECT_EQ(Header, nullptr);
    Form->SetActiveControl(Other);
}

// ------------------------------------------------------------ menus

TEST_F(CvHeaderInputTest, ARightClickOpensTheSectionsMenuElseTheHeadersOnce) {
    auto* HeaderMenu = new TRecordingMenu(Form);
    auto* SectionMenu = new TRecordingMenu(Form);
    Header->SetPopupMenu(HeaderMenu);
    Section(1)->SetPopupMenu(SectionMenu);

    RightClick(150, 5);
    ASSERT_EQ(SectionMenu->Shown.size(), 1u);
    const TPoint Expected = Header->ClientToScreen(TPoint{150, 5});
    EXPECT_EQ(SectionMenu->Shown[0].X, Expected.X);
    EXPECT_EQ(SectionMenu->Shown[0].Y, Expected.Y);
    EXPECT_EQ(SectionMenu->PopupComponent, Header);
    EXPECT_TRUE(HeaderMenu->Shown.empty());

    RightClick(50, 5);                       // a section without a menu
    RightClick(350, 5);                      // beside every section
    EXPECT_EQ(HeaderMenu->Shown.size(), 2u); // on the press, not again for the release
    EXPECT_EQ(SectionMenu->Shown.size(), 1u);

    // A section's menu that does not pop up by itself shows nothing, not the header's either.
    SectionMenu->AutoPopup = false;
    RightClick(150, 5);
    EXPECT_EQ(SectionMenu->Shown.size(), 1u);
    EXPECT_EQ(HeaderMenu->Shown.size(), 2u);

    // The keyboard's menu key still opens the header's menu.
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), -1);
    EXPECT_EQ(HeaderMenu->Shown.size(), 3u);

    // While an edge is held the right button does nothing.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(98, 5));
    ASSERT_NE(Header->ResizeSection(), nullptr);
    RightClick(50, 5);
    EXPECT_EQ(HeaderMenu->Shown.size(), 3u);
    Send(WM_LBUTTONUP, 0, At(98, 5));

    // A menu that goes leaves no section pointing at it.
    delete SectionMenu;
    EXPECT_EQ(Section(1)->PopupMenu(), nullptr);
    RightClick(150, 5);
    EXPECT_EQ(HeaderMenu->Shown.size(), 4u);
}

TEST_F(CvHeaderInputTest, ASectionsMenuIsFoundByNameAfterLoading) {
    auto* Menu = new TRecordingMenu(Form);
    Menu->Name = L"ColumnMenu";
    Section(2)->SetPopupMenu(Menu);
    TMemoryStream Stored;
    Header->Sections().SaveToStream(Stored);

    auto* Loaded = new TCvHeader(Form);
    Loaded->SetParent(Form);
    Form->BeginLoading();
    Stored.SetPosition(0);
    Loaded->Sections().LoadFromStream(Stored);
    EXPECT_EQ(Loaded->Sections().ItemAt(2)->PopupMenu(), nullptr);
    Form->EndLoading();
    EXPECT_EQ(Loaded->Sections().ItemAt(2)->PopupMenu(), Menu);
    EXPECT_EQ(Loaded->Sections().ItemAt(2)->PopupMenuName(), "ColumnMenu");
    delete Menu; // both headers let go of it
    EXPECT_EQ(Loaded->Sections().ItemAt(2)->PopupMenu(), nullptr);
    EXPECT_EQ(Section(2)->PopupMenu(), nullptr);
}

// ------------------------------------------------------------ hints

namespace {

// The hint text a control gives for the class library's hint string and cursor point.
String AskHint(TControl& Control, TPoint CursorPos, const String& Prepared) {
    THintInfo Info;
    Info.HintControl = &Control;
    Info.CursorPos = CursorPos;
    Info.HintStr = Prepared;
    EXPECT_EQ(Control.Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info)), 0);
    return Info.HintStr;
}

String Unpacked(const String& HintStr) {
    return HintStr.empty() ? String(L"(none)") : UnpackWideHint(ToAnsi(HintStr));
}

} // namespace

TEST_F(CvHeaderInputTest, TheHintIsTheSectionsWholeHintElseTheHeadersShortOnePacked) {
    Header->SetWideHint(L"Columns|Drag to arrange");
    Section(1)->SetHint(L"Size|in bytes \u03A9");
    struct TCase {
        int X;
        const wchar_t* Shown;
        int Section; // -1: none
    };
    const TCase Cases[] = {
        {150, L"Size|in bytes \u03A9", 1},
        {50, L"Columns", 0},
        {350, L"Columns", -1},
    };
    for (const TCase& C : Cases) {
        const String HintStr = AskHint(*Header, TPoint{C.X, 5}, GetShortHint(Header->Hint));
        EXPECT_EQ(Unpacked(HintStr), C.Shown) << C.X;
        EXPECT_EQ(HintStr, PackedHintString(C.Shown)) << C.X;
        EXPECT_EQ(Header->HintSection(), C.Section < 0 ? nullptr : Section(C.Section)) << C.X;
    }
    // The class library's hint window shows the narrow part.
    EXPECT_EQ(VisibleHintText(AskHint(*Header, TPoint{50, 5}, L"")), L"Columns");

    Header->SetWideHint(L"");
    EXPECT_TRUE(Header->Hint.empty());
    EXPECT_EQ(Unpacked(AskHint(*Header, TPoint{50, 5}, L"x")), L"(none)");
    EXPECT_EQ(Unpacked(AskHint(*Header, TPoint{150, 5}, L"x")), L"Size|in bytes \u03A9");
}

TEST_F(CvHeaderInputTest, MovingOntoASectionWithAnotherHintShowsItsHint) {
    Header->SetWideHint(L"Columns");
    Header->SetShowHint(true);
    Section(1)->SetHint(L"Size");
    App->HintHidePause = 0;
    App->HintPause = 5000; // nothing shows by itself during the test
    const auto HintText = [&] {
        THintWindow* Window = App->HintWindow();
        return Window && IsWindowVisible(Window->Handle()) ? VisibleHintText(Window->Caption())
                                                           : String(L"(hidden)");
    };
    TPoint Cursor = Header->ClientToScreen(TPoint{50, 5});
    Screen->CursorPosSource = [&] { return Cursor; };
    Send(WM_MOUSEMOVE, 0, At(50, 5));
    App->ActivateHint(Cursor);
    EXPECT_EQ(HintText(), L"Columns");
    EXPECT_EQ(Header->HintSection(), Section(0));

    struct TStep {
        int X;
        const wchar_t* Shown;
    };
    const TStep Steps[] = {
        {150, L"Size"},    // another text: asked again at once
        {160, L"Size"},    // the same section
        {230, L"Columns"}, // back to the header's hint
        {350, L"Columns"}, // the same text beside the sections: left alone
    };
    for (const TStep& S : Steps) {
        Cursor = Header->ClientToScreen(TPoint{S.X, 5});
        Send(WM_MOUSEMOVE, 0, At(S.X, 5));
        EXPECT_EQ(HintText(), S.Shown) << S.X;
    }
    Screen->CursorPosSource = nullptr;
}

TEST_F(CvHeaderInputTest, TheScrollBarsHintIsItsWideHintsShortPartPacked) {
    auto* Bar = Place<TCvScrollBar>(*Form, Bounds(10, 80, 200, 17));
    Bar->SetWideHint(L"Rows|Scrolls the rows");
    // Cut like the class library cuts the narrow hint, whatever it prepared.
    for (const String& Prepared : {GetShortHint(Bar->Hint), String(L"changed"), String()})
        EXPECT_EQ(Unpacked(AskHint(*Bar, TPoint{5, 5}, Prepared)), L"Rows") << ToUtf8(Prepared);
    Bar->SetWideHint(L"\u03A9 only");
    EXPECT_EQ(Unpacked(AskHint(*Bar, TPoint{5, 5}, L"x")), L"\u03A9 only");
    Bar->SetWideHint(L"");
    EXPECT_EQ(AskHint(*Bar, TPoint{5, 5}, L"left over"), L"");
}

// ------------------------------------------------------------ hints through the hint manager

namespace {

// The header with hints on, the cursor following the synthetic moves; nothing shows by
// itself unless a test shortens the pause.
class CvHeaderHintTest : public CvHeaderInputTest {
protected:
    void SetUp() override {
        CvHeaderInputTest::SetUp();
        Header->SetShowHint(true);
        App->HintHidePause = 0;
        App->HintPause = 5000;
        Screen->CursorPosSource = [this] { return Cursor; };
    }
    void TearDown() override {
        Screen->CursorPosSource = nullptr;
        CvHeaderInputTest::TearDown();
    }
    void MoveTo(int X) {
        Cursor = Header->ClientToScreen(TPoint{X, 5});
        Send(WM_MOUSEMOVE, 0, At(X, 5));
    }
    String HintText() {
        THintWindow* Window = App->HintWindow();
        return Window && IsWindowVisible(Window->Handle()) ? VisibleHintText(Window->Caption())
                                                           : String(L"(hidden)");
    }

    TPoint Cursor{};
};

} // namespace

TEST_F(CvHeaderHintTest, TheHeadersHintBesideTheSectionsGivesWayToASectionsOwn) {
    Header->SetWideHint(L"Columns|Drag to arrange");
    Section(1)->SetHint(L"Size");
    MoveTo(350);
    App->ActivateHint(Cursor);
    EXPECT_EQ(HintText(), L"Columns");
    EXPECT_EQ(Header->HintSection(), nullptr);
    struct TStep {
        int X;
        const wchar_t* Shown;
    };
    const TStep Steps[] = {{150, L"Size"}, {50, L"Columns"}, {360, L"Columns"}, {120, L"Size"}};
    for (const TStep& S : Steps) {
        MoveTo(S.X);
        EXPECT_EQ(HintText(), S.Shown) << S.X;
    }
}

TEST_F(CvHeaderHintTest, AMoveShowsNoHintWhileNoneIsShowing) {
    Header->SetWideHint(L"Columns");
    Section(1)->SetHint(L"Size");
    // Each way a hint on a section ends; the next moves wait for the pause again.
    const std::function<void()> Ends[] = {
        [&] {
            Send(WM_LBUTTONDOWN, MK_LBUTTON, At(150, 5));
            Send(WM_LBUTTONUP, 0, At(150, 5));
        },
        [&] {
            App->HintHidePause = 30;
            App->ActivateHint(Cursor); // again, now with a timeout
            ASSERT_EQ(HintText(), L"Size");
            EXPECT_TRUE(PumpUntil([&] { return HintText() == L"(hidden)"; }));
            App->HintHidePause = 0;
        },
        [&] { App->CancelHint(); },
    };
    int Index = 0;
    for (const auto& End : Ends) {
        SCOPED_TRACE(Index++);
        MoveTo(150);
        App->ActivateHint(Cursor);
        ASSERT_EQ(HintText(), L"Size");
        ASSERT_EQ(Header->HintSection(), Section(1));
        End();
        ASSERT_EQ(HintText(), L"(hidden)");
        for (const int X : {50, 350, 150}) {
            MoveTo(X);
            EXPECT_EQ(HintText(), L"(hidden)") << X;
        }
    }
}

TEST_F(CvHeaderHintTest, ASectionsHintShowsAfterThePauseWhenTheHeaderHasNone) {
    Section(1)->SetHint(L"Size|in bytes");
    ASSERT_TRUE(Header->Hint.empty());
    App->HintPause = 30;
    MoveTo(150);
    ASSERT_TRUE(PumpUntil([&] { return HintText() != L"(hidden)"; }));
    EXPECT_EQ(HintText(), L"Size|in bytes");
    EXPECT_EQ(Header->HintSection(), Section(1));
    // Onto a section without one: the header has none to give either.
    MoveTo(50);
    EXPECT_EQ(HintText(), L"(hidden)");
    // With hints off on the header nothing shows, from its own text or a section's.
    Header->SetShowHint(false);
    App->CancelHint();
    MoveTo(150);
    EXPECT_FALSE(PumpUntil([&] { return HintText() != L"(hidden)"; }));
}
