// Fixtures of awkward names and links made by tests/make-fixtures.sh, and raw access to them.
#pragma once

#include "classlib/rtl/SysUtils.h"
#include "tests/support/TempFolder.h"

#include <map>
#include <string>

#include "classlib/rtl/WinApi.h"

// The folder tests/make-fixtures.sh prepares for the path tests, with a trailing backslash;
// empty when the fixtures are not there.
inline String PathFixtures() {
    const wchar_t* const Root = _wgetenv(L"QRV_FIXTURES");
    return Root ? IncludeTrailingBackslash(Root) + L"paths\\" : String();
}

// Test-side access through the \\?\ form, without the code under test. Path must be absolute
// and hold no "." or ".." steps.
inline String Raw(const String& Path) {
    return L"\\\\?\\" + Path;
}

// Files (relative path -> bytes) and folders (relative path with "\" -> "") below Folder, read
// with raw Win32; links are not entered.
inline std::map<String, std::string> Snapshot(const String& Folder, const String& Below = L"") {
    std::map<String, std::string> Files;
    WIN32_FIND_DATAW Found;
    const HANDLE Search = FindFirstFileW(Raw(Folder + Below + L"*").c_str(), &Found);
    if (Search == INVALID_HANDLE_VALUE)
        return Files;
    do {
        const String Name = Found.cFileName;
        if (Name == L"." || Name == L".." ||
            (Found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        if (Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Files[Below + Name + L"\\"] = "";
            Files.merge(Snapshot(Folder, Below + Name + L"\\"));
        } else {
            Files[Below + Name] = ReadBytes(Raw(Folder + Below + Name));
        }
    } while (FindNextFileW(Search, &Found));
    FindClose(Search);
    return Files;
}

// Copies the template folder From into To (both with a trailing backslash), names as they are.
inline void CopyTemplate(const String& From, const String& To) {
    for (const auto& [Relative, Bytes] : Snapshot(From)) {
        if (Relative.back() != L'\\')
            WriteBytes(Raw(To + Relative), Bytes);
        else if (!CreateDirectoryW(Raw(To + Relative).c_str(), nullptr))
            throw std::runtime_error("cannot copy the folder " + ToUtf8(Relative));
    }
}

// The files of the "awkward" fixture and their bytes, each beside the neighbour a plain path
// would reach instead, and the folders "sub\" and "sub.\" that hold the last two.
inline const std::map<String, std::string>& AwkwardFiles() {
    static const std::map<String, std::string> Files = {
        {L"keep.doc", "keep"},
        {L"keep.doc.", "dot"},
        {L"trail", "plain"},
        {L"trail ", "space"},
        {L" lead.txt", "lead"},
        {L"em\u2014dash.txt", "dash"},
        {L"\u05E9\u05DC\u05D5\u05DD.txt", "rtl"},
        {L"\U0001F600.txt", "emoji"},
        {L"sub\\a.tmp", "a"},
        {L"sub.\\b.tmp", "b"},
    };
    return Files;
}
// The fixture's file with a device name; its bytes are "device".
inline const wchar_t* const AwkwardDeviceFile = L"CON.tmp";

// Copies the "awkward" fixture into Folder; false when the fixture is not there.
inline bool CopyAwkwardFixture(const String& Folder) {
    const String Fixtures = PathFixtures();
    if (Fixtures.empty() || Snapshot(Fixtures + L"awkward\\").size() != AwkwardFiles().size() + 3)
        return false;
    CopyTemplate(Fixtures + L"awkward\\", Folder);
    return true;
}

// Makes Folder if need be, and below it a folder whose path is Length characters long,
// without a trailing backslash, through the \\?\ form; its steps are at most 100 characters.
inline String AddDeepFolder(const String& Folder, std::size_t Length) {
    String Path = ExcludeTrailingBackslash(Folder);
    if (Path.size() + 2 > Length)
        throw std::runtime_error("the folder is longer than asked for");
    CreateDirectoryW(Raw(Path).c_str(), nullptr);
    while (Path.size() < Length) {
        const std::size_t Left = Length - Path.size() - 1;
        // A last step of one character would need the one before to be shorter; keep two.
        const std::size_t Step = Left <= 100 ? Left : std::min<std::size_t>(100, Left - 2);
        Path += L'\\' + String(Step, static_cast<wchar_t>(L'a' + Path.size() % 26));
        if (!CreateDirectoryW(Raw(Path).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot make the deep folder " + ToUtf8(Path));
    }
    return Path;
}

// The fixture folder "file-links" (found\<action>.tmp link to targets\<action>.tmp, and
// to-empty\link.tmp to targets\empty.tmp), with a trailing backslash; empty when missing.
inline String FileLinkFixtures() {
    const wchar_t* const Root = _wgetenv(L"QRV_FIXTURES");
    return Root ? IncludeTrailingBackslash(Root) + L"file-links\\" : String();
}
