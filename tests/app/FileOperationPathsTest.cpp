// Every file operation acts on exactly the entry it names: awkward names, links, hard links and
// long paths through the walk, sizes, the empty-folder search, emptying, shredding, split and
// combine.
#include "app/FileSplitter.h"
#include "app/QRVUtils.h"
#include "app/TreeSearchEngine.h"

#include "tests/app/QRVUtilsTestSupport.h"
#include "tests/support/PathFixtures.h"
#include "tests/support/StringLines.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

class AwkwardNames : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyAwkwardFixture(Folder())) << "fixture missing";
        Before = Snapshot(Folder());
    }
    const String& Folder() const { return Tree.Path(); }
    // Snapshot() without the entries named.
    std::map<String, std::string> BeforeWithout(std::initializer_list<String> Gone) const {
        std::map<String, std::string> Left = Before;
        for (const String& Name : Gone)
            Left.erase(Name);
        return Left;
    }

    TTempFolder Tree;
    std::map<String, std::string> Before;
};

TEST_F(AwkwardNames, WalkReportsEachEntryAsItIsAndSkipsDeviceNames) {
    TTreeSearchEngine Engine;
    std::map<String, std::string> Found;
    std::vector<String> Skipped;
    Engine.OnFileFound = [&](const String& Path, const String& Name, const WIN32_FIND_DATAW&,
                             TCvTreeItem*&) {
        // The shown path, handed back to the runtime, reaches the entry that was found.
        TFileStream File(Path + Name, fmOpenRead);
        std::string Bytes(static_cast<std::size_t>(File.Size()), '\0');
        File.ReadBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
        Found[(Path + Name).substr(Folder().size())] = Bytes;
    };
    Engine.OnEntrySkipped = [&](const String& Path, const String& Name, const WIN32_FIND_DATAW&,
                                TCvTreeItem*&) { Skipped.push_back(Path + Name); };
    Engine.Search(Folder(), nullptr, true);

    EXPECT_EQ(Found, AwkwardFiles());
    EXPECT_EQ(Skipped, std::vector<String>{Folder() + AwkwardDeviceFile});
}

TEST_F(AwkwardNames, SizeAndEmptyFolderSearchSeeTheEntriesThemselves) {
    std::int64_t Bytes = 0, Files = 0;
    GetFolderSize(Folder() + L"sub.", true, Bytes, Files);
    EXPECT_EQ(Bytes, 1);
    EXPECT_EQ(Files, 1);

    ASSERT_TRUE(DeleteFileW(Raw(Folder() + L"sub.\\b.tmp").c_str()));
    TStringList Empty;
    const bool Stop = false;
    FindEmptyFolders(Folder(), Empty, Stop);
    EXPECT_EQ(Lines(Empty), std::vector<String>{Folder() + L"sub."});
}

TEST_F(AwkwardNames, EmptyingDeletesExactlyTheEntriesAndCountsNoDeviceName) {
    // Emptying "sub." leaves its neighbour "sub" alone.
    EXPECT_EQ(DeleteFolderFiles(Folder() + L"sub.", true, true), 1);
    EXPECT_EQ(Snapshot(Folder()), BeforeWithout({L"sub.\\", L"sub.\\b.tmp"}));

    TStringList Skipped;
    EXPECT_EQ(DeleteFolderFiles(Folder(), false, true, &Skipped),
              static_cast<std::int64_t>(AwkwardFiles().size()) - 1);
    EXPECT_EQ(Lines(Skipped), std::vector<String>{Folder() + AwkwardDeviceFile});
    const std::map<String, std::string> Left = {{AwkwardDeviceFile, "device"}};
    EXPECT_EQ(Snapshot(Folder()), Left);
}

TEST_F(AwkwardNames, ShredDestroysExactlyTheNamedFile) {
    for (const auto& [Name, Bytes] : AwkwardFiles()) {
        SCOPED_TRACE(ToUtf8(Name));
        const std::map<String, std::string> Others = Snapshot(Folder());
        EXPECT_TRUE(ShredFile(Folder() + Name));
        std::map<String, std::string> Expected = Others;
        Expected.erase(Name);
        EXPECT_EQ(Snapshot(Folder()), Expected);
    }
}

