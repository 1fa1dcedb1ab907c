#include "main/Launchers.h"

#include "classlib/rtl/IniFiles.h"
#include "classlib/rtl/Registry.h"
#include "main/RegistryRoots.h"

#include "classlib/rtl/WinApi.h"

namespace {

struct THelpTopic {
    const wchar_t* Button;
    const wchar_t* Topic;
};

// The small help buttons of the menu pages; an empty topic is the help file's default one.
const THelpTopic HelpTopics[] = {
    {L"RoundedFlatSpeedButton1", L"::/Clean_My_Computer.htm"},
    {L"RoundedFlatSpeedButton2", L"::/System_Configuration.htm"},
    {L"RoundedFlatSpeedButton3", L"::/Backup_Your_Data.htm"},
    {L"RoundedFlatSpeedButton4", L""},
    {L"RoundedFlatSpeedButton5", L""},
    {L"RoundedFlatSpeedButton6", L"::/Functions/Clean_My_Computer.htm"},
    {L"RoundedFlatSpeedButton7", L"::/Functions/Large_Files.htm"},
    {L"RoundedFlatSpeedButton8", L"::/Functions/Old_Files.htm"},
    {L"RoundedFlatSpeedButton9", L"::/Functions/Empty_Folders.htm"},
    {L"RoundedFlatSpeedButton10", L"::/Functions/Broken_Links.htm"},
    {L"RoundedFlatSpeedButton11", L"::/Functions/Folder_Cleaner.htm"},
    {L"RoundedFlatSpeedButton12", L"::/Functions/Internet_Privacy.htm"},
    {L"RoundedFlatSpeedButton49", L"::/Functions/Duplicate_Files.htm"},
    {L"RoundedFlatSpeedButton13", L"::/Functions/Registry_Cleaner.htm"},
    {L"RoundedFlatSpeedButton15", L"::/Functions/Internet_Privacy.htm"},
    {L"RoundedFlatSpeedButton16", L"::/Functions/Internet_Privacy.htm"},
    {L"RoundedFlatSpeedButton17", L"::/Functions/Internet_Privacy.htm"},
    {L"RoundedFlatSpeedButton18", L"::/Functions/Internet_Privacy.htm"},
    {L"RoundedFlatSpeedButton19", L"::/Functions/Internet_Privacy.htm"},
    {L"RoundedFlatSpeedButton20", L"::/Functions/Split_and_Combine_Files.htm"},
    {L"RoundedFlatSpeedButton21", L"::/Functions/Split_and_Combine_Files.htm"},
    {L"RoundedFlatSpeedButton22", L"::/Backup_Your_Data.htm"},
    {L"RoundedFlatSpeedButton23", L"::/Functions/Restore_Files.htm"},
    {L"RoundedFlatSpeedButton24", L"::/Functions/Backup_Local.htm"},
    {L"RoundedFlatSpeedButton25", L"::/Functions/Backup_Remote.htm"},
    {L"RoundedFlatSpeedButton26", L"::/Functions/Startup_Manager.htm"},
    {L"RoundedFlatSpeedButton27", L"::/Functions/Shutdown_Manager.htm"},
    {L"RoundedFlatSpeedButton28", L"::/System_Tweak.htm"},
    {L"RoundedFlatSpeedButton30", L"::/Remove_Uninstalled_Programs.htm"},
};

// RFC 3986 unreserved characters stay; everything else is sent as %XX of its UTF-8 bytes.
String PercentEncoded(const String& Text) {
    String Encoded;
    for (const unsigned char Byte : ToUtf8(Text)) {
        if ((Byte >= 'A' && Byte <= 'Z') || (Byte >= 'a' && Byte <= 'z') ||
            (Byte >= '0' && Byte <= '9') || Byte == '-' || Byte == '.' || Byte == '_' ||
            Byte == '~')
            Encoded += static_cast<wchar_t>(Byte);
        else
            Encoded += L"%" + IntToHex(Byte, 2);
    }
    return Encoded;
}

} // namespace

// ------------------------------------------------------------------------ help

std::optional<String> HelpTopicFor(const String& ButtonName) {
    for (const THelpTopic& Entry : HelpTopics)
        if (ButtonName == Entry.Button)
            return String(Entry.Topic);
    return std::nullopt;
}

// ------------------------------------------------------------------ shell calls

void RunShellRequest(HWND Owner, const TShellRequest& Request) {
    ShellExecuteW(Owner, Request.Verb.empty() ? nullptr : Request.Verb.c_str(),
                  Request.File.c_str(), Request.Parameters.c_str(), Request.Folder.c_str(),
                  SW_SHOWNORMAL);
}

