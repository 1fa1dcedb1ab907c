#include "main/ScanResults.h"

#include "app/FileInfo.h"
#include "app/Match.h"
#include "main/ScanSetup.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <unordered_set>

namespace {

bool AtLeast(std::uint64_t Size, std::int64_t Bound) {
    return Bound < 0 || Size >= static_cast<std::uint64_t>(Bound);
}

bool AtMost(std::uint64_t Size, std::int64_t Bound) {
    return Bound >= 0 && Size <= static_cast<std::uint64_t>(Bound);
}

std::int64_t AsBarValue(std::uint64_t Value) {
    return Value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
               ? std::numeric_limits<std::int64_t>::max()
               : static_cast<std::int64_t>(Value);
}

} // namespace

void TScanResults::EndUpdate() {
    // What the growth reserved goes back: the rows stay as long as the results page.
    FRows.shrink_to_fit();
}

void TScanResults::Clear() {
    FRows.clear();
    FRows.shrink_to_fit();
    FLinkTargets.clear();
    FIndex.clear();
    FIndex.shrink_to_fit();
    FIndexValid = false;
}

void TScanResults::Append(std::unique_ptr<TFile> File, const String& LinkTarget) {
    TScanRow Row;
    Row.File = std::move(File);
    if (!LinkTarget.empty())
        FLinkTargets[Row.File.get()] = LinkTarget;
    FRows.push_back(std::move(Row));
    FIndexValid = false;
}

const String& TScanResults::LinkTarget(int Index) const {
    static const String None;
    const auto Found = FLinkTargets.find(FRows.at(Index).File.get());
    return Found == FLinkTargets.end() ? None : Found->second;
}

void TScanResults::ForgetLinkTarget(const TFile* File) {
    if (!FLinkTargets.empty())
        FLinkTargets.erase(File);
}

int TScanResults::IndexOf(const TFile* File) const {
    if (!FIndexValid) {
        FIndex.clear();
        FIndex.reserve(FRows.size());
        for (size_t I = 0; I < FRows.size(); ++I)
            FIndex.emplace_back(FRows[I].File.get(), static_cast<int>(I));
        std::sort(FIndex.begin(), FIndex.end());
        FIndexValid = true;
    }
    const auto Found =
        std::lower_bound(FIndex.begin(), FIndex.end(), std::pair<const TFile*, int>(File, -1));
    return Found != FIndex.end() && Found->first == File ? Found->second : -1;
}

void TScanResults::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        return;
    ForgetLinkTarget(FRows[Index].File.get());
    FRows.erase(FRows.begin() + Index);
    FIndexValid = false;
}

void TScanResults::DeleteMarked(const std::vector<bool>& Marked) {
    size_t Kept = 0;
    for (size_t I = 0; I < FRows.size(); ++I)
        if (I >= Marked.size() || !Marked[I]) {
            if (Kept != I)
                FRows[Kept] = std::move(FRows[I]);
            ++Kept;
        } else {
            ForgetLinkTarget(FRows[I].File.get());
        }
    FRows.resize(Kept);
    FIndexValid = false;
}

void TScanResults::DeleteFiles(const std::vector<String>& FullNames) {
    if (FullNames.empty())
        return;
    std::unordered_set<String> Wanted;
    for (const String& Name : FullNames)
        Wanted.insert(UpperCase(Name));
    std::vector<bool> Marked(FRows.size(), false);
    for (size_t I = 0; I < FRows.size(); ++I)
        Marked[I] = Wanted.contains(UpperCase(FRows[I].File->FullName()));
    DeleteMarked(Marked);
}

void TScanResults::KeepFirst(int Count) {
    if (Count < 0 || Count >= this->Count())
        return;
    for (size_t I = static_cast<size_t>(Count); I < FRows.size(); ++I)
        ForgetLinkTarget(FRows[I].File.get());
    FRows.resize(static_cast<size_t>(Count));
    FIndexValid = false;
}

void TScanResults::CheckAll(bool Checked) {
    for (TScanRow& Row : FRows)
        if (!Row.Hidden)
            Row.Checked = Checked;
}

bool TScanResults::FilteredVisibility() const {
    return std::any_of(FRows.begin(), FRows.end(), [](const TScanRow& Row) { return Row.Hidden; });
}

int TScanResults::CheckedCount() const {
    int Result = 0;
    for (const TScanRow& Row : FRows)
        Result += Row.Checked ? 1 : 0;
    return Result;
}

TResultFilter::TResultFilter(const TFilterCriteria& Criteria) : FCriteria(Criteria) {
    FNames.SetMask(Criteria.NameMask);
}

