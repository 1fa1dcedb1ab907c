#pragma once
// Starting a program or opening a document or link through the shell, for the commands whose
// failure the user is told about.

#include "classlib/rtl/SysUtils.h"

#include "classlib/rtl/WinApi.h"

// One call of the shell's execute function.
struct TShellRequest {
    String Verb; // empty: the default verb
    String File;
    String Parameters;
    String Folder;
    bool operator==(const TShellRequest&) const = default;
};

// Executes Request with the normal show state, without an error window of the shell's own: 0
// when it started, else the system's error code.
DWORD StartShellRequest(HWND Owner, const TShellRequest& Request);

// Text, a blank line and the system's words for Error.
String WithSystemReason(const String& Text, DWORD Error);
