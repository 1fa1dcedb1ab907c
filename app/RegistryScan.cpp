#include "app/RegistryScan.h"

#include "classlib/rtl/Registry.h"

#include <sddl.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The server subkeys of a class key, in the order they are looked at.
const std::array<const wchar_t*, 4> ClassServerKeys = {L"InProcServer32", L"InProcServer",
                                                       L"LocalServer", L"LocalServer32"};

// Value texts longer than this are no file name: reading and judging them would only cost time.
constexpr DWORD MaxTextBytes = 32768 * sizeof(wchar_t);
// The longest value name the registry allows, with its terminator.
constexpr DWORD MaxValueName = 16384;

String JoinKeyPath(const String& Parent, const String& Name) {
    return Parent.empty() ? Name : Parent + L'\\' + Name;
}

// Subkey names of Key; empty when they cannot be read.
std::vector<String> SubkeyNames(HKEY Key) {
    std::vector<String> Names;
    std::vector<wchar_t> Name(256);
    for (DWORD Index = 0;;) {
        auto Length = static_cast<DWORD>(Name.size());
        const LSTATUS R =
            RegEnumKeyExW(Key, Index, Name.data(), &Length, nullptr, nullptr, nullptr, nullptr);
        if (R == ERROR_MORE_DATA && Name.size() < MaxValueName) {
            Name.resize(MaxValueName);
            continue;
        }
        if (R != ERROR_SUCCESS)
            break;
        Names.emplace_back(Name.data(), Length);
        ++Index;
    }
    return Names;
}

TRegKey OpenForReading(HKEY Parent, const String& Path) {
    HKEY Opened = nullptr;
    if (RegOpenKeyExW(Parent, Path.c_str(), 0, KEY_READ, &Opened) != ERROR_SUCCESS)
        return TRegKey();
    return TRegKey(Opened);
}

// The text of a string value (REG_SZ, or also REG_EXPAND_SZ unexpanded); false when the value is
// missing, of another type or too long to name a file.
bool ReadText(HKEY Key, const String& Name, bool AllowExpand, String& Text) {
    DWORD Type = 0;
    DWORD Size = 0;
    if (RegQueryValueExW(Key, Name.c_str(), nullptr, &Type, nullptr, &Size) != ERROR_SUCCESS)
        return false;
    if (!(Type == REG_SZ || (AllowExpand && Type == REG_EXPAND_SZ)) || Size > MaxTextBytes)
        return false;
    std::vector<wchar_t> Data(Size / sizeof(wchar_t) + 1, L'\0');
    DWORD Got = static_cast<DWORD>(Data.size() * sizeof(wchar_t));
    if (RegQueryValueExW(Key, Name.c_str(), nullptr, &Type, reinterpret_cast<BYTE*>(Data.data()),
                         &Got) != ERROR_SUCCESS ||
        !(Type == REG_SZ || (AllowExpand && Type == REG_EXPAND_SZ)))
        return false;
    // Stored texts may or may not carry their terminator.
    Text.assign(Data.data(), Got / sizeof(wchar_t));
    if (const std::size_t End = Text.find(L'\0'); End != String::npos)
        Text.resize(End);
    return true;
}

String CurrentUserSid() {
    HANDLE RawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &RawToken))
        return String();
    const TOwnedHandle Token(RawToken);
    DWORD Size = 0;
    GetTokenInformation(Token.get(), TokenUser, nullptr, 0, &Size);
    if (Size == 0)
        return String();
    std::vector<BYTE> Buffer(Size);
    if (!GetTokenInformation(Token.get(), TokenUser, Buffer.data(), Size, &Size))
        return String();
    wchar_t* Text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(Buffer.data())->User.Sid, &Text))
        return String();
    String Sid = Text;
    LocalFree(Text);
    return Sid;
}

bool HasKeySegment(const String& KeyPath, const String& Segment) {
    const String Upper = L"\\" + UpperCase(KeyPath) + L"\\";
    return Upper.find(L"\\" + UpperCase(Segment) + L"\\") != String::npos;
}

// Text with every "<Windows>\System32" (any case) read as "<Windows>\SysWOW64".
String As32BitSystemFolder(const String& Text, const String& WindowsFolder) {
    const String From = UpperCase(IncludeTrailingBackslash(WindowsFolder) + L"System32");
    const String To = IncludeTrailingBackslash(WindowsFolder) + L"SysWOW64";
    const String Upper = UpperCase(Text);
    String Result;
    std::size_t At = 0;
    for (std::size_t Hit; (Hit = Upper.find(From, At)) != String::npos; At = Hit + From.size())
        Result += Text.substr(At, Hit - At) + To;
    return Result + Text.substr(At);
}

} // namespace

HKEY RootKeyHandle(TRegistryRootKey Root) {
    switch (Root) {
    case TRegistryRootKey::Users:
        return HKEY_USERS;
    case TRegistryRootKey::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case TRegistryRootKey::CurrentUser:
        break;
    }
    return HKEY_CURRENT_USER;
}

