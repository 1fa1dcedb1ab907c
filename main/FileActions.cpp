#include "main/FileActions.h"

#include "app/QRVUtils.h"
#include "classlib/rtl/PathLayer.h"

namespace {

struct TRemoveTexts {
    const wchar_t* OneConfirm;
    const wchar_t* CheckedConfirm;
    const wchar_t* Label;
    TProgressAnimation Animation;
    bool Store;
    bool Shred;
};

TRemoveTexts TextsOf(TRemoveKind Kind) {
    switch (Kind) {
    case TRemoveKind::SecureDelete:
        return {L"SecureDeleteFileConfirm",
                L"SecureDeleteFilesConfirm",
                L"sDeletingFiles",
                TProgressAnimation::RecycleFile,
                true,
                false};
    case TRemoveKind::Delete:
        return {L"DeleteFileConfirm",
                L"DeleteFilesConfirm",
                L"sDeletingFiles",
                TProgressAnimation::DeleteFile,
                false,
                false};
    case TRemoveKind::Shred:
        break;
    }
    // The checked-files shred also passes the store flag, which the shred overrides.
    return {L"ShredFileConfirm",
            L"ShredFilesConfirm",
            L"sSchredingFiles",
            TProgressAnimation::DeleteFile,
            true,
            true};
}

String FullName(const TScanResults& Results, int Index) {
    const TFile& File = Results.File(Index);
    return File.FullName();
}

bool ValidRow(const TScanResults& Results, int Index) {
    return Index >= 0 && Index < Results.Count();
}

// -1 when the entry cannot be reached.
std::int64_t EntrySize(const String& FileName, bool& IsFolder) {
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    if (!GetFileAttributesExW(ExtendedPath(FileName).c_str(), GetFileExInfoStandard, &Data))
        return -1;
    IsFolder = (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return static_cast<std::int64_t>(
        ULARGE_INTEGER{{Data.nFileSizeLow, Data.nFileSizeHigh}}.QuadPart);
}

} // namespace

TFileActions::TFileActions(const TFileFeatureContext& Context, TStatistics& Stats,
                           TRecoveryStore& Store, TBackup& Backup, std::function<int()> Mode)
    : FContext(Context), FStats(Stats), FStore(Store), FBackup(Backup), FMode(std::move(Mode)) {}

int TFileActions::RemoveFolder(const String& Folder, bool Count, int Category) {
    if (!RemoveDir(Folder))
        return 1;
    if (Count)
        FStats.AddStatistics(Category, 1, 0);
    return 0;
}

int TFileActions::RemoveFile(const String& FileName, bool Store, bool Shred) {
    // Through a link, every removal would reach the target instead.
    if (!IsLinkFreeEntry(FileName))
        return 1;
    const int Category = StatisticsCategory(FMode());
    bool IsFolder = false;
    const std::int64_t Size = EntrySize(FileName, IsFolder);
    if (Size >= 0 && IsFolder)
        return RemoveFolder(FileName, Shred || !Store, Category);
    if (Shred) {
        try {
            // False: there was no such file, so nothing was shredded.
            if (!ShredFile(FileName))
                return 1;
        } catch (const Exception&) {
            return 1;
        }
        // Counted only when the file is really gone.
        if (FileGetAttr(FileName) != -1)
            return 1;
        FStats.AddStatistics(Category, 1, std::max<std::int64_t>(Size, 0));
        return 0;
    }
    if (Store)
        return FStore.Store(FileName) ? 0 : 1;
    if (!FileDelete(FileName))
        return 1;
    FStats.AddStatistics(Category, 1, std::max<std::int64_t>(Size, 0));
    return 0;
}

bool TFileActions::RemoveOne(TScanResults& Results, int Index, TRemoveKind Kind) {
    if (!ValidRow(Results, Index))
        return false;
    const TRemoveTexts Texts = TextsOf(Kind);
    const String Name = FullName(Results, Index);
    if (!FContext.Confirm(Format(FContext.Message(Texts.OneConfirm), {Name})))
        return false;
    // The one-file secure delete stores without shredding; the one-file shred does not store.
    if (RemoveFile(Name, Kind == TRemoveKind::SecureDelete, Kind == TRemoveKind::Shred) != 0)
        return false;
    // The question let messages through: the row is found again by its file.
    Results.DeleteFiles({Name});
    return true;
}

bool TFileActions::CanRemoveChecked(const TScanResults& Results) const {
    if (Results.CheckedCount() > 0)
        return true;
    FContext.Notice(FContext.Message(L"sNoSelectedFiles"));
    return false;
}

int TFileActions::ForEachChecked(TScanResults& Results, const String& Label,
                                 TProgressAnimation Animation,
                                 const std::function<bool(const String& FileName)>& Act) {
    // Taken before the first pump: whatever happens to the rows while the loop pumps, it acts
    // on exactly the files that were checked when it started.
    struct TChosen {
        String FullName;
        String Name;
    };
    std::vector<TChosen> Chosen;
    for (int Index = 0; Index < Results.Count(); ++Index)
        if (Results.Row(Index).Checked)
            Chosen.push_back({FullName(Results, Index), Results.File(Index).Name});
    if (Chosen.empty())
        return 0;
    const auto Total = static_cast<std::int64_t>(Chosen.size());
    TProgressScope Scope(FContext.Progress, Label, 100, false, Animation);
    std::vector<String> Gone;
    std::int64_t Done = 0;
    for (const TChosen& File : Chosen) {
        FContext.Progress.SetPosition(Done * 100 / Total);
        FContext.Progress.SetLabel(File.Name);
        FContext.Progress.Pump();
        ++Done;
        try {
            if (Act(File.FullName))
                Gone.push_back(File.FullName);
        } catch (const std::exception&) {
            // A row whose file could not be handled stays, checked.
        }
    }
    Results.DeleteFiles(Gone);
    return static_cast<int>(Gone.size());
}

int TFileActions::RemoveChecked(TScanResults& Results, TRemoveKind Kind) {
    const TRemoveTexts Texts = TextsOf(Kind);
    if (!FContext.Confirm(FContext.Message(Texts.CheckedConfirm)))
        return 0;
    return ForEachChecked(Results, FContext.Message(Texts.Label), Texts.Animation,
                          [&](const String& FileName) {
                              return RemoveFile(FileName, Texts.Store, Texts.Shred) == 0;
                          });
}

namespace {

// Moves a file or folder into Folder under its own name; never replaces, never through a link.
bool MoveInto(const String& FileName, const String& Folder) {
    const String Source = ExcludeTrailingBackslash(FileName);
    return IsLinkFreeEntry(Source) &&
           RenameFile(Source, IncludeTrailingBackslash(Folder) + ExtractFileName(Source));
}

} // namespace

bool TFileActions::MoveOne(TScanResults& Results, int Index, const String& Folder) {
    if (!ValidRow(Results, Index) || Folder.empty())
        return false;
    const String Name = FullName(Results, Index);
    if (!MoveInto(Name, Folder))
        return false;
    Results.DeleteFiles({Name});
    return true;
}

int TFileActions::MoveChecked(TScanResults& Results, const String& Folder) {
    if (Folder.empty())
        return -1;
    if (!DirectoryExists(Folder)) {
        if (!FContext.Confirm(FContext.Message(L"CreateFolderConfirm")))
            return -1;
        if (!ForceDirectories(Folder)) {
            FContext.Notice(Folder + L"\r\n" + SysErrorMessage(GetLastError()));
            return -1;
        }
    }
    return ForEachChecked(Results, FContext.Message(L"sOrganizingFile"), TProgressAnimation::None,
                          [&](const String& FileName) { return MoveInto(FileName, Folder); });
}

bool TFileActions::ZipOne(const TScanResults& Results, int Index, const String& ArchiveName) {
    if (!ValidRow(Results, Index) || ArchiveName.empty())
        return false;
    const TZipOutcome Outcome = FBackup.ZipFiles(ArchiveName, {FullName(Results, Index)});
    // Success of the one-file zip is not told.
    if (!Outcome.Ok())
        FBackup.ReportBackup(Outcome);
    return Outcome.Ok();
}

bool TFileActions::ZipChecked(const TScanResults& Results, const String& ArchiveName) {
    if (Results.CheckedCount() == 0 || ArchiveName.empty())
        return false;
    const TZipOutcome Outcome = FBackup.ZipChecked(ArchiveName, Results);
    FBackup.ReportBackup(Outcome);
    return Outcome.Ok();
}

bool TFileActions::BackupOne(const TScanResults& Results, int Index, const String& ArchiveName) {
    if (!ValidRow(Results, Index) || ArchiveName.empty())
        return false;
    const TZipOutcome Outcome = FBackup.BackupFiles(ArchiveName, {FullName(Results, Index)});
    FBackup.ReportBackup(Outcome);
    return Outcome.Ok();
}

bool TFileActions::BackupChecked(const TScanResults& Results) {
    if (Results.CheckedCount() == 0)
        return false;
    FBackup.BackupFromResults = true;
    FBackup.ResultsMode = FMode();
    return true;
}

// ------------------------------------------------------------ organize folders

std::vector<String> TOrganizeFolders::Folders() const {
    std::vector<String> List;
    for (FTable.First(); !FTable.Eof(); FTable.Next())
        List.push_back(FTable.FieldByName(L"Folder").AsString());
    return List;
}

void TOrganizeFolders::Add(const String& Folder) {
    FTable.Append();
    FTable.FieldByName(L"Folder").SetAsString(Folder);
    FTable.Post();
}

bool TOrganizeFolders::Remove(const String& Folder) {
    const String Wanted = IncludeTrailingBackslash(Folder);
    try {
        for (FTable.First(); !FTable.Eof(); FTable.Next()) {
            if (AnsiSameText(IncludeTrailingBackslash(FTable.FieldByName(L"Folder").AsString()),
                             Wanted)) {
                FTable.Delete();
                return true;
            }
        }
    } catch (const Exception&) {
    }
    return false;
}
