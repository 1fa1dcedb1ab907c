#include "app/BFolder.h"

#include <shlobj.h>

#include <cwchar>
#include <memory>

UINT BrowseFolderFlags(TBrowseFolderOptions Options) {
    struct {
        TBrowseFolderOption Option;
        UINT Flag;
    } const Map[] = {
        {bfBrowseForComputer, BIF_BROWSEFORCOMPUTER},
        {bfBrowseForPrinter, BIF_BROWSEFORPRINTER},
        {bfDontGoBelowDomain, BIF_DONTGOBELOWDOMAIN},
        {bfReturnFileSystemAncestors, BIF_RETURNFSANCESTORS},
        {bfReturnOnlyFileSystemDirs, BIF_RETURNONLYFSDIRS},
    };
    UINT Flags = 0;
    for (const auto& M : Map)
        if (Options.Contains(M.Option))
            Flags |= M.Flag;
    return Flags;
}

TBrowseFolder::TBrowseFolder(TComponent* AOwner) : TComponent(AOwner) {}

bool TBrowseFolder::Execute(HWND OwnerWnd) {
    FFolderPath.clear();
    wchar_t DisplayName[MAX_PATH] = {};
    BROWSEINFOW Info{};
    Info.hwndOwner = OwnerWnd;
    Info.pszDisplayName = DisplayName;
    Info.lpszTitle = TitleText.c_str();
    Info.ulFlags = BrowseFolderFlags(DisplayOptions);
    // The item list is the caller's to free, whatever the answer.
    const std::unique_ptr<ITEMIDLIST, decltype(&CoTaskMemFree)> Item(SHBrowseForFolderW(&Info),
                                                                     &CoTaskMemFree);
    if (!Item)
        return false;
    // A folder deeper than MAX_PATH has a path too.
    String Path(32768, L'\0');
    if (SHGetPathFromIDListEx(Item.get(), Path.data(), static_cast<DWORD>(Path.size()),
                              GPFIDL_DEFAULT)) {
        Path.resize(wcslen(Path.c_str()));
        FFolderPath = Path;
    } else {
        FFolderPath = DisplayName;
    }
    return true;
}
