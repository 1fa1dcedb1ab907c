#include "main/SystemTweaks.h"

#include "tests/main/TweakTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const TWindowsVersion Windows10{false, 10, 0};
const TWindowsVersion WindowsXP{false, 5, 1};
const TWindowsVersion Windows98{true, 4, 10};

const wchar_t Policies[] =
    L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t Desktop[] = L"HKCU\\Control Panel\\Desktop";
const wchar_t Winlogon[] = L"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const wchar_t Advanced[] =
    L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

class SystemTweaks : public ::testing::Test {
protected:
    TTestRegistry Registry{L"Tweaks"};
    TTempFolder Files;

    TTweakEnvironment Environment(const TWindowsVersion& Windows) const {
        return TestTweakEnvironment(Windows, Registry, Files.Path());
    }

    // "sz:text", "dword:n" or "bin:hex"; "" seeds nothing.
    void Seed(const String& Key, const String& Name, const String& Value) const {
        if (Value.rfind(L"sz:", 0) == 0)
            Registry.SetString(Key, Name, Value.substr(3));
        else if (Value.rfind(L"dword:", 0) == 0)
            Registry.SetInteger(Key, Name, static_cast<DWORD>(std::stoul(Value.substr(6))));
        else if (Value.rfind(L"bin:", 0) == 0)
            Registry.SetBinary(Key, Name, std::string((Value.size() - 4) / 2, '\0'));
    }
};

// "on", "off", "n:<number>" or "t:<text>" against a field.
String Shown(const TTweakField& Field, const String& Form) {
    if (Form == L"on" || Form == L"off")
        return Field.Checked ? L"on" : L"off";
    if (Form.rfind(L"n:", 0) == 0)
        return L"n:" + IntToStr(Field.Number);
    return L"t:" + Field.Text;
}

void Apply(TTweakField& Field, const String& Form) {
    if (Form == L"on" || Form == L"off")
        Field.Checked = Form == L"on";
    else if (Form.rfind(L"n:", 0) == 0)
        Field.Number = StrToInt(Form.substr(2));
    else
        Field.Text = Form.substr(2);
}

struct TRoundTrip {
    const wchar_t* Control;
    const wchar_t* Key;
    const wchar_t* Value;
    const wchar_t* Seeded; // "" leaves the value missing
    const wchar_t* Read;
    const wchar_t* Change;
    const wchar_t* Written; // "" for a deleted value
};

