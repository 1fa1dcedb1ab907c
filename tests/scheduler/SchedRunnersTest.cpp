#include "scheduler/SchedRunners.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Places with a Windows folder of the test's own.
TSchedRunPlaces TestPlaces(const TTempFolder& Folder) {
    TSchedRunPlaces Places;
    Places.WindowsFolder = Folder.Path() + L"Windows";
    Places.ProgramFolder = L"C:\\Program Files\\QRV\\";
    return Places;
}

// A runner whose Windows folder is a folder of the test's own.
struct TRunnerFixture {
    TTempFolder Folder;
    TFakeProgress PleaseWait;
    std::vector<bool> RunningChanges;
    TSchedRunner Runner{PleaseWait, TestPlaces(Folder)};

    TRunnerFixture() {
        Runner.OnRunningChanged = [this](bool Running) { RunningChanges.push_back(Running); };
        Runner.FuncName = [](int Index) { return L"Function " + IntToStr(Index); };
    }
    bool Present(const String& Relative) const { return PathPresent(Folder.Path() + Relative); }
};

bool WaitFor(const String& Path) {
    for (int I = 0; I < 100; ++I) {
        if (PathPresent(Path))
            return true;
        Sleep(100);
    }
    return false;
}

// The current folder for one test: relative list entries would resolve against it.
class TCurrentFolder {
public:
    explicit TCurrentFolder(const String& Path) {
        wchar_t Buffer[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, Buffer);
        FSaved = Buffer;
        SetCurrentDirectoryW(Path.c_str());
    }
    ~TCurrentFolder() { SetCurrentDirectoryW(FSaved.c_str()); }

private:
    String FSaved;
};

} // namespace

TEST(SchedRunnersTest, JunkRunDeletesOnlyFilesClassedSafe) {
    TRunnerFixture Fx;
    for (const wchar_t* Name :
         {L"Junk\\DATA.BAK", L"Junk\\old.tmp", L"Junk\\setup.exe", L"Junk\\readme.txt",
          L"Junk\\thumbs.db", L"Junk\\~temp.doc", L"Junk\\sub\\data.bak", L"Junk\\sub\\x.ilk"})
        Fx.Folder.AddFile(Name, "x");
    Fx.Runner.RunSchedFunc(sfJunkFiles, Fx.Folder.Path() + L"Junk|");

    for (const wchar_t* Kept :
         {L"Junk\\DATA.BAK", L"Junk\\setup.exe", L"Junk\\readme.txt", L"Junk\\thumbs.db"})
        EXPECT_TRUE(Fx.Present(Kept)) << ToUtf8(Kept);
    for (const wchar_t* Gone :
         {L"Junk\\old.tmp", L"Junk\\~temp.doc", L"Junk\\sub\\data.bak", L"Junk\\sub\\x.ilk"})
        EXPECT_FALSE(Fx.Present(Gone)) << ToUtf8(Gone);
    EXPECT_EQ(Fx.Runner.JunkFindings().size(), 4u);
    EXPECT_FALSE(Fx.PleaseWait.CancelVisible) << "the junk run cannot be cancelled";
}

TEST(SchedRunnersTest, JunkBelowASkippedFolderOrFromABadEntryStays) {
    TRunnerFixture Fx;
    Fx.Folder.AddFile(L"Windows\\Temp\\old.tmp", "x");
    Fx.Folder.AddFile(L"here\\old.tmp", "x");
    const TCurrentFolder Current(Fx.Folder.Path() + L"here");
    // The Windows folder written in other letters, a relative entry and an empty one.
    Fx.Runner.RunSchedFunc(sfJunkFiles,
                           UpperCase(Fx.Folder.Path() + L"windows\\temp") + L"|.||old.tmp|");
    EXPECT_TRUE(Fx.Present(L"Windows\\Temp\\old.tmp"));
    EXPECT_TRUE(Fx.Present(L"here\\old.tmp"));
}

