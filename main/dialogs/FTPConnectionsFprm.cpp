#include "main/dialogs/FTPConnectionsFprm.h"

#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"
#include "controls/FlatPanel.h"

#include <memory>

TfrmFTPConnections::TfrmFTPConnections(TComponent* AOwner, TBackup& Backup)
    : TFlatForm(AOwner), FBackup(Backup) {
    Name = L"frmFTPConnections";
    SetBounds(0, 0, 522, 329);
    Position = poScreenCenter;
    labFTPConnections =
        MakeNamedChild<TLabel>(*this, *this, L"labFTPConnections", Bounds(24, 40, 470, 15));
    auto* Panel =
        MakeNamedChild<TFlatPanel>(*this, *this, L"pnlConnections", Bounds(24, 58, 474, 206));
    lvConnections = MakeTreeList(*this, *Panel, L"lvConnections", Bounds(1, 1, 472, 204));
    lvConnections->SetAlign(alClient);
    const std::pair<const wchar_t*, int> Columns[] = {
        {L"FTPSession", 100}, {L"FTPHost", 100}, {L"FTPUsername", 100}, {L"FTPRemoteDir", 200}};
    for (const auto& [Key, Width] : Columns)
        AddHeaderColumn(*lvConnections, AppMessage(Key), Width);
    btnRemove = MakeListButton(L"btnRemove", Bounds(24, 280, 98, 25), GlyphDiscard);
    btnOK = MakeDialogButton(L"btnOK", Bounds(296, 280, 98, 25));
    btnCancel = MakeDialogButton(L"btnCancel", Bounds(400, 280, 98, 25));
    btnRemove->OnClick = [this](TObject*) { btnRemoveClick(); };
    btnOK->OnClick = [this](TObject*) { btnOKClick(); };
    btnCancel->ModalResult = mrCancel;
    ApplySkinAndLanguage(*this);
    SetFormCaption(AppMessage(L"sFTPConnections"));
    labFTPConnections->SetCaption(AppMessage(L"sFTPConnections"));
    LoadConnections();
}

void TfrmFTPConnections::LoadConnections() {
    lvConnections->Items().BeginUpdate();
    lvConnections->Items().RemoveAll();
    try {
        FConnections = FBackup.Connections();
    } catch (const Exception&) {
        FConnections.clear();
    }
    for (int I = 0; I < static_cast<int>(FConnections.size()); ++I) {
        const TFtpConnection& Connection = FConnections[I];
        AddTreeRow(*lvConnections, nullptr, Connection.Session,
                   {Connection.Target.Host, Connection.Target.User, Connection.Target.Dir}, I);
    }
    lvConnections->Items().EndUpdate();
}

void TfrmFTPConnections::btnOKClick() {
    const int Index = FocusedRowPlace(*lvConnections);
    if (Index < 0 || Index >= static_cast<int>(FConnections.size()))
        return;
    Selected = FConnections[Index];
    SetModalResult(mrOk);
}

void TfrmFTPConnections::btnRemoveClick() {
    const int Index = FocusedRowPlace(*lvConnections);
    if (Index < 0 || Index >= static_cast<int>(FConnections.size()))
        return;
    try {
        FBackup.RemoveConnection(FConnections[Index].Session);
    } catch (const Exception&) {
    }
    LoadConnections();
}

bool PickFtpConnection(TBackup& Backup, TFtpConnection& Connection) {
    const std::unique_ptr<TfrmFTPConnections> Dialog(
        NewForm<TfrmFTPConnections>(Application, Backup));
    if (Dialog->ShowFlatModal() != mrOk)
        return false;
    Connection = Dialog->Selected;
    return true;
}
