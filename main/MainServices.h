#pragma once
// The small interfaces through which the main window's logic reaches the user, the shell, the
// drives and the clock, and the implementations the program uses. Tests pass their own.

#include "app/Clock.h"
#include "app/Progress.h"
#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"

#include <cstdint>

// Drive facts as the shell and the kernel report them.
class IDriveInfo {
public:
    virtual ~IDriveInfo() = default;
    // GetDriveType of a root such as "C:\" (DRIVE_FIXED, DRIVE_REMOVABLE, ...).
    virtual UINT DriveType(const String& Root) const = 0;
    // Total capacity in bytes of the drive of Root; -1 when it cannot be told (no medium).
    virtual std::int64_t DiskTotalSize(const String& Root) const = 0;
};

// The drive of a path (as ExtractFileDrive gives it) is a fixed disk. A path without a drive
// part is not.
bool IsOnFixedDrive(const IDriveInfo& Drives, const String& Path);
// The root of the drive of a path ("C:\", "\\server\share\"); empty without a drive part.
String DriveRoot(const String& Path);

// The message box and the one-line input dialog of the program.
class IPrompt {
public:
    // Icons: no other value shows a picture.
    static constexpr int IconQuestion = 1;
    static constexpr int IconInformation = 2;
    static constexpr int IconExclamation = 3;
    static constexpr int IconStop = 4;
    // Button sets.
    static constexpr int ButtonsOk = 0;
    static constexpr int ButtonsNone = 1;
    static constexpr int ButtonsYesYesToAllNoNoToAllCancel = 2;
    static constexpr int ButtonsYesNoCancel = 3;
    static constexpr int ButtonsYesNo = 4;
    // Results: the value of the button pressed; closing the box gives Cancel.
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;
    static constexpr int ResultYes = 6;
    static constexpr int ResultNo = 7;
    static constexpr int ResultNoToAll = 9;
    static constexpr int ResultYesToAll = 10;

    virtual ~IPrompt() = default;
    virtual int MessageBox(const String& Caption, const String& Text, int Icon, int Buttons) = 0;
    // Asks for one line, starting from Value; true when confirmed, and then Value holds the text.
    // The first character of PasswordChar masks the input (none when empty); on Cancel Value is
    // left as it was.
    virtual bool InputQuery(const String& Caption, const String& Prompt, String& Value,
                            int MaxLength, const String& PasswordChar) = 0;
};

class IShell {
public:
    virtual ~IShell() = default;
    // Opens a file with its registered program (verb "open", normal show state).
    virtual bool OpenFile(const String& FileName) = 0;
};

// Where the start-up reports its steps (the splash window).
class IStatusSink {
public:
    virtual ~IStatusSink() = default;
    virtual void SetStatus(const String& Text) = 0;
};

// The program's message box and input dialog: the skinned windows, made for each question.
// Needs the skinned window system and the data module while it asks.
class TFlatPrompt : public IPrompt {
public:
    // Owner: the window the message boxes belong to; null for none.
    explicit TFlatPrompt(TComponent* Owner) : FOwner(Owner) {}
    int MessageBox(const String& Caption, const String& Text, int Icon, int Buttons) override;
    bool InputQuery(const String& Caption, const String& Prompt, String& Value, int MaxLength,
                    const String& PasswordChar) override;

private:
    TComponent* FOwner;
};

class TSystemDriveInfo : public IDriveInfo {
public:
    UINT DriveType(const String& Root) const override;
    std::int64_t DiskTotalSize(const String& Root) const override;
};

class TShellExecute : public IShell {
public:
    bool OpenFile(const String& FileName) override;
};

// The splash window's status line, while the splash window exists.
class TSplashStatus : public IStatusSink {
public:
    void SetStatus(const String& Text) override;
};
