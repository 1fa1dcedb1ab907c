// File, folder, registry, process and shortcut utilities shared by both programs.
// Everything runs on the window thread and shows no message.
#pragma once

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"

#include "classlib/rtl/WinApi.h"

#include <cstdint>
#include <memory>
#include <span>

class TCvTreeItem;
class TWinControl;
class TCustomFlatSpinEdit;
class TFlatButton;

// ------------------------------------------------------------- skin and language

// The one pass that gives a window (or the data module) its button skins, glyphs, captions and
// hints: image-list paths move into the program folder, bitmap-skinned buttons take the glyph
// their Tag names and their caption from the language file (Hint = Caption), labels and flat
// check boxes their caption when the file has a section for them, and windowed controls holding
// others are entered. Treated last to first, as the layout lists them.
void ApplySkinAndLanguage(TWinControl& Control);

// Both arrows of SpinEdit take the colours of the flat button Template (a hidden button of the
// window), so that a window's spin edits all look alike.
void CopySpinButtonColors(TCustomFlatSpinEdit& SpinEdit, const TFlatButton& Template);
// A skin path as the layouts write it, relative to the development tree: it begins with "..".
bool IsDevelopmentSkinPath(const String& Path);
// Such a path in the program folder: its first seven characters ("..\Bin\") become AppDir.
String SkinPathInProgramFolder(const String& Path);
// A language caption of a label or check box: each "|" becomes a line break (a lone CR).
String LanguageLineBreaks(String Text);

// ------------------------------------------------------------- paths and files

// Path with "\" appended unless it is empty or already ends in one.
String AddBackslash(const String& Path);
bool FolderExists(const String& Path);
// Whether A and B name the same file: both made full paths, case ignored.
bool SameFileName(const String& A, const String& B);
// Low 32 bits of the size of the first entry a find on Path returns (wildcards
// allowed); 0 when nothing is found.
std::uint32_t GetFileSize32(const String& Path);
// Without a trailing backslash.
String GetWindowsFolder();
// Capacity in bytes of the drive of RootPath (such as "C:\"); -1 when unknown.
std::int64_t GetDiskTotalSize(const String& RootPath);

// ------------------------------------------------------- drive and folder rows

// The data object of one row of a drive or folder list.
class TDirItem : public TObject {
public:
    // The shell special-folder id, or the caller's number for a row made from a path.
    int CSIDL = 0;
    // The caller's marker.
    std::uint8_t Flag = 0;
    // The path's drive is not a fixed disk; scans skip such rows.
    bool NotFixedDrive = false;
    String Caption;
    String Path;
};

// The list that drive and folder rows go into (a tree-list in the programs).
class TDirRowList {
public:
    virtual ~TDirRowList() = default;
    // The window that owns the list.
    virtual HWND OwnerWindow() const = 0;
    // Appends a row under Parent (top level when null) and keeps Item as the
    // row's data object for as long as the row lives.
    virtual TCvTreeItem* AddRow(TCvTreeItem* Parent, const String& Text, int ImageIndex,
                                const String& FirstColumnText, std::unique_ptr<TDirItem> Item) = 0;
};

// Adds a row for Path, or for the special folder CSIDL when Path is empty,
// captioned Caption or else the shell's display name; returns the new row.
TCvTreeItem* AddSpecialFolderNode(int CSIDL, TDirRowList& Tree, TCvTreeItem* ParentItem,
                                  const String& Path, const String& Caption, std::uint8_t Flag);

// -------------------------------------------------- command lines and processes

// What CheckCommandTarget can tell about the program a command line names.
enum TCommandTarget : int {
    ctCannotTell = 0,
    ctTargetMissing = 1,
    ctOddForm = 2,
    ctTargetExists = 3,
};
// Only paths on fixed drives are judged. RequireDrive: a line without a drive
// path cannot be told (rather than having an odd form).
TCommandTarget CheckCommandTarget(const String& CommandLine, bool RequireDrive);
// The same for the program a command starts: only its own path is judged (the quoted part,
// or the words up to its arguments), whatever paths or lists the arguments hold.
TCommandTarget CheckProgramTarget(const String& CommandLine);

