#include "main/ShutdownManager.h"

#include "app/QRVUtils.h"

#include <lmcons.h>

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t Section[] = L"ShutdownManager";

// The longest account name or password the task takes.
constexpr std::size_t MaxAccountText = 126;

// Monday (0) to Sunday (6) as the trigger's day bits.
constexpr WORD WeekDayBits[] = {TASK_MONDAY, TASK_TUESDAY,  TASK_WEDNESDAY, TASK_THURSDAY,
                                TASK_FRIDAY, TASK_SATURDAY, TASK_SUNDAY};

struct TServiceHandle {
    SC_HANDLE Handle;
    explicit TServiceHandle(SC_HANDLE H) : Handle(H) {}
    ~TServiceHandle() {
        if (Handle)
            CloseServiceHandle(Handle);
    }
    TServiceHandle(const TServiceHandle&) = delete;
    TServiceHandle& operator=(const TServiceHandle&) = delete;
};

DWORD StartAgentProgram() {
    if (FindWindowW(L"SAGEWINDOWCLASS", L"SYSTEM AGENT COM WINDOW"))
        return 0;
    wchar_t Path[MAX_PATH];
    if (SearchPathW(nullptr, L"mstask.exe", nullptr, MAX_PATH, Path, nullptr) == 0)
        return GetLastError();
    STARTUPINFOW Startup{};
    Startup.cb = sizeof Startup;
    PROCESS_INFORMATION Process{};
    if (!CreateProcessW(Path, nullptr, nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &Startup,
                        &Process))
        return GetLastError();
    CloseHandle(Process.hThread);
    CloseHandle(Process.hProcess);
    return 0;
}

bool ServiceRuns(SC_HANDLE Service) {
    SERVICE_STATUS Status{};
    return QueryServiceStatus(Service, &Status) && Status.dwCurrentState == SERVICE_RUNNING;
}

String CurrentUserName() {
    wchar_t Name[UNLEN + 1];
    DWORD Length = UNLEN + 1;
    return GetUserNameW(Name, &Length) ? String(Name) : String();
}

} // namespace

// ----------------------------------------------------------------- settings

namespace {

// The keys of [ShutdownManager] in file order, each with the field it holds.
struct TSettingKey {
    const wchar_t* Ident;
    int TShutdownSettings::*Number = nullptr;
    bool TShutdownSettings::*Flag = nullptr;
    String TShutdownSettings::*Text = nullptr;
};
using S = TShutdownSettings;
const TSettingKey SettingKeys[] = {
    {L"Enabled", nullptr, &S::Enabled},
    {L"Type", &S::Type},
    {L"Hour", &S::Hour},
    {L"Min", &S::Min},
    {L"Every", &S::Every},
    {L"Ask", nullptr, &S::Ask},
    {L"WeekDay", &S::WeekDay},
    {L"MonthDay", &S::MonthDay},
    {L"RunAsUsername", nullptr, nullptr, &S::RunAsUsername},
    {L"RunAsPassword", nullptr, nullptr, &S::RunAsPassword},
    {L"Day", &S::Day},
    {L"Month", &S::Month},
    {L"Year", &S::Year},
};

} // namespace

void TShutdownSettings::Load(const TCustomIniFile& Ini, const SYSTEMTIME& Today) {
    TShutdownSettings Defaults;
    Defaults.Day = Today.wDay;
    Defaults.Month = Today.wMonth;
    Defaults.Year = Today.wYear;
    for (const TSettingKey& Key : SettingKeys) {
        if (Key.Number)
            this->*Key.Number = Ini.ReadInteger(Section, Key.Ident, Defaults.*Key.Number);
        else if (Key.Flag)
            this->*Key.Flag = Ini.ReadBool(Section, Key.Ident, Defaults.*Key.Flag);
        else
            this->*Key.Text = Ini.ReadString(Section, Key.Ident, Defaults.*Key.Text);
    }
}

void TShutdownSettings::Save(TCustomIniFile& Ini) const {
    for (const TSettingKey& Key : SettingKeys) {
        if (Key.Number)
            Ini.WriteInteger(Section, Key.Ident, this->*Key.Number);
        else if (Key.Flag)
            Ini.WriteBool(Section, Key.Ident, this->*Key.Flag);
        else
            Ini.WriteString(Section, Key.Ident, this->*Key.Text);
    }
}

