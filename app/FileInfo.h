// What the lists show of a file (shell type and icon, size text, local time) and
// the shell's context-menu commands on files.
#pragma once

#include "classlib/rtl/SysUtils.h"

#include "classlib/rtl/WinApi.h"

#include <cstdint>
#include <memory>

// The word after a byte count below 1024 in FormatFileSize; the main window
// sets it from the language file. Empty until then.
extern String BytesUnitText;

// OLE on the calling thread while it lives (the shell's menus, links and drag and
// drop need it). Sessions nest; the program holds one for its whole run.
class TOleSession {
public:
    TOleSession();
    ~TOleSession();
    TOleSession(const TOleSession&) = delete;
    TOleSession& operator=(const TOleSession&) = delete;

private:
    bool FInitialized;
};

struct TPidlFree {
    void operator()(ITEMIDLIST* Pidl) const { CoTaskMemFree(Pidl); }
};
// An item list the shell handed out, freed with the shell's allocator.
using TOwnedPidl = std::unique_ptr<ITEMIDLIST, TPidlFree>;

// The file's index in the system small-icon list; TypeName receives the shell's
// type name. 0 and an empty name when the shell knows nothing of Path.
int GetFileTypeInfo(const String& Path, String& TypeName);
// The same with the shell's failure told apart (false; Icon and TypeName left alone); with
// ByExtension, the answer for any file of Path's extension, without reading the file.
bool ShellFileTypeInfo(const String& Path, bool ByExtension, int& Icon, String& TypeName);

// "1023 <BytesUnitText>", "1 Kb", "1,50 Kb", "3,99 Gb": two truncated decimals
// with the locale's separator, none when they are 0. Sizes of 4 Gb and more are
// written whole, not as what a 32-bit count leaves of them.
String FormatFileSize(std::uint64_t Size);
// The same with the word "bytes", also for negative sizes.
String FormatFileSize64(std::int64_t Size);

// The file time as a local date-time, to the millisecond; 0 when it cannot be
// converted or is not set.
TDateTime FileTimeToLocalDateTime(const FILETIME& FileTime);

enum TShellMenuMode : int {
    smPopupMenu = 0,
    smProperties = 1,
    smDefaultVerb = 2,
    smNamedVerb = 3,
};

// Runs one shell context-menu command on Count items of Folder (ItemLists) or,
// when ItemLists has none, on Path (a wildcard in its name takes every match).
// Point is where the popup menu opens; Verb is used by smNamedVerb. True when
// the command was carried out (smPopupMenu: when the menu was shown).
bool InvokeShellItemMenu(const String& Path, IShellFolder* Folder, PCUITEMID_CHILD_ARRAY ItemLists,
                         ULONG Attributes, TShellMenuMode Mode, const String& Verb, HWND Owner,
                         POINT Point, int Count);
// Shows the shell's Properties sheet of the file; false when it cannot.
bool ShowFileProperties(const String& Path, HWND Owner);
