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
#include "main/DuplicatesOptionsEdit.h"
#include "main/FTPConnectionsFprm.h"
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
        for (const wchar_t* Name :
             {L"btnScanResultsOrganize", L"btnScanResultsBackup", L"btnScanResultsPack"})
            if (auto* Button = dynamic_cast<TControl*>(FindComponent(Name)))
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

void TfrmMain::mnLocalScanResultsMoveFilesClick() {
    String Folder;
    if (!FEnvironment.PickOrganizeFolder(Folder))
        return;
    RunLoop([&] { FFileActions->MoveChecked(FCore->Results, Folder); });
    ResultsChanged();
}

void TfrmMain::mnLocalScanResultsZipFilesClick() {
    if (!FFileActions->CanRemoveChecked(FCore->Results))
        return; // told "sNoSelectedFiles"
    String Archive;
    if (FEnvironment.AskArchiveName(Archive))
        RunLoop([&] { FFileActions->ZipChecked(FCore->Results, Archive); });
}

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
    // The list and the duplicate groups share the space above the buttons.
    auto* Lists = MakeNamedChild<TPanel>(*this, Page, L"pnlScanResults", Bounds(16, 28, 515, 312));
    Lists->SetBevelOuter(bvNone);
    Lists->SetBevelInner(bvNone);
    lvScanResults->SetParent(Lists);
    lvScanResults->SetAlign(alClient);
    CreateDuplicateGroupList(*Lists);

    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    struct TCommand {
        const wchar_t* Button;
        int Glyph;
        void (TfrmMain::*Click)();
    };
    static constexpr TCommand Commands[] = {
        {L"btnScanResultsOrganize", -1, &TfrmMain::mnLocalScanResultsMoveFilesClick},
        {L"btnScanResultsBackup", -1, &TfrmMain::mnLocalScanResultsBackupFilesClick},
        {L"btnScanResultsPack", -1, &TfrmMain::mnLocalScanResultsZipFilesClick},
    };
    int Left = 16;
    for (const TCommand& Command : Commands) {
        MakeButton(Page, Command.Button, Bounds(Left, 346, 110, 25), Inside, Command.Glyph,
                   [this, Click = Command.Click] { (this->*Click)(); });
        Left += 116;
    }
}
