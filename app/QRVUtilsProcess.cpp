#include "app/QRVUtils.h"

#include "app/QRVUtilsPrivate.h"
#include "classlib/gui/Forms.h"

#include <vector>

using namespace qrvutils;

namespace {

// A file or folder of that name (wildcards allowed), or a folder path such as a
// drive root that a find does not return.
bool TargetExists(const String& Path) {
    const TNoErrorBoxes Quiet;
    TSearchRec F;
    if (FindFirst(Path, faAnyFile, F) == 0)
        return true;
    return FolderExists(Path);
}

PROCESS_INFORMATION StartProcess(const String& CommandLine, DWORD CreationFlags, int ShowCmd) {
    STARTUPINFOW Startup{};
    Startup.cb = sizeof(Startup);
    Startup.dwFlags = STARTF_USESHOWWINDOW;
    Startup.wShowWindow = static_cast<WORD>(ShowCmd);
    PROCESS_INFORMATION Process{};
    String Line = CommandLine; // CreateProcessW may write into it
    if (!CreateProcessW(nullptr, Line.data(), nullptr, nullptr, FALSE, CreationFlags, nullptr,
                        nullptr, &Startup, &Process))
        return PROCESS_INFORMATION{};
    return Process;
}

// Waits for Handle while this thread's messages keep flowing, so its windows stay alive and a
// child that sends to them is not blocked. A quit (the program's Close) does not end that: the
// wait goes on pumping in steps, since the quit stays pending and would wake it at once.
void WaitDispatchingMessages(HANDLE Handle) {
    bool Quitting = false;
    for (;;) {
        const DWORD Result = Quitting ? WaitForSingleObject(Handle, WorkPumpIntervalMs)
                                      : MsgWaitForMultipleObjectsEx(
                                            1, &Handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (Result == WAIT_OBJECT_0 || Result == WAIT_FAILED)
            return;
        Quitting = !ProcessPendingMessages() || Quitting;
    }
}

// Judges the path that starts at the drive letter of CommandLine. ProgramOnly: only the
// program's own path counts; otherwise a second drive path or a ";" in the line is an odd form.
TCommandTarget JudgeCommandTarget(const String& CommandLine, bool RequireDrive, bool ProgramOnly) {
    String S = CommandLine;
    if (S.empty())
        return ctCannotTell;
    const int Colon = Pos(L":\\", S);
    if (Colon == 0)
        return RequireDrive ? ctCannotTell : ctOddForm;
    if (Colon != 2 && Colon != 3)
        return ProgramOnly ? ctCannotTell : ctOddForm; // the program itself has no drive path
    if (!ProgramOnly && PosEx(L":\\", S, Colon + 2) != 0)
        return ctOddForm;

    const int Drive = Colon - 1; // 1-based position of the drive letter
    const String Root = String(1, S[Drive - 1]) + L":\\";
    if (GetDriveTypeW(Root.c_str()) != DRIVE_FIXED)
        return ctCannotTell;
    if (!ProgramOnly && Pos(L";", S) != 0)
        return ctOddForm;

    const int Closing = Drive > 1 && S[Drive - 2] == L'"' ? PosEx(L"\"", S, Drive) : 0;
    S = Closing != 0 ? Copy(S, Drive, Closing - Drive) : Copy(S, Drive, static_cast<int>(S.size()));
    // "shell32.dll,4": an icon index follows the path.
    if (const int Comma = Pos(L",", S); Comma != 0)
        S = Copy(S, 1, Comma - 1);

    // An unquoted path may hold spaces: the arguments go word by word from the end.
    for (;;) {
        if (TargetExists(S))
            return ctTargetExists;
        const auto Space = S.rfind(L' ');
        if (Space == String::npos)
            return ctTargetMissing;
        S.resize(Space);
    }
}

} // namespace

TCommandTarget CheckCommandTarget(const String& CommandLine, bool RequireDrive) {
    return JudgeCommandTarget(CommandLine, RequireDrive, false);
}

TCommandTarget CheckProgramTarget(const String& CommandLine) {
    return JudgeCommandTarget(CommandLine, true, true);
}

std::int64_t RunAndWait(const String& CommandLine, int ShowCmd) {
    const PROCESS_INFORMATION Started =
        StartProcess(CommandLine, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, ShowCmd);
    const TOwnedHandle Process(Started.hProcess);
    const TOwnedHandle Thread(Started.hThread);
    if (!Process)
        return -1;
    {
        const TThreadWindowsDisabled NoInput;
        WaitDispatchingMessages(Process.get());
    }
    DWORD ExitCode = 0;
    if (!GetExitCodeProcess(Process.get(), &ExitCode))
        return -1;
    return ExitCode;
}

bool CanLaunch(const String& CommandLine) {
    // Suspended and without a console window: the program must never run.
    const PROCESS_INFORMATION Started =
        StartProcess(CommandLine, CREATE_SUSPENDED | CREATE_NO_WINDOW, SW_HIDE);
    const TOwnedHandle Process(Started.hProcess);
    const TOwnedHandle Thread(Started.hThread);
    if (!Process)
        return false;
    TerminateProcess(Process.get(), STILL_ACTIVE);
    return true;
}
