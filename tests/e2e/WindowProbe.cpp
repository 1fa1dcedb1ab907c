// Looks at the top-level window of a running program from outside, as a user would.
// Usage: e2e_window_probe visible|iconic|minimize|close TITLE EXE_PATH
// Exit code 0 when the window of EXE_PATH titled TITLE exists and the check holds or the
// action was sent, 1 when not, 2 on bad arguments.
#include "classlib/rtl/WinApi.h"

#include <string>

namespace {

struct TSearch {
    std::wstring Title;
    std::wstring ExePath;
    HWND Found = nullptr;
};

std::wstring ProcessImage(HWND Wnd) {
    DWORD ProcessId = 0;
    GetWindowThreadProcessId(Wnd, &ProcessId);
    const HANDLE Process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ProcessId);
    if (!Process)
        return {};
    std::wstring Path(32768, L'\0');
    DWORD Length = static_cast<DWORD>(Path.size());
    const bool Ok = QueryFullProcessImageNameW(Process, 0, Path.data(), &Length);
    CloseHandle(Process);
    Path.resize(Ok ? Length : 0);
    return Path;
}

BOOL CALLBACK Match(HWND Wnd, LPARAM Param) {
    auto* Search = reinterpret_cast<TSearch*>(Param);
    if (!IsWindowVisible(Wnd))
        return TRUE;
    wchar_t Title[512] = {};
    GetWindowTextW(Wnd, Title, 512);
    if (Search->Title != Title || lstrcmpiW(ProcessImage(Wnd).c_str(), Search->ExePath.c_str()))
        return TRUE;
    Search->Found = Wnd;
    return FALSE;
}

} // namespace

int wmain(int Argc, wchar_t** Argv) {
    if (Argc != 4)
        return 2;
    const std::wstring Command = Argv[1];
    TSearch Search{Argv[2], Argv[3]};
    EnumWindows(&Match, reinterpret_cast<LPARAM>(&Search));
    if (!Search.Found)
        return 1;
    if (Command == L"visible")
        return IsIconic(Search.Found) ? 1 : 0;
    if (Command == L"iconic")
        return IsIconic(Search.Found) ? 0 : 1;
    if (Command == L"minimize")
        return PostMessageW(Search.Found, WM_SYSCOMMAND, SC_MINIMIZE, 0) ? 0 : 1;
    if (Command == L"close")
        return PostMessageW(Search.Found, WM_CLOSE, 0, 0) ? 0 : 1;
    return 2;
}
