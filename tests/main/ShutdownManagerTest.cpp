#include "main/ShutdownManager.h"

#include "app/QRVUtils.h"
#include "tests/main/FeatureTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using Microsoft::WRL::ComPtr;

namespace {

TEST(ShutdownSettings, DefaultsAndRoundTrip) {
    TTempFolder Folder;
    TIniFile Ini(Folder.Path() + L"qv.ini");
    TShutdownSettings Read;
    SYSTEMTIME Today{};
    Today.wYear = 2026;
    Today.wMonth = 12;
    Today.wDay = 11;
    Read.Load(Ini, Today);
    // A single run starts today, not on a past date that never comes.
    EXPECT_EQ(Read.Day, 11);
    EXPECT_EQ(Read.Month, 12);
    EXPECT_EQ(Read.Year, 2026);
    Read.Day = Read.Month = 1;
    Read.Year = 2004;
    EXPECT_EQ(Read, TShutdownSettings{});
    EXPECT_FALSE(Read.Enabled);
    EXPECT_EQ(Read.Hour, 12);
    EXPECT_TRUE(Read.Ask);

    TShutdownSettings Chosen;
    Chosen.Enabled = true;
    Chosen.Type = 2;
    Chosen.Hour = 23;
    Chosen.Min = 30;
    Chosen.Every = 2;
    Chosen.Ask = false;
    Chosen.WeekDay = 6;
    Chosen.MonthDay = 31;
    Chosen.RunAsUsername = L"ann";
    Chosen.RunAsPassword = L"pw";
    Chosen.Day = 29;
    Chosen.Month = 2;
    Chosen.Year = 2028;
    Chosen.Save(Ini);
    TShutdownSettings Again;
    Again.Load(TIniFile(Folder.Path() + L"qv.ini"), Today);
    EXPECT_EQ(Again, Chosen);
    EXPECT_NE(Folder.Read(L"qv.ini").find("[ShutdownManager]"), std::string::npos);
}

TEST(ShutdownSettings, TriggerMapping) {
    TASK_TRIGGER Current{};
    Current.MinutesDuration = 77; // a field the settings do not decide
    Current.wEndYear = 2031;

    TShutdownSettings Weekly;
    Weekly.Enabled = true;
    Weekly.Type = 2;
    Weekly.Every = 2;
    Weekly.WeekDay = 6; // Sunday
    Weekly.Hour = 23;
    Weekly.Min = 30;
    TASK_TRIGGER T = ShutdownTrigger(Weekly, Current);
    EXPECT_EQ(T.cbTriggerSize, 48);
    EXPECT_EQ(T.TriggerType, TASK_TIME_TRIGGER_WEEKLY);
    EXPECT_EQ(T.Type.Weekly.WeeksInterval, 2);
    EXPECT_EQ(T.Type.Weekly.rgfDaysOfTheWeek, 1);
    EXPECT_EQ(T.wStartHour, 23);
    EXPECT_EQ(T.wStartMinute, 30);
    EXPECT_EQ(T.rgFlags, 0u);
    EXPECT_EQ(T.MinutesDuration, 77u);
    EXPECT_EQ(T.wEndYear, 2031);

    const WORD DayBits[] = {2, 4, 8, 16, 32, 64, 1};
    for (int Day = 0; Day < 7; ++Day) {
        Weekly.WeekDay = Day;
        EXPECT_EQ(ShutdownTrigger(Weekly, Current).Type.Weekly.rgfDaysOfTheWeek, DayBits[Day]);
    }

    TShutdownSettings Monthly;
    Monthly.Type = 3;
    Monthly.MonthDay = 31;
    T = ShutdownTrigger(Monthly, Current);
    EXPECT_EQ(T.TriggerType, TASK_TIME_TRIGGER_MONTHLYDATE);
    EXPECT_EQ(T.Type.MonthlyDate.rgfDays, 1u << 30);
    EXPECT_EQ(T.Type.MonthlyDate.rgfMonths, 4095);
    EXPECT_EQ(T.rgFlags, DWORD(TASK_TRIGGER_FLAG_DISABLED));

    TShutdownSettings Daily;
    Daily.Enabled = true;
    Daily.Type = 1;
    Daily.Every = 3;
    T = ShutdownTrigger(Daily, Current);
    EXPECT_EQ(T.TriggerType, TASK_TIME_TRIGGER_DAILY);
    EXPECT_EQ(T.Type.Daily.DaysInterval, 3);

    // The first opening: once, 12:00 on 1.1.2004, disabled.
    T = ShutdownTrigger(TShutdownSettings{}, Current);
    EXPECT_EQ(T.TriggerType, TASK_TIME_TRIGGER_ONCE);
    EXPECT_EQ(T.wBeginYear, 2004);
    EXPECT_EQ(T.wBeginMonth, 1);
    EXPECT_EQ(T.wBeginDay, 1);
    EXPECT_EQ(T.wStartHour, 12);
    EXPECT_EQ(T.wStartMinute, 0);
    EXPECT_EQ(T.rgFlags, DWORD(TASK_TRIGGER_FLAG_DISABLED));
}

TEST(ShutdownSettings, ControlsShownByType) {
    struct {
        int Type;
        const wchar_t* Unit;
        bool Interval, RunOn, WeekDay, MonthDay, Date;
    } const Cases[] = {
        {0, L"", false, false, false, false, true},
        {1, L"sDays", true, false, false, false, false},
        {2, L"sWeeks", true, true, true, false, false},
        {3, L"sMonths", true, true, false, true, false},
    };
    for (const auto& Case : Cases) {
        const TShutdownTypeView View = ShutdownTypeView(Case.Type);
        EXPECT_EQ(View.UnitMessage, Case.Unit);
        EXPECT_EQ(View.Interval, Case.Interval) << Case.Type;
        EXPECT_EQ(View.RunOn, Case.RunOn) << Case.Type;
        EXPECT_EQ(View.WeekDay, Case.WeekDay) << Case.Type;
        EXPECT_EQ(View.MonthDay, Case.MonthDay) << Case.Type;
        EXPECT_EQ(View.Date, Case.Date) << Case.Type;
    }
}

// The real Task Scheduler of the test prefix, with a task name of the test's own.
class ShutdownTask : public ::testing::Test {
protected:
    static constexpr const wchar_t* TaskName = L"QrvTest Shutdown Task";
    TTempFolder App;
    TFeatureTestContext Test{"sUnableToDetermine=Unknown\r\n"};
    TOleSession Ole;

