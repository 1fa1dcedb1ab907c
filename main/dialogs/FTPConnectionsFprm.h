#pragma once
// The picker of the stored FTP connections: choose one with OK, or remove one.

#include "app/FlatForm.h"
#include "classlib/gui/StdCtrls.h"
#include "main/Backup.h"

#include <vector>

class TCvTree;

class TfrmFTPConnections : public TFlatForm {
public:
    TfrmFTPConnections(TComponent* AOwner, TBackup& Backup);

    // The chosen connection after OK.
    TFtpConnection Selected;
    const String& SelectedHost() const { return Selected.Target.Host; }

    // The list again from the table.
    void LoadConnections();
    void btnOKClick();
    void btnRemoveClick();

    TLabel* labFTPConnections;
    TCvTree* lvConnections;
    TavImageExpandButton* btnRemove;
    TavImageExpandButton* btnOK;
    TavImageExpandButton* btnCancel;

private:
    TBackup& FBackup;
    std::vector<TFtpConnection> FConnections;
};

// Shows the picker; true on OK with the chosen connection.
bool PickFtpConnection(TBackup& Backup, TFtpConnection& Connection);