// Starts CommandLine in a new console and waits for it to end. Meanwhile this
// thread's windows keep painting but take no input, as under a modal dialog.
// Returns the exit code, -1 when it cannot start.
std::int64_t RunAndWait(const String& CommandLine, int ShowCmd);
// Whether a process can be created from CommandLine; the program never runs.
bool CanLaunch(const String& CommandLine);

// ------------------------------------------------------------------ registry

// Deletes every value of the key (subkeys stay); nothing happens when the key
// cannot be opened. A leading "\" in KeyPath is allowed.
void DeleteRegistryValues(HKEY RootKey, const String& KeyPath);

// ------------------------------------------------------------------- folders

// Adds the sizes and the number of the files in Folder (and below it with
// Recursive) to the caller's counters. Folder links are not entered.
void GetFolderSize(const String& Folder, bool Recursive, std::int64_t& Bytes, std::int64_t& Files);
// Deletes the files in Folder (read-only ones too) and, with Recursive, below it,
// removing subfolders that end up empty, and Folder itself with RemoveFolder.
// Returns the number of files deleted. Does nothing unless CheckTreeDelete allows
// Folder; folder links are neither entered nor removed. Entries with device names
// ("CON.tmp") are left alone, not counted, and their paths added to Skipped.
std::int64_t DeleteFolderFiles(const String& Folder, bool RemoveFolder, bool Recursive,
                               TStrings* Skipped = nullptr);
// List receives the names of the entries of Folder that match Mask ("." and ".."
// too when the mask admits them); true when there is any.
bool ListFolderFiles(const String& Folder, const String& Mask, TStrings& List);
// True when Folder holds nothing at all; a folder that cannot be listed is not empty.
bool IsFolderEmpty(const String& Folder);
// Adds the path of every empty folder below Folder (depth first; hidden, system
// and linked folders are neither reported nor entered). Ends as soon as Stop is set.
void FindEmptyFolders(const String& Folder, TStrings& List, const bool& Stop);

// ------------------------------------------------------- shell and platform

// Empty when the shell has no such folder.
String GetSpecialFolderPath(int CSIDL);
// Opens a web address (or HTML file) with the user's default program.
bool OpenInDefaultBrowser(const String& Parameters);
// The shell's system list of small icons, shared: never destroy it.
HIMAGELIST SystemSmallImageList();
// Items receives the enabled local user accounts that require a password.
void FillUserAccountList(TStrings& Items);

// ----------------------------------------------------------------- shredding

// Where ShredFile reports its progress (a progress bar in the programs).
class TShredProgress {
public:
    virtual ~TShredProgress() = default;
    virtual void SetRange(std::int64_t Max, std::int64_t Position) = 0;
    virtual void StepBy(std::int64_t Delta) = 0;
};

// Overwrites the file seven times in place (00, FF, 00, FF, 00, FF, random) and
// deletes it; true when it did, false when there is no such file (nothing done).
// Raises, leaving every byte, for a link, a file with other hard links, a device name
// ("CON.tmp") or a file it cannot open; raises too when the final delete fails. Count
// a file as shredded only when this returned true.
bool ShredFile(const String& Path, TShredProgress* Progress = nullptr);
// Fills Buffer with pseudo-random bytes 0 to 255.
void FillRandomBuffer(std::span<std::uint8_t> Buffer);

// ------------------------------------------------------------- clock names

// yyyymmddhhnnsszzz: 17 digits of the given (or current) local time.
String TimestampText(const SYSTEMTIME& LocalTime);
String TimestampText();
// TimestampText, followed by the lowest counter that makes it a name not yet
// present in Folder. Digits only.
String UniqueTimestampName(const String& Folder, const SYSTEMTIME& LocalTime);
String UniqueTimestampName(const String& Folder);

// ------------------------------------------------------------ shortcut files

// Empty when the link cannot be read.
String GetShortcutTarget(const String& LinkPath);
// The target in double quotes (unless it already starts with one), then a space
// and the arguments as stored, when there are any. Empty when the link cannot be read.
String GetShortcutCommand(const String& LinkPath);
// Sets target and arguments of LinkPath, creating the link when it cannot be
// read; its other properties stay. True when saved.
bool SetShortcutTarget(const String& LinkPath, const String& Target, const String& Arguments);
