#include "main/RecoveryStore.h"

#include "app/QRVUtils.h"
#include "classlib/rtl/PathLayer.h"

#include <algorithm>

String RecoveryFolderFor(const String& FileName) {
    const String Drive = ExtractFileDrive(FileName);
    if (Drive.empty())
        return String();
    return AddBackslash(Drive) + L"System Corvanta Recycled\\";
}

bool IsInRecoveryStore(const String& Path) {
    const String Entry = IncludeTrailingBackslash(DisplayPath(Path));
    const String Folder = RecoveryFolderFor(Entry);
    return !Folder.empty() && Entry.size() >= Folder.size() &&
           AnsiSameText(Entry.substr(0, Folder.size()), Folder);
}

TRecoveryStore::TRecoveryStore(TTable& Table, const IClock& Clock, TFolderFor FolderFor)
    : FTable(Table), FClock(Clock), FFolderFor(std::move(FolderFor)) {}

bool TRecoveryStore::Store(const String& FileName) {
    const String Folder = FFolderFor(FileName);
    if (Folder.empty() || !FileExists(FileName) || !ForceDirectories(Folder))
        return false;
    const TDateTime When = FClock.Now();
    // Unique in the folder: two stores within one clock tick must not collide.
    const String NewName = UniqueTimestampName(Folder, DateTimeToSystemTime(When));
    if (!RenameFile(FileName, Folder + NewName))
        return false;
    try {
        FTable.Append();
        FTable.FieldByName(L"Date").SetAsDateTime(When);
        FTable.FieldByName(L"OriginalFileName").SetAsString(FileName);
        FTable.FieldByName(L"NewLocation").SetAsString(Folder);
        FTable.FieldByName(L"NewFileName").SetAsString(NewName);
        FTable.Post();
    } catch (const Exception&) {
        // The file is stored; only its way back is not recorded.
        try {
            FTable.Cancel();
        } catch (const Exception&) {
        }
    }
    return true;
}

bool TRecoveryStore::RestoreRecoveryFile(const TRecoveryFile& Entry) {
    if (Entry.NewFileName.empty() || Entry.OriginalFileName.empty())
        return false;
    // The rename never replaces: a name taken again keeps both files.
    return RenameFile(IncludeTrailingBackslash(Entry.NewLocation) + Entry.NewFileName,
                      Entry.OriginalFileName);
}

bool TRecoveryStore::DeleteRecoveryRow(const TRecoveryFile& Entry) {
    return DeleteRecordWithId(FTable, Entry.ID);
}

namespace {

bool SameDay(TDateTime A, TDateTime B) {
    int YearA, MonthA, DayA, YearB, MonthB, DayB;
    DecodeDate(A, YearA, MonthA, DayA);
    DecodeDate(B, YearB, MonthB, DayB);
    return YearA == YearB && MonthA == MonthB && DayA == DayB;
}

TRecoveryDay* FindDay(std::vector<TRecoveryDay>& Days, TDateTime Date) {
    const auto It = std::find_if(Days.begin(), Days.end(), [Date](const TRecoveryDay& Day) {
        return SameDay(Day.Date, Date);
    });
    return It == Days.end() ? nullptr : &*It;
}

} // namespace

std::vector<TRecoveryDay> TRecoveryStore::List() {
    std::vector<TRecoveryDay> Days;
    for (FTable.First(); !FTable.Eof(); FTable.Next()) {
        TRecoveryFile Entry;
        Entry.ID = FTable.FieldByName(AutoIncFieldName).AsInteger();
        Entry.Date = FTable.FieldByName(L"Date").AsDateTime();
        Entry.OriginalFileName = FTable.FieldByName(L"OriginalFileName").AsString();
        Entry.NewLocation = FTable.FieldByName(L"NewLocation").AsString();
        Entry.NewFileName = FTable.FieldByName(L"NewFileName").AsString();
        TRecoveryDay* Day = FindDay(Days, Entry.Date);
        if (!Day)
            Day = &Days.emplace_back(TRecoveryDay{Entry.Date, {}});
        // Each file goes first under its day, so a day lists its latest-stored file first.
        Day->Files.insert(Day->Files.begin(), TRecoveryRow{std::move(Entry), false});
    }
    return Days;
}

TRecoveryDay* TRecoveryList::FindRecoveryDayGroup(TDateTime Date) {
    return FindDay(Days, Date);
}

void TRecoveryList::CheckAll(bool Checked) {
    for (TRecoveryDay& Day : Days)
        for (TRecoveryRow& Row : Day.Files)
            Row.Checked = Checked;
}

int TRecoveryList::RemoveCheckedWhere(const std::function<bool(const TRecoveryFile&)>& Action) {
    int Removed = 0;
    for (TRecoveryDay& Day : Days) {
        std::erase_if(Day.Files, [&](const TRecoveryRow& Row) {
            const bool Gone = Row.Checked && Action(Row.Entry);
            Removed += Gone ? 1 : 0;
            return Gone;
        });
    }
    // A day heading with nothing under it would offer nothing to restore.
    std::erase_if(Days, [](const TRecoveryDay& Day) { return Day.Files.empty(); });
    return Removed;
}

int TRecoveryList::RestoreChecked() {
    return RemoveCheckedWhere([this](const TRecoveryFile& Entry) {
        return FStore.RestoreRecoveryFile(Entry) && FStore.DeleteRecoveryRow(Entry);
    });
}

int TRecoveryList::DropChecked() {
    return RemoveCheckedWhere(
        [this](const TRecoveryFile& Entry) { return FStore.DeleteRecoveryRow(Entry); });
}
