#include "main/StartupManager.h"
#include "classlib/rtl/PathLayer.h"

#include "app/QRVUtils.h"

#include "classlib/rtl/WinApi.h"

namespace {

const wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t RunKey32[] = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t LinkExtension[] = L".lnk";

bool IsRunLocation(TStartupLocation Location) {
    return Location == slCurrentUserRun || Location == slLocalMachineRun;
}

bool PathGone(const String& Path) {
    return GetFileAttributesW(ExtendedPath(Path).c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetLastError() == ERROR_FILE_NOT_FOUND;
}

} // namespace

const std::vector<String>& StartupLocationTexts() {
    static const std::vector<String> Texts = {
        L"Registry: Current User ..\\Run",
        L"Registry: Local Machine ..\\Run",
        L"All Users\\Startup",
        L"Current User\\Startup",
    };
    return Texts;
}

TShortcutCommand SplitShortcutCommand(const String& CommandLine) {
    const std::size_t Quote = CommandLine.find(L'"');
    if (Quote == String::npos)
        return {CommandLine, String()};
    if (Quote == 0) {
        const std::size_t Closing = CommandLine.find(L'"', 1);
        // An opening quote that is never closed quotes the rest of the line.
        if (Closing == String::npos)
            return {CommandLine.substr(1), String()};
        return {CommandLine.substr(1, Closing - 1), TrimLeft(CommandLine.substr(Closing + 1))};
    }
    return {TrimRight(CommandLine.substr(0, Quote)), CommandLine.substr(Quote)};
}

bool ValidStartupName(const String& Name) {
    return !Trim(Name).empty() && Name.find_first_of(L"\\/:") == String::npos &&
           Name.find(L"..") == String::npos;
}

TStartupManager::TStartupManager(TStartupEnvironment Environment, const TFeatureContext& Context)
    : FEnvironment(std::move(Environment)), FContext(Context) {
    if (!FEnvironment.CanLaunch)
        FEnvironment.CanLaunch = [](const String& Command) { return ::CanLaunch(Command); };
}

const TRegistryRoot& TStartupManager::RunRoot(TStartupLocation Location) const {
    return Location == slLocalMachineRun ? FEnvironment.LocalMachine : FEnvironment.CurrentUser;
}

String TStartupManager::Folder(TStartupLocation Location) const {
    if (Location == slCommonStartup)
        return FEnvironment.CommonStartup.empty() ? GetSpecialFolderPath(CSIDL_COMMON_STARTUP)
                                                  : FEnvironment.CommonStartup;
    return FEnvironment.UserStartup.empty() ? GetSpecialFolderPath(CSIDL_STARTUP)
                                            : FEnvironment.UserStartup;
}

String TStartupManager::RunLocationText(TStartupLocation Location, REGSAM View) const {
    const String Root =
        Location == slLocalMachineRun ? L"HKEY_LOCAL_MACHINE\\" : L"HKEY_CURRENT_USER\\";
    return Root + (View == KEY_WOW64_32KEY ? RunKey32 : RunKey);
}

int TStartupManager::ImageFor(const String& CommandLine) const {
    return FEnvironment.CanLaunch(ExpandEnvironmentText(CommandLine)) ? 4 : 5;
}

void TStartupManager::Refresh() {
    FEntries.clear();
    ListRunKey(slCurrentUserRun);
    ListRunKey(slLocalMachineRun);
    ListFolder(slCommonStartup);
    ListFolder(slUserStartup);
}

void TStartupManager::ListRunKey(TStartupLocation Location) {
    const TRegistryRoot& Root = RunRoot(Location);
    for (const REGSAM View : RegistryViewsOf(Root, RunKey)) {
        TRegistry Registry(KEY_READ | View);
        if (!OpenRegistryKey(Registry, Root, RunKey, false))
            continue;
        TStringList Names;
        Registry.GetValueNames(Names);
        for (int I = 0; I < Names.Count(); ++I) {
            try {
                TStartupEntry Entry;
                Entry.Name = Names.Strings(I);
                Entry.CommandLine = Registry.ReadString(Names.Strings(I));
                Entry.Location = Location;
                Entry.LocationText = RunLocationText(Location, View);
                Entry.View = View;
                Entry.ImageIndex = ImageFor(Entry.CommandLine);
                FEntries.push_back(std::move(Entry));
            } catch (const Exception&) {
                // A value that is no text starts nothing; the others are still listed.
            }
        }
    }
}

void TStartupManager::ListFolder(TStartupLocation Location) {
    const String Path = Folder(Location);
    if (Path.empty())
        return;
    TSearchRec Found;
    if (FindFirst(IncludeTrailingBackslash(Path) + L"*.lnk", faAnyFile, Found) != 0)
        return;
    do {
        if (Found.Attr & faDirectory)
            continue;
        TStartupEntry Entry;
        Entry.Name = ChangeFileExt(Found.Name, L"");
        Entry.CommandLine = GetShortcutCommand(IncludeTrailingBackslash(Path) + Found.Name);
        Entry.Location = Location;
        Entry.LocationText = Path;
        Entry.ImageIndex = ImageFor(Entry.CommandLine);
        FEntries.push_back(std::move(Entry));
    } while (FindNext(Found) == 0);
    FindClose(Found);
}

bool TStartupManager::WriteEntry(const TStartupEntry& Entry) {
    if (!IsRunLocation(Entry.Location)) {
        const TShortcutCommand Command = SplitShortcutCommand(Entry.CommandLine);
        return SetShortcutTarget(IncludeTrailingBackslash(Entry.LocationText) + Entry.Name +
                                     LinkExtension,
                                 Command.Target, Command.Arguments);
    }
    try {
        TRegistry Registry(KEY_READ | KEY_WRITE | Entry.View);
        if (!OpenRegistryKey(Registry, RunRoot(Entry.Location), RunKey, true))
            return false;
        // A command with %variables% stays one that Windows expands at logon.
        if (Registry.GetDataType(Entry.Name) == rdExpandString)
            Registry.WriteExpandString(Entry.Name, Entry.CommandLine);
        else
            Registry.WriteString(Entry.Name, Entry.CommandLine);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TStartupManager::Add(const String& Name, const String& CommandLine,
                          TStartupLocation Location) {
    if (!ValidStartupName(Name))
        return false;
    TStartupEntry Entry;
    Entry.Name = Name;
    Entry.CommandLine = CommandLine;
    Entry.Location = Location;
    if (IsRunLocation(Location)) {
        Entry.View = KEY_WOW64_64KEY;
        Entry.LocationText = RunLocationText(Location, Entry.View);
    } else {
        Entry.LocationText = Folder(Location);
        if (Entry.LocationText.empty())
            return false;
    }
    if (!WriteEntry(Entry))
        return false;
    Entry.ImageIndex = ImageFor(CommandLine);
    FEntries.push_back(std::move(Entry));
    FContext.Log(L"S_Log_StartUpManagerAddItem", Name);
    return true;
}

bool TStartupManager::Edit(std::size_t Index, const String& CommandLine) {
    if (Index >= FEntries.size())
        return false;
    TStartupEntry Changed = FEntries[Index];
    Changed.CommandLine = CommandLine;
    if (!WriteEntry(Changed))
        return false;
    Changed.ImageIndex = ImageFor(CommandLine);
    FEntries[Index] = std::move(Changed);
    FContext.Log(L"S_Log_StartUpManagerEditItem", FEntries[Index].Name);
    return true;
}

bool TStartupManager::Delete(std::size_t Index) {
    if (Index >= FEntries.size() || !FContext.Confirm(FContext.Message(L"DeleteStartupConfirm")))
        return false;
    const TStartupEntry& Entry = FEntries[Index];
    bool Gone = false;
    if (IsRunLocation(Entry.Location)) {
        TRegistry Registry(KEY_READ | KEY_WRITE | Entry.View);
        if (OpenRegistryKey(Registry, RunRoot(Entry.Location), RunKey, false))
            Gone = Registry.DeleteValue(Entry.Name) || !Registry.ValueExists(Entry.Name);
    } else {
        // A shortcut that is already gone is deleted all the same.
        const String Link =
            IncludeTrailingBackslash(Entry.LocationText) + Entry.Name + LinkExtension;
        Gone = FileDelete(Link) || PathGone(Link);
    }
    if (!Gone)
        return false;
    FContext.Log(L"S_Log_StartUpManagerDeleteItem", Entry.Name);
    FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(Index));
    return true;
}
