#pragma once
// The schedule check that the window's 5-second timer runs: which functions are due, and
// starting them one after another.

#include "app/Clock.h"
#include "scheduler/SchedFunc.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>

// Free bytes of the drive of Root ("C:\"); -1 when the query fails.
std::int64_t GetDriveFreeBytes(const String& Root);
using TFreeBytesFunc = std::function<std::int64_t(const String& Root)>;

// The drive whose free space kind 7 watches.
extern const wchar_t SchedPrimaryDrive[];

// Runs a function once; the runners of the scheduler window.
class ISchedRunner {
public:
    virtual ~ISchedRunner() = default;
    virtual bool Running() const = 0;
    // Parameters: the function's own list as stored in its record.
    virtual void RunSchedFunc(int Index, const String& Parameters) = 0;
};

class TScheduleCheck {
public:
    TScheduleCheck(TSchedFuncs& Funcs, ISchedRunner& Runner, const IClock& Clock,
                   TFreeBytesFunc FreeBytes = GetDriveFreeBytes);
    TScheduleCheck(const TScheduleCheck&) = delete;
    TScheduleCheck& operator=(const TScheduleCheck&) = delete;

    // After a function's LastRun has been set, just before its run starts (the window saves it).
    std::function<void(int Index)> OnRunStarting;

    // One tick: every enabled function that is due now joins the queue; unless a run is in
    // progress, the queue is then worked off in order. A function due during a run so runs
    // after it, with LastRun set when its own run starts.
    void CheckSchedule();

    // Whether function Index is due at Now. For the kinds counted from the last run, a LastRun
    // later than Now is taken back to Now first, so a clock that was set back does not stall
    // them; other kinds leave LastRun alone. Kind 7 remembers that it fired until the free
    // space rises to the bar again.
    bool IsDue(int Index, TDateTime Now);
    bool Queued(int Index) const;
    // The program is closing: the queued functions are dropped, and no later tick queues or
    // starts one. A run under way goes to its end.
    void Stop();

private:
    bool FreeSpaceDue(int Index, const TSchedFunc& Func);
    void RunQueue();

    TSchedFuncs& FFuncs;
    ISchedRunner& FRunner;
    const IClock& FClock;
    TFreeBytesFunc FFreeBytes;
    std::deque<int> FQueue;
    std::array<bool, SchedFuncCount> FFreeSpaceFired{};
    bool FRunningQueue = false;
    bool FStopped = false;
};
