#include "app/QRVUtils.h"

#include "app/QRVUtilsPrivate.h"
#include "classlib/gui/Forms.h"

#include <cwctype>
#include <vector>

using namespace qrvutils;

namespace {

bool IsFolderLink(int Attr) {
    return (Attr & faSymLink) != 0;
}

struct TEntry {
    String Name;
    int Attr;
};

// Calls Visit for each entry of Dir (with its trailing backslash) but "." and ".."
// that a find with Attr returns, until Visit returns false. False when Dir cannot
// be listed.
template <typename TVisit> bool ForEachEntry(const String& Dir, int Attr, TVisit Visit) {
    TSearchRec F;
    if (FindFirst(Dir + L"*.*", Attr, F) != 0)
        return false;
    do {
        if (!IsDotEntry(F.Name) && !Visit(F))
            break;
    } while (FindNext(F) == 0);
    return true;
}

// The entries of Dir, read before anything in the folder changes.
std::vector<TEntry> ReadEntries(const String& Dir) {
    std::vector<TEntry> Entries;
    ForEachEntry(Dir, faAnyFile, [&](const TSearchRec& F) {
        Entries.push_back({F.Name, F.Attr});
        return true;
    });
    return Entries;
}

bool IsAbsolutePath(const String& Path) {
    const bool DrivePath = Path.size() >= 3 && std::iswalpha(Path[0]) && Path[1] == L':' &&
                           (Path[2] == L'\\' || Path[2] == L'/');
    const bool UncPath = Path.size() >= 2 && Path[0] == L'\\' && Path[1] == L'\\';
    return DrivePath || UncPath;
}

// Full, long form of an absolute path, without a trailing backslash.
String NormalPath(const String& Path) {
    String Full = ExpandFileName(Path);
    const DWORD LongNeeded = GetLongPathNameW(Full.c_str(), nullptr, 0);
    if (LongNeeded != 0) {
        String Long(LongNeeded, L'\0');
        const DWORD Length = GetLongPathNameW(Full.c_str(), Long.data(), LongNeeded);
        if (Length != 0 && Length < LongNeeded) {
            Long.resize(Length);
            Full = Long;
        }
    }
    return ExcludeTrailingBackslash(Full);
}

// Emptying reaches everything below a folder; it must be one the user can mean.
bool MayEmptyFolder(const String& Folder) {
    if (!IsAbsolutePath(Folder))
        return false;
    const String Normal = NormalPath(Folder);
    // "C:" or "\\server\share" (and "\\?\C:") once the trailing backslash is gone.
    const bool IsRoot = ExtractFileDrive(Normal) == Normal;
    if (IsRoot)
        return false;
    const String Windows = GetWindowsFolder();
    return Windows.empty() || !SameFileName(Normal, NormalPath(Windows));
}

std::int64_t EmptyFolder(const String& Dir, bool Recursive) {
    std::int64_t Deleted = 0;
    for (const TEntry& Entry : ReadEntries(Dir)) {
        const String Path = Dir + Entry.Name;
        if (Entry.Attr & faDirectory) {
            // A link leads out of the folder being emptied: leave it alone.
            if (IsFolderLink(Entry.Attr))
                continue;
            if (Recursive)
                Deleted += EmptyFolder(Path + L'\\', true);
            RemoveDirectoryW(Path.c_str());
            continue;
        }
        const bool ReadOnly = (Entry.Attr & faReadOnly) != 0;
        if (ReadOnly) {
            const DWORD Writable = Entry.Attr & ~faReadOnly;
            SetFileAttributesW(Path.c_str(), Writable != 0 ? Writable : FILE_ATTRIBUTE_NORMAL);
        }
        if (DeleteFileW(Path.c_str()))
            ++Deleted;
        else if (ReadOnly)
            SetFileAttributesW(Path.c_str(), Entry.Attr);
    }
    return Deleted;
}

void MeasureFolder(const String& Dir, bool Recursive, std::int64_t& Bytes, std::int64_t& Files) {
    ForEachEntry(Dir, faAnyFile, [&](const TSearchRec& F) {
        if (!(F.Attr & faDirectory)) {
            Bytes += F.Size;
            ++Files;
        } else if (Recursive && !IsFolderLink(F.Attr)) {
            MeasureFolder(Dir + F.Name + L'\\', true, Bytes, Files);
        }
        return true;
    });
}

} // namespace

void GetFolderSize(const String& Folder, bool Recursive, std::int64_t& Bytes, std::int64_t& Files) {
    if (!Folder.empty())
        MeasureFolder(AddBackslash(Folder), Recursive, Bytes, Files);
}

std::int64_t DeleteFolderFiles(const String& Folder, bool RemoveFolder, bool Recursive) {
    if (!MayEmptyFolder(Folder))
        return 0;
    const std::int64_t Deleted = EmptyFolder(AddBackslash(Folder), Recursive);
    if (RemoveFolder)
        RemoveDirectoryW(ExcludeTrailingBackslash(Folder).c_str());
    return Deleted;
}

bool ListFolderFiles(const String& Folder, const String& Mask, TStrings& List) {
    List.Clear();
    if (Folder.empty())
        return false;
    TSearchRec F;
    if (FindFirst(AddBackslash(Folder) + Mask, faAnyFile, F) == 0) {
        do
            List.Add(F.Name);
        while (FindNext(F) == 0);
    }
    return List.Count() > 0;
}

bool IsFolderEmpty(const String& Folder) {
    if (Folder.empty())
        return false;
    bool Empty = true;
    const bool Listed = ForEachEntry(AddBackslash(Folder), faAnyFile, [&](const TSearchRec&) {
        Empty = false;
        return false;
    });
    return Listed && Empty;
}

void FindEmptyFolders(const String& Folder, TStrings& List, const bool& Stop) {
    if (Folder.empty())
        return;
    const String Dir = AddBackslash(Folder);
    // Hidden and system folders are not listed with the folder attribute alone.
    ForEachEntry(Dir, faDirectory, [&](const TSearchRec& F) {
        ProcessPendingMessages();
        if (Stop)
            return false;
        const String Path = Dir + F.Name;
        if (!(F.Attr & faDirectory) || IsFolderLink(F.Attr) || !FolderExists(Path))
            return true;
        if (IsFolderEmpty(Path))
            List.Add(Path);
        else
            FindEmptyFolders(Path, List, Stop);
        return true;
    });
}
