#include "app/QRVUtils.h"

#include "tests/app/QRVUtilsTestSupport.h"
#include "tests/support/StringLines.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

void SetAttributes(const String& Path, DWORD Attributes) {
    ASSERT_TRUE(SetFileAttributesW(Path.c_str(), Attributes)) << Path;
}

std::vector<String> Sorted(const TStrings& List) {
    std::vector<String> Items = Lines(List);
    std::sort(Items.begin(), Items.end());
    return Items;
}

// ------------------------------------------------------------- folder sizes

TEST(QRVUtilsFolderSize, AddsEveryFileToTheCallersCounters) {
    TTempFolder Tree;
    Tree.AddFile(L"a.bin", "0123456789");
    Tree.AddFile(L"h.bin", "hhhhh");
    SetAttributes(Tree.Path() + L"h.bin", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Tree.AddFile(L"sub\\b.bin", std::string(20, 'b'));
    Tree.AddFile(L"sub\\deep\\c.bin", "c");

    std::int64_t Bytes = 0, Files = 0;
    GetFolderSize(Tree.Path(), true, Bytes, Files);
    EXPECT_EQ(Bytes, 36);
    EXPECT_EQ(Files, 4);
    GetFolderSize(ExcludeTrailingBackslash(Tree.Path()), true, Bytes, Files);
    EXPECT_EQ(Bytes, 72);
    EXPECT_EQ(Files, 8);

    Bytes = Files = 0;
    GetFolderSize(Tree.Path(), false, Bytes, Files);
    EXPECT_EQ(Bytes, 15);
    EXPECT_EQ(Files, 2);

    GetFolderSize(Tree.Path() + L"missing", true, Bytes, Files);
    GetFolderSize(L"", true, Bytes, Files);
    EXPECT_EQ(Bytes, 15);
    EXPECT_EQ(Files, 2);
}

TEST(QRVUtilsFolderSize, CountsFilesBeyondFourGigabytes) {
    TTempFolder Tree;
    const String Big = Tree.Path() + L"big.img";
    ASSERT_TRUE(MakeFileOfSize(Big, 5LL << 30));
    Tree.AddFile(L"small.txt", "abc");

    std::int64_t Bytes = 0, Files = 0;
    GetFolderSize(Tree.Path(), true, Bytes, Files);
    EXPECT_EQ(Bytes, (5LL << 30) + 3);
    EXPECT_EQ(Files, 2);
    EXPECT_EQ(GetFileSize32(Big), static_cast<std::uint32_t>((5LL << 30) & 0xFFFFFFFF));
}

TEST(QRVUtilsFolderSize, FolderLinksAreNotMeasured) {
    const String Fixtures = UtilsFixtures();
    ASSERT_FALSE(Fixtures.empty()) << "QRV_FIXTURES is not set";
    const String Folder = Fixtures + L"sizes\\";
    ASSERT_TRUE(FolderExists(Folder + L"link")) << "fixture missing";
    const String Own = Folder + L"own.bin";
    ASSERT_TRUE(FileDelete(Own) || !PathPresent(Own));
    WriteBytes(Own, "1234567");

    std::int64_t Bytes = 0, Files = 0;
    GetFolderSize(Folder, true, Bytes, Files);
    FileDelete(Own);
    EXPECT_EQ(Bytes, 7);
    EXPECT_EQ(Files, 1);
}

// --------------------------------------------------------- emptying folders

class QRVUtilsDeleteFolderFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Tree.AddFile(L"target\\a.txt", "a");
        Tree.AddFile(L"target\\ro.txt", "r");
        SetAttributes(Folder() + L"ro.txt", FILE_ATTRIBUTE_READONLY);
        Tree.AddFile(L"target\\hs.txt", "h");
        SetAttributes(Folder() + L"hs.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        Tree.AddFile(L"target\\sub\\b.txt", "b");
        Tree.AddFile(L"target\\sub\\deep\\c.txt", "c");
        Tree.AddFolder(L"target\\empty");
    }
    String Folder() const { return Tree.Path() + L"target\\"; }

    TTempFolder Tree;
};

TEST_F(QRVUtilsDeleteFolderFiles, RecursiveEmptiesEverythingButTheFolder) {
    EXPECT_EQ(DeleteFolderFiles(Folder(), false, true), 5);
    EXPECT_TRUE(FolderExists(Folder()));
    EXPECT_TRUE(IsFolderEmpty(Folder()));
}

