#include "scheduler/SchedShell.h"

#include "classlib/rtl/Registry.h"

const wchar_t SchedRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t SchedRunValueName[] = L"System Corvanta Scheduler";

TSchedCommandLine ParseSchedCommandLine(const std::vector<String>& Params) {
    TSchedCommandLine Line;
    Line.Hide = !Params.empty() && Params.front() == L"/hide";
    for (const String& Param : Params) {
        const String Word = LowerCase(Param);
        if (Word == L"/startup")
            Line.Commands.push_back(TSchedCommandLine::cmStartup);
        else if (Word == L"/enable")
            Line.Commands.push_back(TSchedCommandLine::cmEnable);
    }
    return Line;
}

String SchedRunCommand(const String& ExePath) {
    return L"\"" + ExePath + L"\" /startup";
}

namespace {

template <typename TChange> bool ChangeRunKey(const String& KeyPath, TChange Change) {
    try {
        TRegistry Registry;
        Registry.SetRootKey(HKEY_CURRENT_USER);
        return Registry.OpenKey(KeyPath, false) && Change(Registry);
    } catch (const Exception&) {
        return false;
    }
}

} // namespace

bool WriteSchedRunValue(const String& KeyPath, const String& ExePath) {
    return ChangeRunKey(KeyPath, [&](TRegistry& Registry) {
        Registry.WriteString(SchedRunValueName, SchedRunCommand(ExePath));
        return true;
    });
}

bool DeleteSchedRunValue(const String& KeyPath) {
    return ChangeRunKey(KeyPath, [](TRegistry& Registry) {
        return !Registry.ValueExists(SchedRunValueName) || Registry.DeleteValue(SchedRunValueName);
    });
}

TTrayIconState SchedTrayIconState(bool SchedulerOn, bool WindowVisible, bool HideTrayIcon) {
    return {SchedulerOn ? 0 : 1, WindowVisible || !HideTrayIcon};
}
