#pragma once

#include "classlib/rtl/SysUtils.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The folder prepared by tests/make-fixtures.sh for the utilities, with a
// trailing backslash; empty when the fixtures are not there.
inline String UtilsFixtures() {
    const wchar_t* const Root = _wgetenv(L"QRV_FIXTURES");
    return Root ? IncludeTrailingBackslash(Root) + L"qrvutils\\" : String();
}

inline bool PathPresent(const String& Path) {
    return GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadBytes(const String& Path) {
    std::ifstream In(std::filesystem::path(Path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const String& Path, const std::string& Bytes) {
    std::ofstream(std::filesystem::path(Path), std::ios::binary) << Bytes;
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
