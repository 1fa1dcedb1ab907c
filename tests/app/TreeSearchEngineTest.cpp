#include "app/TreeSearchEngine.h"

#include "classlib/gui/Forms.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

// Every callback as one line: "file <path><name>", "found <path><name>", "done <path><name>".
class TWalkLog {
public:
    explicit TWalkLog(TTreeSearchEngine& Engine) {
        Engine.OnFileFound = [this](const String& Path, const String& Name,
                                    const WIN32_FIND_DATAW& FindData, TCvTreeItem*&) {
            Lines.push_back(L"file " + Path + Name);
            Sizes[Name] =
                (static_cast<int64_t>(FindData.nFileSizeHigh) << 32) | FindData.nFileSizeLow;
        };
        Engine.OnDirectoryFound = [this](TCvTreeItem*&, const String& Path,
                                         const WIN32_FIND_DATAW& FindData, const String& Name) {
            EXPECT_TRUE(FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
            Lines.push_back(L"found " + Path + Name);
        };
        Engine.OnDirectoryDone = [this](const String& Path, const String& Name,
                                        const WIN32_FIND_DATAW& FindData, TCvTreeItem*&) {
            EXPECT_EQ(Name.substr(0, Name.size() - 1), FindData.cFileName);
            Lines.push_back(L"done " + Path + Name);
        };
    }

    std::vector<String> Sorted() const {
        std::vector<String> Result = Lines;
        std::sort(Result.begin(), Result.end());
        return Result;
    }
    std::ptrdiff_t IndexOf(const String& Line) const {
        const auto It = std::find(Lines.begin(), Lines.end(), Line);
        return It == Lines.end() ? -1 : It - Lines.begin();
    }

    std::vector<String> Lines;
    std::map<String, int64_t> Sizes;
};

class TreeSearchEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        Tree.AddFile(L"a.txt", "hello");
        Tree.AddFile(L"b.dat", "");
        Tree.AddFile(L"sub1\\c.txt", "c");
        Tree.AddFile(L"sub1\\deep\\d.txt", "dd");
        Tree.AddFolder(L"sub2");
        Root = Tree.Path();
    }

    TTempFolder Tree;
    String Root;
    TTreeSearchEngine Engine;
};

TEST_F(TreeSearchEngineTest, RecursiveWalkReportsEveryEntryDepthFirst) {
    TWalkLog Log(Engine);
    Engine.Search(Root, nullptr, true);

    const std::vector<String> Expected = {
        L"done " + Root + L"sub1\\",
        L"done " + Root + L"sub1\\deep\\",
        L"done " + Root + L"sub2\\",
        L"file " + Root + L"a.txt",
        L"file " + Root + L"b.dat",
        L"file " + Root + L"sub1\\c.txt",
        L"file " + Root + L"sub1\\deep\\d.txt",
        L"found " + Root + L"sub1",
        L"found " + Root + L"sub1\\deep",
        L"found " + Root + L"sub2",
    };
    EXPECT_EQ(Log.Sorted(), Expected);

    // A folder is announced before and closed after all of its contents.
    const auto Found = Log.IndexOf(L"found " + Root + L"sub1");
    const auto Done = Log.IndexOf(L"done " + Root + L"sub1\\");
    for (const wchar_t* Inner :
         {L"file %sub1\\c.txt", L"file %sub1\\deep\\d.txt", L"done %sub1\\deep\\"}) {
        String Line = Inner;
        Line.replace(Line.find(L'%'), 1, Root);
        const auto At = Log.IndexOf(Line);
        EXPECT_LT(Found, At) << Line;
        EXPECT_LT(At, Done) << Line;
    }
    EXPECT_EQ(Log.Sizes[L"a.txt"], 5);
    EXPECT_EQ(Log.Sizes[L"d.txt"], 2);
    EXPECT_FALSE(Engine.Busy());
    EXPECT_FALSE(Engine.Stop);
}

