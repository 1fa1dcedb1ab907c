// Files for tests: a temp folder of their own, and whole-file reads and writes.
#pragma once

#include "classlib/rtl/SysUtils.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "classlib/rtl/WinApi.h"

// Files are made and read with Win32 alone, so that the class library's own tests do not lean
// on what they test. Writes throw: a fixture that silently failed to appear would let a test pass
// for the wrong reason. Reads give an empty string for a file that cannot be read.

inline bool PathPresent(const String& Path) {
    return GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadBytes(const String& FileName) {
    const HANDLE File = CreateFileW(FileName.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string Bytes;
    if (File == INVALID_HANDLE_VALUE)
        return Bytes;
    char Buffer[65536];
    DWORD Got = 0;
    while (ReadFile(File, Buffer, sizeof Buffer, &Got, nullptr) && Got > 0)
        Bytes.append(Buffer, Got);
    CloseHandle(File);
    return Bytes;
}

// Creates or empties FileName and writes Bytes to it.
inline void WriteBytes(const String& FileName, std::string_view Bytes) {
    const HANDLE File = CreateFileW(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    bool Done = File != INVALID_HANDLE_VALUE;
    for (std::size_t At = 0; Done && At < Bytes.size();) {
        const DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Bytes.size() - At, 1 << 20));
        DWORD Written = 0;
        Done = WriteFile(File, Bytes.data() + At, Chunk, &Written, nullptr) && Written == Chunk;
        At += Chunk;
    }
    if (File != INVALID_HANDLE_VALUE)
        CloseHandle(File);
    if (!Done)
        throw std::runtime_error("cannot write the test file " + ToUtf8(FileName));
}

// A file of Size bytes that holds no data (sparse where the file system allows).
inline bool MakeFileOfSize(const String& FileName, std::uint64_t Size) {
    const HANDLE File = CreateFileW(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return false;
    DWORD Ignored = 0;
    DeviceIoControl(File, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &Ignored, nullptr);
    LARGE_INTEGER Distance;
    Distance.QuadPart = static_cast<LONGLONG>(Size);
    const bool Done =
        SetFilePointerEx(File, Distance, nullptr, FILE_BEGIN) && SetEndOfFile(File) != FALSE;
    CloseHandle(File);
    return Done;
}

// A fresh folder under the temp folder, removed with everything in it at the end.
class TTempFolder {
public:
    TTempFolder() {
        static unsigned Counter = 0;
        wchar_t Temp[MAX_PATH + 1];
        const DWORD Length = GetTempPathW(MAX_PATH + 1, Temp);
        if (Length == 0 || Length > MAX_PATH)
            throw std::runtime_error("no temp folder");
        const String Prefix =
            String(Temp, Length) + L"qrvtest-" + std::to_wstring(GetCurrentProcessId()) + L"-";
        // A name left over from an earlier run is passed by, never emptied.
        for (;;) {
            FPath = Prefix + std::to_wstring(++Counter);
            if (CreateDirectoryW(FPath.c_str(), nullptr)) {
                FPath += L'\\';
                return;
            }
            if (GetLastError() != ERROR_ALREADY_EXISTS)
                throw std::runtime_error("cannot make a test folder in " +
                                         ToUtf8(String(Temp, Length)));
        }
    }
    // Through the \\?\ form, so that names ending in a dot or a space go too.
    ~TTempFolder() { RemoveTree(L"\\\\?\\" + FPath); }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The folder, with a trailing backslash.
    const String& Path() const { return FPath; }

    // Makes Relative and the folders above it.
    void AddFolder(const String& Relative) const {
        const String Folder = FPath + Relative;
        for (std::size_t At = FPath.size() - 1; At != String::npos;) {
            At = Folder.find(L'\\', At + 1);
            const String Step = Folder.substr(0, At);
            if (!CreateDirectoryW(Step.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
                throw std::runtime_error("cannot make the test folder " + ToUtf8(Step));
        }
    }

    // Writes the file Relative, making the folders above it; gives its full path.
    String AddFile(const String& Relative, std::string_view Bytes) const {
        const std::size_t Slash = Relative.rfind(L'\\');
        if (Slash != String::npos)
            AddFolder(Relative.substr(0, Slash));
        WriteBytes(FPath + Relative, Bytes);
        return FPath + Relative;
    }

    std::string Read(const String& Relative) const { return ReadBytes(FPath + Relative); }

private:
    // Deletes Folder (with a trailing backslash) and what is in it, read-only entries too.
    // Links to folders are removed, never entered.
    static void RemoveTree(const String& Folder) {
        WIN32_FIND_DATAW Found;
        const HANDLE Search = FindFirstFileW((Folder + L"*").c_str(), &Found);
        if (Search != INVALID_HANDLE_VALUE) {
            do {
                const String Name = Found.cFileName;
                if (Name == L"." || Name == L"..")
                    continue;
                const String Entry = Folder + Name;
                const DWORD Attributes = Found.dwFileAttributes;
                if (Attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    if (!RemoveDirectoryW(Entry.c_str()))
                        DeleteFileW(Entry.c_str());
                    continue;
                }
                SetFileAttributesW(Entry.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (Attributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(Entry + L"\\");
                else
                    DeleteFileW(Entry.c_str());
            } while (FindNextFileW(Search, &Found));
            FindClose(Search);
        }
        RemoveDirectoryW(Folder.c_str());
    }

    String FPath;
};