TASK_TRIGGER ShutdownTrigger(const TShutdownSettings& Settings, const TASK_TRIGGER& Current) {
    TASK_TRIGGER Trigger = Current;
    Trigger.cbTriggerSize = sizeof(TASK_TRIGGER);
    Trigger.wBeginYear = static_cast<WORD>(Settings.Year);
    Trigger.wBeginMonth = static_cast<WORD>(Settings.Month);
    Trigger.wBeginDay = static_cast<WORD>(Settings.Day);
    Trigger.wStartHour = static_cast<WORD>(Settings.Hour);
    Trigger.wStartMinute = static_cast<WORD>(Settings.Min);
    Trigger.rgFlags = Settings.Enabled ? 0 : TASK_TRIGGER_FLAG_DISABLED;
    switch (Settings.Type) {
    case 1:
        Trigger.TriggerType = TASK_TIME_TRIGGER_DAILY;
        Trigger.Type.Daily.DaysInterval = static_cast<WORD>(Settings.Every);
        break;
    case 2:
        Trigger.TriggerType = TASK_TIME_TRIGGER_WEEKLY;
        Trigger.Type.Weekly.WeeksInterval = static_cast<WORD>(Settings.Every);
        Trigger.Type.Weekly.rgfDaysOfTheWeek = Settings.WeekDay >= 0 && Settings.WeekDay <= 6
                                                   ? WeekDayBits[Settings.WeekDay]
                                                   : TASK_MONDAY;
        break;
    case 3:
        Trigger.TriggerType = TASK_TIME_TRIGGER_MONTHLYDATE;
        // A day outside 1..31 would shift into nothing or past the 32 bits.
        Trigger.Type.MonthlyDate.rgfDays =
            Settings.MonthDay >= 1 && Settings.MonthDay <= 31 ? 1u << (Settings.MonthDay - 1) : 0;
        Trigger.Type.MonthlyDate.rgfMonths = 4095;
        break;
    default:
        Trigger.TriggerType = TASK_TIME_TRIGGER_ONCE;
        break;
    }
    return Trigger;
}

TShutdownTypeView ShutdownTypeView(int Type) {
    TShutdownTypeView View;
    View.UnitMessage = Type == 1 ? L"sDays" : Type == 2 ? L"sWeeks" : Type == 3 ? L"sMonths" : L"";
    View.Interval = Type != 0;
    View.RunOn = Type == 2 || Type == 3;
    View.WeekDay = Type == 2;
    View.MonthDay = Type == 3;
    View.Date = Type == 0;
    return View;
}

DWORD StartTaskSchedulerService(const TWindowsVersion& Windows) {
    if (Windows.Win9x)
        return StartAgentProgram();
    const TServiceHandle Manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!Manager.Handle)
        return GetLastError();
    const TServiceHandle Service(
        OpenServiceW(Manager.Handle, L"Schedule", SERVICE_QUERY_STATUS | SERVICE_START));
    if (!Service.Handle)
        return GetLastError();
    if (ServiceRuns(Service.Handle))
        return 0;
    // A first start may time out while the service sets itself up; a second one then works.
    for (int Attempt = 0; Attempt < 2; ++Attempt) {
        if (StartServiceW(Service.Handle, 0, nullptr) ||
            GetLastError() == ERROR_SERVICE_ALREADY_RUNNING)
            break;
        if (GetLastError() != ERROR_SERVICE_REQUEST_TIMEOUT || Attempt == 1)
            return GetLastError();
    }
    for (int Wait = 0; Wait < 300; ++Wait) {
        if (ServiceRuns(Service.Handle))
            return 0;
        Sleep(100);
    }
    return ERROR_SERVICE_REQUEST_TIMEOUT;
}

// ------------------------------------------------------------------ manager

TShutdownManager::TShutdownManager(TShutdownEnvironment Environment, const TFeatureContext& Context)
    : FEnvironment(std::move(Environment)), FContext(Context) {
    FEnvironment.AppDir = IncludeTrailingBackslash(FEnvironment.AppDir);
    if (!FEnvironment.FillAccounts)
        FEnvironment.FillAccounts = [](TStrings& Items) { FillUserAccountList(Items); };
}

String TShutdownManager::IniFileName() const {
    return FEnvironment.AppDir + L"qv.ini";
}

void TShutdownManager::OpenPage() {
    SYSTEMTIME Today;
    GetLocalTime(&Today);
    Settings.Load(TIniFile(IniFileName()), Today);
    FEnvironment.FillAccounts(Accounts);
    if (Accounts.IndexOf(Settings.RunAsUsername) < 0)
        Settings.RunAsUsername.clear();
    Synchronise();
}

void TShutdownManager::Ok() {
    TIniFile Ini(IniFileName());
    Settings.Save(Ini);
    Synchronise();
}

