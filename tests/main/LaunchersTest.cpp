#include "main/Launchers.h"

#include "app/Language.h"
#include "app/QRVUtils.h"
#include "classlib/rtl/IniFiles.h"
#include "tests/main/FeatureTestSupport.h"
#include "tests/main/RegistryTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpTopics, ButtonsOpenTheirTopics) {
    struct {
        const wchar_t* Button;
        std::optional<String> Topic;
    } const Cases[] = {
        {L"RoundedFlatSpeedButton1", String(L"::/Clean_My_Computer.htm")},
        {L"RoundedFlatSpeedButton4", String()},
        {L"RoundedFlatSpeedButton5", String()},
        {L"RoundedFlatSpeedButton11", String(L"::/Functions/Folder_Cleaner.htm")},
        {L"RoundedFlatSpeedButton49", String(L"::/Functions/Duplicate_Files.htm")},
        {L"RoundedFlatSpeedButton27", String(L"::/Functions/Shutdown_Manager.htm")},
        {L"RoundedFlatSpeedButton30", String(L"::/Remove_Uninstalled_Programs.htm")},
        {L"RoundedFlatSpeedButton14", std::nullopt},
        {L"RoundedFlatSpeedButton29", std::nullopt},
        {L"roundedflatspeedbutton1", std::nullopt},
        {L"btnHelp", std::nullopt},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(HelpTopicFor(Case.Button), Case.Topic) << ToUtf8(Case.Button);
}

// The key "Classes" of Registry, opened for reading: a classes root of the test's own.
TRegKey OpenClassesRoot(TTestRegistry& Registry) {
    Registry.MakeKey(L"Classes");
    HKEY Classes = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, Registry.Path(L"Classes").c_str(), 0, KEY_READ, &Classes);
    return TRegKey(Classes);
}

TEST(HelpTopics, TheHelpControlIsUsedOnlyWhenItsFileExists) {
    TTestRegistry Registry(L"HtmlHelp");
    const String Class = L"CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";
    const TRegKey Owned = OpenClassesRoot(Registry);
    ASSERT_TRUE(Owned);
    const HKEY Classes = Owned.Get();
    EXPECT_FALSE(THtmlHelp(Classes).Available());

    Registry.SetString(L"Classes\\" + Class, L"", L"C:\\nowhere\\hhctrl.ocx");
    EXPECT_EQ(THtmlHelp(Classes).LibraryFile(), L"C:\\nowhere\\hhctrl.ocx");
    EXPECT_FALSE(THtmlHelp(Classes).Available());

    const String Real = GetWindowsFolder() + L"\\system32\\hhctrl.ocx";
    ASSERT_TRUE(FileExists(Real));
    Registry.SetString(L"Classes\\" + Class, L"", Real);
    EXPECT_TRUE(THtmlHelp(Classes).Available());
}

TEST(HelpTopics, AMissingHelpFileOrViewerIsTold) {
    TTempFolder Folder;
    Folder.AddFile(L"test.lng", "[Messages]\r\nsHelpMissing=No help file %s.\r\n"
                                "sHelpUnavailable=No help viewer.\r\n");
    AppLanguage->LoadFromFile(Folder.Path() + L"test.lng");
    const String HelpFile = Folder.AddFile(L"Help.chm", "ITSF");
    TTestRegistry Registry(L"HtmlHelpNone");
    const TRegKey Classes = OpenClassesRoot(Registry);
    ASSERT_TRUE(Classes);
    const THtmlHelp NoViewer(Classes.Get());
    std::vector<String> Told;
    const THelpHandler Handler =
        HtmlHelpHandler(NoViewer, [&Told](const String& Text) { Told.push_back(Text); });
    Handler(Folder.Path() + L"Gone.chm", L"::/Functions/Large_Files.htm");
    Handler(String(), String());
    Handler(HelpFile, L"::/Functions/Large_Files.htm");
    AppLanguage->LoadFromFile(Folder.Path()); // a folder: nothing is loaded
    EXPECT_EQ(Told, (std::vector<String>{L"No help file " + Folder.Path() + L"Gone.chm.",
                                         L"No help file .", L"No help viewer."}));
}