bool TResultFilter::Hides(const TFile& File) const {
    const TFilterCriteria& Criteria = FCriteria;
    if (Criteria.ByName && !FNames.Matches(File.Name))
        return true;
    if (Criteria.NotOlderThan || Criteria.NewerThan) {
        const TDateTime Written = FileTimeToLocalDateTime(File.Time);
        if (Criteria.NotOlderThan && Written < std::floor(Criteria.NotOlderThanDate))
            return true;
        if (Criteria.NewerThan && Written > std::floor(Criteria.NewerThanDate))
            return true;
    }
    if (Criteria.SmallerThan &&
        AtLeast(File.Size, SizeInBytes(Criteria.SmallerValue, Criteria.SmallerUnit)))
        return true;
    if (Criteria.LargerThan &&
        AtMost(File.Size, SizeInBytes(Criteria.LargerValue, Criteria.LargerUnit)))
        return true;
    // A group with no box checked tests nothing: a name-only filter keeps every class.
    if (!Criteria.Safe && !Criteria.Warning && !Criteria.Critical)
        return false;
    switch (File.Safety) {
    case slSafe:
        return !Criteria.Safe;
    case slWarning:
        return !Criteria.Warning;
    case slCritical:
        return !Criteria.Critical;
    default:
        return false;
    }
}

void TScanResults::ApplyFilter(const TFilterCriteria& Criteria) {
    const TResultFilter Filter(Criteria);
    for (TScanRow& Row : FRows) {
        Row.Hidden = Filter.Hides(*Row.File);
        if (Row.Hidden)
            Row.Checked = false;
    }
}

void TScanResults::ClearFilter() {
    for (TScanRow& Row : FRows) {
        Row.Hidden = false;
        Row.Checked = false;
    }
}

TScanStatistics ComputeScanStatistics(const TScanResults& Results, int Mode,
                                      const TScanPathList& Paths, const IDriveInfo& Drives) {
    TScanStatistics Stats;
    std::uint64_t All = 0;
    std::array<std::uint64_t, 3> ByClass{};
    for (int I = 0; I < Results.Count(); ++I) {
        const TScanRow& Row = Results.Row(I);
        if (!Row.Hidden) {
            ++Stats.VisibleCount;
            Stats.VisibleSize += Row.File->Size;
        }
        All += Row.File->Size;
        if (Row.File->Safety < ByClass.size())
            ByClass[Row.File->Safety] += Row.File->Size;
    }

    std::set<wchar_t> Letters;
    for (int I = 0; I < Paths.Count(); ++I) {
        const String& Path = Paths.Item(I).Path;
        if (Path.empty() || Path[0] == L'\\')
            continue;
        const wchar_t Letter = static_cast<wchar_t>(towupper(Path[0]));
        if (!Letters.insert(Letter).second)
            continue;
        const std::int64_t Total = Drives.DiskTotalSize(String(1, Letter) + L":\\");
        if (Total > 0)
            Stats.DiskTotal += Total;
    }

    const std::int64_t Found = AsBarValue(All);
    Stats.Bars[0] = {true, Stats.DiskTotal, Found};
    if (Mode == mdJunkFiles || Mode == mdBrokenLinks) {
        Stats.SingleBar = true;
        Stats.Bars[0].Visible = false;
        Stats.Bars[1] = {true, Stats.DiskTotal, Found};
        Stats.Bars[2] = {false, 0, 0};
        Stats.Bars[3] = {false, 0, 0};
    } else {
        for (size_t C = 0; C < ByClass.size(); ++C)
            Stats.Bars[C + 1] = {true, Found, AsBarValue(ByClass[C])};
    }
    return Stats;
}

std::vector<TResultColumn> ResultColumns(int Mode) {
    const String Junk = L"lvScanResultsJunkFilesColumnName";
    switch (Mode) {
    case mdBrokenLinks:
        return {{Junk + L"1", 150}, {Junk + L"2", 300}, {Junk + L"6", 250}};
    case mdEmptyFolders:
        // The folder's path is the row's own text: a second column would stay empty.
        return {{L"lvScanResultsEmptyFilesColumnName1", 460}};
    default:
        return {{Junk + L"1", 135},
                {Junk + L"2", 175},
                {Junk + L"3", 50, true, false, false},
                {Junk + L"4", 100},
                {Junk + L"5", 100, false, false, false, true}};
    }
}

std::vector<TResultColumn> DuplicateGroupColumns() {
    return {
        {L"sFilename", 100, false, true}, {L"sCount", 45, false, true}, {L"sSize", 70, true, true}};
}

std::vector<int> FitColumnWidths(std::vector<int> Widths, const std::vector<bool>& GivesWay,
                                 int Available, int FirstIndent) {
    if (Widths.empty())
        return Widths;
    int Total = 0;
    for (const int Width : Widths)
        Total += Width;
    if (Total < Available)
        Widths.back() += Available - Total;
    const auto TextRoom = [&](std::size_t I) { return Widths[I] - (I == 0 ? FirstIndent : 0); };
    while (Total > Available) {
        int Widest = -1;
        for (std::size_t I = 0; I < Widths.size(); ++I)
            if (I < GivesWay.size() && GivesWay[I] && TextRoom(I) > MinColumnWidth &&
                (Widest < 0 || TextRoom(I) > TextRoom(Widest)))
                Widest = static_cast<int>(I);
        if (Widest < 0)
            break;
        --Widths[Widest];
        --Total;
    }
    return Widths;
}

bool ResultCommandsShown(int Mode) {
    // Zipping, backing up or moving junk, shortcuts that lead nowhere or empty folders makes
    // no sense.
    return Mode != mdJunkFiles && Mode != mdBrokenLinks && Mode != mdEmptyFolders;
}
