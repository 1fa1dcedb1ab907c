#pragma once
// Both programs read one language file. The main program's test cannot make the scheduler's
// window, so these are the sections of that window's controls; the scheduler's test checks each
// names one of its controls, and the main program's test accepts them.

#include <array>

inline constexpr std::array<const wchar_t*, 19> SchedulerWindowSections{
    L"frmSchedulerMain",    L"grpIntervals",    L"chkEnabled",     L"labEveryMinutes",
    L"labEveryHours",       L"labEveryDaysAt",  L"labHourColon",   L"labEveryWeeksOn",
    L"labEveryMonthsOnDay", L"labOnDateAt",     L"labOnDateColon", L"labFreeSpaceMB",
    L"btnAddFolder",        L"btnDeleteFolder", L"btnAddLaunch",   L"btnDeleteLaunch",
    L"btnJunkAdd",          L"btnJunkDelete",   L"btnRunNow"};
