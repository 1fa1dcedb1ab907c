#include "main/DuplicateFinder.h"

#include "app/FileInfo.h"
#include "main/MainCore.h"

#include <optional>

// ------------------------------------------------------------ allowed names

void TAllowedDuplicates::Reload() {
    FNames.clear();
    FTable.First();
    while (!FTable.Eof()) {
        FNames.push_back(FTable.FieldByName(L"FileName").AsString());
        FTable.Next();
    }
}

String TAllowedDuplicates::MaskText() const {
    String Text;
    for (const String& Name : FNames) {
        if (Trim(Name).empty())
            continue;
        if (!Text.empty())
            Text += L"; ";
        Text += Name;
    }
    return Text;
}

bool TAllowedDuplicates::Add(const String& Name) {
    if (Trim(Name).empty())
        return false;
    try {
        AppendRecord(FTable, [&](TTable& T) { T.FieldByName(L"FileName").SetAsString(Name); });
    } catch (...) {
        Reload();
        throw;
    }
    Reload();
    return true;
}

bool TAllowedDuplicates::Delete(const String& Name) {
    FTable.First();
    while (!FTable.Eof()) {
        if (FTable.FieldByName(L"FileName").AsString() == Name) {
            FTable.Delete();
            Reload();
            return true;
        }
        FTable.Next();
    }
    return false;
}

// ------------------------------------------------------------------ groups

String FoldDuplicateName(const String& Name) {
    String Folded = Name;
    for (wchar_t& C : Folded)
        if (C >= L'a' && C <= L'z')
            C = static_cast<wchar_t>(C - L'a' + L'A');
    return Folded;
}

int CompareDuplicateGroups(const TFile* Group1, const TFile* Group2) {
    const std::uint64_t Size1 = Group1 ? Group1->GroupSize : 0;
    const std::uint64_t Size2 = Group2 ? Group2->GroupSize : 0;
    return Size1 < Size2 ? -1 : Size1 > Size2 ? 1 : 0;
}

String GroupSizeText(const TFile& Group) {
    return FormatFileSize(Group.GroupSize);
}

std::size_t TDuplicateGroups::TKeyHash::operator()(const TKey& Key) const {
    return std::hash<String>()(Key.FoldedName) ^ (std::hash<std::uint64_t>()(Key.Size) * 31);
}

void TDuplicateGroups::Clear() {
    FKeyedBySize = ByNameAndSize;
    FRows.clear();
    FBuckets.clear();
    FIndex.clear();
    FGroups.clear();
}

std::unique_ptr<TFile> TDuplicateGroups::MakeFile(const String& Path, const String& Name,
                                                  std::uint64_t Size, const FILETIME& Time) const {
    auto File = std::make_unique<TFile>();
    File->SetPath(IncludeTrailingBackslash(Path));
    File->Name = Name;
    File->Size = Size;
    File->Time = Time;
    File->Safety = FSafety.GetSafetyLevel(*File);
    return File;
}

void TDuplicateGroups::AddFile(const String& Path, const String& Name, std::uint64_t Size,
                               const FILETIME& Time) {
    if (Name.empty())
        return;
    TKey Key{FoldDuplicateName(Name), FKeyedBySize ? Size : 0};
    const auto Found = FIndex.find(Key);
    if (Found != FIndex.end()) {
        TFile& Group = *Found->second;
        Group.AddDuplicate(MakeFile(Path, Name, Size, Time));
        ++Group.CopyCount;
        Group.GroupSize += Size;
        return;
    }
    std::unique_ptr<TFile> Group = MakeFile(Path, Name, Size, Time);
    Group->GroupSize = Size;
    TFile* const Made = Group.get();
    FBuckets[Key.FoldedName[0]].push_back(Made);
    FIndex.emplace(std::move(Key), Made);
    FGroups.push_back(std::move(Group));
}

void TDuplicateGroups::PostPass(IProgress* Progress, const String& Selecting,
                                const String& Preparing) {
    std::optional<TProgressScope> Shown;
    if (Progress)
        Shown.emplace(*Progress, Selecting, static_cast<std::int64_t>(FGroups.size()), false);
    std::int64_t Step = 0;
    FRows.clear();
    for (const auto& [First, Bucket] : FBuckets) {
        for (auto Group = Bucket.rbegin(); Group != Bucket.rend(); ++Group) {
            if ((*Group)->CopyCount > 1)
                FRows.push_back(*Group);
            if (Progress) {
                Progress->SetPosition(++Step);
                Progress->Pump();
            }
        }
    }
    if (Progress) {
        Progress->SetLabel(Preparing);
        Progress->SetRange(static_cast<std::int64_t>(FRows.size()));
        for (std::size_t Row = 1; Row <= FRows.size(); ++Row) {
            Progress->SetPosition(static_cast<std::int64_t>(Row));
            Progress->Pump();
        }
    }
}

// ---------------------------------------------------------------- the mode

TDuplicateFinder::TDuplicateFinder(TMainCore& Core, const TFeatureContext& Context,
                                   IProgress* Progress)
    : FCore(Core), FContext(Context), FProgress(Progress),
      FAllowed(std::make_unique<TAllowedDuplicates>(*Core.Tables().DuplicatesTable)),
      FGroups(Core.Safety) {
    FCore.SetDuplicateGrouper(this);
}

TDuplicateFinder::~TDuplicateFinder() {
    FCore.SetDuplicateGrouper(nullptr);
}

void TDuplicateFinder::LoadAllowed() {
    FAllowed->Reload();
    FCore.AllowedDuplicateMasks = FAllowed->MaskText();
}

void TDuplicateFinder::Enter() {
    LoadAllowed();
    FCore.Flow.EnterMode(mdDuplicateFiles);
}

bool TDuplicateFinder::AddAllowed(const String& Name) {
    const bool Added = FAllowed->Add(Name);
    LoadAllowed();
    return Added;
}

bool TDuplicateFinder::DeleteAllowed(const String& Name) {
    const bool Deleted = FAllowed->Delete(Name);
    if (Deleted)
        LoadAllowed();
    return Deleted;
}

void TDuplicateFinder::Clear() {
    FGroups.ByNameAndSize = ByNameAndSize;
    FGroups.Clear();
}

void TDuplicateFinder::AddFile(const String& Path, const String& Name, std::uint64_t Size,
                               const FILETIME& Time) {
    try {
        FGroups.AddFile(Path, Name, Size, Time);
    } catch (...) {
        // A file that cannot be grouped is skipped.
    }
}

void TDuplicateFinder::PostPass() {
    FGroups.PostPass(FProgress, FContext.Message(L"sDuplicateFilesSelecting"),
                     FContext.Message(L"sDuplicateFilesPreparing"));
    if (!Groups().empty())
        SelectGroup(0);
}

void TDuplicateFinder::SelectGroup(int Index) {
    if (Index < 0 || Index >= static_cast<int>(Groups().size()))
        return;
    const TFile& Group = *Groups()[Index];
    FCore.Results.Clear();
    const auto Show = [this](const TFile& File) {
        if (!FileExists(File.FullName()))
            return;
        // The row owns a record of its own: removing it leaves the group as found.
        auto Row = std::make_unique<TFile>();
        Row->SetPath(File.SharedPath());
        Row->Name = File.Name;
        Row->Size = File.Size;
        Row->Time = File.Time;
        Row->Safety = File.Safety;
        Row->GroupSize = File.Size;
        FCore.Results.Append(std::move(Row), String());
    };
    Show(Group);
    for (const auto& Member : Group.Duplicates())
        Show(*Member);
    FCore.UpdateScanStatistics();
}
