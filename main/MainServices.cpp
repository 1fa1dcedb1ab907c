#include "main/MainServices.h"

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
