#include "app/QRVUtils.h"

#include "tests/app/QRVUtilsTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <type_traits>

namespace {

TEST(QRVUtilsCommandTarget, Table) {
    TTempFolder Tree;
    Tree.AddFile(L"My Apps\\app.exe", "MZ");
    const String App = Tree.Path() + L"My Apps\\app.exe";
    const String Missing = Tree.Path() + L"My Apps\\missing.exe";
    ASSERT_EQ(Pos(L":\\", App), 2) << "the temp folder must be on a drive";
    ASSERT_EQ(GetDriveTypeW(App.substr(0, 3).c_str()), static_cast<UINT>(DRIVE_FIXED));
    const String Unused = UnusedDrive();
    ASSERT_FALSE(Unused.empty());

    const struct {
        String Line;
        bool RequireDrive;
        TCommandTarget Expected;
    } Cases[] = {
        {L"", true, ctCannotTell},
        {L"", false, ctCannotTell},
        {L"notepad.exe", true, ctCannotTell},
        {L"notepad.exe", false, ctOddForm},
        {L"C:\\x.exe;C:\\y.exe", true, ctOddForm},
        {L"C:\\a.exe D:\\b.txt", true, ctOddForm},
        {L"rundll32 C:\\x.dll", true, ctOddForm},
        {Unused + L"\\setup.exe", true, ctCannotTell},
        {L"\"" + Unused + L"\\setup.exe\" /s", true, ctCannotTell},
        {L"C:\\", true, ctTargetExists},
        {App, true, ctTargetExists},
        {L"\"" + App + L"\" /s", true, ctTargetExists},
        {App + L" -min -x", true, ctTargetExists},
        {L"\"" + App, true, ctTargetExists},
        {App + L",4", true, ctTargetExists},
        {L"\"" + App + L"\",4", true, ctTargetExists},
        {Tree.Path() + L"My Apps", false, ctTargetExists},
        {Tree.Path() + L"My Apps\\*.exe", true, ctTargetExists},
        {Missing, true, ctTargetMissing},
        {Missing + L" -min", true, ctTargetMissing},
        {L"\"" + Missing + L"\" /s", true, ctTargetMissing},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(CheckCommandTarget(Case.Line, Case.RequireDrive), Case.Expected)
            << Case.Line << (Case.RequireDrive ? L" (drive required)" : L"");
}

// The same lines where only the program counts: what its arguments hold is not judged.
TEST(QRVUtilsCommandTarget, ProgramTargetJudgesOnlyTheProgramsOwnPath) {
    TTempFolder Tree;
    Tree.AddFile(L"My Apps\\app.exe", "MZ");
    const String App = Tree.Path() + L"My Apps\\app.exe";
    const String Missing = Tree.Path() + L"My Apps\\missing.exe";
    const String Unused = UnusedDrive();
    ASSERT_FALSE(Unused.empty());

    const struct {
        String Line;
        TCommandTarget Expected;
    } Cases[] = {
        {L"", ctCannotTell},
        {L"notepad.exe /x C:\\a.txt", ctCannotTell},
        {L"rundll32 " + Missing, ctCannotTell},
        {L"\"" + Unused + L"\\un.exe\" /log=C:\\u.txt", ctCannotTell},
        {L"\"" + Missing + L"\" /log=\"C:\\logs\\u.txt\"", ctTargetMissing},
        {Missing + L" /log=C:\\logs\\u.txt", ctTargetMissing},
        {L"\"" + Missing + L"\" /dirs=C:\\a;C:\\b", ctTargetMissing},
        {Missing + L" /dirs=C:\\a;C:\\b,2", ctTargetMissing},
        {L"\"" + App + L"\" /log=\"C:\\logs\\u.txt\"", ctTargetExists},
        {App + L" /log=C:\\logs\\u.txt -x", ctTargetExists},
        {App + L" " + Tree.Path() + L"My Apps", ctTargetExists},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(CheckProgramTarget(Case.Line), Case.Expected) << Case.Line;
}

// A window that counts the messages posted to it.
class TCountingWindow {
public:
    static constexpr UINT Message = WM_APP + 17;

    TCountingWindow() {
        WNDCLASSW Class{};
        Class.lpfnWndProc = Proc;
        Class.hInstance = GetModuleHandleW(nullptr);
        Class.lpszClassName = L"QrvUtilsCountingWindow";
        RegisterClassW(&Class);
        FWindow = CreateWindowExW(0, Class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  Class.hInstance, nullptr);
        Count = 0;
    }
    ~TCountingWindow() { DestroyWindow(FWindow); }
    HWND Handle() const { return FWindow; }

    static inline int Count = 0;
    // Whether Watched took input when the message came.
    static inline HWND Watched = nullptr;
    static inline bool WatchedWasEnabled = false;

private:
    static LRESULT CALLBACK Proc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
        if (Msg == Message) {
            ++Count;
            WatchedWasEnabled = Watched && IsWindowEnabled(Watched);
            return 0;
        }
        return DefWindowProcW(Window, Msg, WParam, LParam);
    }
    HWND FWindow;
};

TEST(QRVUtilsRunAndWait, ReturnsTheExitCode) {
    EXPECT_EQ(RunAndWait(L"cmd /c exit 3", SW_HIDE), 3);
    EXPECT_EQ(RunAndWait(L"cmd /c exit 0", SW_HIDE), 0);
    EXPECT_EQ(RunAndWait(L"Z:\\no\\such\\program.exe", SW_HIDE), -1);
    EXPECT_EQ(RunAndWait(L"", SW_HIDE), -1);
}

TEST(QRVUtilsRunAndWait, WindowMessagesFlowWhileWaiting) {
    TCountingWindow Window;
    ASSERT_NE(Window.Handle(), nullptr);
    PostMessageW(Window.Handle(), TCountingWindow::Message, 0, 0);
    // About a second: one ping per second, the first at once.
    EXPECT_EQ(RunAndWait(L"ping -n 2 127.0.0.1", SW_HIDE), 0);
    EXPECT_EQ(TCountingWindow::Count, 1);
}

// The program's Close during an uninstaller's wait: its windows must keep answering until the
// child ends, and the quit is left for the main loop.
TEST(QRVUtilsRunAndWait, WindowMessagesFlowAfterAQuitToo) {
    TCountingWindow Window;
    PostQuitMessage(0);
    std::thread Later([Target = Window.Handle()] {
        Sleep(300);
        PostMessageW(Target, TCountingWindow::Message, 0, 0);
    });
    EXPECT_EQ(RunAndWait(L"ping -n 2 127.0.0.1", SW_HIDE), 0);
    Later.join();
    EXPECT_EQ(TCountingWindow::Count, 1);
    MSG Quit;
    EXPECT_TRUE(PeekMessageW(&Quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

struct TWindowDestroyer {
    void operator()(HWND Window) const { DestroyWindow(Window); }
};
using TOwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, TWindowDestroyer>;

TOwnedWindow NewTopLevelWindow(DWORD Style) {
    return TOwnedWindow(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | Style, 0, 0, 200,
                                        100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
}

// A click during the wait must not start a second command (or free what the first one uses).
TEST(QRVUtilsRunAndWait, WindowsTakeNoInputWhileWaiting) {
    const TOwnedWindow Main = NewTopLevelWindow(WS_VISIBLE);
    const TOwnedWindow AlreadyDisabled = NewTopLevelWindow(WS_VISIBLE | WS_DISABLED);
    ASSERT_TRUE(Main && AlreadyDisabled);
    TCountingWindow Window;
    TCountingWindow::Watched = Main.get();
    PostMessageW(Window.Handle(), TCountingWindow::Message, 0, 0);
    EXPECT_EQ(RunAndWait(L"ping -n 2 127.0.0.1", SW_HIDE), 0);
    TCountingWindow::Watched = nullptr;
    EXPECT_EQ(TCountingWindow::Count, 1);
    EXPECT_FALSE(TCountingWindow::WatchedWasEnabled);
    EXPECT_TRUE(IsWindowEnabled(Main.get()));
    EXPECT_FALSE(IsWindowEnabled(AlreadyDisabled.get()));
}

TEST(QRVUtilsCanLaunch, CreatesButNeverRuns) {
    TTempFolder Tree;
    const String Marker = Tree.Path() + L"ran.txt";
    EXPECT_TRUE(CanLaunch(L"cmd /c echo ran> \"" + Marker + L"\""));
    Sleep(1000);
    EXPECT_FALSE(PathPresent(Marker)) << "the program ran";

    EXPECT_FALSE(CanLaunch(L"Z:\\no\\such\\program.exe"));
    EXPECT_FALSE(CanLaunch(L""));
}

} // namespace
