// Looks at the top-level window of a running program from outside, as a user would.
// Usage: e2e_window_probe visible|iconic|minimize|close TITLE EXE_PATH
//        e2e_window_probe shown|where|click TITLE EXE_PATH CONTROL
//        e2e_window_probe menu TITLE EXE_PATH MENU_ITEM
//        e2e_window_probe row|check TITLE EXE_PATH LIST ROW_TEXT
//        e2e_window_probe key TITLE EXE_PATH VIRTUAL_KEY [CONTROL]
//        e2e_window_probe type TITLE EXE_PATH TEXT [CONTROL]
//        e2e_window_probe send HANDLE MESSAGE [WPARAM [LPARAM]]   (numbers decimal or 0x...)
//        e2e_window_probe sendatom HANDLE MESSAGE TEXT
//        e2e_window_probe tray HANDLE MOUSE_MESSAGE
//        e2e_window_probe cursor
// Exit code 0 when the window of EXE_PATH titled TITLE exists and the check holds or the
// action was sent, 1 when not, 2 on bad arguments. The window answers by names (the class
// library's probe message): "shown" holds while the named control shows; "where" prints the
// screen point of its centre as "X Y"; "click" clicks its
// centre, "row" and "check" the text or the check box of a list's row, with ordinary mouse
// messages; "menu" posts the named menu item's command; "key" presses a key in the focused
// control, "type" types the text into it character by character. Both fail while the focus is
// outside the window, and given a CONTROL, unless that control has it: a script waits for it,
// so a key sent after a click or an opening dialog lands where it should, however loaded the
// machine is. "send" sends the message to the
// window handle (as a program would that read it from a settings file) and prints the result;
// "sendatom" sends it with a global atom of TEXT as its first parameter. "tray" posts the
// notification-area callback (message 0x800, icon 1) with the mouse message to the hidden utility
// windows of HANDLE's thread, as the shell does when the user clicks the program's tray icon.
// "cursor" prints the mouse pointer's screen point as "X Y".
#include "classlib/gui/WindowProbe.h"
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

// Asks Wnd the probe question Query about Text; the answer, or 0.
LRESULT Ask(HWND Wnd, TProbeQuery Query, const std::wstring& Text) {
    const ATOM Atom = GlobalAddAtomW(Text.c_str());
    if (!Atom)
        return 0;
    DWORD_PTR Result = 0;
    if (!SendMessageTimeoutW(Wnd, ProbeMessage(), Query, Atom, SMTO_ABORTIFHUNG, 10000, &Result))
        Result = 0;
    GlobalDeleteAtom(Atom);
    return static_cast<LRESULT>(Result);
}

// The innermost visible window of Top under the screen point At.
HWND WindowAt(HWND Top, POINT At) {
    HWND Wnd = Top;
    for (;;) {
        POINT Client = At;
        ScreenToClient(Wnd, &Client);
        const HWND Child =
            ChildWindowFromPointEx(Wnd, Client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!Child || Child == Wnd)
            return Wnd;
        Wnd = Child;
    }
}

// A left click at the screen point of the answer, as the mouse gives one.
int ClickAt(HWND Top, LRESULT Answer) {
    if (!ProbeAnswered(Answer))
        return 1;
    const TPoint Point = ProbePoint(Answer);
    const POINT At{Point.X, Point.Y};
    const HWND Target = WindowAt(Top, At);
    POINT Client = At;
    ScreenToClient(Target, &Client);
    const LPARAM Where = MAKELPARAM(Client.x, Client.y);
    PostMessageW(Target, WM_MOUSEMOVE, 0, Where);
    PostMessageW(Target, WM_LBUTTONDOWN, MK_LBUTTON, Where);
    PostMessageW(Target, WM_LBUTTONUP, 0, Where);
    return 0;
}

int PostMenuCommand(HWND Top, const std::wstring& Item) {
    const LRESULT Command = Ask(Top, pqMenuCommand, Item);
    const LRESULT Window = Ask(Top, pqMenuWindow, Item);
    if (!ProbeAnswered(Command) || !ProbeAnswered(Window))
        return 1;
    const HWND Target = reinterpret_cast<HWND>(static_cast<UINT_PTR>(ProbeValue(Window)));
    return PostMessageW(Target, WM_COMMAND, ProbeValue(Command), 0) ? 0 : 1;
}

// The control of Top that has the keyboard focus; Top when Top is active with no focused
// control; nullptr while the focus or the activation is elsewhere (a key posted then would land
// in another window, or nowhere).
HWND FocusedIn(HWND Top) {
    GUITHREADINFO Info{};
    Info.cbSize = sizeof Info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(Top, nullptr), &Info))
        return nullptr;
    if (Info.hwndFocus && (Info.hwndFocus == Top || IsChild(Top, Info.hwndFocus)))
        return Info.hwndFocus;
    return Info.hwndActive == Top ? Top : nullptr;
}