const TRoundTrip RoundTrips[] = {
    {L"FlatComboBox1", L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Streams",
     L"(Default)", L"sz:03,00,00,00,02,00,00,00", L"n:1", L"n:3", L"sz:03,00,00,00,04,00,00,00"},
    {L"chkInstantRefresh", L"HKLM\\System\\CurrentControlSet\\Control\\Update", L"UpdateMode",
     L"dword:0", L"off", L"on", L"dword:1"},
    {L"chkDLLFilesShowTheirOwnIcons", L"HKCR\\cplfile\\DefaultIcon", L"(Default)", L"sz:%1", L"on",
     L"off", L"sz:cplfile"},
    {L"chkRemoveTheShortcutToPrefix",
     L"HKU\\.Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", L"link",
     L"bin:00000000", L"on", L"off", L""},
    {L"chkSaveWindowSettings", Policies, L"NoSaveSetting", L"dword:1", L"off", L"on", L""},
    {L"chkEnabletheCDROMAutorunFeature", L"HKLM\\SYSTEM\\CurrentControlSet\\Services\\CDRom",
     L"Autorun", L"dword:1", L"on", L"off", L"dword:0"},
    {L"edMenuSpeed", Desktop, L"MenuShowDelay", L"sz:400", L"n:400", L"n:100", L"sz:100"},
    {L"labTurnOffWindowsZoomingAnimation", Desktop, L"MinAnimate", L"sz:0", L"on", L"off", L"sz:1"},
    {L"edSearchPage", L"HKCU\\Software\\Microsoft\\Internet Explorer\\Main", L"SearchPage",
     L"sz:http://a/", L"t:http://a/", L"t:http://b/", L"sz:http://b/"},
    {L"edIETitle", L"HKLM\\SOFTWARE\\Microsoft\\Internet Explorer\\Main", L"Window Title", L"",
     L"t:", L"t:Mine", L"sz:Mine"},
    {L"chkRestoretheAnimateInternetExplorerLogo",
     L"HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar", L"BrandBitmap", L"sz:x.bmp", L"off",
     L"on", L""},
    {L"edCursorBlinkRate", L"HKCU\\Control Panel\\desktop", L"CursorBlinkRate", L"sz:530", L"t:530",
     L"t:600", L"sz:600"},
    {L"chkEnableActivewindowTracking", L"HKCU\\Control Panel\\Mouse", L"ActiveWindowTracking",
     L"dword:0", L"off", L"on", L"dword:1"},
    {L"chkRemoveRunFromStartMenu", Policies, L"NoRun", L"", L"off", L"on", L"dword:1"},
    {L"chkRemoveFindFromStartMenu", Policies, L"NoFind", L"dword:1", L"on", L"off", L""},
    {L"chkControlPanelInStartMenu", Advanced, L"CascadeControlPanel", L"sz:YES", L"on", L"off",
     L"sz:No"},
    {L"chkPrintersInStartMenu", Advanced, L"CascadePrinters", L"sz:no", L"off", L"on", L"sz:Yes"},
    {L"edRegisteredOwner", L"HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion",
     L"RegisteredOwner", L"sz:Ann", L"t:Ann", L"t:Bob", L"sz:Bob"},
    {L"edSetupSourcePath", L"HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion", L"SourcePath",
     L"sz:D:\\", L"t:D:\\", L"t:E:\\", L"sz:E:\\"},
    {L"chkOpenExplorerForMyComputer",
     L"HKCR\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\LaunchExplorer\\command",
     L"(Default)", L"", L"off", L"on", L"sz:explorer /e"},
    {L"chkShowNetworkNeighborhood", Policies, L"NoNetHood", L"dword:1", L"off", L"on", L"dword:0"},
    {L"edWallpaperPosition", Desktop, L"WallpaperStyle", L"dword:2", L"n:2", L"n:1", L"dword:1"},
    {L"edWallPaperOriginX", Desktop, L"WallpaperOriginX", L"", L"n:0", L"n:5", L"dword:5"},
    {L"chkTweakLogonEnabled", Winlogon, L"AutoAdminLogon", L"sz:0", L"off", L"on", L"sz:1"},
    {L"chkTweakPowerDownAfterShutDown", Winlogon, L"PowerdownAfterShutdown", L"sz:1", L"on", L"off",
     L"sz:0"},
    {L"chkTweakClearPageFile",
     L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
     L"ClearPageFileAtShutdown", L"dword:0", L"off", L"on", L"dword:1"},
    {L"chkTweakShutdownHungApps", Desktop, L"AutoEndTasks", L"sz:0", L"off", L"on", L"sz:1"},
};

TEST_F(SystemTweaks, EachSettingReadsAndWritesItsValue) {
    for (const TRoundTrip& Case : RoundTrips) {
        SCOPED_TRACE(ToUtf8(Case.Control));
        Registry.MakeKey(Case.Key);
        Seed(Case.Key, Case.Value, Case.Seeded);
        if (String(Case.Key).find(L"LaunchExplorer") != String::npos)
            RegDeleteTreeW(HKEY_CURRENT_USER, Registry.Path(L"HKCR\\CLSID").c_str());

        TSystemTweaks Tweaks(Environment(Windows10));
        Tweaks.Read();
        TTweakField& Field = Tweaks.Field(Case.Control);
        EXPECT_TRUE(Field.Loaded);
        EXPECT_EQ(Shown(Field, Case.Read), Case.Read);

        Apply(Field, Case.Change);
        Tweaks.Write();
        EXPECT_EQ(Registry.Value(Case.Key, Case.Value), Case.Written);

        // The logo box only ever acts: it reads unchecked again.
        if (String(Case.Control) == L"chkRestoretheAnimateInternetExplorerLogo")
            continue;
        TSystemTweaks Again(Environment(Windows10));
        Again.Read();
        EXPECT_EQ(Shown(Again.Field(Case.Control), Case.Change), Case.Change);
    }
}

