#include "app/QRVUtils.h"

#include "app/FileInfo.h"
#include "app/QRVUtilsPrivate.h"
#include "classlib/gui/Forms.h"
#include "classlib/rtl/Registry.h"

#include "classlib/rtl/WinApi.h"

using namespace qrvutils;

// ------------------------------------------------------------- paths and files

String AddBackslash(const String& Path) {
    return Path.empty() ? Path : IncludeTrailingBackslash(Path);
}

bool FolderExists(const String& Path) {
    return DirectoryExists(Path);
}

bool SameFileName(const String& A, const String& B) {
    const String FullA = ExpandFileName(A);
    const String FullB = ExpandFileName(B);
    return CompareStringOrdinal(FullA.c_str(), static_cast<int>(FullA.size()), FullB.c_str(),
                                static_cast<int>(FullB.size()), TRUE) == CSTR_EQUAL;
}

std::uint32_t GetFileSize32(const String& Path) {
    TSearchRec F;
    if (Path.empty() || FindFirst(Path, faAnyFile, F) != 0)
        return 0;
    return static_cast<std::uint32_t>(F.Size);
}

String GetWindowsFolder() {
    wchar_t Buffer[MAX_PATH + 1];
    const UINT Length = GetWindowsDirectoryW(Buffer, MAX_PATH + 1);
    if (Length == 0 || Length > MAX_PATH)
        return String();
    return ExcludeTrailingBackslash(String(Buffer, Length));
}

std::int64_t GetDiskTotalSize(const String& RootPath) {
    const TNoErrorBoxes Quiet;
    ULARGE_INTEGER Total;
    if (!GetDiskFreeSpaceExW(RootPath.c_str(), nullptr, &Total, nullptr))
        return -1;
    return static_cast<std::int64_t>(Total.QuadPart);
}

// ------------------------------------------------------- drive and folder rows

namespace {

bool IsFixedDrive(const String& Path) {
    const String Drive = ExtractFileDrive(Path);
    return !Drive.empty() && GetDriveTypeW(AddBackslash(Drive).c_str()) == DRIVE_FIXED;
}

} // namespace

TCvTreeItem* AddSpecialFolderNode(int CSIDL, TDirRowList& Tree, TCvTreeItem* ParentItem,
                                  const String& Path, const String& Caption, std::uint8_t Flag) {
    auto Item = std::make_unique<TDirItem>();
    Item->CSIDL = CSIDL;
    Item->Flag = Flag;
    Item->Path = Path;

    SHFILEINFOW Info{};
    constexpr UINT Wanted = SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME;
    if (!Path.empty()) {
        SHGetFileInfoW(Path.c_str(), 0, &Info, sizeof(Info), Wanted);
    } else {
        const HWND Owner = Tree.OwnerWindow();
        ITEMIDLIST* Found = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(Owner, CSIDL, &Found))) {
            const TOwnedPidl Pidl(Found);
            SHGetFileInfoW(reinterpret_cast<LPCWSTR>(Pidl.get()), 0, &Info, sizeof(Info),
                           Wanted | SHGFI_PIDL);
        }
        wchar_t Buffer[MAX_PATH + 1] = {};
        if (SHGetSpecialFolderPathW(Owner, Buffer, CSIDL, FALSE))
            Item->Path = Buffer;
    }
    Item->Caption = Caption.empty() ? String(Info.szDisplayName) : Caption;
    Item->NotFixedDrive = !IsFixedDrive(Item->Path);

    const String Text = Item->Caption;
    const String FolderPath = Item->Path;
    return Tree.AddRow(ParentItem, Text, Info.iIcon, FolderPath, std::move(Item));
}

// ------------------------------------------------------------------ registry

void DeleteRegistryValues(HKEY RootKey, const String& KeyPath) {
    TRegistry Reg(KEY_QUERY_VALUE | KEY_SET_VALUE);
    Reg.SetRootKey(RootKey);
    if (!Reg.OpenKey(KeyPath, false))
        return;
    // Deleting while enumerating by index would skip values.
    TStringList Names;
    Reg.GetValueNames(Names);
    for (int I = 0; I < Names.Count(); ++I)
        Reg.DeleteValue(Names.StringRef(I));
}

// ------------------------------------------------------- shell and platform

String GetSpecialFolderPath(int CSIDL) {
    wchar_t Buffer[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, Buffer, CSIDL, FALSE))
        return String();
    return Buffer;
}

bool OpenInDefaultBrowser(const String& Parameters) {
    if (Parameters.empty())
        return false;
    const HINSTANCE Result =
        ShellExecuteW(nullptr, L"open", Parameters.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(Result) > 32;
}

HIMAGELIST SystemSmallImageList() {
    SHFILEINFOW Info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &Info, sizeof(Info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

namespace {

struct TNetBufferFree {
    void operator()(void* Buffer) const { NetApiBufferFree(Buffer); }
};

} // namespace

void FillUserAccountList(TStrings& Items) {
    Items.Clear();
    DWORD Index = 0;
    NET_API_STATUS Status;
    do {
        DWORD Count = 0;
        void* Raw = nullptr;
        Status =
            NetQueryDisplayInformation(nullptr, 1, Index, 1, MAX_PREFERRED_LENGTH, &Count, &Raw);
        const std::unique_ptr<void, TNetBufferFree> Buffer(Raw);
        if ((Status != NERR_Success && Status != ERROR_MORE_DATA) || Count == 0 || !Raw)
            break;
        const auto* Users = static_cast<const NET_DISPLAY_USER*>(Raw);
        for (DWORD I = 0; I < Count; ++I) {
            if ((Users[I].usri1_flags & (UF_ACCOUNTDISABLE | UF_PASSWD_NOTREQD)) == 0 &&
                Users[I].usri1_name)
                Items.Add(Users[I].usri1_name);
        }
        Index = Users[Count - 1].usri1_next_index;
    } while (Status == ERROR_MORE_DATA);
    // The account database may list nothing (a domain account, or wine); the user running the
    // program can always be chosen.
    wchar_t User[UNLEN + 1];
    DWORD Length = UNLEN + 1;
    if (GetUserNameW(User, &Length) && Length > 1 && Items.IndexOf(User) < 0)
        Items.Add(User);
}

// ------------------------------------------------------------- clock names

namespace {

SYSTEMTIME LocalNow() {
    SYSTEMTIME Time;
    GetLocalTime(&Time);
    return Time;
}

} // namespace

String TimestampText(const SYSTEMTIME& LocalTime) {
    // Fixed widths: unpadded numbers run together can give two times one name.
    return Format(L"%.4d%.2d%.2d%.2d%.2d%.2d%.3d",
                  {LocalTime.wYear, LocalTime.wMonth, LocalTime.wDay, LocalTime.wHour,
                   LocalTime.wMinute, LocalTime.wSecond, LocalTime.wMilliseconds});
}

String TimestampText() {
    return TimestampText(LocalNow());
}

String UniqueTimestampName(const String& Folder, const SYSTEMTIME& LocalTime) {
    const String Dir = AddBackslash(Folder);
    const String Base = TimestampText(LocalTime);
    String Name = Base;
    for (unsigned Counter = 1; FileGetAttr(Dir + Name) != -1; ++Counter)
        Name = Base + std::to_wstring(Counter);
    return Name;
}

String UniqueTimestampName(const String& Folder) {
    return UniqueTimestampName(Folder, LocalNow());
}