TEST_F(QRVUtilsDeleteFolderFiles, RemoveFolderTakesTheEmptiedFolderToo) {
    EXPECT_EQ(DeleteFolderFiles(ExcludeTrailingBackslash(Folder()), true, true), 5);
    EXPECT_FALSE(PathPresent(Folder()));
}

TEST_F(QRVUtilsDeleteFolderFiles, NonRecursiveKeepsFilesBelow) {
    EXPECT_EQ(DeleteFolderFiles(Folder(), true, false), 3);
    EXPECT_TRUE(PathPresent(Folder() + L"sub\\deep\\c.txt"));
    EXPECT_FALSE(PathPresent(Folder() + L"empty"));
    EXPECT_FALSE(PathPresent(Folder() + L"a.txt"));
    EXPECT_TRUE(FolderExists(Folder())); // not empty, so it stays
}

TEST_F(QRVUtilsDeleteFolderFiles, FileThatCannotBeDeletedIsNotCounted) {
    const String Locked = Folder() + L"sub\\b.txt";
    const HANDLE File = CreateFileW(Locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(File, INVALID_HANDLE_VALUE);
    const std::int64_t Deleted = DeleteFolderFiles(Folder(), false, true);
    CloseHandle(File);
    EXPECT_EQ(Deleted, 4);
    EXPECT_TRUE(PathPresent(Locked));
    EXPECT_FALSE(PathPresent(Folder() + L"sub\\deep"));
}

TEST(QRVUtilsDeleteFolderFilesRefusals, RootsWindowsAndVaguePathsAreLeftAlone) {
    const String Fixtures = UtilsFixtures();
    ASSERT_FALSE(Fixtures.empty()) << "QRV_FIXTURES is not set";
    TTempFolder Current;
    Current.AddFile(L"sentinel.txt", "s");
    const String PreviousDir = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(Current.Path()));

    const String Windows = GetWindowsFolder();
    const String RootSentinel = L"C:\\qrvutils-sentinel.txt";
    const String WindowsSentinel = Windows + L"\\qrvutils-sentinel.txt";
    for (const String& Sentinel : {RootSentinel, WindowsSentinel})
        WriteBytes(Sentinel, "s");

    const String Refused[] = {
        L"",
        L"sentinel-folder",
        L"C:",
        L"C:\\",
        L"C:\\.",
        L"c:/",
        Windows,
        AnsiUpperCase(Windows) + L"\\",
        Windows + L"\\system32\\..",
        L"\\\\server\\share",
        // Other spellings and links of the same folders (see tests/make-fixtures.sh).
        L"\\\\?\\" + Windows,
        L"\\\\.\\" + Windows,
        L"\\\\?\\C:\\",
        L"W:\\" + ExtractFileName(Windows),
        L"W:\\",
        Fixtures + L"..\\..\\wineprefix\\drive_c\\" + ExtractFileName(Windows),
        Fixtures + L"..\\paths\\to-windows",
        Fixtures + L"..\\paths\\to-c-root",
    };
    for (const String& Folder : Refused)
        EXPECT_EQ(DeleteFolderFiles(Folder, false, false), 0) << Folder;

    EXPECT_TRUE(PathPresent(RootSentinel));
    EXPECT_TRUE(PathPresent(WindowsSentinel));
    EXPECT_TRUE(PathPresent(Current.Path() + L"sentinel.txt"));
    FileDelete(RootSentinel);
    FileDelete(WindowsSentinel);
    SetCurrentDir(PreviousDir);
}

TEST(QRVUtilsDeleteFolderFilesLinks, FolderLinkIsNeitherEnteredNorRemoved) {
    const String Fixtures = UtilsFixtures();
    ASSERT_FALSE(Fixtures.empty()) << "QRV_FIXTURES is not set";
    const String Folder = Fixtures + L"clean\\";
    ASSERT_TRUE(FolderExists(Folder + L"link")) << "fixture missing";
    ASSERT_TRUE(PathPresent(Fixtures + L"outside\\keep.txt")) << "fixture missing";
    WriteBytes(Folder + L"own.txt", "o");
    ForceDirectories(Folder + L"own");
    WriteBytes(Folder + L"own\\inner.txt", "i");

    EXPECT_EQ(DeleteFolderFiles(Folder, false, true), 2);
    EXPECT_TRUE(FolderExists(Folder + L"link"));
    EXPECT_TRUE(PathPresent(Fixtures + L"outside\\keep.txt"));
    EXPECT_FALSE(PathPresent(Folder + L"own"));
}

