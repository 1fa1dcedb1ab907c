#include "main/ScanSetup.h"

#include "main/DataTables.h"
#include "classlib/rtl/PathLayer.h"

#include "classlib/db/DBTables.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int FirstPathRowId = 102;

String LongPathName(const String& Path) {
    const String Extended = ExtendedPath(Path);
    const DWORD Needed = GetLongPathNameW(Extended.c_str(), nullptr, 0);
    if (Needed == 0)
        return Path;
    String Result(Needed, L'\0');
    const DWORD Length = GetLongPathNameW(Extended.c_str(), Result.data(), Needed);
    if (Length == 0 || Length >= Needed)
        return Path;
    Result.resize(Length);
    return DisplayPath(Result);
}

// The path the file system resolves the folder to (through subst drives and links), in the
// "C:\..." or "\\server\share\..." form; Path itself when it cannot be told.
String FinalPathName(const String& Path) {
    const TOwnedHandle Folder = OwnHandle(CreateFileW(
        ExtendedPath(Path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!Folder)
        return Path;
    const DWORD Flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    const DWORD Needed = GetFinalPathNameByHandleW(Folder.get(), nullptr, 0, Flags);
    if (Needed == 0)
        return Path;
    String Result(Needed, L'\0');
    const DWORD Length = GetFinalPathNameByHandleW(Folder.get(), Result.data(), Needed, Flags);
    if (Length == 0 || Length >= Needed)
        return Path;
    Result.resize(Length);
    const String UncPrefix = L"\\\\?\\UNC\\";
    const String LocalPrefix = L"\\\\?\\";
    if (Result.compare(0, UncPrefix.size(), UncPrefix) == 0)
        return L"\\\\" + Result.substr(UncPrefix.size());
    if (Result.compare(0, LocalPrefix.size(), LocalPrefix) == 0)
        return Result.substr(LocalPrefix.size());
    return Path;
}

// One spelling per folder, for comparing folders: full, long, resolved, upper case, with a
// trailing backslash.
String CanonicalFolder(const String& Path) {
    const String Full = IncludeTrailingBackslash(ExpandFileName(Path));
    return AnsiUpperCase(IncludeTrailingBackslash(FinalPathName(LongPathName(Full))));
}

bool LiesIn(const String& Folder, const String& Root) {
    return Folder.compare(0, Root.size(), Root) == 0;
}

} // namespace

// ------------------------------------------------------------------- paths

void TScanPathList::FillFixedDrives() {
    FRows.clear();
    for (wchar_t Letter = L'C'; Letter <= L'Z'; ++Letter) {
        const String Root = String(1, Letter) + L":\\";
        if (FDrives.DriveType(Root) == DRIVE_FIXED)
            AddSpecialFolderNode(Count() + FirstPathRowId, *this, nullptr, Root, String(), 1);
    }
}

int TScanPathList::AddFolder(const String& Folder) {
    AddSpecialFolderNode(Count() + FirstPathRowId, *this, nullptr, Folder, String(), 1);
    return Count() - 1;
}

TCvTreeItem* TScanPathList::AddRow(TCvTreeItem*, const String&, int ImageIndex, const String&,
                                   std::unique_ptr<TDirItem> Item) {
    // Judged by the drive facts this list was given, like every other drive test of the scan.
    Item->NotFixedDrive = !IsOnFixedDrive(FDrives, Item->Path);
    TScanPathRow Row;
    Row.Item = std::move(Item);
    Row.ImageIndex = ImageIndex;
    FRows.push_back(std::move(Row));
    return nullptr;
}

void TScanPathList::DeleteRow(int Index) {
    if (Index >= 0 && Index < Count())
        FRows.erase(FRows.begin() + Index);
}

std::vector<String> TScanPathList::ScanRoots() const {
    std::vector<String> Paths;
    for (const TScanPathRow& Row : FRows)
        if (Row.Checked && !Row.Item->NotFixedDrive)
            Paths.push_back(Row.Item->Path);
    return DistinctRoots(Paths);
}

std::vector<String> TScanPathList::CheckedRoots() const {
    std::vector<String> Paths;
    for (const TScanPathRow& Row : FRows)
        if (Row.Checked)
            Paths.push_back(Row.Item->Path);
    return DistinctRoots(Paths);
}

std::vector<String> DistinctRoots(const std::vector<String>& Paths) {
    std::vector<String> Canonical;
    Canonical.reserve(Paths.size());
    for (const String& Path : Paths)
        Canonical.push_back(CanonicalFolder(Path));

    std::vector<String> Result;
    for (size_t I = 0; I < Paths.size(); ++I) {
        if (Paths[I].empty())
            continue;
        bool Covered = false;
        for (size_t J = 0; J < Paths.size() && !Covered; ++J) {
            if (J == I || Paths[J].empty() || !LiesIn(Canonical[I], Canonical[J]))
                continue;
            // The same folder twice: the first row walks it.
            Covered = Canonical[I].size() != Canonical[J].size() || J < I;
        }
        if (!Covered)
            Result.push_back(Paths[I]);
    }
    return Result;
}

// -------------------------------------------------------------- junk masks

void TJunkMaskList::Reload() {
    FItems.clear();
    FTable.First();
    while (!FTable.Eof()) {
        FItems.push_back({FTable.FieldByName(L"Extension").AsString(),
                          FTable.FieldByName(L"ExtensionDescription").AsString()});
        FTable.Next();
    }
}

String TJunkMaskList::MaskText() const {
    String Text;
    for (const TJunkMask& Mask : FItems) {
        if (Trim(Mask.Extension).empty())
            continue;
        if (!Text.empty())
            Text += L"; ";
        Text += Mask.Extension;
    }
    return Text;
}

bool TJunkMaskList::Add(const String& Extension, const String& Description) {
    if (Trim(Extension).empty())
        return false;
    try {
        AppendRecord(FTable, [&](TTable& T) {
            T.FieldByName(L"Extension").SetAsString(Extension);
            T.FieldByName(L"ExtensionDescription").SetAsString(Description);
        });
    } catch (...) {
        Reload();
        throw;
    }
    Reload();
    return true;
}

int TJunkMaskList::Delete(const String& Extension) {
    int Deleted = 0;
    FTable.First();
    while (!FTable.Eof()) {
        if (FTable.FieldByName(L"Extension").AsString() != Extension) {
            FTable.Next();
            continue;
        }
        try {
            FTable.Delete(); // moves on to the following record
            ++Deleted;
        } catch (const Exception&) {
            FTable.Next();
        }
    }
    if (Deleted > 0)
        Reload();
    return Deleted;
}

// ----------------------------------------------------------------- options

std::int64_t SizeUnitBytes(int UnitIndex) {
    switch (UnitIndex) {
    case 1:
        return 1024;
    case 2:
        return 1048576;
    case 3:
        return 1073741824;
    default:
        return 1;
    }
}

int PeriodDays(int PeriodIndex) {
    switch (PeriodIndex) {
    case 1:
        return 7;
    case 2:
        return 30;
    case 3:
        return 365;
    default:
        return 1;
    }
}

std::int64_t SizeInBytes(double Value, int UnitIndex) {
    const double Bytes = std::trunc(Value * static_cast<double>(SizeUnitBytes(UnitIndex)));
    if (std::isnan(Bytes))
        return 0;
    if (Bytes >= 9223372036854775807.0)
        return std::numeric_limits<std::int64_t>::max();
    if (Bytes <= -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(Bytes);
}

std::uint64_t TScanOptions::LargeFileThreshold() const {
    return static_cast<std::uint64_t>(std::max<std::int64_t>(0, SizeInBytes(LargeValue, SizeUnit)));
}

int TScanOptions::OldFileDays() const {
    const double Days = std::trunc(OldValue) * PeriodDays(Period);
    if (!(Days > 0))
        return 0;
    if (Days >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(Days);
}
