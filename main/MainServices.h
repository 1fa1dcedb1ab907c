#pragma once
// The small interfaces through which the main window's logic reaches the user, the shell, the
// drives and the clock, and the implementations the program uses. Tests pass their own.

#include "app/Clock.h"
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

// The message box of the program (icons 1 question ... 4 stop; button sets 0 OK, 4 Yes/No).
class IPrompt {
public:
    static constexpr int IconQuestion = 1;
    static constexpr int ButtonsOk = 0;
    static constexpr int ButtonsYesNo = 4;
    static constexpr int ResultOk = 1;
    static constexpr int ResultYes = 6;

    virtual ~IPrompt() = default;
    virtual int MessageBox(const String& Caption, const String& Text, int Icon, int Buttons) = 0;
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

// Keeps the window alive during long loops on the window thread.
class IMessagePump {
public:
    virtual ~IMessagePump() = default;
    virtual void ProcessMessages() = 0;
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
