#include "main/SystemTweaks.h"
#include "classlib/rtl/PathLayer.h"

#include "app/QRVUtils.h"
#include "classlib/rtl/IniFiles.h"

#include "classlib/rtl/WinApi.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace {

enum TTweakRoot { trCurrentUser, trLocalMachine, trClassesRoot, trUsers, trMsDosSys, trNone };
enum TTweakSystems { tsAll, ts9x, tsNT };

enum TTweakKind {
    tkExplorerView,      // the view digit inside a Streams text
    tkIntAboveZero,      // checked when above 0; 1 or 0
    tkIntNonZero,        // checked when not 0; 1 or 0
    tkIntBelowOne,       // checked when below 1; 0 or 1
    tkIntNumber,         // the number
    tkPolicyFlag,        // checked when not 0; 1, or the value deleted
    tkStringFlag,        // checked when the text is On; On or Off
    tkLaunchExplorer,    // as tkStringFlag, and the key is made when written
    tkStringNumber,      // a number kept as text
    tkMinAnimate,        // "0" checks, any other number unchecks
    tkText,              // the text
    tkTextReadOnly,      // the text, never written
    tkBytesPresent,      // checked when the value exists; 4 zero bytes, or deleted
    tkAbsentChecked,     // checked when the value is missing; checking deletes it
    tkDeleteWhenChecked, // never checked at reading; checking deletes Value and On
    tkStartMenuItem,     // the Control Panel or Printers menu (Number selects which)
    tkOwnerText,         // owner and organisation, in the key that holds the owner
    tkSourcePath,        // the setup source path
    tkBootMode,          // the three radio buttons of the boot mode
    tkIniFlag,           // a Boolean of msdos.sys
    tkIniNumber,         // an integer of msdos.sys
    tkLogonFlag,         // auto-logon on or off
    tkLogonText,         // a text of the auto-logon, written only while it is on
};

