// Extended path forms, device names and identity checks.
#include "classlib/rtl/PathLayer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

const String ExtendedPrefix = L"\\\\?\\";
const String ExtendedUncPrefix = L"\\\\?\\UNC\\";
const String DevicePrefix = L"\\\\.\\";

bool StartsWith(const String& S, const String& Prefix) {
    return S.size() >= Prefix.size() &&
           CompareStringOrdinal(S.c_str(), static_cast<int>(Prefix.size()), Prefix.c_str(),
                                static_cast<int>(Prefix.size()), TRUE) == CSTR_EQUAL;
}

bool IsDriveStep(const String& Step) {
    return Step.size() == 2 && std::iswalpha(Step[0]) && Step[1] == L':';
}

std::vector<String> SplitSteps(const String& Path) {
    std::vector<String> Steps;
    String Step;
    for (const wchar_t C : Path) {
        if (C == L'\\' || C == L'/') {
            Steps.push_back(Step);
            Step.clear();
        } else {
            Step += C;
        }
    }
    Steps.push_back(Step);
    return Steps;
}

// Joins the steps below a root, resolving "." and ".." and dropping empty steps (doubled
// separators); a ".." never climbs above the root. A trailing separator stays.
String JoinBelowRoot(const String& Root, const std::vector<String>& Steps, std::size_t First) {
    std::vector<String> Kept;
    for (std::size_t I = First; I < Steps.size(); ++I) {
        const String& Step = Steps[I];
        if (Step.empty() || Step == L".")
            continue;
        if (Step == L"..") {
            if (!Kept.empty())
                Kept.pop_back();
            continue;
        }
        Kept.push_back(Step);
    }
    String Result = Root;
    for (std::size_t I = 0; I < Kept.size(); ++I) {
        if (I > 0)
            Result += L'\\';
        Result += Kept[I];
    }
    const bool TrailingSeparator = Steps.size() > First && Steps.back().empty();
    if (TrailingSeparator && !Kept.empty())
        Result += L'\\';
    return Result;
}

// Body is what follows "\\?\" (or "\\.\"): "C:\...", "UNC\server\share\..." or a volume name.
String ExtendBody(const String& Body) {
    const std::vector<String> Steps = SplitSteps(Body);
    if (Steps.size() >= 3 && SameText(Steps[0], L"UNC"))
        return JoinBelowRoot(ExtendedUncPrefix + Steps[1] + L'\\' + Steps[2] + L'\\', Steps, 3);
    return JoinBelowRoot(ExtendedPrefix + Steps[0] + L'\\', Steps, 1);
}

bool IsSeparator(wchar_t C) {
    return C == L'\\' || C == L'/';
}

// The root of the volume an extended path lies on: "\\?\C:\" or "\\?\UNC\server\share\".
String RootOf(const String& Extended) {
    if (StartsWith(Extended, ExtendedUncPrefix)) {
        const std::vector<String> Steps = SplitSteps(Extended.substr(ExtendedUncPrefix.size()));
        if (Steps.size() < 2)
            return Extended;
        return ExtendedUncPrefix + Steps[0] + L'\\' + Steps[1] + L'\\';
    }
    const std::vector<String> Steps = SplitSteps(Extended.substr(ExtendedPrefix.size()));
    return ExtendedPrefix + Steps[0] + L'\\';
}

} // namespace

