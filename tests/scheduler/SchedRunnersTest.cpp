#include "scheduler/SchedRunners.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A runner whose Windows folder is a folder of the test's own.
struct TRunnerFixture {
    TTempFolder Folder;
    TFakeProgress PleaseWait;
    std::vector<bool> RunningChanges;
    TSchedRunner Runner{PleaseWait, {Folder.Path() + L"Windows", L"C:\\Program Files\\QRV\\"}};

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
        File.Path = Case.Path;
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
    EXPECT_EQ(Fx.PleaseWait.Labels.front(), L"Function 2");

    Fx.PleaseWait.OnPump = nullptr;
    Fx.Runner.RunSchedFunc(7, L""); // not a function: nothing to do
    Fx.Runner.RunSchedFunc(sfJunkFiles, L"");
    EXPECT_EQ(Fx.PleaseWait.Starts, 3);
    EXPECT_FALSE(Fx.Runner.Running());
}