    ShutdownTask() { DeleteTask(); }
    ~ShutdownTask() override { DeleteTask(); }

    TShutdownEnvironment Environment() const {
        TShutdownEnvironment Env;
        Env.AppDir = App.Path();
        Env.TaskName = TaskName;
        Env.Windows = TWindowsVersion{false, 10, 0};
        Env.FillAccounts = [](TStrings& Items) {
            Items.Clear();
            Items.Add(L"ann");
        };
        return Env;
    }

    static ComPtr<ITaskScheduler> Scheduler() {
        ComPtr<ITaskScheduler> Result;
        CoCreateInstance(ClsidTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IidTaskScheduler,
                         reinterpret_cast<void**>(Result.GetAddressOf()));
        return Result;
    }
    static ComPtr<ITask> ReadTask() {
        ComPtr<ITask> Task;
        if (const ComPtr<ITaskScheduler> S = Scheduler())
            S->Activate(TaskName, IidTask, reinterpret_cast<IUnknown**>(Task.GetAddressOf()));
        return Task;
    }
    static void DeleteTask() {
        if (StartTaskSchedulerService(TWindowsVersion{false, 10, 0}) != 0)
            return;
        const TOleSession Session;
        if (const ComPtr<ITaskScheduler> S = Scheduler())
            S->Delete(TaskName);
    }
    static String Text(HRESULT (ITask::*Get)(LPWSTR*), ITask& Task) {
        LPWSTR Value = nullptr;
        if (FAILED((Task.*Get)(&Value)))
            return L"<failed>";
        const String Result = Value;
        CoTaskMemFree(Value);
        return Result;
    }
};

TEST_F(ShutdownTask, TheTaskIsCreatedSavedAndReadBack) {
    ASSERT_EQ(StartTaskSchedulerService(TWindowsVersion{false, 10, 0}), 0u);
    TShutdownManager Manager(Environment(), Test.Context);
    Manager.OpenPage();
    // The first opening makes the task, disabled, and writes no settings.
    SYSTEMTIME Today{};
    GetLocalTime(&Today);
    TShutdownSettings FirstRun;
    FirstRun.Day = Today.wDay;
    FirstRun.Month = Today.wMonth;
    FirstRun.Year = Today.wYear;
    EXPECT_EQ(Manager.Settings, FirstRun);
    EXPECT_FALSE(PathPresent(App.Path() + L"qv.ini"));
    EXPECT_EQ(Manager.NextRunText(), L"Unknown");
    EXPECT_TRUE(FileExists(GetWindowsFolder() + L"\\Tasks\\" + TaskName + L".job"));

    SYSTEMTIME Now{};
    GetLocalTime(&Now);
    Manager.Settings.Enabled = true;
    Manager.Settings.Type = 1;
    Manager.Settings.Every = 1;
    Manager.Settings.Day = Now.wDay;
    Manager.Settings.Month = Now.wMonth;
    Manager.Settings.Year = Now.wYear;
    Manager.Settings.Hour = 23;
    Manager.Settings.Min = 59;
    Manager.Settings.Ask = false;
    Manager.Ok();
    EXPECT_TRUE(Test.Asked().empty());
    EXPECT_NE(Manager.NextRunText(), L"Unknown");

    const ComPtr<ITask> Task = ReadTask();
    ASSERT_TRUE(Task);
    EXPECT_TRUE(
        SameText(Text(&ITask::GetApplicationName, *Task.Get()), App.Path() + L"kestrum.exe"));
    EXPECT_EQ(Text(&ITask::GetParameters, *Task.Get()), L"");
    EXPECT_TRUE(SameText(Text(&ITask::GetWorkingDirectory, *Task.Get()), App.Path()));
    ComPtr<ITaskTrigger> Trigger;
    ASSERT_EQ(Task->GetTrigger(0, Trigger.GetAddressOf()), S_OK);
    TASK_TRIGGER Stored{};
    Stored.cbTriggerSize = sizeof Stored;
    ASSERT_EQ(Trigger->GetTrigger(&Stored), S_OK);
    EXPECT_EQ(Stored.TriggerType, TASK_TIME_TRIGGER_DAILY);
    EXPECT_EQ(Stored.wStartHour, 23);
    EXPECT_EQ(Stored.wStartMinute, 59);
    EXPECT_EQ(Stored.rgFlags, 0u);
    SYSTEMTIME NextRun{};
    ASSERT_EQ(Task->GetNextRunTime(&NextRun), S_OK);
    EXPECT_EQ(Manager.NextRunText(), DateTimeToStr(SystemTimeToDateTime(NextRun)));
    // No account chosen: the task runs for the logged-on user, not the system account.
    DWORD Flags = 0;
    ASSERT_EQ(Task->GetFlags(&Flags), S_OK);
    EXPECT_TRUE(Flags & TASK_FLAG_RUN_ONLY_IF_LOGGED_ON);

    TShutdownSettings Saved;
    Saved.Load(TIniFile(App.Path() + L"qv.ini"), Now);
    EXPECT_EQ(Saved, Manager.Settings);
}

TEST_F(ShutdownTask, AFailedSynchronisationShowsUnableToDetermine) {
    ASSERT_EQ(StartTaskSchedulerService(TWindowsVersion{false, 10, 0}), 0u);
    TShutdownManager Manager(Environment(), Test.Context);
    Manager.Settings.Enabled = true;
    Manager.Settings.Type = 1;
    SYSTEMTIME Now{};
    GetLocalTime(&Now);
    Manager.Settings.Year = Now.wYear;
    ASSERT_TRUE(Manager.Synchronise());
    ASSERT_NE(Manager.NextRunText(), L"Unknown");

    // 31 February cannot begin a schedule; the old next run time must not stay on show.
    Manager.Settings.Day = 31;
    Manager.Settings.Month = 2;
    EXPECT_FALSE(Manager.Synchronise());
    EXPECT_EQ(Manager.NextRunText(), L"Unknown");

    // An account name longer than the task takes is refused, not cut.
    Manager.Settings.Day = 1;
    Manager.Settings.RunAsUsername = String(127, L'a');
    EXPECT_FALSE(Manager.Synchronise());
    EXPECT_EQ(Manager.NextRunText(), L"Unknown");
}

} // namespace
