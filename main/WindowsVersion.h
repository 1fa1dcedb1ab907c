#pragma once
// The Windows version as the system features branch on it. The features take it as a value,
// so that the Windows 9x and XP branches can be tested on any system.

// Platform and version numbers as the kernel reports them.
struct TWindowsVersion {
    bool Win9x = false;
    int Major = 10;
    int Minor = 0;

    // The running system (its true version, not the compatibility one).
    static TWindowsVersion Current();

    // Windows NT 5.1 exactly.
    bool IsWinXP() const { return !Win9x && Major == 5 && Minor == 1; }
    bool IsNTFamily() const { return !Win9x; }
};

// 9x platform: 1 for version 4.0, 2 for later ones (98, Me); NT platform: 3 up to major 4,
// 4 for major 5 (2000, XP), 0 for anything later.
int GetWindowsFamily(const TWindowsVersion& Version);