String ExtendedPath(const String& Path) {
    if (Path.empty())
        return Path;
    if (StartsWith(Path, ExtendedPrefix))
        return ExtendBody(Path.substr(ExtendedPrefix.size()));
    if (StartsWith(Path, DevicePrefix)) {
        // Only drive and share paths have a \\?\ form; pipes and devices stay as named.
        const String Body = Path.substr(DevicePrefix.size());
        const std::vector<String> Steps = SplitSteps(Body);
        if (IsDriveStep(Steps[0]) || (Steps.size() >= 3 && SameText(Steps[0], L"UNC")))
            return ExtendBody(Body);
        return Path;
    }
    const bool Unc = Path.size() >= 2 && IsSeparator(Path[0]) && IsSeparator(Path[1]);
    if (Unc) {
        const std::vector<String> Steps = SplitSteps(Path.substr(2));
        if (Steps.size() < 2 || Steps[0].empty() || Steps[1].empty())
            return Path;
        return JoinBelowRoot(ExtendedUncPrefix + Steps[0] + L'\\' + Steps[1] + L'\\', Steps, 2);
    }
    const bool DriveAbsolute =
        Path.size() >= 3 && IsDriveStep(Path.substr(0, 2)) && IsSeparator(Path[2]);
    if (DriveAbsolute)
        return ExtendBody(Path);
    const bool Relative = !IsSeparator(Path[0]) && !(Path.size() >= 2 && Path[1] == L':');
    if (Relative) {
        // Joined by hand: the system's own resolution would drop a trailing dot or space.
        const String Current = ExpandFileName(L".");
        if (Current.size() >= 3 && IsDriveStep(Current.substr(0, 2)))
            return ExtendBody(IncludeTrailingBackslash(Current) + Path);
    }
    // "\dir" or "C:dir": relative to the current drive or to a drive's own current folder.
    const String Full = ExpandFileName(Path);
    if (Full == Path || StartsWith(Full, DevicePrefix))
        return Full;
    return ExtendedPath(Full);
}

String DisplayPath(const String& Path) {
    if (StartsWith(Path, ExtendedUncPrefix))
        return L"\\\\" + Path.substr(ExtendedUncPrefix.size());
    if (StartsWith(Path, ExtendedPrefix)) {
        const String Body = Path.substr(ExtendedPrefix.size());
        // A volume name ("\\?\Volume{...}\") has no other form.
        if (Body.size() >= 2 && IsDriveStep(Body.substr(0, 2)))
            return Body;
    }
    return Path;
}

