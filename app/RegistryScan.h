#pragma once
// The registry cleaner's walk and removal, shared by both programs: string values whose text
// names a missing file (and, in advanced mode, odd forms and class registrations whose server
// file is missing), and the removal of exactly the entry a finding names.

#include "app/Progress.h"
#include "app/QRVUtils.h"
#include "classlib/rtl/SysUtils.h"

#include <functional>
#include <vector>

// The roots the cleaner walks. Kept as a name, never as a handle value in an integer.
enum class TRegistryRootKey { CurrentUser, Users, LocalMachine };

HKEY RootKeyHandle(TRegistryRootKey Root);
// "HKEY_CURRENT_USER", "HKEY_USERS", "HKEY_LOCAL_MACHINE".
String RootDisplayName(TRegistryRootKey Root);

// A key below a root. Path has no leading backslash; empty for the root itself.
struct TRegistryKeyRef {
    TRegistryRootKey Root = TRegistryRootKey::CurrentUser;
    String Path;
};

enum class TRegistryFindingKind {
    Value,    // a string value; its removal deletes that value only
    ClassKey, // a class registration; its removal deletes the class key
};

struct TRegistryFinding {
    TRegistryFindingKind Kind = TRegistryFindingKind::Value;
    TRegistryRootKey Root = TRegistryRootKey::CurrentUser;
    // The key that holds the value (or the class key), below the root; empty for the root.
    String KeyPath;
    // The value's name, empty for the default value; for a class key, the class key's name.
    String Name;
    // The value's text; for a class key, its server key's default value.
    String Text;
    // What CheckCommandTarget said of Text: ctTargetMissing or ctOddForm.
    TCommandTarget Target = ctTargetMissing;
};

// The key path as the walk shows it: "\" for the root, "\Name" for a first-level key, the names
// joined by backslashes for deeper keys.
String WalkKeyPathText(const String& KeyPath);
// Root display name, "\" and WalkKeyPathText: the text of a finding's row.
String FindingRowText(const TRegistryFinding& Finding);

// The class keys whose server subkeys the advanced pass reads.
TRegistryKeyRef DefaultClassKeys();
// The three roots, whole, in the order the cleaner walks them.
std::vector<TRegistryKeyRef> WholeRegistryStarts();

struct TRegistryScanSettings {
    // Walked in this order, each with everything below it.
    std::vector<TRegistryKeyRef> Starts = WholeRegistryStarts();
    // Odd forms are listed too, and the class-server pass runs before the walk.
    bool Advanced = false;
    TRegistryKeyRef ClassKeys = DefaultClassKeys();
    // Empty: the system's. Under Wow6432Node its System32 stands for SysWOW64.
    String WindowsFolder;
};

enum class TRegistryScanOutcome { Completed, Stopped };

// One scan. Keys are opened for reading only; a key that cannot be opened or read is skipped
// and the walk goes on with its siblings. When HKEY_CURRENT_USER is walked, HKEY_USERS's copy
// of the current user (its SID key and the SID's classes key) is not walked again.
class TRegistryScanner {
public:
    explicit TRegistryScanner(TRegistryScanSettings Settings);

    // Each finding, in the order found.
    std::function<void(const TRegistryFinding& Finding)> OnFinding;
    // Pumped before each subkey and value of the walk and each class key of the class pass;
    // its Cancel stops the walk like Stop. May be null.
    IProgress* Progress = nullptr;

    // The class-server pass (advanced only), then the walk of every start until stopped.
    TRegistryScanOutcome Run();
    // The walk ends before its next subkey or value. The class-server pass does not stop.
    void Stop() { FStopRequested = true; }
    bool StopRequested() const { return FStopRequested; }
    // Root display name and the path of the key being read.
    const String& CurrentScanPath() const { return FCurrentScanPath; }

private:
    bool ShouldStop();
    void Pump();
    void ScanClsidServers();
    void WalkStart(const TRegistryKeyRef& Start);
    void ScanRegistryKey(HKEY Key, TRegistryRootKey Root, const String& Path);
    void ScanValues(HKEY Key, TRegistryRootKey Root, const String& Path);
    TCommandTarget JudgeText(const String& Text, const String& KeyPath) const;
    void Found(TRegistryFinding Finding);

    TRegistryScanSettings FSettings;
    String FWindowsFolder;
    // HKEY_USERS subkeys that are the current user's data (upper case).
    std::vector<String> FSkipUserKeys;
    bool FStopRequested = false;
    String FCurrentScanPath;
};

enum class TRegistryRemoval {
    Removed,
    Gone,   // the entry no longer exists: nothing was there to remove
    Failed, // the entry is still there (refused, or its key could not be opened)
};

// Removes the entry behind a finding: a value finding deletes that value and never a key (the
// default value included); a class finding deletes the class key with everything below it. An
// empty class key name is refused.
TRegistryRemoval RemoveRegistryFinding(const TRegistryFinding& Finding);