TEST(SchedRunnersTest, ClassifyJunkFileFollowsFoldersExtensionsAndPatterns) {
    TRunnerFixture Fx;
    const String Win = Fx.Folder.Path() + L"Windows";
    struct TCase {
        String Path, Name;
        TSafetyLevel Expected;
    };
    const TCase Cases[] = {
        {L"D:\\Data\\", L"old.tmp", slSafe},
        {L"D:\\Data\\", L"x.MS", slSafe},
        {L"D:\\Data\\", L"ws_ftp.log", slSafe},
        {L"D:\\Data\\", L"0123.nch", slSafe},
        {L"D:\\Data\\", L"readme.txt", slWarning},
        {L"D:\\Data\\", L"", slWarning},
        {L"D:\\Data\\", L"old.tmp.exe", slCritical},
        {L"D:\\Data\\", L"driver.sys", slCritical},
        {Win + L"\\", L"old.tmp", slCritical},
        {LowerCase(Win) + L"\\sub\\", L"old.tmp", slCritical},
        {Win + L"Apps\\", L"old.tmp", slCritical}, // the prefix has no trailing backslash
        {L"c:\\system corvanta backups\\2024\\", L"old.tmp", slCritical},
        {L"D:\\System Corvanta Backups\\", L"old.tmp", slSafe}, // another drive's folder
    };
    for (const TCase& Case : Cases) {
        TFile File;
        File.SetPath(Case.Path);
        File.Name = Case.Name;
        EXPECT_EQ(Fx.Runner.ClassifyJunkFile(File), Case.Expected) << ToUtf8(Case.Path + Case.Name);
    }
    EXPECT_EQ(TSchedRunner::JunkPatterns().size(), 36u);
    EXPECT_EQ(Fx.Runner.SkipFolders(), (std::vector<String>{Win, L"C:\\System Corvanta Backups"}));
}

TEST(SchedRunnersTest, FolderCleanerEmptiesListedFoldersAndNothingElse) {
    TRunnerFixture Fx;
    Fx.Folder.AddFile(L"Clean\\a.txt", "x");
    Fx.Folder.AddFile(L"Clean\\sub\\b.txt", "x");
    Fx.Folder.AddFile(L"Other\\keep.txt", "x");
    const String RootMarker = L"C:\\qrvsched-root-marker.txt";
    WriteBytes(RootMarker, "x");
    {
        const TCurrentFolder Current(Fx.Folder.Path() + L"Other");
        for (const String& Damaged : {String(L"C:\\|"), String(L"||"), String(L"C:|"),
                                      String(L".|"), String(L""), String(L"\\|")})
            Fx.Runner.RunSchedFunc(sfFolderCleaner, Damaged);
    }
    EXPECT_TRUE(PathPresent(RootMarker)) << "a drive root is never emptied";
    EXPECT_TRUE(Fx.Present(L"Other\\keep.txt")) << "nor the current folder";
    DeleteFileW(RootMarker.c_str());

    Fx.Runner.RunSchedFunc(sfFolderCleaner, Fx.Folder.Path() + L"Clean");
    EXPECT_FALSE(Fx.Present(L"Clean\\a.txt"));
    EXPECT_FALSE(Fx.Present(L"Clean\\sub"));
    EXPECT_TRUE(Fx.Present(L"Clean")) << "the folder itself stays";
}

TEST(SchedRunnersTest, LauncherOpensEachFullPathWithItsProgram) {
    TRunnerFixture Fx;
    const String Marker = Fx.Folder.Path() + L"launched.txt";
    const String RelativeMarker = Fx.Folder.Path() + L"relative.txt";
    Fx.Folder.AddFile(L"write marker.cmd", "@echo started> \"" + ToUtf8(Marker) + "\"\r\n");
    Fx.Folder.AddFile(L"relative.cmd", "@echo started> \"" + ToUtf8(RelativeMarker) + "\"\r\n");
    const TCurrentFolder Current(Fx.Folder.Path());
    Fx.Runner.RunSchedFunc(sfAppLauncher,
                           L"|relative.cmd|" + Fx.Folder.Path() + L"write marker.cmd|");
    EXPECT_TRUE(WaitFor(Marker));
    EXPECT_FALSE(PathPresent(RelativeMarker));
}

