#include "app/TreeSearchEngine.h"

#include "classlib/gui/Forms.h"
#include "classlib/rtl/PathLayer.h"

namespace {

class TFindHandle {
public:
    explicit TFindHandle(HANDLE Handle) : FHandle(Handle) {}
    ~TFindHandle() {
        if (IsOpen())
            FindClose(FHandle);
    }
    TFindHandle(const TFindHandle&) = delete;
    TFindHandle& operator=(const TFindHandle&) = delete;
    bool IsOpen() const { return FHandle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return FHandle; }

private:
    HANDLE FHandle;
};

bool IsDotEntry(const wchar_t* Name) {
    return Name[0] == L'.' && (Name[1] == 0 || (Name[1] == L'.' && Name[2] == 0));
}

} // namespace

void TTreeSearchEngine::Search(const String& Path, TCvTreeItem* ParentItem, bool Recursive) {
    if (FBusy)
        return;
    // Cleared however the walk ends, so that an escaping error does not leave the engine
    // refusing every later request.
    const TFlagScope BusyGuard(FBusy);
    Stop = false;
    FRecursive = Recursive;
    // A Stop pressed before the walk counts; inside it, pumps follow the work clock.
    ProcessPendingMessages();
    // An empty path would list the root of the current drive.
    if (!Path.empty() && !Stop)
        WalkFolder(DisplayPath(ExtendedPath(Path)), ParentItem);
}

void TTreeSearchEngine::WalkFolder(const String& Dir, TCvTreeItem* Item) {
    // Keeps the windows alive, and lets a Stop button be pressed, during long walks.
    ProcessMessagesDuringWork();
    if (Stop)
        return;

    const String Folder = IncludeTrailingBackslash(Dir);
    WIN32_FIND_DATAW FindData;
    const TFindHandle Find(FindFirstFileExW((ExtendedPath(Folder) + L'*').c_str(), FindExInfoBasic,
                                            &FindData, FindExSearchNameMatch, nullptr,
                                            FIND_FIRST_EX_LARGE_FETCH));
    if (!Find.IsOpen())
        return;

    String Name; // one buffer for the folder's names, not one per entry
    do {
        if (IsDotEntry(FindData.cFileName))
            continue;
        Name.assign(FindData.cFileName);
        if (IsDeviceName(Name)) {
            if (OnEntrySkipped)
                OnEntrySkipped(Folder, Name, FindData, Item);
            continue;
        }
        if (!(FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (OnFileFound)
                OnFileFound(Folder, Name, FindData, Item);
            continue;
        }
        // A junction or folder link may point outside the walked tree, or back
        // into it; it is not a file either, so nobody hears of it.
        if (!FRecursive || (FindData.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        if (OnDirectoryFound)
            OnDirectoryFound(Item, Folder, FindData, Name);
        WalkFolder(Folder + Name, Item);
        if (Stop)
            return;
        if (OnDirectoryDone)
            OnDirectoryDone(Folder, Name + L'\\', FindData, Item);
        if (Item && ItemParent) {
            if (TCvTreeItem* const Parent = ItemParent(Item))
                Item = Parent;
        }
    } while (!Stop && FindNextFileW(Find.Get(), &FindData));
}