String RootDisplayName(TRegistryRootKey Root) {
    switch (Root) {
    case TRegistryRootKey::Users:
        return L"HKEY_USERS";
    case TRegistryRootKey::LocalMachine:
        return L"HKEY_LOCAL_MACHINE";
    case TRegistryRootKey::CurrentUser:
        break;
    }
    return L"HKEY_CURRENT_USER";
}

String WalkKeyPathText(const String& KeyPath) {
    if (KeyPath.find(L'\\') != String::npos)
        return KeyPath;
    return L"\\" + KeyPath;
}

String FindingRowText(const TRegistryFinding& Finding) {
    return RootDisplayName(Finding.Root) + L"\\" + WalkKeyPathText(Finding.KeyPath);
}

TRegistryKeyRef DefaultClassKeys() {
    return {TRegistryRootKey::LocalMachine, L"Software\\Classes\\CLSID"};
}

std::vector<TRegistryKeyRef> WholeRegistryStarts() {
    return {{TRegistryRootKey::CurrentUser, String()},
            {TRegistryRootKey::Users, String()},
            {TRegistryRootKey::LocalMachine, String()}};
}

// ------------------------------------------------------------ the scan

TRegistryScanner::TRegistryScanner(TRegistryScanSettings Settings)
    : FSettings(std::move(Settings)),
      FWindowsFolder(FSettings.WindowsFolder.empty() ? GetWindowsFolder()
                                                     : FSettings.WindowsFolder) {
    bool WalksCurrentUser = false;
    for (const TRegistryKeyRef& Start : FSettings.Starts)
        WalksCurrentUser |= Start.Root == TRegistryRootKey::CurrentUser;
    const String Sid = CurrentUserSid();
    if (WalksCurrentUser && !Sid.empty())
        FSkipUserKeys = {UpperCase(Sid), UpperCase(Sid + L"_Classes")};
}

void TRegistryScanner::Pump() {
    if (Progress)
        Progress->Pump();
}

bool TRegistryScanner::ShouldStop() {
    Pump();
    if (Progress && Progress->Cancelled())
        FStopRequested = true;
    return FStopRequested;
}

TRegistryScanOutcome TRegistryScanner::Run() {
    FStopRequested = false;
    FCurrentScanPath.clear();
    if (FSettings.Advanced)
        ScanClsidServers();
    for (const TRegistryKeyRef& Start : FSettings.Starts) {
        if (ShouldStop())
            break;
        WalkStart(Start);
    }
    return FStopRequested ? TRegistryScanOutcome::Stopped : TRegistryScanOutcome::Completed;
}

void TRegistryScanner::WalkStart(const TRegistryKeyRef& Start) {
    const TRegKey Key = OpenForReading(RootKeyHandle(Start.Root), Start.Path);
    if (Key)
        ScanRegistryKey(Key.Get(), Start.Root, Start.Path);
}

void TRegistryScanner::ScanRegistryKey(HKEY Key, TRegistryRootKey Root, const String& Path) {
    FCurrentScanPath = RootDisplayName(Root) + L"\\" + Path;
    // The names are read before the walk goes below them.
    const std::vector<String> Subkeys = SubkeyNames(Key);
    for (const String& Name : Subkeys) {
        if (ShouldStop())
            return;
        if (Name.empty())
            continue;
        if (Root == TRegistryRootKey::Users && Path.empty() &&
            std::find(FSkipUserKeys.begin(), FSkipUserKeys.end(), UpperCase(Name)) !=
                FSkipUserKeys.end())
            continue;
        try {
            const TRegKey Subkey = OpenForReading(Key, Name);
            if (Subkey)
                ScanRegistryKey(Subkey.Get(), Root, JoinKeyPath(Path, Name));
        } catch (const std::exception&) {
            // One key that fails is skipped, not the rest of the walk.
        }
    }
    if (!FStopRequested)
        ScanValues(Key, Root, Path);
}

void TRegistryScanner::ScanValues(HKEY Key, TRegistryRootKey Root, const String& Path) {
    // Names first: values are read one by one after the enumeration is complete.
    std::vector<String> Names;
    std::vector<wchar_t> Name(MaxValueName);
    for (DWORD Index = 0;; ++Index) {
        auto Length = static_cast<DWORD>(Name.size());
        DWORD Type = 0;
        DWORD Size = 0;
        const LSTATUS R =
            RegEnumValueW(Key, Index, Name.data(), &Length, nullptr, &Type, nullptr, &Size);
        if (R != ERROR_SUCCESS)
            break;
        if (Type == REG_SZ && Size <= MaxTextBytes)
            Names.emplace_back(Name.data(), Length);
    }
    FCurrentScanPath = RootDisplayName(Root) + L"\\" + Path;
    for (const String& ValueName : Names) {
        if (ShouldStop())
            return;
        String Text;
        if (!ReadText(Key, ValueName, false, Text))
            continue;
        const TCommandTarget Target = JudgeText(Text, Path);
        if (Target == ctTargetMissing || (Target == ctOddForm && FSettings.Advanced))
            Found({TRegistryFindingKind::Value, Root, Path, ValueName, Text, Target});
    }
}

