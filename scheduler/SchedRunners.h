#pragma once
// The scheduler's five functions, each run once without asking anything: registry cleaner,
// internet privacy, folder cleaner, application launcher and junk files.

#include "app/FoundFile.h"
#include "app/PrivacyCleaner.h"
#include "app/Progress.h"
#include "app/RegistryScan.h"
#include "app/TreeSearchEngine.h"
#include "scheduler/SchedCheck.h"
#include "scheduler/SchedFunc.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

// Where the runners act. The program takes the system's places; tests put in their own.
struct TSchedRunPlaces {
    // Without a trailing backslash; junk below it is never deleted.
    String WindowsFolder;
    // The program folder; the backup folder on its drive is never searched for junk.
    String ProgramFolder;
    // What the registry cleaner walks for its three rows, in their order: HKEY_CURRENT_USER,
    // HKEY_LOCAL_MACHINE, HKEY_USERS (each whole).
    std::array<TRegistryKeyRef, RegistryFlagCount> RegistryRows{
        TRegistryKeyRef{TRegistryRootKey::CurrentUser, L""},
        TRegistryKeyRef{TRegistryRootKey::LocalMachine, L""},
        TRegistryKeyRef{TRegistryRootKey::Users, L""}};
    TPrivacyPlaces Privacy;
};
TSchedRunPlaces SystemSchedRunPlaces(const String& ProgramFolder);

class TSchedRunner : public ISchedRunner {
public:
    // PleaseWait: the busy window of a run (shown by its owner only while the scheduler
    // window is visible); it also pumps the window messages during long steps.
    TSchedRunner(IProgress& PleaseWait, TSchedRunPlaces Places);
    TSchedRunner(const TSchedRunner&) = delete;
    TSchedRunner& operator=(const TSchedRunner&) = delete;

    // The window that owns started programs; may be null.
    HWND Window = nullptr;
    // The display name of function Index, shown while it runs.
    std::function<String(int Index)> FuncName;
    // True when a run begins, false when it ends however it ends: the window disables itself.
    std::function<void(bool Running)> OnRunningChanged;

    bool Running() const override { return FRunning; }
    // A call during a run, or with an index outside 0 to 4, does nothing. A step that fails
    // ends that step only.
    void RunSchedFunc(int Index, const String& Parameters) override;

    // Walks the checked rows (flags in row order) and deletes every value found.
    void CleanRegistry(const std::vector<bool>& RowFlags);
    // Runs the checked privacy steps (flags in step order), each on its own.
    void CleanPrivacy(const std::vector<bool>& StepFlags);
    // Empties each folder (its files and emptied subfolders; the folder stays).
    void CleanFolders(const std::vector<String>& Folders);
    // Opens each file with its registered program, without waiting.
    void LaunchFiles(const std::vector<String>& Files);
    // Searches each folder and deletes the files classed safe.
    void CleanJunkFiles(const std::vector<String>& Folders);

    // 2 below a skipped folder or with a program extension, 0 for a junk name, else 1.
    TSafetyLevel ClassifyJunkFile(const TFile& File) const;
    // 0 done, 1 failed or reached through a link.
    static int DeleteJunkFile(const String& Path);
    // The files the last junk run found and tried to delete.
    const std::vector<std::unique_ptr<TFile>>& JunkFindings() const { return FJunkFindings; }

    static const std::vector<String>& JunkPatterns();
    // The Windows folder and "<program drive>\System Corvanta Backups", no trailing backslash.
    const std::vector<String>& SkipFolders() const { return FJunkRule.ProtectedPaths(); }

private:
    void RunSteps(int Index, const String& Parameters);
    void JunkFileFound(const String& Path, const String& Name, const WIN32_FIND_DATAW& FindData);

    IProgress& FPleaseWait;
    TSchedRunPlaces FPlaces;
    TTreeSearchEngine FSearchEngine;
    TSafetyRule FJunkRule;
    std::vector<std::unique_ptr<TFile>> FJunkFindings;
    bool FRunning = false;
};