TEST_F(SystemTweaks, CheckingTheLogoBoxDeletesBothBrandPictures) {
    const String Toolbar = L"HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
    Registry.SetString(Toolbar, L"BrandBitmap", L"a.bmp");
    Registry.SetString(Toolbar, L"SmBrandBitmap", L"b.bmp");
    Registry.SetString(Toolbar, L"BackBitmap", L"c.bmp");
    TSystemTweaks Tweaks(Environment(Windows10));
    Tweaks.Read();
    EXPECT_EQ(Tweaks.Field(L"edBackBitmap").Text, L"c.bmp");
    Tweaks.Field(L"chkRestoretheAnimateInternetExplorerLogo").Checked = true;
    Tweaks.Field(L"edBackBitmap").Text = L"other.bmp"; // shown, never written
    Tweaks.Write();
    EXPECT_EQ(Registry.Value(Toolbar, L"BrandBitmap"), L"");
    EXPECT_EQ(Registry.Value(Toolbar, L"SmBrandBitmap"), L"");
    EXPECT_EQ(Registry.Value(Toolbar, L"BackBitmap"), L"sz:c.bmp");
}

// Values that the page cannot show as they are must survive an OK without changes.
TEST_F(SystemTweaks, AnOkWithoutChangesWritesNothing) {
    Registry.SetString(L"HKCR\\cplfile\\DefaultIcon", L"(Default)", L"shell32.dll,21");
    Registry.SetString(L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Streams",
                       L"(Default)", L"");
    Registry.SetString(Desktop, L"WallpaperStyle", L"2");
    Registry.SetInteger(Advanced, L"Start_ShowControlPanel", 0);
    Registry.SetString(Advanced, L"CascadePrinters", L"Menu");
    Registry.SetString(L"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup", L"SourcePath",
                       L"C:\\i386");
    Registry.SetString(Winlogon, L"AutoAdminLogon", L"0");
    Registry.SetString(Winlogon, L"DefaultPassword", L"secret");
    Registry.MakeKey(Policies);
    Registry.MakeKey(L"HKCU\\Control Panel\\Mouse");
    Registry.MakeKey(L"HKU\\.Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");
    for (const TWindowsVersion& Windows : {Windows10, WindowsXP, Windows98}) {
        SCOPED_TRACE(Windows.Major);
        const auto Before = Registry.Dump();
        TSystemTweaks Tweaks(Environment(Windows));
        Tweaks.Read();
        Tweaks.Write();
        EXPECT_EQ(Registry.Dump(), Before);
        EXPECT_FALSE(PathPresent(Files.Path() + L"msdos.sys"));
        EXPECT_FALSE(PathPresent(Files.Path() + L"Programs"));
    }
}

TEST_F(SystemTweaks, AValueOfAnotherTypeIsNeverWritten) {
    Registry.SetString(Desktop, L"WallpaperStyle", L"2");
    Registry.SetString(Desktop, L"MenuShowDelay", L"fast");
    TSystemTweaks Tweaks(Environment(Windows10));
    Tweaks.Read();
    EXPECT_FALSE(Tweaks.Field(L"edWallpaperPosition").Loaded);
    EXPECT_FALSE(Tweaks.Field(L"edMenuSpeed").Loaded);
    Tweaks.Field(L"edWallpaperPosition").Number = 1;
    Tweaks.Field(L"edMenuSpeed").Number = 5;
    Tweaks.Write();
    EXPECT_EQ(Registry.Value(Desktop, L"WallpaperStyle"), L"sz:2");
    EXPECT_EQ(Registry.Value(Desktop, L"MenuShowDelay"), L"sz:fast");
}

TEST_F(SystemTweaks, ExplorerViewTextsThatHoldNoViewDigit) {
    const String Streams = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Streams";
    struct {
        const wchar_t* Text;
        bool Loaded;
        int Item;
    } const Cases[] = {
        {L"", true, 2},
        {L"03,00,00,00,0", true, 2}, // 13 characters: too short to hold the digit
        {L"03,00,00,00,01", true, 0},
        {L"03,00,00,00,0x,00", false, 0},
        {L"03,00,00,00,09,00", false, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Text));
        Registry.SetString(Streams, L"(Default)", Case.Text);
        TSystemTweaks Tweaks(Environment(Windows10));
        Tweaks.Read();
        const TTweakField& View = Tweaks.Field(L"FlatComboBox1");
        EXPECT_EQ(View.Loaded, Case.Loaded);
        if (Case.Loaded) {
            EXPECT_EQ(View.Number, Case.Item);
        }
    }
}

