#include "kestrum/ShutdownTask.h"

#include "app/FlatMessageBox.h"
#include "app/Language.h"
#include "app/ShellStart.h"
#include "classlib/gui/Forms.h"

namespace {

String Title() {
    return Application ? Application->Title() : String();
}

} // namespace

bool ShutdownAsksFirst(const std::vector<String>& Params) {
    for (const String& Param : Params)
        if (LowerCase(Param) == L"ask")
            return true;
    return false;
}

TShutdownOutcome RunShutdownTask(bool Ask, const TShutdownSteps& Steps) {
    if (Ask && !Steps.AskUser())
        return soDeclined;
    const DWORD Error = Steps.ShutDown();
    if (Error == 0)
        return soShutDown;
    Steps.ReportFailure(Error);
    return soFailed;
}

TShutdownSteps ShutdownStepsWithMessages(std::function<DWORD()> ShutDown) {
    TShutdownSteps Steps;
    Steps.AskUser = [] {
        return ShowFlatMessageBox(nullptr, Title(), AppMessage(L"sShutdownAsk"), fmiQuestion, 4) ==
               mrYes;
    };
    Steps.ShutDown = std::move(ShutDown);
    Steps.ReportFailure = [](DWORD Error) {
        ShowFlatMessageBox(nullptr, Title(),
                           WithSystemReason(AppMessage(L"sShutdownFailed"), Error), fmiStop, 0);
    };
    return Steps;
}

DWORD ShutDownWindows() {
    // The privilege is held by every interactive account but switched off in its token.
    HANDLE Token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &Token))
        return GetLastError();
    const TOwnedHandle OwnedToken(Token);
    TOKEN_PRIVILEGES Privileges{};
    Privileges.PrivilegeCount = 1;
    Privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &Privileges.Privileges[0].Luid))
        return GetLastError();
    AdjustTokenPrivileges(Token, FALSE, &Privileges, 0, nullptr, nullptr);
    if (const DWORD Error = GetLastError(); Error != ERROR_SUCCESS)
        return Error; // ERROR_NOT_ALL_ASSIGNED: the account may not shut down
    if (!ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, SHTDN_REASON_MAJOR_OTHER |
                                                        SHTDN_REASON_MINOR_OTHER |
                                                        SHTDN_REASON_FLAG_PLANNED))
        return GetLastError();
    return 0;
}
