#include "GuiTestSupport.h"

#include "classlib/gui/Threads.h"
#include "classlib/rtl/SyncObjs.h"

#include <functional>

#include <tlhelp32.h>

namespace {

class TWorker : public TThread {
public:
    TWorker(std::function<void(TWorker&)> Body, bool* Deleted = nullptr)
        : FBody(std::move(Body)), FDeleted(Deleted) {}
    ~TWorker() override {
        if (FDeleted)
            *FDeleted = true;
    }
    bool IsTerminated() const { return Terminated(); }
    DWORD RanOn = 0;

protected:
    void Execute() override {
        RanOn = GetCurrentThreadId();
        FBody(*this);
    }

private:
    std::function<void(TWorker&)> FBody;
    bool* FDeleted;
};

// The threads of this process that exist now.
int ThreadCount() {
    const TOwnedHandle Snapshot = OwnHandle(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 Entry{};
    Entry.dwSize = sizeof Entry;
    int Count = 0;
    for (BOOL More = Thread32First(Snapshot.get(), &Entry); More;
         More = Thread32Next(Snapshot.get(), &Entry))
        Count += Entry.th32OwnerProcessID == GetCurrentProcessId();
    return Count;
}

// Its member is set in its own constructor, after the base part is built, and slowly.
class TSlowlyBuiltThread : public TThread {
public:
    TSlowlyBuiltThread() {
        Sleep(50);
        FMark = 42;
    }
    ~TSlowlyBuiltThread() override { WaitFor(); } // Execute reads this object's member
    int Seen = 0;

protected:
    void Execute() override { Seen = FMark; }

private:
    int FMark = 0;
};

} // namespace

TEST_F(GuiTest, AThreadStartsOnlyOnceItsDerivedObjectIsBuilt) {
    StartThread<TSlowlyBuiltThread>()->WaitFor(); // warms up what the first thread makes
    const int Threads = ThreadCount();
    for (int I = 0; I < 5; ++I) {
        const auto Thread = StartThread<TSlowlyBuiltThread>();
        Thread->WaitFor();
        EXPECT_EQ(Thread->Seen, 42);
    }
    EXPECT_EQ(ThreadCount(), Threads); // each one ended with its object
    // Built without starting, it waits for Start.
    TSlowlyBuiltThread Waiting;
    Sleep(30);
    EXPECT_FALSE(Waiting.Finished());
    Waiting.Start();
    Waiting.WaitFor();
    EXPECT_EQ(Waiting.Seen, 42);
}

TEST_F(GuiTest, OnTerminateRunsOnTheWindowThreadAfterExecute) {
    bool Deleted = false;
    auto* Worker = new TWorker([](TWorker&) { Sleep(20); }, &Deleted);
    Worker->FreeOnTerminate = true;
    DWORD TerminatedOn = 0;
    bool FinishedThen = false;
    Worker->OnTerminate = [&](TObject* Sender) {
        TerminatedOn = GetCurrentThreadId();
        FinishedThen = static_cast<TThread*>(Sender)->Finished();
    };
    Worker->Start();
    ASSERT_TRUE(PumpUntil([&] { return Deleted; }));
    EXPECT_EQ(TerminatedOn, GetCurrentThreadId());
    EXPECT_TRUE(FinishedThen);
}

TEST_F(GuiTest, AClearedOnTerminateAndADeletedThreadHearNothingLate) {
    int Heard = 0;
    {
        // Cleared before Terminate, as a view that goes does: the end runs nothing.
        auto* Worker = new TWorker([](TWorker& Self) {
            while (!Self.IsTerminated())
                Sleep(5);
        });
        Worker->FreeOnTerminate = true;
        Worker->OnTerminate = [&](TObject*) { ++Heard; };
        Worker->Start();
        Worker->OnTerminate = nullptr;
        Worker->Terminate();
    }
    {
        // Deleted by its owner after the end was posted: the posted end finds nothing.
        TWorker Worker([](TWorker&) {});
        Worker.OnTerminate = [&](TObject*) { ++Heard; };
        Worker.Start();
        Worker.WaitFor();
    }
    App->ProcessMessages();
    Sleep(50);
    App->ProcessMessages();
    EXPECT_EQ(Heard, 0);
    // A thread never started ends with its owner.
    {
        TWorker Never([](TWorker&) { ADD_FAILURE() << "never started"; });
    }
}

TEST(CriticalSection, KeepsTwoThreadsOutOfEachOther) {
    TCriticalSection Section;
    long Inside = 0;
    long MostInside = 0;
    long Total = 0;
    const auto Body = [&](TWorker&) {
        for (int I = 0; I < 2000; ++I) {
            const TCriticalSection::TLock Lock(Section);
            MostInside = std::max(MostInside, ++Inside);
            ++Total;
            --Inside;
        }
    };
    {
        TWorker A(Body);
        TWorker B(Body);
        A.Start();
        B.Start();
        A.WaitFor();
        B.WaitFor();
    }
    EXPECT_EQ(Total, 4000);
    EXPECT_EQ(MostInside, 1);
}
