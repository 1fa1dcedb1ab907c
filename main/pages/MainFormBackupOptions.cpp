// The backup's options: compression level, password, and where the archive goes: a file on a
// local disk, or an FTP server with its stored connections.
#include "app/QRVDataMod.h"
#include "classlib/gui/NamedChild.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatEdit.h"
#include "main/MainForm.h"

namespace {

// The edits of the remote page, each under its label.
struct TFtpField {
    const wchar_t* Label;
    const wchar_t* Edit;
    TFlatEdit* TfrmMain::*Member;
    wchar_t PasswordChar;
};
constexpr TFtpField FtpFields[] = {
    {L"labBackupFTPSession", L"edBackupFTPSession", &TfrmMain::edBackupFTPSession, 0},
    {L"labBackupFTPHost", L"edBackupFTPHost", &TfrmMain::edBackupFTPHost, 0},
    {L"labBackupFTPPort", L"edBackupFTPPort", &TfrmMain::edBackupFTPPort, 0},
    {L"labBackupFTPUser", L"edBackupFTPUser", &TfrmMain::edBackupFTPUser, 0},
    {L"labBackupFTPPassword", L"edBackupFTPPassword", &TfrmMain::edBackupFTPPassword, L'*'},
    {L"labBackupFTPRemoteDir", L"edBackupFTPRemoteDir", &TfrmMain::edBackupFTPRemoteDir, 0},
    {L"labBackupFTPArchive", L"edBackupFTPArchive", &TfrmMain::edBackupFTPArchive, 0},
};

} // namespace

void TfrmMain::CreateBackupOptionsPage(TPage& Page) {
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeLabel(Page, L"labZipCompression", Bounds(16, 12, 150, 15));
    cmbZipCompression =
        MakeNamedChild<TFlatComboBox>(*this, Page, L"cmbZipCompression", Bounds(170, 9, 60, 21));
    cmbZipCompression->SetStyle(csDropDownList);
    for (int Level = 0; Level <= 9; ++Level)
        cmbZipCompression->Items().Add(IntToStr(Level));
    cmbZipCompression->SetItemIndex(7);
    chkZipPassword =
        MakeNamedChild<TFlatCheckBox>(*this, Page, L"chkZipPassword", Bounds(16, 40, 150, 17));
    edZipPassword =
        MakeNamedChild<TFlatEdit>(*this, Page, L"edZipPassword", Bounds(170, 39, 200, 19));
    edZipPassword->SetPasswordChar(L'#');
    chkZipPassword->SetTransparent(true);
    chkZipPassword->OnClick = [this](TObject*) { chkZipPasswordClick(); };
    edZipPassword->OnChange = [this](TObject*) { edZipPasswordChange(); };

    BackupDestinationNotebook = MakeNamedChild<TNotebook>(*this, Page, L"BackupDestinationNotebook",
                                                          Bounds(0, 68, 547, 300));
    TPage& Local = *BackupDestinationNotebook->AddPage(L"Local");
    TPage& Remote = *BackupDestinationNotebook->AddPage(L"Remote");
    imgNBBackup = MakeBackgroundCopy(Local, L"imgNBBackup");
    BackupDestinationNotebook->OnPageChanged = [this](TObject*) {
        MoveBackgroundCopy(*imgNBBackup, *BackupDestinationNotebook->Pages(
                                             BackupDestinationNotebook->PageIndex()));
    };

    MakeLabel(Local, L"labBackupLocalZIPFileName", Bounds(16, 8, 400, 15));
    edBackupLocalZIPFileName = MakeNamedChild<TFlatEdit>(*this, Local, L"edBackupLocalZIPFileName",
                                                         Bounds(16, 26, 400, 19));
    MakeButton(Local, L"btnBackupLocalBrowseZIPFileName", Bounds(424, 23, 100, 25), Inside,
               GlyphBrowse, [this] { btnBackupLocalBrowseZIPFileNameClick(); });

    int Top = 4;
    for (const TFtpField& Field : FtpFields) {
        MakeLabel(Remote, Field.Label, Bounds(16, Top + 3, 150, 15));
        TFlatEdit* Edit =
            MakeNamedChild<TFlatEdit>(*this, Remote, Field.Edit, Bounds(170, Top, 240, 19));
        if (Field.PasswordChar)
            Edit->SetPasswordChar(Field.PasswordChar);
        this->*Field.Member = Edit;
        Top += 26;
    }
    MakeButton(Remote, L"btnLoadFTPConnection", Bounds(424, 4, 110, 25), Inside, GlyphBrowse,
               [this] { btnLoadFTPConnectionClick(); });
    MakeButton(Remote, L"btnSaveFTPConnection", Bounds(424, 34, 110, 25), Inside, GlyphAddItem,
               [this] { btnSaveFTPConnectionClick(); });

    MakeButton(Page, L"btnBackup", Bounds(16, 378, 120, 25), Inside, GlyphBackup,
               [this] { btnBackupClick(); });
}

