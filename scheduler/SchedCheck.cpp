#include "scheduler/SchedCheck.h"

#include <algorithm>
#include <cmath>

const wchar_t SchedPrimaryDrive[] = L"C:\\";

namespace {

constexpr std::int64_t MSecsPerMinute = 60 * 1000;
constexpr std::int64_t BytesPerMB = 1024 * 1024;

std::int64_t MSecsBetween(TDateTime Earlier, TDateTime Later) {
    return std::llround((Later - Earlier) * MSecsPerDay);
}

std::int64_t DayNumber(TDateTime Value) {
    return static_cast<std::int64_t>(std::floor(Value));
}

// Calendar days from the date of Earlier to the date of Later: a daily run at 10:00 stays
// due at 10:00 the next day, however late in the minute the last one started.
std::int64_t DaysBetween(TDateTime Earlier, TDateTime Later) {
    return DayNumber(Later) - DayNumber(Earlier);
}

int MonthNumber(TDateTime Value) {
    int Year, Month, Day;
    DecodeDate(Value, Year, Month, Day);
    return Year * 12 + Month - 1;
}

bool AtTimeOfDay(TDateTime Now, int Hour, int Min) {
    int H, M, S, MS;
    DecodeTime(Now, H, M, S, MS);
    return H == Hour && M == Min;
}

// Day DayOfMonth of Now's month, or its last day when the month is shorter.
bool IsMonthDay(TDateTime Now, int DayOfMonth) {
    int Year, Month, Day;
    DecodeDate(Now, Year, Month, Day);
    return Day == std::min(DayOfMonth, DaysInAMonth(Year, Month));
}

// The kinds whose spacing is counted from LastRun. A run on a date only compares LastRun's
// date with its own, so a LastRun in the future must stay as it is there.
bool CountsFromLastRun(int Kind) {
    return Kind >= siMinutes && Kind <= siMonths;
}

} // namespace

std::int64_t GetDriveFreeBytes(const String& Root) {
    ULARGE_INTEGER Available, Total, Free;
    if (!GetDiskFreeSpaceExW(Root.c_str(), &Available, &Total, &Free))
        return -1;
    return static_cast<std::int64_t>(Free.QuadPart);
}

TScheduleCheck::TScheduleCheck(TSchedFuncs& Funcs, ISchedRunner& Runner, const IClock& Clock,
                               TFreeBytesFunc FreeBytes)
    : FFuncs(Funcs), FRunner(Runner), FClock(Clock), FFreeBytes(std::move(FreeBytes)) {}

bool TScheduleCheck::IsDue(int Index, TDateTime Now) {
    TSchedFunc& Func = FFuncs[Index];
    if (CountsFromLastRun(Func.Intervals) && Func.LastRun > Now)
        Func.LastRun = Now;
    const TDateTime LastRun = Func.LastRun;
    switch (Func.Intervals) {
    case siMinutes:
        return MSecsBetween(LastRun, Now) > Func.Time1 * MSecsPerMinute;
    case siHours:
        return MSecsBetween(LastRun, Now) > Func.Time2 * 60 * MSecsPerMinute;
    case siDays:
        return DaysBetween(LastRun, Now) >= Func.Time3 && AtTimeOfDay(Now, Func.Hour, Func.Min);
    case siWeeks:
        return DaysBetween(LastRun, Now) >= 7 * static_cast<std::int64_t>(Func.Time4) &&
               DayOfWeek(Now) - 1 == Func.DayOfWeek;
    case siMonths:
        return IsMonthDay(Now, Func.DayOfMonth) &&
               MonthNumber(Now) - MonthNumber(LastRun) >= Func.Time5;
    case siFreeSpace:
        return FreeSpaceDue(Index, Func);
    case siOnDate:
        return Func.OnDate && DayNumber(Now) == DayNumber(*Func.OnDate) &&
               DayNumber(LastRun) != DayNumber(*Func.OnDate) &&
               AtTimeOfDay(Now, Func.OnDateHour, Func.OnDateMin);
    default: // none, at Windows start (the start-up runs those), or not a kind
        return false;
    }
}

// Fires when the free space drops below the bar, and again only after it rose to the bar: a
// drive that stays full must not start the function every five seconds. A query that fails
// tells nothing.
bool TScheduleCheck::FreeSpaceDue(int Index, const TSchedFunc& Func) {
    const std::int64_t Free = FFreeBytes(SchedPrimaryDrive);
    if (Free < 0)
        return false;
    if (Free >= static_cast<std::int64_t>(Func.MB) * BytesPerMB) {
        FFreeSpaceFired[Index] = false;
        return false;
    }
    if (FFreeSpaceFired[Index])
        return false;
    FFreeSpaceFired[Index] = true;
    return true;
}

bool TScheduleCheck::Queued(int Index) const {
    return std::find(FQueue.begin(), FQueue.end(), Index) != FQueue.end();
}

void TScheduleCheck::Stop() {
    FStopped = true;
    FQueue.clear();
}

void TScheduleCheck::CheckSchedule() {
    if (FStopped)
        return;
    const TDateTime Now = FClock.Now();
    for (int I = 0; I < SchedFuncCount; ++I)
        if (FFuncs[I].Enabled && !Queued(I) && IsDue(I, Now))
            FQueue.push_back(I);
    if (!FRunner.Running() && !FRunningQueue)
        RunQueue();
}

void TScheduleCheck::RunQueue() {
    const TFlagScope Guard(FRunningQueue);
    while (!FQueue.empty()) {
        const int Index = FQueue.front();
        FQueue.pop_front();
        TSchedFunc& Func = FFuncs[Index];
        if (!Func.Enabled)
            continue;
        Func.LastRun = FClock.Now();
        if (OnRunStarting)
            OnRunStarting(Index);
        // The run works on its own copy: ticks during the run leave it alone.
        const String Parameters = Func.Parameters;
        FRunner.RunSchedFunc(Index, Parameters);
    }
}
