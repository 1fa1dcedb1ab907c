#include "scheduler/SchedCheck.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class TSettableClock : public IClock {
public:
    TDateTime Value = 0;
    TDateTime Now() const override { return Value; }
};

// Records the runs; a run may move the clock and tick again, as a long run does.
class TFakeRunner : public ISchedRunner {
public:
    struct TRun {
        int Index;
        String Parameters;
        TDateTime LastRun;
    };
    std::vector<TRun> Runs;
    TSchedFuncs* Funcs = nullptr;
    std::function<void(int Index)> During;

    bool Running() const override { return FRunning; }
    void RunSchedFunc(int Index, const String& Parameters) override {
        if (FRunning)
            return;
        FRunning = true;
        Runs.push_back({Index, Parameters, (*Funcs)[Index].LastRun});
        if (During)
            During(Index);
        FRunning = false;
    }

private:
    bool FRunning = false;
};

TDateTime At(int Year, int Month, int Day, int Hour = 0, int Min = 0, int Sec = 0) {
    return EncodeDate(Year, Month, Day) + EncodeTime(Hour, Min, Sec, 0);
}

struct TCheckFixture {
    TSchedFuncs Funcs;
    TFakeRunner Runner;
    TSettableClock Clock;
    std::int64_t FreeBytes = 10LL * 1024 * 1024 * 1024;
    std::vector<String> Roots;
    TScheduleCheck Check{Funcs, Runner, Clock, [this](const String& Root) {
                             Roots.push_back(Root);
                             return FreeBytes;
                         }};
    TCheckFixture() { Runner.Funcs = &Funcs; }

    std::vector<int> RunIndices() const {
        std::vector<int> Result;
        for (const auto& Run : Runner.Runs)
            Result.push_back(Run.Index);
        return Result;
    }
};

TSchedFunc Func(int Kind, std::function<void(TSchedFunc&)> Set = {}) {
    TSchedFunc F;
    F.Enabled = true;
    F.Intervals = Kind;
    if (Set)
        Set(F);
    return F;
}

} // namespace

