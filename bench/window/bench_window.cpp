// Times the results page of the real main window at disk scale, in this process under a display:
// the junk scan from Next to the list shown against a bare FindFirstFileExW walk of the same
// tree, how long the window stays silent and how soon Stop answers while an old-files scan lists
// every file, and the memory each listed row takes.

#include "app/FlatForm.h"
#include "app/QRVDataMod.h"
#include "main/MainForm.h"

#include "bench/support/BenchDisk.h"

#include "classlib/rtl/WinApi.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int TopFolders = 100;
constexpr int SubFolders = 10;
constexpr int FilesPerFolder = 100; // 100 x 10 x 100 = 100,000 files
constexpr int Rounds = 5;

// A fifth programs (each asks the shell for its own picture), a fifth junk.
const wchar_t* const Extensions[] = {L".exe", L".log", L".dat", L".doc", L".tmp",
                                     L".jpg", L".exe", L".ini", L".bak", L".cfg"};

using TClock = std::chrono::steady_clock;

double Ms(TClock::duration D) {
    return std::chrono::duration<double, std::milli>(D).count();
}

// Ten years ahead: every file of the tree is old.
class TLaterClock : public IClock {
public:
    TDateTime Now() const override { return ::Now() + 3650; }
};

class TFixedDrives : public IDriveInfo {
public:
    UINT DriveType(const String&) const override { return DRIVE_FIXED; }
    std::int64_t DiskTotalSize(const String&) const override { return 1LL << 40; }
};

class TSilentStatus : public IStatusSink {
    void SetStatus(const String&) override {}
};

class TOkPrompt : public IPrompt {
public:
    int MessageBox(const String&, const String&, int, int) override { return ResultOk; }
    bool InputQuery(const String&, const String&, String&, int, const String&) override {
        return false;
    }
};

// The committed private memory of the process.
std::uint64_t PrivateBytes() {
    std::uint64_t Total = 0;
    MEMORY_BASIC_INFORMATION Info;
    for (const char* At = nullptr;
         VirtualQuery(At, &Info, sizeof(Info)) == sizeof(Info) && At + Info.RegionSize > At;
         At = static_cast<const char*>(Info.BaseAddress) + Info.RegionSize)
        if (Info.State == MEM_COMMIT && Info.Type == MEM_PRIVATE)
            Total += Info.RegionSize;
    return Total;
}

// Another thread posts a beat to a window of this thread every millisecond: the gap between
// two beats handled is how long the thread answered nothing. At a chosen row count of the
// result list, a Stop is posted the same way.
class THeartbeat {
public:
    static constexpr UINT BeatMessage = WM_APP + 1;
    static constexpr UINT StopMessage = WM_APP + 2;

    explicit THeartbeat(TfrmMain& Form) : FForm(Form) {
        WNDCLASSW Class{};
        Class.lpfnWndProc = &WindowProc;
        Class.hInstance = GetModuleHandleW(nullptr);
        Class.lpszClassName = L"QrvBenchHeartbeat";
        RegisterClassW(&Class);
        FWindow = CreateWindowExW(0, Class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  Class.hInstance, nullptr);
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        FThread = std::thread([this] {
            while (!FQuit) {
                PostMessageW(FWindow, BeatMessage, 0, 0);
                Sleep(1);
            }
        });
    }
    ~THeartbeat() {
        FQuit = true;
        FThread.join();
        DestroyWindow(FWindow);
    }
    THeartbeat(const THeartbeat&) = delete;
    THeartbeat& operator=(const THeartbeat&) = delete;

    // From now on: the longest silence, and a Stop once the list holds StopAtRows rows (0: none).
    void Start(int StopAtRows) {
        FLast = TClock::now();
        FLongest = {};
        FStopAtRows = StopAtRows;
        FStopPosted = {};
        FMeasuring = true;
    }
    void End() { FMeasuring = false; }
    double LongestMs() const { return Ms(FLongest); }
    bool StopPosted() const { return FStopPosted != TClock::time_point{}; }
    TClock::time_point StopPostedAt() const { return FStopPosted; }

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
        auto* Self = reinterpret_cast<THeartbeat*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
        if (Self && Message == BeatMessage) {
            Self->Beat();
            return 0;
        }
        if (Self && Message == StopMessage) {
            Self->FForm.btnStopScanClick();
            return 0;
        }
        return DefWindowProcW(Window, Message, W, L);
    }
    void Beat() {
        if (!FMeasuring)
            return;
        const TClock::time_point Now = TClock::now();
        FLongest = std::max(FLongest, Now - FLast);
        FLast = Now;
        if (FStopAtRows > 0 && !StopPosted() && FForm.lvScanResults &&
            FForm.lvScanResults->Items().TotalCount() >= FStopAtRows) {
            FStopPosted = Now;
            PostMessageW(FWindow, StopMessage, 0, 0);
        }
    }

    TfrmMain& FForm;
    HWND FWindow = nullptr;
    std::thread FThread;
    std::atomic<bool> FQuit{false};
    bool FMeasuring = false;
    TClock::time_point FLast;
    TClock::duration FLongest{};
    int FStopAtRows = 0;
    TClock::time_point FStopPosted;
};

// The way a user goes to a scan's options: the area, the mode, Next.
void OpenOptions(TfrmMain& Form, int Mode) {
    Form.AreaClick(arCleanMyComputer);
    Form.ModeClick(Mode);
    Form.btnNextClick();
    Application->ProcessMessages();
}

// Next on the options page; returns when the results page shows its list, painted.
void ScanFromOptions(TfrmMain& Form) {
    Form.btnNextClick();
    if (Form.lvScanResults)
        UpdateWindow(Form.lvScanResults->TreeView().Handle());
    Application->ProcessMessages();
}

