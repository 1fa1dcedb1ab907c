#pragma once

#include "classlib/rtl/SysUtils.h"

#include "classlib/rtl/WinApi.h"

// The folder prepared by tests/make-fixtures.sh for the utilities, with a
// trailing backslash; empty when the fixtures are not there.
inline String UtilsFixtures() {
    const wchar_t* const Root = _wgetenv(L"QRV_FIXTURES");
    return Root ? IncludeTrailingBackslash(Root) + L"qrvutils\\" : String();
}

// A wall-clock time as the system gives it.
inline SYSTEMTIME LocalTime(WORD Year, WORD Month, WORD Day, WORD Hour, WORD Minute, WORD Second,
                            WORD Milli) {
    SYSTEMTIME Time{};
    Time.wYear = Year;
    Time.wMonth = Month;
    Time.wDay = Day;
    Time.wHour = Hour;
    Time.wMinute = Minute;
    Time.wSecond = Second;
    Time.wMilliseconds = Milli;
    return Time;
}

// A drive letter with no drive behind it, such as "Q:".
inline String UnusedDrive() {
    for (wchar_t Letter = L'Q'; Letter <= L'Y'; ++Letter) {
        const String Root = String(1, Letter) + L":\\";
        if (GetDriveTypeW(Root.c_str()) == DRIVE_NO_ROOT_DIR)
            return Root.substr(0, 2);
    }
    return String();
}
