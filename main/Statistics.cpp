#include "main/Statistics.h"

#include "classlib/rtl/IniFiles.h"
#include "main/MainMode.h"

#include <cstdint>

namespace {

const wchar_t* const ReportSection = L"Report";

String CountKey(int Category) {
    return L"TotalFiles" + IntToStr(Category);
}

String SizeKey(int Category) {
    return L"TotalSpace" + IntToStr(Category);
}

// Earlier versions kept only the low 32 bits, signed: a total past 2 GB reads as negative and
// is taken as the unsigned value it stood for. Totals never shrink, so nothing else is negative.
std::int64_t ReadTotal(const TIniFile& Ini, const String& Key) {
    const std::int64_t Value = Ini.ReadInt64(ReportSection, Key, 0);
    if (Value >= 0)
        return Value;
    return Value >= INT32_MIN ? Value + (std::int64_t{1} << 32) : 0;
}

} // namespace

bool TStatistics::ValidCategory(int Category) {
    return Category >= FirstCategory && Category <= LastCategory;
}

std::size_t TStatistics::Slot(int Category) {
    return static_cast<std::size_t>(Category - FirstCategory);
}

void TStatistics::AddStatistics(int Category, std::int64_t Count, std::int64_t Size) {
    if (!ValidCategory(Category))
        return;
    FReportPending = true;
    for (auto* Counters : {&FCurrent, &FTotal}) {
        TCounter& Counter = (*Counters)[Slot(Category)];
        Counter.Count += Count;
        Counter.Size += Size;
    }
}

void TStatistics::AddLogLine(const String& Text) {
    FReportPending = true;
    FLogLines.Add(Text);
}

std::int64_t TStatistics::CurrentCount(int Category) const {
    return ValidCategory(Category) ? FCurrent[Slot(Category)].Count : 0;
}

std::int64_t TStatistics::CurrentSize(int Category) const {
    return ValidCategory(Category) ? FCurrent[Slot(Category)].Size : 0;
}

std::int64_t TStatistics::TotalCount(int Category) const {
    return ValidCategory(Category) ? FTotal[Slot(Category)].Count : 0;
}

std::int64_t TStatistics::TotalSize(int Category) const {
    return ValidCategory(Category) ? FTotal[Slot(Category)].Size : 0;
}

void TStatistics::LoadTotals(const String& IniFileName) {
    const TIniFile Ini(IniFileName);
    for (int Category = FirstCategory; Category <= LastCategory; ++Category) {
        TCounter& Total = FTotal[Slot(Category)];
        Total.Count = ReadTotal(Ini, CountKey(Category));
        Total.Size = ReadTotal(Ini, SizeKey(Category));
    }
}

void TStatistics::SaveTotals(const String& IniFileName) const {
    TIniFile Ini(IniFileName);
    for (int Category = FirstCategory; Category <= LastCategory; ++Category) {
        const TCounter& Total = FTotal[Slot(Category)];
        Ini.WriteInt64(ReportSection, CountKey(Category), Total.Count);
        Ini.WriteInt64(ReportSection, SizeKey(Category), Total.Size);
    }
}

int StatisticsCategory(int Mode) {
    switch (Mode) {
    case mdLargeFiles:
        return 2;
    case mdOldFiles:
        return 3;
    case mdDuplicateFiles:
        return 4;
    case mdRegistryCleaner:
        return 5;
    case mdInternetPrivacy:
        return 6;
    default:
        return 1;
    }
}
