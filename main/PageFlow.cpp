#include "main/PageFlow.h"

namespace {

struct TPageDef {
    const wchar_t* Name;
    const wchar_t* TitleKey; // empty: the mode's title
};

// In notebook index order.
constexpr std::array<TPageDef, MainPageCount> Pages{{
    {L"MainForm", L""},
    {L"Drives", L""},
    {L"Scan", L""},
    {L"CleanMyComputer", L"sModCleanMyComputer"},
    {L"CleanOptions", L""},
    {L"ScanResults", L""},
    {L"ScanStatistics", L""},
    {L"RecoveryFiles", L"sModRestoreDeletedFiles"},
    {L"RegistryCleaner", L""},
    {L"AdvancedFeatures", L"sModAdvancedFeatures"},
    {L"InternetPrivacy", L"sModInternetPrivacy"},
    {L"FolderCleaner", L""},
    {L"SplitCombine", L"sModSplitCombine"},
    {L"SplitFiles", L"sModSplitFiles"},
    {L"UnsplitFiles", L"sModCombineFiles"},
    {L"BackupSelectFiles", L""},
    {L"BackupRestore", L"sModBackupMyData"},
    {L"Backup", L"sModBackup"},
    {L"BackupOptions", L""},
    {L"Restore", L"sModBackupRestore"},
    {L"SystemConfiguration", L"sModSystemConfiguration"},
    {L"StartUpManager", L"sModStartupManager"},
    {L"AddRemovePrograms", L"sModUninstallPrograms"},
    {L"ShutdownManager", L"sModShutdownManager"},
    {L"SystemTweak", L"sModSystemTweak"},
}};

constexpr std::array<const wchar_t*, MainModeCount> ModeTitleKeys{
    L"",
    L"sModJunkFiles",
    L"sModLargeFiles",
    L"sModOldFiles",
    L"sModBrokenLinks",
    L"sModEmptyFolders",
    L"",
    L"sModRegistryCleaner",
    L"sModInternetPrivacy",
    L"sModFolderCleaner",
    L"sModSplitFiles",
    L"sModCombineFiles",
    L"sModBackupLocal",
    L"sModBackupRemote",
    L"sModDuplicateFiles",
};

bool ValidPage(TMainPage Page) {
    return Page >= 0 && Page < MainPageCount;
}

bool ValidMode(int Mode) {
    return Mode >= 0 && Mode < MainModeCount;
}

} // namespace

String PageName(TMainPage Page) {
    return ValidPage(Page) ? Pages[Page].Name : L"";
}

std::optional<TMainPage> PageByName(const String& Name) {
    for (int I = 0; I < MainPageCount; ++I)
        if (Name == Pages[I].Name)
            return static_cast<TMainPage>(I);
    return std::nullopt;
}

String ModeTitleKey(int Mode) {
    return ValidMode(Mode) ? ModeTitleKeys[Mode] : L"";
}

String PageTitleKey(TMainPage Page) {
    return ValidPage(Page) ? Pages[Page].TitleKey : L"";
}

TMainPage AreaPage(TMainArea Area) {
    switch (Area) {
    case arCleanMyComputer:
        return pgCleanMyComputer;
    case arSystemConfiguration:
        return pgSystemConfiguration;
    case arBackupData:
        return pgBackupRestore;
    case arAdvancedFeatures:
        return pgAdvancedFeatures;
    case arRestoreDeletedFiles:
        return pgRecoveryFiles;
    case arNone:
        break;
    }
    return pgMainForm;
}

TModeEntry ModeEntry(int Mode) {
    switch (Mode) {
    case mdJunkFiles:
        return {pgDrives, L"JunkFiles"};
    case mdLargeFiles:
        return {pgDrives, L"LargeFiles"};
    case mdOldFiles:
        return {pgDrives, L"OldFiles"};
    case mdBrokenLinks:
    case mdEmptyFolders:
        return {pgDrives, L""};
    case mdDuplicateFiles:
        return {pgDrives, L"DuplicatesFiles"};
    case mdRegistryCleaner:
        return {pgCleanOptions, L"RegistryCleaner"};
    case mdInternetPrivacy:
        return {pgInternetPrivacy, L""};
    case mdFolderCleaner:
        return {pgFolderCleaner, L""};
    case mdSplitFiles:
        return {pgSplitFiles, L""};
    case mdCombineFiles:
        return {pgUnsplitFiles, L""};
    case mdBackupLocal:
    case mdBackupRemote:
        return {pgBackupSelectFiles, L""};
    default:
        return {pgMainForm, L""};
    }
}

