#include "main/FolderCleaner.h"

#include "app/QRVUtils.h"
#include "classlib/rtl/PathLayer.h"
#include "main/Statistics.h"

#include <algorithm>
#include <optional>

TFolderCleaner::TFolderCleaner(TTable& FolderCleanerTable, const TFeatureContext& Context,
                               IProgress* PleaseWait, TShellRun Shell)
    : FTable(FolderCleanerTable), FContext(Context), FPleaseWait(PleaseWait),
      FShell(std::move(Shell)) {
    if (!FShell)
        FShell = [](const TShellRequest& Request) { RunShellRequest(nullptr, Request); };
}

void TFolderCleaner::Load() {
    FFolders.clear();
    try {
        for (FTable.First(); !FTable.Eof(); FTable.Next())
            FFolders.push_back(FTable.FieldByName(L"Folder").AsString());
    } catch (const Exception&) {
        // The folders read so far are listed.
    }
}

bool TFolderCleaner::Add(const String& Folder) {
    try {
        FTable.Append();
        FTable.FieldByName(L"Folder").SetAsString(Folder);
        FTable.Post();
    } catch (const Exception&) {
        FTable.Cancel();
        return false;
    }
    FFolders.push_back(Folder);
    return true;
}

bool TFolderCleaner::DeleteFolderCleanerRow(const String& Folder) {
    bool Deleted = false;
    try {
        for (FTable.First(); !FTable.Eof();) {
            if (FTable.FieldByName(L"Folder").AsString() == Folder) {
                FTable.Delete();
                Deleted = true;
            } else {
                FTable.Next();
            }
        }
    } catch (const Exception&) {
        // What was deleted stays deleted.
    }
    return Deleted;
}

bool TFolderCleaner::Remove(std::size_t Index) {
    if (Index >= FFolders.size())
        return false;
    const String Folder = FFolders[Index];
    DeleteFolderCleanerRow(Folder);
    // Every row of that folder lost its record.
    std::erase(FFolders, Folder);
    return true;
}

void TFolderCleaner::Explore(std::size_t Index) {
    if (Index < FFolders.size())
        FShell({L"explore", IncludeTrailingBackslash(FFolders[Index]), String(), String()});
}

TFolderEmptying TFolderCleaner::Empty(std::size_t Index) {
    if (Index >= FFolders.size() ||
        !FContext.Confirm(FContext.Message(L"FolderCleanerEmptyFolder")))
        return feNothing;
    const String Folder = FFolders[Index];

    std::int64_t BytesGone = 0;
    std::int64_t FilesGone = 0;
    TTreeDelete Check = tdAllowed;
    {
        std::optional<TProgressScope> Wait;
        if (FPleaseWait)
            Wait.emplace(*FPleaseWait, FContext.Message(L"sCleaningEmptyFolder"), 0, false,
                         TProgressAnimation::DeleteFile);
        Check = CheckTreeDelete(Folder);
        if (Check == tdAllowed) {
            // Counted is what went: files that could not be deleted stay out of the figures.
            std::int64_t BytesBefore = 0, FilesBefore = 0, BytesAfter = 0, FilesAfter = 0;
            GetFolderSize(Folder, true, BytesBefore, FilesBefore);
            DeleteFolderFiles(Folder, false, true);
            GetFolderSize(Folder, true, BytesAfter, FilesAfter);
            BytesGone = std::max<std::int64_t>(0, BytesBefore - BytesAfter);
            FilesGone = std::max<std::int64_t>(0, FilesBefore - FilesAfter);
        }
    }
    if (Check != tdAllowed) {
        const bool Missing = Check == tdMissing;
        FContext.Notice(
            FContext.Message(Missing ? L"sFolderCleanerMissing" : L"sFolderCleanerRefused", Folder),
            IPrompt::IconStop);
        return Missing ? feMissing : feRefused;
    }
    FContext.Stats().AddStatistics(FolderCleanerCategory, FilesGone, BytesGone);
    FContext.Notice(FContext.Message(L"FolderCleaned"), IPrompt::IconInformation);
    FContext.Log(L"S_Log_FolderCleaner_DeleteFolder", Folder);
    return feEmptied;
}
