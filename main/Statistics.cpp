#include "main/Statistics.h"

#include "classlib/rtl/IniFiles.h"
#include "main/MainMode.h"

namespace {

const wchar_t* const ReportSection = L"Report";

String CountKey(int Category) {
    return L"TotalFiles" + IntToStr(Category);
}

String SizeKey(int Category) {
    return L"TotalSpace" + IntToStr(Category);
}

// The stored keys are 32 bits wide.
int Low32(std::int64_t Value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(Value)));
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
        Total.Count = Ini.ReadInteger(ReportSection, CountKey(Category), 0);
        Total.Size = Ini.ReadInteger(ReportSection, SizeKey(Category), 0);
    }
}

void TStatistics::SaveTotals(const String& IniFileName) const {
    TIniFile Ini(IniFileName);
    for (int Category = FirstCategory; Category <= LastCategory; ++Category) {
        const TCounter& Total = FTotal[Slot(Category)];
        Ini.WriteInteger(ReportSection, CountKey(Category), Low32(Total.Count));
        Ini.WriteInteger(ReportSection, SizeKey(Category), Low32(Total.Size));
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
