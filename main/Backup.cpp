#include "main/Backup.h"

#include "app/QRVUtils.h"
#include "app/TreeSearchEngine.h"
#include "classlib/rtl/PathLayer.h"

void TFileFeatureContext::Notice(const String& Text, int Icon) const {
    if (Prompt)
        Prompt->MessageBox(Caption, Text, Icon, IPrompt::ButtonsOk);
}

bool TFileFeatureContext::Confirm(const String& Text) const {
    return Prompt && Prompt->MessageBox(Caption, Text, IPrompt::IconQuestion,
                                        IPrompt::ButtonsYesNo) == IPrompt::ResultYes;
}

void AddFolderToBackupList(const String& Folder, std::vector<String>& List) {
    TTreeSearchEngine Walk;
    Walk.OnFileFound = [&List](const String& Path, const String& Name, const WIN32_FIND_DATAW&,
                               TCvTreeItem*&) { List.push_back(Path + Name); };
    // Reported once its contents are listed; Name ends with "\".
    Walk.OnDirectoryDone = [&List](const String& Path, const String& Name, const WIN32_FIND_DATAW&,
                                   TCvTreeItem*&) {
        List.push_back(Path + ExcludeTrailingBackslash(Name));
    };
    Walk.Search(IncludeTrailingBackslash(Folder), nullptr, true);
}

std::vector<String> CheckedResultPaths(const TScanResults& Results,
                                       const std::function<void()>& EachRow) {
    std::vector<String> Paths;
    for (int I = 0; I < Results.Count(); ++I) {
        if (Results.Row(I).Checked)
            Paths.push_back(Results.File(I).FullName());
        if (EachRow)
            EachRow();
    }
    return Paths;
}

String SuggestedArchiveName(const String& Source, bool IsFolder) {
    if (Source.empty())
        return String();
    const String Drive = ExtractFileDrive(Source) + L"\\";
    if (IsFolder)
        return Drive + ExtractFileName(ExcludeTrailingBackslash(Source)) + L".zip";
    return Drive + ChangeFileExt(ExtractFileName(Source), L".zip");
}

String RemoteArchiveName(const String& Edit, TDateTime Now) {
    String Name = BareArchiveName(Edit);
    if (Name.empty()) {
        int Hour, Minute, Second, Milli;
        DecodeTime(Now, Hour, Minute, Second, Milli);
        Name = IntToStr(Hour) + IntToStr(Minute) + IntToStr(Second) + IntToStr(Milli);
    }
    return ExtractFileExt(Name).empty() ? Name + L".zip" : Name;
}

// ------------------------------------------------------------------ backup

namespace {

// The connection fields that FTPBackup and FTPConnections share.
TFtpConnection ReadConnection(TTable& Table) {
    TFtpConnection Connection;
    Connection.Session = Table.FieldByName(L"Session").AsString();
    Connection.Target.Host = Table.FieldByName(L"Host").AsString();
    Connection.Target.Port = Table.FieldByName(L"Port").AsString();
    Connection.Target.Dir = Table.FieldByName(L"Dir").AsString();
    Connection.Target.User = Table.FieldByName(L"User").AsString();
    Connection.Target.Password = Table.FieldByName(L"Password").AsString();
    return Connection;
}

void WriteConnection(TTable& Table, const String& Session, const TFtpTarget& Target) {
    Table.FieldByName(L"Session").SetAsString(Session);
    Table.FieldByName(L"Host").SetAsString(Target.Host);
    Table.FieldByName(L"Port").SetAsString(Target.Port);
    Table.FieldByName(L"Dir").SetAsString(Target.Dir);
    Table.FieldByName(L"User").SetAsString(Target.User);
    Table.FieldByName(L"Password").SetAsString(Target.Password);
}

} // namespace

std::vector<String> TBackup::BuildBackupFileList(const TScanResults& Results) const {
    if (BackupFromResults)
        return CheckedResultPaths(Results);
    std::vector<String> List;
    for (const TBackupSource& Source : Selection) {
        if (Source.IsFolder)
            AddFolderToBackupList(Source.Path, List);
        else
            List.push_back(Source.Path);
    }
    return List;
}

