#include "main/WindowsVersion.h"

#include "classlib/rtl/WinApi.h"

TWindowsVersion TWindowsVersion::Current() {
    // GetVersionEx reports what the program's manifest allows; the kernel's own call does not.
    using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    TWindowsVersion Version;
    OSVERSIONINFOW Info{};
    Info.dwOSVersionInfoSize = sizeof Info;
    const HMODULE Ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto RtlGetVersion = Ntdll ? reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void*>(
                                           GetProcAddress(Ntdll, "RtlGetVersion")))
                                     : nullptr;
    if (RtlGetVersion && RtlGetVersion(&Info) == 0) {
        Version.Win9x = Info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
        Version.Major = static_cast<int>(Info.dwMajorVersion);
        Version.Minor = static_cast<int>(Info.dwMinorVersion);
    }
    return Version;
}

int GetWindowsFamily(const TWindowsVersion& Version) {
    if (Version.Win9x)
        return Version.Major == 4 && Version.Minor == 0 ? 1 : 2;
    if (Version.Major <= 4)
        return 3;
    return Version.Major == 5 ? 4 : 0;
}
