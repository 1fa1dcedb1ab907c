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
    for (int I = 0; I < 2; ++I) {
        MakeBigPicture(Page, Choices[I].Picture, Bounds(40, 40 + I * 100, 64, 64), Actions[I]);
        MakeLink(Page, Choices[I].Label, Bounds(120, 62 + I * 100, 380, 20), Actions[I]);
    }
}

void TfrmMain::CreateBackupPage(TPage& Page) {
    const TChoice Choices[] = {{L"btnBackupLocal", L"labBackupLocal"},
                               {L"btnBackupRemote", L"labBackupRemote"}};
    const int Modes[] = {mdBackupLocal, mdBackupRemote};
    for (int I = 0; I < 2; ++I) {
        const auto Action = [this, Mode = Modes[I]] { btnBackupModeClick(Mode); };
        MakeBigPicture(Page, Choices[I].Picture, Bounds(40, 40 + I * 100, 64, 64), Action);
        MakeLink(Page, Choices[I].Label, Bounds(120, 62 + I * 100, 380, 20), Action);
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
