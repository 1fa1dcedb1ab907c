#include "tests/treelist/TreeControlSupport.h"
#include "tests/treelist/TreeTestSupport.h"
#include "treelist/CvTreeSearch.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <string>
#include <vector>

namespace {

class CvTreeSearchTest : public TreeTest {
protected:
    // Tab-indented lines, everything collapsed, the view 5 rows high.
    void Fill(const std::vector<TCvString>& Lines) {
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Tree->TreeView().SetBounds(0, 0, 200, 85);
        Tree->Items().AssignLines(Lines);
        Tree->TreeView().FillRows(0);
    }
    TCvTreeItem* Find(const TCvString& Text) const {
        for (int I = 0; I < Tree->Items().TotalCount(); ++I)
            if (Tree->Items().ItemAtIndex(I)->Text() == Text)
                return Tree->Items().ItemAtIndex(I);
        return nullptr;
    }
    static void Type(TCvTreeSearch& Search, const std::wstring& Keys) {
        for (const wchar_t K : Keys)
            Search.ProcessSearchKey(K);
    }
    // Pumps until the search has forgotten its text; the milliseconds that took, -1 after 2 s.
    long long MsUntilForgotten(const TCvTreeSearch& Search, ULONGLONG Since) {
        if (!PumpUntil([&] { return Search.SearchText().empty(); }, 1))
            return -1;
        return static_cast<long long>(GetTickCount64() - Since);
    }
};

TEST(CvTreeSearchMatch, PrefixComparesWithoutCaseAndShortTextsWhole) {
    struct TCase {
        const wchar_t* Text;
        const char* Prefix;
        bool Match;
    };
    const TCase Cases[] = {
        {L"Bravo", "br", true},  {L"Bravo", "BR", true}, {L"bravo", "Bra", true},
        {L"Bravo", "bx", false}, {L"Br", "bra", false}, // shorter than the prefix
        {L"", "a", false},       {L"Bravo", "", false},  {L"Bravo", "bravo", true},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(SearchPrefixMatches(C.Text, C.Prefix), C.Match)
            << Narrow(C.Text) << " / " << C.Prefix;
}

TEST_F(CvTreeSearchTest, KeySequencesFocusTheFirstMatchAndKeepTheirText) {
    struct TCase {
        const wchar_t* Keys;
        const char* Text;     // the search text afterwards
        const wchar_t* Focus; // the focused item afterwards, null for none
    };
    const TCase Cases[] = {
        {L"b", "b", L"Beta"},
        {L"bR", "bR", L"Bravo"}, // the text keeps the case typed
        {L"BRE", "BRE", L"bread"},
        {L"brx", "brx", L"Bravo"}, // no match: the focus stays, the text is kept
        {L"x", "x", nullptr},
        {L"bre\b", "br", L"Bravo"},       // Backspace searches again for what is left
        {L"\b", "", nullptr},             // Backspace on nothing does nothing
        {L"b \t\r\x01r", "br", L"Bravo"}, // space and control characters never enter
        {L"br\x1b", "", L"Bravo"},        // Escape forgets the text, the focus stays
    };
    Fill({L"Alpha", L"Beta", L"Bravo", L"bread", L"Charlie"});
    for (const TCase& C : Cases) {
        Tree->SetFocusedItem(nullptr);
        TCvTreeSearch Search(*Tree);
        Type(Search, C.Keys);
        EXPECT_EQ(Search.SearchText(), C.Text) << Narrow(C.Keys);
        TCvTreeItem* Focused = Tree->GetFocusedItem();
        EXPECT_EQ(Focused ? Narrow(Focused->Text()) : "-", C.Focus ? Narrow(C.Focus) : "-")
            << Narrow(C.Keys);
    }
}

TEST_F(CvTreeSearchTest, AMatchUnderACollapsedParentIsExpandedAndScrolledIntoView) {
    Fill({L"A1", L"A2", L"A3", L"A4", L"A5", L"A6", L"Top", L"\tMiddle", L"\t\tDeep one"});
    ASSERT_FALSE(Find(L"Top")->IsExpanded());
    int Changes = 0;
    Tree->OnAfterSelectionChange = [&](TCvTreeCore*) { ++Changes; };
    TCvTreeSearch Search(*Tree);
    Type(Search, L"d");
    TCvTreeItem* Deep = Find(L"Deep one");
    EXPECT_EQ(Tree->GetFocusedItem(), Deep);
    EXPECT_TRUE(Find(L"Top")->IsExpanded());
    EXPECT_TRUE(Find(L"Middle")->IsExpanded());
    // Scrolled to the top row (the view has room for five).
    EXPECT_EQ(Tree->TopIndex(), Deep->VisIndex());
    EXPECT_GT(Tree->TopIndex(), 0);
    EXPECT_EQ(Changes, 1);
}

TEST_F(CvTreeSearchTest, InMultiSelectionTheMatchIsFocusedButNotSelectedAndEscapeDeselects) {
    Fill({L"Alpha", L"Beta", L"Gamma"});
    Tree->SetMultiSelect(true);
    Find(L"Gamma")->SetSelected(true);
    TCvTreeSearch Search(*Tree);
    Type(Search, L"b");
    EXPECT_EQ(Tree->GetFocusedItem(), Find(L"Beta"));
    EXPECT_FALSE(Find(L"Beta")->IsSelected());
    Type(Search, L"\x1b");
    EXPECT_FALSE(Find(L"Gamma")->IsSelected());
}

TEST_F(CvTreeSearchTest, CharactersReachTheSearchThroughTheWindowOnlyWhenSwitchedOn) {
    TForm* Form = NewPlainForm(*App, TRect{0, 0, 300, 200});
    auto* Owned = new TCvTree(Form);
    Owned->SetParent(Form);
    Owned->SetBounds(0, 0, 250, 150);
    Owned->Items().AssignLines(std::vector<TCvString>{L"Alpha", L"Beta"});
    Form->Show();
    const HWND Wnd = Owned->TreeView().Handle();
    SendMessageW(Wnd, WM_CHAR, L'b', 1);
    EXPECT_EQ(Owned->GetFocusedItem(), nullptr);
    Owned->IncrementalSearch = true;
    SendMessageW(Wnd, WM_CHAR, L'b', 1);
    ASSERT_NE(Owned->GetFocusedItem(), nullptr);
    EXPECT_EQ(Owned->GetFocusedItem()->Text(), L"Beta");
    EXPECT_EQ(Owned->TreeView().Search().SearchText(), "b");
}

TEST_F(CvTreeSearchTest, TheTextLivesBetweenOneAndTwoTimeoutsAfterTheLastKey) {
    constexpr int T = 80;
    // Posting the end to the window thread and the pump's step may add a little.
    constexpr int Delivery = 40;
    Fill({L"Alpha", L"Beta"});
    Tree->IncrementalSearchTimeout = T;
    TCvTreeSearch Search(*Tree);
    for (int Round = 0; Round < 3; ++Round) {
        Type(Search, L"a");
        // A second key some way into the first wait extends it.
        Sleep(T / 2);
        App->ProcessMessages();
        ASSERT_EQ(Search.SearchText(), "a");
        const ULONGLONG LastKey = GetTickCount64();
        Type(Search, L"l");
        const long long Lived = MsUntilForgotten(Search, LastKey);
        EXPECT_GE(Lived, T - 1) << "round " << Round; // the tick count's own granularity
        EXPECT_LE(Lived, 2 * T + Delivery) << "round " << Round;
        EXPECT_FALSE(Search.Waiting());
    }
    // The next key starts over: a search for that one letter alone.
    Type(Search, L"b");
    EXPECT_EQ(Search.SearchText(), "b");
    EXPECT_EQ(Tree->GetFocusedItem(), Find(L"Beta"));
}

TEST_F(CvTreeSearchTest, AKeyAfterTheWorkerDecidedToEndKeepsItsText) {
    Fill({L"Alpha", L"Beta"});
    Tree->IncrementalSearchTimeout = 10;
    TCvTreeSearch Search(*Tree);
    Type(Search, L"a");
    // The worker ends, but its end is not delivered while the window thread is busy.
    Sleep(80);
    Type(Search, L"l");
    EXPECT_TRUE(Search.Waiting());
    App->ProcessMessages(); // delivers the first worker's end
    EXPECT_EQ(Search.SearchText(), "al");
    EXPECT_TRUE(PumpUntil([&] { return Search.SearchText().empty(); }));
}

TEST(CvTreeSearchThread, KeepAliveIsRefusedOnceTheWorkerHasDecidedToEnd) {
    auto Thread = std::make_unique<TSearchTextTimeoutThread>();
    Thread->Timeout = 1;
    EXPECT_FALSE(Thread->GetKeepAlive());
    EXPECT_TRUE(Thread->SetKeepAlive(true));
    EXPECT_TRUE(Thread->GetKeepAlive());
    Thread->Start();
    Thread->WaitFor();
    EXPECT_FALSE(Thread->SetKeepAlive(true));
}

int ThreadCount() {
    int Count = 0;
    const HANDLE Snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 Entry{};
    Entry.dwSize = sizeof(Entry);
    for (BOOL More = Thread32First(Snap, &Entry); More; More = Thread32Next(Snap, &Entry))
        if (Entry.th32OwnerProcessID == GetCurrentProcessId())
            ++Count;
    CloseHandle(Snap);
    return Count;
}

TEST_F(CvTreeSearchTest, ATreeDestroyedWhileTheWorkerSleepsGetsNoCallbackAndLeavesNoThread) {
    App->ProcessMessages();
    const int Before = ThreadCount();
    for (int Round = 0; Round < 5; ++Round) {
        auto Short = std::make_unique<TCvTree>(nullptr);
        Short->IncrementalSearch = true;
        Short->IncrementalSearchTimeout = 200;
        Short->Items().AssignLines(std::vector<TCvString>{L"Alpha"});
        Short->TreeView().Search().ProcessSearchKey(L'a');
        ASSERT_TRUE(Short->TreeView().Search().Waiting());
        Short.reset();
    }
    // The workers wake at once and end; their ends reach no view.
    EXPECT_TRUE(PumpUntil([&] { return ThreadCount() <= Before; }))
        << ThreadCount() << " threads, " << Before << " before";
    Sleep(250);
    App->ProcessMessages();
}

} // namespace
