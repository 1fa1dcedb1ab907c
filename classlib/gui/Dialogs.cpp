#include "classlib/gui/Dialogs.h"

#include "classlib/gui/Forms.h"

#include <objbase.h>

#include <algorithm>

TFolderBrowser FolderBrowser;

namespace {

// "a|b|c|d" as the system wants it: each part ended by a null, the list by another.
String FilterList(const String& Filter) {
    if (Filter.empty())
        return String();
    String List = Filter;
    std::replace(List.begin(), List.end(), L'|', L'\0');
    List += L'\0';
    return List;
}

// An extension the system can add to a typed name: no leading dot, and none at all for a
// pattern ("*.*" would give names such as "report.*.*", which no file has).
String UsableExtension(const String& DefaultExt) {
    String Extension = DefaultExt;
    while (!Extension.empty() && Extension.front() == L'.')
        Extension.erase(0, 1);
    if (Extension.find_first_of(L"*?") != String::npos)
        return String();
    return Extension;
}

DWORD OptionFlags(TOpenOptions Options) {
    static constexpr struct {
        TOpenOption Option;
        DWORD Flag;
    } Map[] = {
        {ofReadOnly, OFN_READONLY},
        {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
        {ofPathMustExist, OFN_PATHMUSTEXIST},
        {ofFileMustExist, OFN_FILEMUSTEXIST},
        {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {ofEnableSizing, OFN_ENABLESIZING},
    };
    DWORD Flags = OFN_EXPLORER;
    for (const auto& Entry : Map)
        if (Options.Contains(Entry.Option))
            Flags |= Entry.Flag;
    return Flags;
}

// The owner of a dialog: the active window of this program, if any.
HWND DialogOwner() {
    const HWND Active = Screen->ActiveWindow();
    if (Active && GetWindowThreadProcessId(Active, nullptr) == GetCurrentThreadId())
        return Active;
    return Application ? Application->Handle() : nullptr;
}

} // namespace

// -------------------------------------------------------------- TOpenDialog

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

bool TOpenDialog::Execute() {
    // Room for many names when several may be chosen.
    std::vector<wchar_t> Buffer(Options.Contains(ofAllowMultiSelect) ? 65536 : 4096, L'\0');
    std::copy_n(FileName.begin(), std::min(FileName.size(), Buffer.size() - 1), Buffer.begin());
    const String Filters = FilterList(Filter);
    const String Extension = UsableExtension(DefaultExt);

    OPENFILENAMEW Params{};
    Params.lStructSize = sizeof Params;
    Params.hwndOwner = DialogOwner();
    Params.lpstrFilter = Filters.empty() ? nullptr : Filters.c_str();
    Params.nFilterIndex = static_cast<DWORD>(std::max(FilterIndex, 1));
    Params.lpstrFile = Buffer.data();
    Params.nMaxFile = static_cast<DWORD>(Buffer.size());
    Params.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    Params.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    Params.lpstrDefExt = Extension.empty() ? nullptr : Extension.c_str();
    Params.Flags = OptionFlags(Options);

    const bool Chosen = ShowDialog ? ShowDialog(Params) : GetOpenFileNameW(&Params) != FALSE;
    if (!Chosen)
        return false;
    FilterIndex = static_cast<int>(Params.nFilterIndex);
    // One name is a full path; several are the folder, then each name, each ended by a null.
    std::vector<String> Parts;
    for (const wchar_t* Part = Buffer.data(); *Part; Part += wcslen(Part) + 1)
        Parts.emplace_back(Part);
    if (Parts.empty())
        return false;
    FFiles.clear();
    if (Parts.size() == 1) {
        FFiles.push_back(Parts.front());
    } else {
        String Folder = Parts.front();
        if (Folder.back() != L'\\')
            Folder += L'\\';
        for (size_t I = 1; I < Parts.size(); ++I)
            FFiles.push_back(Folder + Parts[I]);
    }
    FileName = FFiles.front();
    return true;
}

// ----------------------------------------------------------- SelectDirectory

namespace {

// Frees an item list through the browser's call, on every way out.
class TItemList {
public:
    explicit TItemList(PIDLIST_ABSOLUTE Item) : FItem(Item) {}
    ~TItemList() {
        if (!FItem)
            return;
        if (FolderBrowser.Free)
            FolderBrowser.Free(FItem);
        else
            CoTaskMemFree(FItem);
    }
    TItemList(const TItemList&) = delete;
    TItemList& operator=(const TItemList&) = delete;
    PIDLIST_ABSOLUTE Get() const { return FItem; }

private:
    PIDLIST_ABSOLUTE FItem;
};

// The shell's calls want COM on this thread; one it started is ended again.
class TComScope {
public:
    TComScope() : FStarted(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~TComScope() {
        if (FStarted)
            CoUninitialize();
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;

private:
    bool FStarted;
};

int CALLBACK StartAt(HWND Dialog, UINT Msg, LPARAM, LPARAM Data) {
    if (Msg == BFFM_INITIALIZED && Data)
        SendMessageW(Dialog, BFFM_SETSELECTIONW, TRUE, Data);
    return 0;
}

} // namespace

bool SelectDirectory(const String& Caption, const String& Root, String& Directory) {
    const TComScope Com;
    PIDLIST_ABSOLUTE RootItem = nullptr;
    if (!Root.empty() && FAILED(SHParseDisplayName(Root.c_str(), nullptr, &RootItem, 0, nullptr)))
        RootItem = nullptr; // a root that is not there: the whole namespace
    const TItemList RootList(RootItem);

    wchar_t Display[MAX_PATH]{};
    BROWSEINFOW Params{};
    Params.hwndOwner = DialogOwner();
    Params.pidlRoot = RootList.Get();
    Params.pszDisplayName = Display;
    Params.lpszTitle = Caption.c_str();
    Params.ulFlags = BIF_RETURNONLYFSDIRS;
    Params.lpfn = &StartAt;
    Params.lParam = Directory.empty() ? 0 : reinterpret_cast<LPARAM>(Directory.c_str());

    const TItemList Chosen(FolderBrowser.Browse ? FolderBrowser.Browse(Params)
                                                : SHBrowseForFolderW(&Params));
    if (!Chosen.Get())
        return false;
    // Long paths need more room than MAX_PATH.
    std::vector<wchar_t> Path(32768, L'\0');
    if (!SHGetPathFromIDListEx(Chosen.Get(), Path.data(), static_cast<DWORD>(Path.size()),
                               GPFIDL_DEFAULT))
        return false; // not a file system folder
    Directory = Path.data();
    return true;
}