TEST(SchedCheckTest, DueTableOverEveryKind) {
    const TDateTime Feb29 = At(2024, 2, 29); // a Thursday
    struct TCase {
        const char* What;
        TSchedFunc Func;
        TDateTime LastRun;
        TDateTime Now;
        std::int64_t FreeBytes;
        bool Due;
    };
    const std::int64_t TenGB = 10LL * 1024 * 1024 * 1024;
    const auto Daily = Func(siDays, [](TSchedFunc& F) { F.Hour = 10; });
    const auto Sundays = Func(siWeeks, [](TSchedFunc& F) { F.DayOfWeek = 0; });
    const auto Day31 = Func(siMonths, [](TSchedFunc& F) { F.DayOfMonth = 31; });
    const auto Quarterly = Func(siMonths, [](TSchedFunc& F) {
        F.DayOfMonth = 31;
        F.Time5 = 3;
    });
    const auto OnDate = Func(siOnDate, [&](TSchedFunc& F) {
        F.OnDate = Feb29;
        F.OnDateHour = 10;
    });
    const TCase Cases[] = {
        {"none", Func(siNone), 0, Feb29, TenGB, false},
        {"at Windows start", Func(siWindowsStart), 0, Feb29, TenGB, false},
        {"not a kind", Func(12), 0, Feb29, TenGB, false},
        {"30 min: at 30 min", Func(siMinutes), At(2024, 2, 29, 10, 0, 2),
         At(2024, 2, 29, 10, 30, 2), TenGB, false},
        {"30 min: after 30 min", Func(siMinutes), At(2024, 2, 29, 10, 0, 2),
         At(2024, 2, 29, 10, 30, 7), TenGB, true},
        {"90 min", Func(siMinutes, [](TSchedFunc& F) { F.Time1 = 90; }), At(2024, 2, 29, 10, 0, 2),
         At(2024, 2, 29, 11, 30, 7), TenGB, true},
        {"48 h: not yet", Func(siHours, [](TSchedFunc& F) { F.Time2 = 48; }),
         At(2024, 2, 27, 10, 0, 0), At(2024, 2, 29, 9, 59, 59), TenGB, false},
        {"48 h", Func(siHours, [](TSchedFunc& F) { F.Time2 = 48; }), At(2024, 2, 27, 10, 0, 0),
         At(2024, 2, 29, 10, 0, 5), TenGB, true},
        {"never run: minutes", Func(siMinutes), 0, Feb29, TenGB, true},
        {"daily: yesterday's run came late in the minute", Daily, At(2024, 2, 28, 10, 0, 4),
         At(2024, 2, 29, 10, 0, 0), TenGB, true},
        {"daily: another minute", Daily, At(2024, 2, 28, 10, 0, 4), At(2024, 2, 29, 10, 1, 0),
         TenGB, false},
        {"daily: run already in this minute", Daily, At(2024, 2, 29, 10, 0, 0),
         At(2024, 2, 29, 10, 0, 5), TenGB, false},
        {"every 2 days: only one passed",
         Func(siDays,
              [](TSchedFunc& F) {
                  F.Time3 = 2;
                  F.Hour = 10;
              }),
         At(2024, 2, 28, 10, 0, 0), At(2024, 2, 29, 10, 0, 0), TenGB, false},
        {"weekly on Sunday: a week later, earlier in the day", Sundays, At(2024, 2, 25, 23, 0, 0),
         At(2024, 3, 3, 8, 0, 0), TenGB, true},
        {"weekly on Sunday: a Monday", Sundays, At(2024, 2, 25, 23, 0, 0), At(2024, 3, 4, 8, 0, 0),
         TenGB, false},
        {"day 31 in February: the month's last day", Day31, At(2024, 1, 31, 9, 0, 0), Feb29, TenGB,
         true},
        {"day 31 in February: not the last day", Day31, At(2024, 1, 31, 9, 0, 0), At(2024, 2, 28),
         TenGB, false},
        {"monthly: once on the day", Day31, At(2024, 2, 29, 0, 0, 5), At(2024, 2, 29, 0, 0, 10),
         TenGB, false},
        {"every 3 months: one passed", Quarterly, At(2024, 1, 31), Feb29, TenGB, false},
        {"every 3 months: three passed", Quarterly, At(2024, 1, 31), At(2024, 4, 30, 12), TenGB,
         true},
        {"free space above the bar", Func(siFreeSpace), 0, Feb29, TenGB, false},
        {"free space below the bar (64-bit bar)",
         Func(siFreeSpace, [](TSchedFunc& F) { F.MB = 20000; }), 0, Feb29, TenGB, true},
        {"free space query failed", Func(siFreeSpace), 0, Feb29, -1, false},
        {"on the date and minute", OnDate, 0, At(2024, 2, 29, 10, 0, 3), TenGB, true},
        {"on the date, already run that day", OnDate, At(2024, 2, 29, 10, 0, 0),
         At(2024, 2, 29, 10, 0, 5), TenGB, false},
        {"on another date", OnDate, 0, At(2024, 3, 1, 10, 0, 0), TenGB, false},
        {"date unreadable", Func(siOnDate, [](TSchedFunc& F) { F.OnDateHour = 10; }), 0,
         At(2024, 2, 29, 10, 0, 0), TenGB, false},
    };
    for (const TCase& Case : Cases) {
        TCheckFixture Fx;
        Fx.FreeBytes = Case.FreeBytes;
        Fx.Funcs[sfFolderCleaner] = Case.Func;
        if (std::string(Case.What) == "date unreadable")
            Fx.Funcs[sfFolderCleaner].OnDate.reset();
        Fx.Funcs[sfFolderCleaner].LastRun = Case.LastRun;
        EXPECT_EQ(Fx.Check.IsDue(sfFolderCleaner, Case.Now), Case.Due) << Case.What;
    }
}

TEST(SchedCheckTest, FreeSpaceWatchesDriveCAndFiresAgainOnlyAfterTheSpaceRose) {
    TCheckFixture Fx;
    Fx.Funcs[sfAppLauncher] = Func(siFreeSpace, [](TSchedFunc& F) { F.MB = 1024; });
    Fx.Clock.Value = At(2024, 6, 1, 12);
    const std::int64_t Low = 512LL * 1024 * 1024, High = 2048LL * 1024 * 1024;
    const struct {
        std::int64_t Free;
        std::size_t RunsAfter;
    } Ticks[] = {{High, 0}, {Low, 1}, {Low, 1}, {-1, 1}, {Low, 1}, {High, 1}, {Low, 2}};
    for (const auto& Tick : Ticks) {
        Fx.FreeBytes = Tick.Free;
        Fx.Check.CheckSchedule();
        EXPECT_EQ(Fx.Runner.Runs.size(), Tick.RunsAfter);
    }
    ASSERT_FALSE(Fx.Roots.empty());
    EXPECT_EQ(Fx.Roots.front(), L"C:\\");
}