TEST(LauncherTexts, WindowsFamilyMailBodyAndDefragmenter) {
    struct {
        TWindowsVersion Version;
        int Family;
        const wchar_t* Body;
        const wchar_t* Defragmenter;
    } const Cases[] = {
        {{true, 4, 0}, 1, L"S_frmMain_TellAFriend_Body95", L"defrag.exe"},
        {{true, 4, 10}, 2, L"S_frmMain_TellAFriend_Body95", L"defrag.exe"},
        {{true, 4, 90}, 2, L"S_frmMain_TellAFriend_Body95", L"defrag.exe"},
        {{false, 3, 51}, 3, L"S_frmMain_TellAFriend_BodyNT", L"defrag.exe"},
        {{false, 4, 0}, 3, L"S_frmMain_TellAFriend_BodyNT", L"defrag.exe"},
        {{false, 5, 0}, 4, L"S_frmMain_TellAFriend_BodyNT", L"defrag.exe"},
        {{false, 5, 1}, 4, L"S_frmMain_TellAFriend_BodyNT", L"dfrg.msc"},
        {{false, 5, 2}, 4, L"S_frmMain_TellAFriend_BodyNT", L"defrag.exe"},
        {{false, 6, 1}, 0, L"S_frmMain_TellAFriend_BodyNT", L"defrag.exe"},
        {{false, 10, 0}, 0, L"S_frmMain_TellAFriend_BodyNT", L"defrag.exe"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Version.Major) + "." + std::to_string(Case.Version.Minor));
        EXPECT_EQ(GetWindowsFamily(Case.Version), Case.Family);
        EXPECT_EQ(TellAFriendBodyKey(Case.Version), Case.Body);
        EXPECT_EQ(DefragmenterFor(Case.Version), Case.Defragmenter);
    }
}

TEST(LauncherTexts, TheMailLinkKeepsEveryCharacterOfTheTexts) {
    EXPECT_EQ(TellAFriendLink(L"Try it!", L"A & B #1?\r\n100% ok=\u00e9"),
              L"mailto:?subject=Try%20it%21&body=A%20%26%20B%20%231%3F%0D%0A100%25%20ok%3D%C3%A9");
    // No fixed buffer: a long text arrives whole.
    const String Body(5000, L'x');
    EXPECT_EQ(TellAFriendLink(L"s", Body), L"mailto:?subject=s&body=" + Body);
}

// A window that stands in for the scheduler's: it keeps what message 3524 brought.
class TStandInWindow {
public:
    TStandInWindow() {
        WNDCLASSW Class{};
        Class.lpfnWndProc = &Proc;
        Class.hInstance = GetModuleHandleW(nullptr);
        Class.lpszClassName = L"QrvTestSchedulerStandIn";
        RegisterClassW(&Class);
        Handle = CreateWindowW(Class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               Class.hInstance, nullptr);
        Received.clear();
    }
    ~TStandInWindow() { DestroyWindow(Handle); }
    TStandInWindow(const TStandInWindow&) = delete;
    TStandInWindow& operator=(const TStandInWindow&) = delete;

    HWND Handle = nullptr;
    static inline std::vector<LPARAM> Received;

private:
    static LRESULT CALLBACK Proc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
        if (Message == SchedulerShowMessage && W == 0)
            Received.push_back(L);
        return DefWindowProcW(Window, Message, W, L);
    }
};

class Launchers : public ::testing::Test {
protected:
    TTempFolder App;
    TFeatureTestContext Test{"S_frmMain_TellAFriend_Subject=Look\r\n"
                             "S_frmMain_TellAFriend_BodyNT=Body NT\r\n"
                             "sProgramNotStarted=%s did not start.\r\n"
                             "sSupportPageNotOpened=No support page %s.\r\n"
                             "sMailNotStarted=No mail.\r\n"};
    std::vector<TProcessEntry> Processes{{L"explorer.exe", 10}};
    std::vector<TShellRequest> Requests;
    // What the shell answers: 0 started, else the system error code.
    DWORD ShellError = 0;

    TLaunchers Make(const TWindowsVersion& Windows = {false, 10, 0}) {
        TLauncherEnvironment Env;
        Env.AppDir = App.Path();
        Env.Windows = Windows;
        Env.Processes = [this] { return Processes; };
        Env.Shell = [this](const TShellRequest& Request) {
            Requests.push_back(Request);
            return ShellError;
        };
        return TLaunchers(Env, Test.Context);
    }
    String Ini(const String& Ident) const {
        return TIniFile(App.Path() + L"qvsched.ini").ReadString(L"General", Ident, L"<none>");
    }
    void SetHandle(HWND Handle) const {
        TIniFile(App.Path() + L"qvsched.ini")
            .WriteInteger(L"General", L"Handle",
                          static_cast<int>(reinterpret_cast<INT_PTR>(Handle)));
    }
};

