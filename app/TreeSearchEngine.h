#pragma once

#include "classlib/rtl/SysUtils.h"

#include "classlib/rtl/WinApi.h"

#include <functional>

// The tree-list row that stands for the folder being listed; the walk only
// passes it along, so the engine does not depend on the tree-list.
class TCvTreeItem;

// Walks a folder (and optionally every folder below it) on the window thread,
// reporting each entry through callbacks. Folder links (junctions, symbolic
// links) are neither entered nor reported. Folders are listed through their
// extended form, so names ending in a dot or a space and long paths are reported
// as they are on disk; callbacks get paths in the form users know.
class TTreeSearchEngine {
public:
    // Path is the listed folder with a trailing backslash; FindData is valid
    // only during the call; a callback may replace Item.
    using TFileEvent = std::function<void(const String& Path, const String& Name,
                                          const WIN32_FIND_DATAW& FindData, TCvTreeItem*& Item)>;
    using TDirectoryFoundEvent =
        std::function<void(TCvTreeItem*& Item, const String& Path, const WIN32_FIND_DATAW& FindData,
                           const String& Name)>;
    using TItemParentFunc = std::function<TCvTreeItem*(TCvTreeItem* Item)>;

    // After a subfolder has been walked; Name is the folder name followed by "\".
    TFileEvent OnDirectoryDone;
    // For every entry that is not a folder.
    TFileEvent OnFileFound;
    // Before a subfolder is walked.
    TDirectoryFoundEvent OnDirectoryFound;
    // For an entry whose name is a device name ("CON.tmp"): most programs reach the
    // device by its path, so it is reported here instead of as found, and a folder
    // of such a name is not entered.
    TFileEvent OnEntrySkipped;
    // Gives an item's parent (or null). After OnDirectoryDone the walk steps Item
    // back up with it; the owner that builds a tree of items sets it.
    TItemParentFunc ItemParent;

    // Set by the owner (e.g. a Stop button) to end the walk at the next entry;
    // cleared only when a Search starts, so it also tells that a walk was cut short.
    bool Stop = false;

    bool Busy() const { return FBusy; }

    // A call while a walk is running (from a callback or the message pump) is ignored.
    // A relative Path is taken from the current folder.
    void Search(const String& Path, TCvTreeItem* ParentItem, bool Recursive);

private:
    void WalkFolder(const String& Dir, TCvTreeItem* Item);

    bool FBusy = false;
    bool FRecursive = false;
};