const wchar_t Policies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t Desktop[] = L"Control Panel\\Desktop";
const wchar_t Toolbar[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
const wchar_t Advanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t Winlogon[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const wchar_t WindowsCurrentVersion[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
const wchar_t NTCurrentVersion[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
const wchar_t BootOptions[] = L"Options";

// Rows 20 and 21: the Start menu's Control Panel and Printers menus on each system.
struct TStartMenuItem {
    const wchar_t* XPValue;
    int XPOn;
    int XPOff;
    const wchar_t* NTValue;
    const wchar_t* Folder9x;
};
const TStartMenuItem StartMenuItems[] = {
    {L"Start_ShowControlPanel", 2, 1, L"CascadeControlPanel",
     L"Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}"},
    {L"Start_ShowPrinters", 1, 0, L"CascadePrinters",
     L"Printers.{2227A280-3AEA-1069-A2DE-08002B30309D}"},
};

const wchar_t* const BootRadios[] = {L"radBootSafe", L"radBootNormal", L"radBootDos"};

String StartMenuMask(const TStartMenuItem& Item) {
    const String Folder = Item.Folder9x;
    return L"*" + Folder.substr(Folder.find(L'.'));
}

} // namespace

struct TSystemTweaks::TSetting {
    const wchar_t* Control;
    TTweakKind Kind;
    TTweakRoot Root;
    const wchar_t* Key;
    const wchar_t* Value;
    const wchar_t* On = nullptr;
    const wchar_t* Off = nullptr;
    int Default = 0;
    TTweakSystems Systems = tsAll;
};

namespace {

using TSetting = TSystemTweaks::TSetting;

// In the order in which the page reads and writes them.
const TSetting Settings[] = {
    {L"FlatComboBox1", tkExplorerView, trCurrentUser,
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Streams", L"(Default)"},
    {L"chkInstantRefresh", tkIntAboveZero, trLocalMachine,
     L"System\\CurrentControlSet\\Control\\Update", L"UpdateMode"},
    {L"chkDLLFilesShowTheirOwnIcons", tkStringFlag, trClassesRoot, L"cplfile\\DefaultIcon",
     L"(Default)", L"%1", L"cplfile"},
    {L"chkRemoveTheShortcutToPrefix", tkBytesPresent, trUsers,
     L".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", L"link"},
    {L"chkSaveWindowSettings", tkAbsentChecked, trCurrentUser, Policies, L"NoSaveSetting"},
    {L"chkEnabletheCDROMAutorunFeature", tkIntNonZero, trLocalMachine,
     L"SYSTEM\\CurrentControlSet\\Services\\CDRom", L"Autorun"},
    {L"edMenuSpeed", tkStringNumber, trCurrentUser, Desktop, L"MenuShowDelay", nullptr, nullptr,
     20},
    {L"labTurnOffWindowsZoomingAnimation", tkMinAnimate, trCurrentUser, Desktop, L"MinAnimate"},
    {L"edSearchPage", tkText, trCurrentUser, L"Software\\Microsoft\\Internet Explorer\\Main",
     L"SearchPage"},
    {L"edIETitle", tkText, trLocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer\\Main",
     L"Window Title"},
    {L"edBackBitmap", tkTextReadOnly, trCurrentUser, Toolbar, L"BackBitmap"},
    {L"chkRestoretheAnimateInternetExplorerLogo", tkDeleteWhenChecked, trCurrentUser, Toolbar,
     L"BrandBitmap", L"SmBrandBitmap"},
    {L"edCursorBlinkRate", tkText, trCurrentUser, L"Control Panel\\desktop", L"CursorBlinkRate"},
    {L"chkEnableActivewindowTracking", tkIntNonZero, trCurrentUser, L"Control Panel\\Mouse",
     L"ActiveWindowTracking"},
    {L"chkRemoveDocumentsFromStartMenu", tkPolicyFlag, trCurrentUser, Policies,
     L"NoRecentDocsMenu"},
    {L"chkRemoveFavoritesFromStartMenu", tkPolicyFlag, trCurrentUser, Policies, L"NoFavoritesMenu"},
    {L"chkRemoveFindFromStartMenu", tkPolicyFlag, trCurrentUser, Policies, L"NoFind"},
    {L"chkRemoveLogOffFromStartMenu", tkPolicyFlag, trCurrentUser, Policies, L"NoLogOff"},
    {L"chkRemoveRunFromStartMenu", tkPolicyFlag, trCurrentUser, Policies, L"NoRun"},
    {L"chkControlPanelInStartMenu", tkStartMenuItem, trCurrentUser, Advanced, nullptr, nullptr,
     nullptr, 0},
    {L"chkPrintersInStartMenu", tkStartMenuItem, trCurrentUser, Advanced, nullptr, nullptr, nullptr,
     1},
    {L"edRegisteredOwner", tkOwnerText, trLocalMachine, nullptr, L"RegisteredOwner"},
    {L"edRegisteredOrganization", tkOwnerText, trLocalMachine, nullptr, L"RegisteredOrganization"},
    {L"edSetupSourcePath", tkSourcePath, trLocalMachine, nullptr, L"SourcePath"},
    {L"chkOpenExplorerForMyComputer", tkLaunchExplorer, trClassesRoot,
     L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\LaunchExplorer\\command", L"(Default)",
     L"explorer /e", L""},
    {L"chkShowNetworkNeighborhood", tkIntBelowOne, trCurrentUser, Policies, L"NoNetHood"},
    {L"edWallpaperPosition", tkIntNumber, trCurrentUser, Desktop, L"WallpaperStyle"},
    {L"edWallPaperOriginX", tkIntNumber, trCurrentUser, Desktop, L"WallpaperOriginX"},
    {L"edWallPaperOriginY", tkIntNumber, trCurrentUser, Desktop, L"WallpaperOriginY"},
    {L"radBootSafe", tkBootMode, trMsDosSys, BootOptions, nullptr, nullptr, nullptr, 0, ts9x},
    {L"chkBootWarnSafe", tkIniFlag, trMsDosSys, BootOptions, L"BootWarn", nullptr, nullptr, 0,
     ts9x},
    {L"chkBootShowLogo", tkIniFlag, trMsDosSys, BootOptions, L"Logo", nullptr, nullptr, 0, ts9x},
    {L"chkBootKeys", tkIniFlag, trMsDosSys, BootOptions, L"BootKeys", nullptr, nullptr, 0, ts9x},
    {L"chkBootAutoMenu", tkIniFlag, trMsDosSys, BootOptions, L"BootMenu", nullptr, nullptr, 0,
     ts9x},
    {L"edBootDelay", tkIniNumber, trMsDosSys, BootOptions, L"BootDelay", nullptr, nullptr, 2, ts9x},
    {L"edBootShow", tkIniNumber, trMsDosSys, BootOptions, L"BootMenuDelay", nullptr, nullptr, 30,
     ts9x},
    {L"chkTweakLogonEnabled", tkLogonFlag, trLocalMachine, Winlogon, L"AutoAdminLogon", L"1", L"0",
     0, tsNT},
    {L"edTweakLogonUsername", tkLogonText, trLocalMachine, Winlogon, L"DefaultUserName", nullptr,
     nullptr, 0, tsNT},
    {L"edTweakLogonPassword", tkLogonText, trLocalMachine, Winlogon, L"DefaultPassword", nullptr,
     nullptr, 0, tsNT},
    {L"edTweakLogonDomain", tkLogonText, trLocalMachine, Winlogon, L"DefaultDomainName", nullptr,
     nullptr, 0, tsNT},
    {L"chkTweakPowerDownAfterShutDown", tkStringFlag, trLocalMachine, Winlogon,
     L"PowerdownAfterShutdown", L"1", L"0", 0, tsNT},
    {L"chkTweakClearPageFile", tkIntNonZero, trLocalMachine,
     L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
     L"ClearPageFileAtShutdown", nullptr, nullptr, 0, tsNT},
    {L"chkTweakShutdownHungApps", tkStringFlag, trCurrentUser, Desktop, L"AutoEndTasks", L"1", L"0",
     0, tsNT},
};

// A value that is missing reads as nothing; one of another type cannot be read (throws).
std::optional<int> ReadOptionalInteger(const TRegistry& Registry, const String& Name) {
    if (!Registry.ValueExists(Name))
        return std::nullopt;
    return Registry.ReadInteger(Name);
}

String ReadOptionalString(const TRegistry& Registry, const String& Name) {
    return Registry.ValueExists(Name) ? Registry.ReadString(Name) : String();
}

int NumberOf(const String& Text) {
    int Number = 0;
    if (!TryStrToInt(Trim(Text), Number))
        throw EConvertError(L"'" + Text + L"' is not a number");
    return Number;
}

// Deletes a value; one that is already gone is no failure.
void RemoveValue(TRegistry& Registry, const String& Name) {
    if (Registry.ValueExists(Name) && !Registry.DeleteValue(Name))
        throw ERegistryException(L"Unable to delete value '" + Name + L"'");
}

// Writes msdos.sys with its read-only flag cleared for the time of the writing; the attributes
// it had are set again afterwards.
class TWritableFile {
public:
    explicit TWritableFile(String FileName)
        : FFileName(std::move(FileName)),
          FAttributes(GetFileAttributesW(ExtendedPath(FFileName).c_str())) {
        if (FAttributes != INVALID_FILE_ATTRIBUTES && (FAttributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(ExtendedPath(FFileName).c_str(),
                               FAttributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    }
    ~TWritableFile() {
        if (FAttributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(ExtendedPath(FFileName).c_str(), FAttributes);
    }
    TWritableFile(const TWritableFile&) = delete;
    TWritableFile& operator=(const TWritableFile&) = delete;

private:
    String FFileName;
    DWORD FAttributes;
};

} // namespace

// ---------------------------------------------------------------- categories

const std::vector<TTweakCategory>& TweakCategories() {
    static const std::vector<TTweakCategory> Categories = {
        {L"Explorer", 0}, {L"Interface", 1},         {L"Mouse", 3},          {L"Start Menu", 4},
        {L"System", 5},   {L"Boot Menu (Win9x)", 7}, {L"Win NT/2000/XP", 8},
    };
    return Categories;
}

bool TweakPageEnabled(int Page, const TWindowsVersion& Windows) {
    if (Page == 7)
        return Windows.Win9x;
    if (Page == 8)
        return Windows.IsNTFamily();
    return true;
}

// ------------------------------------------------------------------ fields

TSystemTweaks::TSystemTweaks(TTweakEnvironment Environment) : FEnvironment(std::move(Environment)) {
    for (const TSetting& Setting : Settings)
        FFields[Setting.Control];
    for (const wchar_t* Radio : BootRadios)
        FFields[Radio];
}

TTweakField& TSystemTweaks::Field(const String& Control) {
    const auto Found = FFields.find(Control);
    if (Found == FFields.end())
        throw Exception(L"No tweak control '" + Control + L"'");
    return Found->second;
}

const TTweakField& TSystemTweaks::Field(const String& Control) const {
    return const_cast<TSystemTweaks&>(*this).Field(Control);
}

std::vector<String> TSystemTweaks::Controls() const {
    std::vector<String> Names;
    for (const TSetting& Setting : Settings) {
        Names.push_back(Setting.Control);
        if (Setting.Kind == tkBootMode)
            Names.insert(Names.end(), std::begin(BootRadios) + 1, std::end(BootRadios));
    }
    return Names;
}

bool TSystemTweaks::Applies(const TSetting& Setting) const {
    switch (Setting.Systems) {
    case ts9x:
        return FEnvironment.Windows.Win9x;
    case tsNT:
        return FEnvironment.Windows.IsNTFamily();
    case tsAll:
        break;
    }
    return true;
}

const TRegistryRoot& TSystemTweaks::RootOf(const TSetting& Setting) const {
    switch (Setting.Root) {
    case trLocalMachine:
        return FEnvironment.LocalMachine;
    case trClassesRoot:
        return FEnvironment.ClassesRoot;
    case trUsers:
        return FEnvironment.Users;
    default:
        return FEnvironment.CurrentUser;
    }
}

String TSystemTweaks::KeyOf(const TSetting& Setting) const {
    // The owner and the setup path live in the 9x key when it holds them, else in the NT
    // one; the source path is written where it was read from, so the page shows what it wrote.
    const wchar_t* Value = Setting.Kind == tkOwnerText    ? L"RegisteredOwner"
                           : Setting.Kind == tkSourcePath ? L"SourcePath"
                                                          : nullptr;
    if (!Value)
        return Setting.Key ? Setting.Key : L"";
    const String WindowsKey =
        String(WindowsCurrentVersion) + (Setting.Kind == tkSourcePath ? L"\\Setup" : L"");
    TRegistry Registry(KEY_READ);
    return OpenRegistryKey(Registry, RootOf(Setting), WindowsKey, false) &&
                   Registry.ValueExists(Value)
               ? WindowsKey
               : String(NTCurrentVersion);
}

// ------------------------------------------------------------------ reading

void TSystemTweaks::Read() {
    for (const TSetting& Setting : Settings) {
        if (!Applies(Setting))
            continue;
        try {
            ReadSetting(Setting);
        } catch (const std::exception&) {
            // Each setting fails alone; its field is not loaded and so never written.
        }
    }
    FRead = FFields;
}

void TSystemTweaks::ReadSetting(const TSetting& Setting) {
    TTweakField& F = Field(Setting.Control);
    F.Loaded = false;

    if (Setting.Root == trMsDosSys) {
        const TIniFile Ini(FEnvironment.MsDosSys);
        if (Setting.Kind == tkBootMode) {
            const int Mode = Ini.ReadBool(BootOptions, L"BootSafe", false)  ? 0
                             : Ini.ReadBool(BootOptions, L"BootGUI", false) ? 1
                                                                            : 2;
            for (int I = 0; I < 3; ++I) {
                TTweakField& Radio = Field(BootRadios[I]);
                Radio.Checked = I == Mode;
                Radio.Loaded = true;
            }
            return;
        }
        if (Setting.Kind == tkIniFlag)
            F.Checked = Ini.ReadBool(Setting.Key, Setting.Value, false);
        else
            F.Number = Ini.ReadInteger(Setting.Key, Setting.Value, Setting.Default);
        F.Loaded = true;
        return;
    }

    if (Setting.Kind == tkStartMenuItem && FEnvironment.Windows.Win9x) {
        TStringList Found;
        F.Checked = ListFolderFiles(FEnvironment.ProgramsFolder,
                                    StartMenuMask(StartMenuItems[Setting.Default]), Found);
        F.Loaded = true;
        return;
    }

    const TRegistryRoot& Root = RootOf(Setting);
    TRegistry Registry(KEY_READ);
    const String Key = KeyOf(Setting);
    if (!OpenRegistryKey(Registry, Root, Key, false)) {
        // The key of the My Computer verb is made when it is first written.
        if (Setting.Kind == tkLaunchExplorer) {
            F.Checked = false;
            F.Loaded = true;
        }
        return;
    }

    const String Name = Setting.Value ? Setting.Value : L"";
    switch (Setting.Kind) {
    case tkExplorerView: {
        const String Text = ReadOptionalString(Registry, Name);
        // A text too short to hold the view digit reads as an empty one.
        if (Text.size() < 14) {
            F.Number = 2;
        } else {
            const wchar_t Digit = Text[13];
            if (Digit < L'1' || Digit > L'4')
                return;
            F.Number = Digit - L'1';
        }
        break;
    }
    case tkIntAboveZero:
    case tkIntNonZero:
    case tkIntBelowOne:
    case tkPolicyFlag:
    case tkIntNumber:
        if (const std::optional<int> Value = ReadOptionalInteger(Registry, Name)) {
            if (Setting.Kind == tkIntNumber)
                F.Number = *Value;
            else if (Setting.Kind == tkIntAboveZero)
                F.Checked = *Value > 0;
            else if (Setting.Kind == tkIntBelowOne)
                F.Checked = *Value < 1;
            else
                F.Checked = *Value != 0;
        } else if (Setting.Kind == tkPolicyFlag) {
            F.Checked = false;
        }
        break;
    case tkStringFlag:
    case tkLaunchExplorer:
    case tkLogonFlag:
        F.Checked = ReadOptionalString(Registry, Name) == Setting.On;
        break;
    case tkStringNumber: {
        const String Text = ReadOptionalString(Registry, Name);
        F.Number = Text.empty() ? Setting.Default : NumberOf(Text);
        break;
    }
    case tkMinAnimate:
        if (Registry.ValueExists(Name)) {
            const String Text = Registry.ReadString(Name);
            F.Checked = !Text.empty() && (NumberOf(Text) ^ 1) != 0;
        }
        break;
    case tkText:
    case tkTextReadOnly:
    case tkOwnerText:
    case tkSourcePath:
    case tkLogonText:
        F.Text = ReadOptionalString(Registry, Name);
        break;
    case tkBytesPresent:
        F.Checked = Registry.ValueExists(Name);
        break;
    case tkAbsentChecked:
        F.Checked = !Registry.ValueExists(Name);
        break;
    case tkDeleteWhenChecked:
        F.Checked = false;
        break;
    case tkStartMenuItem: {
        const TStartMenuItem& Item = StartMenuItems[Setting.Default];
        if (FEnvironment.Windows.IsWinXP()) {
            if (const std::optional<int> Value = ReadOptionalInteger(Registry, Item.XPValue))
                F.Checked = *Value == Item.XPOn;
        } else {
            F.Checked = SameText(ReadOptionalString(Registry, Item.NTValue), L"yes");
        }
        break;
    }
    case tkBootMode:
    case tkIniFlag:
    case tkIniNumber:
        return;
    }
    F.Loaded = true;
}

// ------------------------------------------------------------------ writing

void TSystemTweaks::Write() {
    bool MsDosSysChanged = false;
    for (const TSetting& Setting : Settings) {
        const bool Changed =
            Setting.Kind == tkBootMode
                ? std::any_of(std::begin(BootRadios), std::end(BootRadios),
                              [&](const wchar_t* R) { return !(FFields[R] == FRead[R]); })
                : !(FFields[Setting.Control] == FRead[Setting.Control]);
        if (Applies(Setting) && Changed && FRead[Setting.Control].Loaded)
            MsDosSysChanged |= Setting.Root == trMsDosSys;
    }
    // msdos.sys is read-only as a rule: its flag is cleared only while its keys are written.
    std::optional<TWritableFile> BootFile;
    if (MsDosSysChanged)
        BootFile.emplace(FEnvironment.MsDosSys);

    for (const TSetting& Setting : Settings) {
        if (!Applies(Setting) || !FRead[Setting.Control].Loaded)
            continue;
        try {
            if (!WriteSetting(Setting))
                continue;
        } catch (const std::exception&) {
            // Each setting fails alone, and is tried again by the next Write.
            continue;
        }
        FRead[Setting.Control] = FFields[Setting.Control];
        if (Setting.Kind == tkBootMode)
            for (const wchar_t* Radio : BootRadios)
                FRead[Radio] = FFields[Radio];
    }
}

bool TSystemTweaks::WriteSetting(const TSetting& Setting) {
    const TTweakField& F = Field(Setting.Control);
    const TTweakField& Before = FRead[Setting.Control];

    if (Setting.Kind == tkBootMode) {
        bool Changed = false;
        for (const wchar_t* Radio : BootRadios)
            Changed |= !(FFields[Radio] == FRead[Radio]);
        if (!Changed)
            return true;
        TIniFile Ini(FEnvironment.MsDosSys);
        // Each mode clears what would override it, so the file reads back as chosen.
        if (Field(L"radBootSafe").Checked) {
            Ini.WriteBool(BootOptions, L"BootSafe", true);
        } else {
            Ini.WriteBool(BootOptions, L"BootSafe", false);
            Ini.WriteBool(BootOptions, L"BootGUI", Field(L"radBootNormal").Checked);
        }
        return true;
    }

    // Auto-logon texts follow the box: they are written while it is on.
    const bool LogonOn = Field(L"chkTweakLogonEnabled").Checked;
    if (F == Before)
        return true;
    if (Setting.Kind == tkLogonText && !LogonOn)
        return false;

    if (Setting.Root == trMsDosSys) {
        TIniFile Ini(FEnvironment.MsDosSys);
        if (Setting.Kind == tkIniFlag)
            Ini.WriteBool(Setting.Key, Setting.Value, F.Checked);
        else
            Ini.WriteInteger(Setting.Key, Setting.Value, F.Number);
        return true;
    }

    if (Setting.Kind == tkStartMenuItem && FEnvironment.Windows.Win9x) {
        const TStartMenuItem& Item = StartMenuItems[Setting.Default];
        const String Programs = IncludeTrailingBackslash(FEnvironment.ProgramsFolder);
        if (F.Checked) {
            if (!CreateDir(Programs + Item.Folder9x))
                throw EInOutError(L"Cannot make the folder " + Programs + Item.Folder9x,
                                  GetLastError());
            return true;
        }
        // The menu folders hold nothing of the user's: only empty ones are removed.
        TStringList Found;
        ListFolderFiles(Programs, StartMenuMask(Item), Found);
        for (int I = 0; I < Found.Count(); ++I)
            RemoveDir(Programs + Found.Strings(I));
        return true;
    }

    const TRegistryRoot& Root = RootOf(Setting);
    TRegistry Registry(KEY_READ | KEY_WRITE);
    const String Key = KeyOf(Setting);
    if (!OpenRegistryKey(Registry, Root, Key, Setting.Kind == tkLaunchExplorer))
        throw ERegistryException(L"Cannot open " + Key);

    const String Name = Setting.Value ? Setting.Value : L"";
    switch (Setting.Kind) {
    case tkExplorerView:
        Registry.WriteString(Name, L"03,00,00,00,0" + IntToStr(F.Number + 1) + L",00,00,00");
        break;
    case tkIntAboveZero:
    case tkIntNonZero:
        Registry.WriteInteger(Name, F.Checked ? 1 : 0);
        break;
    case tkIntBelowOne:
        Registry.WriteInteger(Name, F.Checked ? 0 : 1);
        break;
    case tkIntNumber:
        Registry.WriteInteger(Name, F.Number);
        break;
    case tkPolicyFlag:
        if (F.Checked)
            Registry.WriteInteger(Name, 1);
        else
            RemoveValue(Registry, Name);
        break;
    case tkStringFlag:
    case tkLaunchExplorer:
        Registry.WriteString(Name, F.Checked ? Setting.On : Setting.Off);
        break;
    case tkLogonFlag:
        Registry.WriteString(Name, F.Checked ? Setting.On : Setting.Off);
        // A stored password outlives its use otherwise.
        if (!F.Checked)
            RemoveValue(Registry, L"DefaultPassword");
        break;
    case tkStringNumber:
        Registry.WriteString(Name, IntToStr(F.Number));
        break;
    case tkMinAnimate:
        Registry.WriteString(Name, F.Checked ? L"0" : L"1");
        break;
    case tkText:
    case tkOwnerText:
    case tkSourcePath:
    case tkLogonText:
        Registry.WriteString(Name, F.Text);
        break;
    case tkBytesPresent:
        if (F.Checked) {
            const std::uint8_t Zeros[4] = {};
            Registry.WriteBinaryData(Name, Zeros, sizeof Zeros);
        } else {
            RemoveValue(Registry, Name);
        }
        break;
    case tkAbsentChecked:
        if (F.Checked)
            RemoveValue(Registry, Name);
        break;
    case tkDeleteWhenChecked:
        if (F.Checked) {
            RemoveValue(Registry, Name);
            RemoveValue(Registry, Setting.On);
        }
        break;
    case tkStartMenuItem: {
        const TStartMenuItem& Item = StartMenuItems[Setting.Default];
        if (FEnvironment.Windows.IsWinXP())
            Registry.WriteInteger(Item.XPValue, F.Checked ? Item.XPOn : Item.XPOff);
        else
            Registry.WriteString(Item.NTValue, F.Checked ? L"Yes" : L"No");
        break;
    }
    case tkTextReadOnly:
    case tkBootMode:
    case tkIniFlag:
    case tkIniNumber:
        break;
    }
    return true;
}
