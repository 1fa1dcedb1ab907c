#include "main/InternetPrivacy.h"

#include "tests/main/RegistryTestSupport.h"
#include "tests/main/CoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Checks the rows whose text is in Check and answers Remove (or Close).
class TFakeCookiePicker : public ICookiePicker {
public:
    std::vector<String> Check;
    bool Remove = true;
    std::vector<std::vector<TCookieRow>> Shown;

    bool Pick(std::vector<TCookieRow>& Rows) override {
        Shown.push_back(Rows);
        for (TCookieRow& Row : Rows)
            Row.Checked = std::find(Check.begin(), Check.end(), Row.File.Text) != Check.end();
        return Remove;
    }
};

class InternetPrivacyTest : public ::testing::Test {
protected:
    InternetPrivacyTest() {
        TPrivacyPlaces& P = Privacy.Places;
        P.InternetCacheFolder = Cache.Path();
        P.CookiesFolder = Cookies.Path();
        P.HistoryFolder = History.Path();
        P.RecentFolder = Recent.Path();
        P.TypedUrls = {TRegistryRootKey::CurrentUser, Key.Path(L"TypedURLs")};
        P.RecentDocs = {TRegistryRootKey::CurrentUser, Key.Path(L"RecentDocs")};
    }

    // The notices shown, in order.
    std::vector<String> Notices() const {
        std::vector<String> Texts;
        for (const auto& Asked : F.Prompt.Asked) {
            EXPECT_EQ(Asked.Buttons, IPrompt::ButtonsOk);
            Texts.push_back(Asked.Text);
        }
        return Texts;
    }

    std::vector<String> LogLines() const {
        std::vector<String> Lines;
        for (int I = 0; I < F.Core->Stats.LogLines().Count(); ++I)
            Lines.push_back(F.Core->Stats.LogLines().Strings(I));
        return Lines;
    }

    TCoreFixture F{"S_Log_Privacy_DeleteItem=Cleaned: %s\r\n"
                   "sCleaningInternetCache=Cleaning the cache\r\n"
                   "InternetCacheCleaned=Cache cleaned\r\n"
                   "sCleaningRecentURLs=Cleaning URLs\r\n"
                   "InternetRecentURLCleaned=URLs cleaned\r\n"
                   "sCleaningInternetHistory=Cleaning history\r\n"
                   "InternetHistoryCleaned=History cleaned\r\n"
                   "sCleaningRecentDocuments=Cleaning documents\r\n"
                   "RecentDocumentsCleaned=Documents cleaned\r\n"
                   "sCleaningInternetCookies=Cleaning cookies\r\n"
                   "InternetCookiesCleaned=Cookies cleaned\r\n"};
    TTestRegistry Key{L"InternetPrivacy"};
    TTempFolder Cache, Cookies, History, Recent;
    TFakeCookiePicker Picker;
    TInternetPrivacy Privacy{*F.Core, *F.Context, {&F.Progress, &Picker}};
};

TEST_F(InternetPrivacyTest, EachCleanerWaitsThenNotifiesAndLogsItsItem) {
    Key.SetString(L"TypedURLs", L"url1", L"http://example.com/");
    Key.SetString(L"RecentDocs", L"0", L"letter");
    History.AddFile(L"h.dat", "h");
    Recent.AddFile(L"letter.lnk", "r");

    Privacy.Open();
    EXPECT_EQ(F.Core->Flow.Mode(), mdInternetPrivacy);
    EXPECT_EQ(F.Core->Flow.Page(), pgInternetPrivacy);

    Privacy.CleanRecentUrls();
    Privacy.CleanInternetHistory();
    Privacy.CleanRecentDocuments();
    EXPECT_TRUE(ValueNames(Key, L"TypedURLs").empty());
    EXPECT_TRUE(Key.KeyExists(L"TypedURLs"));
    EXPECT_TRUE(ValueNames(Key, L"RecentDocs").empty());
    EXPECT_FALSE(PathPresent(History.Path() + L"h.dat"));
    EXPECT_FALSE(PathPresent(Recent.Path() + L"letter.lnk"));

    EXPECT_EQ(F.Progress.Labels,
              (std::vector<String>{L"Cleaning URLs", L"Cleaning history", L"Cleaning documents"}));
    EXPECT_FALSE(F.Progress.CancelVisible);
    EXPECT_FALSE(F.Progress.Running);
    EXPECT_EQ(Notices(),
              (std::vector<String>{L"URLs cleaned", L"History cleaned", L"Documents cleaned"}));
    EXPECT_EQ(LogLines(),
              (std::vector<String>{L"Cleaned: Recent URLs", L"Cleaned: Internet History",
                                   L"Cleaned: Recent Documents"}));
    // Only the cache cleaner counts.
    for (int Category = 1; Category <= 6; ++Category)
        EXPECT_EQ(F.Core->Stats.CurrentCount(Category), 0);
}

