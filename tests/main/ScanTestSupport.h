#pragma once
// Fakes of the main window's services and helpers for file fixtures of the scan tests.

#include "classlib/rtl/SysUtils.h"
#include "main/MainServices.h"
#include "tests/support/TempFolder.h"

#include <map>
#include <optional>
#include <vector>

#include "classlib/rtl/WinApi.h"

// Every drive letter is a fixed disk of 100 GB unless told otherwise; a share is remote.
class TFakeDrives : public IDriveInfo {
public:
    std::map<wchar_t, UINT> Types;
    std::map<wchar_t, std::int64_t> Sizes;
    mutable std::vector<String> SizeQueries;

    UINT DriveType(const String& Root) const override {
        if (Root.compare(0, 2, L"\\\\") == 0)
            return DRIVE_REMOTE;
        const auto It = Types.find(Letter(Root));
        return It == Types.end() ? DRIVE_FIXED : It->second;
    }
    std::int64_t DiskTotalSize(const String& Root) const override {
        SizeQueries.push_back(Root);
        const auto It = Sizes.find(Letter(Root));
        return It == Sizes.end() ? 100LL << 30 : It->second;
    }

private:
    static wchar_t Letter(const String& Root) {
        return Root.empty() ? L'\0' : static_cast<wchar_t>(towupper(Root[0]));
    }
};

class TFakeClock : public IClock {
public:
    explicit TFakeClock(TDateTime Now) : FNow(Now) {}
    TDateTime Now() const override { return FNow; }

private:
    TDateTime FNow;
};

// Answers every question with Answer and keeps what was asked.
class TFakePrompt : public IPrompt {
public:
    struct TAsked {
        String Caption, Text;
        int Icon, Buttons;
    };
    int Answer = ResultOk;
    // Answers given in turn before Answer.
    std::vector<int> Answers;
    std::vector<TAsked> Asked;
    // What InputQuery confirms with; none: the user cancels. Queried keeps caption and prompt
    // (Buttons 1 when the input was masked).
    std::optional<String> InputAnswer;
    std::vector<TAsked> Queried;

    int MessageBox(const String& Caption, const String& Text, int Icon, int Buttons) override {
        Asked.push_back({Caption, Text, Icon, Buttons});
        if (!Answers.empty()) {
            const int Next = Answers.front();
            Answers.erase(Answers.begin());
            return Next;
        }
        return Answer;
    }
    bool InputQuery(const String& Caption, const String& Prompt, String& Value, int,
                    const String& PasswordChar) override {
        Queried.push_back({Caption, Prompt, 0, PasswordChar.empty() ? 0 : 1});
        if (!InputAnswer)
            return false;
        Value = *InputAnswer;
        return true;
    }
};

class TFakeShell : public IShell {
public:
    std::vector<String> Opened;
    bool OpenFile(const String& FileName) override {
        Opened.push_back(FileName);
        return true;
    }
};

// A UTC file time from a local date-time.
inline FILETIME LocalFileTime(TDateTime Local) {
    return DateTimeToFileTime(Local);
}

// Sets a file's last-access and last-write times.
inline bool SetTimes(const String& FileName, const FILETIME& Access, const FILETIME& Write) {
    const HANDLE File =
        CreateFileW(FileName.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return false;
    const bool Done = SetFileTime(File, nullptr, &Access, &Write) != FALSE;
    CloseHandle(File);
    return Done;
}
