// The recorded backups, local and on FTP servers, to restore or to forget.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "main/MainForm.h"

namespace {

struct TRestoreList {
    const wchar_t* List;
    const wchar_t* Label;
    const wchar_t* Column1;
    const wchar_t* Column2;
    const wchar_t* Restore;
    const wchar_t* Remove;
    int Top;
};
constexpr TRestoreList RestoreLists[] = {
    {L"lvLocalBackupRestore", L"labLocalBackupRestore", L"lvLocalBackupRestoreColumnName1",
     L"lvLocalBackupRestoreColumnName2", L"btnLocalBackupRestore", L"btnLocalBackupRemove", 4},
    {L"lvFTPBackupRestore", L"labFTPBackupRestore", L"lvFTPBackupRestoreColumnName1",
     L"lvFTPBackupRestoreColumnName2", L"btnFTPBackupRestore", L"btnFTPBackupRemove", 206},
};

void FillRecords(TCvTree& List, const std::vector<TBackupRecord>& Records) {
    List.Items().BeginUpdate();
    List.Items().RemoveAll();
    for (int I = 0; I < static_cast<int>(Records.size()); ++I)
        AddTreeRow(List, nullptr, DateToStr(Records[I].Date), {Records[I].FileName}, I)
            ->SetMainImage(lpFile);
    List.Items().EndUpdate();
}

} // namespace

void TfrmMain::CreateRestorePage(TPage& Page) {
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    const std::function<void()> Restores[] = {[this] { btnLocalBackupRestoreClick(); },
                                              [this] { btnFTPBackupRestoreClick(); }};
    const std::function<void()> Removes[] = {[this] { btnLocalBackupRemoveClick(); },
                                             [this] { btnFTPBackupRemoveClick(); }};
    TCvTree** Lists[] = {&lvLocalBackupRestore, &lvFTPBackupRestore};
    for (int I = 0; I < 2; ++I) {
        const TRestoreList& Entry = RestoreLists[I];
        MakeLabel(Page, Entry.Label, Bounds(16, Entry.Top, 400, 15));
        TCvTree* List = MakeTreeList(*this, Page, Entry.List, Bounds(16, Entry.Top + 18, 515, 142));
        List->SetImages(RecoveryFilesImageList);
        AddHeaderColumn(*List, FCore->Text(Entry.Column1, L"Caption"), 100);
        AddHeaderColumn(*List, FCore->Text(Entry.Column2, L"Caption"), 350);
        *Lists[I] = List;
        MakeButton(Page, Entry.Restore, Bounds(16, Entry.Top + 166, 120, 25), Inside, GlyphRestore,
                   Restores[I]);
        MakeButton(Page, Entry.Remove, Bounds(142, Entry.Top + 166, 120, 25), Inside, GlyphDiscard,
                   Removes[I]);
    }
}

void TfrmMain::ShowBackupRecords() {
    EnsurePageControls(pgRestore);
    try {
        FLocalBackups = FBackup->LocalBackups();
        FFtpBackups = FBackup->FtpBackups();
    } catch (const Exception&) {
        // What was read is listed.
    }
    FillRecords(*lvLocalBackupRestore, FLocalBackups);
    FillRecords(*lvFTPBackupRestore, FFtpBackups);
    FitColumnsToList(*lvLocalBackupRestore);
    FitColumnsToList(*lvFTPBackupRestore);
}

void TfrmMain::btnBackupRestoreRestoreFilesClick() {
    ShowBackupRecords();
    FCore->Flow.ShowPage(pgRestore);
}

void TfrmMain::btnLocalBackupRestoreClick() {
    const int Index = FocusedRowPlace(*lvLocalBackupRestore);
    if (Index >= 0 && Index < static_cast<int>(FLocalBackups.size()))
        RunLoop([&] { FBackup->RestoreLocal(FLocalBackups[Index]); });
}

void TfrmMain::btnFTPBackupRestoreClick() {
    const int Index = FocusedRowPlace(*lvFTPBackupRestore);
    if (Index >= 0 && Index < static_cast<int>(FFtpBackups.size()))
        RunLoop([&] { FBackup->RestoreFtp(FFtpBackups[Index]); });
}

void TfrmMain::btnLocalBackupRemoveClick() {
    const int Index = FocusedRowPlace(*lvLocalBackupRestore);
    if (Index >= 0 && Index < static_cast<int>(FLocalBackups.size()) &&
        FBackup->ForgetLocal(FLocalBackups[Index]))
        ShowBackupRecords();
}

void TfrmMain::btnFTPBackupRemoveClick() {
    const int Index = FocusedRowPlace(*lvFTPBackupRestore);
    if (Index >= 0 && Index < static_cast<int>(FFtpBackups.size()) &&
        FBackup->ForgetFtp(FFtpBackups[Index]))
        ShowBackupRecords();
}
