// The one path layer every file operation goes through.
//
// How to use it:
// - Keep paths in the form users know ("C:\Data\keep.doc.", "\\server\share\x") in lists, logs
//   and reports. Hand them to the file functions of this library (FileExists, FileDelete,
//   RenameFile, FindFirst, TFileStream, ...), which turn them into their extended form
//   themselves; a Win32 file call made directly takes ExtendedPath(Path), never Path.
// - Build the path of an entry found on disk as Folder + FindData.cFileName; never trim,
//   re-case or "clean" a found name: "keep.doc." and "keep.doc" are different files.
// - Before any recursive delete (emptying a folder, the folder cleaner, the store, the
//   scheduler's runners) call CheckTreeDelete on the start folder and go on only on tdAllowed.
//   Below it, never enter an entry whose attributes carry FILE_ATTRIBUTE_REPARSE_POINT.
// - An entry whose name IsDeviceName is reported as skipped and never counted.
// - Before a found file is deleted, shredded, stored or moved, IsLinkFreeEntry must answer true.
#pragma once

#include "classlib/rtl/SysUtils.h"

#include <cstdint>

// The extended form: "C:\a\b" -> "\\?\C:\a\b", "\\server\share\a" -> "\\?\UNC\server\share\a".
// '/' counts as '\', "." and ".." steps are resolved and doubled separators merged, but every
// other name is kept exactly as written, trailing dots and spaces included. A relative path is
// taken from the current folder. Paths already in the \\?\ form are returned unchanged, and the
// \\.\ form of a drive or share path becomes the \\?\ form; other device paths and "" stay as
// they are.
String ExtendedPath(const String& Path);

// The form users know: the \\?\ and \\?\UNC\ prefixes removed; anything else unchanged.
String DisplayPath(const String& Path);

// Makes a new empty file in Folder that nothing else uses, named Prefix, eight hex digits and
// ".tmp", through the extended form, so a folder of any length will do. Gives its path in the
// form Folder was given in; empty, with the error in GetLastError, when none can be made there.
String CreateTempFileIn(const String& Folder, const String& Prefix);

// A file of CreateTempFileIn, deleted when this goes unless it was kept (once it was renamed
// into place, say).
class TTempFile {
public:
    TTempFile(const String& Folder, const String& Prefix);
    ~TTempFile();
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    // Empty when no file could be made (the error is in GetLastError).
    const String& Name() const { return FName; }
    void Keep() { FKept = true; }

private:
    String FName;
    bool FKept = false;
};

// Whether Name (the last step of a path) is one of the names Windows reserves for devices
// (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$), with or without an extension, trailing
// dots or spaces: "CON.tmp" and "nul .txt" are device names to most programs.
bool IsDeviceName(const String& Name);

// What makes an entry on disk itself: its volume and its file ID.
struct TFileIdentity {
    std::uint64_t Volume = 0;
    std::uint64_t FileId = 0;
    bool operator==(const TFileIdentity&) const = default;
};

struct TEntryInfo {
    TFileIdentity Identity;
    DWORD Attributes = 0;
    // Names the data has (hard links); 1 for an ordinary file.
    DWORD Links = 0;
};

// Facts of the entry Path names, read from the entry itself: a final link or junction is
// opened, never followed. False (with the error in GetLastError) when it cannot be opened.
bool InspectEntry(const String& Path, TEntryInfo& Info);

// Whether Path reaches its entry without any link: the entry, opened without following a final
// link, is no link or junction itself and the handle's final path is Path (short names and
// case aside). Under wine a Unix link to a file shows as a plain file and deleting it deletes
// its target, so this is the one test that tells. False also when the entry cannot be opened:
// what cannot be checked is left alone. A file reached by another drive letter for the same
// folder counts as reached through a link.
bool IsLinkFreeEntry(const String& Path);

// Why a folder may not be deleted recursively.
enum TTreeDelete {
    tdAllowed,
    tdNotAbsolute,  // empty or relative: what it means depends on the current folder
    tdMissing,      // it cannot be opened
    tdNotAFolder,   //
    tdLink,         // a junction or folder link: its contents are not the user's to empty here
    tdDriveRoot,    // the root of a volume, by whatever letter or name it is reached
    tdSystemFolder, // the Windows folder or a folder above it, by whatever path it is reached
};

// The one rule for every recursive delete, decided by identity rather than by spelling: the
// \\?\ and \\.\ forms, other drive letters and links leading to a protected folder are refused
// as that folder is.
TTreeDelete CheckTreeDelete(const String& Folder);
