#include "scheduler/SchedRunners.h"

#include "app/QRVUtils.h"

namespace {

const wchar_t BackupFolderName[] = L"System Corvanta Backups";

// A drive path ("C:\...") or a network path; anything else depends on the current folder,
// which for a program started at logon is not one the user chose.
bool IsFullPath(const String& Path) {
    const String Drive = ExtractFileDrive(Path);
    if (Drive.empty())
        return false;
    return Drive.size() > 2 || (Path.size() > 2 && (Path[2] == L'\\' || Path[2] == L'/'));
}

String JoinedPatterns() {
    String Text;
    for (const String& Pattern : TSchedRunner::JunkPatterns())
        Text += (Text.empty() ? L"" : L"; ") + Pattern;
    return Text;
}

} // namespace

TSchedRunPlaces SystemSchedRunPlaces(const String& ProgramFolder) {
    TSchedRunPlaces Places;
    Places.WindowsFolder = GetWindowsFolder();
    Places.ProgramFolder = ProgramFolder;
    Places.Privacy = SystemPrivacyPlaces();
    return Places;
}

const std::vector<String>& TSchedRunner::JunkPatterns() {
    static const std::vector<String> Patterns{
        L"*.---",       L"*.??~",       L"*._mp",        L"*.bak",       L"*.bsc",
        L"*.chk",       L"*.dmp",       L"*.ftg",        L"*.fts",       L"*.gid",
        L"*.ilc",       L"*.ild",       L"*.ilf",        L"*.ilk",       L"*.ils",
        L"*.old",       L"*.pch",       L"*.pdb",        L"*.tds",       L"*.tmp",
        L"~*.*",        L"*.err",       L"*.cpy",        L"*.$$$",       L"*.MS",
        L"*.wbk",       L"*.dd_",       L"*._detmp",     L"0*.nch",      L"*.~*",
        L"bootlog.prv", L"modemet.txt", L"mscreate.dir", L"suhdlog.dat", L"system.1st",
        L"ws_ftp.log"};
    return Patterns;
}

TSchedRunner::TSchedRunner(IProgress& PleaseWait, TSchedRunPlaces Places)
    : FPleaseWait(PleaseWait), FPlaces(std::move(Places)) {
    FJunkRule.SetJunkMasks(JoinedPatterns());
    FJunkRule.SetProtectedPaths({FPlaces.WindowsFolder, ExtractFileDrive(FPlaces.ProgramFolder) +
                                                            L"\\" + BackupFolderName});
    FSearchEngine.OnFileFound = [this](const String& Path, const String& Name,
                                       const WIN32_FIND_DATAW& FindData,
                                       TCvTreeItem*&) { JunkFileFound(Path, Name, FindData); };
}

void TSchedRunner::RunSchedFunc(int Index, const String& Parameters) {
    if (FRunning)
        return;
    // The guard, the window and the busy window are restored however the run ends.
    struct TRunScope {
        TSchedRunner& Runner;
        explicit TRunScope(TSchedRunner& R) : Runner(R) {
            Runner.FRunning = true;
            if (Runner.OnRunningChanged)
                Runner.OnRunningChanged(true);
        }
        ~TRunScope() {
            Runner.FRunning = false;
            if (Runner.OnRunningChanged)
                Runner.OnRunningChanged(false);
        }
    } Scope(*this);
    try {
        // Only the registry cleaner names itself on the busy window and can be cancelled.
        const bool Named = Index == sfRegistryCleaner;
        const TProgressScope Busy(FPleaseWait, Named && FuncName ? FuncName(Index) : String(), 0,
                                  Named);
        RunSteps(Index, Parameters);
    } catch (...) {
        // A run reports nothing; what failed stays as it was.
    }
}

