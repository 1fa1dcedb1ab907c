#include "main/MainServices.h"

#include "app/FlatMessageBox.h"
#include "app/InputQueryForm.h"
#include "app/QRVUtils.h"
#include "app/SplashForm.h"
#include "classlib/gui/Forms.h"

#include "classlib/rtl/WinApi.h"

String DriveRoot(const String& Path) {
    return AddBackslash(ExtractFileDrive(Path));
}

bool IsOnFixedDrive(const IDriveInfo& Drives, const String& Path) {
    const String Root = DriveRoot(Path);
    return !Root.empty() && Drives.DriveType(Root) == DRIVE_FIXED;
}

namespace {

// The box's picture for a prompt icon; 0 shows none.
int BoxIcon(int Icon) {
    switch (Icon) {
    case IPrompt::IconQuestion:
        return fmiQuestion;
    case IPrompt::IconInformation:
        return fmiInformation;
    case IPrompt::IconExclamation:
        return fmiExclamation;
    case IPrompt::IconStop:
        return fmiStop;
    default:
        return 0;
    }
}

// The box's button set for a prompt set. A set the prompt does not know gets OK, so that the
// question can still be answered with a button.
int BoxButtons(int Buttons) {
    switch (Buttons) {
    case IPrompt::ButtonsNone:
        return 1;
    case IPrompt::ButtonsYesYesToAllNoNoToAllCancel:
        return 2;
    case IPrompt::ButtonsYesNoCancel:
        return 3;
    case IPrompt::ButtonsYesNo:
        return 4;
    default:
        return 0;
    }
}

// The prompt result of the box's answer; a box closed without a button is Cancel.
int PromptResult(TModalResult Result) {
    switch (Result) {
    case mrOk:
        return IPrompt::ResultOk;
    case mrYes:
        return IPrompt::ResultYes;
    case mrNo:
        return IPrompt::ResultNo;
    case mrNoToAll:
        return IPrompt::ResultNoToAll;
    case mrYesToAll:
        return IPrompt::ResultYesToAll;
    default:
        return IPrompt::ResultCancel;
    }
}

} // namespace

int TFlatPrompt::MessageBox(const String& Caption, const String& Text, int Icon, int Buttons) {
    return PromptResult(
        ShowFlatMessageBox(FOwner, Caption, Text, BoxIcon(Icon), BoxButtons(Buttons)));
}

bool TFlatPrompt::InputQuery(const String& Caption, const String& Prompt, String& Value,
                             int MaxLength, const String& PasswordChar) {
    return FlatInputQuery(Caption, Prompt, Value, MaxLength, PasswordChar);
}

UINT TSystemDriveInfo::DriveType(const String& Root) const {
    return GetDriveTypeW(Root.c_str());
}

std::int64_t TSystemDriveInfo::DiskTotalSize(const String& Root) const {
    return GetDiskTotalSize(Root);
}

bool TShellExecute::OpenFile(const String& FileName) {
    const auto Result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", FileName.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return Result > 32;
}

void TSplashStatus::SetStatus(const String& Text) {
    if (frmSplash)
        frmSplash->SetStatus(Text);
}
