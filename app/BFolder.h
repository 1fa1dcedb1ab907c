// The shell's folder picker as a component.
#pragma once

#include "classlib/gui/Controls.h"

enum TBrowseFolderOption {
    bfBrowseForComputer,
    bfBrowseForPrinter,
    bfDontGoBelowDomain,
    bfReturnFileSystemAncestors,
    bfReturnOnlyFileSystemDirs,
};
using TBrowseFolderOptions = TEnumSet<TBrowseFolderOption>;

// The shell's flags for Options.
UINT BrowseFolderFlags(TBrowseFolderOptions Options);

class TBrowseFolder : public TComponent {
public:
    explicit TBrowseFolder(TComponent* AOwner);

    String TitleText;
    TBrowseFolderOptions DisplayOptions;
    // The chosen folder's path, or its display name when it has no path; empty after Cancel.
    const String& FolderPath() const { return FFolderPath; }

    // Runs the picker owned by OwnerWnd; true when a folder was chosen.
    bool Execute(HWND OwnerWnd);

private:
    String FFolderPath;
};
