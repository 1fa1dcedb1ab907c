// The backup area: back up or restore; then, for a backup, a local disk or an FTP server.
#include "main/MainForm.h"

namespace {

struct TChoice {
    const wchar_t* Picture;
    const wchar_t* Label;
};

} // namespace

void TfrmMain::CreateBackupRestorePage(TPage& Page) {
    const TChoice Choices[] = {{L"btnBackupRestoreBackupFiles", L"labBackupRestoreBackupFiles"},
                               {L"btnBackupRestoreRestoreFiles", L"labBackupRestoreRestoreFiles"}};
    const std::function<void()> Actions[] = {[this] { FCore->Flow.ShowPage(pgBackup); },
                                             [this] { btnBackupRestoreRestoreFilesClick(); }};
    for (int I = 0; I < 2; ++I)
        MakeChoiceEntry(Page, I, Choices[I].Picture, Choices[I].Label, Actions[I]);
}

void TfrmMain::CreateBackupPage(TPage& Page) {
    const TChoice Choices[] = {{L"btnBackupLocal", L"labBackupLocal"},
                               {L"btnBackupRemote", L"labBackupRemote"}};
    const int Modes[] = {mdBackupLocal, mdBackupRemote};
    for (int I = 0; I < 2; ++I) {
        MakeChoiceEntry(Page, I, Choices[I].Picture, Choices[I].Label,
                        [this, Mode = Modes[I]] { btnBackupModeClick(Mode); });
    }
}

void TfrmMain::btnBackupDataClick() {
    FBackup->BackupFromResults = false;
    FCore->Flow.EnterArea(arBackupData);
}

void TfrmMain::btnBackupModeClick(int Mode) {
    if (!FBackup->BackupFromResults) {
        FCore->Flow.EnterMode(Mode);
        ShowBackupSelection();
        return;
    }
    FCore->Flow.EnterMode(Mode, pgBackupOptions);
    btnBackupSelectFilesBackupClick();
}
