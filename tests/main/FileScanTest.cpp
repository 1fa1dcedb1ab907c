#include "main/FileScan.h"

#include "app/QRVUtils.h"
#include "main/ScanResults.h"
#include "main/ScanSetup.h"
#include "tests/main/ScanTestSupport.h"
#include "tests/support/PathFixtures.h"

#include <gtest/gtest.h>

#include "classlib/rtl/WinApi.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

using TFound = std::set<std::pair<String, int>>; // name relative to the tree, safety class

// A scan over a temp tree, with every drive a fixed disk unless a test says otherwise.
class FileScanTest : public ::testing::Test {
protected:
    FileScanTest() : Clock(EncodeDate(2024, 6, 15) + EncodeTime(14, 0, 0, 0)) {
        Safety.SetProtectedPaths({Tree.Path() + L"windows", Tree.Path() + L"BACKUPS"});
        Safety.SetJunkMasks(L"*.tmp; *.bak; *.dll");
        Scan.ShortcutTarget = [](const String& Link) { return GetShortcutTarget(Link); };
    }

    TScanOutcome Run(const TScanSettings& Settings, std::vector<String> Roots = {}) {
        if (Roots.empty())
            Roots.push_back(Tree.Path());
        return Scan.Run(Roots, Settings, Results);
    }

    TScanSettings Settings(int Mode) const {
        TScanSettings S;
        S.Mode = Mode;
        S.JunkMasks = L"*.tmp; *.bak; *.dll";
        return S;
    }

    TFound Found() const {
        TFound Result;
        for (int I = 0; I < Results.Count(); ++I) {
            String Name = Results.File(I).FullName();
            Name.erase(0, Tree.Path().size());
            Result.insert({Name, Results.File(I).Safety});
        }
        return Result;
    }

    String At(const String& Relative) const { return Tree.Path() + Relative; }

    TTempFolder Tree;
    TFakeDrives Drives;
    TFakeClock Clock;
    TSafetyRule Safety;
    TTreeSearchEngine Engine;
    TMatch Matcher{nullptr};
    TFileScan Scan{Engine, Matcher, Safety, Drives, Clock};
    TScanResults Results;
};

TEST_F(FileScanTest, JunkScanListsOnlySafeJunk) {
    Tree.AddFile(L"a.tmp", "a");
    Tree.AddFile(L"b.txt", "b");
    Tree.AddFile(L"x\\DATA.BAK", "x");
    Tree.AddFile(L"y\\data.bak", "y");
    Tree.AddFile(L"Windows\\c.tmp", "c");
    Tree.AddFile(L"Backups\\deep\\d.tmp", "d");
    Tree.AddFile(L"sys\\e.dll", "e");

    EXPECT_EQ(Run(Settings(mdJunkFiles)), soCompleted);
    EXPECT_EQ(Found(), (TFound{{L"a.tmp", slSafe}, {L"y\\data.bak", slSafe}}));

    // Every file of the tree with its class: the large-files mode lists them all.
    Run(Settings(mdLargeFiles));
    EXPECT_EQ(Found(), (TFound{{L"a.tmp", slSafe},
                               {L"b.txt", slWarning},
                               {L"x\\DATA.BAK", slSafe},
                               {L"y\\data.bak", slSafe},
                               {L"Windows\\c.tmp", slCritical},
                               {L"Backups\\deep\\d.tmp", slCritical},
                               {L"sys\\e.dll", slCritical}}));

    Run(Settings(mdJunkFiles));
    const TFile& First = Results.File(0);
    EXPECT_EQ(First.Path(), First.Name == L"a.tmp" ? Tree.Path() : At(L"y\\"));
    EXPECT_EQ(First.Size, 1u);
    EXPECT_EQ(First.CopyCount, 1);
    EXPECT_EQ(First.GroupSize, First.Size);
}

TEST_F(FileScanTest, RecordsOfOneFolderShareOneCopyOfItsPath) {
    Tree.AddFile(L"one\\a.tmp", "a");
    Tree.AddFile(L"one\\b.tmp", "b");
    Tree.AddFile(L"one\\c.tmp", "c");
    Tree.AddFile(L"two\\d.tmp", "d");
    Run(Settings(mdJunkFiles));
    ASSERT_EQ(Results.Count(), 4);
    std::map<String, std::set<const String*>> CopiesByFolder;
    for (int I = 0; I < Results.Count(); ++I)
        CopiesByFolder[Results.File(I).Path()].insert(&Results.File(I).SharedPath().Text());
    EXPECT_EQ(CopiesByFolder.size(), 2u);
    for (const auto& [Folder, Copies] : CopiesByFolder)
        EXPECT_EQ(Copies.size(), 1u) << ToUtf8(Folder);
    EXPECT_EQ(CopiesByFolder.at(At(L"one\\")).size(), 1u);
}