String TBackup::SuggestedArchiveName(const TScanResults& Results) const {
    if (BackupFromResults) {
        const std::vector<String> Checked = CheckedResultPaths(Results);
        return Checked.empty() ? String()
                               : ::SuggestedArchiveName(Checked[0], DirectoryExists(Checked[0]));
    }
    return Selection.empty() ? String()
                             : ::SuggestedArchiveName(Selection[0].Path, Selection[0].IsFolder);
}

TZipOutcome TBackup::MakeArchive(const String& ArchiveName, const std::vector<String>& Paths,
                                 const TBackupZipOptions& Options) {
    FContext.Progress.SetLabel(
        FContext.Message(Options.WithList ? L"sCreatingBackup" : L"sCreatingZip"));
    FContext.Progress.SetCancelVisible(true);
    if (Paths.empty())
        return {TZipResult::Failed, String()};
    return CreateBackupZip(ArchiveName, Paths, Options, FContext.Progress);
}

void TBackup::ReportBackup(const TZipOutcome& Outcome) const {
    switch (Outcome.Result) {
    case TZipResult::Ok:
        FContext.Notice(FContext.Message(L"BackupOK"));
        break;
    case TZipResult::Cancelled:
        FContext.Notice(FContext.Message(L"sBackupCancelled"));
        break;
    case TZipResult::Failed:
        FContext.Notice(FContext.Message(L"BackupFailed") +
                        (Outcome.Error.empty() ? String() : L"\r\n\r\n" + Outcome.Error));
        break;
    }
}

