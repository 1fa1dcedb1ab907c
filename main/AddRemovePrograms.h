#pragma once
// Add/remove programs without its window: the installed programs of the machine's Uninstall key,
// running an uninstaller, and removing entries whose uninstaller is gone.

#include "app/QRVUtils.h"
#include "classlib/rtl/Classes.h"
#include "main/FeatureContext.h"
#include "main/RegistryRoots.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The data object of one program's row.
class TAddRem : public TObject {
public:
    String DisplayName;
    // The sub-key's name below the Uninstall key.
    String KeyName;
    String UninstallString;
    // The registry view the sub-key was found in (KEY_WOW64_64KEY or KEY_WOW64_32KEY).
    REGSAM View = 0;
    // 4 when the uninstall command can be started, 5 when it cannot.
    int ImageIndex = 5;
};

struct TUninstallEnvironment {
    TRegistryRoot Machine{HKEY_LOCAL_MACHINE, String()};
    // Null: the utilities' CanLaunch, RunAndWait (normal show state) and CheckProgramTarget.
    std::function<bool(const String&)> CanLaunch;
    std::function<std::int64_t(const String&)> RunAndWait;
    std::function<TCommandTarget(const String&)> CheckTarget;
};

enum TUninstallOutcome {
    uoNothing,   // no such row, or the user said No
    uoInvalid,   // the command cannot be started: "sUninstallInvalidInfo" was shown
    uoEntryKept, // the uninstaller ended and the program's entry is still there
    uoEntryGone, // the program's entry went
};

class TAddRemovePrograms {
public:
    TAddRemovePrograms(TUninstallEnvironment Environment, const TFeatureContext& Context);

    const std::vector<std::unique_ptr<TAddRem>>& Programs() const { return FPrograms; }

    // Lists the programs again, in sub-key order per view; a sub-key qualifies when both
    // "DisplayName" and "UninstallString" are texts that are not empty.
    void Refresh();
    // Asks "UninstallConfirm", runs the uninstaller and waits for it, then refreshes. The entry
    // is never deleted here: it is the uninstaller's to remove, and the log line follows its
    // going.
    TUninstallOutcome Uninstall(std::size_t Index);
    // For a row whose uninstaller is missing from disk: asks "DeleteUninstallConfirm", deletes
    // the sub-key and refreshes. True when the entry went.
    bool Delete(std::size_t Index);
    // Whether Delete may act on the row: its command cannot start and its file is missing.
    bool CanDelete(std::size_t Index) const;
    // The text of the properties notice.
    String PropertiesText(std::size_t Index) const;

private:
    bool EntryExists(const TAddRem& Program) const;
    void ListView(REGSAM View);

    TUninstallEnvironment FEnvironment;
    const TFeatureContext& FContext;
    std::vector<std::unique_ptr<TAddRem>> FPrograms;
};