TEST(SchedRunnersTest, RunsNeverNestAndAFailingStepRestoresTheGuard) {
    TRunnerFixture Fx;
    Fx.Folder.AddFile(L"Clean\\a.txt", "x");
    int NestedCalls = 0;
    Fx.PleaseWait.OnPump = [&] {
        ++NestedCalls;
        EXPECT_TRUE(Fx.Runner.Running());
        Fx.Runner.RunSchedFunc(sfFolderCleaner, Fx.Folder.Path() + L"Clean|"); // ignored
        throw std::runtime_error("the busy window failed");
    };
    Fx.Runner.RunSchedFunc(sfFolderCleaner, Fx.Folder.Path() + L"Clean|");
    EXPECT_EQ(NestedCalls, 1);
    EXPECT_EQ(Fx.PleaseWait.Starts, 1);
    EXPECT_FALSE(Fx.PleaseWait.Running) << "the busy window is closed";
    EXPECT_FALSE(Fx.Runner.Running());
    EXPECT_EQ(Fx.RunningChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(Fx.PleaseWait.Labels.front(), L"") << "the folder cleaner does not name itself";

    Fx.PleaseWait.OnPump = nullptr;
    Fx.Runner.RunSchedFunc(7, L""); // not a function: nothing to do
    Fx.Runner.RunSchedFunc(sfJunkFiles, L"");
    EXPECT_EQ(Fx.PleaseWait.Starts, 3);
    EXPECT_FALSE(Fx.Runner.Running());
}

namespace {

// Keys of the test's own below HKCU\Software\QrvTest\Sched, removed at the end.
class TSchedTestKeys {
public:
    TSchedTestKeys() { RegDeleteTreeW(HKEY_CURRENT_USER, Base); }
    ~TSchedTestKeys() {
        RegDeleteTreeW(HKEY_CURRENT_USER, Base);
        RegDeleteKeyW(HKEY_CURRENT_USER, Base);
    }
    static String Path(const String& Sub) { return String(Base) + L"\\" + Sub; }
    static void Set(const String& Sub, const String& Name, const String& Text) {
        RegSetKeyValueW(HKEY_CURRENT_USER, Path(Sub).c_str(), Name.c_str(), REG_SZ, Text.c_str(),
                        static_cast<DWORD>((Text.size() + 1) * sizeof(wchar_t)));
    }
    static bool Has(const String& Sub, const String& Name) {
        return RegGetValueW(HKEY_CURRENT_USER, Path(Sub).c_str(), Name.c_str(), RRF_RT_ANY, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
    }

private:
    static constexpr const wchar_t* Base = L"Software\\QrvTest\\Sched";
};

} // namespace

TEST(SchedRunnersTest, RegistryCleanerWalksOnlyTheCheckedRowsAndDeletesTheValuesFound) {
    TRunnerFixture Fx;
    const TSchedTestKeys Keys;
    const String Missing = L"C:\\no such folder\\missing.exe";
    const String Present = Fx.Folder.AddFile(L"present.exe", "MZ");
    for (const wchar_t* Row : {L"CU", L"LM", L"U"}) {
        TSchedTestKeys::Set(Row, L"Broken", Missing);
        TSchedTestKeys::Set(String(Row) + L"\\Deeper", L"Broken", Missing);
        TSchedTestKeys::Set(Row, L"Fine", Present);
    }
    TSchedRunPlaces Places = TestPlaces(Fx.Folder);
    Places.RegistryRows = {
        TRegistryKeyRef{TRegistryRootKey::CurrentUser, TSchedTestKeys::Path(L"CU")},
        TRegistryKeyRef{TRegistryRootKey::CurrentUser, TSchedTestKeys::Path(L"LM")},
        TRegistryKeyRef{TRegistryRootKey::CurrentUser, TSchedTestKeys::Path(L"U")}};
    TSchedRunner Runner(Fx.PleaseWait, Places);
    Runner.RunSchedFunc(sfRegistryCleaner, L"0|1|"); // HKCU off, HKLM on, HKU by default on

    EXPECT_TRUE(TSchedTestKeys::Has(L"CU", L"Broken"));
    EXPECT_TRUE(TSchedTestKeys::Has(L"CU\\Deeper", L"Broken"));
    for (const wchar_t* Row : {L"LM", L"U"}) {
        EXPECT_FALSE(TSchedTestKeys::Has(Row, L"Broken")) << ToUtf8(Row);
        EXPECT_FALSE(TSchedTestKeys::Has(String(Row) + L"\\Deeper", L"Broken")) << ToUtf8(Row);
        EXPECT_TRUE(TSchedTestKeys::Has(Row, L"Fine")) << ToUtf8(Row);
    }
    EXPECT_TRUE(Fx.PleaseWait.CancelVisible) << "the registry walk can be cancelled";
}

TEST(SchedRunnersTest, OnlyTheRegistryCleanerNamesItselfOnTheBusyWindow) {
    const struct {
        int Index;
        const wchar_t* Parameters;
        const wchar_t* FirstLine;
        bool Cancel;
    } Cases[] = {
        {sfRegistryCleaner, L"0|0|0", L"Function 0", true},
        {sfInternetPrivacy, L"0|0|0|0|0|0|0|0|0|0", L"", false},
        {sfFolderCleaner, L"", L"", false},
        {sfAppLauncher, L"", L"", false},
        {sfJunkFiles, L"", L"", false},
    };
    for (const auto& C : Cases) {
        TRunnerFixture Fx;
        Fx.Runner.RunSchedFunc(C.Index, C.Parameters);
        ASSERT_EQ(Fx.PleaseWait.Starts, 1) << C.Index;
        EXPECT_EQ(Fx.PleaseWait.Labels.front(), C.FirstLine) << C.Index;
        if (C.Index != sfJunkFiles) { // the junk run hides Cancel itself
            EXPECT_EQ(Fx.PleaseWait.CancelVisible, C.Cancel) << C.Index;
        }
    }
}

TEST(SchedRunnersTest, PrivacyRunsOnlyTheCheckedSteps) {
    TRunnerFixture Fx;
    const TSchedTestKeys Keys;
    TSchedRunPlaces Places = TestPlaces(Fx.Folder);
    Places.Privacy.CookiesFolder = Fx.Folder.Path() + L"Cookies";
    Places.Privacy.RecentFolder = Fx.Folder.Path() + L"Recent";
    Places.Privacy.TypedUrls = {TRegistryRootKey::CurrentUser, TSchedTestKeys::Path(L"Typed")};
    Places.Privacy.PaintRecentFiles = {TRegistryRootKey::CurrentUser,
                                       TSchedTestKeys::Path(L"Paint")};
    Fx.Folder.AddFile(L"Cookies\\user@site.txt", "a\nb\nc\nd\n");
    Fx.Folder.AddFile(L"Recent\\doc.lnk", "x");
    TSchedTestKeys::Set(L"Typed", L"url1", L"http://example.test/");
    TSchedTestKeys::Set(L"Paint", L"File1", L"C:\\pic.bmp");
    TSchedRunner Runner(Fx.PleaseWait, Places);

    Runner.RunSchedFunc(sfInternetPrivacy, L"0|0|0|0|0|0|0|0|0|");
    EXPECT_TRUE(Fx.Present(L"Cookies\\user@site.txt"));
    EXPECT_TRUE(TSchedTestKeys::Has(L"Typed", L"url1"));

    // Cookies, typed URLs and history (which wine cannot clear: that step alone fails).
    Runner.RunSchedFunc(sfInternetPrivacy, L"0|1|1|1|0|0|0|0|0|");
    EXPECT_FALSE(Fx.Present(L"Cookies\\user@site.txt"));
    EXPECT_FALSE(TSchedTestKeys::Has(L"Typed", L"url1"));
    EXPECT_TRUE(Fx.Present(L"Recent\\doc.lnk"));
    EXPECT_TRUE(TSchedTestKeys::Has(L"Paint", L"File1"));
    EXPECT_FALSE(Runner.Running());
}
