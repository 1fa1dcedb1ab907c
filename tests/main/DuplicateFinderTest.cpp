#include "main/DuplicateFinder.h"

#include "tests/main/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct TAdded {
    const wchar_t* Folder;
    const wchar_t* Name;
    std::uint64_t Size;
};

// Group name -> (count, total), in list order.
struct TGroupSeen {
    String Name;
    int Count;
    std::uint64_t Total;
    bool operator==(const TGroupSeen&) const = default;
};

std::vector<TGroupSeen> Grouped(bool ByNameAndSize, std::initializer_list<TAdded> Files) {
    TSafetyRule Safety;
    TDuplicateGroups Groups(Safety);
    Groups.ByNameAndSize = ByNameAndSize;
    Groups.Clear();
    for (const TAdded& F : Files)
        Groups.AddFile(F.Folder, F.Name, F.Size, FILETIME{});
    Groups.PostPass(nullptr, String(), String());
    std::vector<TGroupSeen> Seen;
    for (const TFile* G : Groups.Groups())
        Seen.push_back({G->Name, G->CopyCount, G->GroupSize});
    return Seen;
}

TEST(DuplicateGroups, BySizeAndByNameAlone) {
    struct TCase {
        bool ByNameAndSize;
        std::initializer_list<TAdded> Files;
        std::vector<TGroupSeen> Expected;
    } const Cases[] = {
        {true,
         {{L"C:\\a", L"x.txt", 10}, {L"C:\\b", L"x.txt", 10}, {L"C:\\c", L"x.txt", 20}},
         {{L"x.txt", 2, 20}}},
        {false,
         {{L"C:\\a", L"x.txt", 10}, {L"C:\\b", L"x.txt", 10}, {L"C:\\c", L"x.txt", 20}},
         {{L"x.txt", 3, 40}}},
        // A later file of an older group's size joins that group, not a new one.
        {true,
         {{L"C:\\a", L"x.txt", 10}, {L"C:\\b", L"x.txt", 20}, {L"C:\\c", L"x.txt", 10}},
         {{L"x.txt", 2, 20}}},
        {true,
         {{L"C:\\a", L"x.txt", 10},
          {L"C:\\b", L"x.txt", 20},
          {L"C:\\c", L"x.txt", 10},
          {L"C:\\d", L"x.txt", 20}},
         {{L"x.txt", 2, 40}, {L"x.txt", 2, 20}}},
        {true, {{L"C:\\a", L"only.txt", 1}}, {}},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(Grouped(C.ByNameAndSize, C.Files), C.Expected);
}

TEST(DuplicateGroups, LettersAToZFoldOtherCharactersDoNot) {
    const std::vector<TGroupSeen> Seen = Grouped(false, {
                                                            {L"C:\\a", L"Readme.TXT", 1},
                                                            {L"C:\\b", L"rEADME.txt", 2},
                                                            {L"C:\\a", L"\u00E9t\u00E9.doc", 1},
                                                            {L"C:\\b", L"\u00C9T\u00C9.doc", 1},
                                                            {L"C:\\a", L"zeta", 1},
                                                            {L"C:\\b", L"Zeta", 1},
                                                            {L"C:\\a", L"7zip.log", 1},
                                                            {L"C:\\b", L"7ZIP.LOG", 1},
                                                            {L"C:\\a", L"_tmp", 1},
                                                            {L"C:\\b", L"_TMP", 1},
                                                            {L"C:\\a", L"\u00FCber", 1},
                                                            {L"C:\\b", L"\u00FCBER", 1},
                                                            {L"C:\\a", L"\u4E2D.txt", 1},
                                                            {L"C:\\b", L"\u4E2D.TXT", 1},
                                                        });
    // By first character: digits, letters, "_", then the characters above 127.
    EXPECT_EQ(Seen, (std::vector<TGroupSeen>{{L"7zip.log", 2, 2},
                                             {L"Readme.TXT", 2, 3},
                                             {L"zeta", 2, 2},
                                             {L"_tmp", 2, 2},
                                             {L"\u00FCber", 2, 2},
                                             {L"\u4E2D.txt", 2, 2}}));
}

TEST(DuplicateGroups, NewestGroupOfACharacterComesFirst) {
    const std::vector<TGroupSeen> Seen = Grouped(true, {{L"C:\\a", L"apple", 1},
                                                        {L"C:\\a", L"avocado", 1},
                                                        {L"C:\\b", L"apple", 1},
                                                        {L"C:\\b", L"avocado", 1},
                                                        {L"C:\\c", L"banana", 1},
                                                        {L"C:\\d", L"banana", 1}});
    EXPECT_EQ(Seen,
              (std::vector<TGroupSeen>{{L"avocado", 2, 2}, {L"apple", 2, 2}, {L"banana", 2, 2}}));
}

TEST(DuplicateGroups, GroupListSortsByGroupSize) {
    TFile Small, Large;
    Small.GroupSize = 10;
    Large.GroupSize = 5ULL << 32;
    EXPECT_LT(CompareDuplicateGroups(&Small, &Large), 0);
    EXPECT_GT(CompareDuplicateGroups(&Large, &Small), 0);
    EXPECT_EQ(CompareDuplicateGroups(&Small, &Small), 0);
    EXPECT_NE(GroupSizeText(Large), GroupSizeText(Small));
}

// ------------------------------------------------------------- the mode

class DuplicateFinderTest : public ::testing::Test {
protected:
    DuplicateFinderTest() {
        F.Core->ScanPaths.Clear();
        F.Core->ScanPaths.AddFolder(F.Tree.Path() + L"scan");
    }

    void Scan() {
        Finder.Enter();
        EXPECT_EQ(F.Core->Flow.Mode(), mdDuplicateFiles);
        F.Core->Flow.ShowPage(pgCleanOptions);
        F.Core->Next();
    }

    std::vector<String> ResultNames() const {
        std::vector<String> Names;
        for (int I = 0; I < F.Core->Results.Count(); ++I)
            Names.push_back(F.Core->Results.File(I).FullName().substr(F.Tree.Path().size()));
        return Names;
    }

    TCoreFixture F{"sDuplicateFilesSelecting=Selecting\r\n"
                   "sDuplicateFilesPreparing=Preparing\r\n"};
    TDuplicateFinder Finder{*F.Core, *F.Context, &F.Progress};
};

TEST_F(DuplicateFinderTest, ScanGroupsAndShowsTheFirstGroupsFiles) {
    F.Tree.AddFile(L"scan\\a\\report.doc", std::string(10, 'x'));
    F.Tree.AddFile(L"scan\\b\\REPORT.doc", std::string(10, 'y'));
    F.Tree.AddFile(L"scan\\c\\report.doc", std::string(20, 'z'));
    F.Tree.AddFile(L"scan\\c\\single.txt", "s");

    Scan();
    EXPECT_EQ(F.Core->Flow.Page(), pgScanResults);
    ASSERT_EQ(Finder.Groups().size(), 1u);
    const TFile& Group = *Finder.Groups()[0];
    EXPECT_EQ(Group.CopyCount, 2);
    EXPECT_EQ(Group.GroupSize, 20u);
    EXPECT_EQ(ResultNames().size(), 2u);
    EXPECT_EQ(F.Progress.Labels, (std::vector<String>{L"Selecting", L"Preparing"}));
    EXPECT_FALSE(F.Progress.Running);

    Finder.ByNameAndSize = false;
    F.Core->Flow.ShowPage(pgCleanOptions);
    F.Core->Next();
    ASSERT_EQ(Finder.Groups().size(), 1u);
    EXPECT_EQ(Finder.Groups()[0]->CopyCount, 3);
    EXPECT_EQ(Finder.Groups()[0]->GroupSize, 40u);
}

TEST_F(DuplicateFinderTest, SelectionListsOnlyFilesStillOnDisk) {
    F.Tree.AddFile(L"scan\\a\\same.bin", "1");
    const String Second = F.Tree.AddFile(L"scan\\b\\same.bin", "2");
    F.Tree.AddFile(L"scan\\c\\same.bin", "3");
    Scan();
    ASSERT_EQ(Finder.Groups().size(), 1u);
    ASSERT_EQ(ResultNames().size(), 3u);

    // A row removed from the results leaves the group's own records alone.
    F.Core->Results.Delete(0);
    ASSERT_TRUE(DeleteFileW(Second.c_str()));
    Finder.SelectGroup(0);
    const std::vector<String> Names = ResultNames();
    EXPECT_EQ(Names.size(), 2u);
    EXPECT_EQ(std::count(Names.begin(), Names.end(), L"scan\\b\\same.bin"), 0);
    for (int I = 0; I < F.Core->Results.Count(); ++I)
        EXPECT_EQ(F.Core->Results.File(I).CopyCount, 1);
}

TEST_F(DuplicateFinderTest, AllowedNamesNeverGroup) {
    for (const wchar_t* Folder : {L"a", L"b"}) {
        F.Tree.AddFile(L"scan\\" + String(Folder) + L"\\lib.dll", "d");
        F.Tree.AddFile(L"scan\\" + String(Folder) + L"\\keep.txt", "k");
        F.Tree.AddFile(L"scan\\" + String(Folder) + L"\\twice.txt", "t");
    }
    EXPECT_TRUE(Finder.AddAllowed(L"*.dll"));
    EXPECT_TRUE(Finder.AddAllowed(L"keep.txt"));
    EXPECT_FALSE(Finder.AddAllowed(L"  "));
    EXPECT_EQ(Finder.Allowed().Names(), (std::vector<String>{L"*.dll", L"keep.txt"}));
    EXPECT_EQ(F.Core->AllowedDuplicateMasks, L"*.dll; keep.txt");

    Scan();
    ASSERT_EQ(Finder.Groups().size(), 1u);
    EXPECT_EQ(Finder.Groups()[0]->Name, L"twice.txt");

    // The first record of exactly that text goes.
    EXPECT_FALSE(Finder.DeleteAllowed(L"KEEP.TXT"));
    EXPECT_TRUE(Finder.DeleteAllowed(L"keep.txt"));
    EXPECT_EQ(F.Core->AllowedDuplicateMasks, L"*.dll");
    F.Core->Flow.ShowPage(pgCleanOptions);
    F.Core->Next();
    EXPECT_EQ(Finder.Groups().size(), 2u);
}

TEST_F(DuplicateFinderTest, NoDuplicatesEndsWithTheNothingFoundNotice) {
    F.Tree.AddFile(L"scan\\a\\one.txt", "1");
    F.Tree.AddFile(L"scan\\b\\two.txt", "2");
    Scan();
    EXPECT_TRUE(Finder.Groups().empty());
    EXPECT_EQ(F.Core->Results.Count(), 0);
    EXPECT_EQ(F.Prompt.Asked.size(), 1u);
}

} // namespace
