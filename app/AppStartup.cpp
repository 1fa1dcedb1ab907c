#include "app/AppStartup.h"

#include "app/Language.h"
#include "classlib/gui/Forms.h"
#include "classlib/rtl/IniFiles.h"

#include <cstdint>

String AppDir;

namespace {

const String InstancePrefix = L"SystemCorvanta2.Instance.";

String HashText(const String& Text) {
    std::uint64_t Hash = 14695981039346656037ull; // FNV-1a
    for (const wchar_t Ch : Text) {
        Hash ^= static_cast<std::uint16_t>(Ch);
        Hash *= 1099511628211ull;
    }
    return IntToHex(static_cast<std::int64_t>(Hash), 16);
}

// Kernel object names are limited to MAX_PATH characters; a longer key goes by its hash.
String MutexName(const String& Key) {
    const String Name = InstancePrefix + Key;
    return Name.size() < MAX_PATH ? Name : InstancePrefix + HashText(Key);
}

// Window property names are atoms, limited to 255 characters: always the hash.
String PropertyName(const String& Key) {
    return InstancePrefix + HashText(Key);
}

UINT BringForwardMessage() {
    static const UINT Message = RegisterWindowMessageW(L"SystemCorvanta2.BringForward");
    return Message;
}

struct TMarkedWindowSearch {
    const wchar_t* Property;
    HWND Found;
};

BOOL CALLBACK FindMarkedWindow(HWND Wnd, LPARAM Param) {
    auto* Search = reinterpret_cast<TMarkedWindowSearch*>(Param);
    if (!GetPropW(Wnd, Search->Property))
        return TRUE;
    Search->Found = Wnd;
    return FALSE;
}

} // namespace

String ConfigFileName() {
    return AppDir + L"qv.ini";
}

void LoadAppLanguage(const String& IniFileName) {
    const TIniFile Ini(IniFileName);
    const String Lang = Ini.ReadString(L"General", L"Lang", L"english");
    AppLanguage->LoadFromFile(LanguageFilePath(AppDir, Lang));
}

int RunProgramEntry(const String& Title, const std::function<int()>& Program) {
    AppDir = ExtractFilePath(TApplication::ExeName());
    int ExitCode = 1;
    try {
        ExitCode = Program();
    } catch (const Exception& E) {
        MessageBoxW(nullptr, E.Message().c_str(), Title.c_str(), MB_ICONERROR | MB_OK);
    } catch (const std::exception& E) {
        MessageBoxW(nullptr, FromUtf8(E.what()).c_str(), Title.c_str(), MB_ICONERROR | MB_OK);
    }
    AppDir.clear();
    return ExitCode;
}

void ConfigWriteTest(const String& IniFileName) {
    TIniFile Ini(IniFileName);
    try {
        Ini.WriteString(L"Report", L"Test", L"");
    } catch (const std::exception&) {
        // A read-only folder or file: the program still starts.
    }
    try {
        Ini.DeleteKey(L"Report", L"Test");
    } catch (const std::exception&) {
    }
}

String InstanceKey(const String& ExePath) {
    return StringReplace(AnsiUpperCase(ExePath), L"\\", L"/", rfReplaceAll);
}

TSingleInstance::TSingleInstance(const String& ExePath) : FKey(InstanceKey(ExePath)) {
    FMutex.reset(CreateMutexW(nullptr, FALSE, MutexName(FKey).c_str()));
    const DWORD Error = GetLastError();
    // Access denied: the mutex exists, made by an instance running with other rights.
    FAlreadyRunning = FMutex ? Error == ERROR_ALREADY_EXISTS : Error == ERROR_ACCESS_DENIED;
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::ActivateRunningInstance() const {
    const String Property = PropertyName(FKey);
    TMarkedWindowSearch Search{Property.c_str(), nullptr};
    EnumWindows(&FindMarkedWindow, reinterpret_cast<LPARAM>(&Search));
    if (!Search.Found)
        return false;
    // This start has the user's attention; let the running instance take the foreground.
    DWORD ProcessId = 0;
    GetWindowThreadProcessId(Search.Found, &ProcessId);
    AllowSetForegroundWindow(ProcessId);
    return PostMessageW(Search.Found, BringForwardMessage(), 0, 0) != FALSE;
}

void TSingleInstance::Serve(TApplication& App) const {
    const HWND Wnd = App.Handle();
    const String Property = PropertyName(FKey);
    SetPropW(Wnd, Property.c_str(), reinterpret_cast<HANDLE>(1));
    App.HookMainWindow([&App, Wnd, Property](TMessage& Message) {
        if (Message.Msg == WM_NCDESTROY) {
            RemovePropW(Wnd, Property.c_str());
            return false;
        }
        if (Message.Msg != BringForwardMessage())
            return false;
        App.Restore();
        App.BringToFront();
        return true;
    });
}