TEST(SchedCheckTest, ClockJumpsNeitherStallNorRepeatTheSchedule) {
    // Set back (or a LastRun from a clock that was wrong once): counted from now, not stalled.
    TCheckFixture Fx;
    Fx.Funcs[sfRegistryCleaner] = Func(siMinutes);
    Fx.Funcs[sfRegistryCleaner].LastRun = At(2030, 1, 1);
    Fx.Clock.Value = At(2024, 6, 1, 12);
    Fx.Check.CheckSchedule();
    EXPECT_TRUE(Fx.Runner.Runs.empty());
    EXPECT_EQ(Fx.Funcs[sfRegistryCleaner].LastRun, Fx.Clock.Value);
    Fx.Clock.Value = At(2024, 6, 1, 12, 30, 5);
    Fx.Check.CheckSchedule();
    EXPECT_EQ(Fx.Runner.Runs.size(), 1u);

    // Daylight saving ends: 01:30 comes twice; a daily run at 01:30 runs once, and a
    // 30-minute run started at 01:50 runs again 30 minutes after the clock went back.
    TCheckFixture Dst;
    Dst.Funcs[0] = Func(siDays, [](TSchedFunc& F) {
        F.Hour = 1;
        F.Min = 30;
    });
    Dst.Funcs[0].LastRun = At(2024, 10, 26, 1, 30);
    Dst.Funcs[1] = Func(siMinutes);
    Dst.Funcs[1].LastRun = At(2024, 10, 27, 1, 19, 0);
    for (const TDateTime Tick :
         {At(2024, 10, 27, 1, 30, 2), At(2024, 10, 27, 1, 50, 0), At(2024, 10, 27, 1, 10, 0),
          At(2024, 10, 27, 1, 30, 2), At(2024, 10, 27, 1, 40, 5)}) {
        Dst.Clock.Value = Tick;
        Dst.Check.CheckSchedule();
    }
    EXPECT_EQ(Dst.RunIndices(), (std::vector<int>{0, 1, 1}));

    // Daylight saving starts: 02:00 becomes 03:00; the 30-minute function is simply due.
    TCheckFixture Spring;
    Spring.Funcs[1] = Func(siMinutes);
    Spring.Funcs[1].LastRun = At(2024, 3, 31, 1, 50);
    Spring.Clock.Value = At(2024, 3, 31, 3, 0, 5);
    Spring.Check.CheckSchedule();
    EXPECT_EQ(Spring.RunIndices(), (std::vector<int>{1}));
}