TEST_F(FileScanTest, AwkwardNamesAreListedAsTheyAreAndDeviceNamesSkipped) {
    ASSERT_TRUE(CopyAwkwardFixture(Tree.Path())) << "fixture missing";
    TScanSettings S = Settings(mdLargeFiles);
    S.LargeFileThreshold = 0;
    Run(S);

    std::map<String, std::int64_t> Listed, Expected;
    for (int I = 0; I < Results.Count(); ++I)
        Listed[Results.File(I).FullName().substr(Tree.Path().size())] =
            static_cast<std::int64_t>(Results.File(I).Size);
    for (const auto& [Name, Bytes] : AwkwardFiles())
        Expected[Name] = static_cast<std::int64_t>(Bytes.size());
    EXPECT_EQ(Listed, Expected);
    EXPECT_EQ(Scan.SkippedFiles(), std::vector<String>{Tree.Path() + AwkwardDeviceFile});

    Run(S);
    EXPECT_EQ(Scan.SkippedFiles().size(), 1u);
}

TEST_F(FileScanTest, ANewScanDropsThePreviousResults) {
    Tree.AddFile(L"a.tmp", "a");
    Run(Settings(mdJunkFiles));
    Run(Settings(mdJunkFiles));
    EXPECT_EQ(Results.Count(), 1);
}

TEST_F(FileScanTest, AnEmptyJunkListFindsNothing) {
    Tree.AddFile(L"a.tmp", "a");
    Tree.AddFile(L"b.txt", "b");
    for (const String& Blank : {String(), String(L"  "), String(L" ; ;")}) {
        Safety.SetJunkMasks(Blank);
        TScanSettings S = Settings(mdJunkFiles);
        S.JunkMasks = Blank;
        Run(S);
        EXPECT_EQ(Results.Count(), 0) << "junk masks '" << ToUtf8(Blank) << "'";
    }
}

