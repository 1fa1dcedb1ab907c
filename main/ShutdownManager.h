#pragma once
// The shutdown manager without its window: its settings in qv.ini and the one Task Scheduler
// task that runs the shutdown program on the chosen schedule.

#include "app/FileInfo.h"
#include "classlib/rtl/Classes.h"
#include "classlib/rtl/IniFiles.h"
#include "classlib/rtl/SysUtils.h"
#include "main/FeatureContext.h"
#include "main/WindowsVersion.h"

#include "classlib/rtl/WinApi.h"
#include <wrl/client.h>

#include <functional>

// Section [ShutdownManager] of qv.ini.
struct TShutdownSettings {
    bool Enabled = false;
    // 0 once, 1 daily, 2 weekly, 3 monthly.
    int Type = 0;
    int Hour = 12;
    int Min = 0;
    // Days or weeks between runs.
    int Every = 1;
    bool Ask = true;
    // 0 Monday to 6 Sunday.
    int WeekDay = 1;
    int MonthDay = 1;
    String RunAsUsername;
    String RunAsPassword;
    // The date of a single run.
    int Day = 1;
    int Month = 1;
    int Year = 2004;

    // A date not saved yet is Today: a single run on a past date would never come.
    void Load(const TCustomIniFile& Ini, const SYSTEMTIME& Today);
    void Save(TCustomIniFile& Ini) const;
    bool operator==(const TShutdownSettings&) const = default;
};

// Current with the fields the settings decide replaced: size, begin date, start time, the
// disabled flag, the trigger type and the interval, week day or month day of that type.
TASK_TRIGGER ShutdownTrigger(const TShutdownSettings& Settings, const TASK_TRIGGER& Current);

// What the page shows for a schedule type: the unit message of the interval ("sDays",
// "sWeeks", "sMonths"; empty for once) and which controls are visible.
struct TShutdownTypeView {
    String UnitMessage;
    bool Interval = false; // label, edit and unit of the interval
    bool RunOn = false;    // labShutdownRunOn
    bool WeekDay = false;  // cbWeekDay
    bool MonthDay = false; // edMonthlyDay and labMonthlyMonth
    bool Date = false;     // the day, month and year edits with their labels
};
TShutdownTypeView ShutdownTypeView(int Type);

// Starts the Task Scheduler (the "Schedule" service on NT, the agent program on 9x) unless it
// runs, and on NT waits until it runs. Answers 0 or a system error code.
DWORD StartTaskSchedulerService(const TWindowsVersion& Windows);

// The Task Scheduler's published class and interface identifiers.
inline constexpr GUID ClsidTaskScheduler = {
    0x148BD52A, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
inline constexpr GUID IidTaskScheduler = {
    0x148BD527, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
inline constexpr GUID ClsidTask = {
    0x148BD520, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
inline constexpr GUID IidTask = {
    0x148BD524, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};

inline constexpr wchar_t ShutdownTaskName[] = L"System Corvanta 2 Shutdown Task";

struct TShutdownEnvironment {
    // The program folder with a trailing backslash; it holds qv.ini and kestrum.exe.
    String AppDir;
    String TaskName = ShutdownTaskName;
    TWindowsVersion Windows = TWindowsVersion::Current();
    // Null: the local user accounts (FillUserAccountList).
    std::function<void(TStrings&)> FillAccounts;
};

class TShutdownManager {
public:
    TShutdownManager(TShutdownEnvironment Environment, const TFeatureContext& Context);
    TShutdownManager(const TShutdownManager&) = delete;
    TShutdownManager& operator=(const TShutdownManager&) = delete;

    // What the page's controls hold.
    TShutdownSettings Settings;
    // The account list; a saved name that is not in it is not chosen.
    TStringList Accounts;

    // Reads the settings and the accounts, then synchronises the task (writing nothing to
    // qv.ini).
    void OpenPage();
    // Writes the settings to qv.ini (an error there stops it), then synchronises the task.
    void Ok();
    // Makes the task match the settings and saves it; false when that failed.
    bool Synchronise();
    // The next run time as text, or the message "sUnableToDetermine".
    const String& NextRunText() const { return FNextRunText; }

private:
    String IniFileName() const;
    bool CreateTaskScheduler();
    Microsoft::WRL::ComPtr<ITask> ActivateTask(const String& Name) const;
    bool WriteTask(ITask& Task) const;
    bool SetAccount(ITask& Task) const;

    TShutdownEnvironment FEnvironment;
    const TFeatureContext& FContext;
    // COM lives as long as the scheduler object.
    TOleSession FOle;
    Microsoft::WRL::ComPtr<ITaskScheduler> FScheduler;
    String FNextRunText;
};