String TellAFriendLink(const String& Subject, const String& Body) {
    return L"mailto:?subject=" + PercentEncoded(Subject) + L"&body=" + PercentEncoded(Body);
}

String TellAFriendBodyKey(const TWindowsVersion& Windows) {
    const int Family = GetWindowsFamily(Windows);
    return Family == 1 || Family == 2 ? L"S_frmMain_TellAFriend_Body95"
                                      : L"S_frmMain_TellAFriend_BodyNT";
}

String DefragmenterFor(const TWindowsVersion& Windows) {
    return Windows.IsWinXP() ? L"dfrg.msc" : L"defrag.exe";
}

// -------------------------------------------------------------- the scheduler

std::vector<TProcessEntry> RunningProcesses() {
    std::vector<TProcessEntry> Processes;
    const HANDLE Snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (Snapshot == INVALID_HANDLE_VALUE)
        return Processes;
    const TOwnedHandle Owned(Snapshot);
    PROCESSENTRY32W Entry{};
    Entry.dwSize = sizeof Entry;
    for (BOOL Found = Process32FirstW(Snapshot, &Entry); Found;
         Found = Process32NextW(Snapshot, &Entry))
        Processes.push_back({ExtractFileName(Entry.szExeFile), Entry.th32ProcessID});
    return Processes;
}

TLaunchers::TLaunchers(TLauncherEnvironment Environment, const TFeatureContext& Context)
    : FEnvironment(std::move(Environment)), FContext(Context) {
    FEnvironment.AppDir = IncludeTrailingBackslash(FEnvironment.AppDir);
    if (!FEnvironment.Processes)
        FEnvironment.Processes = RunningProcesses;
    if (!FEnvironment.Shell)
        FEnvironment.Shell = [](const TShellRequest& Request) {
            return StartShellRequest(nullptr, Request);
        };
}

bool TLaunchers::AskSchedulerWindow(HWND Handle, DWORD ProcessId) const {
    // The file may name a window of an earlier run that another program now owns.
    DWORD Owner = 0;
    if (!IsWindow(Handle) || GetWindowThreadProcessId(Handle, &Owner) == 0 || Owner != ProcessId)
        return false;
    DWORD_PTR Answer = 0;
    return SendMessageTimeoutW(Handle, SchedulerShowMessage, 0, ProcessId,
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, FEnvironment.MessageTimeout,
                               &Answer) != 0;
}

TSchedulerLaunch TLaunchers::ShowScheduler() {
    TIniFile Settings(FEnvironment.AppDir + L"qvsched.ini");
    for (const TProcessEntry& Process : FEnvironment.Processes()) {
        if (Process.Name != L"qrvsched.exe")
            continue;
        const int Handle = Settings.ReadInteger(L"General", L"Handle", 0);
        if (Handle != 0 && AskSchedulerWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(Handle)),
                                              Process.ProcessId))
            return lnMessaged;
    }
    try {
        Settings.WriteBool(L"General", L"Close", false);
    } catch (const Exception& Error) {
        FContext.Notice(Error.Message(), IPrompt::IconStop);
        return lnFailed;
    }
    const String Scheduler = FEnvironment.AppDir + L"qrvsched.exe";
    return Start({L"open", Scheduler, L"/show", String()},
                 FContext.Message(L"sProgramNotStarted", Scheduler))
               ? lnStarted
               : lnNotStarted;
}

bool TLaunchers::OpenSupportPage() {
    const String Page = FEnvironment.AppDir + L"feedback.htm";
    return Start({L"open", Page, String(), String()},
                 FContext.Message(L"sSupportPageNotOpened", Page));
}

bool TLaunchers::TellAFriend() {
    const String Link = TellAFriendLink(FContext.Message(L"S_frmMain_TellAFriend_Subject"),
                                        FContext.Message(TellAFriendBodyKey(FEnvironment.Windows)));
    return Start({String(), Link, String(), ExcludeTrailingBackslash(FEnvironment.AppDir)},
                 FContext.Message(L"sMailNotStarted"));
}

bool TLaunchers::StartDefragmenter() {
    const String Defragmenter = DefragmenterFor(FEnvironment.Windows);
    return Start({L"open", Defragmenter, String(), String()},
                 FContext.Message(L"sProgramNotStarted", Defragmenter));
}

bool TLaunchers::Start(const TShellRequest& Request, const String& Failure) const {
    const DWORD Error = FEnvironment.Shell(Request);
    if (Error == 0)
        return true;
    FContext.Notice(WithSystemReason(Failure, Error), IPrompt::IconStop);
    return false;
}
