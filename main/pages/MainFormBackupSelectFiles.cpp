// What to back up: folders and files, each a row; Next goes on to the options.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "main/MainForm.h"

void TfrmMain::CreateBackupSelectFilesPage(TPage& Page) {
    MakeLabel(Page, L"labBackupSelectFiles", Bounds(16, 8, 500, 15));
    lvBackupSelectFiles =
        MakeTreeList(*this, Page, L"lvBackupSelectFiles", Bounds(16, 26, 515, 342));
    lvBackupSelectFiles->SetImages(RecoveryFilesImageList);
    AddHeaderColumn(*lvBackupSelectFiles,
                    FCore->Text(L"lvBackupSelectFilesColumnName1", L"Caption"), 300);
    AddHeaderColumn(*lvBackupSelectFiles,
                    FCore->Text(L"lvBackupSelectFilesColumnName2", L"Caption"), 150);
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeButton(Page, L"btnBackupSelectFilesAddFolder", Bounds(16, 378, 120, 25), Inside,
               GlyphAddItem, [this] { btnBackupSelectFilesAddFolderClick(); });
    MakeButton(Page, L"btnBackupSelectFilesAddFile", Bounds(142, 378, 120, 25), Inside,
               GlyphDetails, [this] { btnBackupSelectFilesAddFileClick(); });
    MakeButton(Page, L"btnBackupSelectFilesRemove", Bounds(268, 378, 120, 25), Inside, GlyphDiscard,
               [this] { btnBackupSelectFilesRemoveClick(); });
}

void TfrmMain::ShowBackupSelection() {
    EnsurePageControls(pgBackupSelectFiles);
    lvBackupSelectFiles->Items().BeginUpdate();
    lvBackupSelectFiles->Items().RemoveAll();
    for (int I = 0; I < static_cast<int>(FBackup->Selection.size()); ++I) {
        const String& Path = FBackup->Selection[I].Path;
        AddTreeRow(*lvBackupSelectFiles, nullptr, Path,
                   {ExtractFileName(ExcludeTrailingBackslash(Path))}, I)
            ->SetMainImage(FBackup->Selection[I].IsFolder ? lpFolder : lpFile);
    }
    lvBackupSelectFiles->Items().EndUpdate();
    FitColumnsToList(*lvBackupSelectFiles);
}

void TfrmMain::btnBackupSelectFilesAddFolderClick() {
    String Folder;
    if (!PickFolder(SelectFolderCaption(), Folder))
        return;
    FBackup->Selection.push_back({Folder, true});
    ShowBackupSelection();
}

void TfrmMain::btnBackupSelectFilesAddFileClick() {
    std::vector<String> Files;
    if (!FEnvironment.PickFiles(Handle(), true, Files))
        return;
    for (const String& File : Files)
        FBackup->Selection.push_back({File, false});
    ShowBackupSelection();
}

void TfrmMain::btnBackupSelectFilesRemoveClick() {
    const int Index = FocusedRowPlace(*lvBackupSelectFiles);
    if (Index < 0 || Index >= static_cast<int>(FBackup->Selection.size()))
        return;
    FBackup->Selection.erase(FBackup->Selection.begin() + Index);
    ShowBackupSelection();
}
