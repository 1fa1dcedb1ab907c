#include "GuiTestSupport.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// A message-only window whose one message stands for a Stop button's click.
class TStopWindow {
public:
    static constexpr UINT StopMessage = WM_APP + 7;

    TStopWindow() {
        WNDCLASSW Class{};
        Class.lpfnWndProc = Proc;
        Class.hInstance = GetModuleHandleW(nullptr);
        Class.lpszClassName = L"QrvWorkPumpStop";
        RegisterClassW(&Class);
        FWnd = CreateWindowExW(0, Class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               Class.hInstance, nullptr);
    }
    ~TStopWindow() { DestroyWindow(FWnd); }
    TStopWindow(const TStopWindow&) = delete;
    TStopWindow& operator=(const TStopWindow&) = delete;

    HWND Handle() const { return FWnd; }
    void PostStop(bool& Stop) const {
        PostMessageW(FWnd, StopMessage, 0, reinterpret_cast<LPARAM>(&Stop));
    }

private:
    static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
        if (Msg == StopMessage) {
            *reinterpret_cast<bool*>(L) = true;
            return 0;
        }
        return DefWindowProcW(Wnd, Msg, W, L);
    }

    HWND FWnd = nullptr;
};

// One item of a loop's work: a millisecond of computing.
void WorkOneItem() {
    const auto End = Clock::now() + std::chrono::milliseconds(1);
    while (Clock::now() < End) {
    }
}

} // namespace

// A loop that pumps per item looks into the queue only every ~15 ms of work, and still sees a
// Stop posted to its window within that time.
TEST_F(GuiTest, WorkLoopsPumpOnTheClockAndSeeAStopInTime) {
    const TStopWindow Window;
    ASSERT_NE(Window.Handle(), nullptr);
    bool Stop = false;

    ASSERT_TRUE(ProcessPendingMessages());
    Window.PostStop(Stop);
    EXPECT_TRUE(ProcessMessagesDuringWork());
    EXPECT_FALSE(Stop) << "pumped again right after a pump";

    const auto Posted = Clock::now();
    int Items = 0;
    while (!Stop && Items < 1000) {
        WorkOneItem();
        ++Items;
        ProcessMessagesDuringWork();
    }
    const auto Waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - Posted).count();
    EXPECT_TRUE(Stop);
    EXPECT_GE(Waited, WorkPumpIntervalMs - 2);
    // The interval, one item, and room for a machine that is busy with other work.
    EXPECT_LE(Waited, WorkPumpIntervalMs + 25);
}

// A quitting program stops the loop at once, also between pumps.
TEST_F(GuiTest, WorkLoopsSeeTheProgramQuitting) {
    ASSERT_TRUE(ProcessMessagesDuringWork());
    App->Terminate();
    EXPECT_FALSE(ProcessMessagesDuringWork());
    App->ProcessMessages(); // takes the quit message, which the next test must not get
}
