#pragma once
// The organize dialog: the folders found files are moved into, kept in their table, and the
// one chosen with OK.

#include "app/FlatForm.h"
#include "classlib/gui/StdCtrls.h"
#include "main/FileActions.h"

#include <functional>

class TCvTree;

class TfrmOrganize : public TFlatForm {
public:
    using TPickFolder = std::function<bool(HWND Owner, const String& Caption, String& Folder)>;

    TfrmOrganize(TComponent* AOwner, TOrganizeFolders& Folders, TPickFolder PickFolder);

    // The folder chosen with OK; kept between shows.
    String SelectedFolder;

    void btnAddClick();
    void btnRemoveClick();
    void btnOKClick();
    // The list again from the table, the first row focused.
    void LoadFolders();
    // Shows the dialog modally, its list read at the first show; true on OK with the folder.
    bool Ask(String& Folder);

    TLabel* labFolders;
    TCvTree* lvFolders;
    TavImageExpandButton* btnAdd;
    TavImageExpandButton* btnRemove;
    TavImageExpandButton* btnOK;
    TavImageExpandButton* btnCancel;

private:
    TOrganizeFolders& FFolders;
    TPickFolder FPickFolder;
    bool FShown = false;
};
