// Worker threads whose end the window thread hears of.
#pragma once

#include "classlib/rtl/Classes.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>

// A thread that runs Execute. Made on the window thread, it starts when Start is called, never
// from the constructor: Execute must not run before the derived object is built (StartThread
// builds and starts one). When Execute has returned, OnTerminate runs on the
// window thread, through its message loop; a thread that no longer exists by then is skipped,
// and OnTerminate is read only at that moment, so clearing it on the window thread before
// Terminate is safe. With FreeOnTerminate the thread deletes itself after OnTerminate; any
// other thread is deleted by its owner, which asks it to stop and waits for it (a derived class
// whose Execute uses its own members stops and waits in its own destructor).
class TThread : public TObject {
public:
    TThread();
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    void Resume() { Start(); }
    // Asks Execute to end: it looks at Terminated.
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    // Execute has returned.
    bool Finished() const { return FFinished; }
    // Waits until the thread has ended.
    void WaitFor();

    bool FreeOnTerminate = false;
    TNotifyEvent OnTerminate;

protected:
    virtual void Execute() = 0;

private:
    static DWORD WINAPI ThreadProc(void* Parameter);
    // On the window thread, once Execute has returned.
    static void Done(TThread* Thread);

    std::uint64_t FSerial = 0;
    HANDLE FHandle = nullptr;
    HWND FDoneWindow = nullptr;
    bool FStarted = false;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
};

// Builds a thread of type TThreadClass and starts it once it is whole.
template <class TThreadClass, class... TArgs>
std::unique_ptr<TThreadClass> StartThread(TArgs&&... Args) {
    auto Thread = std::make_unique<TThreadClass>(std::forward<TArgs>(Args)...);
    Thread->Start();
    return Thread;
}
