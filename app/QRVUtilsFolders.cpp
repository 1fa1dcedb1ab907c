#include "app/QRVUtils.h"

#include "app/QRVUtilsPrivate.h"
#include "classlib/gui/Forms.h"
#include "classlib/rtl/PathLayer.h"

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

std::int64_t EmptyFolder(const String& Dir, bool Recursive, TStrings* Skipped) {
    std::int64_t Deleted = 0;
    for (const TEntry& Entry : ReadEntries(Dir)) {
        const String Path = Dir + Entry.Name;
        if (IsDeviceName(Entry.Name)) {
            if (Skipped)
                Skipped->Add(Path);
            continue;
        }
        if (Entry.Attr & faDirectory) {
            // A link leads out of the folder being emptied: leave it alone.
            if (IsFolderLink(Entry.Attr))
                continue;
            if (Recursive)
                Deleted += EmptyFolder(Path + L'\\', true, Skipped);
            RemoveDir(Path);
            continue;
        }
        // A file link would be deleted as its target.
        if (!IsLinkFreeEntry(Path)) {
            if (Skipped)
                Skipped->Add(Path);
            continue;
        }
        const bool ReadOnly = (Entry.Attr & faReadOnly) != 0;
        if (ReadOnly) {
            const int Writable = Entry.Attr & ~faReadOnly;
            FileSetAttr(Path, Writable != 0 ? Writable : faNormal);
        }
        if (FileDelete(Path))
            ++Deleted;
        else if (ReadOnly)
            FileSetAttr(Path, Entry.Attr);
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

std::int64_t DeleteFolderFiles(const String& Folder, bool RemoveFolder, bool Recursive,
                               TStrings* Skipped) {
    if (CheckTreeDelete(Folder) != tdAllowed)
        return 0;
    const std::int64_t Deleted = EmptyFolder(AddBackslash(Folder), Recursive, Skipped);
    if (RemoveFolder)
        RemoveDir(ExcludeTrailingBackslash(Folder));
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
        ProcessMessagesDuringWork();
        if (Stop)
            return false;
        const String Path = Dir + F.Name;
        if (!(F.Attr & faDirectory) || IsFolderLink(F.Attr) || IsDeviceName(F.Name) ||
            !FolderExists(Path))
            return true;
        if (IsFolderEmpty(Path))
            List.Add(Path);
        else
            FindEmptyFolders(Path, List, Stop);
        return true;
    });
}