String CreateTempFileIn(const String& Folder, const String& Prefix) {
    if (Folder.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return String();
    }
    // Numbers start where another process is unlikely to, and never repeat within this one.
    static std::atomic<std::uint32_t> Next{GetTickCount() ^ (GetCurrentProcessId() << 16)};
    const String Stem = IncludeTrailingBackslash(Folder) + Prefix;
    for (int Tries = 0; Tries < 65536; ++Tries) {
        wchar_t Number[9];
        swprintf(Number, 9, L"%08X", static_cast<unsigned>(Next++));
        const String Name = Stem + Number + L".tmp";
        const TOwnedHandle File =
            OwnHandle(CreateFileW(ExtendedPath(Name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (File)
            return Name;
        const DWORD Error = GetLastError();
        // A name in use by a folder or a file being deleted is refused as access denied.
        const bool Taken =
            Error == ERROR_FILE_EXISTS || Error == ERROR_ALREADY_EXISTS ||
            (Error == ERROR_ACCESS_DENIED &&
             GetFileAttributesW(ExtendedPath(Name).c_str()) != INVALID_FILE_ATTRIBUTES);
        if (!Taken) {
            SetLastError(Error);
            return String();
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return String();
}

TTempFile::TTempFile(const String& Folder, const String& Prefix)
    : FName(CreateTempFileIn(Folder, Prefix)) {}

TTempFile::~TTempFile() {
    if (!FName.empty() && !FKept)
        FileDelete(FName);
}

bool IsDeviceName(const String& Name) {
    // Windows compares the part before the first dot, trailing spaces removed.
    std::size_t Length = std::min(Name.find(L'.'), Name.size());
    while (Length > 0 && Name[Length - 1] == L' ')
        --Length;
    // Walks ask for every entry: most names are ruled out by their length alone.
    if (Length != 3 && Length != 4 && Length != 6 && Length != 7)
        return false;
    const String Base = Name.substr(0, Length);
    static const std::array<const wchar_t*, 6> Fixed = {L"CON", L"PRN",    L"AUX",
                                                        L"NUL", L"CONIN$", L"CONOUT$"};
    if (std::any_of(Fixed.begin(), Fixed.end(),
                    [&](const wchar_t* Device) { return SameText(Base, Device); }))
        return true;
    // COM1-9 and LPT1-9, and the superscript digits Windows also maps to those ports.
    if (Base.size() != 4 ||
        !(SameText(Base.substr(0, 3), L"COM") || SameText(Base.substr(0, 3), L"LPT")))
        return false;
    const wchar_t Digit = Base[3];
    return (Digit >= L'1' && Digit <= L'9') || Digit == L'\u00B9' || Digit == L'\u00B2' ||
           Digit == L'\u00B3';
}

namespace {

// Path's entry in the extended form, without the trailing backslash that would name what a
// final link leads to.
String EntryOf(const String& Path) {
    String Entry = ExtendedPath(Path);
    while (Entry.size() > 1 && Entry.back() == L'\\' && Entry[Entry.size() - 2] != L':')
        Entry.pop_back();
    return Entry;
}

// Opens the entry itself, never what a final link leads to. No access rights are asked for:
// facts can be read from a file another program holds.
TOwnedHandle OpenEntry(const String& Entry) {
    if (Entry.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return TOwnedHandle();
    }
    return OwnHandle(
        CreateFileW(Entry.c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// The name the object manager gives an opened file. Wine gives its DOS path behind the NT
// prefix of two question marks; Windows gives a device path, which is not used here.
String ObjectNameOf(HANDLE Handle) {
    using TQueryObject = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto QueryObject = reinterpret_cast<TQueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    struct TName {
        USHORT Length;
        USHORT MaximumLength;
        wchar_t* Buffer;
    };
    std::vector<std::uint64_t> Buffer(8192);
    const ULONG Size = static_cast<ULONG>(Buffer.size() * sizeof(std::uint64_t));
    ULONG Needed = 0;
    constexpr int ObjectNameInformation = 1;
    if (!QueryObject ||
        QueryObject(Handle, ObjectNameInformation, Buffer.data(), Size, &Needed) != 0)
        return String();
    const auto* Name = reinterpret_cast<const TName*>(Buffer.data());
    const String Text(Name->Buffer, Name->Length / sizeof(wchar_t));
    const String NtDosPrefix = L"\\?"
                               L"?\\"; // apart: "??" would start a trigraph
    return Text.starts_with(NtDosPrefix) ? ExtendedPrefix + Text.substr(4) : String();
}

// What a handle's entry is really called, in the extended form; empty when not known.
String FinalPathOf(HANDLE Handle) {
    std::vector<wchar_t> Buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD Length =
            GetFinalPathNameByHandleW(Handle, Buffer.data(), static_cast<DWORD>(Buffer.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (Length > 0 && Length < Buffer.size())
            return String(Buffer.data(), Length);
        // Wine's call fails on paths past MAX_PATH, whatever the buffer.
        if (Length == 0 || Buffer.size() > 32768)
            return ObjectNameOf(Handle);
        Buffer.resize(Length + 1);
    }
}

// Entry (extended form) with its short 8.3 steps written out, as a final path has them.
String LongFormOf(const String& Entry) {
    const DWORD Length = GetLongPathNameW(Entry.c_str(), nullptr, 0);
    if (Length == 0)
        return Entry;
    std::vector<wchar_t> Buffer(Length);
    const DWORD Written = GetLongPathNameW(Entry.c_str(), Buffer.data(), Length);
    return Written == 0 || Written >= Length ? Entry : String(Buffer.data(), Written);
}

// Wine writes a final path without the trailing dots and spaces of its names ("keep.doc." as
// "keep.doc"): the extended path Entry written that way.
String WithoutTrailingDots(const String& Entry) {
    const String Root = RootOf(Entry);
    String Result = Root;
    const std::vector<String> Steps = SplitSteps(Entry.substr(Root.size()));
    for (std::size_t I = 0; I < Steps.size(); ++I) {
        String Step = Steps[I];
        while (!Step.empty() && (Step.back() == L'.' || Step.back() == L' '))
            Step.pop_back();
        Result += (I > 0 ? L"\\" : L"") + Step;
    }
    return Result;
}

bool SameSpelling(const String& A, const String& B) {
    return A.size() == B.size() &&
           CompareStringOrdinal(A.c_str(), static_cast<int>(A.size()), B.c_str(),
                                static_cast<int>(B.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

namespace {

// The facts of an opened entry; the link flag also as its name tells it.
bool ReadFacts(HANDLE Handle, const String& Entry, TEntryInfo& Info) {
    BY_HANDLE_FILE_INFORMATION Facts;
    if (!GetFileInformationByHandle(Handle, &Facts))
        return false;
    Info.Identity.Volume = Facts.dwVolumeSerialNumber;
    Info.Identity.FileId =
        (static_cast<std::uint64_t>(Facts.nFileIndexHigh) << 32) | Facts.nFileIndexLow;
    Info.Attributes = Facts.dwFileAttributes;
    // Some file systems (and wine's Unix links) tell of the link only by name, not by handle.
    const DWORD ByName = GetFileAttributesW(Entry.c_str());
    if (ByName != INVALID_FILE_ATTRIBUTES)
        Info.Attributes |= ByName & FILE_ATTRIBUTE_REPARSE_POINT;
    Info.Links = Facts.nNumberOfLinks;
    return true;
}

} // namespace

bool InspectEntry(const String& Path, TEntryInfo& Info) {
    const String Entry = EntryOf(Path);
    const TOwnedHandle Handle = OpenEntry(Entry);
    return Handle && ReadFacts(Handle.get(), Entry, Info);
}

bool IsLinkFreeEntry(const String& Path) {
    const String Entry = EntryOf(Path);
    const TOwnedHandle Handle = OpenEntry(Entry);
    TEntryInfo Info;
    if (!Handle || !ReadFacts(Handle.get(), Entry, Info) ||
        (Info.Attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    const String Final = FinalPathOf(Handle.get());
    if (Final.empty())
        return false;
    const String Named = ExtendedPath(Final);
    if (SameSpelling(Named, Entry) || SameSpelling(Named, LongFormOf(Entry)))
        return true;
    if (!SameSpelling(Named, WithoutTrailingDots(Entry)))
        return false;
    // Only the spelling differs, unless the name without its dots is the file itself: then
    // "keep.doc." led to "keep.doc".
    TEntryInfo There;
    return !(InspectEntry(Named, There) && There.Identity == Info.Identity);
}

namespace {

// The Windows folder and every folder above it, by identity.
std::vector<TFileIdentity> SystemFolderIdentities() {
    std::vector<TFileIdentity> Found;
    wchar_t Buffer[MAX_PATH + 1];
    const UINT Length = GetWindowsDirectoryW(Buffer, MAX_PATH + 1);
    if (Length == 0 || Length > MAX_PATH)
        return Found;
    const String Folder = ExcludeTrailingBackslash(ExtendedPath(String(Buffer, Length)));
    const String Root = RootOf(Folder);
    for (String Step = Folder;;) {
        TEntryInfo Info;
        if (InspectEntry(Step, Info))
            Found.push_back(Info.Identity);
        if (Step.size() <= Root.size())
            break;
        Step = Step.substr(0, ExcludeTrailingBackslash(Step).rfind(L'\\') + 1);
    }
    return Found;
}

bool IsAbsolute(const String& Path) {
    const bool Unc = Path.size() >= 2 && IsSeparator(Path[0]) && IsSeparator(Path[1]);
    const bool DriveAbsolute =
        Path.size() >= 3 && IsDriveStep(Path.substr(0, 2)) && IsSeparator(Path[2]);
    return Unc || DriveAbsolute;
}

} // namespace

TTreeDelete CheckTreeDelete(const String& Folder) {
    if (!IsAbsolute(Folder))
        return tdNotAbsolute;
    const String Extended = ExtendedPath(Folder);
    if (!StartsWith(Extended, ExtendedPrefix))
        return tdNotAbsolute;
    TEntryInfo Info;
    if (!InspectEntry(Extended, Info))
        return tdMissing;
    if (!(Info.Attributes & FILE_ATTRIBUTE_DIRECTORY))
        return tdNotAFolder;
    // A drive's root may itself be a mount point; it is refused as the root it is.
    const String Root = RootOf(Extended);
    if (IncludeTrailingBackslash(Extended) == Root)
        return tdDriveRoot;
    if (Info.Attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return tdLink;
    TEntryInfo RootInfo;
    if (!InspectEntry(Root, RootInfo) || RootInfo.Identity == Info.Identity)
        return tdDriveRoot;
    const std::vector<TFileIdentity> System = SystemFolderIdentities();
    if (std::find(System.begin(), System.end(), Info.Identity) != System.end())
        return tdSystemFolder;
    return tdAllowed;
}
