#pragma once

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"

#include <array>
#include <cstdint>

// What the user removed, per category, in this run and for all time, and the
// action log of the run. Categories: 1 junk and every other mode, 2 large
// files, 3 old files, 4 duplicates, 5 folder cleaner, 6 internet cache.
class TStatistics {
public:
    static constexpr int FirstCategory = 1;
    static constexpr int LastCategory = 6;

    // A category outside 1..6 counts nowhere.
    void AddStatistics(int Category, std::int64_t Count, std::int64_t Size);
    void AddLogLine(const String& Text);

    std::int64_t CurrentCount(int Category) const;
    std::int64_t CurrentSize(int Category) const;
    std::int64_t TotalCount(int Category) const;
    std::int64_t TotalSize(int Category) const;
    const TStringList& LogLines() const { return FLogLines; }

    // Something was counted or logged since the last report offer.
    bool ReportPending() const { return FReportPending; }
    void ClearReportPending() { FReportPending = false; }

    // The all-time totals in section [Report] of qv.ini, TotalFiles<n> and
    // TotalSpace<n>, as 64-bit decimal numbers. A negative value (the low 32 bits that
    // earlier versions kept) reads as its unsigned 32 bits; a missing key reads as 0.
    void LoadTotals(const String& IniFileName);
    void SaveTotals(const String& IniFileName) const; // throws when qv.ini cannot be written

private:
    struct TCounter {
        std::int64_t Count = 0;
        std::int64_t Size = 0;
    };
    static bool ValidCategory(int Category);
    static std::size_t Slot(int Category);

    std::array<TCounter, LastCategory> FCurrent{};
    std::array<TCounter, LastCategory> FTotal{};
    TStringList FLogLines;
    bool FReportPending = false;
};

// The category a removal from the results list counts in, by the main
// window's mode (TMainMode): large files 2, old files 3, duplicates 4,
// registry cleaner 5, internet privacy 6, every other mode 1.
int StatisticsCategory(int Mode);