// Presses and releases Key in the control that has the focus in Top.
int PressKey(HWND Top, const wchar_t* KeyText) {
    const UINT Key = static_cast<UINT>(std::wcstoul(KeyText, nullptr, 0));
    if (!Key)
        return 2;
    const HWND Target = FocusedIn(Top);
    if (!Target)
        return 1;
    PostMessageW(Target, WM_KEYDOWN, Key, 1);
    PostMessageW(Target, WM_KEYUP, Key, 1 | (3u << 30));
    return 0;
}

// Types Text into the control that has the focus in Top, as the keyboard's characters.
int TypeText(HWND Top, const std::wstring& Text) {
    const HWND Target = FocusedIn(Top);
    if (!Target)
        return 1;
    for (const wchar_t Char : Text)
        PostMessageW(Target, WM_CHAR, Char, 1);
    return 0;
}

// The commands that name something inside the window.
int Inside(HWND Top, const std::wstring& Command, int Argc, wchar_t** Argv) {
    const std::wstring Name = Argv[4];
    if (Command == L"shown" && Argc == 5)
        return ProbeAnswered(Ask(Top, pqControlCentre, Name)) ? 0 : 1;
    if (Command == L"where" && Argc == 5) {
        const LRESULT Answer = Ask(Top, pqControlCentre, Name);
        if (!ProbeAnswered(Answer))
            return 1;
        std::printf("%d %d\n", ProbePoint(Answer).X, ProbePoint(Answer).Y);
        return 0;
    }
    if (Command == L"click" && Argc == 5)
        return ClickAt(Top, Ask(Top, pqControlCentre, Name));
    if (Command == L"menu" && Argc == 5)
        return PostMenuCommand(Top, Name);
    if (Command == L"key" && Argc == 5)
        return PressKey(Top, Argv[4]);
    if (Command == L"type" && Argc == 5)
        return TypeText(Top, Name);
    if ((Command == L"key" || Command == L"type") && Argc == 6) {
        if (!ProbeAnswered(Ask(Top, pqControlFocused, Argv[5])))
            return 1;
        return Command == L"key" ? PressKey(Top, Argv[4]) : TypeText(Top, Name);
    }
    if ((Command == L"row" || Command == L"check") && Argc == 6)
        return ClickAt(Top, Ask(Top, Command == L"row" ? pqRowText : pqRowCheckBox,
                                Name + ProbeRowSeparator + Argv[5]));
    return 2;
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

int SendAtomToHandle(int Argc, wchar_t** Argv) {
    if (Argc != 5)
        return 2;
    const HWND Wnd =
        reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(Argv[2], nullptr, 0)));
    const ATOM Atom = GlobalAddAtomW(Argv[4]);
    if (!IsWindow(Wnd) || !Atom)
        return 1;
    DWORD_PTR Result = 0;
    const bool Sent = SendMessageTimeoutW(Wnd, static_cast<UINT>(std::wcstoll(Argv[3], nullptr, 0)),
                                          Atom, 0, SMTO_ABORTIFHUNG, 10000, &Result);
    GlobalDeleteAtom(Atom);
    if (!Sent)
        return 1;
    std::printf("%lld\n", static_cast<long long>(Result));
    return 0;
}

BOOL CALLBACK PostTrayMessage(HWND Wnd, LPARAM MouseMessage) {
    wchar_t Class[64] = {};
    GetClassNameW(Wnd, Class, 64);
    if (std::wstring(Class) == L"TUtilityWindow")
        PostMessageW(Wnd, 0x800, 1, MouseMessage);
    return TRUE;
}

int PostTrayClick(int Argc, wchar_t** Argv) {
    if (Argc != 4)
        return 2;
    const HWND Wnd =
        reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(Argv[2], nullptr, 0)));
    if (!IsWindow(Wnd))
        return 1;
    EnumThreadWindows(GetWindowThreadProcessId(Wnd, nullptr), &PostTrayMessage,
                      static_cast<LPARAM>(std::wcstoll(Argv[3], nullptr, 0)));
    return 0;
}

int wmain(int Argc, wchar_t** Argv) {
    if (Argc >= 4 && std::wstring(Argv[1]) == L"send")
        return SendToHandle(Argc, Argv);
    if (Argc >= 2 && std::wstring(Argv[1]) == L"sendatom")
        return SendAtomToHandle(Argc, Argv);
    if (Argc >= 2 && std::wstring(Argv[1]) == L"tray")
        return PostTrayClick(Argc, Argv);
    if (Argc == 2 && std::wstring(Argv[1]) == L"cursor") {
        POINT At{};
        GetCursorPos(&At);
        std::printf("%ld %ld\n", At.x, At.y);
        return 0;
    }
    if (Argc < 4 || Argc > 6)
        return 2;
    const std::wstring Command = Argv[1];
    TSearch Search{Argv[2], Argv[3]};
    EnumWindows(&Match, reinterpret_cast<LPARAM>(&Search));
    if (!Search.Found)
        return 1;
    if (Argc > 4)
        return Inside(Search.Found, Command, Argc, Argv);
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
