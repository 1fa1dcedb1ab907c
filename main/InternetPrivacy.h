#pragma once
// The main window's internet-privacy page (mode 8) without the window: five one-click cleaners,
// each behind the please-wait window, ending with a notice and an action-log line; the cookie
// cleaner first lets the user pick the files.

#include "app/PrivacyCleaner.h"
#include "app/Progress.h"
#include "classlib/rtl/SysUtils.h"
#include "main/FeatureContext.h"
#include "main/MainServices.h"

#include <vector>

class TMainCore;

// One row of the cookie picker's list lvCookies.
struct TCookieRow {
    TCookieFile File;
    bool Checked = false;
};

// The cookie picker window, shown modally over the rows.
class ICookiePicker {
public:
    virtual ~ICookiePicker() = default;
    // The user checks rows; true when the picker closed with Remove, false with Close.
    virtual bool Pick(std::vector<TCookieRow>& Rows) = 0;
};

// Null services: no window shows the wait and no cookie is picked.
struct TInternetPrivacyServices {
    IProgress* PleaseWait = nullptr;
    ICookiePicker* CookiePicker = nullptr;
};

class TInternetPrivacy {
public:
    TInternetPrivacy(TMainCore& Core, const TFeatureContext& Context,
                     const TInternetPrivacyServices& Services,
                     TPrivacyPlaces Places = SystemPrivacyPlaces());

    // Where the cleaners act: the shell's folders and the fixed keys in the program.
    TPrivacyPlaces Places;

    // btnInternetPrivacyClick: mode 8 and its page.
    void Open();
    // The cache's files that went count in category 6.
    void CleanInternetCache();
    void CleanRecentUrls();
    void CleanInternetHistory();
    void CleanRecentDocuments();
    // Lists the cookie files, lets the user pick, deletes the checked ones. False when the
    // picker was closed without Remove: nothing was deleted, shown or logged.
    bool CleanCookies();

private:
    template <typename TSteps>
    void RunCleaner(const wchar_t* WaitKey, TSteps Steps, const wchar_t* NoticeKey,
                    const wchar_t* LogItem);

    TMainCore& FCore;
    const TFeatureContext& FContext;
    TInternetPrivacyServices FServices;
};