TEST_F(AwkwardNames, ShredRefusesDeviceNamesAndLeavesEveryByte) {
    EXPECT_THROW(ShredFile(Folder() + AwkwardDeviceFile), Exception);
    EXPECT_THROW(ShredFile(Folder() + L"nul .txt"), Exception);
    EXPECT_EQ(Snapshot(Folder()), Before);
}

TEST(ShredContract, HardLinkedFileIsRefusedAndBothNamesKeepTheirBytes) {
    TTempFolder Tree;
    const String First = Tree.AddFile(L"first.doc", "shared data");
    const String Second = Tree.Path() + L"second.doc";
    ASSERT_TRUE(CreateHardLinkW(Second.c_str(), First.c_str(), nullptr));

    EXPECT_THROW(ShredFile(First), Exception);
    EXPECT_THROW(ShredFile(Second), Exception);
    EXPECT_EQ(ReadBytes(First), "shared data");
    EXPECT_EQ(ReadBytes(Second), "shared data");
}

TEST(ShredContract, FailedFinalDeleteRaisesAndMissingFileIsNotShredded) {
    TTempFolder Tree;
    const String File = Tree.AddFile(L"held.doc", "secret");
    // Another program opens the file between the last pass and the delete.
    class THolder : public TShredProgress {
    public:
        explicit THolder(const String& Path) : FPath(Path) {}
        ~THolder() override {
            if (FHeld != INVALID_HANDLE_VALUE)
                CloseHandle(FHeld);
        }
        void SetRange(std::int64_t Max, std::int64_t) override {
            if (Max == 0 && FHeld == INVALID_HANDLE_VALUE)
                FHeld = CreateFileW(FPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        }
        void StepBy(std::int64_t) override {}

    private:
        String FPath;
        HANDLE FHeld = INVALID_HANDLE_VALUE;
    };
    {
        THolder Holder(File);
        EXPECT_THROW(ShredFile(File, &Holder), Exception);
    }
    EXPECT_TRUE(PathPresent(File));

    EXPECT_FALSE(ShredFile(Tree.Path() + L"missing.doc"));
    EXPECT_FALSE(ShredFile(L""));
}

// A tree whose only way to the canary is a folder link: nothing done inside it changes a byte
// behind the link. (Under wine a Unix link to a file shows as a plain file and deleting it
// removes its target, so file links are left out here; on Windows they carry the reparse
// attribute that ShredFile and the emptying refuse or skip.)
TEST(LinkCanary, NothingBehindALinkChanges) {
    const String Fixtures = PathFixtures();
    ASSERT_FALSE(Fixtures.empty()) << "QRV_FIXTURES is not set";
    const String Canary = Fixtures + L"canary\\data\\";
    const String Tree = Fixtures + L"canary-tree\\";
    const std::map<String, std::string> Before = Snapshot(Canary);
    ASSERT_EQ(Before.size(), 4u) << "fixture missing";

    TTempFolder Own;
    const String HardLink = Own.Path() + L"hard.txt";
    ASSERT_TRUE(CreateHardLinkW(HardLink.c_str(), (Canary + L"file.txt").c_str(), nullptr));

    TTreeSearchEngine Engine;
    int Reported = 0;
    Engine.OnFileFound = [&](const String&, const String&, const WIN32_FIND_DATAW&, TCvTreeItem*&) {
        ++Reported;
    };
    Engine.Search(Tree, nullptr, true);
    EXPECT_EQ(Reported, 0);

    std::int64_t Bytes = 0, Files = 0;
    GetFolderSize(Tree, true, Bytes, Files);
    EXPECT_EQ(Files, 0);

    TStringList Empty;
    const bool Stop = false;
    FindEmptyFolders(Tree, Empty, Stop);
    EXPECT_EQ(Empty.Count(), 0);

    EXPECT_EQ(DeleteFolderFiles(Tree + L"to-canary", true, true), 0);
    EXPECT_EQ(DeleteFolderFiles(Tree, false, true), 0);
    EXPECT_THROW(ShredFile(Tree + L"to-canary"), Exception);
    EXPECT_THROW(ShredFile(HardLink), Exception);
    // Emptying removes the second name only; the data stays with the first.
    EXPECT_EQ(DeleteFolderFiles(Own.Path(), false, true), 1);

    EXPECT_EQ(Snapshot(Canary), Before);
    EXPECT_TRUE(PathPresent(Tree + L"to-canary"));
}

// Under wine a link to a file looks like a plain file; emptying its folder leaves the link and
// its target alone and names it skipped, while the plain file beside it goes.
TEST(LinkCanary, AFileLinkInAnEmptiedFolderStaysWithItsTarget) {
    const String FileLinks = FileLinkFixtures();
    ASSERT_FALSE(FileLinks.empty()) << "QRV_FIXTURES is not set";
    const String Folder = FileLinks + L"to-empty\\";
    const String Plain = Folder + L"plain.tmp";
    WriteBytes(Raw(Plain), "plain");

    TStringList Skipped;
    EXPECT_EQ(DeleteFolderFiles(Folder, false, true, &Skipped), 1);
    EXPECT_FALSE(PathPresent(Plain));
    EXPECT_TRUE(PathPresent(Folder + L"link.tmp"));
    EXPECT_EQ(ReadBytes(Raw(FileLinks + L"targets\\empty.tmp")), "target empty");
    EXPECT_EQ(Lines(Skipped), std::vector<String>{Folder + L"link.tmp"});
}

// Paths of 300 and 1,000 characters whose last folder ends in a dot: only the extended form
// reaches it, which wine (ignoring MAX_PATH) would not show otherwise.
class LongPaths : public ::testing::TestWithParam<std::size_t> {
protected:
    void SetUp() override {
        Deep = Tree.Path();
        for (int Step = 0; Deep.size() + 120 < GetParam(); ++Step) {
            Deep += String(50, static_cast<wchar_t>(L'a' + Step % 26)) + L"\\";
            ASSERT_TRUE(CreateDirectoryW(Raw(Deep).c_str(), nullptr));
        }
        // Padded so that the last folder's path is exactly as long as asked.
        Deep += String(GetParam() - Deep.size() - 7, L'p') + L"\\";
        ASSERT_TRUE(CreateDirectoryW(Raw(Deep).c_str(), nullptr));
        Deep += L"last.\\";
        ASSERT_TRUE(CreateDirectoryW(Raw(Deep).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(Raw(Deep + L"empty").c_str(), nullptr));
        WriteBytes(Raw(Deep + L"data.bin"), std::string(5000, 'd'));
        WriteBytes(Raw(Deep + L"x."), "dot");
        ASSERT_EQ(Deep.size(), GetParam());
    }

    TTempFolder Tree;
    String Deep;
};

TEST_P(LongPaths, EveryOperationReachesTheEntry) {
    std::vector<String> Walked;
    TTreeSearchEngine Engine;
    Engine.OnFileFound = [&](const String& Path, const String& Name, const WIN32_FIND_DATAW&,
                             TCvTreeItem*&) { Walked.push_back(Path + Name); };
    Engine.Search(Tree.Path(), nullptr, true);
    std::sort(Walked.begin(), Walked.end());
    EXPECT_EQ(Walked, (std::vector<String>{Deep + L"data.bin", Deep + L"x."}));

    std::int64_t Bytes = 0, Files = 0;
    GetFolderSize(Deep, false, Bytes, Files);
    EXPECT_EQ(Bytes, 5003);
    EXPECT_EQ(Files, 2);

    TStringList Empty;
    const bool Stop = false;
    FindEmptyFolders(Tree.Path(), Empty, Stop);
    EXPECT_EQ(Lines(Empty), std::vector<String>{Deep + L"empty"});

    TFileSplitter Splitter(nullptr);
    Splitter.Size = 2048;
    Splitter.BufferSize = 2048;
    Splitter.SetFileName(Deep + L"data.bin");
    ASSERT_TRUE(Splitter.Split());
    EXPECT_TRUE(FileExists(Deep + L"data.002"));
    TFileSplitter Joiner(nullptr);
    Joiner.SetSplitFileName(Deep + L"data.SPL");
    Joiner.SetFileName(Deep + L"joined.bin");
    EXPECT_EQ(Joiner.Combine(), 3);
    EXPECT_EQ(ReadBytes(Raw(Deep + L"joined.bin")), std::string(5000, 'd'));

    EXPECT_TRUE(ShredFile(Deep + L"x."));
    EXPECT_FALSE(PathPresent(Raw(Deep + L"x.")));
    EXPECT_EQ(DeleteFolderFiles(Deep, true, true), 5);
    EXPECT_FALSE(PathPresent(Raw(Deep)));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongPaths, ::testing::Values(300, 1000));

} // namespace