TCommandTarget TRegistryScanner::JudgeText(const String& Text, const String& KeyPath) const {
    const TCommandTarget Target = CheckCommandTarget(Text, true);
    // 32-bit programs write System32 for the folder the system gives them, SysWOW64.
    if (Target == ctTargetMissing && !FWindowsFolder.empty() &&
        HasKeySegment(KeyPath, L"Wow6432Node")) {
        const String As32Bit = As32BitSystemFolder(Text, FWindowsFolder);
        if (As32Bit != Text && CheckCommandTarget(As32Bit, true) == ctTargetExists)
            return ctTargetExists;
    }
    return Target;
}

void TRegistryScanner::ScanClsidServers() {
    const TRegistryKeyRef& Classes = FSettings.ClassKeys;
    const TRegKey ClassesKey = OpenForReading(RootKeyHandle(Classes.Root), Classes.Path);
    if (!ClassesKey)
        return;
    for (const String& ClassName : SubkeyNames(ClassesKey.Get())) {
        Pump();
        if (ClassName.empty())
            continue;
        FCurrentScanPath = RootDisplayName(Classes.Root) + L"\\" + Classes.Path + L"\\" + ClassName;
        try {
            const TRegKey ClassKey = OpenForReading(ClassesKey.Get(), ClassName);
            if (!ClassKey)
                continue;
            const std::vector<String> Servers = SubkeyNames(ClassKey.Get());
            for (const wchar_t* Server : ClassServerKeys) {
                const bool Present =
                    std::any_of(Servers.begin(), Servers.end(),
                                [&](const String& Name) { return SameText(Name, Server); });
                if (!Present)
                    continue;
                const TRegKey ServerKey = OpenForReading(ClassKey.Get(), Server);
                String Text;
                if (!ServerKey || !ReadText(ServerKey.Get(), String(), true, Text))
                    continue;
                const String ServerPath = Classes.Path + L'\\' + ClassName + L'\\' + Server;
                if (JudgeText(Text, ServerPath) == ctTargetMissing)
                    Found({TRegistryFindingKind::ClassKey, Classes.Root, Classes.Path, ClassName,
                           Text, ctTargetMissing});
            }
        } catch (const std::exception&) {
            // A class that cannot be read is skipped; the pass goes on.
        }
    }
}

void TRegistryScanner::Found(TRegistryFinding Finding) {
    if (OnFinding)
        OnFinding(Finding);
}

// --------------------------------------------------------------- removal

TRegistryRemoval RemoveRegistryFinding(const TRegistryFinding& Finding) {
    const HKEY Root = RootKeyHandle(Finding.Root);
    HKEY Opened = nullptr;
    const REGSAM Access = Finding.Kind == TRegistryFindingKind::Value
                              ? KEY_QUERY_VALUE | KEY_SET_VALUE
                              : KEY_READ | DELETE | KEY_SET_VALUE;
    const LSTATUS OpenStatus = RegOpenKeyExW(Root, Finding.KeyPath.c_str(), 0, Access, &Opened);
    if (OpenStatus == ERROR_FILE_NOT_FOUND)
        return TRegistryRemoval::Gone;
    if (OpenStatus != ERROR_SUCCESS)
        return TRegistryRemoval::Failed;
    const TRegKey Key(Opened);

    if (Finding.Kind == TRegistryFindingKind::Value) {
        const LSTATUS R = RegDeleteValueW(Key.Get(), Finding.Name.c_str());
        if (R == ERROR_SUCCESS)
            return TRegistryRemoval::Removed;
        return R == ERROR_FILE_NOT_FOUND ? TRegistryRemoval::Gone : TRegistryRemoval::Failed;
    }

    // An empty name would make the delete take the holding key itself.
    if (Finding.Name.empty() || Finding.Name.find(L'\\') != String::npos)
        return TRegistryRemoval::Failed;
    const LSTATUS R = RegDeleteTreeW(Key.Get(), Finding.Name.c_str());
    if (R == ERROR_FILE_NOT_FOUND)
        return TRegistryRemoval::Gone;
    if (R != ERROR_SUCCESS)
        return TRegistryRemoval::Failed;
    const LSTATUS Last = RegDeleteKeyW(Key.Get(), Finding.Name.c_str());
    return Last == ERROR_SUCCESS || Last == ERROR_FILE_NOT_FOUND ? TRegistryRemoval::Removed
                                                                 : TRegistryRemoval::Failed;
}