TEST_F(FileScanTest, SafetyRule) {
    Safety.SetProtectedPaths({L"C:\\Windows", L"D:\\System Corvanta Backups", L""});
    Safety.SetJunkMasks(L"*.tmp; ~*");
    struct TCase {
        const wchar_t* Path;
        const wchar_t* Name;
        TSafetyLevel Expected;
    };
    const std::vector<TCase> Cases{
        {L"c:\\WINDOWS\\Temp\\", L"x.tmp", slCritical}, // protected, any case
        {L"C:\\Windows", L"x.tmp", slCritical},         // the folder itself
        {L"C:\\WindowsOld\\", L"x.tmp", slCritical},    // a plain prefix covers siblings
        {L"d:\\system corvanta backups\\a\\", L"x.txt", slCritical},
        {L" C:\\Windows\\ ", L"x.tmp", slCritical}, // trimmed
        {L"C:\\Data\\", L"setup.EXE", slCritical},  // system extension
        {L"C:\\Data\\", L"driver.sys", slCritical},
        {L"C:\\Data\\", L"x.TMP", slSafe}, // junk, any case
        {L"C:\\Data\\", L"~draft.doc", slSafe},
        {L"C:\\Data\\", L"notes.txt", slWarning}, // not junk
        {L"C:\\Data\\", L"", slWarning},          // a folder record
        {L"C:\\Windows\\Empty", L"", slCritical},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(Safety.GetSafetyLevel(Case.Path, Case.Name), Case.Expected)
            << ToUtf8(Case.Path) << ToUtf8(Case.Name);
    EXPECT_EQ(Safety.ProtectedPaths().size(), 2u) << "an empty entry would protect everything";

    Safety.SetJunkMasks(L"");
    EXPECT_EQ(Safety.GetSafetyLevel(L"C:\\Data\\", L"x.tmp"), slWarning);
}

TEST_F(FileScanTest, LargeScanHonoursItsThresholdAndListsEveryClass) {
    Tree.AddFile(L"exact.bin", std::string(1024, 'x'));
    Tree.AddFile(L"over.bin", std::string(1025, 'x'));
    Tree.AddFile(L"Windows\\over.tmp", std::string(2000, 'x'));
    Tree.AddFile(L"over.dll", std::string(3000, 'x'));
    Tree.AddFile(L"small.tmp", "s");

    TScanOptions Options;
    Options.LargeValue = 1;
    Options.SizeUnit = 1; // KB
    TScanSettings S = Settings(mdLargeFiles);
    S.LargeFileThreshold = Options.LargeFileThreshold();
    Run(S);
    EXPECT_EQ(Found(), (TFound{{L"over.bin", slWarning},
                               {L"Windows\\over.tmp", slCritical},
                               {L"over.dll", slCritical}}));
}

TEST_F(FileScanTest, LargeScanMeasuresFilesOfFourGigabytesAndMore) {
    // 5 GiB is 1 GiB modulo 2^32: a 32-bit size would take it for small.
    const std::uint64_t FiveGiB = 5ULL << 30;
    if (!MakeFileOfSize(At(L"huge.bin"), FiveGiB))
        GTEST_SKIP() << "no room for a sparse file of 5 GiB";
    Tree.AddFile(L"small.bin", "s");

    TScanOptions Options;
    Options.LargeValue = 2;
    Options.SizeUnit = 3; // GB
    TScanSettings S = Settings(mdLargeFiles);
    S.LargeFileThreshold = Options.LargeFileThreshold();
    Run(S);
    ASSERT_EQ(Results.Count(), 1);
    EXPECT_EQ(Results.File(0).Name, L"huge.bin");
    EXPECT_EQ(Results.File(0).Size, FiveGiB);

    S.LargeFileThreshold = 6ULL << 30;
    Run(S);
    EXPECT_EQ(Results.Count(), 0) << "a 6 GB threshold must not wrap to 2 GB";
}

TEST_F(FileScanTest, OldScanHonoursItsAgeFromTodaysMidnight) {
    const TDateTime Midnight = EncodeDate(2024, 6, 15);
    const TDateTime Limit = Midnight - 1825; // 5 years of 365 days
    struct TCase {
        const wchar_t* Name;
        TDateTime Accessed;
        bool Old;
    };
    const std::vector<TCase> Cases{
        {L"limit.txt", Limit, true},
        {L"older.txt", Limit - 400, true},
        // Times count in the two-second steps of a DOS time: one second after is still at it.
        {L"second-after.txt", IncSecond(Limit, 1), true},
        {L"two-seconds-after.txt", IncSecond(Limit, 2), false},
        {L"yesterday.txt", Midnight - 1, false},
    };
    // The write time says nothing about the age: it is recent for all of them.
    const FILETIME Written = LocalFileTime(Midnight - 0.5);
    for (const TCase& Case : Cases) {
        Tree.AddFile(Case.Name, "x");
        ASSERT_TRUE(SetTimes(At(Case.Name), LocalFileTime(Case.Accessed), Written));
    }
    TScanOptions Options;
    Options.OldValue = 5.7; // truncated to 5
    Options.Period = 3;     // years
    TScanSettings S = Settings(mdOldFiles);
    S.OldFileDays = Options.OldFileDays();
    Run(S);

    TFound Expected;
    for (const TCase& Case : Cases)
        if (Case.Old)
            Expected.insert({Case.Name, slWarning});
    EXPECT_EQ(Found(), Expected);
}

// Shortcut files written through the shell's link object.
class ShortcutFiles {
public:
    ShortcutFiles() { FInitialized = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    ~ShortcutFiles() {
        if (FInitialized)
            CoUninitialize();
    }
    bool Make(const String& LinkPath, const String& Target) const {
        IShellLinkW* Link = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&Link))))
            return false;
        IPersistFile* File = nullptr;
        bool Done =
            SUCCEEDED(Link->SetPath(Target.c_str())) &&
            SUCCEEDED(Link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&File)));
        if (File) {
            Done = Done && SUCCEEDED(File->Save(LinkPath.c_str(), TRUE));
            File->Release();
        }
        Link->Release();
        return Done;
    }

private:
    bool FInitialized = false;
};