bool TBackup::RecordLocalBackup(const String& ArchiveName) {
    TTable& Table = *FContext.Tables.LocalBackupTable;
    try {
        AppendRecord(Table, [&](TTable& T) {
            // The date alone, without the time of day.
            T.FieldByName(L"Date").SetAsDateTime(
                static_cast<double>(static_cast<std::int64_t>(FContext.Clock.Now())));
            T.FieldByName(L"FileName").SetAsString(ArchiveName);
        });
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TBackup::RecordFtpBackup(const String& Session, const TFtpTarget& Target, const String& Name) {
    TTable& Table = *FContext.Tables.FTPBackupTable;
    TFtpTarget Stored = Target;
    if (Trim(Stored.Port).empty())
        Stored.Port = L"21";
    try {
        AppendRecord(Table, [&](TTable& T) {
            T.FieldByName(L"Date").SetAsDateTime(FContext.Clock.Now());
            WriteConnection(T, Session, Stored);
            T.FieldByName(L"FileName").SetAsString(Name);
        });
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TBackup::LocalBackup(const TScanResults& Results, const String& ArchiveName,
                          const String& Password, int Level) {
    if (Trim(ArchiveName).empty())
        return false;
    TZipOutcome Outcome;
    {
        TProgressScope Scope(FContext.Progress, FContext.Message(L"sBuildingList"), 0, false,
                             TProgressAnimation::CopyFiles);
        const std::vector<String> List = BuildBackupFileList(Results);
        Outcome = MakeArchive(ArchiveName, List, {true, Password, Level});
        if (Outcome.Ok())
            RecordLocalBackup(ArchiveName);
    }
    ReportBackup(Outcome);
    return Outcome.Ok();
}

bool TBackup::RemoteBackup(const TScanResults& Results, const String& Session, TFtpTarget& Target,
                           const String& ArchiveEdit, const String& Password, int Level) {
    const String Name = RemoteArchiveName(ArchiveEdit, FContext.Clock.Now());
    if (Trim(Target.Dir).empty())
        Target.Dir = L"/";
    const String Local = FContext.WorkFolder + Name;
    TZipOutcome Outcome;
    TFtpOutcome Sent;
    {
        TProgressScope Scope(FContext.Progress, FContext.Message(L"sBuildingList"), 0, false,
                             TProgressAnimation::CopyFiles);
        const std::vector<String> List = BuildBackupFileList(Results);
        Outcome = MakeArchive(Local, List, {true, Password, Level});
        if (Outcome.Ok()) {
            Sent = FtpUpload(Target, Local, Name,
                             {FContext.Message(L"sConnectingToFTPServer"),
                              FContext.Message(L"sUploadingBackupFile")},
                             FContext.Progress);
            if (Sent.Result == ftpOk && !RecordFtpBackup(Session, Target, Name))
                Sent.Result = ftpRecordFailed;
        }
    }
    if (!Outcome.Ok()) {
        ReportBackup(Outcome);
        return false;
    }
    if (Sent.AccessDenied)
        FContext.Notice(FContext.Message(L"FTPAccessDenied"));
    if (Sent.Result == ftpCancelled)
        ReportBackup({TZipResult::Cancelled, String()});
    else
        ReportBackup({Sent.Result == ftpOk ? TZipResult::Ok : TZipResult::Failed, Sent.Error});
    return Sent.Result == ftpOk;
}

TZipOutcome TBackup::ZipFiles(const String& ArchiveName, const std::vector<String>& Paths) {
    TProgressScope Scope(FContext.Progress, FContext.Message(L"sCreatingZip"), 0, true);
    return MakeArchive(ArchiveName, Paths, {false, String(), 9});
}

TZipOutcome TBackup::ZipChecked(const String& ArchiveName, const TScanResults& Results) {
    TProgressScope Scope(FContext.Progress, FContext.Message(L"sBuildingList"), 0, true);
    const std::vector<String> Paths =
        CheckedResultPaths(Results, [this] { FContext.Progress.Pump(); });
    FContext.Progress.SetLabel(FContext.Message(L"sCreatingBackup"));
    if (Paths.empty())
        return {TZipResult::Failed, String()};
    return CreateBackupZip(ArchiveName, Paths, {false, String(), 9}, FContext.Progress);
}

TZipOutcome TBackup::BackupFiles(const String& ArchiveName, const std::vector<String>& Paths) {
    TProgressScope Scope(FContext.Progress, FContext.Message(L"sCreatingBackup"), 0, true);
    const TZipOutcome Outcome = MakeArchive(ArchiveName, Paths, {true, String(), 9});
    if (Outcome.Ok())
        RecordLocalBackup(ArchiveName);
    return Outcome;
}

// ----------------------------------------------------------------- restore

namespace {

std::vector<TBackupRecord> ReadRecords(TTable& Table, bool Ftp) {
    std::vector<TBackupRecord> Records;
    try {
        for (Table.First(); !Table.Eof(); Table.Next()) {
            TBackupRecord Record;
            Record.ID = Table.FieldByName(AutoIncFieldName).AsInteger();
            Record.Date = Table.FieldByName(L"Date").AsDateTime();
            Record.FileName = Table.FieldByName(L"FileName").AsString();
            if (Ftp) {
                const TFtpConnection Connection = ReadConnection(Table);
                Record.Session = Connection.Session;
                Record.Target = Connection.Target;
            }
            Records.push_back(std::move(Record));
        }
    } catch (const Exception&) {
        // What was read is shown.
    }
    return Records;
}

TOverwriteAnswer ToOverwriteAnswer(int Result) {
    switch (Result) {
    case IPrompt::ResultYes:
        return TOverwriteAnswer::Yes;
    case IPrompt::ResultYesToAll:
        return TOverwriteAnswer::YesToAll;
    case IPrompt::ResultNo:
        return TOverwriteAnswer::No;
    case IPrompt::ResultNoToAll:
        return TOverwriteAnswer::NoToAll;
    default:
        return TOverwriteAnswer::Cancel;
    }
}

} // namespace

std::vector<TBackupRecord> TBackup::LocalBackups() const {
    return ReadRecords(*FContext.Tables.LocalBackupTable, false);
}

std::vector<TBackupRecord> TBackup::FtpBackups() const {
    return ReadRecords(*FContext.Tables.FTPBackupTable, true);
}

TRestoreQuestions TBackup::Questions() const {
    TRestoreQuestions Ask;
    Ask.Overwrite = [this](const String& FileName) {
        if (!FContext.Prompt)
            return TOverwriteAnswer::Cancel;
        return ToOverwriteAnswer(FContext.Prompt->MessageBox(
            FContext.Caption, Format(FContext.Message(L"OverwriteFileConfirm"), {FileName}),
            IPrompt::IconQuestion, IPrompt::ButtonsYesYesToAllNoNoToAllCancel));
    };
    Ask.Password = [this](String& Password) {
        String Typed;
        if (!FContext.Prompt ||
            !FContext.Prompt->InputQuery(FContext.Caption, FContext.Message(L"sZipPassword"), Typed,
                                         255, L"*"))
            return false;
        Password = Typed;
        return true;
    };
    return Ask;
}

bool TBackup::Restore(const String& ArchiveName) {
    TRestoreOutcome Outcome;
    {
        TProgressScope Scope(FContext.Progress, FContext.Message(L"sRestoreBackup"), 0, true,
                             TProgressAnimation::CopyFiles);
        Outcome = RestoreBackupZip(ArchiveName, String(), FContext.Progress, Questions());
    }
    switch (Outcome.Result) {
    case TZipResult::Ok:
        FContext.Notice(FContext.Message(L"sBackupRestoreOK"), IPrompt::IconInformation);
        break;
    case TZipResult::Cancelled:
        FContext.Notice(FContext.Message(L"sBackupRestoreCancelled"));
        break;
    case TZipResult::Failed:
        FContext.Notice(FContext.Message(L"sBackupRestoreFailed") + L"\r\n\r\n" + Outcome.Error);
        break;
    }
    return Outcome.Ok();
}

bool TBackup::RestoreLocal(const TBackupRecord& Record) {
    return Restore(Record.FileName);
}

bool TBackup::RestoreFtp(const TBackupRecord& Record) {
    const bool HasFolder = ForceDirectories(FContext.WorkFolder);
    const TTempFile Downloaded(HasFolder ? FContext.WorkFolder : String(), L"ftp");
    TFtpOutcome Got;
    {
        TProgressScope Scope(FContext.Progress, FContext.Message(L"sDownloadingBackupFile"), 0,
                             true, TProgressAnimation::CopyFiles);
        if (Downloaded.Name().empty()) {
            Got.Result = ftpTransferFailed;
            Got.Error = FContext.WorkFolder + L": " + SysErrorMessage(GetLastError());
        } else {
            Got = FtpDownload(Record.Target, Record.FileName, Downloaded.Name(),
                              {FContext.Message(L"sConnectingToFTPServer"),
                               FContext.Message(L"sDownloadingBackupFile")},
                              FContext.Progress);
        }
    }
    if (Got.Result == ftpCancelled) {
        FContext.Notice(FContext.Message(L"sBackupRestoreCancelled"));
        return false;
    }
    if (Got.Result != ftpOk) {
        FContext.Notice(FContext.Message(L"sDownloadFailed") +
                            (Got.Error.empty() ? String() : L"\r\n\r\n" + Got.Error),
                        IPrompt::IconInformation);
        return false;
    }
    return Restore(Downloaded.Name());
}

bool TBackup::ForgetLocal(const TBackupRecord& Record) {
    return DeleteRecordWithId(*FContext.Tables.LocalBackupTable, Record.ID);
}

bool TBackup::ForgetFtp(const TBackupRecord& Record) {
    return DeleteRecordWithId(*FContext.Tables.FTPBackupTable, Record.ID);
}

// ------------------------------------------------------------- connections

void TBackup::SaveConnection(const TFtpConnection& Connection) {
    TTable& Table = *FContext.Tables.FTPConnectionsTable;
    Table.First();
    while (!Table.Eof() && Table.FieldByName(L"Session").AsString() != Connection.Session)
        Table.Next();
    if (Table.Eof())
        Table.Append();
    else
        Table.Edit();
    WriteConnection(Table, Connection.Session, Connection.Target);
    Table.Post();
}

std::vector<TFtpConnection> TBackup::Connections() const {
    TTable& Table = *FContext.Tables.FTPConnectionsTable;
    std::vector<TFtpConnection> List;
    for (Table.First(); !Table.Eof(); Table.Next())
        List.push_back(ReadConnection(Table));
    return List;
}

int TBackup::RemoveConnection(const String& Session) {
    TTable& Table = *FContext.Tables.FTPConnectionsTable;
    int Removed = 0;
    try {
        Table.First();
        while (!Table.Eof()) {
            if (AnsiSameText(Table.FieldByName(L"Session").AsString(), Session)) {
                Table.Delete();
                ++Removed;
            } else {
                Table.Next();
            }
        }
    } catch (const Exception&) {
    }
    return Removed;
}
