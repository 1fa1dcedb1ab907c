#include "app/PrivacyCleaner.h"
#include "classlib/rtl/PathLayer.h"

#include "app/FileInfo.h"
#include "app/QRVUtils.h"
#include "classlib/rtl/TextEncoding.h"

#include "classlib/rtl/WinApi.h"

#include <memory>

namespace {

// Cookie files are judged by their start: a file this large is no cookie and is not read whole.
constexpr DWORD CookieReadLimit = 64 * 1024;

struct TUrlCacheFindCloser {
    void operator()(HANDLE Find) const { FindCloseUrlCache(Find); }
};
using TUrlCacheFind = std::unique_ptr<std::remove_pointer_t<HANDLE>, TUrlCacheFindCloser>;

struct TComRelease {
    void operator()(IUnknown* Object) const { Object->Release(); }
};

// An entry buffer of at least Size bytes, aligned for the entry record.
class TCacheEntryBuffer {
public:
    INTERNET_CACHE_ENTRY_INFOW* Entry(DWORD& Size) {
        Size = static_cast<DWORD>(FWords.size() * sizeof(std::uint64_t));
        return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(FWords.data());
    }
    void Grow(DWORD Size) { FWords.resize(Size / sizeof(std::uint64_t) + 1); }

private:
    std::vector<std::uint64_t> FWords = std::vector<std::uint64_t>(512);
};

// The source URLs of every entry of the URL cache. Every answer is checked: an empty cache ends
// the search at once, and the search is always closed.
std::vector<String> UrlCacheEntryNames() {
    std::vector<String> Names;
    TCacheEntryBuffer Buffer;
    DWORD Size = 0;
    HANDLE First = FindFirstUrlCacheEntryW(nullptr, Buffer.Entry(Size), &Size);
    if (!First && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        Buffer.Grow(Size);
        First = FindFirstUrlCacheEntryW(nullptr, Buffer.Entry(Size), &Size);
    }
    if (!First)
        return Names;
    const TUrlCacheFind Find(First);
    for (;;) {
        const INTERNET_CACHE_ENTRY_INFOW* Entry = Buffer.Entry(Size);
        if (Entry->lpszSourceUrlName && *Entry->lpszSourceUrlName)
            Names.emplace_back(Entry->lpszSourceUrlName);
        if (FindNextUrlCacheEntryW(Find.get(), Buffer.Entry(Size), &Size))
            continue;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
        Buffer.Grow(Size);
        if (!FindNextUrlCacheEntryW(Find.get(), Buffer.Entry(Size), &Size))
            break;
    }
    return Names;
}

TCleanedFiles MeasureFolder(const String& Folder) {
    TCleanedFiles Measured;
    GetFolderSize(Folder, true, Measured.Bytes, Measured.Files);
    return Measured;
}

bool IsAbsoluteFolder(const String& Folder) {
    return Folder.size() >= 3 && Folder[1] == L':' && Folder[2] == L'\\';
}

// Splits text into lines the way a string list reads a file.
std::vector<std::wstring_view> SplitLines(std::wstring_view Text) {
    std::vector<std::wstring_view> Lines;
    std::size_t Start = 0;
    for (std::size_t At = 0; At < Text.size(); ++At) {
        if (Text[At] != L'\r' && Text[At] != L'\n')
            continue;
        Lines.push_back(Text.substr(Start, At - Start));
        if (Text[At] == L'\r' && At + 1 < Text.size() && Text[At + 1] == L'\n')
            ++At;
        Start = At + 1;
    }
    if (Start < Text.size())
        Lines.push_back(Text.substr(Start));
    return Lines;
}

std::string ReadFileStart(const String& FileName) {
    const TOwnedHandle File = OwnHandle(CreateFileW(ExtendedPath(FileName).c_str(), GENERIC_READ,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string Bytes;
    if (!File)
        return Bytes;
    Bytes.resize(CookieReadLimit);
    DWORD Got = 0;
    if (!ReadFile(File.get(), Bytes.data(), CookieReadLimit, &Got, nullptr))
        Got = 0;
    Bytes.resize(Got);
    return Bytes;
}

} // namespace

TPrivacyPlaces SystemPrivacyPlaces() {
    TPrivacyPlaces Places;
    Places.InternetCacheFolder = GetSpecialFolderPath(CSIDL_INTERNET_CACHE);
    Places.CookiesFolder = GetSpecialFolderPath(CSIDL_COOKIES);
    Places.HistoryFolder = GetSpecialFolderPath(CSIDL_HISTORY);
    Places.RecentFolder = GetSpecialFolderPath(CSIDL_RECENT);
    const TRegistryRootKey User = TRegistryRootKey::CurrentUser;
    const TRegistryRootKey Machine = TRegistryRootKey::LocalMachine;
    const String Applets = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\";
    Places.TypedUrls = {User, L"Software\\Microsoft\\Internet Explorer\\TypedURLs"};
    Places.RecentDocs = {User,
                         L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs"};
    Places.WordpadRecentFiles = {User, Applets + L"Wordpad\\Recent File List"};
    Places.PaintRecentFiles = {User, Applets + L"Paint\\Recent File List"};
    Places.Direct3DRecentApplication = {Machine,
                                        L"Software\\Microsoft\\Direct3D\\MostRecentApplication"};
    Places.DirectDrawRecentApplication = {
        Machine, L"Software\\Microsoft\\DirectDraw\\MostRecentApplication"};
    return Places;
}

std::int64_t DeleteUrlCacheEntries() {
    // Names first: the search is closed before anything it walks is deleted.
    std::int64_t Deleted = 0;
    for (const String& Name : UrlCacheEntryNames())
        Deleted += DeleteUrlCacheEntryW(Name.c_str()) ? 1 : 0;
    return Deleted;
}

TCleanedFiles CleanInternetCache(const String& CacheFolder) {
    const TCleanedFiles Before = MeasureFolder(CacheFolder);
    DeleteUrlCacheEntries();
    DeleteFolderFiles(CacheFolder, false, true);
    const TCleanedFiles After = MeasureFolder(CacheFolder);
    // The cache may gain files meanwhile; what left cannot be less than nothing.
    return {std::max<std::int64_t>(0, Before.Files - After.Files),
            std::max<std::int64_t>(0, Before.Bytes - After.Bytes)};
}

void CleanRegistryValues(const TRegistryKeyRef& Key) {
    if (!Key.Path.empty())
        DeleteRegistryValues(RootKeyHandle(Key.Root), Key.Path);
}

bool ClearUrlHistory() {
    const TOleSession Ole;
    IUrlHistoryStg2* Raw = nullptr;
    if (FAILED(CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IUrlHistoryStg2, reinterpret_cast<void**>(&Raw))) ||
        !Raw)
        return false;
    const std::unique_ptr<IUrlHistoryStg2, TComRelease> History(Raw);
    return SUCCEEDED(History->ClearHistory());
}

void CleanInternetHistory(const String& HistoryFolder) {
    ClearUrlHistory();
    DeleteFolderFiles(HistoryFolder, false, true);
}

void CleanRecentDocuments(const TRegistryKeyRef& RecentDocs, const String& RecentFolder) {
    CleanRegistryValues(RecentDocs);
    DeleteFolderFiles(RecentFolder, false, false);
}

bool CookieTextOfFile(std::string_view Bytes, String& Text) {
    TTextEncoding Encoding;
    const String Decoded = DecodeText(Bytes, Encoding);
    const std::vector<std::wstring_view> Lines = SplitLines(Decoded);
    if (Lines.size() <= 3)
        return false;
    Text = String(Lines[2]);
    return true;
}

std::vector<TCookieFile> ListCookieFiles(const String& CookiesFolder) {
    std::vector<TCookieFile> Files;
    // A missing special folder must not turn into the current folder.
    if (!IsAbsoluteFolder(CookiesFolder))
        return Files;
    const String Folder = AddBackslash(CookiesFolder);
    TSearchRec Found;
    if (FindFirst(Folder + L"*.txt", faAnyFile, Found) != 0)
        return Files;
    do {
        if (Found.Attr & faDirectory)
            continue;
        const String Path = Folder + Found.Name;
        String Text;
        if (CookieTextOfFile(ReadFileStart(Path), Text))
            Files.push_back({Path, Text});
    } while (FindNext(Found) == 0);
    return Files;
}

int DeleteCookieFiles(const String& CookiesFolder, const std::vector<String>& Paths) {
    if (!IsAbsoluteFolder(CookiesFolder))
        return 0;
    const String Folder = AddBackslash(CookiesFolder);
    int Deleted = 0;
    for (const String& Path : Paths) {
        if (!SameFileName(ExtractFilePath(Path), Folder) || !IsLinkFreeEntry(Path))
            continue;
        Deleted += FileDelete(Path) ? 1 : 0;
    }
    return Deleted;
}

std::int64_t DeleteAllCookieFiles(const String& CookiesFolder) {
    return DeleteFolderFiles(CookiesFolder, false, true);
}

void RunPrivacyStep(TPrivacyStep Step, const TPrivacyPlaces& Places) {
    try {
        switch (Step) {
        case TPrivacyStep::InternetCache:
            CleanInternetCache(Places.InternetCacheFolder);
            break;
        case TPrivacyStep::Cookies:
            DeleteAllCookieFiles(Places.CookiesFolder);
            break;
        case TPrivacyStep::TypedUrls:
            CleanRegistryValues(Places.TypedUrls);
            break;
        case TPrivacyStep::History:
            CleanInternetHistory(Places.HistoryFolder);
            break;
        case TPrivacyStep::RecentDocuments:
            CleanRecentDocuments(Places.RecentDocs, Places.RecentFolder);
            break;
        case TPrivacyStep::WordpadRecentFiles:
            CleanRegistryValues(Places.WordpadRecentFiles);
            break;
        case TPrivacyStep::PaintRecentFiles:
            CleanRegistryValues(Places.PaintRecentFiles);
            break;
        case TPrivacyStep::Direct3DRecentApplication:
            CleanRegistryValues(Places.Direct3DRecentApplication);
            break;
        case TPrivacyStep::DirectDrawRecentApplication:
            CleanRegistryValues(Places.DirectDrawRecentApplication);
            break;
        }
    } catch (...) {
        // A scheduled step that fails ends only itself.
    }
}