TEST_F(TreeSearchEngineTest, TrailingBackslashMakesNoDifference) {
    const String WithoutSlash = Root.substr(0, Root.size() - 1);
    for (const bool Recursive : {false, true}) {
        TWalkLog With(Engine);
        Engine.Search(Root, nullptr, Recursive);
        TWalkLog Without(Engine);
        Engine.Search(WithoutSlash, nullptr, Recursive);
        EXPECT_FALSE(With.Lines.empty());
        EXPECT_EQ(With.Lines, Without.Lines) << "recursive " << Recursive;
    }
}

TEST_F(TreeSearchEngineTest, NonRecursiveWalkListsOnlyTheFiles) {
    TWalkLog Log(Engine);
    Engine.Search(Root, nullptr, false);
    const std::vector<String> Expected = {L"file " + Root + L"a.txt", L"file " + Root + L"b.dat"};
    EXPECT_EQ(Log.Sorted(), Expected);
}

TEST_F(TreeSearchEngineTest, MissingOrEmptyFolderGivesNoCallback) {
    TWalkLog Log(Engine);
    for (const String& Path : {Root + L"nothing-here", Root + L"a.txt", String()}) {
        Engine.Search(Path, nullptr, true);
        EXPECT_FALSE(Engine.Busy());
    }
    EXPECT_TRUE(Log.Lines.empty());
}

// Stop set by any callback ends the whole walk: no callback of any kind follows.
TEST_F(TreeSearchEngineTest, StopFromACallbackEndsTheWalk) {
    enum TWhere { InFileFound, InDirectoryFound, InDirectoryDone };
    for (const TWhere Where : {InFileFound, InDirectoryFound, InDirectoryDone}) {
        int Calls = 0;
        int CallsAtStop = -1;
        const auto Count = [&](bool StopHere) {
            ++Calls;
            if (StopHere && CallsAtStop < 0) {
                Engine.Stop = true;
                CallsAtStop = Calls;
            }
        };
        Engine.OnFileFound = [&](const String&, const String&, const WIN32_FIND_DATAW&,
                                 TCvTreeItem*&) { Count(Where == InFileFound); };
        Engine.OnDirectoryFound = [&](TCvTreeItem*&, const String&, const WIN32_FIND_DATAW&,
                                      const String&) { Count(Where == InDirectoryFound); };
        Engine.OnDirectoryDone = [&](const String&, const String&, const WIN32_FIND_DATAW&,
                                     TCvTreeItem*&) { Count(Where == InDirectoryDone); };
        Engine.Search(Root, nullptr, true);
        EXPECT_GT(CallsAtStop, 0) << "case " << Where;
        EXPECT_EQ(Calls, CallsAtStop) << "case " << Where;
        // The owner can still tell that the walk was cut short; the next one starts afresh.
        EXPECT_TRUE(Engine.Stop);
        EXPECT_FALSE(Engine.Busy());
    }
    TWalkLog Log(Engine);
    Engine.Search(Root, nullptr, true);
    EXPECT_EQ(Log.Lines.size(), 10u);
}

TEST_F(TreeSearchEngineTest, SearchFromInsideACallbackIsIgnored) {
    int Files = 0;
    Engine.OnFileFound = [&](const String&, const String&, const WIN32_FIND_DATAW&, TCvTreeItem*&) {
        EXPECT_TRUE(Engine.Busy());
        // Were it not ignored, the nested walk would report the root's files here too.
        if (++Files == 1)
            Engine.Search(Root, nullptr, true);
    };
    Engine.Search(Root + L"sub1", nullptr, false);
    EXPECT_EQ(Files, 1);
    EXPECT_FALSE(Engine.Busy());
}

TEST_F(TreeSearchEngineTest, AThrowingCallbackLeavesTheEngineUsable) {
    Engine.OnFileFound = [](const String&, const String&, const WIN32_FIND_DATAW&, TCvTreeItem*&) {
        throw std::runtime_error("callback failed");
    };
    EXPECT_THROW(Engine.Search(Root, nullptr, true), std::runtime_error);
    EXPECT_FALSE(Engine.Busy());

    TWalkLog Log(Engine);
    Engine.Search(Root, nullptr, false);
    EXPECT_EQ(Log.Lines.size(), 2u);
}

