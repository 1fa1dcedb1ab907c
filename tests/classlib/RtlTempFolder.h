#pragma once

#include "classlib/rtl/SysUtils.h"

#include <filesystem>
#include <string_view>

#include <windows.h>

// A fresh folder under the temp folder, removed with its content at the end.
class TRtlTempFolder {
public:
    TRtlTempFolder() {
        static unsigned Counter = 0;
        FPath = GetTempDir() + L"qrvrtl-" + IntToStr(GetCurrentProcessId()) + L"-" +
                IntToStr(++Counter) + L"\\";
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
        ForceDirectories(FPath);
    }
    ~TRtlTempFolder() {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
    }
    TRtlTempFolder(const TRtlTempFolder&) = delete;
    TRtlTempFolder& operator=(const TRtlTempFolder&) = delete;

    // The folder, with a trailing backslash.
    const String& Path() const { return FPath; }

    String Write(const String& Name, std::string_view Bytes) const {
        const String File = FPath + Name;
        const HANDLE H = CreateFileW(File.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD Written = 0;
        WriteFile(H, Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr);
        CloseHandle(H);
        return File;
    }

    std::string Read(const String& Name) const {
        const HANDLE H = CreateFileW((FPath + Name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        std::string Bytes;
        char Buf[4096];
        DWORD Got = 0;
        while (H != INVALID_HANDLE_VALUE && ReadFile(H, Buf, sizeof Buf, &Got, nullptr) && Got > 0)
            Bytes.append(Buf, Got);
        if (H != INVALID_HANDLE_VALUE)
            CloseHandle(H);
        return Bytes;
    }

private:
    String FPath;
};