bool TShutdownManager::CreateTaskScheduler() {
    if (FScheduler)
        return true;
    const HRESULT Result =
        CoCreateInstance(ClsidTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IidTaskScheduler,
                         reinterpret_cast<void**>(FScheduler.ReleaseAndGetAddressOf()));
    if (FAILED(Result)) {
        FScheduler.Reset();
        FContext.Notice(L"Error in ActiveX.CoCreateInstance.Error Code :" +
                            IntToHex(static_cast<std::uint32_t>(Result), 8),
                        0);
        return false;
    }
    return true;
}

ComPtr<ITask> TShutdownManager::ActivateTask(const String& Name) const {
    ComPtr<ITask> Task;
    if (FAILED(FScheduler->Activate(Name.c_str(), IidTask,
                                    reinterpret_cast<IUnknown**>(Task.GetAddressOf()))))
        Task.Reset();
    return Task;
}

bool TShutdownManager::SetAccount(ITask& Task) const {
    DWORD Flags = 0;
    if (FAILED(Task.GetFlags(&Flags)))
        return false;
    const String& Name = Settings.RunAsUsername;
    if (!Name.empty()) {
        if (Name.size() > MaxAccountText || Settings.RunAsPassword.size() > MaxAccountText)
            return false;
        return SUCCEEDED(Task.SetFlags(Flags & ~DWORD(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON))) &&
               SUCCEEDED(Task.SetAccountInformation(Name.c_str(), Settings.RunAsPassword.c_str()));
    }
    // No account chosen: the shutdown program runs as the user who is logged on, never as
    // the system account an empty name would give it.
    const String User = CurrentUserName();
    return !User.empty() && SUCCEEDED(Task.SetFlags(Flags | TASK_FLAG_RUN_ONLY_IF_LOGGED_ON)) &&
           SUCCEEDED(Task.SetAccountInformation(User.c_str(), nullptr));
}

bool TShutdownManager::WriteTask(ITask& Task) const {
    const String& AppDir = FEnvironment.AppDir;
    if (FAILED(Task.SetApplicationName((AppDir + L"kestrum.exe").c_str())) ||
        FAILED(Task.SetParameters(Settings.Ask ? L"ask" : L"")) ||
        FAILED(Task.SetWorkingDirectory(AppDir.c_str())))
        return false;
    // Not every Task Scheduler takes a priority; the task runs all the same.
    Task.SetPriority(NORMAL_PRIORITY_CLASS);
    if (!SetAccount(Task))
        return false;

    WORD Count = 0;
    if (FAILED(Task.GetTriggerCount(&Count)))
        return false;
    ComPtr<ITaskTrigger> Trigger;
    if (Count == 0) {
        WORD Index = 0;
        if (FAILED(Task.CreateTrigger(&Index, Trigger.GetAddressOf())))
            return false;
    } else if (FAILED(Task.GetTrigger(0, Trigger.GetAddressOf()))) {
        return false;
    }
    TASK_TRIGGER Current{};
    Current.cbTriggerSize = sizeof Current;
    if (FAILED(Trigger->GetTrigger(&Current)))
        return false;
    // An impossible begin date or time would leave the old trigger in place unnoticed.
    TDateTime Begin = 0;
    if (!TryEncodeDate(Settings.Year, Settings.Month, Settings.Day, Begin) ||
        !TryEncodeTime(Settings.Hour, Settings.Min, 0, 0, Begin))
        return false;
    TASK_TRIGGER Changed = ShutdownTrigger(Settings, Current);
    if (FAILED(Trigger->SetTrigger(&Changed)))
        return false;

    ComPtr<IPersistFile> File;
    return SUCCEEDED(Task.QueryInterface(IID_PPV_ARGS(&File))) &&
           SUCCEEDED(File->Save(nullptr, TRUE));
}

bool TShutdownManager::Synchronise() {
    FNextRunText = FContext.Message(L"sUnableToDetermine");
    StartTaskSchedulerService(FEnvironment.Windows);
    if (!CreateTaskScheduler())
        return false;
    ComPtr<ITask> Task = ActivateTask(FEnvironment.TaskName);
    if (!Task && FAILED(FScheduler->NewWorkItem(FEnvironment.TaskName.c_str(), ClsidTask, IidTask,
                                                reinterpret_cast<IUnknown**>(Task.GetAddressOf()))))
        return false;
    if (!WriteTask(*Task.Get()))
        return false;
    SYSTEMTIME NextRun{};
    if (Task->GetNextRunTime(&NextRun) == S_OK)
        FNextRunText = DateTimeToStr(SystemTimeToDateTime(NextRun));
    return true;
}