TEST_F(FileScanTest, BrokenShortcutsAreFoundFromRealLinkFiles) {
    const ShortcutFiles Links;
    Tree.AddFile(L"target.txt", "t");
    Tree.AddFolder(L"folder");
    Tree.AddFolder(L"links\\NetHood");
    struct TLink {
        const wchar_t* Link;
        String Target;
        bool Broken;
    };
    const std::vector<TLink> Cases{
        {L"links\\to-file.lnk", At(L"target.txt"), false},
        {L"links\\to-folder.lnk", At(L"folder"), false},
        {L"links\\to-missing.lnk", At(L"gone.txt"), true},
        {L"links\\NetHood\\to-missing.lnk", At(L"gone2.txt"), false}, // never examined
        {L"links\\removable.lnk", L"R:\\gone.txt", false},            // removable target
        {L"links\\network.lnk", L"N:\\gone.txt", false},              // offline share
    };
    Drives.Types[L'R'] = DRIVE_REMOVABLE;
    Drives.Types[L'N'] = DRIVE_REMOTE;
    for (const TLink& Case : Cases)
        ASSERT_TRUE(Links.Make(At(Case.Link), Case.Target)) << ToUtf8(Case.Link);
    // Not a shortcut at all: it has no target, so it is never reported.
    Tree.AddFile(L"links\\garbage.lnk", "not a link");

    Run(Settings(mdBrokenLinks));
    TFound Expected;
    for (const TLink& Case : Cases)
        if (Case.Broken)
            Expected.insert({Case.Link, slSafe});
    EXPECT_EQ(Found(), Expected);
    ASSERT_EQ(Results.Count(), 1);
    EXPECT_TRUE(SameText(Results.LinkTarget(0), At(L"gone.txt"))) << ToUtf8(Results.LinkTarget(0));
}

TEST_F(FileScanTest, ShortcutsOnRemovableDrivesAreNotExamined) {
    bool Asked = false;
    Scan.ShortcutTarget = [&Asked](const String&) {
        Asked = true;
        return String(L"C:\\gone.txt");
    };
    Tree.AddFile(L"x.lnk", "x");
    Drives.Types[static_cast<wchar_t>(towupper(Tree.Path()[0]))] = DRIVE_REMOVABLE;
    Run(Settings(mdBrokenLinks));
    EXPECT_FALSE(Asked);
    EXPECT_EQ(Results.Count(), 0);
}

// Checks each file handed to the duplicate grouping.
class TRecordingGrouper : public IDuplicateGrouper {
public:
    std::vector<std::pair<String, std::uint64_t>> Files;
    int Cleared = 0;
    int PostPasses = 0;
    TFileScan* StopOnFirst = nullptr;
    void Clear() override { ++Cleared; }
    void AddFile(const String&, const String& Name, std::uint64_t Size, const FILETIME&) override {
        Files.push_back({Name, Size});
        if (StopOnFirst)
            StopOnFirst->Stop();
    }
    void PostPass() override { ++PostPasses; }
};

TEST_F(FileScanTest, DuplicateModeHandsEveryFileButTheAllowedOnesToTheGrouping) {
    TRecordingGrouper Grouper;
    Scan.Grouper = &Grouper;
    Tree.AddFile(L"a.txt", "aa");
    Tree.AddFile(L"sub\\a.txt", "aa");
    Tree.AddFile(L"desktop.ini", "i");

    TScanSettings S = Settings(mdDuplicateFiles);
    S.AllowedDuplicateMasks = L"*.ini";
    Run(S);
    std::sort(Grouper.Files.begin(), Grouper.Files.end());
    EXPECT_EQ(Grouper.Files,
              (std::vector<std::pair<String, std::uint64_t>>{{L"a.txt", 2}, {L"a.txt", 2}}));
    EXPECT_EQ(Grouper.Cleared, 1);
    EXPECT_EQ(Grouper.PostPasses, 1);
    EXPECT_EQ(Results.Count(), 0);

    // No allowed names: every file is grouped, none is taken for allowed.
    Grouper.Files.clear();
    S.AllowedDuplicateMasks.clear();
    Run(S);
    EXPECT_EQ(Grouper.Files.size(), 3u);
}

// Rows that press Stop when the first one arrives.
class TStoppingRows : public IScanRows {
public:
    explicit TStoppingRows(TFileScan& Scan) : FScan(Scan) {}
    int Rows = 0;
    void Clear() override { Rows = 0; }
    void Append(std::unique_ptr<TFile>, const String&) override {
        ++Rows;
        FScan.Stop();
    }
    int Count() const override { return Rows; }

private:
    TFileScan& FScan;
};