TEST_F(InternetPrivacyTest, CacheCountsWhatWasDeletedInCategorySix) {
    Cache.AddFile(L"a.htm", std::string(1000, 'a'));
    Cache.AddFile(L"Content.IE5\\X1\\b.gif", std::string(24, 'b'));
    const String Locked = Cache.AddFile(L"in-use.dat", std::string(500, 'c'));
    const TOwnedHandle Lock = OwnHandle(CreateFileW(Locked.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                    nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(Lock);

    Privacy.CleanInternetCache();
    EXPECT_EQ(F.Core->Stats.CurrentCount(6), 2);
    EXPECT_EQ(F.Core->Stats.CurrentSize(6), 1024);
    EXPECT_TRUE(PathPresent(Locked));
    EXPECT_EQ(Notices(), std::vector<String>{L"Cache cleaned"});
    EXPECT_EQ(LogLines(), std::vector<String>{L"Cleaned: Internet Cache"});
}

TEST_F(InternetPrivacyTest, CookiesListedByTheirThirdLineOnlyCheckedOnesGo) {
    const String Three = Cookies.AddFile(L"u@three.txt", "n\r\nv\r\nthree.example/\r\n");
    const String Four = Cookies.AddFile(L"u@four.txt", "n\r\nv\r\nfour.example/\r\n1536\r\n");
    const String Kept = Cookies.AddFile(L"u@kept.txt", "n\r\nv\r\nkept.example/\r\n1536\r\n");
    Picker.Check = {L"four.example/"};

    EXPECT_TRUE(Privacy.CleanCookies());
    ASSERT_EQ(Picker.Shown.size(), 1u);
    std::vector<String> Texts;
    for (const TCookieRow& Row : Picker.Shown[0]) {
        Texts.push_back(Row.File.Text);
        EXPECT_FALSE(Row.Checked);
    }
    std::sort(Texts.begin(), Texts.end());
    EXPECT_EQ(Texts, (std::vector<String>{L"four.example/", L"kept.example/"}));
    EXPECT_FALSE(PathPresent(Four));
    EXPECT_TRUE(PathPresent(Three));
    EXPECT_TRUE(PathPresent(Kept));
    EXPECT_EQ(F.Progress.Labels, std::vector<String>{L"Cleaning cookies"});
    EXPECT_EQ(Notices(), std::vector<String>{L"Cookies cleaned"});
    EXPECT_EQ(LogLines(), std::vector<String>{L"Cleaned: Internet Cookies"});
}

TEST_F(InternetPrivacyTest, ClosingThePickerDeletesNothingAndLogsNothing) {
    const String Four = Cookies.AddFile(L"u@four.txt", "n\nv\nfour.example/\n0\n");
    Picker.Check = {L"four.example/"};
    Picker.Remove = false;
    EXPECT_FALSE(Privacy.CleanCookies());
    EXPECT_TRUE(PathPresent(Four));
    EXPECT_TRUE(F.Prompt.Asked.empty());
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(F.Progress.Starts, 0);

    // Remove with nothing checked still notifies and logs.
    Picker.Check.clear();
    Picker.Remove = true;
    EXPECT_TRUE(Privacy.CleanCookies());
    EXPECT_TRUE(PathPresent(Four));
    EXPECT_EQ(Notices(), std::vector<String>{L"Cookies cleaned"});
    EXPECT_EQ(LogLines().size(), 1u);
}

} // namespace