TEST_F(SystemTweaks, AutoLogonTextsFollowTheBoxAndTheOffStateDropsThePassword) {
    Registry.SetString(Winlogon, L"AutoAdminLogon", L"1");
    Registry.SetString(Winlogon, L"DefaultUserName", L"ann");
    Registry.SetString(Winlogon, L"DefaultPassword", L"secret");
    TSystemTweaks Tweaks(Environment(Windows10));
    Tweaks.Read();
    EXPECT_TRUE(Tweaks.Field(L"chkTweakLogonEnabled").Checked);
    EXPECT_EQ(Tweaks.Field(L"edTweakLogonPassword").Text, L"secret");

    Tweaks.Field(L"chkTweakLogonEnabled").Checked = false;
    Tweaks.Field(L"edTweakLogonUsername").Text = L"bob";
    Tweaks.Write();
    EXPECT_EQ(Registry.Value(Winlogon, L"AutoAdminLogon"), L"sz:0");
    EXPECT_EQ(Registry.Value(Winlogon, L"DefaultUserName"), L"sz:ann");
    EXPECT_EQ(Registry.Value(Winlogon, L"DefaultPassword"), L"");

    Tweaks.Field(L"chkTweakLogonEnabled").Checked = true;
    Tweaks.Field(L"edTweakLogonPassword").Text = L"new";
    Tweaks.Field(L"edTweakLogonDomain").Text = L"HOME";
    Tweaks.Write();
    EXPECT_EQ(Registry.Value(Winlogon, L"AutoAdminLogon"), L"sz:1");
    EXPECT_EQ(Registry.Value(Winlogon, L"DefaultUserName"), L"sz:bob");
    EXPECT_EQ(Registry.Value(Winlogon, L"DefaultPassword"), L"sz:new");
    EXPECT_EQ(Registry.Value(Winlogon, L"DefaultDomainName"), L"sz:HOME");
}

// Reads the Control Panel menu as shown and the Printers menu as hidden, and swaps both.
void SwapStartMenuBoxes(TSystemTweaks& Tweaks) {
    Tweaks.Read();
    EXPECT_TRUE(Tweaks.Field(L"chkControlPanelInStartMenu").Checked);
    EXPECT_FALSE(Tweaks.Field(L"chkPrintersInStartMenu").Checked);
    Tweaks.Field(L"chkControlPanelInStartMenu").Checked = false;
    Tweaks.Field(L"chkPrintersInStartMenu").Checked = true;
    Tweaks.Write();
}

TEST_F(SystemTweaks, OnWindowsXPTheStartMenuRowsUseNumbers) {
    Registry.SetInteger(Advanced, L"Start_ShowControlPanel", 2);
    Registry.SetInteger(Advanced, L"Start_ShowPrinters", 0);
    TSystemTweaks Tweaks(Environment(WindowsXP));
    SwapStartMenuBoxes(Tweaks);
    EXPECT_EQ(Registry.Value(Advanced, L"Start_ShowControlPanel"), L"dword:1");
    EXPECT_EQ(Registry.Value(Advanced, L"Start_ShowPrinters"), L"dword:1");
    EXPECT_EQ(Registry.Value(Advanced, L"CascadeControlPanel"), L"");
}

TEST_F(SystemTweaks, OnWindows9xTheStartMenuRowsAreFolders) {
    const String ControlPanel =
        Files.Path() + L"Programs\\Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}";
    const String Printers =
        Files.Path() + L"Programs\\Printers.{2227A280-3AEA-1069-A2DE-08002B30309D}";
    Files.AddFolder(L"Programs\\Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}");
    TSystemTweaks Tweaks(Environment(Windows98));
    SwapStartMenuBoxes(Tweaks);
    EXPECT_FALSE(PathPresent(ControlPanel));
    EXPECT_TRUE(DirectoryExists(Printers));
    EXPECT_TRUE(Registry.Dump().empty());
}

