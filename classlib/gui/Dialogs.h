// Common dialogs: choosing a file to open, and a folder.
#pragma once

#include "classlib/gui/Controls.h"

#include <commdlg.h>
#include <shlobj.h>

#include <functional>
#include <vector>

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofAllowMultiSelect,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofNoReadOnlyReturn,
    ofEnableSizing,
};
using TOpenOptions = TEnumSet<TOpenOption>;

// The system's dialog for choosing a file to open. Filter holds pairs "description|pattern"
// separated by '|'; DefaultExt is added to a name typed without an extension (a leading dot or a
// wildcard pattern such as "*.*" adds none). Execute returns true when the user chose: FileName
// is the first chosen file, Files all of them (several with ofAllowMultiSelect).
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);

    String Title;
    String Filter;
    // 1 for the first pair of Filter.
    int FilterIndex = 1;
    String DefaultExt;
    String InitialDir;
    String FileName;
    TOpenOptions Options{ofHideReadOnly, ofEnableSizing};
    const std::vector<String>& Files() const { return FFiles; }

    virtual bool Execute();

    // The call that shows the dialog; tests put their own in. Empty: GetOpenFileNameW.
    std::function<bool(OPENFILENAMEW& Params)> ShowDialog;

private:
    std::vector<String> FFiles;
};

// The folder picker: the system's browse-for-folder dialog with Caption over the tree, rooted at
// Root (the whole namespace when empty), starting at Directory. True when the user chose a file
// system folder, which is then in Directory; Directory is unchanged otherwise.
bool SelectDirectory(const String& Caption, const String& Root, String& Directory);

// The calls the folder picker makes, replaceable by tests. Empty members use the system's
// SHBrowseForFolderW and CoTaskMemFree.
struct TFolderBrowser {
    std::function<PIDLIST_ABSOLUTE(BROWSEINFOW& Params)> Browse;
    std::function<void(PIDLIST_ABSOLUTE Item)> Free;
};
extern TFolderBrowser FolderBrowser;
