// The internet privacy page: five cleaners, each at one click.
#include "main/InternetPrivacy.h"
#include "main/MainForm.h"

namespace {

struct TCleanerEntry {
    const wchar_t* Picture;
    const wchar_t* Label;
    void (TInternetPrivacy::*Clean)();
};
constexpr TCleanerEntry Cleaners[] = {
    {L"btnCleanInternetCache", L"labCleanInternetCache", &TInternetPrivacy::CleanInternetCache},
    {L"btnCleanInternetCookieFiles", L"labCleanInternetCookieFiles", nullptr},
    {L"btnCleanInternetRecentURL", L"labCleanInternetRecentURL",
     &TInternetPrivacy::CleanRecentUrls},
    {L"btnCleanInternetHistory", L"labCleanInternetHistory",
     &TInternetPrivacy::CleanInternetHistory},
    {L"btnCleanRecentDocuments", L"labCleanRecentDocuments",
     &TInternetPrivacy::CleanRecentDocuments},
};

} // namespace

void TfrmMain::CreateInternetPrivacyPage(TPage& Page) {
    for (int I = 0; I < static_cast<int>(std::size(Cleaners)); ++I) {
        const auto Clean = Cleaners[I].Clean;
        MakeMenuEntry(Page, I, Cleaners[I].Picture, Cleaners[I].Label, [this, Clean] {
            RunLoop([this, Clean] {
                if (Clean)
                    (FPrivacy.get()->*Clean)();
                else
                    FPrivacy->CleanCookies();
            });
        });
    }
}
