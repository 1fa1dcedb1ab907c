// Looks at the top-level window of a running program from outside, as a user would.
// Usage: e2e_window_probe visible|iconic|minimize|close TITLE EXE_PATH
//        e2e_window_probe send HANDLE MESSAGE [WPARAM [LPARAM]]   (numbers decimal or 0x...)
// Exit code 0 when the window of EXE_PATH titled TITLE exists and the check holds or the
// action was sent, 1 when not, 2 on bad arguments. "send" sends the message to the window
// handle (as a program would that read it from a settings file) and prints the result.
#include "classlib/rtl/WinApi.h"

#include <cstdio>
#include <cwchar>
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

int SendToHandle(int Argc, wchar_t** Argv) {
    const auto Number = [&](int Index) {
        return Index < Argc ? std::wcstoll(Argv[Index], nullptr, 0) : 0;
    };
    const HWND Wnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(Number(2)));
    if (!IsWindow(Wnd))
        return 1;
    DWORD_PTR Result = 0;
    if (!SendMessageTimeoutW(Wnd, static_cast<UINT>(Number(3)), static_cast<WPARAM>(Number(4)),
                             static_cast<LPARAM>(Number(5)), SMTO_ABORTIFHUNG, 10000, &Result))
        return 1;
    std::printf("%lld\n", static_cast<long long>(Result));
    return 0;
}

int wmain(int Argc, wchar_t** Argv) {
    if (Argc >= 4 && std::wstring(Argv[1]) == L"send")
        return SendToHandle(Argc, Argv);
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
