#include "app/AppStartup.h"

#include "app/Language.h"
#include "classlib/gui/Forms.h"
#include "classlib/rtl/IniFiles.h"
#include "classlib/rtl/TextEncoding.h"

#include <cstdint>
#include <optional>

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

std::vector<String> ProgramParams() {
    std::vector<String> Params;
    int Count = 0;
    wchar_t** Args = CommandLineToArgvW(GetCommandLineW(), &Count);
    if (!Args)
        return Params;
    for (int I = 1; I < Count; ++I)
        Params.emplace_back(Args[I]);
    LocalFree(Args);
    return Params;
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

bool IsIniText(std::wstring_view Text) {
    size_t Start = 0;
    while (Start <= Text.size()) {
        size_t End = Text.find(L'\n', Start);
        if (End == std::wstring_view::npos)
            End = Text.size();
        std::wstring_view Line = Text.substr(Start, End - Start);
        if (!Line.empty() && Line.back() == L'\r')
            Line.remove_suffix(1);
        for (const wchar_t C : Line)
            if (C < 0x20 && C != L'\t')
                return false;
        const size_t First = Line.find_first_not_of(L" \t");
        if (First != std::wstring_view::npos) {
            const wchar_t Lead = Line[First];
            const bool Section = Lead == L'[' && Line.find(L']', First) != std::wstring_view::npos;
            if (!Section && Lead != L';' && Line.find(L'=') == std::wstring_view::npos)
                return false;
        }
        Start = End + 1;
    }
    return true;
}

namespace {

// The file's text, or nothing when it cannot be read.
std::optional<String> ReadText(const String& FileName) {
    try {
        TTextEncoding Encoding;
        return DecodeMarkedText(ReadFileBytes(FileName), Encoding);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

[[noreturn]] void RefuseStart(const String& FileName, const String& What, const String& Problem) {
    throw Exception(L"System Corvanta 2 cannot start: " + What + L" \"" + FileName + L"\" " +
                    Problem +
                    L". Put back the file of the same name from the program's setup, "
                    L"then start the program again.");
}

} // namespace

void CheckStartFiles(const String& IniFileName) {
    const std::optional<String> Config = ReadText(IniFileName);
    const String Damaged = L"is damaged and was left unchanged";
    if (Config && !IsIniText(*Config))
        RefuseStart(IniFileName, L"its settings file", Damaged);
    const TIniFile Ini(IniFileName);
    const String Language =
        LanguageFilePath(AppDir, Ini.ReadString(L"General", L"Lang", L"english"));
    const std::optional<String> Texts = ReadText(Language);
    if (!Texts)
        RefuseStart(Language, L"its language file", L"is missing or cannot be read");
    if (!IsIniText(*Texts) || Texts->find(L"[Messages]") == String::npos)
        RefuseStart(Language, L"its language file", Damaged);
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