TEST_F(SystemTweaks, BootOptionsKeepTheFileAttributesAndReadBackAsChosen) {
    const String MsDosSys = Files.Path() + L"msdos.sys";
    Files.AddFile(L"msdos.sys", "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\nBootSafe=1\r\n"
                                "BootGUI=1\r\nBootDelay=2\r\n");
    SetFileAttributesW(MsDosSys.c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const DWORD Attributes = GetFileAttributesW(MsDosSys.c_str());
    ASSERT_TRUE(Attributes & FILE_ATTRIBUTE_READONLY);

    struct {
        const wchar_t* Choose;
        int Delay;
    } const Steps[] = {{L"radBootNormal", 5}, {L"radBootDos", 0}, {L"radBootSafe", 3}};
    String Shown = L"radBootSafe";
    for (const auto& Step : Steps) {
        SCOPED_TRACE(ToUtf8(Step.Choose));
        TSystemTweaks Tweaks(Environment(Windows98));
        Tweaks.Read();
        EXPECT_TRUE(Tweaks.Field(Shown).Checked);
        for (const wchar_t* Radio : {L"radBootSafe", L"radBootNormal", L"radBootDos"})
            Tweaks.Field(Radio).Checked = String(Radio) == Step.Choose;
        Tweaks.Field(L"edBootDelay").Number = Step.Delay;
        Tweaks.Field(L"chkBootShowLogo").Checked = true;
        Tweaks.Write();
        EXPECT_EQ(GetFileAttributesW(MsDosSys.c_str()), Attributes);
        Shown = Step.Choose;

        TSystemTweaks Again(Environment(Windows98));
        Again.Read();
        EXPECT_TRUE(Again.Field(Step.Choose).Checked);
        EXPECT_EQ(Again.Field(L"edBootDelay").Number, Step.Delay);
        EXPECT_EQ(Again.Field(L"edBootShow").Number, 30);
        EXPECT_TRUE(Again.Field(L"chkBootShowLogo").Checked);
    }
    SetFileAttributesW(MsDosSys.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(Files.Read(L"msdos.sys").find("WinDir=C:\\WINDOWS"), std::string::npos);
}

TEST_F(SystemTweaks, CategoryPagesAreEnabledByFamily) {
    struct {
        int Page;
        bool On9x, OnXP, On10;
    } const Cases[] = {{0, true, true, true},
                       {5, true, true, true},
                       {7, true, false, false},
                       {8, false, true, true}};
    for (const auto& Case : Cases) {
        EXPECT_EQ(TweakPageEnabled(Case.Page, Windows98), Case.On9x) << Case.Page;
        EXPECT_EQ(TweakPageEnabled(Case.Page, WindowsXP), Case.OnXP) << Case.Page;
        EXPECT_EQ(TweakPageEnabled(Case.Page, Windows10), Case.On10) << Case.Page;
    }
    ASSERT_EQ(TweakCategories().size(), 7u);
    EXPECT_EQ(TweakCategories()[2].Page, 3);
    EXPECT_STREQ(TweakCategories()[5].Text, L"Boot Menu (Win9x)");
}

TEST_F(SystemTweaks, TheNTRowsAreLeftAloneOnWindows9xAndTheBootRowsOnNT) {
    Registry.SetString(Winlogon, L"AutoAdminLogon", L"1");
    Files.AddFile(L"msdos.sys", "[Options]\r\nBootGUI=1\r\n");
    TSystemTweaks On9x(Environment(Windows98));
    On9x.Read();
    EXPECT_FALSE(On9x.Field(L"chkTweakLogonEnabled").Loaded);
    EXPECT_TRUE(On9x.Field(L"radBootNormal").Loaded);
    TSystemTweaks OnNT(Environment(Windows10));
    OnNT.Read();
    EXPECT_TRUE(OnNT.Field(L"chkTweakLogonEnabled").Checked);
    EXPECT_FALSE(OnNT.Field(L"radBootNormal").Loaded);
    OnNT.Field(L"radBootDos").Checked = true;
    OnNT.Write();
    EXPECT_EQ(Files.Read(L"msdos.sys"), "[Options]\r\nBootGUI=1\r\n");
}

} // namespace