// ------------------------------------------------------------------ listing

TEST(QRVUtilsListFolderFiles, ListsNamesMatchingTheMask) {
    TTempFolder Tree;
    Tree.AddFile(L"a.txt", "a");
    Tree.AddFile(L"b.log", "b");
    Tree.AddFolder(L"sub");
    TStringList List;

    EXPECT_TRUE(ListFolderFiles(ExcludeTrailingBackslash(Tree.Path()), L"*.*", List));
    EXPECT_EQ(Sorted(List), (std::vector<String>{L".", L"..", L"a.txt", L"b.log", L"sub"}));

    EXPECT_TRUE(ListFolderFiles(Tree.Path(), L"*.txt", List));
    EXPECT_EQ(Sorted(List), std::vector<String>{L"a.txt"});

    EXPECT_FALSE(ListFolderFiles(Tree.Path(), L"*.none", List));
    EXPECT_EQ(List.Count(), 0);
    List.Add(L"stale");
    EXPECT_FALSE(ListFolderFiles(Tree.Path() + L"missing", L"*.*", List));
    EXPECT_EQ(List.Count(), 0);
}

// ------------------------------------------------------------ empty folders

TEST(QRVUtilsEmptyFolders, IsFolderEmpty) {
    TTempFolder Tree;
    Tree.AddFolder(L"empty");
    Tree.AddFile(L"hidden\\h.txt", "h");
    SetAttributes(Tree.Path() + L"hidden\\h.txt", FILE_ATTRIBUTE_HIDDEN);
    Tree.AddFolder(L"parent\\child");

    EXPECT_TRUE(IsFolderEmpty(Tree.Path() + L"empty"));
    EXPECT_TRUE(IsFolderEmpty(Tree.Path() + L"empty\\"));
    EXPECT_FALSE(IsFolderEmpty(Tree.Path() + L"hidden"));
    EXPECT_FALSE(IsFolderEmpty(Tree.Path() + L"parent"));
    EXPECT_FALSE(IsFolderEmpty(Tree.Path() + L"missing"));
}

TEST(QRVUtilsEmptyFolders, FindsEmptyFoldersDepthFirst) {
    TTempFolder Tree;
    Tree.AddFolder(L"e1");
    Tree.AddFile(L"full\\x.txt", "x");
    Tree.AddFolder(L"full\\e2");
    Tree.AddFolder(L"nest\\inner");
    Tree.AddFolder(L"hidden\\e3");
    SetAttributes(Tree.Path() + L"hidden", FILE_ATTRIBUTE_HIDDEN);
    Tree.AddFolder(L"system");
    SetAttributes(Tree.Path() + L"system", FILE_ATTRIBUTE_SYSTEM);
    const String Root = Tree.Path();

    TStringList List;
    List.Add(L"kept");
    const bool Stop = false;
    FindEmptyFolders(ExcludeTrailingBackslash(Root), List, Stop);
    EXPECT_EQ(Sorted(List), (std::vector<String>{Root + L"e1", Root + L"full\\e2",
                                                 Root + L"nest\\inner", L"kept"}));
}

TEST(QRVUtilsEmptyFolders, StopEndsTheSearch) {
    TTempFolder Tree;
    Tree.AddFolder(L"e1");
    Tree.AddFolder(L"e2");
    TStringList List;
    const bool Stop = true;
    FindEmptyFolders(Tree.Path(), List, Stop);
    EXPECT_EQ(List.Count(), 0);
}

TEST(QRVUtilsEmptyFolders, FolderLinkIsNotReported) {
    const String Fixtures = UtilsFixtures();
    ASSERT_FALSE(Fixtures.empty()) << "QRV_FIXTURES is not set";
    const String Folder = Fixtures + L"scan\\";
    ASSERT_TRUE(FolderExists(Folder + L"link-to-empty")) << "fixture missing";
    ForceDirectories(Folder + L"own-empty");

    TStringList List;
    const bool Stop = false;
    FindEmptyFolders(Folder, List, Stop);
    RemoveDir(Folder + L"own-empty");
    EXPECT_EQ(Sorted(List), std::vector<String>{Folder + L"own-empty"});
}

} // namespace
