#pragma once
// What the main window opens outside itself, without the window: the help file at a topic,
// the scheduler program, the support page, a prepared mail message and the defragmenter.

#include "app/Help.h"
#include "app/ShellStart.h"
#include "classlib/rtl/SysUtils.h"
#include "main/FeatureContext.h"
#include "main/WindowsVersion.h"

#include "classlib/rtl/WinApi.h"

#include <functional>
#include <optional>
#include <vector>

// ------------------------------------------------------------------------ help

// The topic a help button opens: "::/<path>", empty for the help file's default topic, none for
// a button without a click action or with another name.
std::optional<String> HelpTopicFor(const String& ButtonName);

// ------------------------------------------------------------------ shell calls

using TShellRun = std::function<void(const TShellRequest&)>;
// Executes a request with the normal show state; the result is not examined.
void RunShellRequest(HWND Owner, const TShellRequest& Request);
// A shell call whose failure is told: 0 when started, else the system error code.
using TShellStart = std::function<DWORD(const TShellRequest&)>;

// "mailto:?subject=...&body=..." with the message texts percent-encoded as UTF-8, so that a
// "&", "#" or line break in them cannot cut the message short.
String TellAFriendLink(const String& Subject, const String& Body);
// The body's message key by the Windows family (9x gets its own text).
String TellAFriendBodyKey(const TWindowsVersion& Windows);
// "dfrg.msc" on Windows XP exactly, otherwise "defrag.exe".
String DefragmenterFor(const TWindowsVersion& Windows);

// -------------------------------------------------------------- the scheduler

struct TProcessEntry {
    // The executable's file name without its folder.
    String Name;
    DWORD ProcessId = 0;
};
// The running processes, from the system's process snapshot.
std::vector<TProcessEntry> RunningProcesses();

// The message that asks the scheduler window to show its configuration window.
inline constexpr UINT SchedulerShowMessage = WM_USER + 2500;

struct TLauncherEnvironment {
    // The program folder, with a trailing backslash.
    String AppDir;
    TWindowsVersion Windows = TWindowsVersion::Current();
    // Null: RunningProcesses.
    std::function<std::vector<TProcessEntry>()> Processes;
    // Null: StartShellRequest with no owner window.
    TShellStart Shell;
    // How long a scheduler window may take to answer.
    UINT MessageTimeout = 5000;
};

enum TSchedulerLaunch {
    lnMessaged,   // a running scheduler was asked to show its window
    lnStarted,    // the scheduler was started with "/show"
    lnFailed,     // qvsched.ini could not be written; nothing was started
    lnNotStarted, // the scheduler program could not be started; the user was told
};

class TLaunchers {
public:
    TLaunchers(TLauncherEnvironment Environment, const TFeatureContext& Context);

    // btnSchedulerClick: sends the message to the window of a running "qrvsched.exe" that
    // qvsched.ini names, or else writes [General] Close=0 and starts the scheduler.
    TSchedulerLaunch ShowScheduler();
    // The three below answer true when the shell started what they open; otherwise the user
    // is told what could not be started, with the system's reason.
    // btnSupportClick: feedback.htm of the program folder.
    bool OpenSupportPage();
    // btnTellAFriendClick.
    bool TellAFriend();
    // btnDefragment2Click.
    bool StartDefragmenter();

private:
    // Runs Request; on a failure shows Failure with the system's reason.
    bool Start(const TShellRequest& Request, const String& Failure) const;
    // True when Handle is a window of process ProcessId and took the message.
    bool AskSchedulerWindow(HWND Handle, DWORD ProcessId) const;

    TLauncherEnvironment FEnvironment;
    const TFeatureContext& FContext;
};