void TfrmMain::btnBackupSelectFilesBackupClick() {
    EnsurePageControls(pgBackupOptions);
    const String Name = FBackup->SuggestedArchiveName(FCore->Results);
    if (FCore->Flow.Mode() == mdBackupRemote) {
        BackupDestinationNotebook->SetActivePage(L"Remote");
        for (TFlatEdit* Edit : {edBackupFTPSession, edBackupFTPHost, edBackupFTPRemoteDir,
                                edBackupFTPUser, edBackupFTPPassword})
            Edit->SetText(String());
        edBackupFTPPort->SetText(L"21");
        edBackupFTPArchive->SetText(ExtractFileName(Name));
    } else {
        BackupDestinationNotebook->SetActivePage(L"Local");
        edBackupLocalZIPFileName->SetText(Name);
    }
    FCore->Flow.ShowPage(pgBackupOptions);
}

void TfrmMain::btnBackupLocalBrowseZIPFileNameClick() {
    String Name = edBackupLocalZIPFileName->Text();
    if (FEnvironment.AskArchiveName(Name))
        edBackupLocalZIPFileName->SetText(Name);
}

void TfrmMain::chkZipPasswordClick() {
    if (!chkZipPassword->Checked())
        edZipPassword->SetText(String());
}

void TfrmMain::edZipPasswordChange() {
    const bool HasPassword = !edZipPassword->Text().empty();
    if (chkZipPassword->Checked() != HasPassword)
        chkZipPassword->SetChecked(HasPassword);
}

void TfrmMain::btnSaveFTPConnectionClick() {
    TFtpConnection Connection;
    Connection.Session = edBackupFTPSession->Text();
    Connection.Target = {edBackupFTPHost->Text(), edBackupFTPPort->Text(), edBackupFTPUser->Text(),
                         edBackupFTPPassword->Text(), edBackupFTPRemoteDir->Text()};
    try {
        FBackup->SaveConnection(Connection);
    } catch (const Exception& E) {
        FFileContext->Notice(E.Message());
    }
}

void TfrmMain::btnLoadFTPConnectionClick() {
    TFtpConnection Connection;
    if (!FEnvironment.PickFtpConnection(*FBackup, Connection))
        return;
    edBackupFTPSession->SetText(Connection.Session);
    edBackupFTPHost->SetText(Connection.Target.Host);
    edBackupFTPUser->SetText(Connection.Target.User);
    edBackupFTPRemoteDir->SetText(Connection.Target.Dir);
    edBackupFTPPort->SetText(Connection.Target.Port);
    edBackupFTPPassword->SetText(Connection.Target.Password);
}

void TfrmMain::btnBackupClick() {
    const String Password = chkZipPassword->Checked() ? edZipPassword->Text() : String();
    const int Level = cmbZipCompression->ItemIndex();
    bool Done = false;
    if (FCore->Flow.Mode() == mdBackupRemote) {
        TFtpTarget Target{edBackupFTPHost->Text(), edBackupFTPPort->Text(), edBackupFTPUser->Text(),
                          edBackupFTPPassword->Text(), edBackupFTPRemoteDir->Text()};
        RunLoop([&] {
            Done = FBackup->RemoteBackup(FCore->Results, edBackupFTPSession->Text(), Target,
                                         edBackupFTPArchive->Text(), Password, Level);
        });
        edBackupFTPRemoteDir->SetText(Target.Dir);
    } else {
        if (Trim(edBackupLocalZIPFileName->Text()).empty())
            return;
        RunLoop([&] {
            Done = FBackup->LocalBackup(FCore->Results, edBackupLocalZIPFileName->Text(), Password,
                                        Level);
        });
    }
    // A failed backup keeps the options as they are, to be corrected.
    if (Done)
        FCore->Flow.ShowPage(FBackup->BackupFromResults ? pgScanResults : pgBackupRestore);
}