TEST_F(FileScanTest, StopEndsTheWalkAndKeepsWhatWasFound) {
    TRecordingGrouper Grouper;
    Scan.Grouper = &Grouper;
    for (int I = 0; I < 20; ++I)
        Tree.AddFile(L"d" + std::to_wstring(I) + L"\\f.tmp", "f");
    TStoppingRows Rows(Scan);
    EXPECT_EQ(Scan.Run({Tree.Path(), Tree.Path() + L"d1"}, Settings(mdJunkFiles), Rows), soStopped);
    EXPECT_EQ(Rows.Rows, 1);

    // The duplicate post-pass runs after a stopped walk too.
    Grouper.StopOnFirst = &Scan;
    EXPECT_EQ(Run(Settings(mdDuplicateFiles)), soStopped);
    EXPECT_EQ(Grouper.Files.size(), 1u);
    EXPECT_EQ(Grouper.PostPasses, 1);

    // A new run clears Stop.
    Grouper.StopOnFirst = nullptr;
    Scan.Stop();
    EXPECT_EQ(Run(Settings(mdJunkFiles)), soCompleted);
    EXPECT_EQ(Results.Count(), 20);
}

TEST_F(FileScanTest, OverlappingPathsVisitEachFileOnce) {
    Tree.AddFile(L"a.tmp", "a");
    Tree.AddFile(L"Sub\\b.tmp", "b");
    Tree.AddFile(L"Sub\\Deeper\\c.tmp", "c");
    TScanPathList Paths(Drives);
    Paths.AddFolder(At(L"Sub\\Deeper"));
    Paths.AddFolder(Tree.Path());
    Paths.AddFolder(At(L"sub"));
    Paths.AddFolder(ExcludeTrailingBackslash(Tree.Path()));
    Run(Settings(mdJunkFiles), Paths.ScanRoots());
    EXPECT_EQ(
        Found(),
        (TFound{{L"a.tmp", slSafe}, {L"Sub\\b.tmp", slSafe}, {L"Sub\\Deeper\\c.tmp", slSafe}}));
    EXPECT_EQ(Results.Count(), 3);
}

TEST_F(FileScanTest, FolderLinksAreNotEntered) {
    const char* Fixtures = std::getenv("QRV_FIXTURES");
    if (!Fixtures)
        GTEST_SKIP() << "QRV_FIXTURES is not set";
    const String Root = IncludeTrailingBackslash(FromUtf8(Fixtures)) + L"scan-links\\";
    ASSERT_TRUE(DirectoryExists(Root + L"tree")) << ToUtf8(Root);
    ASSERT_TRUE(FileExists(Root + L"tree\\link\\secret.tmp")) << "the link leads somewhere";

    Run(Settings(mdJunkFiles), {Root + L"tree"});
    ASSERT_EQ(Results.Count(), 1);
    EXPECT_EQ(Results.File(0).Name, L"keep.tmp");
}

TEST(CompareFilesTest, IsAStrictWeakOrderOverSizesAndGroupSizes) {
    std::vector<std::unique_ptr<TFile>> Owned;
    auto Make = [&Owned](std::uint64_t Size, int Copies, std::uint64_t GroupSize) {
        auto File = std::make_unique<TFile>();
        File->Size = Size;
        File->CopyCount = Copies;
        File->GroupSize = GroupSize;
        Owned.push_back(std::move(File));
        return Owned.back().get();
    };
    std::vector<const TFile*> Files{Make(10, 1, 10), Make(10, 1, 10),        Make(5, 3, 15),
                                    Make(20, 1, 20), Make(5ULL << 32, 1, 0), Make(1, 2, 2),
                                    nullptr,         Make(15, 1, 15)};
    for (const TFile* A : Files) {
        EXPECT_EQ(CompareFiles(A, A), 0);
        for (const TFile* B : Files) {
            EXPECT_EQ(CompareFiles(A, B), -CompareFiles(B, A));
            for (const TFile* C : Files) {
                if (CompareFiles(A, B) <= 0 && CompareFiles(B, C) <= 0) {
                    EXPECT_LE(CompareFiles(A, C), 0);
                }
            }
        }
    }
    std::sort(Files.begin(), Files.end(),
              [](const TFile* A, const TFile* B) { return CompareFiles(A, B) < 0; });
    EXPECT_EQ(Files.front(), nullptr);
    EXPECT_EQ(Files.back()->Size, 5ULL << 32);
    EXPECT_EQ(CompareFiles(Files[1], Files[2]), -1); // group of 2 bytes before 10 bytes
}

} // namespace