TPageButtons PageButtons(TMainPage Page, int Mode) {
    TPageButtons Buttons;
    switch (Page) {
    case pgMainForm:
        Buttons.Back = false;
        Buttons.LeftColumn = false;
        break;
    case pgScan:
        Buttons.Back = false;
        break;
    case pgScanResults:
        Buttons.ScanStatistics = Mode != mdEmptyFolders;
        break;
    case pgDrives:
    case pgCleanOptions:
    case pgBackupSelectFiles:
        Buttons.Next = true;
        break;
    default:
        break;
    }
    return Buttons;
}

TMainPage BackTarget(TMainPage Page, int Mode) {
    switch (Page) {
    case pgScanStatistics:
        return pgScanResults;
    case pgRegistryCleaner:
        return pgCleanOptions;
    case pgStartUpManager:
    case pgShutdownManager:
    case pgSystemTweak:
    case pgAddRemovePrograms:
        return pgSystemConfiguration;
    case pgInternetPrivacy:
    case pgFolderCleaner:
        return pgCleanMyComputer;
    case pgDrives:
    case pgScanResults:
        return Mode == mdDuplicateFiles ? pgAdvancedFeatures : pgCleanMyComputer;
    case pgCleanOptions:
        return Mode == mdRegistryCleaner ? pgAdvancedFeatures : pgDrives;
    case pgSplitCombine:
        return pgAdvancedFeatures;
    case pgSplitFiles:
    case pgUnsplitFiles:
        return pgSplitCombine;
    case pgBackupSelectFiles:
        return pgBackup;
    case pgBackup:
    case pgBackupOptions:
    case pgRestore:
        return pgBackupRestore;
    case pgScan:
        return pgScan;
    case pgSystemConfiguration:
    case pgCleanMyComputer:
    case pgRecoveryFiles:
    case pgAdvancedFeatures:
    case pgBackupRestore:
    case pgMainForm:
        break;
    }
    return pgMainForm;
}

TNextAction NextAction(TMainPage Page, int Mode) {
    switch (Page) {
    case pgBackupSelectFiles:
        return naBackupStep;
    case pgDrives:
        if (Mode == mdBrokenLinks)
            return naFileScan;
        if (Mode == mdEmptyFolders)
            return naEmptyFolderSearch;
        return naCleanOptions;
    case pgCleanOptions:
        return Mode == mdRegistryCleaner ? naRegistryScan : naFileScan;
    default:
        return naNone;
    }
}

void TPageTitles::Load(const TMessageLookup& Message) {
    for (int Mode = 0; Mode < MainModeCount; ++Mode) {
        const String Key = ModeTitleKey(Mode);
        FModeTitles[Mode] = Key.empty() ? String() : Message(Key);
    }
    for (int I = 0; I < MainPageCount; ++I) {
        const String Key = PageTitleKey(static_cast<TMainPage>(I));
        FPageTitles[I] = Key.empty() ? String() : Message(Key);
    }
    FPageTitles[pgMainForm] = L" ";
}

const String& TPageTitles::Title(TMainPage Page, int Mode) const {
    static const String None;
    if (ValidPage(Page) && !FPageTitles[Page].empty())
        return FPageTitles[Page];
    return ValidMode(Mode) ? FModeTitles[Mode] : None;
}

void TPageFlow::ShowPage(TMainPage Page) {
    FPage = Page;
    if (OnPageChanged)
        OnPageChanged(FPage);
}

void TPageFlow::EnterMode(int Mode, std::optional<TMainPage> Page) {
    FMode = Mode;
    ShowPage(Page.value_or(ModeEntry(Mode).Page));
}

void TPageFlow::EnterArea(TMainArea Area) {
    ResetMainMenu();
    FArea = Area;
    ShowPage(AreaPage(Area));
}

void TPageFlow::ResetMainMenu() {
    FMode = mdNone;
    FArea = arNone;
}

void TPageFlow::Back() {
    const TMainPage Target = BackTarget(FPage, FMode);
    if (Target == pgMainForm)
        ResetMainMenu();
    ShowPage(Target);
}

TNextAction TPageFlow::Next() {
    const TNextAction Action = NextAction(FPage, FMode);
    if (Action == naCleanOptions)
        ShowPage(pgCleanOptions);
    return Action;
}
