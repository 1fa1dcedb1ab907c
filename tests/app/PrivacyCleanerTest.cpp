#include "app/PrivacyCleaner.h"

#include "tests/app/RegistryTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include "classlib/rtl/WinApi.h"

namespace {

// Puts one entry into the URL cache, with a cached file of Bytes.
bool SeedUrlCache(const String& Url, std::string_view Bytes) {
    wchar_t FileName[MAX_PATH + 1] = {};
    if (!CreateUrlCacheEntryW(Url.c_str(), 0, L"htm", FileName, 0))
        return false;
    WriteBytes(FileName, Bytes);
    const FILETIME Never{};
    return CommitUrlCacheEntryW(Url.c_str(), FileName, Never, Never, NORMAL_CACHE_ENTRY, nullptr, 0,
                                nullptr, nullptr) != FALSE;
}

bool InUrlCache(const String& Url) {
    DWORD Size = 0;
    GetUrlCacheEntryInfoW(Url.c_str(), nullptr, &Size);
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

TEST(PrivacyUrlCache, DeletesEveryEntryAndSurvivesAnEmptyCache) {
    const String Urls[] = {L"http://qrv.test/one.htm", L"http://qrv.test/two.htm",
                           L"http://qrv.test/" + String(300, L'x') + L".htm"};
    for (const String& Url : Urls)
        ASSERT_TRUE(SeedUrlCache(Url, "<html>cached</html>"));
    for (const String& Url : Urls)
        ASSERT_TRUE(InUrlCache(Url));

    EXPECT_GE(DeleteUrlCacheEntries(), 3);
    for (const String& Url : Urls)
        EXPECT_FALSE(InUrlCache(Url));
    // Now empty: the search ends at once, and again.
    EXPECT_EQ(DeleteUrlCacheEntries(), 0);
    EXPECT_EQ(DeleteUrlCacheEntries(), 0);
}

TEST(PrivacyUrlCache, CountsWhatLeftTheCacheFolder) {
    const TTempFolder Cache;
    Cache.AddFile(L"a.htm", std::string(100, 'a'));
    Cache.AddFile(L"sub\\b.gif", std::string(50, 'b'));
    const String Locked = Cache.AddFile(L"sub\\locked.js", std::string(7, 'c'));
    const TOwnedHandle Lock = OwnHandle(CreateFileW(Locked.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                    nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(Lock);

    const TCleanedFiles Cleaned = CleanInternetCache(Cache.Path());
    EXPECT_EQ(Cleaned.Files, 2);
    EXPECT_EQ(Cleaned.Bytes, 150);
    EXPECT_TRUE(PathPresent(Locked));
    EXPECT_TRUE(PathPresent(Cache.Path()));
}

TEST(PrivacyHistory, FolderIsEmptiedWhenTheHistoryObjectFails) {
    const TTempFolder History;
    History.AddFile(L"History.IE5\\index.dat", "x");
    History.AddFile(L"visited.url", "y");
    // Wine's history object answers E_NOTIMPL; either way the folder step runs.
    ClearUrlHistory();
    CleanInternetHistory(History.Path());
    EXPECT_FALSE(PathPresent(History.Path() + L"visited.url"));
    EXPECT_FALSE(PathPresent(History.Path() + L"History.IE5\\index.dat"));
    EXPECT_TRUE(PathPresent(History.Path()));
}

TEST(PrivacyRecent, ValuesAndFilesGoJumpListsStay) {
    const TTestKey Key(L"PrivacyRecent");
    Key.SetString(L"RecentDocs", L"0", L"binary-ish");
    Key.SetString(L"RecentDocs", L"MRUListEx", L"x");
    Key.SetString(L"RecentDocs\\.txt", L"0", L"per type");
    const TTempFolder Recent;
    Recent.AddFile(L"letter.lnk", "L");
    Recent.AddFile(L"AutomaticDestinations\\pinned.automaticDestinations-ms", "P");

    CleanRecentDocuments({TRegistryRootKey::CurrentUser, Key.Sub(L"RecentDocs")}, Recent.Path());
    EXPECT_TRUE(Key.ValueNames(L"RecentDocs").empty());
    EXPECT_TRUE(Key.KeyExists(L"RecentDocs"));
    EXPECT_FALSE(PathPresent(Recent.Path() + L"letter.lnk"));
    EXPECT_TRUE(
        PathPresent(Recent.Path() + L"AutomaticDestinations\\pinned.automaticDestinations-ms"));
}

TEST(PrivacyCookies, ThirdLineOfFilesOfMoreThanThreeLines) {
    struct TCase {
        std::string Bytes;
        bool Listed;
        const wchar_t* Text;
    } const Cases[] = {
        {"name\r\nvalue\r\nsite.example/\r\n", false, L""},
        {"name\nvalue\nsite.example/", false, L""},
        {"name\nvalue\nsite.example/\n1536\n", true, L"site.example/"},
        {"name\r\nvalue\r\nhost/\r\n9728", true, L"host/"},
        {"a\rb\rc\r\r", true, L"c"},
        {"a\n\n\nd", true, L""},
        {"", false, L""},
        {std::string("\xFF\xFE"
                     "a\0\n\0b\0\n\0\xE9\0\n\0d\0",
                     18),
         true, L"\u00E9"},
    };
    for (const TCase& C : Cases) {
        String Text = L"untouched";
        EXPECT_EQ(CookieTextOfFile(C.Bytes, Text), C.Listed) << C.Bytes;
        if (C.Listed) {
            EXPECT_EQ(Text, C.Text) << C.Bytes;
        }
    }
}

TEST(PrivacyCookies, ListsAndDeletesOnlyChosenFilesOfTheFolder) {
    const TTempFolder Cookies;
    const String Four = Cookies.AddFile(L"user@four.txt", "n\nv\nfour.example/\n0\n");
    const String Five = Cookies.AddFile(L"user@five.txt", "n\nv\nfive.example/\n0\n*\n");
    Cookies.AddFile(L"user@three.txt", "n\nv\nthree.example/\n");
    Cookies.AddFile(L"index.dat", "n\nv\nnot a txt/\n0\n");
    Cookies.AddFile(L"sub\\deep.txt", "n\nv\ndeep.example/\n0\n");
    const TTempFolder Elsewhere;
    const String Outside = Elsewhere.AddFile(L"outside.txt", "n\nv\nx/\n0\n");

    std::vector<TCookieFile> Listed = ListCookieFiles(Cookies.Path());
    std::sort(Listed.begin(), Listed.end(),
              [](const TCookieFile& A, const TCookieFile& B) { return A.Text < B.Text; });
    ASSERT_EQ(Listed.size(), 2u);
    EXPECT_EQ(Listed[0].Text, L"five.example/");
    EXPECT_EQ(Listed[0].Path, Five);
    EXPECT_EQ(Listed[1].Text, L"four.example/");

    EXPECT_EQ(DeleteCookieFiles(Cookies.Path(), {Four, Outside}), 1);
    EXPECT_FALSE(PathPresent(Four));
    EXPECT_TRUE(PathPresent(Five));
    EXPECT_TRUE(PathPresent(Outside));

    // A folder the shell does not have never becomes the current folder.
    for (const wchar_t* Blank : {L"", L"relative"}) {
        EXPECT_TRUE(ListCookieFiles(Blank).empty());
        EXPECT_EQ(DeleteCookieFiles(Blank, {Five}), 0);
    }
    EXPECT_TRUE(PathPresent(Five));
}

TEST(PrivacySteps, EveryStepActsOnItsPlaceOnly) {
    const TTestKey Key(L"PrivacySteps");
    const TTempFolder Cache, Cookies, History, Recent;
    TPrivacyPlaces Places;
    Places.InternetCacheFolder = Cache.Path();
    Places.CookiesFolder = Cookies.Path();
    Places.HistoryFolder = History.Path();
    Places.RecentFolder = Recent.Path();
    const struct {
        TRegistryKeyRef TPrivacyPlaces::*Member;
        const wchar_t* Name;
        TPrivacyStep Step;
    } Keys[] = {
        {&TPrivacyPlaces::TypedUrls, L"TypedURLs", TPrivacyStep::TypedUrls},
        {&TPrivacyPlaces::RecentDocs, L"RecentDocs", TPrivacyStep::RecentDocuments},
        {&TPrivacyPlaces::WordpadRecentFiles, L"Wordpad", TPrivacyStep::WordpadRecentFiles},
        {&TPrivacyPlaces::PaintRecentFiles, L"Paint", TPrivacyStep::PaintRecentFiles},
        {&TPrivacyPlaces::Direct3DRecentApplication, L"D3D",
         TPrivacyStep::Direct3DRecentApplication},
        {&TPrivacyPlaces::DirectDrawRecentApplication, L"DDraw",
         TPrivacyStep::DirectDrawRecentApplication},
    };
    for (const auto& K : Keys) {
        Places.*K.Member = {TRegistryRootKey::CurrentUser, Key.Sub(K.Name)};
        Key.SetString(K.Name, L"url1", L"http://example.com/");
    }
    Cache.AddFile(L"c.htm", "c");
    Cookies.AddFile(L"sub\\any.txt", "1");
    History.AddFile(L"h.dat", "h");
    Recent.AddFile(L"r.lnk", "r");

    for (const auto& K : Keys) {
        RunPrivacyStep(K.Step, Places);
        EXPECT_TRUE(Key.ValueNames(K.Name).empty()) << ToUtf8(K.Name);
        EXPECT_TRUE(Key.KeyExists(K.Name));
    }
    RunPrivacyStep(TPrivacyStep::InternetCache, Places);
    RunPrivacyStep(TPrivacyStep::Cookies, Places);
    RunPrivacyStep(TPrivacyStep::History, Places);
    EXPECT_FALSE(PathPresent(Cache.Path() + L"c.htm"));
    EXPECT_FALSE(PathPresent(Cookies.Path() + L"sub\\any.txt"));
    EXPECT_FALSE(PathPresent(History.Path() + L"h.dat"));
    EXPECT_FALSE(PathPresent(Recent.Path() + L"r.lnk"));
}

TEST(PrivacySteps, BlankPlacesTouchNothing) {
    // A blank key would be the root itself, a blank folder the current one.
    const String RootValue = L"QrvTestPrivacyBlank";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, nullptr, RootValue.c_str(), REG_SZ, L"v", 4),
              ERROR_SUCCESS);
    const TTempFolder Current;
    Current.AddFile(L"kept.txt", "n\nv\nx/\n0\n");
    wchar_t Previous[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH + 1, Previous);
    ASSERT_TRUE(SetCurrentDirectoryW(Current.Path().c_str()));

    const TPrivacyPlaces Blank;
    for (int Step = 0; Step <= static_cast<int>(TPrivacyStep::DirectDrawRecentApplication); ++Step)
        RunPrivacyStep(static_cast<TPrivacyStep>(Step), Blank);
    SetCurrentDirectoryW(Previous);

    EXPECT_TRUE(PathPresent(Current.Path() + L"kept.txt"));
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, nullptr, RootValue.c_str(), RRF_RT_ANY, nullptr,
                           nullptr, nullptr),
              ERROR_SUCCESS);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, nullptr, RootValue.c_str());
}

TEST(PrivacySteps, SystemPlacesNameTheShellFoldersAndKeys) {
    const TPrivacyPlaces Places = SystemPrivacyPlaces();
    EXPECT_EQ(Places.TypedUrls.Path, L"Software\\Microsoft\\Internet Explorer\\TypedURLs");
    EXPECT_EQ(Places.Direct3DRecentApplication.Root, TRegistryRootKey::LocalMachine);
    EXPECT_EQ(Places.PaintRecentFiles.Path,
              L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List");
    for (const String& Folder : {Places.InternetCacheFolder, Places.CookiesFolder,
                                 Places.HistoryFolder, Places.RecentFolder})
        EXPECT_EQ(Folder.substr(1, 2), L":\\") << ToUtf8(Folder);
}

} // namespace