// A Stop button works because the walk lets pending window messages through
// before it lists a folder.
TEST_F(TreeSearchEngineTest, PendingMessagesAreHandledBeforeListing) {
    constexpr UINT StopMessage = WM_APP + 1;
    const auto Proc = [](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        if (Msg == StopMessage) {
            reinterpret_cast<TTreeSearchEngine*>(L)->Stop = true;
            return 0;
        }
        return DefWindowProcW(Wnd, Msg, W, L);
    };
    WNDCLASSW Class{};
    Class.lpfnWndProc = Proc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.lpszClassName = L"QrvWalkStopTest";
    RegisterClassW(&Class);
    const HWND Wnd = CreateWindowExW(0, Class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, Class.hInstance, nullptr);
    ASSERT_NE(Wnd, nullptr);

    TApplication App;
    TWalkLog Log(Engine);
    PostMessageW(Wnd, StopMessage, 0, reinterpret_cast<LPARAM>(&Engine));
    Engine.Search(Root, nullptr, true);
    DestroyWindow(Wnd);

    EXPECT_TRUE(Log.Lines.empty());
    EXPECT_TRUE(Engine.Stop);
}

// Stand-ins for tree-list rows: the engine only carries them and asks for parents.
struct TFakeItem {
    String Name;
    TFakeItem* Parent;
};

TCvTreeItem* AsItem(TFakeItem* Item) {
    return reinterpret_cast<TCvTreeItem*>(Item);
}

TFakeItem* AsFake(TCvTreeItem* Item) {
    return reinterpret_cast<TFakeItem*>(Item);
}

TEST_F(TreeSearchEngineTest, ItemsFollowTheFolders) {
    TFakeItem RootItem{L"root", nullptr};
    std::deque<TFakeItem> Items;
    std::map<String, String> ItemOfFile;
    std::map<String, String> ItemAtDone;
    Engine.ItemParent = [](TCvTreeItem* Item) { return AsItem(AsFake(Item)->Parent); };
    Engine.OnDirectoryFound = [&](TCvTreeItem*& Item, const String&, const WIN32_FIND_DATAW&,
                                  const String& Name) {
        Items.push_back({Name, AsFake(Item)});
        Item = AsItem(&Items.back());
    };
    Engine.OnFileFound = [&](const String&, const String& Name, const WIN32_FIND_DATAW&,
                             TCvTreeItem*& Item) { ItemOfFile[Name] = AsFake(Item)->Name; };
    Engine.OnDirectoryDone = [&](const String&, const String& Name, const WIN32_FIND_DATAW&,
                                 TCvTreeItem*& Item) { ItemAtDone[Name] = AsFake(Item)->Name; };
    Engine.Search(Root, AsItem(&RootItem), true);

    const std::map<String, String> ExpectedFiles = {
        {L"a.txt", L"root"}, {L"b.dat", L"root"}, {L"c.txt", L"sub1"}, {L"d.txt", L"deep"}};
    EXPECT_EQ(ItemOfFile, ExpectedFiles);
    const std::map<String, String> ExpectedDone = {
        {L"sub1\\", L"sub1"}, {L"deep\\", L"deep"}, {L"sub2\\", L"sub2"}};
    EXPECT_EQ(ItemAtDone, ExpectedDone);
}

// tests/make-fixtures.sh builds walk-links\tree with a link to a folder outside
// the tree ("away") and a link back to an ancestor ("up").
TEST(TreeSearchEngine, FolderLinksAreNeitherEnteredNorReported) {
    const wchar_t* const Fixtures = _wgetenv(L"QRV_FIXTURES");
    ASSERT_NE(Fixtures, nullptr) << "QRV_FIXTURES is not set";
    const String Tree = IncludeTrailingBackslash(Fixtures) + L"walk-links\\tree\\";
    ASSERT_TRUE(DirectoryExists(Tree + L"away")) << "fixture missing";

    TTreeSearchEngine Engine;
    TWalkLog Log(Engine);
    Engine.Search(Tree, nullptr, true);
    const std::vector<String> Expected = {
        L"done " + Tree + L"sub\\",
        L"file " + Tree + L"file.txt",
        L"file " + Tree + L"sub\\inner.txt",
        L"found " + Tree + L"sub",
    };
    EXPECT_EQ(Log.Sorted(), Expected);
}

} // namespace
