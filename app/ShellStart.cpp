#include "app/ShellStart.h"

DWORD StartShellRequest(HWND Owner, const TShellRequest& Request) {
    SHELLEXECUTEINFOW Info{};
    Info.cbSize = sizeof Info;
    // The caller says what failed in its own words, so the shell shows nothing.
    Info.fMask = SEE_MASK_FLAG_NO_UI;
    Info.hwnd = Owner;
    Info.lpVerb = Request.Verb.empty() ? nullptr : Request.Verb.c_str();
    Info.lpFile = Request.File.c_str();
    Info.lpParameters = Request.Parameters.empty() ? nullptr : Request.Parameters.c_str();
    Info.lpDirectory = Request.Folder.empty() ? nullptr : Request.Folder.c_str();
    Info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&Info))
        return 0;
    const DWORD Error = GetLastError();
    return Error != 0 ? Error : ERROR_FILE_NOT_FOUND;
}

String WithSystemReason(const String& Text, DWORD Error) {
    return Text + L"\n\n" + Trim(SysErrorMessage(Error));
}