// The clock goes back (or LastRun comes from a clock that was once ahead): the kinds that
// count time since the last run count from the clock change on, a run on a date comes once on
// its date, and a kind that does not read LastRun leaves it as it is.
TEST(SchedCheckTest, TicksAcrossAClockSetBackForEveryKind) {
    struct TTick {
        TDateTime Now;
        bool Runs;
    };
    struct TCase {
        const char* What;
        TSchedFunc Func;
        TDateTime LastRun;
        std::vector<TTick> Ticks;
        TDateTime LastRunAfter;
    };
    const auto OnJune1At10 = Func(siOnDate, [](TSchedFunc& F) {
        F.OnDate = EncodeDate(2024, 6, 1);
        F.OnDateHour = 10;
    });
    const TDateTime Ahead = At(2024, 6, 4, 10); // a LastRun from a clock that was once ahead
    const TCase Cases[] = {
        {"none", Func(siNone), Ahead, {{At(2024, 6, 1, 10, 0, 3), false}}, Ahead},
        {"at Windows start",
         Func(siWindowsStart),
         Ahead,
         {{At(2024, 6, 1, 10, 0, 3), false}},
         Ahead},
        {"every 30 minutes",
         Func(siMinutes),
         At(2024, 6, 1, 12),
         {{At(2024, 6, 1, 9), false},
          {At(2024, 6, 1, 9, 30), false},
          {At(2024, 6, 1, 9, 30, 5), true}},
         At(2024, 6, 1, 9, 30, 5)},
        {"every 2 hours",
         Func(siHours, [](TSchedFunc& F) { F.Time2 = 2; }),
         Ahead,
         {{At(2024, 6, 1, 10, 0, 3), false}, {At(2024, 6, 1, 12, 0, 8), true}},
         At(2024, 6, 1, 12, 0, 8)},
        {"daily at 10:00",
         Func(siDays, [](TSchedFunc& F) { F.Hour = 10; }),
         Ahead,
         {{At(2024, 6, 1, 10, 0, 3), false}, {At(2024, 6, 2, 10, 0, 1), true}},
         At(2024, 6, 2, 10, 0, 1)},
        {"weekly on Sunday",
         Func(siWeeks, [](TSchedFunc& F) { F.DayOfWeek = 0; }),
         At(2024, 6, 9, 8), // a Sunday
         {{At(2024, 6, 2, 8), false}, {At(2024, 6, 8, 8), false}, {At(2024, 6, 9, 8), true}},
         At(2024, 6, 9, 8)},
        {"monthly on the 1st",
         Func(siMonths, [](TSchedFunc& F) { F.DayOfMonth = 1; }),
         At(2024, 7, 1, 8),
         {{At(2024, 6, 1, 8), false}, {At(2024, 7, 1, 8), true}},
         At(2024, 7, 1, 8)},
        {"free space low",
         Func(siFreeSpace, [](TSchedFunc& F) { F.MB = 20000; }),
         Ahead,
         {{At(2024, 6, 5, 8), true}, {At(2024, 6, 1, 8), false}},
         At(2024, 6, 5, 8)},
        {"free space enough", Func(siFreeSpace), Ahead, {{At(2024, 6, 1, 8), false}}, Ahead},
        {"on a date: a LastRun ahead of the date does not lose the run",
         OnJune1At10,
         Ahead,
         {{At(2024, 6, 1, 9, 59, 58), false},
          {At(2024, 6, 1, 10, 0, 3), true},
          {At(2024, 6, 1, 10, 0, 8), false}},
         At(2024, 6, 1, 10, 0, 3)},
        {"on a date: set back to the day before, the run does not come again",
         OnJune1At10,
         0,
         {{At(2024, 6, 1, 10, 0, 3), true},
          {At(2024, 5, 31, 10, 0, 0), false},
          {At(2024, 6, 1, 10, 0, 1), false}},
         At(2024, 6, 1, 10, 0, 3)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        TCheckFixture Fx;
        Fx.Funcs[sfFolderCleaner] = Case.Func;
        Fx.Funcs[sfFolderCleaner].LastRun = Case.LastRun;
        for (const TTick& Tick : Case.Ticks) {
            const std::size_t Before = Fx.Runner.Runs.size();
            Fx.Clock.Value = Tick.Now;
            Fx.Check.CheckSchedule();
            EXPECT_EQ(Fx.Runner.Runs.size() - Before, Tick.Runs ? 1u : 0u)
                << "tick at " << ToUtf8(DateTimeToStr(Tick.Now));
        }
        EXPECT_EQ(Fx.Funcs[sfFolderCleaner].LastRun, Case.LastRunAfter);
    }
}

TEST(SchedCheckTest, OnlyEnabledDueFunctionsRunInOrderWithTheirStoredList) {
    TCheckFixture Fx;
    Fx.Funcs[sfRegistryCleaner] = Func(siMinutes);
    Fx.Funcs[sfRegistryCleaner].LastRun = At(2024, 6, 1, 11, 59); // not due
    Fx.Funcs[sfFolderCleaner] = Func(siMinutes);
    Fx.Funcs[sfFolderCleaner].Parameters = L"C:\\Temp\\|";
    Fx.Funcs[sfAppLauncher] = Func(siMinutes);
    Fx.Funcs[sfAppLauncher].Enabled = false;
    Fx.Funcs[sfJunkFiles] = Func(siMinutes);
    Fx.Funcs[sfJunkFiles].Parameters = L"D:\\|";
    std::vector<int> Started;
    Fx.Check.OnRunStarting = [&](int Index) { Started.push_back(Index); };
    Fx.Clock.Value = At(2024, 6, 1, 12);
    Fx.Check.CheckSchedule();

    ASSERT_EQ(Fx.RunIndices(), (std::vector<int>{sfFolderCleaner, sfJunkFiles}));
    EXPECT_EQ(Started, Fx.RunIndices());
    EXPECT_EQ(Fx.Runner.Runs[0].Parameters, L"C:\\Temp\\|");
    EXPECT_EQ(Fx.Runner.Runs[1].Parameters, L"D:\\|");
    EXPECT_EQ(Fx.Runner.Runs[0].LastRun, Fx.Clock.Value) << "LastRun is set before the run";
    EXPECT_EQ(Fx.Funcs[sfAppLauncher].LastRun, 0);
}

TEST(SchedCheckTest, ALongRunDelaysAnotherDueFunctionInsteadOfDroppingIt) {
    TCheckFixture Fx;
    // Both are due in the minute 10:00; the first run lasts until 10:20, with ticks meanwhile.
    Fx.Funcs[sfRegistryCleaner] = Func(siDays, [](TSchedFunc& F) { F.Hour = 10; });
    Fx.Funcs[sfInternetPrivacy] = Func(siOnDate, [](TSchedFunc& F) {
        F.OnDate = EncodeDate(2024, 6, 1);
        F.OnDateHour = 10;
    });
    Fx.Funcs[sfFolderCleaner] = Func(siOnDate, [](TSchedFunc& F) {
        F.OnDate = EncodeDate(2024, 6, 1);
        F.OnDateHour = 10;
        F.OnDateMin = 5;
    });
    Fx.Runner.During = [&](int Index) {
        if (Index != sfRegistryCleaner)
            return;
        for (const int Min : {0, 5, 5, 20}) {
            Fx.Clock.Value = At(2024, 6, 1, 10, Min, 3);
            Fx.Check.CheckSchedule(); // nested tick while the run pumps messages
        }
    };
    Fx.Clock.Value = At(2024, 6, 1, 10, 0, 1);
    Fx.Check.CheckSchedule();

    ASSERT_EQ(Fx.RunIndices(),
              (std::vector<int>{sfRegistryCleaner, sfInternetPrivacy, sfFolderCleaner}));
    EXPECT_EQ(Fx.Runner.Runs[1].LastRun, At(2024, 6, 1, 10, 20, 3))
        << "LastRun is when the delayed run started";
    Fx.Clock.Value = At(2024, 6, 1, 10, 20, 8);
    Fx.Check.CheckSchedule();
    EXPECT_EQ(Fx.Runner.Runs.size(), 3u) << "nothing runs twice";
}

TEST(SchedCheckTest, ATickDuringAnotherRunQueuesAndTheNextIdleTickRuns) {
    TCheckFixture Fx;
    Fx.Funcs[sfJunkFiles] = Func(siMinutes);
    bool Busy = true;
    struct TBusyRunner : ISchedRunner {
        bool& Busy;
        std::vector<int> Runs;
        explicit TBusyRunner(bool& B) : Busy(B) {}
        bool Running() const override { return Busy; }
        void RunSchedFunc(int Index, const String&) override { Runs.push_back(Index); }
    } Runner(Busy);
    TScheduleCheck Check(Fx.Funcs, Runner, Fx.Clock, [](const String&) { return -1; });
    Fx.Clock.Value = At(2024, 6, 1, 12);
    Check.CheckSchedule(); // a "Run now" run is in progress
    EXPECT_TRUE(Runner.Runs.empty());
    EXPECT_TRUE(Check.Queued(sfJunkFiles));
    EXPECT_EQ(Fx.Funcs[sfJunkFiles].LastRun, 0) << "LastRun waits for the run to start";
    Busy = false;
    Fx.Clock.Value = At(2024, 6, 1, 12, 0, 5);
    Check.CheckSchedule();
    EXPECT_EQ(Runner.Runs, (std::vector<int>{sfJunkFiles}));
    EXPECT_EQ(Fx.Funcs[sfJunkFiles].LastRun, Fx.Clock.Value);
}

TEST(SchedCheckTest, GetDriveFreeBytesReadsTheDriveAndFailsWithMinusOne) {
    EXPECT_GT(GetDriveFreeBytes(L"C:\\"), 0);
    EXPECT_EQ(GetDriveFreeBytes(L"Q:\\no such drive\\"), -1);
}
