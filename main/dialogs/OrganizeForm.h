#pragma once
// The dialog that chooses the folder found files are moved into, from the folders the user keeps
// for that purpose (table "OraganizeToFolders").

#include "app/FlatForm.h"
#include "app/QRVUtils.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/FlatPanel.h"
#include "main/FileActions.h"
#include "treelist/CvTree.h"

#include <functional>
#include <memory>
#include <vector>

class TfrmOrganize : public TFlatForm {
public:
    using TPickFolder = std::function<bool(HWND Owner, const String& Caption, String& Folder)>;
    TfrmOrganize(TComponent* AOwner, TOrganizeFolders& Folders, TPickFolder PickFolder);

    // Shows the dialog modally; true on OK, with the chosen folder in SelectedFolder.
    bool Execute();
    String SelectedFolder;

    void btnAddClick();
    void btnRemoveClick();
    void btnOKClick();

    TLabel* labFolders;
    TFlatPanel* pnlFolders;
    TCvTree* lvFolders;
    TavImageExpandButton* btnAdd;
    TavImageExpandButton* btnRemove;
    TavImageExpandButton* btnOK;
    TavImageExpandButton* btnCancel;

private:
    void FillList();

    TOrganizeFolders& FFolders;
    TPickFolder FPickFolder;
    // The entries of the list's rows, as long as the rows show.
    std::vector<std::unique_ptr<TDirItem>> FRowEntries;
    bool FShown = false;
};