TEST_F(Launchers, WithoutARunningSchedulerItIsStartedWithShow) {
    TIniFile(App.Path() + L"qvsched.ini").WriteString(L"General", L"Close", L"1");
    // A name that differs only in case is not the scheduler.
    Processes.push_back({L"QRVSCHED.EXE", GetCurrentProcessId()});
    TStandInWindow Window;
    SetHandle(Window.Handle);
    EXPECT_EQ(Make().ShowScheduler(), lnStarted);
    EXPECT_EQ(Ini(L"Close"), L"0");
    EXPECT_EQ(Requests,
              (std::vector<TShellRequest>{{L"open", App.Path() + L"qrvsched.exe", L"/show", L""}}));
    EXPECT_TRUE(TStandInWindow::Received.empty());
}

TEST_F(Launchers, ARunningSchedulerIsAskedThroughItsOwnWindow) {
    TStandInWindow Window;
    ASSERT_TRUE(Window.Handle);
    Processes.push_back({L"qrvsched.exe", GetCurrentProcessId()});
    SetHandle(Window.Handle);
    EXPECT_EQ(Make().ShowScheduler(), lnMessaged);
    EXPECT_EQ(TStandInWindow::Received,
              std::vector<LPARAM>{static_cast<LPARAM>(GetCurrentProcessId())});
    EXPECT_TRUE(Requests.empty());
    EXPECT_EQ(Ini(L"Close"), L"<none>");
}

TEST_F(Launchers, AHandleThatIsZeroOrBelongsToAnotherProcessStartsASecondCopy) {
    TStandInWindow Window;
    Processes.push_back({L"qrvsched.exe", GetCurrentProcessId() + 4});
    SetHandle(Window.Handle);
    EXPECT_EQ(Make().ShowScheduler(), lnStarted);
    EXPECT_TRUE(TStandInWindow::Received.empty());

    Processes.back().ProcessId = GetCurrentProcessId();
    SetHandle(nullptr);
    EXPECT_EQ(Make().ShowScheduler(), lnStarted);
    EXPECT_TRUE(TStandInWindow::Received.empty());
    EXPECT_EQ(Requests.size(), 2u);
}

TEST_F(Launchers, SupportMailAndDefragmenterRequests) {
    TLaunchers Launcher = Make();
    Launcher.OpenSupportPage();
    Launcher.TellAFriend();
    Launcher.StartDefragmenter();
    Make({false, 5, 1}).StartDefragmenter();
    const std::vector<TShellRequest> Expected = {
        {L"open", App.Path() + L"feedback.htm", L"", L""},
        {L"", L"mailto:?subject=Look&body=Body%20NT", L"", ExcludeTrailingBackslash(App.Path())},
        {L"open", L"defrag.exe", L"", L""},
        {L"open", L"dfrg.msc", L"", L""},
    };
    EXPECT_EQ(Requests, Expected);
}

TEST_F(Launchers, WhatCouldNotBeStartedIsToldWithTheSystemsReason) {
    ShellError = ERROR_FILE_NOT_FOUND;
    const String Reason = L"\n\n" + Trim(SysErrorMessage(ERROR_FILE_NOT_FOUND));
    TLaunchers Launcher = Make();
    EXPECT_FALSE(Launcher.OpenSupportPage());
    EXPECT_FALSE(Launcher.TellAFriend());
    EXPECT_FALSE(Launcher.StartDefragmenter());
    EXPECT_EQ(Launcher.ShowScheduler(), lnNotStarted);
    EXPECT_EQ(Test.Asked(), (std::vector<String>{
                                L"No support page " + App.Path() + L"feedback.htm." + Reason,
                                L"No mail." + Reason,
                                L"defrag.exe did not start." + Reason,
                                App.Path() + L"qrvsched.exe did not start." + Reason,
                            }));
    for (const auto& Shown : Test.Prompt.Asked)
        EXPECT_EQ(Shown.Icon, IPrompt::IconStop);

    // Started: nothing is said.
    ShellError = 0;
    Test.Prompt.Asked.clear();
    EXPECT_TRUE(Launcher.OpenSupportPage());
    EXPECT_TRUE(Launcher.StartDefragmenter());
    EXPECT_TRUE(Test.Asked().empty());
}

TEST(LauncherShell, AMissingFileIsAFailureAndNoWindowOfTheShells) {
    TTempFolder Folder;
    // A window of the shell's own would wait for an answer here.
    EXPECT_EQ(StartShellRequest(nullptr, {L"open", Folder.Path() + L"missing.exe", L"", L""}),
              static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(LauncherProcesses, TheProcessListHoldsThisProgram) {
    bool Found = false;
    for (const TProcessEntry& Process : RunningProcesses())
        Found |= Process.ProcessId == GetCurrentProcessId() && Process.Name == L"main_tests.exe";
    EXPECT_TRUE(Found);
}

} // namespace
