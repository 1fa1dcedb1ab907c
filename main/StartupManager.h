#pragma once
// The startup manager without its window: the programs Windows starts at logon from the two Run
// keys and the two Startup folders, and adding, changing and deleting them.

#include "classlib/rtl/SysUtils.h"
#include "main/FeatureContext.h"
#include "main/RegistryRoots.h"

#include <functional>
#include <vector>

// The four places, as the location list of the entry dialog numbers them.
enum TStartupLocation : int {
    slCurrentUserRun = 0,
    slLocalMachineRun = 1,
    slCommonStartup = 2,
    slUserStartup = 3,
};

// The texts of the entry dialog's location list.
const std::vector<String>& StartupLocationTexts();

struct TStartupEntry {
    // The value name, or the shortcut's file name without ".lnk".
    String Name;
    String CommandLine;
    TStartupLocation Location = slCurrentUserRun;
    // The key path or folder the list shows.
    String LocationText;
    // The registry view of a Run entry (KEY_WOW64_64KEY or KEY_WOW64_32KEY).
    REGSAM View = 0;
    // 4 when the command can be started, 5 when it cannot.
    int ImageIndex = 5;
};

// A command line split into the target and the arguments of a shortcut.
struct TShortcutCommand {
    String Target;
    String Arguments;
    bool operator==(const TShortcutCommand&) const = default;
};
TShortcutCommand SplitShortcutCommand(const String& CommandLine);

// An entry name that is usable in every place: not empty, and no path separator, drive colon
// or "..", which would put a shortcut outside its Startup folder.
bool ValidStartupName(const String& Name);

struct TStartupEnvironment {
    TRegistryRoot CurrentUser{HKEY_CURRENT_USER, String()};
    TRegistryRoot LocalMachine{HKEY_LOCAL_MACHINE, String()};
    // Empty: the shell's common and user Startup folders.
    String CommonStartup;
    String UserStartup;
    // Whether a command line can be started (the program never runs).
    std::function<bool(const String&)> CanLaunch;
};

class TStartupManager {
public:
    TStartupManager(TStartupEnvironment Environment, const TFeatureContext& Context);

    const std::vector<TStartupEntry>& Entries() const { return FEntries; }

    // Lists the four places again; what cannot be read is left out.
    void Refresh();
    // Writes a new entry; false when the name is refused or the write failed, and then no
    // entry is added and nothing is logged.
    bool Add(const String& Name, const String& CommandLine, TStartupLocation Location);
    // Gives entry Index a new command line; false when the write failed.
    bool Edit(std::size_t Index, const String& CommandLine);
    // Asks "DeleteStartupConfirm" and deletes entry Index on Yes; true when it is gone.
    bool Delete(std::size_t Index);

private:
    const TRegistryRoot& RunRoot(TStartupLocation Location) const;
    String Folder(TStartupLocation Location) const;
    String RunLocationText(TStartupLocation Location, REGSAM View) const;
    void ListRunKey(TStartupLocation Location);
    void ListFolder(TStartupLocation Location);
    int ImageFor(const String& CommandLine) const;
    bool WriteEntry(const TStartupEntry& Entry);

    TStartupEnvironment FEnvironment;
    const TFeatureContext& FContext;
    std::vector<TStartupEntry> FEntries;
};
