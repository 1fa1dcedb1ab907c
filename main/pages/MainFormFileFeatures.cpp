// The logic behind the duplicate, store, folder-cleaner, split and backup pages, the pickers they
// share, and the results list's commands that move, zip, back up and show a found file.
#include "app/FileInfo.h"
#include "app/PleaseWaitForm.h"
#include "app/ProgressForm.h"
#include "app/TreeLists.h"
#include "classlib/gui/Dialogs.h"
#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/NamedChild.h"
#include "app/QRVDataMod.h"
#include "main/DuplicateFinder.h"
#include "main/dialogs/DuplicatesOptionsEdit.h"
#include "main/dialogs/FTPConnectionsFprm.h"
#include "main/FeatureContext.h"
#include "main/FileActions.h"
#include "main/FolderCleaner.h"
#include "main/MainForm.h"
#include "main/RecoveryStore.h"
#include "main/SplitPages.h"

#include <memory>

bool AskArchiveFileName(HWND Owner, const String& Title, String& FileName,
                        std::function<bool(OPENFILENAMEW& Params)> Show) {
    TOpenDialog Dialog(nullptr);
    Dialog.Title = Title;
    Dialog.Filter = L"ZIP Files(*.zip)|*.zip";
    Dialog.DefaultExt = L"zip";
    Dialog.FileName = FileName;
    Dialog.Options = {ofHideReadOnly, ofEnableSizing, ofPathMustExist, ofOverwritePrompt,
                      ofNoReadOnlyReturn};
    Dialog.ShowDialog = Show ? std::move(Show) : [Owner](OPENFILENAMEW& Params) {
        Params.hwndOwner = Owner;
        return GetSaveFileNameW(&Params) != FALSE;
    };
    if (!Dialog.Execute())
        return false;
    FileName = Dialog.FileName;
    return true;
}

namespace {

bool PickFilesWithDialog(HWND Owner, bool Multi, std::vector<String>& Files) {
    TOpenDialog Dialog(nullptr);
    Dialog.Filter = L"Any File(*.*)|*.*";
    Dialog.Options = {ofHideReadOnly, ofEnableSizing, ofFileMustExist};
    if (Multi)
        Dialog.Options.Include(ofAllowMultiSelect);
    Dialog.ShowDialog = [Owner](OPENFILENAMEW& Params) {
        Params.hwndOwner = Owner;
        return GetOpenFileNameW(&Params) != FALSE;
    };
    if (!Dialog.Execute())
        return false;
    Files = Dialog.Files();
    return true;
}

} // namespace

void TfrmMain::CreateFileFeatures() {
    FProgress = &FFileContext->Progress;
    FPleaseWait = FEnvironment.PleaseWait;
    if (!FPleaseWait)
        FPleaseWait = NewForm<TfrmPleaseWait>(this);
    if (!FEnvironment.PickFiles)
        FEnvironment.PickFiles = &PickFilesWithDialog;
    if (!FEnvironment.ShellRun)
        FEnvironment.ShellRun = [this](const TShellRequest& Request) {
            RunShellRequest(Handle(), Request);
        };

    const TDataTables& Tables = FCore->Tables();
    FRecoveryList = std::make_unique<TRecoveryList>(*FRecoveryStore);
    FDuplicates = std::make_unique<TDuplicateFinder>(*FCore, *FContext, FProgress);
    FFolderCleaner = std::make_unique<TFolderCleaner>(*Tables.FolderCleanerTable, *FContext,
                                                      FPleaseWait, FEnvironment.ShellRun);
    FSplitPages =
        std::make_unique<TSplitPages>(*Tables.SplitTable, *FContext, FCore->Clock(), FProgress);
    if (!FEnvironment.AskAllowedDuplicate)
        FEnvironment.AskAllowedDuplicate = &AskAllowedDuplicate;
    if (!FEnvironment.PickFtpConnection)
        FEnvironment.PickFtpConnection = &PickFtpConnection;
    FCore->OnBackupStep = [this] { btnBackupSelectFilesBackupClick(); };
    // The groups of a duplicate search stand beside its results.
    FCore->OnScanEnded = [this, Ended = FCore->OnScanEnded] {
        if (Ended)
            Ended();
        EnsurePageControls(pgScanResults);
        const int Mode = FCore->Flow.Mode();
        // Empty folders are neither zipped, backed up nor moved.
        if (auto* Button = dynamic_cast<TControl*>(FindComponent(L"btnScanResultsBackup")))
            Button->SetVisible(ResultCommandsShown(Mode));
        const bool Duplicates = Mode == mdDuplicateFiles;
        ShowDuplicateGroupList(Duplicates);
        if (Duplicates)
            ShowDuplicateGroups();
    };
}

bool TfrmMain::PickFolder(const String& Caption, String& Folder) {
    return FEnvironment.PickFolder(Handle(), Caption, Folder);
}

String TfrmMain::SelectFolderCaption() const {
    return FCore->Text(L"SelectFolder", L"Caption");
}

// ------------------------------------------------------- the results list's commands

void TfrmMain::mnLocalScanResultsBackupFilesClick() {
    if (FFileActions->BackupChecked(FCore->Results))
        FCore->Flow.ShowPage(pgBackup);
    else
        FFileActions->CanRemoveChecked(FCore->Results); // tells "sNoSelectedFiles"
}

void TfrmMain::ResultsChanged() {
    FillResultsList();
    FCore->UpdateScanStatistics();
}

void TfrmMain::CreateResultFileCommands(TPage& Page) {
    CreateDuplicateGroupList(*pnlScanResults);
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeButton(Page, L"btnScanResultsBackup", Bounds(264, 350, 120, 25), Inside, GlyphBackup,
               [this] { mnLocalScanResultsBackupFilesClick(); });
}
