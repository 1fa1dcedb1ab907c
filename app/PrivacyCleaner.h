#pragma once
// The internet-privacy cleaners, shared by both programs: the URL cache, typed URLs, history,
// recent documents, cookies and the recent-file lists. Each works silently and skips what it
// cannot remove; the callers show their notices and count what the cleaners report.

#include "app/RegistryScan.h"
#include "classlib/rtl/SysUtils.h"

#include <cstdint>
#include <string_view>
#include <vector>

// Where the cleaners act. The programs take the system's places (SystemPrivacyPlaces); tests
// point them at temp folders and test keys.
struct TPrivacyPlaces {
    String InternetCacheFolder; // CSIDL_INTERNET_CACHE
    String CookiesFolder;       // CSIDL_COOKIES
    String HistoryFolder;       // CSIDL_HISTORY
    String RecentFolder;        // CSIDL_RECENT
    TRegistryKeyRef TypedUrls;
    TRegistryKeyRef RecentDocs;
    TRegistryKeyRef WordpadRecentFiles;
    TRegistryKeyRef PaintRecentFiles;
    TRegistryKeyRef Direct3DRecentApplication;
    TRegistryKeyRef DirectDrawRecentApplication;
};

// The shell's special folders (empty when the shell has none) and the fixed keys.
TPrivacyPlaces SystemPrivacyPlaces();

// Files and bytes that left a folder.
struct TCleanedFiles {
    std::int64_t Files = 0;
    std::int64_t Bytes = 0;
};

// Deletes every entry of the WinINet URL cache; returns how many were deleted.
std::int64_t DeleteUrlCacheEntries();
// The URL cache entries, then the files below the cache folder. Returns what left the folder,
// measured before and after, so that files that could not be deleted are not counted.
TCleanedFiles CleanInternetCache(const String& CacheFolder);

// Deletes every value of the key; the key and its subkeys stay.
void CleanRegistryValues(const TRegistryKeyRef& Key);

// Clears the URL history object; false when it cannot (wine does not implement it).
bool ClearUrlHistory();
// The URL history, then the files below the history folder, also when the first step fails.
void CleanInternetHistory(const String& HistoryFolder);

// The recent-document values, then the files of the recent folder. Its subfolders (the jump
// lists, pinned items among them) are left alone.
void CleanRecentDocuments(const TRegistryKeyRef& RecentDocs, const String& RecentFolder);

// One cookie file the picker lists.
struct TCookieFile {
    String Path;
    // The file's third line.
    String Text;
};
// The third line of a cookie file's text, when the text has more than three lines (lines end in
// CR LF, LF or CR; a last line without an ending counts).
bool CookieTextOfFile(std::string_view Bytes, String& Text);
// The "*.txt" files of the cookies folder (no subfolders) that have more than three lines.
std::vector<TCookieFile> ListCookieFiles(const String& CookiesFolder);
// Deletes the given cookie files, each only when it lies directly in the cookies folder;
// returns how many were deleted.
int DeleteCookieFiles(const String& CookiesFolder, const std::vector<String>& Paths);
// Every file below the cookies folder (the scheduler asks nothing); returns how many went.
std::int64_t DeleteAllCookieFiles(const String& CookiesFolder);

// The scheduler's privacy steps, in the order it runs the checked ones.
enum class TPrivacyStep {
    InternetCache,
    Cookies,
    TypedUrls,
    History,
    RecentDocuments,
    WordpadRecentFiles,
    PaintRecentFiles,
    Direct3DRecentApplication,
    DirectDrawRecentApplication,
};
// Runs one step silently; failures are skipped, exceptions included.
void RunPrivacyStep(TPrivacyStep Step, const TPrivacyPlaces& Places);
