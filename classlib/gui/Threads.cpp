#include "classlib/gui/Threads.h"

#include "classlib/gui/Forms.h"
#include "classlib/gui/UtilityWindow.h"

#include <cstdint>
#include <vector>

namespace {

constexpr UINT WM_THREAD_DONE = WM_APP + 1;

// The threads that exist, by serial number, as the window thread knows them: a done message for
// one that has gone since it was posted finds nothing, even when another thread took its memory.
struct TLiveThread {
    std::uint64_t Serial;
    TThread* Thread;
};
std::vector<TLiveThread>& LiveThreads() {
    static std::vector<TLiveThread> Live;
    return Live;
}

TThread* FindLive(std::uint64_t Serial) {
    for (const TLiveThread& Live : LiveThreads())
        if (Live.Serial == Serial)
            return Live.Thread;
    return nullptr;
}

} // namespace

TThread::TThread() {
    // One window per window thread hears of the threads' ends.
    static TUtilityWindow DoneWindow([](TMessage& Message) {
        if (Message.Msg != WM_THREAD_DONE)
            return false;
        if (TThread* Thread = FindLive(static_cast<std::uint64_t>(Message.LParam)))
            Done(Thread);
        return true;
    });
    static std::uint64_t LastSerial = 0;
    FDoneWindow = DoneWindow.Handle();
    FSerial = ++LastSerial;
    FHandle = CreateThread(nullptr, 0, &ThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!FHandle)
        RaiseLastOSError();
    LiveThreads().push_back(TLiveThread{FSerial, this});
}

TThread::~TThread() {
    std::erase_if(LiveThreads(), [this](const TLiveThread& Live) { return Live.Thread == this; });
    if (FHandle) {
        Terminate();
        if (!FStarted)
            Start(); // a thread never started ends at once: Execute sees Terminated
        WaitFor();
        CloseHandle(FHandle);
    }
}

void TThread::Start() {
    if (FStarted)
        return;
    FStarted = true;
    ResumeThread(FHandle);
}

void TThread::WaitFor() {
    if (FStarted && GetCurrentThreadId() != GetThreadId(FHandle))
        WaitForSingleObject(FHandle, INFINITE);
}

DWORD WINAPI TThread::ThreadProc(void* Parameter) {
    auto* Thread = static_cast<TThread*>(Parameter);
    const HWND DoneWindow = Thread->FDoneWindow;
    const std::uint64_t Serial = Thread->FSerial;
    if (!Thread->FTerminated) {
        try {
            Thread->Execute();
        } catch (...) {
            // An exception ends the thread's work; the window thread still hears of the end.
        }
    }
    Thread->FFinished = true;
    // The object may be gone from here on (its owner waited for FFinished's thread to end).
    PostMessageW(DoneWindow, WM_THREAD_DONE, 0, static_cast<LPARAM>(Serial));
    return 0;
}

void TThread::Done(TThread* Thread) {
    const std::uint64_t Serial = Thread->FSerial;
    if (Thread->OnTerminate) {
        try {
            Thread->OnTerminate(Thread);
        } catch (...) {
            HandleCurrentException(Thread);
        }
    }
    // OnTerminate may have deleted the thread itself.
    if (FindLive(Serial) == Thread && Thread->FreeOnTerminate)
        delete Thread;
}