void TSchedRunner::RunSteps(int Index, const String& Parameters) {
    switch (Index) {
    case sfRegistryCleaner:
        CleanRegistry(DecodePipeFlags(Parameters, RegistryFlagCount));
        break;
    case sfInternetPrivacy:
        CleanPrivacy(DecodePipeFlags(Parameters, PrivacyFlagCount));
        break;
    case sfFolderCleaner:
        CleanFolders(DecodePipeItems(Parameters));
        break;
    case sfAppLauncher:
        LaunchFiles(DecodePipeItems(Parameters));
        break;
    case sfJunkFiles:
        CleanJunkFiles(DecodePipeItems(Parameters));
        break;
    default:
        break;
    }
}

void TSchedRunner::CleanRegistry(const std::vector<bool>& RowFlags) {
    // Walked in the order HKEY_CURRENT_USER, HKEY_USERS, HKEY_LOCAL_MACHINE.
    constexpr int WalkOrder[] = {0, 2, 1};
    TRegistryScanSettings Settings;
    Settings.Starts.clear();
    for (const int Row : WalkOrder)
        if (Row < static_cast<int>(RowFlags.size()) && RowFlags[Row])
            Settings.Starts.push_back(FPlaces.RegistryRows[Row]);
    std::vector<TRegistryFinding> Findings;
    TRegistryScanner Scanner(std::move(Settings));
    Scanner.Progress = &FPleaseWait;
    Scanner.OnFinding = [&](const TRegistryFinding& Finding) { Findings.push_back(Finding); };
    Scanner.Run();
    // Nothing is asked or backed up: the schedule was the user's choice.
    for (const TRegistryFinding& Finding : Findings) {
        RemoveRegistryFinding(Finding);
        FPleaseWait.Pump();
    }
}

void TSchedRunner::CleanPrivacy(const std::vector<bool>& StepFlags) {
    for (std::size_t Step = 0; Step < StepFlags.size(); ++Step) {
        if (!StepFlags[Step])
            continue;
        FPleaseWait.Pump();
        // A step that fails (a missing COM class under some systems) ends that step only.
        try {
            RunPrivacyStep(static_cast<TPrivacyStep>(Step), FPlaces.Privacy);
        } catch (...) {
        }
    }
}

void TSchedRunner::CleanFolders(const std::vector<String>& Folders) {
    for (const String& Folder : Folders) {
        // DeleteFolderFiles refuses empty and relative paths, drive roots and the Windows
        // folder: a damaged list ("||", "C:\|") empties nothing.
        try {
            DeleteFolderFiles(AddBackslash(Folder), false, true);
        } catch (const Exception&) {
        }
        FPleaseWait.Pump();
    }
}

void TSchedRunner::LaunchFiles(const std::vector<String>& Files) {
    for (const String& File : Files) {
        if (!IsFullPath(File))
            continue;
        ShellExecuteW(Window, L"open", File.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void TSchedRunner::CleanJunkFiles(const std::vector<String>& Folders) {
    FPleaseWait.SetCancelVisible(false);
    FJunkFindings.clear();
    for (const String& Folder : Folders)
        if (IsFullPath(Folder))
            FSearchEngine.Search(Folder, nullptr, true);
    for (const auto& File : FJunkFindings)
        DeleteJunkFile(File->FullName());
}

void TSchedRunner::JunkFileFound(const String& Path, const String& Name,
                                 const WIN32_FIND_DATAW& FindData) {
    FPleaseWait.SetLabel(Path);
    if (Name != L"DATA.BAK") {
        auto File = std::make_unique<TFile>();
        File->SetPath(Path);
        File->Name = Name;
        File->Size = FindDataSize(FindData);
        File->Time = FindData.ftLastWriteTime;
        File->Safety = ClassifyJunkFile(*File);
        if (File->Safety == slSafe)
            FJunkFindings.push_back(std::move(File));
    }
    FPleaseWait.Pump();
}

TSafetyLevel TSchedRunner::ClassifyJunkFile(const TFile& File) const {
    return FJunkRule.GetSafetyLevel(File);
}

int TSchedRunner::DeleteJunkFile(const String& Path) {
    return FileDelete(Path) ? 0 : 1;
}