void ScanThroughTheWindow(TfrmMain& Form, int Mode) {
    OpenOptions(Form, Mode);
    ScanFromOptions(Form);
}

} // namespace

int main() {
    const int Files = TopFolders * SubFolders * FilesPerFolder;
    std::printf("building a tree of %d files...\n", Files);
    const TBenchTree Tree(L"qrvbench-window-", TopFolders, SubFolders, FilesPerFolder,
                          [](int T, int S, int F, int) {
                              return L"file" + std::to_wstring(F) + Extensions[(F + S + T) % 10];
                          });
    const std::filesystem::path AppDir =
        std::filesystem::temp_directory_path() /
        (L"qrvbench-window-app-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(AppDir / L"Data");

    const TFixedDrives Drives;
    const TLaterClock Clock;
    TSilentStatus Status;
    TOkPrompt Prompt;
    TMainFormEnvironment Environment;
    Environment.Core.AppDir = AppDir.wstring() + L"\\";
    Environment.Core.WindowsFolder = (AppDir / L"Windows").wstring();
    Environment.Core.BackupFolder = (AppDir / L"Backups").wstring();
    Environment.Core.Drives = &Drives;
    Environment.Core.Clock = &Clock;
    Environment.Core.Status = &Status;
    Environment.Core.Prompt = &Prompt;
    Environment.PickFolder = [](HWND, const String&, String&) { return false; };
    Environment.ShowScheduler = [] {};
    Environment.ShowReportViewer = [] {};

    double Fill = 0, Silence = 0, Stop = 0, BareBest = 0, WindowBest = 0;
    std::uint64_t Before = 0, After = 0;
    int Listed = 0, StoppedAt = 0, Junk = 0;
    {
        const std::unique_ptr<TfrmDM> DataModule(NewForm<TfrmDM>(nullptr));
        TFlatFormSystem FormSystem(Environment.Core.AppDir + L"Data\\");
        TApplication App;
        auto* Form = NewForm<TfrmMain>(&App, Environment);
        Form->Show();
        Form->Core().ScanPaths.Clear();
        Form->Core().ScanPaths.AddFolder(ExcludeTrailingBackslash(Tree.Path()));
        Form->Core().Flow.ShowPage(pgScanResults);
        App.ProcessMessages();

        // What 100,000 listed rows cost, in a heap that has not held rows yet, after one small
        // scan has made what a process makes once (the shell's picture lists, the pages).
        Form->Core().ScanPaths.Clear();
        Form->Core().ScanPaths.AddFolder(Tree.Path() + L"top0\\sub0");
        ScanThroughTheWindow(*Form, mdOldFiles);
        Form->Core().ScanPaths.Clear();
        Form->Core().ScanPaths.AddFolder(ExcludeTrailingBackslash(Tree.Path()));
        OpenOptions(*Form, mdOldFiles);
        Before = PrivateBytes();
        auto Start = TClock::now();
        ScanFromOptions(*Form);
        Fill = Ms(TClock::now() - Start);
        After = PrivateBytes();
        Listed = Form->Core().Results.Count();

        // The window scan against the bare walk, alternated; the first round warms up.
        std::vector<double> Bare, Window;
        for (int Round = 0; Round <= Rounds; ++Round) {
            Start = TClock::now();
            long long Walked = 0;
            BareWalk(Tree.Path(),
                     [&Walked](const std::wstring&, const WIN32_FIND_DATAW&) { ++Walked; });
            const double BareMs = Ms(TClock::now() - Start);
            OpenOptions(*Form, mdJunkFiles);
            Start = TClock::now();
            ScanFromOptions(*Form);
            const double WindowMs = Ms(TClock::now() - Start);
            if (Round > 0) {
                Bare.push_back(BareMs);
                Window.push_back(WindowMs);
            }
        }
        Junk = Form->Core().Results.Count();
        BareBest = *std::min_element(Bare.begin(), Bare.end());
        WindowBest = *std::min_element(Window.begin(), Window.end());

        // Every file old: how long the window is silent while 100,000 rows are listed.
        THeartbeat Heartbeat(*Form);
        OpenOptions(*Form, mdOldFiles);
        Heartbeat.Start(0);
        ScanFromOptions(*Form);
        Heartbeat.End();
        Silence = Heartbeat.LongestMs();

        // Stop posted when a fifth of the rows are listed, to the results shown.
        OpenOptions(*Form, mdOldFiles);
        Heartbeat.Start(Files / 5);
        ScanFromOptions(*Form);
        const TClock::time_point Shown = TClock::now();
        Heartbeat.End();
        if (Heartbeat.StopPosted())
            Stop = Ms(Shown - Heartbeat.StopPostedAt());
        StoppedAt = Form->Core().Results.Count();
    }
    std::error_code Ignored;
    std::filesystem::remove_all(AppDir, Ignored);

    std::printf("old files listed: %d in %.0f ms; junk listed: %d; stopped at %d rows\n", Listed,
                Fill, Junk, StoppedAt);
    std::printf("bare FindFirstFileExW walk: %.0f ms, junk scan to list shown: %.0f ms (best of "
                "%d)\n",
                BareBest, WindowBest, Rounds);
    std::printf("window scan: %.0f ms / %.0f ms, ratio %.2f (bar 1.1)\n", WindowBest, BareBest,
                WindowBest / BareBest);
    std::printf("longest silence: %.0f ms (bar 250)\n", Silence);
    if (Stop > 0)
        std::printf("stop: %.0f ms (bar 500)\n", Stop);
    else
        std::printf("stop: not measured, the fill ended before the Stop was posted\n");
    std::printf("bytes per listed row: %.0f (bar 400)\n",
                Listed > 0 ? static_cast<double>(After - Before) / Listed : 0.0);
    return 0;
}
