#include "main/InternetPrivacy.h"

#include "main/MainCore.h"

TInternetPrivacy::TInternetPrivacy(TMainCore& Core, const TFeatureContext& Context,
                                   const TInternetPrivacyServices& Services, TPrivacyPlaces Places)
    : Places(std::move(Places)), FCore(Core), FContext(Context), FServices(Services) {}

void TInternetPrivacy::Open() {
    FCore.Flow.EnterMode(mdInternetPrivacy);
}

template <typename TSteps>
void TInternetPrivacy::RunCleaner(const wchar_t* WaitKey, TSteps Steps, const wchar_t* NoticeKey,
                                  const wchar_t* LogItem) {
    {
        TWindowPumpProgress NoWindow;
        IProgress& Wait = FServices.PleaseWait ? *FServices.PleaseWait : NoWindow;
        const TProgressScope Shown(Wait, FContext.Message(WaitKey), 0, false,
                                   TProgressAnimation::DeleteFile);
        try {
            Steps();
        } catch (...) {
            // What could not be removed is skipped.
        }
    }
    FContext.Notice(FContext.Message(NoticeKey), IPrompt::IconExclamation);
    FContext.Log(L"S_Log_Privacy_DeleteItem", LogItem);
}

void TInternetPrivacy::CleanInternetCache() {
    RunCleaner(
        L"sCleaningInternetCache",
        [this] {
            const TCleanedFiles Cleaned = ::CleanInternetCache(Places.InternetCacheFolder);
            FContext.Stats().AddStatistics(6, Cleaned.Files, Cleaned.Bytes);
        },
        L"InternetCacheCleaned", L"Internet Cache");
}

void TInternetPrivacy::CleanRecentUrls() {
    RunCleaner(
        L"sCleaningRecentURLs", [this] { CleanRegistryValues(Places.TypedUrls); },
        L"InternetRecentURLCleaned", L"Recent URLs");
}

void TInternetPrivacy::CleanInternetHistory() {
    RunCleaner(
        L"sCleaningInternetHistory", [this] { ::CleanInternetHistory(Places.HistoryFolder); },
        L"InternetHistoryCleaned", L"Internet History");
}

void TInternetPrivacy::CleanRecentDocuments() {
    RunCleaner(
        L"sCleaningRecentDocuments",
        [this] { ::CleanRecentDocuments(Places.RecentDocs, Places.RecentFolder); },
        L"RecentDocumentsCleaned", L"Recent Documents");
}

bool TInternetPrivacy::CleanCookies() {
    std::vector<TCookieRow> Rows;
    for (TCookieFile& File : ListCookieFiles(Places.CookiesFolder))
        Rows.push_back({std::move(File), false});
    if (!FServices.CookiePicker || !FServices.CookiePicker->Pick(Rows))
        return false;

    RunCleaner(
        L"sCleaningInternetCookies",
        [&] {
            std::vector<String> Checked;
            for (const TCookieRow& Row : Rows)
                if (Row.Checked)
                    Checked.push_back(Row.File.Path);
            DeleteCookieFiles(Places.CookiesFolder, Checked);
        },
        L"InternetCookiesCleaned", L"Internet Cookies");
    return true;
}
