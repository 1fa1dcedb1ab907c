#pragma once
// The scheduler program's rules that need no window: its command line, its Run-key value, when
// closing the window ends the program, and when the tray icon shows.

#include "classlib/rtl/SysUtils.h"

#include <vector>

// What the command line asks for.
struct TSchedCommandLine {
    // The first parameter is exactly "/hide": the window stays hidden at start.
    bool Hide = false;
    enum TCommand { cmStartup, cmEnable };
    // "/startup" and "/enable", in any letter case and any place, in their order.
    std::vector<TCommand> Commands;
};
TSchedCommandLine ParseSchedCommandLine(const std::vector<String>& Params);

// HKEY_CURRENT_USER key of the values Windows starts at logon.
extern const wchar_t SchedRunKeyPath[];
extern const wchar_t SchedRunValueName[];
// The value's data: the program in double quotes and " /startup".
String SchedRunCommand(const String& ExePath);
// Writes or deletes the value under HKEY_CURRENT_USER\KeyPath; the key is never created. False
// when the key cannot be opened or the change fails.
bool WriteSchedRunValue(const String& KeyPath, const String& ExePath);
bool DeleteSchedRunValue(const String& KeyPath);

// The tray icon: image 0 while the scheduler is on, 1 when off; shown while the window is,
// otherwise unless the user hid it.
struct TTrayIconState {
    int ImageIndex = 0;
    bool Visible = true;
    bool operator==(const TTrayIconState&) const = default;
};
TTrayIconState SchedTrayIconState(bool SchedulerOn, bool WindowVisible, bool HideTrayIcon);
